#!/usr/bin/env bash
# Compares the files every driver writes for a fixed set of drawings between a git
# revision and the working tree: scripts/compare_driver_outputs.sh REVISION [AFTER_BUILD]
# REVISION (which must hold tests/graphics/driver_outputs) is exported into
# build/driver-outputs/<revision>-src and built in build/driver-outputs/<revision>, apart
# from the working tree, so that rebuilding one side never changes the other. AFTER_BUILD
# (default build/native) is a native build of the working tree. Any file whose bytes
# differ is listed and the script exits 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
revision=${1:?usage: $0 REVISION [AFTER_BUILD]}
after=${2:-$root/build/native}
commit=$(git -C "$root" rev-parse --short "$revision^{commit}")
source_tree=$root/build/driver-outputs/$commit-src
before=$root/build/driver-outputs/$commit
jobs=${ORLIX_JOBS:-2}
if [ ! -d "$source_tree" ]; then
  mkdir -p "$source_tree"
  git -C "$root" archive "$commit" | tar -x -C "$source_tree"
fi
[ -f "$before/CMakeCache.txt" ] || cmake -S "$source_tree" -B "$before" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$before" --target write_driver_outputs -j "$jobs" >/dev/null
cmake --build "$after" --target write_driver_outputs -j "$jobs" >/dev/null
out=$(mktemp -d "${TMPDIR:-/tmp}/driver_outputs.XXXXXX")
"$before/tests/graphics/write_driver_outputs" "$out/before" 2>"$out/before.log"
"$after/tests/graphics/write_driver_outputs" "$out/after" 2>"$out/after.log"
count=$(find "$out/before" -type f | wc -l)
if diff -r "$out/before" "$out/after" >"$out/diff.txt" 2>&1; then
  echo "identical: $count files"
  rm -rf "$out"
else
  cat "$out/diff.txt"
  echo "DIFFERENT (files kept in $out)"
  exit 1
fi
