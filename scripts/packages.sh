# Sourced by the set-up scripts: installs the Debian packages of a list that are missing.
# orlix_install_missing LABEL [--no-install-recommends] PACKAGE...
orlix_install_missing() {
  local label=$1
  shift
  local options=()
  if [ "${1:-}" = "--no-install-recommends" ]; then
    options+=("$1")
    shift
  fi
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  ((${#missing[@]})) || return 0
  echo "$label: installing ${missing[*]}"
  local sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${options[@]}" \
    "${missing[@]}" >/dev/null
}
