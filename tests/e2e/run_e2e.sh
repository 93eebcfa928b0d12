#!/usr/bin/env bash
# Runs the end-to-end test of orlixcalc.exe: an X display (Xvfb when there is none), the
# project's Wine prefix, the native key-replay tool as the model, then the Python driver.
# Usage: run_e2e.sh ORLIXCALC_EXE E2E_PROBE_EXE [driver options...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display

# The model for the generated sequences is the engine's own replay tool, built natively.
keys_tool=${ORLIX_KEYS_TOOL:-$root/build/native/app/orlix-keys}
if [ ! -x "$keys_tool" ]; then
  keys_build=$root/build/e2e-native
  cmake -S "$root" -B "$keys_build" -DCMAKE_BUILD_TYPE=Release -DORLIX_TESTS=OFF >/dev/null
  cmake --build "$keys_build" --target orlix-keys >/dev/null
  keys_tool=$keys_build/app/orlix-keys
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true
"$root/scripts/e2e_wine_fonts.sh"

python=/usr/bin/python3
[ -x "$python" ] || python=python3
exec "$python" "$here/calculator_e2e.py" --exe "$1" --probe "$2" --keys-tool "$keys_tool" \
  --shots "$root/build/e2e-screenshots" "${@:3}"
