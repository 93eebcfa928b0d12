#!/usr/bin/env bash
# Gives the Wine prefix stand-ins for the Windows fonts the calculator's dialogs name
# ("Microsoft Sans Serif", "Courier New", "Lucida Sans Unicode"), so that the keypad looks
# under Wine as on Windows: proportional sans-serif keys, and a display font that has the
# Cyrillic letters of the overflow word. Uses the WINEPREFIX of the caller; idempotent.
set -euo pipefail

first_font() {
  local family
  for family in "$@"; do
    if fc-list ":family=$family" family 2>/dev/null | grep -q .; then
      echo "$family"
      return 0
    fi
  done
  return 1
}

key='HKCU\Software\Wine\Fonts\Replacements'
add() {
  local face=$1 with
  shift
  with=$(first_font "$@") || return 0   # nothing suitable installed: Wine's own choice
  wine reg add "$key" /v "$face" /t REG_SZ /d "$with" /f >/dev/null 2>&1 || true
}

add "Microsoft Sans Serif" "Liberation Sans" "DejaVu Sans" "Nimbus Sans"
add "Courier New" "Liberation Mono" "DejaVu Sans Mono" "Nimbus Mono PS"
add "Lucida Sans Unicode" "DejaVu Sans" "Liberation Sans"
