# wexal_headers(<target> <PUBLIC|PRIVATE|INTERFACE> <folder>...)
#
# Lets <target>, and unless PRIVATE whatever links it, include the headers of
# each <folder> (a folder of the source tree, such as platform/registry) as
# "<folder>/<name>.h", and no others. Each folder has an include root of its
# own in the build tree that holds only a link to the folder, so a library
# sees the headers of what it links and nothing more.
function(wexal_headers target scope)
  foreach(folder IN LISTS ARGN)
    set(source ${PROJECT_SOURCE_DIR}/${folder})
    if(NOT IS_DIRECTORY ${source})
      message(FATAL_ERROR "wexal_headers(${target}): there is no folder ${folder}")
    endif()
    string(REPLACE "/" "." root ${folder})
    set(root ${PROJECT_BINARY_DIR}/include/${root})
    cmake_path(GET folder PARENT_PATH parent)
    file(MAKE_DIRECTORY ${root}/${parent})
    file(CREATE_LINK ${source} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
  endforeach()
endfunction()
