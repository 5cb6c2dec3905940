# Installing like any desktop program: the two programs in bin/, the simulators in lib/tolvaro/,
# the desktop entry, the icons, the AppStream metainfo, the manual pages, and the copyright file
# and changelog that the Debian package carries (see Paquete.cmake).
include(GNUInstallDirs)

install(TARGETS tolvaro tolvaro-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The simulators stay out of everyone's PATH: they are for trying the program without a wagon.
install(TARGETS tolvaro-tablet-sim nremoto-sim RUNTIME DESTINATION lib/tolvaro)
# The Access reader the programs start on their own, before they read a farm's file.
install(TARGETS tolvaro-lector-access RUNTIME DESTINATION lib/tolvaro)
install(PROGRAMS tools/mariadb-privada.sh DESTINATION lib/tolvaro)

install(FILES data/tolvaro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/ar.tolvaro.tolvaro.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/iconos/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages and the changelog are compressed as Debian wants them (gzip -9n: best
# compression, no name or time stamp, so the same source gives the same bytes).
function(tolvaro_comprimir entrada salida)
  execute_process(COMMAND gzip -9nc ${entrada} OUTPUT_FILE ${salida} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

foreach(pagina tolvaro tolvaro-cli)
  configure_file(data/man/${pagina}.1.in man/${pagina}.1 @ONLY)
  tolvaro_comprimir(${CMAKE_BINARY_DIR}/man/${pagina}.1 ${CMAKE_BINARY_DIR}/man/${pagina}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${pagina}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/debian/changelog)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
tolvaro_comprimir(${CMAKE_SOURCE_DIR}/packaging/debian/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
install(FILES packaging/debian/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
