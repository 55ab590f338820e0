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
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$tool" "$@" || fail "'$*' exited with status $?"; }

# Ends the test: status 1 with the count of failed checks, else the line
# given.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
