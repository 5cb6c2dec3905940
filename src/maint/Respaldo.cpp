#include "maint/Respaldo.h"

#include "core/ArchivoSeguro.h"
#include "maint/ArchivoCab.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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
    : Trabajo(padre), archivos_(archivos), destino_(destino) {
    for (const QString& a : archivos_)
        total_ += QFileInfo(a).size();
}

Respaldo::~Respaldo() {
    // Stopped before the members it works with go.
    cancelar();
    esperar();
}

Resultado Respaldo::hacer() {
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
        // The temporary name means nothing to the user: the message names the archive.
        fallo.descripcion.replace(QDir::toNativeSeparators(salida.rutaTemporal()),
                                  QDir::toNativeSeparators(destino_));
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    }
    if (verificar_) {
        const Resultado r = verificar(salida.rutaTemporal(), tamano);
        if (!r.ok)
            return r;
    }
    if (!salida.confirmar())
        return Resultado::fallo(salida.numeroError(), salida.error());
    informar(100);
    return Resultado::exito(tamano);
}

Resultado Respaldo::verificar(const QString& archivo, qint64 tamano) {
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
    QTemporaryDir copia;
    if (!copia.isValid())
        return noSeLee(QStringLiteral("no se pudo crear una carpeta temporal: %1").arg(copia.errorString()));
    const qint64 total = qMax<qint64>(tamano, 1);
    const bool ok = cab.extraerTodo(
        copia.path(),
        [&](qint64 leido) {
            informar(total * kPesoEscritura + leido * (kPesoTotal - kPesoEscritura), total * kPesoTotal);
            return !cancelado();
        },
        &fallo);
    if (!ok)
        return noSeLee(
            fallo.descripcion.replace(QDir::toNativeSeparators(archivo), QDir::toNativeSeparators(destino_)));
    for (int i = 0; i < archivos_.size(); ++i)
        if (!mismosBytes(archivos_[i], QDir(copia.path()).filePath(esperados[i])))
            return noSeLee(QStringLiteral("%1 no coincide con el original").arg(esperados[i]));
    return Resultado::exito();
}
