#include "model/Knots.h"

#include <cstdlib>

#include "model/ModelState.h"
#include "platform/RunChecks.h"

void LayOutTicks(int m, int n) {
  qchk::CheckIndex(m, 1, 11);
  qchk::CheckIndex(n, 1, 11);
  model.netM = m;
  model.netN = n;
  for (int k = 0; k <= m; ++k) model.tickPosH[k] = EvenTickH(k, m);
  for (int k = 0; k <= n; ++k) model.tickPosV[k] = EvenTickV(k, n);
}

int EvenTickH(int k, int last) { return qchk::Trunc(k * 154.0 / last) + 2; }

int EvenTickV(int k, int last) { return 156 - qchk::Trunc(k * 154.0 / last); }

bool TickRowReachable(const int32_t* pos, int last, bool horizontal) {
  if (last < 1 || last > 11) return false;
  if (pos[0] != (horizontal ? 2 : 156) || pos[last] != (horizontal ? 156 : 2)) return false;
  for (int k = 1; k <= last; ++k) {
    // In 64 bits: the positions may come from a file.
    const int64_t gap = horizontal ? int64_t{pos[k]} - pos[k - 1] : int64_t{pos[k - 1]} - pos[k];
    if (gap < 2) return false;
  }
  return true;
}

int GrabTickH(int x) {
  const auto& t = model.tickPosH;
  for (int k = 1; k <= model.netM - 1; ++k) {
    const double lo = (t[k - 1] + t[k]) / 2.0, hi = (t[k] + t[k + 1]) / 2.0;
    if (lo <= x && x < hi) return std::abs(t[k] - x) >= 4 ? -1 : k;
  }
  return -1;
}

int GrabTickV(int y) {
  const auto& t = model.tickPosV;
  for (int k = 1; k <= model.netN - 1; ++k) {
    const double lo = (t[k] + t[k + 1]) / 2.0, hi = (t[k - 1] + t[k]) / 2.0;
    if (lo < y && y <= hi) return std::abs(t[k] - y) >= 4 ? -1 : k;
  }
  return -1;
}

bool MoveTickH(int k, int x) {
  auto& t = model.tickPosH;
  if (x == t[k]) return false;
  if (!(t[k - 1] + 1 < x && x < t[k + 1] - 1)) return false;
  t[k] = x;
  return true;
}

bool MoveTickV(int k, int y) {
  auto& t = model.tickPosV;
  if (y == t[k]) return false;
  if (!(t[k + 1] + 1 < y && y < t[k - 1] - 1)) return false;
  t[k] = y;
  return true;
}

void KnotsOfTicks(int d, int m, int n, const int* ticksH, const int* ticksV, double* knotsU, double* knotsV) {
  // Every index below lies within these: 16 knots and 12 ticks a direction.
  qchk::CheckIndex(m + 1 + d, 0, 15);
  qchk::CheckIndex(n + 1 + d, 0, 15);
  for (int k = 0; k <= d; ++k) {
    knotsU[k] = d;
    knotsV[k] = d;
    knotsU[m + 1 + k] = m + 1;
    knotsV[n + 1 + k] = n + 1;
  }
  for (int k = d + 1; k <= m; ++k) knotsU[k] = KnotOfTickH(ticksH[k], d, m);
  for (int k = d + 1; k <= n; ++k) knotsV[k] = KnotOfTickV(ticksV[k], d, n);
}

void SetKnots() {
  KnotsOfTicks(model.surfaceKind, model.netM, model.netN, model.tickPosH.data(), model.tickPosV.data(),
               model.knotsU.data(), model.knotsV.data());
}

Surface SurfaceOfTicks() {
  Surface s = CurrentSurface();
  KnotsOfTicks(s.surfaceKind, s.netM, s.netN, model.tickPosH.data(), model.tickPosV.data(), s.knotsU.data(),
               s.knotsV.data());
  return s;
}

double KnotOfTickH(int pos, int d, int last) { return qchk::Mul(pos - 2, last + 2 - d) / 154.0; }

double KnotOfTickV(int pos, int d, int last) { return qchk::Mul(156 - pos, last + 2 - d) / 154.0; }

bool FirstRowHasNoSpan(int d, int last, const double* knots) {
  // Basis function 0 lives on [knots[0], knots[d + 1]], empty when the
  // first inner knot equals the start.
  return d >= 2 && last > d && knots[d + 1] == knots[0];
}
