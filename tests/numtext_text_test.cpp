#include "numtext/format.h"
#include "numtext/number_text.h"
#include "support/failure_kinds.h"
#include "support/reference_exact.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tolvex::testing {
namespace {

struct ValCase {
    std::string text;
    double expected;
};

TEST(Val, ReadsTheLeadingNumber) {
    const ValCase cases[] = {
        {"", 0.0},
        {" 2 45 7", 2457.0},
        {"10 mm", 10.0},
        {"1,5", 1.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"-0.25", -0.25},
        {"1e3", 1000.0},
        {"abc", 0.0},
        {"&HFFFF", -1.0},
        {"&H10", 16.0},
        {"&O17", 15.0},
        {"1.2.3", 1.2},
        {"2.5E-1", 0.25},
        {"-", 0.0},
        {".", 0.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"3E+E+", 3.0},
        {"2\r3", 23.0},
        {"+\n4635.110", 4635.11},
        {"1d3", 1.0},
        {"&h7fff", 32767.0},
        {"&H8000", -32768.0},
        {"&HFFFFFFFF", -1.0},
        {"&H80000000", -2147483648.0},
        {"&H7FFFFFFF", 2147483647.0},
        {"&Ha", 10.0},
        {"&Hf", 15.0},
        {"&HA", 10.0},
        {"&O18", 1.0},
        {"&H10000", 65536.0},
        {"&O177777", -1.0},
        {"&Z1", 0.0},
        {"1e-400", 0.0},
        {"4.9e-324", 4.9e-324},
        {"- 1 . 5 e - 1", -0.15},
        {"0.1", 0.1},
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.0000000000000000000000001", 9007199254740994.0},
        {"\xff"
         "1",
         0.0},
        {std::string("1\0002", 3), 1.0}, // reading stops at the NUL inside the text
        // Leading zeros widen no budget: the value decides 16 or 32 bits and
        // the exponent, and significant digits begin at the first non-zero.
        {"&H0FFFF", -1.0},
        {"&O0177777", -1.0},
        {"&O0100000", -32768.0},
        {"&H000000000FFFFFFFF", -1.0},
        {"&O00000000000037777777777", -1.0},
        {"1e0000000000002", 100.0},
        {"1E-0000000000003", 0.001},
        {std::string(900, '0') + "1.5", 1.5},
        {"." + std::string(900, '0') + "15e901", 1.5},
        // A sign belongs to decimal digits; one before a radix prefix reads nothing.
        {"-&H10", 0.0},
        {"+&HFFFF", 0.0},
        {"-&o17", 0.0},
        {"+ &O17", 0.0},
        {"&H-1", 0.0},
    };
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.expected) << "\"" << c.text << "\"";
    // Any other character ends the number where it stands ("@" here): first
    // (so "&" before a sign, point, blank or digit), after a sign, after "&",
    // between digits, after the point, in the exponent.
    const ValCase places[] = {{"@12", 0.0},  {"@-1", 0.0},  {"@.5", 0.0},   {"@ 1", 0.0},
                              {"-@12", 0.0}, {"&@12", 0.0}, {"3@5", 3.0},   {".@5", 0.0},
                              {"3.@5", 3.0}, {"3e@5", 3.0}, {"3e-@5", 3.0}, {"3e1@5", 30.0}};
    for (const char stop : std::string_view("xDa,&$%#!\v\f\0\xff", 13))
        for (ValCase c : places) {
            std::replace(c.text.begin(), c.text.end(), '@', stop);
            EXPECT_EQ(Val(c.text), c.expected) << "\"" << c.text << "\"";
        }
    EXPECT_TRUE(std::signbit(Val("-0")));
    EXPECT_FALSE(std::signbit(Val("-.")));
}

// A text that ends exactly where readable memory ends: the page after it
// cannot be read, so a single character read past the end crashes the test.
class TextAtPageEnd {
  public:
    explicit TextAtPageEnd(std::string_view text)
        : page_(static_cast<std::size_t>(sysconf(_SC_PAGESIZE))),
          memory_(mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1,
                       0)) {
        auto* bytes = static_cast<char*>(memory_);
        mprotect(bytes + page_, page_, PROT_NONE);
        char* start = bytes + page_ - text.size();
        std::copy(text.begin(), text.end(), start);
        view_ = std::string_view(start, text.size());
    }
    ~TextAtPageEnd() { munmap(memory_, 2 * page_); }
    TextAtPageEnd(const TextAtPageEnd&) = delete;
    TextAtPageEnd& operator=(const TextAtPageEnd&) = delete;
    std::string_view View() const { return view_; }

  private:
    std::size_t page_;
    void* memory_;
    std::string_view view_;
};

