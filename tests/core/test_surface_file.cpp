#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <thread>

#include "messages/MessageTable.h"
#include "interact/DrawingCycle.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

int32_t I32At(const std::vector<uint8_t>& b, size_t off) {
  int32_t v;
  std::memcpy(&v, b.data() + off, 4);
  return v;
}

double F64At(const std::vector<uint8_t>& b, size_t off) {
  double v;
  std::memcpy(&v, b.data() + off, 8);
  return v;
}

void PutF64At(std::vector<uint8_t>& b, size_t off, double v) { std::memcpy(b.data() + off, &v, 8); }
void PutI32At(std::vector<uint8_t>& b, size_t off, int32_t v) { std::memcpy(b.data() + off, &v, 4); }

// Files of more than `bytes` cannot be written while it lives (the write
// fails with EFBIG instead of the signal), as on a full device.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = old_;
    r.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &r);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }

 private:
  rlimit old_;
  void (*oldSignal_)(int);
};

class SurfaceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    StartupModel();
    dir_ = fs::temp_directory_path() / ("quorlen-file-test-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    FinalModelState();
  }
  // A camera with distinct, recognisable values.
  static void SetCamera() {
    model.eye = Point3{1.5, 2.5, 3.5};
    model.screenX = Point3{4, 5, 6};
    model.screenY = Point3{7, 8, 9};
    model.viewDir = Point3{10, 11, 12};
    model.dragRadiusSq = 13;
    model.focal = -14;
    model.eyeDepth = 15;
    model.eyeX = 16;
    model.eyeY = 17;
    model.shiftX = 18;
    model.shiftY = 19;
  }
  fs::path dir_;
};

}  // namespace

TEST_F(SurfaceFileTest, LayoutOfTheBytes) {
  SetCamera();
  model.controlNet[3][9] = NetPoint{0.5, -0.25, 2, 3};
  const std::vector<uint8_t> b = EncodeSurfaceFile();
  ASSERT_EQ(b.size(), 4788u);
  EXPECT_EQ(std::memcmp(b.data(), "RHMQYQS\0", 8), 0);
  for (int k = 8; k < 16; ++k) EXPECT_EQ(b[k], 0) << k;
  EXPECT_EQ(I32At(b, 16), 1);
  EXPECT_EQ(I32At(b, 20), 11);
  EXPECT_EQ(I32At(b, 24), 6);
  const size_t p39 = 28 + (3 * 12 + 9) * 32;
  EXPECT_EQ(F64At(b, p39), 0.5);
  EXPECT_EQ(F64At(b, p39 + 8), -0.25);
  EXPECT_EQ(F64At(b, p39 + 16), 2);
  EXPECT_EQ(F64At(b, p39 + 24), 3);
  EXPECT_EQ(F64At(b, 28 + 11 * 12 * 32 + 11 * 32 + 24), 1.0);  // point [11][11] is written too
  EXPECT_EQ(F64At(b, 4636), 1.5);
  EXPECT_EQ(F64At(b, 4652), 3.5);
  EXPECT_EQ(F64At(b, 4660), 4);
  EXPECT_EQ(F64At(b, 4684), 7);
  EXPECT_EQ(F64At(b, 4708), 10);
  const double tail[7] = {13, -14, 15, 16, 17, 18, 19};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(F64At(b, 4732 + 8 * k), tail[k]) << k;
}

TEST_F(SurfaceFileTest, StartUpNetMatchesTheReferenceFile) {
  // Everything before the camera depends only on the start-up net.
  const std::vector<uint8_t> golden = ReadAll(fs::path(QUORLEN_GOLDEN_DIR) / "startup-sphere/startup-sphere.yqs");
  ASSERT_EQ(golden.size(), 4788u);
  const std::vector<uint8_t> ours = EncodeSurfaceFile();
  for (size_t k = 0; k < 4636; ++k) ASSERT_EQ(ours[k], golden[k]) << "byte " << k;
  // Reading the reference file and writing it again gives the same bytes.
  ASSERT_EQ(DecodeSurfaceFile(golden), SurfaceFileRead::Loaded);
  EXPECT_EQ(EncodeSurfaceFile(), golden);
}

