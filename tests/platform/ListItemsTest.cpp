// The list records both backends keep their rows in: the desktop model reads its cells from
// them as the view draws, and both controls take the focused row from them, so cells must stay
// with their columns and the focus with its row while rows and columns come and go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/ListItems.h"

namespace orbel {
namespace {

using platform::kListDropHilited;
using platform::kListFocused;
using platform::kListSelected;
using platform::ListAlign;
using platform::ListItems;

std::vector<std::string> Row(const ListItems& items, int row, int cells) {
    std::vector<std::string> out;
    for (int c = 0; c < cells; ++c) out.push_back(items.Text(row, c));
    return out;
}

std::vector<std::string> Labels(const ListItems& items) {
    std::vector<std::string> out;
    for (int r = 0; r < items.Count(); ++r) out.push_back(items.Text(r, 0));
    return out;
}

ListItems ThreeColumns() {
    ListItems items;
    items.InsertColumn(0, {"Name", ListAlign::Left, 100});
    items.InsertColumn(1, {"Size", ListAlign::Right, 50});
    items.InsertColumn(2, {"Kind", ListAlign::Left, 80});
    return items;
}

TEST(ListItems, TheFocusFollowsItsRowAsRowsComeAndGo) {
    ListItems items;
    for (const char* label : {"a", "b", "c", "d"}) items.Insert(items.Count(), label, 0);
    items.SetState(2, kListFocused | kListSelected);

    EXPECT_EQ(items.Insert(0, "new", 0), 0);
    EXPECT_EQ(items.Focused(), 3);
    items.Insert(99, "last", 0);  // after it, and clamped to the end
    EXPECT_EQ(items.Focused(), 3);
    EXPECT_EQ(items.Text(items.Count() - 1, 0), "last");
    items.Erase(1);
    EXPECT_EQ(items.Focused(), 2);
    EXPECT_EQ(items.Text(items.Focused(), 0), "c");
    EXPECT_EQ(items.Selected(), std::vector<int>{2});

    // The focused row itself going leaves no row focused, and no stale index behind.
    items.Erase(2);
    EXPECT_EQ(items.Focused(), -1);
    items.SetState(0, kListFocused);
    items.Clear();
    EXPECT_EQ(items.Focused(), -1);
    EXPECT_FALSE(items.Erase(0));
}

TEST(ListItems, TheSelectedRowsFollowTheirRowsAsRowsComeAndGo) {
    ListItems items;
    for (const char* label : {"a", "b", "c", "d", "e"}) items.Insert(items.Count(), label, 0);
    items.SetState(1, kListSelected);
    items.SetState(3, kListSelected | kListFocused);
    items.SetState(3, kListSelected);  // selected again: listed once
    items.Insert(2, "new", 0);
    EXPECT_EQ(items.Selected(), (std::vector<int>{1, 4}));
    items.Erase(1);  // a selected row going takes its selection along
    EXPECT_EQ(items.Selected(), std::vector<int>{3});
    EXPECT_EQ(items.Text(3, 0), "d");
    items.SetState(0, kListSelected);
    items.SetState(3, kListFocused);
    EXPECT_EQ(items.Selected(), std::vector<int>{0});
    items.Clear();
    items.Insert(0, "z", 0);
    EXPECT_TRUE(items.Selected().empty());
}

TEST(ListItems, CellsStayWithTheirColumns) {
    ListItems items = ThreeColumns();
    items.Insert(0, "file", 1);
    ASSERT_TRUE(items.SetText(0, 1, "10"));
    ASSERT_TRUE(items.SetText(0, 2, "text"));
    EXPECT_FALSE(items.SetText(0, 3, "beyond"));
    EXPECT_FALSE(items.SetText(0, -1, "before"));

    items.InsertColumn(1, {"Date", ListAlign::Left, 60});
    EXPECT_EQ(Row(items, 0, 4), (std::vector<std::string>{"file", "", "10", "text"}));
    ASSERT_TRUE(items.SetText(0, 1, "today"));
    // Appending a column gives every row its cell, to be set as the others.
    EXPECT_EQ(items.InsertColumn(99, {"Owner", ListAlign::Left, 40}), 4);
    ASSERT_TRUE(items.SetText(0, 4, "me"));
    items.DeleteColumn(2);
    EXPECT_EQ(Row(items, 0, 4), (std::vector<std::string>{"file", "today", "text", "me"}));
    EXPECT_EQ(items.ColumnAt(2)->title, "Kind");
    EXPECT_EQ(items.ColumnAt(4), nullptr);
    EXPECT_FALSE(items.DeleteColumn(4));
}

TEST(ListItems, ALabelPutAfterTheFirstColumnKeepsItsCell) {
    // Rows made before any column hold their label alone; the first column inserted goes
    // before it, so the row holds one cell more than there are columns.
    ListItems items;
    items.Insert(0, "early", 0);
    EXPECT_TRUE(items.SetText(0, 0, "label"));
    EXPECT_FALSE(items.SetText(0, 1, "no column yet"));
    items.InsertColumn(0, {"Name", ListAlign::Left, 100});
    EXPECT_EQ(items.ColumnCount(), 1);
    EXPECT_EQ(Row(items, 0, 2), (std::vector<std::string>{"", "label"}));
    EXPECT_TRUE(items.SetText(0, 1, "still there"));
    EXPECT_EQ(items.Text(0, 1), "still there");

    // A row made now holds one cell per column.
    items.Insert(1, "late", 0);
    EXPECT_FALSE(items.SetText(1, 1, "beyond"));
    // Deleting the only column takes the label's cell with it; the label can be set again.
    items.DeleteColumn(0);
    EXPECT_EQ(items.Text(1, 0), "");
    EXPECT_TRUE(items.SetText(1, 0, "again"));
    EXPECT_EQ(items.Text(1, 0), "again");
}

TEST(ListItems, StatesTravelWithTheirRowsWhenSorted) {
    ListItems items = ThreeColumns();
    const struct {
        const char* label;
        DWORD data;
        UINT state;
    } rows[] = {{"c", 3, kListSelected},
                {"a1", 1, 0},
                {"b", 2, kListSelected | kListFocused},
                {"a2", 1, kListDropHilited}};
    for (const auto& r : rows) {
        const int at = items.Insert(items.Count(), r.label, 0);
        items.SetData(at, r.data);
        items.SetState(at, r.state);
        items.SetText(at, 2, std::string("kind ") + r.label);
    }

    items.Sort([](DWORD a, DWORD b) { return static_cast<int>(a) - static_cast<int>(b); });
    // Rows of equal data keep their order.
    EXPECT_EQ(Labels(items), (std::vector<std::string>{"a1", "a2", "b", "c"}));
    EXPECT_EQ(items.Selected(), (std::vector<int>{2, 3}));
    EXPECT_EQ(items.Focused(), 2);
    EXPECT_EQ(items.State(1), kListDropHilited);
    EXPECT_EQ(items.Text(3, 2), "kind c");

    EXPECT_EQ(items.Find(1), 0);
    EXPECT_EQ(items.Find(1, 0), 1);
    EXPECT_EQ(items.Find(1, 1), -1);
    EXPECT_EQ(items.Find(3, -5), 3);

    items.Erase(0);
    EXPECT_EQ(items.Selected(), (std::vector<int>{1, 2}));
    EXPECT_EQ(items.Text(items.Focused(), 0), "b");
}

TEST(ListItems, RowsAndColumnsThatAreNotThereAnswerEmpty) {
    ListItems items = ThreeColumns();
    items.Insert(0, "only", 4);
    EXPECT_EQ(items.Text(1, 0), "");
    EXPECT_EQ(items.Text(0, 7), "");
    EXPECT_EQ(items.Image(1), -1);
    EXPECT_EQ(items.Image(0), 4);
    EXPECT_EQ(items.State(-1), 0u);
    EXPECT_FALSE(items.SetState(1, kListFocused));
    EXPECT_EQ(items.Focused(), -1);
    EXPECT_EQ(items.InsertColumn(-1, {"x", ListAlign::Left, 1}), -1);
    EXPECT_FALSE(items.SetColumnWidth(3, 10));
}

}  // namespace
}  // namespace orbel
