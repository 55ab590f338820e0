// Undoable model edits: what undo and redo put back, what they leave alone,
// and the headless renderer's history.
#include <gtest/gtest.h>

#include "interact/DrawingCycle.h"
#include "interact/ModelEdits.h"
#include "interact/NetDrawing.h"
#include "model/ModelState.h"
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

TEST_F(ModelEditsTest, UndoAndRedoGiveTheStatesBitForBit) {
  const ModelSnapshot start = CaptureModel();
  const ModelEdit resize = Make(EditKind::NetSize, [] { ResizeNet(4, 9); });
  const ModelSnapshot resized = CaptureModel();
  const ModelEdit plane = Make(EditKind::Shape, [] { PlaneNet(); });
  const SurfacePointFn plain = model.SurfacePoint;
  const ModelEdit rational = Make(EditKind::Rational, [] {
    model.rationalSurface = true;
    FijaFunciones();
  });
  const SurfacePointFn weighted = model.SurfacePoint;
  ASSERT_NE(plain, weighted);
  const ModelSnapshot last = CaptureModel();
  rational.Undo();
  EXPECT_EQ(model.SurfacePoint, plain);  // the evaluator follows the flag
  plane.Undo();
  EXPECT_TRUE(SameModel(CaptureModel(), resized));
  resize.Undo();
  EXPECT_TRUE(SameModel(CaptureModel(), start));
  EXPECT_FALSE(NetTracedForCurrentSize());  // the net traced for 4 x 9 is no longer on show
  resize.Redo();
  plane.Redo();
  rational.Redo();
  EXPECT_TRUE(SameModel(CaptureModel(), last));
  EXPECT_EQ(model.SurfacePoint, weighted);
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

TEST_F(ModelEditsTest, HistoryCountsAndDropsWhatWasUndone) {
  EditHistory h;
  h.Push(Make(EditKind::Shape, [] { PlaneNet(); }));
  h.Push(Make(EditKind::SurfaceKind, [] { model.surfaceKind = 2; }));
  EXPECT_FALSE(h.Undo(3));
  EXPECT_EQ(h.UndoCount(), 2u);
  EXPECT_TRUE(h.Undo(2));
  EXPECT_FALSE(h.Done(EditKind::Shape));
  EXPECT_FALSE(h.Redo(3));
  EXPECT_TRUE(h.Redo(1));
  EXPECT_TRUE(h.Done(EditKind::Shape));
  h.Push(Make(EditKind::Rational, [] { model.rationalSurface = true; }));
  EXPECT_EQ(h.RedoCount(), 0u);  // the kind's change is gone for good
  EXPECT_EQ(h.UndoCount(), 2u);
  EXPECT_EQ(model.surfaceKind, 1);
}

}  // namespace
