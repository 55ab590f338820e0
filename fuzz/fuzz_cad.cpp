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
  UserMessage error;
  if (!DecodeCadAnswer(std::string(reinterpret_cast<const char*>(data), size), s, error)) {
    Require(!error.empty() && error.code < MessageCode::Count && error.args.size() <= 4);
    for (const std::string& arg : error.args) Require(arg.size() <= 400);
    return 0;
  }
  const Surface& f = s.surface;
  Require(f.surfaceKind >= 1 && f.surfaceKind <= 3 && f.netM >= 1 && f.netM <= 11 && f.netN >= 1 && f.netN <= 11);
  if (f.surfaceKind != 1) {
    Require(f.netM >= f.surfaceKind && f.netN >= f.surfaceKind);
    CheckTicks(s.ticksH, f.netM, true);
    CheckTicks(s.ticksV, f.netN, false);
  }
  for (int i = 0; i <= f.netM; ++i)
    for (int j = 0; j <= f.netN; ++j) {
      const NetPoint& p = f.controlNet[i][j];
      Require(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && p.w > 0 && std::isfinite(p.w));
      Require(f.rationalSurface || p.w == 1);
    }
  // The model takes it as it is.
  ApplyCadSurface(s);
  const CadSurface back = CurrentCadSurface();
  const Surface& b = back.surface;
  Require(b.surfaceKind == f.surfaceKind && b.netM == f.netM && b.netN == f.netN &&
          b.rationalSurface == f.rationalSurface);
  return 0;
}
