#!/bin/bash
# Surfaces far from the origin, huge and tiny: drawn, moved, clicked and read.
# Usage: bash far_and_large.sh <quorlen-render> <golden-dir>
# shellcheck disable=SC2046,SC2086 # the options are split on purpose
. "$(dirname "$0")/common.sh" "$@"
# A 1 x 1 patch from (B, B, B) to (W, W, W).
patch() { echo "--size 1,1 --point 0,0,$1,$1,$1 --point 0,1,$1,$2,$1 --point 1,0,$2,$1,$1 --point 1,1,$2,$2,$2"; }

# 1e16 away and 200 or 400 wide: the hidden-line halving meets neighbouring
# doubles several pixels apart.
run $(patch 1e16 1.00000000000002e16) --cube --net --png "$work/far.png"
run $(patch 1e16 1.00000000000004e16) --move 208,208,108,178
run $(patch 1e16 1.00000000000004e16) --click 90,240 --coord-lines
# 1e78 and 1e153 across: a read-out of nine fields, and a turn.
for size in 1e78 1e153; do
  [ "$("$tool" $(patch 0 $size) --probe 200,230 2>&1 | wc -w)" = 9 ] || fail "no read-out $size across"
  run $(patch 0 $size) --camera >"$work/still" && run $(patch 0 $size) --move 200,200,230,230 --camera >"$work/turned"
  cmp -s "$work/still" "$work/turned" && fail "a turn $size across left the camera"
done
# 1e-6 across there are no curvatures: "-" in their fields.
[ "$("$tool" $(patch 0 1e-6) --probe 200,230 | cut -d' ' -f6-)" = "- - - -" ] || fail "tiny read-out"
finish "far, huge and tiny surfaces: drawn, moved, clicked and read"
