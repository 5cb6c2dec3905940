#pragma once

#include "plan/PlanComun.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The loading plan, table `viajes`: one row per feed of a trip. A row is addressed by the triple
// (trip, recipe, feed); rows sharing a triple are changed one at a time and deleted together.
namespace PlanViajes {

inline const QString kInexistente = QStringLiteral("Inexistente");

// The picking combos: every recipe (`Cargar_recetas`) or feed (`Cargar_Alimento`) by description.
PlanComun::Entradas cargarRecetas();
PlanComun::Entradas cargarAlimentos();

// The triple that addresses a row.
struct Clave {
    int viaje = 0;
    int idReceta = 0;
    int idAlimento = 0;
    bool operator==(const Clave&) const = default;
};

// One line of the plan list, its ten cells in column order, and the row's triple.
struct Linea {
    QString fecha, hora, viaje, receta, operario, alimento, cantidad, orden, idReceta, idAlimento;
    Clave clave;
    QStringList celdas() const;
};

struct Lista {
    QList<Linea> lineas;
    std::optional<ErrorBD> error;
};

// Every row of `viajes` by trip and loading order, with the recipe's and feed's descriptions
// ("Inexistente" when gone) and the amount's unit ("Kg" or "%" by the recipe's load type,
// nothing when the recipe is gone), all read in one query.
Lista cargarViajes();

// The load type of a recipe ("select * from recetas where id = ").
PlanComun::TipoCarga tipoDeReceta(qint64 idReceta);

// A row as the window writes it.
struct Fila {
    int viaje = 0;
    QDate fecha;
    QString hora; // "HH:mm"
    int idReceta = 0;
    int idOperario = 0;
    int idAlimento = 0;
    double cantidad = 0;
    int orden = 0;
};

std::optional<ErrorBD> insertar(const Fila& f);
// Rewrites the first row found with the triple; `encontrado` is false when there is none.
PlanComun::Cambio cambiar(const Clave& anterior, const Fila& f);
// Deletes every row of each triple, all or nothing.
std::optional<ErrorBD> eliminar(const QList<Clave>& claves);

} // namespace PlanViajes
