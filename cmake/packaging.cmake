# The Debian package: cpack -G DEB in the build folder. The libraries' packages are found by
# dpkg-shlibdeps; what the program uses without linking it is named here.
set(CPACK_PACKAGE_NAME sdmate)
set(CPACK_PACKAGE_VENDOR "The Sdmate developers")
set(CPACK_PACKAGE_CONTACT "The Sdmate developers <sdmate@sdmate.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SD card manager for a mobile handset's images, movies and documents")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://sdmate.example/")
if(NOT WIN32)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Japanese texts, the fonts for Japanese titles and the handset's pictographs, TIFF
# previews and the eject.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-color-emoji, qt6-image-formats-plugins, udisks2")

# Windows: cpack -G NSIS makes Sdmate-<version>-win64.exe (the two programs, the guide, Qt's
# Japanese texts, a Start-menu entry and an uninstaller), cpack -G ZIP the portable zip. The
# program takes the uninstaller beside it for the mark of an installed one (its backups then go
# into %LOCALAPPDATA%\Sdmate\BackUp): the name below and platform/win32 agree on it.
if(WIN32)
  set(CPACK_GENERATOR "NSIS;ZIP")
  # The programs' debugging information stays in the build folder.
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_FILE_NAME "Sdmate-${PROJECT_VERSION}-win64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Sdmate")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Sdmate")
  set(CPACK_NSIS_PACKAGE_NAME "Sdmate")
  set(CPACK_NSIS_DISPLAY_NAME "Sdmate ${PROJECT_VERSION}")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # The Start-menu entry of the window, and the guide beside it.
  set(CPACK_PACKAGE_EXECUTABLES "sdmate;Sdmate")
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
  set(CPACK_NSIS_MENU_LINKS "ReadMe.txt" "Sdmate ReadMe")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "sdmate.exe")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/data/icons/example.sdmate.Sdmate.ico")
  set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/data/icons/example.sdmate.Sdmate.ico")
  set(CPACK_NSIS_URL_INFO_ABOUT "${CPACK_PACKAGE_HOMEPAGE_URL}")
  set(CPACK_NSIS_CONTACT "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_NSIS_MUI_FINISHPAGE_RUN "sdmate.exe")
endif()
include(CPack)
