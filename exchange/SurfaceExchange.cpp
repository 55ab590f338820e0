#include "exchange/SurfaceExchange.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "exchange/CadRawSurface.h"
#include "platform/FileKind.h"
#include "model/Knots.h"
#include "model/SurfaceKinds.h"
#include "platform/RunChecks.h"

using namespace cadraw;

namespace cadraw {

// Distinct knots and their multiplicities, from a full knot vector.
void Compress(const double* full, int count, std::vector<double>& knots, std::vector<int>& mults) {
  for (int k = 0; k < count; ++k) {
    if (!knots.empty() && knots.back() == full[k])
      ++mults.back();
    else {
      knots.push_back(full[k]);
      mults.push_back(1);
    }
  }
}

// A clamped vector of degree d: ends of multiplicity d + 1, inner knots
// increasing with multiplicity at most d.
bool ClampedVector(const std::vector<double>& knots, const std::vector<int>& mults, int d) {
  if (knots.size() < 2 || mults.front() != d + 1 || mults.back() != d + 1) return false;
  for (size_t k = 1; k < knots.size(); ++k)
    if (!(knots[k] > knots[k - 1])) return false;
  for (size_t k = 1; k + 1 < mults.size(); ++k)
    if (mults[k] > d) return false;
  return true;
}

// Degrees and net size, checked before anything is sized from them (a
// degree of 2147483647 overflows the first sum made with it). The order of
// the reasons is the one FitRaw gives for the same surface.
bool CheckShape(int du, int dv, int nu, int nv, UserMessage& error) {
  if (nu < 2 || nv < 2) {
    error = {MessageCode::FileIncomplete};
    return false;
  }
  const bool bezier = du >= 1 && dv >= 1 && du == nu - 1 && dv == nv - 1;
  if (!bezier) {
    const int bad = (du == 2 || du == 3) ? dv : du;
    if (bad != 2 && bad != 3) {
      error = {MessageCode::DegreeUnsupported, {std::to_string(bad)}};
      return false;
    }
    if (du != dv) {
      error = {MessageCode::DegreesDiffer, {std::to_string(du), std::to_string(dv)}};
      return false;
    }
  }
  if (nu > 12 || nv > 12) {
    error = {MessageCode::TooManyPoints};
    return false;
  }
  return true;
}

// Numbers the drawing can work with: the exporter's own range.
bool Sane(double x) { return std::isfinite(x) && std::fabs(x) < kLargest; }

// Everything FitRaw relies on: sizes that agree, numbers in range, weights
// positive. Run by the reader process on what it parsed and again on its
// answer.
bool ValidateRaw(const RawSurface& raw, UserMessage& error) {
  if (!CheckShape(raw.du, raw.dv, raw.nu, raw.nv, error)) return false;
  const size_t count = static_cast<size_t>(raw.nu) * static_cast<size_t>(raw.nv);
  if (raw.poles.size() != count || raw.weights.size() != count) {
    error = {MessageCode::FileIncomplete};
    return false;
  }
  if (raw.ku.size() != static_cast<size_t>(raw.nu + raw.du + 1) ||
      raw.kv.size() != static_cast<size_t>(raw.nv + raw.dv + 1)) {
    error = {MessageCode::KnotCountMismatch};
    return false;
  }
  for (const Point3& p : raw.poles)
    if (!Sane(p.x) || !Sane(p.y) || !Sane(p.z)) {
      error = {MessageCode::InvalidNumbers};
      return false;
    }
  for (double k : raw.ku)
    if (!Sane(k)) {
      error = {MessageCode::InvalidNumbers};
      return false;
    }
  for (double k : raw.kv)
    if (!Sane(k)) {
      error = {MessageCode::InvalidNumbers};
      return false;
    }
  for (double w : raw.weights)
    if (!(w > 0) || !std::isfinite(w)) {
      error = {MessageCode::WeightNotPositive};
      return false;
    } else if (w > kLargest || w < kSmallest) {
      error = {MessageCode::WeightOutOfRange};
      return false;
    }
  return true;
}

}  // namespace cadraw

