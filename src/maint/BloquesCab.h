#pragma once

#include "maint/ArchivoCab.h"

#include <QString>

// Reads every data block of the cabinet archive `ruta` and checks it is whole and matches its
// checksum. Windows' cabinet library does not say which of the two is wrong (and not every
// version checks the sums), so the archive is checked here before it is expanded. False with
// `fallo` when the archive is damaged, cut short or not a cabinet archive.
bool comprobarBloquesCab(const QString& ruta, FalloCab* fallo);
