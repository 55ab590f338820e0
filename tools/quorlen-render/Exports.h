// quorlen-render's exports: pictures, traced lines, meshes and the exact
// surface, as the window's "Exportar" menu writes them; and --open of STEP
// and IGES files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "tools/quorlen-render/RenderOptions.h"

// Takes `opt` if it is an --export-* option; value() reads its value.
// Throws OptionError for a bad value.
bool ExportOption(RenderOptions& o, const std::string& opt, const std::function<std::string()>& value);

// Reads a STEP or IGES file into the model if `name` has one of their
// extensions and returns true; throws OptionError when the file is refused.
bool OpenCadFile(const std::string& name);

// Writes the exports asked for. `picture` is the drawing without overlays,
// `view` with them, `overlay` the overlay lines drawn on it, `legend` the
// curvature map's legend strip put below the pictures (or null). Throws
// std::runtime_error when a file cannot be written.
void WriteExports(const RenderOptions& o, const Canvas& picture, const Canvas& view,
                  const std::vector<DrawnLine>& overlay, const Canvas* legend);

// Its part of --help, in the installed language.
std::string ExportUsage();
