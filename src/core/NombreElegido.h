#pragma once

#include <QList>
#include <QString>

#include <optional>

// The choice of a list a word names, as typed on the command line: its name in any case, with or
// without accents ("dia" for "Día"), spaces around it ignored.
template <typename Opcion, typename Nombre>
std::optional<Opcion> nombreElegido(const QString& palabra, const QList<Opcion>& opciones, Nombre nombre) {
    const auto llano = [](const QString& t) {
        QString r;
        for (const QChar c : t.normalized(QString::NormalizationForm_D))
            if (c.category() != QChar::Mark_NonSpacing)
                r += c;
        return r.toLower();
    };
    const QString p = palabra.trimmed().toLower();
    for (const Opcion o : opciones)
        if (p == nombre(o).toLower())
            return o;
    for (const Opcion o : opciones)
        if (p == llano(nombre(o)))
            return o;
    return std::nullopt;
}
