#!/usr/bin/env bash
# The real program on a virtual X display: a control point dragged in the
# net-editing mode, Ctrl+Z gives the picture before the drag back and
# Ctrl+Y the dragged one; then the program is killed, and the next start
# offers the recovery file and, on Yes, draws what was lost; a clean exit
# after a later edit leaves no recovery file.
#   bash xvfb_undo_recovery.sh <quorlen> <quorlen-render>
set -u

prog=${1:?usage: xvfb_undo_recovery.sh <quorlen> <quorlen-render>}
render=${2:?usage: xvfb_undo_recovery.sh <quorlen> <quorlen-render>}
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# A pixel where the start-up sphere's net has a control point.
nx=230 ny=200
"$render" --drag-node "$nx,$ny,$nx,$ny" >/dev/null || fail "no control point at $nx,$ny"

. "$(dirname "$0")/xvfb_display.sh"

# start: runs the program; sets win, menu, X, Y.
start() {
  QT_QPA_PLATFORM=xcb "$prog" >"$work/app.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1)
  [ -n "$win" ] || fail "no window named '$1' appeared"
}
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  menu=$((HEIGHT - 435))
}
# view NAME: the 416 x 416 view as it is on the screen, once it stopped changing.
view() {
  local last=""
  for _ in $(seq 40); do
    sleep 0.4
    import -window root "$work/screen.png" 2>/dev/null || continue
    convert "$work/screen.png" -crop "416x416+$X+$((Y + menu))" +repage "$work/$1.png" || continue
    local sum
    # The pixels alone: the file also holds the time it was written.
    sum=$(convert "$work/$1.png" rgb:- | md5sum)
    [ "$sum" = "$last" ] && return 0
    last=$sum
  done
  fail "the view never settled for $1"
}
differ() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" != 0 ]; }

start "Superficies de Bézier"
sleep 0.5
geometry
xdotool mousemove --window "$win" $((417 + 99 + 40)) $((menu + 308 + 13)) click 1
sleep 2
# "Opciones", then its second item, "Modificar nodos", by the keyboard.
xdotool mousemove --window "$win" 75 $((menu / 2)) click 1
sleep 0.4
xdotool key Down Down Return
view before
# The drag: press on the point, move, release; the redraw follows.
xdotool mousemove --window "$win" "$nx" $((menu + ny)) mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove --window "$win" $((nx + 3 * step)) $((menu + ny - 2 * step))
  sleep 0.05
done
xdotool mouseup 1
view dragged
differ dragged before || fail "the node drag changed nothing on the view"

xdotool key ctrl+z
view undone
differ undone before && fail "Ctrl+Z did not give the picture before the drag back"
xdotool key ctrl+y
view redone
differ redone dragged && fail "Ctrl+Y did not give the dragged picture back"

# The edit reaches the recovery file within a second; then a crash.
sleep 1.5
kept=$(ls "$XDG_DATA_HOME"/Quorlen/recuperacion/quorlen-*.yqs 2>/dev/null | head -n1)
[ -n "$kept" ] || fail "no recovery file after the edit"
cp "$kept" "$work/kept.yqs"
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=""

"$render" --open "$work/kept.yqs" --png "$work/expected.png" || fail "quorlen-render cannot read the recovery file"

# The next start asks; Return answers Yes.
start "^Quorlen$"
sleep 0.5
xdotool key Return
win=$(timeout 20 xdotool search --sync --onlyvisible --name "Superficie recuperada" | head -n1)
[ -n "$win" ] || fail "the recovered surface's window did not appear"
geometry
view recovered
differ recovered expected && fail "the recovered surface is not the one lost"

# An edit, two seconds, "Salir" and "No" to saving: a clean exit, which
# leaves no recovery file behind, however long after the last write it came.
xdotool mousemove --window "$win" $((417 + 174 + 20)) $((menu + 274 + 11)) click 1
sleep 2
# "General", then its last item, "Salir", by the keyboard.
xdotool mousemove --window "$win" 25 $((menu / 2)) click 1
sleep 0.4
xdotool key Up Return
sleep 1
xdotool key n
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end on Salir"
wait "$app_pid" 2>/dev/null
app_pid=""
left=$(ls "$XDG_DATA_HOME"/Quorlen/recuperacion/ 2>/dev/null | grep '^quorlen-')
[ -z "$left" ] || fail "a clean exit left behind: $left"
echo "PASS"
