// Str and Format on arbitrary doubles: only the allowed characters come out,
// and the 15-digit form read back with Val has the same 15-digit form.
#include "numtext/arithmetic_failure.h"
#include "numtext/format.h"
#include "numtext/number_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kPictures[] = {"#######.##", " ###.0   ", "0.00    ",
                                          "0.00",       " ##00.0",   "####  Turns   "};

void RequireOnly(const std::string& text, std::string_view allowed) {
    for (char c : text)
        if (allowed.find(c) == std::string_view::npos) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::uint64_t)) return 0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    const double x = std::bit_cast<double>(bits);
    if (!std::isfinite(x)) return 0; // the actions never hand these on

    const std::string str = tolvex::Str(x);
    RequireOnly(str, "0123456789-. E+");
    if (str.empty() || (str[0] != ' ' && str[0] != '-')) std::abort();
    try {
        if (tolvex::Str(tolvex::Val(str)) != str) std::abort();
    } catch (const tolvex::ArithmeticFailure&) {
        // Only the largest doubles round up past the double range at 15 digits.
        if (str.substr(1) != "1.79769313486232E+308") std::abort();
    }

    for (std::string_view picture : kPictures) {
        const std::string text = tolvex::Format(x, picture);
        RequireOnly(text, "0123456789-. Turns");
        // The picture's literal text stands unchanged before and after the number.
        const std::size_t first = picture.find_first_of("#0.");
        const std::size_t last = picture.find_last_of("#0.");
        const std::string_view before = picture.substr(0, first);
        const std::string_view after = picture.substr(last + 1);
        if (text.size() < before.size() + after.size() ||
            text.compare(0, before.size(), before) != 0 ||
            text.compare(text.size() - after.size(), after.size(), after) != 0)
            std::abort();
    }
    if (size >= sizeof(std::uint64_t) + 2) {
        std::int16_t n = 0;
        std::memcpy(&n, data + sizeof bits, sizeof n);
        const std::string turns = tolvex::Format(n, "####  Turns   ");
        if (tolvex::Val(turns) != static_cast<double>(n)) std::abort();
        if (tolvex::Val(tolvex::Str(n)) != static_cast<double>(n)) std::abort();
    }
    return 0;
}
