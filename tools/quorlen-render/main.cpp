// quorlen-render: the drawing cycle of the window's "Dibújala" without the
// window, writing the picture and the buffers behind it to files.
#include <QCoreApplication>

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "messages/Language.h"
#include "messages/MessageText.h"
#include "pictures/PictureFiles.h"
#include "interact/DrawingCycle.h"
#include "interact/ModelEdits.h"
#include "interact/NetDrawing.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "render/ViewSetup.h"
#include "platform/FileKind.h"
#include "platform/RunChecks.h"
#include "tools/quorlen-render/Clicks.h"
#include "tools/quorlen-render/Drags.h"
#include "tools/quorlen-render/Exports.h"
#include "tools/quorlen-render/OutputFiles.h"
#include "tools/quorlen-render/RenderOptions.h"
#include "tools/quorlen-render/ToolText.h"

namespace {

constexpr int kBadOptions = 2;
constexpr int kCannotDraw = 1;

// A failure after the options were accepted.
struct DrawError {
  std::string message;
};

void CheckNetIndex(const char* option, int i, int j) {
  if (i < 0 || i > model.netM || j < 0 || j > model.netN)
    Fail(option, Say(Tool::tr("el punto (%1,%2) queda fuera de la red 0..%3 x 0..%4"), i, j, model.netM, model.netN));
}

// --tick-u / --tick-v: each tick is placed in the order given (one edit
// each), then the layout must be one that dragging could reach: only inner
// ticks move, and neighbours stay at least 2 pixels apart in their order
// along the slider.
void PlaceTick(const char* option, bool horizontal, const TickEdit& t) {
  const int last = horizontal ? model.netM : model.netN;
  if (t.k < 1 || t.k > last - 1)
    Fail(option, Say(Tool::tr("el nudo %1 no es un nudo interior (1..%2)"), t.k, last - 1));
  (horizontal ? model.tickPosH : model.tickPosV)[t.k] = t.pos;
}

void CheckTickLayout(const char* option, bool horizontal) {
  const int last = horizontal ? model.netM : model.netN;
  auto& pos = horizontal ? model.tickPosH : model.tickPosV;
  for (int k = 1; k <= last; ++k) {
    const int gap = horizontal ? pos[k] - pos[k - 1] : pos[k - 1] - pos[k];
    if (gap < 2)
      Fail(option, Say(Tool::tr("los nudos %1 y %2 quedarían en %3 y %4 (han de seguir en orden, a 2 píxeles uno "
                                "de otro)"),
                       k - 1, k, pos[k - 1], pos[k]));
  }
}

// The model the drawing starts from, each model option one undoable edit
// as the window makes it, then --undo and --redo; throws OptionError for
// values that do not fit it. Returns keepView: a surface file's view is
// kept while its reading is not undone.
bool BuildModel(const RenderOptions& o) {
  if (!InitModelState(o.view)) throw DrawError{Say(Tool::tr("no hay memoria para las imágenes de la vista"))};
  StartupModel();
  EditHistory history;
  auto edit = [&history](EditKind kind, auto&& change) {
    ModelEdit e(kind, CaptureModel());
    change();
    e.Finish();
    history.Push(std::move(e));
  };
  bool cad = false;  // STEP and IGES hold no view
  if (o.open) edit(EditKind::Open, [&] {
    // A named pipe would hold the reading for ever.
    UserMessage reason;
    if (!CheckRegularFile(*o.open, reason)) throw OptionError{"--open: " + *o.open + ": " + MessageTextUtf8(reason)};
    if (OpenCadFile(*o.open)) {
      cad = true;
      return;
    }
    switch (DelDisco(*o.open)) {
      case SurfaceFileRead::Loaded: break;
      case SurfaceFileRead::WrongMagic:
        Fail("--open", Say(Tool::tr("%1 no es un archivo de superficie"), *o.open));
      case SurfaceFileRead::Invalid: Fail("--open", Say(Tool::tr("%1 está dañado"), *o.open));
      case SurfaceFileRead::IoError: Fail("--open", Say(Tool::tr("no se puede leer %1"), *o.open));
    }
  });
  // --size: what typing m and n in the panel does.
  if (o.size) edit(EditKind::NetSize, [&] { ResizeNet(o.size->first, o.size->second); });
  if (o.shape) edit(EditKind::Shape, [&] {
    ExactShape exact;
    if (ExactShapeFromWord(o.shape->c_str(), exact)) ExactShapeModel(exact);
    else if (*o.shape == "plane") PlaneNet();
    else if (*o.shape == "cylinder") CylinderNet();
    else SphereNet();
  });
  if (o.kind) edit(EditKind::SurfaceKind, [&] {
    model.surfaceKind = *o.kind;
    FijaFunciones();
  });
  if (o.rational) edit(EditKind::Rational, [] {
    model.rationalSurface = true;
    FijaFunciones();
  });
  for (const PointEdit& p : o.points)
    edit(EditKind::Coordinates, [&] {
      CheckNetIndex("--point", p.i, p.j);
      NetPoint& c = model.controlNet[p.i][p.j];
      c.x = p.x;
      c.y = p.y;
      c.z = p.z;
    });
  for (const WeightEdit& w : o.weights)
    edit(EditKind::Coordinates, [&] {
      CheckNetIndex("--weight", w.i, w.j);
      model.controlNet[w.i][w.j].w = w.w;
    });
  for (const TickEdit& t : o.ticksU) edit(EditKind::KnotTick, [&] { PlaceTick("--tick-u", true, t); });
  for (const TickEdit& t : o.ticksV) edit(EditKind::KnotTick, [&] { PlaceTick("--tick-v", false, t); });
  const size_t made = history.UndoCount();
  if (!history.Undo(o.undo))
    Fail("--undo", Say(Tool::tr("se piden %1 cambios; cambios hechos: %2"), o.undo, made));
  if (!history.Redo(o.redo))
    Fail("--redo", Say(Tool::tr("se piden %1 cambios; cambios deshechos: %2"), o.redo, history.RedoCount()));
  if (!o.ticksU.empty()) CheckTickLayout("--tick-u", true);
  if (!o.ticksV.empty()) CheckTickLayout("--tick-v", false);
  return history.Done(EditKind::Open) && !cad;
}

// A surface file's camera is that of the 416 x 416 view: scaled to this
// view and centred in it, it shows the same picture.
void FitFileCameraToView() { ScaleCameraToView(ViewSize{}, model.view); }

// The draw button's cycle: render, filter, bitmap, traced box and net.
void Draw(bool keepView) {
  if (!KindFitsNet())
    throw DrawError{Say(Tool::tr("una B-spline de grado %1 necesita m >= %1 (m es %2)"), model.surfaceKind,
                        model.netM)};
  if (DrawWhole(keepView) == RenderResult::Degenerate)
    throw DrawError{Say(Tool::tr("la superficie se reduce a un punto: no hay nada que dibujar"))};
}

// The view after the drawing: the picture, then the overlays in the order
// the display options draw them. Every line drawn on it from here on is
// logged in `overlay`.
Canvas ViewAfterDrawing(bool net, bool cube, std::vector<DrawnLine>& overlay) {
  Canvas view(model.view.width, model.view.height);
  view.Draw(0, 0, *model.pictureBitmap);
  view.lineLog = &overlay;
  if (net) DrawNet(view);
  if (cube) DrawSegmentList(view);
  return view;
}

std::string ShadeMapBytes() {
  const ShadeGrid& shade = *model.shadeMap;
  return std::string(reinterpret_cast<const char*>(shade.data()), shade.size());
}

std::string DepthMapBytes() {
  std::string b;
  const int W = model.view.width, H = model.view.height;
  b.reserve(static_cast<size_t>(W) * H * 4);
  for (int x = 0; x < W; ++x)
    for (int y = 0; y < H; ++y) {
      const uint32_t d = static_cast<uint32_t>(model.pixelCells[x][y].depth);
      for (int k = 0; k < 4; ++k) b.push_back(static_cast<char>((d >> (8 * k)) & 0xFF));
    }
  return b;
}

// Entries up to and including the end marker, one "x y" a line.
void AppendEntries(std::string& text, const Polyline& line) {
  for (long k = 0; k < line.size(); ++k) {
    const ScreenPoint& e = line[k];
    text += std::to_string(e.x) + " " + std::to_string(e.y) + "\n";
    if (IsEndMark(e)) break;
  }
}

// The box, then the net edges in the order they are traced.
std::string PolylinesText() {
  std::string t = "box\n";
  AppendEntries(t, model.segmentList);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 1; j <= model.netN; ++j) {
      t += "J " + std::to_string(i) + " " + std::to_string(j) + "\n";
      AppendEntries(t, model.EdgeLinesJ[i][j]);
    }
  for (int j = 0; j <= model.netN; ++j)
    for (int i = 1; i <= model.netM; ++i) {
      t += "I " + std::to_string(i) + " " + std::to_string(j) + "\n";
      AppendEntries(t, model.EdgeLinesI[i][j]);
    }
  return t;
}

