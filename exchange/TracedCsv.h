// The lines traced through clicked points since the last drawing, as CSV
// for spreadsheets: one row per point the tracers stepped to.
#pragma once

#include <string>

#include "model/Surface.h"
#include "platform/UserMessage.h"
#include "model/TracedLines.h"

// Header "line,family,u,v,x,y,z,k1,k2", then per point: the line's number,
// its family (u, v, k1 or k2), the parameters, the surface point and the
// principal curvatures there (empty where the surface is singular). "." as
// decimal separator, every number to full double precision. The points
// are those of `record` on s.
std::string TracedLinesCsv(const Surface& s, const TracedLineRecord& record);

// The shortest text that reads back to the same double ("." as separator,
// exponent where that is shorter): the CSV's numbers, and the tool's.
std::string ShortestNumberText(double x);

// Writes it atomically; false with the reason in `error`. `lines` receives
// how many lines were written.
bool WriteTracedCsvFile(const std::string& name, const Surface& s, const TracedLineRecord& record, int& lines,
                        UserMessage& error);
