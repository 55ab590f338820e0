#include "render/Shading.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <exception>

#include "model/Projection.h"
#include "platform/Events.h"
#include "platform/RunChecks.h"
#include "platform/SideThread.h"
#include "render/TriangleScan.h"
#include "render/TwoParts.h"
#include "render/ViewSetup.h"

namespace {

constexpr double kDelta = 0.0025;   // tangent step: grid step / 10
constexpr double kInset = 0.00125;  // boundary inset: kDelta / 2
constexpr int32_t kMaxShade = 200;  // last palette entry

inline Point3 Unit(const Point3& d) {
  const double len = Norm(d);
  return Point3{qchk::Div(d.x, len), qchk::Div(d.y, len), qchk::Div(d.z, len)};
}

// A triangle's shade bases at its vertices: |facing|, on the front ramp
// (from 101) when two or three of them face the eye.
struct Bases {
  int32_t t, m, b;
};
inline Bases ShadeBases(const SampleVertex& T, const SampleVertex& M, const SampleVertex& B) {
  const int front = (T.facing > 0) + (M.facing > 0) + (B.facing > 0);
  const int32_t off = front >= 2 ? 101 : 0;
  return Bases{std::abs(T.facing) + off, std::abs(M.facing) + off, std::abs(B.facing) + off};
}

// Floor and Trunc of the shading pass: without the range test where every
// attribute of the triangle is known to fit (Fits), else checked.
template <bool Fits>
struct Conv {
  static int32_t Floor(double r) { return Fits ? tri::FloorFitting(r) : tri::FloorI(r); }
  static int32_t Trunc(double r) { return Fits ? tri::TruncFitting(r) : tri::TruncI(r); }
};

// One triangle of the shading pass, its vertices ordered and set up.
struct ShadeSetup {
  tri::Geom g;
  const SampleVertex *T, *M, *B;
  const LightVertex *LT, *LM, *LB;
  tri::Slope depth, base, level, lightDepth, lightX, lightY;
  double depthT, baseT, levelT, ldT;
};

// The shade index of pixel x of row y, or -1 where the triangle leaves it
// alone; the row's attribute values at s = 0 are given.
struct ShadeRow {
  double depthRow, baseRow, levelRow, ldRow, lxRow, lyRow;
};

// e: the view's extent (tri::DefaultExtent or tri::RuntimeExtent).
template <bool Fits, class Ext>
inline __attribute__((always_inline)) int32_t IndexAt(const ShadeSetup& q, const ShadeRow& r,
                                                     const PixelCell* cells, const int32_t* D,
                                                     const Ext& e, int32_t x, int32_t y) {
  using C = Conv<Fits>;
  const double s = x - q.g.topX;
  const int32_t d = C::Floor(s * q.depth.dx + r.depthRow);
  if (!(cells[x * e.stride + y].depth >= d)) return -1;
  const int32_t ld = C::Floor(s * q.lightDepth.dx + r.ldRow);
  const double lx = s * q.lightX.dx + r.lxRow;
  const double ly = s * q.lightY.dx + r.lyRow;
  const int32_t X = C::Floor(lx), Y = C::Floor(ly);
  if (!(0 <= X && X < e.width && 0 <= Y && Y < e.height)) return -1;
  const int32_t shadeBase = C::Trunc(s * q.base.dx + r.baseRow);
  // Plane through three neighbouring cells; X + 1 <= width, Y + 1 <= height.
  const int32_t d00 = D[X * e.stride + Y];
  const int32_t d10 = D[(X + 1) * e.stride + Y];
  const int32_t d01 = D[X * e.stride + Y + 1];
  const double m = d00 + (lx - X) * (d10 - d00) + (ly - Y) * (d01 - d00);
  int32_t index;
  if (nearMargin * ld >= m) {
    index = shadeBase;  // in shadow
  } else {
    int32_t lit = C::Floor(s * q.level.dx + r.levelRow);
    if (lit > 70) lit = 70;
    index = shadeBase + lit;
  }
  if (index > kMaxShade) index = kMaxShade;
  qchk::CheckIndex(index, 0, kMaxShade);
  return index;
}

template <bool Clipped, bool Fits, class Ext, class ScanFn>
void ShadeRows(const ShadeSetup& q, Ext e, ScanFn scan) {
  const PixelCell* cells = model.pixelCells->data();
  const int32_t* D = model.lightDepth->data();
  uint8_t* shade = model.shadeMap->data();
  const uint8_t* pal = &(*model.palette)[0][0];
  Canvas& bmp = *model.pictureBitmap;
  const int32_t lastX = e.width - 1, lastY = e.height - 1;
  const long shadeStride = e.height;
  scan([&](int32_t y, double t, int32_t xl, int32_t xr) {
    // Copies the byte writes below cannot alias: kept in registers.
    const Ext ex = e;
    const long shadeStep = shadeStride;
    const ShadeRow r{q.depthT + t * q.depth.dy, q.baseT + t * q.base.dy,
                     q.levelT + t * q.level.dy, q.ldT + t * q.lightDepth.dy,
                     q.LT->x + t * q.lightX.dy, q.LT->y + t * q.lightY.dy};
    if (Clipped) {
      if (xl < 0) xl = 0;
      if (xr > lastX) xr = lastX;
    }
    if (xl > xr) return;
    // The unclipped span of a vertex just inside the right border can reach
    // column `width` by rounding (pixelCells has that column, shadeMap not):
    // such a pixel is tested like any other and is a range error only if
    // it would be written.
    const int32_t xLast = xr > lastX ? lastX : xr;
    // Checked once per span: the row and both ends of the part that is
    // written directly.
    qchk::CheckIndex(y, 0, lastY);
    if (xl <= xLast) {
      qchk::CheckIndex(xl, 0, lastX);
      qchk::CheckIndex(xLast, 0, lastX);
    }
    uint8_t* bmpRow = bmp.Row(y);
    for (int32_t x = xl; x <= xLast; ++x) {
      const int32_t index = IndexAt<Fits>(q, r, cells, D, ex, x, y);
      if (index < 0) continue;
      shade[x * shadeStep + y] = static_cast<uint8_t>(index);
      const uint8_t* c = pal + index * 3;
      uint8_t* px = bmpRow + x * 3;
      px[0] = c[0];
      px[1] = c[1];
      px[2] = c[2];
    }
    for (int32_t x = xLast + 1; x <= xr; ++x) {
      qchk::CheckIndex(x, 0, e.width);
      if (IndexAt<Fits>(q, r, cells, D, ex, x, y) >= 0) qchk::RangeError();
    }
  });
}

// The rows of one triangle in the view and in part.
template <bool Clipped, class Ext>
void ShadeTri(const SampleVertex* sv[3], const LightVertex* lv[3], const tri::Part& part, Ext ext) {
  int it, im, ib;
  ShadeSetup q;
  tri::Geom& g = q.g;
  if (part.Skips(sv) || !tri::OrderAndSetup(sv, it, im, ib, g)) return;
  const int32_t W = ext.width, H = ext.height;
  const int32_t yLo = std::max(part.lo, 0), yHi = std::min(part.hi, H - 1);
  q.T = sv[it], q.M = sv[im], q.B = sv[ib];
  q.LT = lv[it], q.LM = lv[im], q.LB = lv[ib];
  const SampleVertex &T = *q.T, &M = *q.M, &B = *q.B;
  const LightVertex &LT = *q.LT, &LM = *q.LM, &LB = *q.LB;
  const Bases sb = ShadeBases(T, M, B);
  q.depth = tri::Gradient(g, T.depth, M.depth, B.depth);
  q.base = tri::Gradient(g, sb.t, sb.m, sb.b);
  q.level = tri::Gradient(g, LT.lightLevel, LM.lightLevel, LB.lightLevel);
  q.lightDepth = tri::Gradient(g, LT.depth, LM.depth, LB.depth);
  q.lightX = tri::Gradient(g, LT.x, LM.x, LB.x);
  q.lightY = tri::Gradient(g, LT.y, LM.y, LB.y);
  q.depthT = T.depth, q.baseT = sb.t, q.levelT = LT.lightLevel, q.ldT = LT.depth;
  // Most triangles lie in the view with every attribute far inside int32:
  // no conversion of theirs can fail, and their scan skips the range tests.
  const double side = std::max(W, H);
  const auto fit = [&g, side](double fT, tri::Slope f) {
    return tri::FitsInside(side, fT, f) || tri::ConversionsFit(g, fT, f);
  };
  const bool fits = tri::InsideRect(g, W, H) && fit(q.depthT, q.depth) && fit(q.baseT, q.base) &&
                    fit(q.levelT, q.level) && fit(q.ldT, q.lightDepth) && fit(LT.x, q.lightX) &&
                    fit(LT.y, q.lightY);
  if (fits) {
    ShadeRows<Clipped, true>(q, ext, [&](auto&& row) { tri::ScanRowsInside(g, yLo, yHi, row); });
  } else {
    ShadeRows<Clipped, false>(q, ext, [&](auto&& row) { tri::ScanRows(g, yLo, yHi, row); });
  }
}

// The drag-time preview's triangle: ShadeTri's ordering, rejections, side
// rule, gradients, rows and spans, with depth and shade base as the only
// attributes; spans always held to the view (no clipped variant), no light
// and no shadow.
template <bool Fits, class Ext, class ScanFn>
void PreviewRows(const tri::Geom& g, double depthT, tri::Slope depth, double baseT, tri::Slope base,
                 Canvas& bitmap, Ext ext, ScanFn scan) {
  using C = Conv<Fits>;
  const PixelCell* cells = model.pixelCells->data();
  const uint8_t* pal = &(*model.palette)[0][0];
  const long stride = ext.stride;
  const int32_t lastX = ext.width - 1, lastY = ext.height - 1;
  scan([&](int32_t y, double t, int32_t xl, int32_t xr) {
    const double depthRow = depthT + t * depth.dy;
    const double baseRow = baseT + t * base.dy;
    // A copy the byte writes below cannot alias: kept in a register.
    const long step = stride;
    if (xl < 0) xl = 0;
    if (xr > lastX) xr = lastX;
    if (xl > xr) return;
    qchk::CheckIndex(y, 0, lastY);
    uint8_t* row = bitmap.Row(y);
    double xd = xl;  // x as a double, exact
    for (int32_t x = xl; x <= xr; ++x, xd += 1) {
      const double s = xd - g.topX;
      const int32_t d = C::Floor(s * depth.dx + depthRow);
      if (!(cells[x * step + y].depth >= d)) continue;
      const int32_t index = C::Floor(s * base.dx + baseRow);
      qchk::CheckIndex(index, 0, kMaxShade);
      const uint8_t* c = pal + index * 3;
      uint8_t* px = row + x * 3;
      px[0] = c[0];
      px[1] = c[1];
      px[2] = c[2];
    }
  });
}

template <class Ext>
void PreviewTri(const SampleVertex* sv[3], Canvas& bitmap, const tri::Part& part, Ext ext) {
  int it, im, ib;
  tri::Geom g;
  if (part.Skips(sv) || !tri::OrderAndSetup(sv, it, im, ib, g)) return;
  const SampleVertex &T = *sv[it], &M = *sv[im], &B = *sv[ib];
  const Bases sb = ShadeBases(T, M, B);
  const tri::Slope depth = tri::Gradient(g, T.depth, M.depth, B.depth);
  const tri::Slope base = tri::Gradient(g, sb.t, sb.m, sb.b);
  const double depthT = T.depth, baseT = sb.t;
  const int32_t W = ext.width, H = ext.height;
  const int32_t yLo = std::max(part.lo, 0), yHi = std::min(part.hi, H - 1);
  // Most triangles' conversions cannot fail: their pixels skip the range
  // tests, and those inside the view their rows' too.
  const bool inside = tri::InsideRect(g, W, H);
  const double side = std::max(W, H);
  const auto fit = [&g, inside, side](double fT, tri::Slope f) {
    return (inside && tri::FitsInside(side, fT, f)) || tri::ConversionsFit(g, fT, f);
  };
  const bool fits = fit(depthT, depth) && fit(baseT, base);
  if (fits && inside)
    PreviewRows<true>(g, depthT, depth, baseT, base, bitmap, ext,
                      [&](auto&& row) { tri::ScanRowsInside(g, yLo, yHi, row); });
  else if (fits)
    PreviewRows<true>(g, depthT, depth, baseT, base, bitmap, ext,
                      [&](auto&& row) { tri::ScanRows(g, yLo, yHi, row); });
  else
    PreviewRows<false>(g, depthT, depth, baseT, base, bitmap, ext,
                       [&](auto&& row) { tri::ScanRows(g, yLo, yHi, row); });
}

// The preview's rows in part: the brush, then the triangles; done counts
// them.
void PreviewPart(Canvas& bitmap, const tri::Part& part, long& done) {
  const int W = model.view.width, H = model.view.height;
  qchk::CheckIndex(W, 1, ViewSize::kMaxSide);
  uint8_t brushRow[3 * ViewSize::kMaxSide];
  const uint32_t brush = bitmap.brushColour;
  for (int x = 0; x < W; ++x) {
    brushRow[3 * x] = static_cast<uint8_t>(brush >> 16);
    brushRow[3 * x + 1] = static_cast<uint8_t>(brush >> 8);
    brushRow[3 * x + 2] = static_cast<uint8_t>(brush);
  }
  const int32_t yLo = std::max(part.lo, 0), yHi = std::min(part.hi, H - 1);
  for (int32_t y = yLo; y <= yHi; ++y) std::memcpy(bitmap.Row(y), brushRow, 3 * static_cast<size_t>(W));
  done = 0;
  tri::WithViewExtent([&](auto ext) {
    WalkGridTriangles([](int) { return true; },
                      [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool) {
                        const SampleVertex* sv[3] = {&p.view, &q.view, &r.view};
                        PreviewTri(sv, bitmap, part, ext);
                        ++done;
                      });
  });
}

}  // namespace

