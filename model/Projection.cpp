#include "model/Projection.h"

#include <cmath>

double Dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Point3 Cross(const Point3& a, const Point3& b) {
  return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

ViewCamera ModelCamera() {
  return ViewCamera{model.viewDir, model.screenX, model.screenY, model.focal, model.eyeDepth,
                    model.eyeX,    model.eyeY,    model.shiftX,  model.shiftY};
}

void ProjectUnshiftedWith(const ViewCamera& c, const Point3& p, double& x, double& y) {
  const double d = Dot(c.viewDir, p) - c.eyeDepth;
  const double s = qchk::Div(c.focal, d);
  x = (Dot(c.screenX, p) - c.eyeX) * s;
  y = (Dot(c.screenY, p) - c.eyeY) * s;
}

void ProjectWith(const ViewCamera& c, const Point3& p, double& x, double& y) {
  ProjectUnshiftedWith(c, p, x, y);
  x = x - c.shiftX;
  y = y - c.shiftY;
}

void ProjectToView(const Point3& p, double& x, double& y) { ProjectWith(ModelCamera(), p, x, y); }

void ProjectUnshifted(const Point3& p, double& x, double& y) {
  ProjectUnshiftedWith(ModelCamera(), p, x, y);
}

ScreenPoint ProjectToPixel(const Point3& p) {
  double x, y;
  ProjectToView(p, x, y);
  return ScreenPoint{qchk::Round(x), qchk::Round(y)};
}

int32_t PointDepth(const Point3& p) {
  const double dx = p.x - model.eye.x, dy = p.y - model.eye.y, dz = p.z - model.eye.z;
  const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
  return qchk::Round((len - model.depthOffset) * model.depthScale);
}
