// The message loop on both backends: what is delivered, in which order, and when.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/CrossThread.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

// Writes each message a window gets as a line.
class Recorder : public platform::WindowProcedure {
  public:
    std::vector<std::string> lines;
    LRESULT WindowProc(HWND, UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_USER || message == WM_TIMER)
            lines.push_back((message == WM_TIMER ? "timer " : "user ") + std::to_string(wParam));
        return 0;
    }
};

template <class B>
class LoopConformance : public ConformanceTest<B> {};
TYPED_TEST_SUITE(LoopConformance, Backends, BackendNames);

TYPED_TEST(LoopConformance, PostedMessagesAndTasksArriveInTheOrderTheyWerePosted) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    loop.PostMessage(w, WM_USER, 1, 0);
    loop.PostTask([&] { rec.lines.push_back("task"); });
    loop.PostMessage(w, WM_USER, 2, 0);
    // A message to a window that is gone is dropped quietly.
    loop.PostMessage(HWND{0x7777}, WM_USER, 3, 0);
    this->Pump();
    EXPECT_EQ(rec.lines, (std::vector<std::string>{"user 1", "task", "user 2"}));
}

TYPED_TEST(LoopConformance, WorkHandedOverFromAnotherThreadRunsOnTheLoopsOwnThread) {
    const std::thread::id loopThread = std::this_thread::get_id();
    std::vector<bool> onLoopThread;
    std::thread other([&] {
        for (int i = 0; i < 2; ++i)
            platform::PostFromAnyThread(
                [&] { onLoopThread.push_back(std::this_thread::get_id() == loopThread); });
    });
    other.join();
    for (int i = 0; i < 50 && onLoopThread.size() < 2; ++i) this->RunFor(10);
    EXPECT_EQ(onLoopThread, (std::vector<bool>{true, true}));
}

TYPED_TEST(LoopConformance, TimersRepeatUntilKilledAndDelayedTasksWaitTheirTime) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    bool ran = false;
    loop.PostDelayedTask(60, [&] { ran = true; });
    EXPECT_EQ(loop.SetTimer(w, 7, 20), 7u);
    EXPECT_EQ(loop.SetTimer(w, 0, 20), 0u);  // no timer without an ID
    const std::uint64_t start = loop.Now();
    this->Pump();
    EXPECT_FALSE(ran);
    this->RunFor(100);
    EXPECT_TRUE(ran);
    EXPECT_GE(loop.Now() - start, 60u);
    // Ticks of one timer never pile up: at most one WM_TIMER waits at a time, and a 20 ms
    // timer ticks at most five times in 100 ms.
    const auto ticks = rec.lines.size();
    EXPECT_GE(ticks, 2u);
    EXPECT_LE(ticks, 6u);
    for (const auto& line : rec.lines) EXPECT_EQ(line, "timer 7");
    EXPECT_TRUE(loop.KillTimer(w, 7));
    EXPECT_FALSE(loop.KillTimer(w, 7));
    rec.lines.clear();
    this->RunFor(50);
    EXPECT_TRUE(rec.lines.empty());
}

TYPED_TEST(LoopConformance, OnlyABackendReportingAVirtualClockWaitsWithoutTime) {
    auto& p = this->P();
    const std::uint64_t start = p.Loop().Now();
    const auto wallStart = std::chrono::steady_clock::now();
    this->RunFor(300);
    const auto wall = std::chrono::steady_clock::now() - wallStart;
    EXPECT_GE(p.Loop().Now() - start, 300u);
    if (p.HasFeature(platform::Feature::VirtualClock))
        EXPECT_LT(wall, std::chrono::milliseconds(250));
    else
        EXPECT_GE(wall, std::chrono::milliseconds(250));
    // The suite's user is a script on both backends.
    EXPECT_FALSE(p.HasFeature(platform::Feature::PersonAnswers));
    EXPECT_EQ(p.HasFeature(platform::Feature::Screen), this->IsQt());
}

TYPED_TEST(LoopConformance, KillingATimerDropsTheTickAlreadyWaiting) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    loop.SetTimer(w, 5, 10);
    // Let it tick without delivering: the queue holds its message now (headless: when taken).
    loop.PostMessage(w, WM_TIMER, 5, 0);
    EXPECT_TRUE(loop.KillTimer(w, 5));
    this->RunFor(40);
    EXPECT_TRUE(rec.lines.empty());
}

TYPED_TEST(LoopConformance, HooksSeeTakenMessagesAndAConsumedOneDoesNothing) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    std::vector<UINT> seen;
    auto hook = loop.SetGetMessageHook([&](MSG& m) {
        if (m.message != WM_USER) return;
        seen.push_back(static_cast<UINT>(m.wParam));
        if (m.wParam == 2) m.message = WM_NULL;
    });
    loop.PostMessage(w, WM_USER, 1, 0);
    loop.PostMessage(w, WM_USER, 2, 0);
    this->Pump();
    EXPECT_EQ(rec.lines, (std::vector<std::string>{"user 1"}));
    EXPECT_EQ(seen, (std::vector<UINT>{1, 2}));
    EXPECT_TRUE(loop.UnhookGetMessageHook(hook));
    EXPECT_FALSE(loop.UnhookGetMessageHook(hook));
    loop.PostMessage(w, WM_USER, 2, 0);
    this->Pump();
    EXPECT_EQ(rec.lines.back(), "user 2");
}

TYPED_TEST(LoopConformance, IdleHandlersRunWhenTheQueueRunsEmpty) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    int idle = 0;
    std::size_t deliveredAtIdle = 0;
    auto handle = loop.AddIdleHandler([&] {
        ++idle;
        deliveredAtIdle = rec.lines.size();
    });
    loop.PostMessage(w, WM_USER, 1, 0);
    loop.PostMessage(w, WM_USER, 2, 0);
    loop.PostDelayedTask(30, [] {});
    this->RunFor(60);
    EXPECT_GE(idle, 1);
    EXPECT_EQ(deliveredAtIdle, 2u);  // after the queued messages, never between them
    EXPECT_TRUE(loop.RemoveIdleHandler(handle));
    EXPECT_FALSE(loop.RemoveIdleHandler(handle));
}

TYPED_TEST(LoopConformance, APostedQuitEndsGetMessageAfterTheQueuedMessagesWithItsCode) {
    Recorder rec;
    HWND w = this->MakeTopWindow(RECT{0, 0, 100, 100}, &rec);
    auto& loop = this->P().Loop();
    loop.PostMessage(w, WM_USER, 1, 0);
    loop.PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_FALSE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace orbel::test
