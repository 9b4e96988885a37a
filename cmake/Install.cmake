# Where `cmake --install` puts the program, its desktop entry and its icon.
# The executables come from their own rooms; each is installed when built.
if(TARGET termix54)
  install(TARGETS termix54 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET termix54-batch)
  install(TARGETS termix54-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(TERMIX54_DATA ${PROJECT_SOURCE_DIR}/data)
install(FILES ${TERMIX54_DATA}/termix54.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TERMIX54_DATA}/termix54.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${TERMIX54_DATA}/termix54-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME termix54.png)
