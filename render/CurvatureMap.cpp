#include "render/CurvatureMap.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>

#include "model/LocalGeometry.h"
#include "model/SurfaceDerivatives.h"
#include "render/PixelLookup.h"
#include "platform/RunChecks.h"
#include "platform/SideThread.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ColorBrewer "RdBu", 11 classes (Cynthia Brewer, colorbrewer2.org; marked
// colour-blind safe there), run from blue (negative) through its light grey
// centre to red (positive). 0xRRGGBB.
const uint32_t kDiverging[] = {0x053061, 0x2166ac, 0x4393c3, 0x92c5de, 0xd1e5f0, 0xf7f7f7,
                               0xfddbc7, 0xf4a582, 0xd6604d, 0xb2182b, 0x67001f};
// matplotlib's "viridis" (van der Walt and Smith), sampled at nine equal
// steps from 0 to 1. 0xRRGGBB.
const uint32_t kSequential[] = {0x440154, 0x472d7b, 0x3b528b, 0x2c728e, 0x21918c,
                                0x28ae80, 0x5ec962, 0xaddc30, 0xfde725};

constexpr uint32_t kNoValueColour = 0x808080;  // a visible pixel without a value

uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r) | (g << 8) | (b << 16); }

// Linear blend of the table's neighbours at t in [0, 1], as 0x00BBGGRR.
uint32_t FromTable(const uint32_t* table, int count, double t) {
  const double pos = t * (count - 1);
  int k = qchk::Floor(pos);
  if (k > count - 2) k = count - 2;
  const double f = pos - k;
  const uint32_t a = table[k], b = table[k + 1];
  auto channel = [f](uint32_t ca, uint32_t cb) {
    return qchk::Round(static_cast<double>(ca) * (1 - f) + static_cast<double>(cb) * f);
  };
  return Rgb(channel(a >> 16, b >> 16), channel((a >> 8) & 0xFF, (b >> 8) & 0xFF), channel(a & 0xFF, b & 0xFF));
}

uint32_t Scale(uint32_t c, double k) {
  auto ch = [k](uint32_t v) { return qchk::Round(static_cast<double>(v) * k); };
  return Rgb(ch(c & 0xFF), ch((c >> 8) & 0xFF), ch((c >> 16) & 0xFF));
}

// How much light a shade index shows: its place in its ramp, the dark end
// kept at 55 % so that the hue stays legible in shadow.
double Brightness(int index) {
  if (index == 0) return 1.0;
  return 0.55 + 0.45 * ((index - 1) % 100) / 99.0;
}

bool Visible(int x, int y) {
  const PixelCell& c = model.pixelCells[x][y];
  return c.u >= 0 && c.v >= 0;
}

// Columns x0 .. x1 - 1, counted into `counts`.
void ValuesOfColumns(MapQuantity q, const Surface& s, std::vector<double>& values, int x0, int x1,
                     MapValueCounts& counts) {
  const int H = model.view.height;
  for (int x = x0; x < x1; ++x)
    for (int y = 0; y < H; ++y) {
      ParamPair uv;
      SurfaceDerivs d;
      bool have = false;
      double value = kNaN;
      if (PixelLookupWithDerivatives(s, x, y, uv, d, have)) {
        ++counts.visible;
        value = have ? MapValueOf(q, s, d) : MapValueAt(q, s, uv);
        if (std::isfinite(value))
          ++counts.valued;
        else
          value = kNaN;
      }
      values[static_cast<size_t>(x) * H + y] = value;
    }
}

// Columns in a run that a thread takes at once: few enough runs that
// taking them costs nothing, enough that the threads end together.
constexpr int kColumnRun = 8;

// Runs columns(x0, x1) over the view's columns: in runs of kColumnRun that
// the two threads take as they come free, where a second thread is to be
// had, so that one that gets no core for a while leaves its share to the
// other. Every pixel is computed alike on either thread. An error stops
// the taking; the one raised, once both are done, is that of the lowest
// column that failed, as on one thread.
template <class Columns>
void OnBothThreads(Columns&& columns) {
  const int W = model.view.width;
  if (!side::Enabled()) {
    columns(0, W);
    return;
  }
  struct Share {
    Columns& columns;
    int width;
    std::atomic<int>& next;
    int failedAt = std::numeric_limits<int>::max();
    std::exception_ptr error;
    void operator()() {
      for (;;) {
        const int x0 = next.fetch_add(kColumnRun);
        if (x0 >= width) return;
        try {
          columns(x0, std::min(width, x0 + kColumnRun));
        } catch (...) {
          failedAt = x0;
          error = std::current_exception();
          next.store(width);
          return;
        }
      }
    }
  };
  std::atomic<int> next{0};
  Share other{columns, W, next, std::numeric_limits<int>::max(), nullptr};
  Share mine{columns, W, next, std::numeric_limits<int>::max(), nullptr};
  side::OfferCall(other);
  mine();
  side::Finish();
  if (other.error && (!mine.error || other.failedAt < mine.failedAt)) std::rethrow_exception(other.error);
  if (mine.error) std::rethrow_exception(mine.error);
}

}  // namespace

