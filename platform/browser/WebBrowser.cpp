#include "platform/browser/WebBrowser.h"

#include <array>
#include <filesystem>

#include "platform/EffectLog.h"
#include "platform/Platform.h"
#include "platform/automation/Guid.h"
#include "platform/browser/BrowserIds.h"
#include "platform/browser/PageSource.h"
#include "platform/framework/Registration.h"
#include "platform/profile/Profile.h"
#include "platform/text/AsciiCase.h"

namespace orbel::browser {

namespace {

constexpr const char* kProfile = "orbel-browser.ini";
constexpr const char* kSection = "Browser";

std::string ProfileValue(const char* key) {
    std::array<char, 2048> buffer{};
    platform::GetPrivateProfileString(kSection, key, "", buffer, kProfile);
    return buffer.data();
}

std::string ThisModuleFolder() {
    const std::string path = ModulePathOf(reinterpret_cast<const void*>(&ThisModuleFolder));
    return std::filesystem::path(path).parent_path().string();
}

// The start page installed beside the module, else the one of the source tree it was built
// from.
std::string StartPage() {
    std::error_code ec;
    const std::filesystem::path installed =
        std::filesystem::path(ThisModuleFolder()) / ORBEL_BROWSER_START_FROM_MODULE;
    if (std::filesystem::is_regular_file(installed, ec))
        return std::filesystem::weakly_canonical(installed, ec).string();
    return ORBEL_BROWSER_START_BUILT;
}

std::string Bool(bool b) {
    return b ? "TRUE" : "FALSE";
}

}  // namespace

std::string HomeAddress() {
    const std::string configured = ProfileValue("Home");
    return configured.empty() ? "file://" + StartPage() : CompleteAddress(configured);
}

std::string SearchAddress() {
    const std::string configured = ProfileValue("Search");
    return configured.empty() ? std::string() : CompleteAddress(configured);
}

CWebBrowser::CWebBrowser(std::unique_ptr<BrowserEngine> engine) : engine_(std::move(engine)) {
    InitializeIIDs(*Guid::Parse(kIidText), *Guid::Parse(kEventsIidText));
}

CWebBrowser::~CWebBrowser() {
    engine_->Detach();
}

int CWebBrowser::OnCreate() {
    engine_->Attach(GetSafeHwnd(), *this);
    return 0;
}

void CWebBrowser::OnDestroy() {
    engine_->Stop();
    engine_->Detach();
    COleControl::OnDestroy();
}

void CWebBrowser::OnSize(int cx, int cy) {
    engine_->Resize(cx, cy);
}

HRESULT CWebBrowser::GetIDsOfNames(std::string_view name, DISPID& id) {
    if (!EqualsIgnoringAsciiCase(name, "Dump")) return DISP_E_UNKNOWNNAME;
    id = members::kDump;
    return S_OK;
}

HRESULT CWebBrowser::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                            Variant* result) {
    // A caller's event handler may let go of the browser while a call into it runs.
    auto self = weak_from_this().lock();
    if (kind == InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
    if (kind == InvokeKind::PropertyGet) {
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        Variant value;
        if (id == members::kLocationName)
            value = Variant(engine_->Title());
        else if (id == members::kLocationURL)
            value = Variant(engine_->Url());
        else if (id == members::kBusy)
            value = Variant(engine_->Busy());
        else if (id == members::kDump)
            value = Variant(Dump());
        else
            return DISP_E_MEMBERNOTFOUND;
        if (result) *result = std::move(value);
        return S_OK;
    }
    return Call(id, args);
}

HRESULT CWebBrowser::Call(DISPID id, std::span<const Variant> args) {
    const bool noArgs = args.empty();
    switch (id) {
        case members::kNavigate: {
            if (args.empty() || args.size() > 5) return DISP_E_BADPARAMCOUNT;
            auto address = args[0].ChangeType(VarType::BStr);
            if (!address) return DISP_E_TYPEMISMATCH;
            return Navigate(address->BStr());
        }
        case members::kGoBack:
        case members::kGoForward: {
            if (!noArgs) return DISP_E_BADPARAMCOUNT;
            const bool back = id == members::kGoBack;
            if (!(back ? engine_->CanGoBack() : engine_->CanGoForward())) return E_FAIL;
            back ? engine_->Back() : engine_->Forward();
            return S_OK;
        }
        case members::kGoHome:
            if (!noArgs) return DISP_E_BADPARAMCOUNT;
            return Navigate(HomeAddress());
        case members::kGoSearch: {
            if (!noArgs) return DISP_E_BADPARAMCOUNT;
            const std::string search = SearchAddress();
            if (search.empty()) {
                platform::RecordEffect("browser: no search page is set");
                Fire(events::kStatusTextChange, {Variant("No search page is set.")});
                return E_FAIL;
            }
            return Navigate(search);
        }
        case members::kStop:
            if (!noArgs) return DISP_E_BADPARAMCOUNT;
            engine_->Stop();
            return S_OK;
        case members::kRefresh:
            if (!noArgs) return DISP_E_BADPARAMCOUNT;
            engine_->Reload();
            return S_OK;
        case members::kExecWB: {
            if (args.size() < 2 || args.size() > 4) return DISP_E_BADPARAMCOUNT;
            auto command = args[0].ChangeType(VarType::I4);
            if (!command) return DISP_E_TYPEMISMATCH;
            if (command->I4() != kCmdPrint) return E_NOTIMPL;
            return Print();
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CWebBrowser::Navigate(const std::string& address) {
    const std::string url = CompleteAddress(address);
    if (url.empty()) return E_INVALIDARG;
    engine_->Load(url);
    return S_OK;
}

HRESULT CWebBrowser::Print() {
    platform::PrintDialogRequest request;
    request.document = engine_->Url();
    request.pageCount = 1;
    request.owner = GetSafeHwnd();
    const auto where = platform::ChoosePrinter(platform::GetPlatform().User(), request);
    if (!where) return S_OK;
    std::string error;
    if (engine_->Print(*where, error)) return S_OK;
    platform::RecordEffect("browser: cannot print " + QuoteString(engine_->Url()) + ": " + error);
    return E_FAIL;
}

std::shared_ptr<IDispatch> CWebBrowser::Self() {
    return std::static_pointer_cast<IDispatch>(
        std::static_pointer_cast<CWebBrowser>(shared_from_this()));
}

void CWebBrowser::Fire(DISPID id, std::vector<Variant> args) {
    FireEvent(id, std::move(args));
}

void CWebBrowser::OnLoadStarted() {
    loading_ = true;
    error_.clear();
    Fire(events::kDownloadBegin);
}

void CWebBrowser::OnAddressChanged(const std::string& url) {
    Fire(events::kNavigateComplete2, {Variant(Self()), Variant(url)});
    if (loading_) Fire(events::kStatusTextChange, {Variant("Opening page " + url + "...")});
}

void CWebBrowser::OnTitleChanged(const std::string& title) {
    if (title == title_) return;
    title_ = title;
    Fire(events::kTitleChange, {Variant(title)});
}

void CWebBrowser::OnLoadFinished(const std::string& error) {
    error_ = error;
    const std::string url = engine_->Url();
    platform::RecordEffect(
        error.empty() ? "browser: opened " + QuoteString(url) + " " + QuoteString(engine_->Title())
                      : "browser: cannot open " + QuoteString(url) + ": " + error);
    Fire(events::kStatusTextChange, {Variant(error.empty() ? std::string("Done") : error)});
    Fire(events::kCommandStateChange, {Variant(kCommandForward), Variant(engine_->CanGoForward())});
    Fire(events::kCommandStateChange, {Variant(kCommandBack), Variant(engine_->CanGoBack())});
    loading_ = false;
    Fire(events::kDownloadComplete);
    Fire(events::kDocumentComplete, {Variant(Self()), Variant(url)});
}

std::string CWebBrowser::Dump() const {
    std::string out = "url=" + QuoteString(engine_->Url()) +
                      " title=" + QuoteString(engine_->Title()) + " busy=" + Bool(engine_->Busy()) +
                      " back=" + Bool(engine_->CanGoBack()) +
                      " forward=" + Bool(engine_->CanGoForward());
    if (!error_.empty()) out += " error=" + QuoteString(error_);
    return out;
}

}  // namespace orbel::browser
