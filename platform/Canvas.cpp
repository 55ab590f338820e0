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

void Canvas::LineTo(int x, int y) {
  // Bresenham from the pen position; the end pixel is left out so that
  // joined segments never plot their shared point twice (which would undo
  // itself in the xor modes).
  if (lineLog) lineLog->push_back(DrawnLine{penX_, penY_, x, y, penColour});
  long x0 = penX_, y0 = penY_;
  const long dx = std::labs(static_cast<long>(x) - x0), dy = std::labs(static_cast<long>(y) - y0);
  const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  if (dx >= dy) {
    long err = dx / 2;
    for (long k = 0; k < dx; ++k) {
      Plot(static_cast<int>(x0), static_cast<int>(y0));
      x0 += sx;
      err -= dy;
      if (err < 0) {
        y0 += sy;
        err += dx;
      }
    }
  } else {
    long err = dy / 2;
    for (long k = 0; k < dy; ++k) {
      Plot(static_cast<int>(x0), static_cast<int>(y0));
      y0 += sy;
      err -= dx;
      if (err < 0) {
        x0 += sx;
        err += dy;
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
