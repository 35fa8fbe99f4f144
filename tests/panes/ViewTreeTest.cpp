// The folder tree pane on its own: folders found by key, moved with their subtrees, and the
// path the host is told.
#include <gtest/gtest.h>

#include <random>

#include "platform/headless/HeadlessControls.h"
#include "src/panes/ViewTree.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::kTreeNone;
using platform::TreeItem;

class ViewTreeTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 300, 400}, kNoWindow, 0));
        view_ = CViewTree::CreateObject();
        ASSERT_TRUE(view_->Create(CViewTree::kClassName, "", WS_CHILD | WS_VISIBLE,
                                  RECT{0, 0, 300, 400}, form_.GetSafeHwnd(), 1));
        tree_ = dynamic_cast<CViewTree*>(view_.get());
        model_ = P().CommonControls().Tree(view_->GetSafeHwnd());
        ASSERT_NE(model_, nullptr);
    }
    void TearDown() override {
        view_.reset();
        form_.DestroyWindow();
        HeadlessTest::TearDown();
    }

    // A loaded tree: two top folders, and under A three children of which one is a class
    // folder and one holds a folder of its own; two folders carry marks.
    void LoadSample() {
        tree_->BeginDownload();
        tree_->AddFolder(true, false, 1, 0, "A");
        tree_->AddFolder(true, false, 2, 0, "B");
        tree_->AddFolder(true, false, 4, 10, "Zeta");
        tree_->AddFolder(true, false, 5, 10, "Alpha");
        tree_->AddFolder(true, true, 6, 10, "Mid");
        tree_->AddFolder(true, false, 7, 50, "Deep");
        tree_->SetFolderMark(50, true);
        tree_->SetFolderMark(61, true);
        tree_->EndDownload();
    }

    // The first item with the key in a plain pre-order walk of the model.
    TreeItem PreOrderFirst(TreeItem from, DWORD key) const {
        for (TreeItem item = from; item != kTreeNone; item = model_->GetNextSiblingItem(item)) {
            if (model_->GetItemData(item) == key) return item;
            if (TreeItem found = PreOrderFirst(model_->GetChildItem(item), key)) return found;
        }
        return kTreeNone;
    }

    CWnd form_;
    std::unique_ptr<CWnd> view_;
    CViewTree* tree_ = nullptr;
    platform::HeadlessTreeControl* model_ = nullptr;
};

TEST_F(ViewTreeTest, AMovedFolderKeepsItsChildrenTheirOrderImagesAndKeys) {
    LoadSample();
    tree_->MoveFolder(10, 20);
    EXPECT_EQ(model_->Dump(),
              "All key=0 image=2/2 current\n"
              "  B key=20 image=0/7\n"
              "    A key=10 image=0/7\n"
              "      Alpha key=50 image=3/5\n"
              "        Deep key=70 image=0/7\n"
              "      Mid key=61 image=4/6\n"
              "      Zeta key=40 image=0/7\n");
    // The moved folders are found where they are now.
    EXPECT_EQ(model_->GetItemText(model_->GetParentItem(tree_->FindByKey(70))), "Alpha");
    EXPECT_EQ(tree_->FindByKey(10), PreOrderFirst(model_->GetRootItem(), 10));
}

TEST_F(ViewTreeTest, AFolderNeverMovesIntoItselfOrItsOwnSubtree) {
    LoadSample();
    const std::string before = model_->Dump();
    tree_->MoveFolder(10, 70);
    tree_->MoveFolder(10, 50);
    tree_->MoveFolder(10, 10);
    EXPECT_EQ(model_->Dump(), before);
}

TEST_F(ViewTreeTest, AFolderWithoutAParentToGoToIsRemovedAndAnUnknownOneChangesNothing) {
    LoadSample();
    tree_->MoveFolder(50, -1);
    tree_->MoveFolder(20, 999);
    tree_->MoveFolder(999, 0);
    tree_->RemoveFolder(998);
    EXPECT_EQ(model_->Dump(),
              "All key=0 image=2/2 current\n"
              "  A key=10 image=0/7\n"
              "    Mid key=61 image=4/6\n"
              "    Zeta key=40 image=0/7\n");
    EXPECT_EQ(tree_->FindByKey(70), kTreeNone);
}

