// Fuzz target: the surface file reader. Every input is either refused with
// the model unchanged, or accepted; what is accepted, written back, reads
// again to the same model.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/ModelState.h"
#include "model/SurfaceFile.h"

namespace {

// Everything a read may change, copied field by field (cheaper than the
// file's bytes, which would dominate the run).
struct Fields {
  NetPoint net[12][12];
  int kind, m, n;
  Point3 eye, viewDir, screenX, screenY;
  double focal, eyeDepth, eyeX, eyeY, shiftX, shiftY, dragRadiusSq;
};

Fields Take() {
  Fields f;
  std::memset(&f, 0, sizeof f);  // padding compares equal
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 12; ++j) f.net[i][j] = model.controlNet[i][j];
  f.kind = model.surfaceKind;
  f.m = model.netM;
  f.n = model.netN;
  f.eye = model.eye;
  f.viewDir = model.viewDir;
  f.screenX = model.screenX;
  f.screenY = model.screenY;
  f.focal = model.focal;
  f.eyeDepth = model.eyeDepth;
  f.eyeX = model.eyeX;
  f.eyeY = model.eyeY;
  f.shiftX = model.shiftX;
  f.shiftY = model.shiftY;
  f.dragRadiusSq = model.dragRadiusSq;
  return f;
}

bool Same(const Fields& a, const Fields& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = InitModelState();
  Require(ready);
  const Fields before = Take();
  const SurfaceFileRead r = DecodeSurfaceFile(std::vector<uint8_t>(data, data + size));
  if (r != SurfaceFileRead::Loaded) {
    Require(Same(Take(), before));
    return 0;
  }
  const Fields read = Take();
  const std::vector<uint8_t> written = EncodeSurfaceFile();
  // The trailer of a rational surface or moved ticks may follow.
  Require(written.size() >= static_cast<size_t>(kSurfaceFileSize) &&
          written.size() <= static_cast<size_t>(kSurfaceFileMaxSize));
  Require(DecodeSurfaceFile(written) == SurfaceFileRead::Loaded);
  Require(Same(Take(), read));
  return 0;
}
