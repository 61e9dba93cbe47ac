# wexal_check_link_names(<system library>...)
#
# Stops the configure step when a target of the project links a name that is
# no target: target_link_libraries takes such a name for a system library and
# links "-l<name>", so a library renamed or no longer defined would show up
# late or not at all. Names with "::" are left to CMake, which already refuses
# them when they are no target. The system libraries named here may be linked
# by name.
function(wexal_check_link_names)
  set(allowed ${ARGN})
  set(folders ${PROJECT_SOURCE_DIR})
  set(wrong)
  while(folders)
    list(POP_FRONT folders folder)
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND folders ${subfolders})
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(direct ${target} LINK_LIBRARIES)
      get_target_property(passed ${target} INTERFACE_LINK_LIBRARIES)
      foreach(name IN LISTS direct passed)
        if(name MATCHES "^\\$<LINK_ONLY:([^$<>]+)>$")
          set(name ${CMAKE_MATCH_1})
        endif()
        if(NOT name OR name MATCHES "::|^-|^\\$<" OR IS_ABSOLUTE "${name}"
           OR name IN_LIST allowed OR TARGET ${name})
          continue()
        endif()
        list(APPEND wrong "${target} links \"${name}\", which is no target")
      endforeach()
    endforeach()
  endwhile()
  if(wrong)
    list(REMOVE_DUPLICATES wrong)
    list(JOIN wrong "\n  " wrong)
    message(FATAL_ERROR "Links to names that no target carries:\n  ${wrong}")
  endif()
endfunction()
