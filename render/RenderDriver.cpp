#include "render/RenderDriver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/ModelState.h"
#include "model/Projection.h"
#include "platform/Events.h"
#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/ViewSetup.h"

namespace {

// The box's diagonal within the rounding of its coordinates: a few dozen
// ulps of the largest of them, as the evaluators' sums of up to twelve
// weighted terms leave on a constant net.
bool BoxIsAPoint() {
  const Point3 &lo = model.boxMin, &hi = model.boxMax;
  const double size = std::max({std::fabs(lo.x), std::fabs(lo.y), std::fabs(lo.z), std::fabs(hi.x),
                                std::fabs(hi.y), std::fabs(hi.z)});
  return !(model.sceneDiag > 64 * std::numeric_limits<double>::epsilon() * size);
}

}  // namespace

RenderResult RenderSurface(bool keepView) {
  ProcessPendingEvents();
  std::memset((*model.shadeMap).data(), 0, sizeof(ShadeGrid));  // all background
  FindSceneBox();
  // A box that is a single point (every box sample the same point, up to
  // the rounding of the evaluation) would divide by zero in the fit and the
  // depth ranges, or draw that rounding as a surface: refuse here. The
  // events have run, shadeMap is all background and the box values describe
  // the point; the camera, the light, the depth ranges, pixelCells,
  // lightDepth, NetScreen and pictureBitmap are as they were.
  if (BoxIsAPoint()) return RenderResult::Degenerate;
  // Set-up: the camera (unless kept), the light and the depth ranges.
  if (!keepView) FitView();
  PlaceLight();
  SetDepthRanges();
  // The depth pass and the light-depth pass, then the vertex shading.
  FillPixelCells();
  FillLightDepth();
  ShadeVertices();
  ProjectNetToScreen();
  // The shading pass, the only one that can be stopped.
  return ShadeSurface() ? RenderResult::Complete : RenderResult::Stopped;
}

void ShadeToBitmap() {
  const ShadeGrid& shade = *model.shadeMap;
  const PaletteTable& pal = *model.palette;
  Canvas& bmp = *model.pictureBitmap;
  for (int y = 0; y < kView; ++y) {
    uint8_t* row = bmp.Row(y);
    for (int x = 0; x < kView; ++x) {
      const auto& c = pal[shade[x][y]];
      row[3 * x] = c[0];
      row[3 * x + 1] = c[1];
      row[3 * x + 2] = c[2];
    }
  }
}

void ProjectNetToScreen() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const NetPoint& c = model.controlNet[i][j];
      model.NetScreen[i][j] = ProjectToPixel(Point3{c.x, c.y, c.z});
    }
}
