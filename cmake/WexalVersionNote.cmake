# wexal_version_note(<target> <a.b.c.d>)
#
# Stamps the program or shared library <target> with its file version: an
# ELF note in the section ".note.wexal.version", owner "Wexal", type 1, whose
# descriptor is two 32-bit words in the target's byte order, a << 16 | b then
# c << 16 | d. The desktop program's file-version lookup reads it, and
# `readelf -n` shows it. Each part is a number from 0 to 65535.
function(wexal_version_note target version)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "wexal_version_note(${target}): \"${version}\" is not a.b.c.d")
  endif()
  set(parts ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
  foreach(part IN LISTS parts)
    if(part GREATER 65535)
      message(FATAL_ERROR "wexal_version_note(${target}): ${part} in ${version} is above 65535")
    endif()
  endforeach()
  list(GET parts 0 a)
  list(GET parts 1 b)
  list(GET parts 2 c)
  list(GET parts 3 d)
  math(EXPR ms "(${a} << 16) | ${b}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR ls "(${c} << 16) | ${d}" OUTPUT_FORMAT HEXADECIMAL)

  # Top-level assembly in a C file: the project builds C already, and only an
  # assembler directive can give the section the note type.
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_note.c)
  file(CONFIGURE OUTPUT ${source} @ONLY CONTENT [[
/* File version @version@ of @target@, written by wexal_version_note(). */
__asm__(".pushsection .note.wexal.version, \"a\", %note\n"
        ".balign 4\n"
        ".long 6\n" /* owner size, its NUL included */
        ".long 8\n" /* descriptor size */
        ".long 1\n" /* note type */
        ".asciz \"Wexal\"\n"
        ".balign 4\n"
        ".long @ms@\n"
        ".long @ls@\n"
        ".popsection\n");
]])
  target_sources(${target} PRIVATE ${source})
endfunction()
