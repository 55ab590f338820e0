#include "tools/quorlen-render/AnalysisOptions.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "exchange/TracedCsv.h"
#include "interact/CurvatureMapping.h"
#include "interact/CurvatureNet.h"
#include "interact/UmbilicMarks.h"
#include "model/Umbilics.h"
#include "platform/NumberFormat.h"
#include "tools/quorlen-render/RenderOptions.h"
#include "tools/quorlen-render/ToolText.h"

namespace {

// The umbilics to full precision, as the traced-lines CSV writes numbers:
// the shortest text that reads back to the same double.
std::string Number(double x) { return ShortestNumberText(x); }

std::string LineText(const DrawnLine& l) {
  char colour[16];
  std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(l.colour & 0xFFFFFF));
  return std::to_string(l.x0) + " " + std::to_string(l.y0) + " " + std::to_string(l.x1) + " " +
         std::to_string(l.y1) + " " + colour + "\n";
}

}  // namespace

bool AnalysisOption(AnalysisOptions& a, const std::string& opt, const char* next,
                    const std::function<std::string()>& value) {
  if (opt == "--map" && next && std::string(next) == "zebra") {
    if (a.zebra) Fail(opt, GivenTwice());
    value();
    a.zebra = true;
  } else if (opt == "--zebra") {
    if (a.zebraSettings) Fail(opt, GivenTwice());
    const std::string v = value();
    const size_t comma = v.find(',');
    if (comma == std::string::npos) Fail(opt, Say(Tool::tr("se esperaba RAYAS,h|v, no «%1»"), v));
    const std::string count = v.substr(0, comma), dir = v.substr(comma + 1);
    ZebraSettings z;
    if (!ParseInt(count, z.count) || !IsUsableStripeCount(z.count))
      Fail(opt, Say(Tool::tr("RAYAS ha de ser un número entero par en 2..200, no «%1»"), count));
    if (dir != "h" && dir != "v") Fail(opt, Say(Tool::tr("la dirección ha de ser h o v, no «%1»"), dir));
    z.vertical = dir == "v";
    a.zebraSettings = z;
  } else if (opt == "--umbilics") {
    if (a.umbilics) Fail(opt, GivenTwice());
    a.umbilics = true;
  } else if (opt == "--curvature-net") {
    if (a.curvatureNet) Fail(opt, GivenTwice());
    a.curvatureNet = true;
  } else {
    return false;
  }
  return true;
}

void CheckAnalysisOptions(const AnalysisOptions& a, bool curvatureMap, bool png, bool segments) {
  if (a.zebraSettings && !a.zebra) Fail("--zebra", Say(Tool::tr("necesita --map zebra")));
  if (a.zebra && curvatureMap) Fail("--map", GivenTwice());
  if (a.zebra && !png) Fail("--map", Say(Tool::tr("zebra solo dibuja en --png ARCHIVO")));
  if (a.curvatureNet && !png && !segments)
    Fail("--curvature-net", Say(Tool::tr("solo dibuja en --png ARCHIVO o --segments ARCHIVO")));
}

void ApplyAnalysisPicture(const AnalysisOptions& a) {
  if (a.zebra) {
    const ZebraSettings z = a.zebraSettings.value_or(ZebraSettings{});
    std::vector<double> phases;
    ComputeZebraPhases(z, CurrentSurface(), phases);
    PaintZebra(z, phases);
  }
  if (!a.umbilics) return;
  const UmbilicReport r = FindUmbilics(CurrentSurface());
  if (!r.ok) throw std::runtime_error("--umbilics: " + Say(Tool::tr("esta superficie no tiene derivadas exactas")));
  // Into the picture, under the overlays, as the window marks them.
  DrawUmbilicMarks(*model.pictureBitmap, r);
  for (const UmbilicPoint& p : r.points)
    std::printf("%s %s %s %s %s %s %s\n", Number(p.p.u).c_str(), Number(p.p.v).c_str(), Number(p.S.x).c_str(),
                Number(p.S.y).c_str(), Number(p.S.z).c_str(), Number(p.k).c_str(), UmbilicClassWord(p.cls));
  for (const ParamBox& b : r.regions)
    std::printf("region %s %s %s %s %s\n", Number(b.u0).c_str(), Number(b.u1).c_str(), Number(b.v0).c_str(),
                Number(b.v1).c_str(), Number(b.k).c_str());
  for (const ParamBox& b : r.singular)
    std::printf("singular %s %s %s %s\n", Number(b.u0).c_str(), Number(b.u1).c_str(), Number(b.v0).c_str(),
                Number(b.v1).c_str());
}

void RunAnalysisOptions(const AnalysisOptions& a, Canvas& view, std::string* listing) {
  if (!a.curvatureNet) return;
  // The net's lines go to the view's own log too (the SVG's overlay lines),
  // after the ones drawn before them.
  std::vector<DrawnLine> drawn;
  std::vector<DrawnLine>* const overlay = view.lineLog;
  view.lineLog = &drawn;
  try {
    DrawCurvatureNet(view, CurrentSurface());
  } catch (...) {
    view.lineLog = overlay;
    throw;
  }
  view.lineLog = overlay;
  if (overlay) overlay->insert(overlay->end(), drawn.begin(), drawn.end());
  if (listing) {
    *listing += "net\n";
    for (const DrawnLine& l : drawn) *listing += LineText(l);
  }
}

std::string AnalysisUsage() {
  return Say(QCoreApplication::translate("Tool",
        "Líneas de reflexión, puntos umbílicos y red de líneas de curvatura:\n"
        "  --map zebra         rayas de cebra: reflejos en blanco y negro de barras de\n"
        "                      luz paralelas fijas en la escena, en la imagen --png\n"
        "  --zebra RAYAS,h|v   RAYAS rayas por vuelta (par, por omisión 12), barras\n"
        "                      horizontales (a lo largo de x) o verticales (de z)\n"
        "  --umbilics          escribe los puntos umbílicos, uno \"u v x y z k class\"\n"
        "                      por línea (class lemon, star, monstar o degenerate:\n"
        "                      limón, estrella, monstar o degenerado), luego\n"
        "                      \"region u0 u1 v0 v1 k\" por cada región umbilical y\n"
        "                      \"singular u0 u1 v0 v1\" por cada lugar singular omitido;\n"
        "                      los puntos visibles se marcan en la imagen --png\n"
        "  --curvature-net     la red de líneas de curvatura de las dos familias, a unos\n"
        "                      16 píxeles una línea de otra (a 416 x 416, escalada con\n"
        "                      la vista), en --png; --segments lista sus líneas tras\n"
        "                      una línea \"net\"\n"
        "\n"));
}
