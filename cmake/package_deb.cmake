# The Debian package: what `cmake --install` puts under /usr, packed by CPack's DEB generator.
# scripts/package-deb builds it with one command. The install rules stay the one description of
# the installed tree, so the package and a `cmake --install` under any prefix hold the same files,
# and the package is made from an already built tree in seconds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drovane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Bugs go to the issues page of the home; the address is one that takes no mail.
set(CPACK_PACKAGE_CONTACT "The Drovane developers <drovane@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DROVANE_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "looping sweep of high-pitched tones for the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Drovane plays a looping sweep of high-pitched tones through the computer's
speakers: by default from 16000 to 20000 Hz in 10 Hz steps of 500 ms each.
It is meant to keep mosquitoes away, although controlled studies found no
evidence that such sound repels them (Cochrane review CD005434).

The tones join without a click and always sound at a fixed, moderate level,
because long full-scale sweeps at these frequencies have destroyed laptop
tweeters. A short test melody checks that the speakers play at all.

The package holds the program with its window and notification-area icon,
and drovane-play, which plays the sweep or the melody from a terminal or
renders it into a WAV file.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# The libraries the programs link, with their versions, come from dpkg-shlibdeps reading the
# binaries. The window's labels are Korean and it asks for NanumGothic by name; without a Hangul
# font they show as boxes, yet the program works, so the font is recommended. Qt's Wayland plugin
# lets the window run natively on a Wayland desktop; without it Qt needs XWayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum, qt6-wayland")

# What Debian's tools would do: strip the programs, standard permissions on folders and control
# files, everything under /usr.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/deb)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
