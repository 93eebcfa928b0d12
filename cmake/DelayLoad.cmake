# quill_delay_loaded(<var> <library>): what an area links for a system library that a
# program seldom needs (the file and print boxes, the spooler). With MinGW it is
# a delay-import library made from the system's import library, so the DLL is loaded at the
# first call of one of its routines instead of at start-up; under Wine each of these DLLs
# (and the ones they bring) adds tens of milliseconds before the first window. An installed
# package links the plain library; other compilers get the plain library too. (The shell
# library stays an ordinary import: delay-loaded, its folder box opened at the desktop
# instead of the folder asked for under Wine, and it saved only 2 ms.)
option(ORLIX_DELAY_LOAD "Delay-load the file/print box and spooler libraries (MinGW)" ON)
function(quill_delay_loaded var library)
  set(${var} ${library} PARENT_SCOPE)
  if(NOT ORLIX_DELAY_LOAD OR NOT MINGW OR NOT CMAKE_DLLTOOL OR NOT CMAKE_NM)
    return()
  endif()
  find_library(quill_import_${library} NAMES lib${library}.a)
  find_library(quill_delayimp NAMES libdelayimp.a)
  if(NOT quill_import_${library} OR NOT quill_delayimp)
    return()
  endif()
  set(target quill_delayed_${library})
  if(NOT TARGET ${target})
    set(folder ${CMAKE_BINARY_DIR}/delay_load)
    set(def ${folder}/${library}.def)
    set(archive ${folder}/lib${library}_delay.a)
    # The DLL's name and its routines (every __imp_ symbol of the import library).
    execute_process(COMMAND ${CMAKE_DLLTOOL} --identify ${quill_import_${library}}
                    OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE identified)
    execute_process(COMMAND ${CMAKE_NM} ${quill_import_${library}} OUTPUT_VARIABLE symbols
                    RESULT_VARIABLE listed)
    string(REGEX MATCHALL "[\r\n][0-9a-f]* *I __imp_[A-Za-z0-9_@?$]+" imports "\n${symbols}")
    list(TRANSFORM imports REPLACE "^.*I __imp_" "")
    list(REMOVE_DUPLICATES imports)
    if(NOT identified EQUAL 0 OR NOT listed EQUAL 0 OR NOT dll OR NOT imports)
      return()
    endif()
    list(JOIN imports "\n" exports)
    file(WRITE ${def} "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${archive}
                       COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${archive}
                       DEPENDS ${def} VERBATIM)
    add_custom_target(${target}_archive DEPENDS ${archive})
    add_library(${target} INTERFACE)
    add_dependencies(${target} ${target}_archive)
    target_link_libraries(${target} INTERFACE ${archive} ${quill_delayimp})
  endif()
  set(${var} $<BUILD_INTERFACE:${target}> $<INSTALL_INTERFACE:${library}> PARENT_SCOPE)
endfunction()
