#include <gtest/gtest.h>

#include "src/store/RecordFormats.h"

namespace orbel {
namespace {

TEST(TreeEntryText, BuildsTheFixedWidthStringsAndReadsThemBack) {
    TreeEntry e{12, 7, 12, 5, 3, "Invoices 2026", 44, 1, 2, 15, "00000000", "tif"};
    RowText row = BuildTreeEntry(e);
    EXPECT_EQ(row.data, "100201500000000tif");
    EXPECT_EQ(row.key1, "0000001200000007");
    EXPECT_EQ(row.key2, "000000120000000500000003Invoices 2026                 ");
    EXPECT_EQ(row.key3, "00000044");
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3), e);
}

TEST(TreeEntryText, TrailingBlanksOfTextsAreNotPartOfTheValue) {
    TreeEntry e{1, 1, 1, 0, 0, "Letters   ", 0, 0, 0, 0, "", ""};
    RowText row = BuildTreeEntry(e);
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3).Name, "Letters");
}

TEST(TreeEntryText, ShortRepliesArePaddedAndAFifteenCharacterDataStringHasNoType) {
    TreeEntry e = ParseTreeEntry("100200312345678", "00000003", "", "");
    EXPECT_EQ(e.IsItem, 1);
    EXPECT_EQ(e.PageStart, 2);
    EXPECT_EQ(e.PageEnd, 3);
    EXPECT_EQ(e.Batch, "12345678");
    EXPECT_EQ(e.Type, "");
    EXPECT_EQ(e.OwnerId, 3);
    EXPECT_EQ(e.EntryNo, 0);
    EXPECT_EQ(e.Name, "");
    // An empty reply is a row of zeros and empty texts.
    EXPECT_EQ(ParseTreeEntry("", "", "", ""), TreeEntry{});
}

TEST(TreeEntryText, ValuesWiderThanTheirFieldsAreKeptWithinThemSoNoFieldMoves) {
    TreeEntry e{1, 2, 1, 0, 0, std::string(45, 'N'), 9, 1, 1234, -5000, "123456789", "tiff"};
    RowText row = BuildTreeEntry(e);
    ASSERT_EQ(row.data.size(), 18u);
    ASSERT_EQ(row.key2.size(), 54u);
    TreeEntry back = ParseTreeEntry(row.data, row.key1, row.key2, row.key3);
    EXPECT_EQ(back.Name, std::string(30, 'N'));
    EXPECT_EQ(back.PageStart, 999);
    EXPECT_EQ(back.PageEnd, -99);
    EXPECT_EQ(back.Batch, "12345678");
    EXPECT_EQ(back.Type, "tif");
    EXPECT_EQ(back.ResourceId, 9);
    EXPECT_EQ(FormatTreeKey1({123456789, -123456789}), "99999999-9999999");
}

TEST(ResourceAndClassText, RoundTripAndPadding) {
    RowText r = BuildResourceRecord({42, "H:\\Data\\a.tif"});
    EXPECT_EQ(r.key1, "00000042");
    EXPECT_EQ(r.data.size(), kPathWidth);
    EXPECT_EQ(ParseResourceRecord(r.data, r.key1), (ResourceRecord{42, "H:\\Data\\a.tif"}));
    // A path longer than its field is the only field of its string: nothing moves, nothing is cut.
    std::string longPath = "/srv/" + std::string(300, 'p');
    EXPECT_EQ(ParseResourceRecord(BuildResourceRecord({1, longPath}).data, "1").Path, longPath);

    RowText c = BuildClassRecord({"", 17});
    EXPECT_EQ(c.key1, "          ");
    EXPECT_EQ(c.data, "00000017");
    EXPECT_EQ(ParseClassRecord(c.data, c.key1), (ClassRecord{"", 17}));
    EXPECT_EQ(FormatClassKey("SUBSCRIBERS-LIST"), "SUBSCRIBER");
    EXPECT_EQ(ParseClassRecord("", "EMAIL"), (ClassRecord{"EMAIL", 0}));
}

TEST(EntryKeys, ConvertBetweenOwnerAndEntryAndBack) {
    const std::int32_t classId = 40, ownId = 41;
    EXPECT_EQ(EntryKeyOf(classId, 0, classId), 0);
    EXPECT_EQ(EntryKeyOf(ownId, 0, classId), 0);
    EXPECT_EQ(EntryKeyOf(classId, 7, classId), 71);
    EXPECT_EQ(EntryKeyOf(ownId, 7, classId), 70);
    EXPECT_TRUE(IsClassEntryKey(71));
    EXPECT_EQ(OwnerOfKey(71, ownId, classId), classId);
    EXPECT_EQ(OwnerOfKey(70, ownId, classId), ownId);
    EXPECT_EQ(EntryNoOfKey(71), 7);
}

TEST(Atol, ReadsAsTheCLibraryDoesOnASlice) {
    EXPECT_EQ(Atol("  -0012x"), -12);
    EXPECT_EQ(Atol("abc"), 0);
    EXPECT_EQ(Atol(""), 0);
    EXPECT_EQ(Atol("+7"), 7);
    EXPECT_EQ(Atol("99999999999999"), INT32_MAX);
    EXPECT_EQ(Atol("-99999999999999"), INT32_MIN);
    EXPECT_EQ(Atol(std::string_view("123456", 3)), 123);
}

}  // namespace
}  // namespace orbel
