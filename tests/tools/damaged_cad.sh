#!/bin/bash
# Damaged STEP and IGES files, and names that are no regular file, given to
# --open: status 2, one line with the Spanish reason, no file written; a
# parser that crashes on the file takes only the reader process down.
# Usage: bash damaged_cad.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"
export LANG=es_ES.UTF-8 2>/dev/null  # the messages checked are Spanish

# The program's own exports, then each damaged in one place. IGES lines
# keep their 80 columns: what a change adds comes off the blanks.
"$tool" --size 3,3 --shape cylinder --kind bspline2 --rational --weight 1,2,1.25 --point 2,1,7.75,0,0 \
  --export-step "$work/good.step" --export-iges "$work/good.igs" >/dev/null || fail "the exports failed"
damage() {  # FROM TO SOURCE TARGET
  python3 - "$@" <<'PY'
import sys
a, b, src, dst = sys.argv[1:5]
t = open(src).read()
i = t.index(a)
t = t[:i] + b + t[i + len(a):]
if src.endswith(".igs"):
    s = t.rfind("\n", 0, i) + 1
    e = t.index("\n", i)
    line, g = t[s:e], len(b) - len(a)
    line = line[:64 - g] + line[64:] if g > 0 else line[:64 + g] + " " * -g + line[64 + g:]
    t = t[:s] + line + t[e:]
open(dst, "w").write(t)
PY
}
pole=$(tr -d '\n' <"$work/good.step" | grep -o 'B_SPLINE_SURFACE([^#]*#[0-9]*' | head -n 1 | grep -o '#[0-9]*$')
damage "$pole," "#9999," "$work/good.step" "$work/dangling.step"
damage "7.7500000000000000E+00" "siete" "$work/good.step" "$work/text.step"
damage "B_SPLINE_SURFACE(2,2," "B_SPLINE_SURFACE(2147483647,2," "$work/good.step" "$work/degree.step"
damage "RATIONAL_B_SPLINE_SURFACE((" "RATIONAL_B_SPLINE_SURFACE(()) REPRESENTATION_ITEM('') SURFACE() ); #9998=(" \
  "$work/good.step" "$work/weights.step"
damage "1.2500000000000000E+00" "0.0000000000000000E+00" "$work/good.igs" "$work/weight0.igs"
damage "1.2500000000000000E+00" "-1.0" "$work/good.igs" "$work/weight-1.igs"
damage "7.7500000000000000E+00" "siete" "$work/good.igs" "$work/text.igs"
damage "128,3,3,2,2," "128,3,3,-5,2," "$work/good.igs" "$work/degree.igs"
: >"$work/empty.step"
mkfifo "$work/pipe.step" "$work/pipe.yqs"
mkdir "$work/folder.igs"

# expect FILE REASON
expect() {
  rm -rf "$work/out" && mkdir "$work/out"
  timeout 60 "$tool" --open "$1" --png "$work/out/p.png" >"$work/stdout" 2>"$work/stderr"
  local got=$?
  [ "$got" -eq 2 ] || fail "--open $(basename "$1"): status $got, expected 2: $(cat "$work/stderr")"
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "--open $(basename "$1"): expected one line: $(cat "$work/stderr")"
  grep -qF -- "$2" "$work/stderr" || fail "--open $(basename "$1"): no '$2' in: $(cat "$work/stderr")"
  [ -z "$(ls -A "$work/out")" ] || fail "--open $(basename "$1"): wrote $(ls "$work/out")"
}
expect "$work/dangling.step" "un punto de control falta o no es un punto"
expect "$work/text.step" "un punto de control falta o no es un punto"
expect "$work/degree.step" "grado 2147483647 no admitido"
expect "$work/weights.step" "El archivo está dañado o no se puede leer"
expect "$work/weight0.igs" "un peso no es positivo"
expect "$work/weight-1.igs" "un peso no es positivo"
expect "$work/text.igs" "datos que no se pueden leer"
expect "$work/degree.igs" "El archivo está dañado o no se puede leer"
expect "$work/empty.step" "el archivo está vacío"
expect "$work/pipe.step" "no es un archivo normal"
expect "$work/pipe.yqs" "no es un archivo normal"
expect "$work/folder.igs" "es una carpeta, no un archivo"
expect "$work/missing.step" "el archivo no existe"
# The undamaged files still open.
run --open "$work/good.step" --png "$work/good.png"
run --open "$work/good.igs" --png "$work/good.png"

finish "damaged STEP / IGES files and irregular names refused"
