// The demo following the other programs that share its store: the store is watched from the
// moment it is attached, the trees are followed once the demo opens them, and the window asks
// for the changes every few milliseconds.
#include "host/demo/ControlHost.h"

namespace orbel::demo {

void ControlHost::StartFollowing() {
    std::string error;
    std::unique_ptr<host::ChangeWatcher> watcher = store_->WatchChanges(error);
    if (!watcher) {
        // A store in memory has nobody else; anything else is worth saying.
        if (store_->Name() != ":memory:") Log("follow: " + error);
        return;
    }
    follower_ =
        std::make_unique<host::ChangeFollower>(control_.Dispatch(), *store_, std::move(watcher));
    follower_->OnApplied([this](const std::string& line) { Log(line); });
    adapter_->OnSelect([this](const std::string& table, std::int32_t keyNo,
                              const std::string& start, const std::string& end) {
        if (follower_) follower_->Selected(table, keyNo, start, end);
    });
}

int ControlHost::FollowChanges() {
    if (!follower_ || !Idle()) return 0;
    return follower_->Apply();
}

}  // namespace orbel::demo
