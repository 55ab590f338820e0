// The exact quadrics, the umbilic finder, the tracer's umbilic test, the
// reflection lines and the net of lines of curvature.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <thread>

#include "interact/CurvatureNet.h"
#include "interact/CurvatureMapping.h"
#include "render/PixelLookup.h"
#include "interact/DrawingCycle.h"
#include "interact/UmbilicMarks.h"
#include "model/LocalGeometry.h"
#include "model/Projection.h"
#include "model/SurfaceDerivatives.h"
#include "model/Umbilics.h"
#include "render/Zebra.h"
#include "test_surfaces.h"

namespace {

class UmbilicsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProcessEventsHook(nullptr);
    InitModelState();
  }
};

void Exact(ExactShape s, double scale = 1) {
  InitModelState();
  SetProcessEventsHook(nullptr);
  StartupModel();
  ExactShapeModel(s);
  EXPECT_EQ(model.surfaceKind, 1);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      NetPoint& p = model.controlNet[i][j];
      p = NetPoint{p.x * scale, p.y * scale, p.z * scale, p.w};
    }
}

// The net drawn as a B-spline of degree p (2 or 3).
void AsBSpline(int p) {
  ASSERT_TRUE(p == 2 || p == 3) << "no B-spline of degree " << p;
  LayOutTicks(model.netM, model.netN);
  model.surfaceKind = p;
  FijaFunciones();
  SetKnots();
  ASSERT_EQ(model.surfaceKind, p);
}

// The net drawn as a Bézier surface.
void AsBezier() {
  LayOutTicks(model.netM, model.netN);
  model.surfaceKind = 1;
  FijaFunciones();
  SetKnots();
}

// The closed form of the parameter of the degree-3 half circle at angle t:
// t = 2 atan(s / (1 - s)).
double HalfArcParam(double angle) {
  const double q = std::tan(angle / 2);
  return q / (1 + q);
}

// The exact quadrics, built by the menu's shapes and by revolution nets:
// points on the quadric, K and |H| of the closed form, borders included.
TEST_F(UmbilicsTest, ExactQuadricsAndTheirCurvatures) {
  const double a = kEllipsoidAxisX, b = kEllipsoidAxisY, c = kEllipsoidAxisZ;
  const auto sphere = [](double r) { return [r](const Point3& p) { return Dot(p, p) - r * r; }; };
  const auto cylinder = [](double r) { return [r](const Point3& p) { return p.x * p.x + p.y * p.y - r * r; }; };
  const struct {
    const char* name;
    std::function<void()> build;
    std::function<double(const Point3&)> implicit;  // 0 on the quadric
    double K, absH;                                 // NaN: not constant
  } cases[] = {
      {"octant", [] { Exact(ExactShape::SphereOctant); }, sphere(1), 1, 1},
      {"half sphere", [] { Exact(ExactShape::HalfSphere); }, sphere(1), 1, 1},
      {"ellipsoid", [] { Exact(ExactShape::Ellipsoid); },
       [&](const Point3& p) { return p.x * p.x / (a * a) + p.y * p.y / (b * b) + p.z * p.z / (c * c) - 1; }, NAN,
       NAN},
      {"half cylinder", [] { Exact(ExactShape::HalfCylinder); }, cylinder(1), 0, 0.5},
      {"octant net r = 2.5", [] {
         stest::Arc q = stest::QuarterCircle();
         for (int k = 0; k < 3; ++k) q.x[k] *= 2.5, q.y[k] *= 2.5;
         stest::RevolutionNet(q);
       }, sphere(2.5), 0.16, 0.4},
      {"sphere patch as rational quadratic B-spline", [] {
         stest::ExactSphere(1);
         AsBSpline(2);
       }, sphere(1), 1, 1},
      {"cylinder r = 0.3", [] { stest::ExactCylinder(0.3); }, cylinder(0.3), 0, 1 / 0.6},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    k.build();
    EXPECT_TRUE(model.rationalSurface);
    for (double u : {0.0, 0.13, 0.5, 0.91, 1.0})
      for (double v : {0.02, 0.1, 0.45, 0.77, 0.95}) {
        const ParamPair p{u, v};
        EXPECT_NEAR(k.implicit(model.SurfacePointUV(p)), 0, 1e-14);
        const LocalGeometry g = LocalGeometryAt(CurrentSurface(), p, {DerivativeSource::Exact});
        ASSERT_TRUE(g.normalDefined);
        const CurvatureValues cv = CurvaturesOf(g);
        EXPECT_GE(cv.k1, cv.k2);
        if (std::isnan(k.K)) continue;
        EXPECT_NEAR(cv.K, k.K, 1e-12);
        EXPECT_NEAR(std::fabs(cv.H), k.absH, 1e-12);
      }
  }
}

