#!/usr/bin/env bash
# grid_screen_bench.sh [PROGRAM]: the million-row grid window under Wine, driven with real X key
# presses (xdotool): Page Down and Page Up, Ctrl+End and Ctrl+Home, each timed inside the
# program from the key's arrival to the end of its repaint. Prints the build time and, per
# key, the median and the slowest of its presses.
# Needs the Windows build (build/win64/bench/grid_screen/grid_screen.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:-$root/build/win64/bench/grid_screen/grid_screen.exe}
[ -f "$program" ] || { echo "missing $program: build build/win64 first" >&2; exit 1; }
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display
log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine "$program" --log "$(winepath -w "$log" 2>/dev/null)" >/dev/null 2>&1 </dev/null &
pid=$!
for ((i = 0; i < 1200; i++)); do
  grep -q '^ready' "$log" 2>/dev/null && break
  sleep 0.5
done
grep -q '^ready' "$log" || { echo "the grid window never became ready" >&2; kill "$pid"; exit 1; }
window=$(xdotool search --sync --name 'Grid screen bench' | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
press() {
  for ((n = 0; n < $2; n++)); do
    xdotool key "$1"
    sleep 0.2
  done
}
press Next 20
press ctrl+End 3
press Prior 20
press ctrl+Home 3
press ctrl+End 1
sleep 1
xdotool key Escape
wait "$pid" || true
grep '^build' "$log" | awk '{ printf "build through the routines: %.0f ms\n", $2 }'
summary() {  # name vk ctrl
  awk -v vk="$2" -v ctrl="$3" '$1 == "key" && $2 == vk && $3 == ctrl { print $4 }' "$log" | sort -n |
    awk -v name="$1" '{ v[NR] = $1 } END {
      if (NR == 0) { printf "%-10s no presses arrived\n", name; exit }
      printf "%-10s %2d presses, median %.2f ms, slowest %.2f ms\n", name, NR, v[int((NR + 1) / 2)], v[NR] }'
}
summary "Page Down" 34 0
summary "Page Up" 33 0
summary "Ctrl+End" 35 1
summary "Ctrl+Home" 36 1
awk '$1 == "key" && $2 == 35 && $3 == 1 { row = $5 } END { print "row after Ctrl+End: " row }' "$log"