void ShadeVertex(int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv) {
  SampleVertex& sv = sampleGrid[a][b];
  LightVertex& lv = lightGrid[a][b];
  const Point3 E = Unit(Sub(model.eye, P));
  const Point3 L = Unit(Sub(renderState.lightPos, P));
  Point3 N = Cross(Tu, Tv);
  const double len = std::sqrt(N.x * N.x + N.y * N.y + N.z * N.z);
  if (len <= 1e-11) {
    sv.facing = 40;
    lv.lightLevel = 0;
    return;
  }
  N = Point3{N.x / len, N.y / len, N.z / len};
  const double ne = Dot(N, E);
  const double nl = Dot(N, L);
  const double p = 2 * nl * ne;
  const int32_t f = qchk::Trunc((std::fabs(ne) + 1) * 30 / 2);
  sv.facing = ne > 0 ? f : -f;
  if (p > 0) {
    const double r = (1 + p - Dot(L, E)) / 2;
    const double r2 = r * r;
    lv.lightLevel = qchk::Trunc(70 * (0.3 * std::fabs(nl) + 0.7 * (r2 * r2)));
  } else {
    lv.lightLevel = 0;
  }
}

namespace {

// The boundary vertices' evaluation points and tangents, in visiting order,
// for the surface SampledSurface() names: a preview step reuses them as it
// reuses the grid's points.
struct BoundaryVertex {
  int a, b;
  Point3 P, Tu, Tv;
};
constexpr int kBoundary = 4 + 4 * 39;
BoundaryVertex boundary[kBoundary];
bool boundaryValid = false;
uint64_t boundarySurface = 0;

template <class Visit>
void VisitBoundary(Visit&& tangents) {
  const auto S = model.SurfacePoint;
  const double h = shadeStep, d = kInset, dl = kDelta;
  // Corners.
  {
    const Point3 P = S(d, d);
    tangents(0, 0, P, Sub(S(d + dl, d), P), Sub(S(d, d + dl), P));
  }
  {
    const Point3 P = S(1 - d, d);
    tangents(40, 0, P, Sub(P, S(1 - d - dl, d)), Sub(S(1 - d, d + dl), P));
  }
  {
    const Point3 P = S(1 - d, 1 - d);
    tangents(40, 40, P, Sub(P, S(1 - d - dl, 1 - d)), Sub(P, S(1 - d, 1 - d - dl)));
  }
  {
    const Point3 P = S(d, 1 - d);
    tangents(0, 40, P, Sub(S(d + dl, 1 - d), P), Sub(P, S(d, 1 - d - dl)));
  }
  // Edges v = 0 and v = 1, alternately.
  for (int i = 1; i <= 39; ++i) {
    const double u = i * h;
    {
      const Point3 P = S(u, d);
      tangents(i, 0, P, Sub(S(u + dl, d), P), Sub(S(u, d + dl), P));
    }
    {
      const Point3 P = S(u, 1 - d);
      tangents(i, 40, P, Sub(P, S(u - dl, 1 - d)), Sub(P, S(u, 1 - d - dl)));
    }
  }
  // Edges u = 1 and u = 0, alternately.
  for (int j = 1; j <= 39; ++j) {
    const double v = j * h;
    {
      const Point3 P = S(1 - d, v);
      tangents(40, j, P, Sub(P, S(1 - d - dl, v)), Sub(S(1 - d, v + dl), P));
    }
    {
      const Point3 P = S(d, v);
      tangents(0, j, P, Sub(S(d + dl, v), P), Sub(S(d, v + dl), P));
    }
  }
}

}  // namespace

