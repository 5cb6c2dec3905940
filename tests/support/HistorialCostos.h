#pragma once

// A small farm's ten days, every figure of which is worked out by hand in the tests on costs and
// stock (2024-03-01 to 2024-03-10):
// - feeds 1 "Maíz", 2 "Silaje De Maíz", 3 "Soja"; the tablet sends them back folded ("Maiz",
//   "Silaje De Maiz", "soja"), and "Avena" is no feed at all;
// - prices: Maíz 0.25 from 03-01 and 0.30 from 03-06; Silaje 0.085 from 03-01 and 0.0925 from
//   03-08; Soja none;
// - Maíz: 12000 kg received 02-28, 5000 kg on 03-05, counted 8000 kg on 03-07; Silaje: 25000 kg
//   received 03-01;
// - every day at 08:00 one trip of "Engorde", 1000 kg of Maíz and 2000 kg of Silaje planned, the
//   real kilograms below, by Juan on odd days and Pedro on even ones, discharged at 09:00 and 09:05
//   into Corral 1 (1800 kg) and Corral 2 (1200 kg); day 1 also 100 kg of Avena and day 10 50 kg of
//   soja, both of "Recria", in the same trips.
#include "costos/MovimientosStock.h"
#include "costos/PreciosAlimento.h"
#include "db/BaseDatos.h"
#include "historial/HistorialSucesos.h"

#include <QSqlQuery>

namespace HistorialCostos {

inline QList<FilaEvento> sucesos() {
    static const double maiz[] = {990, 1010, 1000, 1005.5, 995, 1000, 1020, 980, 1000, 1001.25};
    static const double silaje[] = {2000, 1990, 2010, 2000, 2003, 1997, 2000, 2020, 1985, 2000};
    QList<FilaEvento> filas;
    for (int d = 1; d <= 10; ++d) {
        const QString fecha = QStringLiteral("%1/03/2024").arg(d, 2, 10, QLatin1Char('0'));
        const QString op = d % 2 ? QStringLiteral("Juan") : QStringLiteral("Pedro");
        if (d == 1)
            filas << FilaEvento{"CARGA", fecha, "07:55", "Recria", "Avena", "100", "100", op};
        filas << FilaEvento{"CARGA", fecha, "08:00", "Engorde", "Maiz", "1000", QString::number(maiz[d - 1]),
                            op}
              << FilaEvento{"CARGA",
                            fecha,
                            "08:10",
                            "Engorde",
                            "Silaje De Maiz",
                            "2000",
                            QString::number(silaje[d - 1]),
                            op};
        if (d == 10)
            filas << FilaEvento{"CARGA", fecha, "08:20", "Recria", "soja", "50", "50", op};
        filas << FilaEvento{"DESCARGA", fecha, "09:00", "Corral 1", "", "1800", "1800", op}
              << FilaEvento{"DESCARGA", fecha, "09:05", "Corral 2", "", "1200", "1200", op};
    }
    return filas;
}

// Fills the open shared database; false on any failure.
inline bool cargar() {
    QSqlDatabase db = BaseDatos::ConexionBD();
    QSqlQuery q(db);
    if (!q.exec(
            "insert into alimentos (id, descripcion) values (1, 'Maíz'), (2, 'Silaje De Maíz'), (3, 'Soja')"))
        return false;
    bool ok = !PreciosAlimento::guardar(db, 1, QDate(2024, 3, 1), 0.25) &&
              !PreciosAlimento::guardar(db, 1, QDate(2024, 3, 6), 0.30) &&
              !PreciosAlimento::guardar(db, 2, QDate(2024, 3, 1), 0.085) &&
              !PreciosAlimento::guardar(db, 2, QDate(2024, 3, 8), 0.0925) &&
              !MovimientosStock::ingresar(db, 1, QDate(2024, 2, 28), 12000, "Acopio Sur") &&
              !MovimientosStock::ingresar(db, 1, QDate(2024, 3, 5), 5000) &&
              !MovimientosStock::contar(db, 1, QDate(2024, 3, 7), 8000) &&
              !MovimientosStock::ingresar(db, 2, QDate(2024, 3, 1), 25000);
    return ok && !HistorialSucesos::fusionar(db, sucesos(), HistorialSucesos::kDirecta);
}

} // namespace HistorialCostos
