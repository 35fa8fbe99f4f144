// Work another thread hands to the user-interface thread: a component whose program calls it
// back on a thread of its own (a connection's reader) passes what it learnt on from there.
// The desktop backend wakes its loop for it; the headless loop runs what came each time a
// message is asked for.
#pragma once

#include <functional>

namespace orbel::platform {

// From any thread: `fn` is to run on the user-interface thread, as a task of its loop.
void PostFromAnyThread(std::function<void()> fn);

// On the user-interface thread: posts what other threads handed over as tasks of the loop.
void TakeCrossThreadTasks();

// The backend's way to wake its loop from another thread; called after each hand-over.
void SetCrossThreadWaker(std::function<void()> wake);

}  // namespace orbel::platform
