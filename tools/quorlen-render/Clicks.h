// The pointer options of quorlen-render: read-outs and presses on the drawn
// view, as the window's mouse handlers run them.
#pragma once

#include "platform/Canvas.h"
#include "tools/quorlen-render/RenderOptions.h"

// Runs the --probe and --click actions in order on the view (which already
// shows the picture and its overlays): read-outs and umbilic messages go to
// stdout, the lines onto the view, the --segments listing into its file.
// Throws std::runtime_error when the core fails in an action (the message
// names it: "the read-out failed: ...", "tracing the lines failed: ...") or
// the listing cannot be written.
void RunPointerActions(const RenderOptions& o, Canvas& view);
