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

. "$(dirname "$0")/output_cases.sh"

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
