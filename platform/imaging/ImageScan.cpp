#include "platform/imaging/ImageScan.h"

#include <filesystem>

#include "platform/Api.h"
#include "platform/EffectLog.h"
#include "platform/framework/Dialog.h"
#include "platform/imaging/ComponentMembers.h"
#include "platform/imaging/ImagingIds.h"
#include "platform/imaging/ScanProgress.h"

namespace orbel::imaging {

using namespace scan;

namespace {

constexpr int kDefaultDpi = 200;

platform::DialogControlTemplate Control(UINT id, platform::DialogControlKind kind, const char* text,
                                        int x, int y, int cx, int cy) {
    return platform::DialogControlTemplate{id, kind, text, RECT{x, y, x + cx, y + cy}, 0};
}

const platform::DialogTemplate& SetupTemplate() {
    using K = platform::DialogControlKind;
    static const platform::DialogTemplate t{
        kSetupDialog,
        "Scan",
        220,
        100,
        std::nullopt,
        {
            Control(platform::kStaticId, K::Static, "Scanner", 7, 9, 50, 8),
            Control(kDeviceBox, K::ComboDropDownList, "", 60, 7, 95, 60),
            Control(platform::kStaticId, K::Static, "Source", 7, 27, 50, 8),
            Control(kSourceBox, K::ComboDropDownList, "", 60, 25, 95, 60),
            Control(platform::kStaticId, K::Static, "Mode", 7, 45, 50, 8),
            Control(kModeBox, K::ComboDropDownList, "", 60, 43, 95, 60),
            Control(platform::kStaticId, K::Static, "Resolution (dpi)", 7, 63, 50, 8),
            Control(kResolutionBox, K::Edit, "", 60, 61, 95, 14),
            Control(IDOK, K::DefaultButton, "Scan", 163, 7, 50, 14),
            Control(IDCANCEL, K::Button, "Cancel", 163, 24, 50, 14),
        }};
    return t;
}

// The scan dialog: the devices found, the open device's sources and modes, a resolution.
class SetupDialog final : public CDialog {
  public:
    SetupDialog(SaneScanner& scanner, ScanSettings& settings)
        : CDialog(SetupTemplate()), scanner_(scanner), settings_(settings) {}
    std::string device;

  protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        Fill(kDeviceBox, {scanner_.Device()}, scanner_.Device());
        Fill(kSourceBox, scanner_.Sources(), settings_.source);
        Fill(kModeBox, scanner_.Modes(), settings_.mode);
        SetDlgItemText(kResolutionBox, std::to_string(settings_.dpi));
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override {
        DDX_CBString(dx, kDeviceBox, device);
        DDX_CBString(dx, kSourceBox, settings_.source);
        DDX_CBString(dx, kModeBox, settings_.mode);
        DDX_Text(dx, kResolutionBox, settings_.dpi);
    }

  private:
    void Fill(UINT id, const std::vector<std::string>& entries, const std::string& chosen) {
        CDlgItem box = GetDlgItem(id);
        for (const std::string& e : entries) box.AddString(e);
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == chosen) box.SetCurSel(static_cast<int>(i));
    }
    SaneScanner& scanner_;
    ScanSettings& settings_;
};

}  // namespace

CImageScan::CImageScan() {
    InitializeIIDs(ParsedGuid(kIidScanText), ParsedGuid(kIidScanEventsText));
}

CImageScan::~CImageScan() = default;

HRESULT CImageScan::GetIDsOfNames(std::string_view name, DISPID& id) {
    return DumpIdOfName(name, id);
}

