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

bool InitModelState() {
  FinalModelState();
  // Keep the allocated blocks out of the reset: a fresh record, then buffers.
  model = ModelState{};
  model.pictureBitmap = std::make_unique<Canvas>(kView, kView);
  for (int k = 0; k < 12; ++k) {
    model.knotsU[k] = k;
    model.knotsV[k] = k;
  }
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j < 12; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1.0};

  model.pixelCells.p.reset(new (std::nothrow) PixelCellGrid);
  if (model.pixelCells) model.lightDepth.p.reset(new (std::nothrow) DepthGrid);
  if (model.lightDepth) model.palette.p.reset(new (std::nothrow) PaletteTable);
  if (model.palette) model.shadeMap.p.reset(new (std::nothrow) ShadeGrid());
  if (!model.shadeMap) {
    FinalModelState();
    return false;
  }
  BuildColourTables();
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
