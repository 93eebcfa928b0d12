#!/usr/bin/env bash
# check_archive.sh CMAKE CPACK BUILD_DIR OBJDUMP VERSION
# Makes the release archive of the Windows build with cpack, unpacks it into an empty
# folder and, with nothing but the archive's files, builds an outside C++ project, a C
# program and the archive's Fortran example for Windows; runs the three alone under Wine.
set -euo pipefail
cmake_command=$1 cpack_command=$2 build_dir=$3 objdump=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack_command" -G ZIP --config "$build_dir/CPackConfig.cmake" -B "$work/package" >/dev/null
archive=$work/package/orlix-calculator-$version-win64.zip
[ -f "$archive" ] || { echo "no archive named for version $version: $(ls "$work/package")"; exit 1; }
mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$archive")
root=$work/unpacked/orlix-calculator-$version-win64
for f in bin/orlixcalc.exe include/quill/quillanthor.hpp include/quill.h include/quill.mod \
         lib/libquill_capi.a lib/libquill_fortran.a lib/cmake/Quillanthor/QuillanthorConfig.cmake \
         examples/fortran/fortran_demo.f90 README.txt; do
  [ -f "$root/$f" ] || { echo "the archive lacks $f"; exit 1; }
done
if "$objdump" -p "$root/bin/orlixcalc.exe" | grep -Ei 'DLL Name: .*(libgcc|libstdc|winpthread|zlib)'; then
  echo "the calculator needs DLLs that a bare Windows lacks"
  exit 1
fi

configure=(-DCMAKE_PREFIX_PATH="$root" -DCMAKE_TOOLCHAIN_FILE="$root/lib/cmake/Quillanthor/mingw-w64.cmake"
           -DCMAKE_BUILD_TYPE=Release)
"$cmake_command" -S "$here/consumer" -B "$work/cxx" "${configure[@]}" >/dev/null
"$cmake_command" --build "$work/cxx" >/dev/null
"$cmake_command" -S "$here/languages" -B "$work/languages" "${configure[@]}" \
  -DC_SOURCE="$here/../capi/capi_test.c" -DFORTRAN_SOURCE="$root/examples/fortran/fortran_demo.f90" >/dev/null
"$cmake_command" --build "$work/languages" >/dev/null

mkdir "$work/alone"
cp "$work/cxx/consumer.exe" "$work/languages/c_program.exe" "$work/languages/fortran_program.exe" "$work/alone/"
cd "$work/alone"
run="$here/../../scripts/wine-run.sh"
"$run" ./consumer.exe
"$run" ./c_program.exe
# Without its dialog resource the Fortran example draws its defaults.
"$run" ./fortran_program.exe rings.ps
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage rings.ps
echo "archive $(basename "$archive"): C++, C and Fortran programs built and run"
