#include "events/SalidaInforme.h"

#include "core/Texto.h"
#include "events/CsvEventos.h"

namespace SalidaInforme {

namespace {
QString porcentaje(const std::optional<double>& v, const QLocale& local) {
    return v ? local.toString(*v, 'f', 2) : QString();
}
} // namespace

QDate dia(const GrupoPrecision& g, Agrupacion a) {
    return a == Agrupacion::Dia ? QDate::fromString(g.grupo, QStringLiteral("yyyy-MM-dd")) : QDate();
}

QString nombreGrupo(const GrupoPrecision& g, Agrupacion a) {
    const QDate d = dia(g, a);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : g.grupo;
}

QStringList textos(const GrupoPrecision& g, Agrupacion a, const QLocale& local) {
    return {nombreGrupo(g, a),
            local.toString(g.sucesos),
            local.toString(g.sugerido, 'f', 1),
            local.toString(g.real, 'f', 1),
            local.toString(g.diferencia(), 'f', 1),
            porcentaje(g.diferenciaPorcentaje(), local),
            porcentaje(g.desvioMedio(), local),
            local.toString(g.fuera),
            local.toString(g.sinNumero)};
}

QString alineado(const InformePrecision& informe, const QLocale& local) {
    QList<QStringList> filas{InformePrecision::encabezados(informe.agrupacion)};
    for (const GrupoPrecision& g : informe.grupos)
        filas << textos(g, informe.agrupacion, local);
    QList<qsizetype> anchos(filas.first().size(), 0);
    for (const QStringList& f : filas)
        for (qsizetype c = 0; c < f.size(); ++c)
            anchos[c] = std::max(anchos[c], f[c].size());
    QString r;
    for (const QStringList& f : filas) {
        QStringList celdas;
        for (qsizetype c = 0; c < f.size(); ++c)
            celdas << (c == 0 ? f[c].leftJustified(anchos[c]) : f[c].rightJustified(anchos[c]));
        r += celdas.join(QStringLiteral("  ")) + u'\n';
    }
    return r;
}

QByteArray csv(const InformePrecision& informe) {
    auto numero = [](double v) { return Texto::numeroPunto(v); };
    auto opcional = [&](const std::optional<double>& v) { return v ? numero(*v) : QString(); };
    QByteArray r = CsvEventos::linea(InformePrecision::encabezados(informe.agrupacion));
    for (const GrupoPrecision& g : informe.grupos)
        r += CsvEventos::linea({nombreGrupo(g, informe.agrupacion), QString::number(g.sucesos),
                                numero(g.sugerido), numero(g.real), numero(g.diferencia()),
                                opcional(g.diferenciaPorcentaje()), opcional(g.desvioMedio()),
                                QString::number(g.fuera), QString::number(g.sinNumero)});
    return r;
}

} // namespace SalidaInforme
