// The table conversation with the host. Every row read or written is a request: an event
// names the table and carries the key or the row as text, then the control waits, pumping the
// thread's messages under a timer, until the host answers through RequestResult or the
// response time-out passes. A select is answered as a stream of rows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Win.h"
#include "src/store/RecordFormats.h"

namespace orbel {

// Results as the control reads them.
inline constexpr std::int32_t kResultOk = 0;
inline constexpr std::int32_t kResultRow = 1;        // a streamed row; more may follow
inline constexpr std::int32_t kResultEndOfData = 2;  // end of a select; no such row
// A request started while another one waits is refused with this, without asking the host.
inline constexpr std::int32_t kResultRefused = 9998;
inline constexpr std::int32_t kResultTimeout = 9999;

inline constexpr UINT_PTR kWaitTimerId = 103;

enum class RequestKind {
    Position = 0,
    ReadNext = 1,
    Update = 2,
    Insert = 3,
    Delete = 4,
    Select = 5,
    NextOleId = 6,
    NextResourceId = 7,
};

// What the exchange needs of the control that owns it: its events, its window (for the wait
// timer), its time-out, and the stored form of paths.
class IExchangeSite {
  public:
    virtual ~IExchangeSite() = default;
    virtual void FireYield() = 0;
    virtual void FireSetTablePos(const std::string& table, std::int32_t relationship,
                                 std::int32_t keyNo, const std::string& keyValue) = 0;
    virtual void FireReadNextRecord(const std::string& table) = 0;
    virtual void FireUpdateRecord(const std::string& table, const RowText& row) = 0;
    virtual void FireInsertRecord(const std::string& table, const RowText& row) = 0;
    virtual void FireDeleteRecord(const std::string& table, const std::string& keyValue) = 0;
    virtual void FireSelectTable(const std::string& table, std::int32_t keyNo,
                                 const std::string& start, const std::string& end) = 0;
    virtual void FireGetNextOLEID() = 0;
    virtual void FireGetNextResourceID() = 0;

    virtual HWND ExchangeWindow() const = 0;
    virtual std::int32_t ResponseTimeOut() const = 0;
    // A path as it is stored for every machine (universal name, reverse mapping).
    virtual std::string ToStoredPath(const std::string& path) const = 0;
    // A tree row was updated in the host's table.
    virtual void OnTreeRowUpdated(const TreeEntry& entry) = 0;
};

// Receives each reply of a select; returns true to end the select.
using RecordHandler = std::function<bool(std::int32_t result, const TreeEntry& entry)>;

class CHostExchange {
  public:
    explicit CHostExchange(IExchangeSite& site);

    // The request buffers: each request reads its key or row here, each read leaves its row
    // here, and later operations rely on what the last one left.
    TreeKey1 m_treeKey1;
    TreeKey2 m_treeKey2;
    TreeKey3 m_treeKey3;
    TreeEntry m_treeEntry;
    std::int32_t m_resourceKey = 0;
    ResourceRecord m_resourceRow;
    std::string m_classKey;
    ClassRecord m_classRow;

    // The host's answer. Keys sent with an empty data string are dropped.
    void RequestResult(std::int32_t result, const std::array<std::string_view, 11>& strings);
    // The control's window received a timer message; true when it was the wait's.
    bool OnTimer(UINT_PTR id);
    // True when no request waits for the host.
    bool QueryClose() const { return m_responseComplete; }
    void SetDirectIDRetrieval(bool direct) { m_directIdRetrieval = direct; }
    bool DirectIDRetrieval() const { return m_directIdRetrieval; }

    std::int32_t LastResult() const { return m_lastResult; }
    // sData, sKey1 ... sKey10 of the last reply other than a row streamed to a select's
    // handler (or of the last row sent).
    const std::array<std::string, 11>& Replies() const { return m_replies; }

    // Table request operations; each returns the result it ended with.
    std::int32_t SelectTableOleTree(KeyNo keyNo, const TreeEntry& start, const TreeEntry& end,
                                    RecordHandler handler);
    std::int32_t SelectOleTree(KeyNo keyNo, Relationship relationship);
    std::int32_t SelectOleRes(KeyNo keyNo, Relationship relationship);
    std::int32_t SelectOleClass(KeyNo keyNo, Relationship relationship);
    std::int32_t ReadOleTree();
    std::int32_t ReadOleRes();
    std::int32_t ReadOleClass();
    std::int32_t InsertOleTree();
    std::int32_t InsertOleRes();
    std::int32_t InsertOleClass();
    std::int32_t UpdateOleTree();
    std::int32_t UpdateOleRes();
    std::int32_t UpdateOleClass();
    std::int32_t DeleteOleTree();
    std::int32_t DeleteOleRes();
    std::int32_t DeleteOleClass();

    // New IDs: from the host directly when direct ID retrieval is on, else from the counter
    // rows "0" and "1" of OLE_CLA. -1 on failure, after saying so.
    std::int32_t GetNextOLEID();
    std::int32_t GetNextResourceID();

  private:
    std::int32_t Request(RequestKind kind, Table table, KeyNo keyNo = KeyNo::Key1,
                         Relationship relationship = Relationship::Equal);
    void Wait();
    UINT TimeOutInterval() const;
    // Sets the wait timer to fire one time-out from now.
    void ArmWaitTimer(HWND window, std::uint64_t now);
    // A reply came: the time-out runs from now.
    void Postpone(HWND window);
    std::int32_t RequestWithMessage(RequestKind kind, Table table, const char* message);
    std::int32_t DirectNextId(RequestKind kind, const char* message);
    std::int32_t CounterNextId(const char* className, const char* operation);
    std::string KeyValue(Table table, KeyNo keyNo) const;
    RowText OutgoingRow(Table table);

    IExchangeSite& m_site;
    bool m_responseComplete = true;
    bool m_timerRestart = false;
    std::int32_t m_lastResult = 0;
    std::array<std::string, 11> m_replies;
    RecordHandler m_recordHandler;
    TreeEntry m_streamedRow;  // each streamed row in turn, parsed in place
    UINT_PTR m_waitTimer = 0;
    // Loop clock: when the wait times out, and when its timer fires next.
    std::uint64_t m_deadline = 0;
    std::uint64_t m_timerDue = 0;
    bool m_directIdRetrieval = false;
};

}  // namespace orbel
