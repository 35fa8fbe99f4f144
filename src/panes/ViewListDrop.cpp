// Drops from other programs on the list: an address dropped as text becomes a link item, and
// each file of a dropped file list, in order, an item linked where it lies. What a drop
// carries is untrusted: a file is only linked, never opened, and an entry of the list that
// names no file here is refused aloud.
#include <algorithm>

#include "platform/Api.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"

namespace orbel {

void CViewList::OnListDrop(const platform::DroppedData& data) {
    if (!m_site) return;
    if (!m_site->SubscriberMode() && data.text) DropText(*data.text);

    platform::DroppedFiles dropped = platform::FilesFromUriList(data.uriList);
    for (const std::string& path : dropped.files) AddItemFromFileWithNotice(path);

    // A browser carries a link as text and as a one-entry list; the text decided about it.
    std::erase_if(dropped.refused, [&](const std::string& entry) { return entry == data.text; });
    if (dropped.refused.empty()) return;
    std::string text = "Only files on this computer can be linked by dropping them. Not linked:";
    for (const std::string& entry : dropped.refused) text += "\n" + entry;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace orbel
