#include "platform/CrossThread.h"

#include <mutex>
#include <vector>

#include "platform/Platform.h"

namespace orbel::platform {

namespace {

struct Inbox {
    std::mutex mutex;
    std::vector<std::function<void()>> tasks;
    std::function<void()> wake;
};

Inbox& TheInbox() {
    static Inbox inbox;
    return inbox;
}

}  // namespace

void PostFromAnyThread(std::function<void()> fn) {
    Inbox& inbox = TheInbox();
    std::function<void()> wake;
    {
        std::lock_guard lock(inbox.mutex);
        inbox.tasks.push_back(std::move(fn));
        wake = inbox.wake;
    }
    if (wake) wake();
}

void TakeCrossThreadTasks() {
    Inbox& inbox = TheInbox();
    std::vector<std::function<void()>> tasks;
    {
        std::lock_guard lock(inbox.mutex);
        tasks.swap(inbox.tasks);
    }
    if (tasks.empty() || !HasPlatform()) return;
    for (auto& task : tasks) GetPlatform().Loop().PostTask(std::move(task));
}

void SetCrossThreadWaker(std::function<void()> wake) {
    std::lock_guard lock(TheInbox().mutex);
    TheInbox().wake = std::move(wake);
}

}  // namespace orbel::platform
