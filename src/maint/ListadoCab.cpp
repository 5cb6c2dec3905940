#include "maint/ListadoCab.h"

#include "maint/ArchivoCab.h"

#include <QTemporaryDir>

ListadoCab::ListadoCab(const QString& archivo, QObject* padre) : Trabajo(padre), archivo_(archivo) {}

ListadoCab::~ListadoCab() {
    cancelar();
    esperar();
}

Resultado ListadoCab::hacer() {
    ArchivoCab cab(archivo_);
    FalloCab fallo;
    if (!cab.abrir(&fallo))
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    QTemporaryDir carpeta;
    if (!carpeta.isValid())
        return Resultado::fallo(
            0, QStringLiteral("No se pudo crear una carpeta temporal: %1").arg(carpeta.errorString()));
    const bool ok = cab.extraerTodo(
        carpeta.path(),
        [&](qint64 leido) {
            informar(leido, cab.tamano());
            return !cancelado();
        },
        &fallo);
    if (!ok)
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    informar(100);
    return Resultado::exito(cab.nombres());
}
