#include "tray/simple_timer.h"

#include "tests/support/windows_walk.h"

#include <gtest/gtest.h>

#include <memory>

using qh::TSimpleTimer;
using qh::TSimpleTimerHandler;
using qh::test::PumpFor;
using qh::test::PumpUntil;

TEST(SimpleTimer, SharedWindowLivesFromFirstToLastTimer) {
    ASSERT_EQ(TSimpleTimerHandler::Instance(), nullptr);
    {
        TSimpleTimer first;
        ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
        HWND window = TSimpleTimerHandler::Instance()->Window();
        EXPECT_TRUE(IsWindow(window));
        {
            TSimpleTimer second;
            EXPECT_EQ(TSimpleTimerHandler::Instance()->Window(), window);
            EXPECT_EQ(TSimpleTimerHandler::Instance()->TimerCount(), 2);
            EXPECT_NE(first.Identifier(), second.Identifier());
        }
        EXPECT_EQ(TSimpleTimerHandler::Instance()->TimerCount(), 1);
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
}

TEST(SimpleTimer, DefaultsAndZeroInterval) {
    TSimpleTimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.AutoDisable());

    timer.SetInterval(0);
    EXPECT_FALSE(timer.StartTimer());
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
}

TEST(SimpleTimer, TicksThroughTheMessageLoopWithItselfAsSender) {
    int ticks = 0;
    TSimpleTimer* seen = nullptr;
    TSimpleTimer timer(10, [&](TSimpleTimer& sender) {
        ++ticks;
        seen = &sender;
    });
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 1);
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(seen, &timer);
    EXPECT_TRUE(timer.Enabled());

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
}

TEST(SimpleTimer, AutoDisableFiresOnce) {
    int ticks = 0;
    TSimpleTimer timer(10, [&](TSimpleTimer&) { ++ticks; });
    timer.SetAutoDisable(true);
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    // A few more turns of the loop bring no second tick.
    PumpFor(100);
    EXPECT_EQ(ticks, 1);
}

TEST(SimpleTimer, IntervalChangesWhileEnabled) {
    TSimpleTimer timer(5000, [](TSimpleTimer&) {});
    timer.SetEnabled(true);
    ASSERT_TRUE(timer.Running());

    // Zero stops the window timer but the timer stays enabled.
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);

    // A non-zero value starts it again, counted once.
    timer.SetInterval(4000);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(3000);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 1);
}

TEST(SimpleTimer, RemovingTheHandlerStopsTheWindowTimerOnly) {
    int ticks = 0;
    TSimpleTimer timer(10, [&](TSimpleTimer&) { ++ticks; });
    timer.SetEnabled(true);
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    PumpFor(60);
    EXPECT_EQ(ticks, 0);
}

TEST(SimpleTimer, QueuedTickOfAFreedTimerIsIgnored) {
    TSimpleTimer keeper; // keeps the shared window alive
    int ticks = 0;
    auto doomed = std::make_unique<TSimpleTimer>(10, [&](TSimpleTimer&) { ++ticks; });
    UINT_PTR identifier = doomed->Identifier();
    doomed.reset();
    PostMessageW(TSimpleTimerHandler::Instance()->Window(), WM_TIMER, identifier, 0);
    qh::test::Pump();
    EXPECT_EQ(ticks, 0);
}

TEST(SimpleTimer, HandlerMayFreeItsOwnTimer) {
    TSimpleTimer keeper;
    auto timer = std::make_unique<TSimpleTimer>();
    bool fired = false;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TSimpleTimer&) {
        fired = true;
        timer.reset();
    });
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return fired; }));
    EXPECT_EQ(timer, nullptr);
    EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
}
