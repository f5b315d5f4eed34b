if(KTV_SANITIZE)
  if(MSVC OR WIN32)
    message(FATAL_ERROR "KTV_SANITIZE is for the native (Linux) build")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KTV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KTV_FUZZ needs clang (libFuzzer)")
  endif()
  # Coverage for the fuzzers in every library; the fuzz targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
