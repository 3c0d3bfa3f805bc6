#include "decimal_form.h"

#include "nearest_double.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace tolvex {

namespace {

DecimalForm FromScientificText(const char* first, const char* last) {
    // first..last holds "[-]d.dddde[+-]xx" as "{:.14e}" writes it.
    DecimalForm form;
    const char* p = first;
    if (*p == '-') {
        form.negative = true;
        ++p;
    }
    for (; p != last && *p != 'e'; ++p)
        if (*p != '.') form.digits.push_back(*p);
    if (p != last) {
        ++p;
        if (*p == '+') ++p;
        std::from_chars(p, last, form.exponent);
    }
    while (!form.digits.empty() && form.digits.back() == '0') form.digits.pop_back();
    if (form.digits.empty()) form.exponent = 0;
    return form;
}

// fmt with a precision is correctly rounded from the exact binary value (ties
// to even) and, without the "L" option, never consults the locale; but it
// often needs big-number arithmetic, so it is kept for the few doubles whose
// shortest digits cannot decide.
DecimalForm ExactFifteenDigitForm(double x) {
    // At most 22 characters: "-d.ddddddddddddddde-308".
    std::array<char, 40> buffer{};
    char* end = fmt::format_to(buffer.data(), FMT_COMPILE("{:.14e}"), x);
    return FromScientificText(buffer.data(), end);
}

// significand * 10^exponentOfLast, as a form.
DecimalForm FormOf(bool negative, std::uint64_t significand, int exponentOfLast) {
    while (significand % 10 == 0) {
        significand /= 10;
        ++exponentOfLast;
    }
    DecimalForm form;
    form.negative = negative;
    std::array<char, 20> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), significand);
    form.digits.assign(buffer.data(), written.ptr);
    form.exponent = exponentOfLast + static_cast<int>(form.digits.size()) - 1;
    return form;
}

// The double nearest to significand * 10^exponentOfLast.
double NearestDouble(std::uint64_t significand, int exponentOfLast) {
    std::array<char, 20> digits{};
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), significand).ptr;
    // A pointer and a length: the browser build's libc++ has no string_view
    // made from two pointers.
    return tolvex::NearestDouble(
        std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())),
        exponentOfLast);
}

int DigitCount(std::uint64_t n) {
    int count = 1;
    for (; n >= 10; n /= 10) ++count;
    return count;
}

} // namespace

DecimalForm FifteenDigitForm(double x) {
    if (x == 0.0) return DecimalForm{};
    const bool negative = std::signbit(x);
    const double magnitude = std::fabs(x);
    // A subnormal's ulp is not relative to its size, and infinities and NaN
    // have no digits: the exact path writes them.
    const bool normal = magnitude >= std::numeric_limits<double>::min() &&
                        magnitude <= std::numeric_limits<double>::max(); // false for NaN
    if (!normal) return ExactFifteenDigitForm(x);

    // Dragonbox's shortest digits S lie within half an ulp of x. With at most
    // 15 of them they are the answer: an ulp is under a quarter of a step of
    // the 15-digit grid, so no other grid point is as near to x as S.
    const auto shortest = fmt::detail::dragonbox::to_decimal(magnitude);
    const int dropped = DigitCount(shortest.significand) - 15;
    if (dropped <= 0) return FormOf(negative, shortest.significand, shortest.exponent);

    // Longer, let K be S's first 15 digits. Within an eighth of a step of S,
    // x rounds to K or to the grid point above, as it lies below or above the
    // midpoint M = K.5. Rounding to the nearest double keeps order, so M's
    // nearest double above x means M > x, and below x means M < x. Only where
    // it is x itself (a true tie among them) does the exact path decide.
    std::uint64_t kept = shortest.significand;
    for (int i = 0; i < dropped; ++i) kept /= 10;
    const int exponentOfKept = shortest.exponent + dropped;
    const double midpoint = NearestDouble(kept * 10 + 5, exponentOfKept - 1);
    if (midpoint == magnitude) return ExactFifteenDigitForm(x);
    if (midpoint < magnitude) ++kept;
    return FormOf(negative, kept, exponentOfKept);
}

DecimalForm WholeNumberForm(long long n) {
    DecimalForm form;
    if (n == 0) return form;
    form.negative = n < 0;
    std::array<char, 24> buffer{};
    unsigned long long magnitude = form.negative ? 0ULL - static_cast<unsigned long long>(n)
                                                 : static_cast<unsigned long long>(n);
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude);
    form.digits.assign(buffer.data(), result.ptr);
    form.exponent = static_cast<int>(form.digits.size()) - 1;
    while (form.digits.back() == '0') form.digits.pop_back();
    return form;
}

} // namespace tolvex
