#!/bin/bash
# Makes the sample card's pictures and documents once; the results are committed and embedded
# into sdmate-cli at build time. Needs ImageMagick, python3 and ffmpeg with AMR-NB
# (libopencore-amrnb, as Debian's has).
set -euo pipefail
cd "$(dirname "$0")"

convert -size 96x128 gradient:'#ff9933-#663399' -fill '#ffdd33' -draw 'circle 48,80 48,62' \
  -fill '#222244' -draw 'rectangle 0,100 96,128' -strip -quality 70 sunset.jpg
convert -size 96x128 gradient:'#66bbff-#ddeeff' -fill '#556677' -draw 'polygon 0,110 48,40 96,110' \
  -fill white -draw 'polygon 36,62 48,40 60,62' -fill '#448844' -draw 'rectangle 0,110 96,128' \
  -strip -quality 70 mountain.jpg
convert -size 96x128 xc:'#ccee99' -fill '#885522' -draw 'rectangle 42,70 54,120' \
  -fill '#228833' -draw 'circle 48,55 48,25' -strip -quality 70 tree.jpg
convert -size 96x128 xc:'#223355' -fill '#ffffcc' -draw 'circle 30,30 30,18' \
  -fill '#223355' -draw 'circle 36,26 36,16' -fill white -draw 'point 70,20' \
  -draw 'point 80,60' -draw 'point 20,90' -draw 'point 60,100' -strip -quality 70 night.jpg
convert -size 96x128 pattern:checkerboard -fill '#ff3366' -draw 'circle 48,64 48,34' \
  -colors 8 -strip checker.gif
convert -size 96x128 xc:white -fill '#3366cc' -draw 'rectangle 0,0 96,32' \
  -fill '#33cc66' -draw 'rectangle 0,48 96,80' -fill '#ffcc00' -draw 'rectangle 0,96 96,128' \
  -colors 8 -strip stripes.gif
convert -size 160x120 gradient:'#ffffff-#999999' -fill '#cc3333' -draw 'rectangle 40,30 120,90' \
  -strip -quality 70 camera.jpg
convert -size 160x120 gradient:'#ffffcc-#66aacc' -fill '#3366cc' -draw 'circle 80,60 80,30' \
  -strip -quality 70 camera2.jpg
convert -size 160x120 gradient:'#eeffee-#669966' -fill '#ffcc00' -draw 'polygon 20,100 80,20 140,100' \
  -strip -quality 70 camera3.jpg
# The camera's first two pictures carry the time they were taken (the same second) in an EXIF
# block, as the handset writes it; the third has none, like a picture copied from elsewhere.
python3 - <<'PY'
import struct

def with_shot(path, shot):
    tiff = b"II*\0" + struct.pack("<I", 8)
    tiff += struct.pack("<H", 1) + struct.pack("<HHII", 0x8769, 4, 1, 26) + struct.pack("<I", 0)
    text = shot.encode("ascii") + b"\0"
    tiff += struct.pack("<H", 1) + struct.pack("<HHII", 0x9003, 2, len(text), 44)
    tiff += struct.pack("<I", 0) + text
    block = b"Exif\0\0" + tiff
    jpeg = open(path, "rb").read()
    open(path, "wb").write(jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(block) + 2) + block
                           + jpeg[2:])

with_shot("camera.jpg", "2005:03:03 14:07:31")
with_shot("camera2.jpg", "2005:03:03 14:07:31")
PY

# One-page PDFs with a heading and a few ruled lines, with a correct cross-reference table.
python3 - <<'PY'
def pdf(path, heading, lines):
    body = ["BT /F1 18 Tf 20 150 Td (%s) Tj ET" % heading]
    for i, text in enumerate(lines):
        body.append("BT /F1 10 Tf 20 %d Td (%s) Tj ET" % (120 - 16 * i, text))
    body.append("0.2 0.4 0.8 RG 2 w 20 140 m 180 140 l S")
    stream = "\n".join(body).encode("ascii")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 180] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, obj in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + obj + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    open(path, "wb").write(out)

pdf("guide.pdf", "Sdmate sample", ["A small document", "on the handset's card."])
pdf("memo.pdf", "Memo", ["Buy film", "Call the shop", "Back up the card"])
pdf("map.pdf", "Map", ["Station - 5 min", "Park - 10 min"])
PY

# Three two-second clips as the handset records them: 3GP, MPEG-4 Visual Simple Profile at
# 176x144 and 15 frames a second, AMR-NB sound; small, and made the same way each time.
clip() {
  ffmpeg -v error -y -f lavfi -i "$2=size=176x144:rate=15" -f lavfi -i "sine=frequency=$3:sample_rate=8000" \
    -t 2 -c:v mpeg4 -profile:v 0 -q:v 12 -g 30 -c:a libopencore_amrnb -ar 8000 -ac 1 -b:a 12.2k \
    -map_metadata -1 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact "$1"
}
clip clip1.3gp testsrc 300
clip clip2.3gp smptebars 600
clip clip3.3gp gradients 900
