#!/usr/bin/env bash
# Draws every model of tests/tools/output_cases.sh, and a few drags, clicks
# and read-outs over them, with two builds of the headless renderer, and
# compares each output file of one with the other's using cmp. For changes
# that must leave every picture, map, line and number as it was: build the
# earlier commit in a second folder and give both tools.
#   scripts/compare_outputs.sh OLD/quorlen-render NEW/quorlen-render
set -u
old=$1 new=$2
# Standard output is compared too, and the legend holds words: both tools
# in Spanish, the program's own language (a Spanish locale keeps numbers as
# the C locale has them).
{
  export LANG=es_ES.UTF-8
  unset LANGUAGE LC_ALL LC_MESSAGES
} 2>/dev/null  # bash's own complaint when the locale is not installed
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
golden=$here/../tests/golden/startup-sphere
. "$here/../tests/tools/output_cases.sh"

# What the pointer and the mouse do over each model: a turn, a pan and a zoom
# with the preview kept, a node drag, read-outs and a click with both kinds
# of line.
extras=(
  "plain|--png @D@/plain.png --shade-map @D@/shade.bin --depth-map @D@/depth.bin --polylines @D@/lines.txt --save @D@/saved.yqs --camera"
  "overlays|--png @D@/both.png --net --cube"
  "moves|--move 150,200,190,230 --move 100,100,140,90,ctrl --move 200,200,200,120,shift --preview-map @D@/preview.rgb --png @D@/moved.png --depth-map @D@/depth.bin"
  "pointer|--probe 208,208 --probe 100,300 --probe 5,5 --click 208,208 --click 180,240 --coord-lines --curvature-lines --segments @D@/segments.txt --png @D@/lines.png"
  "map|--map gauss --png @D@/map.png --map-values @D@/map.bin --legend @D@/legend.png"
  "fixedmap|--map absmax --map-range 0,3 --png @D@/map.png"
  "zebra|--map zebra --zebra 12,v --png @D@/zebra.png"
  "umbilics|--umbilics --png @D@/umbilics.png"
  "curvnet|--curvature-net --segments @D@/net.txt --png @D@/net.png"
  "exports|--click 208,208 --click 180,240 --coord-lines --curvature-lines --export-csv @D@/lines.csv --export-obj @D@/s.obj,16 --export-stl @D@/s.stl,16 --export-step @D@/s.step --export-iges @D@/s.iges --export-svg @D@/s.svg --export-png @D@/e.png"
)

# STEP and IGES headers carry the time of writing; everything else must match.
same() {
  case $1 in
    *.step | *.iges)
      cmp -s <(sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}//; s/[0-9]{8}\.[0-9]{6}//g' "$1") \
        <(sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}//; s/[0-9]{8}\.[0-9]{6}//g' "$2") ;;
    *) cmp -s "$1" "$2" ;;
  esac
}

compared=0 differ=0 failed=0
for c in "${cases[@]}"; do
  name=${c%%|*}
  opts=${c#*|}
  for e in "${extras[@]}"; do
    what=${e%%|*}
    outs=${e#*|}
    for side in old new; do
      d=$work/$side/$name/$what
      mkdir -p "$d"
      o=${opts//@WORK@/$work/$side/saves}
      # shellcheck disable=SC2086 # the options are split on purpose
      "${!side}" $o ${outs//@D@/$d} >"$d/stdout" 2>"$d/stderr"
      echo $? >"$d/status"
      if [ -f "$d/saved.yqs" ]; then  # for the cases that reopen it
        mkdir -p "$work/$side/saves/$name" && cp "$d/saved.yqs" "$work/$side/saves/$name/"
      fi
    done
    for f in "$work/old/$name/$what"/*; do
      g=$work/new/$name/$what/$(basename "$f")
      compared=$((compared + 1))
      if ! same "$f" "$g"; then
        differ=$((differ + 1))
        echo "DIFFERS: $name $what $(basename "$f")"
      fi
    done
    [ "$(cat "$work/old/$name/$what/status")" = 0 ] || failed=$((failed + 1))
  done
done
echo "compared $compared files over ${#cases[@]} models: $differ differ; $failed runs exited non-zero in both"
[ "$differ" -eq 0 ]
