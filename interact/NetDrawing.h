// Drawing the traced control net: every edge is a stored polyline (see
// NetTracing.h) replayed with move-to and line-to in the canvas's current
// pen colour and mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/ModelState.h"
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

// ---------------------------------------------------------------------------
// Editing the net with the mouse ("Modificar nodos").
//
// The polylines and NetScreen describe the net of one size: the one traced
// after the last drawing. Picking, hovering and dragging use them only
// while that is still the current netM x netN; after a change of size they
// pick nothing and draw nothing until the net is traced again.

// Records that the edges were just traced (TraceAllNetEdges) and NetScreen
// filled for the current netM x netN. The window calls it after every
// drawing, after the release re-render and after retracing an edited net.
void NoteNetTraced();
// Nothing is traced (start-up state).
void ForgetTracedNet();
// The traced net is that of the current netM x netN.
bool NetTracedForCurrentSize();

// The control point nearest to view pixel (x, y) by Manhattan distance,
// scanning rows i = 0..netM, columns j = 0..netN; the first in that order
// wins a tie. Entries of NetScreen with x <= 0 are never picked. found when
// the distance is below 10 pixels (scaled with the view); (i, j) is the
// nearest point even when
// not found ((0, 0) when none was looked at). Never found while the net is
// not traced for the current size.
struct NetPick {
  bool found;
  int32_t i, j;
};
NetPick PickNetPoint(int x, int y);

// A control point's coordinates as the panel shows them ("." separator).
struct CoordTexts {
  std::string x, y, z;
};

// What the panel shows for a newly hovered point: indices as plain
// integers, coordinates with 3 decimals and 4 significant digits, and the
// weight (same format) only for a rational surface.
struct HoverTexts {
  int32_t i, j;
  CoordTexts xyz;
  std::optional<std::string> weight;
};

// A mouse move without the button in the net-editing mode: the star of the
// point under the pointer turns red on the view and the star of the point
// hovered before goes back to the net colour (the new star is drawn red a
// second time, so edges the two share stay red). Updates CurrentNode and
// nodePicked. Returns the panel's texts when the pointer came to another
// point than CurrentNode; nothing to write otherwise.
std::optional<HoverTexts> HoverNetPoint(Canvas& view, int x, int y);

// A press in the net-editing mode (the window has stored (x, y) as its last
// mouse position). On a hit: CurrentNode and nodePicked are set, the view
// gets the stored picture back (pictureBitmap, which erases everything drawn
// over it), the net without the point's star in the net colour and the star
// in red in not-xor mode; dragRedrawPending is set. Returns true then, and
// the window enables its 20 ms timer and takes the keyboard focus from the
// panel (so that the arrow keys reach the timer step). A press that picks
// nothing changes nothing and returns false.
bool BeginNodeDrag(Canvas& view, int x, int y);

// One step of a drag (nothing unless dragRedrawPending): CurrentNode moves
// to where its projection is exactly view position (x, y), at its depth
// along viewDir changed by +0.015625 (d = 1, nearer to the eye), -0.015625
// (d = -1) or not at all (d = 0). A position outside the drag-limit sphere
// (|N - sceneCentre|² >= dragRadiusSq) is dropped and nothing changes.
// Otherwise the point, its NetScreen entry and its star's polylines are
// updated, and the star is moved on the view (not-xor, red). Returns the
// panel's new coordinates (2 decimals) when the point moved.
std::optional<CoordTexts> NodeDragStep(Canvas& view, int d, int x, int y);

// The 20 ms timer's step: NodeDragStep towards the last mouse position,
// nearer while the Up arrow is held, farther while the Down arrow is (Up
// wins when both are). It runs whether the mouse moved or not.
std::optional<CoordTexts> NodeDragTick(Canvas& view, ScreenPoint lastMouse, bool upHeld, bool downHeld);
