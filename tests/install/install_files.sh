#!/usr/bin/env bash
# `cmake --install` into a staging folder (DESTDIR) puts every file a
# desktop needs where it looks for it, the desktop tools accept them, and
# the entry, icon, file type and software-centre record name one another.
# Straight into a prefix (no DESTDIR) it also refreshes the desktop caches.
#   bash install_files.sh <build-dir> <configured-prefix>
set -u
build=${1:?usage: install_files.sh <build-dir> <prefix>}
prefix=${2:?usage: install_files.sh <build-dir> <prefix>}
id=org.quorlen.Quorlen
type=application/x-quorlen-surface
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli update-mime-database convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done

DESTDIR="$work/stage" cmake --install "$build" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
root="$work/stage$prefix"

# Without Open CASCADE (QUORLEN_NO_CAD_EXCHANGE set) there is no reader.
reader=bin/quorlen-cad-reader
[ -n "${QUORLEN_NO_CAD_EXCHANGE:-}" ] && reader=""
for f in bin/quorlen bin/quorlen-render $reader; do
  [ -x "$root/$f" ] || fail "$f is not installed as a program"
done
desktop="$root/share/applications/$id.desktop"
icon="$root/share/icons/hicolor/scalable/apps/$id.svg"
mime="$root/share/mime/packages/$id.xml"
meta="$root/share/metainfo/$id.metainfo.xml"
for f in "$desktop" "$icon" "$mime" "$meta"; do
  [ -s "$f" ] || fail "${f#"$root/"} is missing"
done
# Everything went under the prefix inside the staging folder.
outside=$(find "$work/stage" -type f | grep -v "^$root/")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
# A staged install leaves the caches to the package manager.
[ ! -e "$root/share/mime/mime.cache" ] || fail "a DESTDIR install ran update-mime-database"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$meta" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log"; fail "appstreamcli rejects the metainfo"; }

# One id, one file type, everywhere.
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -qx "MimeType=$type;model/step;model/iges;" "$desktop" ||
  fail "the desktop entry does not offer $type, STEP and IGES"
grep -q '^Exec=quorlen %f$' "$desktop" || fail "the desktop entry does not pass the file (%f)"
grep -q "<mime-type type=\"$type\">" "$mime" || fail "the file type is not $type"
grep -q "<id>$id</id>" "$meta" || fail "the metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" ||
  fail "the metainfo does not launch $id.desktop"
grep -q "<mediatype>$type</mediatype>" "$meta" || fail "the metainfo does not provide $type"
grep -q '<summary xml:lang="es">' "$meta" || fail "no Spanish summary"
grep -q '<p xml:lang="es">' "$meta" || fail "no Spanish description"
grep -q '<image>.*/docs/screenshot.png</image>' "$meta" || fail "the screenshot is not the README's"
grep -q '@' "$meta" && fail "the metainfo keeps an unconfigured @VARIABLE@"

# The file type as shared-mime-info compiles it: the extension and the
# magic at offset 0.
cp -r "$root/share/mime" "$work/mime"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 ||
  { cat "$work/mime.log"; fail "update-mime-database rejects the file type"; }
grep -qx "50:$type:\*.yqs" "$work/mime/globs2" || fail "*.yqs is not mapped to $type"
grep -q ":model/step:\*.step$" "$work/mime/globs2" || fail "*.step is not mapped to model/step"
grep -aq "RHMQYQS" "$work/mime/magic" || fail "the magic RHMQYQS is not in the compiled database"
[ -s "$work/mime/$type.xml" ] || fail "no compiled entry for $type"

# The icon is a picture, not an empty or broken drawing.
if convert -background none "$icon" "$work/icon.png" 2>"$work/icon.log"; then
  size=$(convert "$work/icon.png" -format "%wx%h" info:)
  [ "$size" = "128x128" ] || fail "the icon is $size, expected 128x128"
  colours=$(convert "$work/icon.png" -format %k info:)
  [ "$colours" -gt 20 ] || fail "the icon has only $colours colours: no shaded patch"
else
  cat "$work/icon.log"
  fail "the icon cannot be drawn"
fi

# Straight into a prefix: the caches that make the file type and the menu
# entry work at once are refreshed.
cmake --install "$build" --prefix "$work/direct" >"$work/direct.log" 2>&1 ||
  { cat "$work/direct.log"; fail "cmake --install --prefix"; }
[ -s "$work/direct/share/mime/mime.cache" ] || fail "a direct install did not refresh the file types"
if command -v update-desktop-database >/dev/null; then
  grep -q "$type=$id.desktop" "$work/direct/share/applications/mimeinfo.cache" 2>/dev/null ||
    fail "a direct install did not tie $type to the menu entry"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install: every file in place and accepted"
