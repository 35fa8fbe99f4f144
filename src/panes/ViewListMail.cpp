// Sending the selected items' documents as attachments of one new mail message.
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/services/MailMessage.h"

namespace orbel {

void CViewList::SendSelectionAsMail() {
    if (!m_site || !m_list) return;
    Invalidate();
    MailMessage message(false);
    int attached = 0;
    for (int row : m_list->GetSelectedRows()) {
        if (IsFolderRow(row)) continue;
        std::string path;
        std::int32_t pageStart = 0, pageEnd = 0;
        if (!m_site->GetResourceDetails(RowKey(row), path, pageStart, pageEnd, false, true) ||
            path.empty())
            continue;
        if (AttachFileToMail(message, path)) ++attached;
    }
    // Nothing is sent, and no compose window opens, when no file could be attached.
    if (attached > 0) message.Send();
    Invalidate();
}

}  // namespace orbel
