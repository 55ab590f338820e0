#include "interact/UmbilicMarks.h"

#include "model/Projection.h"

namespace {

constexpr uint32_t kInk = 0x00000000;

void Segment(Canvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

void Symbol(Canvas& c, UmbilicClass k, int x, int y) {
  c.penMode = PenMode::Copy;
  c.penColour = kInk;
  switch (k) {
    case UmbilicClass::Lemon:
      c.brushColour = 0x00FFFFFF;
      c.Ellipse(x - 4, y - 4, x + 5, y + 5);
      break;
    case UmbilicClass::Star:
      Segment(c, x - 4, y, x + 5, y);
      Segment(c, x - 2, y - 4, x + 3, y + 5);
      Segment(c, x + 2, y - 4, x - 3, y + 5);
      break;
    case UmbilicClass::Monstar:
      Segment(c, x - 4, y - 4, x + 4, y - 4);
      Segment(c, x + 4, y - 4, x + 4, y + 4);
      Segment(c, x + 4, y + 4, x - 4, y + 4);
      Segment(c, x - 4, y + 4, x - 4, y - 4);
      Segment(c, x - 4, y - 4, x + 5, y + 5);
      Segment(c, x + 4, y - 4, x - 5, y + 5);
      break;
    case UmbilicClass::Degenerate:
      Segment(c, x, y - 4, x + 4, y);
      Segment(c, x + 4, y, x, y + 4);
      Segment(c, x, y + 4, x - 4, y);
      Segment(c, x - 4, y, x, y - 4);
      break;
  }
}

}  // namespace

bool UmbilicVisible(const Point3& S, ScreenPoint& q) {
  double x, y;
  ProjectToView(S, x, y);
  if (!(x >= 0 && x < kView && y >= 0 && y < kView)) return false;
  return PointVisible(S, q);
}

int DrawUmbilicMarks(Canvas& view, const UmbilicReport& r) {
  int drawn = 0;
  for (const UmbilicPoint& p : r.points) {
    ScreenPoint q;
    if (!UmbilicVisible(p.S, q)) continue;
    Symbol(view, p.cls, q.x, q.y);
    ++drawn;
  }
  return drawn;
}
