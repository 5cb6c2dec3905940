#include "maint/Respaldo.h"

#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "maint/ArchivoCab.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

// Shares of the progress bar: compressing is about nine times the work of reading back.
constexpr qint64 kPesoEscritura = 9;
constexpr qint64 kPesoTotal = 10;

bool mismosBytes(const QString& a, const QString& b) {
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 kBloque = 1 << 20;
    while (!fa.atEnd()) {
        if (fa.read(kBloque) != fb.read(kBloque))
            return false;
    }
    return true;
}

} // namespace

Respaldo::Respaldo(const QStringList& archivos, const QString& destino, QObject* padre)
    : TrabajoCon(padre), archivos_(archivos), destino_(destino) {
    for (const QString& a : archivos_)
        total_ += QFileInfo(a).size();
}

Resultado Respaldo::hacer() {
    // The folders the backup reads and writes, each locked once (always in the same order).
    QStringList carpetas;
    for (const QString& a : archivos_)
        carpetas << QFileInfo(a).absolutePath();
    const QString carpetaDestino = QFileInfo(destino_).absolutePath();
    carpetas << carpetaDestino;
    carpetas.removeDuplicates();
    std::vector<std::unique_ptr<CerrojoMantenimiento>> cerrojos;
    for (const QString& c : carpetas) {
        if (!QFileInfo(c).isDir())
            continue; // reported below by what needs it, with its own words
        auto cerrojo = std::make_unique<CerrojoMantenimiento>(c);
        QString error;
        if (!cerrojo->tomar(&error))
            return Resultado::fallo(EBUSY, error);
        cerrojos.push_back(std::move(cerrojo));
    }
    // What killed backups left here: no other backup is writing in this folder now.
    if (QFileInfo(carpetaDestino).isDir())
        ArchivoSeguro::quitarTemporalesEn(carpetaDestino, QStringLiteral("*.cab"));

    ArchivoSeguro salida(destino_);
    if (!salida.preparar())
        return Resultado::fallo(salida.numeroError(), salida.error());
    const qint64 total = qMax<qint64>(total_, 1);
    const qint64 peso = verificar_ ? kPesoEscritura : kPesoTotal;
    FalloCab fallo;
    const qint64 tamano = escribirCab(
        archivos_, salida.rutaTemporal(),
        [&](qint64 hecho) {
            informar(hecho * peso, total * kPesoTotal);
            return !cancelado();
        },
        &fallo);
    if (tamano < 0) {
        if (cancelado())
            return Resultado::interrumpido(); // the archive stopped short because the user asked
        // The temporary name means nothing to the user: the message names the archive.
        fallo.descripcion.replace(QDir::toNativeSeparators(salida.rutaTemporal()),
                                  QDir::toNativeSeparators(destino_));
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    }
    if (verificar_) {
        // The copy read back goes beside the archive, in a hidden folder of the archive's own.
        const QString copia = salida.rutaAuxiliar(1);
        if (!QDir().mkdir(copia))
            return Resultado::fallo(errno ? errno : EACCES,
                                    QStringLiteral("No se puede escribir en la carpeta %1 para comprobar el "
                                                   "archivo de Back Up; no se guardó.")
                                        .arg(QDir::toNativeSeparators(carpetaDestino)));
        const Resultado r = verificar(salida.rutaTemporal(), tamano, copia);
        QDir(copia).removeRecursively();
        if (!r.ok)
            return r;
    }
    if (!salida.confirmar())
        return Resultado::fallo(salida.numeroError(), salida.error());
    informar(100);
    return exito(tamano);
}

Resultado Respaldo::verificar(const QString& archivo, qint64 tamano, const QString& carpeta) {
    const auto noSeLee = [&](const QString& por) {
        return Resultado::fallo(
            0, QStringLiteral("El archivo de Back Up %1 no se pudo leer después de escribirlo "
                              "(%2); no se guardó.")
                   .arg(QDir::toNativeSeparators(destino_), por));
    };
    ArchivoCab cab(archivo);
    FalloCab fallo;
    if (!cab.abrir(&fallo))
        return noSeLee(fallo.descripcion);
    QStringList esperados;
    for (const QString& a : archivos_)
        esperados << QFileInfo(a).fileName();
    if (cab.nombres() != esperados)
        return noSeLee(QStringLiteral("no contiene los archivos esperados"));
    const qint64 total = qMax<qint64>(tamano, 1);
    const bool ok = cab.extraerNumerados(
        carpeta,
        [&](qint64 leido) {
            informar(total * kPesoEscritura + leido * (kPesoTotal - kPesoEscritura), total * kPesoTotal);
            return !cancelado();
        },
        &fallo);
    if (!ok && cancelado())
        return Resultado::interrumpido();
    if (!ok && fallo.numero == ENOSPC)
        return Resultado::fallo(ENOSPC,
                                QStringLiteral("No queda espacio en el disco de la carpeta %1 para "
                                               "comprobar el archivo de Back Up; no se guardó.")
                                    .arg(QDir::toNativeSeparators(QFileInfo(destino_).absolutePath())));
    if (!ok)
        return noSeLee(
            fallo.descripcion.replace(QDir::toNativeSeparators(archivo), QDir::toNativeSeparators(destino_)));
    for (int i = 0; i < archivos_.size(); ++i)
        if (!mismosBytes(archivos_[i], QDir(carpeta).filePath(QString::number(i + 1))))
            return noSeLee(QStringLiteral("%1 no coincide con el original").arg(esperados[i]));
    return Resultado::exito();
}
