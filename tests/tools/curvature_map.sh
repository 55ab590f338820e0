#!/bin/bash
# The curvature map options: bad values refused; the values file has a value
# exactly where the surface covers the view; the map leaves the background
# and the picture without --map as they were; the legend is a strip.
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

run --kind bspline3 --rational --png "$work/plain.png" --depth-map "$work/depth.bin"
run --kind bspline3 --rational --map absmax --png "$work/map.png" --map-values "$work/v.bin" \
  --legend "$work/legend.png"
run --kind bspline3 --rational --map absmax --map-range 0,3 --map-values "$work/fixed.bin"

for f in plain map legend; do convert "$work/$f.png" "rgb:$work/$f.rgb"; done
python3 - "$work" <<'PY' || fail "map outputs"
import math, struct, sys, zlib
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
def rgb_rows(name, width):
    d = open(f"{w}/{name}", "rb").read()
    return [d[r * width * 3:(r + 1) * width * 3] for r in range(len(d) // (width * 3))]
assert len(rgb_rows("legend.rgb", 416)) == 48
plain = rgb_rows("plain.rgb", 416)
coloured = rgb_rows("map.rgb", 416)
changed = 0
for y in range(416):
    for x in range(416):
        a, b = plain[y][3 * x:3 * x + 3], coloured[y][3 * x:3 * x + 3]
        if depth[x * 416 + y] != 65536 and a != b: changed += 1
        # Far from the outline the background is untouched.
        if all(depth[(x + dx) * 416 + y + dy] == 65536 for dx in (-1, 0, 1) for dy in (-1, 0, 1)
               if 0 <= x + dx < 416 and 0 <= y + dy < 416):
            assert a == b, (x, y)
assert changed > 10000, changed
PY
finish "curvature map: refusals, values, background, legend"
