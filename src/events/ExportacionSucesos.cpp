#include "events/ExportacionSucesos.h"

#include "core/LibroXlsx.h"
#include "events/CeldasExportacion.h"

#include <QFileInfo>

namespace {
constexpr int kColumnas = FilaEvento::kColumnas;
constexpr qsizetype kCadaCuanto = 512; // rows between two checks for cancel and progress

} // namespace

ExportacionSucesos::ExportacionSucesos(const QString& destino, const QList<FilaEvento>& filas,
                                       const QList<int>& columnas, QObject* padre)
    : TrabajoCon(padre), destino_(destino), filas_(filas), columnas_(columnas) {
    if (columnas_.isEmpty())
        for (int c = 0; c < kColumnas; ++c)
            columnas_ << c;
}

QString ExportacionSucesos::nombreLibro(const QString& ruta) {
    return LibroXlsx::nombreLibro(ruta);
}

Resultado ExportacionSucesos::hacer() {
    LibroXlsx libro(destino_, QStringLiteral("Sucesos"));
    auto fallo = [&libro] { return Resultado::fallo(libro.numeroError(), libro.error()); };
    if (!libro.abrir())
        return fallo();

    const QStringList todos = FilaEvento::encabezados();
    QStringList encabezados;
    for (int c : columnas_)
        encabezados << todos.value(c);
    if (!libro.encabezados(encabezados))
        return fallo();

    const qsizetype total = filas_.size();
    QList<CeldaLibro> celdas(columnas_.size());
    for (qsizetype i = 0; i < total; ++i) {
        if (i % kCadaCuanto == 0) {
            if (cancelado())
                return Resultado::interrumpido(); // the workbook is dropped, the target untouched
            informar(i, total);
        }
        const FilaEvento& f = filas_.at(i); // at(): the shared copy is only read, never detached
        // The main text is the kind of event wherever its column is shown.
        for (qsizetype k = 0; k < columnas_.size(); ++k)
            celdas[k] = CeldasExportacion::celda(f.celda(columnas_[k]), columnas_[k] == 0);
        if (!libro.fila(celdas))
            return fallo();
    }
    if (cancelado())
        return Resultado::interrumpido();
    if (!libro.cerrar())
        return fallo();
    informar(100);
    return exito(destino_);
}
