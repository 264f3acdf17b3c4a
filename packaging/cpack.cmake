# RPM (the servers are of the Red Hat family) and DEB packages:
#   cpack -G RPM   /   cpack -G DEB   in the build tree.
# The program, desktop entry and icon go under /usr; the data directory keeps
# its fixed absolute path, which the RPM and DEB generators stage through
# DESTDIR, so nothing is installed on the building machine.

set(_talvora_pkg ${CMAKE_CURRENT_LIST_DIR})

set(CPACK_PACKAGE_NAME talvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Talvora")
set(CPACK_PACKAGE_CONTACT "Equipo de Talvora <equipo@talvora.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://talvora.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Panel de servicios de red / Network services control panel")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${_talvora_pkg}/descripcion.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The data directory is absolute, so the packages cannot be relocated.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "RPM;DEB")
set(CPACK_PROJECT_CONFIG_FILE ${_talvora_pkg}/cpack-generador.cmake)

# Maintainer scripts. The DEB's follow their arguments (purge removes what
# the program wrote); rpm only runs a refresh after install and removal.
set(TALVORA_PKG_APPS ${CPACK_PACKAGING_INSTALL_PREFIX}/share/applications)
set(TALVORA_PKG_HICOLOR ${CPACK_PACKAGING_INSTALL_PREFIX}/share/icons/hicolor)
set(_talvora_scripts ${PROJECT_BINARY_DIR}/packaging)
configure_file(${_talvora_pkg}/refrescar.in ${_talvora_scripts}/refrescar.sh @ONLY)
file(READ ${_talvora_scripts}/refrescar.sh TALVORA_REFRESCAR)
string(STRIP "${TALVORA_REFRESCAR}" TALVORA_REFRESCAR)
configure_file(${_talvora_pkg}/deb/postinst.in ${_talvora_scripts}/deb/postinst @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(${_talvora_pkg}/deb/postrm.in ${_talvora_scripts}/deb/postrm @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(${_talvora_pkg}/rpm/refrescar.in ${_talvora_scripts}/rpm/refrescar @ONLY)

# Debian's changelog, compressed without name or time stamp.
configure_file(${_talvora_pkg}/debian/changelog.in ${_talvora_scripts}/changelog.Debian @ONLY)
execute_process(COMMAND ${TALVORA_GZIP} -9n -c ${_talvora_scripts}/changelog.Debian
                OUTPUT_FILE ${_talvora_scripts}/changelog.Debian.gz
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${_talvora_pkg}/rpm-changelog.in ${_talvora_scripts}/rpm-changelog @ONLY)
configure_file(${_talvora_pkg}/deb/instalar.cmake.in ${_talvora_scripts}/deb-instalar.cmake @ONLY)
set(CPACK_INSTALL_SCRIPTS ${_talvora_scripts}/deb-instalar.cmake)

# --- RPM ---------------------------------------------------------------------
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 2)
set(CPACK_RPM_PACKAGE_LICENSE "GPL-2.0-or-later")
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_PACKAGE_RELOCATABLE OFF)
# rpmbuild adds the shared-library requirements; the package name brings in
# the platform plugins, which are loaded at run time and not linked. The
# forms are drawn for Helvetica's metrics, which Liberation Sans has; Qt's
# own buttons and menus speak Spanish with Qt's translations.
set(CPACK_RPM_PACKAGE_REQUIRES
    "qt6-qtbase-gui, polkit, font(liberationsans), qt6-qttranslations")
# Weak dependencies (Suggests is the weak tag this CPack writes): the
# program runs without them, but the firewall, the hosts files, the xinetd
# switches, the alarm sound (/usr/bin/play) and, in the Debian and Red Hat
# profiles, the editors and viewers (xdg-open) need them.
set(CPACK_RPM_PACKAGE_SUGGESTS "iptables, xinetd, tcp_wrappers, sox, xdg-utils")
# No /usr/lib/.build-id links: there is no debuginfo package to pair them with.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
set(CPACK_RPM_POST_INSTALL_SCRIPT_FILE ${_talvora_scripts}/rpm/refrescar)
set(CPACK_RPM_POST_UNINSTALL_SCRIPT_FILE ${_talvora_scripts}/rpm/refrescar)
set(CPACK_RPM_CHANGELOG_FILE ${_talvora_scripts}/rpm-changelog)
set(CPACK_RPM_PACKAGE_URL ${CPACK_PACKAGE_HOMEPAGE_URL})
string(APPEND CPACK_RPM_SPEC_MORE_DEFINE "\n%define packager ${CPACK_PACKAGE_CONTACT}")
# Files under an absolute destination would all be marked %config. Only the
# settings file the program writes is configuration; it and the firewall
# snapshot belong to the package without being shipped, so that erasing the
# package removes them. (Every entry needs a directive: CPack 3.25 cannot
# read a bare path here.)
set(CPACK_RPM_USER_FILELIST
    "%ghost %config(noreplace) %attr(0644,root,root) ${TALVORA_DATADIR}/conf"
    "%ghost %attr(0644,root,root) ${TALVORA_DATADIR}/firewall"
    "%license ${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/talvora/COPYING"
    "%attr(-,root,root) ${TALVORA_DATADIR}/pordefecto/korv-gate"
    "%attr(-,root,root) ${TALVORA_DATADIR}/pordefecto/ftpaccess"
    "%attr(-,root,root) ${TALVORA_DATADIR}/sounds/attack_detected.wav"
    "%attr(-,root,root) ${TALVORA_DATADIR}/doc/talvora/index.html"
    "%attr(-,root,root) /usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy")
# Directories the system owns; the package owns only its own.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/local
    /usr/local/share
    /usr/share/applications
    /usr/share/icons
    /usr/share/icons/hicolor
    /usr/share/icons/hicolor/48x48
    /usr/share/icons/hicolor/48x48/apps
    /usr/share/icons/hicolor/64x64
    /usr/share/icons/hicolor/64x64/apps
    /usr/share/icons/hicolor/128x128
    /usr/share/icons/hicolor/128x128/apps
    /usr/share/man
    /usr/share/man/man8
    /usr/share/metainfo
    /usr/share/polkit-1
    /usr/share/polkit-1/actions)

# --- DEB ---------------------------------------------------------------------
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(TALVORA_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(TALVORA_DPKG_SHLIBDEPS)
if(TALVORA_DPKG_SHLIBDEPS)
  # Versions computed from the libraries the program links; the platform
  # plugins and Qt's translations are loaded at run time, and the font the
  # forms are drawn for is not linked at all, so they are named by hand.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, qt6-translations-l10n")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6core6, qt6-qpa-plugins, \
fonts-liberation, qt6-translations-l10n")
endif()
# apt installs recommended packages by default; pkexec starts the program
# from the menu (talvora-root); sox only plays the alarm.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec, iptables, xinetd, tcpd, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "sox")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${_talvora_scripts}/deb/postinst ${_talvora_scripts}/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
