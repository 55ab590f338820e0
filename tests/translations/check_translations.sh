#!/bin/bash
# Every language file is complete: lupdate over the window's, the tool's and
# the messages' sources finds no text without its translation (unfinished)
# and no translation whose text is gone (vanished).
# Usage: check_translations.sh LUPDATE SOURCE_DIR
set -u
lupdate=$1 src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in "$src"/translations/quorlen_*.ts; do
  copy=$tmp/$(basename "$ts")
  cp "$ts" "$copy"
  (cd "$src" && "$lupdate" -silent -locations none app messages pictures tools/quorlen-render -ts "$copy" 2>/dev/null) ||
    { echo "lupdate failed on $ts"; status=1; continue; }
  # Each entry's source and its state, on one line.
  bad=$(awk '/<source>/ {s=$0} /<translation type="(unfinished|vanished|obsolete)"/ {gsub(/^ +/, "", s); sub(/^ +/, ""); print s " -> " $0}' "$copy")
  if [ -n "$bad" ]; then
    echo "$(basename "$ts"): untranslated or vanished texts:"
    echo "$bad" | sed 's/^/  /'
    status=1
  fi
done
[ $status -eq 0 ] && echo "every translation is complete"
exit $status
