#include "src/script/UiThreadBridge.h"

#include <chrono>

#include "platform/Api.h"
#include "platform/Platform.h"

namespace orbel {

namespace {
// The nested loop looks at the job this often on the loop's clock, and each look waits at most
// one slice of wall time for it, so neither loop spins nor does input wait long.
constexpr UINT kTickMs = 10;
constexpr auto kSlice = std::chrono::milliseconds(4);
}  // namespace

bool UiThreadBridge::Running() const {
    const std::lock_guard lock(mutex_);
    return running_;
}

bool UiThreadBridge::JobDone() {
    const std::lock_guard lock(mutex_);
    return jobDone_;
}

bool UiThreadBridge::Call(const std::function<void()>& call) {
    std::unique_lock lock(mutex_);
    if (!running_ || std::this_thread::get_id() == uiThread_) {
        lock.unlock();
        call();
        return true;
    }
    if (stopping_) return false;
    Pending pending{&call, false};
    calls_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(lock, [&] { return pending.done || stopping_; });
    if (!pending.done) {
        // Stopped before the user-interface thread took it: it never runs.
        std::erase(calls_, &pending);
        return false;
    }
    return true;
}

void UiThreadBridge::Serve() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kSlice, [this] { return !calls_.empty() || jobDone_; });
    while (!calls_.empty()) {
        Pending* pending = calls_.front();
        calls_.pop_front();
        lock.unlock();
        (*pending->call)();
        lock.lock();
        pending->done = true;
        changed_.notify_all();
    }
}

void UiThreadBridge::Run(const std::function<void()>& job, ScriptLimit& limit,
                         const std::function<void()>& whileRunning) {
    {
        const std::lock_guard lock(mutex_);
        uiThread_ = std::this_thread::get_id();
        running_ = true;
        jobDone_ = false;
        stopping_ = false;
    }
    std::thread worker([this, &job] {
        job();
        const std::lock_guard lock(mutex_);
        jobDone_ = true;
        changed_.notify_all();
    });

    // The look at the job is a task of the loop; its state outlives this call, as a look may
    // still be queued when a quit ends the wait.
    struct Looks {
        bool finished = false;
        bool abandoned = false;
    };
    auto looks = std::make_shared<Looks>();
    platform::MessageLoop& loop = platform::GetPlatform().Loop();
    std::function<void()> look;
    look = [this, looks, &loop, &look, &whileRunning] {
        if (looks->abandoned) return;
        Serve();
        if (JobDone()) {
            looks->finished = true;
            return;
        }
        if (whileRunning) whileRunning();
        loop.PostDelayedTask(kTickMs, look);
    };
    loop.PostDelayedTask(kTickMs, look);

    while (!looks->finished) {
        MSG msg;
        if (!GetMessage(msg)) {
            looks->abandoned = true;
            limit.Cancel();
            {
                std::unique_lock lock(mutex_);
                stopping_ = true;
                changed_.notify_all();
                changed_.wait(lock, [this] { return jobDone_; });
            }
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    worker.join();
    const std::lock_guard lock(mutex_);
    running_ = false;
}

}  // namespace orbel
