#include "events/ExportacionInforme.h"

#include "core/LibroXlsx.h"
#include "events/SalidaInforme.h"

namespace {
CeldaLibro numero(const std::optional<double>& v) {
    return v ? CeldaLibro::deNumero(*v) : CeldaLibro::vacia();
}
} // namespace

ExportacionInforme::ExportacionInforme(const QString& destino, const InformePrecision& informe,
                                       QObject* padre)
    : Trabajo(padre), destino_(destino), informe_(informe) {}

ExportacionInforme::~ExportacionInforme() {
    detener();
}

Resultado ExportacionInforme::hacer() {
    LibroXlsx libro(destino_, QStringLiteral("Precisión"));
    auto fallo = [&libro] { return Resultado::fallo(libro.numeroError(), libro.error()); };
    if (!libro.abrir() || !libro.encabezados(InformePrecision::encabezados(informe_.agrupacion)))
        return fallo();
    const qsizetype total = informe_.grupos.size();
    for (qsizetype i = 0; i < total; ++i) {
        if (cancelado())
            return Resultado::interrumpido(); // the workbook is dropped, the target untouched
        informar(i, total);
        const GrupoPrecision& g = informe_.grupos.at(i);
        const QDate dia = SalidaInforme::dia(g, informe_.agrupacion);
        const CeldaLibro grupo = dia.isValid() ? CeldaLibro::deFecha(dia) : CeldaLibro::deTexto(g.grupo);
        if (!libro.fila({grupo, CeldaLibro::deNumero(g.sucesos), CeldaLibro::deNumero(g.sugerido),
                         CeldaLibro::deNumero(g.real), CeldaLibro::deNumero(g.diferencia()),
                         numero(g.diferenciaPorcentaje()), numero(g.desvioMedio()),
                         CeldaLibro::deNumero(g.fuera), CeldaLibro::deNumero(g.sinNumero)}))
            return fallo();
    }
    if (!libro.cerrar())
        return fallo();
    informar(100);
    return Resultado::exito(destino_);
}
