#!/usr/bin/env bash
# Starts the real program on a virtual X display with a surface file on its
# command line, as a desktop does for a double-clicked file:
#  - a good file is drawn at once, the same picture as quorlen-render gives
#    for that file, and names the window;
#  - a damaged file leaves the start-up window (empty view, no drawing) with
#    the refusal in the status line.
#   bash xvfb_open_file.sh <quorlen> <quorlen-render>
set -u

prog=${1:?usage: xvfb_open_file.sh <quorlen> <quorlen-render>}
render=${2:?usage: xvfb_open_file.sh <quorlen> <quorlen-render>}
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

stop_app() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    app_pid=""
  fi
}
cleanup() {
  stop_app
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in Xvfb xdotool import convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# A surface unlike the start-up sphere: a B-spline bump on a plane, saved
# with its view, and the picture the headless renderer draws from the file.
"$render" --kind bspline3 --size 5,5 --shape plane --point 2,2,0.5,0.5,1 \
  --save "$work/bulto.yqs" || fail "quorlen-render could not save the surface"
"$render" --open "$work/bulto.yqs" --png "$work/expected.png" ||
  fail "quorlen-render could not draw the surface"
rows=416
convert "$work/expected.png" -crop "416x$rows+0+0" +repage "$work/expected-top.png"

head -c 1000 "$work/bulto.yqs" >"$work/dañado.yqs"

. "$(dirname "$0")/xvfb_display.sh"

# start FILE: runs the program on FILE; sets win, X, Y, WIDTH, HEIGHT.
start() {
  rm -rf "$XDG_DATA_HOME"  # no recovery offered from the run before
  QT_QPA_PLATFORM=xcb "$prog" "$1" >"$work/app.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --class quorlen | head -n1)
  [ -n "$win" ] || fail "the main window did not appear for $1"
  eval "$(xdotool getwindowgeometry --shell "$win")"
}

# shot NAME: the window as it is on the screen.
shot() {
  import -window root "$work/screen.png" 2>/dev/null &&
    convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/$1.png"
}

# --- A good file: drawn at once, the renderer's picture, the file's name.
start "$work/bulto.yqs"
found=""
for _ in $(seq 60); do
  sleep 0.5
  shot good || continue
  # Where the picture sits: the menu bar's height is the style's; the view
  # is the window's left edge just below it.
  convert "$work/good.png" -crop "416x$HEIGHT+0+0" +repage "$work/left.png"
  out=$(compare -metric AE -subimage-search "$work/left.png" "$work/expected-top.png" null: 2>&1)
  case "$out" in
    "0 @ 0,"* | "0 (0) @ 0,"*) found=$out && break ;;
  esac
done
[ -n "$found" ] || fail "the view never showed the renderer's picture (last: $out)"
top=${found##*,}
echo "picture found $top pixels below the window's top"
[ "$top" -gt 0 ] && [ "$top" -lt 80 ] || fail "the picture is $top pixels down, not below a menu bar"
title=$(xdotool getwindowname "$win")
[ "$title" = "bulto" ] || fail "window caption is '$title', expected 'bulto'"
# The status line, as a drawing leaves it (empty): rows below the view's
# last one, whether or not the status line covers the view's bottom.
status_y=$((top + 417))
status_h=$((HEIGHT - status_y))
[ "$status_h" -gt 14 ] && status_h=14
[ "$status_h" -ge 8 ] || fail "no room for a status line below the view"
status_box="$((WIDTH - 40))x$status_h+0+$status_y"
convert "$work/good.png" -crop "$status_box" +repage "$work/status-clear.png"
stop_app

# --- A damaged file: the start-up window, nothing drawn, the refusal shown.
start "$work/dañado.yqs"
sleep 2
shot damaged || fail "no screenshot"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on a damaged file"
convert "$work/damaged.png" -crop "416x$rows+0+$top" +repage "$work/view.png"
colours=$(convert "$work/view.png" -format %k info:)
[ "$colours" -eq 1 ] || fail "the view shows something ($colours colours) after a damaged file"
title=$(xdotool getwindowname "$win")
[ "$title" = "Superficies de Bézier" ] || fail "window caption is '$title' after a damaged file"
convert "$work/damaged.png" -crop "$status_box" +repage "$work/status.png"
diff=$(compare -metric AE "$work/status.png" "$work/status-clear.png" null: 2>&1)
[ "${diff%% *}" -gt 50 ] 2>/dev/null || fail "no message in the status line (differs in $diff pixels)"
stop_app
echo "PASS"
