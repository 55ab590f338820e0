// The full picture: camera and light set-up, sampling, depth maps, shading.
#pragma once

enum class RenderResult {
  Complete,    // every pass ran to the end
  Stopped,     // the shading pass stopped on stopRequested; partial picture
  Degenerate,  // the sampled surface is a single point: nothing was drawn
};

// Leaves shadeMap, pixelCells, NetScreen and the camera (unless keepView)
// for the rest of the program. The caller runs AntialiasShadeMap and
// ShadeToBitmap afterwards.
//
// Degenerate: the 121 box samples are one point (sceneDiag = 0). The render
// stops after measuring the box: pending events have run, shadeMap is all
// background and the box values (boxMin, boxMax, boxSize, boxHalf,
// sceneCentre, sceneDiag and the lengths derived from it) describe the
// point. The camera, the light, the depth ranges, pixelCells, lightDepth,
// the sampling grids, NetScreen and pictureBitmap are left as they were.
//
// Stopped: the shading pass found stopRequested set before one of its 40
// rows of grid cells; the rows before it are shaded, the rest of shadeMap
// is background. Everything before the shading pass (box, camera, light,
// depth ranges, pixelCells, lightDepth, vertex shading, NetScreen) has run
// to the end.
RenderResult RenderSurface(bool keepView);

// pictureBitmap := palette colours of shadeMap, every pixel.
void ShadeToBitmap();

// NetScreen[i][j] := pixel of control point (i, j), i <= netM, j <= netN.
void ProjectNetToScreen();
