// The number services against a slow exact reference on a million random
// cases per run (TOLVEX_REFERENCE_CASES changes the count; the seed is fixed
// unless TOLVEX_REFERENCE_SEED is given).
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "numtext/power.h"
#include "support/failure_kinds.h"
#include "support/reference_exact.h"

#include <gtest/gtest.h>

#include "support/double_bits.h"
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tolvex::testing {
namespace {

long CaseCount() {
    const char* text = std::getenv("TOLVEX_REFERENCE_CASES");
    return text == nullptr ? 1000000 : IntOf(text);
}

std::uint64_t Seed() {
    const char* text = std::getenv("TOLVEX_REFERENCE_SEED");
    return text == nullptr ? 20261208U : static_cast<std::uint64_t>(IntOf(text));
}

// ---- the 15-digit form, Str and the pictures, rebuilt from exact digits ----

struct Rounded15 {
    bool negative;
    std::string digits; // at most 15, no trailing zeros; empty for zero
    long pointPosition; // digits before the point
};

Rounded15 ReferenceFifteen(std::uint64_t bits) {
    ExactDecimal exact = ExactDecimalOf(bits);
    Rounded15 r{(bits >> 63) != 0, exact.digits, exact.pointPosition};
    if (r.digits.size() > 15) {
        const std::string rest = r.digits.substr(15);
        r.digits.resize(15);
        const bool aboveHalf = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) !=
                                                                       std::string::npos);
        const bool tie = rest[0] == '5' && !aboveHalf;
        if (aboveHalf || (tie && (r.digits.back() - '0') % 2 == 1)) {
            int i = 14;
            while (i >= 0 && r.digits[static_cast<std::size_t>(i)] == '9')
                r.digits[static_cast<std::size_t>(i--)] = '0';
            if (i < 0) {
                r.digits.insert(r.digits.begin(), '1');
                r.digits.pop_back();
                ++r.pointPosition;
            } else {
                ++r.digits[static_cast<std::size_t>(i)];
            }
        }
    }
    while (!r.digits.empty() && r.digits.back() == '0') r.digits.pop_back();
    if (r.digits.empty()) r.negative = false;
    return r;
}

// The digit of 10^power in a rounded value (0 outside its digits).
char DigitAt(const Rounded15& r, long power) {
    const long index = r.pointPosition - 1 - power;
    if (index < 0 || index >= static_cast<long>(r.digits.size())) return '0';
    return r.digits[static_cast<std::size_t>(index)];
}

std::string ReferenceStr(const Rounded15& r) {
    if (r.digits.empty()) return " 0";
    std::string text = r.negative ? "-" : " ";
    const long leading = r.pointPosition - 1; // power of ten of the first digit
    if (leading >= -3 && leading <= 14) {
        for (long p = std::max(leading, 0L); p >= 0; --p)
            if (p <= leading) text += DigitAt(r, p);
        const long lastPower = r.pointPosition - static_cast<long>(r.digits.size());
        if (lastPower < 0) {
            text += '.';
            for (long p = -1; p >= lastPower; --p) text += DigitAt(r, p);
        }
        return text;
    }
    text += r.digits[0];
    if (r.digits.size() > 1) text += "." + r.digits.substr(1);
    const std::string exponent = std::to_string(std::labs(leading));
    text += leading < 0 ? "E-" : "E+";
    text += (exponent.size() < 2 ? "0" : "") + exponent;
    return text;
}

struct PictureRule {
    const char* picture;
    const char* lead;
    const char* tail;
    int zerosBeforePoint;
    int places;
    bool keepTrailingZeros;
    bool point;
};

constexpr PictureRule kPictures[] = {
    {"#######.##", "", "", 0, 2, false, true},  {" ###.0   ", " ", "   ", 0, 1, true, true},
    {"0.00    ", "", "    ", 1, 2, true, true}, {"0.00", "", "", 1, 2, true, true},
    {" ##00.0", " ", "", 2, 1, true, true},
};

std::string ReferenceFormat(const Rounded15& r, const PictureRule& rule) {
    // Scaled integer: the value times 10^places, rounded half away from zero.
    std::string scaled;
    for (long p = std::max(r.pointPosition - 1, 0L); p >= -rule.places; --p)
        scaled += DigitAt(r, p);
    const bool roundUp = DigitAt(r, -rule.places - 1) >= '5';
    if (roundUp) {
        std::size_t i = scaled.size();
        while (i > 0 && scaled[i - 1] == '9') scaled[--i] = '0';
        if (i == 0) {
            scaled.insert(scaled.begin(), '1');
        } else {
            ++scaled[i - 1];
        }
    }
    std::string whole = scaled.substr(0, scaled.size() - static_cast<std::size_t>(rule.places));
    std::string fraction = scaled.substr(scaled.size() - static_cast<std::size_t>(rule.places));
    whole.erase(0, whole.find_first_not_of('0') == std::string::npos
                       ? whole.size()
                       : whole.find_first_not_of('0'));
    const bool zero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    while (static_cast<int>(whole.size()) < rule.zerosBeforePoint) whole.insert(whole.begin(), '0');
    if (!rule.keepTrailingZeros)
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return std::string(rule.lead) + (r.negative && !zero ? "-" : "") + whole +
           (rule.point ? "." : "") + fraction + rule.tail;
}

