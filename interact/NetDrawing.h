// Drawing the traced control net: every edge is a stored polyline (see
// NetTracing.h) replayed with move-to and line-to in the canvas's current
// pen colour and mode.
#pragma once

#include <cstdint>

#include "platform/Canvas.h"

// Replays EdgeLinesI[i][j] (i = 1..netM) or EdgeLinesJ[i][j] (j = 1..netN).
void DrawEdgeI(Canvas& c, int i, int j);
void DrawEdgeJ(Canvas& c, int i, int j);

// All edges in the net colour (blueLineColours[7]); the pen mode is kept.
void DrawNet(Canvas& c);
// The same without the up to four edges that meet at (pi, pj).
void DrawNetExcept(Canvas& c, int pi, int pj);

// The edges that meet at (i, j) in `colour`: in copy mode, or in not-xor mode
// so that a second drawing restores the pixels. Leaves the pen in copy mode.
void DrawNodeStar(Canvas& c, bool copy, uint32_t colour, int i, int j);
