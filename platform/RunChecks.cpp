#include "platform/RunChecks.h"

#include <cmath>
#include <limits>

namespace qchk {

void RangeError() { throw RunError(MessageCode::RangeCheck, "Range check error"); }
void DivByZero() { throw RunError(MessageCode::DivisionByZero, "Floating point division by zero"); }
void InvalidOp() { throw RunError(MessageCode::InvalidOperation, "Invalid floating point operation"); }
void Overflow() { throw RunError(MessageCode::FloatOverflow, "Floating point overflow"); }

namespace {
// Both bounds are exactly representable; anything outside (or NaN) fails.
inline int32_t Fit(double r) {
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
    if (std::isnan(r)) InvalidOp();
    RangeError();
  }
  return static_cast<int32_t>(r);
}
}  // namespace

int32_t Round(double x) { return Fit(std::nearbyint(x)); }
int32_t Trunc(double x) { return Fit(std::trunc(x)); }
int32_t Floor(double x) { return Fit(std::floor(x)); }
int32_t Ceil(double x) { return Fit(std::ceil(x)); }

void DivFailed(double a, double b) {
  if (b == 0.0) {
    if (a == 0.0 || std::isnan(a)) InvalidOp();
    DivByZero();
  }
  if (std::isnan(a / b)) InvalidOp();
  Overflow();
}

int32_t Mul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) RangeError();
  return r;
}

double Finite(double x) {
  if (std::isnan(x)) InvalidOp();
  if (std::isinf(x)) Overflow();
  return x;
}

}  // namespace qchk
