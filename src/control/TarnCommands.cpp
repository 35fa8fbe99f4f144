// The host's one-letter command messages: most unpack their payload and call a method of the
// dispatch interface; a few set state that no method reaches.
#include <type_traits>

#include "src/control/OrbelCtrl.h"
#include "src/control/TarnMessage.h"
#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"

namespace orbel {

namespace {
constexpr std::uint32_t kOptionsAvailable = 1;
}

bool COrbelCtrl::ProcessTarnMessage(const std::string& lpszMessage) {
    std::optional<TarnCommand> command = ParseTarnMessage(lpszMessage);
    if (!command) return true;
    std::visit(
        [this](const auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, tarn::AddSystemScript>) {
                if (!c.text.empty()) m_systemScripts.push_back({"", "", "", c.text});
            } else if constexpr (std::is_same_v<T, tarn::SetOptionBits>) {
                const auto mask = static_cast<std::uint32_t>(c.mask);
                m_optionWord = c.set ? (m_optionWord | mask) : (m_optionWord & ~mask);
                if (m_frame) m_frame->ShowOptionsButton((m_optionWord & kOptionsAvailable) != 0);
            } else if constexpr (std::is_same_v<T, tarn::DeleteAllListViewItems>) {
                DeleteAllListViewItems();
            } else if constexpr (std::is_same_v<T, tarn::SetBrowseTarget>) {
                m_browseTarget = c.target;
            } else if constexpr (std::is_same_v<T, tarn::AddMapping>) {
                if (!c.from.empty() && !c.to.empty())
                    m_mappingList.AddMapping(c.from, c.to, c.Reverse(), false);
            } else if constexpr (std::is_same_v<T, tarn::SetListParent>) {
                SetListParent(c.entryKey);
            } else if constexpr (std::is_same_v<T, tarn::BeginTreeDownload>) {
                BeginTreeDownload();
            } else if constexpr (std::is_same_v<T, tarn::SetAutoCreate>) {
                m_autoCreate = c.on;
            } else if constexpr (std::is_same_v<T, tarn::SetBatchMaint>) {
                m_batchMaint = true;
            } else if constexpr (std::is_same_v<T, tarn::RequestDeleteObject>) {
                RequestDeleteObject(c.objectPath);
            } else if constexpr (std::is_same_v<T, tarn::DeleteTreeItem>) {
                DeleteTreeItem(c.entryKey);
            } else if constexpr (std::is_same_v<T, tarn::DeleteListItem>) {
                DeleteListItem(c.entryKey);
            } else if constexpr (std::is_same_v<T, tarn::AttachOrEmailAnswer>) {
                ApplyAttachOrEmailReply(c.message);
            } else if constexpr (std::is_same_v<T, tarn::AddTreeViewItem>) {
                AddTreeViewItem(c.folder, c.classItem, c.entryNo, c.parentNo, c.name);
            } else if constexpr (std::is_same_v<T, tarn::SetDirectorySelect>) {
                m_directorySelect = true;
                if (CViewList* list = ListView()) list->BuildColumns(this);
                EnableToolbarButton(ID_SEND_EMAIL_TO_SUBSCRIBERS, true);
                EnableToolbarButton(ID_SUBSCRIBER_MAINTENANCE, false);
            } else if constexpr (std::is_same_v<T, tarn::AddListViewItem>) {
                AddListViewItem(c.folder, c.classItem, c.entryNo, c.name, c.resource);
            } else if constexpr (std::is_same_v<T, tarn::SetObjectDir>) {
                SetObjectDir(c.directory);
            } else if constexpr (std::is_same_v<T, tarn::SetTreeParent>) {
                SetTreeParent(c.entryKey, c.parentKey);
            } else if constexpr (std::is_same_v<T, tarn::SetImageDetails>) {
                SetImageDetails(c.entryKey, c.pageStart, c.pageEnd, c.batch);
            } else if constexpr (std::is_same_v<T, tarn::EndTreeDownload>) {
                EndTreeDownload();
            } else if constexpr (std::is_same_v<T, tarn::UpdateFolder>) {
                UpdateFolder(c.entryKey, c.name);
            } else if constexpr (std::is_same_v<T, tarn::UpdateItem>) {
                UpdateItem(c.entryKey, c.name, c.pageStart, c.pageEnd, c.batch);
            } else if constexpr (std::is_same_v<T, tarn::SetViewFile>) {
                m_viewFileText = c.text;
            }
        },
        command->args);
    return true;
}

void COrbelCtrl::SetAttachOrEmail(int listIndex, const std::string& action) {
    m_pendingAttachOrEmail = action.substr(0, 1) + std::to_string(listIndex);
    FireAttachOrEmail(action);
}

void COrbelCtrl::ApplyAttachOrEmailReply(const std::string& message) {
    std::optional<AttachOrEmailReply> reply =
        ParseAttachOrEmailReply(m_pendingAttachOrEmail, message);
    CViewList* list = ListView();
    // No pending selection, or one that names no row of the list, changes nothing.
    if (!reply || !list || reply->listIndex < 0 || reply->listIndex >= list->GetItemCount()) return;
    if (reply->attach)
        list->SetRouting(list->RowKey(reply->listIndex), reply->targetId, false, false);
    list->SetRoutingColumns(reply->listIndex, reply->attachText, reply->emailText);
}

}  // namespace orbel
