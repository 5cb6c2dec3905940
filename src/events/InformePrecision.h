#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// How the accuracy report groups the kept events. Corral counts discharges, the others loads.
enum class Agrupacion { Alimento, Operario, Dia, Receta, Corral };

// One row of the accuracy report: how much was planned and how much was really loaded (or
// discharged) in one group. An event enters the kilogram sums only when both its suggested and its
// real kilograms are numbers; one that is not is still counted among the events (`sinNumero`),
// never read as 0.
struct GrupoPrecision {
    QString grupo;     // the feed, operator, recipe or pen as kept; the date as yyyy-MM-dd
    int sucesos = 0;   // loads, or discharges for Corral
    int sinNumero = 0; // of those, without a numeric suggested or real value
    double sugerido = 0;
    double real = 0;
    double sumaDesvios = 0; // sum of each event's |real - suggested| / suggested, in percent
    int conDesvio = 0;      // events with a numeric, non-zero suggested value
    int fuera = 0;          // events outside the tolerance

    double diferencia() const { return real - sugerido; }
    // (real - suggested) / suggested in percent; none when nothing was suggested.
    std::optional<double> diferenciaPorcentaje() const;
    // The mean of each event's absolute difference in percent; none without such events.
    std::optional<double> desvioMedio() const;
    // Whether the group's own difference lies beyond the tolerance (in percent, either way).
    bool fueraDeTolerancia(double tolerancia) const;

    // Adds one event. Beyond the tolerance means strictly beyond: 3 % off with a tolerance of
    // 3 is within; a suggested 0 with anything else really loaded is beyond.
    void agregar(std::optional<double> sugerido, std::optional<double> real, double tolerancia);
    // Adds another part's events of the same group.
    void sumar(const GrupoPrecision& otro);
};

// The accuracy report of the kept events of a date range: one row per group, sorted by name
// (by date for Dia).
struct InformePrecision {
    Agrupacion agrupacion = Agrupacion::Alimento;
    QDate desde;
    QDate hasta;
    double tolerancia = 3;
    QList<GrupoPrecision> grupos;

    // Reads `historial_sucesos` through `db` (which must be SQLite) on the calling thread. Stops
    // early, with an empty report, once `cancelado` answers true (asked every 65,536 events).
    static std::optional<ErrorBD> calcular(QSqlDatabase db, Agrupacion agrupacion, QDate desde, QDate hasta,
                                           double tolerancia, InformePrecision* informe,
                                           const std::function<bool()>& cancelado = {});
    // The same from the database file, on read-only connections of its own: a long range is read
    // as two halves on two threads. `cancelado` is asked from both.
    static std::optional<ErrorBD> calcularEnArchivo(const QString& archivo, Agrupacion agrupacion,
                                                    QDate desde, QDate hasta, double tolerancia,
                                                    InformePrecision* informe,
                                                    const std::function<bool()>& cancelado = {});

    // "Alimento", "Operario", "Día", "Receta", "Corral".
    static QString nombre(Agrupacion a);
    // The command line's words: alimento, operario, dia (or día), receta, corral.
    static std::optional<Agrupacion> leerAgrupacion(const QString& palabra);
    static QList<Agrupacion> todas();
    // The column headers of the report's table.
    static QStringList encabezados(Agrupacion a);
    // What stands for a group kept without a name.
    static QString sinNombre();
};
Q_DECLARE_METATYPE(InformePrecision)
