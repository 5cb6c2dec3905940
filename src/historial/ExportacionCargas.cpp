#include "historial/ExportacionCargas.h"

#include "core/LibroXlsx.h"

ExportacionCargas::ExportacionCargas(const QString& destino, const QString& titulo,
                                     const CargasPrecision& lista, QObject* padre)
    : TrabajoCon(padre), destino_(destino), titulo_(titulo), lista_(lista) {}

Resultado ExportacionCargas::hacer() {
    LibroXlsx libro(destino_, QStringLiteral("Cargas"));
    auto fallo = [&libro] { return Resultado::fallo(libro.numeroError(), libro.error()); };
    if (!libro.abrir() || !libro.fila({CeldaLibro::deTexto(titulo_)}, LibroXlsx::Estilo::Negrita) ||
        !libro.fila({}) || !libro.encabezados(CargasPrecision::encabezados(lista_.agrupacion)))
        return fallo();
    const qsizetype n = lista_.cargas.size();
    for (qsizetype i = 0; i < n; ++i) {
        if ((i & 0xfff) == 0) {
            if (cancelado())
                return Resultado::interrumpido(); // the workbook is dropped, the target untouched
            informar(i, n);
        }
        const CargaPrecision& c = lista_.cargas.at(i);
        if (!libro.fila(CargasPrecision::celdas(c),
                        c.juzgada() && !c.dentro ? LibroXlsx::Estilo::Resaltada : LibroXlsx::Estilo::Normal))
            return fallo();
    }
    if (!libro.cerrar())
        return fallo();
    informar(100);
    return exito(destino_);
}
