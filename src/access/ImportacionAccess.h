#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

// What an import brought in, for the message shown to the user.
struct ResumenImportacion {
    int recetas = 0;
    int alimentos = 0;
    int operarios = 0;
    int viajes = 0;
    int descarga = 0;
    bool conexion = false;   // the connection settings came from the file
    QStringList omitidos;    // tables or columns of the file that our schema lacks
    QStringList faltantes;   // our tables that the file lacks (left empty)
    QStringList conservadas; // our own tables kept from the database replaced ("preferencias (3 filas)")
    QStringList sinLeer;     // with `parcial`: what could not be read and was left out
    QString anterior;        // where the database replaced was kept, empty when none was
    // Names that came with a comma, which the tablet cannot carry, as "alimentos 12 (Maíz, partido)";
    // each comma became a blank.
    QStringList sinComa;

    // "Se importó base.mdb: 3 recetas, 5 alimentos, ..." for a file named `archivo`, followed by
    // what the file lacked ("Faltaban en el archivo: ...") and what was left out ("Se dejaron
    // fuera: ..."), each named as "tabla X" or "columna tabla.columna"; then what could not be
    // read ("No se pudo leer y quedó fuera: ..."), what was kept of the database replaced and
    // where that database was kept, and the names whose commas were replaced ("Se cambió por un
    // espacio la coma de: ...").
    QString texto(const QString& archivo) const;
};

// How an import goes about it.
struct OpcionesImportacion {
    // The database replaced stays beside it, under a numbered name that is never overwritten
    // ("<destino>.anterior", "<destino>.anterior.2" ...).
    bool guardarAnterior = false;
    // Imports what can be read and lists the rest in ResumenImportacion::sinLeer, instead of
    // refusing the whole file for a table, column or row that cannot be read.
    bool parcial = false;
    // The database whose own tables (those an Access file never holds: the event history, the
    // preferences, and any other) the new one keeps; empty: `destino` itself.
    QString conservarDe;
    // Checked between tables and every 1,024 rows.
    const std::atomic_bool* cancelar = nullptr;
};

// A farm's Access (Jet 3 or Jet 4) database brought into a new database of this program.
//
// The file is read whole or not at all: every table of ours must be in it, with every column
// (only recetas.calcula_kg, which older files lack, may be missing), every row it declares and
// every value readable; otherwise nothing is written and the reason names the table, the column
// and how many rows could be read of those declared. Only OpcionesImportacion::parcial lets the
// rest in.
namespace ImportacionAccess {

// Reads `mdb` and writes a complete database of ours at `destino`, in one transaction into a
// temporary file renamed into place at the end (with guardarAnterior, a replaced file stays as
// "<destino>.anterior"). False, with a Spanish `error` naming the file and the reason, when
// anything fails ("No se puede importar <ruta>: <motivo>."): then nothing at `destino` has changed.
// `cancelar`, when given, is checked between tables. Safe on a worker thread: it never touches the
// shared connection and opens its own, uniquely named.
bool importar(const QString& mdb, const QString& destino, ResumenImportacion* resumen, QString* error,
              bool guardarAnterior = false, const std::atomic_bool* cancelar = nullptr);
bool importar(const QString& mdb, const QString& destino, const OpcionesImportacion& opciones,
              ResumenImportacion* resumen, QString* error);
// The same from the file's bytes already in memory (`mdb` only names it in messages).
bool importarDatos(QByteArray datos, const QString& mdb, const QString& destino,
                   const OpcionesImportacion& opciones, ResumenImportacion* resumen, QString* error);

// Refuses, before reading anything, what is not a regular file (a device, a pipe, a folder) or
// does not start with an Access file's signature. The reason, in Spanish, or empty.
QString examinarArchivo(const QString& mdb);

} // namespace ImportacionAccess
