# The Debian package of the native build (cpack -G DEB in build/native): what
# cli/linux installs, under /usr.  Its run-time dependencies are worked out by
# dpkg-shlibdeps from the libraries the program links, not listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME extract-icons)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Icon Extractor developers <maintainers@icon-extractor.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "save the icons of Windows programs as .ico files or thumbnails")
# CPack puts the summary on the first line, the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "extract-icons reads the icon groups stored in Windows modules (PE32 and PE32+
programs and libraries, and 16-bit NE modules such as icon libraries) from
their bytes and writes them as .ico files, many files at once.
.
Its thumbnail mode and thumbnailer entry let file managers that follow the
freedesktop.org thumbnail conventions show the programs' own icons.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them whatever the builder's umask: rwxr-xr-x.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
include(CPack)
