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
    bool conexion = false; // the connection settings came from the file
    QStringList omitidos;  // tables or columns of the file that our schema lacks
    QStringList faltantes; // our tables that the file lacks (left empty)
    // Names that came with a comma, which the tablet cannot carry, as "alimentos 12 (Maíz, partido)";
    // each comma became a blank.
    QStringList sinComa;

    // "Se importó base.mdb: 3 recetas, 5 alimentos, ..." for a file named `archivo`, followed by
    // what the file lacked ("Faltaban en el archivo: ...") and what was left out ("Se dejaron
    // fuera: ..."), each named as "tabla X" or "columna tabla.columna", and the names whose commas
    // were replaced ("Se cambió por un espacio la coma de: ...").
    QString texto(const QString& archivo) const;
};

// A farm's Access (Jet 3 or Jet 4) database brought into a new database of this program.
namespace ImportacionAccess {

// Reads `mdb` and writes a complete database of ours at `destino`, in one transaction into a
// temporary file renamed into place at the end (with guardarAnterior, a replaced file stays as
// "<destino>.anterior"). False, with a Spanish `error` naming the file and the reason, when
// anything fails ("No se puede importar <ruta>: <motivo>."): then nothing at `destino` has changed.
// `cancelar`, when given, is checked between tables. Safe on a worker thread: it never touches the
// shared connection and opens its own, uniquely named.
bool importar(const QString& mdb, const QString& destino, ResumenImportacion* resumen, QString* error,
              bool guardarAnterior = false, const std::atomic_bool* cancelar = nullptr);

} // namespace ImportacionAccess