TEST(Val, NeverReadsPastTheEndOfItsText) {
    // Each text stops where a reader that looked one character further
    // would step into the unreadable page: after a digit, a blank, a sign,
    // an exponent letter, a radix prefix or a point.
    const ValCase cases[] = {
        {"12", 12.0},  {"1 ", 1.0},  {"-", 0.0},  {"1e", 1.0},    {"1e+", 1.0},
        {"&H", 0.0},   {"&", 0.0},   {"5.", 5.0}, {" ", 0.0},     {"2 5 ", 25.0},
        {"&HF", 15.0}, {"1E-", 1.0}, {"+ ", 0.0}, {"3e 1", 30.0},
    };
    for (const auto& c : cases) {
        const TextAtPageEnd text(c.text);
        EXPECT_EQ(Val(text.View()), c.expected) << "\"" << c.text << "\"";
    }
}

TEST(Val, FailsBeyondTheDoubleRange) {
    for (const char* text : {"1e400", "-1e309", "&H100000000", "1.8e308"})
        EXPECT_EQ(FailureOf([&] { Val(text); }), FailureKind::Overflow) << text;
    EXPECT_EQ(Val("1.7976931348623157e308"), 1.7976931348623157e308);
}

TEST(Val, TiesAtTheEdgesOfTheRange) {
    // Exactly the midpoint above the largest double is an overflow, and
    // exactly half the least subnormal (5^1075 * 10^-1075) reads as 0; either
    // one a unit further in is a number.
    const mpz_class top = PowerOf(2, 1024) - PowerOf(2, 970);
    const mpz_class half = PowerOf(5, 1075);
    const std::pair<std::string, std::optional<double>> rows[] = {
        {top.get_str(), std::nullopt},
        {mpz_class(top - 1).get_str(), DBL_MAX},
        {half.get_str() + "e-1075", 0.0},
        {mpz_class(half * 10 + 1).get_str() + "e-1076", 0x1p-1074},
    };
    for (const auto& [text, expected] : rows) {
        if (expected) {
            EXPECT_EQ(Val(text), *expected) << text;
        } else {
            // Named apart: emscripten's clang 14 captures no structured binding.
            const std::string& overflowing = text;
            EXPECT_EQ(FailureOf([&] { Val(overflowing); }), FailureKind::Overflow) << text;
        }
    }
}

TEST(Val, RadixTextsWiderThan32BitsFail) {
    // The wider ones wrap 64 bits too: checked only once all digits are read,
    // they would come back as the small number below the wrap (1 or 0).
    const char* const cases[] = {
        "&H100000000",              // 33 bits
        "&H10000000000000001",      // 2^64 + 1
        "&H100000000000000000",     // 2^68
        "&O2000000000000000000001", // 2^64 + 1 in octal
        "&hFFFFFFFFFFFFFFFFFFFF",   // 80 bits
    };
    for (const char* text : cases) {
        try {
            Val(text);
            ADD_FAILURE() << text << " was read";
        } catch (const ArithmeticFailure& failure) {
            EXPECT_EQ(failure.cause(), FailureCause::RadixBeyond32Bits) << text;
        }
    }
}

TEST(Val, VeryLongDigitRunsRoundCorrectly) {
    // A tie broken only by a digit far beyond the first few hundred.
    std::string text = "9007199254740993";
    text += std::string(2000, '0');
    text.insert(16, ".");
    EXPECT_EQ(Val(text), 9007199254740992.0);
    text += "1";
    EXPECT_EQ(Val(text), 9007199254740994.0);
}

TEST(Str, WritesFifteenDigitForms) {
    const std::pair<double, const char*> doubles[] = {
        {6.0, " 6"},
        {2.5, " 2.5"},
        {0.5, " .5"},
        {-0.5, "-.5"},
        {1.0 / 3.0, " .333333333333333"},
        {0.1 * 3, " .3"},
        {0.0, " 0"},
        {-0.0, " 0"},
        {11.0, " 11"},
        {0.001, " .001"},
        {0.0005, " 5E-04"},
        {1.5e15, " 1.5E+15"},
        {-2.5e-7, "-2.5E-07"},
        {1e-10, " 1E-10"},
        {2.5e-9, " 2.5E-09"}, // the last exponent padded to two digits
        {0.1, " .1"},
        {999999999999999.0, " 999999999999999"},
        {1e100, " 1E+100"},
        {1234567890123455.0, " 1.23456789012346E+15"},
        {123456789012345.6, " 123456789012346"},
        // The smallest subnormal: its shortest digits are just "5".
        {4.9406564584124654e-324, " 4.94065645841247E-324"},
        // The form follows the 15-digit form, not the double: the doubles just
        // below 0.001 and 1e15 round up to them, their neighbours do not.
        {std::nextafter(0.001, 0.0), " .001"},
        {-std::nextafter(0.001, 0.0), "-.001"},
        {0.000999999999999999, " 9.99999999999999E-04"},
        {std::nextafter(1e15, 0.0), " 1E+15"},
        {-std::nextafter(1e15, 0.0), "-1E+15"},
        {999999999999999.4, " 999999999999999"},
    };
    for (auto [x, expected] : doubles) EXPECT_EQ(Str(x), expected) << x;
    EXPECT_EQ(Str(Int16{5}), " 5");
    EXPECT_EQ(Str(Int16{0}), " 0");
    EXPECT_EQ(Str(Int16{-3}), "-3");
    EXPECT_EQ(Int16ToText(Int16{-1}), "-1");
    EXPECT_EQ(Val(Int16ToText(Int16{-1})), -1.0);
}

