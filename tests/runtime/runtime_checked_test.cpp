// Checked integers, rounding conversions, fixed arrays and the error texts.
#include <gtest/gtest.h>

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>

#include "runtime/checked.h"
#include "runtime/errors.h"
#include "runtime/fixed_array.h"
#include "runtime/object_ref.h"
#include "runtime_test_support.h"

namespace {

using rt::Byte;
using rt::Integer;
using rt::Long;
using rttest::errorOf;
using Error = rt::ErrorNumber;

constexpr std::int32_t kLongMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLongMin = std::numeric_limits<std::int32_t>::min();

TEST(CheckedLong, AddSubtractAndNegateOverflowAtTheLimits) {
    EXPECT_EQ(Long(kLongMax - 1) + Long(1), kLongMax);
    EXPECT_EQ(Long(kLongMin + 1) - Long(1), kLongMin);
    EXPECT_EQ(errorOf([] { (void)(Long(kLongMax) + Long(1)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Long(kLongMin) - Long(1)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Long(kLongMax) + 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(1 - Long(kLongMin)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Long(65536) * Long(32768)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(-Long(kLongMin)); }), Error::Overflow);
    // The subtraction of two tick readings across the sign change of the counter.
    EXPECT_EQ(errorOf([] { (void)(Long(kLongMin) - Long(kLongMax)); }), Error::Overflow);
}

TEST(CheckedLong, FailedCompoundAssignmentKeepsTheOldValue) {
    Long x = kLongMax;
    EXPECT_EQ(errorOf([&] { x += 1; }), Error::Overflow);
    EXPECT_EQ(x, kLongMax);
    Byte b = 0;
    EXPECT_EQ(errorOf([&] { b -= 1; }), Error::Overflow);
    EXPECT_EQ(b, 0);
}

TEST(CheckedLong, ConversionFromWiderIntegersIsRangeChecked) {
    EXPECT_EQ(Long(std::int64_t{kLongMax}), kLongMax);
    EXPECT_EQ(errorOf([] { (void)Long(std::int64_t{kLongMax} + 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Long(std::int64_t{kLongMin} - 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Long(std::uint32_t{0x80000000u}); }), Error::Overflow);
    // Unsigned values above the signed 64-bit range must not wrap to small negatives.
    EXPECT_EQ(errorOf([] { (void)Long(std::numeric_limits<std::uint64_t>::max()); }), Error::Overflow);
}

TEST(CheckedInteger, SixteenBitOverflow) {
    EXPECT_EQ(Integer(32766) + 1, 32767);
    EXPECT_EQ(errorOf([] { (void)(Integer(32767) + 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Integer(-32768) - Integer(1)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Integer(Long(32768)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)rt::CInt(Long(-32769)); }), Error::Overflow);
    EXPECT_EQ(rt::CInt(Long(-32768)), -32768);
    Integer i = 32760;
    for (int k = 0; k < 7; ++k) i += 1;
    EXPECT_EQ(i, 32767);
    EXPECT_EQ(errorOf([&] { i += 1; }), Error::Overflow);
}

TEST(CheckedByte, EightBitUnsignedOverflow) {
    EXPECT_EQ(Byte(254) + 1, 255);
    EXPECT_EQ(errorOf([] { (void)(Byte(255) + 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Byte(0) - 1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)(Byte(200) + Byte(56)); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Byte(-1); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Byte(256); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)Byte(Integer(-1)); }), Error::Overflow);
    EXPECT_EQ(-Byte(0), 0);
    EXPECT_EQ(errorOf([] { (void)(-Byte(1)); }), Error::Overflow);
}

TEST(CheckedMixed, ResultHasTheWiderType) {
    const auto byteAndInteger = Byte(200) + Integer(100);
    static_assert(std::same_as<decltype(byteAndInteger), const Integer>);
    EXPECT_EQ(byteAndInteger, 300);
    EXPECT_EQ(Byte(0) - Integer(1), -1);  // wider type: no overflow at the byte's bound

    const auto integerAndLong = Integer(30000) + Long(30000);
    static_assert(std::same_as<decltype(integerAndLong), const Long>);
    EXPECT_EQ(integerAndLong, 60000);
    EXPECT_EQ(Integer(-32768) - Long(1), -32769);

    const auto product = Integer(300) * Long(300);
    static_assert(std::same_as<decltype(product), const Long>);
    EXPECT_EQ(product, 90000);
    EXPECT_EQ(errorOf([] { (void)(Integer(300) * Integer(300)); }), Error::Overflow);

    // A plain int keeps the checked type's width.
    static_assert(std::same_as<decltype(Byte(1) + 1), Byte>);
    static_assert(std::same_as<decltype(Integer(1) - 1), Integer>);
    // Comparisons across widths and with floating point compare values.
    EXPECT_TRUE(Byte(255) == Integer(255));
    EXPECT_TRUE(Integer(-1) < Byte(0));
    EXPECT_TRUE(Long(3) > 2.5);
    EXPECT_TRUE(Long(3) == 3.0);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {{0.5, 0},     {1.5, 2},     {2.5, 2},     {-0.5, 0},   {-1.5, -2},  {-2.5, -2},
                 {275.5, 276}, {276.5, 276}, {252.0, 252}, {0.4999, 0}, {0.5001, 1}, {-0.5001, -1},
                 {299.5, 300}, {300.5, 300}, {1e-300, 0},  {-1e-300, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(rt::CLng(c.in), c.out) << "CLng(" << c.in << ")";
        EXPECT_EQ(rt::CInt(c.in), c.out) << "CInt(" << c.in << ")";
    }
    EXPECT_EQ(rt::CByte(254.5), 254);
    EXPECT_EQ(rt::CByte(-0.5), 0);
    // 600 / 2 - 96 / 2 and 500 - 50 - 20, the ship's start, computed in floating point.
    EXPECT_EQ(rt::CLng(600.0 / 2 - 96.0 / 2), 252);
    EXPECT_EQ(rt::CLng(500.0 - 50 - 20), 430);
}

TEST(Rounding, OutOfRangeAndNonFiniteRaiseOverflow) {
    EXPECT_EQ(rt::CLng(2147483647.4), kLongMax);
    EXPECT_EQ(rt::CLng(-2147483648.5), kLongMin);  // -2147483648 is the even neighbour
    EXPECT_EQ(errorOf([] { (void)rt::CLng(2147483647.5); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)rt::CLng(-2147483649.0); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)rt::CLng(1e300); }), Error::Overflow);
    EXPECT_EQ(rt::CInt(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { (void)rt::CInt(32767.5); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)rt::CByte(255.5); }), Error::Overflow);
    EXPECT_EQ(errorOf([] { (void)rt::CByte(-0.51); }), Error::Overflow);
    for (const double bad :
         {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(errorOf([&] { (void)rt::CLng(bad); }), Error::Overflow);
        EXPECT_EQ(errorOf([&] { (void)rt::CInt(bad); }), Error::Overflow);
        EXPECT_EQ(errorOf([&] { (void)rt::CByte(bad); }), Error::Overflow);
    }
}

TEST(FixedArray, IndexOutsideTheDeclaredBoundsIsError9) {
    rt::FixedArray<int, 1, 10> a;
    for (int i = 1; i <= 10; ++i) a[i] = i * 11;
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(a[i], i * 11);
    EXPECT_EQ(a[Integer(10)], 110);
    EXPECT_EQ(a[Long(1)], 11);
    EXPECT_EQ(errorOf([&] { (void)a[0]; }), Error::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)a[11]; }), Error::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)a[Integer(-1)]; }), Error::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)a[Long(kLongMin)]; }), Error::SubscriptOutOfRange);
    const auto& ca = a;
    EXPECT_EQ(errorOf([&] { (void)ca[11]; }), Error::SubscriptOutOfRange);
}

