# The Debian package: cpack -G DEB in the build folder. The libraries' packages are found by
# dpkg-shlibdeps; what the program uses without linking it is named here.
set(CPACK_PACKAGE_NAME sdmate)
set(CPACK_PACKAGE_VENDOR "The Sdmate developers")
set(CPACK_PACKAGE_CONTACT "The Sdmate developers <sdmate@sdmate.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SD card manager for a mobile handset's images, movies and documents")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://sdmate.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Japanese texts, the fonts for Japanese titles and the handset's pictographs, TIFF
# previews and the eject.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-color-emoji, qt6-image-formats-plugins, udisks2")
include(CPack)
