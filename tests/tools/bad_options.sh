#!/bin/bash
# Bad command lines end with status 2, one line naming the option, and no
# file written; a model that cannot be drawn ends with status 1.
# Usage: bash bad_options.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

# expect STATUS OPTION-NAMED-IN-MESSAGE ARGS...: every output goes into
# $work/out, which must stay empty.
expect() {
  local want=$1 named=$2
  shift 2
  rm -rf "$work/out" && mkdir "$work/out"
  "$tool" "$@" --png "$work/out/p.png" --save "$work/out/s.yqs" \
    --polylines "$work/out/l.txt" >"$work/stdout" 2>"$work/stderr"
  local got=$?
  [ "$got" -eq "$want" ] || fail "'$*': status $got, expected $want"
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "'$*': expected one line of error, got: $(cat "$work/stderr")"
  grep -q -- "$named" "$work/stderr" || fail "'$*': message does not name $named: $(cat "$work/stderr")"
  [ -z "$(ls -A "$work/out")" ] || fail "'$*': wrote $(ls "$work/out")"
  [ ! -s "$work/stdout" ] || fail "'$*': printed on stdout: $(cat "$work/stdout")"
}

expect 2 --bogus --bogus
expect 2 stray stray
expect 2 --size --size 12,6
expect 2 --size --size 0,6
expect 2 --size --size 3
expect 2 --size --size 3,x
expect 2 --size --size 3,4,5
expect 2 --shape --shape torus
expect 2 --kind --kind bspline4
expect 2 --point --point 1,2,3
expect 2 --point --point 1,1,0,0,nan
expect 2 --point --point 11,6,0,0,1e999
# One sign only: "+-1" is no number.
expect 2 --point --point 0,0,+-1,0,0
expect 2 --point --point 12,0,0,0,0
expect 2 --point --size 3,3 --point 4,0,1,1,1
expect 2 --weight --weight 1,1,-0.5
expect 2 --weight --weight 1,7,2
expect 2 --tick-u --tick-u 0,10
expect 2 --tick-u --tick-u 11,150
expect 2 --tick-u --tick-u 1,30
expect 2 --tick-v --tick-v 1,2
expect 2 --tick-v --tick-v 6,50
expect 2 --tick-u --tick-u 3,57
expect 2 --tick-u --tick-u 3,28 --tick-u 2,29
# Positions off the slider are refused before any arithmetic on them.
expect 2 --tick-u --tick-u 1,-2147483648
expect 2 --tick-v --tick-v 1,-2147483647
expect 2 --tick-u --tick-u 1,157
expect 2 --tick-v --tick-v 1,1
expect 2 --open --open "$work/missing.yqs"
head -c 100 "$golden/startup-sphere.yqs" >"$work/short.yqs"
expect 2 --open --open "$work/short.yqs"
printf 'NOTOURS!' >"$work/other.yqs"
cat "$golden/startup-sphere.yqs" >>"$work/other.yqs"
expect 2 --open --open "$work/other.yqs"
expect 2 --size --size 3,3 --size 4,4
expect 2 --png --png "$work/out/again.png"
expect 2 --camera --camera --camera
expect 2 --net --net --net
expect 2 --shade-map --shade-map
rm -rf "$work/out" && mkdir "$work/out"
"$tool" --cube --shade-map "$work/out/s.bin" 2>"$work/stderr"
[ $? -eq 2 ] && grep -q -- --cube "$work/stderr" && [ -z "$(ls -A "$work/out")" ] ||
  fail "--cube without --png: expected status 2 and nothing written"

# Models that cannot be drawn.
expect 1 "degree 3" --kind bspline3 --size 2,2
expect 1 "degree 2" --kind bspline2 --size 1,5
expect 1 "single point" --size 2,2 --shape plane --point 0,1,0,0,0 --point 1,0,0,0,0 \
  --point 1,1,0,0,0 --point 0,2,0,0,0 --point 1,2,0,0,0 --point 2,0,0,0,0 --point 2,1,0,0,0 \
  --point 2,2,0,0,0
# Sixteen equal points off the origin: a point up to the evaluation's rounding.
same=""
for i in 0 1 2 3; do for j in 0 1 2 3; do same="$same --point $i,$j,0.1,0.1,0.1"; done; done
expect 1 "single point" --size 3,3 $same

# An output that cannot be written: status 1 and a message naming the file.
"$tool" --shade-map "$work/no-such-dir/s.bin" 2>"$work/stderr"
[ $? -eq 1 ] && grep -q "no-such-dir/s.bin" "$work/stderr" ||
  fail "unwritable --shade-map: expected status 1 naming the file, got: $(cat "$work/stderr")"

# --help: usage on stdout, status 0, nothing else.
if "$tool" --help >"$work/stdout" 2>"$work/stderr"; then
  grep -q -- "--tick-u" "$work/stdout" || fail "--help does not list the options"
  [ ! -s "$work/stderr" ] || fail "--help wrote on stderr"
else
  fail "--help exited with status $?"
fi

finish "bad options and undrawable models: all refused as expected"