namespace {

// The reader process's answer: "QCR1", then 0 and the raw surface, or 1
// and a reason (its code and its arguments); numbers in the machine's own
// byte order (the two processes are one program).
constexpr char kAnswerMagic[4] = {'Q', 'C', 'R', '1'};
constexpr size_t kMaxRefusalArgs = 4;

class AnswerWriter {
 public:
  std::string bytes{kAnswerMagic, 4};
  void Byte(uint8_t b) { bytes.push_back(static_cast<char>(b)); }
  template <class T>
  void Value(T v) {
    bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
  }
};

class AnswerReader {
 public:
  explicit AnswerReader(const std::string& b) : bytes_(b) {}
  template <class T>
  bool Value(T& v) {
    if (bytes_.size() - at_ < sizeof v) return false;
    std::memcpy(&v, bytes_.data() + at_, sizeof v);
    at_ += sizeof v;
    return true;
  }
  bool Text(size_t length, std::string& out) {
    if (bytes_.size() - at_ < length) return false;
    out = bytes_.substr(at_, length);
    at_ += length;
    return true;
  }
  bool Skip(size_t n) {
    if (bytes_.size() - at_ < n) return false;
    at_ += n;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
};

}  // namespace

namespace cadraw {

std::string EncodeRefusal(const UserMessage& reason) {
  AnswerWriter w;
  w.Byte(1);
  w.Value(static_cast<uint16_t>(reason.code));
  const size_t count = std::min<size_t>(reason.args.size(), kMaxRefusalArgs);
  w.Byte(static_cast<uint8_t>(count));
  for (size_t k = 0; k < count; ++k) {
    const std::string text = reason.args[k].substr(0, 400);
    w.Value(static_cast<uint16_t>(text.size()));
    w.bytes += text;
  }
  return w.bytes;
}

std::string EncodeRaw(const RawSurface& raw) {
  AnswerWriter w;
  w.Byte(0);
  for (int v : {raw.du, raw.dv, raw.nu, raw.nv}) w.Value(static_cast<int32_t>(v));
  for (const Point3& p : raw.poles) {
    w.Value(p.x);
    w.Value(p.y);
    w.Value(p.z);
  }
  for (double x : raw.weights) w.Value(x);
  for (const std::vector<double>* k : {&raw.ku, &raw.kv}) {
    w.Value(static_cast<int32_t>(k->size()));
    for (double x : *k) w.Value(x);
  }
  return w.bytes;
}

}  // namespace cadraw

namespace {

// An argument of a reason the reader process gives is shown to the user:
// plain UTF-8 text of a sentence's length, nothing else.
bool ShowableText(const std::string& s) {
  if (s.size() > 400) return false;
  for (size_t k = 0; k < s.size();) {
    const auto c = static_cast<unsigned char>(s[k]);
    size_t more = 0;
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F) return false;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      more = 1;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      more = 3;
    } else {
      return false;
    }
    if (s.size() - k <= more) return false;
    for (size_t t = 1; t <= more; ++t)
      if ((static_cast<unsigned char>(s[k + t]) & 0xC0) != 0x80) return false;
    k += more + 1;
  }
  return true;
}

// False with the reason when the answer is a refusal; false with kDamaged
// when it is no answer the reader gives.
bool DecodeRaw(const std::string& bytes, RawSurface& raw, UserMessage& error) {
  error = {MessageCode::FileDamaged};
  AnswerReader r(bytes);
  char magic[4];
  uint8_t status = 0;
  if (!r.Value(magic) || std::memcmp(magic, kAnswerMagic, 4) != 0 || !r.Value(status)) return false;
  if (status == 1) {
    uint16_t code = 0;
    uint8_t count = 0;
    if (!r.Value(code) || code == 0 || code >= static_cast<uint16_t>(MessageCode::Count) || !r.Value(count) ||
        count > kMaxRefusalArgs)
      return false;
    UserMessage reason{static_cast<MessageCode>(code), {}};
    for (uint8_t k = 0; k < count; ++k) {
      uint16_t length = 0;
      std::string text;
      if (!r.Value(length) || !r.Text(length, text) || !ShowableText(text)) return false;
      reason.args.push_back(text);
    }
    if (r.AtEnd()) error = reason;
    return false;
  }
  if (status != 0) return false;
  int32_t sizes[4];
  for (int32_t& v : sizes)
    if (!r.Value(v)) return false;
  raw.du = sizes[0];
  raw.dv = sizes[1];
  raw.nu = sizes[2];
  raw.nv = sizes[3];
  // What the reader sends has passed CheckShape: degrees 1..11, 2..12 poles.
  for (int v : {raw.du, raw.dv})
    if (v < 1 || v > 11) return false;
  for (int v : {raw.nu, raw.nv})
    if (v < 2 || v > 12) return false;
  const int count = raw.nu * raw.nv;
  raw.poles.resize(count);
  raw.weights.resize(count);
  for (Point3& p : raw.poles)
    if (!r.Value(p.x) || !r.Value(p.y) || !r.Value(p.z)) return false;
  for (double& x : raw.weights)
    if (!r.Value(x)) return false;
  for (std::vector<double>* k : {&raw.ku, &raw.kv}) {
    int32_t length = 0;
    if (!r.Value(length) || length < 0 || length > 64) return false;
    k->resize(length);
    for (double& x : *k)
      if (!r.Value(x)) return false;
  }
  if (!r.AtEnd()) return false;
  if (!ValidateRaw(raw, error)) return false;
  return true;
}