TEST(ObjectRef, UseBeforeSetIsError91) {
    rt::ObjectRef<Long> ref;
    EXPECT_FALSE(ref.isSet());
    EXPECT_EQ(errorOf([&] { (void)ref->value(); }), rt::ErrorNumber::ObjectNotSet);
    ref = std::make_unique<Long>(42);
    EXPECT_EQ(*ref, 42);
}

TEST(RuntimeErrorText, BoxTextCarriesNumberAndDescription) {
    try {
        rt::raiseOverflow();
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.boxText(), "Run-time error '6':\n\nOverflow");
    }
    try {
        rt::raiseSubscriptOutOfRange();
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.boxText(), "Run-time error '9':\n\nSubscript out of range");
    }
    // Reaching for the runtime when none runs is a fault of our own, never shown as run-time error 7.
    EXPECT_THROW(rt::DoEvents(), std::logic_error);
}

TEST(Flags, TrueIsMinusOneAndStrHasNoLeadingBlank) {
    EXPECT_EQ(rt::True.raw(), -1);
    EXPECT_EQ(rt::False.raw(), 0);
    EXPECT_EQ(!rt::True, rt::False);
    EXPECT_EQ(!rt::False, rt::True);
    EXPECT_EQ(rt::Str(Long(1300)), "1300");
    EXPECT_EQ(rt::Str(Long(-7)), "-7");
    EXPECT_EQ(rt::Str(Byte(5)), "5");
}

}  // namespace
