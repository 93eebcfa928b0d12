# Warnings are errors in both builds. orlix_warnings is linked PRIVATE by every target
# of the project, so third-party code (GoogleTest) keeps its own flags.
add_library(orlix_warnings INTERFACE)
target_compile_options(orlix_warnings INTERFACE
  -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
