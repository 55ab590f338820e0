#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the core
# tests again under the address and undefined-behaviour sanitizers and under
# the thread sanitizer (a drawing uses two threads), the fuzz targets, then
# the whole suite (core, window, headless renderer, smoke test under Xvfb).
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorlen_install_deps || exit 1

jobs=$(nproc)
status=0

echo "== Sanitizer build of the core tests"
cmake -S . -B build-asan -G Ninja -DQUORLEN_CORE_ONLY=ON -DQUORLEN_SANITIZE=ON \
  -DQUORLEN_BENCH=OFF >/dev/null || exit 1
cmake --build build-asan -j "$jobs" || exit 1
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure || status=1

# Built without Open CASCADE, which proves that build too (the STEP and IGES
# tests run in the other two).
echo "== Thread-sanitizer build of the core tests, without Open CASCADE"
cmake -S . -B build-tsan -G Ninja -DQUORLEN_CORE_ONLY=ON -DQUORLEN_SANITIZE_THREAD=ON \
  -DQUORLEN_BENCH=OFF -DQUORLEN_EXCHANGE=OFF >/dev/null || exit 1
cmake --build build-tsan -j "$jobs" || exit 1
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan -j "$jobs" --output-on-failure || status=1

echo "== Fuzz targets, 30 seconds each"
for target in decoder drawing cad; do
  [ -f "fuzz/fuzz_$target.cpp" ] || continue
  bash scripts/fuzz.sh "$target" 30 || status=1
done

echo "== Full build and test suite"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build build -j "$jobs" || exit 1
ctest --test-dir build -j "$jobs" --output-on-failure || status=1

exit $status
