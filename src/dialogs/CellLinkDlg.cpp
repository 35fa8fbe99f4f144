#include "src/dialogs/CellLinkDlg.h"

#include "platform/Api.h"
#include "platform/automation/ActiveObjects.h"
#include "platform/framework/WaitCursor.h"
#include "platform/framework/Wnd.h"
#include "platform/spreadsheet/SpreadsheetIds.h"
#include "platform/text/Sprintf.h"
#include "src/resources/DialogTemplates.h"
#include "src/spreadsheet/CellReference.h"

namespace orbel {

namespace {

constexpr UINT MB_SETFOREGROUND = 0x10000;

// The one receiver of the program's application events for the whole process. It is never
// freed, and it answers every event, acting only on a selection change of the dialog that is
// choosing a cell.
class CExcelEventSink final : public IDispatch {
  public:
    static CExcelEventSink& Instance() {
        static CExcelEventSink sink;
        return sink;
    }
    // Advising shares the sink without owning it.
    std::shared_ptr<IDispatch> Shared() {
        return std::shared_ptr<IDispatch>(this, [](auto*) {});
    }

    CCellLinkDlg* m_pDialog = nullptr;

    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant>, Variant*) override {
        if (id == spreadsheet::events::kSheetSelectionChange && m_pDialog)
            m_pDialog->OnSheetSelectionChange();
        return S_OK;
    }
};

int MessageBox(const std::string& text, const std::string& caption, UINT type) {
    return MessageAnswerToId(platform::GetPlatform().User().MessageBox(
        MessageBoxRequestFromStyle(text, caption, type & ~MB_SETFOREGROUND)));
}

// Runs one exchange with the program and shows what it threw.
template <class F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const COleDispatchException& e) {
        MessageBox(Sprintf("COleDispatchException. SCODE: %08lx,Description: \"%s\".",
                           static_cast<unsigned long>(static_cast<std::uint32_t>(e.m_wCode)),
                           e.m_strDescription),
                   "COleDispatchException", MB_OK | MB_SETFOREGROUND);
    } catch (const COleException& e) {
        MessageBox(Sprintf("COleException. SCODE: %08lx.",
                           static_cast<unsigned long>(static_cast<std::uint32_t>(e.m_sc))),
                   "COleException", MB_OK | MB_SETFOREGROUND);
    } catch (...) {
        MessageBox("General Exception caught.", "Catch-All", MB_OK | MB_SETFOREGROUND);
    }
}

}  // namespace

std::shared_ptr<IDispatch> CellLinkEventSink() {
    return CExcelEventSink::Instance().Shared();
}

CCellLinkDlg::CCellLinkDlg(HWND parent) : CDialog(*FindDialogTemplate(IDD_CELL_LINK), parent) {}

CCellLinkDlg::~CCellLinkDlg() {
    StopExcel();
    if (CExcelEventSink::Instance().m_pDialog == this)
        CExcelEventSink::Instance().m_pDialog = nullptr;
}

void CCellLinkDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_CELL_PROMPT, m_prompt);
    DDX_Text(dx, IDC_CELL_NAME, m_cellName);
}

bool CCellLinkDlg::OnCommand(UINT id, UINT code) {
    if (id == IDC_CHOOSE_CELL && code == BN_CLICKED) {
        OnChooseCell();
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CCellLinkDlg::OnChooseCell() {
    if (!m_pControl) return;
    SetDlgItemText(IDC_CELL_PROMPT,
                   "Please choose a cell and close down Excel before proceeding with TARN.");
    {
        CWaitCursor wait;
        Guarded([this] { StartExcel(); });
    }
    // At once, not when the loop gets to it: the program's window came up over the dialog.
    if (HWND self = GetSafeHwnd(); self != kNoWindow) {
        platform::GetPlatform().Windows().InvalidateRect(self, nullptr);
        platform::GetPlatform().Windows().SendMessage(self, WM_PAINT, 0, 0);
    }
}

void CCellLinkDlg::StartExcel() {
    m_app.ReleaseDispatch();
    if (!m_app.CreateDispatch(spreadsheet::kProgId)) {
        AfxMessageBox("Couldn't CreateDispatch on Excel");
        return;
    }
    m_app.SetVisible(true);
    CExcelEventSink::Instance().m_pDialog = this;
    Workbooks books(m_app.GetWorkbooks());
    COleDispatchDriver book(books.Open(m_workbookPath));
    m_connectionPointContainer =
        std::dynamic_pointer_cast<IConnectionPointContainer>(m_app.Dispatch());
    if (!m_connectionPointContainer) throw COleException{E_NOINTERFACE};
    m_connectionPoint = m_connectionPointContainer->FindConnectionPoint(
        *Guid::Parse(spreadsheet::kAppEventsIidText));
    if (!m_connectionPoint) throw COleException{E_NOINTERFACE};
    const HRESULT hr = m_connectionPoint->Advise(CExcelEventSink::Instance().Shared(), m_cookie);
    if (FAILED(hr)) throw COleException{hr};
    m_connectionPointContainer.reset();
    book.ReleaseDispatch();
    books.ReleaseDispatch();
}

void CCellLinkDlg::OnSheetSelectionChange() {
    Guarded([this] {
        Range range(m_app.GetSelection());
        _Worksheet sheet(range.GetWorksheet());
        const std::string name = sheet.GetName();
        m_lastReference = CellReference(name, range.GetColumn(), range.GetRow());
        UpdateData(true);
        if (!m_lastReference.empty()) m_cellName = m_lastReference;
        UpdateData(false);
    });
}

void CCellLinkDlg::StopExcel() {
    if (!m_app.Dispatch()) return;
    if (m_connectionPoint) m_connectionPoint->Unadvise(m_cookie);
    m_connectionPoint.reset();
    m_connectionPointContainer.reset();
    m_cookie = 0;
    Guarded([this] { m_app.Quit(); });
    m_app.ReleaseDispatch();
}

void CCellLinkDlg::OnOK() {
    StopExcel();
    CDialog::OnOK();
}

void CCellLinkDlg::OnCancel() {
    StopExcel();
    CDialog::OnCancel();
}

bool RunCellLink(CWnd* control, const std::string& rowText, const std::string& resourcePath,
                 const std::function<void(const std::string&, const std::string&)>& store) {
    CCellLinkDlg dialog(control ? control->GetSafeHwnd() : kNoWindow);
    dialog.m_prompt = Sprintf(
        "To link a cell in %s to this field, either type in a cell name or a cell reference "
        "(e.g. Sheet1!$A$1 ) below. \nAlternatively click on Choose Cell to select a cell "
        "directly from the spreadsheet.",
        rowText);
    dialog.m_pControl = control;
    const LinkedPath linked = SplitLinkedPath(resourcePath);
    dialog.m_workbookPath = linked.workbook;
    dialog.m_cellName = linked.cell;
    if (dialog.DoModal() == IDCANCEL) return false;
    store(dialog.m_workbookPath, dialog.m_cellName);
    return true;
}

}  // namespace orbel
