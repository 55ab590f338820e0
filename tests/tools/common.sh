# Sourced by every tool test: the tool and reference folder from the command
# line, a scratch folder removed on exit, and failures counted rather than
# stopping at the first.
#   . common.sh <quorlen-render> <golden-dir>
set -u
tool=$1
golden=$2/startup-sphere
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# The tool speaks the system's language: the checks read its English, and
# a test that reads the core's Spanish messages sets LANG=es_ES.UTF-8.
{
  export LANG=en_US.UTF-8
  unset LANGUAGE LC_ALL LC_MESSAGES
} 2>/dev/null  # bash's own complaint when the locale is not installed
# Set by ctest for a build without Open CASCADE: the STEP and IGES cases
# are left out (the refusals are checked instead).
cad=$([ -n "${QUORLEN_NO_CAD_EXCHANGE:-}" ] && echo no || echo yes)
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$tool" "$@" || fail "'$*' exited with status $?"; }

# refuse NAMED ARGS...: the tool must end with status 2 and a message naming
# NAMED, writing no file and printing nothing on standard output.
refuse() {
  local named=$1
  shift
  rm -rf "$work/out" && mkdir "$work/out"
  "$tool" "$@" --png "$work/out/p.png" >"$work/stdout" 2>"$work/stderr"
  local got=$?
  [ "$got" -eq 2 ] || fail "'$*': status $got, expected 2"
  grep -q -- "$named" "$work/stderr" || fail "'$*': message does not name $named: $(cat "$work/stderr")"
  [ -z "$(ls -A "$work/out")" ] || fail "'$*': wrote $(ls "$work/out")"
  [ ! -s "$work/stdout" ] || fail "'$*': printed $(cat "$work/stdout")"
}

# Ends the test: status 1 with the count of failed checks, else the line
# given.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
