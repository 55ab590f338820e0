#include "interact/CurvatureMapping.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/Tolerances.h"
#include "platform/RunChecks.h"

namespace {

// A failed computation of the values, by the kind of error.
UserMessage FailureOf(const qchk::RunError& e) {
  if (e.message.code == MessageCode::FloatOverflow) return {MessageCode::MapOverflow};
  if (e.message.code == MessageCode::DivisionByZero) return {MessageCode::MapDivisionByZero};
  return {MessageCode::MapNotComputable};
}

// x to three digits, as "1E-300" or "0.125".
std::string Short(double x) {
  char b[32];
  std::string s(b, std::to_chars(b, b + sizeof b, x, std::chars_format::general, 3).ptr);
  const size_t e = s.find('e');
  if (e == std::string::npos) return s;
  const bool negative = s[e + 1] == '-';
  const size_t digits = s.find_first_not_of("+-0", e + 1);
  return s.substr(0, e) + "E" + (negative ? "-" : "") + (digits == std::string::npos ? "0" : s.substr(digits));
}

// No pixel in view has a value, and the likely cause.
UserMessage NoValues(const Surface& s) {
  double largest = 0;
  for (int i = 0; i <= s.netM; ++i)
    for (int j = 0; j <= s.netN; ++j) largest = std::fmax(largest, s.controlNet[i][j].w);
  // Weights so small that their sums vanish in the rounding: the same
  // surface has them all multiplied by one number.
  if (s.rationalSurface && largest < tol::kTinyWeight)
    return {MessageCode::MapNoValueTinyWeights, {Short(largest)}};
  // Derivatives below what the curvature's formulas can weigh.
  if (model.sceneDiag < tol::kTinyScene)
    return {MessageCode::MapNoValueTinySurface, {Short(model.sceneDiag)}};
  return {MessageCode::MapNoValue};
}

}  // namespace

MapResult ApplyCurvatureMap(const Surface& s, MapQuantity q, const MapRange& chosen) {
  MapResult r;
  if (q == MapQuantity::None) return r;
  std::vector<double> values;
  MapValueCounts counts;
  try {
    counts = ComputeMapValues(q, s, values);
  } catch (const qchk::RunError& e) {
    r.error = FailureOf(e);
    return r;
  }
  if (counts.visible > 0 && counts.valued == 0) {
    r.error = NoValues(s);
    return r;
  }
  r.quantity = q;
  r.values = std::move(values);
  r.range = RangeInForce(q, chosen, r.values);
  PaintCurvatureMap(q, r.values, r.range);
  return r;
}
