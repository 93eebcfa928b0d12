#!/usr/bin/env bash
# Installs what building, running and testing need (Debian packages, only those missing)
# and prepares the project-local Wine prefix. Safe to run any number of times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++ cmake make pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
  gfortran zlib1g-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 fonts-wine fontconfig fonts-liberation fonts-dejavu-core
  xvfb xauth x11-utils xdotool xclip imagemagick
  python3 python3-pil python3-html5lib pngcheck netpbm ghostscript librsvg2-bin libxml2-utils
  hp2xx python3-ezdxf python3-matplotlib
  gfortran-mingw-w64-x86-64 unzip
)

# shellcheck source=scripts/packages.sh
source "$root/scripts/packages.sh"
# Installed with their recommended packages: Wine loads X extensions (XRandR, XInput,
# XRender, ...) at run time and finds them only through its recommendations.
orlix_install_missing setup "${packages[@]}"
# LibreOffice reads the CGM driver's output (its CGM import), writes grid files back (Calc)
# and exchanges RTF with the editor (Writer) in the tests; its recommendations (Java, extra
# fonts) are not needed for that.
orlix_install_missing setup --no-install-recommends libreoffice-impress-nogui libreoffice-calc-nogui libreoffice-writer-nogui
# doxygen (about 20 MB with libxapian) builds the reference manual; its test checks that
# every public routine is documented.
orlix_install_missing setup --no-install-recommends doxygen
# Real printing in the tests: the CUPS scheduler, its PDF printer and the PDF readers.
orlix_install_missing setup --no-install-recommends cups printer-driver-cups-pdf poppler-utils

# The Wine prefix lives under build/ so that nothing outside the project is touched.
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating the Wine prefix $WINEPREFIX (first time only)"
  mkdir -p "$WINEPREFIX"
  orlix_ensure_display
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
