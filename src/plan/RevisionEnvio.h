#pragma once

#include "core/Mensaje.h"
#include "db/BaseDatos.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

// What the programme upload would leave out or send incomplete, worked out before it starts.
// Both roads read the plan joined to the catalogues, so a plan row whose recipe or feed is no
// longer in its catalogue is not sent, nor are the pen rows of a trip none of whose rows has an
// existing recipe; a row whose operator is gone is sent, naming an operator the tablet is not given.
// Both roads and the command line ask this before sending anything.
namespace RevisionEnvio {

struct Revision {
    int filasPlan = 0;               // loading rows (viajes) left out
    int filasCorrales = 0;           // pen rows (descarga) left out
    QList<qint64> viajesOmitidos;    // their trip numbers, ascending
    int filasSinOperario = 0;        // loading rows sent with an operator that is gone
    QList<qint64> viajesSinOperario; // their trip numbers, ascending
    // Recipes, feeds and operators whose name has a comma, which the tablet takes for the end of
    // a value: "el alimento 12 (Maíz, partido)".
    QStringList nombresConComa;
    std::optional<ErrorBD> error; // the plan could not be read: the upload reports it itself

    bool omite() const { return filasPlan + filasCorrales > 0; }
    bool limpia() const { return !omite() && filasSinOperario == 0 && nombresConComa.isEmpty(); }
};

Revision revisar(const QSqlDatabase& db);

// The lines that say what is wrong, without a question (the command line prints them).
QString aviso(const Revision& r);
// The question of the windows: the lines, then whether to send the rest (Yes/No).
Mensaje pregunta(const Revision& r);

} // namespace RevisionEnvio
