# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh does it all) gives
# tolvaro_<version>-<revision>_<arch>.deb, installed under /usr. The revision counts packagings
# of one version of the program; packaging/debian/changelog starts with the same version.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(TOLVARO_VERSION_DEBIAN ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Desarrolladores de Tolvaro <tolvaro@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programación del mixer para la guía en cabina Tolvaro")
set(CPACK_PACKAGE_DESCRIPTION
  "Herramienta de escritorio del encargado de la alimentación: guarda las
recetas, los alimentos, los operarios y el plan de cada viaje, lo envía a la
tablet de la cabina del mixer (por conexión directa o por un servicio web),
descarga lo que el operario realmente cargó y descargó, lo exporta a una
planilla, muestra la precisión de carga y respalda la base de datos en
archivos .cab.

Incluye tolvaro-cli, que hace lo mismo desde la línea de comandos, y en
/usr/lib/tolvaro los simuladores de la tablet y del servicio web, para
probar el programa sin mixer.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; the database driver is a Qt plugin, which it cannot see, and
# the pages of a PDF need a font to draw their text with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-dejavu-core, qt6-translations-l10n")
# Only the web-service simulator's private database needs these.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server, mariadb-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