// The tick that gives knot t exactly (for direction H or V), or -1.
int TickOfKnot(bool horizontal, double t, int d, int last, double tolerance) {
  const double scaled = qchk::Div(t * 154.0, last + 2 - d);
  if (!std::isfinite(scaled) || std::fabs(scaled) > 1000) return -1;
  const int guess = qchk::Round(scaled);
  for (int off : {0, -1, 1}) {
    const int pos = horizontal ? guess + off + 2 : 156 - (guess + off);
    if (pos < 2 || pos > 156) continue;
    const double k = horizontal ? KnotOfTickH(pos, d, last) : KnotOfTickV(pos, d, last);
    if (std::fabs(k - t) <= tolerance) return pos;
  }
  return -1;
}

// Ticks for the knots of one direction: true with ticks[0..last] set when
// the sliders can hold them. ticks 1..d take no part in the knots: they stay
// where an even layout puts them unless the first knot's tick needs room.
bool TicksOfKnots(bool horizontal, const std::vector<double>& full, int d, int last, int* ticks) {
  const double a = full.front(), b = full.back();
  // A file of ours states the program's own knot values; any other range is
  // scaled onto [d, last + 1] and may then miss a tick by its rounding.
  const bool own = a == d && b == last + 1;
  const double tolerance = own ? 0.0 : 1e-12 * (last + 1 - d);
  for (int k = 0; k <= last; ++k)
    ticks[k] = horizontal ? qchk::Trunc(k * 154.0 / last) + 2 : 156 - qchk::Trunc(k * 154.0 / last);
  for (int k = d + 1; k <= last; ++k) {
    const double t = own ? full[k] : d + qchk::Div(full[k] - a, b - a) * (last + 1 - d);
    const int pos = TickOfKnot(horizontal, t, d, last, tolerance);
    if (pos < 0) return false;
    ticks[k] = pos;
  }
  // The end ticks never move: the last inner knot must be the one they give.
  if (ticks[last] != (horizontal ? 156 : 2)) return false;
  if (last > d) {
    const int first = ticks[d + 1];
    auto gap = [&](int lo, int hi) { return horizontal ? ticks[hi] - ticks[lo] : ticks[lo] - ticks[hi]; };
    if (gap(d, d + 1) < 2)
      for (int k = 1; k <= d; ++k)
        ticks[k] = horizontal ? 2 + qchk::Trunc(k * (first - 2.0) / (d + 1))
                              : 156 - qchk::Trunc(k * (156.0 - first) / (d + 1));
  }
  for (int k = 1; k <= last; ++k) {
    const int g = horizontal ? ticks[k] - ticks[k - 1] : ticks[k - 1] - ticks[k];
    if (g < 2) return false;
  }
  return true;
}

bool BezierShaped(const std::vector<double>& full, int d, int count) {
  if (count != d + 1 || static_cast<int>(full.size()) != 2 * d + 2) return false;
  for (int k = 0; k <= d; ++k)
    if (full[k] != full[0] || full[d + 1 + k] != full.back()) return false;
  return full.back() > full.front();
}

