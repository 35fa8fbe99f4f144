// Cell references as the cell link writes and reads them in an item's resource path.
#pragma once

#include <cstdint>
#include <string>

namespace orbel {

// The column number in bijective base 26: 1 A, 26 Z, 27 AA, 52 AZ, 53 BA. Empty below 1.
std::string ColumnLetters(std::int32_t column);

// "Sheet!$COL$ROW", or "$COL$ROW" when the sheet has no name.
std::string CellReference(const std::string& sheet, std::int32_t column, std::int32_t row);

struct LinkedPath {
    std::string workbook;
    std::string cell;
};

// Split at the first "!" that is not the path's first character: a cell reference may hold a
// "!" of its own (Sheet1!$A$1).
LinkedPath SplitLinkedPath(const std::string& resourcePath);

}  // namespace orbel
