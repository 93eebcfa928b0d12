#!/usr/bin/env bash
# Compares the grid files (CSV, CSV with undefined values, HTML) two builds write for the
# same 100,000-row grid: bench/grid_files/compare_grid_files.sh REVISION [AFTER_BUILD]
# grid_roundtrip.cpp is compiled against the toolkit libraries of REVISION (exported and
# built under build/grid-files/) and of AFTER_BUILD (default build/native); each build
# makes the grid through the routines and saves it, and loads one file and writes it back.
# Any file whose bytes differ is listed and the script exits 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
revision=${1:?usage: $0 REVISION [AFTER_BUILD]}
after=${2:-$root/build/native}
commit=$(git -C "$root" rev-parse --short "$revision^{commit}")
source_tree=$root/build/grid-files/$commit-src
before=$root/build/grid-files/$commit
jobs=${ORLIX_JOBS:-2}
if [ ! -d "$source_tree" ]; then
  mkdir -p "$source_tree"
  git -C "$root" archive "$commit" | tar -x -C "$source_tree"
fi
[ -f "$before/CMakeCache.txt" ] || cmake -S "$source_tree" -B "$before" -DCMAKE_BUILD_TYPE=Release -DORLIX_TESTS=OFF >/dev/null
out=$(mktemp -d "${TMPDIR:-/tmp}/grid_files.XXXXXX")
# One program per build, linked against that build's static toolkit libraries.
program() {
  local source=$1 build=$2 name=$3
  cmake --build "$build" --target quill_grid -j "$jobs" >/dev/null
  mapfile -t libraries < <(find "$build/toolkit" -name 'libquill_*.a')
  g++ -std=c++20 -O2 -I"$source/toolkit/include" -I"$source/toolkit" "$root/bench/grid_files/grid_roundtrip.cpp" \
    -Wl,--start-group "${libraries[@]}" -Wl,--end-group -lz -o "$out/$name.bin"
}
program "$source_tree" "$before" before
program "$root" "$after" after
for side in before after; do
  mkdir -p "$out/$side/made" "$out/$side/copied"
  "$out/$side.bin" make "$out/$side/made/grid.csv" >"$out/$side/made/log"
done
# Both load the same file: the one the earlier build wrote.
for side in before after; do
  "$out/$side.bin" copy "$out/before/made/grid.csv" "$out/$side/copied" >"$out/$side/copied/log"
done
rm "$out/before.bin" "$out/after.bin"
count=$(find "$out/before" -type f | wc -l)
if diff -r "$out/before" "$out/after" >"$out/diff.txt" 2>&1; then
  echo "identical: $count files, $(du -sh "$out/before" | cut -f1)"
  rm -rf "$out"
else
  cat "$out/diff.txt" | head -20
  echo "DIFFERENT (files kept in $out)"
  exit 1
fi