void VisitShadingVertices(VertexShader tangents, bool reuse, int share) {
  // The boundary and the interior's rows 1..19 (share 1), the rows
  // 20..39 (share 2), or all of them (share 0).
  const int firstRow = share == 2 ? 20 : 1, lastRow = share == 1 ? 19 : 39;
  if (share == 2) {
    // the boundary is share 1's
  } else if (reuse && boundaryValid && boundarySurface == SampledSurface()) {
    for (const BoundaryVertex& v : boundary) tangents(v.a, v.b, v.P, v.Tu, v.Tv);
  } else {
    boundaryValid = false;
    int k = 0;
    VisitBoundary([&](int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv) {
      boundary[k++] = BoundaryVertex{a, b, P, Tu, Tv};
      tangents(a, b, P, Tu, Tv);
    });
    boundaryValid = k == kBoundary;
    boundarySurface = SampledSurface();
  }
  // Interior: central differences of the stored grid points.
  for (int i = firstRow; i <= lastRow; ++i) {
    const auto &rm = sampleGrid[i - 1], &r0 = sampleGrid[i], &rp = sampleGrid[i + 1];
    for (int j = 1; j <= 39; ++j) {
      const Point3& P = r0[j].point;
      tangents(i, j, P, Sub(rp[j].point, rm[j].point), Sub(r0[j + 1].point, r0[j - 1].point));
    }
  }
}

