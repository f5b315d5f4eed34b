# The release's version as src/views/Version.h writes it, for the manifests
# (KTV_VERSION_DOTTED) and the installer test (KTV_VERSION_TEXT).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../src/views/Version.h ktv_version_lines
     REGEX "^#define KTV_VERSION_(TEXT|DOTTED) ")
foreach(line IN LISTS ktv_version_lines)
  if(line MATCHES "^#define (KTV_VERSION_[A-Z]+) \"([^\"]+)\"$")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endif()
endforeach()
if(NOT KTV_VERSION_TEXT OR NOT KTV_VERSION_DOTTED)
  message(FATAL_ERROR "src/views/Version.h must define KTV_VERSION_TEXT and KTV_VERSION_DOTTED")
endif()
