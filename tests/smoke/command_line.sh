#!/usr/bin/env bash
# The program's own command line: --help and --version answer in the
# system's language (Spanish unless English is asked for) on standard
# output with status 0; a wrong command line gets one line saying what is
# wrong and the usage on standard error, status 2, and no window.
#   bash command_line.sh <quorlen> <version>
set -u
prog=${1:?usage: command_line.sh <quorlen> <version>}
version=${2:?usage: command_line.sh <quorlen> <version>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# No display is needed to answer: a window would never be closed here.
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"
# Spanish, whatever the machine's language, and no language stored by a
# run of the window.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=es_ES.UTF-8 XDG_CONFIG_HOME="$work/config"

# run ARGS...: status in $rc, outputs in $work/out and $work/err.
run() {
  timeout 20 "$prog" "$@" >"$work/out" 2>"$work/err"
  rc=$?
}

for opt in --help -h; do
  run "$opt"
  [ "$rc" -eq 0 ] || fail "$opt: status $rc"
  grep -q '^Uso: quorlen \[opciones\] \[archivo.yqs\]$' "$work/out" || fail "$opt: no Spanish usage: $(cat "$work/out")"
  grep -q -- '--version' "$work/out" || fail "$opt: the usage does not list --version"
  [ ! -s "$work/err" ] || fail "$opt wrote on standard error: $(cat "$work/err")"
done

for opt in --version -v; do
  run "$opt"
  [ "$rc" -eq 0 ] || fail "$opt: status $rc"
  [ "$(cat "$work/out")" = "quorlen $version" ] || fail "$opt printed '$(cat "$work/out")'"
  [ ! -s "$work/err" ] || fail "$opt wrote on standard error: $(cat "$work/err")"
done

# No display at all: the answer comes before the toolkit looks for one.
for opt in --help --version; do
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$prog" -style fusion "$opt" >"$work/out" 2>"$work/err"
  rc=$?
  [ "$rc" -eq 0 ] && [ -s "$work/out" ] || fail "$opt without a display: status $rc, $(head -c 300 "$work/err")"
done

# wrong EXPECTED-FIRST-LINE ARGS...: answered without any display, as a
# terminal without one gets it.
wrong() {
  local first=$1
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$prog" "$@" >"$work/out" 2>"$work/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "'$*': status $rc, expected 2"
  [ "$(head -n1 "$work/err")" = "$first" ] || fail "'$*': first line '$(head -n1 "$work/err")'"
  grep -q '^Uso: quorlen' "$work/err" || fail "'$*': no usage on standard error"
  [ ! -s "$work/out" ] || fail "'$*' wrote on standard output: $(cat "$work/out")"
}
wrong "quorlen: opción desconocida: --bogus" --bogus
wrong "quorlen: opción desconocida: -x" -x some.yqs
wrong "quorlen: sobra el argumento «b.yqs»: se abre un solo archivo" a.yqs b.yqs
wrong "quorlen: opción desconocida: --no-such-option" --no-such-option

# A file that cannot be opened: one line, status 2, no window and no usage.
mkdir "$work/carpeta"
for c in "$work/no-existe.yqs|quorlen: no existe el archivo «$work/no-existe.yqs»" \
  "$work/carpeta|quorlen: «$work/carpeta» es una carpeta, no un archivo"; do
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$prog" "${c%%|*}" >"$work/out" 2>"$work/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "'${c%%|*}': status $rc, expected 2"
  [ "$(cat "$work/err")" = "${c#*|}" ] || fail "'${c%%|*}': said '$(cat "$work/err")'"
  [ ! -s "$work/out" ] || fail "'${c%%|*}' wrote on standard output: $(cat "$work/out")"
done

# English when the system asks for it, or when it was chosen in the window
# (the choice wins): CHOSEN|LOCALE|ARGS|STATUS|FIRST LINE (of standard
# output for status 0, of standard error otherwise).
while IFS='|' read -r chosen locale args status first; do
  rm -rf "$work/chosen" && mkdir -p "$work/chosen/Quorlen"
  [ -z "$chosen" ] || printf '[opciones]\nidioma=%s\n' "$chosen" >"$work/chosen/Quorlen/Quorlen.conf"
  # shellcheck disable=SC2086 # ARGS is split into arguments
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG="$locale" XDG_CONFIG_HOME="$work/chosen" \
    timeout 20 "$prog" $args >"$work/out" 2>"$work/err"
  rc=$?
  if [ "$status" -eq 0 ]; then said=$(head -n1 "$work/out"); else said=$(head -n1 "$work/err"); fi
  [ "$rc" -eq "$status" ] && [ "$said" = "$first" ] || fail "LANG=$locale '$args': status $rc, said '$said'"
done <<'EOF'
|en_GB.UTF-8|--help|0|Usage: quorlen [options] [file.yqs]
|en_US.UTF-8|--bogus|2|quorlen: unknown option: --bogus
en|es_ES.UTF-8|--help|0|Usage: quorlen [options] [file.yqs]
es|en_US.UTF-8|--bogus|2|quorlen: opción desconocida: --bogus
EOF

# The toolkit's own options are not the program's business.
run -platform offscreen -style fusion --version
[ "$rc" -eq 0 ] && [ "$(cat "$work/out")" = "quorlen $version" ] ||
  fail "the toolkit's options are refused: status $rc, $(cat "$work/err")"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "command line: all answered as expected"
