#include "decimal_form.h"
#include "number_text.h"

#include <charconv>
#include <cstdlib>

namespace tolvex {

namespace {

std::string PlainDigits(const DecimalForm& form) {
    std::string text;
    if (form.exponent < 0) {
        text = ".";
        text.append(static_cast<std::size_t>(-form.exponent - 1), '0');
        text += form.digits;
        return text;
    }
    const auto wholeCount = static_cast<std::size_t>(form.exponent) + 1;
    if (form.digits.size() <= wholeCount) {
        text = form.digits;
        text.append(wholeCount - form.digits.size(), '0');
        return text;
    }
    text = form.digits.substr(0, wholeCount);
    text += '.';
    text += form.digits.substr(wholeCount);
    return text;
}

std::string ExponentDigits(const DecimalForm& form) {
    std::string text = form.digits.substr(0, 1);
    if (form.digits.size() > 1) text.append(".").append(form.digits, 1);
    text += form.exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(form.exponent);
    if (magnitude < 10) text += '0';
    char buffer[8];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    text.append(buffer, result.ptr);
    return text;
}

} // namespace

std::string Int16ToText(Int16 n) {
    char buffer[8];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int>(n));
    return {buffer, result.ptr};
}

std::string Str(Int16 n) {
    std::string digits = Int16ToText(n);
    return n < 0 ? digits : digits.insert(0, 1, ' ');
}

std::string Str(double x) {
    const DecimalForm form = FifteenDigitForm(x);
    if (form.IsZero()) return " 0";
    const bool plain = form.exponent >= -3 && form.exponent < 15;
    std::string text = plain ? PlainDigits(form) : ExponentDigits(form);
    return text.insert(0, 1, form.negative ? '-' : ' ');
}

} // namespace tolvex
