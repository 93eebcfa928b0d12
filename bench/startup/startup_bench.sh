#!/usr/bin/env bash
# startup_bench.sh [RUNS]: start-up time of the calculator against the plainest one-window
# Win32 program, both under the same running Wine server and measured the same way: from
# just before the process is created to the moment its main window is mapped on the X
# display. Prints each program's median over RUNS starts (default 7) and the ratio.
# Needs the Windows build (build/win64: orlixcalc.exe and bench/startup/plain_window.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-7}
calculator=$root/build/win64/app/orlixcalc.exe
plain=$root/build/win64/bench/startup/plain_window.exe
for program in "$calculator" "$plain"; do
  [ -f "$program" ] || { echo "missing $program: build build/win64 first" >&2; exit 1; }
done
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display
wineserver -p 2>/dev/null || true
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true  # the server and its helpers are up
orlix_keep_wine_desktop
trap orlix_end_wine_desktop EXIT

measure="$root/bench/startup/first_map.py"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
minimum() { sort -n | head -1; }
calculator_times=()
plain_times=()
# One start of each before measuring: file caches and Wine's own start-up are warm for both.
"$measure" "Orlix Calculator 2" wine "$calculator" >/dev/null
"$measure" "Plain window" wine "$plain" >/dev/null
for ((i = 0; i < runs; i++)); do
  calculator_times+=("$("$measure" "Orlix Calculator 2" wine "$calculator")")
  plain_times+=("$("$measure" "Plain window" wine "$plain")")
done
calculator_median=$(printf '%s\n' "${calculator_times[@]}" | median)
plain_median=$(printf '%s\n' "${plain_times[@]}" | median)
echo "calculator ms: ${calculator_times[*]}"
echo "plain      ms: ${plain_times[*]}"
awk -v c="$calculator_median" -v p="$plain_median" \
  'BEGIN { printf "median: calculator %.1f ms, plain window %.1f ms, ratio %.2f\n", c, p, c / p }'
# The fastest start of each, less disturbed by other work on the machine.
awk -v c="$(printf '%s\n' "${calculator_times[@]}" | minimum)" \
    -v p="$(printf '%s\n' "${plain_times[@]}" | minimum)" \
  'BEGIN { printf "fastest: calculator %.1f ms, plain window %.1f ms, ratio %.2f\n", c, p, c / p }'
