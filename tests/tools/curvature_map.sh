#!/bin/bash
# The curvature map options: bad values refused; the values file has a value
# exactly where the surface covers the view, whatever the range; the legend
# is a strip under the view's width.
# Usage: bash curvature_map.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

refuse --map --map gaussian
refuse --map --map gauss --map mean
refuse --map-range --map gauss --map-range 1
refuse --map-range --map gauss --map-range 1,0
refuse --map-range --map gauss --map-range 0,nan
refuse --map-range --map-range -1,1
refuse --map-values --map-values "$work/v.bin"
refuse --legend --legend "$work/l.png"
refuse --legend --map k1 --map-values "$work/same" --legend "$work/same"

run --kind bspline3 --rational --depth-map "$work/depth.bin"
run --kind bspline3 --rational --map absmax --png "$work/map.png" --map-values "$work/v.bin" \
  --legend "$work/legend.png"
run --kind bspline3 --rational --map absmax --map-range 0,3 --map-values "$work/fixed.bin"

convert "$work/legend.png" "rgb:$work/legend.rgb"
python3 - "$work" <<'PY' || fail "map outputs"
import math, struct, sys
w = sys.argv[1]
def floats(name):
    d = open(f"{w}/{name}", "rb").read()
    assert len(d) == 416 * 416 * 4, len(d)
    return struct.unpack("<%df" % (416 * 416), d)
v = floats("v.bin")
depth = struct.unpack("<%di" % (416 * 416), open(f"{w}/depth.bin", "rb").read())
for k in range(416 * 416):
    assert math.isnan(v[k]) == (depth[k] == 65536), k
    assert math.isnan(v[k]) or v[k] >= 0
# The values do not depend on the range.
f = floats("fixed.bin")
assert all((math.isnan(a) and math.isnan(b)) or a == b for a, b in zip(v, f))
legend = open(f"{w}/legend.rgb", "rb").read()
assert len(legend) == 416 * 48 * 3, len(legend)
PY
finish "curvature map: refusals, values, legend"
