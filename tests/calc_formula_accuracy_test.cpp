// How close the window's formula comes to an ideal current sheet: the table
// in docs/BEHAVIOUR.md, checked. Nothing here is product code; the formula is
// written out again, as the window shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Nagaoka's coefficient of a current sheet of diameter D and length l, with
// k^2 = D^2 / (D^2 + l^2). libstdc++'s complete elliptic integrals take the
// modulus k.
double Nagaoka(double lengthOverDiameter) {
    const double x = lengthOverDiameter;
    const double k2 = 1.0 / (1.0 + x * x);
    const double k = std::sqrt(k2);
    const double kp2 = 1.0 - k2;
    const double bigK = std::comp_ellint_1(k);
    const double bigE = std::comp_ellint_2(k);
    return 4.0 / (3.0 * std::numbers::pi * std::sqrt(kp2)) * (kp2 / k2 * (bigK - bigE) + bigE - k);
}

// The formula's inductance over the current sheet's, for one turn on a 10 mm
// diameter: each side in its own units, so that a slip in converting shows.
double FormulaOverExact(double lengthOverDiameter) {
    const double diameterMm = 10.0;
    const double lengthMm = lengthOverDiameter * diameterMm;
    const double formulaNh = diameterMm * diameterMm / (0.46 * diameterMm + 1.02 * lengthMm);

    const double mu0 = 4e-7 * std::numbers::pi; // H/m
    const double radiusM = diameterMm / 2 * 1e-3;
    const double lengthM = lengthMm * 1e-3;
    const double exactH =
        mu0 * std::numbers::pi * radiusM * radiusM * Nagaoka(lengthOverDiameter) / lengthM;
    return formulaNh * 1e-9 / exactH;
}

long Digits(double value, double scale) {
    return std::lround(value * scale);
}

struct Row {
    double lengthOverDiameter;
    double expected;
};

// The classic tables' values: they check the elliptic-integral expression
// (a parameter m = k^2 passed for the modulus, say, would miss them).
TEST(CurrentSheet, NagaokaCoefficientMatchesTheTables) {
    const std::vector<Row> rows = {
        {0.1, 0.2033},
        {1.0, 0.6884},
        {2.0, 0.8181},
        {10.0, 0.9588},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Digits(Nagaoka(row.lengthOverDiameter), 1e4), Digits(row.expected, 1e4))
            << "l/D " << row.lengthOverDiameter;
    }
}

// The long-coil limit: the coefficient tends to 1 - 4D / (3 pi l).
TEST(CurrentSheet, NagaokaCoefficientTendsToOneForALongCoil) {
    const double x = 1000.0;
    EXPECT_NEAR(Nagaoka(x), 1.0 - 4.0 / (3.0 * std::numbers::pi * x), 1e-6);
}

// The table of docs/BEHAVIOUR.md, to its three digits.
TEST(FormulaAccuracy, RatioToTheCurrentSheetMatchesTheDocument) {
    const std::vector<Row> rows = {
        {0.1, 0.887}, {0.2, 0.954}, {0.4, 0.990},  {0.5, 0.994},
        {1.0, 0.994}, {2.0, 0.991}, {10.0, 0.991}, {1000.0, 0.993},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Digits(FormulaOverExact(row.lengthOverDiameter), 1e3), Digits(row.expected, 1e3))
            << "l/D " << row.lengthOverDiameter;
    }
}

// 0.46 and 1.02 are the classic r^2 N^2 / (9 r + 10 l) (uH, inches), which
// is D^2 N^2 / (18 D + 40 l) with D = 2r, brought to nH and mm: D and l in
// inches are mm / 25.4, and uH are 1000 nH, so each per-inch coefficient
// becomes itself times 25.4 / 1000. Rounded to two decimals, as the formula has them.
TEST(FormulaAccuracy, CoefficientsAreThePerInchOnesInMillimetres) {
    struct Coefficient {
        double perInch;
        double formula;
    };
    const std::vector<Coefficient> rows = {
        {18.0, 0.46},
        {40.0, 1.02},
    };
    for (const Coefficient& row : rows) {
        EXPECT_EQ(Digits(row.perInch * 25.4 / 1000.0, 100), Digits(row.formula, 100))
            << "per-inch coefficient " << row.perInch;
    }
}

} // namespace
