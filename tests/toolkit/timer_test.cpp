#include "tests/support/toolkit_env.h"

#include "toolkit/timer.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

TEST(Timer, TicksWhileEnabledWithAnInterval) {
    TForm form(Application);
    auto* timer = new TTimer(&form);
    int ticks = 0;
    timer->SetInterval(5);
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer);
        if (++ticks == 3) timer->SetEnabled(false);
    };
    EXPECT_TRUE(PumpUntil([&] { return ticks == 3; }));
    Pump();
    EXPECT_EQ(ticks, 3);
    // Interval 0 keeps it enabled but silent.
    timer->SetInterval(0);
    timer->SetEnabled(true);
    EXPECT_TRUE(timer->Enabled());
    Sleep(30);
    Pump();
    EXPECT_EQ(ticks, 3);
    timer->SetInterval(5);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 3; }));
}

TEST(Timer, AFormsTimerStartsOnlyOnceTheFormIsLoaded) {
    int ticks = 0;
    TForm form(Application);
    form.BeginLoading();
    auto* timer = new TTimer(&form);
    timer->SetInterval(5);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    Sleep(30);
    Pump();
    EXPECT_EQ(ticks, 0);
    form.EndLoading();
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
}

TEST(Timer, FreedTimersTickNoMore) {
    int ticks = 0;
    {
        TForm form(Application);
        auto* timer = new TTimer(&form);
        timer->SetInterval(1);
        timer->OnTimer = [&](TObject*) { ++ticks; };
    }
    Sleep(30);
    Pump();
    EXPECT_EQ(ticks, 0);
}
