#!/bin/bash
# The overlays change the picture, and the model options change the model
# as the window's controls would.
# Usage: bash overlays_and_model.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
differ() { ! cmp -s "$1" "$2"; }
pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1; }

# Overlays: the net, the cube and both each change the picture; both
# together differ from either alone. The plain picture stays the reference.
run --png "$work/plain.png"
run --png "$work/net.png" --net
run --png "$work/cube.png" --cube
run --png "$work/both.png" --net --cube
[ "$(pixels_differing "$work/plain.png" "$golden/picture.png")" = "0" ] || fail "plain picture is not the reference"
for o in net cube both; do
  n=$(pixels_differing "$work/plain.png" "$work/$o.png")
  [ "$n" != "0" ] || fail "--png with $o overlay equals the plain picture"
done
[ "$(pixels_differing "$work/both.png" "$work/net.png")" != "0" ] || fail "--net --cube equals --net alone"
[ "$(pixels_differing "$work/both.png" "$work/cube.png")" != "0" ] || fail "--net --cube equals --cube alone"
# The cube is drawn after the net: wherever the cube changed the plain
# picture, the picture with both overlays shows the cube's pixels.
convert "$work/cube.png" "$work/plain.png" -compose difference -composite \
  -colorspace gray -threshold 0 "$work/mask.png"
convert "$work/cube.png" "$work/mask.png" -compose multiply -composite "$work/cube-only.png"
convert "$work/both.png" "$work/mask.png" -compose multiply -composite "$work/both-cube.png"
[ "$(pixels_differing "$work/cube-only.png" "$work/both-cube.png")" = "0" ] ||
  fail "the net is drawn over the cube"
# Overlays never touch the other outputs.
run --png "$work/x.png" --net --cube --shade-map "$work/s1.bin" --polylines "$work/l1.txt"
cmp -s "$work/s1.bin" "$golden/shade-map.bin" || fail "overlays changed the shade map"
cmp -s "$work/l1.txt" "$golden/polylines.txt" || fail "overlays changed the polylines"

# Options apply in a fixed order, whatever the order given.
run --shape plane --size 3,4 --polylines "$work/a.txt" --shade-map "$work/a.bin"
run --size 3,4 --shape plane --polylines "$work/b.txt" --shade-map "$work/b.bin"
cmp -s "$work/a.txt" "$work/b.txt" && cmp -s "$work/a.bin" "$work/b.bin" ||
  fail "--shape before --size gave another drawing"
grep -c '^[IJ] ' "$work/a.txt" | grep -qx 31 || fail "a 4 x 5 net should have 31 traced edges"

# The saved file records kind and size (offsets 16, 20, 24).
run --kind bspline2 --size 5,3 --shape cylinder --save "$work/c.yqs"
[ "$(od -An -tu4 -j16 -N12 "$work/c.yqs" | tr -s ' ')" = " 2 5 3" ] || fail "--save: kind and size not recorded"
[ "$(stat -c %s "$work/c.yqs")" = 4788 ] || fail "--save: file is not 4788 bytes"
# ... and reopening it draws the same picture.
run --kind bspline2 --size 5,3 --shape cylinder --shade-map "$work/c1.bin"
run --open "$work/c.yqs" --shade-map "$work/c2.bin"
cmp -s "$work/c1.bin" "$work/c2.bin" || fail "--open of a saved cylinder draws another picture"

# Each model option changes the drawing.
base="--kind bspline3 --size 6,6 --shape plane"
run $base --shade-map "$work/m0.bin"
run $base --point 3,3,0.5,0.5,0.8 --shade-map "$work/m1.bin"
run $base --point 3,3,0.5,0.5,0.8 --rational --weight 3,3,4 --shade-map "$work/m2.bin"
run $base --point 3,3,0.5,0.5,0.8 --tick-u 4,100 --shade-map "$work/m3.bin"
run $base --point 3,3,0.5,0.5,0.8 --tick-v 4,40 --shade-map "$work/m4.bin"
differ "$work/m0.bin" "$work/m1.bin" || fail "--point changed nothing"
differ "$work/m1.bin" "$work/m2.bin" || fail "--rational --weight changed nothing"
differ "$work/m1.bin" "$work/m3.bin" || fail "--tick-u changed nothing"
differ "$work/m1.bin" "$work/m4.bin" || fail "--tick-v changed nothing"
# Ticks are placed in any order as long as the final layout could be dragged
# to: tick 4 past tick 5's old place, then tick 5 farther on.
run $base --point 3,3,0.5,0.5,0.8 --tick-u 4,131 --tick-u 5,140 --shade-map "$work/m7.bin"
run $base --point 3,3,0.5,0.5,0.8 --tick-u 5,140 --tick-u 4,131 --shade-map "$work/m8.bin"
cmp -s "$work/m7.bin" "$work/m8.bin" || fail "tick placements in another order gave another drawing"
differ "$work/m1.bin" "$work/m7.bin" || fail "--tick-u 4,131 --tick-u 5,140 changed nothing"
# A tick moved to where it already stands is accepted and changes nothing.
run $base --point 3,3,0.5,0.5,0.8 --tick-u 4,104 --shade-map "$work/m6.bin"
cmp -s "$work/m1.bin" "$work/m6.bin" || fail "--tick-u to the tick's own place changed the drawing"

finish "overlays and model options: all as expected"
