#pragma once

#include "core/FilaEvento.h"

#include <QDate>
#include <QString>
#include <optional>

// One downloaded event as the history keeps it. The two download roads show the same event in
// different forms (the direct road dates it dd/mm/yyyy, the web road as the server sends it, most
// often yyyy-mm-dd, with or without seconds in the time, kilograms with "." or ","): here it gets
// one form, so the same event is recognised whichever road brought it.
struct EventoHistorial {
    QString tipo;                   // "CARGA" or "DESCARGA"
    QString fecha;                  // yyyy-MM-dd
    QString hora;                   // HH:mm
    QString recetaCorral;           // trimmed
    QString alimento;               // trimmed
    std::optional<double> sugerido; // none when the text received is not a number
    std::optional<double> real;
    QString textoSugerido; // the texts as received
    QString textoReal;
    QString operario; // the text shown, trimmed

    // The event of a listed row; none when its kind, date or time cannot be read (a row that a
    // download error left half filled).
    static std::optional<EventoHistorial> desde(const FilaEvento& fila);

    // What makes two events the same: kind, date, time, recipe or pen, feed, suggested and real
    // kilograms. Texts compare without regard to case, numbers as numbers ("985" is "985.0"),
    // texts that are not numbers as texts. The operator is left out: the direct road gives a
    // discharge the operator of the latest load received, which depends on the range asked for,
    // and the web road none; the road and the time of arrival are left out too.
    QString clave() const;

    // "H:mm" or "HH:mm", seconds and fractions allowed and dropped; returned as "HH:mm".
    static std::optional<QString> leerHora(QStringView texto);
    // Kilograms as the tablet or the server write them: an optional sign, digits and at most one
    // decimal separator, "." or "," ("1250.5", "1250,5", "985"). A text with both signs ("1.250,5")
    // or more than one is not a number: a thousands separator cannot be told from a decimal one.
    static std::optional<double> leerKilos(const QString& texto);
};
