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
RenderResult RenderSurface(bool keepView);

// pictureBitmap := palette colours of shadeMap, every pixel.
void ShadeToBitmap();

// NetScreen[i][j] := pixel of control point (i, j), i <= netM, j <= netN.
void ProjectNetToScreen();
