#include "interact/CurvatureNet.h"

#include <cmath>
#include <deque>
#include <vector>

#include "interact/LineTracing.h"
#include "model/Curvature.h"
#include "model/Projection.h"
#include "platform/Events.h"
#include "platform/RunChecks.h"

namespace {

constexpr int kMaxSteps = 4000;
constexpr int kEventInterval = 25;

struct Sample {
  double x, y;
  int line;
  double along;   // screen length from the line's seed, signed by direction
  double tx, ty;  // unit direction of the line there on the view
};

// The samples of one family, bucketed in square cells of the test distance
// over the view.
class Occupancy {
 public:
  explicit Occupancy(double cell)
      : cell_(cell), nx_(CellsAcross(model.view.width, cell)), ny_(CellsAcross(model.view.height, cell)) {
    cells_.resize(static_cast<size_t>(nx_) * static_cast<size_t>(ny_));
  }
  void Add(const Sample& s) { cells_[Index(s.x, s.y)].push_back(s); }
  // Whether a sample lies within d of (x, y); samples of `line` count only
  // when more than `gap` away along it from `along`.
  bool Near(double x, double y, double d, int line = -1, double along = 0, double gap = 0) const {
    const int cx = Clamp(x, nx_), cy = Clamp(y, ny_);
    const int reach = qchk::Ceil(d / cell_);
    for (int i = cx - reach; i <= cx + reach; ++i)
      for (int j = cy - reach; j <= cy + reach; ++j) {
        if (i < 0 || j < 0 || i >= nx_ || j >= ny_) continue;
        for (const Sample& s : cells_[static_cast<size_t>(i) * ny_ + j]) {
          if (s.line == line && std::fabs(s.along - along) <= gap) continue;
          const double dx = s.x - x, dy = s.y - y;
          if (dx * dx + dy * dy < d * d) return true;
        }
      }
    return false;
  }

