// The curvature-map options of quorlen-render: --map, --map-range,
// --map-values and --legend.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "interact/CurvatureMapping.h"

struct MapOptions {
  MapQuantity quantity = MapQuantity::None;
  MapRange range;  // fixed when --map-range was given
  std::optional<std::string> values, legend;
};

// Takes opt if it is a map option (value() reads its value; throws
// OptionError on a bad one) and says whether it did.
bool MapOption(MapOptions& m, const std::string& opt, const std::function<std::string()>& value);

// The map options that need --map.
void CheckMapOptions(const MapOptions& m);

// Paints the map over the picture (before the overlays) when one is asked.
MapResult ApplyMapOptions(const MapOptions& m);

// Writes --map-values and --legend; throws std::runtime_error when a file
// cannot be written.
void WriteMapOutputs(const MapOptions& m, const MapResult& r);

// Its part of --help, in the installed language.
std::string MapUsage();
