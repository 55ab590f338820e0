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

// The polyline of one net edge a-b: cut into pieces of about 1/20 of the
// scene diagonal, its first run starting with a pen-up marker, ended by the
// end marker and holding exactly the written entries.
Polyline TraceNetEdge(const Point3& a, const Point3& b);

