#include "core/CsvEventos.h"

namespace CsvEventos {

namespace {
QString celda(const QString& t) {
    if (!t.contains(u',') && !t.contains(u'"') && !t.contains(u'\n') && !t.contains(u'\r'))
        return t;
    QString r = t;
    r.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + r + u'"';
}
} // namespace

QByteArray linea(const QStringList& celdas) {
    QStringList c;
    c.reserve(celdas.size());
    for (const QString& t : celdas)
        c << celda(t);
    return c.join(u',').toUtf8() + "\r\n";
}

QByteArray escribir(const QList<FilaEvento>& filas) {
    QByteArray r = linea(FilaEvento::encabezados());
    for (const FilaEvento& f : filas)
        r += linea(f.celdas());
    return r;
}

} // namespace CsvEventos