TEST_F(UmbilicsTest, SpheresAndPlanesAreUmbilicRegions) {
  const struct {
    const char* name;
    std::function<void()> build;
    double absK;
  } cases[] = {
      {"octant", [] { Exact(ExactShape::SphereOctant); }, 1},
      {"half sphere r = 40", [] { Exact(ExactShape::HalfSphere, 40); }, 1.0 / 40},
      {"plane", [] { stest::Plane(); }, 0},
      // Its inner knot in v sits on the start: the first span is empty and
      // the derivatives at v = 0 fail a division; the search goes on.
      {"plane, cubic B-spline, empty first span", [] {
         stest::ShapeNet(4, 4, PlaneNet);
         AsBSpline(3);
       }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.build();
    const UmbilicReport r = FindUmbilics(CurrentSurface());
    EXPECT_TRUE(r.points.empty());
    ASSERT_EQ(r.regions.size(), 1u);
    const ParamBox& b = r.regions[0];
    EXPECT_LE(b.u0, 0.05);
    EXPECT_GE(b.u1, 0.95);
    EXPECT_LE(b.v0, 0.05);
    EXPECT_GE(b.v1, 0.95);
    EXPECT_NEAR(std::fabs(b.k), c.absK, 1e-9);
  }
}

TEST_F(UmbilicsTest, EllipsoidUmbilicsWhereTheClosedFormPutsThem) {
  Exact(ExactShape::Ellipsoid);
  const double A = kEllipsoidAxisY, B = kEllipsoidAxisX, C = kEllipsoidAxisZ;  // longest, middle, shortest
  // On the plane of the longest and shortest axes; on the unit sphere the
  // height is cos(angle from the pole).
  const double zUnit = std::sqrt((B * B - C * C) / (A * A - C * C));
  const double vNorth = HalfArcParam(std::acos(zUnit)), vSouth = HalfArcParam(std::acos(-zUnit));
  const UmbilicReport r = FindUmbilics(CurrentSurface());
  ASSERT_EQ(r.points.size(), 2u);
  EXPECT_TRUE(r.regions.empty());
  const double v[2] = {vNorth, vSouth};
  for (int k = 0; k < 2; ++k) {
    const UmbilicPoint& p = r.points[k];
    EXPECT_NEAR(p.p.u, 0.5, 1e-9);
    EXPECT_NEAR(p.p.v, v[k], 1e-9);
    // K = 1 / (a b c (x^2/a^4 + y^2/b^4 + z^2/c^4))^2, and k^2 = K there.
    const Point3& S = p.S;
    const double s = S.y * S.y / (A * A * A * A) + S.z * S.z / (C * C * C * C) + S.x * S.x / (B * B * B * B);
    EXPECT_NEAR(p.k * p.k, 1 / (A * A * B * B * C * C * s * s), 1e-9);
    EXPECT_EQ(p.index2, 1);
    EXPECT_EQ(p.cls, UmbilicClass::Lemon);
  }
}

// The search reads only the surface it is given: on two surfaces from two
// threads at once, each finds what it finds alone, to the bit.
TEST_F(UmbilicsTest, SearchesOnTwoThreadsFindWhatEachFindsAlone) {
  Exact(ExactShape::Ellipsoid);
  const Surface a = CurrentSurface();
  stest::ExactSphere(1);
  const Surface b = CurrentSurface();
  auto numbers = [](const UmbilicReport& r) {
    std::vector<double> n;
    for (const UmbilicPoint& p : r.points)
      n.insert(n.end(), {p.p.u, p.p.v, p.S.x, p.S.y, p.S.z, p.k, double(p.index2), double(int(p.cls))});
    for (const auto* boxes : {&r.regions, &r.singular})
      for (const ParamBox& q : *boxes) n.insert(n.end(), {q.u0, q.u1, q.v0, q.v1, q.k});
    return n;
  };
  const UmbilicReport aloneA = FindUmbilics(a), aloneB = FindUmbilics(b);
  ASSERT_EQ(aloneA.points.size(), 2u);
  ASSERT_EQ(aloneB.regions.size(), 1u);
  UmbilicReport gotA, gotB;
  std::thread first([&] { gotA = FindUmbilics(a); });
  std::thread second([&] { gotB = FindUmbilics(b); });
  first.join();
  second.join();
  EXPECT_EQ(numbers(gotA), numbers(aloneA));
  EXPECT_EQ(numbers(gotB), numbers(aloneB));
}

// In the first view of the ellipsoid one umbilic faces the eye and the
// surface hides the other: only the first is marked, as the shape the
// projection of the second falls on shows.
TEST_F(UmbilicsTest, HiddenUmbilicsAreNotMarked) {
  Exact(ExactShape::Ellipsoid);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  const UmbilicReport r = FindUmbilics(CurrentSurface());
  ASSERT_EQ(r.points.size(), 2u);
  int visible = 0;
  for (const UmbilicPoint& p : r.points) {
    ScreenPoint q;
    const bool seen = UmbilicVisible(p.S, q);
    visible += seen;
    // Visible exactly where the surface under its pixel is the umbilic's
    // own neighbourhood.
    const PixelCell& c = model.pixelCells[q.x][q.y];
    EXPECT_EQ(seen, std::hypot(c.u - p.p.u, c.v - p.p.v) < 0.02);
  }
  EXPECT_EQ(visible, 1);
  Canvas view(kView, kView);
  view.Draw(0, 0, *model.pictureBitmap);
  EXPECT_EQ(DrawUmbilicMarks(view, r), 1);
  EXPECT_NE(view.Bytes(), model.pictureBitmap->Bytes());
}

// z = q (x^2 + y^2) / 2 + (a x^3 + 3 c x y^2) / 6 over [-1/2, 1/2]^2, exactly,
// as a bicubic Bezier (control values from the blossoms of each term): an
// umbilic in the middle. With q = a = 1 its class follows from c alone in
// Berry and Hannay's diagram: lemon for 0 < c < 1/2, monstar for
// 1/2 < c < 1, star beyond; q = 0, a = 6, c = -6 is the monkey saddle.
void MongePatch(double q, double a, double c) {
  stest::ShapeNet(3, 3, PlaneNet);
  const double h = 0.5;
  const double x1[4] = {-h, -h / 3, h / 3, h}, x2[4] = {h * h, -h * h / 3, -h * h / 3, h * h};
  const double x3[4] = {-h * h * h, h * h * h, -h * h * h, h * h * h};
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 3; ++j)
      model.controlNet[i][j] =
          NetPoint{x1[i], x1[j], q * (x2[i] + x2[j]) / 2 + a * x3[i] / 6 + c * x1[i] * x2[j] / 2, 1};
}

