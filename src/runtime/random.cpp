#include "runtime/random.h"

#include <cstring>

#include "runtime/bit_cast.h"

namespace rt {

namespace {
constexpr std::uint32_t kMask = 0xFFFFFFu;
constexpr std::uint32_t kMultiplier = 0x2C92779u;  // multiplier % 4 == 1 and an odd increment: full period
constexpr std::uint32_t kIncrement = 0x3A6F1Du;    // odd
}  // namespace

float Random::next() {
    if (!scripted_.empty()) {
        const float r = scripted_.front();
        scripted_.pop_front();
        return r;
    }
    state_ = (state_ * kMultiplier + kIncrement) & kMask;
    return static_cast<float>(state_) / static_cast<float>(kMask + 1u);
}

void Random::reseed(double seed) {
    // Mix every bit of the single-precision seed into the 24-bit state.
    const auto bits = bitCast<std::uint32_t>(static_cast<float>(seed));
    state_ = ((bits & kMask) ^ (bits >> 8) ^ (bits >> 24)) & kMask;
}

}  // namespace rt
