# What the release packages say of themselves, the same for every host; the host's program.cmake
# adds its install rules and the kinds of package cpack makes of them (a .deb for Linux, an NSIS
# installer and a zip for Windows). Their names carry the version of resources/version.txt; the
# fourth number there is the Windows file version's build number and stays out of the package
# version.
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