TEST_F(UmbilicsTest, ClassFollowsTheCubicPart) {
  const struct {
    double q, a, c;
    UmbilicClass cls;
    int index2;
    size_t count;  // umbilics in the patch
  } cases[] = {{1, 1, 0.25, UmbilicClass::Lemon, 1, 0},   {1, 1, 0.1, UmbilicClass::Lemon, 1, 0},
               {1, 1, 0.75, UmbilicClass::Monstar, 1, 0}, {1, 1, 0.6, UmbilicClass::Monstar, 1, 0},
               {1, 1, -0.5, UmbilicClass::Star, -1, 0},   {1, 1, 1.5, UmbilicClass::Star, -1, 0},
               {0, 6, -6, UmbilicClass::Star, -1, 1}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.c);
    MongePatch(k.q, k.a, k.c);
    const UmbilicReport r = FindUmbilics(CurrentSurface());
    if (k.count) EXPECT_EQ(r.points.size(), k.count);
    const UmbilicPoint* mid = nullptr;
    for (const UmbilicPoint& p : r.points)
      if (std::hypot(p.p.u - 0.5, p.p.v - 0.5) < 1e-9) mid = &p;
    ASSERT_TRUE(mid);
    EXPECT_NEAR(mid->k, k.q, 1e-9);
    EXPECT_EQ(mid->cls, k.cls);
    EXPECT_EQ(mid->index2, k.index2);
  }
}

