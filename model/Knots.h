// Knot-editor arithmetic: tick layout, tick grabbing and moving, and the
// knot vectors that the tick positions give. The window's slider widgets
// show model.tickPosH / tickPosV.
#pragma once

#include <cstdint>

#include "model/Surface.h"

// netM := m, netN := n and the ticks laid out evenly (the knot editor's
// part of a net-size change; the window also updates its widgets).
void LayOutTicks(int m, int n);

// Where LayOutTicks puts tick k of a row whose last tick is `last`.
int EvenTickH(int k, int last);
int EvenTickV(int k, int last);

// Whether ticks 0..last form a row that laying out and dragging can leave:
// the end ticks at the slider's ends, each tick at least 2 pixels past the
// one before it (positions rise along the horizontal slider and fall along
// the vertical one).
bool TickRowReachable(const int32_t* pos, int last, bool horizontal);

// Index of the inner tick grabbed by a press at x (horizontal slider) or y
// (vertical slider), or -1 when the press grabs nothing.
int GrabTickH(int x);
int GrabTickV(int y);

// Moves tick k to x (y) if it keeps 2 pixels from both neighbours; returns
// whether it moved.
bool MoveTickH(int k, int x);
bool MoveTickV(int k, int y);

// knotsU / knotsV from the tick positions, for degree surfaceKind.
void SetKnots();

// The current surface with the knots its ticks give now (what the next
// drawing uses, and what the exports write); the model is left alone.
Surface SurfaceOfTicks();

// The knot vectors of degree d over nets of highest indices m and n from the
// tick positions: the clamped ends and the inner knots of the sliders.
void KnotsOfTicks(int d, int m, int n, const int* ticksH, const int* ticksV, double* knotsU, double* knotsV);

// The inner knot that a tick at pos gives, for degree d and a net whose
// highest index in that direction is last (SetKnots' formula).
double KnotOfTickH(int pos, int d, int last);
double KnotOfTickV(int pos, int d, int last);

// Whether the first control row of a direction carries no knot span: the
// ticks put its first inner knot on the clamped start (a cubic of five
// rows, whose one inner knot is the fixed last tick's). The surface drawn
// is then the cubic of the other rows over the knots after the first.
// d the degree, last the highest net index, knots the full vector.
bool FirstRowHasNoSpan(int d, int last, const double* knots);
