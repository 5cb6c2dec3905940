#pragma once

#include "core/Mensaje.h"
#include "db/BaseDatos.h"

#include <QList>
#include <QString>
#include <optional>

// A catalogue table (feeds, operators or recipes) as the catalogue editors hold it: rows of id and
// description, plus the load type for recipes ("Kilos" or "Porcentaje").
namespace Catalogo {

inline const QString kKilos = QStringLiteral("Kilos");
inline const QString kPorcentaje = QStringLiteral("Porcentaje");

struct Fila {
    QString id;
    QString descripcion;
    QString tipo; // recipes only

    bool operator==(const Fila&) const = default;
};

struct Lectura {
    QList<Fila> filas;            // the rows read, ordered by description
    std::optional<ErrorBD> error; // reading stopped here (a failing query or a null field)
};

// "select * from " + tabla + " order by descripcion ".
Lectura leer(const QString& tabla, bool conTipo);

// Replaces the whole table with the rows, inserted from the last to the first with their own ids.
// One transaction: either every row is stored or the table is left exactly as it was.
std::optional<ErrorBD> grabar(const QString& tabla, const QList<Fila>& filas, bool conTipo);

// An entry of the table that plan rows (`viajes`) still name: recipes by id_receta, feeds by
// id_alim, operators by id_op.
struct EnUso {
    Fila fila; // id and description as stored
    int filasPlan = 0;
};
struct Usos {
    QList<EnUso> quitadas; // ordered by description
    std::optional<ErrorBD> error;
};
// The entries stored in the table that `filas` no longer holds and that plan rows still use. A
// table other than the three catalogues has no uses.
Usos quitadasEnUso(const QString& tabla, const QList<Fila>& filas);
// "El alimento Rollo De Alfalfa se usa en 2 filas del plan. ¿Eliminarlo igual?" (Yes/No).
Mensaje preguntaQuitar(const QString& tabla, const EnUso& e, const QString& titulo);

// The id of a new row: the smallest number not below count + 1 that no row uses. Ids freed
// lower down are not reused. Fails (nullopt) when an id is not a number.
std::optional<qint64> nuevoId(const QStringList& ids);

} // namespace Catalogo
