#include "tools/quorlen-render/MapOptions.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "messages/MessageText.h"
#include "pictures/PictureFiles.h"
#include "platform/NumberFormat.h"
#include "render/CurvatureMap.h"
#include "tools/quorlen-render/OutputFiles.h"
#include "tools/quorlen-render/RenderOptions.h"

namespace {

[[noreturn]] void Fail(const std::string& option, const std::string& what) {
  throw OptionError{option + ": " + what};
}

// A value of the map as the legend would write it on a scale out to it.
std::string ValueText(double v) { return LegendLabelText(v, -std::fabs(v), std::fabs(v)); }

}  // namespace

bool MapOption(MapOptions& m, const std::string& opt, const std::function<std::string()>& value) {
  if (opt == "--map") {
    if (m.quantity != MapQuantity::None) Fail(opt, "given more than once");
    const std::string v = value();
    if (!MapQuantityFromWord(v, m.quantity)) Fail(opt, "expected gauss, mean, k1, k2 or absmax, got '" + v + "'");
  } else if (opt == "--map-range") {
    if (m.range.fixed) Fail(opt, "given more than once");
    const std::string v = value();
    const size_t comma = v.find(',');
    if (comma == std::string::npos || v.find(',', comma + 1) != std::string::npos)
      Fail(opt, "expected LO,HI, got '" + v + "'");
    double lo, hi;
    if (!ParseReal(v.substr(0, comma), lo)) Fail(opt, "LO is not a finite number: '" + v.substr(0, comma) + "'");
    if (!ParseReal(v.substr(comma + 1), hi)) Fail(opt, "HI is not a finite number: '" + v.substr(comma + 1) + "'");
    if (!IsUsableMapRange(lo, hi)) Fail(opt, "LO must be less than HI");
    m.range = MapRange{true, lo, hi};
  } else if (opt == "--map-values" || opt == "--legend") {
    auto& slot = opt == "--legend" ? m.legend : m.values;
    if (slot) Fail(opt, "given more than once");
    slot = value();
  } else {
    return false;
  }
  return true;
}

void CheckMapOptions(const MapOptions& m) {
  if (m.quantity == MapQuantity::None) {
    if (m.range.fixed) Fail("--map-range", "needs --map");
    if (m.values) Fail("--map-values", "needs --map");
    if (m.legend) Fail("--legend", "needs --map");
  }
}

MapResult ApplyMapOptions(const MapOptions& m) {
  MapResult r = ApplyCurvatureMap(CurrentSurface(), m.quantity, m.range);
  if (!r.error.empty()) throw std::runtime_error(MessageTextUtf8(r.error));
  return r;
}

void WriteMapOutputs(const MapOptions& m, const MapResult& r) {
  if (m.values) {
    // A map whose every value lies below float32's smallest normal number
    // would read as 0 (or a few digits) all over; a few such values among
    // larger ones are the rounding about 0, and go as float32 has them.
    double largest = 0;
    for (double v : r.values)
      if (std::isfinite(v)) largest = std::fmax(largest, std::fabs(v));
    if (largest > 0 && largest < std::numeric_limits<float>::min())
      throw std::runtime_error("cannot write " + *m.values + ": los valores del mapa (de hasta " +
                               ValueText(largest) + ") son menores que el menor número de 32 bits (1.2E-38)");
    std::string bytes;
    bytes.reserve(r.values.size() * 4);
    for (double v : r.values) {
      const float f = static_cast<float>(v);
      // Beyond float32's range the value would read as an infinity.
      if (std::isfinite(v) && !std::isfinite(f))
        throw std::runtime_error("cannot write " + *m.values + ": un valor del mapa (" + ValueText(v) +
                                 ") pasa del mayor número de 32 bits (3.4E38)");
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
    }
    WriteOutputFile(*m.values, bytes);
  }
  if (m.legend) WriteOutputFile(*m.legend, PngBytes(ViewFileImage(DrawLegend(r.quantity, r.range, MessageTextUtf8))));
}

const char* const kMapUsage =
    "Curvature map (over the --png picture, before the overlays):\n"
    "  --map Q             colour the surface by gauss, mean, k1, k2 or absmax\n"
    "                      (K, H, k1, k2, max |k|) from exact derivatives\n"
    "  --map-range LO,HI   fixed colour range (default: automatic, symmetric\n"
    "                      about 0, from 0 for absmax)\n"
    "  --map-values FILE   W x H values (the view's size), little-endian float32,\n"
    "                      (x, y) at x*H+y (x major), NaN off the surface\n"
    "  --legend FILE.png   the legend strip alone\n"
    "\n";
