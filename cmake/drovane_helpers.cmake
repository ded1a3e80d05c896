option(DROVANE_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (the presets and CI do)" OFF)

# Warnings that catch real faults in code like ours: shadowed names, deleting through a base
# without a virtual destructor, overloads that hide virtual functions, casts that hide what they
# do, dropped const, format strings, duplicated conditions. Only our own targets get them, and
# they stop the build only where DROVANE_WARNINGS_AS_ERRORS asks, so that a distribution's flags
# or a newer compiler never break a build.
function(drovane_strict_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wsuggest-override
    $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>)
  if(DROVANE_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# drovane_add_library(NAME [INTERFACE] SOURCES ... LINKS ...): a library of ours. Every library
# links only the targets it names, and those only downward (scripts/check-layers keeps the
# includes in line with that).
function(drovane_add_library name)
  cmake_parse_arguments(L "INTERFACE" "" "SOURCES;LINKS" ${ARGN})
  if(L_INTERFACE)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_LINKS})
  else()
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_LINKS})
    drovane_strict_warnings(${name})
  endif()
endfunction()

# Builds a program of ours with the project's warnings.
function(drovane_add_program name)
  add_executable(${name} ${ARGN})
  drovane_strict_warnings(${name})
endfunction()

# drovane_require_tools(WHAT TOOL ...): the programs that WHAT needs. A build that builds the tests
# stops here, naming what is missing, rather than leave a check out.
function(drovane_require_tools what)
  set(missing)
  foreach(tool IN LISTS ARGN)
    string(MAKE_C_IDENTIFIER "DROVANE_TOOL_${tool}" variable)
    find_program(${variable} ${tool})
    if(NOT ${variable})
      list(APPEND missing ${tool})
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "${what} needs ${missing}, which this machine lacks: run scripts/install-deps test "
                        "(or configure with -DDROVANE_BUILD_TESTS=OFF)")
  endif()
endfunction()
