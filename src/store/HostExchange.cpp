#include "src/store/HostExchange.h"

#include <algorithm>

#include "platform/Api.h"
#include "platform/Platform.h"

namespace orbel {

CHostExchange::CHostExchange(IExchangeSite& site) : m_site(site) {}

std::string CHostExchange::KeyValue(Table table, KeyNo keyNo) const {
    switch (table) {
        case Table::OleTree:
            switch (keyNo) {
                case KeyNo::Key1:
                    return FormatTreeKey1(m_treeKey1);
                case KeyNo::Key2:
                    return FormatTreeKey2(m_treeKey2);
                case KeyNo::Key3:
                    return FormatTreeKey3(m_treeKey3);
            }
            return {};
        case Table::OleRes:
            return keyNo == KeyNo::Key1 ? FormatResourceKey(m_resourceKey) : std::string();
        case Table::OleCla:
            return keyNo == KeyNo::Key1 ? FormatClassKey(m_classKey) : std::string();
    }
    return {};
}

RowText CHostExchange::OutgoingRow(Table table) {
    RowText row;
    switch (table) {
        case Table::OleTree:
            row = BuildTreeEntry(m_treeEntry);
            break;
        case Table::OleRes:
            // The buffer keeps the path in the form it was stored in.
            m_resourceRow.Path = m_site.ToStoredPath(m_resourceRow.Path);
            row = BuildResourceRecord(m_resourceRow);
            break;
        case Table::OleCla:
            row = BuildClassRecord(m_classRow);
            break;
    }
    // The outgoing row travels in the reply strings, as a reply would.
    m_replies[0] = row.data;
    m_replies[1] = row.key1;
    if (table == Table::OleTree) {
        m_replies[2] = row.key2;
        m_replies[3] = row.key3;
    }
    return row;
}

std::int32_t CHostExchange::Request(RequestKind kind, Table table, KeyNo keyNo,
                                    Relationship relationship) {
    // Another request is waiting: its buffers, reply strings and wait must stay its own.
    if (!m_responseComplete) return kResultRefused;
    m_site.FireYield();
    m_responseComplete = false;
    const std::string name = TableName(table);
    switch (kind) {
        case RequestKind::Position:
            m_site.FireSetTablePos(name, static_cast<std::int32_t>(relationship),
                                   static_cast<std::int32_t>(keyNo), KeyValue(table, keyNo));
            break;
        case RequestKind::ReadNext:
            m_site.FireReadNextRecord(name);
            break;
        case RequestKind::Update:
            m_site.FireUpdateRecord(name, OutgoingRow(table));
            break;
        case RequestKind::Insert:
            m_site.FireInsertRecord(name, OutgoingRow(table));
            break;
        case RequestKind::Delete:
            m_site.FireDeleteRecord(name, KeyValue(table, KeyNo::Key1));
            break;
        case RequestKind::NextOleId:
            m_site.FireGetNextOLEID();
            break;
        case RequestKind::NextResourceId:
            m_site.FireGetNextResourceID();
            break;
        case RequestKind::Select:
            break;  // SelectTableOleTree fires its own event
    }
    Wait();
    return m_lastResult;
}

namespace {
std::uint64_t LoopNow() {
    return platform::GetPlatform().Loop().Now();
}
}  // namespace

UINT CHostExchange::TimeOutInterval() const {
    // The interval as the loop's timer takes it, so that the deadline falls where a timer
    // started at the reply would fire.
    return std::clamp(static_cast<UINT>(m_site.ResponseTimeOut()), platform::kTimerMinimum,
                      platform::kTimerMaximum);
}

void CHostExchange::ArmWaitTimer(HWND window, std::uint64_t now) {
    const UINT interval = TimeOutInterval();
    m_deadline = now + interval;
    m_timerDue = m_deadline;
    m_waitTimer = SetTimer(window, kWaitTimerId, interval);
}

void CHostExchange::Postpone(HWND window) {
    // A streamed select replies row after row: moving the deadline is all a reply needs. The
    // timer is set again only when it would otherwise fire less than its shortest interval
    // before the deadline (or after it), where it could not be set to fire exactly there.
    const std::uint64_t now = LoopNow();
    const std::uint64_t deadline = now + TimeOutInterval();
    if (deadline == m_timerDue ||
        (deadline > m_timerDue && deadline - m_timerDue >= platform::kTimerMinimum)) {
        m_deadline = deadline;
        return;
    }
    ArmWaitTimer(window, now);
}

void CHostExchange::Wait() {
    const HWND window = m_site.ExchangeWindow();
    m_timerRestart = false;
    ArmWaitTimer(window, LoopNow());
    bool quit = false;
    while (!m_responseComplete) {
        MSG msg;
        if (!GetMessage(msg)) {
            // The thread is quitting: end the wait as a time-out and leave the quit for the
            // loop outside, which must still see it.
            m_responseComplete = true;
            m_lastResult = kResultTimeout;
            quit = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(msg);
        DispatchMessage(msg);
        if (m_timerRestart) {
            m_timerRestart = false;
            if (!m_responseComplete) Postpone(window);
        }
    }
    KillTimer(window, m_waitTimer);
    m_waitTimer = 0;
    if (m_lastResult == kResultTimeout && !quit)
        AfxMessageBox("Timeout waiting response from container", MB_OK);
}

bool CHostExchange::OnTimer(UINT_PTR id) {
    if (m_waitTimer == 0 || id != m_waitTimer || m_responseComplete) return false;
    const HWND window = m_site.ExchangeWindow();
    const std::uint64_t now = LoopNow();
    if (now < m_deadline) {
        // Replies came since the timer was set: it fires again at the last one's deadline.
        m_timerDue = m_deadline;
        m_waitTimer = SetTimer(window, kWaitTimerId, static_cast<UINT>(m_deadline - now));
        return true;
    }
    KillTimer(window, m_waitTimer);
    m_responseComplete = true;
    m_lastResult = kResultTimeout;
    return true;
}

void CHostExchange::RequestResult(std::int32_t result,
                                  const std::array<std::string_view, 11>& strings) {
    m_lastResult = result;
    m_timerRestart = true;
    const bool keep = !strings[0].empty();
    // A streamed row reaches its handler parsed from the incoming text and is not kept as
    // text: only the requests that read their answer from the reply strings need them.
    if (!m_recordHandler || result != kResultRow) {
        // Assigned in place, so that the buffers keep their room, and the keys a host leaves
        // empty (most of them) cost nothing.
        for (std::size_t i = 0; i < strings.size(); ++i) {
            if (keep && !strings[i].empty())
                m_replies[i].assign(strings[i]);
            else
                m_replies[i].clear();
        }
    }
    if (m_recordHandler) {
        RecordHandler handler = m_recordHandler;
        if (keep)
            ParseTreeEntryInto(m_streamedRow, strings[0], strings[1], strings[2], strings[3]);
        else
            ParseTreeEntryInto(m_streamedRow, {}, {}, {}, {});
        m_responseComplete = handler(result, m_streamedRow);
    } else {
        m_responseComplete = true;
    }
}

namespace {
// Said both when a select is refused because another request waits and when one fails.
constexpr const char* kSelectTableError = "Error SelectTableOleTree";
}  // namespace

std::int32_t CHostExchange::SelectTableOleTree(KeyNo keyNo, const TreeEntry& start,
                                               const TreeEntry& end, RecordHandler handler) {
    if (!m_responseComplete) {
        AfxMessageBox(kSelectTableError, MB_OK);
        return kResultRefused;
    }
    auto format = [keyNo](const TreeEntry& e) {
        if (keyNo == KeyNo::Key1) return FormatTreeKey1({e.OwnerId, e.EntryNo});
        return FormatTreeKey2({e.OwnerId, e.ParentOwnerId, e.ParentEntryNo, e.Name});
    };
    m_recordHandler = std::move(handler);
    m_site.FireYield();
    m_responseComplete = false;
    m_site.FireSelectTable(TableName(Table::OleTree), static_cast<std::int32_t>(keyNo),
                           format(start), format(end));
    Wait();
    m_recordHandler = nullptr;
    if (m_lastResult > kResultEndOfData) AfxMessageBox(kSelectTableError, MB_OK);
    return m_lastResult;
}

std::int32_t CHostExchange::RequestWithMessage(RequestKind kind, Table table, const char* message) {
    std::int32_t result = Request(kind, table);
    if (result >= 1) AfxMessageBox(message, MB_OK);
    return result;
}

std::int32_t CHostExchange::SelectOleTree(KeyNo keyNo, Relationship relationship) {
    return Request(RequestKind::Position, Table::OleTree, keyNo, relationship);
}

std::int32_t CHostExchange::SelectOleRes(KeyNo keyNo, Relationship relationship) {
    if (keyNo != KeyNo::Key1) return m_lastResult;
    std::int32_t result = Request(RequestKind::Position, Table::OleRes, keyNo, relationship);
    if (result >= 1) AfxMessageBox("Error SelectOleRes", MB_OK);
    return result;
}

std::int32_t CHostExchange::SelectOleClass(KeyNo keyNo, Relationship relationship) {
    if (keyNo != KeyNo::Key1) return m_lastResult;
    return Request(RequestKind::Position, Table::OleCla, keyNo, relationship);
}

std::int32_t CHostExchange::ReadOleTree() {
    std::int32_t result = Request(RequestKind::ReadNext, Table::OleTree);
    if (result == kResultOk)
        m_treeEntry = ParseTreeEntry(m_replies[0], m_replies[1], m_replies[2], m_replies[3]);
    return result;
}

std::int32_t CHostExchange::ReadOleRes() {
    std::int32_t result = Request(RequestKind::ReadNext, Table::OleRes);
    if (result == kResultOk) m_resourceRow = ParseResourceRecord(m_replies[0], m_replies[1]);
    if (result >= 1) AfxMessageBox("Error ReadOleRes", MB_OK);
    return result;
}

std::int32_t CHostExchange::ReadOleClass() {
    std::int32_t result = Request(RequestKind::ReadNext, Table::OleCla);
    if (result == kResultOk) m_classRow = ParseClassRecord(m_replies[0], m_replies[1]);
    if (result >= 1) AfxMessageBox("Error ReadOleClass", MB_OK);
    return result;
}

std::int32_t CHostExchange::InsertOleTree() {
    return RequestWithMessage(RequestKind::Insert, Table::OleTree, "Error InsertOleTree");
}

std::int32_t CHostExchange::InsertOleRes() {
    return RequestWithMessage(RequestKind::Insert, Table::OleRes, "Error InsertOleRes");
}

std::int32_t CHostExchange::InsertOleClass() {
    return RequestWithMessage(RequestKind::Insert, Table::OleCla, "Error InsertOleClass");
}

std::int32_t CHostExchange::UpdateOleTree() {
    std::int32_t result = Request(RequestKind::Update, Table::OleTree);
    if (result < 1) m_site.OnTreeRowUpdated(m_treeEntry);
    if (result >= 1) AfxMessageBox("Error UpdateOleTree", MB_OK);
    return result;
}

std::int32_t CHostExchange::UpdateOleRes() {
    return RequestWithMessage(RequestKind::Update, Table::OleRes, "Error UpdateOleRes");
}

std::int32_t CHostExchange::UpdateOleClass() {
    return RequestWithMessage(RequestKind::Update, Table::OleCla, "Error UpdateOleClass");
}

std::int32_t CHostExchange::DeleteOleTree() {
    return RequestWithMessage(RequestKind::Delete, Table::OleTree, "Error DeleteOleTree");
}

std::int32_t CHostExchange::DeleteOleRes() {
    return RequestWithMessage(RequestKind::Delete, Table::OleRes, "Error DeleteOleRes");
}

std::int32_t CHostExchange::DeleteOleClass() {
    return RequestWithMessage(RequestKind::Delete, Table::OleCla, "Error DeleteOleClass");
}

std::int32_t CHostExchange::DirectNextId(RequestKind kind, const char* message) {
    if (Request(kind, Table::OleCla) != kResultOk) {
        AfxMessageBox(message, MB_OK);
        return -1;
    }
    // The host sends the ID in sKey1 beside a non-empty data string.
    return Atol(m_replies[1]);
}

std::int32_t CHostExchange::CounterNextId(const char* className, const char* operation) {
    const std::string op = operation;
    m_classKey = className;
    if (SelectOleClass(KeyNo::Key1, Relationship::Equal) != kResultOk) {
        m_classRow = ClassRecord{className, 1};
        if (InsertOleClass() >= 1) {
            AfxMessageBox("Error " + op + ":1", MB_OK);
            return -1;
        }
        return 1;
    }
    if (ReadOleClass() >= 1) {
        AfxMessageBox("Error " + op + ":2", MB_OK);
        return -1;
    }
    // The row's field holds eight digits: the next ID would be written back as the last one,
    // and handed out again on every call.
    if (m_classRow.Value >= kLargestNumber) {
        AfxMessageBox("Error " + op + ":3", MB_OK);
        return -1;
    }
    m_classRow.Value += 1;
    if (UpdateOleClass() >= 1) {
        AfxMessageBox("Error " + op + ":3", MB_OK);
        return -1;
    }
    return m_classRow.Value;
}

std::int32_t CHostExchange::GetNextOLEID() {
    if (m_directIdRetrieval)
        return DirectNextId(RequestKind::NextOleId, "Error getting next OLE ID");
    return CounterNextId("0", "GetNextOLEID");
}

std::int32_t CHostExchange::GetNextResourceID() {
    if (m_directIdRetrieval)
        return DirectNextId(RequestKind::NextResourceId, "Error getting next resource ID");
    return CounterNextId("1", "GetNextResourceID");
}

}  // namespace orbel
