// The random generator and the clocks that a test scripts: tick count, time of day, pump time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "runtime/bit_cast.h"
#include "runtime/random.h"
#include "runtime_test_support.h"

namespace {

std::vector<float> draws(rt::Random& r, int n) {
    std::vector<float> out;
    for (int i = 0; i < n; ++i) out.push_back(r.next());
    return out;
}

TEST(Random, VisitsEveryOneOf2To24ValuesOncePerPeriod) {
    // A 24-bit state shown as state / 2^24: each draw names the state, so the first repeat of the
    // first draw is the period. A full period also means every value in [0, 1) on the 2^-24 grid.
    rt::Random r;
    const float first = r.next();
    std::uint32_t period = 0;
    float lowest = 1.0f, highest = 0.0f;
    for (std::uint32_t i = 1; i <= (1u << 24); ++i) {
        const float v = r.next();
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
        if (v == first) {
            period = i;
            break;
        }
    }
    EXPECT_EQ(period, 1u << 24);
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_LT(highest, 1.0f);
    EXPECT_EQ(highest, 1.0f - 1.0f / 16777216.0f);
}

TEST(Random, SameSeedSameSequenceDifferentSeedsDiffer) {
    rt::Random a, b, c;
    a.reseed(43200.0);
    b.reseed(43200.0);
    c.reseed(43201.0);
    const auto da = draws(a, 20);
    EXPECT_EQ(da, draws(b, 20));
    EXPECT_NE(da, draws(c, 20));
    // Reseeding restarts the sequence.
    a.reseed(43200.0);
    EXPECT_EQ(da, draws(a, 20));
    // Seeds that differ only in the fraction give different sequences too.
    rt::Random d;
    d.reseed(43200.5);
    EXPECT_NE(da, draws(d, 20));
}

TEST(Random, ScriptedDrawsComeFirstAndLeaveTheGeneratorWhereItWas) {
    rt::Random plain, scripted;
    scripted.queueDraws({0.25f, 0.999f});
    scripted.queueDraw(0.0f);
    EXPECT_EQ(scripted.scriptedLeft(), 3u);
    EXPECT_EQ(scripted.next(), 0.25f);
    EXPECT_EQ(scripted.next(), 0.999f);
    EXPECT_EQ(scripted.next(), 0.0f);
    EXPECT_EQ(scripted.scriptedLeft(), 0u);
    EXPECT_EQ(draws(scripted, 5), draws(plain, 5));
}

class ClockTest : public rttest::RuntimeTest {};

TEST_F(ClockTest, RndAndRandomizeReachTheRuntimeGenerator) {
    runtime.random().queueDraw(0.75f);
    EXPECT_EQ(rt::Rnd(), 0.75f);
    rt::Randomize(100.0);
    const float a = rt::Rnd();
    rt::Randomize(100.0);
    EXPECT_EQ(rt::Rnd(), a);
}

TEST_F(ClockTest, TickCountReadAsSignedTurnsNegativePast2To31AndWrapsTo0) {
    const auto signedTicks = [&] { return rt::bitCast<std::int32_t>(backend.tickCount()); };
    backend.setTickBase(0x7FFFFFFEu);
    EXPECT_EQ(signedTicks(), std::numeric_limits<std::int32_t>::max() - 1);
    backend.advance(1);
    EXPECT_EQ(signedTicks(), std::numeric_limits<std::int32_t>::max());
    backend.advance(1);
    EXPECT_EQ(signedTicks(), std::numeric_limits<std::int32_t>::min());
    EXPECT_LT(signedTicks(), 0);

    backend.setTickBase(0xFFFFFFFFu - 2);  // the base is the reading at clock 0
    EXPECT_EQ(signedTicks(), -3 + 2);
    backend.advance(1);
    EXPECT_EQ(signedTicks(), 0);
    EXPECT_EQ(backend.tickCount(), 0u);
    backend.advance(5);
    EXPECT_EQ(backend.tickCount(), 5u);
    // The timers' clock does not wrap with it.
    EXPECT_EQ(backend.monotonicMs(), 8u);
}

TEST_F(ClockTest, TimeOfDayFollowsTheClockAndWrapsAtMidnight) {
    backend.setTimeOfDay(86399.25);
    EXPECT_FLOAT_EQ(rt::TimeOfDay(), 86399.25f);
    backend.advance(500);
    EXPECT_FLOAT_EQ(rt::TimeOfDay(), 86399.75f);
    backend.advance(1000);
    EXPECT_FLOAT_EQ(rt::TimeOfDay(), 0.75f);
}

TEST_F(ClockTest, EachPumpAdvancesByMsPerPumpAndWaitsJumpToTheNextEvent) {
    backend.msPerPump = 3;
    runtime.doEvents();
    runtime.doEvents();
    EXPECT_EQ(backend.now(), 6u);
    EXPECT_EQ(backend.pumps(), 2u);
    // A wait with nothing pending jumps to its deadline, or to an earlier scripted event.
    backend.waitForEvent(100);
    EXPECT_EQ(backend.now(), 100u);
    backend.postAt(150, rt::Event{rt::EventType::Expose, 99});
    backend.waitForEvent(400);
    EXPECT_EQ(backend.now(), 150u);
    // A wait with an event pending returns at once.
    backend.waitForEvent(1000);
    EXPECT_EQ(backend.now(), 150u);
    // Waiting forever for nothing is reported, not hung.
    runtime.doEvents();
    EXPECT_THROW(backend.waitForEvent(rt::kWaitForever), headless::Stalled);
}

TEST_F(ClockTest, APassRateGivesEachMillisecondItsShareOfPassesThenWaitsForTheNext) {
    rttest::TestForm form(runtime);
    std::vector<std::uint64_t> keysAt;
    form.onKeyDown = [&](int) { keysAt.push_back(backend.now()); };
    form.Show();
    backend.msPerPump = 0;  // only the waits move the clock
    auto passTimes = [&](int passes) {
        std::vector<std::uint64_t> at;
        for (int i = 0; i < passes; ++i) {
            runtime.doEvents();
            at.push_back(backend.now());
        }
        return at;
    };
    // 2.5 passes a millisecond: 2, then 3, the half carried over.
    runtime.setPassRate(2'500);
    EXPECT_EQ(passTimes(10), (std::vector<std::uint64_t>{0, 0, 1, 1, 1, 2, 2, 3, 3, 3}));
    // A key during a spent millisecond ends the wait and is handled at once; its pass is taken from the
    // next millisecond's share.
    backend.keyDown(form.window(), rt::vbKeyLeft);
    EXPECT_EQ(passTimes(4), (std::vector<std::uint64_t>{3, 4, 5, 5}));
    EXPECT_EQ(keysAt, (std::vector<std::uint64_t>{3}));
    // After a long stall only 20 ms of passes are made up (50, and the one left over), not the whole stall.
    backend.advance(1000);
    const auto after = passTimes(60);
    EXPECT_EQ(std::count(after.begin(), after.end(), 1005u), 51);
    // max: the busy loop, which never waits.
    runtime.setPassRate(0);
    EXPECT_EQ(passTimes(3), (std::vector<std::uint64_t>{after.back(), after.back(), after.back()}));
}

// A loop that says it only counts until its next frame is slept through: one wait, then the passes of
// the milliseconds slept through, each reading its own millisecond, in order; a key wakes it at once and
// is handled by the first pass after the wait; a stale word (a time already past) changes nothing.
TEST_F(ClockTest, APassRateSleepsThroughTheMillisecondsALoopOnlyCountsIn) {
    rttest::TestForm form(runtime);
    std::vector<std::uint32_t> keysRead;
    form.onKeyDown = [&](int) { keysRead.push_back(static_cast<std::uint32_t>(rt::GetTickCount().value())); };
    form.Show();
    backend.msPerPump = 0;
    runtime.setPassRate(2'000);  // two passes a millisecond
    runtime.doEvents();
    const std::uint64_t start = backend.now();
    const auto tick = [] { return static_cast<std::uint32_t>(rt::GetTickCount().value()); };
    const std::uint32_t startTick = tick();
    struct Pass {
        std::uint64_t clock;
        std::uint32_t read;
    };
    auto passes = [&](int n) {
        std::vector<Pass> out;
        for (int i = 0; i < n; ++i) {
            runtime.doEvents();
            out.push_back({backend.now() - start, tick() - startTick});
        }
        return out;
    };
    rt::NothingDueFor(11);
    const auto slept = passes(23);
    // The one pass left of the first millisecond, then the clock jumps to the 11th: the passes of
    // milliseconds 1 to 10 are made there, reading 1, 1, 2, 2... 10, 10, then the 11th's own.
    EXPECT_EQ(slept[0].clock, 0u);
    for (int i = 1; i < 23; ++i) {
        EXPECT_EQ(slept[i].clock, 11u) << i;
        EXPECT_EQ(slept[i].read, static_cast<std::uint32_t>((i + 1) / 2)) << i;
    }
    // A key 4 ms into the next sleep: the wait ends there, and the first pass after it (made for
    // millisecond 12) handles it; the passes of 12 to 14 follow, then the 15th's own.
    rt::NothingDueFor(11);
    rt::Event key{rt::EventType::KeyDown, form.window()};
    key.key = rt::vbKeyLeft;
    backend.postAt(start + 15, key);
    const auto woken = passes(8);
    EXPECT_EQ(keysRead, (std::vector<std::uint32_t>{startTick + 12}));
    EXPECT_EQ(woken.front().clock, 15u);
    EXPECT_EQ(woken.back().clock, 15u);
    EXPECT_EQ(woken.back().read, 15u);
    // Said too late to matter (its time has passed): one millisecond at a time again.
    rt::NothingDueFor(0);
    const auto plain = passes(4);
    EXPECT_EQ(plain.back().clock, plain.back().read);
    EXPECT_LE(plain.back().clock, 17u);
    // The clock goes on while a sleep's passes are made (a millisecond a pass here): what the passes
    // read never goes back, not even behind a reading that saw the clock's own time.
    backend.msPerPump = 1;
    rt::NothingDueFor(11);
    std::uint32_t latest = tick() - startTick;
    for (const Pass& pass : passes(40)) {
        EXPECT_GE(pass.read, latest) << "at " << pass.clock;
        latest = std::max(latest, pass.read);
    }
}

TEST_F(ClockTest, ScheduledEventsArriveWhenDueAndNotBefore) {
    rttest::TestForm form(runtime);
    std::vector<int> keys;
    form.onKeyDown = [&](int k) { keys.push_back(k); };
    form.Show();
    rt::Event key{rt::EventType::KeyDown, form.window()};
    key.key = rt::vbKeyLeft;
    backend.postAt(50, key);
    key.key = rt::vbKeyRight;
    backend.postAt(20, key);
    pumpAt(19);
    EXPECT_TRUE(keys.empty());
    pumpAt(20);
    EXPECT_EQ(keys, (std::vector<int>{rt::vbKeyRight}));
    pumpAt(60);
    EXPECT_EQ(keys, (std::vector<int>{rt::vbKeyRight, rt::vbKeyLeft}));
}

}  // namespace
