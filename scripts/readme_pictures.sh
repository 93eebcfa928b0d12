#!/usr/bin/env bash
# Makes the README's pictures (docs/pictures/*.png) from the current Windows build: the
# calculator and the fields demo's dialog as screenshots under Wine on an X display (Xvfb
# when there is none), and the graphics demo's window and its files in every format,
# each rendered by an independent reader: Ghostscript (PostScript), rsvg-convert (SVG),
# hp2xx (HP-GL/2), ezdxf's matplotlib drawing (DXF), LibreOffice Impress (CGM) and
# ImageMagick (PNG, BMP, PCX). scripts/setup.sh installs all of them. Not part of the tests.
# Usage: scripts/readme_pictures.sh [WINDOWS BUILD FOLDER, default build/win64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
out=$root/docs/pictures
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display
for exe in app/orlixcalc.exe examples/graphics_demo.exe examples/fields_demo.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe: build the Windows build first" >&2; exit 1; }
done
work=$(mktemp -d /tmp/readme-pictures.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
fi
"$root/scripts/e2e_wine_fonts.sh"

# A small PNG: no metadata, at most WIDTHxHEIGHT, a palette of at most COLOURS colours.
shrink() {  # SOURCE NAME [GEOMETRY] [COLOURS]
  convert "$1" -strip -resize "${3:-640x480}>" -colors "${4:-64}" "PNG8:$out/$2.png"
  echo "docs/pictures/$2.png: $(identify -format '%wx%h' "$out/$2.png"), $(stat -c %s "$out/$2.png") bytes"
}
# A render with a white border trimmed and a small margin put back; a landscape page
# rendered upright is turned a quarter clockwise (ANGLE 90).
trimmed() {  # SOURCE RESULT [ANGLE]
  convert "$1" -background white -alpha remove -alpha off -rotate "${3:-0}" -trim +repage \
    -bordercolor white -border 8 "$2"
}

# Runs a program in a Wine desktop of its own, which draws the window frames as Windows
# does (plain X windows on a display without a window manager have none).
start_in_desktop() {  # PROGRAM [ARGUMENTS...]
  wine explorer /desktop=readmepictures,1000x760 "$@" >/dev/null 2>&1 &
}
# The visible X window whose name is TITLE, waited for up to 60 s.
window_named() {
  local id
  for _ in $(seq 1 120); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.5
  done
  echo "no window named \"$1\" appeared" >&2
  return 1
}
# Clicks the window's caption (which activates it), lets it paint and saves it as RESULT.
snap_window() {  # TITLE RESULT
  local id
  id=$(window_named "$1")
  sleep 1
  xdotool mousemove --window "$id" 60 8 click 1
  sleep 1.5
  import -window "$id" "$2"
}
# Ends every program of the prefix, desktop included.
stop_programs() {
  wineserver -k 2>/dev/null || true
  sleep 1
}

# The calculator with a result on its display, typed as a person would.
start_in_desktop "$build/app/orlixcalc.exe"
snap_window "Orlix Calculator 2" "$work/calculator.png"
xdotool type --delay 150 "1234.5*8="
sleep 1
import -window "$(window_named "Orlix Calculator 2")" "$work/calculator.png"
stop_programs
shrink "$work/calculator.png" calculator

# A dialog with numeric fields and a grid field.
start_in_desktop "$build/examples/fields_demo.exe" 30
snap_window "Measurements" "$work/fields.png"
stop_programs
shrink "$work/fields.png" dialog_fields

# The graphics demo: its window, and its files in every format.
mkdir -p "$work/demo"
start_in_desktop "$build/examples/graphics_demo.exe" "Z:$work/demo" 30
snap_window "Quillanthor graphics demo" "$work/screen.png"
stop_programs
shrink "$work/screen.png" graphics_screen
ls "$work/demo"
need() { [ -s "$work/demo/$1" ] || { echo "the graphics demo wrote no $1" >&2; exit 1; }; }
for f in demo.ps demo.svg demo12_quilplot.plt demo8_quilplot.dxf demo9_quilplot.cgm demo6_quilplot.png \
  demo6_quilplot.bmp demo6_quilplot.pcx; do
  need "$f"
done

gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r60 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
  -sOutputFile="$work/ps.png" "$work/demo/demo.ps"
trimmed "$work/ps.png" "$work/ps_trim.png" 90
shrink "$work/ps_trim.png" demo_postscript 480x480

rsvg-convert -w 640 -b white "$work/demo/demo.svg" -o "$work/svg.png"
trimmed "$work/svg.png" "$work/svg_trim.png"
shrink "$work/svg_trim.png" demo_svg 480x480

# The HP-GL/2 printer's file. hp2xx exits 0 on what it cannot read: its log must count
# no unexpected event.
hp2xx -m png -d 120 -f "$work/hpgl.png" "$work/demo/demo12_quilplot.plt" >"$work/hp2xx.log" 2>&1
if ! grep -q "Unexpected event(s): *0" "$work/hp2xx.log"; then
  cat "$work/hp2xx.log" >&2
  exit 1
fi
trimmed "$work/hpgl.png" "$work/hpgl_trim.png" 90
shrink "$work/hpgl_trim.png" demo_hpgl2 480x480

/usr/bin/python3 - "$work/demo/demo8_quilplot.dxf" "$work/dxf.png" <<'EOF'
import sys
import ezdxf
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
from ezdxf.addons.drawing.properties import LayoutProperties

doc = ezdxf.readfile(sys.argv[1])
figure = plt.figure(figsize=(6, 6))
axes = figure.add_axes([0, 0, 1, 1])
layout = LayoutProperties.from_layout(doc.modelspace())
layout.set_colors("#ffffff")
Frontend(RenderContext(doc), MatplotlibBackend(axes)).draw_layout(doc.modelspace(), layout_properties=layout)
figure.savefig(sys.argv[2], dpi=100, facecolor="white")
EOF
trimmed "$work/dxf.png" "$work/dxf_trim.png"
shrink "$work/dxf_trim.png" demo_dxf 480x480

# LibreOffice's CGM import rejects a file with any text off the x axis: the demo writes
# this one without its rotated text. LibreOffice answers garbage with an empty or black
# page, and exits 0 on a file it could not load: look at the picture.
mkdir -p "$work/upright" "$work/lo-home"
wine "$build/examples/graphics_demo.exe" "Z:$work/upright" 1 upright >/dev/null 2>&1
stop_programs
HOME="$work/lo-home" soffice --headless --convert-to png --outdir "$work/cgm" \
  "$work/upright/demo9_quilplot.cgm" >/dev/null 2>&1
trimmed "$work/cgm/demo9_quilplot.png" "$work/cgm_trim.png"
shrink "$work/cgm_trim.png" demo_cgm 480x480

# The raster driver's three formats side by side, each read by ImageMagick.
for f in png bmp pcx; do
  identify -regard-warnings "$work/demo/demo6_quilplot.$f" >/dev/null
  convert "$work/demo/demo6_quilplot.$f" -resize 320x240 "$work/raster_$f.png"
done
montage -pointsize 14 -label PNG "$work/raster_png.png" -label BMP "$work/raster_bmp.png" \
  -label PCX "$work/raster_pcx.png" -tile 3x1 -geometry +6+6 "$work/raster.png"
shrink "$work/raster.png" demo_raster 1000x400
wineserver -k 2>/dev/null || true
