#include "cli/Comandos.h"

#include "core/CsvEventos.h"
#include "events/ExportacionSucesos.h"

bool escribirLibro(Trabajo& escritura, const QString& archivo, ContextoCli& ctx) {
    const Resultado r = escritura.ejecutar();
    if (!r.ok)
        ctx.errores << "Error " << r.numero << " (" << r.descripcion << ") al escribir " << archivo
                    << Qt::endl;
    return r.ok;
}

bool escribirSucesos(const QList<FilaEvento>& filas, const QString& csv, const QString& xlsx,
                     ContextoCli& ctx) {
    if ((!csv.isEmpty() || xlsx.isEmpty()) && !escribirCsv(CsvEventos::escribir(filas), csv, ctx))
        return false;
    if (xlsx.isEmpty())
        return true;
    // The same workbook as "EXPORTAR XLS" in the events window, in the list's own column order.
    ExportacionSucesos exportacion(xlsx, filas);
    return escribirLibro(exportacion, xlsx, ctx);
}