TEST_F(ViewTreeTest, AFolderOfAnUnknownParentGoesBesideTheRootAndAnItemAddsNothing) {
    LoadSample();
    tree_->AddFolder(false, false, 8, 0, "Item");
    tree_->AddFolder(true, false, 9, 555, "Orphan");
    EXPECT_EQ(model_->GetParentItem(tree_->FindByKey(90)), kTreeNone);
    EXPECT_EQ(tree_->FindByKey(80), kTreeNone);
    EXPECT_EQ(model_->GetCount(), 8u);
}

TEST_F(ViewTreeTest, TheFolderPathRunsFromTheRootToTheCurrentFolder) {
    tree_->BeginDownload();
    // Nothing current yet.
    EXPECT_EQ(tree_->FolderPath(), "\\All");
    tree_->AddFolder(true, false, 1, 0, "A");
    tree_->AddFolder(true, true, 2, 10, "B");
    tree_->EndDownload();
    EXPECT_EQ(tree_->FolderPath(), "\\All");
    model_->UserSelect(tree_->FindByKey(21));
    EXPECT_EQ(tree_->FolderPath(), "\\All\\A\\B");
}

// Keys repeat in a store (an entry number of the class tree and of the item's own tree, or a
// host that adds a folder twice); the first in pre-order must be found whatever happened to
// the tree since.
TEST_F(ViewTreeTest, FindByKeyGivesTheFirstInPreOrderThroughRandomChanges) {
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<std::string> names = {"a", "B", "c", "a", "D", "e"};
    std::vector<std::int32_t> keys{0};
    for (std::int32_t entry = 1; entry <= 8; ++entry) {
        keys.push_back(entry * 10);
        keys.push_back(entry * 10 + 1);
    }
    auto anyKey = [&] {
        return keys[static_cast<std::size_t>(pick(static_cast<int>(keys.size())))];
    };

    tree_->BeginDownload();
    tree_->EndDownload();
    for (int step = 0; step < 400; ++step) {
        const int op = pick(10);
        std::string did;
        if (op < 4) {
            const std::int32_t entry = pick(8) + 1;
            const std::int32_t parent = pick(4) == 0 ? 0 : anyKey();
            tree_->AddFolder(true, pick(2) == 0, entry, parent,
                             names[static_cast<std::size_t>(pick(6))]);
            did = "add " + std::to_string(entry) + " under " + std::to_string(parent);
        } else if (op < 7) {
            const std::int32_t key = anyKey(), parent = pick(6) == 0 ? -1 : anyKey();
            tree_->MoveFolder(key, parent);
            did = "move " + std::to_string(key) + " to " + std::to_string(parent);
        } else if (op < 8) {
            const std::int32_t key = anyKey();
            if (key == 0) continue;
            tree_->RemoveFolder(key);
            did = "remove " + std::to_string(key);
        } else if (op < 9) {
            const std::int32_t key = anyKey();
            tree_->RenameFolder(key, names[static_cast<std::size_t>(pick(6))]);
            did = "rename " + std::to_string(key);
        } else {
            const std::int32_t key = anyKey();
            tree_->SetFolderMark(key, true);
            did = "mark " + std::to_string(key);
        }
        for (std::int32_t key : keys) {
            ASSERT_EQ(tree_->FindByKey(key),
                      PreOrderFirst(model_->GetRootItem(), static_cast<DWORD>(key)))
                << "key " << key << " after step " << step << " (" << did << ")\n"
                << model_->Dump();
        }
    }
    // The walk met a tree of some size, with keys repeated.
    EXPECT_GT(model_->GetCount(), 10u);
}

}  // namespace
}  // namespace orbel