void PrintCamera() {
  auto vec = [](const char* name, const Point3& p) { std::printf("%s %.17g %.17g %.17g\n", name, p.x, p.y, p.z); };
  vec("eye", model.eye);
  vec("viewDir", model.viewDir);
  vec("screenX", model.screenX);
  vec("screenY", model.screenY);
  std::printf("focal %.17g\n", model.focal);
  std::printf("shiftX %.17g\n", model.shiftX);
  std::printf("shiftY %.17g\n", model.shiftY);
}

// A surface file holds the 416 x 416 view's camera, whatever the view
// drawn: this view's camera scaled back for the writing, then restored, so
// that the file opens at any size showing what this view shows.
void SaveSurfaceFile(const std::string& name) {
  const double focal = model.focal, shiftX = model.shiftX, shiftY = model.shiftY;
  ScaleCameraToView(model.view, ViewSize{});
  UserMessage why;
  const bool saved = alDisco(name, &why);
  model.focal = focal;
  model.shiftX = shiftX;
  model.shiftY = shiftY;
  if (!saved) throw DrawError{Say(Tool::tr("no se puede escribir %1: %2"), name, MessageTextUtf8(why))};
}

void WriteOutputs(const RenderOptions& o, const Canvas& view) {
  if (o.png) WriteOutputFile(*o.png, PngBytes(ViewFileImage(view)));
  if (o.shadeMap) WriteOutputFile(*o.shadeMap, ShadeMapBytes());
  if (o.depthMap) WriteOutputFile(*o.depthMap, DepthMapBytes());
  if (o.polylines) WriteOutputFile(*o.polylines, PolylinesText());
  if (o.save) SaveSurfaceFile(*o.save);
  if (o.camera) PrintCamera();
}

}  // namespace

