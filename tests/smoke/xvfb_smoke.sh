#!/usr/bin/env bash
# Starts the real program on a virtual X display, presses "Dibújala" with the
# mouse, takes a screenshot and checks that the whole view shows the same
# picture as the headless renderer draws for the start-up model.
#   bash xvfb_smoke.sh <quorlen> <quorlen-render> [screenshot-of-the-window.png]
set -u

prog=${1:?usage: xvfb_smoke.sh <quorlen> <quorlen-render> [window-screenshot.png]}
render=${2:?usage: xvfb_smoke.sh <quorlen> <quorlen-render> [window-screenshot.png]}
keep=${3:-}
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

. "$(dirname "$0")/xvfb_display.sh"

QT_QPA_PLATFORM=xcb "$prog" >"$work/app.log" 2>&1 &
app_pid=$!

win=$(timeout 20 xdotool search --sync --onlyvisible --name "Superficies de Bézier" | head -n1)
[ -n "$win" ] || fail "the main window did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y, WIDTH, HEIGHT
# The client area below the menu bar is 671 x 435 (the view, the panel and
# the status line below them); the menu bar takes the rest of the height.
menu=$((HEIGHT - 435))
[ "$menu" -ge 0 ] && [ "$menu" -lt 60 ] || fail "unexpected window height $HEIGHT"

# "Dibújala" sits at 99, 308 (81 x 26) in the panel at 417, 0.
xdotool mousemove --window "$win" $((417 + 99 + 40)) $((menu + 308 + 13)) click 1

# Wait for the picture: the view's centre turns from the empty colour to
# the surface's.
view="$work/view.png"
for _ in $(seq 60); do
  sleep 0.5
  import -window root "$work/screen.png" 2>/dev/null || continue
  convert "$work/screen.png" -crop "416x416+$X+$((Y + menu))" +repage "$view" || continue
  colours=$(convert "$view" -format %k info:)
  [ "$colours" -gt 40 ] && break
done

colours=$(convert "$view" -format %k info:)
echo "distinct colours in the view: $colours"
[ "$colours" -gt 40 ] || fail "the view does not show a shaded picture ($colours colours)"
for p in "1,1" "414,1" "1,414" "414,414"; do
  c=$(convert "$view" -format "%[pixel:p{$p}]" info:)
  case "$c" in
    white | "srgb(255,255,255)" | "rgb(255,255,255)") ;;
    *) fail "corner $p of the view is $c, not white" ;;
  esac
done
# The sphere's middle is surface, not background.
c=$(convert "$view" -format "%[pixel:p{208,205}]" info:)
case "$c" in
  white | "srgb(255,255,255)") fail "the middle of the view is empty" ;;
esac

# Every one of the 416 rows is the headless renderer's picture.
"$render" --png "$work/reference.png" || fail "quorlen-render failed"
ae=$(compare -metric AE "$view" "$work/reference.png" null: 2>&1)
[ "$ae" = "0" ] || fail "$ae pixels of the view differ from quorlen-render's picture"

# A left drag over the view turns the surface: the picture changes, and a
# second drag changes it again, so the program still answers.
drag() {
  xdotool mousemove --window "$win" "$1" $((menu + $2)) mousedown 1
  for step in 1 2 3 4 5 6; do
    xdotool mousemove --window "$win" $(($1 + step * ($3 - $1) / 6)) $((menu + $2 + step * ($4 - $2) / 6))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 1
  import -window root "$work/screen.png" 2>/dev/null &&
    convert "$work/screen.png" -crop "416x416+$X+$((Y + menu))" +repage "$5"
}
drag 200 200 280 230 "$work/turned.png"
ae=$(compare -metric AE "$work/turned.png" "$view" null: 2>&1)
[ "$ae" != "0" ] || fail "a drag over the view did not turn the surface"
drag 280 230 150 150 "$work/turned2.png"
ae=$(compare -metric AE "$work/turned2.png" "$work/turned.png" null: 2>&1)
[ "$ae" != "0" ] || fail "the program did not answer a second drag"

if [ -n "$keep" ]; then
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$keep"
fi
kill -0 "$app_pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS"
