#pragma once

#include "costos/Importe.h"
#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// How the costs of a period are grouped.
enum class PorCosto { Dia, Receta, Corral, Alimento, Operario };

// One row of the costs: the planned and the real kilograms and their value at the price of each
// load's day. Values are exact (Importe) and rounded to the cent only when shown; the difference
// is the real cost minus the planned cost as shown, so a row always adds up.
struct GrupoCosto {
    QString grupo;   // the day as yyyy-MM-dd for Dia
    int sucesos = 0; // loads, or discharges for Corral
    qint64 gramosPlanificados = 0;
    qint64 gramosReales = 0;
    Importe::Valor valorPlanificado = 0;
    Importe::Valor valorReal = 0;

    qint64 costoPlanificado() const { return Importe::centavos(valorPlanificado); }
    qint64 costoReal() const { return Importe::centavos(valorReal); }
    qint64 diferencia() const { return costoReal() - costoPlanificado(); }
    void sumar(const GrupoCosto& otro);
};

// The feed costs of the loads kept in the event history from `desde` to `hasta`. A load is valued
// at the price in force on its day for the feed its name stands for (CatalogoAlimentos); its
// planned value is its suggested kilograms at the same price, so the difference is what the
// loading deviations cost. By pen, each trip (a run of loads and the discharges that follow it
// before the next load) shares its loads' values among its discharges by kilograms discharged:
// real values by real kilograms, planned values by suggested kilograms. Loads of a trip never
// discharged in the period are grouped as sinDescarga().
struct InformeCostos {
    PorCosto por = PorCosto::Alimento;
    QDate desde;
    QDate hasta;
    QList<GrupoCosto> grupos;  // by name, by date for Dia
    GrupoCosto total;          // from the loads themselves, rounded once
    QStringList sinAlimento;   // history names that no feed of the catalogue has
    QStringList sinPrecio;     // feeds loaded on a day before their first price (valued at 0)
    int descargasSinCarga = 0; // discharges before any load of the period (no cost)

    // Reads the history on `db` (SQLite) on the calling thread; `cancelado` is asked now and then.
    static std::optional<ErrorBD> calcular(QSqlDatabase db, PorCosto por, QDate desde, QDate hasta,
                                           InformeCostos* informe,
                                           const std::function<bool()>& cancelado = {});
    // The same on a read-only connection of its own to the database file (for a worker thread).
    static std::optional<ErrorBD> calcularEnArchivo(const QString& archivo, PorCosto por, QDate desde,
                                                    QDate hasta, InformeCostos* informe,
                                                    const std::function<bool()>& cancelado = {});

    // "Día", "Receta", "Corral", "Alimento", "Operario".
    static QString nombre(PorCosto p);
    // The command line's words: dia (or día), receta, corral, alimento, operario.
    static std::optional<PorCosto> leerPor(const QString& palabra);
    static QList<PorCosto> todas();
    static QStringList encabezados(PorCosto p);
    static QString sinDescarga();
    static QString sinNombre();
};
Q_DECLARE_METATYPE(InformeCostos)
