#!/usr/bin/env bash
# Sets up what is missing, builds the calculator (Windows build, MinGW-w64) and starts it.
# On Linux it runs under Wine: on your display when DISPLAY is set, otherwise on a
# virtual display (Xvfb): there it takes a screenshot of the window into build/, says
# where, and ends the calculator again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${ORLIX_JOBS:-$(nproc)}

"$root/scripts/setup.sh"

build=${ORLIX_BUILD_DIR:-$root/build/win64}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" -j "$jobs" --target orlixcalc
exe=$build/app/orlixcalc.exe

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*) exec "$exe" ;;
esac

# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
"$root/scripts/e2e_wine_fonts.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting Orlix Calculator 2 on $DISPLAY"
  exec wine "$exe"
fi

# No display: run on Xvfb, take a screenshot once the window is up, and say where it is.
orlix_ensure_display
echo "No display found: running on the virtual display $DISPLAY"
# A Wine desktop draws the window frame itself, which Xvfb (no window manager) would not.
wine explorer /desktop=orlixcalc,1280x800 "$exe" &
calculator=$!
window=
for _ in $(seq 1 150); do
  window=$(xdotool search --name '^Orlix Calculator 2$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  if ! kill -0 "$calculator" 2>/dev/null; then
    echo "the calculator ended before its window appeared" >&2
    exit 1
  fi
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "the calculator window did not appear" >&2
  kill "$calculator" 2>/dev/null || true
  exit 1
fi
sleep 1   # let the keypad paint
shot=$root/build/orlixcalc-screenshot.png
import -window "$window" "$shot" 2>/dev/null || import -window root "$shot"
echo "Screenshot of the calculator window written to $shot"
# Nobody can use a window on a virtual display: end the calculator as Esc (Exit) does.
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --window "$window" Escape 2>/dev/null || true
for _ in $(seq 1 50); do
  kill -0 "$calculator" 2>/dev/null || break
  sleep 0.1
done
kill "$calculator" 2>/dev/null || true
wait "$calculator" 2>/dev/null || true
