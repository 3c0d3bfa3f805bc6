// Prints every result of the number services and of both actions, as IEEE
// bits or as the text written, one line each: over the conformance vectors
// and seeded random inputs. scripts/cross-check.sh compares this output from
// each Debian architecture with amd64's, byte for byte. The inputs come from
// mt19937_64's raw bits (its sequence is fixed by the C++ standard), never
// from a distribution, whose floating-point steps could differ by machine.
#include "form/actions.h"
#include "numtext/format.h"
#include "numtext/number_text.h"
#include "numtext/power.h"
#include "support/conformance_fields.h"
#include "support/failure_kinds.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace tolvex::testing {
namespace {

constexpr int kRandomCases = 2000;
constexpr std::string_view kPictures[] = {"#######.##", " ###.0   ", "0.00    ", "0.00", " ##00.0"};

// One line: the tables' line breaks are written as \r and \n.
void Print(std::string_view name, const std::string& result) {
    std::string line(name);
    line += ' ';
    for (const char c : result) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// The text `produce` gives, or the failure's words.
void PrintText(std::string_view name, const std::function<std::string()>& produce) {
    std::string result;
    try {
        result = produce();
    } catch (const ArithmeticFailure& failure) {
        result = std::string("failure: ") + failure.what();
    }
    Print(name, result);
}

void PrintNumber(std::string_view name, const std::function<double()>& produce) {
    PrintText(name, [&] { return BitsOf(produce()); });
}

void PrintTextsOf(double x) {
    PrintText("Str", [&] { return Str(x); });
    for (std::string_view picture : kPictures)
        PrintText("Format", [&] { return Format(x, picture); });
}

// ---- random operands ----

class Operands {
  public:
    explicit Operands(std::uint64_t seed) : bits_(seed) {}
    std::uint64_t Bits() { return bits_(); }
    std::uint64_t Below(std::uint64_t n) { return bits_() % n; }

    // Sign and significand at random, the biased exponent as given (0 for a
    // subnormal or zero, 2047 never).
    double WithExponent(std::uint64_t biased) {
        const std::uint64_t sign = Bits() & (1ULL << 63);
        const std::uint64_t significand = Bits() & ((1ULL << 52) - 1);
        return DoubleOfBits(sign | (biased << 52) | significand);
    }
    // Any finite double, tiny and huge alike.
    double Any() { return WithExponent(Below(2047)); }
    // Magnitudes a coil has: about 2^-20 .. 2^20.
    double Moderate() { return WithExponent(1003 + Below(41)); }
    // A decimal text: up to 17 digits, an exponent in -330..330 or none.
    std::string DecimalText() {
        std::string text = (Bits() & 1) != 0 ? "-" : "";
        text += std::to_string(Bits() % 100000000000000000ULL);
        if ((Bits() & 1) != 0) text += "e" + std::to_string(static_cast<long>(Below(661)) - 330);
        return text;
    }

  private:
    std::mt19937_64 bits_;
};

// Second operands that put a product or quotient at the subnormal or overflow
// edge as often as anywhere else.
double EdgePartner(Operands& in, double a, bool forProduct) {
    const auto ea = static_cast<long>((BitPatternOf(a) >> 52) & 0x7FF);
    const long target = (in.Bits() & 1) != 0 ? static_cast<long>(in.Below(60)) - 30
                                             : 2046 - static_cast<long>(in.Below(4));
    long eb = forProduct ? target - ea + 1023 : ea - target + 1023;
    if (eb < 1 || eb > 2046) eb = static_cast<long>(in.Below(2047));
    return in.WithExponent(static_cast<std::uint64_t>(eb));
}

void PrintArithmetic(Operands& in) {
    for (int i = 0; i < kRandomCases; ++i) {
        const double a = in.Any();
        const double moderate = in.Moderate();
        PrintNumber("Add", [&] { return Add(a, in.Any()); });
        // Nearly opposite sums cancel to subnormals and to exact zeros.
        PrintNumber("Add", [&] { return Add(a, Mul(a, -0.75)); });
        PrintNumber("Add", [&] { return Add(moderate, in.Moderate()); });
        PrintNumber("Mul", [&] { return Mul(a, EdgePartner(in, a, true)); });
        PrintNumber("Mul", [&] { return Mul(moderate, in.Moderate()); });
        PrintNumber("Div", [&] { return Div(a, EdgePartner(in, a, false)); });
        PrintNumber("Div", [&] { return Div(moderate, in.Moderate()); });
        PrintNumber("Sqr", [&] { return Sqr(a); });
        PrintNumber("Sqr", [&] { return Sqr(moderate); });
        const auto exponent = static_cast<int>(in.Below(61)) - 30;
        PrintNumber("Power", [&] { return Power(moderate, exponent); });
        PrintNumber("Power", [&] { return Power(a, static_cast<int>(in.Below(4))); });
        PrintNumber("Power", [&] { return Power(10.0, exponent); });
        // About 2^-24 .. 2^16, and a whole number and a half.
        const double small = Mul(moderate, 0.0625);
        const double half = Add(Int(small), 0.5);
        PrintNumber("Int", [&] { return Int(small); });
        PrintText("RoundToInt16", [&] { return Int16ToText(RoundToInt16(small)); });
        PrintText("RoundToInt16", [&] { return Int16ToText(RoundToInt16(half)); });
        PrintTextsOf(a);
        PrintTextsOf(moderate);
        const std::string text = in.DecimalText();
        PrintNumber("Val", [&] { return Val(text); });
        PrintNumber("Val", [&] { return Val(Str(a)); });
    }
}

// ---- both actions ----

void PrintActions(CoilFields fields) {
    PrintText("CalcInd", [&] {
        CalcInd_Click(fields);
        return fields.IndRes;
    });
    PrintText("GO", [&] {
        GO_Click(fields);
        return fields.Results;
    });
}

std::string CoilDimensionText(Operands& in) {
    // 0.01 .. 9999.99 with two decimals, sometimes negative or zero.
    const std::uint64_t hundredths = in.Below(1000000);
    std::string text = in.Below(16) == 0 ? "-" : "";
    return text + std::to_string(hundredths / 100) + "." + std::to_string(hundredths % 100);
}

void PrintRandomForms(Operands& in) {
    for (int i = 0; i < kRandomCases; ++i) {
        CoilFields fields;
        fields.FormDia = CoilDimensionText(in);
        fields.WireDia = CoilDimensionText(in);
        fields.Ind = CoilDimensionText(in);
        fields.Turns = CoilDimensionText(in);
        fields.Length = CoilDimensionText(in);
        fields.IndUnits.SetListIndex(static_cast<Int16>(static_cast<int>(in.Below(4)) - 1));
        PrintActions(fields);
    }
}

// ---- the conformance vectors ----

void PrintConformance() {
    for (const Json& v : ReadJsonLines("actions.jsonl"))
        PrintActions(FieldsOfVector(v.at("fields")));
    for (const Json& v : ReadJsonLines("numbers.jsonl")) {
        if (v.contains("bits")) PrintTextsOf(DoubleFromBits(TextOf(v, "bits")));
    }
    for (const Json& v : ReadJsonLines("val.jsonl"))
        PrintNumber("Val", [&] { return Val(TextOf(v, "text")); });
}

} // namespace
} // namespace tolvex::testing

int main() {
    using namespace tolvex::testing;
    PrintConformance();
    Operands in(20261210U);
    PrintArithmetic(in);
    PrintRandomForms(in);
    return 0;
}