TEST_F(SurfaceFileTest, WriteThenReadRestoresTheModel) {
  SetCamera();
  LayOutTicks(4, 9);
  CylinderNet();
  model.controlNet[2][3].w = 0.75;
  model.controlNet[12][0] = NetPoint{99, 99, 99, 99};  // storage only: never saved
  model.surfaceKind = 2;
  model.pictureUnsaved = true;
  const fs::path f = dir_ / "cilindro.yqs";
  UserMessage err;
  ASSERT_TRUE(alDisco(f.string(), &err)) << err;
  EXPECT_FALSE(model.pictureUnsaved);
  EXPECT_EQ(fs::file_size(f), 4788u);
  EXPECT_FALSE(fs::exists(f.string() + ".tmp~"));
  const std::vector<uint8_t> written = ReadAll(f);

  ASSERT_TRUE(InitModelState());
  LayOutTicks(11, 6);
  model.rationalSurface = true;  // not stored: stays as it is
  ASSERT_EQ(DelDisco(f.string()), SurfaceFileRead::Loaded);
  EXPECT_EQ(model.fileName, f.string());
  EXPECT_EQ(model.surfaceKind, 2);
  EXPECT_EQ(model.netM, 4);
  EXPECT_EQ(model.netN, 9);
  EXPECT_TRUE(model.rationalSurface);
  EXPECT_EQ(model.controlNet[2][3].w, 0.75);
  EXPECT_EQ(model.focal, -14);
  EXPECT_EQ(model.shiftY, 19);
  EXPECT_EQ(model.tickPosH[4], 156);  // ticks laid out evenly for the new size
  EXPECT_EQ(model.tickPosV[9], 2);
  // The evaluators follow the kind read.
  model.rationalSurface = false;
  FijaFunciones();
  SetKnots();
  EXPECT_NEAR(model.SurfacePoint(0, 0).x, model.controlNet[0][0].x, 1e-15);
  EXPECT_EQ(EncodeSurfaceFile(), written);
}

TEST_F(SurfaceFileTest, MagicRules) {
  SetCamera();
  std::vector<uint8_t> b = EncodeSurfaceFile();
  b[7] = 'X';  // only the first seven characters count
  EXPECT_EQ(DecodeSurfaceFile(b), SurfaceFileRead::Loaded);
  b = EncodeSurfaceFile();
  b[6] = 'T';
  PutI32At(b, 20, 3);
  EXPECT_EQ(DecodeSurfaceFile(b), SurfaceFileRead::WrongMagic);
  EXPECT_EQ(model.netM, 11);
  b = EncodeSurfaceFile();
  b[3] = 0;  // the text ends early
  EXPECT_EQ(DecodeSurfaceFile(b), SurfaceFileRead::WrongMagic);
}

TEST_F(SurfaceFileTest, InvalidFilesAreRefusedWholeAndChangeNothing) {
  SetCamera();
  model.surfaceKind = 3;
  const std::vector<uint8_t> good = EncodeSurfaceFile();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  auto with = [&](const char* what, auto edit) {
    std::vector<uint8_t> b = good;
    edit(b);
    cases.emplace_back(what, b);
  };
  with("short", [](auto& b) { b.resize(4000); });
  with("long", [](auto& b) { b.push_back(0); });
  with("tiny", [](auto& b) { b.resize(5); });
  with("kind 0", [](auto& b) { PutI32At(b, 16, 0); });
  with("kind 4", [](auto& b) { PutI32At(b, 16, 4); });
  with("m 0", [](auto& b) { PutI32At(b, 20, 0); });
  with("m 12", [](auto& b) { PutI32At(b, 20, 12); });
  with("n -1", [](auto& b) { PutI32At(b, 24, -1); });
  with("n 12", [](auto& b) { PutI32At(b, 24, 12); });
  with("NaN point", [&](auto& b) { PutF64At(b, 28 + 40 * 32 + 8, nan); });
  with("infinite weight", [&](auto& b) { PutF64At(b, 28 + 143 * 32 + 24, inf); });
  with("NaN eye", [&](auto& b) { PutF64At(b, 4644, nan); });
  with("infinite shift", [&](auto& b) { PutF64At(b, 4780, -inf); });

  // A different model in memory, which a refused file must leave alone.
  InitModelState();
  LayOutTicks(5, 7);
  PlaneNet();
  model.surfaceKind = 2;
  model.focal = -1;
  model.fileName = "previo.yqs";
  const std::vector<uint8_t> before = EncodeSurfaceFile();
  for (const auto& [what, bytes] : cases) {
    const fs::path f = dir_ / "mala.yqs";
    WriteAll(f, bytes);
    EXPECT_EQ(DelDisco(f.string()), SurfaceFileRead::Invalid) << what;
    EXPECT_EQ(EncodeSurfaceFile(), before) << what;
    EXPECT_EQ(model.netM, 5) << what;
    EXPECT_EQ(model.tickPosH[5], 156) << what;
    EXPECT_EQ(model.fileName, "previo.yqs") << what;
  }
  EXPECT_EQ(DelDisco((dir_ / "no-existe.yqs").string()), SurfaceFileRead::IoError);
  EXPECT_EQ(EncodeSurfaceFile(), before);
}

