# Warnings that our own code must keep clean.
function(drovane_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Builds a program of ours with the project's warnings.
function(drovane_add_program name)
  add_executable(${name} ${ARGN})
  drovane_strict_warnings(${name})
  if(WIN32)
    target_link_options(${name} PRIVATE -static)
  endif()
endfunction()
