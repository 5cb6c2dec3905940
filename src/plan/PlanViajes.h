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

// The picking combos: every recipe (`cargarRecetas`) or feed (`cargarAlimentos`) by description.
PlanComun::Entradas cargarRecetas();
PlanComun::Entradas cargarAlimentos();

// The triple that addresses a row.
struct Clave {
    int viaje = 0;
    int idReceta = 0;
    int idAlimento = 0;
    bool operator==(const Clave&) const = default;
};

// One line of the plan list, its ten cells in column order, and the row's triple. The operator
// is shown by name; its number travels beside the cells.
struct Linea {
    QString fecha, hora, viaje, receta, operario, alimento, cantidad, orden, idReceta, idAlimento;
    int idOperario = 0;
    Clave clave;
    QStringList celdas() const;
};

struct Lista {
    QList<Linea> lineas;
    std::optional<ErrorBD> error;
};

// Every row of `viajes` by trip and loading order, with the recipe's, feed's and operator's
// names ("Inexistente", or "7 inexistente" for an operator, when gone) and the amount's unit ("Kg" or "%" by
// the recipe's load type, nothing when the recipe is gone), all read in one query.
Lista cargarViajes();

// An operator's name as the list shows it; "7 inexistente" when it is gone.
QString nombreOperario(qint64 id);
QString operarioInexistente(const QString& id);

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
// Several rows, all or none.
std::optional<ErrorBD> insertarVarias(const QList<Fila>& filas);

// One feed of the last trip of a recipe, as a new trip of it starts from.
struct Propuesta {
    int idAlimento = 0;
    QString alimento;
    double cantidad = 0;
    int orden = 0;
};
struct Propuestas {
    QList<Propuesta> filas; // by loading order
    std::optional<ErrorBD> error;
};
// The feeds of the recipe's last trip (latest date and time, then highest trip number) that are
// still in the catalogue; none when the recipe has no trip.
Propuestas ultimoViaje(qint64 idReceta);
// Rewrites the first row found with the triple; `encontrado` is false when there is none.
PlanComun::Cambio cambiar(const Clave& anterior, const Fila& f);
// Deletes every row of each triple, all or nothing.
std::optional<ErrorBD> eliminar(const QList<Clave>& claves);

} // namespace PlanViajes
