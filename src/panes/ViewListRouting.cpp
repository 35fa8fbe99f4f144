// The list as a routing sheet (directory selection): each row is a file waiting to be attached
// to a ledger and account ("Attach To") and/or mailed ("Email To"). The batch run carries out
// every pending route and marks it done on screen and in the item's stored path, so a route is
// never carried out twice, even when the sheet is listed again later.
#include <unordered_set>

#include "platform/Api.h"
#include "src/dialogs/WaitWindow.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/resources/DialogTemplates.h"
#include "src/store/ProcessedMarker.h"
#include "src/store/RecordFormats.h"
#include "src/store/StoredPath.h"

namespace orbel {

namespace {
constexpr const char* kProcessed = "[ Processed ]";
constexpr const char* kProcessing = "Processing ...";
constexpr const char* kBatchCompleted = "Batch is completed. Continue?";
constexpr int kAttachColumn = 1;
constexpr int kEmailColumn = 2;
// The ledger code leads the attach text; the account code is the rest.
constexpr std::size_t kLedgerLength = 5;

bool Done(const std::string& text) {
    return text.find(kProcessed) != std::string::npos;
}
}  // namespace

std::string CViewList::RouteText(int row, int column) const {
    std::string text = TrimRight(RowText(row, column));
    if (Done(text)) text.clear();
    return text;
}

std::string CViewList::PathWithMarkers(std::int32_t key) const {
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    // A folder or an item without a file carries no marker: nothing to say about it here.
    m_site->GetResourceDetails(key, path, pageStart, pageEnd, true, true);
    return path;
}

bool CViewList::IsProcessed(std::int32_t key, int flag, std::string& path) const {
    path = PathWithMarkers(key);
    return TakeProcessedFlag(path, flag);
}

bool CViewList::IsAnyProcessed(std::int32_t key) const {
    const std::string path = PathWithMarkers(key);
    return HasProcessedFlag(path, kAttachFlag) || HasProcessedFlag(path, kEmailFlag);
}

bool CViewList::SetProcessedFlag(std::int32_t key, int flag, bool value, std::string path) {
    MarkProcessed(key, flag, value, path);
    return true;
}

std::string CViewList::MarkProcessed(std::int32_t key, int flag, bool value,
                                     const std::string& path) {
    // The lookup that finds the path also reads the row the changed path is written to.
    MarkedPath stored;
    const bool written = m_site->RewriteResourcePath(key, [&](const std::string& current) {
        stored = WithProcessedFlag(path.empty() ? current : path, flag, value);
        return stored;
    });
    if (!written) return {};
    return JoinStoredPath(stored.file, stored.link);
}

void CViewList::ClearRouting(int column) {
    const int row = m_currentRow;
    if (!m_site || row < 0) return;
    m_list->SetItemText(row, column, "");
    if (!m_site->DirectorySelect()) return;
    // The stored flag goes too, so that the row can be routed again; the other route's flag
    // keeps its value.
    std::string path;
    if (IsProcessed(RowKey(row), column, path)) SetProcessedFlag(RowKey(row), column, false, "");
}

void CViewList::MarkProcessedRows() {
    if (!m_site || !m_site->DirectorySelect()) return;
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const std::int32_t key = RowKey(row);
        const std::string path = PathWithMarkers(key);
        const bool attached = HasProcessedFlag(path, kAttachFlag);
        const bool mailed = HasProcessedFlag(path, kEmailFlag);
        if (attached || mailed)
            SetRoutingColumns(row, attached ? kProcessed : "", mailed ? kProcessed : "");
        SetRouting(key, EntryNoOfKey(key), attached || mailed, false);
    }
}

void CViewList::ProcessBatch() {
    if (!m_site || !m_site->DirectorySelect()) return;
    Invalidate();
    CWaitWindow wait(IDD_PLEASE_WAIT_PROGRESS, *this);
    // Rows this run marked: the check for a finished batch knows them without reading.
    std::unordered_set<std::int32_t> marked;
    for (int row = 0; row < GetItemCount(); ++row) {
        std::string attach = RouteText(row, kAttachColumn);
        const std::string email = RouteText(row, kEmailColumn);
        if (attach.empty() && email.empty()) continue;
        const std::string name = RowText(row, 0);
        wait.SetText(kProcessing + name);
        const std::int32_t key = RowKey(row);
        // The row's stored path with markers while nothing has run since it was read or
        // written; empty when the host has had a chance to change it and it must be read.
        std::string known;
        std::string path;
        auto processed = [&](int flag) {
            if (known.empty()) known = PathWithMarkers(key);
            path = known;
            return TakeProcessedFlag(path, flag);
        };
        if (!attach.empty() && !processed(kAttachFlag)) {
            const std::int32_t target = RoutingTarget(key);
            const std::string ledger = attach.substr(0, kLedgerLength);
            const std::string account =
                attach.size() > kLedgerLength ? attach.substr(kLedgerLength) : std::string();
            // A failed attach leaves the route pending; the control has said why. The host
            // hears of the new item and may act on it.
            const bool attached = m_site->AttachItem(name, path, target, ledger, account);
            known.clear();
            if (attached) {
                if (!Done(attach)) attach += std::string(" ") + kProcessed;
                SetRouting(key, target, true, false);
                known = MarkProcessed(key, kAttachFlag, true, "");
                if (!known.empty()) marked.insert(key);
            }
            m_list->SetItemText(row, kAttachColumn, attach);
        }
        if (!email.empty() && !processed(kEmailFlag)) {
            // The host does not confirm a mail: it counts as sent once it was asked for.
            m_site->FireSendEmail(email, path, "", "", "h");
            if (!MarkProcessed(key, kEmailFlag, true, "").empty()) marked.insert(key);
            m_list->SetItemText(row, kEmailColumn, kProcessed);
        }
    }
    wait.Hide();
    const int count = GetItemCount();
    bool allDone = count > 0;
    for (int row = 0; allDone && row < count; ++row)
        allDone = marked.contains(RowKey(row)) || IsAnyProcessed(RowKey(row));
    if (allDone && AfxMessageBox(kBatchCompleted, MB_YESNO) == IDYES) ClearBatch();
    Invalidate();
}

void CViewList::ClearBatch() {
    // A row whose entry the control could not delete stays (the control said why) and is
    // passed over, so the clean-up ends however the host answers.
    int row = 0;
    while (row < GetItemCount()) {
        const int before = GetItemCount();
        m_site->DeleteEntry(RowKey(row));
        if (GetItemCount() >= before) ++row;
    }
}

int CViewList::GetProcessedAttachmentCount(bool processed) const {
    int count = 0;
    const int rows = GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const std::string attach = TrimRight(RowText(row, kAttachColumn));
        const std::string email = TrimRight(RowText(row, kEmailColumn));
        const bool work = (!attach.empty() && !Done(attach)) || (!email.empty() && !Done(email));
        if (processed ? (!work && (Done(attach) || Done(email))) : work) ++count;
    }
    return count;
}

}  // namespace orbel