void ShadeVertices(int share) { VisitShadingVertices(ShadeVertex, false, share); }

namespace {

// The triangles of grid row i in rows yLo..yHi of the view; part as for
// ShadeTri. done counts the triangles finished, so that a caught error
// tells which triangle raised it.
void ShadeGridRow(int i, const tri::Part& part, long& done) {
  done = 0;
  tri::WithViewExtent([&](auto ext) {
    WalkGridRow(i, [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool inView) {
      const SampleVertex* sv[3] = {&p.view, &q.view, &r.view};
      const LightVertex* lv[3] = {&p.light, &q.light, &r.light};
      if (inView)
        ShadeTri<false>(sv, lv, part, ext);
      else
        ShadeTri<true>(sv, lv, part, ext);
      ++done;
    });
  });
}

// The first row of the lower part for grid row i: the rows above it hold
// about half of the pixels its triangles visited in the depth pass. 0 when
// there is too little to share.
int32_t ShadingSplit(int i) {
  const int32_t* rows = ViewRowPixels(i);
  const int H = model.view.height;
  int64_t total = 0;
  for (int y = 0; y < H; ++y) total += rows[y];
  if (total < 64) return 0;  // too little to be worth a second thread
  int64_t above = 0;
  for (int y = 0; y < H; ++y) {
    above += rows[y];
    if (2 * above >= total) return y + 1 < H ? y + 1 : 0;
  }
  return 0;
}

}  // namespace

