# The shipped program on Windows (included by the top CMakeLists.txt): Puffpop.exe, the game and
# its licences side by side in one folder, the installer's own choice (nothing else: the pictures
# and sounds are inside the executable), packed as an NSIS installer and a zip of that folder.

# A windowed program: no console opens beside the game.
set_target_properties(puffpop PROPERTIES OUTPUT_NAME Puffpop WIN32_EXECUTABLE TRUE)

set(puffpop_packaging ${PROJECT_SOURCE_DIR}/packaging)
install(TARGETS puffpop RUNTIME DESTINATION .)
# .txt so that a double click opens them.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${puffpop_packaging}/FONT-LICENSE DESTINATION . RENAME FONT-LICENSE.txt)

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
