#include "model/SurfaceFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>


#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/SurfaceKinds.h"
#include "platform/AtomicFile.h"

namespace {

const char kMagic[8] = {'R', 'H', 'M', 'Q', 'Y', 'Q', 'S', 0};
const char kTrailerTag[4] = {'Y', 'Q', 'S', '+'};
constexpr int32_t kTrailerVersion = 1;

// Whether the ticks in use lie where a net-size change or a file without a
// trailer would lay them out.
bool TicksEven() {
  for (int k = 0; k <= model.netM; ++k)
    if (model.tickPosH[k] != EvenTickH(k, model.netM)) return false;
  for (int k = 0; k <= model.netN; ++k)
    if (model.tickPosV[k] != EvenTickV(k, model.netN)) return false;
  return true;
}

void PutI32(std::vector<uint8_t>& b, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

void PutF64(std::vector<uint8_t>& b, double v) {
  uint64_t u;
  std::memcpy(&u, &v, 8);
  for (int k = 0; k < 8; ++k) b.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

void PutP3(std::vector<uint8_t>& b, const Point3& p) {
  PutF64(b, p.x);
  PutF64(b, p.y);
  PutF64(b, p.z);
}

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& b) : b_(b) {}
  uint8_t I8() { return b_[pos_++]; }
  int32_t I32() {
    uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<uint32_t>(b_[pos_++]) << (8 * k);
    return static_cast<int32_t>(u);
  }
  double F64() {
    uint64_t u = 0;
    for (int k = 0; k < 8; ++k) u |= static_cast<uint64_t>(b_[pos_++]) << (8 * k);
    double v;
    std::memcpy(&v, &u, 8);
    if (!std::isfinite(v)) finite_ = false;
    return v;
  }
  Point3 P3() {
    const double x = F64(), y = F64(), z = F64();
    return Point3{x, y, z};
  }
  void Skip(size_t n) { pos_ += n; }
  size_t Left() const { return b_.size() - pos_; }
  bool AllFinite() const { return finite_; }

 private:
  const std::vector<uint8_t>& b_;
  size_t pos_ = 0;
  bool finite_ = true;
};

}  // namespace

std::vector<uint8_t> EncodeSurfaceFile() {
  std::vector<uint8_t> b;
  b.reserve(kSurfaceFileMaxSize);
  b.insert(b.end(), kMagic, kMagic + 8);
  b.insert(b.end(), 8, 0);
  PutI32(b, model.surfaceKind);
  PutI32(b, model.netM);
  PutI32(b, model.netN);
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) {
      const NetPoint& p = model.controlNet[i][j];
      PutF64(b, p.x);
      PutF64(b, p.y);
      PutF64(b, p.z);
      PutF64(b, p.w);
    }
  const ViewCamera c = ModelCamera();
  PutP3(b, model.eye);
  PutP3(b, c.screenX);
  PutP3(b, c.screenY);
  PutP3(b, c.viewDir);
  for (double v : {model.dragRadiusSq, c.focal, c.eyeDepth, c.eyeX, c.eyeY, c.shiftX, c.shiftY})
    PutF64(b, v);
  if (model.rationalSurface || !TicksEven()) {
    b.insert(b.end(), kTrailerTag, kTrailerTag + 4);
    PutI32(b, kTrailerVersion);
    PutI32(b, model.rationalSurface ? 1 : 0);
    PutI32(b, model.netM + 1);
    PutI32(b, model.netN + 1);
    for (int k = 0; k <= model.netM; ++k) PutI32(b, model.tickPosH[k]);
    for (int k = 0; k <= model.netN; ++k) PutI32(b, model.tickPosV[k]);
  }
  return b;
}

bool alDisco(const std::string& name, UserMessage* error) {
  if (name.empty()) return true;
  auto fail = [&](const UserMessage& why) {
    if (error) *error = why;
    return false;
  };
  const std::vector<uint8_t> bytes = EncodeSurfaceFile();
  UserMessage why;
  if (!WriteFileAtomically(name, std::string(bytes.begin(), bytes.end()), why)) return fail(why);
  model.pictureUnsaved = false;
  return true;
}

