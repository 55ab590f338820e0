#include "model/ModelState.h"

#include <new>

#include "model/ColourTables.h"

ModelState model;

namespace {
CArr<CArr<int32_t, 12>, 12> MakeBinomials() {
  CArr<CArr<int32_t, 12>, 12> t{};
  for (int n = 0; n < 12; ++n) {
    t[0][n] = 1;
    for (int k = 1; k <= n; ++k) t[k][n] = t[k - 1][n] * (n - k + 1) / k;
  }
  return t;
}
}  // namespace

const CArr<CArr<int32_t, 12>, 12> binomialTable = MakeBinomials();

bool InitModelState(ViewSize view) {
  qchk::CheckIndex(view.width, ViewSize::kMinSide, ViewSize::kMaxSide);
  qchk::CheckIndex(view.height, ViewSize::kMinSide, ViewSize::kMaxSide);
  FinalModelState();
  // Keep the allocated blocks out of the reset: a fresh record, then buffers.
  model = ModelState{};
  model.view = view;
  model.viewRect = ModelState::Rect{0, 0, view.width, view.height};
  try {
    model.pictureBitmap = std::make_unique<Canvas>(view.width, view.height);
  } catch (const std::bad_alloc&) {
    FinalModelState();
    return false;
  }
  for (int k = 0; k < 12; ++k) {
    model.knotsU[k] = k;
    model.knotsV[k] = k;
  }
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j < 12; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1.0};

  try {
    model.pixelCells.p = std::make_unique<PixelCellGrid>(view);
    model.lightDepth.p = std::make_unique<DepthGrid>(view);
    model.palette.p = std::make_unique<PaletteTable>();
    model.shadeMap.p = std::make_unique<ShadeGrid>(view);
  } catch (const std::bad_alloc&) {
    FinalModelState();
    return false;
  }
  BuildColourTables();
  return true;
}

bool ResizeView(ViewSize view) {
  qchk::CheckIndex(view.width, ViewSize::kMinSide, ViewSize::kMaxSide);
  qchk::CheckIndex(view.height, ViewSize::kMinSide, ViewSize::kMaxSide);
  if (view == model.view && model.pictureBitmap) return true;
  std::unique_ptr<Canvas> picture;
  std::unique_ptr<PixelCellGrid> cells;
  std::unique_ptr<DepthGrid> lightDepth;
  std::unique_ptr<ShadeGrid> shade;
  try {
    picture = std::make_unique<Canvas>(view.width, view.height);
    cells = std::make_unique<PixelCellGrid>(view);
    lightDepth = std::make_unique<DepthGrid>(view);
    shade = std::make_unique<ShadeGrid>(view);
  } catch (const std::bad_alloc&) {
    return false;
  }
  model.view = view;
  model.viewRect = ModelState::Rect{0, 0, view.width, view.height};
  model.pictureBitmap = std::move(picture);
  model.pixelCells.p = std::move(cells);
  model.lightDepth.p = std::move(lightDepth);
  model.shadeMap.p = std::move(shade);
  return true;
}

void FinalModelState() {
  model.pixelCells.p.reset();
  model.lightDepth.p.reset();
  model.palette.p.reset();
  model.shadeMap.p.reset();
  model.pictureBitmap.reset();
  model.fileName.clear();
  for (int i = 1; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.EdgeLinesI[i][j].clear();
  for (int i = 0; i <= 11; ++i)
    for (int j = 1; j <= 11; ++j) model.EdgeLinesJ[i][j].clear();
  model.segmentList.clear();
}
