#!/usr/bin/env bash
# startup_trace.sh [RUNS [PROGRAM]]: starts PROGRAM (default the calculator) RUNS times
# (default 7) under one running Wine server with ORLIX_STARTUP_TRACE set, and prints for
# each start-up step the median time since process creation and the median of the step's
# own share. Needs the Windows build (build/win64/app/orlixcalc.exe).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-7}
program=${2:-$root/build/win64/app/orlixcalc.exe}
[ -f "$program" ] || { echo "missing $program: build build/win64 first" >&2; exit 1; }
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"
orlix_ensure_display
wineserver -p 2>/dev/null || true
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
orlix_keep_wine_desktop

trace=$(mktemp)
trap 'rm -f "$trace"; orlix_end_wine_desktop' EXIT
finished() { grep -c '^first idle' "$trace" || true; }
# One start before measuring, as startup_bench.sh does; its table is dropped.
for ((i = 0; i <= runs; i++)); do
  before=$(finished)
  ORLIX_STARTUP_TRACE=$(winepath -w "$trace" 2>/dev/null) setsid wine "$program" >/dev/null 2>&1 </dev/null &
  pid=$!
  for _ in $(seq 1 300); do
    [ "$(finished)" -gt "$before" ] && break
    sleep 0.1
  done
  kill -TERM -- "-$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ "$i" -eq 0 ] && : >"$trace"
done
python3 - "$trace" <<'PYTHON'
import statistics, sys
steps, at, own, runs = [], {}, {}, 0
for line in open(sys.argv[1]):
    if line.startswith("#"):
        runs += 1
        continue
    name, since, step = line.rstrip("\n").split("\t")
    if name not in at:
        steps.append(name)
        at[name], own[name] = [], []
    at[name].append(float(since))
    own[name].append(float(step))
print(f"{runs} starts; medians in ms")
print(f"| {'step':48} | since creation | step |")
print(f"|{'-' * 50}|---------------:|-----:|")
for name in steps:
    print(f"| {name:48} | {statistics.median(at[name]):14.1f} | {statistics.median(own[name]):4.1f} |")
PYTHON
