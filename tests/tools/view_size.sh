#!/bin/bash
# --view W,H: the picture and the maps at that size, the 416 default the same
# as no option, and what still needs the default view refused.
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
refuse --probe --view 800,800 --probe 3,3
refuse --map --view 800,800 --map gauss
refuse --umbilics --view 800,800 --umbilics
refuse --save --view 800,800 --save "$work/out/s.yqs"
finish "view size: ok"
