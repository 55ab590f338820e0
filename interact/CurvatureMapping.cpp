#include "interact/CurvatureMapping.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/Tolerances.h"
#include "platform/RunChecks.h"

namespace {

const char* const kCannot = "No se puede hacer el mapa: ";

// A failed computation of the values, by the kind of error.
std::string FailureOf(const qchk::RunError& e) {
  const char* what = e.what();
  if (std::strcmp(what, "Floating point overflow") == 0)
    return std::string(kCannot) + "la curvatura no es finita en esta superficie (sus valores desbordan los números)";
  if (std::strcmp(what, "Floating point division by zero") == 0)
    return std::string(kCannot) + "la curvatura no es finita en esta superficie (una división por cero)";
  return std::string(kCannot) + "la curvatura no se puede calcular en esta superficie";
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
std::string NoValues(const Surface& s) {
  std::string why = std::string(kCannot) + "la curvatura no se puede calcular en ningún punto visible de esta superficie";
  double largest = 0;
  for (int i = 0; i <= s.netM; ++i)
    for (int j = 0; j <= s.netN; ++j) largest = std::fmax(largest, s.controlNet[i][j].w);
  // Weights so small that their sums vanish in the rounding: the same
  // surface has them all multiplied by one number.
  if (s.rationalSurface && largest < tol::kTinyWeight)
    return why + "; sus pesos son demasiado pequeños (el mayor es " + Short(largest) +
           "): multiplicarlos todos por un mismo número no cambia la superficie";
  // Derivatives below what the curvature's formulas can weigh.
  if (model.sceneDiag < tol::kTinyScene)
    return why + "; la superficie es muy pequeña (su caja mide " + Short(model.sceneDiag) + ")";
  return why + " (es singular o no tiene derivadas exactas allí)";
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
