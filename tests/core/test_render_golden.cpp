// The start-up sphere against the golden files of the independent
// implementation: shade map after the filter, depth map, camera, picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "test_render_support.h"

namespace {

class RenderGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    rtest::StartupModel();
    ASSERT_EQ(rtest::DrawCycle(), RenderResult::Complete);
  }
  void TearDown() override { InitModelState(); }
};

TEST_F(RenderGolden, ShadeMapMatches) {
  const std::vector<uint8_t> golden = rtest::ReadGolden("shade-map.bin");
  ASSERT_EQ(golden.size(), static_cast<size_t>(kView * kView));
  long differing = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const int want = golden[static_cast<size_t>(x) * kView + y];
      const int got = (*model.shadeMap)[x][y];
      if (want != got) {
        if (differing == 0)
          ADD_FAILURE() << "first difference at (" << x << ", " << y << "): got " << got
                        << ", golden " << want;
        ++differing;
      }
    }
  EXPECT_EQ(differing, 0);
}

TEST_F(RenderGolden, DepthMapMatches) {
  const std::vector<uint8_t> golden = rtest::ReadGolden("depth-map.bin");
  ASSERT_EQ(golden.size(), static_cast<size_t>(kView * kView * 4));
  long differing = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const size_t k = (static_cast<size_t>(x) * kView + y) * 4;
      const int32_t want = static_cast<int32_t>(static_cast<uint32_t>(golden[k]) |
                                                (static_cast<uint32_t>(golden[k + 1]) << 8) |
                                                (static_cast<uint32_t>(golden[k + 2]) << 16) |
                                                (static_cast<uint32_t>(golden[k + 3]) << 24));
      const int32_t got = (*model.pixelCells)[x][y].depth;
      if (want != got) {
        if (differing == 0)
          ADD_FAILURE() << "first difference at (" << x << ", " << y << "): got " << got
                        << ", golden " << want;
        ++differing;
      }
    }
  EXPECT_EQ(differing, 0);
}

TEST_F(RenderGolden, CameraMatches) {
  const std::vector<uint8_t> bytes = rtest::ReadGolden("camera.txt");
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  int seen = 0;
  auto parse = [](std::istringstream& ls, int n, double* out) {
    for (int k = 0; k < n; ++k) {
      std::string tok;
      ls >> tok;
      out[k] = std::strtod(tok.c_str(), nullptr);
    }
  };
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string name;
    ls >> name;
    double v[3] = {0, 0, 0};
    if (name == "eye" || name == "viewDir" || name == "screenX" || name == "screenY") {
      parse(ls, 3, v);
      const Point3& p = name == "eye"       ? model.eye
                        : name == "viewDir" ? model.viewDir
                        : name == "screenX" ? model.screenX
                                            : model.screenY;
      EXPECT_EQ(p.x, v[0]) << name;
      EXPECT_EQ(p.y, v[1]) << name;
      EXPECT_EQ(p.z, v[2]) << name;
      ++seen;
    } else if (name == "focal" || name == "shiftX" || name == "shiftY") {
      parse(ls, 1, v);
      const double got = name == "focal"    ? model.focal
                         : name == "shiftX" ? model.shiftX
                                            : model.shiftY;
      EXPECT_EQ(got, v[0]) << name;
      ++seen;
    }
  }
  EXPECT_EQ(seen, 7);
}

// The picture's colours: palette[shadeMap] at every pixel (the PNG itself
// is left to the tool's tests, which have a decoder).
TEST_F(RenderGolden, PictureIsPaletteOfGoldenShades) {
  const std::vector<uint8_t> golden = rtest::ReadGolden("shade-map.bin");
  ASSERT_EQ(golden.size(), static_cast<size_t>(kView * kView));
  long differing = 0;
  for (int y = 0; y < kView; ++y) {
    const uint8_t* row = model.pictureBitmap->Row(y);
    for (int x = 0; x < kView; ++x) {
      const auto& c = (*model.palette)[golden[static_cast<size_t>(x) * kView + y]];
      if (row[3 * x] != c[0] || row[3 * x + 1] != c[1] || row[3 * x + 2] != c[2]) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