// The index straight from its definition: the turn of the principal
// direction (half the turn of the map's angle) round a small circle.
int WindingIndex2(ParamPair c, double radius) {
  double total = 0, prev = 0;
  for (int k = 0; k <= 64; ++k) {
    const double t = twoPiConst * k / 64;
    UmbilicMap f;
    EXPECT_TRUE(UmbilicMapAt(CurrentSurface(), ParamPair{c.u + radius * std::cos(t), c.v + radius * std::sin(t)}, f));
    const double a = std::atan2(f.f2, f.f1);
    if (k > 0) total += std::remainder(a - prev, twoPiConst);
    prev = a;
  }
  return static_cast<int>(std::lround(total / twoPiConst));
}

// Random bumpy nets: every umbilic the search finds is a zero of |k1 - k2|
// with the index its class says, and every place where a fine scan finds
// |k1 - k2| dropping to nearly nothing holds a found umbilic.
TEST_F(UmbilicsTest, RandomNetsAgreeWithABruteScan) {
  std::mt19937 gen(18);
  std::uniform_real_distribution<double> bump(-0.25, 0.25), weight(0.7, 1.4);
  int found = 0;
  for (int trial = 0; trial < 6; ++trial) {
    SCOPED_TRACE(trial);
    stest::ShapeNet(4, 4, PlaneNet);
    for (int i = 0; i <= 4; ++i)
      for (int j = 0; j <= 4; ++j) {
        model.controlNet[i][j].z = bump(gen);
        model.controlNet[i][j].w = weight(gen);
      }
    // Each kind plain and rational: Bézier, quadratic and cubic B-spline.
    model.rationalSurface = trial % 2 == 1;
    if (trial % 3 == 0)
      AsBezier();
    else
      AsBSpline(trial % 3 + 1);
    const UmbilicReport r = FindUmbilics(CurrentSurface());
    EXPECT_TRUE(r.regions.empty());
    for (const UmbilicPoint& p : r.points) {
      EXPECT_LT(UmbilicDeviation(CurrentSurface(), p.p), 1e-8);
      if (p.p.u > 0.01 && p.p.u < 0.99 && p.p.v > 0.01 && p.p.v < 0.99)
        EXPECT_EQ(WindingIndex2(p.p, 0.005), p.index2);
    }
    found += static_cast<int>(r.points.size());
    const int n = 200;
    for (int a = 1; a < n; ++a)
      for (int b = 1; b < n; ++b) {
        const ParamPair q{static_cast<double>(a) / n, static_cast<double>(b) / n};
        const double d = UmbilicDeviation(CurrentSurface(), q);
        if (!(d < 2e-3)) continue;
        bool near = false;
        for (const UmbilicPoint& p : r.points)
          near = near || std::hypot(p.p.u - q.u, p.p.v - q.v) < 3.0 / n;
        EXPECT_TRUE(near) << "deviation " << d << " at " << q.u << ", " << q.v;
      }
  }
  EXPECT_GT(found, 0);  // the nets must have had something to find
}

