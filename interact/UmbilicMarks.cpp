#include "interact/UmbilicMarks.h"

#include "model/Projection.h"
#include "platform/RunChecks.h"

namespace {

constexpr uint32_t kInk = 0x00000000;

void Segment(Canvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

// The symbol drawn with its arms r pixels long (4 in the 416 view); a
// segment ends one pixel past its far end, as LineTo leaves that out.
void Symbol(Canvas& c, UmbilicClass k, int x, int y, int r) {
  c.penMode = PenMode::Copy;
  c.penColour = kInk;
  const int h = qchk::Round(r / 2.0);  // the star's slanted arms: 2 of 4
  switch (k) {
    case UmbilicClass::Lemon:
      c.brushColour = 0x00FFFFFF;
      c.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
      break;
    case UmbilicClass::Star:
      Segment(c, x - r, y, x + r + 1, y);
      Segment(c, x - h, y - r, x + h + 1, y + r + 1);
      Segment(c, x + h, y - r, x - h - 1, y + r + 1);
      break;
    case UmbilicClass::Monstar:
      Segment(c, x - r, y - r, x + r, y - r);
      Segment(c, x + r, y - r, x + r, y + r);
      Segment(c, x + r, y + r, x - r, y + r);
      Segment(c, x - r, y + r, x - r, y - r);
      Segment(c, x - r, y - r, x + r + 1, y + r + 1);
      Segment(c, x + r, y - r, x - r - 1, y + r + 1);
      break;
    case UmbilicClass::Degenerate:
      Segment(c, x, y - r, x + r, y);
      Segment(c, x + r, y, x, y + r);
      Segment(c, x, y + r, x - r, y);
      Segment(c, x - r, y, x, y - r);
      break;
  }
}

}  // namespace

int UmbilicMarkArm(const ViewSize& v) { return qchk::Round(4 * v.Scale()); }

bool UmbilicVisible(const Point3& S, ScreenPoint& q) {
  double x, y;
  ProjectToView(S, x, y);
  if (!(x >= 0 && x < model.view.width && y >= 0 && y < model.view.height)) return false;
  return PointVisible(S, q);
}

int DrawUmbilicMarks(Canvas& view, const UmbilicReport& r) {
  const int arm = UmbilicMarkArm(model.view);
  int drawn = 0;
  for (const UmbilicPoint& p : r.points) {
    ScreenPoint q;
    if (!UmbilicVisible(p.S, q)) continue;
    Symbol(view, p.cls, q.x, q.y, arm);
    ++drawn;
  }
  return drawn;
}
