#include "calc/close_winding.h"
#include "calc/design_sweep.h"
#include "calc/inductance.h"
#include "support/failure_kinds.h"
#include "support/reference_exact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace tolvex::testing {
namespace {

// ---- the formula as an exact model: each step the exact result, rounded once ----

double RefCube(double x) {
    return NearestDoubleOf(ExactOf(x) * ExactOf(x) * ExactOf(x));
}

double RefDenominator(double diameter, double length) {
    return RefAdd(RefMul(0.46, diameter), RefMul(1.02, length));
}

double RefInductanceNh(double n, double d, double l) {
    return RefDiv(RefMul(RefMul(RefMul(n, n), d), d), RefDenominator(d, l));
}

double RefRowInductance(double n, double l, double d, double scale) {
    return RefDiv(RefDiv(RefMul(RefMul(n, n), RefMul(d, d)), RefDenominator(d, l)), scale);
}

// The close-winding root's steps, the numerator's and the denominator's apart,
// so that a row can put one of them in another order.
struct RootSteps {
    std::function<double(double cube, double requiredNh)> cubeOverL = [](double cube, double l) {
        return RefDiv(RefMul(1.769, cube), l);
    };
    std::function<double(double diameter)> overCoefficient = [](double d) {
        return RefDiv(RefMul(2.0, RefMul(d, d)), 1.02);
    };
    std::function<double(double upper, double over, double l)> quotient =
        [](double upper, double over, double l) { return RefDiv(upper, RefDiv(over, l)); };
};

double RefCloseWindingRoot(double l, double wire, double d, const RootSteps& steps = {}) {
    const double upper =
        RefAdd(wire, RefSqrt(RefAdd(RefMul(wire, wire), steps.cubeOverL(RefCube(d), l))));
    return steps.quotient(upper, steps.overCoefficient(d), l);
}

TEST(Inductance, FormulaInItsOwnOrder) {
    EXPECT_EQ(InductanceNh(10.0, 20.5, 10.0), 42025.0 / 19.63);
    EXPECT_NEAR(InductanceNh(10.0, 20.5, 10.0), 2140.8558, 1e-4);
    EXPECT_EQ(InductanceNh(0.0, 20.5, 10.0), 0.0);
    EXPECT_EQ(InductanceNh(2.5, 20.5, 10.0),
              ((2.5 * 2.5) * 20.5 * 20.5) / (0.46 * 20.5 + 1.02 * 10.0));
    EXPECT_LT(InductanceNh(10.0, 20.5, -20.0), 0.0);
    EXPECT_EQ(FailureOf([] { InductanceNh(10.0, 0.0, 0.0); }), FailureKind::Overflow);
    // 0.46 * 1.02 + 1.02 * -0.46 cancels exactly: a zero denominator.
    EXPECT_EQ(FailureOf([] { InductanceNh(1.0, 1.02, -0.46); }), FailureKind::DivisionByZero);
}

// Inputs where another grouping of the same steps changes the last bit; the
// expected doubles come from an exact model of the stated order of steps.
struct RegroupingCase {
    const char* grouping; // the order the result must not come from
    double turns, diameter, length, expected;
};

TEST(Inductance, EachStepInItsPlace) {
    const RegroupingCase cases[] = {
        {"N*(N*D) or (N*N)*(D*D) or N^2*D*(D/den)", 14.1, 8.8, 24.2, 535.8431852986218},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InductanceNh(c.turns, c.diameter, c.length), c.expected) << c.grouping;
}

// Inputs where one other grouping of N*N*D*D / den changes the last bit; the
// row checks that it does, by the same exact model.
struct GroupingRow {
    const char* grouping; // the order the result must not come from
    double turns, diameter, length;
    std::function<double(double n, double d, double l)> wrong;
};

TEST(Inductance, NoOtherGroupingOfTheSteps) {
    const auto den = RefDenominator;
    const GroupingRow rows[] = {
        {"(D*N)*(D*N): the square of a product", 34.4, 8.74, 40.8,
         [den](double n, double d, double l) {
             return RefDiv(RefMul(RefMul(d, n), RefMul(d, n)), den(d, l));
         }},
        {"((N*N*D) / den) * D", 42.7, 1.43, 28.4,
         [den](double n, double d, double l) {
             return RefMul(RefDiv(RefMul(RefMul(n, n), d), den(d, l)), d);
         }},
        {"((D*D)*N)*N", 27.7, 29.82, 39.4,
         [den](double n, double d, double l) {
             return RefDiv(RefMul(RefMul(RefMul(d, d), n), n), den(d, l));
         }},
        {"(D*D)*(N*N)", 7.4, 5.2, 18.2,
         [den](double n, double d, double l) {
             return RefDiv(RefMul(RefMul(d, d), RefMul(n, n)), den(d, l));
         }},
        {"D / (1 / 0.46) in the denominator", 16.4, 15.3, 10.9,
         [](double n, double d, double l) {
             const double reciprocal = RefAdd(RefDiv(d, RefDiv(1.0, 0.46)), RefMul(1.02, l));
             return RefDiv(RefMul(RefMul(RefMul(n, n), d), d), reciprocal);
         }},
    };
    for (const auto& r : rows) {
        const double expected = RefInductanceNh(r.turns, r.diameter, r.length);
        ASSERT_NE(r.wrong(r.turns, r.diameter, r.length), expected) << r.grouping;
        EXPECT_EQ(InductanceNh(r.turns, r.diameter, r.length), expected) << r.grouping;
    }
}

TEST(Inductance, UnitScales) {
    EXPECT_EQ(UnitScale(0), 1.0);
    EXPECT_EQ(UnitScale(1), 1000.0);
    EXPECT_EQ(UnitScale(2), 1000000.0);
    EXPECT_EQ(UnitScale(-1), 0.001);
}

struct WindingCase {
    double requiredNh, wire, diameter;
    int turns;
    double length;
};

TEST(CloseWinding, Solutions) {
    const WindingCase cases[] = {
        {1000.0, 0.5, 20.5, 5, 2.5},
        {10000.0, 0.5, 20.5, 22, 11.0},
        {1.0, 0.5, 20.5, 0, 0.0},
        {1000.0, -0.5, 19.5, 4, -2.0},
        {20000000.0, 0.5, 20.5, 24289, 12144.5},
        {20.0, 0.5, 20.5, 0, 0.0},
        {1000.0, 0.0, 20.0, 4, 0.0}, // no wire: length 0 whatever the count
    };
    for (const auto& c : cases) {
        const CloseWinding w = SolveCloseWinding(c.requiredNh, c.wire, c.diameter);
        EXPECT_EQ(w.minimumTurns, c.turns) << c.requiredNh;
        EXPECT_EQ(w.length, c.length) << c.requiredNh;
    }
}

// Required inductances found by searching next to where the close-winding
// root crosses a whole number, so that one rounding more or less in a single
// step moves the least turn count. The counts come from an exact model of the
// stated order of steps.
TEST(CloseWinding, RootOnAWholeNumber) {
    const struct {
        const char* step; // what would move the count
        double requiredNh, wire, diameter;
        int turns;
    } cases[] = {
        // The root is 6 exactly; a cube of D by two multiplications gives 5.999...
        {"D^3 correctly rounded", 1177.262481710841, 0.5, 20.04, 6},
        // The root is 4 exactly; 1.769 * (D^3 / L) gives 3.999...
        {"(1.769 * D^3) / L", 586.1024790509222, 0.5, 20.5, 4},
        // The root is 4.999...; 2 D^2 / (1.02 L) or (upper * L) / (2 D^2 / 1.02) give 5.
        {"((2 D^2) / 1.02) / L, then upper / lower", 876.8070764341966, 0.5, 20.5, 4},
        // D^2 is subnormal: halving first would lose a bit that 2 D^2 keeps.
        {"(2 * D^2) / 1.02", 8.823e-320, 0.5, 1.5e-160, 2},
    };
    for (const auto& c : cases) {
        const CloseWinding w = SolveCloseWinding(c.requiredNh, c.wire, c.diameter);
        EXPECT_EQ(w.minimumTurns, c.turns) << c.step;
        EXPECT_EQ(w.length, c.turns * c.wire) << c.step;
    }
}

// Required inductances next to where the root crosses a whole number, found
// for each other order of its steps; the counts come from the exact model.
TEST(CloseWinding, NoOtherOrderOfTheSteps) {
    RootSteps cubeFirst;
    cubeFirst.cubeOverL = [](double cube, double l) { return RefDiv(cube, RefDiv(l, 1.769)); };
    RootSteps twoDFirst;
    twoDFirst.overCoefficient = [](double d) { return RefDiv(RefMul(RefMul(2.0, d), d), 1.02); };
    RootSteps ratioFirst;
    ratioFirst.overCoefficient = [](double d) { return RefMul(RefMul(d, d), RefDiv(2.0, 1.02)); };
    RootSteps reciprocal;
    reciprocal.cubeOverL = [](double cube, double l) {
        return RefDiv(RefDiv(cube, RefDiv(1.0, 1.769)), l);
    };
    RootSteps overUpper;
    overUpper.quotient = [](double upper, double over, double l) {
        return RefDiv(l, RefDiv(over, upper));
    };
    const struct {
        const char* order;
        double requiredNh, wire, diameter;
        const RootSteps& steps;
    } rows[] = {
        {"D^3 / (L / 1.769)", 4389.491998304227, 0.6, 10.9, cubeFirst},
        {"(2 D) * D with D^2 subnormal", 1.82648935e-315, 0.5, 6.23e-159, twoDFirst},
        {"D^2 * (2 / 1.02)", 45244.26005304975, 0.6, 42.62, ratioFirst},
        {"L / (over / upper)", 25903.248597985494, 0.25, 13.9, overUpper},
        {"D^3 / (1 / 1.769)", 9034.057837885974, 1.0, 19.12, reciprocal},
    };
    for (const auto& r : rows) {
        const double root = RefCloseWindingRoot(r.requiredNh, r.wire, r.diameter);
        const double wrong = RefCloseWindingRoot(r.requiredNh, r.wire, r.diameter, r.steps);
        ASSERT_NE(std::floor(wrong), std::floor(root)) << r.order;
        const CloseWinding w = SolveCloseWinding(r.requiredNh, r.wire, r.diameter);
        EXPECT_EQ(w.minimumTurns, static_cast<int>(std::floor(root))) << r.order;
    }
}

TEST(CloseWinding, Failures) {
    const std::tuple<double, double, double, FailureKind> cases[] = {
        {0.0, 0.5, 20.5, FailureKind::DivisionByZero},
        {0.0, 0.0, 0.0, FailureKind::Overflow},
        {-1000.0, 0.5, 20.5, FailureKind::InvalidArgument},
        {1000.0, 0.5, 0.0, FailureKind::DivisionByZero},
        {1000.0, 0.0, 0.0, FailureKind::Overflow},
        {100000000.0, 0.5, 20.5, FailureKind::Overflow},
    };
    for (const auto& c : cases) {
        const auto run = [&c] {
            SolveCloseWinding(std::get<0>(c), std::get<1>(c), std::get<2>(c));
        };
        EXPECT_EQ(FailureOf(run), std::get<3>(c)) << std::get<0>(c);
    }
}

std::vector<double> SweepLengths(double closeWindingLength) {
    std::vector<double> lengths;
    for (DesignSweep s(closeWindingLength); s.HasRow() && lengths.size() < 100; s.Advance())
        lengths.push_back(s.Length());
    return lengths;
}

TEST(DesignSweep, RunningSumDecidesTheRowCount) {
    const auto first = SweepLengths(2.5);
    ASSERT_EQ(first.size(), 11U);
    EXPECT_EQ(first.back(), 5.0);
    const auto second = SweepLengths(11.0);
    ASSERT_EQ(second.size(), 10U);
    EXPECT_EQ(second.back(), 20.900000000000006);
    // Mirrored, the running sum lands on the end exactly and keeps that row.
    const auto mirrored = SweepLengths(-2.5);
    ASSERT_EQ(mirrored.size(), 11U);
    EXPECT_EQ(mirrored.back(), -5.0);
    const auto down = SweepLengths(-2.0);
    ASSERT_EQ(down.size(), 10U);
    EXPECT_EQ(down.back(), -3.8000000000000016);
    // A close-winding length of 0 gives one row and ends instead of repeating it.
    EXPECT_EQ(SweepLengths(0.0), std::vector<double>{0.0});
    EXPECT_EQ(SweepLengths(4.9e-324).size(), 1U);
}

TEST(DesignSweep, RowValues) {
    EXPECT_EQ(RowTurnCount(2.5, 1000.0, 20.5), 5);
    EXPECT_EQ(RowTurnCount(3.0, 1000.0, 20.5), 5);
    EXPECT_EQ(RowTurnCount(3.25, 1000.0, 20.5), 6);
    EXPECT_EQ(RowInductance(5, 2.5, 20.5, 1000.0), 10506.25 / 11.98 / 1000.0);
    EXPECT_EQ(TurnSpacing(2.5, 5), 0.5);
    const WireLength short_ = RowWireLength(5, 20.5);
    EXPECT_EQ(short_.value, 5.0 * 20.5 * 3.1416);
    EXPECT_STREQ(short_.unit, "mm");
    const WireLength long_ = RowWireLength(22, 20.5);
    EXPECT_EQ(long_.value, 22.0 * 20.5 * 3.1416 / 1000.0);
    EXPECT_STREQ(long_.unit, "m");
    // Metres only above 1000 mm: 4 * 79.5772854596384 * 3.1416 is 1000 exactly.
    EXPECT_STREQ(RowWireLength(4, 79.5772854596384).unit, "mm");
    EXPECT_STREQ(RowWireLength(4, 79.57728545963842).unit, "m");
    EXPECT_EQ(FailureOf([] { TurnSpacing(1.0, 0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(FailureOf([] { TurnSpacing(0.0, 0); }), FailureKind::Overflow);
    EXPECT_EQ(FailureOf([] { RowTurnCount(1.0, -5.0, 20.5); }), FailureKind::InvalidArgument);
}

TEST(DesignSweep, EachRowStepInItsPlace) {
    // Last bits that another grouping of the steps would change.
    EXPECT_EQ(RowInductance(39, 9.3, 11.2, 1000.0), 13.034174067495554)
        << "N^2 * (D^2 / den), or nH / (den * scale)";
    EXPECT_EQ(RowWireLength(150, 7.5).value, 3.5342999999999996)
        << "N * (D * 3.1416), or (N * D) * (3.1416 / 1000)";
    EXPECT_EQ(RowWireLength(6, 18.25).value, 344.0052) << "N * (D * 3.1416)";
    EXPECT_EQ(RowWireLength(17, 5.6).value, 299.08032) << "(N / (1 / D)) * 3.1416";
}

// Inputs where a division as a multiplication by the reciprocal, or the
// reverse, changes the row's last bit; the exact model says which is right.
TEST(DesignSweep, RowInductanceWithoutReciprocals) {
    const auto den = RefDenominator;
    const struct {
        const char* step; // instead of the plain operation
        int turns;
        double length, diameter;
        std::function<double(double n, double l, double d)> wrong;
    } rows[] = {
        {"N^2 / (1 / D^2)", 198, 14.1, 22.12,
         [den](double n, double l, double d) {
             const double numerator = RefDiv(RefMul(n, n), RefDiv(1.0, RefMul(d, d)));
             return RefDiv(RefDiv(numerator, den(d, l)), 1000.0);
         }},
        {"numerator * (1 / den)", 133, 30.1, 29.51,
         [den](double n, double l, double d) {
             const double numerator = RefMul(RefMul(n, n), RefMul(d, d));
             return RefDiv(RefMul(numerator, RefDiv(1.0, den(d, l))), 1000.0);
         }},
        {"nH * (1 / scale)", 129, 15.2, 23.87,
         [den](double n, double l, double d) {
             const double numerator = RefMul(RefMul(n, n), RefMul(d, d));
             return RefMul(RefDiv(numerator, den(d, l)), RefDiv(1.0, 1000.0));
         }},
    };
    for (const auto& r : rows) {
        const double n = r.turns;
        const double expected = RefRowInductance(n, r.length, r.diameter, 1000.0);
        ASSERT_NE(r.wrong(n, r.length, r.diameter), expected) << r.step;
        EXPECT_EQ(RowInductance(static_cast<Int16>(r.turns), r.length, r.diameter, 1000.0),
                  expected)
            << r.step;
    }
}

// Required inductances next to where sqrt(den * L) / D is a half: one rounding
// more in a step rounds the count the other way.
TEST(DesignSweep, RowTurnCountWithoutReciprocals) {
    const auto den = RefDenominator;
    const struct {
        const char* step; // instead of the plain operation
        double length, requiredNh, diameter;
        std::function<double(double l, double q, double d)> wrong;
    } rows[] = {
        {"den / (1 / L)", 2.5, 1973.210559265442, 20.5,
         [den](double l, double q, double d) {
             return RefDiv(RefSqrt(RefDiv(den(d, l), RefDiv(1.0, q))), d);
         }},
        {"L / (1 / den)", 2.5, 429.721410684474, 20.5,
         [den](double l, double q, double d) {
             return RefDiv(RefSqrt(RefDiv(q, RefDiv(1.0, den(d, l)))), d);
         }},
        {"root * (1 / D)", 2.5, 302.51524390243907, 10.5,
         [den](double l, double q, double d) {
             return RefMul(RefSqrt(RefMul(den(d, l), q)), RefDiv(1.0, d));
         }},
    };
    for (const auto& r : rows) {
        const double exact =
            RefDiv(RefSqrt(RefMul(den(r.diameter, r.length), r.requiredNh)), r.diameter);
        // Half to even, as the count is rounded.
        const double count = std::nearbyint(exact);
        ASSERT_NE(std::nearbyint(r.wrong(r.length, r.requiredNh, r.diameter)), count) << r.step;
        EXPECT_EQ(RowTurnCount(r.length, r.requiredNh, r.diameter), count) << r.step;
    }
}

TEST(DesignSweep, NoOtherGroupingOfTheRowNumerator) {
    const auto den = RefDenominator;
    const auto row = [den](double numerator, double d, double l) {
        return RefDiv(RefDiv(numerator, den(d, l)), 1000.0);
    };
    const struct {
        const char* grouping; // instead of N^2 * D^2
        int turns;
        double diameter, length;
        std::function<double(double n, double d)> numerator;
    } rows[] = {
        {"(N*D)^2: the square of a product", 11, 24.2, 24.4,
         [](double n, double d) { return RefMul(RefMul(n, d), RefMul(n, d)); }},
        {"((D*D)*N)*N", 116, 34.8, 51.6,
         [](double n, double d) { return RefMul(RefMul(RefMul(d, d), n), n); }},
        {"((D*N)*D)*N", 151, 8.4, 48.4,
         [](double n, double d) { return RefMul(RefMul(RefMul(d, n), d), n); }},
        {"((D*N)*N)*D", 122, 25.6, 47.8,
         [](double n, double d) { return RefMul(RefMul(RefMul(d, n), n), d); }},
    };
    for (const auto& r : rows) {
        const double n = r.turns;
        const double expected = RefRowInductance(n, r.length, r.diameter, 1000.0);
        ASSERT_NE(row(r.numerator(n, r.diameter), r.diameter, r.length), expected) << r.grouping;
        EXPECT_EQ(RowInductance(static_cast<Int16>(r.turns), r.length, r.diameter, 1000.0),
                  expected)
            << r.grouping;
    }
}

TEST(DesignSweep, WireOfExactlyAMetreStaysInMillimetres) {
    // One turn on 318.3091418385536 mm is 1000 mm exactly: metres only above it.
    const WireLength metre = RowWireLength(1, 318.3091418385536);
    EXPECT_EQ(metre.value, 1000.0);
    EXPECT_STREQ(metre.unit, "mm");
    const WireLength above = RowWireLength(1, 318.30914183855367);
    EXPECT_EQ(above.value, 1.0000000000000002);
    EXPECT_STREQ(above.unit, "m");
}

TEST(DesignSweep, GroupsStartOnlyWhenTheCountRises) {
    Int16 previous = 0;
    const std::pair<int, bool> rows[] = {{5, true},  {5, false}, {6, true},
                                         {4, false}, {5, true},  {-1, false}};
    for (auto [turns, starts] : rows) {
        EXPECT_EQ(StartsGroup(static_cast<Int16>(turns), previous), starts) << turns;
        EXPECT_EQ(previous, turns);
    }
}

} // namespace
} // namespace tolvex::testing
