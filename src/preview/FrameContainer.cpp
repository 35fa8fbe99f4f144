#include "src/preview/FrameContainer.h"

#include "platform/Platform.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ScanNewItem.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/preview/ImageFrame.h"
#include "src/preview/ImageView.h"
#include "src/preview/ImagingProbe.h"
#include "src/preview/ImgScan.h"
#include "src/resources/ListMenus.h"
#include "src/script/ScriptView.h"

namespace orbel {

namespace {
const CRuntimeClass kViewTreeClass{CViewTree::kClassName, &CViewTree::CreateObject};
const CRuntimeClass kViewListClass{CViewList::kClassName, &CViewList::CreateObject};
const CRuntimeClass kImageFrameClass{CImageFrame::kClassName, &CImageFrame::CreateObject};
constexpr DWORD kInnerSplitterStyle = WS_CHILD | WS_VISIBLE | SPLS_DYNAMIC_SPLIT;  // 0x50000001
constexpr const char* kScriptViewClass = "CScriptView";
}  // namespace

// ---------------------------------------------------------------------------------------
// The right-hand splitter

bool CPaneSplitter::CreateView(int row, int col, const CRuntimeClass& viewClass, SIZE initial) {
    if (row != 0) return CSplitterWnd::CreateView(row, col, kImageFrameClass, initial);
    if (std::string_view(viewClass.className) == kScriptViewClass)
        return CSplitterWnd::CreateView(row, col, viewClass, initial);
    return CSplitterWnd::CreateView(row, col, kViewListClass, initial);
}

// ---------------------------------------------------------------------------------------
// The frame

bool CFrameContainer::Create(HWND parent, const RECT& rect) {
    m_control = dynamic_cast<COrbelCtrl*>(CWnd::FromHandlePermanent(parent));
    if (!CFrameWnd::Create(kClassName, WS_CHILD | WS_VISIBLE, rect, parent)) return false;
    m_preview =
        m_control && m_control->PreviewPaneWanted() && ImagingControlsAvailable(GetSafeHwnd());
    RecalcLayout();
    m_outerSplitter.Invalidate();
    Invalidate();
    return true;
}

bool CFrameContainer::OnCreateClient() {
    if (!m_outerSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return false;
    const RECT client = GetClientRect();
    if (!m_outerSplitter.CreateView(0, 0, kViewTreeClass,
                                    SIZE{client.Width() / 4, client.Height()}))
        return false;
    if (!m_innerSplitter.Create(&m_outerSplitter, 2, 1, SIZE{10, 10}, kViewListClass,
                                kInnerSplitterStyle, m_outerSplitter.IdFromRowCol(0, 1)))
        return false;
    m_treeView = dynamic_cast<CViewTree*>(m_outerSplitter.GetPane(0, 0));
    m_listView = dynamic_cast<CViewList*>(m_innerSplitter.GetPane(0, 0));
    if (!m_treeView || !m_listView) return false;
    m_treeView->SetListView(m_listView);
    m_listView->SetTreeView(m_treeView);
    RecalcLayout();
    m_treeView->SetControl(m_control);
    m_listView->BuildColumns(m_control);
    return CFrameWnd::OnCreateClient();
}

void CFrameContainer::SetToolbar(CToolBar* toolbar) {
    m_toolBar = toolbar;
    if (!m_toolBar) return;
    auto& buttons = m_toolBar->GetToolBarCtrl();
    if (m_preview) {
        RecalcLayout();
        ShowPreviewPane(true);
        buttons.CheckButton(ID_SHOW_PREVIEW_PANE, true);
    }
    const bool directorySelect = m_control && m_control->DirectorySelect();
    buttons.EnableButton(ID_SEND_EMAIL_TO_SUBSCRIBERS, directorySelect);
    buttons.EnableButton(ID_SUBSCRIBER_MAINTENANCE, !directorySelect);
    buttons.CheckButton(ID_ATTACH_OBJECTS, true);
    buttons.CheckButton(ID_SUBSCRIBER_MAINTENANCE, false);
    buttons.HideButton(ID_OPTIONS, true);
}

void CFrameContainer::ShowOptionsButton(bool show) {
    if (!m_toolBar) return;
    auto& buttons = m_toolBar->GetToolBarCtrl();
    if (!show) {
        if (!buttons.IsButtonHidden(ID_OPTIONS)) buttons.HideButton(ID_OPTIONS, true);
    } else if (buttons.IsButtonHidden(ID_OPTIONS)) {
        buttons.HideButton(ID_OPTIONS, false);
        RecalcLayout();
    }
}

void CFrameContainer::ShowPreviewPane(bool show) {
    if (show) {
        const int half = m_outerSplitter.GetClientRect().Height() / 2;
        if (m_innerSplitter.GetRowCount() < 2 && m_innerSplitter.SplitRow(half))
            if (auto* frame = dynamic_cast<CImageFrame*>(m_innerSplitter.GetPane(1, 0)))
                if (m_listView) m_listView->SetImageView(frame->GetActiveView());
    } else {
        if (m_listView) m_listView->SetImageView(nullptr);
        if (m_innerSplitter.GetRowCount() > 1) m_innerSplitter.DeleteRow(1);
    }
    if (m_control) m_control->SetPreviewPaneShown(show);
}

void CFrameContainer::ClearStalePreview() {
    if (m_innerSplitter.GetRowCount() < 2 || m_innerSplitter.GetColumnCount() < 1) return;
    auto* frame = dynamic_cast<CImageFrame*>(m_innerSplitter.GetPane(1, 0));
    CImageView* view = frame ? frame->GetActiveView() : nullptr;
    if (view && view->HasViewer()) view->ClearImage();
}

void CFrameContainer::ShowScriptView(int row, int col, const CRuntimeClass& viewClass) {
    if (m_control) m_control->SetDisplayMode(DisplayMode::ScriptMaint);
    m_innerSplitter.DeleteView(row, col);
    if (m_listView && row == 0 && col == 0) {
        // The tree must not reach the list it no longer has.
        if (m_treeView) m_treeView->SetListView(nullptr);
        m_listView = nullptr;
    }
    m_innerSplitter.CreateView(row, col, viewClass, SIZE{0, 0});
    RecalcLayout();
    m_scriptView = m_innerSplitter.GetPane(0, 0);
    if (auto* view = dynamic_cast<CScriptView*>(m_scriptView)) {
        view->SetControl(m_control);
        view->OnInitialUpdate();
    }
}

void CFrameContainer::ShowListView() {
    if (m_listView || !m_scriptView) return;
    m_innerSplitter.DeleteView(0, 0);
    m_scriptView = nullptr;
    m_innerSplitter.CreateView(0, 0, kViewListClass, SIZE{0, 0});
    RecalcLayout();
    m_listView = dynamic_cast<CViewList*>(m_innerSplitter.GetPane(0, 0));
    if (!m_listView) return;
    if (m_treeView) m_treeView->SetListView(m_listView);
    m_listView->SetTreeView(m_treeView);
    m_listView->BuildColumns(m_control);
    if (m_innerSplitter.GetRowCount() > 1)
        if (auto* frame = dynamic_cast<CImageFrame*>(m_innerSplitter.GetPane(1, 0)))
            m_listView->SetImageView(frame->GetActiveView());
}

bool CFrameContainer::ControlBusy() const {
    return !m_control || m_control->IsBusy();
}

std::int32_t CFrameContainer::ScanMode() const {
    // The control's ScanMode property, read as the host sets it.
    constexpr DISPID kScanModeId = 6;
    Variant mode;
    if (!m_control || FAILED(m_control->Invoke(kScanModeId, InvokeKind::PropertyGet, {}, &mode)))
        return 0;
    auto number = mode.ChangeType(VarType::I4);
    return number ? number->I4() : 0;
}

bool CFrameContainer::ScannerReady() {
    if (m_scannerReady) return *m_scannerReady;
    // Without the component nothing is kept: its module may be registered later.
    const ScannerState state = ProbeScanner(GetSafeHwnd());
    if (state != ScannerState::NoComponent) m_scannerReady = state == ScannerState::Ready;
    return state == ScannerState::Ready;
}

void CFrameContainer::OnShowPreviewPane() {
    if (!ImagingControlsAvailable(GetSafeHwnd()) || !m_toolBar) return;
    auto& buttons = m_toolBar->GetToolBarCtrl();
    const bool show = !buttons.IsButtonChecked(ID_SHOW_PREVIEW_PANE);
    buttons.CheckButton(ID_SHOW_PREVIEW_PANE, show);
    ShowPreviewPane(show);
}

void CFrameContainer::OnSubscriberPair(UINT pressed) {
    if (ControlBusy() || !m_toolBar) return;
    auto& buttons = m_toolBar->GetToolBarCtrl();
    // The pair shows the mode the control is in: pressing the checked one changes nothing.
    if (buttons.IsButtonChecked(pressed)) return;
    const bool enter = pressed == ID_SUBSCRIBER_MAINTENANCE;
    buttons.CheckButton(enter ? ID_ATTACH_OBJECTS : ID_SUBSCRIBER_MAINTENANCE, false);
    buttons.CheckButton(pressed, true);
    if (enter)
        m_control->EnterSubscriberMaint();
    else
        m_control->LeaveSubscriberMaint();
}

const std::vector<UINT>& CFrameContainer::CommandsWithoutReceiver() {
    static const std::vector<UINT> commands;
    return commands;
}

bool CFrameContainer::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (m_control && m_control->OnCmdMsg(id, ui)) return true;
    switch (id) {
        case ID_SCAN_NEW_ITEM:
            if (ui) {
                ui->Enable(!ControlBusy() && ScannerReady());
            } else if (!ControlBusy() && m_control->Mode() != DisplayMode::ScriptMaint) {
                if (CViewList* list = m_control->ListView()) {
                    ScanNewItem(*list, ScanMode());
                    list->Invalidate();
                }
            }
            return true;
        case ID_SHOW_PREVIEW_PANE:
            if (!ui) OnShowPreviewPane();
            return true;
        case ID_NEW_FOLDER:
            if (!ui && m_control && !m_control->IsBusy())
                if (CViewList* list = m_control->ListView())
                    list->OnListCommand(ID_LIST_NEW_FOLDER);
            return true;
        case ID_NEW_OLE_ITEM:
            // Script maintenance makes a new script here once it has its own view.
            if (!ui && m_control && !m_control->IsBusy() &&
                m_control->Mode() != DisplayMode::ScriptMaint)
                if (CViewList* list = m_control->ListView()) {
                    list->NewItem();
                    list->Invalidate();
                }
            return true;
        case ID_SUBSCRIBER_MAINTENANCE:
        case ID_ATTACH_OBJECTS:
            if (!ui) OnSubscriberPair(id);
            return true;
        case ID_SEND_AS_EMAIL_ATTACHMENT:
            if (!ui && m_control)
                if (CViewList* list = m_control->ListPane()) list->SendSelectionAsMail();
            return true;
        case ID_SEND_EMAIL_TO_SUBSCRIBERS:
            if (!ui && m_control)
                if (CViewList* list = m_control->ListPane()) list->ProcessBatch();
            return true;
        case ID_OPTIONS:
            if (!ui && m_control && !m_control->IsBusy()) m_control->ShowOptions();
            return true;
        case ID_MODIFY_SCRIPT:
        case ID_CREATE_NEW_SCRIPT:
        case ID_RUN_SCRIPT:
            if (ui) {
                ui->Enable(true);
            } else if (CScriptView* view = m_control ? m_control->ScriptPane() : nullptr) {
                if (id == ID_MODIFY_SCRIPT) view->OnEditScript();
                if (id == ID_CREATE_NEW_SCRIPT) view->OnCreateScript();
                if (id == ID_RUN_SCRIPT) view->OnRun();
            }
            return true;
        default:
            break;
    }
    for (UINT pending : CommandsWithoutReceiver())
        if (pending == id) return true;
    return false;
}

}  // namespace orbel
