#!/bin/bash
# Every output of the headless renderer, on the start-up model and on a set
# of other models, must stay byte for byte what it was when the table
# beside this script was recorded: the shade and depth maps, the traced
# polylines, the camera, the saved surface file and the decoded pixels of
# the picture, plain and with each overlay. A refactoring of the drawing
# code must leave all of them alone.
# Usage: bash identical_outputs.sh <quorlen-render> <golden-dir> [--record]
#   --record rewrites the table from the tool given (only with code known
#   to draw correctly).
record=${3:-}
. "$(dirname "$0")/common.sh" "$1" "$2"
table=$(cd "$(dirname "$0")" && pwd)/identical_outputs.sha256

# name|options. @WORK@ stands for the scratch folder, so that a case can
# reopen a file an earlier case saved.
cases=(
  "startup|"
  "startup-reopened|--open $golden/startup-sphere.yqs"
  "startup-reopened-moved|--open $golden/startup-sphere.yqs --point 4,2,0.9,0.9,0.9"
  "bezier-1x1-plane|--size 1,1 --shape plane --point 1,1,1,1,1"
  "bezier-2x1-plane|--kind bezier --size 2,1 --shape plane --point 1,1,0.3,-0.2,0.6"
  "bezier-3x2-cylinder-rational|--kind bezier --size 3,2 --shape cylinder --rational --weight 1,1,3 --weight 2,0,0.25"
  "bezier-11x6-sphere-rational|--rational --weight 3,3,5 --point 6,3,1.5,0,0"
  "bezier-11x11-sphere|--size 11,11 --shape sphere --kind bezier"
  "bspline2-3x2-cylinder|--kind bspline2 --size 3,2 --shape cylinder --point 0,0,0.1,0.2,-0.5"
  "bspline2-5x3-cylinder-rational-ticks|--kind bspline2 --size 5,3 --shape cylinder --rational --weight 2,1,4 --tick-u 2,70 --tick-v 1,100"
  "bspline2-11x11-plane-points|--kind bspline2 --size 11,11 --shape plane --point 5,5,0.5,0.5,1.2 --point 2,8,0.1,0.7,-0.6 --point 9,1,1.3,0,0.4"
  "bspline3-3x3-cylinder|--kind bspline3 --size 3,3 --shape cylinder"
  "bspline3-4x5-sphere-ticks|--kind bspline3 --size 4,5 --shape sphere --tick-u 1,30 --tick-v 2,90 --point 2,2,0,0,2"
  "bspline3-6x6-plane-ticks|--kind bspline3 --size 6,6 --shape plane --point 3,3,0.5,0.5,0.8 --tick-u 4,131 --tick-u 5,140 --tick-v 4,40"
  "bspline3-11x11-sphere-rational|--kind bspline3 --size 11,11 --shape sphere --rational --weight 5,5,0.2 --weight 0,0,2.5"
  "bspline2-reopened|--open @WORK@/bspline2-5x3-cylinder-rational-ticks/saved.yqs"
  "bspline3-reopened-moved|--open @WORK@/bspline3-4x5-sphere-ticks/saved.yqs --point 1,1,-0.5,0.3,1.5 --kind bspline2"
)

pixels() { convert "$1" rgb:- | sha256sum | cut -d' ' -f1; }
bytes() { sha256sum <"$1" | cut -d' ' -f1; }

: >"$work/actual"
for c in "${cases[@]}"; do
  name=${c%%|*}
  opts=${c#*|}
  opts=${opts//@WORK@/$work}
  d=$work/$name
  mkdir "$d"
  # shellcheck disable=SC2086 # the options are split on purpose
  if ! "$tool" $opts --png "$d/plain.png" --shade-map "$d/shade-map.bin" --depth-map "$d/depth-map.bin" \
      --polylines "$d/polylines.txt" --save "$d/saved.yqs" --camera >"$d/camera.txt" ||
    ! "$tool" $opts --png "$d/net.png" --net ||
    ! "$tool" $opts --png "$d/cube.png" --cube ||
    ! "$tool" $opts --png "$d/both.png" --net --cube; then
    fail "$name: the tool failed ($opts)"
    continue
  fi
  for f in shade-map.bin depth-map.bin polylines.txt camera.txt saved.yqs; do
    echo "$(bytes "$d/$f")  $name/$f" >>"$work/actual"
  done
  for p in plain net cube both; do
    echo "$(pixels "$d/$p.png")  $name/$p.png" >>"$work/actual"
  done
done

if [ "$record" = "--record" ]; then
  [ "$failures" -eq 0 ] || { echo "not recording: $failures case(s) failed"; exit 1; }
  cp "$work/actual" "$table"
  echo "recorded $(wc -l <"$table") hashes in $table"
  exit 0
fi

[ -f "$table" ] || { echo "FAIL: no table $table"; exit 1; }
# Every recorded output must be produced again, unchanged, and nothing new
# may appear unrecorded.
while read -r hash what; do
  now=$(awk -v w="$what" '$2 == w { print $1 }' "$work/actual")
  if [ -z "$now" ]; then
    fail "$what was not produced"
  elif [ "$now" != "$hash" ]; then
    fail "$what differs from the recorded output"
  fi
done <"$table"
while read -r hash what; do
  grep -q "  $what\$" "$table" || fail "$what is not in the table (record it with --record)"
done <"$work/actual"

finish "identical outputs: all $(wc -l <"$table") match"
