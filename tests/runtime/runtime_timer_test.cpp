// Timers: ticks at their interval, inside DoEvents; a tick due while the same timer's handler runs
// is dropped; switching on a running timer keeps its rhythm; timers of unloaded forms are silent.
#include <gtest/gtest.h>

#include <vector>

#include "runtime_test_support.h"

namespace {

using rttest::TestForm;

class TimerTest : public rttest::RuntimeTest {
protected:
    TestForm form{runtime};
    rt::Timer ready{form, {"tmrReady", 1000, true}};
    rt::Timer fps{form, {"tmrFPS", 300, false}};
    std::vector<std::uint64_t> readyTicks;
    std::vector<std::uint64_t> fpsTicks;

    TimerTest() {
        ready.onTick = [this] { readyTicks.push_back(backend.now()); };
        fps.onTick = [this] { fpsTicks.push_back(backend.now()); };
    }
};

TEST_F(TimerTest, TicksOncePerIntervalCountedFromLoad) {
    backend.advance(250);
    form.Show();  // counting starts here, at 250
    pumpAt(1249);
    EXPECT_TRUE(readyTicks.empty());
    pumpAt(1250);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{1250}));
    pumpAt(1251);
    pumpAt(2249);
    EXPECT_EQ(readyTicks.size(), 1u);
    pumpAt(2250);
    EXPECT_EQ(readyTicks.size(), 2u);
    // Ticks missed while nobody pumped are not made up, and the rhythm is kept.
    pumpAt(5700);
    EXPECT_EQ(readyTicks.size(), 3u);
    pumpAt(6249);
    EXPECT_EQ(readyTicks.size(), 3u);
    pumpAt(6250);
    EXPECT_EQ(readyTicks.size(), 4u);
    EXPECT_TRUE(fpsTicks.empty()) << "a disabled timer never ticks";
}

TEST_F(TimerTest, TickDueWhileItsHandlerRunsIsDroppedNotQueuedNorNested) {
    int depth = 0, deepest = 0;
    ready.onTick = [&] {
        readyTicks.push_back(backend.now());
        ++depth;
        deepest = std::max(deepest, depth);
        if (readyTicks.size() == 1) {
            // A loop inside the handler that keeps pumping while time passes, 1000 -> 3500.
            for (int step = 0; step < 25; ++step) {
                backend.advance(100);
                rt::DoEvents();
            }
        }
        --depth;
    };
    form.Show();
    fps.setEnabled(true);  // from 0: ticks at 300, 600, ...
    for (const std::uint64_t t : {300, 600, 900, 1000}) pumpAt(t);
    EXPECT_EQ(backend.now(), 3500u);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{1000}));
    EXPECT_EQ(deepest, 1);
    // The other timer kept ticking inside the handler.
    EXPECT_EQ(fpsTicks, (std::vector<std::uint64_t>{300, 600, 900, 1200, 1500, 1800, 2100, 2400, 2700, 3000, 3300}));
    // Nothing was queued for after the handler: the next tick keeps the 1000 ms rhythm.
    pumpAt(3500);
    pumpAt(3999);
    EXPECT_EQ(readyTicks.size(), 1u);
    pumpAt(4000);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{1000, 4000}));
}

TEST_F(TimerTest, SwitchingOnARunningTimerDoesNotRestartIt) {
    form.Show();
    pumpAt(600);
    ready.setEnabled(true);
    pumpAt(1000);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{1000}));
    // Switching it on from inside its own handler, as a pause does, keeps the rhythm too.
    ready.onTick = [&] {
        readyTicks.push_back(backend.now());
        ready.setEnabled(true);
    };
    pumpAt(2000);
    pumpAt(2999);
    EXPECT_EQ(readyTicks.size(), 2u);
    pumpAt(3000);
    EXPECT_EQ(readyTicks.size(), 3u);
}

TEST_F(TimerTest, SwitchingOffAndOnStartsANewInterval) {
    form.Show();
    pumpAt(600);
    ready.setEnabled(false);
    EXPECT_FALSE(ready.Enabled());
    pumpAt(1000);
    EXPECT_TRUE(readyTicks.empty());
    ready.setEnabled(true);
    pumpAt(1999);
    EXPECT_TRUE(readyTicks.empty());
    pumpAt(2000);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{2000}));
}

TEST_F(TimerTest, TimersOfAnUnloadedFormDoNotTickAndRestartOnReload) {
    form.Show();
    pumpAt(500);
    form.Unload();
    pumpAt(1000);
    pumpAt(5000);
    EXPECT_TRUE(readyTicks.empty());
    form.Show();  // reloaded at 5000: stored layout, counting from now
    pumpAt(5999);
    EXPECT_TRUE(readyTicks.empty());
    pumpAt(6000);
    EXPECT_EQ(readyTicks, (std::vector<std::uint64_t>{6000}));
}

TEST_F(TimerTest, ReloadRestoresTheStoredEnabledState) {
    form.Show();
    ready.setEnabled(false);
    fps.setEnabled(true);
    form.Unload();
    form.Show();
    EXPECT_TRUE(ready.Enabled());
    EXPECT_FALSE(fps.Enabled());
}

TEST_F(TimerTest, HandlerThatUnloadsItsFormStopsTheFormsOtherTimers) {
    rt::Timer late{form, {"tmrLate", 1000, true}};
    int lateTicks = 0;
    late.onTick = [&] { ++lateTicks; };
    ready.onTick = [&] { form.Unload(); };
    form.Show();
    pumpAt(1000);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(lateTicks, 0);
}

TEST_F(TimerTest, ZeroIntervalNeverTicks) {
    rt::Timer zero{form, {"tmrZero", 0, true}};
    int ticks = 0;
    zero.onTick = [&] { ++ticks; };
    form.Show();
    pumpAt(0);
    pumpAt(10000);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
