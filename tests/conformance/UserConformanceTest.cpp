// What is modal, answered by the scripted user on both backends in one queue, keys through the
// hooks, context menus at the pointer, and no input for a disabled window.
#include <memory>
#include <string>
#include <vector>

#include "platform/Api.h"
#include "platform/controls/Controls.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/Menu.h"
#include "platform/framework/Wnd.h"
#include "tests/conformance/Backends.h"
#include "tests/conformance/MenuAtPointer.h"

namespace orbel::test {
namespace {

template <class B>
class UserConformance : public ConformanceTest<B> {
  protected:
    HWND ShownChild(HWND parent, RECT rect) {
        HWND child = this->MakeChildWindow(parent, rect);
        this->P().Windows().ShowWindow(child, true);
        return child;
    }
    // A list of rows with one column, owned by `owner`.
    std::unique_ptr<platform::ListControl> MakeList(HWND pane, platform::ListControlEvents& owner,
                                                    std::vector<std::string> rows) {
        auto list = this->P().CommonControls().CreateListControl(pane, owner);
        list->InsertColumn(0, "Name", platform::ListAlign::Left, 120);
        for (const std::string& row : rows) list->InsertItem(list->GetItemCount(), row, 1);
        return list;
    }
};
TYPED_TEST_SUITE(UserConformance, Backends, BackendNames);

TYPED_TEST(UserConformance, MessageBoxesAreAnsweredInOrderAndRecorded) {
    this->User().AnswerMessageBox(platform::MessageAnswer::Yes, "Delete");
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok);
    EXPECT_EQ(AfxMessageBox("Delete this folder?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("Error GetTree:1"), IDOK);
    MessageBeep();
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{"box \"Delete this folder?\" YESNO -> YES",
                                        "box \"Error GetTree:1\" OK -> OK", "beep"}));
}

// Writes the commands a window gets.
class CommandLog : public CWnd {
  public:
    std::vector<UINT> commands;

  protected:
    bool OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(static_cast<UINT>(wParam & 0xFFFF));
        return true;
    }
};

TYPED_TEST(UserConformance, AChosenMenuItemReachesItsOwnerAfterTheMenuClosed) {
    CommandLog log;
    ASSERT_TRUE(log.Create("Owner", "", WS_VISIBLE, RECT{0, 0, 200, 200}, kNoWindow, 0));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 101, "Open");
    menu.AppendMenu(MF_SEPARATOR, 0, "");
    menu.AppendMenu(MF_STRING | MF_CHECKED, 102, "Details");
    menu.SetDefaultItem(101);
    this->User().AnswerMenu("Details");
    menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &log);
    EXPECT_TRUE(log.commands.empty());
    this->Pump();
    EXPECT_EQ(log.commands, std::vector<UINT>{102});
    EXPECT_EQ(this->User().Transcript().back(),
              "menu Open (default) | - | Details (checked) -> Details");
}

TYPED_TEST(UserConformance, AKeyPassesTheHooksAndAConsumedKeyGoesNoFurther) {
    HWND top = this->MakeTopWindow(RECT{0, 0, 200, 200});
    this->P().Windows().SetFocus(top);
    std::vector<UINT> seen;
    auto hook = this->P().Loop().SetGetMessageHook([&](MSG& m) {
        if (m.message != WM_KEYDOWN) return;
        seen.push_back(static_cast<UINT>(m.wParam));
        if (m.wParam == VK_ESCAPE) m.message = WM_NULL;
    });
    this->Driver().PressKey(top, VK_F2, false, false, false);
    this->Driver().PressKey(top, VK_ESCAPE, false, false, false);
    this->Pump();
    EXPECT_EQ(seen, (std::vector<UINT>{VK_F2, VK_ESCAPE}));
    this->P().Loop().UnhookGetMessageHook(hook);
}

TYPED_TEST(UserConformance, AnswersOfEveryKindAreTakenInTheOrderTheyWereQueued) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 101, "Delete");
    // Queued as menu then box, shown as box then menu: the box is not the one expected.
    this->User().AnswerMenu("Delete");
    this->User().AnswerMessageBox(platform::MessageAnswer::Yes);
    EXPECT_EQ(AfxMessageBox("Delete this folder?", MB_YESNO), IDNO);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, nullptr), 101u);
    EXPECT_EQ(AfxMessageBox("Delete this folder?", MB_YESNO), IDYES);
    ASSERT_EQ(this->User().Failures().size(), 1u);
    EXPECT_EQ(this->User().Failures()[0],
              "unexpected message box \"Delete this folder?\" while the next queued is the menu "
              "answer \"Delete\"");
    this->User().ClearFailures();
}

