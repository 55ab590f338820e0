#!/usr/bin/env bash
# Runs one fuzz target for a while on a scratch copy of its seed corpus:
#   bash scripts/fuzz.sh decoder|drawing|cad SECONDS [more libFuzzer flags]
# Builds the core and the targets with Clang under the address and
# undefined-behaviour sanitizers in build-fuzz/. An input that fails is
# kept in build-fuzz/artifacts-TARGET/ and the script exits non-zero.
set -uo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz.sh decoder|drawing|cad SECONDS}
seconds=${2:-30}
shift 2 2>/dev/null || shift $#
[ -d "tests/fuzz/$target" ] || { echo "fuzz.sh: no target '$target'" >&2; exit 2; }

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORLEN_CORE_ONLY=ON -DQUORLEN_FUZZ=ON -DQUORLEN_TESTS=OFF -DQUORLEN_BENCH=OFF >/dev/null || exit 1
cmake --build build-fuzz --target "fuzz_$target" >/dev/null || exit 1

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "tests/fuzz/$target"/* "$corpus"/
# A few seconds an input under the sanitizers; the drawing's slowest known
# input (a curvature line that meets the border again and again, each time
# searching the square for the seam) takes 0.8 s without them.
case "$target" in
  drawing) limit=25 ;;
  *) limit=5 ;;
esac
artifacts="build-fuzz/artifacts-$target"
mkdir -p "$artifacts"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 \
  "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout="$limit" -rss_limit_mb=4096 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" "$corpus" 2>"build-fuzz/fuzz-$target.log"
status=$?
grep -E "^stat::number_of_executed_units|^Done|ERROR|SUMMARY" "build-fuzz/fuzz-$target.log" | head -n 8
[ $status -eq 0 ] && echo "fuzz $target: no failure in $seconds s" || echo "fuzz $target: FAILED (see build-fuzz/fuzz-$target.log)"
exit $status
