# `cmake --install build --prefix DIR` installs Vidora as a desktop program:
#   DIR/lib/vidora/                 the complete program folder (the program finds everything
#                                   it ships beside its executable)
#   DIR/bin/vidora                  a link to the program
#   DIR/share/applications/         the desktop entry vidora.desktop
#   DIR/share/icons/hicolor/        the icon, scalable and in every picture size
# Files the program writes at run time (settings.dat, curconvert.log, Cache's contents) are not
# installed; when the program folder cannot be written they go to the person's data folder.
set(VIDORA_INSTALL_PROGRAM_DIR lib/vidora)

install(TARGETS vidora vidora_fp vidora_mp RUNTIME DESTINATION ${VIDORA_INSTALL_PROGRAM_DIR})
install(DIRECTORY
    ${VIDORA_PROGRAM_DIR}/skins
    ${VIDORA_PROGRAM_DIR}/help
    ${VIDORA_PROGRAM_DIR}/pictures
    ${VIDORA_PROGRAM_DIR}/buttons
    ${VIDORA_PROGRAM_DIR}/icons
  DESTINATION ${VIDORA_INSTALL_PROGRAM_DIR})
install(FILES ${VIDORA_PROGRAM_DIR}/loading.jpg DESTINATION ${VIDORA_INSTALL_PROGRAM_DIR})
install(DIRECTORY DESTINATION ${VIDORA_INSTALL_PROGRAM_DIR}/Cache)

install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/vidora\")
  file(CREATE_LINK ../${VIDORA_INSTALL_PROGRAM_DIR}/vidora
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/vidora\" SYMBOLIC)
  set(VIDORA_DESKTOP_TEMPLATE \"${PROJECT_SOURCE_DIR}/resources/desktop/vidora.desktop.in\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallDesktopEntry.cmake\")
")

install(FILES ${VIDORA_PROGRAM_DIR}/icons/vidora.svg
  DESTINATION share/icons/hicolor/scalable/apps)
foreach(_size ${VIDORA_ICON_SIZES})
  install(FILES ${VIDORA_PROGRAM_DIR}/icons/vidora-${_size}.png
    DESTINATION share/icons/hicolor/${_size}x${_size}/apps RENAME vidora.png)
endforeach()
