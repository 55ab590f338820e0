#include "render/Sampling.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <cmath>
#include <type_traits>
#include <vector>

#include "model/Projection.h"
#include "model/SurfaceKinds.h"
#include "platform/RunChecks.h"
#include "platform/SideThread.h"
#include "render/TriangleScan.h"
#include "render/TwoParts.h"
#include "render/ViewSetup.h"

SampleGrid sampleGrid;
LightGrid lightGrid;

namespace {

// Per grid row i (1..40), the pixels its triangles visited in each row of
// the view in the last depth pass, hidden ones included: kGrid runs of
// the view's height.
std::vector<int32_t> viewRowPixels;

void ClearViewRowPixels() {
  viewRowPixels.assign(static_cast<size_t>(kGrid) * static_cast<size_t>(model.view.height), 0);
}

constexpr int32_t kAllRows = INT32_MIN;
constexpr int32_t kAllRowsHi = INT32_MAX;

// Every pixel index goes through one of these: the whole span is checked
// against the buffer's extent once, at the loop bounds, and the pixels of a
// checked span are then addressed directly.
inline void CheckSpan(int32_t y, int32_t xl, int32_t xr, int32_t hiX, int32_t hiY) {
  qchk::CheckIndex(y, 0, hiY);
  if (xl <= xr) {
    qchk::CheckIndex(xl, 0, hiX);
    qchk::CheckIndex(xr, 0, hiX);
  }
}

inline bool InView(int32_t k, int32_t last) { return k >= 0 && k <= last; }

// The depth's Floor at pixel x of a row. A clipped scan does not draw the
// pixels outside the view, but each of them takes this conversion, which
// stops the render when it does not fit. When the triangle's conversions
// cannot fail the rows outside the view are never visited; otherwise
// (walkAll) every row is, and the cut-off pixels are converted at the
// span's ends only: along a span the depth is monotonic, so an end fails
// whenever any cut-off pixel does. The left end is taken before the row's
// writes and the right end after them, as a pixel-by-pixel walk does.
inline void ConvertAt(int32_t x, double topX, double ddx, double depthRow) {
  tri::FloorI((x - topX) * ddx + depthRow);
}

// Walks the rows of one triangle for a depth scan, the depth being dT at the
// top vertex and changing by `depth`: chooses the rows, clips the spans of a
// clipped scan and converts the cut-off span ends where a conversion could
// fail, then hands span(y, t, depthRow, xl, xr) the pixels to write.
//
// Rows outside the view take only conversions; a run of them is passed over
// where none can fail: the span ends move linearly down the run, so they
// fit if they do at its first and last rows, and the depth at a span end
// (the end's pixel lies within one of it) is affine along the run.
struct OutsideRowsSafe {
  const tri::Geom& g;
  double dT, ddx, ddy;
  int32_t lastY;
  bool operator()(int64_t a, int64_t b, const double* lo, const double* hi) const {
    constexpr double kFit = 2147483647.0 - 4;
    if (b >= 0 && a <= lastY) return false;  // rows in the view are drawn
    double worst = 0, loose = std::fabs(dT);
    for (int k = 0; k < 2; ++k) {
      const double t = static_cast<double>(k == 0 ? a : b) - g.topY;
      const double depthRow = dT + t * ddy;
      loose += std::fabs(t * ddy);
      for (const double x : {lo[k], hi[k]}) {
        if (!(std::fabs(x) < kFit)) return false;
        for (const double d : {-1.0, 1.0}) {
          const double s = x + d - g.topX;
          worst = std::max(worst, std::fabs(s * ddx + depthRow));
          loose += std::fabs(s * ddx);
        }
      }
    }
    return worst + 1e-9 * loose < kFit;
  }
};

// span(fitsTag, y, t, depthRow, xl, xr): fitsTag is std::true_type when
// every depth of the triangle is known to convert (its pixels may skip the
// range test), else std::false_type.
template <bool Clipped, class Ext, class Span>
void ScanDepthRows(const tri::Geom& g, double dT, tri::Slope depth, const tri::Part& part, Ext ext, Span span) {
  const double ddx = depth.dx, ddy = depth.dy;
  const int32_t lastX = ext.width - 1, lastY = ext.height - 1;
  const bool inside = tri::InsideRect(g, lastX + 1, lastY + 1);
  const bool fits = (inside && tri::FitsInside(std::max(lastX, lastY) + 1, dT, depth)) ||
                    tri::ConversionsFit(g, dT, depth);
  if (fits && inside) {
    // No conversion of this triangle can fail: only the rows and columns
    // in the view are visited, without range tests.
    tri::ScanRowsInside(g, std::max(part.lo, Clipped ? 0 : kAllRows),
                        std::min(part.hi, Clipped ? lastY : kAllRowsHi),
                        [&](int32_t y, double t, int32_t xl, int32_t xr) {
                          if (Clipped) {
                            if (xl < 0) xl = 0;
                            if (xr > lastX) xr = lastX;
                          }
                          CheckSpan(y, xl, xr, lastX + 1, lastY + 1);
                          span(std::true_type{}, y, t, dT + t * ddy, xl, xr);
                        });
    return;
  }
  const bool walkAll = Clipped && !fits;
  const int32_t yLo = Clipped && !walkAll ? 0 : kAllRows;
  const int32_t yHi = Clipped && !walkAll ? lastY : kAllRowsHi;
  const auto safe = [&](int64_t a, int64_t b, const double* lo, const double* hi) {
    return walkAll && OutsideRowsSafe{g, dT, ddx, ddy, lastY}(a, b, lo, hi);
  };
  tri::ScanRows(g, std::max(part.lo, yLo), std::min(part.hi, yHi), [&](int32_t y, double t, int32_t xl, int32_t xr) {
    const double depthRow = dT + t * ddy;
    const int32_t left = xl, right = xr;
    const bool cut = walkAll && left <= right;
    if (Clipped) {
      if (cut && (!InView(y, lastY) || !InView(left, lastX))) ConvertAt(left, g.topX, ddx, depthRow);
      if (!InView(y, lastY)) {
        if (cut) ConvertAt(right, g.topX, ddx, depthRow);
        return;
      }
      if (xl < 0) xl = 0;
      if (xr > lastX) xr = lastX;
    }
    CheckSpan(y, xl, xr, lastX + 1, lastY + 1);
    span(std::false_type{}, y, t, depthRow, xl, xr);
    if (cut && !InView(right, lastX)) ConvertAt(right, g.topX, ddx, depthRow);
  }, safe);
}

// Floor of a depth: without the range test where the triangle's depths are
// known to fit.
template <class FitsTag>
inline int32_t DepthFloor(FitsTag, double r) {
  return FitsTag::value ? tri::FloorFitting(r) : tri::FloorI(r);
}

template <bool Clipped, class Ext>
void RasterDepth(const SampleVertex* v[3], const ParamPair* p[3], const tri::Part& part,
                 int32_t* rowPixels, Ext ext) {
  int it, im, ib;
  tri::Geom g;
  if (part.Skips(v) || !tri::OrderAndSetup(v, it, im, ib, g)) return;
  const SampleVertex &T = *v[it], &M = *v[im], &B = *v[ib];
  // Integer differences for the depth: depths are far inside the exact
  // range of doubles, so fM - fT in doubles is that difference exactly.
  const tri::Slope depth = tri::Gradient(g, T.depth, M.depth, B.depth);
  const ParamPair &pT = *p[it], &pM = *p[im], &pB = *p[ib];
  const tri::Slope uSlope = tri::Gradient(g, pT.u, pM.u, pB.u);
  const tri::Slope vSlope = tri::Gradient(g, pT.v, pM.v, pB.v);
  const double dT = T.depth;
  PixelCell* cells = model.pixelCells->data();
  ScanDepthRows<Clipped>(g, dT, depth, part, ext, [&](auto fitsTag, int32_t y, double t, double depthRow, int32_t xl, int32_t xr) {
    const long stride = ext.stride;
    if (rowPixels && xl <= xr && y < ext.height) rowPixels[y] += xr - xl + 1;
    const double uRow = pT.u + t * uSlope.dy;
    const double vRow = pT.v + t * vSlope.dy;
    double xd = xl;  // x as a double, exact: spares a conversion per pixel
    for (int32_t x = xl; x <= xr; ++x, xd += 1) {
      const double s = xd - g.topX;
      const int32_t d = DepthFloor(fitsTag, s * depth.dx + depthRow);
      PixelCell& c = cells[x * stride + y];
      if (d < c.depth) {
        c.depth = d;
        c.u = s * uSlope.dx + uRow;
        c.v = s * vSlope.dx + vRow;
      }
    }
  });
}

// Depth as the only attribute: the light map, and the view's depths in the
// drag-time preview. depthAt(x, y) is the cell that the pixel's depth is
// tested against and kept in.
template <bool Clipped, class V, class Ext, class DepthAt>
void RasterDepthOnly(const V* v[3], const tri::Part& part, Ext ext, DepthAt depthAt) {
  int it, im, ib;
  tri::Geom g;
  if (part.Skips(v) || !tri::OrderAndSetup(v, it, im, ib, g)) return;
  const V &T = *v[it], &M = *v[im], &B = *v[ib];
  const tri::Slope depth = tri::Gradient(g, T.depth, M.depth, B.depth);
  const double dT = T.depth;
  ScanDepthRows<Clipped>(g, dT, depth, part, ext, [&](auto fitsTag, int32_t y, double, double depthRow, int32_t xl, int32_t xr) {
    double xd = xl;  // x as a double, exact: spares a conversion per pixel
    for (int32_t x = xl; x <= xr; ++x, xd += 1) {
      const double s = xd - g.topX;
      const int32_t d = DepthFloor(fitsTag, s * depth.dx + depthRow);
      int32_t& c = depthAt(x, y);
      c = d < c ? d : c;  // the nearer depth, without a branch
    }
  });
}

template <bool Clipped, class Ext>
void RasterLight(const LightVertex* v[3], const tri::Part& part, Ext ext) {
  int32_t* cells = model.lightDepth->data();
  RasterDepthOnly<Clipped>(v, part, ext, [cells, ext](int32_t x, int32_t y) -> int32_t& { return cells[x * ext.stride + y]; });
}

template <bool Clipped, class Ext>
void RasterViewDepth(const SampleVertex* v[3], const tri::Part& part, Ext ext) {
  PixelCell* cells = model.pixelCells->data();
  RasterDepthOnly<Clipped>(v, part, ext, [cells, ext](int32_t x, int32_t y) -> int32_t& { return cells[x * ext.stride + y].depth; });
}

// The grid seen from the eye (point, x, y, depth, inView) and, WithLight,
// from the light (x, y, depth), vertex by vertex.
// The grid's points depend on the net, the knots and the kind of surface,
// not on the camera: the preview steps of a drag take them from the last
// sampling instead of evaluating them again, as long as all of these are
// bit for bit what they were.
struct SurfaceKey {
  SurfacePointFn fn;
  int32_t m, n;
  bool rational;
  ControlNet net;
  CArr<double, 16> knotsU, knotsV;
};
SurfaceKey sampledKey;
bool sampledValid = false;  // gridPoints hold sampledKey's surface
uint64_t sampledSurface = 0;
Point3 gridPoints[kGrid][kGrid];

bool SameSurface(const SurfaceKey& k) {
  return k.fn == model.SurfacePoint && k.m == model.netM && k.n == model.netN &&
         k.rational == model.rationalSurface &&
         std::memcmp(&k.net, &model.controlNet, sizeof(ControlNet)) == 0 &&
         std::memcmp(&k.knotsU, &model.knotsU, sizeof k.knotsU) == 0 &&
         std::memcmp(&k.knotsV, &model.knotsV, sizeof k.knotsV) == 0;
}

// Whether this sampling reuses the last one's points (allowed, and the
// surface is the same); if not, they are evaluated afresh.
bool BeginSampling(bool allowReuse) {
  const bool reuse = allowReuse && sampledValid && SameSurface(sampledKey);
  if (!reuse) {
    sampledValid = false;
    ++sampledSurface;
  }
  return reuse;
}

// Once every row is sampled: the points are kept for the next sampling.
void EndSampling(bool reuse) {
  if (reuse) return;
  sampledKey = SurfaceKey{model.SurfacePoint, model.netM,    model.netN,
                          model.rationalSurface, model.controlNet, model.knotsU,
                          model.knotsV};
  sampledValid = true;
}

// Rows aFirst..aLast of the grid seen from the eye (point, x, y, depth,
// inView) and, WithLight, from the light (x, y, depth), vertex by vertex.
// The surface's points of grid rows aFirst..aLast into gridPoints, a
// column at a time where the kind has a column evaluator. False when that
// fails: the caller evaluates one point at a time, meeting the error where
// the one-by-one evaluation does.
bool EvaluateByColumns(int aFirst, int aLast) {
  const Surface& surface = CurrentSurface();
  const SurfaceColumnFn column = ColumnEvaluator(surface);
  if (!column) return false;
  double u[kGrid];
  Point3 points[kGrid];
  const int count = aLast - aFirst + 1;
  for (int a = aFirst; a <= aLast; ++a) u[a - aFirst] = a * shadeStep;
  try {
    for (int b = 0; b < kGrid; ++b) {
      column(surface, b * shadeStep, count, u, points);
      for (int a = aFirst; a <= aLast; ++a) gridPoints[a][b] = points[a - aFirst];
    }
  } catch (const qchk::RunError&) {
    return false;
  }
  return true;
}

template <bool WithLight>
void SampleRows(bool reuse, int aFirst, int aLast) {
  if (!reuse && EvaluateByColumns(aFirst, aLast)) reuse = true;  // the points are in
  const ViewCamera view = ModelCamera();
  const ViewCamera light = LightCamera();
  const RenderPrivate& rs = renderState;
  const Point3 eye = model.eye, lp = rs.lightPos;
  const double W = model.view.width, H = model.view.height;
  for (int a = aFirst; a <= aLast; ++a) {
    auto& srow = sampleGrid[a];
    auto& lrow = lightGrid[a];
    for (int b = 0; b < kGrid; ++b) {
      SampleVertex& s = srow[b];
      Point3& kept = gridPoints[a][b];
      if (!reuse) kept = model.SurfacePoint(a * shadeStep, b * shadeStep);
      const Point3 p = kept;
      s.point = p;
      ProjectWith(view, p, s.x, s.y);
      const double ex = eye.x - p.x, ey = eye.y - p.y, ez = eye.z - p.z;
      s.depth = qchk::Floor((std::sqrt(ex * ex + ey * ey + ez * ez) - model.depthOffset) *
                            rs.surfaceDepthScale);
      s.inView = (0 < s.x && s.x < W && 0 < s.y && s.y < H) ? 1 : 0;
      if (!WithLight) continue;
      LightVertex& l = lrow[b];
      ProjectWith(light, p, l.x, l.y);
      const double lx = lp.x - p.x, ly = lp.y - p.y, lz = lp.z - p.z;
      l.depth = qchk::Floor((std::sqrt(lx * lx + ly * ly + lz * lz) - rs.lightDepthOffset) *
                            rs.lightDepthScale);
    }
  }
}

// The whole grid, on this thread.
template <bool WithLight, bool Reuse>
void SampleGridVertices() {
  const bool reuse = BeginSampling(Reuse);
  SampleRows<WithLight>(reuse, 0, kGrid - 1);
  EndSampling(reuse);
}

// The light map has the view's size.
inline bool InLightMap(const LightVertex& l, double W, double H) {
  return 0 < l.x && l.x < W && 0 < l.y && l.y < H;
}

}  // namespace

