#include "historial/SalidaInforme.h"

#include "core/CsvEventos.h"
#include "core/Texto.h"

#include <cmath>

namespace SalidaInforme {

namespace {
QLocale archivo() {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return c;
}

QString tendencia(const GrupoPrecision& g) {
    const auto antes = g.desvioMitad(0);
    const auto despues = g.desvioMitad(1);
    if (!antes || !despues)
        return {};
    // Judged on what is shown: two decimals of a percent.
    const double cambio = std::round(*despues * 100) - std::round(*antes * 100);
    return cambio < 0   ? QStringLiteral("mejora")
           : cambio > 0 ? QStringLiteral("empeora")
                        : QStringLiteral("igual");
}
} // namespace

QDate dia(const GrupoPrecision& g, Agrupacion a) {
    return a == Agrupacion::Dia ? QDate::fromString(g.grupo, QStringLiteral("yyyy-MM-dd")) : QDate();
}

QString nombreGrupo(const GrupoPrecision& g, Agrupacion a) {
    const QDate d = dia(g, a);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : g.grupo;
}

QList<Valor> valores(const GrupoPrecision& g, Agrupacion a) {
    using C = Valor::Clase;
    QList<Valor> r{{C::Nombre, std::nullopt, nombreGrupo(g, a)},
                   {C::Cuenta, g.sucesos, {}},
                   {C::Kg, g.sugerido, {}},
                   {C::Kg, g.real, {}},
                   {C::Kg, g.diferencia(), {}},
                   {C::Porcentaje, g.diferenciaPorcentaje(), {}},
                   {C::Porcentaje, g.desvioMedio(), {}},
                   {C::Cuenta, g.fuera, {}},
                   {C::Cuenta, g.sinNumero, {}},
                   {C::Porcentaje, g.dentroDeTolerancia(), {}},
                   {C::Kg, g.desvioMedioKg(), {}},
                   {C::Porcentaje, g.porcentajeDe(g.dentro2Porciento), {}},
                   {C::Porcentaje, g.porcentajeDe(g.dentro5Kg), {}},
                   {C::Porcentaje, g.porcentajeDe(g.mas62Kg), {}}};
    if (a == Agrupacion::Operario)
        r << Valor{C::Kg, g.kgDeMas, {}} << Valor{C::Kg, g.kgDeMenos, {}}
          << Valor{C::Porcentaje, g.desvioMitad(0), {}} << Valor{C::Porcentaje, g.desvioMitad(1), {}}
          << Valor{C::Texto, std::nullopt, tendencia(g)};
    return r;
}

QString texto(const Valor& v, const QLocale& local) {
    switch (v.clase) {
    case Valor::Clase::Nombre:
    case Valor::Clase::Texto:
        return v.texto;
    case Valor::Clase::Cuenta:
        return local.toString(static_cast<qlonglong>(v.numero.value_or(0)));
    case Valor::Clase::Kg:
    case Valor::Clase::Porcentaje: {
        if (!v.numero)
            return {};
        const int decimales = v.clase == Valor::Clase::Kg ? 1 : 2;
        // Rounded first, so a tiny negative shows as 0, not -0.
        const double escala = std::pow(10.0, decimales);
        const double redondeado = std::round(*v.numero * escala) / escala;
        return local.toString(redondeado == 0 ? 0.0 : redondeado, 'f', decimales);
    }
    }
    return {};
}

QStringList textos(const GrupoPrecision& g, Agrupacion a, const QLocale& local) {
    QStringList r;
    for (const Valor& v : valores(g, a))
        r << texto(v, local);
    return r;
}

QString resumen(const InformePrecision& informe) {
    const bool descargas = informe.agrupacion == Agrupacion::Corral;
    const QString clase = descargas ? QStringLiteral("descargas") : QStringLiteral("cargas");
    if (informe.grupos.isEmpty())
        return QStringLiteral("No hay %1 guardadas entre el %2 y el %3.")
            .arg(clase, informe.desde.toString(QStringLiteral("dd/MM/yyyy")),
                 informe.hasta.toString(QStringLiteral("dd/MM/yyyy")));
    const int sucesos = informe.sucesos();
    const qsizetype grupos = informe.grupos.size();
    return QStringLiteral("%1 de %2 %3 fuera de la tolerancia, en %4 de %5 %6")
        .arg(informe.fuera())
        .arg(sucesos)
        .arg(sucesos == 1 ? clase.chopped(1) : clase)
        .arg(informe.gruposMarcados())
        .arg(grupos)
        .arg(grupos == 1 ? QStringLiteral("grupo") : QStringLiteral("grupos"));
}

QString reglaTolerancia(const InformePrecision& informe, const QLocale& local) {
    QString r = local.toString(informe.tolerancia, 'g', 15) + QStringLiteral(" %");
    if (informe.tolerancias.isEmpty())
        return r;
    QStringList propias;
    for (const ToleranciaAlimento& t : informe.tolerancias)
        propias << t.alimento + QStringLiteral(": ") + t.tolerancia.texto(local);
    return r + QStringLiteral(" general; ") + propias.join(QStringLiteral("; "));
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
    const QLocale c = archivo();
    QByteArray r = CsvEventos::linea(InformePrecision::encabezados(informe.agrupacion));
    for (const GrupoPrecision& g : informe.grupos)
        r += CsvEventos::linea(textos(g, informe.agrupacion, c));
    return r;
}

} // namespace SalidaInforme
