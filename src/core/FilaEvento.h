#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of the events list: a load ("CARGA") or a discharge ("DESCARGA") recorded by the
// tablet, every cell a text as displayed. Both download roads produce these.
struct FilaEvento {
    QString tipo;         // "TIPO DE SUCESO": "CARGA" or "DESCARGA"
    QString fecha;        // "FECHA"
    QString hora;         // "HORA"
    QString recetaCorral; // "RECETA/CORRAL": recipe of a load, pen of a discharge
    QString alimento;     // "ALIMENTO": empty for a discharge
    QString sugerido;     // "SUGERIDO"
    QString real;         // "REAL"
    QString operario;     // "OPERARIO"

    QStringList celdas() const {
        return {tipo, fecha, hora, recetaCorral, alimento, sugerido, real, operario};
    }
    bool operator==(const FilaEvento&) const = default;

    static constexpr int kColumnas = 8;
    // The cell of column `columna` (0 to 7, in the order of encabezados()).
    const QString& celda(int columna) const;

    // The eight column headers of the events list, in order.
    static QStringList encabezados();
};
