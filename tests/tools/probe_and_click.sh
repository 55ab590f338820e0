#!/bin/bash
# The pointer options: read-outs under a pixel, presses that trace lines into
# the picture, the listing of the drawn lines, and their refusals.
# Usage: bash probe_and_click.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
export LANG=es_ES.UTF-8 2>/dev/null  # the messages checked are Spanish
pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1; }
umbilic="Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas"
number='-?[0-9]+\.[0-9]{4}'

# Read-outs, in the order given: nine texts over the surface, "-" off it.
run --probe 208,208 --probe 2,2 --probe 150,250 >"$work/probes.txt"
[ "$(wc -l <"$work/probes.txt")" = 3 ] || fail "three probes should print three lines: $(cat "$work/probes.txt")"
sed -n 1p "$work/probes.txt" | grep -Eqx "($number )"'{8}'"$number" ||
  fail "probe over the sphere: $(sed -n 1p "$work/probes.txt")"
[ "$(sed -n 2p "$work/probes.txt")" = "-" ] || fail "probe over the background: $(sed -n 2p "$work/probes.txt")"
# The start-up sphere is a polynomial approximation: K and H near 1.
sed -n 1p "$work/probes.txt" | awk '{ exit !($6 > 0.9 && $6 < 1.3 && $7 > 0.9 && $7 < 1.2) }' ||
  fail "sphere curvatures out of range: $(sed -n 1p "$work/probes.txt")"

# On a plane every curvature text is zero; on "Cilindro" K is.
run --shape plane --size 3,3 --probe 208,208 >"$work/plane.txt"
[ "$(cut -d' ' -f6-9 "$work/plane.txt")" = "0.0000 0.0000 0.0000 0.0000" ] ||
  fail "plane curvatures: $(cat "$work/plane.txt")"
run --shape cylinder --probe 208,208 --probe 180,300 >"$work/cyl.txt"
[ "$(cut -d' ' -f6 "$work/cyl.txt" | sort -u)" = "0.0000" ] || fail "cylinder K: $(cat "$work/cyl.txt")"

# A press on a plane finds no principal directions: the message, no lines.
run --shape plane --size 3,3 --click 208,208 --curvature-lines --segments "$work/plane-seg.txt" >"$work/out.txt"
[ "$(cat "$work/out.txt")" = "$umbilic" ] || fail "plane click printed: $(cat "$work/out.txt")"
[ "$(cat "$work/plane-seg.txt")" = "click 208 208" ] || fail "plane click drew: $(cat "$work/plane-seg.txt")"

# A press on the background traces nothing: the picture stays the reference.
run --click 3,3 --coord-lines --curvature-lines --png "$work/bg.png" --segments "$work/bg-seg.txt" >"$work/out.txt"
[ ! -s "$work/out.txt" ] || fail "background click printed: $(cat "$work/out.txt")"
[ "$(cat "$work/bg-seg.txt")" = "click 3 3" ] || fail "background click drew: $(cat "$work/bg-seg.txt")"
[ "$(pixels_differing "$work/bg.png" "$golden/picture.png")" = "0" ] || fail "background click changed the picture"

# Presses on "Cilindro": each option draws lines; the listing is repeatable
# and its lines are what the picture shows.
cyl="--shape cylinder --cube"
run $cyl --png "$work/plain.png"
run $cyl --click 208,208 --coord-lines --png "$work/coord.png" --segments "$work/coord.txt"
run $cyl --click 208,208 --curvature-lines --png "$work/curv.png" --segments "$work/curv.txt"
run $cyl --click 208,208 --curvature-lines --png "$work/curv2.png" --segments "$work/curv2.txt"
run $cyl --click 208,208 --click 150,120 --coord-lines --curvature-lines --png "$work/both.png" \
  --segments "$work/both.txt"
cmp -s "$work/curv.txt" "$work/curv2.txt" || fail "the same click listed other lines"
[ "$(pixels_differing "$work/curv.png" "$work/curv2.png")" = "0" ] || fail "the same click drew another picture"
for f in coord curv; do
  [ "$(pixels_differing "$work/plain.png" "$work/$f.png")" != "0" ] || fail "--click with $f lines drew nothing"
  [ "$(grep -c . "$work/$f.txt")" -gt 50 ] || fail "--click with $f lines listed too few lines"
  grep -v '^click ' "$work/$f.txt" | grep -Evx '[0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9A-F]{6}' | head -1 | grep -q . &&
    fail "$f listing has a malformed line"
done
# Grey for the coordinate lines, red for the lines of curvature.
[ -z "$(grep -v '^click ' "$work/coord.txt" | cut -d' ' -f5 | sort -u | comm -12 - <(grep -v '^click ' \
  "$work/curv.txt" | cut -d' ' -f5 | sort -u))" ] || fail "coordinate and curvature lines share a colour"
[ "$(grep '^click ' "$work/both.txt" | tr '\n' ';')" = "click 208 208;click 150 120;" ] ||
  fail "clicks not listed in order: $(grep '^click ' "$work/both.txt")"
# The listing is what the picture shows: the start pixel of every listed
# line (LineTo leaves out the end pixel) shows one of the listed colours,
# and that of the last line, drawn over everything, shows its own.
grep -v '^click ' "$work/both.txt" | awk '$1 != $3 || $2 != $4' >"$work/drawn.txt"
convert "$work/both.png" txt:- | sed -nE 's/^([0-9]+),([0-9]+):.*#([0-9A-F]{6}).*/\1 \2 \3/p' >"$work/pixels.txt"
mismatches=$(awk 'NR == FNR { c[$1 " " $2] = $3; next }
  { colour[$5] = 1; start[FNR] = $1 " " $2; want = substr($5, 5, 2) substr($5, 3, 2) substr($5, 1, 2)
    listed[want] = 1; last = want; n = FNR }
  END { bad = 0; for (k = 1; k <= n; k++) if (!(c[start[k]] in listed)) bad++
        if (c[start[n]] != last) bad++; print bad }' "$work/pixels.txt" "$work/drawn.txt")
[ "$mismatches" = 0 ] || fail "$mismatches listed lines do not match the picture"

# Probes and clicks run in order: a probe after a click reads the same.
run --shape cylinder --probe 180,300 --click 208,208 --curvature-lines --probe 180,300 >"$work/order.txt"
[ "$(wc -l <"$work/order.txt")" = 2 ] && [ "$(sed -n 1p "$work/order.txt")" = "$(sed -n 2p "$work/order.txt")" ] ||
  fail "probes around a click: $(cat "$work/order.txt")"

# Refusals: status 2, one message naming the option, nothing written.
refuse --probe --probe 416,0
refuse --probe --probe -1,5
refuse --probe --probe 5
refuse --click --click 5,x --coord-lines
refuse --click --click 5,5
refuse --coord-lines --coord-lines
refuse --curvature-lines --probe 5,5 --curvature-lines
refuse --curvature-lines --click 5,5 --curvature-lines --curvature-lines
refuse --segments --probe 5,5 --segments "$work/out/s.txt"
refuse --segments --click 5,5 --coord-lines --segments "$work/out/p.png"

finish "probes and clicks: all as expected"
