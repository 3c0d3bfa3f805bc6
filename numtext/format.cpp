#include "format.h"

#include "decimal_form.h"

#include <algorithm>

namespace tolvex {

namespace {

bool IsPlaceholder(char c) {
    return c == '#' || c == '0';
}

struct Picture {
    std::string_view before; // literal text in front of the number
    std::string_view after;  // literal text behind it
    bool hasPoint = false;
    int minWholeDigits = 0;    // "0" placeholders before the point
    int places = 0;            // placeholders after the point
    int minFractionDigits = 0; // up to the last "0" placeholder after the point
};

Picture ParsePicture(std::string_view text) {
    Picture picture;
    auto isNumberChar = [](char c) { return IsPlaceholder(c) || c == '.'; };
    const auto first = std::find_if(text.begin(), text.end(), isNumberChar);
    const auto last = std::find_if(text.rbegin(), text.rend(), isNumberChar).base();
    picture.before = text.substr(0, static_cast<std::size_t>(first - text.begin()));
    picture.after = text.substr(static_cast<std::size_t>(last - text.begin()));
    for (auto it = first; it < last; ++it) {
        if (*it == '.') {
            picture.hasPoint = true;
        } else if (!picture.hasPoint) {
            if (*it == '0') ++picture.minWholeDigits;
        } else {
            ++picture.places;
            if (*it == '0') picture.minFractionDigits = picture.places;
        }
    }
    return picture;
}

// The number as whole digits and fraction digits, rounded to `places`
// decimals, a dropped part of one half or more away from zero.
struct FixedDigits {
    std::string whole;    // without leading zeros; empty for a zero whole part
    std::string fraction; // exactly `places` digits
    bool IsZero() const {
        return whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    }
};

FixedDigits RoundToPlaces(const DecimalForm& form, int places) {
    // Lay the digits out from the first decimal place of 10^(exponent) down.
    std::string digits = form.digits;
    long wholeCount = form.exponent + 1; // digits before the point; may be <= 0
    const long keep = wholeCount + places;
    if (keep < 0 || digits.empty()) {
        digits.clear();
    } else if (keep < static_cast<long>(digits.size())) {
        const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (roundUp) {
            long i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++wholeCount;
            }
        }
    }
    FixedDigits fixed;
    // Pad so that the digit string covers whole part and places exactly.
    if (wholeCount < 0) {
        digits.insert(0, static_cast<std::size_t>(-wholeCount), '0');
        wholeCount = 0;
    }
    const auto total = static_cast<std::size_t>(wholeCount + places);
    if (digits.size() < total) digits.append(total - digits.size(), '0');
    digits.resize(total);
    fixed.whole = digits.substr(0, static_cast<std::size_t>(wholeCount));
    fixed.fraction = digits.substr(static_cast<std::size_t>(wholeCount));
    fixed.whole.erase(0, std::min(fixed.whole.find_first_not_of('0'), fixed.whole.size()));
    return fixed;
}

std::string Lay(const DecimalForm& form, std::string_view pictureText) {
    const Picture picture = ParsePicture(pictureText);
    FixedDigits fixed = RoundToPlaces(form, picture.places);

    std::string whole = fixed.whole;
    const auto minWhole = static_cast<std::size_t>(picture.minWholeDigits);
    if (whole.size() < minWhole) whole.insert(0, minWhole - whole.size(), '0');

    std::string fraction = fixed.fraction;
    const auto minFraction = static_cast<std::size_t>(picture.minFractionDigits);
    while (fraction.size() > minFraction && fraction.back() == '0') fraction.pop_back();

    std::string text(picture.before);
    // A value that rounds to zero shows no sign.
    if (form.negative && !fixed.IsZero()) text += '-';
    text += whole;
    if (picture.hasPoint) text += '.';
    text += fraction;
    text += picture.after;
    return text;
}

} // namespace

std::string Format(double x, std::string_view picture) {
    return Lay(FifteenDigitForm(x), picture);
}

std::string Format(Int16 n, std::string_view picture) {
    return Lay(WholeNumberForm(n), picture);
}

} // namespace tolvex
