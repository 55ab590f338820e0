// The antialiasing filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "render/Antialias.h"
#include "test_render_support.h"

namespace {

class RenderFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    InitModelState();
    Clear();
  }
  void TearDown() override { InitModelState(); }
  static void Clear() {
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) M(x, y) = 0;
  }
  static uint8_t& M(int x, int y) { return (*model.shadeMap)[x][y]; }
  static ShadeGrid Copy() { return *model.shadeMap; }
  // Blocks of size x size pixels (size drawn from 1..maxCell), each of one
  // random shade, on about `density` % of the view; the rest background.
  static int FillRandomBlocks(std::mt19937& rng, int density, int maxCell) {
    std::uniform_int_distribution<int> pct(0, 99), shade(1, 200), cell(1, maxCell);
    const int size = cell(rng);
    Clear();
    for (int bx = 0; bx < kView; bx += size)
      for (int by = 0; by < kView; by += size) {
        if (pct(rng) >= density) continue;
        const int v = shade(rng);
        for (int x = bx; x < std::min(kView, bx + size); ++x)
          for (int y = by; y < std::min(kView, by + size); ++y) M(x, y) = static_cast<uint8_t>(v);
      }
    return size;
  }
  static int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
  static int Target(int val) { return val > 99 ? 199 : 99; }
  static int Blend(int val, double alpha) {
    return RoundEven(val * alpha + Target(val) * (1 - alpha));
  }
  static double W(int p, int s, int L) {
    return 3.6 / (double(L) * L) * (p - s + 0.5) * (s + L - 0.5 - p);
  }
  static double B(int p, int s, int L) { return (s + L - 0.5 - p) / L; }
  // Surface pixels are never changed by the filter.
  static void ExpectSurfaceKept(const ShadeGrid& before) {
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y)
        if (before[x][y] != 0) {
          ASSERT_EQ(M(x, y), before[x][y]) << x << ", " << y;
        }
  }
};

TEST_F(RenderFilter, NoSurfaceOrNoBackgroundLeavesTheMapUnchanged) {
  AntialiasShadeMap();
  EXPECT_EQ(rtest::CountSurface(), 0);
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) M(x, y) = static_cast<uint8_t>(1 + (x + 3 * y) % 200);
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) ASSERT_EQ(M(x, y), before[x][y]);
}

TEST_F(RenderFilter, StraightEdgeIsBlendedAsOneBump) {
  // Surface rows 200..300 over columns 100..299; background above row 200.
  for (int x = 100; x <= 299; ++x)
    for (int y = 200; y <= 300; ++y) M(x, y) = 150;
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  ExpectSurfaceKept(before);
  const int s = 100, L = 200;
  for (int p = s; p < s + L; ++p) {
    EXPECT_EQ(M(p, 199), Blend(150, W(p, s, L))) << p;
    EXPECT_EQ(M(p, 301), Blend(150, W(p, s, L))) << p;
  }
  // 0.9 in the middle, falling towards the ends, symmetric.
  EXPECT_EQ(M(199, 199), RoundEven(150 * 0.9 + 199 * 0.1 + 0.0001));
  EXPECT_EQ(M(100, 199), M(299, 199));
  EXPECT_GT(M(100, 199), M(150, 199));
  // Vertical edges are bumps of the column pass.
  for (int y = 200; y <= 300; ++y) {
    EXPECT_EQ(M(99, y), Blend(150, W(y, 200, 101))) << y;
    EXPECT_EQ(M(300, y), Blend(150, W(y, 200, 101))) << y;
  }
  // Rows beyond the edge and the diagonal corners stay background.
  EXPECT_EQ(M(199, 198), 0);
  EXPECT_EQ(M(99, 199), 0);
  EXPECT_EQ(M(300, 301), 0);
}

TEST_F(RenderFilter, StaircaseIsLeftByRowsAndHalvedByColumns) {
  // Surface below the diagonal: y > x.
  for (int x = 0; x < kView; ++x)
    for (int y = x + 1; y < kView; ++y) M(x, y) = 150;
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  ExpectSurfaceKept(before);
  // Each step pixel (x, x) is blended half way by the column pass:
  // Round(0.5 * 150 + 0.5 * 199) = Round(174.5) = 174 (half to even).
  for (int x = 1; x <= 413; ++x) EXPECT_EQ(M(x, x), 174) << x;
  // Nothing else changes.
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < x; ++y) ASSERT_EQ(M(x, y), 0) << x << ", " << y;
}

TEST_F(RenderFilter, OnePixelStepsRowsLeaveColumnsBlend) {
  // Row 200: (149, 200) has surface above and below and takes the row
  // above (a one-pixel bump); (150, 200) then has surface only below and
  // that surface ends after it: a falling step of one pixel, which the row
  // pass leaves alone (and no column pass sees it: its row neighbours are
  // background).
  M(149, 199) = 150;
  M(149, 201) = 150;
  M(150, 201) = 150;
  // The same figure transposed, for the column pass, which blends it.
  M(199, 249) = 150;
  M(201, 249) = 150;
  M(201, 250) = 150;
  AntialiasShadeMap();
  EXPECT_EQ(M(149, 200), Blend(150, 0.9));
  EXPECT_EQ(M(150, 200), 0);
  EXPECT_EQ(M(200, 249), Blend(150, 0.9));
  EXPECT_EQ(M(200, 250), Blend(150, 0.5));
}