bool FitRaw(const RawSurface& raw, CadSurface& s, UserMessage& error) {
  if (!ValidateRaw(raw, error)) return false;
  bool rational = false;
  for (double w : raw.weights) rational = rational || w != raw.weights.front();
  const int m = raw.nu - 1, n = raw.nv - 1;
  const bool splineEnds = raw.du == raw.dv && (raw.du == 2 || raw.du == 3) && !raw.ku.empty() &&
                          !raw.kv.empty() && raw.ku.front() == raw.du && raw.ku.back() == m + 1 &&
                          raw.kv.front() == raw.dv && raw.kv.back() == n + 1;
  const bool bezier = !splineEnds && BezierShaped(raw.ku, raw.du, raw.nu) && BezierShaped(raw.kv, raw.dv, raw.nv);
  if (!bezier) {
    const int bad = (raw.du == 2 || raw.du == 3) ? raw.dv : raw.du;
    if (bad != 2 && bad != 3) {
      error = {MessageCode::DegreeUnsupported, {std::to_string(bad)}};
      return false;
    }
    if (raw.du != raw.dv) {
      error = {MessageCode::DegreesDiffer, {std::to_string(raw.du), std::to_string(raw.dv)}};
      return false;
    }
  }
  if (raw.nu > 12 || raw.nv > 12) {
    error = {MessageCode::TooManyPoints};
    return false;
  }
  s = CadSurface{};
  Surface& sf = s.surface;
  sf.surfaceKind = bezier ? 1 : raw.du;
  sf.rationalSurface = rational;
  sf.netM = m;
  sf.netN = n;
  if (!bezier) {
    const int d = raw.du;
    if (static_cast<int>(raw.ku.size()) != m + d + 2 || static_cast<int>(raw.kv.size()) != n + d + 2) {
      error = {MessageCode::KnotsNotRepresentable};
      return false;
    }
    std::vector<double> ku, kv;
    std::vector<int> mu, mv;
    Compress(raw.ku.data(), static_cast<int>(raw.ku.size()), ku, mu);
    Compress(raw.kv.data(), static_cast<int>(raw.kv.size()), kv, mv);
    // Inner knots of multiplicity one: ticks stand at least 2 pixels apart.
    auto single = [](const std::vector<int>& mults) {
      return std::all_of(mults.begin() + 1, mults.end() - 1, [](int x) { return x == 1; });
    };
    if (!ClampedVector(ku, mu, d) || !ClampedVector(kv, mv, d) || !single(mu) || !single(mv) ||
        !TicksOfKnots(true, raw.ku, d, m, s.ticksH) || !TicksOfKnots(false, raw.kv, d, n, s.ticksV)) {
      error = {MessageCode::KnotsNotRepresentable};
      return false;
    }
    KnotsOfTicks(d, m, n, s.ticksH, s.ticksV, sf.knotsU.data(), sf.knotsV.data());
  }
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) {
      const Point3& p = raw.poles[i * raw.nv + j];
      sf.controlNet[i][j] = NetPoint{p.x, p.y, p.z, rational ? raw.weights[i * raw.nv + j] : 1.0};
    }
  return true;
}

// The reader program beside the running one (or the one the environment
// names, for the tests).
std::string DefaultReaderProgram() {
  if (const char* named = std::getenv("QUORLEN_CAD_READER"); named && *named) return named;
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return "quorlen-cad-reader";
  std::string dir(self, static_cast<size_t>(length));
  dir.erase(dir.rfind('/') + 1);
  return dir + "quorlen-cad-reader";
}

