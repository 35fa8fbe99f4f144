// The list's way into the spreadsheet cell link: the item's row names it, its stored path gives
// the workbook and the cell, and what the user confirms is stored as its resource path.
#include "src/dialogs/CellLinkDlg.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"

namespace orbel {

bool CViewList::LinkCell(std::uint32_t itemData) {
    if (!m_site) return false;
    const int row = itemData == 0 ? m_currentRow : FindRow(static_cast<std::int32_t>(itemData));
    if (row < 0 || IsFolderRow(row)) return false;
    const std::int32_t key = RowKey(row);
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    m_site->GetResourceDetails(key, path, pageStart, pageEnd, true, true);
    return RunCellLink(this, RowText(row, 0), path,
                       [&](const std::string& workbook, const std::string& cell) {
                           m_site->SetScriptResource(key, workbook, cell);
                       });
}

}  // namespace orbel
