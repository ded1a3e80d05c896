# The one place where the platform is chosen. Every subsystem keeps its portable code at its top
# and its adapters in folders named after what they use (qt/, linux/, win32/); this file decides
# which adapter folders exist for the platform being built, and finds what they need.
if(WIN32)
  set(DROVANE_ADAPTERS win32)
  # Resource scripts, compiled by the toolchain's windres.
  enable_language(RC)
  # GCC 12's libstdc++ has no futex on Windows, and its fallback for atomic waits can miss a
  # wake-up and sleep for ever. std::stop_callback waits on a semaphore built on it when a stop
  # request runs the callback on another thread, so a player could hang in Stop. Semaphores on
  # winpthreads' sem_t are sound. Every target needs it: it changes the layout of standard types.
  # std::atomic<T>::wait, std::latch and std::barrier keep the faulty wait: do not use them.
  add_compile_definitions(_GLIBCXX_USE_POSIX_SEMAPHORE=1)
else()
  set(DROVANE_ADAPTERS qt linux)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network DBus)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
  pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
endif()

# Adds the adapter folders of the current folder that this platform builds.
function(drovane_add_adapters)
  foreach(adapter IN LISTS DROVANE_ADAPTERS)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${adapter}/CMakeLists.txt)
      add_subdirectory(${adapter})
    endif()
  endforeach()
endfunction()

# The test framework: Debian's packaged GoogleTest natively, its sources built with the cross
# compiler for Windows, where the tests run under Wine.
macro(drovane_find_gtest)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(DROVANE_GTEST gmock gtest)
  else()
    find_package(GTest REQUIRED)
    set(DROVANE_GTEST GTest::gmock GTest::gtest)
  endif()
endmacro()
