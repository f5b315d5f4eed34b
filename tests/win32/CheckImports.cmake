# Fails unless every program imports only functions on the list of what the
# oldest supported Windows exports (Windows7Imports.txt): a program that
# imports one function more than that does not start there at all ("entry
# point not found"). Static linking shows here too: a C++ runtime, libgcc or
# threads DLL is on no list. Run with
#   cmake -DPROGRAMS=<exe;exe;...> -DALLOWED=<list> -DOBJDUMP=<objdump> -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)

# The list: "[name.dll]" starts a DLL's functions, separated by blanks or
# line ends; "#" starts a comment.
file(STRINGS "${ALLOWED}" list_lines)
set(dll "")
set(allowed_dlls "")
foreach(line IN LISTS list_lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line MATCHES "^\\[(.+)\\]$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
    list(APPEND allowed_dlls "${dll}")
  elseif(line AND dll)
    string(REGEX REPLACE "[ \t]+" ";" names "${line}")
    list(APPEND "allowed_${dll}" ${names})
  endif()
endforeach()
if(NOT allowed_dlls)
  message(FATAL_ERROR "No DLL listed in ${ALLOWED}")
endif()

set(failures "")
foreach(program IN LISTS PROGRAMS)
  get_filename_component(name "${program}" NAME)
  if(NOT EXISTS "${program}")
    string(APPEND failures "${name}: not built (${program})\n")
    continue()
  endif()
  set(dump_file "${CMAKE_CURRENT_BINARY_DIR}/${name}.imports.txt")
  execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_FILE "${dump_file}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "${name}: ${OBJDUMP} -p failed\n")
    continue()
  endif()
  file(STRINGS "${dump_file}" dump_lines)
  file(REMOVE "${dump_file}")
  # objdump lists each DLL as "DLL Name: X", then one line per function:
  # address, hint or ordinal, name ("<none>" when imported by ordinal).
  set(dll "")
  set(count 0)
  foreach(line IN LISTS dump_lines)
    if(line MATCHES "DLL Name: *([^ ]+)")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
      if(dll MATCHES "^api-ms-win-" OR dll STREQUAL "ucrtbase.dll")
        string(APPEND failures "${name}: imports ${dll}, a part of the universal C runtime, "
               "which Windows 7 SP1 does not have\n")
      endif()
    elseif(dll AND line MATCHES "^\t[0-9a-fA-F]+\t +([0-9]+) +([^ ]+)")
      set(function "${CMAKE_MATCH_2}")
      if(function STREQUAL "<none>")
        set(function "ordinal ${CMAKE_MATCH_1}")
      endif()
      math(EXPR count "${count} + 1")
      if(NOT dll IN_LIST allowed_dlls)
        string(APPEND failures "${name}: imports ${dll} ${function}, from a DLL on no list (not "
               "part of Windows 7 SP1, or a DLL of the compiler: not linked statically)\n")
      elseif(NOT function IN_LIST "allowed_${dll}")
        string(APPEND failures "${name}: imports ${dll} ${function}, which is not on the list "
               "of functions Windows 7 SP1 exports\n")
      endif()
    elseif(line STREQUAL "")
      set(dll "")
    endif()
  endforeach()
  if(count EQUAL 0)
    string(APPEND failures "${name}: no imported function found; not a Windows program?\n")
  endif()
  message(STATUS "${name}: ${count} imported functions")
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}A newer function is looked up at run time with a fallback; "
          "an older one is added to ${ALLOWED} with its minimum supported client.")
endif()
