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

# The SVG keeps the net of lines as paths, as many as the listing has lines,
# over the drawn overlays; the umbilic marks lie under the overlays, in the
# picture, as the window draws them.
run --shape ellipsoid --net --export-svg "$work/plain.svg"
run --shape ellipsoid --net --curvature-net --segments "$work/enet.txt" --export-svg "$work/enet.svg"
paths() { python3 -c 'import sys, xml.etree.ElementTree as E
print(sum(1 for e in E.parse(sys.argv[1]).iter() if e.tag.endswith("}path")))' "$1"; }
netlines=$(grep -c '^[0-9-]* [0-9-]* [0-9-]* [0-9-]* [0-9A-F]*$' "$work/enet.txt")
[ "$netlines" -gt 100 ] || fail "net listing has $netlines lines"
[ "$(paths "$work/enet.svg")" = "$(($(paths "$work/plain.svg") + netlines))" ] ||
  fail "SVG paths $(paths "$work/enet.svg") != overlay $(paths "$work/plain.svg") + net $netlines"
"$tool" --shape ellipsoid --umbilics --png "$work/marks.png" --export-svg "$work/marks.svg" >/dev/null ||
  fail "ellipsoid marks"
"$tool" --shape ellipsoid --umbilics --net --cube --png "$work/both.png" >/dev/null || fail "ellipsoid marks and net"
run --shape ellipsoid --net --cube --png "$work/net-only.png"
run --shape ellipsoid --png "$work/ellipsoid.png"
python3 - "$work" <<'PY' || fail "umbilic marks over the overlays, or missing from the SVG"
import base64, re, subprocess, sys
w = sys.argv[1]
def rgb(name):
    d = subprocess.run(["convert", name, "rgb:-"], capture_output=True, check=True).stdout
    return [d[k:k + 3] for k in range(0, len(d), 3)]
plain, marks, net, both = (rgb(f"{w}/{n}.png") for n in ("ellipsoid", "marks", "net-only", "both"))
mark = {k for k in range(len(plain)) if marks[k] != plain[k]}
line = {k for k in range(len(plain)) if net[k] != plain[k]}
assert len(mark) > 20 and mark & line, (len(mark), len(mark & line))
# Where a line of the net or the box crosses a mark the line shows;
# elsewhere the mark does.
assert all(both[k] == net[k] for k in line), "the overlays are not on top"
assert all(both[k] == marks[k] for k in mark - line), "a mark is missing"
# The SVG's embedded picture holds the marks.
svg = open(f"{w}/marks.svg").read()
png = base64.b64decode(re.search(r'href="data:image/png;base64,([^"]+)"', svg).group(1))
open(f"{w}/embedded.png", "wb").write(png)
assert rgb(f"{w}/embedded.png") == marks, "the SVG's picture lacks the marks"
PY

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
# The outline is smoothed in greys, not in the shaded picture's colours.
grey = sum(1 for k in range(0, len(z), 3) if z[k] == z[k + 1] == z[k + 2] and 0 < z[k] < 255)
colour = sum(1 for k in range(0, len(z), 3) if not z[k] == z[k + 1] == z[k + 2])
assert colour == 0 and grey > 100, (colour, grey)
PY
finish "analysis options: all checks passed"
