#include "tools/quorlen-render/RenderOptions.h"

#include <cstring>

#include "model/Shapes.h"
#include "platform/NumberFormat.h"
#include "tools/quorlen-render/Exports.h"
#include "tools/quorlen-render/OutputFiles.h"

namespace {

[[noreturn]] void Fail(const std::string& option, const std::string& what) {
  throw OptionError{option + ": " + what};
}

std::vector<std::string> SplitCommas(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = s.find(',', start);
    parts.push_back(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// Splits the value into exactly `count` comma-separated fields.
std::vector<std::string> Fields(const std::string& option, const std::string& value, size_t count,
                                 const char* form) {
  std::vector<std::string> f = SplitCommas(value);
  if (f.size() != count) Fail(option, std::string("expected ") + form + ", got '" + value + "'");
  return f;
}

int IntField(const std::string& option, const std::string& s, const char* name) {
  int v;
  if (!ParseInt(s, v)) Fail(option, std::string(name) + " is not an integer: '" + s + "'");
  return v;
}

double RealField(const std::string& option, const std::string& s, const char* name) {
  double v;
  if (!ParseReal(s, v)) Fail(option, std::string(name) + " is not a finite number: '" + s + "'");
  return v;
}

// A view position of a drag: the pointer may leave the view while the
// button is held, so any position within a screen's reach.
int DragCoordinate(const std::string& option, const std::string& s, const char* name) {
  const int v = IntField(option, s, name);
  if (v < -100000 || v > 100000) Fail(option, std::string(name) + " must lie in -100000..100000");
  return v;
}

// --move FX,FY,TX,TY[,ctrl|,shift] and --drag-node FX,FY,TX,TY[,up=K|,down=K].
DragAction ParseDrag(const std::string& option, const std::string& value, DragAction::Kind kind) {
  std::vector<std::string> f = SplitCommas(value);
  const bool move = kind == DragAction::Move;
  if (f.size() != 4 && f.size() != 5)
    Fail(option, std::string("expected FX,FY,TX,TY") + (move ? "[,ctrl|,shift]" : "[,up=K|,down=K]") + ", got '" +
                     value + "'");
  DragAction a{kind, DragCoordinate(option, f[0], "FX"), DragCoordinate(option, f[1], "FY"),
               DragCoordinate(option, f[2], "TX"), DragCoordinate(option, f[3], "TY")};
  if (f.size() == 5) {
    const std::string& extra = f[4];
    if (move) {
      if (extra == "ctrl") a.ctrl = true;
      else if (extra == "shift") a.shift = true;
      else Fail(option, "expected ctrl or shift after the positions, got '" + extra + "'");
    } else {
      const bool up = extra.rfind("up=", 0) == 0, down = extra.rfind("down=", 0) == 0;
      if (!up && !down) Fail(option, "expected up=K or down=K after the positions, got '" + extra + "'");
      a.arrow = up ? 1 : -1;
      a.ticks = IntField(option, extra.substr(up ? 3 : 5), "K");
      if (a.ticks < 0 || a.ticks > 100000) Fail(option, "K must lie in 0..100000");
    }
  }
  return a;
}

template <class T>
void SetOnce(std::optional<T>& slot, const std::string& option, T value) {
  if (slot) Fail(option, "given more than once");
  slot = std::move(value);
}

void SetFlag(bool& flag, const std::string& option) {
  if (flag) Fail(option, "given more than once");
  flag = true;
}

}  // namespace

namespace {

// Each of these takes `opt` if it is one of its options (value() reads the
// option's value) and says whether it did.
template <class Value>
bool ModelOption(RenderOptions& o, const std::string& opt, Value& value) {
  if (opt == "--open") {
    SetOnce(o.open, opt, value());
  } else if (opt == "--size") {
    const auto f = Fields(opt, value(), 2, "M,N");
    const int m = IntField(opt, f[0], "M"), n = IntField(opt, f[1], "N");
    if (m < 1 || m > 11 || n < 1 || n > 11) Fail(opt, "M and N must lie in 1..11");
    SetOnce(o.size, opt, std::make_pair(m, n));
  } else if (opt == "--shape") {
    const std::string v = value();
    ExactShape exact;
    if (v != "plane" && v != "cylinder" && v != "sphere" && !ExactShapeFromWord(v.c_str(), exact))
      Fail(opt, "expected plane, cylinder, sphere, octant, hemisphere, ellipsoid or exact-cylinder, got '" + v +
                    "'");
    SetOnce(o.shape, opt, v);
  } else if (opt == "--kind") {
    const std::string v = value();
    int kind = 0;
    if (v == "bezier") kind = 1;
    else if (v == "bspline2") kind = 2;
    else if (v == "bspline3") kind = 3;
    else Fail(opt, "expected bezier, bspline2 or bspline3, got '" + v + "'");
    SetOnce(o.kind, opt, kind);
  } else if (opt == "--rational") {
    SetFlag(o.rational, opt);
  } else if (opt == "--point") {
    const auto f = Fields(opt, value(), 5, "I,J,X,Y,Z");
    o.points.push_back(PointEdit{IntField(opt, f[0], "I"), IntField(opt, f[1], "J"), RealField(opt, f[2], "X"),
                                 RealField(opt, f[3], "Y"), RealField(opt, f[4], "Z")});
  } else if (opt == "--weight") {
    const auto f = Fields(opt, value(), 3, "I,J,W");
    const WeightEdit w{IntField(opt, f[0], "I"), IntField(opt, f[1], "J"), RealField(opt, f[2], "W")};
    if (w.w < 0) Fail(opt, "the weight cannot be negative");
    o.weights.push_back(w);
  } else if (opt == "--tick-u" || opt == "--tick-v") {
    const auto f = Fields(opt, value(), 2, "K,POS");
    const TickEdit t{IntField(opt, f[0], "K"), IntField(opt, f[1], "POS")};
    // Checked here, before any arithmetic on the position.
    if (t.pos < 2 || t.pos > 156) Fail(opt, "POS must lie on the slider, 2..156");
    (opt == "--tick-u" ? o.ticksU : o.ticksV).push_back(t);
  } else if (opt == "--undo" || opt == "--redo") {
    const int k = IntField(opt, value(), "K");
    if (k < 1) Fail(opt, "K must be 1 or more");
    size_t& slot = opt == "--undo" ? o.undo : o.redo;
    if (slot != 0) Fail(opt, "given more than once");
    slot = static_cast<size_t>(k);
  } else {
    return false;
  }
  return true;
}

template <class Value>
bool OutputOption(RenderOptions& o, const std::string& opt, Value& value) {
  const std::pair<const char*, std::optional<std::string>*> files[] = {
      {"--png", &o.png},   {"--shade-map", &o.shadeMap}, {"--depth-map", &o.depthMap},
      {"--polylines", &o.polylines}, {"--save", &o.save}, {"--segments", &o.segments},
      {"--preview-map", &o.previewMap}};
  for (const auto& [name, slot] : files)
    if (opt == name) {
      SetOnce(*slot, opt, value());
      return true;
    }
  const std::pair<const char*, bool*> flags[] = {{"--net", &o.net},
                                                 {"--cube", &o.cube},
                                                 {"--camera", &o.camera},
                                                 {"--fit", &o.fit},
                                                 {"--coord-lines", &o.coordLines},
                                                 {"--curvature-lines", &o.curvatureLines}};
  for (const auto& [name, flag] : flags)
    if (opt == name) {
      SetFlag(*flag, opt);
      return true;
    }
  return false;
}

template <class Value>
bool PointerOption(RenderOptions& o, const std::string& opt, Value& value) {
  if (opt == "--probe" || opt == "--click") {
    const auto f = Fields(opt, value(), 2, "X,Y");
    const int x = IntField(opt, f[0], "X"), y = IntField(opt, f[1], "Y");
    o.pointer.push_back(PointerAction{opt == "--probe" ? PointerAction::Probe : PointerAction::Click, x, y});
  } else if (opt == "--move" || opt == "--drag-node") {
    o.drags.push_back(ParseDrag(opt, value(), opt == "--move" ? DragAction::Move : DragAction::Node));
  } else {
    return false;
  }
  return true;
}

// --view W,H: each side in 64..4096.
bool ViewOption(RenderOptions& o, const std::string& opt, const std::string& value) {
  const auto f = Fields(opt, value, 2, "W,H");
  const int w = IntField(opt, f[0], "W"), h = IntField(opt, f[1], "H");
  auto inRange = [](int v) { return v >= ViewSize::kMinSide && v <= ViewSize::kMaxSide; };
  if (!inRange(w) || !inRange(h))
    Fail(opt, "W and H must lie in " + std::to_string(ViewSize::kMinSide) + ".." +
                  std::to_string(ViewSize::kMaxSide));
  o.view = ViewSize{w, h};
  return true;
}

// The pointer's pixels in the view (its size may come after them).
void CheckPointerPixels(const RenderOptions& o) {
  const int W = o.view.width, H = o.view.height;
  for (const PointerAction& a : o.pointer) {
    if (a.x >= 0 && a.x < W && a.y >= 0 && a.y < H) continue;
    const std::string opt = a.kind == PointerAction::Probe ? "--probe" : "--click";
    if (W == H) Fail(opt, "X and Y must lie in the view, 0.." + std::to_string(W - 1));
    Fail(opt, "X and Y must lie in the view, X in 0.." + std::to_string(W - 1) + " and Y in 0.." +
                  std::to_string(H - 1));
  }
}

// Options that only make sense together.
void CheckCombinations(const RenderOptions& o) {
  if ((o.net || o.cube) && !o.png && !o.exportPng && !o.exportSvg)
    Fail(o.net ? "--net" : "--cube", "draws only over --png, --export-png or --export-svg FILE");
  bool clicks = false;
  for (const PointerAction& a : o.pointer) clicks = clicks || a.kind == PointerAction::Click;
  if (clicks && !o.coordLines && !o.curvatureLines) Fail("--click", "needs --coord-lines or --curvature-lines");
  if (!clicks && (o.coordLines || o.curvatureLines))
    Fail(o.coordLines ? "--coord-lines" : "--curvature-lines", "traces only through a --click X,Y");
  if (!clicks && o.segments && !o.analysis.curvatureNet)
    Fail("--segments", "lists only the lines of a --click X,Y or of --curvature-net");
  bool moves = false;
  for (const DragAction& d : o.drags) moves = moves || d.kind == DragAction::Move;
  if (o.previewMap && !moves) Fail("--preview-map", "shows only the preview of a --move");
}

}  // namespace

RenderOptions ParseOptions(int argc, char** argv) {
  RenderOptions o;
  for (int a = 1; a < argc; ++a) {
    const std::string opt = argv[a];
    auto value = [&]() -> std::string {
      // "--png --net" means a forgotten value, not a file named "--net".
      if (a + 1 >= argc || std::strncmp(argv[a + 1], "--", 2) == 0) Fail(opt, "needs a value");
      return argv[++a];
    };
    if (opt == "--help" || opt == "-h")
      o.help = true;
    else if (opt == "--view" && ViewOption(o, opt, value()))
      continue;
    else if (ModelOption(o, opt, value) || OutputOption(o, opt, value) || PointerOption(o, opt, value) ||
             AnalysisOption(o.analysis, opt, a + 1 < argc ? argv[a + 1] : nullptr, value) ||
             MapOption(o.map, opt, value) || ExportOption(o, opt, value))
      continue;
    else if (opt.rfind("-", 0) == 0)
      Fail(opt, "unknown option (see --help)");
    else
      Fail(opt, "unexpected argument (see --help)");
  }
  if (!o.help) {
    CheckPointerPixels(o);
    CheckCombinations(o);
    CheckMapOptions(o.map);
    CheckAnalysisOptions(o.analysis, o.map.quantity != MapQuantity::None, o.png.has_value(), o.segments.has_value());
    CheckOutputFiles(o);
  }
  return o;
}

const char* UsageText() {
  static const std::string text = std::string("Usage: quorlen-render [options]\n"
         "Draws a surface as the window's \"Dibújala\" does and writes what was asked.\n"
         "Without --open the start-up model is drawn: the 12 x 7 unit sphere, Bézier.\n"
         "\n"
         "Model (applied in this order, whatever the order given):\n"
         "  --open FILE         read a surface file (.yqs: its view is kept; or STEP,\n"
         "                      IGES: see the exports)\n"
         "  --size M,N          net size, M and N in 1..11 (as typing m and n):\n"
         "                      new points at the origin, knot ticks laid out evenly\n"
         "  --shape S           plane, cylinder or sphere, over the current size; or an\n"
         "                      exact rational quadric with its own size and weights:\n"
         "                      octant (sphere), hemisphere, ellipsoid, exact-cylinder\n"
         "  --kind K            bezier, bspline2 or bspline3\n"
         "  --rational          rational surface (weights count)\n"
         "  --point I,J,X,Y,Z   control point (I,J) := (X,Y,Z); repeatable\n"
         "  --weight I,J,W      weight of control point (I,J), W >= 0; repeatable\n"
         "  --tick-u K,POS      place inner tick K of the horizontal knot slider at\n"
         "                      pixel POS (2..156); repeatable. The ticks must end up\n"
         "                      in order, 2 pixels or more apart, as dragging leaves them\n"
         "  --tick-v K,POS      the same on the vertical slider (156 at the bottom, 2 at\n"
         "                      the top); repeatable\n"
         "  --undo K            then undo the last K of those edits (each option above,\n"
         "                      each --point, --weight and tick is one edit)\n"
         "  --redo K            then redo K of the undone edits\n"
         "\n"
         "View:\n"
         "  --view W,H          the view's width and height in pixels, each 64..4096\n"
         "                      (default 416,416): the box fills 95 % of the shorter\n"
         "                      side, and lengths in pixels (steps of the traced lines,\n"
         "                      the net's spacing, the marks, the legend) scale with\n"
         "                      it: a view twice as large shows the same picture twice\n"
         "                      as fine. Every pixel an option names (--probe, --click,\n"
         "                      --move, --drag-node) is a pixel of this view. A surface\n"
         "                      file's view is shown as it is at 416 x 416, scaled and\n"
         "                      centred; --save writes the view scaled back to 416 x 416\n"
         "\n"
         "Outputs (written after the drawing):\n"
         "  --png FILE          the W x H picture\n"
         "  --net, --cube       draw the control net and the box over the --png picture\n"
         "  --shade-map FILE    W x H shade indices, one byte each, (x, y) at x*H+y\n"
         "  --depth-map FILE    the view's pixel depths, little-endian int32, same order\n"
         "  --polylines FILE    the traced box and net edges as text\n"
         "  --save FILE.yqs     the surface file with the view (and the rational flag\n"
         "                      and the knot ticks, when not plain and even)\n"
         "  --camera            print the camera values\n"
         "  Every file is written whole through a temporary file beside it (links\n"
         "  followed, the mode kept); a device, a pipe or a folder is refused, and\n"
         "  two options naming one file, however spelt, or an empty name are bad values\n"
         "\n"
         "Drags (after the drawing, in the order given; positions in -100000..100000):\n"
         "  --move FX,FY,TX,TY[,ctrl|,shift]\n"
         "                      one preview step of the moving mode from view pixel\n"
         "                      FX,FY to TX,TY, whatever the distance: the trackball\n"
         "                      turns the surface, ctrl pans, shift zooms; repeatable.\n"
         "                      After the last of a run of moves the picture is drawn\n"
         "                      again with the view kept, as on the button's release\n"
         "  --fit               after the drags, fit the view afresh and draw again, as\n"
         "                      \"Encuadrar\" does\n"
         "  --preview-map FILE  the picture of the last preview step, raw W x H RGB\n"
         "                      bytes, row by row from the top\n"
         "  --drag-node FX,FY,TX,TY[,up=K|,down=K]\n"
         "                      in the net-editing mode, press on the control point\n"
         "                      within 9 pixels of FX,FY (at 416 x 416, scaled with the\n"
         "                      view), move it to TX,TY as one timer step does, then K\n"
         "                      more steps with the Up (nearer) or Down (farther)\n"
         "                      arrow held; then draw again as on release.\n"
         "                      Prints \"node I J X Y Z\" (the panel's coordinates) or\n"
         "                      \"node I J unmoved\"; repeatable. A press that picks no\n"
         "                      point is refused\n"
         "\n"
         "Pointer (after the drawing and the drags, in the order given; X in 0..W-1,\n"
         "Y in 0..H-1):\n"
         "  --probe X,Y         print the read-out at view pixel X,Y as the moving mode\n"
         "                      shows it: u v x y z K H k1 k2 on one line (\"-\" for a\n"
         "                      curvature a singular point lacks), or \"-\" where no\n"
         "                      surface is visible; repeatable\n"
         "  --click X,Y         press at X,Y in the tracing mode: the lines switched on\n"
         "                      below go into the --png picture, and the message of an\n"
         "                      umbilic point is printed; repeatable\n"
         "  --coord-lines       \"Líneas coordenadas\" on\n"
         "  --curvature-lines   \"Líneas de curvatura\" on (the run through each family\n"
         "                      that is traced first is fixed, not random)\n"
         "  --segments FILE     per click a line \"click X Y\", then each line drawn:\n"
         "                      \"x0 y0 x1 y1 BBGGRR\" (end pixels, pen colour 0x00BBGGRR)\n"
         "\n") + kExportUsage + kMapUsage + kAnalysisUsage +
         "  --help              this text\n"
         "\n"
         "Exit status: 0 done; 1 the model cannot be drawn or a file cannot be written;\n"
         "2 a bad option or value (nothing is written).\n";
  return text.c_str();
}
