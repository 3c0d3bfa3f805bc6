#include "power.h"

#include "arithmetic_failure.h"
#include "checked_arithmetic.h"

#include <mpfr.h>

#include <cstddef>

namespace tolvex {

namespace {

// MPFR rounds at 53 bits with an exponent range of its own; narrowing that
// range to the double's makes overflow and subnormal rounding happen exactly
// once, in MPFR, as an IEEE double would. The previous range is put back so
// that no other MPFR user in the process sees a change.
class DoubleExponentRange {
  public:
    DoubleExponentRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
        mpfr_set_emin(-1073); // the least subnormal is 0.5 * 2^-1073
        mpfr_set_emax(1024);  // the largest double is just under 2^1024
    }
    ~DoubleExponentRange() {
        mpfr_set_emin(emin_);
        mpfr_set_emax(emax_);
    }
    DoubleExponentRange(const DoubleExponentRange&) = delete;
    DoubleExponentRange& operator=(const DoubleExponentRange&) = delete;

  private:
    mpfr_exp_t emin_;
    mpfr_exp_t emax_;
};

// Two 53-bit MPFR numbers, made once per thread: a power is then free of
// allocation, which keeps Generate Values within its time budget.
struct PowerRegisters {
    PowerRegisters() { mpfr_inits2(53, base, result, static_cast<mpfr_ptr>(nullptr)); }
    ~PowerRegisters() { mpfr_clears(base, result, static_cast<mpfr_ptr>(nullptr)); }
    PowerRegisters(const PowerRegisters&) = delete;
    PowerRegisters& operator=(const PowerRegisters&) = delete;
    mpfr_t base;
    mpfr_t result;
};

double CorrectlyRoundedPower(double base, long exponent) {
    thread_local PowerRegisters r;
    const DoubleExponentRange range;
    mpfr_clear_flags();
    mpfr_set_d(r.base, base, MPFR_RNDN); // exact: 53 bits hold any double
    int ternary = mpfr_pow_si(r.result, r.base, exponent, MPFR_RNDN);
    ternary = mpfr_check_range(r.result, ternary, MPFR_RNDN);
    mpfr_subnormalize(r.result, ternary, MPFR_RNDN);
    if (mpfr_divby0_p() != 0) Fail(FailureKind::DivisionByZero);
    if (mpfr_overflow_p() != 0) Fail(FailureKind::Overflow);
    return mpfr_get_d(r.result, MPFR_RNDN); // exact: already a double
}

// 10^0 .. 10^22: each is a double exactly (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPowerOfTen = 22;

} // namespace

double Power(double base, int exponent) {
    // One IEEE multiplication is already the correctly rounded square,
    // subnormals and overflow included, and is what every row computes.
    if (exponent == 2) return Mul(base, base);
    // Every row's unit scale is a power of ten. Up to 10^22 it is an exact
    // double; below 1 it is one IEEE division of two exact doubles, which is
    // correctly rounded like any single IEEE operation.
    if (base == 10.0 && exponent >= -kLargestExactPowerOfTen &&
        exponent <= kLargestExactPowerOfTen) {
        if (exponent >= 0) return kExactPowersOfTen[static_cast<std::size_t>(exponent)];
        return 1.0 / kExactPowersOfTen[static_cast<std::size_t>(-exponent)];
    }
    return CorrectlyRoundedPower(base, exponent);
}

} // namespace tolvex
