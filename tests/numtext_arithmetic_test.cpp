#include "numtext/arithmetic_failure.h"
#include "numtext/checked_arithmetic.h"
#include "numtext/power.h"
#include "support/failure_kind_text.h"
#include "support/reference_bigint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tolvex::testing {
namespace {

struct FailureCase {
    const char* name;
    std::function<void()> step;
    const char* kind; // nullptr: no failure
};

TEST(Arithmetic, FailuresCarryTheirKind) {
    const FailureCase cases[] = {
        {"1/0", [] { Div(1.0, 0.0); }, "division by zero"},
        {"-1/0", [] { Div(-1.0, 0.0); }, "division by zero"},
        {"0/0", [] { Div(0.0, 0.0); }, "overflow"},
        {"0/-0", [] { Div(0.0, -0.0); }, "overflow"},
        {"1e308+1e308", [] { Add(1e308, 1e308); }, "overflow"},
        {"1e200*1e200", [] { Mul(1e200, 1e200); }, "overflow"},
        {"1e308/1e-10", [] { Div(1e308, 1e-10); }, "overflow"},
        {"1e-200*1e-200", [] { Mul(1e-200, 1e-200); }, nullptr},
        {"sqrt -1", [] { Sqr(-1.0); }, "invalid argument"},
        {"sqrt -0", [] { Sqr(-0.0); }, nullptr},
        {"round 32767.5", [] { RoundToInt16(32767.5); }, "overflow"},
        {"round -32768.51", [] { RoundToInt16(-32768.51); }, "overflow"},
        {"round 1e300", [] { RoundToInt16(1e300); }, "overflow"},
        {"round -32768.5", [] { RoundToInt16(-32768.5); }, nullptr},
        {"10^400", [] { Power(10.0, 400); }, "overflow"},
        {"0^-1", [] { Power(0.0, -1); }, "division by zero"},
        {"1e103^3", [] { Power(1e103, 3); }, "overflow"},
    };
    for (const auto& c : cases) {
        const auto failure = FailureOf(c.step);
        if (c.kind == nullptr) {
            EXPECT_FALSE(failure.has_value()) << c.name;
        } else {
            EXPECT_EQ(failure.value_or("none"), c.kind) << c.name;
        }
    }
    EXPECT_EQ(Mul(1e-200, 1e-200), 0.0);
}

TEST(Arithmetic, RoundToInt16IsHalfToEvenOnTheExactValue) {
    const std::pair<double, int> cases[] = {
        {5.339, 5},   {5.5, 6},     {6.5, 6},           {2.5, 2},         {-2.5, -2},
        {-2.6, -3},   {3.5, 4},     {32767.49, 32767},  {-32768.5, -32768}, {0.49999999999999994, 0},
        {-0.5, 0},    {1.5, 2},     {4503599627370495.5 - 4503599627370000.0, 496}, {-0.0, 0},
    };
    for (auto [x, expected] : cases) EXPECT_EQ(RoundToInt16(x), expected) << x;
}

TEST(Arithmetic, IntIsFloor) {
    const std::pair<double, double> cases[] = {
        {5.383, 5.0}, {5.0, 5.0}, {-0.5, -1.0}, {-5.0, -5.0}, {0.9999999999999999, 0.0}, {-1e-300, -1.0}};
    for (auto [x, expected] : cases) EXPECT_EQ(Int(x), expected) << x;
}

TEST(Power, WorkedValues) {
    EXPECT_EQ(Power(20.5, 2), 420.25);
    EXPECT_EQ(Power(20.5, 3), 8615.125);
    EXPECT_EQ(Power(-2.0, 3), -8.0);
    EXPECT_EQ(Power(10.0, -3), 0.001);
    EXPECT_EQ(Power(10.0, 0), 1.0);
    EXPECT_EQ(Power(10.0, 3), 1000.0);
    EXPECT_EQ(Power(10.0, 6), 1000000.0);
    EXPECT_EQ(Power(10.0, 22), 1e22);
    EXPECT_EQ(Power(10.0, -300), 1e-300);
    EXPECT_EQ(Power(2.0, -1074), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(Power(2.0, -1075), 0.0);
    EXPECT_EQ(Power(1e-110, 3), 0.0);
}

// True when r is the double nearest x^n: the exact power lies between the
// midpoints to r's neighbours, and on a midpoint only when r is even.
bool IsCorrectlyRounded(double x, int n, double r) {
    const auto xb = RefDecompose(std::bit_cast<std::uint64_t>(std::fabs(x)));
    const auto rb = RefDecompose(std::bit_cast<std::uint64_t>(std::fabs(r)));
    RefBig exact(1);
    for (int i = 0; i < n; ++i) exact = RefBig::Mul(exact, RefBig(xb.significand));
    const int exactExp = n * xb.exponent;
    // Midpoints in units of 2^(rb.exponent - 2).
    const std::uint64_t four = 4 * rb.significand;
    const bool atBinade = rb.significand == (std::uint64_t{1} << 52) && rb.exponent > -1074;
    RefBig lower(four - (atBinade ? 1 : 2));
    RefBig upper(four + 2);
    const int midExp = rb.exponent - 2;
    const int common = std::min(exactExp, midExp);
    exact.ShiftLeft(exactExp - common);
    lower.ShiftLeft(midExp - common);
    upper.ShiftLeft(midExp - common);
    const bool even = (rb.significand & 1U) == 0;
    if (rb.significand == 0) return exact < upper || (exact == upper);
    if (exact < lower || upper < exact) return false;
    if ((exact == lower || exact == upper) && !even) return false;
    return true;
}

TEST(Power, SquaresAndCubesAreCorrectlyRoundedOnRandomDoubles) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> exponent(-400, 330);
    std::uniform_int_distribution<std::uint64_t> fraction(0, (std::uint64_t{1} << 52) - 1);
    int wrong = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t bits = (static_cast<std::uint64_t>(exponent(random) + 1023) << 52) |
                                   fraction(random) | ((i & 1) != 0 ? (std::uint64_t{1} << 63) : 0);
        const auto x = std::bit_cast<double>(bits);
        for (int n : {2, 3}) {
            const double r = Power(x, n);
            if (std::signbit(r) != (std::signbit(x) && n == 3) && r != 0.0) ++wrong;
            if (!IsCorrectlyRounded(x, n, r) && ++wrong < 5)
                ADD_FAILURE() << BitsOf(x) << " ^ " << n << " gave " << BitsOf(r);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Power, NaiveCubeWouldDifferSomewhere) {
    // Guards the test above: (x*x)*x is not always the nearest double to x^3.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> d(1.0, 100.0);
    int differing = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x = d(random);
        if (Power(x, 3) != (x * x) * x) ++differing;
    }
    EXPECT_GT(differing, 100);
}

} // namespace
} // namespace tolvex::testing
