#pragma once

#include "db/BaseDatos.h"
#include "historial/ToleranciasAlimento.h"

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
    // Bands comparable with published herd figures: events within 2 % of plan, within 5 kg, and
    // beyond 62.5 kg either way.
    int dentro2Porciento = 0;
    int dentro5Kg = 0;
    int mas62Kg = 0;
    double sumaDesviosKg = 0; // sum of each event's |real - suggested|
    double kgDeMas = 0;       // sum of what was loaded beyond plan
    double kgDeMenos = 0;     // sum of what was left short of plan
    // The mean deviation's parts in each half of the range, for the trend.
    double sumaDesviosMitad[2] = {0, 0};
    int conDesvioMitad[2] = {0, 0};

    double diferencia() const { return real - sugerido; }
    // Events with numeric suggested and real values: the ones judged.
    int juzgados() const { return sucesos - sinNumero; }
    // A group is marked when any of its events is outside the tolerance: overloads and underloads
    // must not cancel out.
    bool marcado() const { return fuera > 0; }
    // `n` events as a share of those judged, in percent; none when nothing was judged.
    std::optional<double> porcentajeDe(int n) const;
    // The share of judged events within the tolerance, in percent.
    std::optional<double> dentroDeTolerancia() const { return porcentajeDe(juzgados() - fuera); }
    // The mean of each judged event's |real - suggested|, in kilograms.
    std::optional<double> desvioMedioKg() const;
    // The mean deviation in percent over the first (0) or second (1) half of the range.
    std::optional<double> desvioMitad(int mitad) const;
    // (real - suggested) / suggested in percent; none when nothing was suggested.
    std::optional<double> diferenciaPorcentaje() const;
    // The mean of each event's absolute difference in percent; none without such events.
    std::optional<double> desvioMedio() const;
    // Whether the group's net difference lies beyond the tolerance (in percent, either way). Net
    // errors cancel out: what marks a group is marcado().
    bool fueraDeTolerancia(double tolerancia) const;

    // Adds one event. Beyond the tolerance means strictly beyond: 3 % off with a tolerance of
    // 3 is within; a suggested 0 with anything else really loaded is beyond.
    void agregar(std::optional<double> sugerido, std::optional<double> real, double tolerancia);
    // The same judged by a feed's own tolerance; `mitad` is 0 or 1, the half of the range it fell in.
    void agregar(std::optional<double> sugerido, std::optional<double> real,
                 const ToleranciaCarga& tolerancia, int mitad);
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
    // The feeds' own tolerances the events were judged by (the others by `tolerancia`).
    QList<ToleranciaAlimento> tolerancias;

    // Events and groups, all and outside the tolerance.
    int sucesos() const;
    int fuera() const;
    int gruposMarcados() const;
    // The day that ends the first half of the range (the trend compares the halves).
    QDate finPrimeraMitad() const { return desde.addDays(desde.daysTo(hasta) / 2); }

    // Reads `historial_sucesos` and `tolerancias_alimento` through `db` (which must be SQLite) on
    // the calling thread. Stops early, with an empty report, once `cancelado` answers true (asked
    // every 65,536 events).
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
    // The column headers of the report's table (by operator, a scorecard's columns follow).
    static QStringList encabezados(Agrupacion a);
    // The kind of event a grouping counts: "CARGA", or "DESCARGA" by pen.
    static QString tipoSuceso(Agrupacion a);
    // What stands for a group kept without a name.
    static QString sinNombre();
};
Q_DECLARE_METATYPE(InformePrecision)
