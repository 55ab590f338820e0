#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/RunChecks.h"

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height * 3, 0xFF) {
  if (width <= 0 || height <= 0) qchk::RangeError();
}

uint32_t Canvas::Pixel(int x, int y) const {
  qchk::CheckIndex(x, 0, width_ - 1);
  const uint8_t* p = Row(y) + x * 3;
  return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[0]) << 16);
}

void Canvas::SetPixel(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* p = px_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
}

void Canvas::Plot(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* p = px_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
  const uint8_t c[3] = {static_cast<uint8_t>(penColour >> 16), static_cast<uint8_t>(penColour >> 8),
                        static_cast<uint8_t>(penColour)};
  for (int k = 0; k < 3; ++k) {
    switch (penMode) {
      case PenMode::Copy: p[k] = c[k]; break;
      case PenMode::Xor: p[k] = static_cast<uint8_t>(p[k] ^ c[k]); break;
      case PenMode::NotXor: p[k] = static_cast<uint8_t>(~(p[k] ^ c[k])); break;
    }
  }
}

void Canvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

namespace {

// The steps k of a Bresenham walk whose minor coordinate, m0 + sm * n(k),
// lies in [lo, hi]: n(k), the count of minor steps taken after k major
// steps, does not decrease with k. Narrows [k0, k1] to them (k0 > k1 when
// there are none).
template <class MinorSteps>
void KeepMinorIn(long m0, int sm, long lo, long hi, MinorSteps n, long& k0, long& k1) {
  // The minor coordinate is inside while n lies in [nLo, nHi].
  long nLo, nHi;
  if (sm > 0) {
    nLo = lo - m0;
    nHi = hi - m0;
  } else {
    nLo = m0 - hi;
    nHi = m0 - lo;
  }
  // First k with n(k) >= nLo, then last k with n(k) <= nHi (binary searches).
  long a = k0, b = k1 + 1;
  while (a < b) {
    const long mid = a + (b - a) / 2;
    if (n(mid) >= nLo) b = mid;
    else a = mid + 1;
  }
  const long first = a;
  a = first;
  b = k1 + 1;
  while (a < b) {
    const long mid = a + (b - a) / 2;
    if (n(mid) > nHi) b = mid;
    else a = mid + 1;
  }
  k0 = first;
  k1 = a - 1;
}

}  // namespace

void Canvas::LineTo(int x, int y) {
  // Bresenham from the pen position; the end pixel is left out so that
  // joined segments never plot their shared point twice (which would undo
  // itself in the xor modes). Only the steps that land on the canvas are
  // walked: after k major steps the walk has taken
  // n(k) = (k * minor - e0 + major - 1) / major minor steps (e0 = major / 2,
  // the error term's start), so the walk can start at the first of them.
  if (lineLog) lineLog->push_back(DrawnLine{penX_, penY_, x, y, penColour});
  const long x0 = penX_, y0 = penY_;
  const long dx = std::labs(static_cast<long>(x) - x0), dy = std::labs(static_cast<long>(y) - y0);
  const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  const bool alongX = dx >= dy;
  const long major = alongX ? dx : dy, minor = alongX ? dy : dx;
  const long a0 = alongX ? x0 : y0, m0 = alongX ? y0 : x0;
  const int sa = alongX ? sx : sy, sm = alongX ? sy : sx;
  const long aMax = (alongX ? width_ : height_) - 1, mMax = (alongX ? height_ : width_) - 1;
  const long e0 = major / 2;
  // In 128 bits: k * minor reaches 2^64 for lines between far-off points.
  auto minorSteps = [=](long k) {
    return static_cast<long>((static_cast<__int128>(k) * minor - e0 + major - 1) / major);
  };
  // Steps 0..major-1 plot; keep those whose major coordinate is on the canvas.
  long k0 = 0, k1 = major - 1;
  if (sa > 0) {
    k0 = std::max(k0, -a0);
    k1 = std::min(k1, aMax - a0);
  } else {
    k0 = std::max(k0, a0 - aMax);
    k1 = std::min(k1, a0);
  }
  if (k0 <= k1) KeepMinorIn(m0, sm, 0, mMax, minorSteps, k0, k1);
  if (k0 <= k1) {
    long a = a0 + sa * k0;
    const long n = minorSteps(k0);
    long m = m0 + sm * n;
    // The walk's error term after k0 steps, in [0, major).
    long err = static_cast<long>(e0 - static_cast<__int128>(k0) * minor + static_cast<__int128>(n) * major);
    for (long k = k0; k <= k1; ++k) {
      if (alongX)
        Plot(static_cast<int>(a), static_cast<int>(m));
      else
        Plot(static_cast<int>(m), static_cast<int>(a));
      a += sa;
      err -= minor;
      if (err < 0) {
        m += sm;
        err += major;
      }
    }
  }
  penX_ = x;
  penY_ = y;
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
  const int l = std::max(left, 0), t = std::max(top, 0);
  const int r = std::min(right, width_), b = std::min(bottom, height_);
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) SetPixel(x, y, brushColour);
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (right - left < 1 || bottom - top < 1) return;
  // Pixel centres inside the ellipse inscribed in the box are filled; those
  // with an outside 4-neighbour form the outline.
  const double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  auto inside = [&](int x, int y) {
    const double ex = (x - cx) / rx, ey = (y - cy) / ry;
    return ex * ex + ey * ey <= 1.0;
  };
  const PenMode saved = penMode;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      if (!inside(x, y)) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      if (edge) {
        Plot(x, y);
      } else {
        SetPixel(x, y, brushColour);
      }
    }
  penMode = saved;
}

void Canvas::Draw(int x, int y, const Canvas& src) {
  for (int sy = 0; sy < src.height_; ++sy) {
    const int ty = y + sy;
    if (ty < 0 || ty >= height_) continue;
    for (int sx = 0; sx < src.width_; ++sx) {
      const int tx = x + sx;
      if (tx < 0 || tx >= width_) continue;
      const uint8_t* s = src.px_.data() + (static_cast<size_t>(sy) * src.width_ + sx) * 3;
      uint8_t* d = px_.data() + (static_cast<size_t>(ty) * width_ + tx) * 3;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}