HRESULT CImageScan::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                           Variant* result) {
    auto self = weak_from_this().lock();
    if (kind == InvokeKind::PropertyPut) {
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (id == kImage) {
            auto text = args[0].ChangeType(VarType::BStr);
            if (!text) return DISP_E_TYPEMISMATCH;
            image_ = text->BStr();
            return S_OK;
        }
        auto value = LongArg(args, 0);
        if (!value) return DISP_E_TYPEMISMATCH;
        switch (id) {
            case kScanTo:
                scanTo_ = *value;
                return S_OK;
            case kFileType:
                fileType_ = *value;
                return S_OK;
            case kMultiPage:
                multiPage_ = *value != 0;
                return S_OK;
            case kPageOption:
                pageOption_ = *value;
                return S_OK;
            case kShowSetup:
                showSetup_ = *value;
                return S_OK;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }
    if (kind == InvokeKind::PropertyGet) {
        if (id != kImage) return DISP_E_MEMBERNOTFOUND;
        if (result) *result = Variant(image_);
        return S_OK;
    }
    switch (id) {
        case kOpenScanner:
            if (result) *result = Variant(static_cast<std::int32_t>(OpenScanner()));
            return S_OK;
        case kStartScan:
            if (result) *result = Variant(static_cast<std::int32_t>(StartScan()));
            return S_OK;
        case kCloseScanner:
            scanner_.reset();
            return S_OK;
        case kDump:
            if (result) *result = Variant(Dump());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

long CImageScan::OpenScanner() {
    std::string error;
    scanner_ = SaneScanner::Open({}, error);
    if (!scanner_) {
        last_ = "failed: " + error;
        return 1;
    }
    return 0;
}

bool CImageScan::RunSetup() {
    if (settings_.dpi <= 0) settings_.dpi = kDefaultDpi;
    SetupDialog dialog(*scanner_, settings_);
    if (dialog.DoModal() != IDOK) return false;
    if (!dialog.device.empty() && dialog.device != scanner_->Device()) {
        std::string error;
        auto other = SaneScanner::Open(dialog.device, error);
        if (!other) {
            last_ = "failed: " + error;
            return false;
        }
        scanner_ = std::move(other);
    }
    return true;
}

long CImageScan::StartScan() {
    if (!scanner_) {
        if (last_.empty()) last_ = "failed: no scanner is open";
        platform::RecordEffect("scan -> " + QuoteString(image_) + " " + last_);
        return 1;
    }
    if (fileType_ != 1 || image_.empty()) {
        last_ = "failed: only TIFF files are written";
        platform::RecordEffect("scan -> " + QuoteString(image_) + " " + last_);
        return 1;
    }
    if (showSetup_ > 0 && !RunSetup()) {
        if (last_.empty() || last_.rfind("failed", 0) != 0) last_ = "cancelled";
        platform::RecordEffect("scan " + scanner_->Device() + " -> " + QuoteString(image_) + " " +
                               last_);
        return 2;
    }
    std::string error;
    bool cancelled = false;
    const HWND owner = platform::GetPlatform().Windows().GetParent(GetSafeHwnd());
    int pages = ScanWithProgress(*scanner_, settings_, image_, owner, cancelled, error);
    const ScanSettings& used = scanner_->Used();
    const std::string head = "scan " + scanner_->Device() + " mode=" + used.mode +
                             " dpi=" + std::to_string(used.dpi) + " -> " + QuoteString(image_);
    if (cancelled) {
        // Cancel pressed as the last line came in still means no scan.
        if (pages > 0) std::filesystem::remove(image_);
        last_ = "cancelled";
        platform::RecordEffect(head + " " + last_);
        return 2;
    }
    if (pages == 0) {
        last_ = "failed: " + error;
        platform::RecordEffect(head + " " + last_);
        return 3;
    }
    last_ = std::to_string(pages) + (pages == 1 ? " page" : " pages");
    platform::RecordEffect(head + " " + last_);
    return 0;
}

std::string CImageScan::Dump() const {
    std::string out = "scanner: " + (scanner_ ? scanner_->Device() : std::string("closed"));
    if (!image_.empty()) out += " -> " + QuoteString(image_);
    return last_.empty() ? out : out + ", " + last_;
}

}  // namespace orbel::imaging
