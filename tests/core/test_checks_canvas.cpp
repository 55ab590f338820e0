#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Canvas.h"
#include "platform/RunChecks.h"

using qchk::RunError;

TEST(RunChecks, RoundGoesHalfToEven) {
  EXPECT_EQ(qchk::Round(0.5), 0);
  EXPECT_EQ(qchk::Round(1.5), 2);
  EXPECT_EQ(qchk::Round(2.5), 2);
  EXPECT_EQ(qchk::Round(-0.5), 0);
  EXPECT_EQ(qchk::Round(-1.5), -2);
  EXPECT_EQ(qchk::Round(2.5000000001), 3);
  EXPECT_EQ(qchk::Round(2147483647.0), 2147483647);
  EXPECT_EQ(qchk::Round(-2147483648.0), std::numeric_limits<int32_t>::min());
}

TEST(RunChecks, TruncFloorCeilFollowTheirDirections) {
  EXPECT_EQ(qchk::Trunc(-2.7), -2);
  EXPECT_EQ(qchk::Floor(-2.2), -3);
  EXPECT_EQ(qchk::Ceil(-2.7), -2);
  EXPECT_EQ(qchk::Trunc(2.7), 2);
  EXPECT_EQ(qchk::Floor(2.7), 2);
  EXPECT_EQ(qchk::Ceil(2.2), 3);
  // Values that only fit after rounding towards zero are accepted.
  EXPECT_EQ(qchk::Trunc(2147483647.9), 2147483647);
  EXPECT_EQ(qchk::Ceil(-2147483648.9), std::numeric_limits<int32_t>::min());
}

TEST(RunChecks, ConversionsRefuseNonFiniteAndOutOfRange) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 2147483648.0, -2147483649.0, 1e300};
  for (double v : bad) {
    EXPECT_THROW(qchk::Round(v), RunError) << v;
    EXPECT_THROW(qchk::Trunc(v), RunError) << v;
    EXPECT_THROW(qchk::Floor(v), RunError) << v;
    EXPECT_THROW(qchk::Ceil(v), RunError) << v;
  }
  EXPECT_THROW(qchk::Round(2147483647.5), RunError);  // rounds to 2^31
  EXPECT_THROW(qchk::Floor(-2147483648.5), RunError);
}

TEST(RunChecks, DivisionAndMultiplicationAreChecked) {
  EXPECT_DOUBLE_EQ(qchk::Div(1.0, 4.0), 0.25);
  try {
    qchk::Div(1.0, 0.0);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  EXPECT_THROW(qchk::Div(0.0, 0.0), RunError);
  EXPECT_THROW(qchk::Div(1e300, 1e-300), RunError);  // overflows to infinity
  EXPECT_THROW(qchk::Div(std::nan(""), 2.0), RunError);
  EXPECT_EQ(qchk::Mul(46340, 46340), 2147395600);
  EXPECT_THROW(qchk::Mul(46341, 46341), RunError);
  EXPECT_THROW(qchk::Finite(std::numeric_limits<double>::infinity()), RunError);
}

TEST(RunChecks, CheckedArraysHonourTheirBounds) {
  CArr<int, 16, 1> t{};
  t[1] = 5;
  t[16] = 7;
  EXPECT_EQ(t.a[0], 5);
  EXPECT_EQ(t.a[15], 7);
  try {
    t[0] = 1;
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_STREQ(e.what(), "Range check error");
  }
  EXPECT_THROW(t[17], RunError);
  CArr<CArr<int, 3>, 2> g{};
  EXPECT_THROW(g[1][3], RunError);
  EXPECT_THROW(g[-1][0], RunError);
}

namespace {
Canvas Noise(int w, int h) {
  Canvas c(w, h);
  uint32_t s = 12345;
  for (auto& b : c.Bytes()) {
    s = s * 1103515245u + 12345u;
    b = static_cast<uint8_t>(s >> 16);
  }
  return c;
}
}  // namespace

TEST(CanvasTest, PixelsAreStoredBlueGreenRed) {
  Canvas c(4, 3);
  c.SetPixel(2, 1, 0x00332211);  // red 0x11, green 0x22, blue 0x33
  const uint8_t* p = c.Row(1) + 2 * 3;
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(c.Pixel(2, 1), 0x00332211u);
  EXPECT_EQ(c.Pixel(0, 0), 0x00FFFFFFu);  // a new canvas is white
}

TEST(CanvasTest, LineToLeavesOutTheEndPixel) {
  Canvas c(20, 20);
  c.penColour = 0;
  c.MoveTo(2, 5);
  c.LineTo(8, 5);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(c.Pixel(x, 5), (x >= 2 && x < 8) ? 0u : 0xFFFFFFu) << x;
  EXPECT_EQ(c.PenX(), 8);
  // Diagonal and steep lines too: exactly max(|dx|, |dy|) pixels.
  Canvas d(20, 20);
  d.penColour = 0;
  d.MoveTo(15, 1);
  d.LineTo(3, 18);
  int count = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) count += d.Pixel(x, y) == 0;
  EXPECT_EQ(count, 17);
  EXPECT_EQ(d.Pixel(15, 1), 0u);
  EXPECT_EQ(d.Pixel(3, 18), 0xFFFFFFu);
  // A zero-length line draws nothing.
  Canvas e(5, 5);
  e.penColour = 0;
  e.MoveTo(2, 2);
  e.LineTo(2, 2);
  EXPECT_EQ(e.Pixel(2, 2), 0xFFFFFFu);
}

