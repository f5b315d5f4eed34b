# Cross build for 64-bit Windows with MinGW-w64 (posix threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Wine maps Windows' shared user data at a fixed address as each process
# starts; with address-space randomisation that address is now and then
# taken (about one start in 2,500 here) and the program exits at once with
# nothing printed. Tests therefore run with randomisation off where the
# system allows it.
execute_process(COMMAND setarch x86_64 -R true RESULT_VARIABLE ktv_setarch_result
                OUTPUT_QUIET ERROR_QUIET)
if(ktv_setarch_result EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR setarch x86_64 -R wine)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
