// Cell references as the cell link writes them from a selection and reads them back from a
// stored resource path.
#include <gtest/gtest.h>

#include "src/spreadsheet/CellReference.h"

namespace orbel {
namespace {

TEST(CellReferenceTest, ColumnsAreWrittenInBijectiveBase26) {
    const std::pair<int, const char*> cases[] = {{1, "A"},     {26, "Z"},     {27, "AA"},
                                                 {52, "AZ"},   {53, "BA"},    {702, "ZZ"},
                                                 {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [column, letters] : cases) EXPECT_EQ(ColumnLetters(column), letters) << column;
    EXPECT_EQ(ColumnLetters(0), "");
}

TEST(CellReferenceTest, SheetNameAndBangOnlyWhenTheSheetHasAName) {
    EXPECT_EQ(CellReference("Sheet1", 26, 5), "Sheet1!$Z$5");
    EXPECT_EQ(CellReference("Sheet1", 27, 1), "Sheet1!$AA$1");
    EXPECT_EQ(CellReference("", 27, 1), "$AA$1");
}

TEST(CellReferenceTest, StoredPathSplitsAtTheFirstBangAfterItsFirstCharacter) {
    LinkedPath p = SplitLinkedPath("C:\\Data\\Book.xls!Totals");
    EXPECT_EQ(p.workbook, "C:\\Data\\Book.xls");
    EXPECT_EQ(p.cell, "Totals");
    // The cell reference keeps its own "!".
    p = SplitLinkedPath("/srv/Book.xls!Sheet1!$A$1");
    EXPECT_EQ(p.workbook, "/srv/Book.xls");
    EXPECT_EQ(p.cell, "Sheet1!$A$1");
    // A "!" in first place is part of the path.
    p = SplitLinkedPath("!odd.xls");
    EXPECT_EQ(p.workbook, "!odd.xls");
    EXPECT_EQ(p.cell, "");
    p = SplitLinkedPath("C:\\Data\\Book.xls");
    EXPECT_EQ(p.workbook, "C:\\Data\\Book.xls");
    EXPECT_EQ(p.cell, "");
}

}  // namespace
}  // namespace orbel