TEST(Str, FifteenDigitTieGoesToEven) {
    // 16 significant digits ending in 5, exact as doubles: true ties.
    EXPECT_EQ(Str(100000000000000.5), " 100000000000000");
    EXPECT_EQ(Str(100000000000001.5), " 100000000000002");
    EXPECT_EQ(Str(-100000000000002.5), "-100000000000002");
    EXPECT_EQ(Str(1000000000000005.0), " 1E+15"); // the even neighbour ends in zeros
}

struct FormatCase {
    double value;
    const char* picture;
    const char* expected;
};

TEST(Format, TheSixPicturesLayNumbersOut) {
    const FormatCase cases[] = {
        {2.1408558, "#######.##", "2.14"},
        {2140.8558, "#######.##", "2140.86"},
        {2140855.83, "#######.##", "2140855.83"},
        {12345678.9, "#######.##", "12345678.9"},
        {5.0, "#######.##", "5."},
        {2.5, "#######.##", "2.5"},
        {0.5, "#######.##", ".5"},
        {0.625, "#######.##", ".63"},
        {0.0021408, "#######.##", "."},
        {0.0, "#######.##", "."},
        {-2.5, "#######.##", "-2.5"},
        {-0.5, "#######.##", "-.5"},
        {2.5, " ###.0   ", " 2.5   "},
        {2.75, " ###.0   ", " 2.8   "},
        {3.25, " ###.0   ", " 3.3   "},
        {12.0, " ###.0   ", " 12.0   "},
        {0.26, " ###.0   ", " .3   "},
        {0.04, " ###.0   ", " .0   "},
        {1234.56, " ###.0   ", " 1234.6   "},
        {-2.0, " ###.0   ", " -2.0   "},
        {0.5, "0.00    ", "0.50    "},
        {0.625, "0.00    ", "0.63    "},
        {0.5416666, "0.00    ", "0.54    "},
        {12.3456, "0.00    ", "12.35    "},
        {0.0, "0.00    ", "0.00    "},
        {0.87698, "0.00", "0.88"},
        {3.0, "0.00", "3.00"},
        {2140.8558, "0.00", "2140.86"},
        {0.001, "0.00", "0.00"},
        {0.005, "0.00", "0.01"},
        {0.05, "0.00", "0.05"},
        {0.05, " ###.0   ", " .1   "},
        {-0.001, "0.00", "0.00"},
        {322.014, " ##00.0", " 322.0"},
        {386.4168, " ##00.0", " 386.4"},
        {5.26, " ##00.0", " 05.3"},
        {1.5, " ##00.0", " 01.5"},
        {0.32, " ##00.0", " 00.3"},
        {0.0, " ##00.0", " 00.0"},
        {1234.56, " ##00.0", " 1234.6"},
        {-12.5, " ##00.0", " -12.5"},
        {9.995, "0.00", "10.00"},
        {0.995, "#######.##", "1."},
        {1e15, "0.00", "1000000000000000.00"},
        {-0.04, " ###.0   ", " .0   "},
        // 1.015 is held as 1.01499999999999990230; its 15-digit form is 1.015,
        // so the half rounds up (printf of the binary value would give 1.01).
        {1.015, "0.00", "1.02"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.picture), c.expected) << c.value << " \"" << c.picture << "\"";

    const std::pair<int, const char*> turns[] = {
        {12, "12  Turns   "}, {5, "5  Turns   "},   {12345, "12345  Turns   "},
        {0, "  Turns   "},    {-3, "-3  Turns   "}, {-32768, "-32768  Turns   "}};
    for (auto [n, expected] : turns)
        EXPECT_EQ(Format(static_cast<Int16>(n), "####  Turns   "), expected) << n;
}

} // namespace
} // namespace tolvex::testing
