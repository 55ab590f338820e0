// Run-time checks: every real-to-integer conversion, every division that can
// fail and every index into a fixed table goes through here, so a NaN, an
// infinity or a stray index stops the handler with a clear message instead of
// silently corrupting a picture.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/UserMessage.h"

namespace qchk {

// The one exception type of the core. The window and the tool show the
// message's text; what() is a short English text for logs.
class RunError : public std::runtime_error {
 public:
  RunError(MessageCode code, const std::string& what) : std::runtime_error(what), message{code, {}} {}
  // A text already in the user's language, from the window itself; its
  // message is empty.
  explicit RunError(const std::string& shown) : std::runtime_error(shown) {}
  UserMessage message;
};

[[noreturn]] void RangeError();
[[noreturn]] void DivByZero();
[[noreturn]] void InvalidOp();
[[noreturn]] void Overflow();

// Real to int32; throw on NaN, infinity or a value outside int32.
int32_t Round(double x);  // nearest, halves to even
int32_t Trunc(double x);
int32_t Floor(double x);
int32_t Ceil(double x);

// a / b; throws on b == 0 and on a non-finite quotient. The quotient is
// checked inline (it runs for every triangle of a drawing); the errors are
// told apart out of line.
[[noreturn]] void DivFailed(double a, double b);
inline double Div(double a, double b) {
  const double q = a / b;
  if (b != 0.0 && q - q == 0.0) return q;  // q - q is 0 exactly when q is finite
  DivFailed(a, b);
}

// Checked integer multiplication.
int32_t Mul(int32_t a, int32_t b);

// A finite result or an error: for square roots and the like.
double Finite(double x);

inline void CheckIndex(long i, long lo, long hi) {
  if (i < lo || i > hi) RangeError();
}

}  // namespace qchk

// A fixed array with index range Lo..Lo+N-1, every access range-checked.
template <class T, int N, int Lo = 0>
struct CArr {
  T a[N];
  T& operator[](long i) {
    qchk::CheckIndex(i, Lo, Lo + N - 1);
    return a[i - Lo];
  }
  const T& operator[](long i) const {
    qchk::CheckIndex(i, Lo, Lo + N - 1);
    return a[i - Lo];
  }
  static constexpr int low() { return Lo; }
  static constexpr int high() { return Lo + N - 1; }
  T* data() { return a; }
  const T* data() const { return a; }
};
