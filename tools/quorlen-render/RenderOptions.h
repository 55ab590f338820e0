// Command line of quorlen-render: what to change in the model before the
// drawing and what to write after it.
#pragma once

#include "model/ModelState.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tools/quorlen-render/AnalysisOptions.h"
#include "tools/quorlen-render/MapOptions.h"

struct PointEdit {
  int i, j;
  double x, y, z;
};

struct WeightEdit {
  int i, j;
  double w;
};

struct TickEdit {
  int k, pos;
};

// A pointer action on the drawn view: the read-out under a pixel, or a press
// in the tracing mode.
struct PointerAction {
  enum Kind { Probe, Click } kind;
  int x, y;
};

// A left drag on the drawn view, as the window's mouse handlers run it: one
// preview step of the moving mode (Ctrl pans, Shift zooms), or a control
// point picked at (fx, fy), moved to (tx, ty) by one timer step and then by
// `ticks` more with an arrow key held (arrow 1 Up, -1 Down).
struct DragAction {
  enum Kind { Move, Node } kind;
  int fx, fy, tx, ty;
  bool ctrl = false, shift = false;
  int arrow = 0;
  int ticks = 0;
};

struct RenderOptions {
  bool help = false;

  // The view's size in pixels (--view W,H).
  ViewSize view;

  // Model, applied in this order whatever the order on the command line.
  std::optional<std::string> open;
  std::optional<std::pair<int, int>> size;  // m, n
  std::optional<std::string> shape;         // plane, cylinder, sphere
  std::optional<int> kind;                  // 1, 2, 3
  bool rational = false;
  std::vector<PointEdit> points;
  std::vector<WeightEdit> weights;
  std::vector<TickEdit> ticksU, ticksV;
  // Then the last `undo` of those edits undone, and `redo` of them redone.
  size_t undo = 0, redo = 0;

  // Outputs.
  std::optional<std::string> png, shadeMap, depthMap, polylines, save;
  bool net = false, cube = false, camera = false;

  // Drags after the drawing, in the order given; the picture of the last
  // preview step.
  std::vector<DragAction> drags;
  std::optional<std::string> previewMap;
  // "Encuadrar" after the drags: the view fitted afresh and drawn.
  bool fit = false;

  // Pointer actions after the drawing and the drags, in the order given.
  std::vector<PointerAction> pointer;
  bool coordLines = false, curvatureLines = false;
  std::optional<std::string> segments;

  MapOptions map;
  AnalysisOptions analysis;

  // Exports, after the other outputs.
  struct MeshExport {
    std::string file;
    int n;
  };
  std::optional<std::string> exportPng, exportSvg, exportCsv, exportStep, exportIges;
  std::optional<MeshExport> exportObj, exportStl;
};

// A bad command line: the message names the option.
struct OptionError {
  std::string message;
};

// Throws OptionError "option: what".
[[noreturn]] void Fail(const std::string& option, const std::string& what);
// What Fail says of an option given twice.
std::string GivenTwice();

// Parses argv[1..argc-1]; throws OptionError. Values that depend on the
// model (indices against the net size, tick positions) are checked later,
// while they are applied.
RenderOptions ParseOptions(int argc, char** argv);

// The --help text, in the installed language.
std::string UsageText();
