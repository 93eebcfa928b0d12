#!/usr/bin/env bash
# check_package.sh CMAKE BUILD_DIR CONSUMER_SOURCE CXX
# Installs BUILD_DIR into a fresh prefix, checks that only the public headers were
# installed, and builds and runs the consumer project against the installed package.
set -euo pipefail
cmake_command=$1 build_dir=$2 consumer=$3 cxx=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cmake_command" --install "$build_dir" --prefix "$work/prefix" >/dev/null
internal=$(cd "$work/prefix/include" && find . -type f ! -path './quill/*.hpp')
if [ -n "$internal" ]; then
  echo "installed headers outside include/quill: $internal"
  exit 1
fi
"$cmake_command" -S "$consumer" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Release >/dev/null
"$cmake_command" --build "$work/build"
"$work/build/consumer"
