# Sanitizer flags shared by the sanitizer build (ORLIX_SANITIZE) and the fuzz build
# (ORLIX_FUZZ). -fsanitize=undefined leaves out float-cast-overflow (a float converted
# to an integer type that cannot hold it), so it is added where the compiler has it.
include(CheckCXXSourceCompiles)

set(ORLIX_SANITIZERS address,undefined)
set(CMAKE_REQUIRED_FLAGS -fsanitize=float-cast-overflow)
set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=float-cast-overflow)
check_cxx_source_compiles("int main() { return 0; }" ORLIX_HAS_FLOAT_CAST_SANITIZER)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(ORLIX_HAS_FLOAT_CAST_SANITIZER)
  string(APPEND ORLIX_SANITIZERS ",float-cast-overflow")
endif()

if(ORLIX_SANITIZE OR ORLIX_FUZZ)
  add_compile_options(-fsanitize=${ORLIX_SANITIZERS} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${ORLIX_SANITIZERS})
endif()
if(ORLIX_FUZZ)
  # Coverage feedback for libFuzzer in every object; only the fuzz programs link the
  # fuzzer's own main (fuzz/CMakeLists.txt), so tests and tools still link normally.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
