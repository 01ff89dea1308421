# The shipped program on Linux (included by the top CMakeLists.txt): the binary under bin/ plus the
# desktop integration, i.e. the launcher, the AppStream metadata, the icon in the hicolor theme, and
# the texts that travel with the binary (the game's README, the embedded font's licence); packed as
# a .deb for /usr.
include(GNUInstallDirs)

set(puffpop_packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS puffpop RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop icons are drawn by the generator that drew the 32x32 program icon, at each size
# rather than scaled up from it.
set(puffpop_icon_sizes 48 128 256)
set(puffpop_icon_dir ${PROJECT_BINARY_DIR}/icons)
set(puffpop_icons "")
foreach(size IN LISTS puffpop_icon_sizes)
  list(APPEND puffpop_icons ${puffpop_icon_dir}/puffpop-${size}.png)
endforeach()
add_custom_command(OUTPUT ${puffpop_icons}
  COMMAND assetgen --icons ${puffpop_icon_dir}
  DEPENDS assetgen
  COMMENT "Drawing the desktop icons"
  VERBATIM)
add_custom_target(puffpop_icons ALL DEPENDS ${puffpop_icons})

foreach(size IN LISTS puffpop_icon_sizes)
  install(FILES ${puffpop_icon_dir}/puffpop-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME puffpop.png)
endforeach()
install(FILES ${puffpop_packaging}/puffpop.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${puffpop_packaging}/io.github.puffpop.Puffpop.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${puffpop_packaging}/FONT-LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(PUFFPOP_TESTS)
  # Installs into a scratch root and validates what a desktop would read from it.
  add_test(NAME packaging
    COMMAND bash ${puffpop_packaging}/check_install.sh ${PROJECT_BINARY_DIR} ${CMAKE_COMMAND})
  set_tests_properties(packaging PROPERTIES LABELS packaging TIMEOUT 120 SKIP_RETURN_CODE 77)

  # The release packages: this build's .deb, and the Windows cross build's installer and zip
  # tried under Wine (skipped while that build does not exist).
  set(PUFFPOP_WINDOWS_BUILD ${PROJECT_SOURCE_DIR}/build/windows CACHE PATH
    "The mingw-w64 cross build whose installer the release test tries under Wine")
  add_test(NAME packages.deb
    COMMAND bash ${puffpop_packaging}/check_packages.sh deb ${PROJECT_BINARY_DIR} ${CMAKE_CPACK_COMMAND})
  add_test(NAME packages.windows
    COMMAND bash ${puffpop_packaging}/check_packages.sh windows ${PUFFPOP_WINDOWS_BUILD}
    ${CMAKE_CPACK_COMMAND})
  set_tests_properties(packages.deb packages.windows PROPERTIES
    LABELS release TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the binary really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
