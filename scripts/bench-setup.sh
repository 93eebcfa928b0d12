#!/usr/bin/env bash
# Installs what only the benchmarks need beyond scripts/setup.sh (Debian packages, only
# those missing): Google Benchmark, gfortran and {fmt} for the formatter's peers, cairo for
# the graphics drivers' peers, libpng for the image encoder's, pandas for the grid files',
# perf for profiling them.
#   scripts/bench-setup.sh          set up only
#   scripts/bench-setup.sh --run    set up, build and run the grid file comparison
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh"
packages=(libbenchmark-dev pkg-config gfortran libfmt-dev libcairo2-dev libpng-dev python3-pandas linux-perf)
# shellcheck source=scripts/packages.sh
source "$root/scripts/packages.sh"
orlix_install_missing bench-setup "${packages[@]}"

if [ "${1:-}" = "--run" ]; then
  cd "$root"
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/native --target grid_csv_bench -j "${ORLIX_JOBS:-2}"
  /usr/bin/python3 bench/grid_csv_compare.py build/native
fi
