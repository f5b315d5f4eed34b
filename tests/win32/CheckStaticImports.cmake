# Fails unless the executable imports from Windows' own DLLs only, which is
# what a statically linked build gives: no C++ runtime, libgcc or threads DLL
# has to travel with it. Run with
#   cmake -DEXECUTABLE=<exe> -DOBJDUMP=<objdump> -P CheckStaticImports.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${EXECUTABLE}")
  message(FATAL_ERROR "No executable at ${EXECUTABLE}")
endif()
execute_process(COMMAND "${OBJDUMP}" -p "${EXECUTABLE}"
  OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${EXECUTABLE}")
endif()

set(system_dlls
  advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shcore shell32
  shlwapi user32 uxtheme version winmm ucrtbase)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "No imports found in ${EXECUTABLE}: not a Windows program?")
endif()
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  # The universal C runtime's API sets are part of Windows 10 and later.
  if(name MATCHES "^api-ms-win-")
    continue()
  endif()
  if(NOT name IN_LIST system_dlls)
    list(APPEND foreign "${dll}")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
if(foreign)
  message(FATAL_ERROR "Not statically linked; imports ${foreign}")
endif()
