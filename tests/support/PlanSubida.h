#pragma once
// Small plans for the upload tests and the messages the tablet must receive for them.
#include "BaseTemporal.h"

#include <QByteArray>
#include <QList>

namespace PlanSubida {

// A kilogram recipe (trip 3) and a percentage recipe (trip 4, pens of 1500 and 500 kg), accented
// names, an operator with "ñ".
inline bool cargarMixto(BaseTemporal& b) {
    return b.ejecutar("insert into recetas values (1, 'Mezcla', 0), (2, 'Engorde', -1)") &&
           b.ejecutar("insert into alimentos values (1, 'Maíz'), (2, 'Silo')") &&
           b.ejecutar("insert into operarios values (7, 'Peña')") &&
           b.ejecutar("insert into viajes values (3, '2024-01-15', '08:30', 1, 7, 1, 2800.5, 1), "
                      "(3, '2024-01-15', '08:30', 1, 7, 2, 1200, 2), "
                      "(4, '2024-01-16', '14:05', 2, 7, 1, 25, 1), "
                      "(4, '2024-01-16', '14:05', 2, 7, 2, 75, 2)") &&
           b.ejecutar("insert into descarga values (3, 'Corral 1', 60, 1), (3, 'Corral 2', 40, 2), "
                      "(4, 'Lote Ñ', 1500, 1), (4, 'Lote B', 500, 2)");
}

// The same plan without trip `quitado` and its pens.
inline bool cargarMixtoSin(BaseTemporal& b, int quitado) {
    return cargarMixto(b) && b.ejecutar(QStringLiteral("delete from viajes where id = %1").arg(quitado)) &&
           b.ejecutar(QStringLiteral("delete from descarga where id = %1").arg(quitado));
}

inline QList<QByteArray> esperadoMixto() {
    return {
        "'te paso' 'recetas' ('0','20240115','3','1','Mezcla','1','Maiz','2800.5','08:30','100','1','7'),",
        "'te paso' 'recetas' ('0','20240115','3','1','Mezcla','2','Silo','1200','08:30','100','2','7'),",
        "'te paso' 'recetas' ('0','20240116','4','2','Engorde','1','Maiz','500','14:05','100','1','7'),",
        "'te paso' 'recetas' ('0','20240116','4','2','Engorde','2','Silo','1500','14:05','100','2','7'),",
        "'te paso' 'descarga' ('0','20240115','3','1','Corral 1','60','1'),",
        "'te paso' 'descarga' ('0','20240115','3','1','Corral 2','40','2'),",
        "'te paso' 'descarga' ('0','20240116','4','2','Lote N','75','1'),",
        "'te paso' 'descarga' ('0','20240116','4','2','Lote B','25','2'),",
        "'te paso' 'alimentos' ('0','2','Silo'),('0','1','Maiz'),",
        "'te paso' 'operarios' ('0','7','Pena',''),",
        "'fin'",
    };
}

// What an empty plan with empty catalogues sends.
inline QList<QByteArray> esperadoVacio() {
    return {"'te paso' 'alimentos' ", "'te paso' 'operarios' ", "'fin'"};
}

} // namespace PlanSubida
