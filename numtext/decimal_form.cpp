#include "decimal_form.h"

#include <fmt/compile.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

} // namespace

DecimalForm FifteenDigitForm(double x) {
    if (x == 0.0) return DecimalForm{};
    // fmt with a precision is correctly rounded from the exact binary value
    // (ties to even) and, without the "L" option, never consults the locale.
    // At most 22 characters: "-d.ddddddddddddddde-308".
    std::array<char, 40> buffer{};
    char* end = fmt::format_to(buffer.data(), FMT_COMPILE("{:.14e}"), x);
    return FromScientificText(buffer.data(), end);
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
