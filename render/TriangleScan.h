// The scan-conversion geometry shared by the three passes over the grid's
// triangles (depth maps and shading): vertex order, gradients, rows and spans.
// Private to render/.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/ModelState.h"
#include "platform/RunChecks.h"

namespace tri {

// The view's extent as the scan loops see it: the width and height, and the
// step between columns of the depth maps (height + 1). Fixed at compile
// time for the default view, so that its loops keep constant bounds and
// strides; read from the view otherwise.
struct DefaultExtent {
  static constexpr int32_t width = kView, height = kView;
  static constexpr long stride = kCells;
};
struct RuntimeExtent {
  int32_t width, height;
  long stride;
};

// f(extent) with the extent of the model's view.
template <class F>
inline void WithViewExtent(F&& f) {
  const ViewSize& v = model.view;
  if (v.IsDefault())
    f(DefaultExtent{});
  else
    f(RuntimeExtent{v.width, v.height, static_cast<long>(v.height) + 1});
}

// The checked conversions of platform/RunChecks, inlined for the per-pixel
// loops: the same result for every value that fits, and for every value
// that does not the same error (the slow path is qchk's own routine).
inline int32_t FloorI(double r) {
  if (!(r >= -2147483648.0 && r < 2147483648.0)) return qchk::Floor(r);
  const int32_t t = static_cast<int32_t>(r);
  return static_cast<double>(t) > r ? t - 1 : t;
}

inline int32_t CeilI(double r) {
  if (!(r > -2147483649.0 && r <= 2147483647.0)) return qchk::Ceil(r);
  const int32_t t = static_cast<int32_t>(r);
  return static_cast<double>(t) < r ? t + 1 : t;
}

inline int32_t TruncI(double r) {
  if (!(r > -2147483649.0 && r < 2147483648.0)) return qchk::Trunc(r);
  return static_cast<int32_t>(r);
}

// Floor of a value known to fit far inside int32 (ConversionsFit said so
// for every pixel of the triangle): FloorI without its range test.
// At r >= 0 (nearly every depth and index) the floor is the truncation,
// which spares the conversion back to double.
inline int32_t FloorFitting(double r) {
  const int32_t t = static_cast<int32_t>(r);
  if (__builtin_expect(r >= 0, 1)) return t;
  return static_cast<double>(t) > r ? t - 1 : t;
}

inline int32_t CeilFitting(double r) {
  const int32_t t = static_cast<int32_t>(r);
  return static_cast<double>(t) < r ? t + 1 : t;
}

// Trunc of a value known to fit far inside int32.
inline int32_t TruncFitting(double r) { return static_cast<int32_t>(r); }

// Orders three y values top to bottom; equal values keep the
// given order. Returns the indices of top, mid and bottom.
inline void OrderByY(double y0, double y1, double y2, int& top, int& mid, int& bot) {
  top = 0;
  mid = 1;
  bot = 2;
  double topY = y0, midY = y1;
  if (y1 < y0) {
    top = 1;
    mid = 0;
    topY = y1;
    midY = y0;
  }
  if (y2 >= topY) {
    if (y2 < midY) {
      bot = mid;
      mid = 2;
    }
  } else {
    bot = mid;
    mid = top;
    top = 2;
  }
}

// How an attribute changes over a triangle: per pixel along a row (dx) and
// per row (dy).
struct Slope {
  double dx, dy;
};

// A triangle's screen geometry, its vertices ordered top to bottom. The
// first six fields are given; Setup fills the rest.
struct Geom {
  double topX, topY;  // the top vertex (smallest y)
  double midX, midY;  // the middle vertex
  double botX, botY;  // the bottom vertex (largest y)
  double H;           // height: botY - topY
  double dxL;         // x run of the long edge, top to bottom: botX - topX
  double dxM;         // x run of the upper short edge, top to middle: midX - topX
  double dyM;         // y run of the upper short edge: midY - topY
  double A;           // twice the signed area: dxM * H - dxL * dyM
  double kL;          // slope of the long edge, x per row: dxL / H
};

// The height and area tests: false when the triangle draws nothing.
inline bool Setup(Geom& g) {
  g.H = g.botY - g.topY;
  if (!(g.H > 0)) return false;
  g.dxL = g.botX - g.topX;
  g.dxM = g.midX - g.topX;
  g.dyM = g.midY - g.topY;
  g.A = g.dxM * g.H - g.dxL * g.dyM;
  if (std::fabs(g.A) < 1e-9) return false;
  g.kL = qchk::Div(g.dxL, g.H);
  return true;
}

// Orders the vertices v[0..2] (records with x and y) top to bottom, giving
// their indices in top, mid and bot, and sets up their geometry in g; false
// when the triangle draws nothing.
template <class V>
inline bool OrderAndSetup(const V* const v[3], int& top, int& mid, int& bot, Geom& g) {
  OrderByY(v[0]->y, v[1]->y, v[2]->y, top, mid, bot);
  const V &T = *v[top], &M = *v[mid], &B = *v[bot];
  g = Geom{T.x, T.y, M.x, M.y, B.x, B.y, 0, 0, 0, 0, 0, 0};
  return Setup(g);
}

// Whether every Ceil / Floor that a scan of this triangle takes fits an
// int32: the span ends (edge positions, which lie between the vertices'
// x) and the integer attribute Floor(s * dfdx + fT + t * dfdy) at every
// pixel of a span. The attribute is affine over the triangle, so its
// extremes are its values at the three vertices; the span ends may stray
// past an edge by a rounding error (one pixel of slack), and the slack
// term covers the rounding of the products for any pixel. A clipped scan
// may then leave out the rows and columns outside the view without losing
// an error the full walk would raise.
inline bool ConversionsFit(const Geom& g, double fT, Slope f) {
  const double dfdx = f.dx, dfdy = f.dy;
  constexpr double kSafe = 1073741824.0;  // 2^30, far inside int32
  const double xMax = std::max({std::fabs(g.topX), std::fabs(g.midX), std::fabs(g.botX)});
  if (!(xMax < kSafe)) return false;
  const double fM = fT + g.dxM * dfdx + g.dyM * dfdy;
  const double fB = fT + g.dxL * dfdx + g.H * dfdy;
  const double loose =
      (2 * xMax + 2) * std::fabs(dfdx) + std::fabs(fT) + (g.H + 2) * std::fabs(dfdy);
  const double bound = std::max({std::fabs(fT), std::fabs(fM), std::fabs(fB)}) +
                       std::fabs(dfdx) + std::fabs(dfdy) + 1e-12 * loose;
  return bound < kSafe;
}

// Whether the triangle's vertices lie in the square 0..side (side a few
// hundred pixels): then every row bound and span end of its scan fits an
// int32 with room to spare. False for NaN.
inline bool InsideSquare(const Geom& g, double side) {
  return g.topY >= 0 && g.botY <= side && std::min({g.topX, g.midX, g.botX}) >= 0 &&
         std::max({g.topX, g.midX, g.botX}) <= side;
}

// The same for the rectangle 0..width x 0..height (x along the rows).
inline bool InsideRect(const Geom& g, double width, double height) {
  return g.topY >= 0 && g.botY <= height && std::min({g.topX, g.midX, g.botX}) >= 0 &&
         std::max({g.topX, g.midX, g.botX}) <= width;
}

// ConversionsFit for a triangle that InsideSquare(g, side) (or InsideRect
// with its longer side for side) has cleared, by
// a cruder bound that costs a few operations: every pixel a scan visits
// lies in the square, less than side + 1 from the top vertex along each
// axis, so the attribute stays within |fT| + (side + 1)(|dfdx| + |dfdy|),
// plus a rounding error far below the margin left. False can still mean
// the conversions fit: ask ConversionsFit then.
inline bool FitsInside(double side, double fT, Slope f) {
  constexpr double kSafe = 1073741824.0;  // 2^30
  return std::fabs(fT) + (side + 1) * (std::fabs(f.dx) + std::fabs(f.dy)) < 0.5 * kSafe;
}

// Gradient of an attribute with values fT, fM, fB at top, mid, bottom.
inline Slope Gradient(const Geom& g, double fT, double fM, double fB) {
  const double dfdx = qchk::Div(g.H * (fM - fT) - g.dyM * (fB - fT), g.A);
  const double dfdy = qchk::Div(g.dxM * (fB - fT) - g.dxL * (fM - fT), g.A);
  return Slope{dfdx, dfdy};
}

// Rows y0..y1 in order, except runs of rows that safe(a, b) clears: those
// are passed over. A long run is halved until cleared or short, so a run
// of 2^31 rows costs a few dozen tests where it can be cleared.
template <class Visit, class Safe>
inline void VisitRows(int64_t y0, int64_t y1, Visit& visit, Safe& safe) {
  constexpr int64_t kShortRun = 64;
  if (y0 > y1) return;
  if (y1 - y0 >= kShortRun) {
    if (safe(y0, y1)) return;
    const int64_t half = y0 + (y1 - y0) / 2;
    VisitRows(y0, half, visit, safe);
    VisitRows(half + 1, y1, visit, safe);
    return;
  }
  for (int64_t y = y0; y <= y1; ++y) visit(y);
}

// Which rows a scan may pass over: safe(a, b, lo, hi) gets a run of rows and
// the unconverted span ends at its first and last rows (lo and hi, each
// [first, last]); true when no row of the run can fail a conversion.
struct NeverSafe {
  bool operator()(int64_t, int64_t, const double*, const double*) const { return false; }
};

// Rows y0..y1 of one half of a triangle: ends(y, l, r) gives a row's
// unconverted span ends (and returns its t); row() gets the converted ones.
template <class Ends, class Row, class Safe>
inline void ScanHalf(int64_t y0, int64_t y1, Ends& ends, Row& row, Safe& safe) {
  auto visit = [&](int64_t y) {
    double l, r;
    const double t = ends(y, l, r);
    row(static_cast<int32_t>(y), t, CeilI(l), FloorI(r));
  };
  auto skip = [&](int64_t a, int64_t b) {
    double lo[2], hi[2];
    ends(a, lo[0], hi[0]);
    ends(b, lo[1], hi[1]);
    return safe(a, b, lo, hi);
  };
  VisitRows(y0, y1, visit, skip);
}

// Upper and lower half: calls row(y, t, xLeft, xRight) for every row of the
// triangle, the spans as Ceil / Floor of the edge positions. Rows are
// limited to yLo..yHi (the shading pass limits them to the view; the depth
// converters pass the whole int range, or the view in their clipped form
// when ConversionsFit says the rows outside it could not fail), and runs of
// rows that `safe` clears are not visited.
template <class Row, class Safe = NeverSafe>
inline void ScanRows(const Geom& g, int32_t yLo, int32_t yHi, Row&& row, Safe safe = Safe{}) {
  if (g.dyM > 0) {
    const double kS = qchk::Div(g.dxM, g.dyM);
    const double kMin = std::min(kS, g.kL), kMax = std::max(kS, g.kL);
    const int64_t y0 = std::max(yLo, CeilI(g.topY));
    const int64_t y1 = std::min(yHi, FloorI(g.midY));
    auto ends = [&](int64_t y, double& l, double& r) {
      const double t = static_cast<double>(y) - g.topY;
      l = g.topX + t * kMin;
      r = g.topX + t * kMax;
      return t;
    };
    ScanHalf(y0, y1, ends, row, safe);
  }
  const double hL = g.botY - g.midY;
  if (hL > 0) {
    const double kS2 = qchk::Div(g.botX - g.midX, hL);
    const int64_t y0 = std::max<int64_t>(yLo, static_cast<int64_t>(FloorI(g.midY)) + 1);
    const int64_t y1 = std::min(yHi, FloorI(g.botY));
    auto ends = [&](int64_t y, double& l, double& r) {
      const double t = static_cast<double>(y) - g.topY;
      const double t2 = static_cast<double>(y) - g.midY;
      const double xLong = g.topX + t * g.kL;
      const double xShort = g.midX + t2 * kS2;
      l = std::min(xLong, xShort);
      r = std::max(xLong, xShort);
      return t;
    };
    ScanHalf(y0, y1, ends, row, safe);
  }
}

// The rows a thread takes when a pass is shared between two: lo..hi (the
// pass still limits them to what it draws), and whether it may pass over a
// triangle without setting it up. Each part passes over only triangles
// that start or end on the other part's side of the split, and never both
// parts the same triangle, so every triangle's set-up errors are raised.
struct Part {
  int32_t lo, hi;
  bool skipAbove, skipBelow;
  // Judged on the vertices' y before the triangle is set up: a triangle
  // with a NaN y is never passed over.
  template <class V>
  bool Skips(const V* const v[3]) const {
    const double y0 = v[0]->y, y1 = v[1]->y, y2 = v[2]->y;
    if (skipAbove && y0 < lo && y1 < lo && y2 < lo) return true;
    const double below = static_cast<double>(hi) + 1;
    return skipBelow && y0 >= below && y1 >= below && y2 >= below;
  }
};
constexpr Part kWhole{INT32_MIN, INT32_MAX, false, false};
// The rows above split (upper) or from split on. Split 0 gives the upper
// part everything and the lower part nothing.
inline Part PartOf(int32_t split, bool upper) {
  if (split == 0) return upper ? kWhole : Part{INT32_MAX, INT32_MIN, true, false};
  return upper ? Part{INT32_MIN, split - 1, false, true} : Part{split, INT32_MAX, true, false};
}

// ScanRows for a triangle that InsideSquare has cleared: the same rows,
// t and spans, without range tests and without looking for runs to pass
// over. Most triangles of a drawing take this path.
template <class Row>
inline void ScanRowsInside(const Geom& g, int32_t yLo, int32_t yHi, Row&& row) {
  if (g.dyM > 0) {
    const double kS = qchk::Div(g.dxM, g.dyM);
    const double kMin = std::min(kS, g.kL), kMax = std::max(kS, g.kL);
    const int32_t y0 = std::max(yLo, CeilFitting(g.topY));
    const int32_t y1 = std::min(yHi, FloorFitting(g.midY));
    for (int32_t y = y0; y <= y1; ++y) {
      const double t = static_cast<double>(y) - g.topY;
      row(y, t, CeilFitting(g.topX + t * kMin), FloorFitting(g.topX + t * kMax));
    }
  }
  const double hL = g.botY - g.midY;
  if (hL > 0) {
    const double kS2 = qchk::Div(g.botX - g.midX, hL);
    const int32_t y0 = std::max(yLo, FloorFitting(g.midY) + 1);
    const int32_t y1 = std::min(yHi, FloorFitting(g.botY));
    for (int32_t y = y0; y <= y1; ++y) {
      const double t = static_cast<double>(y) - g.topY;
      const double t2 = static_cast<double>(y) - g.midY;
      const double xLong = g.topX + t * g.kL;
      const double xShort = g.midX + t2 * kS2;
      row(y, t, CeilFitting(std::min(xLong, xShort)), FloorFitting(std::max(xLong, xShort)));
    }
  }
}

}  // namespace tri
