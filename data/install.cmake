# Files the program names by fixed paths under ${TALVORA_DATADIR}, plus the
# desktop entry and icon under the install prefix.
if(NOT TALVORA_DATADIR)
  set(TALVORA_DATADIR /usr/local/share/talvora)
endif()

set(_talvora_data ${CMAKE_CURRENT_LIST_DIR})

# Copied over /etc/rc.d/init.d/korv-gate with "cp -p", so its mode matters.
install(PROGRAMS ${_talvora_data}/pordefecto/korv-gate
        DESTINATION ${TALVORA_DATADIR}/pordefecto)
install(FILES ${_talvora_data}/pordefecto/ftpaccess
        DESTINATION ${TALVORA_DATADIR}/pordefecto
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${_talvora_data}/sounds/attack_detected.wav
        DESTINATION ${TALVORA_DATADIR}/sounds)
install(FILES ${_talvora_data}/doc/talvora/index.html
        DESTINATION ${TALVORA_DATADIR}/doc/talvora)

install(FILES ${_talvora_data}/talvora.desktop
        DESTINATION share/applications)
install(FILES ${_talvora_data}/talvora.png
        DESTINATION share/icons/hicolor/48x48/apps)
