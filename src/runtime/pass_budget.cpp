#include "runtime/pass_budget.h"

#include <algorithm>

namespace rt {

namespace {
constexpr std::int64_t kPass = 1000;  // one pass, in thousandths
}

PassBudget::PassBudget(std::uint32_t passesPerSecond) : perMs_(passesPerSecond) {}

void PassBudget::grant(std::uint64_t nowMs) {
    if (!started_) {
        // The first pass starts the first millisecond with its share.
        started_ = true;
        grantedUpTo_ = nowMs;
        credit_ = perMs_;
        return;
    }
    if (nowMs <= grantedUpTo_) return;
    const auto elapsed = static_cast<std::int64_t>(std::min(nowMs - grantedUpTo_, kCatchUpMs));
    grantedUpTo_ = nowMs;
    credit_ += perMs_ * elapsed;
}

bool PassBudget::take(std::uint64_t nowMs) {
    grant(nowMs);
    if (credit_ < kPass) return false;
    credit_ -= kPass;
    return true;
}

void PassBudget::borrow(std::uint64_t nowMs) {
    grant(nowMs);
    credit_ = std::max(credit_ - kPass, -perMs_);
}

}  // namespace rt
