#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::HeadlessLoop;

TEST(HeadlessLoop, QueuedMessagesComeBeforeTimersAndTheClockJumpsToTheNextTimer) {
    HeadlessLoop loop;
    HWND w{7};
    loop.SetTimer(w, 103, 10000);
    loop.PostMessage(w, WM_USER, 1, 2);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_EQ(loop.Now(), 0u);
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 103u);
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(loop.Now(), 10000u);
    // A window timer repeats until it is killed.
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(loop.Now(), 20000u);
    EXPECT_TRUE(loop.KillTimer(w, 103));
    EXPECT_FALSE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(loop.LastQuitWasPosted());
}

TEST(HeadlessLoop, SettingATimerAgainRestartsItFromNow) {
    HeadlessLoop loop;
    HWND w{7};
    loop.SetTimer(w, 1, 500);
    loop.PostDelayedTask(400, [] {});
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));  // the task at 400
    loop.SetTimer(w, 1, 500);
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(loop.Now(), 900u);
}

TEST(HeadlessLoop, TimerIntervalsAreKeptWithinThePlatformBounds) {
    HeadlessLoop loop;
    loop.SetTimer(HWND{1}, 1, 0);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(loop.Now(), platform::kTimerMinimum);
    loop.KillTimer(HWND{1}, 1);
    // A negative time-out handed over as UINT is the longest interval, not a busy loop.
    loop.SetTimer(HWND{1}, 2, static_cast<UINT>(-500));
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(loop.Now(), platform::kTimerMinimum + platform::kTimerMaximum);
}

TEST(HeadlessLoop, APostedQuitEndsTheLoopAfterTheQueuedMessages) {
    HeadlessLoop loop;
    loop.PostQuitMessage(3);
    loop.PostMessage(HWND{1}, WM_USER, 0, 0);
    loop.SetTimer(HWND{1}, 1, 100);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_FALSE(loop.GetMessage(msg));
    EXPECT_TRUE(loop.LastQuitWasPosted());
    EXPECT_EQ(msg.wParam, 3u);
    // The quit is taken once; the timer is still there.
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_TIMER);
}

TEST(HeadlessLoop, KillingATimerDropsItsQueuedTimerMessage) {
    HeadlessLoop loop;
    loop.PostMessage(HWND{1}, WM_TIMER, 5, 0);
    loop.SetTimer(HWND{1}, 5, 100);
    loop.KillTimer(HWND{1}, 5);
    MSG msg;
    EXPECT_FALSE(loop.GetMessage(msg));
}

TEST(HeadlessLoop, KillingATimerDropsOnlyTheTicksWaitingBeforeTheKill) {
    HeadlessLoop loop;
    loop.PostMessage(HWND{1}, WM_TIMER, 5, 0);
    loop.PostMessage(HWND{1}, WM_TIMER, 6, 0);
    loop.PostMessage(HWND{1}, WM_TIMER, 5, 0);
    loop.PostMessage(HWND{2}, WM_TIMER, 5, 0);
    loop.SetTimer(HWND{1}, 5, 100);
    loop.KillTimer(HWND{1}, 5);
    // Set again: a tick posted now is the new timer's and arrives; the stale ones still do not.
    loop.SetTimer(HWND{1}, 5, 100);
    loop.PostMessage(HWND{1}, WM_TIMER, 5, 0);
    std::vector<std::pair<std::uint32_t, UINT_PTR>> got;
    MSG msg;
    while (got.size() < 3 && loop.GetMessage(msg)) got.emplace_back(msg.hwnd.value, msg.wParam);
    EXPECT_EQ(got, (std::vector<std::pair<std::uint32_t, UINT_PTR>>{{1, 6}, {2, 5}, {1, 5}}));
    EXPECT_EQ(loop.Now(), 0u);  // all three came from the queue, none from the clock
    loop.KillTimer(HWND{1}, 5);
    EXPECT_TRUE(loop.Idle());
}

TEST(HeadlessLoop, AQueueHoldingOnlyKilledTicksIsIdle) {
    HeadlessLoop loop;
    loop.SetTimer(HWND{1}, 5, 100);
    loop.PostMessage(HWND{1}, WM_TIMER, 5, 0);
    loop.KillTimer(HWND{1}, 5);
    EXPECT_TRUE(loop.Idle());
    MSG msg;
    EXPECT_FALSE(loop.GetMessage(msg));
}

TEST(HeadlessLoop, HooksSeeAndMayRewriteEveryMessageTaken) {
    HeadlessLoop loop;
    int seen = 0;
    auto h = loop.SetGetMessageHook([&](MSG& m) {
        ++seen;
        if (m.message == WM_KEYDOWN) m.message = WM_NULL;
    });
    loop.PostMessage(HWND{1}, WM_KEYDOWN, VK_ESCAPE, 0);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_NULL);
    EXPECT_TRUE(loop.UnhookGetMessageHook(h));
    loop.PostMessage(HWND{1}, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(seen, 1);
}

