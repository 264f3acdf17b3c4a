# Read by cpack for each generator. CMake 3.25's RPM generator checks for
# weak-dependency support by running an RPM_EXECUTABLE it never looks up, so
# it drops the Suggests tag; look the program up for it.
if(CPACK_GENERATOR STREQUAL "RPM" AND NOT RPM_EXECUTABLE)
  find_program(RPM_EXECUTABLE rpm)
endif()