void RasterDepthTriangle(const SampleVertex& a, ParamPair pa, const SampleVertex& b, ParamPair pb,
                         const SampleVertex& c, ParamPair pc, bool clipped) {
  const SampleVertex* v[3] = {&a, &b, &c};
  const ParamPair* p[3] = {&pa, &pb, &pc};
  tri::WithViewExtent([&](auto ext) {
    if (clipped)
      RasterDepth<true>(v, p, tri::kWhole, nullptr, ext);
    else
      RasterDepth<false>(v, p, tri::kWhole, nullptr, ext);
  });
}

void RasterViewDepthTriangle(const SampleVertex& a, const SampleVertex& b, const SampleVertex& c,
                             bool clipped) {
  const SampleVertex* v[3] = {&a, &b, &c};
  tri::WithViewExtent([&](auto ext) {
    if (clipped)
      RasterViewDepth<true>(v, tri::kWhole, ext);
    else
      RasterViewDepth<false>(v, tri::kWhole, ext);
  });
}

void RasterLightTriangle(const LightVertex& a, const LightVertex& b, const LightVertex& c,
                         bool clipped) {
  const LightVertex* v[3] = {&a, &b, &c};
  tri::WithViewExtent([&](auto ext) {
    if (clipped)
      RasterLight<true>(v, tri::kWhole, ext);
    else
      RasterLight<false>(v, tri::kWhole, ext);
  });
}

