#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

// Pieces shared by the loading plan and the pen distribution.
namespace PlanComun {

// One entry of a picking combo: the id it carries and the text it shows.
struct Entrada {
    qint64 id = 0;
    QString texto;
};

struct Entradas {
    QList<Entrada> filas;
    std::optional<ErrorBD> error; // the rows read before a failure stay in `filas`
};

// The first two columns (id, description) of every row of a query.
Entradas leerEntradas(const QString& sql);

// A value read back from the database as the lists show it: numbers in the regional form,
// nothing for a null.
QString texto(const QVariant& v);

// An amount read back as the lists show it, with thousands separators; nothing for a null.
QString cantidad(const QVariant& v);

// A stored date ('yyyy-MM-dd') as the lists show it ("dd/MM/yyyy"); any other text unchanged.
QString fechaLista(const QString& guardada);
// A date of a list line back to a date (invalid when the text is not one).
QDate fechaDeLista(const QString& texto);

inline const QString kFormatoFechaLista = QStringLiteral("dd/MM/yyyy");
inline const QString kFormatoFechaBase = QStringLiteral("yyyy-MM-dd");
inline const QString kFormatoHora = QStringLiteral("HH:mm");

// How an amount of the plan is given; the lists show it after the number.
enum class Unidad { Kilos, Porcentaje };
inline const QString kSufijoKilos = QStringLiteral("Kg");
inline const QString kSufijoPorcentaje = QStringLiteral("%");
inline const QString& sufijo(Unidad u) {
    return u == Unidad::Kilos ? kSufijoKilos : kSufijoPorcentaje;
}

// Result of the load type lookup of a recipe or a trip.
struct TipoCarga {
    bool encontrado = false;
    bool kilos = false; // calcula_kg = 0
    std::optional<ErrorBD> error;
};
// Runs a query whose column `columna` is calcula_kg of the first row found, with one bound id.
TipoCarga leerTipoCarga(const QString& sql, int columna, qint64 id);

// Result of storing a row under change.
struct Cambio {
    bool encontrado = false;
    std::optional<ErrorBD> error;
};

// Runs the statements inside one transaction: either all take effect or none does.
std::optional<ErrorBD> enTransaccion(const std::function<std::optional<ErrorBD>()>& trabajo);

// Runs one statement with its values bound in order.
std::optional<ErrorBD> ejecutar(const QString& sql, const QVariantList& valores);

// Rows sharing a key are changed one at a time: `busqueda` finds the rowids of the rows with the
// key `clave` bound, and the first of them is written by `cambio` with `valores` and that rowid.
Cambio cambiarPrimera(const QString& busqueda, const QVariantList& clave, const QString& cambio,
                      QVariantList valores);

// Deletes, in one transaction, the rows `borrado` finds with each key of `claves` bound.
std::optional<ErrorBD> eliminarCada(const QString& borrado, const QList<QVariantList>& claves);

} // namespace PlanComun
