// Bézier and rational Bézier surface points over the control net.
#pragma once

#include "model/ModelState.h"

// The Bernstein values of the last point evaluated on this thread (a
// drawing evaluates points on two threads).
extern thread_local CArr<double, 12> bernsteinU;
extern thread_local CArr<double, 12> bernsteinV;

Point3 BezierSurfacePoint(const Surface& s, double u, double v);
Point3 RationalBezierSurfacePoint(const Surface& s, double u, double v);

// The same on the current surface, for the installed slots.
Point3 BezierPoint(double u, double v);
Point3 BezierPointUV(ParamPair p);
Point3 RationalBezierPoint(double u, double v);
Point3 RationalBezierPointUV(ParamPair p);

// The points (u[k], v), k = 0..count - 1, bit for bit as the point
// functions give them, the sums along v done once.
void BezierColumn(const Surface& s, double v, int count, const double* u, Point3* out);
void RationalBezierColumn(const Surface& s, double v, int count, const double* u, Point3* out);