TEST_F(SurfaceFileTest, FailedWriteKeepsTheOldFile) {
  const fs::path f = dir_ / "guardada.yqs";
  ASSERT_TRUE(alDisco(f.string()));
  const std::vector<uint8_t> old = ReadAll(f);
  model.controlNet[0][0].x = 42;
  model.pictureUnsaved = true;
  UserMessage err;
  {
    // A full disk: no byte can be written.
    const FileSizeLimit full(0);
    EXPECT_FALSE(alDisco(f.string(), &err));
  }
  EXPECT_FALSE(err.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);  // no temporary left
  EXPECT_TRUE(model.pictureUnsaved);  // not taken as saved
  EXPECT_EQ(ReadAll(f), old);
  // A folder that does not exist fails too, and says so.
  EXPECT_FALSE(alDisco((dir_ / "falta" / "x.yqs").string(), &err));
  // An empty name writes nothing.
  EXPECT_TRUE(alDisco(""));
}

// A rational surface or moved ticks: the trailer keeps what the 4788 bytes
// cannot, and a reopened surface is the one saved.
TEST_F(SurfaceFileTest, RationalFlagAndMovedTicksSurviveSaveAndOpen) {
  struct Case {
    const char* what;
    bool octant;
    int kind, m, n, tickH, posH;
  };
  const Case cases[] = {{"exact octant", true, 1, 2, 2, 0, 0},
                        {"moved tick", false, 3, 6, 6, 4, 120},
                        {"ticks 2 pixels apart", false, 2, 5, 3, 1, 4}};
  for (const Case& c : cases) {
    StartupModel();
    if (c.octant) ExactShapeModel(ExactShape::SphereOctant);
    else ResizeNet(c.m, c.n);
    model.surfaceKind = c.kind;
    if (c.tickH) model.tickPosH[c.tickH] = c.posH;
    const auto ticksH = model.tickPosH, ticksV = model.tickPosV;
    const fs::path f = dir_ / "con-cola.yqs";
    ASSERT_TRUE(alDisco(f.string())) << c.what;
    const std::vector<uint8_t> written = ReadAll(f);
    ASSERT_EQ(written.size(), 4788u + 20 + 4 * static_cast<size_t>(c.m + c.n + 2)) << c.what;
    EXPECT_EQ(std::memcmp(written.data() + 4788, "YQS+\1\0\0\0", 8), 0) << c.what;  // tag, version

    StartupModel();  // plain, as a new window has it
    ASSERT_EQ(DelDisco(f.string()), SurfaceFileRead::Loaded) << c.what;
    EXPECT_EQ(model.rationalSurface, c.octant) << c.what;
    ASSERT_EQ(model.netM, c.m);
    for (int k = 0; k <= c.m; ++k) EXPECT_EQ(model.tickPosH[k], ticksH[k]) << c.what << " H" << k;
    for (int k = 0; k <= c.n; ++k) EXPECT_EQ(model.tickPosV[k], ticksV[k]) << c.what << " V" << k;
    EXPECT_EQ(EncodeSurfaceFile(), written) << c.what;
    // The octant reopened is the exact sphere again: |P| = 1 at its middle.
    const Point3 p = model.SurfacePoint(0.5, 0.5);
    if (c.octant) {
      EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 1.0, 1e-12);
    }
  }
  // The last plain net, its moved tick put back, is even again: no trailer.
  model.tickPosH[1] = EvenTickH(1, model.netM);
  EXPECT_EQ(EncodeSurfaceFile().size(), 4788u);
}

TEST_F(SurfaceFileTest, DamagedTrailersAreRefusedWhole) {
  LayOutTicks(5, 3);
  model.rationalSurface = true;
  model.tickPosH[2] = 60;
  const std::vector<uint8_t> good = EncodeSurfaceFile();
  const size_t ticksH = 4808, ticksV = 4808 + 4 * 6;
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  auto with = [&](const char* what, auto edit) {
    cases.emplace_back(what, good);
    edit(cases.back().second);
  };
  with("tag", [](auto& b) { b[4791] = '-'; });
  with("version 2", [](auto& b) { PutI32At(b, 4792, 2); });
  with("rational 2", [](auto& b) { PutI32At(b, 4796, 2); });
  with("count against m", [](auto& b) { PutI32At(b, 4800, 5); });
  with("one byte more", [](auto& b) { b.push_back(0); });
  with("head only", [](auto& b) { b.resize(4788 + 19); });
  with("end tick moved", [&](auto& b) { PutI32At(b, ticksH + 20, 155); });
  with("ticks 1 pixel apart", [&](auto& b) { PutI32At(b, ticksH + 8, I32At(b, ticksH + 4) + 1); });
  with("vertical rising", [&](auto& b) { PutI32At(b, ticksV + 4, std::numeric_limits<int32_t>::min()); });
  StartupModel();
  const std::vector<uint8_t> before = EncodeSurfaceFile();
  for (const auto& [what, bytes] : cases) {
    EXPECT_EQ(DecodeSurfaceFile(bytes), SurfaceFileRead::Invalid) << what;
    EXPECT_EQ(EncodeSurfaceFile(), before) << what;
    EXPECT_FALSE(model.rationalSurface) << what;
  }
}

