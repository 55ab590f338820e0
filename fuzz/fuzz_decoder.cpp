// Fuzz target: the surface file reader. Every input is either refused with
// the model unchanged, or accepted; what is accepted, written back, reads
// again to the same model.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/ModelState.h"
#include "model/SurfaceFile.h"

namespace {

// Everything a read may change, as the file holds it.
std::vector<uint8_t> Snapshot() { return EncodeSurfaceFile(); }

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = InitModelState();
  Require(ready);
  const std::vector<uint8_t> bytes(data, data + size);
  const std::vector<uint8_t> before = Snapshot();
  const int kindBefore = model.surfaceKind, mBefore = model.netM, nBefore = model.netN;
  const SurfaceFileRead r = DecodeSurfaceFile(bytes);
  if (r != SurfaceFileRead::Loaded) {
    Require(Snapshot() == before && model.surfaceKind == kindBefore && model.netM == mBefore &&
            model.netN == nBefore);
    return 0;
  }
  const std::vector<uint8_t> written = Snapshot();
  Require(written.size() == static_cast<size_t>(kSurfaceFileSize));
  Require(DecodeSurfaceFile(written) == SurfaceFileRead::Loaded);
  Require(Snapshot() == written);
  return 0;
}
