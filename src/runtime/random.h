// The pseudo-random generator: uniform in [0, 1), reseeded from a given value.
//
// A 24-bit linear congruential generator of our own constants; the same seed always gives the same
// sequence, so that reseeding from the time of day twice within one clock step repeats a draw.
// Tests can queue exact draws, which are returned before the generator is consulted.
#pragma once

#include <cstdint>
#include <deque>

namespace rt {

class Random {
public:
    float next();
    void reseed(double seed);
    void queueDraws(std::initializer_list<float> draws) { scripted_.insert(scripted_.end(), draws); }
    void queueDraw(float draw) { scripted_.push_back(draw); }
    std::size_t scriptedLeft() const { return scripted_.size(); }

private:
    std::uint32_t state_ = 0x50000Du;
    std::deque<float> scripted_;
};

}  // namespace rt
