#!/usr/bin/env bash
# check_package.sh CMAKE BUILD_DIR CONSUMER_SOURCE (--compiler CXX | --toolchain OBJDUMP)
# Installs BUILD_DIR into a fresh prefix, checks that only the library was installed
# (public headers, static libraries, package files; no program, no internal target),
# then builds the consumer project against the installed package and runs it. With
# --toolchain (the Windows build) the consumer is configured with the installed MinGW
# toolchain file and CMAKE_PREFIX_PATH, must import no MinGW runtime or zlib DLL, and
# runs alone in an empty folder under Wine.
set -euo pipefail
cmake_command=$1 build_dir=$2 consumer=$3 mode=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake_command" --install "$build_dir" --prefix "$prefix" >/dev/null
unexpected=$(cd "$prefix" && find . -type f ! -path './include/quill/*.hpp' ! -path './lib/*.a' \
  ! -path './include/quill.h' ! -path './include/quill.mod' \
  ! -path './lib/cmake/Quillanthor/*.cmake')
if [ -n "$unexpected" ]; then
  echo "installed beside the library: $unexpected"
  exit 1
fi
if grep -rl 'orlix' "$prefix/lib/cmake/Quillanthor"; then
  echo "the package names an internal target of the project"
  exit 1
fi

if [ "$mode" = "--toolchain" ]; then
  objdump=$5
  # The toolchain file as installed with the package, as an outside project uses it.
  configure=(-DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Quillanthor/mingw-w64.cmake")
  program=$work/build/consumer.exe
else
  configure=(-DCMAKE_CXX_COMPILER="$5")
  program=$work/build/consumer
fi
# The consumer sets no C++ standard of its own: the package carries C++20.
"$cmake_command" -S "$consumer" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release "${configure[@]}" >/dev/null
"$cmake_command" --build "$work/build"

if [ "$mode" = "--toolchain" ]; then
  dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
  if grep -Ei 'libgcc|libstdc|winpthread|zlib' <<<"$dlls"; then
    echo "the consumer needs DLLs that a bare Windows lacks"
    exit 1
  fi
  mkdir "$work/alone"
  cp "$program" "$work/alone/"
  cd "$work/alone"
  "$(dirname "$0")/../../scripts/wine-run.sh" ./consumer.exe
else
  cd "$work"
  "$program"
fi