MessageCode MapQuantityName(MapQuantity q) {
  switch (q) {
    case MapQuantity::Gauss:
      return MessageCode::MapGauss;
    case MapQuantity::Mean:
      return MessageCode::MapMean;
    case MapQuantity::K1:
      return MessageCode::MapK1;
    case MapQuantity::K2:
      return MessageCode::MapK2;
    case MapQuantity::AbsMax:
      return MessageCode::MapAbsMax;
    case MapQuantity::None:
      break;
  }
  return MessageCode::MapShading;
}

bool MapQuantityFromWord(const std::string& word, MapQuantity& q) {
  const struct {
    const char* word;
    MapQuantity q;
  } words[] = {{"gauss", MapQuantity::Gauss}, {"mean", MapQuantity::Mean}, {"k1", MapQuantity::K1},
               {"k2", MapQuantity::K2}, {"absmax", MapQuantity::AbsMax}};
  for (const auto& w : words)
    if (word == w.word) {
      q = w.q;
      return true;
    }
  return false;
}

double MapValueAt(MapQuantity q, const Surface& s, ParamPair p) {
  SurfaceDerivs d;
  if (!SurfaceDerivatives(s, p, d)) return kNaN;
  return MapValueOf(q, s, d);
}

double MapValueOf(MapQuantity q, const Surface& s, const SurfaceDerivs& d) {
  // E G - F^2 vanishes on a regular point only by rounding: no value there
  // rather than a failed drawing (positiveFormOnly).
  LocalGeometryOptions o;
  o.source = DerivativeSource::Exact;
  o.positiveFormOnly = true;
  o.exact = &d;
  const LocalGeometry c = LocalGeometryAt(s, ParamPair{0, 0}, o);
  if (!c.curvaturesDefined) return kNaN;
  switch (q) {
    case MapQuantity::Gauss:
      return c.K;
    case MapQuantity::Mean:
      return c.H;
    case MapQuantity::K1:
      return c.k1;
    case MapQuantity::K2:
      return c.k2;
    case MapQuantity::AbsMax:
      return std::max(std::fabs(c.k1), std::fabs(c.k2));
    case MapQuantity::None:
      break;
  }
  return kNaN;
}

MapValueCounts ComputeMapValues(MapQuantity q, const Surface& s, std::vector<double>& values) {
  values.assign(static_cast<size_t>(model.view.width) * model.view.height, kNaN);
  std::atomic<long> visible{0}, valued{0};
  OnBothThreads([&](int x0, int x1) {
    MapValueCounts run;
    ValuesOfColumns(q, s, values, x0, x1, run);
    visible += run.visible;
    valued += run.valued;
  });
  return MapValueCounts{visible.load(), valued.load()};
}

double NiceCeiling(double x) {
  double p = std::pow(10.0, std::floor(std::log10(x)));
  for (;;) {
    for (double m : {1.0, 2.0, 5.0})
      if (m * p >= x) return m * p;
    p *= 10;
  }
}

MapRange AutomaticRange(MapQuantity q, const std::vector<double>& values) {
  std::vector<double> mag;
  mag.reserve(values.size());
  for (double v : values)
    if (!std::isnan(v)) mag.push_back(std::fabs(v));
  double r = 1.0;
  if (!mag.empty()) {
    // Nearest rank: the smallest value that at least 98 % do not exceed.
    const size_t rank = static_cast<size_t>(qchk::Ceil(0.98 * static_cast<double>(mag.size())));
    const size_t k = rank == 0 ? 0 : rank - 1;
    std::nth_element(mag.begin(), mag.begin() + static_cast<long>(k), mag.end());
    // A flat picture (only rounding noise) gets a unit scale: it shows as
    // the colour of 0.
    if (mag[k] > 1e-9) r = NiceCeiling(mag[k]);
  }
  MapRange range;
  range.lo = q == MapQuantity::AbsMax ? 0.0 : -r;
  range.hi = r;
  return range;
}

