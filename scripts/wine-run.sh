#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix and an X display.
# CMake uses it as the emulator of the Windows build, so ctest runs the .exe tests.
set -uo pipefail
# shellcheck source=scripts/env.sh
source "$(dirname "$0")/env.sh"
orlix_ensure_display || exit 1
exec wine "$@"
