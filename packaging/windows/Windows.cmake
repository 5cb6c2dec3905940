# Windows: the window program without a console, the icon and version information in both
# programs, and what goes beside them. scripts/windows.sh adds the Qt and runtime libraries
# and makes the setup program and the portable .zip from this install tree.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TOLVARO_ICONO ${CMAKE_BINARY_DIR}/packaging/tolvaro.ico)
set(TOLVARO_PNG_ICONO)
foreach(lado 16 32 48 64 128 256)
  list(APPEND TOLVARO_PNG_ICONO ${CMAKE_SOURCE_DIR}/data/iconos/hicolor/${lado}x${lado}/apps/tolvaro.png)
endforeach()
add_custom_command(OUTPUT ${TOLVARO_ICONO}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/windows/ico.py ${TOLVARO_ICONO} ${TOLVARO_PNG_ICONO}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/windows/ico.py ${TOLVARO_PNG_ICONO})

function(tolvaro_recursos_windows target descripcion)
  set(TOLVARO_RC_NOMBRE ${target})
  set(TOLVARO_RC_DESCRIPCION ${descripcion})
  set(TOLVARO_RC_ICONO ${TOLVARO_ICONO})
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/recursos.rc.in
    ${CMAKE_BINARY_DIR}/packaging/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/packaging/${target}.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/packaging/${target}.rc PROPERTIES OBJECT_DEPENDS ${TOLVARO_ICONO})
endfunction()

set_target_properties(tolvaro PROPERTIES WIN32_EXECUTABLE ON)
tolvaro_recursos_windows(tolvaro "Tolvaro: programación del mixer")
tolvaro_recursos_windows(tolvaro-cli "Tolvaro: línea de comandos")
tolvaro_recursos_windows(tolvaro-tablet-sim "Tolvaro: simulador de la tablet")

install(TARGETS tolvaro tolvaro-cli tolvaro-lector-access RUNTIME DESTINATION .)
install(TARGETS tolvaro-tablet-sim RUNTIME DESTINATION simuladores)
