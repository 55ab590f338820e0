// The traced box and net edges of the start-up sphere, after a full drawing,
// against the reference polylines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "interact/DrawingCycle.h"
#include "interact/NetTracing.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "render/Antialias.h"
#include "render/RenderDriver.h"

namespace {

std::string Entries(const Polyline& line) {
  std::string t;
  for (long k = 0; k < line.size(); ++k) {
    t += std::to_string(line[k].x) + " " + std::to_string(line[k].y) + "\n";
    if (IsEndMark(line[k])) break;
  }
  return t;
}

class TracingGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    StartupModel();
    ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  }
  void TearDown() override { FinalModelState(); }
  // The reference file split into its sections, keyed by their header line.
  static std::vector<std::pair<std::string, std::string>> Reference() {
    std::ifstream in(std::string(QUORLEN_GOLDEN_DIR) + "/startup-sphere/polylines.txt");
    std::vector<std::pair<std::string, std::string>> sections;
    std::string line;
    while (std::getline(in, line)) {
      if (line == "box" || line[0] == 'I' || line[0] == 'J')
        sections.emplace_back(line, "");
      else if (!sections.empty())
        sections.back().second += line + "\n";
    }
    return sections;
  }
};

TEST_F(TracingGolden, BoxAndNetEdgesMatchTheReference) {
  const auto ref = Reference();
  ASSERT_EQ(ref.size(), 1u + 12u * 6u + 11u * 7u);
  size_t s = 0;
  EXPECT_EQ(ref[s].first, "box");
  EXPECT_EQ(Entries(model.segmentList), ref[s++].second);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 1; j <= model.netN; ++j, ++s) {
      EXPECT_EQ(ref[s].first, "J " + std::to_string(i) + " " + std::to_string(j));
      EXPECT_EQ(Entries(model.EdgeLinesJ[i][j]), ref[s].second) << ref[s].first;
    }
  for (int j = 0; j <= model.netN; ++j)
    for (int i = 1; i <= model.netM; ++i, ++s) {
      EXPECT_EQ(ref[s].first, "I " + std::to_string(i) + " " + std::to_string(j));
      EXPECT_EQ(Entries(model.EdgeLinesI[i][j]), ref[s].second) << ref[s].first;
    }
}

TEST_F(TracingGolden, DragRetraceOfAnUnmovedNodeChangesNothing) {
  const std::string before = Entries(model.EdgeLinesI[5][3]) + Entries(model.EdgeLinesI[6][3]) +
                             Entries(model.EdgeLinesJ[5][3]) + Entries(model.EdgeLinesJ[5][4]);
  model.CurrentNode = ScreenPoint{5, 3};
  RetraceNodeStar();
  EXPECT_EQ(Entries(model.EdgeLinesI[5][3]) + Entries(model.EdgeLinesI[6][3]) +
                Entries(model.EdgeLinesJ[5][3]) + Entries(model.EdgeLinesJ[5][4]),
            before);
}

}  // namespace
