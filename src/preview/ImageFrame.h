// The preview pane: a small frame with the menu toolbar (the View, Zoom and Page menus as
// buttons) and the page bar above one image view. It sends the Zoom and Page commands to the
// view and keeps their buttons and check marks in step with it.
#pragma once

#include <memory>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/ToolBar.h"

namespace orbel {

class CImageView;

// The page bar's controls.
inline constexpr UINT IDC_PREVPG = 1063;
inline constexpr UINT IDC_NEXTPG = 1064;
inline constexpr UINT IDC_PAGEBOX = 1065;
// The page bar's template, a form that holds the page box.
inline constexpr UINT IDD_PAGE_BAR = 229;
inline constexpr UINT IDC_LEFT = 1072;
inline constexpr UINT IDC_RIGHT = 1073;
inline constexpr UINT IDC_PRINT = 1074;

// The page bar: the paging, turning and printing buttons, and the page box in which a page
// number is typed (a form of its own at the start of the bar's row).
class CPageBar final : public CToolBar, private platform::DialogOwner {
  public:
    ~CPageBar() override;
    bool Create(CWnd* parent, CCmdTarget* owner);
    // Below 1 the page box shows nothing.
    void SetPageNumber(int page);
    int PageNumber() const { return m_pageNumber; }
    std::string PageBoxText() const;
    void EnableButtons(bool enable);
    bool ButtonsEnabled() const { return m_enabled; }
    platform::LiveDialog* PageBox() const { return m_box.get(); }
    // Puts the page box at the start of the row the frame gave the bar, the buttons after it.
    void PlacePageBox();
    // Whether a key that reaches `window` is typed into the page box.
    bool InPageBox(HWND window) const;
    // Takes the number typed in the page box as the page number; false, with the person told,
    // when the box holds no whole number.
    bool ReadPageNumber();

  protected:
    void OnDestroy() override;

  private:
    void OnDialogInit(platform::LiveDialog&) override {}
    void OnDialogCommand(UINT, UINT) override {}
    void OnDialogClose() override {}

    int m_pageNumber = 0;
    bool m_enabled = true;
    std::unique_ptr<platform::LiveDialog> m_box;
};

// The menu toolbar: one text button per menu of menu 227; a click, or Alt with the key its "&"
// marks, opens that menu under it. While a menu is open its message hook lets Left and Right
// move to the neighbouring menu (wrapping at both ends), Escape close it, and a click on the
// open menu's own button close it without opening it again.
class CMenuToolBar final : public CToolBar {
  public:
    CMenuToolBar();
    ~CMenuToolBar() override;
    bool Create(CWnd* parent, CCmdTarget* owner);
    // Opens the menu of button `index` (0 the first), carries out what is chosen, and opens
    // the neighbour each time the person moves there with an arrow key.
    void TrackMenu(int index, CCmdTarget* target);
    // Alt with `key`: opens the menu whose button text marks that letter; false when none does
    // or its button is disabled.
    bool OpenMenuByKey(UINT key, CCmdTarget* target);
    // -1 while no menu is open.
    int HotIndex() const { return m_hotIndex; }
    // Where a menu's button is in the bar's window; empty for none.
    RECT ButtonRect(UINT id) const;

  private:
    // The thread's message-filter hook while one of the bar's menus is open.
    static bool MenuFilterHook(int code, MSG& msg);
    bool OnMenuInput(MSG& msg);
    int ButtonCount() const;

    int m_hotIndex = -1;
    bool m_switching = false;
};

class CImageFrame final : public CFrameWnd {
  public:
    static constexpr const char* kClassName = "CImageFrame";
    static std::unique_ptr<CWnd> CreateObject();

    CImageFrame();
    ~CImageFrame() override;

    CImageView* GetActiveView() const { return m_view.get(); }
    CPageBar& PageBar() { return m_pageBar; }
    CMenuToolBar& MenuBar() { return m_menuBar; }
    // Every menu toolbar button and all page bar controls together.
    void EnableControls(bool enable);
    // The zoom context menu at a screen point, the frame taking its command.
    void TrackZoomMenu(POINT screen);

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Alt with a menu's key opens it before any other translation of the key; Enter or Tab in
    // the page box goes to the page typed there.
    bool PreTranslateMessage(MSG& msg) override;
    void RecalcLayout() override;

  protected:
    int OnCreate() override;
    bool OnCreateClient() override;

  private:
    // Reads the page box and, while it is enabled, shows the page typed there.
    void GoToTypedPage();

    // Members in the order the frame declares them.
    CPageBar m_pageBar;
    CMenuToolBar m_menuBar;
    std::unique_ptr<CImageView> m_view;
    bool m_controlsEnabled = true;
};

}  // namespace orbel
