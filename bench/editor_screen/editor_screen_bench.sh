#!/usr/bin/env bash
# editor_screen_bench.sh [MB]: the plain editor under Wine with a generated file of MB
# megabytes (default 50): the time to load it and show the first screen, to find a word at
# its end, then 30 letters typed with real X key presses (xdotool) at the end of a
# 1,000,000-line text, each timed inside the program from its arrival to the end of its
# repaint (median and slowest printed). Needs build/win64/bench/editor_screen/editor_screen.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=$root/build/win64/bench/editor_screen/editor_screen.exe
[ -f "$program" ] || { echo "missing $program: build build/win64 first" >&2; exit 1; }
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display
log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT
(cd "$work" && wine "$program" --mb "${1:-50}" --log "$(winepath -w "$log" 2>/dev/null)" >/dev/null 2>&1 </dev/null) &
pid=$!
for ((i = 0; i < 600; i++)); do
  grep -q '^ready' "$log" 2>/dev/null && break
  sleep 0.5
done
grep -q '^ready' "$log" || { echo "the editor never became ready" >&2; kill "$pid"; exit 1; }
window=$(xdotool search --sync --name 'Editor screen' | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
for ((n = 0; n < 30; n++)); do
  xdotool key x
  sleep 0.1
done
xdotool key Escape
wait "$pid" || true
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
grep -E '^(shown|found)' "$log" | awk '{printf "%s %.1f ms\n", $1, $2}'
grep '^key' "$log" | awk '{print $2}' | sort -n |
  awk '{v[NR] = $1} END {if (NR) printf "key echo: %d keys, median %.2f ms, slowest %.2f ms\n", NR, v[int((NR + 1) / 2)], v[NR]; else print "no keys arrived"}'
