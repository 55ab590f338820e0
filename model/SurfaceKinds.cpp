#include "model/SurfaceKinds.h"

#include "model/BSpline.h"
#include "model/Bezier.h"
#include "model/ModelState.h"

void FijaFunciones() {
  switch (model.surfaceKind) {
    case 1:
      if (model.rationalSurface) {
        model.SurfacePoint = RationalBezierPoint;
        model.SurfacePointUV = RationalBezierPointUV;
      } else {
        model.SurfacePoint = BezierPoint;
        model.SurfacePointUV = BezierPointUV;
      }
      break;
    case 2:
      model.SurfacePoint = BSpline2Point;
      model.SurfacePointUV = BSpline2PointUV;
      break;
    case 3:
      model.SurfacePoint = BSpline3Point;
      model.SurfacePointUV = BSpline3PointUV;
      break;
    default:
      break;
  }
}

Point3 SurfacePointOf(const Surface& s, double u, double v) {
  switch (s.surfaceKind) {
    case 1:
      return s.rationalSurface ? RationalBezierSurfacePoint(s, u, v) : BezierSurfacePoint(s, u, v);
    case 2:
      return BSpline2SurfacePoint(s, u, v);
    case 3:
      return BSpline3SurfacePoint(s, u, v);
    default:
      qchk::RangeError();
  }
}

bool KindFitsNet(const Surface& s) {
  if (s.surfaceKind == 2 || s.surfaceKind == 3) return s.netM >= s.surfaceKind;
  return true;
}

bool KindFitsNet() { return KindFitsNet(CurrentSurface()); }

SurfaceColumnFn ColumnEvaluator(const Surface& s) {
  switch (s.surfaceKind) {
    case 1:
      return s.rationalSurface ? RationalBezierColumn : BezierColumn;
    case 2:
      return BSpline2Column;
    case 3:
      return BSpline3Column;
    default:
      return nullptr;
  }
}
