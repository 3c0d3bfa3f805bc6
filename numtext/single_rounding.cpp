#include "single_rounding.h"

#include <mpfr.h>

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

// Three 53-bit MPFR numbers, made once per thread: an operation is then free
// of allocation, which keeps Generate Values within its time budget.
struct Registers {
    Registers() { mpfr_inits2(53, a, b, result, static_cast<mpfr_ptr>(nullptr)); }
    ~Registers() { mpfr_clears(a, b, result, static_cast<mpfr_ptr>(nullptr)); }
    Registers(const Registers&) = delete;
    Registers& operator=(const Registers&) = delete;
    mpfr_t a;
    mpfr_t b;
    mpfr_t result;
};

Registers& ThreadRegisters() {
    thread_local Registers r;
    return r;
}

// The result's ternary value (the sign of its rounding error) brought into
// the double's range, then rounded once more where it is subnormal.
double ToDouble(Registers& r, int ternary) {
    ternary = mpfr_check_range(r.result, ternary, MPFR_RNDN);
    mpfr_subnormalize(r.result, ternary, MPFR_RNDN);
    return mpfr_get_d(r.result, MPFR_RNDN); // exact: already a double
}

using BinaryOperation = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

double Binary(BinaryOperation operation, double a, double b) {
    Registers& r = ThreadRegisters();
    const DoubleExponentRange range;
    mpfr_clear_flags();
    mpfr_set_d(r.a, a, MPFR_RNDN); // exact: 53 bits hold any double
    mpfr_set_d(r.b, b, MPFR_RNDN);
    return ToDouble(r, operation(r.result, r.a, r.b, MPFR_RNDN));
}

} // namespace

double SingleRoundedSum(double a, double b) {
    return Binary(mpfr_add, a, b);
}

double SingleRoundedProduct(double a, double b) {
    return Binary(mpfr_mul, a, b);
}

double SingleRoundedQuotient(double a, double b) {
    return Binary(mpfr_div, a, b);
}

double SingleRoundedSquareRoot(double x) {
    Registers& r = ThreadRegisters();
    const DoubleExponentRange range;
    mpfr_clear_flags();
    mpfr_set_d(r.a, x, MPFR_RNDN);
    return ToDouble(r, mpfr_sqrt(r.result, r.a, MPFR_RNDN));
}

double SingleRoundedPower(double base, long exponent) {
    Registers& r = ThreadRegisters();
    const DoubleExponentRange range;
    mpfr_clear_flags();
    mpfr_set_d(r.a, base, MPFR_RNDN);
    return ToDouble(r, mpfr_pow_si(r.result, r.a, exponent, MPFR_RNDN));
}

} // namespace tolvex
