#include "runtime/pass_budget.h"

#include <algorithm>

namespace rt {

namespace {
constexpr std::int64_t kPass = 1000;  // one pass, in thousandths
}

PassBudget::PassBudget(std::uint32_t passesPerSecond) : perMs_(passesPerSecond) {}

std::optional<std::uint64_t> PassBudget::take(std::uint64_t nowMs, std::uint64_t countOnlyBeforeMs) {
    if (!started_) {
        // The first pass starts the first millisecond with its share.
        started_ = true;
        passMs_ = nowMs;
        credit_ = perMs_;
    }
    for (;;) {
        // A pass for an earlier millisecond only where the loop said it only counts; otherwise what is
        // left of it, and the milliseconds since, come at once at the clock's time (past a long stall,
        // only kCatchUpMs milliseconds' worth).
        if (passMs_ < nowMs && !(passMs_ < countOnlyBeforeMs && nowMs - passMs_ <= kCatchUpMs)) {
            credit_ += perMs_ * static_cast<std::int64_t>(std::min(nowMs - passMs_, kCatchUpMs));
            passMs_ = nowMs;
        }
        if (credit_ >= kPass) {
            credit_ -= kPass;
            return passMs_;
        }
        if (nowMs <= passMs_) return std::nullopt;
        ++passMs_;  // a millisecond slept through: its own share
        credit_ += perMs_;
    }
}

std::uint64_t PassBudget::takeOrBorrow(std::uint64_t nowMs, std::uint64_t countOnlyBeforeMs) {
    if (const auto pass = take(nowMs, countOnlyBeforeMs)) return *pass;
    credit_ = std::max(credit_ - kPass, -perMs_);
    return passMs_;
}

}  // namespace rt
