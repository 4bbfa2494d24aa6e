# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags (fortify, stack protector, full RELRO with -z now,
# which Debian 12 leaves out by default) for optimized builds, the ones that
# are packaged. Optimization and debug information stay the build type's;
# _FORTIFY_SOURCE needs optimization, and the sanitizer builds bring their own.
option(QUELLIX_HARDENING "Build with the flags of DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(QUELLIX_HARDENING AND DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT QUELLIX_ASAN AND NOT QUELLIX_TSAN AND NOT QUELLIX_FUZZ)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # The prefix map is worked out from the working folder: make it the source.
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?)$")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
    message(STATUS "Hardening ${kind}: ${flags}")
  endforeach()
endif()
