// Undoable model edits: what undo and redo put back and what they leave alone.
#include <gtest/gtest.h>

#include "interact/DrawingCycle.h"
#include "interact/ModelEdits.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"

namespace {

class ModelEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    StartupModel();
    ASSERT_EQ(DrawWhole(false), RenderResult::Complete);  // a camera, a traced net
  }
  void TearDown() override { FinalModelState(); }

  template <class F>
  static ModelEdit Make(EditKind kind, F change) {
    ModelEdit e(kind, CaptureModel());
    change();
    e.Finish();
    return e;
  }
};

TEST_F(ModelEditsTest, UndoingSizesBringsBackThePointsTheyDropped) {
  const ModelSnapshot start = CaptureModel();
  const ModelEdit shrink = Make(EditKind::NetSize, [] { ResizeNet(4, 3); });
  const ModelEdit grow = Make(EditKind::NetSize, [] { ResizeNet(11, 6); });
  ASSERT_NE(start.controlNet[10][3].x, 0.0);
  EXPECT_EQ(model.controlNet[10][3].x, 0.0);  // brought in at the origin
  const SurfacePointFn plain = model.SurfacePoint;
  const ModelEdit rational = Make(EditKind::Rational, [] {
    model.rationalSurface = true;
    FijaFunciones();
  });
  ASSERT_NE(model.SurfacePoint, plain);
  rational.Undo();
  EXPECT_EQ(model.SurfacePoint, plain);  // the evaluator follows the flag
  grow.Undo();
  shrink.Undo();
  EXPECT_TRUE(SameModel(CaptureModel(), start));
}

TEST_F(ModelEditsTest, OnlyAFileBringsBackACamera) {
  const std::vector<uint8_t> file = EncodeSurfaceFile();
  const ModelEdit plane = Make(EditKind::Shape, [] { PlaneNet(); });
  model.shiftX += 40;  // a pan after the edit: not undone with it
  const double panned = model.shiftX;
  plane.Undo();
  EXPECT_EQ(model.shiftX, panned);
  const ModelEdit open = Make(EditKind::Open, [&] { ASSERT_EQ(DecodeSurfaceFile(file), SurfaceFileRead::Loaded); });
  EXPECT_NE(model.shiftX, panned);
  open.Undo();
  EXPECT_EQ(model.shiftX, panned);
  open.Redo();
  EXPECT_EQ(EncodeSurfaceFile(), file);
}

}  // namespace
