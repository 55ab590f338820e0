#include "model/Bezier.h"

CArr<double, 12> bernsteinU;
CArr<double, 12> bernsteinV;

namespace {

void Bernstein(CArr<double, 12>& b, int deg, double t) {
  b[0] = 1.0;
  for (int k = 1; k <= deg; ++k) b[k] = b[k - 1] * t;
  double s = 1.0;
  for (int k = deg - 1; k >= 0; --k) {
    s = s * (1.0 - t);
    b[k] = binomialTable[k][deg] * b[k] * s;
  }
}

}  // namespace

Point3 BezierPoint(double u, double v) {
  const int m = model.netM, n = model.netN;
  Bernstein(bernsteinU, m, u);
  Bernstein(bernsteinV, n, v);
  Point3 p{0, 0, 0};
  for (int i = 0; i <= m; ++i) {
    const NetRow& row = model.controlNet[i];
    Point3 r{0, 0, 0};
    for (int j = 0; j <= n; ++j) {
      const double b = bernsteinV[j];
      const NetPoint& c = row[j];
      r.x = r.x + b * c.x;
      r.y = r.y + b * c.y;
      r.z = r.z + b * c.z;
    }
    const double b = bernsteinU[i];
    p.x = p.x + b * r.x;
    p.y = p.y + b * r.y;
    p.z = p.z + b * r.z;
  }
  return p;
}

Point3 BezierPointUV(ParamPair p) { return BezierPoint(p.u, p.v); }

Point3 RationalBezierPoint(double u, double v) {
  const int m = model.netM, n = model.netN;
  Bernstein(bernsteinU, m, u);
  Bernstein(bernsteinV, n, v);
  Point3 p{0, 0, 0};
  double w = 0.0;
  for (int i = 0; i <= m; ++i) {
    const NetRow& row = model.controlNet[i];
    Point3 r{0, 0, 0};
    double s = 0.0;
    for (int j = 0; j <= n; ++j) {
      const NetPoint& c = row[j];
      const double bw = bernsteinV[j] * c.w;
      r.x = r.x + bw * c.x;
      r.y = r.y + bw * c.y;
      r.z = r.z + bw * c.z;
      s = s + bw;
    }
    const double b = bernsteinU[i];
    p.x = p.x + b * r.x;
    p.y = p.y + b * r.y;
    p.z = p.z + b * r.z;
    w = w + b * s;
  }
  // A vanishing weight sum returns the weighted sum itself rather than failing.
  if (w > 1e-13) {
    p.x = p.x / w;
    p.y = p.y / w;
    p.z = p.z / w;
  }
  return p;
}

Point3 RationalBezierPointUV(ParamPair p) { return RationalBezierPoint(p.u, p.v); }
