# RPM (the servers are of the Red Hat family) and DEB packages:
#   cpack -G RPM   /   cpack -G DEB   in the build tree.
# The program, desktop entry and icon go under /usr; the data directory keeps
# its fixed absolute path, which the RPM and DEB generators stage through
# DESTDIR, so nothing is installed on the building machine.

set(_talvora_pkg ${CMAKE_CURRENT_LIST_DIR})

set(CPACK_PACKAGE_NAME talvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Talvora")
set(CPACK_PACKAGE_CONTACT "Talvora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Panel de servicios de red / Network services control panel")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${_talvora_pkg}/descripcion.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The data directory is absolute, so the packages cannot be relocated.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "RPM;DEB")
set(CPACK_PROJECT_CONFIG_FILE ${_talvora_pkg}/cpack-generador.cmake)

# Maintainer scripts: the same refresh after install and after removal.
set(TALVORA_PKG_APPS ${CPACK_PACKAGING_INSTALL_PREFIX}/share/applications)
set(TALVORA_PKG_HICOLOR ${CPACK_PACKAGING_INSTALL_PREFIX}/share/icons/hicolor)
set(_talvora_scripts ${PROJECT_BINARY_DIR}/packaging)
configure_file(${_talvora_pkg}/postinst.in ${_talvora_scripts}/postinst @ONLY)
configure_file(${_talvora_pkg}/postinst.in ${_talvora_scripts}/postrm @ONLY)

# --- RPM ---------------------------------------------------------------------
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_LICENSE "GPL-2.0-or-later")
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_PACKAGE_RELOCATABLE OFF)
# rpmbuild adds the shared-library requirements; the package name brings in
# the platform plugins, which are loaded at run time and not linked.
set(CPACK_RPM_PACKAGE_REQUIRES "qt6-qtbase-gui")
# Weak dependencies (Suggests is the weak tag this CPack writes): the
# program runs without them, but the firewall, the hosts files, the xinetd
# switches and the alarm sound (/usr/bin/play) need them.
set(CPACK_RPM_PACKAGE_SUGGESTS "iptables, xinetd, tcp_wrappers, sox")
# No /usr/lib/.build-id links: there is no debuginfo package to pair them with.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
set(CPACK_RPM_POST_INSTALL_SCRIPT_FILE ${_talvora_scripts}/postinst)
set(CPACK_RPM_POST_UNINSTALL_SCRIPT_FILE ${_talvora_scripts}/postrm)
# Directories the system owns; the package owns only its own.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/local
    /usr/local/share
    /usr/share/applications
    /usr/share/icons
    /usr/share/icons/hicolor
    /usr/share/icons/hicolor/48x48
    /usr/share/icons/hicolor/48x48/apps)

# --- DEB ---------------------------------------------------------------------
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(TALVORA_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(TALVORA_DPKG_SHLIBDEPS)
if(TALVORA_DPKG_SHLIBDEPS)
  # Versions computed from the libraries the program links; the platform
  # plugins are loaded at run time, so they are named by hand.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6, libqt6gui6, libqt6core6, qt6-qpa-plugins")
endif()
# apt installs recommended packages by default; sox only plays the alarm.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "iptables, xinetd, tcpd")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "sox")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${_talvora_scripts}/postinst ${_talvora_scripts}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
