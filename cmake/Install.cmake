# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where: programs, desktop entry, icons, AppStream
# data, manuals, man pages, bash completion, the udev rule and the Debian
# copyright, changelog and doc-base files.
include(GNUInstallDirs)

set(QUELLIX_APP_ID org.quellix.Quellix)
set(QUELLIX_HOMEPAGE "https://quellix.org" CACHE STRING "Project home page named in the AppStream data")
set(linux_dir ${CMAKE_SOURCE_DIR}/resources/linux)
set(generated ${CMAKE_BINARY_DIR}/generated)

# The manuals with their pictures and the icon sizes are made by the program's
# own code at build time, so they always match the program.
file(GLOB manual_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/manual/*.html)
set(manual_stamp ${generated}/docgen.stamp)
add_custom_command(
  OUTPUT ${manual_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${generated}/manual ${generated}/icons
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:quellix-docgen>
          ${generated}/manual ${linux_dir}/${QUELLIX_APP_ID}.svg ${QUELLIX_APP_ID} ${generated}/icons
  COMMAND ${CMAKE_COMMAND} -E touch ${manual_stamp}
  DEPENDS quellix-docgen ${manual_sources} ${linux_dir}/${QUELLIX_APP_ID}.svg
  COMMENT "Writing the manuals and icons")
add_custom_target(docs ALL DEPENDS ${manual_stamp})

configure_file(${linux_dir}/${QUELLIX_APP_ID}.metainfo.xml.in ${generated}/${QUELLIX_APP_ID}.metainfo.xml @ONLY)

# Man pages and the changelog are installed compressed, as Debian wants them;
# -n leaves out the name and time, so two builds give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages quellix quellix-cli oxisim)
set(compressed)
foreach(page ${man_pages})
  configure_file(${linux_dir}/${page}.1 ${generated}/man/${page}.1 @ONLY)
  list(APPEND compressed ${generated}/man/${page}.1)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/changelog.in ${generated}/changelog @ONLY)
list(APPEND compressed ${generated}/changelog)
list(TRANSFORM compressed APPEND .gz OUTPUT_VARIABLE compressed_outputs)
foreach(file ${compressed})
  add_custom_command(OUTPUT ${file}.gz COMMAND ${GZIP_PROGRAM} -9nkf ${file} DEPENDS ${file})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_outputs})

install(TARGETS quellix quellix-cli oxisim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_dir}/${QUELLIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${QUELLIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${linux_dir}/${QUELLIX_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${generated}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(DIRECTORY ${generated}/manual/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quellix/manual)
install(FILES ${generated}/man/quellix.1.gz ${generated}/man/quellix-cli.1.gz ${generated}/man/oxisim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(debian_dir ${CMAKE_SOURCE_DIR}/resources/debian)
install(FILES ${debian_dir}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quellix)
install(FILES ${debian_dir}/quellix-manual.doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME quellix-manual)
install(FILES ${linux_dir}/quellix-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quellix-cli)
# udev reads /usr/lib/udev/rules.d, never a multiarch library folder.
install(FILES ${linux_dir}/70-quellix-oximeter.rules DESTINATION lib/udev/rules.d)
