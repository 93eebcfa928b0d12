#!/usr/bin/env bash
# Installs what only the benchmarks need beyond scripts/setup.sh (Debian packages, only
# those missing): Google Benchmark, gfortran and {fmt} for the formatter's peers, cairo for
# the graphics drivers' peers, libpng for the image encoder's. Safe to run any number of times.
set -euo pipefail

packages=(libbenchmark-dev pkg-config gfortran libfmt-dev libcairo2-dev libpng-dev)

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
