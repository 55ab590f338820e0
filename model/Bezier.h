// Bézier and rational Bézier surface points over the control net.
#pragma once

#include "model/ModelState.h"

// The Bernstein values of the last point evaluated on this thread (a
// drawing evaluates points on two threads).
extern thread_local CArr<double, 12> bernsteinU;
extern thread_local CArr<double, 12> bernsteinV;

Point3 BezierPoint(double u, double v);
Point3 BezierPointUV(ParamPair p);
Point3 RationalBezierPoint(double u, double v);
Point3 RationalBezierPointUV(ParamPair p);
