#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix and an X display.
# CMake uses it as the emulator of the Windows build, so ctest runs the .exe tests.
#
# The program's output goes through a file: Wine's helper processes (services,
# explorer) outlive the program and would otherwise keep ctest's output pipe open.
set -uo pipefail
# shellcheck source=scripts/env.sh
source "$(dirname "$0")/env.sh"
orlix_ensure_display || exit 1
output=$(mktemp)
trap 'rm -f "$output"' EXIT
wine "$@" >"$output" 2>&1
status=$?
tr -d '\r' <"$output"
exit $status
