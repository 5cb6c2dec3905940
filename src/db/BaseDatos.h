#pragma once

#include <QCommandLineOption>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct sqlite3;

// Number and description of a failed database statement, as the error reports show them.
struct ErrorBD {
    QString numero;
    QString descripcion;
};
ErrorBD errorDe(const QSqlError& e);

// The one shared connection to the local database (`ConexionBD`), a SQLite file `base.db` in the
// data folder. SQLite is made to keep the meanings the system's SQL relies on: text comparison
// and ordering ignore case (accented letters included), double-quoted strings are not literals,
// a true yes/no is stored as -1, and amounts are REAL so "/" divides as floating point.
class BaseDatos {
public:
    static const QString kNombreConexion;
    static const QString kNombreArchivo;

    // `--datos CARPETA`, the option of the program and of every command of tolvaro-cli.
    static QCommandLineOption opcionDatos();
    // The data folder: the one given, otherwise the program's folder on Windows and the user's
    // data folder elsewhere. The folder is created when missing.
    static QString carpetaDatos(const QString& indicada);
    // The same from the program's arguments (`--datos CARPETA`; other arguments are ignored).
    static QString carpetaDatos(const QStringList& argumentos);

    static QString archivo(const QString& carpeta);

    // Opens (or, when the file is missing, creates) the database of the folder as the shared
    // connection. A file that exists but is not a usable database is never touched: the returned
    // text names the file and the reason, in Spanish.
    static std::optional<QString> abrir(const QString& carpeta);

    static QSqlDatabase ConexionBD();
    static bool abierta();
    static QString carpeta();
    static void cerrar();

    // Runs `usar` on a connection of its own to `ruta` (not yet open), named uniquely and removed
    // afterwards: for a worker thread (the shared connection belongs to the thread that opened it)
    // or a file other than the shared one. `opciones` are the driver's connect options.
    static void conConexionPropia(const QString& ruta, const QString& opciones,
                                  const std::function<void(QSqlDatabase&)>& usar);

    // The SQLite handle behind an open Qt connection; null when the driver is not SQLite.
    static sqlite3* manejador(const QSqlDatabase& db);

    // The names of the tables of `db`, lower case.
    static std::optional<ErrorBD> tablas(QSqlDatabase& db, QStringList* nombres);
    // Which of this system's own tables are not among `tablas` (lower case names).
    static QStringList tablasFaltantes(const QStringList& tablas);

    // Registers the case-insensitive collation and turns off double-quoted string literals on an
    // open SQLite connection. Returns false when the driver handle is not SQLite.
    static bool prepararConexion(QSqlDatabase& db);

    // Creates the tables of an empty database, in the column order the windows rely on.
    static std::optional<ErrorBD> crearEsquema(QSqlDatabase& db);

    // Adds the tables that later versions brought (event history, preferences) when missing.
    static std::optional<ErrorBD> completarEsquema(QSqlDatabase& db);

    // Triggers that store any true yes/no as -1 and a missing one as 0.
    static std::optional<ErrorBD> crearReglasSiNo(QSqlDatabase& db);

    // Translates the Jet-only parts of a statement (the `yesno` column type) into SQLite.
    static QString aSqlite(const QString& sql);
};
