#!/bin/bash
# --view W,H: the picture and the maps at that size, the 416 default the same
# as no option, and the pointer, the analysis pictures and --save at any size.
# Usage: bash view_size.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

run --view 416,416 --shade-map "$work/default.bin"
cmp -s "$work/default.bin" "$golden/shade-map.bin" || fail "--view 416,416 changes the shade map"

# size WxH of the PNG, shade-map bytes, depth-map bytes, preview bytes
while read -r view w h; do
  run --view "$view" --png "$work/p.png" --shade-map "$work/s.bin" --depth-map "$work/d.bin" \
    --move 100,100,120,110 --preview-map "$work/m.rgb" --net --cube
  [ "$(identify -format '%wx%h' "$work/p.png")" = "${w}x${h}" ] || fail "$view: picture is not ${w}x${h}"
  [ "$(stat -c %s "$work/s.bin")" -eq $((w * h)) ] || fail "$view: shade map size"
  [ "$(stat -c %s "$work/d.bin")" -eq $((4 * w * h)) ] || fail "$view: depth map size"
  [ "$(stat -c %s "$work/m.rgb")" -eq $((3 * w * h)) ] || fail "$view: preview size"
done <<'CASES'
1200,800 1200 800
64,300 64 300
CASES

for bad in 63,416 416,4097 416 a,b; do refuse --view --view "$bad"; done

# The pointer and the analysis at 1200 x 800: pictures of that size, the
# read-outs on the surface, the map's values and its legend as wide as the
# picture. The view's middle shows what the 416 view's middle shows.
v=(--view 1200,800)
run "${v[@]}" --probe 600,400 --probe 1199,799 >"$work/probe.txt"
run --probe 208,208 >"$work/probe416.txt"
[ "$(sed -n 2p "$work/probe.txt")" = "-" ] || fail "probe in the corner: $(sed -n 2p "$work/probe.txt")"
python3 - "$work/probe.txt" "$work/probe416.txt" <<'PY' || fail "the middle's read-out differs from the 416 view's"
import sys
big = [float(t) for t in open(sys.argv[1]).readline().split()]
small = [float(t) for t in open(sys.argv[2]).readline().split()]
# u and v within a pixel of the 416 view (the sphere spans about 1 in u over
# 300 pixels), the point and curvatures near.
sys.exit(not (len(big) == 9 and all(abs(a - b) < 0.01 for a, b in zip(big, small))))
PY
run "${v[@]}" --click 600,400 --click 5,5 --coord-lines --curvature-lines --png "$work/click.png" \
  --segments "$work/click.txt"
run "${v[@]}" --map mean --png "$work/map.png" --map-values "$work/map.bin" --legend "$work/legend.png"
run "${v[@]}" --map zebra --png "$work/zebra.png"
run "${v[@]}" --curvature-net --umbilics --png "$work/net.png" --segments "$work/net.txt" >/dev/null
for p in click map zebra net; do
  [ "$(identify -format '%wx%h' "$work/$p.png")" = 1200x800 ] || fail "$p picture is not 1200x800"
done
[ "$(stat -c %s "$work/map.bin")" -eq $((4 * 1200 * 800)) ] || fail "map values are not 1200 x 800"
[ "$(identify -format '%w' "$work/legend.png")" = 1200 ] || fail "legend is not as wide as the picture"
# The lines drawn lie in the view: every end pixel in 0..1199 x 0..799.
awk 'NF == 5 && ($1 < 0 || $1 > 1199 || $3 < 0 || $3 > 1199 || $2 < 0 || $2 > 799 || $4 < 0 || $4 > 799) { bad = 1 }
     NF == 5 { n++ } END { exit bad || n < 100 }' "$work/click.txt" "$work/net.txt" ||
  fail "traced lines missing or outside the 1200 x 800 view"

# A surface file holds the 416 view's camera: saved at 1200 x 800 and
# opened at 416 it shows the picture of the 416 view.
run "${v[@]}" --save "$work/big.yqs"
run --open "$work/big.yqs" --camera >"$work/reopened.txt"
run --camera >"$work/camera416.txt"
paste -d' ' "$work/reopened.txt" "$work/camera416.txt" | awk '{
  for (k = 2; k <= NF / 2; ++k) { a = $k; b = $(k + NF / 2); d = a - b; if (d < 0) d = -d;
    m = b < 0 ? -b : b; if (d > 1e-9 * (m + 1)) bad = 1 } } END { exit bad }' ||
  fail "the camera saved at 1200 x 800 is not the 416 view's"

# A pixel outside the view is refused whatever the size.
refuse --probe --view 1200,800 --probe 1200,0
refuse --click --view 1200,800 --click 0,800 --coord-lines
finish "view size: ok"
