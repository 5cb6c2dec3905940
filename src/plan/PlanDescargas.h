#pragma once

#include "plan/PlanComun.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The pen distribution, table `descarga`: one row per pen served by a trip. A row is addressed by
// the pair (trip, pen); rows sharing a pair are changed one at a time and deleted together.
namespace PlanDescargas {

inline const QString kEliminado = QStringLiteral("ELIMINADO");

// The trips of the plan with their recipe, one entry per trip and recipe, shown as
// "trip | description" (`cargarViajes`).
PlanComun::Entradas cargarViajes();

// The pair that addresses a row.
struct Clave {
    int viaje = 0;
    QString rodeo;
    bool operator==(const Clave&) const = default;
};

// One line of the list, its five cells in column order, and the row's pair.
struct Linea {
    QString viaje, receta, corral, orden, cantidad;
    Clave clave;
    QStringList celdas() const;
};

struct Lista {
    QList<Linea> lineas;
    std::optional<ErrorBD> error;       // the list query failed
    std::optional<ErrorBD> errorNombre; // the recipe lookup failed; recipes then show the trip number
};

// Every row of `descarga` by trip and discharge order, with its trip's recipe ("ELIMINADO" when
// the trip is gone) and the quantity's unit, the recipes of all trips read in one query.
Lista cargarDescargas();

// The load type of a trip's recipe.
PlanComun::TipoCarga tipoDeViaje(qint64 viaje);

struct Fila {
    int viaje = 0;
    QString rodeo;
    double por = 0;
    int orden = 0;
};

std::optional<ErrorBD> insertar(const Fila& f);
PlanComun::Cambio cambiar(const Clave& anterior, const Fila& f);
std::optional<ErrorBD> eliminar(const QList<Clave>& claves);

} // namespace PlanDescargas