void ShadeTriangle(const SampleVertex& a, const SampleVertex& b, const SampleVertex& c,
                   const LightVertex& la, const LightVertex& lb, const LightVertex& lc,
                   bool clipped) {
  const SampleVertex* sv[3] = {&a, &b, &c};
  const LightVertex* lv[3] = {&la, &lb, &lc};
  tri::WithViewExtent([&](auto ext) {
    if (clipped)
      ShadeTri<true>(sv, lv, tri::kWhole, ext);
    else
      ShadeTri<false>(sv, lv, tri::kWhole, ext);
  });
}

bool ShadeSurface() {
  // With a second thread the rows of the view are shaded in two parts, one
  // a thread, a grid row at a time: every pixel still sees the triangles
  // in the walk's order, and the picture at each poll is the one-thread
  // picture.
  const bool share = side::Enabled();
  for (int i = 1; i < kGrid; ++i) {
    // Events run and the stop request is polled before each row of cells,
    // the second thread idle.
    ProcessPendingEvents();
    if (model.stopRequested) return false;
    const int32_t split = share ? ShadingSplit(i) : 0;
    if (split == 0) {
      long done = 0;
      ShadeGridRow(i, tri::kWhole, done);
      continue;
    }
    auto pass = [i, split](bool upper, PartProgress& progress) {
      ShadeGridRow(i, tri::PartOf(split, upper), progress.done);
    };
    RunInTwoParts(pass);
  }
  return true;
}