 private:
  static int CellsAcross(int side, double cell) { return qchk::Ceil(side / cell) + 1; }
  int Clamp(double t, int n) const {
    const double k = std::floor(t / cell_);
    return k < 0 ? 0 : k >= n ? n - 1 : static_cast<int>(k);
  }
  size_t Index(double x, double y) const { return static_cast<size_t>(Clamp(x, nx_)) * ny_ + Clamp(y, ny_); }
  double cell_;
  int nx_, ny_;
  std::vector<std::vector<Sample>> cells_;
};

// The view position of a surface point, false when it is off the view or
// hidden by the surface.
bool OnView(const Point3& P, double& x, double& y) {
  ProjectToView(P, x, y);
  if (!(x >= 0 && x < model.view.width && y >= 0 && y < model.view.height)) return false;
  ScreenPoint q;
  return PointVisible(P, q);
}

struct NetState {
  Canvas& view;
  const Surface& surface;
  double spacing;
  Occupancy occ[2];
  std::vector<Sample> lineSamples;  // of the line being traced
  CurvatureNetResult result;
  int lineCount = 0;
  int eventCounter = 0;
};

void Draw(NetState& s, int family, const Point3& a, const Point3& b) {
  DrawShadedSegment3D(s.view, a, b, family == 0 ? model.redLineColours : model.blueLineColours, 1, 15);
}

// One half of a line from seed along d; samples go into the family's
// occupancy as they are reached, so the line also stops short of itself
// when it closes.
void TraceHalf(NetState& s, int family, ParamPair seed, ParamPair d, double sign) {
  const double halfDiagonal = model.view.HalfPixelDiagonalStep();
  const double pieceStep = model.view.ThreeAndHalfPixelStep();
  const double minStep = halfDiagonal * 0.02;
  double h = halfDiagonal / (std::fabs(d.u) + std::fabs(d.v));
  double hUsed = h;
  ParamPair ref = d, pos = seed;
  CurvatureSlopes k{};
  double l = 0;
  Point3 last = SurfacePointOf(s.surface, seed);
  double lx, ly;
  ProjectToView(last, lx, ly);
  double along = 0;
  const double test = s.spacing / 2;
  for (int step = 0; step < kMaxSteps; ++step) {
    if (++s.eventCounter % kEventInterval == 0) {
      ProcessPendingEvents();
      if (model.stopRequested) {
        s.result.stopped = true;
        return;
      }
    }
    const ParamPair prev = pos;
    if (!AdaptiveCurvatureStep(s.surface, family, pos, h, ref, hUsed, l, k)) return;  // an umbilic
    if (l < minStep || BorderMargin(pos) <= 0) return;
    ++s.result.steps;
    // The step in pieces of about 3.5 pixels' worth, as the clicked lines.
    const int32_t n = qchk::Round(l / pieceStep + 1);
    for (int32_t f = 1; f <= n; ++f) {
      const Point3 q = SurfacePointOf(s.surface, CurvatureDenseOutput(prev, k, hUsed, static_cast<double>(f) / n));
      double x, y;
      if (!OnView(q, x, y)) return;
      const double seg = std::hypot(x - lx, y - ly);
      along += sign * seg;
      if (s.occ[family].Near(x, y, test, s.lineCount, along, 2 * s.spacing)) return;
      Draw(s, family, last, q);
      const Sample smp{x, y, s.lineCount, along, seg > 0 ? (x - lx) / seg : 0, seg > 0 ? (y - ly) / seg : 0};
      s.occ[family].Add(smp);
      s.lineSamples.push_back(smp);
      last = q;
      lx = x;
      ly = y;
    }
  }
}

// Traces the whole line of `family` through the surface under view point
// (x, y), if that point is free; its samples become seeds' bases.
bool TraceLine(NetState& s, int family, double x, double y, std::deque<Sample>& bases) {
  if (x < 0 || y < 0 || x >= model.view.width || y >= model.view.height) return false;
  if (s.occ[family].Near(x, y, s.spacing * 0.99)) return false;
  ParamPair uv;
  Point3 P;
  if (!PixelLookup(s.surface, qchk::Trunc(x), qchk::Trunc(y), uv, P)) return false;
  double px, py;
  if (!OnView(P, px, py) || s.occ[family].Near(px, py, s.spacing * 0.99)) return false;
  ParamPair d;
  if (!PrincipalDirection(s.surface, uv, ParamPair{0.6, 0.8}, family, d, model.sceneDiag)) return false;  // umbilic
  s.lineSamples.clear();
  const Sample first{px, py, s.lineCount, 0, 0, 0};
  s.occ[family].Add(first);
  s.lineSamples.push_back(first);
  TraceHalf(s, family, uv, d, 1);
  if (!s.result.stopped) TraceHalf(s, family, uv, ParamPair{-d.u, -d.v}, -1);
  ++s.lineCount;
  ++s.result.lines[family];
  for (const Sample& b : s.lineSamples) bases.push_back(b);
  return true;
}

}  // namespace

CurvatureNetResult DrawCurvatureNet(Canvas& view, const Surface& surface, double defaultViewSpacing) {
  // In this view's pixels: a larger view holds the same net, finer.
  const double spacing = defaultViewSpacing * model.view.Scale();
  NetState s{view, surface, spacing, {Occupancy(spacing / 2), Occupancy(spacing / 2)}, {}, {}, 0, 0};
  view.penMode = PenMode::Copy;
  for (int family = 0; family <= 1 && !s.result.stopped; ++family) {
    std::deque<Sample> bases;
    // New lines start a spacing away, across the screen, from the points of
    // the lines already drawn; where that leaves parts of the view bare (a
    // separate visible piece, or the start), a grid of seeds fills in.
    const int grid = qchk::Trunc(spacing);
    for (int gx = grid / 2; gx < model.view.width && !s.result.stopped; gx += grid)
      for (int gy = grid / 2; gy < model.view.height && !s.result.stopped; gy += grid) {
        if (!TraceLine(s, family, gx, gy, bases)) continue;
        while (!bases.empty() && !s.result.stopped) {
          const Sample b = bases.front();
          bases.pop_front();
          if (b.tx == 0 && b.ty == 0) continue;
          // A spacing away on either side, across the line on the view.
          for (int side = -1; side <= 1 && !s.result.stopped; side += 2)
            TraceLine(s, family, b.x - side * spacing * b.ty, b.y + side * spacing * b.tx, bases);
        }
      }
  }
  return s.result;
}
