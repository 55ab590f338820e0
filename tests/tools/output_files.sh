#!/bin/bash
# The files the tool writes: a saved surface reopens as it was drawn (a
# rational exact shape, moved ticks); a device, a pipe or a link is never
# replaced by a plain file; a write that fails says so with status 1; two
# outputs that name one file, however spelt, and an empty name are bad
# values (status 2, nothing written).
# Usage: bash output_files.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")

# Saved and reopened, each model draws the same shades.
for model in "--shape octant" "--shape ellipsoid --kind bspline2" \
  "--kind bspline3 --size 6,6 --shape plane --point 3,3,0.5,0.5,0.8 --tick-u 4,120 --tick-v 4,40"; do
  # shellcheck disable=SC2086 # the options are split on purpose
  run $model --shade-map "$work/drawn.bin" --save "$work/m.yqs"
  run --open "$work/m.yqs" --shade-map "$work/reopened.bin" --save "$work/again.yqs"
  cmp -s "$work/drawn.bin" "$work/reopened.bin" || fail "$model: reopened, it draws differently"
  cmp -s "$work/m.yqs" "$work/again.yqs" || fail "$model: saved again, the file differs"
done
# A file of the old length still reads, and a plain model still writes it.
run --open "$golden/startup-sphere.yqs" --save "$work/plain.yqs"
[ "$(stat -c %s "$work/plain.yqs")" -eq 4788 ] || fail "the start-up sphere is no longer saved in 4788 bytes"

# Not regular files: refused before anything is drawn, left as they were.
# The device is a null device of our own (as root), never the system's: a
# faulty build would replace it.
mkfifo "$work/pipe"
mkdir "$work/folder"
targets=("$work/pipe" "$work/folder")
mknod -m 666 "$work/null" c 1 3 2>/dev/null && targets+=("$work/null")
for opt in --save --png --export-png --export-stl --legend; do
  extra=""
  [ "$opt" = --legend ] && extra="--map mean"
  for target in "${targets[@]}"; do
    # shellcheck disable=SC2086
    refuse "$opt" $extra "$opt" "$target"
  done
done
[ -p "$work/pipe" ] || fail "the pipe was replaced"
[ ! -e "$work/null" ] || [ -c "$work/null" ] || fail "the device was replaced"

# Through a link: the link stays, its target gets the file and keeps its mode.
mkdir "$work/real"
echo old >"$work/real/p.png"
chmod 640 "$work/real/p.png"
ln -s real/p.png "$work/link.png"
run --png "$work/link.png"
[ -L "$work/link.png" ] || fail "the link was replaced by a file"
[ "$(stat -c %a "$work/real/p.png")" = 640 ] || fail "the target lost its mode: $(stat -c %a "$work/real/p.png")"
[ "$(head -c 4 "$work/real/p.png" | tail -c 3)" = PNG ] || fail "the target did not get the picture"

# A full device: every kind of output fails with status 1 and a reason,
# and leaves neither the file nor a temporary behind.
for out in "--png p.png" "--save s.yqs" "--legend l.png --map mean" "--map-values v.bin --map mean" \
  "--export-png e.png" "--shade-map s.bin"; do
  rm -rf "$work/full" && mkdir "$work/full"
  # The message goes through a pipe: the limit holds for every file.
  # shellcheck disable=SC2086
  said=$(cd "$work/full" && ulimit -f 0 && trap '' XFSZ && "$tool" $out 2>&1 >/dev/null; echo "status $?")
  [ "${said##*status }" = 1 ] || fail "'$out' on a full device: $said"
  [[ "$said" == *"cannot write"* ]] || fail "'$out' on a full device: $said"
  [ -z "$(ls -A "$work/full")" ] || fail "'$out' on a full device left $(ls -A "$work/full")"
done

# One file under two spellings, or an empty name.
mkdir -p "$work/out"
ln -s "$work/out" "$work/via"
ln -s out/p.png "$work/alias.png"
cd "$work" || exit 1
refuse "--export-png: same file as --png" --export-png ./out/p.png
refuse "--legend: same file as --png" --map mean --legend out/../out/p.png
refuse "--save: same file as --png" --save "$work/via/p.png"
refuse "--polylines: same file as --png" --polylines alias.png
refuse "--save: the file name is empty" --save ""
refuse "--legend: the file name is empty" --map mean --legend ""
refuse "--export-obj: the file name is empty" --export-obj ""
cd / || exit 1

finish "output files: all as expected"
