#!/usr/bin/env bash
# The real program under LANG=en_US.UTF-8: the window's title is the English
# one, its menu bar differs from the Spanish program's, and the first item
# of the first menu opens the about box under its English title.
#   bash xvfb_english.sh <quorlen> <source dir>
set -u
prog=${1:?usage: xvfb_english.sh <quorlen> <source dir>}
ts=${2:?usage: xvfb_english.sh <quorlen> <source dir>}/translations/quorlen_en.ts
work=$(mktemp -d)
xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "${keep_work:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in Xvfb xdotool import convert compare; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done

# The English of a Spanish text, as the translation file has it.
english() {
  grep -A1 -F "<source>$1</source>" "$ts" | sed -n 's|.*<translation>\(.*\)</translation>.*|\1|p' | head -n1
}
title=$(english "Superficies de Bézier")
about=$(english "Sobre Astrovel")
[ -n "$title" ] && [ -n "$about" ] || fail "no English title in $ts"

# A pattern for xdotool: where the program's locale is missing from the
# machine its title reaches X in another encoding, so each run of non-ASCII bytes
# matches anything.
ascii() { printf '%s' "$1" | LC_ALL=C sed 's/[\x80-\xff]\+/.*/g'; }

# start LANG: the program's window, its id in $win, its menu bar in $1.png.
start() {
  . "$(dirname "$0")/xvfb_display.sh"
  LANG=$1 QT_QPA_PLATFORM=xcb "$prog" >"$work/app-$1.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "$(ascii "$2")" | head -n1)
  [ -n "$win" ] || fail "no window named '$2' under LANG=$1"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root "$work/screen.png" && convert "$work/screen.png" -crop "300x20+$X+$Y" +repage "$work/$1.png" ||
    fail "no screenshot"
}
stop() {
  kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  app_pid="" xvfb_pid=""
}

start es_ES.UTF-8 "Superficies de Bézier"
stop
start en_US.UTF-8 "$title"
ae=$(compare -metric AE "$work/es_ES.UTF-8.png" "$work/en_US.UTF-8.png" null: 2>&1)
[ "$ae" != "0" ] || fail "the English menu bar looks like the Spanish one"

# "General" comes first in both languages; its first item is the about box.
xdotool mousemove --window "$win" 20 10 click 1
sleep 0.5
xdotool key Down Return
timeout 10 xdotool search --sync --onlyvisible --name "$(ascii "$about")" >/dev/null || fail "no about box named '$about'"
echo "English window '$title', menus and about box '$about'"
