// A preview step reuses the grid's surface points only while the net, the
// knots and the kind are what they were evaluated for.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "interact/SurfaceMove.h"
#include "render/Sampling.h"
#include "test_render_support.h"

namespace {

// A turn of the drawn start-up sphere after edit, the surface points kept
// from the drawing where they may be, or evaluated afresh.
std::vector<uint8_t> PreviewAfter(const std::function<void()>& edit, bool fresh) {
  rtest::StartupModel();
  EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
  edit();
  if (fresh) {
    ForgetSampledSurface();
  }
  MoveSurfacePreview(*model.pictureBitmap, ScreenPoint{150, 200}, ScreenPoint{170, 215}, MoveKeys{});
  return model.pictureBitmap->Bytes();
}

}  // namespace

TEST(PreviewReuse, AnEditedSurfaceIsEvaluatedAgain) {
  const std::vector<std::pair<std::string, std::function<void()>>> edits = {
      {"a control point moved", [] { model.controlNet[4][2].z += 0.5; }},
      {"a weight changed", [] {
         model.rationalSurface = true;
         model.controlNet[5][3].w = 3;
         FijaFunciones();
       }},
      {"the kind changed", [] {
         model.surfaceKind = 3;
         FijaFunciones();
         SetKnots();
       }},
      {"a knot moved", [] {
         model.surfaceKind = 2;
         FijaFunciones();
         SetKnots();
         EXPECT_EQ(DrawWhole(true), RenderResult::Complete);  // the B-spline sampled once
         model.knotsU[4] += 0.3;
       }},
  };
  for (const auto& [what, edit] : edits) {
    const std::vector<uint8_t> fresh = PreviewAfter(edit, true);
    EXPECT_TRUE(PreviewAfter(edit, false) == fresh) << what;
  }
  // And an unedited surface, its points kept.
  const auto nothing = [] {};
  EXPECT_TRUE(PreviewAfter(nothing, false) == PreviewAfter(nothing, true));
}
