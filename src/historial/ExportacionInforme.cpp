#include "historial/ExportacionInforme.h"

#include "core/LibroXlsx.h"
#include "core/Texto.h"
#include "historial/CargasPrecision.h"
#include "historial/SalidaInforme.h"

namespace {
CeldaLibro celda(const SalidaInforme::Valor& v, const GrupoPrecision& g, Agrupacion a) {
    using C = SalidaInforme::Valor::Clase;
    switch (v.clase) {
    case C::Nombre: {
        const QDate dia = SalidaInforme::dia(g, a);
        return dia.isValid() ? CeldaLibro::deFecha(dia) : CeldaLibro::deTexto(g.grupo);
    }
    case C::Texto:
        return v.texto.isEmpty() ? CeldaLibro::vacia() : CeldaLibro::deTexto(v.texto);
    case C::Porcentaje:
        return v.numero ? CeldaLibro::dePorcentaje(*v.numero) : CeldaLibro::vacia();
    case C::Cuenta:
    case C::Kg:
        return v.numero ? CeldaLibro::deNumero(*v.numero) : CeldaLibro::vacia();
    }
    return CeldaLibro::vacia();
}
} // namespace

ExportacionInforme::ExportacionInforme(const QString& destino, const InformePrecision& informe,
                                       QObject* padre)
    : TrabajoCon(padre), destino_(destino), informe_(informe) {}

Resultado ExportacionInforme::hacer() {
    LibroXlsx libro(destino_, QStringLiteral("Precisión"));
    auto fallo = [&libro] { return Resultado::fallo(libro.numeroError(), libro.error()); };
    if (!libro.abrir())
        return fallo();
    const QLocale local = Texto::regional();
    const QDateTime generado = generado_.isValid() ? generado_ : QDateTime::currentDateTime();
    auto texto = [](const QString& t) { return CeldaLibro::deTexto(t); };
    const QList<QList<CeldaLibro>> cabecera = {
        {texto(QStringLiteral("Precisión de carga"))},
        {texto(QStringLiteral("Período")), CeldaLibro::deFecha(informe_.desde),
         CeldaLibro::deFecha(informe_.hasta)},
        {texto(QStringLiteral("Agrupado por")), texto(InformePrecision::nombre(informe_.agrupacion))},
        {texto(QStringLiteral("Tolerancia")), texto(SalidaInforme::reglaTolerancia(informe_, local))},
        {texto(QStringLiteral("Resumen")), texto(SalidaInforme::resumen(informe_))},
        {texto(QStringLiteral("Generado")), CeldaLibro::deFecha(generado.date()),
         CeldaLibro::deHora(QTime(generado.time().hour(), generado.time().minute()))},
    };
    for (const QList<CeldaLibro>& f : cabecera)
        if (!libro.fila(f, f.size() == 1 ? LibroXlsx::Estilo::Negrita : LibroXlsx::Estilo::Normal))
            return fallo();
    if (!libro.fila({}) || !libro.encabezados(InformePrecision::encabezados(informe_.agrupacion)))
        return fallo();
    const qsizetype total = informe_.grupos.size();
    for (qsizetype i = 0; i < total; ++i) {
        if (cancelado())
            return Resultado::interrumpido(); // the workbook is dropped, the target untouched
        informar(i, total * 2);
        const GrupoPrecision& g = informe_.grupos.at(i);
        QList<CeldaLibro> celdas;
        for (const SalidaInforme::Valor& v : SalidaInforme::valores(g, informe_.agrupacion))
            celdas << celda(v, g, informe_.agrupacion);
        if (!libro.fila(celdas, g.marcado() ? LibroXlsx::Estilo::Resaltada : LibroXlsx::Estilo::Normal))
            return fallo();
    }
    if (!archivoBase_.isEmpty()) {
        CargasPrecision lista;
        if (const auto e = CargasPrecision::listarEnArchivo(archivoBase_, informe_, std::nullopt, &lista,
                                                            [this] { return cancelado(); }))
            return Resultado::fallo(e->numero.toInt(), e->descripcion);
        if (cancelado())
            return Resultado::interrumpido();
        if (!libro.nuevaHoja(QStringLiteral("Cargas")) ||
            !libro.encabezados(CargasPrecision::encabezados(informe_.agrupacion)))
            return fallo();
        const qsizetype n = lista.cargas.size();
        for (qsizetype i = 0; i < n; ++i) {
            if ((i & 0xfff) == 0) {
                if (cancelado())
                    return Resultado::interrumpido();
                informar(n + i, n * 2);
            }
            const CargaPrecision& c = lista.cargas.at(i);
            if (!libro.fila(CargasPrecision::celdas(c), c.juzgada() && !c.dentro
                                                            ? LibroXlsx::Estilo::Resaltada
                                                            : LibroXlsx::Estilo::Normal))
                return fallo();
        }
    }
    if (!libro.cerrar())
        return fallo();
    informar(100);
    return exito(destino_);
}
