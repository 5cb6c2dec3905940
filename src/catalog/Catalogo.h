#pragma once

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

// The id of a new row: the smallest number not below count + 1 that no row uses. Ids freed
// lower down are not reused. Fails (nullopt) when an id is not a number.
std::optional<qint64> nuevoId(const QStringList& ids);

} // namespace Catalogo
