#!/usr/bin/env bash
# Compares the files every driver writes for a fixed set of drawings between two native
# builds: scripts/compare_driver_outputs.sh BEFORE_BUILD [AFTER_BUILD]
# (AFTER_BUILD defaults to build/native). Each build's write_driver_outputs is built if
# needed and run into its own directory; any byte that differs is listed and the script
# exits 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before=${1:?usage: $0 BEFORE_BUILD [AFTER_BUILD]}
after=${2:-$root/build/native}
out=$(mktemp -d "${TMPDIR:-/tmp}/driver_outputs.XXXXXX")
for build in "$before" "$after"; do
  cmake --build "$build" --target write_driver_outputs -j "${ORLIX_JOBS:-2}" >/dev/null
done
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
