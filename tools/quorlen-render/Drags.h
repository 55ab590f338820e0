// The drag options of quorlen-render: the moving mode's preview steps and
// node drags of the net-editing mode, each ended as the window's release
// ends it, with the picture drawn again.
#pragma once

#include "tools/quorlen-render/RenderOptions.h"

// Runs the --move and --drag-node actions in order after the first drawing.
// A run of moves is one drag: its release redraws once, after its last step.
// Each node drag prints the panel's coordinates after it. Writes the
// --preview-map file. Throws OptionError for a press that picks no control
// point, std::runtime_error when the redraw finds nothing to draw, a file
// cannot be written or a move step fails in the core ("moving the surface
// failed: ..."), and qchk::RunError from the rest of the core.
void RunDrags(const RenderOptions& o);
