#!/bin/bash
# --view W,H: the pictures, maps and pointer at that size; 416,416 is the default.
# Usage: bash view_size.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

# near A B TOL: the numbers of A and B agree line by line to TOL, relative (plus TOL).
near() {
  paste -d' ' "$1" "$2" | awk -v t="$3" '{ n = NF / 2; if (n < 2 || n != int(n)) bad = 1
    for (k = 1; k <= n; ++k) { d = $k - $(k + n); m = $(k + n); if (d * d > t * t * (m * m + 1)) bad = 1 } }
    END { exit bad || NR == 0 }'
}
run --view 416,416 --shade-map "$work/default.bin"
cmp -s "$work/default.bin" "$golden/shade-map.bin" || fail "--view 416,416 changes the shade map"
for bad in 63,416 416,4097 416 a,b; do refuse --view --view "$bad"; done
refuse --probe --view 1200,800 --probe 1200,0
refuse --click --view 1200,800 --click 0,800 --coord-lines

v=(--view 1200,800)
run "${v[@]}" --png "$work/p.png" --shade-map "$work/s.bin" --depth-map "$work/d.bin" \
  --move 100,100,120,110 --preview-map "$work/m.rgb" --net --cube
# The middle reads what the 416 view's middle reads; the corner is off the surface.
run "${v[@]}" --probe 600,400 --probe 1199,799 >"$work/probe.txt"
run --probe 208,208 >"$work/probe416.txt"
[ "$(sed -n 2p "$work/probe.txt")" = "-" ] || fail "the corner reads $(sed -n 2p "$work/probe.txt")"
head -1 "$work/probe.txt" >"$work/middle.txt"
near "$work/middle.txt" "$work/probe416.txt" 0.01 || fail "the middle's read-out differs from the 416 view's"
run "${v[@]}" --click 600,400 --click 5,5 --coord-lines --curvature-lines --png "$work/click.png" \
  --segments "$work/click.txt"
run "${v[@]}" --map mean --png "$work/map.png" --map-values "$work/map.bin" --legend "$work/legend.png"
run "${v[@]}" --map zebra --png "$work/zebra.png"
run "${v[@]}" --curvature-net --umbilics --png "$work/net.png" --segments "$work/net.txt" >/dev/null
for p in p click map zebra net; do
  [ "$(identify -format '%wx%h' "$work/$p.png")" = 1200x800 ] || fail "$p.png is not 1200 x 800"
done
for f in s.bin:1 d.bin:4 m.rgb:3 map.bin:4; do  # bytes a pixel
  [ "$(stat -c %s "$work/${f%:*}")" -eq $((${f#*:} * 1200 * 800)) ] || fail "${f%:*} is not of the 1200 x 800 view"
done
[ "$(identify -format '%w' "$work/legend.png")" = 1200 ] || fail "the legend is not as wide as the picture"
awk 'NF == 5 { n++; if ($1 < 0 || $1 > 1199 || $3 < 0 || $3 > 1199 || $2 < 0 || $2 > 799 || $4 < 0 || $4 > 799)
       bad = 1 }
     END { exit bad || n < 100 }' "$work/click.txt" "$work/net.txt" || fail "traced lines missing or outside the view"
# A surface saved at 1200 x 800 holds the 416 view's camera.
run "${v[@]}" --save "$work/big.yqs"
run --open "$work/big.yqs" --camera >"$work/reopened.txt"
run --camera >"$work/camera416.txt"
near "$work/reopened.txt" "$work/camera416.txt" 1e-9 || fail "the camera saved at 1200 x 800 is not the 416 view's"
finish "view size: ok"