void SampleSurface() { SampleGridVertices<true, false>(); }

uint64_t SampledSurface() { return sampledSurface; }

void ForgetSampledSurface() {
  sampledValid = false;
  ++sampledSurface;
}

const int32_t* ViewRowPixels(int i) {
  qchk::CheckIndex(i, 0, kGrid - 1);
  const size_t rows = static_cast<size_t>(model.view.height);
  if (viewRowPixels.size() != kGrid * rows) ClearViewRowPixels();
  return viewRowPixels.data() + static_cast<size_t>(i) * rows;
}

namespace {

// Columns first..last - 1 of the view's cells: whole (pixelCells as a
// fresh render has them) or depth only (the preview's: u and v stay).
void ClearCells(int first, int last, bool whole) {
  auto& pc = *model.pixelCells;
  const int rows = model.view.height;
  for (int x = first; x < last; ++x) {
    PixelCell* col = pc[x].data();  // y = 0..rows - 1 lie in the column
    if (whole)
      std::fill(col, col + rows, PixelCell{kFarDepth, -1.0, -1.0});
    else
      for (int y = 0; y < rows; ++y) col[y].depth = kMaxInt32;
  }
}

void ClearPixelCells() {
  ClearViewRowPixels();
  ClearCells(0, model.view.width, true);
}

void ClearLightDepth() {
  int32_t* cells = model.lightDepth->data();
  std::fill(cells, cells + model.lightDepth->size(), kFarDepth);
}

// The view's cells cleared a band of columns at a time by whichever thread
// claims the band: the second thread from the start, the caller once its
// sampling is done.
struct CellClearing {
  static constexpr int kBand = 16;
  std::atomic<int> next{0};
  bool whole;
  void Claim() {
    const int columns = model.view.width;
    for (int x; (x = next.fetch_add(kBand, std::memory_order_relaxed)) < columns;)
      ClearCells(x, std::min(x + kBand, columns), whole);
  }
};

// The grid's triangles into pixelCells (u and v too), the light map, or
// the view's depths alone, within part; done counts the triangles.
void RasterPixelCells(const tri::Part& part, long& done) {
  done = 0;
  int32_t* rowPixels = nullptr;
  const size_t rows = static_cast<size_t>(model.view.height);
  tri::WithViewExtent([&](auto ext) {
    WalkGridTriangles([&](int i) {
                        rowPixels = viewRowPixels.data() + static_cast<size_t>(i) * rows;
                        return true;
                      },
                      [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool inView) {
                        const SampleVertex* v[3] = {&p.view, &q.view, &r.view};
                        const ParamPair* uv[3] = {&p.uv, &q.uv, &r.uv};
                        if (inView)
                          RasterDepth<false>(v, uv, part, rowPixels, ext);
                        else
                          RasterDepth<true>(v, uv, part, rowPixels, ext);
                        ++done;
                      });
  });
}

void RasterLightDepth(const tri::Part& part, long& done) {
  done = 0;
  const double W = model.view.width, H = model.view.height;
  tri::WithViewExtent([&](auto ext) {
    WalkGridTriangles([](int) { return true; },
                      [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool inView) {
                        const LightVertex* v[3] = {&p.light, &q.light, &r.light};
                        if (inView && InLightMap(p.light, W, H) && InLightMap(q.light, W, H) &&
                            InLightMap(r.light, W, H))
                          RasterLight<false>(v, part, ext);
                        else
                          RasterLight<true>(v, part, ext);
                        ++done;
                      });
  });
}

void RasterViewDepths(const tri::Part& part, long& done) {
  done = 0;
  tri::WithViewExtent([&](auto ext) {
    WalkGridTriangles([](int) { return true; },
                      [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool inView) {
                        const SampleVertex* v[3] = {&p.view, &q.view, &r.view};
                        if (inView)
                          RasterViewDepth<false>(v, part, ext);
                        else
                          RasterViewDepth<true>(v, part, ext);
                        ++done;
                      });
  });
}

// The row that splits the given positions' rows of the map (those in the
// view's rectangle) into two halves; 0 when there are too few to share.
// The count of grid positions in each row, kept from one drawing to the
// next (the drawing allocates nothing once warm).
std::vector<int32_t> medianRows;

template <class Grid>
int32_t MedianRow(const Grid& grid) {
  const int W = model.view.width, H = model.view.height;
  std::vector<int32_t>& rows = medianRows;
  rows.assign(static_cast<size_t>(H), 0);
  int32_t count = 0;
  for (int a = 0; a < kGrid; ++a)
    for (int b = 0; b < kGrid; ++b) {
      const double y = grid[a][b].y, x = grid[a][b].x;
      if (!(0 <= x && x < W && 0 <= y && y < H)) continue;
      ++rows[static_cast<size_t>(y)];
      ++count;
    }
  if (count < 16) return 0;
  int32_t above = 0;
  for (int y = 0; y < H - 1; ++y) {
    above += rows[y];
    if (2 * above >= count) return y + 1;
  }
  return 0;
}

// Samples the grid (the light's view too for a render) while the cells,
// and for a render the light map, are cleared: each thread samples half of
// the grid's rows and clears bands of cells as they come; the maps end
// cleared whatever happens, and an error is the one the one-thread
// sampling meets first.
void SampleBesideClearing(bool render, bool allowReuse) {
  if (render) ClearViewRowPixels();
  CellClearing cells{{0}, render};
  const bool reuse = BeginSampling(allowReuse);
  constexpr int kHalf = kGrid / 2;  // rows 0..kHalf here, the rest beside
  auto part = [&](bool upper, PartProgress&) {
    const int first = upper ? 0 : kHalf + 1, last = upper ? kHalf : kGrid - 1;
    try {
      if (render)
        SampleRows<true>(reuse, first, last);
      else
        SampleRows<false>(reuse, first, last);
    } catch (...) {
      cells.Claim();
      throw;
    }
    cells.Claim();
    if (render && !upper) ClearLightDepth();
  };
  RunInTwoParts(part);
  EndSampling(reuse);
}

}  // namespace