// Runs the reader on the file and collects what it writes, at most 1 MiB
// (a surface of 12 x 12 points takes under 6 KiB). False when the reader
// cannot start, crashes, runs past its time or exits with an error.
bool RunReader(const CadReader& reader, CadFormat format, const std::string& name, std::string& answer,
               UserMessage& error) {
  if (access(reader.program.c_str(), X_OK) != 0) {
    error = {MessageCode::ReaderMissing, {reader.program}};
    return false;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = {MessageCode::ReaderNotStarted};
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group: a time-out ends whatever it started too.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  const std::string mode = format == CadFormat::Step ? "step" : "iges";
  std::vector<char*> argv{const_cast<char*>(reader.program.c_str()), const_cast<char*>(mode.c_str()),
                          const_cast<char*>(name.c_str()), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, reader.program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    error = {MessageCode::ReaderNotStarted};
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(reader.timeoutMs);
  bool timedOut = false, tooLong = false;
  char buffer[65536];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) {
      timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the reader closed its end
    answer.append(buffer, static_cast<size_t>(got));
    if (answer.size() > (1u << 20)) {
      tooLong = true;
      break;
    }
  }
  close(fds[0]);
  if (timedOut || tooLong) kill(-pid, SIGKILL);
  // A reader that closed its output may still be running: it gets what is
  // left of its time to end.
  int status = 0;
  bool ended = false;
  while (!ended) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      ended = true;
    } else if (done < 0 && errno != EINTR) {
      break;
    } else if (std::chrono::steady_clock::now() >= deadline) {
      timedOut = true;
      kill(-pid, SIGKILL);
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      ended = true;
    } else {
      usleep(2000);
    }
  }
  if (ended && !timedOut && !tooLong && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = {MessageCode::FileDamaged};
  return false;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

CadSurface CurrentCadSurface() {
  return CadSurfaceOf(CurrentSurface(), model.tickPosH.data(), model.tickPosV.data());
}

CadSurface CadSurfaceOf(const Surface& surface, const int32_t* ticksH, const int32_t* ticksV) {
  CadSurface s;
  Surface& sf = s.surface;
  sf.surfaceKind = surface.surfaceKind;
  sf.rationalSurface = surface.rationalSurface;
  sf.netM = surface.netM;
  sf.netN = surface.netN;
  for (int i = 0; i <= sf.netM; ++i)
    for (int j = 0; j <= sf.netN; ++j) sf.controlNet[i][j] = surface.controlNet[i][j];
  for (int k = 0; k < 12; ++k) {
    s.ticksH[k] = ticksH[k];
    s.ticksV[k] = ticksV[k];
  }
  if (sf.surfaceKind == 2 || sf.surfaceKind == 3)
    KnotsOfTicks(sf.surfaceKind, sf.netM, sf.netN, s.ticksH, s.ticksV, sf.knotsU.data(), sf.knotsV.data());
  if (sf.surfaceKind == 2 || sf.surfaceKind == 3) {
    // A first row or column without a span is not part of the surface
    // drawn: the file gets the rest, over the knots after the first.
    if (FirstRowHasNoSpan(sf.surfaceKind, sf.netM, sf.knotsU.data())) {
      for (int i = 0; i < sf.netM; ++i)
        for (int j = 0; j <= sf.netN; ++j) sf.controlNet[i][j] = sf.controlNet[i + 1][j];
      std::copy(sf.knotsU.data() + 1, sf.knotsU.data() + 16, sf.knotsU.data());
      --sf.netM;
      s.firstRowDropped = true;
    }
    if (FirstRowHasNoSpan(sf.surfaceKind, sf.netN, sf.knotsV.data())) {
      for (int i = 0; i <= sf.netM; ++i)
        for (int j = 0; j < sf.netN; ++j) sf.controlNet[i][j] = sf.controlNet[i][j + 1];
      std::copy(sf.knotsV.data() + 1, sf.knotsV.data() + 16, sf.knotsV.data());
      --sf.netN;
      s.firstColumnDropped = true;
    }
  }
  return s;
}

UserMessage CadExportNote(const CadSurface& s) {
  if (s.firstRowDropped && s.firstColumnDropped) return {MessageCode::ExportWithoutFirstRowAndColumn};
  if (s.firstRowDropped) return {MessageCode::ExportWithoutFirstRow};
  if (s.firstColumnDropped) return {MessageCode::ExportWithoutFirstColumn};
  return {};
}

bool CadFormatOfName(const std::string& name, CadFormat& format) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = Lower(name.substr(dot + 1));
  if (ext == "step" || ext == "stp") format = CadFormat::Step;
  else if (ext == "iges" || ext == "igs") format = CadFormat::Iges;
  else return false;
  return true;
}

CadReader DefaultCadReader() { return CadReader{DefaultReaderProgram(), 30000}; }

bool ReadCadFileWith(const CadReader& reader, CadFormat format, const std::string& name, CadSurface& surface,
                     UserMessage& error) {
  if (!CheckRegularFile(name, error)) return false;
  struct stat st {};
  if (stat(name.c_str(), &st) == 0 && st.st_size == 0) {
    error = {MessageCode::FileEmpty};
    return false;
  }
  std::string answer;
  if (!RunReader(reader, format, name, answer, error)) return false;
  return DecodeCadAnswer(answer, surface, error);
}

bool DecodeCadAnswer(const std::string& answer, CadSurface& surface, UserMessage& error) {
  RawSurface raw;
  CadSurface fitted;
  if (!DecodeRaw(answer, raw, error) || !FitRaw(raw, fitted, error)) return false;
  surface = fitted;
  return true;
}

void ApplyCadSurface(const CadSurface& s) {
  const Surface& sf = s.surface;
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j <= 11; ++j)
      model.controlNet[i][j] = (i <= sf.netM && j <= sf.netN) ? sf.controlNet[i][j] : NetPoint{0, 0, 0, 1};
  model.surfaceKind = sf.surfaceKind;
  model.rationalSurface = sf.rationalSurface;
  LayOutTicks(sf.netM, sf.netN);
  if (sf.surfaceKind != 1)
    for (int k = 0; k < 12; ++k) {
      model.tickPosH[k] = s.ticksH[k];
      model.tickPosV[k] = s.ticksV[k];
    }
  FijaFunciones();
}