TEST_F(RenderFilter, SurfaceAboveWinsOverBelow) {
  for (int x = 100; x <= 299; ++x) {
    M(x, 199) = 50;
    M(x, 201) = 150;
  }
  AntialiasShadeMap();
  const int s = 100, L = 200;
  for (int p = s; p < s + L; ++p) EXPECT_EQ(M(p, 200), Blend(50, W(p, s, L))) << p;
  EXPECT_LE(M(200, 200), 100);  // from the back ramp of the row above
}

TEST_F(RenderFilter, NotchAndFallingStep) {
  // Row 201 surface over 100..300; row 200 surface over 100..149 and
  // 160..300: a notch 150..159 in row 200 with surface beside it below.
  for (int x = 100; x <= 300; ++x) M(x, 201) = 120;
  for (int x = 100; x <= 149; ++x) M(x, 200) = 120;
  for (int x = 160; x <= 300; ++x) M(x, 200) = 120;
  // Row 251 surface over 100..300, row 250 over 100..200: a falling step
  // from 201 to 300 in row 250 (the neighbour ends at 301).
  for (int x = 100; x <= 300; ++x) M(x, 251) = 30;
  for (int x = 100; x <= 200; ++x) M(x, 250) = 30;
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  ExpectSurfaceKept(before);
  for (int p = 151; p <= 158; ++p) EXPECT_EQ(M(p, 200), Blend(120, 1 - W(p, 150, 10))) << p;
  // The notch's end pixels have surface beside them in their row, so the
  // column pass, which runs last, blends them too: a one-pixel rising step
  // in columns 150 and 159 (above background, below surface).
  EXPECT_EQ(M(150, 200), Blend(120, 0.5));
  EXPECT_EQ(M(159, 200), Blend(120, 0.5));
  for (int p = 202; p <= 300; ++p) EXPECT_EQ(M(p, 250), Blend(30, B(p, 201, 100))) << p;
}

TEST_F(RenderFilter, BorderColumnsAndRows) {
  // Surface in row 201 from column 300 to the right border: the run in row
  // 200 reaches column 415 and takes it in (a rising step).
  for (int x = 300; x < kView; ++x) M(x, 201) = 150;
  // Surface in row 1 over 100..200: row 0 is never scanned, row 2 is.
  for (int x = 100; x <= 200; ++x) M(x, 1) = 150;
  // Surface in column 415 alone, rows 50..60: column 414 is scanned.
  for (int y = 50; y <= 60; ++y) M(415, y) = 150;
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  ExpectSurfaceKept(before);
  const int s = 300, L = 116;
  for (int p = s; p < kView; ++p) EXPECT_EQ(M(p, 200), Blend(150, 1 - B(p, s, L))) << p;
  EXPECT_NE(M(415, 200), 0);
  for (int x = 0; x < kView; ++x) EXPECT_EQ(M(x, 0), 0) << x;
  for (int x = 100; x <= 200; ++x) EXPECT_NE(M(x, 2), 0) << x;
  for (int y = 50; y <= 60; ++y) EXPECT_EQ(M(414, y), Blend(150, W(y, 50, 11))) << y;
  // Column 0 and row 415 are never scanned lines.
  Clear();
  for (int y = 100; y <= 200; ++y) M(1, y) = 150;
  for (int x = 100; x <= 200; ++x) M(x, 414) = 150;
  AntialiasShadeMap();
  for (int y = 0; y < kView; ++y) EXPECT_EQ(M(0, y), 0) << y;
  for (int x = 0; x < kView; ++x) EXPECT_EQ(M(x, 415), 0) << x;
  for (int y = 100; y <= 200; ++y) EXPECT_NE(M(2, y), 0) << y;
}

TEST_F(RenderFilter, RunReachingTheBorderNextToSurfaceIsNotExtended) {
  // Row 200 background up to 414 with surface at 415; row 201 surface from
  // 300 on: the run stops at 415, which is surface, and is not extended.
  for (int x = 300; x < kView; ++x) M(x, 201) = 150;
  M(415, 200) = 40;
  AntialiasShadeMap();
  EXPECT_EQ(M(415, 200), 40);
  // Row pass: rising step 300..414 (L = 115), then the column pass on
  // column 414 sees (415, 200) as a neighbour and re-blends (414, 200).
  for (int p = 300; p < 414; ++p) EXPECT_EQ(M(p, 200), Blend(150, 1 - B(p, 300, 115))) << p;
}

