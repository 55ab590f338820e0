#include "interact/CurvatureMapping.h"

#include "interact/LineTracing.h"

bool MapPixelParams(int x, int y, ParamPair& uv) {
  Point3 P;
  return PixelLookup(x, y, uv, P);
}

MapResult ApplyCurvatureMap(MapQuantity q, const MapRange& chosen) {
  MapResult r;
  if (q == MapQuantity::None) return r;
  r.quantity = q;
  ComputeMapValues(q, MapPixelParams, r.values);
  r.range = RangeInForce(q, chosen, r.values);
  PaintCurvatureMap(q, r.values, r.range);
  return r;
}
