# Release packages, made by cpack from the install rules of cmake/install.cmake: on Linux a .deb
# for /usr, on Windows (the mingw-w64 cross build) an NSIS installer and a zip of the same folder.
# Their names carry the version of resources/version.txt; the fourth number there is the Windows
# file version's build number and stays out of the package version.
set(CPACK_PACKAGE_NAME puffpop)
set(CPACK_PACKAGE_VENDOR "Puffpop Team")
set(CPACK_PACKAGE_CONTACT "Puffpop Team")
set(CPACK_PACKAGE_VERSION
  ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "burst the rising balloons before they get away")
# Wrapped by hand: Debian shows the long description as it is.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Balloons of four colours rise up a 640x480 sky. Aim the crosshair with the"
  "mouse and burst them before they escape over the top: the left button fires"
  "single shots, any other button fires a smart bomb, three per round. The third"
  "balloon that gets away ends the round. Plays in a window or full-screen.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The optimised build keeps its debug info for the developers; players get it stripped.
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_PACKAGE_FILE_NAME Puffpop-${CPACK_PACKAGE_VERSION}-win64)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Puffpop)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Puffpop)

  # The game is a 64-bit program: a 64-bit installer, into the 64-bit Program Files and the
  # registry view that Add/Remove Programs lists it from.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include FileFunc.nsh")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_PACKAGE_NAME Puffpop)
  set(CPACK_NSIS_DISPLAY_NAME Puffpop)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/Puffpop.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/Puffpop.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME Puffpop.exe)
  # Start menu: Puffpop\Puffpop.lnk starting the game in its install folder.
  set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Puffpop.lnk' '$INSTDIR\\\\Puffpop.exe'")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Puffpop.lnk'")
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  # The installed-programs list shows a size only where the installer writes one, in KiB. CPack
  # reads the commands back from its configuration file: hence the extra escapes.
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "  \\\${GetSize} '$INSTDIR' '/S=0K' $0 $1 $2
  IntFmt $0 '0x%08X' $0
  WriteRegDWORD SHCTX 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}' 'EstimatedSize' $0")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Depends comes from the libraries the binary really links (dpkg-shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