MapRange RangeInForce(MapQuantity q, const MapRange& chosen, const std::vector<double>& values) {
  if (chosen.fixed) return chosen;
  return AutomaticRange(q, values);
}

double RampPosition(MapQuantity q, double x, double lo, double hi) {
  double t;
  if (q == MapQuantity::AbsMax || lo == -hi || !(hi > lo)) {
    // One linear ramp over the range: the sequential one, and the diverging
    // one on a range symmetric about 0, where it puts 0 in the middle.
    t = hi > lo ? (x - lo) / (hi - lo) : 0.5;
  } else {
    // The diverging ramp keeps its grey at 0 on any range: each side runs
    // from 0 to its own limit (a range that leaves 0 out shows only the
    // part of its side that it covers).
    if (!(x > lo)) x = lo;
    if (x > hi) x = hi;
    t = x >= 0 ? (hi > 0 ? 0.5 + 0.5 * (x / hi) : 0.5) : 0.5 - 0.5 * (x / lo);
  }
  if (!(t > 0)) t = 0;
  if (t > 1) t = 1;
  return t;
}

uint32_t MapColour(MapQuantity q, double x, double lo, double hi) {
  if (std::isnan(x)) return kNoValueColour;
  const double t = RampPosition(q, x, lo, hi);
  if (q == MapQuantity::AbsMax) return FromTable(kSequential, 9, t);
  return FromTable(kDiverging, 11, t);
}

void PaintCurvatureMap(MapQuantity q, const std::vector<double>& values, const MapRange& range) {
  const ShadeGrid& shade = *model.shadeMap;
  Canvas& bmp = *model.pictureBitmap;
  const int W = model.view.width, H = model.view.height;
  qchk::CheckIndex(static_cast<long>(values.size()), static_cast<long>(W) * H, static_cast<long>(W) * H);
  auto colourAt = [&](int x, int y) {
    return Scale(MapColour(q, values[static_cast<size_t>(x) * H + y], range.lo, range.hi), Brightness(shade[x][y]));
  };
  auto put = [&bmp](int x, int y, uint32_t c) {
    uint8_t* px = bmp.Row(y) + 3 * x;
    px[0] = static_cast<uint8_t>(c >> 16);
    px[1] = static_cast<uint8_t>(c >> 8);
    px[2] = static_cast<uint8_t>(c);
  };
  // Column by column on both threads, each pixel from the values alone (no
  // colour buffer: an outline pixel works out its few neighbours' colours).
  OnBothThreads([&](int x0, int x1) {
    for (int x = x0; x < x1; ++x)
      for (int y = 0; y < H; ++y) {
        if (Visible(x, y)) {
          put(x, y, colourAt(x, y));
          continue;
        }
        if (shade[x][y] == 0) continue;
        // An outline pixel the filter blended: its surface neighbours'
        // mean colour, half way to white.
        int n = 0, r = 0, g = 0, b = 0;
        const int dx[] = {-1, 1, 0, 0}, dy[] = {0, 0, -1, 1};
        for (int d = 0; d < 4; ++d) {
          const int nx = x + dx[d], ny = y + dy[d];
          if (nx < 0 || ny < 0 || nx >= W || ny >= H || !Visible(nx, ny)) continue;
          const uint32_t c = colourAt(nx, ny);
          r += c & 0xFF;
          g += (c >> 8) & 0xFF;
          b += (c >> 16) & 0xFF;
          ++n;
        }
        if (n > 0) put(x, y, Rgb((r / n + 255) / 2, (g / n + 255) / 2, (b / n + 255) / 2));
      }
  });
}

double LegendScale(int width) { return std::max(1.0, width / static_cast<double>(kView)); }

int LegendHeight(int width) { return qchk::Round(kLegendHeight * LegendScale(width)); }

Canvas DrawLegend(MapQuantity q, const MapRange& range, MessageWriter text) {
  return DrawLegend(q, range, model.view.width, text);
}