TYPED_TEST(UserConformance, FileAndFolderChoosersGiveThePathChosenOrNothing) {
    this->User().AnswerChooser(false, "/srv/in/report.pdf");
    this->User().AnswerChooser(false, std::nullopt);
    this->User().AnswerChooser(true, "/srv/in");
    CFileDialog open(true, {}, "/srv/old/a.txt", "All Files (*.*)|*.*||");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/srv/in/report.pdf");
    CFileDialog save(false, "txt", {}, "Text (*.txt)|*.txt|All Files (*.*)|*.*||");
    save.m_initialDir = "/srv/store";
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_EQ(BrowseForFolder(kNoWindow, "/srv", "Please select a directory or folder:"),
              "/srv/in");
    // A folder chooser does not take a file chooser's answer, and the other way round.
    this->User().AnswerChooser(true, "/srv");
    CFileDialog another(true);
    EXPECT_EQ(another.DoModal(), IDCANCEL);
    EXPECT_EQ(this->User().Failures().size(), 1u);
    this->User().ClearFailures();
    EXPECT_EQ(BrowseForFolder(kNoWindow, "", ""), "/srv");
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{
                  "filechooser open filter=\"All Files (*.*)|*.*||\" dir=\"/srv/old\" -> "
                  "\"/srv/in/report.pdf\"",
                  "filechooser save filter=\"Text (*.txt)|*.txt|All Files (*.*)|*.*||\" "
                  "dir=\"/srv/store\" -> cancel",
                  "folderchooser title=\"Please select a directory or folder:\" dir=\"/srv\" -> "
                  "\"/srv/in\"",
                  "filechooser open filter=\"\" dir=\"\" -> cancel",
                  "folderchooser dir=\"\" -> \"/srv\""}));
}

TYPED_TEST(UserConformance, AContextMenuOpensAtThePointWhereThePersonRightClicked) {
    HWND top = this->MakeTopWindow(RECT{100, 50, 500, 450});
    HWND listPane = this->ShownChild(top, RECT{10, 10, 190, 390});
    HWND treePane = this->ShownChild(top, RECT{200, 10, 390, 390});
    MenuAtPointer owner;
    auto list = this->MakeList(listPane, owner, {"a", "b", "c"});
    auto tree = this->P().CommonControls().CreateTreeControl(treePane, owner);
    const platform::TreeItem all =
        tree->InsertItem("All", 0, 0, platform::kTreeNone, platform::TreeInsert::First);
    this->Pump();

    RECT r{};
    ASSERT_TRUE(list->GetItemRect(2, r, true));
    const POINT onRow{r.left + 2, r.top + 2};
    this->User().AnswerMenu(std::nullopt);
    EXPECT_TRUE(this->Driver().ListRightClick(listPane, 2, onRow));
    EXPECT_EQ(this->User().LastMenuPoint(), this->P().Windows().ClientToScreen(listPane, onRow));

    ASSERT_TRUE(tree->GetItemRect(all, r, true));
    const POINT onFolder{r.right - 2, r.bottom - 2};
    this->User().AnswerMenu(std::nullopt);
    EXPECT_TRUE(this->Driver().TreeRightClick(treePane, all, onFolder));
    EXPECT_EQ(this->User().LastMenuPoint(), this->P().Windows().ClientToScreen(treePane, onFolder));
}

// Writes what reaches a list's owner.
class InputLog : public platform::ListControlEvents {
  public:
    std::vector<std::string> lines;
    void OnListItemChanged(int row, UINT, UINT) override {
        lines.push_back("changed " + std::to_string(row));
    }
    void OnListKeyDown(UINT key) override { lines.push_back("key " + std::to_string(key)); }
    void OnListDoubleClick(int row) override { lines.push_back("double " + std::to_string(row)); }
    void OnListRightClick(int row, POINT) override {
        lines.push_back("right " + std::to_string(row));
    }
    void OnListBeginDrag(int row, POINT) override {
        lines.push_back("drag " + std::to_string(row));
    }
};

TYPED_TEST(UserConformance, AWindowInsideADisabledWindowTakesNoKeysAndNoClicks) {
    HWND top = this->MakeTopWindow(RECT{100, 50, 500, 450});
    HWND control = this->ShownChild(top, RECT{0, 0, 400, 400});
    HWND pane = this->ShownChild(control, RECT{10, 10, 390, 390});
    InputLog log;
    auto list = this->MakeList(pane, log, {"a", "b"});
    this->P().Windows().SetFocus(pane);
    this->Pump();
    RECT r{};
    ASSERT_TRUE(list->GetItemRect(1, r, true));
    const POINT onRow{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    log.lines.clear();

    // The control is disabled while it loads a folder: nothing reaches its panes.
    this->P().Windows().EnableWindow(control, false);
    EXPECT_FALSE(platform::TakesInput(this->P().Windows(), pane));
    EXPECT_FALSE(this->Driver().ListClick(pane, 1));
    EXPECT_FALSE(this->Driver().ListDoubleClick(pane, 1));
    EXPECT_FALSE(this->Driver().ListRightClick(pane, 1, onRow));
    EXPECT_FALSE(this->Driver().ListBeginDrag(pane, 1, onRow));
    this->Driver().PressKey(pane, VK_F2, false, false, false);
    this->Driver().MouseButton(WM_LBUTTONDOWN, this->P().Windows().ClientToScreen(pane, onRow));
    this->Driver().MouseButton(WM_LBUTTONUP, this->P().Windows().ClientToScreen(pane, onRow));
    this->Pump();
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
    EXPECT_TRUE(list->GetSelectedRows().empty());

    this->P().Windows().EnableWindow(control, true);
    EXPECT_TRUE(this->Driver().ListClick(pane, 1));
    this->Driver().PressKey(pane, VK_F2, false, false, false);
    this->Pump();
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(log.lines.back(), "key 113");
}

}  // namespace
}  // namespace orbel::test
