#!/bin/bash
# The tool speaks the system's language: its refusals (its own and the
# core's) and its help in English where the environment asks for English,
# in Spanish otherwise, with the same exit status; the numbers it reads and
# prints stay the same under any locale.
# Usage: bash languages.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

head -c 100 "$golden/startup-sphere.yqs" >"$work/short.yqs"
mkdir "$work/folder.yqs"

# status|options|English|Spanish: the message's start after "quorlen-render: ".
refusals=(
  "2|--bogus|--bogus: unknown option (see --help)|--bogus: opción desconocida (véase --help)"
  "2|--size 3,x|--size: N is not an integer: 'x'|--size: N no es un número entero: «x»"
  "2|--open $work/short.yqs|--open: $work/short.yqs is damaged|--open: $work/short.yqs está dañado"
  "2|--open $work/folder.yqs|--open: $work/folder.yqs: it is a folder, not a file|--open: $work/folder.yqs: es una carpeta, no un archivo"
  "1|--png $work/none/p.png|cannot write $work/none/p.png: |no se puede escribir $work/none/p.png: "
  "1|--kind bspline3 --size 2,2|a B-spline of degree 3 needs m >= 3 (m is 2)|una B-spline de grado 3 necesita m >= 3 (m es 2)"
)
# environment|language: LANGUAGE goes first, but not under the C locale.
environments=(
  "LANG=en_US.UTF-8|en"
  "LANG=es_ES.UTF-8|es"
  "LANG=es_ES.UTF-8 LANGUAGE=en|en"
  "LANG=C|es"
  "LANG=C LANGUAGE=en|es"
)

for e in "${environments[@]}"; do
  vars=${e%|*} lang=${e#*|}
  for r in "${refusals[@]}"; do
    IFS='|' read -r status opts english spanish <<<"$r"
    want=$english
    [ "$lang" = es ] && want=$spanish
    # shellcheck disable=SC2086 # the variables and options are split on purpose
    env -u LANGUAGE $vars "$tool" $opts >"$work/stdout" 2>"$work/stderr"
    got=$?
    [ "$got" = "$status" ] || fail "$vars $opts: status $got, expected $status"
    [ "$(wc -l <"$work/stderr")" = 1 ] && [[ "$(cat "$work/stderr")" == "quorlen-render: $want"* ]] ||
      fail "$vars $opts: expected '$want', got: $(cat "$work/stderr")"
    [ ! -s "$work/stdout" ] || fail "$vars $opts: printed $(cat "$work/stdout")"
  done
  first=$(env -u LANGUAGE $vars "$tool" --help | head -n 1)
  want="Usage: quorlen-render [options]"
  [ "$lang" = es ] && want="Uso: quorlen-render [opciones]"
  [ "$first" = "$want" ] || fail "$vars --help begins '$first'"
done

# Under a real Spanish locale (built here when the system can) numbers keep
# their points: read, printed and written as under the C locale.
numbers="--point 1,1,0.25,0.5,1.5 --camera --probe 208,208 --polylines"
mkdir "$work/locale"
localedef -i es_ES -f UTF-8 "$work/locale/es_ES.UTF-8" >/dev/null 2>&1
if [ -f "$work/locale/es_ES.UTF-8/LC_NUMERIC" ]; then
  # shellcheck disable=SC2086
  LANG=C "$tool" $numbers "$work/c.txt" >"$work/c.out" || fail "numbers under C"
  # shellcheck disable=SC2086
  LOCPATH=$work/locale LANG=es_ES.UTF-8 "$tool" $numbers "$work/es.txt" >"$work/es.out" ||
    fail "numbers under es_ES: $(cat "$work/es.out")"
  cmp -s "$work/c.out" "$work/es.out" && cmp -s "$work/c.txt" "$work/es.txt" ||
    fail "numbers differ under es_ES: $(diff "$work/c.out" "$work/es.out" | head -n 4)"
else
  echo "no es_ES locale can be built here: the numbers under it are not checked"
fi

finish "refusals and help in English and Spanish as the environment asks, numbers alike"
