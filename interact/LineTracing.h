// Pointing at the surface: the point read-out under the pointer, and the
// lines drawn through a clicked point (the two coordinate lines and the four
// half-lines of curvature). The pixel look-up lives in render/.
#pragma once

#include <optional>
#include <string>

#include "model/Curvature.h"
#include "model/ModelState.h"
#include "model/TracedLines.h"
#include "model/SurfaceDerivatives.h"
#include "platform/Canvas.h"
#include "platform/UserMessage.h"
#include "render/PixelLookup.h"

// The tracers evaluate s only; they draw on the model's view and write the
// points they step to into `record`.

// The two parameter lines through uv, each across the whole square.
void DrawCoordinateLines(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair uv);

// The four half-lines of curvature from start. Returns the umbilic message
// when the principal directions were not found at start (and the curvature
// lines are switched on), else "". Polls window events every 25 steps; a
// stop request ends only the line being traced. The random reference that
// decides which way each family is traced first is drawn from a generator
// seeded from the clock.
UserMessage TraceCurvatureLines(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair start);
// The same with a given reference (not (0, 0)): the first run of each
// family leaves in the direction opposite to it.
UserMessage TraceCurvatureLinesFrom(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair start,
                                    ParamPair reference);

// The work of a press in the tracing mode once PixelLookup found uv: erase
// the probe cross, then the coordinate lines and the curvature lines as
// switched on. Returns the tracer's message (none, or UmbilicNoDirections).
// Without a reference the curvature tracer draws a random one.
UserMessage TraceLinesThrough(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair uv,
                              std::optional<ParamPair> reference = std::nullopt);

// Erases the probe cross drawn at model.lastProbe, if one is shown.
void EraseProbeMark(Canvas& view, const Surface& s);

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
bool ProbeReadOut(Canvas& view, const Surface& s, int x, int y, PointReadout& texts,
                  const std::string& markSeparator = ".");

// Internal steps, exposed for tests and benchmarks.

// min(0.5 - |u - 0.5|, 0.5 - |v - 0.5|): positive strictly inside the square.
double BorderMargin(ParamPair uv);

// Newton search for the parameters whose point is nearest to T, from uv with
// surface point S0. On convergence stores them in uv and returns their
// border margin; -1 (uv untouched) when it fails.
double ProjectToSurface(const Surface& s, const Point3& T, const Point3& S0, ParamPair& uv);

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
  const Point3& At(const Surface& s, int i, int j);
};
double FindSeamPoint(const Surface& s, const Point3& P0, const Point3& P1, ParamPair& uv, ParamPair& dir,
                     SeamGrid* grid = nullptr);

// The three slopes of one Runge-Kutta trial.
struct CurvatureSlopes {
  ParamPair k1, k2, k3;
};

// One trial step of length h of the third-order pair along family 0 or 1;
// every direction is oriented by ref. False when a direction is missing.
bool CurvatureStepTrial(const Surface& s, int family, ParamPair uv, double h, ParamPair ref, CurvatureSlopes& k,
                        double& err);

// Accepted step from uv: retries with a shrunken h until the error estimate
// is below tolerance, then advances uv. h receives the step for the next
// call, hUsed the one taken, stepLength |du| + |dv|, k the slopes of the last
// trial; ref becomes the k3 of every successful trial. False (uv untouched)
// when a trial fails.
bool AdaptiveCurvatureStep(const Surface& s, int family, ParamPair& uv, double& h, ParamPair& ref, double& hUsed,
                           double& stepLength, CurvatureSlopes& k);

// The point at fraction c of an accepted step from start.
ParamPair CurvatureDenseOutput(ParamPair start, const CurvatureSlopes& k, double h, double c);
