#!/bin/bash
# Exact shapes, umbilics, reflection lines and the net of lines of curvature
# in the renderer: bad values refused; the printed umbilics; the net's
# listing and picture.
# Usage: bash analysis.sh <quorlen-render> <golden-dir>
. "$(dirname "$0")/common.sh" "$@"

refuse --shape --shape torus
refuse --zebra --map zebra --zebra 13,h
refuse --zebra --map zebra --zebra 12,d
refuse --zebra --zebra 12,h
refuse --map --map zebra --map gauss
refuse --umbilics --umbilics --umbilics
refuse --segments --segments "$work/s.txt"

# The ellipsoid's two lemons (their places are checked in the core); the
# plane and the octant are regions; the octant's pole is said to be skipped.
"$tool" --shape ellipsoid --umbilics >"$work/ell.txt" || fail "ellipsoid"
[ "$(grep -c ' lemon$' "$work/ell.txt")" = 2 ] || fail "ellipsoid: $(cat "$work/ell.txt")"
"$tool" --shape plane --umbilics | grep -qx "region 0 1 0 1 0" || fail "plane region"
"$tool" --shape octant --umbilics >"$work/oct.txt" || fail "octant"
# Numbers to full precision (the shortest text that reads back): the unit
# sphere's k is 1 within rounding.
awk '$1 == "region" && $6 > 1 - 1e-12 && $6 < 1 + 1e-12 {ok = 1} END {exit !ok}' "$work/oct.txt" ||
  fail "octant region: $(cat "$work/oct.txt")"
grep -q "^singular 0 1 0 0$" "$work/oct.txt" || fail "octant pole: $(cat "$work/oct.txt")"
awk '$7 == "lemon" && length($2) > 8 {n++} END {exit n != 2}' "$work/ell.txt" ||
  fail "ellipsoid: not to full precision: $(cat "$work/ell.txt")"

# The net: both families' colours in the listing, the lines in the picture
# (which otherwise matches the plain drawing).
run --curvature-net --png "$work/net.png" --segments "$work/net.txt"
run --png "$work/plain.png"
head -1 "$work/net.txt" | grep -qx net || fail "net listing header"
awk 'NF == 5 {print $5}' "$work/net.txt" | sort -u >"$work/colours"
[ "$(wc -l <"$work/colours")" -ge 2 ] || fail "net: one colour only"
cmp -s "$work/net.png" "$work/plain.png" && fail "net: the picture did not change"

# Zebra: only black and white on the surface, the background untouched.
run --map zebra --zebra 8,v --png "$work/zebra.png"
convert "$work/zebra.png" "rgb:$work/zebra.rgb"
convert "$work/plain.png" "rgb:$work/plain.rgb"
python3 - "$work" <<'PY' || fail "zebra picture"
import sys
w = sys.argv[1]
z = open(f"{w}/zebra.rgb", "rb").read()
p = open(f"{w}/plain.rgb", "rb").read()
bw = other = 0
for k in range(0, len(z), 3):
    if p[k:k + 3] == b"\xff\xff\xff":
        assert z[k:k + 3] == p[k:k + 3], k
    elif z[k:k + 3] in (b"\x00\x00\x00", b"\xff\xff\xff"):
        bw += 1
    else:
        other += 1
assert bw > 20000 and other < bw / 20, (bw, other)
PY
finish "analysis options: all checks passed"
