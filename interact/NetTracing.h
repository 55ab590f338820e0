// Tracing of the control net's edges against the depth buffer of the last
// full render: one screen polyline per edge, with the hidden pieces left
// out, so the net can be redrawn without touching the surface again.
#pragma once

#include "model/ModelState.h"

// Rebuilds EdgeLinesJ[i][j] (P[i][j-1] to P[i][j]) for i = 0..netM,
// j = 1..netN, then EdgeLinesI[i][j] (P[i][j] to P[i-1][j]) column by column.
void TraceAllNetEdges();

// Rebuilds one polyline: EdgeLinesI[i][j] when familyI, else EdgeLinesJ[i][j].
void RetraceNetEdge(bool familyI, int i, int j);

// Rebuilds the up to four polylines that meet at CurrentNode.
void RetraceNodeStar();

// Appends the visible pieces of a-b to the trace buffer, cut into pieces of
// about 1/20 of the scene diagonal.
void TraceNetEdge(const Point3& a, const Point3& b);

// Appends one depth-tested piece, halved where its visibility changes.
void TraceNetSegment(const Point3& a, const Point3& b);

// The trace buffer around TraceNetEdge: StartTraceBuffer empties it (four
// zero entries, TraceCount -1) and lifts the pen; FinishTraceBuffer appends
// the end marker and returns a copy of the written entries.
void StartTraceBuffer();
Polyline FinishTraceBuffer();

// Frees the trace buffer (at program end).
void ReleaseTraceBuffer();
