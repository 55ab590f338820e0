// Command line of quorlen-render: what to change in the model before the
// drawing and what to write after it.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

struct RenderOptions {
  bool help = false;

  // Model, applied in this order whatever the order on the command line.
  std::optional<std::string> open;
  std::optional<std::pair<int, int>> size;  // m, n
  std::optional<std::string> shape;         // plane, cylinder, sphere
  std::optional<int> kind;                  // 1, 2, 3
  bool rational = false;
  std::vector<PointEdit> points;
  std::vector<WeightEdit> weights;
  std::vector<TickEdit> ticksU, ticksV;

  // Outputs.
  std::optional<std::string> png, shadeMap, depthMap, polylines, save;
  bool net = false, cube = false, camera = false;

  // Pointer actions after the drawing, in the order given.
  std::vector<PointerAction> pointer;
  bool coordLines = false, curvatureLines = false;
  std::optional<std::string> segments;
};

// A bad command line: the message names the option.
struct OptionError {
  std::string message;
};

// Parses argv[1..argc-1]; throws OptionError. Values that depend on the
// model (indices against the net size, tick positions) are checked later,
// while they are applied.
RenderOptions ParseOptions(int argc, char** argv);

const char* UsageText();
