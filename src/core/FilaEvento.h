#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// One line of the events list: a load ("CARGA") or a discharge ("DESCARGA") recorded by the
// tablet, every cell a text as displayed. Both download roads produce these, each with what it
// read of the texts beside them, so whoever keeps the row never reads them again.
struct FilaEvento {
    QString tipo;         // "TIPO DE SUCESO": "CARGA" or "DESCARGA"
    QString fecha;        // "FECHA"
    QString hora;         // "HORA"
    QString recetaCorral; // "RECETA/CORRAL": recipe of a load, pen of a discharge
    QString alimento;     // "ALIMENTO": empty for a discharge
    QString sugerido;     // "SUGERIDO"
    QString real;         // "REAL"
    QString operario;     // "OPERARIO"

    // The day and the minute of the event (invalid when the text is not one) and the kilograms
    // (none when the text is not a number), as the road read them.
    struct Lectura {
        QDate dia;
        QTime minuto;
        std::optional<double> sugerido;
        std::optional<double> real;
    };
    // Empty for a row made of texts alone: it is then read from them (leer()).
    std::optional<Lectura> lectura = {};

    QStringList celdas() const {
        return {tipo, fecha, hora, recetaCorral, alimento, sugerido, real, operario};
    }
    // Two rows are the same when they show the same: how they were read does not count.
    bool operator==(const FilaEvento& o) const {
        return tipo == o.tipo && fecha == o.fecha && hora == o.hora && recetaCorral == o.recetaCorral &&
               alimento == o.alimento && sugerido == o.sugerido && real == o.real && operario == o.operario;
    }

    // What the texts hold: the reading the row carries, or one made from its cells (the date in
    // any form Texto::leerFecha knows, the time and the kilograms as Texto reads them).
    Lectura leer() const;

    static constexpr int kColumnas = 8;
    // The cell of column `columna` (0 to 7, in the order of encabezados()).
    const QString& celda(int columna) const;

    // The eight column headers of the events list, in order.
    static QStringList encabezados();
};
