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
#include "tools/quorlen-render/ToolText.h"

namespace {

// A value of the map as the legend would write it on a scale out to it.
std::string ValueText(double v) { return LegendLabelText(v, -std::fabs(v), std::fabs(v)); }

}  // namespace

bool MapOption(MapOptions& m, const std::string& opt, const std::function<std::string()>& value) {
  if (opt == "--map") {
    if (m.quantity != MapQuantity::None) Fail(opt, GivenTwice());
    const std::string v = value();
    if (!MapQuantityFromWord(v, m.quantity))
      Fail(opt, Say(Tool::tr("se esperaba gauss, mean, k1, k2 o absmax, no «%1»"), v));
  } else if (opt == "--map-range") {
    if (m.range.fixed) Fail(opt, GivenTwice());
    const std::string v = value();
    const size_t comma = v.find(',');
    if (comma == std::string::npos || v.find(',', comma + 1) != std::string::npos)
      Fail(opt, Say(Tool::tr("se esperaba %1, no «%2»"), "LO,HI", v));
    double lo, hi;
    if (!ParseReal(v.substr(0, comma), lo))
      Fail(opt, Say(Tool::tr("%1 no es un número finito: «%2»"), "LO", v.substr(0, comma)));
    if (!ParseReal(v.substr(comma + 1), hi))
      Fail(opt, Say(Tool::tr("%1 no es un número finito: «%2»"), "HI", v.substr(comma + 1)));
    if (!IsUsableMapRange(lo, hi)) Fail(opt, Say(Tool::tr("LO ha de ser menor que HI")));
    m.range = MapRange{true, lo, hi};
  } else if (opt == "--map-values" || opt == "--legend") {
    auto& slot = opt == "--legend" ? m.legend : m.values;
    if (slot) Fail(opt, GivenTwice());
    slot = value();
  } else {
    return false;
  }
  return true;
}

void CheckMapOptions(const MapOptions& m) {
  if (m.quantity == MapQuantity::None) {
    const std::string needsMap = Say(Tool::tr("necesita --map"));
    if (m.range.fixed) Fail("--map-range", needsMap);
    if (m.values) Fail("--map-values", needsMap);
    if (m.legend) Fail("--legend", needsMap);
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
      throw std::runtime_error(Say(Tool::tr("no se puede escribir %1: los valores del mapa (de hasta %2) son menores "
                                            "que el menor número de 32 bits (1.2E-38)"),
                                   *m.values, ValueText(largest)));
    std::string bytes;
    bytes.reserve(r.values.size() * 4);
    for (double v : r.values) {
      const float f = static_cast<float>(v);
      // Beyond float32's range the value would read as an infinity.
      if (std::isfinite(v) && !std::isfinite(f))
        throw std::runtime_error(Say(Tool::tr("no se puede escribir %1: un valor del mapa (%2) pasa del mayor "
                                              "número de 32 bits (3.4E38)"),
                                     *m.values, ValueText(v)));
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
    }
    WriteOutputFile(*m.values, bytes);
  }
  if (m.legend) WriteOutputFile(*m.legend, PngBytes(ViewFileImage(DrawLegend(r.quantity, r.range, MessageTextUtf8))));
}

std::string MapUsage() {
  return Say(QCoreApplication::translate("Tool",
        "Mapa de curvatura (sobre la imagen --png, bajo las capas superpuestas):\n"
        "  --map Q             colorea la superficie según gauss, mean, k1, k2 o absmax\n"
        "                      (K, H, k1, k2, max |k|) a partir de derivadas exactas\n"
        "  --map-range LO,HI   intervalo fijo de colores (por omisión: automático,\n"
        "                      simétrico respecto a 0, desde 0 para absmax)\n"
        "  --map-values ARCHIVO\n"
        "                      los valores de W x H (el tamaño de la vista), float32\n"
        "                      little-endian, (x, y) en x*H+y (x mayor), NaN fuera de\n"
        "                      la superficie\n"
        "  --legend ARCHIVO.png\n"
        "                      la tira de la leyenda sola\n"
        "\n"));
}
