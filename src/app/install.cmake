# Desktop integration for `cmake --install`: a launcher that starts the program in a folder of its
# own under the home folder, an applications-menu entry and the icon, where desktops look for them.

include(GNUInstallDirs)

set(VARNEK_APP_DIR ${CMAKE_CURRENT_LIST_DIR})

install(PROGRAMS ${VARNEK_APP_DIR}/varnekjpg-launch DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VARNEK_APP_DIR}/varnekjpg.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${VARNEK_APP_DIR}/varnekjpg-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME varnekjpg.png)

# The entry names the launcher by its full path, which is known only when installing:
# `cmake --install --prefix` may choose another prefix than the one configured.
install(CODE "
  set(_template \"${VARNEK_APP_DIR}/varnekjpg.desktop.in\")
  set(_entry \"${CMAKE_BINARY_DIR}/install-share/varnekjpg.desktop\")
  set(_bindir \"${CMAKE_INSTALL_BINDIR}\")
  set(_appsdir \"${CMAKE_INSTALL_DATADIR}/applications\")
")
install(CODE [[
  if(IS_ABSOLUTE "${_bindir}")
    set(VARNEK_LAUNCHER "${_bindir}/varnekjpg-launch")
  else()
    set(VARNEK_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${_bindir}/varnekjpg-launch")
  endif()
  configure_file("${_template}" "${_entry}" @ONLY)
  if(IS_ABSOLUTE "${_appsdir}")
    set(_destination "${_appsdir}")
  else()
    set(_destination "${CMAKE_INSTALL_PREFIX}/${_appsdir}")
  endif()
  file(INSTALL DESTINATION "${_destination}" TYPE FILE FILES "${_entry}")
]])
