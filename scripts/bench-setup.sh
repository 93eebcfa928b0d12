#!/usr/bin/env bash
# Installs what the benchmarks need beyond scripts/setup.sh: the peers that the
# formatter benchmark times beside the toolkit ({fmt}), Google Benchmark and gfortran.
# Only missing Debian packages are installed; safe to run any number of times.
set -euo pipefail

packages=(libfmt-dev libbenchmark-dev gfortran)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "bench-setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