void ShadePreviewVertex(int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv) {
  SampleVertex& sv = sampleGrid[a][b];
  const Point3 E = Unit(Sub(model.eye, P));
  Point3 N = Cross(Tu, Tv);
  const double len = std::sqrt(N.x * N.x + N.y * N.y + N.z * N.z);
  if (len <= 1e-11) {
    sv.facing = 40;
    return;
  }
  N = Point3{N.x / len, N.y / len, N.z / len};
  sv.facing = qchk::Trunc(99.7 * Dot(N, E));
}

void ShadePreviewVertices(int share) { VisitShadingVertices(ShadePreviewVertex, true, share); }

void ShadePreviewSurface(Canvas& bitmap) {
  // The bitmap's pixels are written directly; it must be the view's size.
  qchk::CheckIndex(bitmap.Width(), model.view.width, model.view.width);
  qchk::CheckIndex(bitmap.Height(), model.view.height, model.view.height);
  // The view rectangle (the whole bitmap) in the brush colour, then the
  // triangles; with a second thread, in two parts of the rows, each pixel
  // still seeing the triangles in the walk's order.
  const int32_t split = side::Enabled() ? GridSplit() : 0;
  if (split == 0) {
    long done;
    PreviewPart(bitmap, tri::kWhole, done);
    return;
  }
  auto pass = [&bitmap, split](bool upper, PartProgress& progress) {
    PreviewPart(bitmap, tri::PartOf(split, upper), progress.done);
  };
  RunInTwoParts(pass);
}
