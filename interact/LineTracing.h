// Pointing at the surface: the pixel look-up, the point read-out under the
// pointer, and the lines drawn through a clicked point (the two coordinate
// lines and the four half-lines of curvature).
#pragma once

#include <optional>
#include <string>

#include "model/Curvature.h"
#include "model/ModelState.h"
#include "model/SurfaceDerivatives.h"
#include "platform/Canvas.h"

// What the tracer reports when the clicked point has no distinguished
// principal directions.
extern const char* const kUmbilicMessage;

// The surface under view pixel (x, y) of the last render: false on the
// background. uv is refined by one Newton step so that P projects onto the
// pixel itself; where that step lands more than half a pixel off (a narrow
// knot span, the outline), Newton on the projection carries on until P
// projects within 0.01 px, keeping the nearest visible point it meets.
// x and y must lie in 0..416 (checked).
bool PixelLookup(int x, int y, ParamPair& uv, Point3& P);

// The same uv, for the curvature map, with the exact derivatives there in d
// where the look-up had them to hand (haveDerivs true): the map's work of a
// pixel then needs one surface evaluation less.
bool PixelLookupWithDerivatives(int x, int y, ParamPair& uv, SurfaceDerivs& d, bool& haveDerivs);

// The two parameter lines through uv, each across the whole square.
void DrawCoordinateLines(Canvas& view, ParamPair uv);

// The four half-lines of curvature from start. Returns the umbilic message
// when the principal directions were not found at start (and the curvature
// lines are switched on), else "". Polls window events every 25 steps; a
// stop request ends only the line being traced. The random reference that
// decides which way each family is traced first is drawn from a generator
// seeded from the clock.
std::string TraceCurvatureLines(Canvas& view, ParamPair start);
// The same with a given reference (not (0, 0)): the first run of each
// family leaves in the direction opposite to it.
std::string TraceCurvatureLinesFrom(Canvas& view, ParamPair start, ParamPair reference);

// The work of a press in the tracing mode once PixelLookup found uv: erase
// the probe cross, then the coordinate lines and the curvature lines as
// switched on. Returns the tracer's message ("" or the umbilic message).
// Without a reference the curvature tracer draws a random one.
std::string TraceLinesThrough(Canvas& view, ParamPair uv, std::optional<ParamPair> reference = std::nullopt);

// Erases the probe cross drawn at model.lastProbe, if one is shown.
void EraseProbeMark(Canvas& view);

// The nine texts of the point read-out: u, v, x, y, z and K, H, k1, k2.
struct PointReadout {
  std::string u, v, x, y, z;
  CurvatureTextSet curvatures;
};

// The read-out under the pointer at view pixel (x, y): erases the previous
// probe cross; where the surface is visible, fills `texts` and returns true.
// With the curvature lines on and the surface not movable it draws the new
// cross where the principal directions are distinguished (its curvature
// texts use `markSeparator`, the user's decimal separator); otherwise
// the curvature texts use ".". The point texts always use ".". Does nothing
// while busy or without a valid picture; a position off the view counts as
// background.
bool ProbeReadOut(Canvas& view, int x, int y, PointReadout& texts, const std::string& markSeparator = ".");

// Internal steps, exposed for tests and benchmarks.

// min(0.5 - |u - 0.5|, 0.5 - |v - 0.5|): positive strictly inside the square.
double BorderMargin(ParamPair uv);

// Newton search for the parameters whose point is nearest to T, from uv with
// surface point S0. On convergence stores them in uv and returns their
// border margin; -1 (uv untouched) when it fails.
double ProjectToSurface(const Point3& T, const Point3& S0, ParamPair& uv);

// Looks for another place of the square showing P1 (the point after a step
// from P0 that reached the border). On success moves uv there, sets dir to
// the parameter direction of P1 - P0 (unless the form is degenerate) and
// returns the new border margin; -1 otherwise.
// The surface at the centres of the seam search's 20 x 20 cells, each
// evaluated when a search first reaches it: every search of one trace
// looks at the same points.
struct SeamGrid {
  bool have[20][20] = {};
  Point3 S[20][20];
  const Point3& At(int i, int j);
};
double FindSeamPoint(const Point3& P0, const Point3& P1, ParamPair& uv, ParamPair& dir, SeamGrid* grid = nullptr);

// The three slopes of one Runge-Kutta trial.
struct CurvatureSlopes {
  ParamPair k1, k2, k3;
};

// One trial step of length h of the third-order pair along family 0 or 1;
// every direction is oriented by ref. False when a direction is missing.
bool CurvatureStepTrial(int family, ParamPair uv, double h, ParamPair ref, CurvatureSlopes& k, double& err);

// Accepted step from uv: retries with a shrunken h until the error estimate
// is below tolerance, then advances uv. h receives the step for the next
// call, hUsed the one taken, stepLength |du| + |dv|, k the slopes of the last
// trial; ref becomes the k3 of every successful trial. False (uv untouched)
// when a trial fails.
bool AdaptiveCurvatureStep(int family, ParamPair& uv, double& h, ParamPair& ref, double& hUsed, double& stepLength,
                           CurvatureSlopes& k);

// The point at fraction c of an accepted step from start.
ParamPair CurvatureDenseOutput(ParamPair start, const CurvatureSlopes& k, double h, double c);
