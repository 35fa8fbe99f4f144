// The host's side of the table conversation: an event sink on the control that answers every
// table event from a TableStore, the way a real host does it, by posting the answer to the
// message loop so that it arrives while the control waits. A select streams each row as its
// own RequestResult(1, row...) and ends with one RequestResult carrying the store's end code;
// each posted message takes the next row from the store's cursor as it goes, so no more than
// one row is held however long the select, and a control that goes away mid-select stops it.
// When the store refuses a request, its reason (which the control's own message box does not
// carry) is kept for the adapter's owner to show.
// The events meant for the host's user (a folder was chosen, the user pressed Escape, a file
// is to be viewed...) are kept, in order, for the adapter's owner.
//
// Not for: printing or tracing (the owner does that from OnReply and OnUserEvent), or
// deciding anything the store does not decide.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/store/TableStore.h"
#include "host/wrapper/OrbelWrapper.h"
#include "platform/MessageLoop.h"

namespace orbel::host {

// The control fires SelectAttachment(path) with this DISPID; the type library does not declare
// it, so the typed sink hands it to OnOtherEvent.
inline constexpr DISPID kSelectAttachmentEvent = 20;

// One event fired for the host's user, with its arguments as fired.
struct UserEvent {
    std::string name;
    std::vector<Variant> args;

    // NAME(ARG, ...) in transcript form.
    std::string ToString() const;
    bool operator==(const UserEvent&) const = default;
};

class HostAdapter final : public COrbelEventSink {
  public:
    // The adapter holds the control weakly (the control holds its sinks), and the store and
    // the loop by reference: both must outlive it (the adapter keeps the cursors of the
    // selects it is streaming, which belong to the store).
    HostAdapter(std::weak_ptr<IDispatch> control, TableStore& store, platform::MessageLoop& loop);

    // Switches the control to direct ID retrieval, so that every new OLE and resource ID comes
    // from the store in one transaction: hosts sharing a store never hand out the same ID,
    // which the control's own counter rows (read, then update) cannot promise with more than
    // one writer. A reference host calls this when it connects.
    void TakeIdsFromStore();

    // Called with each answer just before it goes to the control.
    void OnReply(std::function<void(const StoreReply&)> observer);
    // Called with each select the control asks for, before it is answered (a host following
    // other programs' changes learns from it which folder the list shows).
    using SelectObserver = std::function<void(const std::string& table, std::int32_t keyNo,
                                              const std::string& start, const std::string& end)>;
    void OnSelect(SelectObserver observer);
    // Called with the store's reason when an answer that reports a failure (3 or above) is
    // about to go to the control, before the control shows its own message about it.
    void OnHostError(std::function<void(const std::string&)> observer);
    // The store's reason for the last failed answer; empty while none has failed.
    const std::string& LastError() const { return lastError_; }
    // Called with each user event as it arrives (after it is recorded).
    void OnUserEvent(std::function<void(const UserEvent&)> observer);

    const std::vector<UserEvent>& UserEvents() const { return userEvents_; }
    void ClearUserEvents() { userEvents_.clear(); }
    // True while answers are posted and not yet delivered.
    bool Answering() const { return pending_ > 0; }

    // The table conversation.
    void SetTablePos(const std::string& table, std::int32_t relationship, std::int32_t keyNo,
                     const std::string& keyValue) override;
    void ReadNextRecord(const std::string& table) override;
    void InsertRecord(const std::string& table, const std::string& data, const std::string& key1,
                      const std::string& key2, const std::string& key3, const std::string& key4,
                      const std::string& key5) override;
    void UpdateRecord(const std::string& table, const std::string& data, const std::string& key1,
                      const std::string& key2, const std::string& key3, const std::string& key4,
                      const std::string& key5) override;
    void DeleteRecord(const std::string& table, const std::string& keyValue) override;
    void SelectTable(const std::string& table, std::int32_t keyNo, const std::string& start,
                     const std::string& end) override;
    void GetNextOLEID() override;
    void GetNextResourceID() override;

    // The user's side.
    void FolderChange(const std::string& folder) override;
    void ButtonScan() override;
    void SelectTiff(const std::string& resource, std::int32_t pageStart,
                    std::int32_t pageEnd) override;
    void Busy(bool busy) override;
    void Exit() override;
    void AttachOrEmail(const std::string& actionType) override;
    void DeleteFolder(std::int32_t item) override;
    void SendEmail(const std::string& receiver, const std::string& message,
                   const std::string& ledger, const std::string& account,
                   const std::string& msgType) override;
    void OnGetSystemScripts() override;
    void OnViewFile(const std::string& fileName) override;
    // SelectAttachment(path), which the type library does not declare, and anything newer.
    void OnOtherEvent(DISPID id, std::span<const Variant> args) override;

  private:
    // Posts the answer as one loop message, with the store's reason when it reports a failure.
    void Answer(StoreReply reply);
    // The store's reason for `reply`, when it reports a failure, else empty.
    std::string ReasonFor(const StoreReply& reply) const;
    // Hands `reply` to the observers and, while it is there, to the control.
    void Deliver(const StoreReply& reply, const std::string& reason);
    // Posts the next message of select `id`: its next row, or its end.
    void PostSelectStep(std::uint64_t id);
    void SelectStep(std::uint64_t id);
    void Record(std::string name, std::vector<Variant> args);

    std::weak_ptr<IDispatch> control_;
    TableStore& store_;
    platform::MessageLoop& loop_;
    std::function<void(const StoreReply&)> replyObserver_;
    std::function<void(const UserEvent&)> userEventObserver_;
    std::function<void(const std::string&)> hostErrorObserver_;
    SelectObserver selectObserver_;
    std::string lastError_;
    std::vector<UserEvent> userEvents_;
    int pending_ = 0;
    // The selects being streamed, by the id their posted messages carry.
    std::map<std::uint64_t, std::unique_ptr<SelectCursor>> selects_;
    std::uint64_t nextSelect_ = 0;
    // Posted answers hold this weakly: an adapter that is gone answers nothing more.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// An answer with only a result code: no data, no keys.
StoreReply ResultOnly(std::int32_t result);

}  // namespace orbel::host
