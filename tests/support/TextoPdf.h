#pragma once

// A PDF read back by an independent reader (pdftotext from poppler-utils, in its layout mode):
// what a person would read on the pages, one string per page.
#include "ProgramaLinux.h"

#include <QString>
#include <QStringList>

namespace TextoPdf {

inline QStringList paginas(const QString& ruta) {
    const ProgramaLinux::Resultado p =
        ProgramaLinux::correr(QStringLiteral("pdftotext"),
                              {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                               ProgramaLinux::ruta(ruta), QStringLiteral("-")});
    if (p.codigo != 0)
        return {};
    QStringList r = QString::fromUtf8(p.salida).split(u'\f');
    if (!r.isEmpty() && r.last().trimmed().isEmpty())
        r.removeLast(); // after the last page's form feed
    return r;
}

inline QString texto(const QString& ruta) {
    return paginas(ruta).join(u'\f');
}

// Whether every text of `partes` is found in `texto`, each after the one before it.
inline bool enOrden(const QString& texto, const QStringList& partes, QString* falta = nullptr) {
    qsizetype desde = 0;
    for (const QString& parte : partes) {
        const qsizetype i = texto.indexOf(parte, desde);
        if (i < 0) {
            if (falta)
                *falta = parte;
            return false;
        }
        desde = i + parte.size();
    }
    return true;
}

} // namespace TextoPdf
