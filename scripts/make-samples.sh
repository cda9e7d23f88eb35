#!/usr/bin/env bash
# Makes the bundled sample pictures (run once; the results are committed).
# Synthetic scenes with ImageMagick, EXIF written by exiftool.
set -euo pipefail
out=${1:-data/samples}
mkdir -p "$out"
cd "$out"

# A sunset sky over hills, 1600 x 1200.
convert -size 1600x1200 gradient:'#1d2b64-#f8cdda' \
  \( -size 1600x500 xc:none -fill '#2d3a1f' -draw "ellipse 400,500 700,260 0,360" \
     -fill '#3b4d26' -draw "ellipse 1200,520 800,300 0,360" \) -gravity south -composite \
  -fill '#ffd27f' -draw "circle 1150,420 1150,500" -quality 92 sunset.jpg
# Portrait-shaped plasma "flower field", 1200 x 1600, shot turned (Orientation 6).
convert -seed 7 -size 1200x1600 plasma:green-yellow -blur 0x2 -quality 90 meadow.jpg
# Fine detail that aliases when scaled badly: concentric rings, 2400 x 1600.
python3 -c '
print("viewbox 0 0 2400 1600 fill white rectangle 0,0 2400,1600 fill none stroke black stroke-width 3")
for r in range(12, 1500, 12): print(f"circle 1200,800 {1200+r},800")
' > rings.mvg
convert -size 2400x1600 -background white mvg:rings.mvg -flatten -quality 92 rings.jpg
# A night city: dark sky, buildings with lit windows, 2000 x 1333.
python3 -c '
import random
random.seed(3)
print("viewbox 0 0 2000 1333")
x = 0
while x < 2000:
    w = random.randint(90, 220); h = random.randint(300, 1100)
    print(f"fill #1c2340 rectangle {x},{1333-h} {x+w-6},1333")
    for wy in range(1333-h+20, 1320, 34):
        for wx in range(x+10, x+w-20, 26):
            if random.random() < 0.45: print(f"fill #f5d76e rectangle {wx},{wy} {wx+12},{wy+18}")
    x += w
' > city.mvg
convert -size 2000x1333 gradient:"#04081c-#243b6b" mvg:city.mvg -composite -quality 90 city.jpg
rm -f rings.mvg city.mvg
# A logo-like PNG with transparency and a small BMP.
convert -size 640x480 xc:none -fill '#e74c3c' -draw "roundrectangle 40,40 600,440 40,40" \
  -fill white -pointsize 120 -gravity center -annotate 0 'Tuvo' badge.png
convert -size 800x600 gradient:'#ffffff-#3498db' -rotate 90 -resize 800x600! tiles.bmp

exiftool -q -overwrite_original -DateTimeOriginal='2026:05:01 08:30:00' -Make=Tuvo -Model='Sample Camera' sunset.jpg
exiftool -q -overwrite_original -DateTimeOriginal='2026:06:12 17:45:10' -Orientation#=6 meadow.jpg
exiftool -q -overwrite_original -ExifByteOrder=MM -DateTimeOriginal='2026:07:20 21:05:33' city.jpg
ls -la
