#include "src/dialogs/WebDialog.h"

#include "platform/Api.h"
#include "platform/browser/BrowserIds.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

namespace events = browser::events;

// Hands the browser's events to the dialog while it runs; it holds the dialog weakly, as the
// browser holds it.
class CWebDialog::EventSink final : public IDispatch {
  public:
    explicit EventSink(CWebDialog* dialog) : dialog_(dialog) {}
    void Forget() { dialog_ = nullptr; }
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant> args, Variant*) override {
        if (dialog_) dialog_->OnBrowserEvent(id, args);
        return S_OK;
    }

  private:
    CWebDialog* dialog_;
};

namespace {
std::string TextArg(std::span<const Variant> args, std::size_t i) {
    if (i >= args.size()) return {};
    auto text = args[i].ChangeType(VarType::BStr);
    return text ? text->BStr() : std::string();
}
}  // namespace

CWebDialog::CWebDialog(HWND parent)
    : CDialog(*FindDialogTemplate(IDD_WEB_BROWSER), parent),
      m_sink(std::make_shared<EventSink>(this)) {}

CWebDialog::~CWebDialog() {
    m_sink->Forget();
    CloseBrowser();
}

void CWebDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_WEB_ADDRESS, m_strAddress);
    DDX_Text(dx, IDC_WEB_STATUS, m_strStatus);
}

bool CWebDialog::OnInitDialog() {
    if (!m_browser.Create("", WS_CHILD | WS_VISIBLE, RECT{}, GetSafeHwnd(), IDC_WEB_BROWSER)) {
        AfxMessageBox(kNoBrowser);
        EndDialog(-1);
        return true;
    }
    m_browser.AdviseEvents(m_sink);
    const SIZE client = GetClientSize();
    OnSize(client.cx, client.cy);
    CDialog::OnInitDialog();
    if (m_strAddress.empty())
        m_browser.GoHome();
    else
        m_browser.Navigate(m_strAddress);
    return true;
}

bool CWebDialog::OnCommand(UINT id, UINT code) {
    if (id == IDC_WEB_GO && code == BN_CLICKED) {
        UpdateData(true);
        m_browser.Navigate(m_strAddress);
        return true;
    }
    if (code != 0) return CDialog::OnCommand(id, code);
    switch (id) {
        case ID_WEB_HOME:
            m_browser.GoHome();
            return true;
        case ID_WEB_BACK:
            m_browser.GoBack();
            return true;
        case ID_WEB_FORWARD:
            m_browser.GoForward();
            return true;
        case ID_WEB_STOP:
            m_browser.Stop();
            return true;
        case ID_WEB_REFRESH:
            m_browser.Refresh();
            return true;
        case ID_WEB_SEARCH:
            m_browser.GoSearch();
            return true;
        case ID_WEB_PRINT:
            m_browser.ExecWB(browser::kCmdPrint, browser::kPromptDefault);
            return true;
        default:
            return CDialog::OnCommand(id, code);
    }
}

void CWebDialog::OnOK() {
    m_browser.Stop();
    if (!UpdateData(true)) return;
    m_strTitle = m_browser.GetLocationName();
    EndDialog(IDOK);
    CloseBrowser();
}

void CWebDialog::OnCancel() {
    m_browser.Stop();
    EndDialog(IDCANCEL);
    CloseBrowser();
}

void CWebDialog::CloseBrowser() {
    m_browser.DestroyWindow();
}

void CWebDialog::ShowAddress() {
    SetDlgItemText(IDC_WEB_ADDRESS, m_strAddress);
}

void CWebDialog::OnBrowserEvent(DISPID id, std::span<const Variant> args) {
    switch (id) {
        case events::kTitleChange:
            SetWindowText(TextArg(args, 0));
            break;
        case events::kStatusTextChange:
            if (!m_downloading) break;
            m_strStatus = TextArg(args, 0);
            SetDlgItemText(IDC_WEB_STATUS, m_strStatus);
            break;
        case events::kDownloadBegin:
            m_downloading = true;
            break;
        case events::kDownloadComplete:
            m_downloading = false;
            m_strStatus.clear();
            m_strAddress = m_browser.GetLocationURL();
            SetDlgItemText(IDC_WEB_STATUS, m_strStatus);
            ShowAddress();
            break;
        case events::kDocumentComplete:
        case events::kNavigateComplete2:
            m_strAddress = m_browser.GetLocationURL();
            ShowAddress();
            break;
        case events::kCommandStateChange: {
            if (args.size() < 2) break;
            auto command = args[0].ChangeType(VarType::I4);
            auto enable = args[1].ChangeType(VarType::Bool);
            if (!command || !enable) break;
            if (command->I4() == browser::kCommandForward)
                EnableMenuItem(ID_WEB_FORWARD, enable->Bool());
            else if (command->I4() == browser::kCommandBack)
                EnableMenuItem(ID_WEB_BACK, enable->Bool());
            break;
        }
        default:
            break;
    }
}

void CWebDialog::OnSize(int cx, int cy) {
    if (m_firstSize) {
        m_firstSize = false;
    } else {
        const int w = cx, h = cy;
        MoveDlgItem(IDCANCEL, RECT{w - 65, h - 35, w - 5, h - 10});
        MoveDlgItem(IDOK, RECT{w - 130, h - 35, w - 70, h - 10});
        MoveDlgItem(IDC_WEB_STATUS, RECT{5, h - 35, w - 155, h - 10});
        MoveDlgItem(IDC_WEB_GO, RECT{w - 65, h - 70, w - 5, h - 45});
        MoveDlgItem(IDC_WEB_ADDRESS, RECT{55, h - 70, w - 80, h - 45});
        MoveDlgItem(IDC_WEB_ADDRESS_LABEL, RECT{5, h - 70, 50, h - 45});
        UpdateWindow();
    }
    if (HWND window = m_browser.GetSafeHwnd()) MoveChildWindow(window, RECT{0, 0, cx - 5, cy - 75});
}

}  // namespace orbel
