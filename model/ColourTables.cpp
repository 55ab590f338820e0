#include "model/ColourTables.h"

#include <algorithm>
#include <cmath>

#include "model/ModelState.h"
#include "platform/RunChecks.h"

namespace {

struct Ramp {
  double base[3];
  double coef[3];
  double g;
};

Ramp MakeRamp(int n, double x1, double x2, double x3) {
  const double d = 5.0;
  const double mx = std::max(x1, std::max(x2, x3));
  const double f = (n * mx >= 65535.0) ? 1.0 : qchk::Div(72088.5, n * mx);
  Ramp r{};
  r.g = qchk::Div(n * mx * f - 65535.0, 65535.0 - mx * f);
  const double xs[3] = {x1, x2, x3};
  for (int c = 0; c < 3; ++c) {
    r.base[c] = xs[c] * f / (1.0 + r.g);
    r.coef[c] = (65535.0 - (n + r.g) * r.base[c]) / std::pow(static_cast<double>(n - 1), d);
  }
  return r;
}

int32_t Component(const Ramp& r, int c, int i) {
  const double t = (i == 1) ? 0.0 : std::pow(static_cast<double>(i - 1), 0.97 * 5.0);
  const int32_t v = qchk::Round((i + r.g) * r.base[c] + t * r.coef[c]);
  qchk::CheckIndex(v, 0, 65535);
  return v;
}

void FillPaletteHalf(int first, double red, double green, double blue) {
  const Ramp r = MakeRamp(100, red, green, blue);
  for (int i = 1; i <= 100; ++i) {
    auto& e = model.palette[first + i - 1];
    e[2] = static_cast<uint8_t>(Component(r, 0, i) >> 8);
    e[1] = static_cast<uint8_t>(Component(r, 1, i) >> 8);
    e[0] = static_cast<uint8_t>(Component(r, 2, i) >> 8);
  }
}

void FillLineTable(LineColours& table, double red, double green, double blue) {
  const Ramp r = MakeRamp(16, red, green, blue);
  for (int i = 1; i <= 16; ++i) {
    const uint32_t cr = static_cast<uint32_t>(Component(r, 0, i) >> 8);
    const uint32_t cg = static_cast<uint32_t>(Component(r, 1, i) >> 8);
    const uint32_t cb = static_cast<uint32_t>(Component(r, 2, i) >> 8);
    table[i] = cr + 256 * cg + 65536 * cb;
  }
}

}  // namespace

int32_t RampComponent(int n, double x1, double x2, double x3, int component, int i) {
  return Component(MakeRamp(n, x1, x2, x3), component, i);
}

void BuildColourTables() {
  auto& p0 = model.palette[0];
  p0[0] = p0[1] = p0[2] = 255;
  FillPaletteHalf(1, 22800, 12320, 1200);
  FillPaletteHalf(101, 2300, 16000, 8800);
  FillLineTable(model.greyLineColours, 10000, 10000, 10000);
  FillLineTable(model.blueLineColours, 0, 8000, 22000);
  FillLineTable(model.redLineColours, 22000, 0, 0);
}
