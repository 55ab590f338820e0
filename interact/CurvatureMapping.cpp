#include "interact/CurvatureMapping.h"

#include "interact/LineTracing.h"

bool MapPixelParams(int x, int y, ParamPair& uv) {
  Point3 P;
  return PixelLookup(x, y, uv, P);
}

bool MapPixelGeometry(int x, int y, ParamPair& uv, SurfaceDerivs& d, bool& haveDerivs) {
  return PixelLookupWithDerivatives(x, y, uv, d, haveDerivs);
}

MapResult ApplyCurvatureMap(MapQuantity q, const MapRange& chosen) {
  MapResult r;
  if (q == MapQuantity::None) return r;
  r.quantity = q;
  ComputeMapValues(q, MapPixelGeometry, r.values);
  r.range = RangeInForce(q, chosen, r.values);
  PaintCurvatureMap(q, r.values, r.range);
  return r;
}
