// A control on a small opened store, and the user's hand: points on tree items, list rows and
// empty list space, keys that pass the module's keyboard hook, and drags from press to
// release.
#pragma once

#include "platform/Api.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel::test {

class PaneUserTest : public StoreControlTest {
  protected:
    static constexpr std::int32_t kClass = 3;
    static constexpr std::int32_t kOwn = 5;

    // Class tree: Letters (a class item Contract inside). Own tree: Mine > Sub, a memo in
    // Mine, a report at the top.
    void SetUp() override {
        StoreControlTest::SetUp();
        SeedFolder(kClass, 4, 0, 0, "Letters");
        SeedItem(kClass, 5, kClass, 4, "Contract", 100, "/srv/contract.pdf");
        SeedFolder(kOwn, 1, 0, 0, "Mine");
        SeedFolder(kOwn, 6, kOwn, 1, "Sub");
        SeedItem(kOwn, 3, kOwn, 1, "memo", 101, "/srv/memo.txt", 2, 5);
        SeedItem(kOwn, 4, 0, 0, "report", 102, "/srv/report.doc");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
        Host().Clear();
        Adapter().ClearUserEvents();
    }

    CViewTree& Tree() { return *Ctrl().TreeView(); }
    CViewList& List() { return *Ctrl().ListView(); }
    platform::TreeItem Item(const std::string& label) {
        platform::TreeItem item = TreeItemNamed(label);
        EXPECT_NE(item, platform::kTreeNone) << label;
        return item;
    }

    static POINT Center(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Client and screen points of a tree item's label (its folders opened first).
    POINT TreeClient(platform::TreeItem item) {
        TreeModel().EnsureVisible(item);
        RECT r{};
        EXPECT_TRUE(TreeModel().GetItemRect(item, r, true));
        return Center(r);
    }
    POINT TreeScreen(platform::TreeItem item) {
        return P().Windows().ClientToScreen(Tree().GetSafeHwnd(), TreeClient(item));
    }
    POINT ListClient(int row) {
        RECT r{};
        EXPECT_TRUE(ListModel().GetItemRect(row, r, true)) << row;
        return Center(r);
    }
    POINT ListScreen(int row) {
        return P().Windows().ClientToScreen(List().GetSafeHwnd(), ListClient(row));
    }
    POINT ListEmptyScreen() {
        RECT last{0, 0, 0, 20};
        const int count = ListModel().GetItemCount();
        if (count > 0) ListModel().GetItemRect(count - 1, last, false);
        return P().Windows().ClientToScreen(List().GetSafeHwnd(), POINT{4, last.bottom + 4});
    }

    // A key-down posted to the window with the focus and the loop run, as typing does.
    void PressKey(UINT key) {
        P().Loop().PostMessage(P().Windows().GetFocus(), WM_KEYDOWN, key, 1);
        P().RunUntilIdle();
    }

    // Press on the source, move to `to`, release there (or press Escape for `cancel`).
    void DragTreeItem(const std::string& label, POINT to, bool cancel = false) {
        platform::TreeItem item = Item(label);
        const POINT client = TreeClient(item);
        P().Windows().SetFocus(Tree().GetSafeHwnd());
        P().Windows().UserMoveMouse(P().Windows().ClientToScreen(Tree().GetSafeHwnd(), client));
        TreeModel().UserBeginDrag(item, client);
        Finish(to, cancel);
    }
    void DragListRow(int row, POINT to, bool cancel = false) {
        const POINT client = ListClient(row);
        P().Windows().SetFocus(List().GetSafeHwnd());
        P().Windows().UserMoveMouse(P().Windows().ClientToScreen(List().GetSafeHwnd(), client));
        ListModel().UserBeginDrag(row, client);
        Finish(to, cancel);
    }

  private:
    void Finish(POINT to, bool cancel) {
        P().Windows().UserMoveMouse(to);
        if (cancel)
            PressKey(VK_ESCAPE);
        else
            P().Windows().UserMouseButton(WM_LBUTTONUP, to);
    }
};

}  // namespace orbel::test
