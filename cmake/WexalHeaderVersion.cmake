# wexal_header_version(<variable> <header> <pattern>...)
#
# Sets <variable> to the version that <header> (a path below the source root)
# states for the program itself, so that the header stays the one place where
# the numbers are written. Each <pattern> is a regular expression whose first
# group captures one or more dot-separated parts; the parts are joined by
# dots. A header that no longer matches stops the configure step.
function(wexal_header_version variable header)
  set(path ${CMAKE_SOURCE_DIR}/${header})
  file(READ ${path} text)
  set(parts)
  foreach(pattern IN LISTS ARGN)
    if(NOT text MATCHES "${pattern}")
      message(FATAL_ERROR "${header} no longer states its version as \"${pattern}\"")
    endif()
    list(APPEND parts ${CMAKE_MATCH_1})
  endforeach()
  list(JOIN parts "." version)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
  set(${variable} ${version} PARENT_SCOPE)
endfunction()
