# orlix_warnings is linked PRIVATE by every target of the project, so third-party code
# (GoogleTest) keeps its own flags. The flags apply only inside this build tree: the
# installed package exports an empty target, and consumers keep their own warnings.
add_library(orlix_warnings INTERFACE)
target_compile_options(orlix_warnings INTERFACE
  $<BUILD_INTERFACE:-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
                    -Woverloaded-virtual -Wimplicit-fallthrough>)
# GCC 12 at -O2/-O3 reports overlapping copies inside libstdc++'s own string
# concatenation that cannot happen (false -Wrestrict); it says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
  target_compile_options(orlix_warnings INTERFACE $<BUILD_INTERFACE:-Wno-restrict>)
endif()
if(ORLIX_WARNINGS_AS_ERRORS)
  target_compile_options(orlix_warnings INTERFACE $<BUILD_INTERFACE:-Werror>)
endif()
