// The system's integer and flag types.
//
// Long (signed 32-bit), Integer (signed 16-bit) and Byte (unsigned 8-bit) raise an overflow run-time
// error whenever a sum, difference, product or conversion leaves their range. Mixed arithmetic is
// done in the wider of the two types; with a plain int the result keeps the checked type's width.
// Conversions from floating point round to nearest, a half going to the even neighbour.
#pragma once

#include <cmath>
#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "runtime/errors.h"

namespace rt {

template <std::integral T>
class Int;

namespace detail {

template <class A, class B>
using Wider = std::conditional_t<(sizeof(A) >= sizeof(B)), A, B>;

template <std::integral T, std::integral U>
constexpr T narrow(U v) {
    // Compared by value: a large unsigned 64-bit value must not pass as the negative it would cast to.
    if constexpr (std::is_unsigned_v<U>) {
        if (static_cast<std::uint64_t>(v) > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) raiseOverflow();
    } else {
        const auto w = static_cast<std::int64_t>(v);
        if (w < std::numeric_limits<T>::min() || w > std::numeric_limits<T>::max()) raiseOverflow();
    }
    return static_cast<T>(v);
}

}  // namespace detail

template <std::integral T>
class Int {
public:
    using value_type = T;

    constexpr Int() = default;
    // Any integer converts, with a range check (a narrowing assignment that overflows is an error).
    template <std::integral U>
    constexpr Int(U v) : v_(detail::narrow<T>(v)) {}  // NOLINT: implicit on purpose
    template <std::integral U>
    constexpr Int(Int<U> v) : v_(detail::narrow<T>(v.wide())) {}  // NOLINT: implicit on purpose

    constexpr T value() const { return v_; }
    constexpr std::int64_t wide() const { return v_; }
    explicit constexpr operator double() const { return static_cast<double>(v_); }

    constexpr Int& operator+=(Int o) {
        v_ = detail::narrow<T>(wide() + o.wide());
        return *this;
    }
    constexpr Int& operator-=(Int o) {
        v_ = detail::narrow<T>(wide() - o.wide());
        return *this;
    }

    constexpr Int operator-() const { return Int(detail::narrow<T>(-wide())); }

    friend constexpr bool operator==(Int a, Int b) { return a.v_ == b.v_; }
    friend constexpr auto operator<=>(Int a, Int b) { return a.v_ <=> b.v_; }

private:
    T v_{};
};

using Long = Int<std::int32_t>;
using Integer = Int<std::int16_t>;
using Byte = Int<std::uint8_t>;

// Arithmetic between two checked values: the result has the wider type.
template <class A, class B>
constexpr Int<detail::Wider<A, B>> operator+(Int<A> a, Int<B> b) {
    return Int<detail::Wider<A, B>>(detail::narrow<detail::Wider<A, B>>(a.wide() + b.wide()));
}
template <class A, class B>
constexpr Int<detail::Wider<A, B>> operator-(Int<A> a, Int<B> b) {
    return Int<detail::Wider<A, B>>(detail::narrow<detail::Wider<A, B>>(a.wide() - b.wide()));
}
template <class A, class B>
constexpr Int<detail::Wider<A, B>> operator*(Int<A> a, Int<B> b) {
    return Int<detail::Wider<A, B>>(detail::narrow<detail::Wider<A, B>>(a.wide() * b.wide()));
}
// With a plain int the checked type keeps its width.
// clang-format off
template <class A>
constexpr Int<A> operator+(Int<A> a, int b) { return Int<A>(detail::narrow<A>(a.wide() + b)); }
template <class A>
constexpr Int<A> operator+(int a, Int<A> b) { return Int<A>(detail::narrow<A>(a + b.wide())); }
template <class A>
constexpr Int<A> operator-(Int<A> a, int b) { return Int<A>(detail::narrow<A>(a.wide() - b)); }
template <class A>
constexpr Int<A> operator-(int a, Int<A> b) { return Int<A>(detail::narrow<A>(a - b.wide())); }
template <class A>
constexpr Int<A> operator*(Int<A> a, int b) { return Int<A>(detail::narrow<A>(a.wide() * b)); }

template <class A, class B>
    requires(!std::same_as<A, B>)
constexpr bool operator==(Int<A> a, Int<B> b) { return a.wide() == b.wide(); }
template <class A, class B>
    requires(!std::same_as<A, B>)
constexpr auto operator<=>(Int<A> a, Int<B> b) { return a.wide() <=> b.wide(); }
template <class A>
constexpr bool operator==(Int<A> a, int b) { return a.wide() == b; }
template <class A>
constexpr auto operator<=>(Int<A> a, int b) { return a.wide() <=> static_cast<std::int64_t>(b); }

// Comparisons against floating point are made in floating point.
template <class A>
constexpr bool operator==(Int<A> a, double b) { return static_cast<double>(a) == b; }
template <class A>
constexpr auto operator<=>(Int<A> a, double b) { return static_cast<double>(a) <=> b; }
// clang-format on

// Round to nearest, ties to even, then check the range of the target type.
template <std::integral T>
Int<T> roundChecked(double v) {
    if (!std::isfinite(v)) raiseOverflow();
    const double r = std::nearbyint(v);  // the default rounding mode: nearest, ties to even
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        raiseOverflow();
    return Int<T>(static_cast<T>(r));
}
inline Long CLng(double v) { return roundChecked<std::int32_t>(v); }
inline Integer CInt(double v) { return roundChecked<std::int16_t>(v); }
inline Byte CByte(double v) { return roundChecked<std::uint8_t>(v); }
inline Integer CInt(Long v) { return Integer(v); }

template <class A>
std::string Str(Int<A> v) {
    return std::to_string(v.wide());
}

// A 16-bit flag: true is -1, false is 0.
class Bool {
public:
    constexpr Bool() = default;
    constexpr Bool(bool b) : v_(b ? -1 : 0) {}  // NOLINT: implicit on purpose
    explicit constexpr operator bool() const { return v_ != 0; }
    constexpr std::int16_t raw() const { return v_; }
    constexpr Bool operator!() const { return Bool(v_ == 0); }
    friend constexpr bool operator==(Bool a, Bool b) { return a.v_ == b.v_; }

private:
    std::int16_t v_ = 0;
};

inline constexpr Bool True{true};
inline constexpr Bool False{false};

}  // namespace rt
