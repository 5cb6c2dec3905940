#include "maint/ListadoCab.h"

#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "maint/ArchivoCab.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

ListadoCab::ListadoCab(const QString& archivo, QObject* padre) : TrabajoCon(padre), archivo_(archivo) {}

namespace {
// A hidden work folder for `archivo` in `carpeta`, named as the archive's temporary files are
// (so that what a killed listing leaves is removed by the next operation there); it goes with
// `reserva`. Empty when the folder cannot be written.
QString carpetaPropia(std::unique_ptr<ArchivoSeguro>& reserva, const QString& carpeta,
                      const QString& archivo) {
    reserva = std::make_unique<ArchivoSeguro>(QDir(carpeta).filePath(QFileInfo(archivo).fileName()));
    if (!reserva->preparar())
        return {};
    const QString trabajo = reserva->rutaAuxiliar(1);
    return QDir().mkdir(trabajo) ? trabajo : QString();
}
} // namespace

Resultado ListadoCab::hacer() {
    ArchivoCab cab(archivo_);
    FalloCab fallo;
    if (!cab.abrir(&fallo))
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    QStringList carpetas{QFileInfo(archivo_).absolutePath()};
    if (!carpetaTrabajo_.isEmpty())
        carpetas << carpetaTrabajo_;
    std::unique_ptr<ArchivoSeguro> reserva;
    QString trabajo;
    for (const QString& c : carpetas) {
        // With the folder's lock free, what killed listings and backups left there goes first.
        {
            CerrojoMantenimiento cerrojo(c);
            if (cerrojo.tomar(nullptr, 0))
                ArchivoSeguro::quitarTemporalesEn(c, QStringLiteral("*.cab"));
        }
        trabajo = carpetaPropia(reserva, c, archivo_);
        if (!trabajo.isEmpty())
            break;
    }
    if (trabajo.isEmpty())
        return Resultado::fallo(
            0, QStringLiteral("No hay dónde comprobar el archivo %1: no se puede escribir en la carpeta %2.")
                   .arg(QDir::toNativeSeparators(archivo_), QDir::toNativeSeparators(carpetas.last())));
    const bool ok = cab.extraerNumerados(
        trabajo,
        [&](qint64 leido) {
            informar(leido, cab.tamano());
            return !cancelado();
        },
        &fallo);
    reserva.reset();
    if (!ok)
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    informar(100);
    return exito(cab.nombres());
}