Canvas DrawLegend(MapQuantity q, const MapRange& range, int width, MessageWriter text) {
  qchk::CheckIndex(width, 1, ViewSize::kMaxSide);
  // Lengths of the 416-pixel strip, scaled; the strip's ends keep their
  // distance (scaled) from the picture's edges.
  const double f = LegendScale(width);
  auto px = [f](int length) { return qchk::Round(length * f); };
  const int height = LegendHeight(width);
  Canvas c(width, height);
  c.brushColour = 0x00FFFFFF;
  c.FillRect(0, 0, width, height);
  constexpr uint32_t ink = 0x00000000, frame = 0x00808080;
  DrawSmallText(c, px(8), px(3), text({MapQuantityName(q)}), ink, f);
  const std::string scale = text({range.fixed ? MessageCode::ScaleFixed : MessageCode::ScaleAutomatic});
  DrawSmallText(c, width - px(8) - SmallTextWidth(scale, f), px(3), scale, ink, f);
  const int left = px(16), right = width - 1 - px(16), top = px(14), bottom = px(29);
  for (int x = left; x <= right; ++x) {
    const double t = static_cast<double>(x - left) / (right - left);
    const uint32_t col = MapColour(q, range.lo * (1 - t) + range.hi * t, range.lo, range.hi);
    for (int y = top; y <= bottom; ++y) c.SetPixel(x, y, col);
  }
  // The frame round the strip and the ticks, one pixel thick at 416 and
  // thicker in proportion.
  const int line = px(1);
  c.brushColour = frame;
  c.FillRect(left - line, top - line, right + 1 + line, top);
  c.FillRect(left - line, bottom + 1, right + 1 + line, bottom + 1 + line);
  c.FillRect(left - line, top, left, bottom + 1);
  c.FillRect(right + 1, top, right + 1 + line, bottom + 1);
  for (int k = 0; k <= 4; ++k) {
    const int x = left + qchk::Round((right - left) * k / 4.0);
    const int tickLeft = x - (line - 1) / 2;
    c.FillRect(tickLeft, bottom + px(2), tickLeft + line, bottom + px(5));
    const std::string label = LegendLabelText(LegendValue(range, k), range.lo, range.hi);
    // Centred under its tick, but never past the ends of the strip: the
    // first and the last label line up with them.
    const int w = SmallTextWidth(label, f);
    const int lx = std::max(left - px(1), std::min(x - w / 2, right + px(3) - w));
    DrawSmallText(c, lx, bottom + px(7), label, ink, f);
  }
  return c;
}

double LegendValue(const MapRange& range, int k) { return range.lo * (4 - k) / 4.0 + range.hi * k / 4.0; }

namespace {

// x with `digits` after the point (fixed) or in the mantissa (scientific),
// trailing zeros and a bare point dropped; "." whatever the locale.
std::string Chars(double x, std::chars_format format, int digits) {
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, format, digits);
  std::string s(buffer, r.ptr);
  const size_t e = s.find('e');
  std::string mantissa = s.substr(0, e), exponent = e == std::string::npos ? "" : s.substr(e + 1);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  if (exponent.empty()) return mantissa;
  // "e-06" -> "E-6", "e+05" -> "E5".
  const bool negative = exponent[0] == '-';
  size_t first = exponent.find_first_not_of("+-0");
  return mantissa + "E" + (negative ? "-" : "") + (first == std::string::npos ? "0" : exponent.substr(first));
}

}  // namespace

std::string LegendLabelText(double x, double lo, double hi) {
  const double step = (hi - lo) / 4;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(x)) return Chars(x, std::chars_format::general, 4);
  // Rounding of lo and hi in between leaves a trace of 0 where 0 is meant.
  if (std::fabs(x) <= step * 1e-9) return "0";
  // From the step's first digit down, as many digits as the value needs
  // (at most four more): the labels of -2..3 (step 1.25) read -2, -0.75,
  // 0.5, 1.75, 3.
  const int stepDigit = static_cast<int>(std::floor(std::log10(step)));
  const double largest = std::max(std::fabs(lo), std::fabs(hi));
  int lastDigit = stepDigit;
  for (int k = 0; k < 4; ++k) {
    const double unit = std::pow(10.0, lastDigit);
    if (std::fabs(std::round(x / unit) * unit - x) <= step * 1e-6) break;
    --lastDigit;
  }
  if (largest >= 1e-2 && largest < 1e4 && lastDigit >= -6)
    return Chars(x, std::chars_format::fixed, std::max(-lastDigit, 0));
  // Very small or very large scales, or steps far below the values: each
  // label as a mantissa and its power of ten (2.5E-6).
  const int digit = static_cast<int>(std::floor(std::log10(std::fabs(x))));
  return Chars(x, std::chars_format::scientific, std::clamp(digit - lastDigit, 0, 12));
}

bool IsUsableMapRange(double lo, double hi) { return std::isfinite(lo) && std::isfinite(hi) && lo < hi; }