int32_t GridSplit() { return MedianRow(sampleGrid); }

void FillPixelCells() {
  ClearPixelCells();
  SampleSurface();
  long done;
  RasterPixelCells(tri::kWhole, done);
}

void FillLightDepth() {
  ClearLightDepth();
  long done;
  RasterLightDepth(tri::kWhole, done);
}

void FillDepthMaps(void (*afterDepths)(int share, int& stage)) {
  if (!side::Enabled()) {
    FillPixelCells();
    FillLightDepth();
    int stage = 2;
    if (afterDepths) afterDepths(0, stage);
    return;
  }
  // The maps are cleared beside the sampling; then each thread fills a part
  // of the rows of both maps, every pixel seeing the triangles in the
  // walk's order, then its share of afterDepths. Errors come out in the
  // one-thread order: sampling, view, light, afterDepths.
  SampleBesideClearing(true, false);
  const int32_t viewSplit = MedianRow(sampleGrid), lightSplit = MedianRow(lightGrid);
  auto pass = [&](bool upper, PartProgress& progress) {
    RasterPixelCells(tri::PartOf(viewSplit, upper), progress.done);
    progress.stage = 1;
    RasterLightDepth(tri::PartOf(lightSplit, upper), progress.done);
    progress.stage = 2;
    if (afterDepths) afterDepths(upper ? 1 : 2, progress.stage);
  };
  RunInTwoParts(pass);
}

void FillPreviewDepths(void (*afterDepths)(int share, int& stage)) {
  if (!side::Enabled()) {
    ClearCells(0, model.view.width, false);
    SampleGridVertices<false, true>();
    long done;
    RasterViewDepths(tri::kWhole, done);
    int stage = 1;
    if (afterDepths) afterDepths(0, stage);
    return;
  }
  SampleBesideClearing(false, true);
  const int32_t split = MedianRow(sampleGrid);
  auto pass = [&](bool upper, PartProgress& progress) {
    RasterViewDepths(tri::PartOf(split, upper), progress.done);
    progress.stage = 1;
    if (afterDepths) afterDepths(upper ? 1 : 2, progress.stage);
  };
  RunInTwoParts(pass);
}
