# Installs the launcher for the program installed in DROVANE_BINDIR into DROVANE_APPLICATIONS_DIR
# (each relative to the install prefix, or absolute): DROVANE_LAUNCHER_TEMPLATE with @DROVANE_EXEC@
# replaced by the Exec value that runs the program. Runs when installing, once the prefix is final.
set(program "${DROVANE_BINDIR}/drovane")
if(NOT IS_ABSOLUTE "${program}")
  set(program "${CMAKE_INSTALL_PREFIX}/${program}")
endif()
if(program MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A launcher cannot start a program whose path holds a line break or tab: ${program}")
endif()

# The Exec value: a path with a reserved character goes in double quotes, where ", `, $ and \
# take a backslash; a percent sign is doubled (it would start a field code); then the string
# value's own escape doubles every backslash again.
set(exec "${program}")
if(exec MATCHES "[ \"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "\\" "\\\\" DROVANE_EXEC "${exec}")

# Staged in a folder of its own for each destination, so that installs into two prefixes at once
# (a test's and the package's) do not write the same file.
get_filename_component(name "${DROVANE_LAUNCHER_TEMPLATE}" NAME_WLE)
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(staged "${DROVANE_LAUNCHER_STAGE}/${destination}/${name}")
configure_file("${DROVANE_LAUNCHER_TEMPLATE}" "${staged}" @ONLY)
set(applications "${DROVANE_APPLICATIONS_DIR}")
if(NOT IS_ABSOLUTE "${applications}")
  set(applications "${CMAKE_INSTALL_PREFIX}/${applications}")
endif()
file(INSTALL "${staged}" DESTINATION "${applications}")