// Random doubles over the whole exponent range, weighted to the magnitudes
// the pictures meet, with exact decimal ties and near-ties mixed in.
std::uint64_t RandomDoubleBits(std::mt19937_64& random) {
    const std::uint64_t fraction = random() & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t sign = (random() & 1U) << 63;
    const int kind = static_cast<int>(random() % 10);
    if (kind < 6) { // 1e-21 .. 1e21
        const std::uint64_t exponent = 1023 - 70 + random() % 141;
        return sign | (exponent << 52) | fraction;
    }
    if (kind < 8) { // anywhere, subnormals included
        return sign | (random() % 0x7FF << 52) | fraction;
    }
    // Short decimals (k / 10^j): their 15-digit forms end in exact halves.
    const auto whole = static_cast<double>(random() % 2000000);
    const double scale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    const double x = whole / scale[random() % 5];
    return sign | BitPatternOf(x);
}

TEST(Reference, StrAndFormatAgreeWithExactDecimalExpansion) {
    std::mt19937_64 random(Seed());
    const long count = CaseCount();
    long wrong = 0;
    for (long i = 0; i < count; ++i) {
        const std::uint64_t bits = RandomDoubleBits(random);
        const auto x = DoubleOfBits(bits);
        const Rounded15 r = ReferenceFifteen(bits);
        const std::string str = Str(x);
        if (str != ReferenceStr(r) && ++wrong < 10)
            ADD_FAILURE() << BitsOf(x) << ": Str " << str << " reference " << ReferenceStr(r);
        for (const auto& rule : kPictures) {
            const std::string text = Format(x, rule.picture);
            if (text != ReferenceFormat(r, rule) && ++wrong < 10)
                ADD_FAILURE() << BitsOf(x) << " \"" << rule.picture << "\": " << text
                              << " reference " << ReferenceFormat(r, rule);
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << count << " doubles";
}

// ---- powers: the exact power between the midpoints to the neighbours -------

TEST(Reference, SquaresAndCubesAreTheNearestDoubles) {
    std::mt19937_64 random(Seed() + 1);
    const long count = CaseCount();
    long wrong = 0;
    for (long i = 0; i < count; ++i) {
        // Bases whose cube stays inside the double range, tiny ones included.
        const std::uint64_t exponent = 1023 - 400 + random() % 741;
        const std::uint64_t bits = ((random() & 1U) << 63) | (exponent << 52) |
                                   (random() & ((std::uint64_t{1} << 52) - 1));
        const auto x = DoubleOfBits(bits);
        const mpq_class magnitude = ExactValueOf(bits);
        for (int n : {2, 3}) {
            const double r = Power(x, n);
            mpq_class exact = 1;
            for (int k = 0; k < n; ++k) exact *= magnitude;
            const bool signRight = r == 0.0 || std::signbit(r) == (std::signbit(x) && n == 3);
            if ((!signRight || !IsNearestDouble(exact, std::fabs(r))) && ++wrong < 10)
                ADD_FAILURE() << BitsOf(x) << " ^ " << n << " gave " << BitsOf(r);
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << count << " bases";
}

// The exact power base^n (n may be negative) is the double returned, or the
// result overflows and the failure says so.
bool PowerIsNearest(double base, int n, const std::optional<FailureKind>& failure, double r) {
    const auto bits = BitPatternOf(base);
    const mpq_class magnitude = ExactValueOf(bits);
    mpq_class exact = 1;
    for (int k = 0; k < std::abs(n); ++k) exact *= magnitude;
    if (n < 0) exact = 1 / exact;
    if (failure.has_value())
        return *failure == FailureKind::Overflow && exact >= OverflowThreshold();
    const bool negative = std::signbit(base) && n % 2 != 0;
    if (r != 0.0 && std::signbit(r) != negative) return false;
    return IsNearestDouble(exact, std::fabs(r));
}

TEST(Reference, PowersOfTenAreTheNearestDoubles) {
    for (int e = -22; e <= 22; ++e) {
        double r = 0.0;
        const auto failure = FailureOf([&] { r = Power(10.0, e); });
        EXPECT_TRUE(PowerIsNearest(10.0, e, failure, r)) << "10 ^ " << e << " gave " << BitsOf(r);
    }
}

// Any base and whole exponent, ten and its neighbours among them, with
// exponents on both sides of the exact powers of ten.
TEST(Reference, PowersAreTheNearestDoubles) {
    std::mt19937_64 random(Seed() + 4);
    const long count = CaseCount() / 20;
    long wrong = 0;
    for (long i = 0; i < count; ++i) {
        const int n = static_cast<int>(random() % 61) - 30;
        double base = 10.0;
        const int kind = static_cast<int>(random() % 3);
        if (kind == 1) base = std::nextafter(10.0, (random() & 1U) != 0 ? 0.0 : 20.0);
        if (kind == 2) {
            // |log2 base| below 30: the power stays far from overflow.
            const std::uint64_t exponent = 1023 - 30 + random() % 61;
            base = DoubleOfBits(((random() & 1U) << 63) | (exponent << 52) |
                                (random() & ((std::uint64_t{1} << 52) - 1)));
        }
        double r = 0.0;
        const auto failure = FailureOf([&] { r = Power(base, n); });
        if (!PowerIsNearest(base, n, failure, r) && ++wrong < 10)
            ADD_FAILURE() << BitsOf(base) << " ^ " << n << " gave "
                          << (failure ? std::string(FailureKindText(*failure)) : BitsOf(r));
    }
    EXPECT_EQ(wrong, 0) << "of " << count << " powers";
}

// ---- Val: the nearest double of the decimal text ------------------------

struct DecimalText {
    std::string text;
    std::string digits; // the significand's digits, point removed
    long exponent;      // value = digits * 10^exponent
    bool negative;
};

DecimalText RandomDecimalText(std::mt19937_64& random) {
    DecimalText d;
    d.negative = (random() & 1U) != 0;
    const std::size_t length = 1 + random() % ((random() % 8) == 0 ? 60 : 20);
    for (std::size_t i = 0; i < length; ++i) d.digits += static_cast<char>('0' + random() % 10);
    const std::size_t point = random() % (length + 1);
    const long written = static_cast<long>(random() % 701) - 350;
    d.text = std::string(d.negative ? "-" : "") + d.digits.substr(0, point) + "." +
             d.digits.substr(point) + "e" + std::to_string(written);
    d.exponent = written - static_cast<long>(length - point);
    return d;
}

// Decimal texts on (or one unit beside) the midpoint between two doubles.
DecimalText MidpointText(std::mt19937_64& random) {
    const auto exponent = static_cast<std::uint64_t>(1 + random() % 0x7FE);
    const std::uint64_t bits = (exponent << 52) | (random() & ((std::uint64_t{1} << 52) - 1));
    const auto b = RefDecompose(bits);
    // (2s + 1) * 2^(e-1), written exactly in decimal.
    const mpz_class odd = BigOf(2 * b.significand + 1);
    const bool whole = b.exponent - 1 >= 0;
    const mpz_class n =
        whole ? mpz_class(odd << static_cast<unsigned>(b.exponent - 1))
              : mpz_class(odd * PowerOf(5, static_cast<unsigned long>(1 - b.exponent)));
    long scale = whole ? 0 : b.exponent - 1;
    DecimalText d;
    d.negative = false;
    d.digits = n.get_str(10);
    const int nudge = static_cast<int>(random() % 3); // on, just above, just below
    if (nudge == 1) {
        d.digits += "1";
        --scale;
    } else if (nudge == 2) {
        d.digits += "0";
        --scale;
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '0') d.digits[--i] = '9';
        --d.digits[i - 1];
    }
    d.exponent = scale;
    d.text = d.digits + "e" + std::to_string(scale);
    return d;
}

bool ValIsNearest(const DecimalText& d, const std::optional<FailureKind>& failure, double r) {
    const mpq_class exact = DecimalValue(d.digits, d.exponent);
    if (failure.has_value())
        return *failure == FailureKind::Overflow && exact >= OverflowThreshold();
    if (exact >= OverflowThreshold()) return false;
    if (std::signbit(r) != d.negative)
        return false; // "-" with any digit keeps its sign, also at zero
    return IsNearestDouble(exact, std::fabs(r));
}

TEST(Reference, ValGivesTheNearestDouble) {
    std::mt19937_64 random(Seed() + 2);
    const long count = CaseCount();
    long wrong = 0;
    for (long i = 0; i < count; ++i) {
        const DecimalText d = (i % 4 == 3) ? MidpointText(random) : RandomDecimalText(random);
        double r = 0.0;
        const auto failure = FailureOf([&] { r = Val(d.text); });
        if (!ValIsNearest(d, failure, r) && ++wrong < 10)
            ADD_FAILURE() << "\"" << d.text << "\" gave "
                          << (failure ? std::string(FailureKindText(*failure)) : BitsOf(r));
    }
    EXPECT_EQ(wrong, 0) << "of " << count << " texts";
}

// The edges of the double range, where the reading decides overflow and
// zero itself: the midpoint above the largest double, the largest double,
// half the smallest subnormal and the subnormal midpoints, each exactly, one
// unit above and one below, with short and with over-long digit runs.
std::vector<DecimalText> RangeEdgeTexts() {
    struct Edge {
        mpz_class digits;
        long exponent;
    };
    const Edge edges[] = {
        {BigOf((std::uint64_t{1} << 54) - 1) * PowerOf(2, 970), 0}, // overflow threshold
        {BigOf((std::uint64_t{1} << 53) - 1) * PowerOf(2, 971), 0}, // the largest double
        {PowerOf(5, 1075), -1075},     // half the smallest subnormal: a tie to zero
        {3 * PowerOf(5, 1075), -1075}, // 1.5 smallest subnormals: a tie to two
        {BigOf((std::uint64_t{1} << 53) - 1) * PowerOf(5, 1075), -1075}, // below 2^-1022
    };
    std::vector<DecimalText> texts;
    for (const auto& edge : edges)
        for (unsigned long zeros : {0UL, 1UL, 30UL, 600UL})
            for (int delta : {-1, 0, 1})
                for (bool negative : {false, true}) {
                    const mpz_class n = edge.digits * PowerOf(10, zeros) + delta;
                    DecimalText d;
                    d.negative = negative;
                    d.digits = n.get_str(10);
                    d.exponent = edge.exponent - static_cast<long>(zeros);
                    d.text = std::string(negative ? "-" : "") + d.digits + "e" +
                             std::to_string(d.exponent);
                    texts.push_back(d);
                }
    return texts;
}

TEST(Reference, ValAtTheEdgesOfTheDoubleRange) {
    for (const DecimalText& d : RangeEdgeTexts()) {
        double r = 0.0;
        const auto failure = FailureOf([&] { r = Val(d.text); });
        EXPECT_TRUE(ValIsNearest(d, failure, r))
            << d.text.substr(0, 40) << "... e" << d.exponent << " gave "
            << (failure ? std::string(FailureKindText(*failure)) : BitsOf(r));
    }
}

// Str(x) against the exact 15-digit form; the first few differences are shown.
void CountStrAgainstReference(double x, long& wrong) {
    const std::string expected = ReferenceStr(ReferenceFifteen(BitPatternOf(x)));
    const std::string str = Str(x);
    if (str != expected && ++wrong < 10)
        ADD_FAILURE() << BitsOf(x) << ": Str " << str << " reference " << expected;
}

// Doubles whose exact value has sixteen significant digits ending in 5 (a true
// tie for the 15-digit form, which goes to the even neighbour) and their
// quarters and eighths (one digit beyond the tie decides).
TEST(Reference, FifteenDigitTiesGoToEven) {
    std::mt19937_64 random(Seed() + 3);
    long wrong = 0;
    for (int i = 0; i < 100000; ++i) {
        // 10^15 <= n < 2^53 ending in 5 is exact as a double, and so is n / 2^k.
        const std::uint64_t n = 1000000000000005ULL + 10 * (random() % 800000000000000ULL);
        const double x = static_cast<double>(n) / static_cast<double>(1U << (random() % 4));
        CountStrAgainstReference(x, wrong);
    }
    EXPECT_EQ(wrong, 0);
}

// The doubles nearest to a 15-digit midpoint K.5 * 10^e and their neighbours:
// where the shortest digits are closest to deciding wrongly, and where the
// nearest double of the midpoint is the double itself.
TEST(Reference, FifteenDigitFormsNextToMidpoints) {
    std::mt19937_64 random(Seed() + 4);
    const long count = CaseCount() / 10;
    long wrong = 0;
    for (long i = 0; i < count; ++i) {
        const std::uint64_t kept = 100000000000000ULL + random() % 900000000000000ULL;
        const int exponent = -307 + static_cast<int>(random() % 615); // normal doubles
        mpq_class midpoint = BigOf(kept * 10 + 5) * RationalPower(10, exponent - 15);
        midpoint.canonicalize();
        // get_d truncates: the nearest double is it or the one above.
        double nearest = midpoint.get_d();
        const double above = std::nextafter(nearest, HUGE_VAL);
        if (abs(ExactValueOf(BitPatternOf(above)) - midpoint) <
            abs(ExactValueOf(BitPatternOf(nearest)) - midpoint))
            nearest = above;
        double x = std::nextafter(std::nextafter(nearest, 0.0), 0.0);
        for (int step = 0; step < 5; ++step, x = std::nextafter(x, HUGE_VAL)) {
            CountStrAgainstReference((random() & 1U) ? -x : x, wrong);
        }
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace tolvex::testing
