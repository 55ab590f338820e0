#!/bin/bash
# The curvature map options: bad values refused; the values file has a value
# exactly where the surface covers the view, whatever the range; the legend
# is a strip under the view's width.
# Usage: bash curvature_map.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
export LANG=es_ES.UTF-8 2>/dev/null  # the messages checked are Spanish

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
# A map that cannot be made: status 1 and the reason in Spanish, no picture
# (every weight 1e-300 of a cubic B-spline, the same surface as weights 1,
# whose derivatives vanish in the rounding).
tiny=""
for i in 0 1 2 3 4 5 6 7 8 9 10 11; do for j in 0 1 2 3 4 5 6; do tiny="$tiny --weight $i,$j,1e-300"; done; done
# shellcheck disable=SC2086 # the options are split on purpose
"$tool" --kind bspline3 --rational $tiny --map gauss --png "$work/tiny.png" --map-values "$work/tiny.bin" \
  >"$work/stdout" 2>"$work/stderr"
status=$?
[ "$status" = 1 ] || fail "a map of nothing: status $status"
grep -q "No se puede hacer el mapa: .*pesos son demasiado pequeños" "$work/stderr" ||
  fail "a map of nothing: $(cat "$work/stderr")"
[ ! -e "$work/tiny.png" ] && [ ! -e "$work/tiny.bin" ] || fail "a map of nothing wrote its files"
# shellcheck disable=SC2086
run --kind bspline3 --rational $tiny --png "$work/tiny.png"  # the plain picture draws

# Values that float32 cannot hold are refused, not written as 0 or inf: a
# surface some 1e39 across, whose curvature is below 1e-38.
big=""
for i in 0 1 2 3; do for j in 0 1 2 3; do
  big="$big --point $i,$j,${i}e39,${j}e39,$(( (i * j) % 3 ))e38"
done; done
# shellcheck disable=SC2086
"$tool" --size 3,3 --kind bspline3 $big --map mean --map-values "$work/big.bin" 2>"$work/stderr"
status=$?
[ "$status" = 1 ] && grep -q "menores que el menor número de 32 bits" "$work/stderr" ||
  fail "tiny map values: status $status, $(cat "$work/stderr")"
[ ! -e "$work/big.bin" ] || fail "tiny map values written"

# A fixed range that is not symmetric: the legend's labels as typed, its
# grey where 0 falls.
run --map k1 --map-range -2,3 --legend "$work/uneven.png"
convert "$work/uneven.png" "rgb:$work/uneven.rgb"
python3 - "$work/uneven.rgb" <<'PY' || fail "uneven legend"
import sys
d = open(sys.argv[1], "rb").read()
px = lambda x, y: d[3 * (y * 416 + x):3 * (y * 416 + x) + 3]
strip = [px(x, 20) for x in range(16, 400)]
lightest = max(range(len(strip)), key=lambda k: sum(strip[k]))
assert abs(16 + lightest - (16 + 0.4 * 383)) <= 3, lightest  # 0 at 40 % of -2..3
PY
finish "curvature map: refusals, values, legend"
