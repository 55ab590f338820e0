#!/bin/bash
# The start-up model drawn by the headless renderer must reproduce the
# reference outputs byte for byte, and its picture pixel for pixel.
# Usage: bash golden_startup.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

if ! "$tool" --png "$work/picture.png" --shade-map "$work/shade-map.bin" \
    --depth-map "$work/depth-map.bin" --polylines "$work/polylines.txt" \
    --save "$work/startup-sphere.yqs" --camera >"$work/camera.txt"; then
  echo "FAIL: the start-up drawing exited with status $?"
  exit 1
fi

for f in shade-map.bin depth-map.bin polylines.txt camera.txt startup-sphere.yqs; do
  cmp "$work/$f" "$golden/$f" || fail "$f differs from the reference"
done

# ImageMagick prints the count of differing pixels on stderr.
ae=$(compare -metric AE "$work/picture.png" "$golden/picture.png" null: 2>&1)
[ "$ae" = "0" ] || fail "picture.png: $ae pixels differ from the reference"

# Reading the saved file keeps its view, so the same picture comes back.
if "$tool" --open "$golden/startup-sphere.yqs" --shade-map "$work/reopened-shade.bin" \
    --polylines "$work/reopened-polylines.txt" --camera >"$work/reopened-camera.txt"; then
  cmp "$work/reopened-shade.bin" "$golden/shade-map.bin" || fail "--open: shade map differs"
  cmp "$work/reopened-polylines.txt" "$golden/polylines.txt" || fail "--open: polylines differ"
  cmp "$work/reopened-camera.txt" "$golden/camera.txt" || fail "--open: camera differs"
else
  fail "--open of the reference surface file failed"
fi

finish "golden start-up outputs: all match"
