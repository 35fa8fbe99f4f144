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

// A folder tree loaded children first moves every folder under its parent once it is there.
TEST(TreeItems, AMovedItemKeepsItsHandleRecordAndSubtreeAndGoesWhereAnInsertWould) {
    TreeItems items;
    const TreeItem root = items.Insert("All", 2, 2, kTreeNone, TreeInsert::First).item;
    const TreeItem b = items.Insert("b", 0, 7, root, TreeInsert::Sort).item;
    const TreeItem d = items.Insert("d", 0, 7, root, TreeInsert::Sort).item;
    const TreeItem a = items.Insert("a", 3, 5, root, TreeInsert::Sort).item;
    const TreeItem a1 = items.Insert("a1", 0, 7, a, TreeInsert::Sort).item;
    const TreeItem a2 = items.Insert("a2", 0, 7, a, TreeInsert::Sort).item;
    items.SetData(a, 10);
    items.SetData(a2, 30);
    items.SetExpanded(a, true);
    const std::size_t records = items.Records();

    const std::optional<std::size_t> place = items.PlaceFor("a", d, TreeInsert::Sort, a);
    const TreeItems::Placed moved = items.Move(a, d, TreeInsert::Sort);
    EXPECT_EQ(moved.item, a);
    EXPECT_EQ(place, moved.position);
    EXPECT_EQ(Labels(items, root), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(Labels(items, d), std::vector<std::string>{"a"});
    EXPECT_EQ(Labels(items, a), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(items.Parent(a1), a);
    EXPECT_EQ(items.Data(a), 10u);
    EXPECT_EQ(items.Data(a2), 30u);
    EXPECT_TRUE(items.IsExpanded(a));
    int image = 0;
    int selectedImage = 0;
    ASSERT_TRUE(items.Images(a, image, selectedImage));
    EXPECT_EQ(image * 10 + selectedImage, 35);
    EXPECT_EQ(items.Count(), 6u);
    EXPECT_EQ(items.Records(), records);

    // Among its own siblings it takes its sorted place as if it had left first.
    items.SetText(b, "zz");
    EXPECT_EQ(items.PlaceFor("zz", root, TreeInsert::Sort, b), 1u);
    EXPECT_EQ(items.Move(b, root, TreeInsert::Sort).position, 1u);
    EXPECT_EQ(Labels(items, root), (std::vector<std::string>{"d", "zz"}));
    EXPECT_EQ(items.Move(b, root, TreeInsert::First).position, 0u);
    EXPECT_EQ(IndexOf(items, b), 0u);

    // Never under itself or its own subtree, nor to an unknown parent.
    EXPECT_EQ(items.Move(d, a1, TreeInsert::Sort).item, kTreeNone);
    EXPECT_EQ(items.Move(d, d, TreeInsert::Sort).item, kTreeNone);
    EXPECT_EQ(items.Move(d, 4711, TreeInsert::Sort).item, kTreeNone);
    EXPECT_EQ(items.Move(4711, root, TreeInsert::Sort).item, kTreeNone);
    EXPECT_EQ(items.Parent(d), root);
    // To the top level.
    EXPECT_EQ(items.Move(a2, kTreeNone, TreeInsert::Last).position, 1u);
    EXPECT_EQ(items.Parent(a2), kTreeNone);
}

TEST(TreeItems, ErasedAndClearedRecordsAreTakenAgainButTheirOldHandlesFindNothing) {
    TreeItems items;
    std::vector<TreeItem> first;
    for (int n = 0; n < 100; ++n)
        first.push_back(
            items.Insert("f" + std::to_string(n), 0, 7, kTreeNone, TreeInsert::Last).item);
    const TreeItem parent = items.Insert("p", 0, 7, kTreeNone, TreeInsert::Last).item;
    for (int n = 0; n < 50; ++n) items.Insert("c", 0, 7, parent, TreeInsert::Last);
    EXPECT_EQ(items.Records(), 151u);
    items.Erase(parent, nullptr);
    for (int n = 0; n < 51; ++n) items.Insert("again", 0, 7, kTreeNone, TreeInsert::Sort);
    EXPECT_EQ(items.Records(), 151u);
    EXPECT_FALSE(items.Has(parent));
    for (int load = 0; load < 3; ++load) {
        items.Clear();
        EXPECT_EQ(items.Count(), 0u);
        EXPECT_EQ(items.First(), kTreeNone);
        for (int n = 0; n < 151; ++n) items.Insert("x", 0, 7, kTreeNone, TreeInsert::Last);
    }
    EXPECT_EQ(items.Records(), 151u);
    for (TreeItem old : first) EXPECT_FALSE(items.Has(old)) << old;
}

// A desktop view asks an item's place again and again while siblings come, go and move; every
// answer must be where the item stands now, whatever was asked before.
TEST(TreeItems, EveryItemIsAtThePlaceItsSiblingsHoldItAfterInsertsErasesAndMoves) {
    TreeItems items;
    const TreeItem root = items.Insert("All", 0, 0, kTreeNone, TreeInsert::Last).item;
    const TreeItem other = items.Insert("Other", 0, 0, kTreeNone, TreeInsert::Last).item;
    std::vector<TreeItem> kept;
    for (const char* label : {"m", "c", "x", "C", "c", "a", "q", "M"})
        kept.push_back(items.Insert(label, 0, 0, root, TreeInsert::Sort).item);
    items.Insert("zz", 0, 0, root, TreeInsert::First);
    items.Insert("aa", 0, 0, root, TreeInsert::Last);
    // A renamed item keeps its place, out of the label order.
    items.SetText(kept[0], "b");
    const TreeItem stranger = items.Insert("k", 0, 0, other, TreeInsert::Sort).item;

    auto expectPlaces = [&](const char* step) {
        for (TreeItem parent : {root, other, kTreeNone})
            for (std::size_t i = 0; i < items.ChildCount(parent); ++i) {
                const TreeItem item = items.ChildAt(parent, i);
                EXPECT_EQ(items.Position(item), i) << step << " " << items.Text(item);
                EXPECT_EQ(items.PrevSibling(item), i ? items.ChildAt(parent, i - 1) : kTreeNone)
                    << step << " " << items.Text(item);
                EXPECT_EQ(items.NextSibling(item), items.ChildAt(parent, i + 1))
                    << step << " " << items.Text(item);
            }
    };
    expectPlaces("loaded");
    items.Insert("0", 0, 0, root, TreeInsert::Sort);
    expectPlaces("one before all");
    items.Erase(items.ChildAt(root, 3), nullptr);
    expectPlaces("one in the middle gone");
    items.Move(kept[2], root, TreeInsert::First);
    expectPlaces("moved to the front");
    items.Move(stranger, root, TreeInsert::Sort);
    expectPlaces("moved in from another parent");
    items.Move(items.ChildAt(root, 1), other, TreeInsert::Last);
    expectPlaces("moved out");
    items.Erase(kept[5], nullptr);
    items.Insert("c", 0, 0, root, TreeInsert::Sort);
    expectPlaces("a record given again");
    EXPECT_EQ(items.Position(kept[5]), 0u);
}

TEST(TreeItems, TheItemsAboveAndBelowFollowTheOutline) {
    TreeItems items;
    const TreeItem a = items.Insert("A", 0, 0, kTreeNone, TreeInsert::Last).item;
    const TreeItem a1 = items.Insert("A1", 0, 0, a, TreeInsert::Last).item;
    const TreeItem a1x = items.Insert("A1x", 0, 0, a1, TreeInsert::Last).item;
    items.Insert("A2", 0, 0, a, TreeInsert::Last);
    const TreeItem b = items.Insert("B", 0, 0, kTreeNone, TreeInsert::Last).item;
    items.Insert("B1", 0, 0, b, TreeInsert::Last);
    for (const auto& expanded :
         std::vector<std::vector<TreeItem>>{{}, {a}, {a, a1}, {a, a1, b}, {a1, b}}) {
        for (TreeItem item : {a, a1, b}) items.SetExpanded(item, false);
        for (TreeItem item : expanded) items.SetExpanded(item, true);
        std::vector<TreeItem> outline;
        for (const TreeItems::Shown& s : items.ShownItems()) outline.push_back(s.item);
        std::vector<TreeItem> down;
        for (TreeItem i = items.First(); i; i = items.NextShown(i)) down.push_back(i);
        std::vector<TreeItem> up;
        for (TreeItem i = items.LastShown(); i; i = items.PrevShown(i)) up.insert(up.begin(), i);
        EXPECT_EQ(down, outline) << expanded.size();
        EXPECT_EQ(up, outline) << expanded.size();
    }
    EXPECT_EQ(items.PrevShown(a1x), a1);
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
