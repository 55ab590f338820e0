#!/usr/bin/env bash
# Runs two benchmark programs alternately, ROUNDS times each, and prints the
# median and the best real time of every benchmark for both, and their
# ratios (new / old). Alternating spreads the machine's noise over both
# programs alike; the best time is the one least disturbed by it.
#   bench/compare.sh OLD_BIN NEW_BIN [FILTER] [ROUNDS] [MIN_TIME]
set -euo pipefail
old=$1 new=$2 filter=${3:-.} rounds=${4:-5} mintime=${5:-0.2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for r in $(seq 1 "$rounds"); do
  for side in old new; do
    bin=${!side}
    "$bin" --benchmark_filter="$filter" --benchmark_min_time="$mintime" \
      --benchmark_format=csv 2>/dev/null | grep '^"' >>"$work/$side.csv" || true
  done
done
python3 - "$work/old.csv" "$work/new.csv" <<'PY'
import csv, statistics, sys
def load(path):
    times = {}
    with open(path) as f:
        for row in csv.reader(f):
            if row[0] == "name":
                continue
            unit = row[4]
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}.get(unit, 1e-3)
            times.setdefault(row[0], []).append(float(row[2]) * scale)
    return times
old, new = load(sys.argv[1]), load(sys.argv[2])
print(f"{'benchmark':40} {'old median':>11} {'new median':>11} {'ratio':>6}"
      f" {'old best':>10} {'new best':>10} {'ratio':>6}  (us)")
for name in new:
    n, nb = statistics.median(new[name]), min(new[name])
    o, ob = (statistics.median(old[name]), min(old[name])) if name in old else (float("nan"),) * 2
    print(f"{name:40} {o:11.3f} {n:11.3f} {n / o:6.2f} {ob:10.3f} {nb:10.3f} {nb / ob:6.2f}")
PY
