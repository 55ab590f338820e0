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

namespace {

[[noreturn]] void Fail(const std::string& option, const std::string& what) {
  throw OptionError{option + ": " + what};
}

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
    if (a.zebra) Fail(opt, "given more than once");
    value();
    a.zebra = true;
  } else if (opt == "--zebra") {
    if (a.zebraSettings) Fail(opt, "given more than once");
    const std::string v = value();
    const size_t comma = v.find(',');
    if (comma == std::string::npos) Fail(opt, "expected COUNT,h|v, got '" + v + "'");
    const std::string count = v.substr(0, comma), dir = v.substr(comma + 1);
    ZebraSettings z;
    if (!ParseInt(count, z.count) || !IsUsableStripeCount(z.count))
      Fail(opt, "COUNT must be an even whole number in 2..200, got '" + count + "'");
    if (dir != "h" && dir != "v") Fail(opt, "the direction must be h or v, got '" + dir + "'");
    z.vertical = dir == "v";
    a.zebraSettings = z;
  } else if (opt == "--umbilics") {
    if (a.umbilics) Fail(opt, "given more than once");
    a.umbilics = true;
  } else if (opt == "--curvature-net") {
    if (a.curvatureNet) Fail(opt, "given more than once");
    a.curvatureNet = true;
  } else {
    return false;
  }
  return true;
}

void CheckAnalysisOptions(const AnalysisOptions& a, bool curvatureMap, bool png, bool segments) {
  if (a.zebraSettings && !a.zebra) Fail("--zebra", "needs --map zebra");
  if (a.zebra && curvatureMap) Fail("--map", "given more than once");
  if (a.zebra && !png) Fail("--map", "zebra draws only into --png FILE");
  if (a.curvatureNet && !png && !segments) Fail("--curvature-net", "draws only into --png FILE or --segments FILE");
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
  if (!r.ok) throw std::runtime_error("--umbilics: no exact derivatives for this surface");
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

const char* const kAnalysisUsage =
    "Reflection lines, umbilics and the net of lines of curvature:\n"
    "  --map zebra         black and white reflections of parallel light bars\n"
    "                      fixed to the scene, into the --png picture\n"
    "  --zebra COUNT,h|v   COUNT stripes a turn (even, default 12), bars\n"
    "                      horizontal (along x) or vertical (along z)\n"
    "  --umbilics          print the umbilic points, one \"u v x y z k class\"\n"
    "                      a line (class lemon, star, monstar or degenerate),\n"
    "                      then \"region u0 u1 v0 v1 k\" for umbilic regions and\n"
    "                      \"singular u0 u1 v0 v1\" for singular places skipped;\n"
    "                      the visible points are marked in the --png picture\n"
    "  --curvature-net     the net of lines of curvature of both families, about\n"
    "                      16 pixels apart (at 416 x 416, scaled with the view),\n"
    "                      into --png; --segments lists its lines after a line\n"
    "                      \"net\"\n"
    "\n";
