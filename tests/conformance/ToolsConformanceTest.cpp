// The toolbar's button states and clicks, image lists and the drag image, on both backends.
#include "tests/conformance/ControlsFixture.h"

namespace orbel::test {
namespace {

template <class B>
class ToolsConformance : public ControlsConformance<B> {};
TYPED_TEST_SUITE(ToolsConformance, Backends, BackendNames);

// ---------------------------------------------------------------------------------------
// The toolbar, image lists and the drag image

TYPED_TEST(ToolsConformance, ToolbarButtonsClickOnlyWhenShownAndEnabled) {
    struct Clicks : platform::ToolBarControlEvents {
        std::vector<UINT> ids;
        void OnToolButtonClicked(UINT id) override { ids.push_back(id); }
    } clicks;
    auto bar = this->C().CreateToolBarControl(this->pane, clicks);
    bar->SetButtons({{32834, "New Folder", "Make a folder"},
                     {0, "", ""},
                     {32786, "Preview", ""},
                     {32799, "Options", ""}},
                    19, 18);
    EXPECT_EQ(bar->ButtonWidth(), 19);
    EXPECT_TRUE(bar->EnableButton(32834, false));
    EXPECT_TRUE(bar->CheckButton(32786, true));
    EXPECT_TRUE(bar->HideButton(32799, true));
    EXPECT_FALSE(bar->EnableButton(4711, true));
    EXPECT_EQ(platform::DescribeToolBar(*bar),
              "32834 \"New Folder\" disabled\n"
              "separator\n"
              "32786 \"Preview\" checked\n"
              "32799 \"Options\" hidden\n");
    EXPECT_FALSE(this->Driver().ToolBarClick(this->pane, 32834));
    EXPECT_FALSE(this->Driver().ToolBarClick(this->pane, 32799));
    EXPECT_FALSE(this->Driver().ToolBarClick(this->pane, 0));
    EXPECT_TRUE(this->Driver().ToolBarClick(this->pane, 32786));
    EXPECT_EQ(clicks.ids, std::vector<UINT>{32786});
    // A click leaves the checked state to the owner.
    EXPECT_TRUE(bar->IsButtonChecked(32786));
    bar->CheckButton(32786, false);
    this->Driver().ToolBarClick(this->pane, 32786);
    EXPECT_FALSE(bar->IsButtonChecked(32786));

    // New buttons start over: enabled, unchecked, shown.
    bar->SetButtons({{32786, "Preview", ""}}, 16, 16);
    EXPECT_EQ(platform::DescribeToolBar(*bar), "32786 \"Preview\"\n");
    EXPECT_EQ(this->Driver().ToolBar(this->pane), bar.get());
    bar.reset();
    EXPECT_FALSE(this->Driver().ToolBarClick(this->pane, 32786));
}

TYPED_TEST(ToolsConformance, ImageListsNameTheirCellsAndIcons) {
    auto images = this->C().CreateImageList("IDB_TREE", 16, 20, 3);
    EXPECT_EQ(images->Width(), 16);
    EXPECT_EQ(images->Height(), 20);
    EXPECT_EQ(images->Describe(2), "IDB_TREE#2");
    EXPECT_EQ(images->Add(platform::Icon{"text-x-generic"}), 3);
    EXPECT_TRUE(images->Replace(4, platform::Icon{"a,1"}));  // at the count: appends
    EXPECT_FALSE(images->Replace(6, platform::Icon{"b,1"}));
    EXPECT_TRUE(images->Replace(1, platform::Icon{"c,2"}));
    EXPECT_EQ(images->GetImageCount(), 5);
    EXPECT_EQ(images->Describe(1), "c,2");
    EXPECT_EQ(images->Describe(3), "text-x-generic");
    EXPECT_EQ(images->Describe(5), "");

    EXPECT_EQ(this->C().ExtractIcon("/usr/bin/editor", 2), platform::Icon{"/usr/bin/editor,2"});
    EXPECT_EQ(this->C().ExtractIcon("", 0), std::nullopt);
    EXPECT_EQ(this->C().ExtractIcon("x.exe", -1), std::nullopt);
}

TYPED_TEST(ToolsConformance, TheDragImageMovesOnlyWhileADragRuns) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    auto image = tree->CreateDragImage(tree->InsertItem("Mine", 0, 7, kTreeNone, TreeInsert::Last));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetImageCount(), 1);
    EXPECT_EQ(image->Describe(0), "drag \"Mine\"#0");
    EXPECT_EQ(tree->CreateDragImage(4711), nullptr);
    platform::Controls& controls = this->C();
    EXPECT_FALSE(controls.DragMove(POINT{1, 1}));  // no drag yet
    EXPECT_FALSE(controls.DragShowNolock(true));
    EXPECT_FALSE(controls.BeginDrag(*image, 1, POINT{0, 0}));
    ASSERT_TRUE(controls.BeginDrag(*image, 0, POINT{0, 0}));
    EXPECT_TRUE(controls.DragEnter(kNoWindow, POINT{110, 70}));
    EXPECT_TRUE(controls.DragMove(POINT{130, 90}));
    // The image never stands between the pointer and the window under it.
    EXPECT_EQ(this->W().WindowFromPoint(POINT{130, 90}), this->pane);
    EXPECT_TRUE(controls.DragLeave(kNoWindow));
    EXPECT_TRUE(controls.DragShowNolock(true));
    controls.EndDrag();
    EXPECT_FALSE(controls.DragMove(POINT{1, 1}));
    EXPECT_FALSE(controls.DragLeave(kNoWindow));
}

}  // namespace
}  // namespace orbel::test
