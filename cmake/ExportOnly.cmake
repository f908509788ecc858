# lodgeview_shared_library(<target> EXPORTS <symbol>... SOURCES <file>...)
# A shared library named exactly <target>.so (no "lib" prefix, as the programs bind it) whose
# dynamic symbol table holds only the given C entry points.
function(lodgeview_shared_library target)
  cmake_parse_arguments(ARG "" "" "EXPORTS;SOURCES" ${ARGN})
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  list(JOIN ARG_EXPORTS "; " symbols)
  file(WRITE ${map} "{ global: ${symbols}; local: *; };\n")
  add_library(${target} SHARED ${ARG_SOURCES})
  set_target_properties(${target} PROPERTIES PREFIX "" LINK_DEPENDS ${map})
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}" "LINKER:--no-undefined")
endfunction()
