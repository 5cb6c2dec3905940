#include "impresion/DocumentoImpreso.h"

#include "core/Texto.h"

#include <algorithm>

namespace DocumentoImpreso {

Seccion tabla(const QString& titulo, const QList<Columna>& columnas, const QList<QStringList>& filas,
              const QList<bool>& marcadas) {
    Seccion s;
    s.titulo = titulo;
    s.columnas = columnas;
    s.grupos.reserve(filas.size());
    for (qsizetype i = 0; i < filas.size(); ++i) {
        const bool marcada = i < marcadas.size() && marcadas.at(i);
        s.grupos.push_back({Fila{filas.at(i), marcada ? Fila::Estilo::Marcada : Fila::Estilo::Normal}});
    }
    s.sinFilas = QStringLiteral("Sin filas.");
    return s;
}

QString fecha(const QDate& dia) {
    const QLocale local = Texto::regional();
    QString formato = local.dateFormat(QLocale::ShortFormat);
    if (!formato.contains(QStringLiteral("yyyy")))
        formato.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return local.toString(dia, formato);
}

void anchosPorContenido(Seccion& seccion) {
    constexpr qsizetype kMinimo = 3;
    constexpr qsizetype kMaximo = 40; // a longer text wraps rather than squeeze the others
    QList<qsizetype> largos(seccion.columnas.size(), kMinimo);
    for (qsizetype c = 0; c < seccion.columnas.size(); ++c)
        for (const QString& palabra : seccion.columnas[c].titulo.split(u' ', Qt::SkipEmptyParts))
            largos[c] = std::max(largos[c], palabra.size());
    for (const Grupo& g : seccion.grupos)
        for (const Fila& f : g) {
            if (f.celdas.size() == 1 && seccion.columnas.size() > 1)
                continue; // spans the row
            for (qsizetype c = 0; c < f.celdas.size() && c < largos.size(); ++c)
                largos[c] = std::max(largos[c], f.celdas[c].size());
        }
    for (qsizetype c = 0; c < seccion.columnas.size(); ++c)
        seccion.columnas[c].ancho = double(std::min(largos[c], kMaximo)) + 1;
}

} // namespace DocumentoImpreso
