# A Debian package of everything `cmake --install` puts in place: cpack -G DEB in the
# build directory. Included last so it sees every install rule.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "HTML Ombrix developers")
set(CPACK_PACKAGE_CONTACT "HTML Ombrix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "writes a message as HTML whose text colour fades")
# Debian wraps the long description itself only at the line ends given here.
set(CPACK_PACKAGE_DESCRIPTION [[
HTML Ombrix turns a short instant message into HTML whose text colour fades
across up to six colours, shows as you type how many characters that HTML
takes, and copies it to the clipboard or pastes it into the window that was
active before.

The ombrix-fade command does the same from standard input to standard output.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "HTML Ombrix developers")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) works out the library dependencies from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Libraries loaded at run time, which dpkg-shlibdeps cannot see: Qt's X11 platform
# plugin, and its Wayland one, which the tool runs on in a Wayland session. The design's
# faces are best matched by Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")

include(CPack)
