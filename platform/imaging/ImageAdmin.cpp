#include "platform/imaging/ImageAdmin.h"

#include "platform/EffectLog.h"
#include "platform/Platform.h"
#include "platform/imaging/ComponentMembers.h"
#include "platform/imaging/ImageFile.h"
#include "platform/imaging/ImagingIds.h"

namespace orbel::imaging {

using namespace admin;

CImageAdmin::CImageAdmin(std::unique_ptr<PagePrinter> printer) : printer_(std::move(printer)) {
    InitializeIIDs(ParsedGuid(kIidAdminText), ParsedGuid(kIidAdminEventsText));
}

CImageAdmin::~CImageAdmin() = default;

HRESULT CImageAdmin::GetIDsOfNames(std::string_view name, DISPID& id) {
    return DumpIdOfName(name, id);
}

HRESULT CImageAdmin::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                            Variant* result) {
    auto self = weak_from_this().lock();
    if (id == kImage) {
        if (kind == InvokeKind::PropertyGet) {
            if (result) *result = Variant(image_);
            return S_OK;
        }
        if (kind != InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        auto text = args[0].ChangeType(VarType::BStr);
        if (!text) return DISP_E_TYPEMISMATCH;
        image_ = text->BStr();
        return S_OK;
    }
    if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
        case kShowPrintDialog: {
            // The owner's handle comes as a long; a missing one leaves the dialog unowned.
            const auto owner = LongArg(args, 0);
            ShowPrintDialog(HWND{owner ? static_cast<std::uint32_t>(*owner) : 0u});
            return S_OK;
        }
        case kPrint:
            if (args.size() > 7) return DISP_E_BADPARAMCOUNT;
            return Print(LongArg(args, 0), LongArg(args, 1));
        case kDump:
            if (result) *result = Variant(Dump());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

void CImageAdmin::ShowPrintDialog(HWND owner) {
    platform::PrintDialogRequest request;
    request.document = image_;
    request.pageCount = CountPages(image_);
    request.owner = owner;
    auto chosen = platform::ChoosePrinter(platform::GetPlatform().User(), request);
    dialog_ = chosen ? Dialog::Chosen : Dialog::Cancelled;
    choice_ = chosen.value_or(platform::PrintChoice{});
}

HRESULT CImageAdmin::Print(std::optional<long> first, std::optional<long> last) {
    // A cancelled dialog prints nothing, whatever the caller asks next.
    const Dialog dialog = std::exchange(dialog_, Dialog::NotRun);
    if (dialog == Dialog::Cancelled) {
        last_ = "cancelled";
        return S_OK;
    }
    std::string error;
    auto file = ImageFile::Open(image_, error);
    const std::string line = "print " + QuoteString(image_);
    if (!file) {
        last_ = "failed: " + error;
        platform::RecordEffect(line + " " + last_);
        return E_FAIL;
    }
    const int count = file->PageCount();
    // Pages past the end of the file are not there to print; an item's range may name them.
    const int from = first ? static_cast<int>(*first) : 1;
    const int to = last ? std::min(static_cast<int>(*last), count) : count;
    if (from < 1 || from > to) {
        last_ = "failed: no pages " + std::to_string(from) + "-" + std::to_string(to) + " of " +
                std::to_string(count);
        platform::RecordEffect(line + " " + last_);
        return E_INVALIDARG;
    }
    const std::string pages = "pages " + std::to_string(from) + "-" + std::to_string(to);
    if (!printer_->Print(*file, from, to, choice_, error)) {
        last_ = pages + " failed: " + error;
        platform::RecordEffect(line + " " + last_);
        return E_FAIL;
    }
    last_ = "printed " + pages +
            (choice_.outputFile.empty() ? std::string() : " to " + QuoteString(choice_.outputFile));
    platform::RecordEffect(line + " " + pages);
    return S_OK;
}

std::string CImageAdmin::Dump() const {
    std::string out = "admin: " + (image_.empty() ? std::string("no image") : QuoteString(image_));
    return last_.empty() ? out : out + ", " + last_;
}

}  // namespace orbel::imaging
