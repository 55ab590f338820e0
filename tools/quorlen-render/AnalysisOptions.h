// The renderer's options for reflection lines, umbilic points and the net
// of lines of curvature: --map zebra, --zebra, --umbilics, --curvature-net.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "render/Zebra.h"

struct AnalysisOptions {
  bool zebra = false;  // --map zebra
  std::optional<ZebraSettings> zebraSettings;
  bool umbilics = false;
  bool curvatureNet = false;
};

// Takes opt if it is one of these options (next is the following argument,
// or null; value() reads it) and says whether it did; throws OptionError.
bool AnalysisOption(AnalysisOptions& a, const std::string& opt, const char* next,
                    const std::function<std::string()>& value);

// The combinations that cannot work: --zebra without --map zebra, zebra
// with a curvature map, the net or the marks with nowhere to go.
void CheckAnalysisOptions(const AnalysisOptions& a, bool curvatureMap, bool png, bool segments);

// Into pictureBitmap, before the overlays, as the window draws them: the
// zebra picture when asked, then the umbilic points marked and printed, one
// "u v x y z k class" or "region u0 u1 v0 v1 k" or "singular u0 u1 v0 v1"
// a line.
void ApplyAnalysisPicture(const AnalysisOptions& a);

// After the overlays: the net drawn on the view, its lines logged into the
// view's line log (the SVG's overlay lines) and into `listing` as the
// clicks' are, after a line "net".
void RunAnalysisOptions(const AnalysisOptions& a, Canvas& view, std::string* listing);

// Its part of --help, in the installed language.
std::string AnalysisUsage();
