// The control's toolbar in the normal mode, and the buttons whose commands have nothing to do
// yet: pressing them must leave everything as it was.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

class ToolbarTest : public test::StoreControlTest {
  protected:
    // Everything a command could change, as text.
    std::string State() {
        return ToolBarModel().Dump() + TreeDump() + ListDump() + "mode " +
               std::to_string(static_cast<int>(Ctrl().Mode())) + (Ctrl().IsBusy() ? " busy" : "") +
               (Ctrl().PreviewPaneWanted() ? " preview" : "") + " rows " +
               std::to_string(Ctrl().Frame()->InnerSplitter().GetRowCount());
    }
};

TEST_F(ToolbarTest, TheNormalBarComesUpWithAttachCheckedOptionsHiddenAndScanningOff) {
    P().RunIdleHandlers();
    EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 209u);
    EXPECT_EQ(ToolBarModel().ButtonWidth(), 19);
    EXPECT_EQ(ToolBarModel().ButtonHeight(), 18);
    EXPECT_EQ(ToolBarModel().Dump(),
              "32834 \"New Folder\"\n"
              "32833 \"New OLE Item\"\n"
              "32850 \"Scan New Item\" disabled\n"
              "separator\n"
              "32786 \"Show Preview Pane\"\n"
              "separator\n"
              "32797 \"Attach Objects\" checked\n"
              "32793 \"Subscriber Maintenance\"\n"
              "32794 \"Send Email To Subscribers\" disabled\n"
              "separator\n"
              "32799 \"Options\" hidden\n"
              "32818 \"Send As Email Attachment\"\n");
}

// Each of these comes off the list with the change that makes its command do something.
TEST_F(ToolbarTest, TheCommandsWithoutAReceiverAreExactlyThese) {
    EXPECT_EQ(CFrameContainer::CommandsWithoutReceiver(), std::vector<UINT>{});
}

TEST_F(ToolbarTest, NewFolderOpensANewRowForItsNameUnlessTheControlIsBusy) {
    auto& list = *P().CommonControls().List(Ctrl().ListView()->GetSafeHwnd());
    // While busy the command is routed but does nothing.
    Ctrl().SetBusy(true);
    EXPECT_TRUE(Ctrl().Frame()->OnCmdMsg(ID_NEW_FOLDER, nullptr));
    EXPECT_EQ(list.GetItemCount(), 0);
    Ctrl().SetBusy(false);
    Host().Clear();
    EXPECT_TRUE(ToolBarModel().UserClick(ID_NEW_FOLDER));
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetEditRow(), 0);
    // Escape in the box: the row goes again and no folder is asked for.
    list.UserEditLabel(0, std::nullopt);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(Host().Events().empty());
}

TEST_F(ToolbarTest, ACommandWithoutAReceiverChangesNothingAndTellsNobody) {
    Ctrl().AddListViewItem(true, false, 1, "Folder", "");
    Ctrl().AddListViewItem(false, false, 2, "Doc", "/srv/doc.pdf");
    P().RunIdleHandlers();
    const std::string before = State();
    Host().Clear();
    for (UINT id : CFrameContainer::CommandsWithoutReceiver()) {
        SCOPED_TRACE(id);
        // As the user presses the button where it can be pressed, and as the frame routes
        // the command where it cannot.
        if (!ToolBarModel().UserClick(id)) {
            EXPECT_TRUE(Ctrl().Frame()->OnCmdMsg(id, nullptr));
        }
        P().RunUntilIdle();
        EXPECT_EQ(State(), before);
    }
    EXPECT_TRUE(Host().Events().empty());
    EXPECT_TRUE(User().Transcript().empty());
}

TEST_F(ToolbarTest, ThePreviewButtonDoesNothingWithoutTheImagingControls) {
    EXPECT_FALSE(Ctrl().Frame()->PreviewFlag());
    const std::string before = State();
    EXPECT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
    EXPECT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Ctrl().Frame()->InnerSplitter().GetRowCount(), 1);
    EXPECT_FALSE(ToolBarModel().IsButtonChecked(ID_SHOW_PREVIEW_PANE));
}

}  // namespace
}  // namespace orbel
