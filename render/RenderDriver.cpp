#include "render/RenderDriver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <limits>

#include "model/ModelState.h"
#include "model/Projection.h"
#include "platform/RunChecks.h"
#include "platform/Events.h"
#include "platform/SideThread.h"
#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/ViewSetup.h"

namespace {

// The box's diagonal within the rounding of its coordinates: a few dozen
// ulps of the largest of them, as the evaluators' sums of up to twelve
// weighted terms leave on a constant net.
bool BoxIsAPoint() {
  const Point3 &lo = model.boxMin, &hi = model.boxMax;
  const double size = std::max({std::fabs(lo.x), std::fabs(lo.y), std::fabs(lo.z), std::fabs(hi.x),
                                std::fabs(hi.y), std::fabs(hi.z)});
  return !(model.sceneDiag > 64 * std::numeric_limits<double>::epsilon() * size);
}

// The largest shade index in the map (n bytes).
uint8_t HighestShade(const uint8_t* s, size_t n) {
  uint8_t highest = 0;
  size_t k = 0;
#ifdef __SSE2__
  __m128i most = _mm_setzero_si128();
  for (; k + 16 <= n; k += 16)
    most = _mm_max_epu8(most, _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k)));
  alignas(16) uint8_t lanes[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), most);
  highest = *std::max_element(lanes, lanes + 16);
#endif
  for (; k < n; ++k) highest = std::max(highest, s[k]);
  return highest;
}

// Palette colours into the bitmap's rows. The map is stored column by
// column and the bitmap row by row: a band of 32 rows is written at a time,
// reading 32 consecutive bytes of each column. Each pixel is stored as four
// bytes, the fourth overwritten by the next pixel; the last pixel of a row
// takes three.
struct PaletteBands {
  static constexpr int kBand = 32;
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "colours are packed low byte first");
  const uint8_t* shade;
  uint32_t colours[201];
  Canvas& bmp;
  int width, height;

  // A band boundary near the middle.
  int Half() const { return height / kBand / 2 * kBand; }

  // Rows first..last - 1, whole bands but for the last rows of the view.
  void Write(int first, int last) {
    int y0 = first;
    for (; y0 + kBand <= last; y0 += kBand) WriteBand<kBand>(y0, kBand);
    if (y0 < last) WriteBand<0>(y0, last - y0);
  }

  // Band is the band's height where known, else 0 and n gives it.
  template <int Band>
  void WriteBand(int y0, int n) {
    if (Band != 0) n = Band;
    uint8_t* rows[kBand];
    for (int k = 0; k < n; ++k) rows[k] = bmp.Row(y0 + k);
    const long stride = height;
    for (int x = 0; x < width - 1; ++x) {
      const uint8_t* column = shade + x * stride + y0;
      for (int k = 0; k < n; ++k) {
        const uint32_t c = colours[column[k]];
        std::memcpy(rows[k] + 3 * x, &c, 4);
      }
    }
    const uint8_t* column = shade + (width - 1) * stride + y0;
    for (int k = 0; k < n; ++k) {
      const uint32_t c = colours[column[k]];
      std::memcpy(rows[k] + 3 * (width - 1), &c, 3);
    }
  }
};

}  // namespace

RenderResult RenderSurface(bool keepView) {
  ProcessPendingEvents();
  std::memset(model.shadeMap->data(), 0, model.shadeMap->size());  // all background
  FindSceneBox();
  // A box that is a single point (every box sample the same point, up to
  // the rounding of the evaluation) would divide by zero in the fit and the
  // depth ranges, or draw that rounding as a surface: refuse here. The
  // events have run, shadeMap is all background and the box values describe
  // the point; the camera, the light, the depth ranges, pixelCells,
  // lightDepth, NetScreen and pictureBitmap are as they were.
  if (BoxIsAPoint()) return RenderResult::Degenerate;
  // Set-up: the camera (unless kept), the light and the depth ranges.
  if (!keepView) FitView();
  PlaceLight();
  SetDepthRanges();
  // The depth pass and the light-depth pass, the vertex shading beside
  // the light pass.
  FillDepthMaps([](int share, int& stage) {
    ShadeVertices(share);
    if (share == 2) return;
    stage = 3;
    ProjectNetToScreen();
  });
  // The shading pass, the only one that can be stopped.
  return ShadeSurface() ? RenderResult::Complete : RenderResult::Stopped;
}

void ShadeToBitmap() {
  const ShadeGrid& shade = *model.shadeMap;
  const PaletteTable& pal = *model.palette;
  Canvas& bmp = *model.pictureBitmap;
  const uint8_t* s = shade.data();
  const int W = shade.Columns(), H = shade.Rows();
  if (HighestShade(s, shade.size()) > 200) {
    // Some index is off the palette: the row-by-row walk raises the error
    // at the first such pixel, the rows before it written.
    for (int y = 0; y < H; ++y) {
      uint8_t* row = bmp.Row(y);
      for (int x = 0; x < W; ++x) {
        const auto& c = pal[shade[x][y]];
        row[3 * x] = c[0];
        row[3 * x + 1] = c[1];
        row[3 * x + 2] = c[2];
      }
    }
    return;
  }
  // Every index is on the palette: the bands of rows are written on two
  // threads where a second one is to be had.
  qchk::CheckIndex(bmp.Width(), W, W);
  qchk::CheckIndex(bmp.Height(), H, H);
  PaletteBands bands{s, {}, bmp, W, H};
  for (int k = 0; k <= 200; ++k) {
    const auto& c = pal[k];
    bands.colours[k] = static_cast<uint32_t>(c[0]) | static_cast<uint32_t>(c[1]) << 8 |
                       static_cast<uint32_t>(c[2]) << 16;
  }
  if (!side::Enabled()) {
    bands.Write(0, H);
    return;
  }
  auto lower = [&bands, H] { bands.Write(bands.Half(), H); };
  side::OfferCall(lower);
  bands.Write(0, bands.Half());
  side::Finish();
}

void ProjectNetToScreen() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const NetPoint& c = model.controlNet[i][j];
      model.NetScreen[i][j] = ProjectToPixel(Point3{c.x, c.y, c.z});
    }
}