TEST(HeadlessLoop, IdleHandlersRunOnceWhenTheQueueRunsEmptyBeforeTheClockMoves) {
    HeadlessLoop loop;
    std::vector<std::string> order;
    loop.AddIdleHandler([&] { order.push_back("first@" + std::to_string(loop.Now())); });
    loop.AddIdleHandler([&] { order.push_back("second"); });
    loop.PostMessage(HWND{1}, WM_USER, 0, 0);
    loop.PostDelayedTask(100, [] {});
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));  // queued: no idle yet
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(loop.GetMessage(msg));  // the queue ran empty: idle, then the delayed task
    EXPECT_EQ(order, (std::vector<std::string>{"first@0", "second"}));
    EXPECT_EQ(loop.Now(), 100u);
    // The task was delivered, so the next empty queue is a new idle moment; after it nothing
    // is left, and asking again does not run the handlers again.
    EXPECT_FALSE(loop.GetMessage(msg));
    EXPECT_EQ(order.size(), 4u);
    EXPECT_FALSE(loop.GetMessage(msg));
    EXPECT_EQ(order.size(), 4u);
}

TEST(HeadlessLoop, WhatAnIdleHandlerPostsIsDeliveredBeforeTimers) {
    HeadlessLoop loop;
    int idles = 0;
    loop.AddIdleHandler([&] {
        if (++idles == 1) loop.PostMessage(HWND{2}, WM_USER + 1, 0, 0);
    });
    loop.SetTimer(HWND{1}, 7, 50);
    MSG msg;
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(loop.Now(), 0u);
    ASSERT_TRUE(loop.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(idles, 2);
}

TEST(HeadlessLoop, AnIdleHandlerMayRemoveItselfAndOthers) {
    HeadlessLoop loop;
    std::vector<int> ran;
    platform::HookHandle second = 0;
    platform::HookHandle first = loop.AddIdleHandler([&] {
        ran.push_back(1);
        loop.RemoveIdleHandler(first);
        loop.RemoveIdleHandler(second);
    });
    second = loop.AddIdleHandler([&] { ran.push_back(2); });
    loop.AddIdleHandler([&] { ran.push_back(3); });
    loop.RunIdleHandlers();
    loop.RunIdleHandlers();
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 3}));
    EXPECT_FALSE(loop.RemoveIdleHandler(first));
}

class HeadlessPlatformTest : public test::HeadlessTest {};

TEST_F(HeadlessPlatformTest, TasksRunInOrderAndDelayedTasksAtTheirTime) {
    std::vector<std::string> order;
    P().Loop().PostDelayedTask(
        50, [&] { order.push_back("late@" + std::to_string(P().Loop().Now())); });
    P().Loop().PostTask([&] { order.push_back("first"); });
    P().Loop().PostTask([&] {
        order.push_back("second");
        P().Loop().PostTask([&] { order.push_back("posted from a task"); });
    });
    EXPECT_EQ(P().RunUntilIdle(), 4);
    EXPECT_EQ(order,
              (std::vector<std::string>{"first", "second", "posted from a task", "late@50"}));
}

TEST_F(HeadlessPlatformTest, RunTasksLetGoOfWhatTheyHeldAndLaterTasksStillRunInTurn) {
    auto& loop = P().Loop();
    auto held = std::make_shared<int>(0);
    std::vector<int> order;
    std::vector<int> expected;
    // More tasks waiting at once than the loop keeps places for, one of them swallowed by a
    // hook: it never runs and keeps what it holds.
    for (int n = 0; n < 40; ++n) loop.PostTask([&order, held, n] { order.push_back(n); });
    int taken = 0;
    const platform::HookHandle hook = loop.SetGetMessageHook([&](MSG& m) {
        if (m.message == platform::WM_ORBEL_TASK && ++taken == 21) m.message = WM_NULL;
    });
    P().RunUntilIdle();
    loop.UnhookGetMessageHook(hook);
    for (int n = 0; n < 40; ++n)
        if (n != 20) expected.push_back(n);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(held.use_count(), 2);

    // A chain as a host answering row by row posts it: each task posts the next.
    std::function<void(int)> chain = [&](int n) {
        loop.PostTask([&, held, n] {
            order.push_back(n);
            if (n < 199) chain(n + 1);
        });
    };
    chain(100);
    loop.PostDelayedTask(5, [&order, held] { order.push_back(-1); });
    P().RunUntilIdle();
    for (int n = 100; n < 200; ++n) expected.push_back(n);
    expected.push_back(-1);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(held.use_count(), 2);
}

TEST_F(HeadlessPlatformTest, RunForStopsAtItsDeadlineWithoutFiringLaterTimers) {
    int fired = 0;
    P().Loop().PostDelayedTask(300, [&] { ++fired; });
    P().Loop().PostDelayedTask(700, [&] { ++fired; });
    P().RunFor(500);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(P().Loop().Now(), 500u);
    P().RunFor(500);
    EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace orbel
