// A 24-bit pixel surface with the few drawing operations the program needs.
// Pixels are stored blue, green, red; colours are 0x00BBGGRR (red low).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/RunChecks.h"

enum class PenMode { Copy, NotXor, Xor };

// One line drawn by LineTo: its end pixels (the pen position and the target)
// and the pen colour.
struct DrawnLine {
  int x0, y0, x1, y1;
  uint32_t colour;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Start of pixel row y (3 bytes a pixel: blue, green, red). Inline: the
  // drawing asks for a row per span.
  uint8_t* Row(int y) {
    qchk::CheckIndex(y, 0, height_ - 1);
    return px_.data() + static_cast<size_t>(y) * width_ * 3;
  }
  const uint8_t* Row(int y) const {
    qchk::CheckIndex(y, 0, height_ - 1);
    return px_.data() + static_cast<size_t>(y) * width_ * 3;
  }

  uint32_t Pixel(int x, int y) const;  // 0x00BBGGRR
  void SetPixel(int x, int y, uint32_t colour);  // copy mode, clipped

  uint32_t penColour = 0;
  PenMode penMode = PenMode::Copy;
  uint32_t brushColour = 0x00FFFFFF;
  // When set, every LineTo is also appended here (for the headless tool's
  // segment listing); the pixels drawn do not change.
  std::vector<DrawnLine>* lineLog = nullptr;

  void MoveTo(int x, int y);
  // Draws from the pen position to (x, y), leaving out (x, y) itself.
  void LineTo(int x, int y);
  int PenX() const { return penX_; }
  int PenY() const { return penY_; }

  // Fills [left, right) x [top, bottom) with the brush colour.
  void FillRect(int left, int top, int right, int bottom);
  // Ellipse inside [left, right) x [top, bottom): filled with the brush,
  // outlined with the pen.
  void Ellipse(int left, int top, int right, int bottom);
  // Copies src with its top-left corner at (x, y), clipped.
  void Draw(int x, int y, const Canvas& src);

  const std::vector<uint8_t>& Bytes() const { return px_; }
  std::vector<uint8_t>& Bytes() { return px_; }

 private:
  void Plot(int x, int y);  // pen colour, pen mode, clipped
  int width_, height_;
  std::vector<uint8_t> px_;
  int penX_ = 0, penY_ = 0;
};
