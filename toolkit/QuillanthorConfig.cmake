# find_package(Quillanthor): the toolkit's static libraries as Quillanthor::quillanthor
# (every area) or Quillanthor::quill_<area>. They carry C++20 as a usage requirement.
#
# MinGW: programs linked with the toolkit are static by default (libgcc, libstdc++,
# winpthread and zlib inside the .exe), so the .exe runs without any DLL beside it.
# -DQUILLANTHOR_STATIC_RUNTIME=OFF links them dynamically; then ship libgcc_s_seh-1.dll,
# libstdc++-6.dll, libwinpthread-1.dll and zlib1.dll with the program.
include(CMakeFindDependencyMacro)
if(MINGW)
  option(QUILLANTHOR_STATIC_RUNTIME "Link MinGW programs statically (runtime and zlib)" ON)
  if(QUILLANTHOR_STATIC_RUNTIME AND NOT TARGET ZLIB::ZLIB AND NOT ZLIB_LIBRARY)
    find_library(ZLIB_LIBRARY NAMES libz.a)
  endif()
endif()
find_dependency(ZLIB)
include(${CMAKE_CURRENT_LIST_DIR}/QuillanthorTargets.cmake)
if(MINGW AND QUILLANTHOR_STATIC_RUNTIME)
  # Every area links quill_base, so every program that uses the toolkit gets the option.
  set_property(TARGET Quillanthor::quill_base APPEND PROPERTY INTERFACE_LINK_OPTIONS -static)
endif()
