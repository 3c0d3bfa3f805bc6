#include "numtext/arithmetic_failure.h"
#include "numtext/checked_arithmetic.h"
#include "numtext/power.h"
#include "numtext/single_rounding.h"
#include "support/failure_kinds.h"
#include "support/reference_exact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <utility>

// The exact comparison of every power with integer arithmetic is in
// numtext_reference_test; here the worked values and the failures.

namespace tolvex::testing {
namespace {

struct FailureCase {
    const char* name;
    std::function<void()> step;
    std::optional<FailureKind> kind; // none: no failure
};

TEST(Arithmetic, FailuresCarryTheirKind) {
    const FailureCase cases[] = {
        {"1/0", [] { Div(1.0, 0.0); }, FailureKind::DivisionByZero},
        {"-1/0", [] { Div(-1.0, 0.0); }, FailureKind::DivisionByZero},
        {"0/0", [] { Div(0.0, 0.0); }, FailureKind::Overflow},
        {"0/-0", [] { Div(0.0, -0.0); }, FailureKind::Overflow},
        {"1e308+1e308", [] { Add(1e308, 1e308); }, FailureKind::Overflow},
        {"1e200*1e200", [] { Mul(1e200, 1e200); }, FailureKind::Overflow},
        {"1e308/1e-10", [] { Div(1e308, 1e-10); }, FailureKind::Overflow},
        {"1e-200*1e-200", [] { Mul(1e-200, 1e-200); }, std::nullopt},
        {"1e-300/1e300", [] { Div(1e-300, 1e300); }, std::nullopt},
        {"sqrt -1", [] { Sqr(-1.0); }, FailureKind::InvalidArgument},
        {"sqrt -0", [] { Sqr(-0.0); }, std::nullopt},
        {"round 32767.5", [] { RoundToInt16(32767.5); }, FailureKind::Overflow},
        {"round -32768.51", [] { RoundToInt16(-32768.51); }, FailureKind::Overflow},
        {"round 1e300", [] { RoundToInt16(1e300); }, FailureKind::Overflow},
        {"round -32768.5", [] { RoundToInt16(-32768.5); }, std::nullopt},
        {"round NaN", [] { RoundToInt16(std::nan("")); }, FailureKind::Overflow},
        {"round -inf", [] { RoundToInt16(-HUGE_VAL); }, FailureKind::Overflow},
        {"10^400", [] { Power(10.0, 400); }, FailureKind::Overflow},
        {"0^-1", [] { Power(0.0, -1); }, FailureKind::DivisionByZero},
        {"1e103^3", [] { Power(1e103, 3); }, FailureKind::Overflow},
        // Just past the largest double, where a looser exponent range would
        // still hold the value.
        {"2^1024", [] { Power(2.0, 1024); }, FailureKind::Overflow},
        {"5.7e102^3", [] { Power(5.7e102, 3); }, FailureKind::Overflow},
    };
    for (const auto& c : cases) {
        const auto failure = FailureOf(c.step);
        if (!c.kind.has_value()) {
            EXPECT_FALSE(failure.has_value()) << c.name;
        } else {
            EXPECT_EQ(failure, c.kind) << c.name;
        }
    }
    EXPECT_EQ(Mul(1e-200, 1e-200), 0.0);
}

// The test data names kinds by their words; each must read back as its own
// kind, and a misspelt one must stop the test instead of meaning "no failure".
TEST(Arithmetic, FailureKindsReadFromTheirWords) {
    const std::pair<const char*, FailureKind> words[] = {
        {"division by zero", FailureKind::DivisionByZero},
        {"overflow", FailureKind::Overflow},
        {"invalid argument", FailureKind::InvalidArgument},
    };
    for (const auto& [text, kind] : words) {
        EXPECT_EQ(FailureKindNamed(text), kind) << text;
        EXPECT_EQ(::testing::PrintToString(kind), text);
    }
    for (const FailureKind kind : kEveryFailureKind)
        EXPECT_EQ(FailureKindNamed(FailureKindText(kind)), kind) << FailureKindText(kind);
    for (const char* text : {"", "Overflow", "overflow ", "division by 0", "none"})
        EXPECT_THROW(FailureKindNamed(text), std::invalid_argument) << '"' << text << '"';
}

// Operands where rounding twice (x87: to 64 bits, then to 53) or a wider
// exponent range gives another double than one IEEE operation: against the
// exact reference, both the operation the program takes here and the single
// rounding that x87 takes, on every processor.
enum class Operation : std::uint8_t { Add, Mul, Div, Sqr };
struct RoundingCase {
    const char* name;
    Operation operation;
    double a;
    double b; // unused for Sqr
};

TEST(Arithmetic, EachOperationRoundsOnce) {
    const RoundingCase cases[] = {
        {"1 + just over half an ulp", Operation::Add, 1.0, 0x1.0000000001p-53},
        {"a difference that is subnormal", Operation::Add, 0x1.0000000000003p-1022, -0x1p-1022},
        {"a product next to a midpoint", Operation::Mul, 0x1.77c01e3779a12p+1,
         0x1.429557a082139p+1},
        // (2^64 + 1) * 2^-1139: just over half the least subnormal.
        {"a product just over the least subnormal's half", Operation::Mul, 0x1.0bc04p-552,
         0x1.e9878ce68808p-524},
        {"a subnormal product", Operation::Mul, 0x1.8p-537, 0x1.0000000000001p-537},
        // Beyond the largest double by less than half an ulp: the largest double.
        {"a product just over the largest double", Operation::Mul, 0x1.ffffffbfffffep+512,
         0x1.0000002000001p+511},
        {"a quotient next to a midpoint", Operation::Div, 0x1.1df6c34b1f06cp+0,
         0x1.77b38a8c8971fp+1},
        {"a subnormal quotient", Operation::Div, 0x1.fffffffffffffp-1000, 0x1.8p+74},
        {"3/5, which 3 * (1/5) misses by an ulp", Operation::Div, 3.0, 5.0},
        {"a square root next to a midpoint", Operation::Sqr, 0x1.df74f97de129bp+1, 0.0},
        {"the square root of a subnormal", Operation::Sqr, 0x1.3p-1070, 0.0},
        {"a square root rounded down", Operation::Sqr, 3.0, 0.0},
    };
    for (const auto& c : cases) {
        const auto [a, b] = std::pair{c.a, c.b};
        switch (c.operation) {
        case Operation::Add:
            EXPECT_EQ(BitsOf(Add(a, b)), BitsOf(RefAdd(a, b))) << c.name;
            EXPECT_EQ(BitsOf(SingleRoundedSum(a, b)), BitsOf(RefAdd(a, b))) << c.name;
            break;
        case Operation::Mul:
            EXPECT_EQ(BitsOf(Mul(a, b)), BitsOf(RefMul(a, b))) << c.name;
            EXPECT_EQ(BitsOf(SingleRoundedProduct(a, b)), BitsOf(RefMul(a, b))) << c.name;
            break;
        case Operation::Div:
            EXPECT_EQ(BitsOf(Div(a, b)), BitsOf(RefDiv(a, b))) << c.name;
            EXPECT_EQ(BitsOf(SingleRoundedQuotient(a, b)), BitsOf(RefDiv(a, b))) << c.name;
            break;
        case Operation::Sqr:
            EXPECT_EQ(BitsOf(Sqr(a)), BitsOf(RefSqrt(a))) << c.name;
            EXPECT_EQ(BitsOf(SingleRoundedSquareRoot(a)), BitsOf(RefSqrt(a))) << c.name;
            break;
        }
    }
    // Past the largest double by half an ulp or more: an overflow either way.
    EXPECT_EQ(FailureOf([] { Mul(0x1.fffffffffffffp+1023, 0x1.0000000000001p0); }),
              FailureKind::Overflow);
    EXPECT_TRUE(std::isinf(SingleRoundedProduct(0x1.fffffffffffffp+1023, 0x1.0000000000001p0)));
}

TEST(Arithmetic, RoundToInt16IsHalfToEvenOnTheExactValue) {
    const std::pair<double, int> cases[] = {
        {5.339, 5},
        {5.5, 6},
        {6.5, 6},
        {2.5, 2},
        {-2.5, -2},
        {-2.6, -3},
        {3.5, 4},
        {32767.49, 32767},
        {-32768.5, -32768},
        {0.49999999999999994, 0},
        {-0.5, 0},
        {1.5, 2},
        {4503599627370495.5 - 4503599627370000.0, 496},
        {-0.0, 0},
    };
    for (auto [x, expected] : cases) EXPECT_EQ(RoundToInt16(x), expected) << x;
}

TEST(Arithmetic, IntIsFloor) {
    const std::pair<double, double> cases[] = {
        {5.383, 5.0},   {5.0, 5.0}, {-0.5, -1.0}, {-5.0, -5.0}, {0.9999999999999999, 0.0},
        {-1e-300, -1.0}};
    for (auto [x, expected] : cases) EXPECT_EQ(Int(x), expected) << x;
}

TEST(Power, WorkedValues) {
    EXPECT_EQ(Power(1.5, 1), 1.5);
    EXPECT_EQ(Power(-3.0, 1), -3.0);
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

TEST(Power, CubesRoundOnceFromTheExactValue) {
    // Expected doubles from exact rational arithmetic. Rounding first to 54
    // bits and then to 53 would give the neighbour for the first two; the
    // third is subnormal, where the result may keep only the bits its
    // exponent leaves, rounded once.
    const std::pair<double, double> cubes[] = {
        {20.1, 8120.6010000000015},
        {1.7, 4.912999999999999},
        {1.1e-106, 1.331e-318},
    };
    for (auto [x, expected] : cubes) EXPECT_EQ(Power(x, 3), expected) << x;
}

mpq_class ExactPower(double base, int exponent) {
    const mpq_class b = ExactValueOf(BitPatternOf(base));
    mpq_class p = 1;
    for (int i = 0; i < std::abs(exponent); ++i) p *= b;
    return exponent >= 0 ? p : mpq_class(1 / p);
}

// Ten itself takes a table of exact powers; any other base, however close,
// must not, and every power around the table's ends is the nearest double.
TEST(Power, OnlyTenTakesTheTableOfPowersOfTen) {
    const double bases[] = {10.0, 10.1, 9.9, std::nextafter(10.0, 0.0), std::nextafter(10.0, 20.0)};
    for (const double base : bases) {
        for (int e = -25; e <= 25; ++e) {
            const double r = Power(base, e);
            EXPECT_TRUE(IsNearestDouble(ExactPower(base, e), r)) << base << " ^ " << e;
        }
    }
}

// Powers whose results lie where the exponent range, its subnormal rounding
// and the rounding direction decide them; each must be the double nearest
// the exact power, with no failure.
TEST(Power, NearestAtTheEdgesOfTheRange) {
    const struct {
        const char* where;
        double base;
        int exponent;
        mpq_class low, high; // the exact power lies in [low, high)
    } cases[] = {
        {"[2^1023, largest double]: no overflow", 5e102, 3, RationalPower(2, 1023),
         OverflowThreshold()},
        {"2^1023 itself", 2.0, 1023, RationalPower(2, 1023), OverflowThreshold()},
        {"just above half the least subnormal: rounds up to it", 1.5474453017461863e-108, 3,
         RationalPower(2, -1075), RationalPower(2, -1074)},
        {"subnormal, one bit more then rounded again would differ", 1.261957174397424e-104, 3,
         RationalPower(2, -1074), RationalPower(2, -1022)},
        {"subnormal, one bit more then rounded again would differ", 1.539302716131184e-104, 3,
         RationalPower(2, -1074), RationalPower(2, -1022)},
    };
    for (const auto& c : cases) {
        const mpq_class exact = ExactPower(c.base, c.exponent);
        ASSERT_TRUE(c.low <= exact && exact < c.high) << c.where;
        for (const double sign : {1.0, -1.0}) {
            const double base = sign * c.base;
            const double flip = c.exponent % 2 == 0 ? 1.0 : sign;
            double result = 0.0;
            EXPECT_FALSE(FailureOf([&] { result = Power(base, c.exponent); }).has_value())
                << c.where << " " << base;
            EXPECT_TRUE(IsNearestDouble(exact, flip * result)) << c.where << " " << base;
            EXPECT_EQ(std::signbit(result), flip < 0.0) << c.where << " " << base;
        }
    }
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
