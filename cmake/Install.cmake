# What `cmake --install` puts on the machine: the two programs and the
# STEP / IGES reader they start (beside them), and what a
# desktop needs to offer Quorlen in its menus and to open .yqs files with it
# (menu entry, icon, file type, software-centre description).
include(GNUInstallDirs)

set(QUORLEN_APP_ID org.quorlen.Quorlen)
set(QUORLEN_HOMEPAGE "https://quorlen.org" CACHE STRING
  "Web address of the project; the software-centre entry points its screenshot there")

foreach(program quorlen quorlen-render quorlen-cad-reader)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET quorlen)
  # --version prints the project's version.
  set_property(SOURCE app/main.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS QUORLEN_VERSION="${PROJECT_VERSION}")

  configure_file(data/${QUORLEN_APP_ID}.metainfo.xml.in
    ${CMAKE_CURRENT_BINARY_DIR}/data/${QUORLEN_APP_ID}.metainfo.xml @ONLY)

  install(FILES data/${QUORLEN_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${QUORLEN_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES data/${QUORLEN_APP_ID}.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/data/${QUORLEN_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Straight onto this machine (no DESTDIR, as a package would use), the
  # desktop's caches are refreshed so the file type and the menu entry work
  # at once. A package leaves this to the system's own triggers.
  install(CODE [[
    function(quorlen_refresh tool)
      find_program(found_tool ${tool})
      if(found_tool)
        execute_process(COMMAND ${found_tool} ${ARGN} RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
          message(STATUS "${tool} failed (${rc}); run it by hand if the desktop misses Quorlen")
        endif()
      endif()
      unset(found_tool CACHE)
    endfunction()
    if("$ENV{DESTDIR}" STREQUAL "")
      set(share "${CMAKE_INSTALL_PREFIX}/share")
      quorlen_refresh(update-mime-database "${share}/mime")
      quorlen_refresh(update-desktop-database -q "${share}/applications")
      # An icon cache is only brought up to date, never started: a cache
      # that later installs forget to refresh would hide their icons.
      if(EXISTS "${share}/icons/hicolor/icon-theme.cache")
        quorlen_refresh(gtk-update-icon-cache -q -f "${share}/icons/hicolor")
      endif()
    endif()
  ]])
endif()
