# Where `cmake --install` puts things: the GNU layout under CMAKE_INSTALL_PREFIX, so that the same
# rules serve /usr (the Debian package), /usr/local and a private prefix. The programs find their
# data beside them, in ../share/drovane, as in the build tree.
include(GNUInstallDirs)

# GNUInstallDirs names the documentation folder after the project (doc/Drovane); distributions
# name it after the package.
if(CMAKE_INSTALL_DOCDIR STREQUAL "${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME}")
  set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/drovane")
endif()

# The application's id on the Linux desktop: the name of its launcher, icons and AppStream data.
set(DROVANE_APP_ID io.github.drovane.Drovane)

# The programs look for their data at <folder of the program>/../share/drovane.
cmake_path(APPEND CMAKE_INSTALL_BINDIR ".." "${CMAKE_INSTALL_DATADIR}" OUTPUT_VARIABLE data_from_bin)
cmake_path(NORMAL_PATH data_from_bin)
if(NOT data_from_bin STREQUAL "share")
  message(WARNING "With CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and CMAKE_INSTALL_DATADIR="
                  "${CMAKE_INSTALL_DATADIR} the installed programs will not find their data in "
                  "../share/drovane.")
endif()
