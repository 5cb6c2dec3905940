#pragma once

#include "core/Mensaje.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

// Names, texts and messages of the backup and the restore, shared by the maintenance window and
// the command line.
namespace Mantenimiento {

inline const QString kCaption = QStringLiteral("Mantenimiento");
// The database file a restore gives back, and the Access file of the farm's earlier program.
inline const QString kBase = QStringLiteral("base.db");
inline const QString kBaseAccess = QStringLiteral("Base.mdb");

// "BD_" weekday "_" day "_" month "_" year "_" hour "_" minute ".cab", the weekday abbreviated in
// `idioma`: a Monday 7 December 2026 at 09:05 in Spanish is BD_lun_7_12_2026_09_05.cab. A locale
// without Spanish day names of its own (C/POSIX under cron or a service, English) gives the Spanish
// ones, so every archive of a farm reads alike.
QString nombreArchivo(const QDateTime& momento, const QLocale& idioma = QLocale());

// `ruta` when no file has that name, otherwise the first free one with "_2", "_3"... before the
// extension: an archive never replaces an earlier one.
QString rutaLibre(const QString& ruta);

// `prefijo` + size in MBytes above 1,000,000 bytes, KBytes above 1,000, else Bytes: whole numbers
// with the thousands separator of `idioma`, no digits at all for one that rounds to zero.
QString textoTamano(const QString& prefijo, double bytes, const QLocale& idioma = QLocale());

// The database files of a folder that a backup archives (*.db and *.mdb, any case), by name.
QStringList archivosARespaldar(const QString& carpeta);

// The message a restore ends with: "Ok", or the word for false with the reason on a second line.
Mensaje mensajeRecuperacion(bool ok, const QString& motivo);

// The report of an archive that cannot be listed.
Mensaje mensajeArchivoDanado(const QString& archivo);

// The backup's success message.
Mensaje mensajeRespaldoHecho();

// "No existen archivos a compactar."
Mensaje mensajeSinArchivos();

} // namespace Mantenimiento
