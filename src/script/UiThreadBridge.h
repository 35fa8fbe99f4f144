// Runs a script engine's call on a thread of its own while the user-interface thread goes on
// in a nested loop, as it does while it waits for the host; what the engine asks of the user
// interface (automation objects, message boxes) is carried back to that thread and run there.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "src/script/ScriptLimit.h"

namespace orbel {

class UiThreadBridge {
  public:
    // On the user-interface thread: runs `job` on another thread and returns when it has
    // ended, the loop running meanwhile. When the thread is told to quit, the job is cancelled
    // through `limit` and the quit is left for the loop outside. `whileRunning` is called on
    // this thread now and then until the job ends.
    void Run(const std::function<void()>& job, ScriptLimit& limit,
             const std::function<void()>& whileRunning = {});

    // From the job's thread: runs `call` on the user-interface thread and waits for it. False,
    // with `call` not run, once the job is being stopped. On the user-interface thread itself
    // `call` runs at once.
    bool Call(const std::function<void()>& call);

    bool Running() const;

  private:
    struct Pending {
        const std::function<void()>* call = nullptr;
        bool done = false;
    };
    // Waits up to one slice for a call or the job's end; runs the calls that came.
    void Serve();
    bool JobDone();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending*> calls_;
    std::thread::id uiThread_;
    bool running_ = false;
    bool jobDone_ = false;
    bool stopping_ = false;
};

}  // namespace orbel
