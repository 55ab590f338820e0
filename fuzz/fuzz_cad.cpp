// Fuzz target: what the STEP / IGES reader process answers. Open CASCADE's
// parsers run in that process, where a crash of theirs is contained and
// refused; here runs what the program itself trusts: the decoding of the
// answer, the checks of every size and number, and the fitting of the
// surface to the net and the knot sliders. Every input is refused with a
// reason, or gives a surface the model can take.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/SurfaceExchange.h"
#include "model/ModelState.h"

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

void CheckTicks(const int* ticks, int last, bool horizontal) {
  Require(ticks[0] == (horizontal ? 2 : 156) && ticks[last] == (horizontal ? 156 : 2));
  for (int k = 1; k <= last; ++k) Require((horizontal ? ticks[k] - ticks[k - 1] : ticks[k - 1] - ticks[k]) >= 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = InitModelState();
  Require(ready);
  CadSurface s;
  std::string error;
  if (!DecodeCadAnswer(std::string(reinterpret_cast<const char*>(data), size), s, error)) {
    Require(!error.empty() && error.size() <= 400);
    return 0;
  }
  Require(s.kind >= 1 && s.kind <= 3 && s.m >= 1 && s.m <= 11 && s.n >= 1 && s.n <= 11);
  if (s.kind != 1) {
    Require(s.m >= s.kind && s.n >= s.kind);
    CheckTicks(s.ticksH, s.m, true);
    CheckTicks(s.ticksV, s.n, false);
  }
  for (int i = 0; i <= s.m; ++i)
    for (int j = 0; j <= s.n; ++j) {
      const NetPoint& p = s.net[i][j];
      Require(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && p.w > 0 && std::isfinite(p.w));
      Require(s.rational || p.w == 1);
    }
  // The model takes it as it is.
  ApplyCadSurface(s);
  const CadSurface back = CurrentCadSurface();
  Require(back.kind == s.kind && back.m == s.m && back.n == s.n && back.rational == s.rational);
  return 0;
}
