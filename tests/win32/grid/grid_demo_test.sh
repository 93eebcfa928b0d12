#!/usr/bin/env bash
# Runs a grid demo under Wine on an X display and drives it from outside with the given
# Python script (the grid field demo's by default).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/env.sh
source "$here/../../../scripts/env.sh"
orlix_ensure_display || exit 1
exec python3 "$here/${3:-grid_demo_test.py}" "$1" "${2:-}"
