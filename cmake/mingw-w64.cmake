# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which
# GoogleTest's std::mutex needs). Programs built here run on Linux under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# Packages, libraries and headers are looked for under the MinGW root only; the prefixes
# given in CMAKE_PREFIX_PATH (an installed Quillanthor, say) count as roots too, so that
# find_package finds them there instead of under the MinGW root.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# In the source tree, programs (the tests) run under Wine through the project's helper.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
endif()
# Fortran programs (the toolkit's Fortran module) where the MinGW-w64 gfortran is installed.
find_program(ORLIX_MINGW_GFORTRAN x86_64-w64-mingw32-gfortran-posix)
if(ORLIX_MINGW_GFORTRAN)
  set(CMAKE_Fortran_COMPILER ${ORLIX_MINGW_GFORTRAN})
endif()
