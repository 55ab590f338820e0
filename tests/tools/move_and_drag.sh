#!/bin/bash
# The drag options: preview steps of the moving mode (turn, pan, zoom) with
# the picture of the last one, node drags of the net-editing mode, the
# redraw that ends each drag, and their refusals.
# Usage: bash move_and_drag.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh"
pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1; }
value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
rgb_size=$((416 * 416 * 3))

run --camera >"$work/cam0.txt"

# A turn: the preview is a picture of its own, the redraw keeps the turned
# view, focal and the shifts.
run --move 208,208,240,220 --preview-map "$work/turn.rgb" --png "$work/turn.png" --camera >"$work/cam-turn.txt"
[ "$(stat -c %s "$work/turn.rgb")" = "$rgb_size" ] || fail "preview map is not 416 x 416 RGB"
convert -size 416x416 -depth 8 "rgb:$work/turn.rgb" "$work/turn-preview.png"
[ "$(pixels_differing "$work/turn-preview.png" "$work/turn.png")" != 0 ] || fail "the preview is the redrawn picture"
[ "$(pixels_differing "$work/turn.png" "$golden/picture.png")" != 0 ] || fail "a turn left the picture"
cmp -s "$work/cam0.txt" "$work/cam-turn.txt" && fail "a turn left the camera"
for k in focal shiftX shiftY; do
  [ "$(value $k "$work/cam0.txt")" = "$(value $k "$work/cam-turn.txt")" ] || fail "a turn changed $k"
done

# --fit after a pan far away: the view fitted afresh is the first picture.
run --move 200,210,40000,210,ctrl --fit --png "$work/fit.png" --camera >"$work/cam-fit.txt"
[ "$(pixels_differing "$work/fit.png" "$golden/picture.png")" = 0 ] || fail "--fit did not find the first view"
cmp -s "$work/cam0.txt" "$work/cam-fit.txt" || fail "--fit gave another camera"

# A turn that starts off the trackball keeps the camera: the redraw is the
# first picture again, but the preview was drawn.
run --move 2,2,200,200 --preview-map "$work/off.rgb" --png "$work/off.png" --camera >"$work/cam-off.txt"
cmp -s "$work/cam0.txt" "$work/cam-off.txt" || fail "a turn from off the trackball moved the camera"
[ "$(pixels_differing "$work/off.png" "$golden/picture.png")" = 0 ] || fail "a turn from off the trackball changed the picture"
convert -size 416x416 -depth 8 "rgb:$work/off.rgb" "$work/off-preview.png"
[ "$(pixels_differing "$work/off-preview.png" "$golden/picture.png")" != 0 ] || fail "no preview drawn off the trackball"
# Whatever the distance, one step: a move of one pixel still previews.
run --move 208,208,209,208 --preview-map "$work/small.rgb"
[ "$(stat -c %s "$work/small.rgb")" = "$rgb_size" ] || fail "a one-pixel move wrote no preview"

# Ctrl pans: the picture follows the mouse pixel for pixel.
run --move 200,210,230,190,ctrl --camera >"$work/cam-pan.txt"
awk -v a="$(value shiftX "$work/cam0.txt")" -v b="$(value shiftX "$work/cam-pan.txt")" \
  -v c="$(value shiftY "$work/cam0.txt")" -v d="$(value shiftY "$work/cam-pan.txt")" \
  'BEGIN { exit !((a - 30 - b) ^ 2 < 1e-20 && (c + 20 - d) ^ 2 < 1e-20) }' || fail "pan: $(cat "$work/cam-pan.txt")"
[ "$(value focal "$work/cam0.txt")" = "$(value focal "$work/cam-pan.txt")" ] || fail "a pan changed focal"

# Shift zooms: 50 pixels up x 1.1, down x 0.9; two steps compound; a
# move of 500 pixels or more downwards keeps focal negative.
f0=$(value focal "$work/cam0.txt")
zoom() {
  local want=$1
  shift
  run "$@" --camera >"$work/cam-zoom.txt"
  awk -v f="$(value focal "$work/cam-zoom.txt")" -v f0="$f0" -v w="$want" \
    'BEGIN { exit !((f - f0 * w) ^ 2 < 1e-20 * f0 * f0 && f < 0) }' || fail "zoom $*: focal $(value focal "$work/cam-zoom.txt")"
}
zoom 1.1 --move 300,250,300,200,shift
zoom 0.9 --move 300,200,300,250,shift
zoom 0.99 --move 300,250,300,200,shift --move 300,200,300,250,shift
zoom 0.002 --move 300,100,300,700,shift
zoom 0.002 --move 300,0,300,5000,shift

