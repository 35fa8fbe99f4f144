#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text/Utf8.h"
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

    // Whatever the name's length, blanks inside it stay and tabs and line ends among the
    // trailing blanks go with them.
    const std::string padded = BuildTreeEntry(e).key2.substr(0, 24);
    for (std::size_t length = 0; length <= 30; ++length) {
        std::string name(length, 'n');
        if (length >= 12) name.replace(1, 10, std::string(10, ' '));
        SCOPED_TRACE(length);
        const std::string key2 = padded + name + std::string(30 - length, ' ');
        EXPECT_EQ(ParseTreeEntry("", "", key2, "").Name, name);
        EXPECT_EQ(ParseTreeEntry("", "", padded + name + "\t\r\n" + std::string(9, ' '), "").Name,
                  name);
    }
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

// Field widths count characters, as the label editor does, whatever bytes they take.
TEST(TreeEntryText, NamesAreCountedInCharactersAndNeverCutInsideOne) {
    // 19 characters in 34 bytes: a cut at 30 bytes would end in half a character.
    const std::string greek = "Ελληνικά έγγραφα 26";
    TreeEntry e{1, 2, 1, 0, 0, greek, 0, 0, 0, 0, "", ""};
    RowText row = BuildTreeEntry(e);
    EXPECT_EQ(CharacterCount(row.key2), 54u);
    EXPECT_EQ(row.key2, "000000010000000000000000" + greek + std::string(11, ' '));
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3), e);

    // Exactly at the width, and past it: thirty characters are kept whole.
    const std::string cjk30 = "会議の議事録と年次報告書の最終版をここに保存する場所です追加";
    ASSERT_EQ(CharacterCount(cjk30), 30u);
    e.Name = cjk30;
    row = BuildTreeEntry(e);
    EXPECT_EQ(row.key2.size(), 24u + 90u);
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3).Name, cjk30);
    e.Name = cjk30 + "です";
    row = BuildTreeEntry(e);
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3).Name, cjk30);
    e.Name = std::string(29, 'a') + "éè";
    EXPECT_EQ(ParseTreeEntry("", "", BuildTreeEntry(e).key2, "").Name, std::string(29, 'a') + "é");
    EXPECT_EQ(StoredText(e.Name, kNameWidth), std::string(29, 'a') + "é");
}

TEST(TreeEntryText, WideCharactersInTheDataMoveNoLaterField) {
    // A host row: a batch and a type in letters that take two and three bytes each.
    TreeEntry e = ParseTreeEntry("1002003ÄÖÜäöüßé文書a", "0000000400000009",
                                 "000000040000000400000001Café", "00000077");
    EXPECT_EQ(e.PageStart, 2);
    EXPECT_EQ(e.PageEnd, 3);
    EXPECT_EQ(e.Batch, "ÄÖÜäöüßé");
    EXPECT_EQ(e.Type, "文書a");
    EXPECT_EQ(e.Name, "Café");
    EXPECT_EQ(e.ParentEntryNo, 1);
    RowText row = BuildTreeEntry(e);
    EXPECT_EQ(row.data, "1002003ÄÖÜäöüßé文書a");
    EXPECT_EQ(CharacterCount(row.key2), 54u);
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3), e);
}

TEST(TreeEntryText, BytesThatAreNoUtf8AreKeptAsTheyAreOneCharacterEach) {
    // A lone lead byte, a stray continuation byte, an overlong form and a byte never used.
    const std::string odd =
        "a\xC3 b\x80"
        "c\xC0\xAF\xFF";
    EXPECT_EQ(CharacterCount(odd), 9u);
    TreeEntry e{1, 2, 1, 0, 0, odd, 0, 0, 0, 0, "\xE2\x82", "\xF0"};
    RowText row = BuildTreeEntry(e);
    EXPECT_EQ(row.key2, "000000010000000000000000" + odd + std::string(21, ' '));
    EXPECT_EQ(row.data, "0000000\xE2\x82      \xF0  ");
    EXPECT_EQ(ParseTreeEntry(row.data, row.key1, row.key2, row.key3), e);
    // Thirty such bytes fill the name; the next one is cut, not a character before it.
    e.Name = std::string(31, '\xFF');
    EXPECT_EQ(ParseTreeEntry("", "", BuildTreeEntry(e).key2, "").Name, std::string(30, '\xFF'));
}

TEST(TreeEntryText, KeysSortByteWiseAsTheirNamesDo) {
    // The host's index compares key texts byte by byte; padding in characters keeps the order
    // of the names and keeps different names apart.
    std::vector<std::string> names = {"a",
                                      "a b",
                                      "ab",
                                      "é",
                                      "e",
                                      "ez",
                                      "Ω",
                                      "漢字",
                                      "漢",
                                      "zz",
                                      "éé",
                                      "Ωmega",
                                      std::string(29, 'a') + "é"};
    std::vector<std::string> keys;
    for (const std::string& n : names) keys.push_back(FormatTreeKey2({5, 5, 1, n}));
    std::vector<std::size_t> byName(names.size()), byKey(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) byName[i] = byKey[i] = i;
    std::sort(byName.begin(), byName.end(), [&](auto a, auto b) { return names[a] < names[b]; });
    std::sort(byKey.begin(), byKey.end(), [&](auto a, auto b) { return keys[a] < keys[b]; });
    EXPECT_EQ(byKey, byName);
}

TEST(TextHelper, CountsWellFormedSequencesAndEveryOtherByteAsOneCharacter) {
    EXPECT_EQ(CharacterCount("Grüße, 世界 🙂"), 11u);
    // Surrogates, overlong forms, values past U+10FFFF and cut sequences are no characters:
    // each of their bytes stands alone.
    EXPECT_EQ(CharacterCount("\xED\xA0\x80"), 3u);
    EXPECT_EQ(CharacterCount("\xE0\x80\xAF"), 3u);
    EXPECT_EQ(CharacterCount("\xF4\x90\x80\x80"), 4u);
    EXPECT_EQ(CharacterCount("\xE2\x82"), 2u);
    EXPECT_EQ(CharacterCount("\x80\x80"), 2u);
    EXPECT_EQ(FirstCharacters("é\x80€x", 2), "é\x80");
    EXPECT_EQ(FirstCharacters("\xE2\x82\xAC€", 1), "\xE2\x82\xAC");
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
    EXPECT_EQ(FormatClassKey("Ämter"), "Ämter     ");
    EXPECT_EQ(ParseClassRecord("00000003", "Ämterliste!").ClassName, "Ämterliste");
    const std::string path = "/srv/Übersicht/報告.pdf";
    EXPECT_EQ(CharacterCount(BuildResourceRecord({1, path}).data), kPathWidth);
    EXPECT_EQ(ParseResourceRecord(BuildResourceRecord({1, path}).data, "1").Path, path);
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
    // Fields of one to eight characters, as rows store numbers, read as any other text.
    for (const char* field :
         {"00000000", "00000007", "12345678", "99999999", "90000001", "0000000/", "0000000:",
          "1234 678", " 1234567", "-1234567", "1234567x", "/9999999", ":0000000", "0",
          "9",        "/",        ":",        "-",        " ",        "007",      "999",
          "9999999",  "12 ",      " 12",      "1/2",      "1:2",      "-12",      "+12"}) {
        const std::string text(field);
        EXPECT_EQ(Atol(text), static_cast<std::int32_t>(std::atol(text.c_str()))) << field;
    }
}

}  // namespace
}  // namespace orbel
