#!/usr/bin/env bash
# Applies the house style (.clang-format) to the C++ sources, or with --check lists the
# files it would change and how many lines, and exits 1 when there are any.
#   scripts/format.sh [--check] [FILE...]     (no FILE: every tracked .cpp and .hpp)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
command -v clang-format >/dev/null || { echo "clang-format is missing (Debian package clang-format)" >&2; exit 2; }
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.hpp')
else
  files=("$@")
fi
if [ $check -eq 0 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -r clang-format -i --style=file
  exit 0
fi
total=0
for f in "${files[@]}"; do
  changed=$(clang-format --style=file "$f" | diff "$f" - | grep -c '^<' || true)
  if [ "$changed" -gt 0 ]; then
    echo "$f: $changed lines"
    total=$((total + changed))
  fi
done
echo "$total lines would change"
[ "$total" -eq 0 ]
