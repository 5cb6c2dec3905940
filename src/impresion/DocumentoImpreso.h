#pragma once

#include <QDate>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

// What goes on paper, built from the data before anything is drawn: a title, a few lines that
// say what the pages hold (the day, the period, the grouping), then sections, each an optional
// picture and a table. Rows come in groups that stay on one page when they fit on one (a trip
// of the loading sheet); the table's headers are repeated on every page it spans.
namespace DocumentoImpreso {

struct Columna {
    QString titulo;
    double ancho = 1; // share of the table's width
    Qt::Alignment alineacion = Qt::AlignLeft;
};

struct Fila {
    enum class Estilo { Normal, Destacada, Marcada };
    // One text per column; a single text spans the whole row (and wraps).
    QStringList celdas;
    Estilo estilo = Estilo::Normal; // Destacada: bold (a total); Marcada: shaded and bold
};

// Rows that belong together: never split across pages when they fit on one.
using Grupo = QList<Fila>;

struct Seccion {
    QString titulo;
    QImage imagen; // drawn above the table, scaled to the width, when not null
    QList<Columna> columnas;
    QList<Grupo> grupos;
    QString sinFilas; // said instead of the table when there is no row
};

struct Documento {
    QString titulo;
    QStringList datos; // the lines under the title
    QList<Seccion> secciones;
    QString granja; // in every page's header
};

// A section whose every row is a group of its own.
Seccion tabla(const QString& titulo, const QList<Columna>& columnas, const QList<QStringList>& filas,
              const QList<bool>& marcadas = {});

// Shares the width among the columns by what they hold: the longest text of each (its header
// counted by its longest word, since a header wraps), so that no column is narrower than its
// content needs when the page is wide enough.
void anchosPorContenido(Seccion& seccion);

// A day in the regional short form, with the year's four digits (a sheet is kept for years).
QString fecha(const QDate& dia);

} // namespace DocumentoImpreso