namespace {

// The surface as the file holds it (no knots: the ticks give them; the
// rational flag only with a trailer), with the camera and the ticks.
struct ParsedSurface {
  Surface surface;
  Point3 eye;
  ViewCamera camera;
  double dragRadiusSq;
  bool hasTrailer = false;
  int32_t ticksH[12], ticksV[12];
};

// The trailer after the 4788 bytes, whole and consistent with the net size
// read before it, or refused.
bool ParseTrailer(Reader& r, ParsedSurface& s) {
  if (r.Left() < static_cast<size_t>(kSurfaceTrailerHead)) return false;
  char tag[4];
  for (char& c : tag) c = static_cast<char>(r.I8());
  if (std::memcmp(tag, kTrailerTag, 4) != 0 || r.I32() != kTrailerVersion) return false;
  const int32_t rational = r.I32(), countH = r.I32(), countV = r.I32();
  const int32_t m = s.surface.netM, n = s.surface.netN;
  if ((rational != 0 && rational != 1) || countH != m + 1 || countV != n + 1) return false;
  if (r.Left() != 4 * static_cast<size_t>(countH + countV)) return false;
  for (int k = 0; k < countH; ++k) s.ticksH[k] = r.I32();
  for (int k = 0; k < countV; ++k) s.ticksV[k] = r.I32();
  if (!TickRowReachable(s.ticksH, m, true) || !TickRowReachable(s.ticksV, n, false)) return false;
  s.hasTrailer = true;
  s.surface.rationalSurface = rational == 1;
  return true;
}

SurfaceFileRead ParseSurfaceFile(const std::vector<uint8_t>& bytes, ParsedSurface& s) {
  // The magic is the text up to the first zero byte; only its first seven
  // characters are compared.
  if (bytes.size() >= 8) {
    size_t len = 0;
    while (len < 8 && bytes[len] != 0) ++len;
    if (len < 7 || std::memcmp(bytes.data(), kMagic, 7) != 0) return SurfaceFileRead::WrongMagic;
  }
  if (bytes.size() < static_cast<size_t>(kSurfaceFileSize) || bytes.size() > static_cast<size_t>(kSurfaceFileMaxSize))
    return SurfaceFileRead::Invalid;

  Reader r(bytes);
  r.Skip(16);
  Surface& f = s.surface;
  f.surfaceKind = r.I32();
  f.netM = r.I32();
  f.netN = r.I32();
  if (f.surfaceKind < 1 || f.surfaceKind > 3 || f.netM < 1 || f.netM > 11 || f.netN < 1 || f.netN > 11)
    return SurfaceFileRead::Invalid;
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) {
      NetPoint& p = f.controlNet[i][j];
      p.x = r.F64();
      p.y = r.F64();
      p.z = r.F64();
      p.w = r.F64();
    }
  // The camera in the order it was written.
  ViewCamera& c = s.camera;
  c = ViewCamera{};
  s.eye = r.P3();
  c.screenX = r.P3();
  c.screenY = r.P3();
  c.viewDir = r.P3();
  s.dragRadiusSq = r.F64();
  for (double* v : {&c.focal, &c.eyeDepth, &c.eyeX, &c.eyeY, &c.shiftX, &c.shiftY}) *v = r.F64();
  if (!r.AllFinite()) return SurfaceFileRead::Invalid;
  if (r.Left() > 0 && !ParseTrailer(r, s)) return SurfaceFileRead::Invalid;
  return SurfaceFileRead::Loaded;
}

}  // namespace

SurfaceFileRead CheckSurfaceFile(const std::vector<uint8_t>& bytes) {
  ParsedSurface s;
  return ParseSurfaceFile(bytes, s);
}

SurfaceFileRead DecodeSurfaceFile(const std::vector<uint8_t>& bytes) {
  ParsedSurface s;
  const SurfaceFileRead res = ParseSurfaceFile(bytes, s);
  if (res != SurfaceFileRead::Loaded) return res;
  // Valid: only now does the model change.
  const Surface& f = s.surface;
  model.surfaceKind = f.surfaceKind;
  // Without a trailer the flag was not stored: it stays as it was.
  if (s.hasTrailer) model.rationalSurface = f.rationalSurface;
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[i][j] = f.controlNet[i][j];
  model.eye = s.eye;
  SetModelCamera(s.camera);
  model.dragRadiusSq = s.dragRadiusSq;
  FijaFunciones();
  LayOutTicks(f.netM, f.netN);
  if (s.hasTrailer) {
    for (int k = 0; k <= f.netM; ++k) model.tickPosH[k] = s.ticksH[k];
    for (int k = 0; k <= f.netN; ++k) model.tickPosV[k] = s.ticksV[k];
  }
  return SurfaceFileRead::Loaded;
}

SurfaceFileRead DelDisco(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return SurfaceFileRead::IoError;
  // One byte past the longest file is enough to tell a longer one.
  std::vector<uint8_t> bytes(kSurfaceFileMaxSize + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return SurfaceFileRead::IoError;
  bytes.resize(static_cast<size_t>(in.gcount()));
  const SurfaceFileRead res = DecodeSurfaceFile(bytes);
  if (res == SurfaceFileRead::Loaded) model.fileName = name;
  return res;
}