// Bumpy cubic nets whose first spans in u and in v are narrow (0.0058 and
// 0.0093 of the square): a fine scan of both strips finds every place
// where |k1 - k2| nearly vanishes beside an umbilic the search found. One
// even grid of 32 cells put no seed in such a strip.
TEST_F(UmbilicsTest, NarrowSpansByTheBorderAreSearched) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> bump(-0.2, 0.2);
  int inStrips = 0;
  for (int trial = 0; trial < 12; ++trial) {
    SCOPED_TRACE(trial);
    stest::ShapeNet(11, 9, PlaneNet);
    for (int i = 0; i <= 11; ++i)
      for (int j = 0; j <= 9; ++j) model.controlNet[i][j].z = bump(gen);
    AsBSpline(3);
    model.tickPosH[4] = 49;   // knot 3.052 of [3, 12]
    model.tickPosV[4] = 97;   // knot 3.065 of [3, 10]
    SetKnots();
    const UmbilicReport r = FindUmbilics(CurrentSurface());
    const double wu = (model.knotsU[4] - 3) / 9, wv = (model.knotsV[4] - 3) / 7;
    ASSERT_LT(wu, 0.01);
    ASSERT_LT(wv, 0.01);
    auto scan = [&](double u0, double u1, double v0, double v1) {
      const int n = 1000, k = 24;
      for (int a = 0; a <= k; ++a)
        for (int b = 0; b <= n; ++b) {
          const bool alongV = u1 - u0 < v1 - v0;
          const double fa = static_cast<double>(a) / k, fb = static_cast<double>(b) / n;
          const ParamPair q = alongV ? ParamPair{u0 + (u1 - u0) * fa, v0 + (v1 - v0) * fb}
                                     : ParamPair{u0 + (u1 - u0) * fb, v0 + (v1 - v0) * fa};
          if (!(UmbilicDeviation(CurrentSurface(), q) < 3e-3)) continue;
          bool near = false;
          for (const UmbilicPoint& p : r.points) near = near || std::hypot(p.p.u - q.u, p.p.v - q.v) < 0.01;
          EXPECT_TRUE(near) << "at " << q.u << ", " << q.v;
        }
    };
    scan(0, wu, 0, 1);
    scan(0, 1, 0, wv);
    for (const UmbilicPoint& p : r.points) {
      EXPECT_LT(UmbilicDeviation(CurrentSurface(), p.p), 1e-8);
      if (p.p.u < wu || p.p.v < wv) ++inStrips;
    }
  }
  EXPECT_GT(inStrips, 0);  // the nets must have had something to find there
}

// The tracer's test: an exact sphere of any radius and parametrisation, and
// a plane, have no principal directions anywhere; beside the ellipsoid's
// umbilic there are.
TEST_F(UmbilicsTest, TracerUmbilicTestIsScaleAware) {
  const struct {
    const char* name;
    std::function<void()> build;
  } spheres[] = {
      {"half sphere r = 1", [] { Exact(ExactShape::HalfSphere); }},
      {"half sphere r = 1000", [] { Exact(ExactShape::HalfSphere, 1000); }},
      {"octant r = 0.001", [] { Exact(ExactShape::SphereOctant, 0.001); }},
      {"sphere patch r = 7", [] { stest::ExactSphere(7); }},
      // Flat, with its corner at the origin: only rounding in the second form.
      {"plane, drawn", [] {
         stest::Plane();
         DrawWhole(false);
       }},
  };
  for (const auto& s : spheres) {
    SCOPED_TRACE(s.name);
    s.build();
    for (int a = 0; a < 20; ++a)
      for (int b = 0; b < 20; ++b) {
        ParamPair d;
        EXPECT_FALSE(PrincipalDirection(CurrentSurface(), ParamPair{a / 20.0 + 1e-3, b / 20.0 + 1e-3},
                                        ParamPair{1, 0}, 0, d, model.sceneDiag));
      }
  }
  Exact(ExactShape::Ellipsoid);
  const UmbilicReport r = FindUmbilics(CurrentSurface());
  ASSERT_FALSE(r.points.empty());
  const ParamPair c = r.points[0].p;
  for (double off : {2e-3, 1e-2})
    for (int family = 0; family <= 1; ++family) {
      ParamPair d;
      const Surface& s = CurrentSurface();
      EXPECT_TRUE(PrincipalDirection(s, ParamPair{c.u + off, c.v}, ParamPair{1, 0}, family, d, model.sceneDiag));
      EXPECT_TRUE(PrincipalDirection(s, ParamPair{c.u, c.v - off}, ParamPair{1, 0}, family, d, model.sceneDiag));
    }
}

