#!/bin/bash
# --undo K and --redo K: each model option is one edit; undoing the last
# ones draws what the options before them draw, redoing them draws it all.
# Usage: bash undo_redo.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh"

run --shape cylinder --kind bspline2 --move 208,208,260,230 --save "$work/turned.yqs"

# picture NAME ARGS...: the picture and the saved surface of ARGS.
picture() {
  local name=$1
  shift
  run "$@" --png "$work/$name.png" --save "$work/$name.yqs"
}
same() {
  cmp -s "$work/$1.png" "$work/$2.png" && cmp -s "$work/$1.yqs" "$work/$2.yqs" || fail "$3: $1 is not $2"
}

# Each row: the options before the last edit | the last edit.
while IFS='|' read -r before last; do
  # shellcheck disable=SC2086
  picture before $before
  # shellcheck disable=SC2086
  picture all $before $last
  # shellcheck disable=SC2086
  picture undone $before $last --undo 1
  # shellcheck disable=SC2086
  picture redone $before $last --undo 1 --redo 1
  same undone before "undo of $last"
  same redone all "redo of $last"
  cmp -s "$work/all.png" "$work/before.png" && fail "$last changes nothing: a useless row"
done <<ROWS
|--open $work/turned.yqs
|--size 8,5
--size 8,5|--shape plane
--shape plane|--kind bspline3
--size 8,5 --shape plane --kind bspline3|--point 3,2,0.5,0.5,1
--rational|--weight 4,3,5
--kind bspline3|--tick-u 4,70
--kind bspline3 --tick-u 4,70|--tick-v 4,60
ROWS

# Several at once, in the fixed order of the options.
picture sphere
picture back --shape plane --kind bspline2 --point 1,1,0,0,2 --undo 3
same back sphere "three edits undone"

# More than there are.
refuse "--undo" --shape plane --undo 2
refuse "--redo" --shape plane --undo 1 --redo 2
refuse "--redo" --redo 1
refuse "--undo" --undo 0

finish "undo and redo: all as expected"