# A node drag: the point under the press follows to the release position,
# nearer by 1/64 per tick of the Up arrow, farther with Down; the redraw
# shows it there, and the view is kept.
run --polylines "$work/pl0.txt"
start=$(awk '/^J 5 4$/ { getline; getline; print; exit }' "$work/pl0.txt")
x=${start% *}
y=${start#* }
[ "$x" -gt 0 ] 2>/dev/null || fail "no start pixel for point 5,3: '$start'"
# Point (5,3) of the start-up sphere: (cos(10 pi / 11), sin(10 pi / 11), 0).
depth_moved() {
  local out=$1 cam=$2
  awk -v vx="$(awk '$1 == "viewDir" { print $2 }' "$cam")" -v vy="$(awk '$1 == "viewDir" { print $3 }' "$cam")" \
    -v vz="$(awk '$1 == "viewDir" { print $4 }' "$cam")" \
    '{ pi = atan2(0, -1); print ($4 - cos(10 * pi / 11)) * vx + ($5 - sin(10 * pi / 11)) * vy + $6 * vz }' "$out"
}
for k in up down; do
  run --drag-node "$((x + 3)),$((y - 4)),$x,$y,$k=64" --polylines "$work/pl-$k.txt" --png "$work/drag-$k.png" \
    --camera >"$work/drag-$k.txt"
  grep -Eq '^node 5 3 (-?[0-9]+\.[0-9]{2} ){2}-?[0-9]+\.[0-9]{2}$' "$work/drag-$k.txt" ||
    fail "drag $k printed: $(cat "$work/drag-$k.txt")"
  grep node "$work/drag-$k.txt" >"$work/node-$k.txt"
  moved=$(depth_moved "$work/node-$k.txt" "$work/drag-$k.txt")
  want=1
  [ "$k" = down ] && want=-1
  awk -v m="$moved" -v w="$want" 'BEGIN { exit !((m - w) ^ 2 < 0.03 ^ 2) }' || fail "drag $k moved $moved along viewDir"
  grep -v node "$work/drag-$k.txt" | cmp -s - "$work/cam0.txt" || fail "a node drag changed the view"
  [ "$(pixels_differing "$work/drag-$k.png" "$golden/picture.png")" != 0 ] || fail "drag $k: picture not redrawn"
done
# Where the drag left the point, its edges start after the redraw.
[ "$(awk '/^J 5 4$/ { getline; getline; print; exit }' "$work/pl-up.txt")" = "$x $y" ] ||
  fail "the dragged point's edge does not start under the release"
# Far off the drag-limit sphere: the point stays.
run --drag-node "$x,$y,99999,$y" --png "$work/far.png" >"$work/far.txt"
[ "$(cat "$work/far.txt")" = "node 5 3 unmoved" ] || fail "drag off the limit printed: $(cat "$work/far.txt")"
[ "$(pixels_differing "$work/far.png" "$golden/picture.png")" = 0 ] || fail "a refused drag changed the picture"
# Moves and node drags in one run, in order: each prints and redraws.
run --move 208,208,220,208 --drag-node "$x,$y,$x,$y" --drag-node "$x,$y,$x,$y,up=2" >"$work/both.txt"
[ "$(grep -c '^node ' "$work/both.txt")" = 2 ] || fail "two node drags printed: $(cat "$work/both.txt")"

# Refusals: status 2, one message naming the option, nothing written or printed.
refuse --move --move 1,2,3
refuse --move --move 1,2,3,4,alt
refuse --move --move 1,2,3,4,shift,ctrl
refuse --move --move 1,2,3,100001
refuse --drag-node --drag-node 1,2,3,4,up=-1
refuse --drag-node --drag-node 1,2,3,4,sideways=2
refuse --drag-node --drag-node 2,2,3,3
refuse --drag-node --drag-node "$x,$y,$x,$y" --drag-node 2,2,3,3
refuse --preview-map --preview-map "$work/out/m.rgb"
refuse --preview-map --drag-node "$x,$y,$x,$y" --preview-map "$work/out/m.rgb"
refuse --preview-map --move 1,2,3,4 --preview-map "$work/out/p.png"

finish "moves and drags: all as expected"
