// B-spline surfaces of degree 2 and 3, plain or rational (read from the
// surface's rational flag on every call), by de Boor's algorithm.
#pragma once

#include "model/ModelState.h"

// Homogeneous row-curve point (X, Y, Z, W). For plain surfaces an end of the
// curve is the control point as stored and an inner point has W = 1.
// The net size and rational flag are those of s.
NetPoint RowPoint2(const Surface& s, const NetRow& row, const CArr<double, 16>& knots, double t);
NetPoint RowPoint3(const Surface& s, const NetRow& row, const CArr<double, 16>& knots, double t);
// The same on the current surface (convenience form).
NetPoint RowPoint2(const NetRow& row, const CArr<double, 16>& knots, double t);
NetPoint RowPoint3(const NetRow& row, const CArr<double, 16>& knots, double t);

Point3 BSpline2SurfacePoint(const Surface& s, double u, double v);
Point3 BSpline3SurfacePoint(const Surface& s, double u, double v);

// The same on the current surface, for the installed slots.
Point3 BSpline2Point(double u, double v);
Point3 BSpline2PointUV(ParamPair p);
Point3 BSpline3Point(double u, double v);
Point3 BSpline3PointUV(ParamPair p);

// The points (u[k], v), k = 0..count - 1, bit for bit as the point
// functions give them, the work that depends on v alone done once. A point
// that would fail may fail at another point first: evaluate one by one
// then.
void BSpline2Column(const Surface& s, double v, int count, const double* u, Point3* out);
void BSpline3Column(const Surface& s, double v, int count, const double* u, Point3* out);
