// A fixed array with the bounds the system declares (objEnemy runs from 1 to 10); an index outside
// them is a run-time error, never undefined behaviour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/checked.h"

namespace rt {

template <class T, int Lower, int Upper>
class FixedArray {
    static_assert(Upper >= Lower);

public:
    static constexpr int lower = Lower;
    static constexpr int upper = Upper;

    T& operator[](std::int64_t i) { return items_[slot(i)]; }
    const T& operator[](std::int64_t i) const { return items_[slot(i)]; }
    template <class U>
    T& operator[](Int<U> i) {
        return items_[slot(i.wide())];
    }
    template <class U>
    const T& operator[](Int<U> i) const {
        return items_[slot(i.wide())];
    }

private:
    static std::size_t slot(std::int64_t i) {
        if (i < Lower || i > Upper) raiseSubscriptOutOfRange();
        return static_cast<std::size_t>(i - Lower);
    }
    std::array<T, Upper - Lower + 1> items_{};
};

}  // namespace rt
