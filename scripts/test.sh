#!/usr/bin/env bash
# Sets up what is missing, builds the native, sanitizer and Windows builds and runs
# every test: native unit tests, the same under ASan/UBSan, and the Windows tests
# and end-to-end tests under Wine on an X display (Xvfb when there is none).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${ORLIX_JOBS:-$(nproc)}

"$root/scripts/setup.sh"
# shellcheck source=scripts/env.sh
source "$root/scripts/env.sh"

step() { printf '\n=== %s ===\n' "$*"; }

step "native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$jobs"
step "native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs"

step "sanitizer build (ASan, UBSan)"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DORLIX_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
step "sanitizer tests"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

step "Windows build (MinGW-w64)"
cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build build/win64 -j "$jobs"
step "Windows tests under Wine"
orlix_ensure_display
# One server and Wine's helper processes for the whole run, started with no pipes attached.
wineserver -p 2>/dev/null || true
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
status=0
ctest --test-dir build/win64 --output-on-failure || status=$?
wineserver -k 2>/dev/null || true
exit $status
