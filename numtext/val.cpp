#include "arithmetic_failure.h"
#include "nearest_double.h"
#include "number_text.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace tolvex {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads characters in order, stepping over blanks wherever they stand.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) { SkipBlanks(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance() {
        ++pos_;
        SkipBlanks();
    }
    // The next character after the current one, blanks skipped, without moving.
    char PeekAfter(std::size_t steps) const {
        std::size_t p = pos_;
        for (std::size_t i = 0; i < steps && p < text_.size(); ++i) {
            ++p;
            while (p < text_.size() && IsBlank(text_[p])) ++p;
        }
        return p < text_.size() ? text_[p] : '\0';
    }

  private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// "&H" and "&O" numbers: 16-bit two's complement when the value fits 16 bits,
// 32-bit when it fits 32, an overflow beyond.
double ReadRadixNumber(Reader& in, int radix) {
    std::uint64_t value = 0;
    while (DigitValue(in.Peek()) < radix) {
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(DigitValue(in.Peek()));
        if (value > 0xFFFFFFFFULL) Fail(FailureCause::RadixBeyond32Bits);
        in.Advance();
    }
    if (value <= 0xFFFFULL)
        return value >= 0x8000 ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
    return value >= 0x80000000ULL ? static_cast<double>(value) - 4294967296.0
                                  : static_cast<double>(value);
}

// Enough significant digits for any double to round correctly (and fewer
// than NearestDouble takes); a dropped non-zero tail is kept as one trailing
// "1" so that ties are not mistaken.
constexpr std::size_t kMaxSignificantDigits = 800;
constexpr long kExponentLimit = 100000000;

struct DecimalText {
    bool negative = false;
    bool anyDigit = false;
    std::string significant; // leading zeros dropped
    bool droppedNonZero = false;
    long pointShift = 0; // power of ten of the digit after the last significant one
    long exponent = 0;
};

void AppendDigit(DecimalText& number, char c, bool afterPoint) {
    number.anyDigit = true;
    if (number.significant.empty() && c == '0') {
        if (afterPoint) --number.pointShift;
        return;
    }
    if (number.significant.size() < kMaxSignificantDigits) {
        number.significant.push_back(c);
        if (afterPoint) --number.pointShift;
    } else {
        if (c != '0') number.droppedNonZero = true;
        if (!afterPoint) ++number.pointShift;
    }
}

void ReadExponent(Reader& in, DecimalText& number) {
    const char letter = in.Peek();
    if (letter != 'E' && letter != 'e') return;
    char next = in.PeekAfter(1);
    const bool signed_ = next == '+' || next == '-';
    if (!IsDigit(signed_ ? in.PeekAfter(2) : next)) return; // "E" without digit ends the number
    in.Advance();
    bool negative = false;
    if (signed_) {
        negative = in.Peek() == '-';
        in.Advance();
    }
    long value = 0;
    while (IsDigit(in.Peek())) {
        if (value < kExponentLimit) value = value * 10 + (in.Peek() - '0');
        in.Advance();
    }
    number.exponent = negative ? -value : value;
}

double NearestDouble(const DecimalText& number) {
    const double zero = number.negative ? -0.0 : 0.0;
    if (number.significant.empty()) return zero;
    std::string text = number.significant;
    if (number.droppedNonZero) text.push_back('1');
    const long scale = number.pointShift - (number.droppedNonZero ? 1 : 0) + number.exponent;
    // Far-out exponents need no conversion.
    const long leadingPower = scale + static_cast<long>(text.size()) - 1;
    if (leadingPower > 400) Fail(FailureCause::BeyondDoubleRange);
    if (leadingPower < -400) return zero;
    const double value = tolvex::NearestDouble(text, scale);
    if (std::isinf(value)) Fail(FailureCause::BeyondDoubleRange);
    return number.negative ? -value : value;
}

double ReadDecimalNumber(Reader& in) {
    DecimalText number;
    if (in.Peek() == '+' || in.Peek() == '-') {
        number.negative = in.Peek() == '-';
        in.Advance();
    }
    bool afterPoint = false;
    for (;;) {
        const char c = in.Peek();
        if (IsDigit(c)) {
            AppendDigit(number, c, afterPoint);
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
        in.Advance();
    }
    if (!number.anyDigit) return 0.0;
    ReadExponent(in, number);
    return NearestDouble(number);
}

} // namespace

double Val(std::string_view text) {
    Reader in(text);
    if (in.Peek() == '&') {
        const char kind = in.PeekAfter(1);
        if (kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o') {
            in.Advance();
            in.Advance();
            return ReadRadixNumber(in, kind == 'H' || kind == 'h' ? 16 : 8);
        }
        return 0.0;
    }
    return ReadDecimalNumber(in);
}

} // namespace tolvex