TEST_F(RenderFilter, SphereOutlineOnlyChangesBackground) {
  rtest::StartupModel();
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  const ShadeGrid before = Copy();
  AntialiasShadeMap();
  ExpectSurfaceKept(before);
  long changed = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y)
      if (M(x, y) != before[x][y]) {
        ++changed;
        EXPECT_EQ(before[x][y], 0);
        EXPECT_GE(M(x, y), 1);
        EXPECT_LE(M(x, y), 200);
      }
  EXPECT_GT(changed, 100);
}

}  // namespace

namespace {

// The filter as a plain walk over every pixel of every line, the way it
// reads: the oracle for the filter's jumps between the places a run can
// start.
struct StepwiseFilter {
  const ShadeGrid& m;
  ShadeGrid out;
  int at(bool rows, int p, int q) const { return rows ? m[p][q] : m[q][p]; }
  void put(bool rows, int p, int q, double val, double alpha) {
    const int target = val > 99 ? 199 : 99;
    const int v = static_cast<int>(std::nearbyint(val * alpha + target * (1 - alpha)));
    (rows ? out[p][q] : out[q][p]) = static_cast<uint8_t>(v);
  }
  void Line(bool rows, int q) {
    const int last = kView - 1, minStep = rows ? 2 : 1;
    int x = 1;
    while (x < last) {
      int n;
      if (at(rows, x, q) != 0) { ++x; continue; }
      if (at(rows, x, q - 1) != 0) n = q - 1;
      else if (at(rows, x, q + 1) != 0) n = q + 1;
      else { ++x; continue; }
      const int s = x;
      do ++x; while (!(at(rows, x, q) != 0 || at(rows, x, n) == 0 || x == last));
      int kind;  // 0 bump, 1 notch, 2 rising, 3 falling
      if (at(rows, s - 1, n) == 0) {
        kind = at(rows, x, n) == 0 ? 0 : 2;
        if (kind == 2 && x == last && at(rows, last, q) == 0) x = kView;
      } else {
        kind = at(rows, x, n) != 0 && x != last ? 1 : 3;
        if (kind == 3 && x == last && at(rows, last, q) == 0 && at(rows, last, n) != 0) x = kView;
      }
      const int L = x - s, e = x;
      if (kind >= 2 && L < minStep) continue;
      for (int p = s; p < e; ++p) {
        const double w = 3.6 / (double(L) * L) * (p - s + 0.5) * (e - 0.5 - p);
        const double b = (e - 0.5 - p) / L;
        const double alpha = kind == 0 ? w : kind == 1 ? 1 - w : kind == 2 ? 1 - b : b;
        put(rows, p, q, at(rows, p, n), alpha);
      }
    }
  }
  explicit StepwiseFilter(const ShadeGrid& map) : m(map), out(map) {
    for (int y = 1; y <= kView - 2; ++y) Line(true, y);
    for (int x = 1; x <= kView - 2; ++x) Line(false, x);
  }
};

}  // namespace

// Random blobs, speckle and shapes that touch the borders, with surface
// densities from sparse to nearly full: every line start, run end and
// border case the jumps must find exactly as the pixel-by-pixel walk does.
TEST_F(RenderFilter, MatchesThePixelByPixelWalkOnRandomMaps) {
  std::mt19937 rng(20261208);
  for (const int density : {2, 10, 50, 90, 98}) {
    for (int trial = 0; trial < 3; ++trial) {
      const int size = FillRandomBlocks(rng, density, 12);
      const StepwiseFilter expected(Copy());
      AntialiasShadeMap();
      for (int x = 0; x < kView; ++x)
        for (int y = 0; y < kView; ++y)
          ASSERT_EQ(M(x, y), expected.out[x][y])
              << "density " << density << " block " << size << " at " << x << ", " << y;
    }
  }
}

// The filter's blends handed out one by one (for pictures painted in other
// colours, such as the reflection lines) make the filter's own output when
// put through its blend, and reach background pixels beside the surface
// only, from a surface neighbour.
TEST_F(RenderFilter, OutlineBlendsAreTheFiltersOwn) {
  std::mt19937 rng(20260511);
  for (const int density : {5, 50, 95}) {
    FillRandomBlocks(rng, density, 9);
    const ShadeGrid before = Copy();
    ShadeGrid blended = before;
    long count = 0;
    ForEachOutlineBlend(before, [&](int32_t x, int32_t y, int32_t fx, int32_t fy, double alpha) {
      ASSERT_EQ(before[x][y], 0) << x << ", " << y;
      ASSERT_NE(before[fx][fy], 0) << fx << ", " << fy;
      ASSERT_EQ(std::abs(x - fx) + std::abs(y - fy), 1);
      ASSERT_TRUE(alpha > 0 && alpha < 1) << alpha;
      blended[x][y] = static_cast<uint8_t>(Blend(before[fx][fy], alpha));
      ++count;
    });
    EXPECT_GT(count, 0) << density;
    AntialiasShadeMap();
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) ASSERT_EQ(M(x, y), blended[x][y]) << density << " at " << x << ", " << y;
  }
}
