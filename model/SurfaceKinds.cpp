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

bool KindFitsNet() {
  if (model.surfaceKind == 2 || model.surfaceKind == 3) return model.netM >= model.surfaceKind;
  return true;
}

SurfaceColumnFn ColumnEvaluator(SurfacePointFn point) {
  if (point == BezierPoint) return BezierColumn;
  if (point == RationalBezierPoint) return RationalBezierColumn;
  if (point == BSpline2Point) return BSpline2Column;
  if (point == BSpline3Point) return BSpline3Column;
  return nullptr;
}
