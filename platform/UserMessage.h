// What the core has to tell the user, as a code with its arguments: the
// window and the tool turn it into text in the user's language (messages/).
// The core itself holds no user-facing text.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum class MessageCode : uint16_t {
  None,  // no message

  // Run-time checks (platform/RunChecks).
  RangeCheck,
  DivisionByZero,
  InvalidOperation,
  FloatOverflow,

  // Files to be read.
  FileMissing,
  FileUnreadable,
  FileIsFolder,
  FileNotRegular,

  // Files to be written.
  FileNameMissing,
  OverwriteFolder,
  OverwriteDevice,
  OverwritePipe,
  OverwriteSocket,
  OverwriteOther,
  SystemError,  // %1: the system's own text

  // STEP and IGES.
  FileIncomplete,
  DegreeUnsupported,  // %1: the degree
  DegreesDiffer,      // %1, %2: the degrees
  TooManyPoints,
  KnotCountMismatch,
  InvalidNumbers,
  WeightNotPositive,
  WeightOutOfRange,
  KnotsNotRepresentable,
  ReaderMissing,  // %1: the reader program
  ReaderNotStarted,
  FileDamaged,
  NoCadExchange,
  FileEmpty,
  ExportWithoutFirstRowAndColumn,
  ExportWithoutFirstRow,
  ExportWithoutFirstColumn,
  KnotsNotIncreasing,
  NumbersOutOfFileRange,
  FileKnotsInvalid,
  NoControlPoints,
  ControlPointMissing,
  ControlPointNotThreeD,
  RationalWithoutKnots,
  SplineTypeUnsupported,
  WeightTableSize,
  FileDataUnreadable,
  LengthUnitInvalid,
  NotStepFile,
  NotIgesFile,
  NoSurfaceInFile,
  NetTooSmallForDegree,
  NoFaceForSurface,
  SurfaceNotWritten,
  CadLibraryFailure,  // %1: the library's own text

  // Meshes.
  MeshPointsNotFinite,
  MeshBeyondFloat,

  // The curvature map.
  MapOverflow,
  MapDivisionByZero,
  MapNotComputable,
  MapNoValueTinyWeights,  // %1: the largest weight
  MapNoValueTinySurface,  // %1: the bounding box's diagonal
  MapNoValue,

  // Line tracing.
  UmbilicNoDirections,

  // Names the window shows: umbilic classes, exact shapes.
  UmbilicLemon,
  UmbilicStar,
  UmbilicMonstar,
  UmbilicDegenerate,
  ShapeSphereOctant,
  ShapeHalfSphere,
  ShapeEllipsoid,
  ShapeExactCylinder,

  // The curvature maps' names and the legend's scale.
  MapShading,
  MapGauss,
  MapMean,
  MapK1,
  MapK2,
  MapAbsMax,
  ScaleFixed,
  ScaleAutomatic,

  Count  // not a message: one past the last
};

// A code and its arguments, already formatted as the program formats them
// (numbers, names); the text puts them in place of %1, %2, ...
struct UserMessage {
  MessageCode code = MessageCode::None;
  std::vector<std::string> args;

  UserMessage() = default;
  UserMessage(MessageCode c, std::vector<std::string> a = {}) : code(c), args(std::move(a)) {}

  bool empty() const { return code == MessageCode::None; }
  bool operator==(const UserMessage&) const = default;
};

// What turns a message into the text drawn into a picture: the caller's
// (the user's language at the edge, the Spanish source in the core's tests).
using MessageWriter = std::string (*)(const UserMessage&);