// The writer every file goes through: QSaveFile's behaviour without Qt.
class AtomicFileTest : public SurfaceFileTest {
 protected:
  static std::string Text(const fs::path& p) {
    const std::vector<uint8_t> b = ReadAll(p);
    return std::string(b.begin(), b.end());
  }
  static mode_t ModeOf(const fs::path& p) {
    struct stat st;
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
  }
  size_t Entries(const fs::path& d) const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(d), fs::directory_iterator()));
  }
  UserMessage err;
};

TEST_F(AtomicFileTest, LinksAreFollowedAndModesKept) {
  fs::create_directory(dir_ / "real");
  const fs::path target = dir_ / "real" / "datos.txt";
  WriteAll(target, {'o', 'l', 'd'});
  chmod(target.c_str(), 0640);
  fs::create_symlink("real/datos.txt", dir_ / "enlace.txt");
  fs::create_symlink("real/nuevo.txt", dir_ / "colgante.txt");  // dangling: its target is made
  const mode_t mask = umask(027);
  const bool ok = WriteFileAtomically((dir_ / "enlace.txt").string(), "nuevo", err) &&
                  WriteFileAtomically((dir_ / "colgante.txt").string(), "x", err);
  umask(mask);
  ASSERT_TRUE(ok) << err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "enlace.txt") && fs::is_symlink(dir_ / "colgante.txt"));
  EXPECT_EQ(Text(target), "nuevo");
  EXPECT_EQ(ModeOf(target), 0640u);
  EXPECT_EQ(Text(dir_ / "real" / "nuevo.txt"), "x");
  EXPECT_EQ(ModeOf(dir_ / "real" / "nuevo.txt"), 0640u);  // 0666 less the umask
  EXPECT_EQ(Entries(dir_ / "real"), 2u);
}

TEST_F(AtomicFileTest, WhatIsNotARegularFileIsRefusedAndLeftAsItWas) {
  const fs::path fifo = dir_ / "tuberia", folder = dir_ / "carpeta", device = dir_ / "nulo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder);
  fs::create_symlink("tuberia", dir_ / "a-la-tuberia");
  std::vector<std::pair<fs::path, const char*>> cases = {
      {fifo, "tubería"}, {folder, "carpeta"}, {dir_ / "a-la-tuberia", "tubería"}};
  // A null device of our own (root only), never the system's.
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) cases.emplace_back(device, "dispositivo");
  for (const auto& [path, kind] : cases) {
    EXPECT_FALSE(WriteFileAtomically(path.string(), "x", err)) << path;
    EXPECT_NE(SpanishText(err).find(std::string(kind) + ", no un archivo normal"), std::string::npos) << err;
  }
  EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_directory(folder));
  if (cases.size() == 4) {
    EXPECT_TRUE(fs::is_character_file(device));
  }
  EXPECT_EQ(Entries(dir_), cases.size());  // no temporary left
}

TEST_F(AtomicFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const fs::path f = dir_ / "viejo.txt";
  WriteAll(f, {'v', 'i', 'e', 'j', 'o'});
  {
    const FileSizeLimit full(2);
    EXPECT_FALSE(WriteFileAtomically(f.string(), "mucho más largo", err));
  }
  EXPECT_EQ(Text(f), "viejo");
  EXPECT_EQ(Entries(dir_), 1u);
  EXPECT_FALSE(WriteFileAtomically("", "x", err));
}

TEST_F(AtomicFileTest, TwoWritersNeverShareATemporary) {
  fs::create_directory(dir_ / "datos.txt.tmp~");  // the old fixed name, taken
  std::thread other([&] {
    UserMessage e;
    for (int k = 0; k < 50; ++k) WriteFileAtomically((dir_ / "datos.txt").string(), std::string(4096, 'a'), e);
  });
  for (int k = 0; k < 50; ++k)
    EXPECT_TRUE(WriteFileAtomically((dir_ / "datos.txt").string(), std::string(4096, 'b'), err)) << err;
  other.join();
  const std::string last = Text(dir_ / "datos.txt");
  EXPECT_TRUE(last == std::string(4096, 'a') || last == std::string(4096, 'b'));
  EXPECT_EQ(Entries(dir_), 2u);
}
