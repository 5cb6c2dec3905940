#include "cli/Comandos.h"

#include "events/CsvEventos.h"
#include "events/ExportacionSucesos.h"

bool escribirXlsx(const QList<FilaEvento>& filas, const QString& archivo, ContextoCli& ctx) {
    // The same workbook as "EXPORTAR XLS" in the events window, in the list's own column order.
    ExportacionSucesos exportacion(archivo, filas);
    const Resultado r = exportacion.ejecutar();
    if (!r.ok)
        ctx.errores << "Error " << r.numero << " (" << r.descripcion << ") al escribir " << archivo
                    << Qt::endl;
    return r.ok;
}

bool escribirSucesos(const QList<FilaEvento>& filas, const QString& csv, const QString& xlsx,
                     ContextoCli& ctx) {
    if ((!csv.isEmpty() || xlsx.isEmpty()) && !escribirCsv(CsvEventos::escribir(filas), csv, ctx))
        return false;
    return xlsx.isEmpty() || escribirXlsx(filas, xlsx, ctx);
}
