# nlohmann/json for the language server, header-only. Its headers are copied
# into the build tree at configure time and that folder alone is added to the
# include path: the cross build must not see the host's /usr/include, whose
# other headers are Linux's. KTV_JSON_INCLUDE_DIR names the folder that holds
# nlohmann/json.hpp (Debian's nlohmann-json3-dev puts it in /usr/include).
set(KTV_JSON_INCLUDE_DIR "/usr/include" CACHE PATH "The folder that holds nlohmann/json.hpp")
if(NOT EXISTS "${KTV_JSON_INCLUDE_DIR}/nlohmann/json.hpp")
  message(FATAL_ERROR "nlohmann/json.hpp is not in ${KTV_JSON_INCLUDE_DIR}: install Debian's "
                      "nlohmann-json3-dev, or set KTV_JSON_INCLUDE_DIR to the folder that holds it")
endif()
set(ktv_json_copy "${PROJECT_BINARY_DIR}/third_party/json")
file(COPY "${KTV_JSON_INCLUDE_DIR}/nlohmann" DESTINATION "${ktv_json_copy}")
add_library(ktv_json INTERFACE)
target_include_directories(ktv_json SYSTEM INTERFACE "${ktv_json_copy}")
