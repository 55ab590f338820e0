// The surface under a pixel of the last render: the parameters whose point
// s shows there. The pixels' parameters and depths and the camera are the
// model's; the surface is the one given.
#pragma once

#include "model/ModelState.h"
#include "model/SurfaceDerivatives.h"

// The surface under view pixel (x, y) of the last render: false on the
// background. uv is refined by one Newton step so that P projects onto the
// pixel itself; where that step lands more than half a pixel off (a narrow
// knot span, the outline), Newton on the projection carries on until P
// projects within 0.01 px, keeping the nearest visible point it meets.
// x and y must lie in 0..W and 0..H of the view W x H (checked).
bool PixelLookup(const Surface& s, int x, int y, ParamPair& uv, Point3& P);
bool PixelLookup(const Surface& s, int x, int y, ParamPair& uv);

// The same uv, for the curvature map, with the exact derivatives there in d
// where the look-up had them to hand (haveDerivs true): the map's work of a
// pixel then needs one surface evaluation less.
bool PixelLookupWithDerivatives(const Surface& s, int x, int y, ParamPair& uv, SurfaceDerivs& d, bool& haveDerivs);
