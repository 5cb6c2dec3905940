#pragma once

#include "db/BaseDatos.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The automatic backup's settings and the record of the last verified backup, kept in
// `preferencias` of the database they protect, and the rules that say when a backup is due.
// Every function takes the connection to use: the windows pass the shared one, the command line
// one of its own to a database it does not keep open.
struct AjustesRespaldo {
    bool alCerrar = true;  // on closing, when the data changed since the last backup
    bool alIniciar = true; // on starting, when the last backup is older than `dias`
    int dias = 7;
    int cantidad = 10; // automatic archives kept
    QString carpeta;   // empty: "respaldos" in the data folder
    QString segunda;   // a second folder that receives a copy; empty: none

    static AjustesRespaldo leer(const QSqlDatabase& db = BaseDatos::ConexionBD());
    std::optional<ErrorBD> guardar(const QSqlDatabase& db = BaseDatos::ConexionBD()) const;
    // The folder of the automatic archives of the data folder `carpetaDatos`.
    QString carpetaAutomatica(const QString& carpetaDatos) const;
};

// The last backup that read back whole, manual or automatic.
struct UltimoRespaldo {
    QDateTime fecha;
    QString ruta;
    qint64 tamano = -1;
    qint64 cambios = 0; // the change count the archive holds

    bool existe() const { return fecha.isValid(); }
    static UltimoRespaldo leer(const QSqlDatabase& db = BaseDatos::ConexionBD());
    // Records a verified archive holding the data as the change count `cambios` left it.
    static std::optional<ErrorBD> registrar(const QString& ruta, qint64 tamano, qint64 cambios,
                                            const QDateTime& fecha = QDateTime::currentDateTime(),
                                            const QSqlDatabase& db = BaseDatos::ConexionBD());
};

namespace PoliticaRespaldo {

// Whether the data changed since the last verified backup (a database never backed up counts
// its changes from when it was made).
bool hayCambios(const QSqlDatabase& db = BaseDatos::ConexionBD());
// Whether any table of the farm holds a row.
bool tieneDatos(const QSqlDatabase& db = BaseDatos::ConexionBD());
// Whole days since the last verified backup; nothing when there is none.
std::optional<qint64> diasDesdeUltimo(const QDateTime& ahora = QDateTime::currentDateTime(),
                                      const QSqlDatabase& db = BaseDatos::ConexionBD());
// Whether the last backup is too old for the settings (or missing while there is data).
bool atrasado(const QDateTime& ahora = QDateTime::currentDateTime(),
              const QSqlDatabase& db = BaseDatos::ConexionBD());
// The two moments the program backs up on its own.
bool tocaAlCerrar(const QSqlDatabase& db = BaseDatos::ConexionBD());
bool tocaAlIniciar(const QDateTime& ahora = QDateTime::currentDateTime(),
                   const QSqlDatabase& db = BaseDatos::ConexionBD());
// "Último respaldo: hace 12 días", "... hoy", "... ayer", or "Nunca se hizo un respaldo".
QString textoAntiguedad(const QDateTime& ahora = QDateTime::currentDateTime(),
                        const QSqlDatabase& db = BaseDatos::ConexionBD());
// Whether the missing second folder was already told today; marks it told.
bool avisarSegundaHoy(const QDate& hoy = QDate::currentDate(),
                      const QSqlDatabase& db = BaseDatos::ConexionBD());
// A warning kept for the next start (a closing never waits on a message box), and taking it.
void guardarAvisoPendiente(const QString& aviso, const QSqlDatabase& db = BaseDatos::ConexionBD());
QString tomarAvisoPendiente(const QSqlDatabase& db = BaseDatos::ConexionBD());

} // namespace PoliticaRespaldo
