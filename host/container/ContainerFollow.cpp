// Following the changes other programs make to a shared store: the container watches its store
// from the moment it opens, applies what others wrote whenever its loop is idle (and, on the
// desktop, every few milliseconds), prints a follow: line for each change applied, and waits
// for changes with the follow command.
#include "host/adapter/ChangeFollower.h"
#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/Platform.h"

namespace orbel::host {

namespace {

// How often the desktop looks for changes between its own events.
constexpr UINT kDesktopPollMs = 50;

}  // namespace

void Container::StartFollowing() {
    if (options_.store != StoreKind::Sqlite && options_.store != StoreKind::Postgres) return;
    std::string error;
    std::unique_ptr<ChangeWatcher> watcher = store_->WatchChanges(error);
    if (!watcher) {
        Print("notice: " + error);
        return;
    }
    follower_ = std::make_unique<ChangeFollower>(dispatch_, *store_, std::move(watcher));
    follower_->OnApplied([this](const std::string& line) { Print(line); });
    adapter_->OnSelect(
        [this](const std::string& table, std::int32_t keyNo, const std::string& start,
               const std::string& end) { follower_->Selected(table, keyNo, start, end); });
    platform_->Loop().AddIdleHandler([this] {
        if (follower_ && depth_ == 0) follower_->Apply();
    });
    if (options_.gui) PollOnDesktop();
}

void Container::PollOnDesktop() {
    platform_->Loop().PostDelayedTask(kDesktopPollMs, [this] {
        if (!follower_ || ended_) return;
        if (depth_ == 0) follower_->Apply();
        PollOnDesktop();
    });
}

// The host knows which trees it opened the control on: Initiate's answer and class.
void Container::NoteInitiate(const std::string& method, std::span<const Variant> args,
                             const Variant& result) {
    if (!follower_) return;
    if (method == "Initiate" && args.size() == 2 && result.Type() == VarType::I4 &&
        result.I4() != -1)
        follower_->Opened(result.I4(), args[1].I4());
    else if (method == "InitiateFolderMaint" || method == "InitiateScriptMaint")
        follower_->Closed();
}

void Container::CmdFollow(std::span<const Token> args) {
    Need(args, 2, 2, "follow TOTAL MS");
    const std::int32_t total = IntegerArg(args[0], "TOTAL");
    const std::int32_t ms = IntegerArg(args[1], "MS");
    if (!follower_) throw ScriptError{"follow needs a store that other programs share"};
    if (!follower_->ApplyWithin(total, ms))
        Fail("follow: " + std::to_string(follower_->Applied()) + " of " + std::to_string(total) +
             " changes applied after " + std::to_string(ms) + " ms");
}

}  // namespace orbel::host
