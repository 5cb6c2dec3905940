#pragma once

#include "db/BaseDatos.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The feeds of the catalogue, found by the names the event history keeps. The tablet gets every
// name with its accents folded (the programme upload), so "Silaje De Maiz" in the history is the
// catalogue's "Silaje De Maíz": names are compared folded, without regard to case or surrounding
// blanks.
class CatalogoAlimentos {
public:
    struct Alimento {
        int id = 0;
        QString nombre;
    };

    static std::optional<ErrorBD> cargar(QSqlDatabase db, CatalogoAlimentos* catalogo);

    const QList<Alimento>& alimentos() const { return alimentos_; }
    // The feed a history name stands for; none when no feed has that name.
    std::optional<int> buscar(const QString& nombreHistorial) const;
    // The position in alimentos() of feed `id`; -1 when there is none.
    qsizetype posicion(int id) const { return porId_.value(id, -1); }
    QString nombre(int id) const;

    // The form names are compared in.
    static QString plegar(const QString& nombre);

private:
    QList<Alimento> alimentos_;
    QHash<QString, int> porNombre_; // folded name -> id (the lowest id when names repeat)
    QHash<int, qsizetype> porId_;
};
