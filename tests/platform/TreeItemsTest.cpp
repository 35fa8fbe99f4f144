// The tree records both backends keep their items in: a desktop tree places
// each widget row at the position an insert reports, and drops rows, drop marks
// and edit boxes for every item an erase names, so those answers must match the
// order the records walk in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/TreeItems.h"

namespace orbel {
namespace {

using platform::kTreeNone;
using platform::TreeInsert;
using platform::TreeItem;
using platform::TreeItems;

std::vector<std::string> Labels(const TreeItems& items, TreeItem parent) {
    std::vector<std::string> out;
    for (TreeItem i = items.FirstChild(parent); i; i = items.NextSibling(i))
        out.push_back(items.Text(i));
    return out;
}

std::size_t IndexOf(const TreeItems& items, TreeItem item) {
    std::size_t index = 0;
    for (TreeItem i = items.FirstChild(items.Parent(item)); i != item; i = items.NextSibling(i))
        ++index;
    return index;
}

TEST(TreeItems, AnInsertReportsTheIndexItsItemWalksAt) {
    TreeItems items;
    const TreeItem root = items.Insert("All", 0, 0, kTreeNone, TreeInsert::Last).item;
    const struct {
        const char* label;
        TreeInsert where;
    } inserts[] = {{"beta", TreeInsert::Sort},     {"Alpha", TreeInsert::Sort},
                   {"zz", TreeInsert::First},      {"alpha", TreeInsert::Sort},
                   {"aa", TreeInsert::Last},       {"BETA", TreeInsert::Sort},
                   {"\xc3\x84", TreeInsert::Sort}, {"Gamma", TreeInsert::Sort}};
    for (const auto& insert : inserts) {
        const TreeItems::Placed placed = items.Insert(insert.label, 0, 0, root, insert.where);
        ASSERT_NE(placed.item, kTreeNone);
        EXPECT_EQ(placed.position, IndexOf(items, placed.item)) << insert.label;
    }
    // Items placed first or last among sorted ones are still walked, each once.
    EXPECT_EQ(Labels(items, root).size(), std::size(inserts));
    EXPECT_EQ(Labels(items, root).front(), "zz");
    EXPECT_EQ(items.Insert("orphan", 0, 0, 999, TreeInsert::Sort).item, kTreeNone);
}

TEST(TreeItems, ErasingOneOfEqualLabelsTakesThatOneAndNamesItsWholeSubtree) {
    TreeItems items;
    const TreeItem first = items.Insert("Same", 0, 0, kTreeNone, TreeInsert::Sort).item;
    const TreeItem second = items.Insert("same", 0, 0, kTreeNone, TreeInsert::Sort).item;
    const TreeItem child = items.Insert("child", 0, 0, second, TreeInsert::Last).item;
    const TreeItem grandchild = items.Insert("grandchild", 0, 0, child, TreeInsert::Last).item;
    items.SetData(first, 1);

    std::vector<TreeItem> erased;
    ASSERT_TRUE(items.Erase(second, [&](TreeItem gone) { erased.push_back(gone); }));
    EXPECT_EQ(erased, (std::vector<TreeItem>{second, child, grandchild}));
    EXPECT_EQ(items.Count(), 1u);
    EXPECT_EQ(items.First(), first);
    EXPECT_EQ(items.NextSibling(first), kTreeNone);
    EXPECT_FALSE(items.Has(grandchild));
    EXPECT_FALSE(items.Erase(second, nullptr));
}

TEST(TreeItems, ClearedHandlesAreNeverGivenAgain) {
    TreeItems items;
    const TreeItem old = items.Insert("A", 0, 0, kTreeNone, TreeInsert::Last).item;
    items.Clear();
    const TreeItem fresh = items.Insert("A", 0, 0, kTreeNone, TreeInsert::Last).item;
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(items.Has(old));
    EXPECT_EQ(items.Text(old), "");
    EXPECT_EQ(items.Count(), 1u);
}

TEST(TreeItems, TheSelectionLeavesADeletedItemForANeighbourOrTheParent) {
    TreeItems items;
    const TreeItem a = items.Insert("A", 0, 0, kTreeNone, TreeInsert::Last).item;
    const TreeItem a1 = items.Insert("A1", 0, 0, a, TreeInsert::Last).item;
    const TreeItem a2 = items.Insert("A2", 0, 0, a, TreeInsert::Last).item;
    const TreeItem a2x = items.Insert("A2x", 0, 0, a2, TreeInsert::Last).item;

    EXPECT_EQ(items.SelectionAfterDelete(a1, a2x),
              std::nullopt);  // not inside: it stays
    EXPECT_EQ(items.SelectionAfterDelete(a1, a1), a2);
    EXPECT_EQ(items.SelectionAfterDelete(a2, a2x), a1);
    EXPECT_EQ(items.SelectionAfterDelete(a2x, a2x), a2);
    EXPECT_EQ(items.SelectionAfterDelete(a, a2x),
              kTreeNone);  // nothing left to select
}

TEST(TreeItems, OnlyTheChildrenOfExpandedItemsAreShown) {
    TreeItems items;
    const TreeItem a = items.Insert("A", 0, 0, kTreeNone, TreeInsert::Last).item;
    const TreeItem a1 = items.Insert("A1", 0, 0, a, TreeInsert::Last).item;
    const TreeItem a1x = items.Insert("A1x", 0, 0, a1, TreeInsert::Last).item;
    const TreeItem b = items.Insert("B", 0, 0, kTreeNone, TreeInsert::Last).item;
    items.SetExpanded(a, true);
    auto shown = [&] {
        std::vector<std::pair<TreeItem, int>> out;
        for (const TreeItems::Shown& s : items.ShownItems()) out.emplace_back(s.item, s.depth);
        return out;
    };
    EXPECT_EQ(shown(), (std::vector<std::pair<TreeItem, int>>{{a, 0}, {a1, 1}, {b, 0}}));
    items.SetExpanded(a1, true);
    items.SetExpanded(a, false);  // a collapsed parent hides expanded children
    EXPECT_EQ(shown(), (std::vector<std::pair<TreeItem, int>>{{a, 0}, {b, 0}}));
    EXPECT_EQ(items.Ancestors(a1x), (std::vector<TreeItem>{a, a1}));
}

}  // namespace
}  // namespace orbel
