# Warnings on and treated as errors for the project's own targets.
add_library(ktv_warnings INTERFACE)
if(MSVC)
  target_compile_options(ktv_warnings INTERFACE /W4 /WX /permissive- /utf-8)
else()
  target_compile_options(ktv_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough
    -Wcast-qual -Wformat=2 -Wundef -Wmissing-declarations)
endif()
