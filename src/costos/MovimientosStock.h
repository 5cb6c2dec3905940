#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// What was typed about a feed's stock (table `movimientos_stock`): receipts, and physical counts
// that set the stock to what was on hand at the close of their day. Consumption is never typed: it
// is the real kilograms of the loads kept in the event history (ConsumoDiario).
class MovimientosStock {
public:
    static inline const QString kIngreso = QStringLiteral("INGRESO");
    static inline const QString kConteo = QStringLiteral("CONTEO");

    struct Movimiento {
        int idAlimento = 0;
        QDate fecha;
        QString tipo; // kIngreso or kConteo
        qint64 gramos = 0;
        QString proveedor;
        QString nota;
    };

    static std::optional<ErrorBD> ingresar(QSqlDatabase db, int idAlimento, QDate fecha, double kg,
                                           const QString& proveedor = {}, const QString& nota = {});
    static std::optional<ErrorBD> contar(QSqlDatabase db, int idAlimento, QDate fecha, double kg,
                                         const QString& nota = {});
    // Every movement up to `hasta`, by date and in the order typed.
    static std::optional<ErrorBD> listar(QSqlDatabase db, QDate hasta, QList<Movimiento>* movimientos);
};
