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
install(FILES ${_talvora_data}/talvora-64.png
        DESTINATION share/icons/hicolor/64x64/apps RENAME talvora.png)
install(FILES ${_talvora_data}/talvora-128.png
        DESTINATION share/icons/hicolor/128x128/apps RENAME talvora.png)
install(FILES ${_talvora_data}/io.talvora.talvora.metainfo.xml DESTINATION share/metainfo)

# The menu entry's launcher: pkexec for a user, the program itself for root.
install(PROGRAMS ${_talvora_data}/talvora-root DESTINATION bin)

# Manual pages, compressed as Debian wants them (no name, no time stamp).
find_program(TALVORA_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
mark_as_advanced(TALVORA_GZIP)
foreach(_pagina talvora talvora-root)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${_talvora_data}/man/${_pagina}.8)
  execute_process(COMMAND ${TALVORA_GZIP} -9n -c ${_talvora_data}/man/${_pagina}.8
                  OUTPUT_FILE ${PROJECT_BINARY_DIR}/man/${_pagina}.8.gz
                  COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${_pagina}.8.gz DESTINATION share/man/man8)
endforeach()

install(FILES ${_talvora_data}/../COPYING DESTINATION share/doc/talvora)

# polkit reads actions only from /usr/share/polkit-1/actions, whatever the
# prefix, and the action names the installed program, so the file is
# written at install time, when the prefix is known.
install(CODE "
  set(TALVORA_PROGRAMA \"\${CMAKE_INSTALL_PREFIX}/bin/talvora\")
  configure_file(\"${_talvora_data}/io.talvora.pkexec.talvora.policy.in\"
                 \"${PROJECT_BINARY_DIR}/polkit/io.talvora.pkexec.talvora.policy\" @ONLY)
  file(INSTALL \"${PROJECT_BINARY_DIR}/polkit/io.talvora.pkexec.talvora.policy\"
       DESTINATION /usr/share/polkit-1/actions
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
")
