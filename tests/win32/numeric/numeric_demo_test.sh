#!/usr/bin/env bash
# Runs the numeric field demo under Wine on an X display and drives it from outside.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/env.sh
source "$here/../../../scripts/env.sh"
orlix_ensure_display || exit 1
exec python3 "$here/numeric_demo_test.py" "$1" "${2:-}"