// Reflection lines on the preset cylinder with vertical bars: the normal is
// the same all along a ruling, and so is every pixel's stripe.
TEST_F(UmbilicsTest, ZebraRunsAlongTheCylinderRulings) {
  stest::Cilindro();
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  const ZebraSettings z{12, true};
  std::vector<double> phase;
  ComputeZebraPhases(z, CurrentSurface(), phase);
  // Pixels of the front in bins of u: a bin that is not at a stripe's edge
  // is of one colour.
  constexpr int kBins = 400;
  int dark[kBins] = {}, light[kBins] = {}, seen = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      ParamPair uv;
      const double t = phase[static_cast<size_t>(x) * kView + y];
      if (!PixelLookup(CurrentSurface(), x, y, uv) || std::isnan(t)) continue;
      const int bin = std::min(kBins - 1, static_cast<int>(uv.u * kBins));
      (ZebraDark(z, t) ? dark[bin] : light[bin])++;
      ++seen;
    }
  int mixed = 0, changes = 0, last = -1;
  for (int b = 0; b < kBins; ++b) {
    if (dark[b] + light[b] == 0) continue;
    if (dark[b] && light[b]) ++mixed;
    const int colour = dark[b] > light[b];
    if (last >= 0 && colour != last) ++changes;
    last = colour;
  }
  EXPECT_GT(seen, 10000);
  EXPECT_GT(changes, 4);         // stripes are there
  EXPECT_LE(mixed, 2 * changes);  // and each has straight edges along the rulings
}

// The outline of the reflection lines is smoothed as the plain picture's
// is, in the stripes' own greys: no colour of the shaded picture is left
// around them, and the plain picture's background stays.
TEST_F(UmbilicsTest, ZebraOutlineIsSmoothedInTheStripesGreys) {
  Exact(ExactShape::Ellipsoid);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  const Canvas plain = *model.pictureBitmap;
  const ZebraSettings z{12, false};
  std::vector<double> phase;
  ComputeZebraPhases(z, CurrentSurface(), phase);
  PaintZebra(z, phase);
  const Canvas& zebra = *model.pictureBitmap;
  int outline = 0, between = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const uint32_t c = zebra.Pixel(x, y);
      const bool surface = model.pixelCells[x][y].u >= 0 && model.pixelCells[x][y].v >= 0;
      if (!surface && (*model.shadeMap)[x][y] == 0) {
        EXPECT_EQ(c, plain.Pixel(x, y)) << x << ", " << y;  // the background
        continue;
      }
      // Grey everywhere: red, green and blue alike.
      ASSERT_EQ(c & 0xFF, (c >> 8) & 0xFF) << x << ", " << y;
      ASSERT_EQ(c & 0xFF, c >> 16) << x << ", " << y;
      if (surface) continue;
      ++outline;
      between += (c & 0xFF) > 0 && (c & 0xFF) < 255;
    }
  EXPECT_GT(outline, 300);
  EXPECT_GT(between, 100);  // blended, not just black or white
}

