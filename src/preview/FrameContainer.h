// The frame that fills the control's window: the toolbar at its top, and under it a static
// splitter with the folder tree on the left and, on the right, a dynamic splitter with the
// item list over the preview. It receives the toolbar's commands and passes them on.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/framework/FrameWnd.h"
#include "platform/framework/SplitterWnd.h"
#include "platform/framework/ToolBar.h"

namespace orbel {

class COrbelCtrl;
class CViewList;
class CViewTree;

// Toolbar commands.
inline constexpr UINT ID_NEW_FOLDER = 32834;
inline constexpr UINT ID_NEW_OLE_ITEM = 32833;
inline constexpr UINT ID_SCAN_NEW_ITEM = 32850;
inline constexpr UINT ID_SHOW_PREVIEW_PANE = 32786;
inline constexpr UINT ID_ATTACH_OBJECTS = 32797;
inline constexpr UINT ID_SUBSCRIBER_MAINTENANCE = 32793;
inline constexpr UINT ID_SEND_EMAIL_TO_SUBSCRIBERS = 32794;
inline constexpr UINT ID_OPTIONS = 32799;
inline constexpr UINT ID_SEND_AS_EMAIL_ATTACHMENT = 32818;
inline constexpr UINT ID_MODIFY_SCRIPT = 32812;
inline constexpr UINT ID_CREATE_NEW_SCRIPT = 32810;
inline constexpr UINT ID_RUN_SCRIPT = 32811;

// The right-hand splitter: the list (or the script view) above, the preview below.
class CPaneSplitter final : public CSplitterWnd {
  public:
    bool CreateView(int row, int col, const CRuntimeClass& viewClass, SIZE initial) override;
};

class CFrameContainer final : public CFrameWnd {
  public:
    static constexpr const char* kClassName = "CFrameContainer";

    bool Create(HWND parent, const RECT& rect);

    void SetToolbar(CToolBar* toolbar);
    void ShowOptionsButton(bool show);
    void ShowPreviewPane(bool show);
    // Opening a store blanks a page the preview still shows.
    void ClearStalePreview();
    // The script view replaces the view at (row, col) of the right-hand splitter.
    void ShowScriptView(int row, int col, const CRuntimeClass& viewClass);
    // The item list takes the script view's place again, as the panes were made.
    void ShowListView();

    CViewTree* TreeView() const { return m_treeView; }
    CViewList* ListView() const { return m_listView; }
    CWnd* ScriptView() const { return m_scriptView; }
    CSplitterWnd& OuterSplitter() { return m_outerSplitter; }
    CPaneSplitter& InnerSplitter() { return m_innerSplitter; }
    bool PreviewFlag() const { return m_preview; }

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Commands that have a place on a toolbar but whose work the control does not do yet.
    static const std::vector<UINT>& CommandsWithoutReceiver();

  protected:
    bool OnCreateClient() override;

  private:
    void OnShowPreviewPane();
    // The check-button pair "Subscriber Maintenance" and "Attach Objects".
    void OnSubscriberPair(UINT pressed);
    bool ControlBusy() const;
    // Whether the scan component is there and opens a scanner; once it is there, asked once,
    // as asking every backend for its devices can take seconds.
    bool ScannerReady();
    std::int32_t ScanMode() const;

    // Members in the order the frame declares them.
    CPaneSplitter m_innerSplitter;
    CSplitterWnd m_outerSplitter;
    CViewList* m_listView = nullptr;
    CWnd* m_scriptView = nullptr;
    CViewTree* m_treeView = nullptr;
    COrbelCtrl* m_control = nullptr;
    bool m_preview = false;
    CToolBar* m_toolBar = nullptr;
    std::optional<bool> m_scannerReady;
};

}  // namespace orbel
