// The pace of the system's loops at a pass rate the player chose.
//
// The design's loops spin: each pass calls DoEvents, and what they count in passes (the caption's
// figure, the alien animation's period) follows the machine's speed. At a rate of N passes a second,
// DoEvents behaves as on a machine that makes N passes a second without spinning: each millisecond
// grants N / 1000 passes (the fraction carried to the next one), and once they are spent DoEvents waits
// for the next millisecond or an event.
//
// The passes are real ones: a millisecond's share runs back to back, then the program sleeps. A pass
// that draws nothing costs a fraction of a microsecond (the platform's events are read by one pass a
// millisecond, Runtime::doEvents), so N / 1000 real passes a millisecond are cheap, and every count of
// the design (the caption's, the animation's, the attacker search's) follows N as it would on such a
// machine, with no change to the code that counts. A millisecond missed by a late
// wake-up or a slow frame still grants its share, up to kCatchUpMs of them; a longer stall (a dragged
// window, a suspended process) is not made up in a burst.
#pragma once

#include <cstdint>

namespace rt {

class PassBudget {
public:
    static constexpr std::uint64_t kCatchUpMs = 20;

    explicit PassBudget(std::uint32_t passesPerSecond);

    // Takes one pass at `nowMs` (monotonic); false when the passes granted so far are spent.
    bool take(std::uint64_t nowMs);
    // Takes one pass whatever is left: an event ended the wait before the millisecond did, and is handled
    // in this pass. It is borrowed from the milliseconds to come (at most one millisecond's share).
    void borrow(std::uint64_t nowMs);

private:
    void grant(std::uint64_t nowMs);

    std::int64_t perMs_;       // thousandths of a pass granted each millisecond: N
    std::int64_t credit_ = 0;  // thousandths of a pass not yet taken; below 0 while borrowing
    std::uint64_t grantedUpTo_ = 0;
    bool started_ = false;
};

}  // namespace rt