TEST(CanvasTest, XorModesDrawnTwiceRestoreEveryPixel) {
  for (PenMode mode : {PenMode::NotXor, PenMode::Xor}) {
    Canvas c = Noise(40, 30);
    const std::vector<uint8_t> before = c.Bytes();
    c.penMode = mode;
    c.penColour = 0x00FF00FF;
    for (int pass = 0; pass < 2; ++pass) {
      c.MoveTo(-5, 3);
      c.LineTo(45, 27);
      c.LineTo(20, -4);
      c.MoveTo(10, 10);
      c.LineTo(11, 29);
      if (pass == 0) {
        EXPECT_NE(c.Bytes(), before);
      }
    }
    EXPECT_EQ(c.Bytes(), before);
  }
}

// A line clipped to the canvas draws what the whole walk does, pixel by
// pixel (each a one-step line); the walk stops once past the canvas.
TEST(CanvasTest, ClippedLinesDrawWhatTheWholeWalkDraws) {
  const int lines[][4] = {{5, 7, 33, 19}, {-300, -200, 500, 350}, {40, -7, -13, 30}, {-1000000, 12, 1000000, 13},
                          {20, -500000, 21, 500000}, {-700000, 900000, 900000, -700000},
                          {18, 11, 2147483647, -2147483647 - 1}, {0, 0, -2147483647 - 1, 1000}, {39, 29, 39, 29}};
  for (PenMode mode : {PenMode::Copy, PenMode::NotXor, PenMode::Xor})
    for (const auto& l : lines) {
      Canvas clipped = Noise(40, 30), walked = Noise(40, 30);
      clipped.penMode = walked.penMode = mode;
      clipped.penColour = walked.penColour = 0x0055AA33;
      clipped.MoveTo(l[0], l[1]);
      clipped.LineTo(l[2], l[3]);
      long p[2] = {l[0], l[1]}, d[2] = {std::labs(long{l[2]} - l[0]), std::labs(long{l[3]} - l[1])};
      const int s[2] = {l[0] < l[2] ? 1 : -1, l[1] < l[3] ? 1 : -1}, a = d[0] >= d[1] ? 0 : 1;  // a: major axis
      for (long k = 0, err = d[a] / 2; k < d[a]; ++k) {
        if ((s[0] > 0 ? p[0] >= 40 : p[0] < 0) || (s[1] > 0 ? p[1] >= 30 : p[1] < 0)) break;
        walked.MoveTo(static_cast<int>(p[0]), static_cast<int>(p[1]));
        walked.LineTo(static_cast<int>(p[0] + (a == 0) * s[0]), static_cast<int>(p[1] + (a == 1) * s[1]));
        p[a] += s[a];
        if ((err -= d[1 - a]) < 0) {
          p[1 - a] += s[1 - a];
          err += d[a];
        }
      }
      EXPECT_EQ(clipped.Bytes(), walked.Bytes()) << l[0] << "," << l[1] << " to " << l[2] << "," << l[3];
    }
}

TEST(CanvasTest, NotXorIsTheComplementOfXor) {
  Canvas c(3, 1);
  c.SetPixel(0, 0, 0x00102030);
  c.penMode = PenMode::NotXor;
  c.penColour = 0x00FF0F00;
  c.MoveTo(0, 0);
  c.LineTo(1, 0);
  EXPECT_EQ(c.Pixel(0, 0), (~(0x00102030u ^ 0x00FF0F00u)) & 0xFFFFFFu);
}

TEST(CanvasTest, FillRectEllipseAndCopy) {
  Canvas c(10, 10);
  c.brushColour = 0x000000FF;
  c.FillRect(2, 3, 5, 4);
  EXPECT_EQ(c.Pixel(2, 3), 0xFFu);
  EXPECT_EQ(c.Pixel(4, 3), 0xFFu);
  EXPECT_EQ(c.Pixel(5, 3), 0xFFFFFFu);
  EXPECT_EQ(c.Pixel(2, 4), 0xFFFFFFu);
  c.FillRect(-3, -3, 100, 1);  // clipped, no fault
  EXPECT_EQ(c.Pixel(9, 0), 0xFFu);

  Canvas e(12, 12);
  e.brushColour = 0x00FF0000;
  e.penColour = 0x00FF0000;
  e.Ellipse(2, 2, 9, 9);
  EXPECT_EQ(e.Pixel(5, 5), 0x00FF0000u);
  EXPECT_EQ(e.Pixel(2, 2), 0x00FFFFFFu);  // corners of the box stay
  EXPECT_EQ(e.Pixel(9, 5), 0x00FFFFFFu);  // right edge is outside

  Canvas big = Noise(6, 5);
  Canvas dst(8, 8);
  dst.Draw(4, 4, big);  // clipped to the destination
  EXPECT_EQ(dst.Pixel(4, 4), big.Pixel(0, 0));
  EXPECT_EQ(dst.Pixel(7, 7), big.Pixel(3, 3));
  EXPECT_EQ(dst.Pixel(3, 3), 0xFFFFFFu);
}
