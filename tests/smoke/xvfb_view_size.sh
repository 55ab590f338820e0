#!/usr/bin/env bash
# The real program filling a 1600 x 1200 virtual screen: the view is drawn
# at its size (over 1000 pixels on its shorter side, the headless
# renderer's picture at that size to the pixel); a control point dragged
# there moves, and the probe reads the surface there.
#   bash xvfb_view_size.sh <quorlen> <quorlen-render> [window-screenshot.png]
set -u
usage="usage: xvfb_view_size.sh <quorlen> <quorlen-render> [window-screenshot.png]"
prog=${1:?$usage} render=${2:?$usage} keep=${3:-} work=$(mktemp -d) xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in Xvfb xdotool import convert compare; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done
xvfb_screen=1600x1200x24
. "$(dirname "$0")/xvfb_display.sh"

QT_QPA_PLATFORM=xcb "$prog" >"$work/app.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name "Superficies de Bézier" | head -n1)
[ -n "$win" ] || fail "the main window did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
menu=$((HEIGHT - 435))  # the first client area is 671 x 435, under the menu bar
[ "$menu" -ge 0 ] && [ "$menu" -lt 60 ] || fail "unexpected window height $HEIGHT"
# The whole screen (no window manager here to maximise it).
xdotool windowmove --sync "$win" 0 0
xdotool windowsize --sync "$win" 1600 1200
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")"
vw=$((WIDTH - 255)) vh=$((HEIGHT - menu - 19))
[ "$vw" -gt 1000 ] && [ "$vh" -gt 1000 ] || fail "the view is $vw x $vh"
panel=$((vw + 1)) s=$((vw < vh ? vw : vh))

# view NAME: the view on the screen, once it stopped changing.
view() {
  local last="" sum
  for _ in $(seq 60); do
    sleep 0.5
    import -window root "$work/screen.png" 2>/dev/null || continue
    convert "$work/screen.png" -crop "${vw}x${vh}+$X+$((Y + menu))" +repage "$work/$1.png" || continue
    sum=$(convert "$work/$1.png" rgb:- | md5sum)
    [ "$sum" = "$last" ] && return 0
    last=$sum
  done
  fail "the view never settled for $1"
}
differ() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" != 0 ]; }
# options KEYS: the item of the "Opciones" menu the keys lead to.
options() {
  xdotool mousemove --window "$win" 75 $((menu / 2)) click 1
  sleep 0.5
  xdotool key "$@" Return
  sleep 0.5
}

# "Dibújala" in the panel beside the view.
xdotool mousemove --window "$win" $((panel + 139)) $((menu + 321)) click 1
view drawn
"$render" --view "$vw,$vh" --png "$work/reference.png" || fail "quorlen-render --view $vw,$vh failed"
ae=$(compare -metric AE "$work/drawn.png" "$work/reference.png" null: 2>&1)
[ "$ae" = "0" ] || fail "$ae pixels of the $vw x $vh view differ from quorlen-render's picture"
[ -n "$keep" ] && import -window "$win" "$keep"

# "Modificar nodos", and the control point at 230, 200 of the 416 x 416
# view, scaled and centred as the view is, dragged.
options Down Down
view editing
nx=$((vw / 2 + 22 * s / 416)) ny=$((vh / 2 - 8 * s / 416))
xdotool mousemove --window "$win" "$nx" $((menu + ny)) mousedown 1
for k in 1 2 3 4 5 6; do xdotool mousemove --window "$win" $((nx + 8 * k)) $((menu + ny - 5 * k)) sleep 0.05; done
xdotool mouseup 1
view dragged
differ dragged editing || fail "the node drag changed nothing on the view"

# Out of editing ("Modificar nodos" is then the first item enabled),
# "Superficie movible" off, "Líneas de curvatura" on: the probe's cross and
# the read-out follow the pointer far from the default view's pixels.
options Down
options Down
options Down Down Down Down Down Down Down Down Down Down
xdotool windowfocus --sync "$win"  # no window manager: an inactive window's view ignores the pointer
sleep 0.3
for at in "left $((vw / 2 - s / 8)) $((vh / 2 - 20))" "right $((vw / 2 + s / 8)) $((vh / 2 + 40))"; do
  set -- $at
  xdotool mousemove --window "$win" "$2" $((menu + $3))
  view "$1"
  convert "$work/screen.png" -crop "80x80+$((X + panel + 40))+$((Y + menu + 330))" +repage "$work/readout-$1.png"
done
differ right left || fail "no probe cross on the view"
differ readout-right readout-left || fail "the read-out did not follow the pointer"
echo "PASS"
