# What `cmake --install` puts under the prefix, and the Debian package CPack
# makes of it (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

install(TARGETS zorbe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY data/manual/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/manual)

# The manual page, with the version and the manual's folder filled in.
configure_file(data/zorbe.1.in ${CMAKE_CURRENT_BINARY_DIR}/zorbe.1 @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zorbe.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(ZORBE_GUI)
  install(FILES data/zorbe.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  # The icon at the theme's usual sizes, drawn by the program's own picture
  # code when the build runs.
  set(ZORBE_ICON_SIZES 16 22 24 32 48 64 128 256)
  set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
  set(icon_files)
  foreach(size ${ZORBE_ICON_SIZES})
    list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/zorbe.png)
  endforeach()
  add_custom_command(OUTPUT ${icon_files}
    # (Qt's own allocations are no business of a sanitizer build's leak check.)
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:zorbe_icons> ${icon_dir} ${ZORBE_ICON_SIZES}
    DEPENDS zorbe_icons
    COMMENT "Drawing the program's icons")
  add_custom_target(zorbe_icon_files ALL DEPENDS ${icon_files})
  install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

set(CPACK_PACKAGE_NAME zorbe)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ゾルベ研究所")
set(CPACK_PACKAGE_CONTACT "zorbe maintainers <zorbe@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop racing newspaper for JRA races (ゾルベData Lab.版)")
set(CPACK_PACKAGE_DESCRIPTION "Downloads race cards and results as JV-Data records, draws a newspaper page
per race on screen, on a printer and as PDF, computes a time index and three
picks per race, shows results and statistics and exports CSV. Every window's
work is also a subcommand of the command line.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the executable links (Qt 6, HarfBuzz, liblhasa, the C++
# runtime) as dpkg-shlibdeps finds them, and the fonts the pages are set in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# liblhasa is opened when an archive is first unpacked, so the scan cannot
# see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "liblhasa0, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
