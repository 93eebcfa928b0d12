# Sourced by the other scripts: the project's Wine environment and an X display.
orlix_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$orlix_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Starts Xvfb on a free display when there is no DISPLAY; it stays up for later runs.
orlix_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=${ORLIX_DISPLAY_NUMBER:-77}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
    if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    n=$((n + 1))
  done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "could not start Xvfb on $DISPLAY" >&2
  return 1
}

# Wine starts its desktop process with the first program that makes a window and ends it
# when the program that started it goes. Start-up measurements keep one running beside the
# measured programs, as Windows always has its desktop, so that no measured start pays for it.
# orlix_end_wine_desktop ends the keeper (and the desktop it started).
orlix_desktop_keeper=
orlix_keep_wine_desktop() {
  pgrep -f 'explorer.exe /desktop' >/dev/null && return 0
  setsid wine explorer.exe >/dev/null 2>&1 </dev/null &
  orlix_desktop_keeper=$!
  local i
  for i in $(seq 1 100); do
    pgrep -f 'explorer.exe /desktop' >/dev/null && return 0
    sleep 0.1
  done
  echo "Wine's desktop process did not start" >&2
  return 1
}
orlix_end_wine_desktop() {
  if [ -n "$orlix_desktop_keeper" ]; then kill -TERM -- "-$orlix_desktop_keeper" 2>/dev/null || true; fi
  orlix_desktop_keeper=
}