// How much the stripes on the view change across the knot line u = uKnot:
// in bins of v, the screen gradient of the stripes' phase (differences
// between neighbouring pixels) fitted on either side as a straight line in
// the distance from the knot line and carried to the line itself; the
// median over the bins of the gap between the two ends, relative to their
// size.
double KnotJump(const std::vector<double>& phase, double uKnot) {
  constexpr int kBins = 12;
  // Per side and bin: n, sum d, sum d^2, and sum g, sum d g for gx and gy.
  double S[2][kBins][7] = {};
  auto at = [&](int x, int y) { return phase[static_cast<size_t>(x) * kView + y]; };
  for (int x = 1; x < kView - 1; ++x)
    for (int y = 1; y < kView - 1; ++y) {
      ParamPair uv;
      if (!PixelLookup(CurrentSurface(), x, y, uv) || uv.v < 0.2 || uv.v >= 0.8) continue;
      const double d = uv.u - uKnot;
      if (std::fabs(d) < 0.003 || std::fabs(d) > 0.03) continue;
      const double gx = std::remainder(at(x + 1, y) - at(x - 1, y), 1.0);
      const double gy = std::remainder(at(x, y + 1) - at(x, y - 1), 1.0);
      if (std::isnan(gx) || std::isnan(gy)) continue;
      double* s = S[d > 0][static_cast<int>((uv.v - 0.2) / 0.6 * kBins)];
      const double add[7] = {1, d, d * d, gx, d * gx, gy, d * gy};
      for (int k = 0; k < 7; ++k) s[k] += add[k];
    }
  std::vector<double> jumps;
  for (int b = 0; b < kBins; ++b) {
    double end[2][2];
    bool ok = true;
    for (int side = 0; side < 2; ++side) {
      const double* s = S[side][b];
      const double det = s[0] * s[2] - s[1] * s[1];
      if (s[0] < 20 || !(det > 0)) ok = false;
      if (!ok) break;
      end[side][0] = (s[2] * s[3] - s[1] * s[4]) / det;
      end[side][1] = (s[2] * s[5] - s[1] * s[6]) / det;
    }
    if (!ok) continue;
    jumps.push_back(std::hypot(end[0][0] - end[1][0], end[0][1] - end[1][1]) /
                    (std::hypot(end[0][0], end[0][1]) + std::hypot(end[1][0], end[1][1])));
  }
  EXPECT_GE(jumps.size(), 6u);
  std::sort(jumps.begin(), jumps.end());
  return jumps.empty() ? 0 : jumps[jumps.size() / 2];
}

// Across a knot line the stripes on the view keep their direction on a
// cubic B-spline (curvature continuous) and turn on a quadratic one whose
// knots are unevenly spaced (curvature jumps there).
TEST_F(UmbilicsTest, ZebraTurnsAtAQuadraticKnotLineOnly) {
  const auto turn = [](int degree) {
    stest::ShapeNet(5, 5, PlaneNet);
    for (int i = 0; i <= 5; ++i)
      for (int j = 0; j <= 5; ++j) model.controlNet[i][j].z = 0.1 * std::sin(1.1 * i) + 0.03 * j * j / 5.0;
    model.surfaceKind = degree;
    FijaFunciones();
    EXPECT_TRUE(MoveTickH(degree + 1, model.tickPosH[degree + 1] + 12));
    SetKnots();
    EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
    std::vector<double> phase;
    ComputeZebraPhases(ZebraSettings{60, true}, CurrentSurface(), phase);
    // The first inner knot line, in u.
    const double uKnot = (model.knotsU[degree + 1] - degree) / (model.netM + 1 - degree);
    return KnotJump(phase, uKnot);
  };
  const double cubic = turn(3), quadratic = turn(2);
  EXPECT_LT(cubic, 0.1);
  EXPECT_GT(quadratic, 0.15);
}

TEST_F(UmbilicsTest, CurvatureNetDrawsBothFamiliesAndStopsOnRequest) {
  stest::ShapeNet(11, 6, SphereNet);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  Canvas view(kView, kView);
  const CurvatureNetResult whole = DrawCurvatureNet(view, CurrentSurface());
  EXPECT_FALSE(whole.stopped);
  EXPECT_GT(whole.lines[0], 10);
  EXPECT_GT(whole.lines[1], 10);
  static int polls;
  polls = 0;
  SetProcessEventsHook([] {
    if (++polls == 20) model.stopRequested = true;
  });
  Canvas view2(kView, kView);
  const CurvatureNetResult part = DrawCurvatureNet(view2, CurrentSurface());
  model.stopRequested = false;
  EXPECT_TRUE(part.stopped);
  EXPECT_LT(part.steps, whole.steps);
  EXPECT_EQ(polls, 20);  // nothing polled once the net ended
  // On an umbilic region there are no lines to draw.
  Exact(ExactShape::SphereOctant);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  const CurvatureNetResult none = DrawCurvatureNet(view, CurrentSurface());
  EXPECT_EQ(none.lines[0] + none.lines[1], 0);
}

}  // namespace
