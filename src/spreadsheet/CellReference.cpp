#include "src/spreadsheet/CellReference.h"

#include <algorithm>

#include "platform/text/Sprintf.h"

namespace orbel {

std::string ColumnLetters(std::int32_t column) {
    std::string letters;
    for (std::int64_t n = column; n > 0; n = (n - 1) / 26)
        letters += static_cast<char>('A' + (n - 1) % 26);
    std::reverse(letters.begin(), letters.end());
    return letters;
}

std::string CellReference(const std::string& sheet, std::int32_t column, std::int32_t row) {
    const std::string cell = Sprintf("$%s$%d", ColumnLetters(column), row);
    return sheet.empty() ? cell : sheet + "!" + cell;
}

LinkedPath SplitLinkedPath(const std::string& resourcePath) {
    const std::size_t bang = resourcePath.find('!', 1);
    if (resourcePath.empty() || bang == std::string::npos) return {resourcePath, {}};
    return {resourcePath.substr(0, bang), resourcePath.substr(bang + 1)};
}

}  // namespace orbel
