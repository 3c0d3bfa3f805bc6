// Val on arbitrary bytes: it ends, gives a finite double or an overflow, and
// a number it gives reads back the same from its own round-trip text.
#include "numtext/arithmetic_failure.h"
#include "numtext/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0.0;
    try {
        value = tolvex::Val(text);
    } catch (const tolvex::ArithmeticFailure& failure) {
        if (failure.kind() != tolvex::FailureKind::Overflow) std::abort();
        return 0;
    }
    if (!std::isfinite(value)) std::abort();
    char buffer[40];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    const double again =
        tolvex::Val(std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
    if (again != value || std::signbit(again) != std::signbit(value)) std::abort();
    return 0;
}
