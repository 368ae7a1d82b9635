# `cpack -G DEB` in the build folder makes packages/quenzartsrv-gui_<version>_<arch>.deb
# from everything the project installs.
set(CPACK_PACKAGE_NAME quenzartsrv-gui)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QuenzartServer GUI 开发组")
set(CPACK_PACKAGE_CONTACT "QuenzartServer GUI 开发组 <team@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A window for starting the Quenzart multi-user server with the settings"
  "entered in it, among them the welcome message shown to users, for"
  "stopping it again and for opening the server's status page."
  "The server itself is installed separately.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quenzart.example.org/)
# Depends comes from the shared libraries the program is linked with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese texts of the windows need a CJK font, and Qt's own dialogs take
# their Chinese from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
