#!/bin/bash
# The --export-* options and --open of STEP / IGES: every file is written,
# the SVG holds one path per drawn line, the meshes have their grids, a STEP
# or IGES file read back draws the same picture, and bad values are refused.
# Usage: bash exports.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
export LANG=es_ES.UTF-8 2>/dev/null  # the messages checked are Spanish
tool=$(readlink -f "$tool")
cd "$work" || exit 1
model="--kind bspline3 --rational --weight 2,2,3 --tick-u 5,80 --tick-v 3,100"
cadfiles=""
[ "$cad" = yes ] && cadfiles="s.step s.igs"

run $model --png plain.png
run $model --net --cube --click 208,208 --coord-lines --curvature-lines --segments seg.txt \
  --export-png view.png --png view-ref.png --export-svg view.svg --export-csv lines.csv \
  --export-obj mesh.obj,7 --export-stl mesh.stl ${cadfiles:+--export-step s.step --export-iges s.igs} >/dev/null
for f in view.png view.svg lines.csv mesh.obj mesh.stl $cadfiles; do
  [ -s "$f" ] || fail "$f not written"
done
cmp -s view.png view-ref.png || fail "--export-png differs from the view of --png"

# One <path> per line drawn over the picture: the listed click lines plus
# the net and box lines, which the same model without a click draws.
run $model --net --cube --export-svg overlays.svg
paths() { python3 -c 'import sys, xml.etree.ElementTree as E
print(sum(1 for e in E.parse(sys.argv[1]).iter() if e.tag.endswith("}path")))' "$1"; }
clicked=$(grep -vc '^click' seg.txt)
[ "$(paths view.svg)" = "$(($(paths overlays.svg) + clicked))" ] ||
  fail "SVG paths $(paths view.svg) != overlay $(paths overlays.svg) + traced $clicked"
[ "$(paths overlays.svg)" -gt 0 ] || fail "no net or box paths"

# With a curvature map on, the pictures carry its legend strip below them.
run --map gauss --export-png map.png --export-svg map.svg --legend legend.png
python3 - map.png map.svg legend.png <<'PY' || fail "map pictures without their legend strip"
import struct, sys, xml.etree.ElementTree as E
size = lambda f: struct.unpack('>II', open(f, 'rb').read()[16:24])
w, h = size(sys.argv[1]); lw, lh = size(sys.argv[3])
box = E.parse(sys.argv[2]).getroot().get('viewBox').split()
sys.exit(not (w == 416 and lw == 416 and h == 416 + lh and box[3] == str(h)))
PY

# OBJ: the 7 x 7 grid asked for (the core tests check the rest).
[ "$(grep -c '^v ' mesh.obj)" = 49 ] || fail "OBJ has $(grep -c '^v ' mesh.obj) vertices"
# Binary STL of the default 64 x 64 grid: 84 bytes, then 50 per triangle.
size=$(stat -c %s mesh.stl)
count=$(od -An -tu4 -j80 -N4 mesh.stl | tr -d ' ')
[ "$size" = $((84 + 50 * count)) ] && [ "$count" -le $((2 * 63 * 63)) ] && [ "$count" -gt 7000 ] ||
  fail "STL of $size bytes claims $count triangles"

# Read back: the same surface draws the same picture (with a new view, as
# the start-up model without --open draws it).
for f in $cadfiles; do
  run --open "$f" --png "back-$f.png"
  cmp -s plain.png "back-$f.png" || fail "$f read back draws another picture"
done

# A cubic of five rows: its first row has no knot span; the file holds the
# surface drawn, and the tool says so as the window's status line does.
if [ "$cad" = yes ]; then
  "$tool" --size 4,6 --kind bspline3 --export-step five.step >five.txt || fail "five-row cubic not written"
  grep -qx "sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja" five.txt ||
    fail "five-row cubic: no note: $(cat five.txt)"
  [ -s five.step ] || fail "five-row cubic: no file"
fi

# Refusals: bad N, a file that is no STEP, a surface the program cannot hold.
refuse --export-obj --export-obj m.obj,1
refuse --export-stl --export-stl m.stl,513
refuse --export-obj --export-obj m.obj,x
echo "not a step file" >bad.step
if [ "$cad" = yes ]; then
  refuse "no es un archivo STEP" --open bad.step
else
  for o in "--open bad.step" "--export-step s.step" "--export-iges s.igs"; do
    # shellcheck disable=SC2086
    refuse "no lee ni escribe STEP ni IGES" $o
  done
fi
refuse --export-svg --export-svg same.png --export-png same.png

# Coordinates beyond float32's range: STL refuses them with the reason and
# writes nothing; OBJ takes them.
big=""
for i in 0 1 2 3; do for j in 0 1 2 3; do
  big="$big --point $i,$j,${i}e39,${j}e39,$(( (i * j) % 3 ))e38"
done; done
# shellcheck disable=SC2086 # the options are split on purpose
"$tool" --size 3,3 --kind bspline3 $big --export-stl big.stl 2>stderr.txt
status=$?
[ "$status" = 1 ] && grep -q "no se puede escribir big.stl: hay coordenadas de más de 3.4E38" stderr.txt ||
  fail "STL of huge coordinates: status $status, $(cat stderr.txt)"
[ ! -e big.stl ] || fail "STL of huge coordinates written"
# shellcheck disable=SC2086
run --size 3,3 --kind bspline3 $big --export-obj big.obj
grep -q '^v .*e+39' big.obj || fail "OBJ of huge coordinates"
finish "exports: all checks passed"
