#include "costos/ExportacionCostos.h"

#include "core/LibroXlsx.h"
#include "costos/SalidaCostos.h"

ExportacionCostos::ExportacionCostos(const QString& destino, const InformeCostos& informe, QObject* padre)
    : TrabajoCon(padre), destino_(destino), informe_(informe) {}

Resultado ExportacionCostos::hacer() {
    LibroXlsx libro(destino_, QStringLiteral("Costos"));
    auto fallo = [&libro] { return Resultado::fallo(libro.numeroError(), libro.error()); };
    if (!libro.abrir() || !libro.encabezados(InformeCostos::encabezados(informe_.por)))
        return fallo();
    QList<GrupoCosto> filas = informe_.grupos;
    filas << informe_.total;
    for (qsizetype i = 0; i < filas.size(); ++i) {
        if (cancelado())
            return Resultado::interrumpido();
        informar(i, filas.size());
        const GrupoCosto& g = filas.at(i);
        const QDate dia = SalidaCostos::dia(g, informe_.por);
        // The cents as they are shown, so the workbook adds up as the table does.
        if (!libro.fila({dia.isValid() ? CeldaLibro::deFecha(dia) : CeldaLibro::deTexto(g.grupo),
                         CeldaLibro::deNumero(Importe::kilos(g.gramosPlanificados)),
                         CeldaLibro::deNumero(Importe::kilos(g.gramosReales)),
                         CeldaLibro::deMoneda(g.costoPlanificado() / 100.0),
                         CeldaLibro::deMoneda(g.costoReal() / 100.0),
                         CeldaLibro::deMoneda(g.diferencia() / 100.0)}))
            return fallo();
    }
    if (!libro.cerrar())
        return fallo();
    informar(100);
    return exito(destino_);
}
