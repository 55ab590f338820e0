#include "tools/quorlen-render/Clicks.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "interact/LineTracing.h"
#include "model/ModelState.h"

namespace {

// The window draws the reference that orders the two runs of each family at
// random; a fixed one keeps the tool's pictures and listings repeatable.
constexpr ParamPair kClickReference{0.6, 0.8};

void PrintProbe(Canvas& view, int x, int y) {
  PointReadout t;
  if (!ProbeReadOut(view, x, y, t)) {
    std::puts("-");
    return;
  }
  const CurvatureTextSet& c = t.curvatures;
  std::printf("%s %s %s %s %s %s %s %s %s\n", t.u.c_str(), t.v.c_str(), t.x.c_str(), t.y.c_str(), t.z.c_str(),
              c.K.c_str(), c.H.c_str(), c.k1.c_str(), c.k2.c_str());
}

void Click(Canvas& view, int x, int y, std::string& listing) {
  listing += "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
  ParamPair uv{};
  Point3 P{};
  if (!PixelLookup(x, y, uv, P)) return;
  std::vector<DrawnLine> drawn;
  std::vector<DrawnLine>* const overlay = view.lineLog;
  view.lineLog = &drawn;
  std::string message;
  try {
    message = TraceLinesThrough(view, uv, kClickReference);
  } catch (...) {
    view.lineLog = overlay;
    throw;
  }
  view.lineLog = overlay;
  if (overlay) overlay->insert(overlay->end(), drawn.begin(), drawn.end());
  for (const DrawnLine& l : drawn) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(l.colour & 0xFFFFFF));
    listing += std::to_string(l.x0) + " " + std::to_string(l.y0) + " " + std::to_string(l.x1) + " " +
               std::to_string(l.y1) + " " + colour + "\n";
  }
  if (!message.empty()) std::printf("%s\n", message.c_str());
}

}  // namespace

void RunPointerActions(const RenderOptions& o, Canvas& view) {
  if (o.pointer.empty()) return;
  model.netEditMode = false;
  model.showCoordLines = o.coordLines;
  model.showCurvatureLines = o.curvatureLines;
  std::string listing;
  for (const PointerAction& a : o.pointer) {
    if (a.kind == PointerAction::Probe)
      PrintProbe(view, a.x, a.y);
    else
      Click(view, a.x, a.y, listing);
  }
  if (o.segments) {
    std::ofstream out(*o.segments, std::ios::binary | std::ios::trunc);
    out << listing;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + *o.segments);
  }
}
