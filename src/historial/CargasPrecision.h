#pragma once

#include "core/LibroXlsx.h"
#include "historial/InformePrecision.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QMetaType>
#include <QString>

#include <functional>
#include <optional>

// One kept load (or discharge, by pen) behind the accuracy report, judged by its feed's tolerance.
struct CargaPrecision {
    QString fecha; // yyyy-MM-dd
    QString hora;  // HH:mm
    // The trip of the day: the tablet does not record it, so loads are counted into trips as they
    // come, a new one starting with the day's first load, after a discharge, or with another recipe.
    int viaje = 0;
    QString recetaCorral;
    QString alimento;
    QString operario;
    std::optional<double> sugerido;
    std::optional<double> real;
    bool dentro = true; // within the tolerance; judged only with both numbers

    bool juzgada() const { return sugerido && real; }
    std::optional<double> diferencia() const;
    // Over the planned amount's size; none without a plan to compare with.
    std::optional<double> diferenciaPorcentaje() const;
};

// The loads of a report's range, as the window lists them, the command line prints them and the
// workbook's second sheet holds them.
struct CargasPrecision {
    Agrupacion agrupacion = Agrupacion::Alimento;
    QList<CargaPrecision> cargas;

    // The loads (discharges by pen) of [desde, hasta] by date and time, judged as `informe` judges
    // them; only those of the group named `grupo` (as the report names it) when one is given.
    // Stops early, with an empty list, once `cancelado` answers true.
    static std::optional<ErrorBD> listar(QSqlDatabase db, const InformePrecision& informe,
                                         const std::optional<QString>& grupo, CargasPrecision* lista,
                                         const std::function<bool()>& cancelado = {});
    // The same on a read-only connection of its own to the database file.
    static std::optional<ErrorBD> listarEnArchivo(const QString& archivo, const InformePrecision& informe,
                                                  const std::optional<QString>& grupo, CargasPrecision* lista,
                                                  const std::function<bool()>& cancelado = {});

    // FECHA, HORA, VIAJE, RECETA (CORRAL for discharges), ALIMENTO, OPERARIO, SUGERIDO KG, REAL KG,
    // DIFERENCIA KG, DIFERENCIA %, TOLERANCIA.
    static QStringList encabezados(Agrupacion a);
    // One load's cells as shown: kilograms with one decimal, percentages with two, "dentro" or
    // "fuera" (empty when it could not be judged).
    static QStringList textos(const CargaPrecision& c, const QLocale& local);
    // One load's workbook cells: a date, a time and real numbers, the percentage as a percentage.
    static QList<CeldaLibro> celdas(const CargaPrecision& c);
    // Headers and one line per load, in columns.
    QString alineado(const QLocale& local) const;
    // CSV separated by ";": fecha;hora;viaje;receta;alimento;operario;kg_planificado;kg_real;
    // diferencia_kg;diferencia_pct;dentro, numbers with "." rounded as shown, dentro "sí" or "no".
    QByteArray csv() const;
};
Q_DECLARE_METATYPE(CargasPrecision)
