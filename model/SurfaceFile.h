// The .yqs surface file: kind, net size, all 144 control points with
// weights, and the camera; 4788 bytes, little-endian. A rational surface, or
// one whose knot ticks were moved, gets a trailer after those bytes: the tag
// "YQS+", version 1, the rational flag, the tick counts netM + 1 and
// netN + 1 and the tick positions (int32 each), so that every other surface
// keeps the 4788 bytes that every reader of the format knows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/UserMessage.h"

constexpr int kSurfaceFileSize = 4788;
// The longest file: the trailer with both tick rows at 12.
constexpr int kSurfaceTrailerHead = 20;
constexpr int kSurfaceFileMaxSize = kSurfaceFileSize + kSurfaceTrailerHead + 4 * 24;

// Writes the model to `name` through a temporary file renamed over it, so a
// failed save leaves any earlier file intact. An empty name writes nothing
// and succeeds. On success pictureUnsaved := false; on failure `error` says
// why and nothing of the model changes.
bool alDisco(const std::string& name, UserMessage* error = nullptr);

// The file's bytes for the current model.
std::vector<uint8_t> EncodeSurfaceFile();

enum class SurfaceFileRead {
  Loaded,      // model replaced
  WrongMagic,  // not one of ours: ignored without a message
  Invalid,     // wrong length, kind, size, trailer or a non-finite number: refused whole
  IoError,     // could not be opened or read
};

// Reads and checks the whole file, then (only if it is valid) replaces the
// kind, the control net and the camera, installs the evaluators, sets
// netM / netN with the ticks and the rational flag of the trailer (without
// one: even ticks, the flag left as it was) and fileName := name. The
// window then draws.
SurfaceFileRead DelDisco(const std::string& name);

// The same on bytes already in memory (fileName untouched).
SurfaceFileRead DecodeSurfaceFile(const std::vector<uint8_t>& bytes);

// What DecodeSurfaceFile would answer, leaving the model alone (Loaded for
// a surface it would read).
SurfaceFileRead CheckSurfaceFile(const std::vector<uint8_t>& bytes);
