#include "host/adapter/HostAdapter.h"

namespace orbel::host {

std::string UserEvent::ToString() const {
    std::string line = name + "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) line += ", ";
        line += args[i].ToDisplayString();
    }
    return line + ")";
}

StoreReply ResultOnly(std::int32_t result) {
    StoreReply reply;
    reply.result = result;
    return reply;
}

HostAdapter::HostAdapter(std::weak_ptr<IDispatch> control, TableStore& store,
                         platform::MessageLoop& loop)
    : control_(std::move(control)), store_(store), loop_(loop) {}

void HostAdapter::OnReply(std::function<void(const StoreReply&)> observer) {
    replyObserver_ = std::move(observer);
}

void HostAdapter::OnSelect(SelectObserver observer) {
    selectObserver_ = std::move(observer);
}

void HostAdapter::OnHostError(std::function<void(const std::string&)> observer) {
    hostErrorObserver_ = std::move(observer);
}

void HostAdapter::TakeIdsFromStore() {
    if (auto control = control_.lock()) COrbelWrapper(control).SetDirectIDRetrieval(true);
}

void HostAdapter::OnUserEvent(std::function<void(const UserEvent&)> observer) {
    userEventObserver_ = std::move(observer);
}

// ---------------------------------------------------------------------------------------
// Answering

// One answer per loop message: the control's wait sees each as it would from a real host,
// with the timer restarted by each, and other messages of the thread may come in between.
void HostAdapter::Answer(StoreReply reply) {
    ++pending_;
    // The reason is taken now: the store forgets it at its next request.
    std::string reason = ReasonFor(reply);
    std::weak_ptr<int> alive = alive_;
    loop_.PostTask([this, alive, reply = std::move(reply), reason = std::move(reason)] {
        if (!alive.lock()) return;
        --pending_;
        Deliver(reply, reason);
    });
}

std::string HostAdapter::ReasonFor(const StoreReply& reply) const {
    if (reply.result < kStoreFailed) return {};
    std::string reason = store_.LastError();
    if (reason.empty()) reason = "the store answered " + std::to_string(reply.result);
    return reason;
}

void HostAdapter::Deliver(const StoreReply& reply, const std::string& reason) {
    if (replyObserver_) replyObserver_(reply);
    if (!reason.empty()) {
        lastError_ = reason;
        if (hostErrorObserver_) hostErrorObserver_(reason);
    }
    if (auto control = control_.lock()) {
        const auto& k = reply.keys;
        COrbelWrapper(control).RequestResult(reply.result, reply.data, k[0], k[1], k[2], k[3], k[4],
                                             k[5], k[6], k[7], k[8], k[9]);
    }
}

void HostAdapter::PostSelectStep(std::uint64_t id) {
    std::weak_ptr<int> alive = alive_;
    loop_.PostTask([this, alive, id] {
        if (alive.lock()) SelectStep(id);
    });
}

// One message of a select: the cursor's next row, or, once it has none, the end code. A
// control that is gone stops the select there: nobody waits for the rest.
void HostAdapter::SelectStep(std::uint64_t id) {
    const auto it = selects_.find(id);
    if (it == selects_.end()) return;
    if (control_.expired()) {
        selects_.erase(it);
        --pending_;
        return;
    }
    StoreReply reply;
    if (it->second->Next(reply)) {
        const std::weak_ptr<int> alive = alive_;
        Deliver(reply, {});
        if (!alive.expired()) PostSelectStep(id);
        return;
    }
    reply = ResultOnly(it->second->EndResult());
    selects_.erase(it);
    --pending_;
    Deliver(reply, ReasonFor(reply));
}

void HostAdapter::SetTablePos(const std::string& table, std::int32_t relationship,
                              std::int32_t keyNo, const std::string& keyValue) {
    Answer(ResultOnly(store_.SetTablePos(table, relationship, keyNo, keyValue)));
}

void HostAdapter::ReadNextRecord(const std::string& table) {
    Answer(store_.ReadNextRecord(table));
}

void HostAdapter::InsertRecord(const std::string& table, const std::string& data,
                               const std::string& key1, const std::string& key2,
                               const std::string& key3, const std::string&, const std::string&) {
    Answer(ResultOnly(store_.InsertRecord(table, data, key1, key2, key3)));
}

void HostAdapter::UpdateRecord(const std::string& table, const std::string& data,
                               const std::string& key1, const std::string& key2,
                               const std::string& key3, const std::string&, const std::string&) {
    Answer(ResultOnly(store_.UpdateRecord(table, data, key1, key2, key3)));
}

void HostAdapter::DeleteRecord(const std::string& table, const std::string& keyValue) {
    Answer(ResultOnly(store_.DeleteRecord(table, keyValue)));
}

void HostAdapter::SelectTable(const std::string& table, std::int32_t keyNo,
                              const std::string& start, const std::string& end) {
    if (selectObserver_) selectObserver_(table, keyNo, start, end);
    const std::uint64_t id = ++nextSelect_;
    selects_.emplace(id, store_.OpenSelect(table, keyNo, start, end));
    ++pending_;
    PostSelectStep(id);
}

void HostAdapter::GetNextOLEID() {
    Answer(store_.NextOleId());
}

void HostAdapter::GetNextResourceID() {
    Answer(store_.NextResourceId());
}

// ---------------------------------------------------------------------------------------
// The user's side

void HostAdapter::Record(std::string name, std::vector<Variant> args) {
    userEvents_.push_back(UserEvent{std::move(name), std::move(args)});
    if (userEventObserver_) userEventObserver_(userEvents_.back());
}

void HostAdapter::FolderChange(const std::string& folder) {
    Record("FolderChange", {folder});
}

void HostAdapter::ButtonScan() {
    Record("ButtonScan", {});
}

void HostAdapter::SelectTiff(const std::string& resource, std::int32_t pageStart,
                             std::int32_t pageEnd) {
    Record("SelectTiff", {resource, pageStart, pageEnd});
}

void HostAdapter::Busy(bool busy) {
    Record("Busy", {busy});
}

void HostAdapter::Exit() {
    Record("Exit", {});
}

void HostAdapter::AttachOrEmail(const std::string& actionType) {
    Record("AttachOrEmail", {actionType});
}

void HostAdapter::DeleteFolder(std::int32_t item) {
    Record("DeleteFolder", {item});
}

void HostAdapter::SendEmail(const std::string& receiver, const std::string& message,
                            const std::string& ledger, const std::string& account,
                            const std::string& msgType) {
    Record("SendEmail", {receiver, message, ledger, account, msgType});
}

void HostAdapter::OnGetSystemScripts() {
    Record("OnGetSystemScripts", {});
}

void HostAdapter::OnViewFile(const std::string& fileName) {
    Record("OnViewFile", {fileName});
}

void HostAdapter::OnOtherEvent(DISPID id, std::span<const Variant> args) {
    Record(id == kSelectAttachmentEvent ? "SelectAttachment" : "#" + std::to_string(id),
           std::vector<Variant>(args.begin(), args.end()));
}

}  // namespace orbel::host
