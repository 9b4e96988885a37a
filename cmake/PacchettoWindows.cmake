# The ZIP for Windows users (cpack -G ZIP in the build folder): the tool,
# LEGGIMI.txt made from its own --help, and an example CSV.
if(NOT TARGET termix54-batch)
  return()
endif()
set(TERMIX54_LEGGIMI ${CMAKE_BINARY_DIR}/LEGGIMI.txt)
add_custom_command(OUTPUT ${TERMIX54_LEGGIMI}
  COMMAND ${CMAKE_COMMAND} "-DEMULATORE=${CMAKE_CROSSCOMPILING_EMULATOR}" -DPROGRAMMA=$<TARGET_FILE:termix54-batch>
          -DUSCITA=${TERMIX54_LEGGIMI} -P ${PROJECT_SOURCE_DIR}/cmake/Leggimi.cmake
  DEPENDS termix54-batch ${PROJECT_SOURCE_DIR}/cmake/Leggimi.cmake
  COMMENT "LEGGIMI.txt from termix54-batch --help")
add_custom_target(leggimi ALL DEPENDS ${TERMIX54_LEGGIMI})

install(TARGETS termix54-batch RUNTIME DESTINATION .)
install(FILES ${TERMIX54_LEGGIMI} ${PROJECT_SOURCE_DIR}/data/windows/esempio.csv DESTINATION .)

set(CPACK_PACKAGE_NAME termix54-batch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build folder
include(CPack)
