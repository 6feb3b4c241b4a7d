// The pace of the system's loops at a pass rate the player chose.
//
// The design's loops spin: each pass calls DoEvents, and what they count in passes (the caption's
// figure, the alien animation's period) follows the machine's speed. At a rate of N passes a second,
// DoEvents behaves as on a machine that makes N passes a second without spinning: each millisecond
// grants N / 1000 passes (the fraction carried to the next one), and once they are spent DoEvents waits
// for the next millisecond or an event.
//
// Each pass belongs to a millisecond, and the loops read that millisecond as the time. A millisecond's
// share runs back to back, then the program sleeps. When a loop has said that it only counts until a
// given millisecond (its next frame), the program may sleep until then: on waking, the milliseconds
// slept through get their shares first, in order, each pass reading its own millisecond, so the loop
// runs exactly as it would have, only later, while nothing but counting happens. Milliseconds missed
// otherwise (a late wake-up, a slow frame) get their shares at once, at the clock's time, up to
// kCatchUpMs of them: a longer stall (a dragged window, a suspended process) is not made up in a burst.
// A pass that draws nothing costs a fraction of a microsecond, so every count of the design (the
// caption's, the animation's, the attacker search's) follows N as it would on such a machine, with no
// change to the code that counts.
#pragma once

#include <cstdint>
#include <optional>

namespace rt {

class PassBudget {
public:
    static constexpr std::uint64_t kCatchUpMs = 20;

    explicit PassBudget(std::uint32_t passesPerSecond);

    // The next pass at or before `nowMs` (monotonic): the millisecond it belongs to. Milliseconds before
    // `countOnlyBeforeMs` that were slept through come one by one; nothing when the passes granted up to
    // `nowMs` are spent.
    std::optional<std::uint64_t> take(std::uint64_t nowMs, std::uint64_t countOnlyBeforeMs = 0);
    // The next pass after a wait: as take, and when none is left (an event ended the wait before the
    // millisecond did, and is handled in this pass), one at `nowMs` borrowed from the milliseconds to
    // come (at most one millisecond's share).
    std::uint64_t takeOrBorrow(std::uint64_t nowMs, std::uint64_t countOnlyBeforeMs = 0);
    // The pace starts afresh at the next pass (after a pause: the paused time is not made up).
    void restart() { started_ = false; }

private:
    std::int64_t perMs_;        // thousandths of a pass granted each millisecond: N
    std::int64_t credit_ = 0;   // thousandths of a pass not yet taken; below 0 while borrowing
    std::uint64_t passMs_ = 0;  // the millisecond whose share is being taken
    bool started_ = false;
};

}  // namespace rt