int main(int argc, char** argv) {
  // The application only carries the translators: it reads none of the
  // tool's arguments, and the numbers the tool reads and writes stay in the
  // C locale whatever the environment's (the application sets it).
  int appArgc = 1;
  char* appArgv[] = {argv[0], nullptr};
  QCoreApplication app(appArgc, appArgv);
  std::setlocale(LC_ALL, "C");
  InstallLanguage(SystemLanguage());

  RenderOptions options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const OptionError& e) {
    std::fprintf(stderr, "quorlen-render: %s\n", e.message.c_str());
    return kBadOptions;
  }
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  try {
    const bool keepView = BuildModel(options);
    if (keepView) FitFileCameraToView();
    Draw(keepView);
    RunDrags(options);
    if (options.fit) Draw(false);
    const MapResult map = ApplyMapOptions(options.map);
    ApplyAnalysisPicture(options.analysis);
    std::vector<DrawnLine> overlay;
    Canvas view = ViewAfterDrawing(options.net, options.cube, overlay);
    std::string listing;
    RunAnalysisOptions(options.analysis, view, options.segments ? &listing : nullptr);
    RunPointerActions(options, view, listing);
    view.lineLog = nullptr;
    WriteOutputs(options, view);
    WriteMapOutputs(options.map, map);
    std::optional<Canvas> legend;
    if (map.quantity != MapQuantity::None) legend = DrawLegend(map.quantity, map.range, MessageTextUtf8);
    WriteExports(options, *model.pictureBitmap, view, overlay, legend ? &*legend : nullptr);
  } catch (const OptionError& e) {
    std::fprintf(stderr, "quorlen-render: %s\n", e.message.c_str());
    return kBadOptions;
  } catch (const DrawError& e) {
    std::fprintf(stderr, "quorlen-render: %s\n", e.message.c_str());
    return kCannotDraw;
  } catch (const qchk::RunError& e) {
    std::fprintf(stderr, "quorlen-render: %s\n", Say(Tool::tr("el dibujo falló: %1"), e.what()).c_str());
    return kCannotDraw;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorlen-render: %s\n", e.what());
    return kCannotDraw;
  }
  return 0;
}
