# Shorter builds with the tools at hand; each step is skipped where its tool is missing, and none
# changes what is built.

# ccache in front of the compiler, when it is installed: a rebuild of an unchanged file is a copy.
# The precompiled headers below need these sloppiness settings, or ccache declines every compile
# that uses one.
find_program(DROVANE_CCACHE ccache)
if(DROVANE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${DROVANE_CCACHE})
endif()

# mold links our programs and tests in a fraction of GNU ld's time. It links ELF only.
if(NOT WIN32)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=mold DROVANE_HAVE_MOLD)
  if(DROVANE_HAVE_MOLD)
    add_link_options(-fuse-ld=mold)
  endif()
endif()

# drovane_precompiled_headers(NAME LINKS ... HEADERS ...): a target that precompiles HEADERS once
# with the flags of a target linking LINKS, for others to share with
# target_precompile_headers(... REUSE_FROM NAME). A sharer whose flags differ simply parses the
# headers itself.
function(drovane_precompiled_headers name)
  cmake_parse_arguments(P "" "" "LINKS;HEADERS" ${ARGN})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "// Holds the precompiled headers of ${name}.\n")
  add_library(${name} OBJECT ${source})
  target_link_libraries(${name} PRIVATE ${P_LINKS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()
