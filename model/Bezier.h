// Bézier and rational Bézier surface points over the control net.
#pragma once

#include "model/ModelState.h"

extern CArr<double, 12> bernsteinU;
extern CArr<double, 12> bernsteinV;

Point3 BezierPoint(double u, double v);
Point3 BezierPointUV(ParamPair p);
Point3 RationalBezierPoint(double u, double v);
Point3 RationalBezierPointUV(ParamPair p);
