#include "tools/quorlen-render/Clicks.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "messages/MessageText.h"
#include "interact/LineTracing.h"
#include "model/ModelState.h"
#include "platform/RunChecks.h"
#include "tools/quorlen-render/OutputFiles.h"
#include "tools/quorlen-render/ToolText.h"

namespace {

// The window draws the reference that orders the two runs of each family at
// random; a fixed one keeps the tool's pictures and listings repeatable.
constexpr ParamPair kClickReference{0.6, 0.8};

void PrintProbe(Canvas& view, int x, int y) {
  PointReadout t;
  if (!ProbeReadOut(view, CurrentSurface(), x, y, t)) {
    std::puts("-");
    return;
  }
  // A curvature the surface does not have there (a singular point) reads
  // "-": every line keeps its nine fields.
  auto field = [](const std::string& text) { return text.empty() ? "-" : text.c_str(); };
  const CurvatureTextSet& c = t.curvatures;
  std::printf("%s %s %s %s %s %s %s %s %s\n", t.u.c_str(), t.v.c_str(), t.x.c_str(), t.y.c_str(), t.z.c_str(),
              field(c.K), field(c.H), field(c.k1), field(c.k2));
}

// The core's run-time errors in a pointer action, named after it
// (`failed` holds %1 for the error).
template <class Action>
void Named(const QString& failed, Action action) {
  try {
    action();
  } catch (const qchk::RunError& e) {
    throw std::runtime_error(Say(failed, e.what()));
  }
}

void Click(Canvas& view, int x, int y, std::string& listing) {
  listing += "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
  ParamPair uv{};
  Point3 P{};
  if (!PixelLookup(CurrentSurface(), x, y, uv, P)) return;
  std::vector<DrawnLine> drawn;
  std::vector<DrawnLine>* const overlay = view.lineLog;
  view.lineLog = &drawn;
  UserMessage message;
  try {
    message = TraceLinesThrough(view, CurrentSurface(), model.tracedLines, uv, kClickReference);
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
  if (!message.empty()) std::printf("%s\n", MessageTextUtf8(message).c_str());
}

}  // namespace

void RunPointerActions(const RenderOptions& o, Canvas& view, std::string listing) {
  if (o.pointer.empty() && listing.empty()) return;
  model.netEditMode = false;
  model.showCoordLines = o.coordLines;
  model.showCurvatureLines = o.curvatureLines;
  for (const PointerAction& a : o.pointer) {
    if (a.kind == PointerAction::Probe)
      Named(Tool::tr("la lectura falló: %1"), [&] { PrintProbe(view, a.x, a.y); });
    else
      Named(Tool::tr("el trazado de las líneas falló: %1"), [&] { Click(view, a.x, a.y, listing); });
  }
  if (o.segments) {
    WriteOutputFile(*o.segments, listing);
  }
}
