// The exact surface for CAD programs: one B-spline face in a STEP or an IGES
// file, written and read through Open CASCADE. A Bézier surface travels as a
// B-spline of degree netM x netN without inner knots; a B-spline with the
// knot vectors its ticks give; a rational one with its weights.
#pragma once

#include <cstdint>
#include <string>

#include "model/ModelState.h"
#include "platform/UserMessage.h"

enum class CadFormat { Step, Iges };

// The surface as a CAD file holds it: kind, rational flag, the active net
// (points outside it unused) and, for B-splines, the knots that the ticks
// give (knotsU[0..netM + d + 1], knotsV[0..netN + d + 1]); with the ticks.
struct CadSurface {
  Surface surface{.netM = 1, .netN = 1};
  // Ticks of the knot sliders that hold the knots (B-splines only).
  int ticksH[12]{}, ticksV[12]{};
  // The first row (u) or column (v) of the net was left out: it had no
  // knot span, so the surface drawn does without it.
  bool firstRowDropped = false, firstColumnDropped = false;
};

// Whether this build reads and writes STEP and IGES (it may be built without
// Open CASCADE).
bool CadExchangeAvailable();

// The record of `surface` whose knot sliders hold ticksH[0..11] and
// ticksV[0..11]: its knots are those the ticks give. Reads nothing else.
CadSurface CadSurfaceOf(const Surface& surface, const int32_t* ticksH, const int32_t* ticksV);
// The current surface with its ticks (current-model convenience form).
CadSurface CurrentCadSurface();

// What the status line adds after an export of `surface`: nothing (an
// empty message) or why a row or column of the net was left out.
UserMessage CadExportNote(const CadSurface& surface);

// Writes `surface` to `name` (through a temporary file renamed over it).
// False with the reason in `error` when it cannot be written: knots
// out of order, a weight that is not positive, a number too large or too
// small for the file, or an input/output error.
bool WriteCadFile(CadFormat format, const CadSurface& surface, const std::string& name, UserMessage& error);

// The format a file name asks for by its extension (.step, .stp, .iges,
// .igs, any case); false for any other.
bool CadFormatOfName(const std::string& name, CadFormat& format);

// Reads the first B-spline or Bézier surface of the file, through the
// reader process of DefaultCadReader. False with the reason when the
// file is missing, no regular file, empty or damaged, when it holds no
// surface or when the surface does not fit the program:
// degree 2 or 3 in both directions, clamped, with inner knots the ticks can
// hold exactly; or a Bézier surface of at most 12 x 12 points.
bool ReadCadFile(CadFormat format, const std::string& name, CadSurface& surface, UserMessage& error);

// Makes `surface` the model: kind, rational flag, net (points outside it at
// the origin with weight 1), net size and ticks; installs the evaluators.
// The caller draws it with a new view.
void ApplyCadSurface(const CadSurface& surface);

// STEP and IGES files are parsed in a separate reader process: a parser
// that crashes or loops on a damaged file takes only that process down.
// `program` runs as `program step|iges FILE` and writes CadReaderAnswer's
// bytes to its standard output.
struct CadReader {
  std::string program;
  int timeoutMs = 30000;
};

// quorlen-cad-reader beside the running program, or the program that the
// QUORLEN_CAD_READER environment variable names; 30 seconds.
CadReader DefaultCadReader();

// ReadCadFile through the given reader. Anything but a regular file is
// refused before the reader starts; a reader that crashes, runs past its
// time or answers what no reader answers gives MessageCode::FileDamaged.
bool ReadCadFileWith(const CadReader& reader, CadFormat format, const std::string& name, CadSurface& surface,
                     UserMessage& error);

// The reader process's side: parses the file here and encodes the surface
// it holds, or the reason it is refused.
std::string CadReaderAnswer(CadFormat format, const std::string& name);

// The other side: checks every size and number of a reader's answer and
// fits the surface to the program; false with the reason.
bool DecodeCadAnswer(const std::string& answer, CadSurface& surface, UserMessage& error);
