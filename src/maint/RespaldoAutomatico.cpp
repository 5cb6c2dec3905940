#include "maint/RespaldoAutomatico.h"

#include "core/ArchivoSeguro.h"
#include "maint/CatalogoRespaldos.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RespaldoAutomatico::RespaldoAutomatico(const QStringList& archivos, const QString& carpeta, int conservar,
                                       const QString& segunda, QObject* padre)
    : TrabajoCon(padre), archivos_(archivos), carpeta_(QDir::fromNativeSeparators(carpeta)),
      conservar_(qMax(1, conservar)), segunda_(QDir::fromNativeSeparators(segunda)) {
    for (const QString& a : archivos_)
        total_ += QFileInfo(a).size();
}

Resultado RespaldoAutomatico::hacer() {
    if (archivos_.isEmpty())
        return Resultado::fallo(0, Mantenimiento::mensajeSinArchivos().texto);
    if (!QDir().mkpath(carpeta_))
        return Resultado::fallo(0, QStringLiteral("No se pudo crear la carpeta de los respaldos %1.")
                                       .arg(QDir::toNativeSeparators(carpeta_)));
    const QDateTime momento = momento_.isValid() ? momento_ : QDateTime::currentDateTime();
    const QString destino =
        Mantenimiento::rutaLibre(QDir(carpeta_).filePath(CatalogoRespaldos::nombreAutomatico(momento)));
    Respaldo respaldo(archivos_, destino);
    // The backup runs here, on this job's thread; a cancel reaches it at its next progress step.
    const ResultadoCon<qint64> r = respaldo.ejecutar([&](int p) {
        if (cancelado())
            respaldo.cancelar();
        informar(p * 95 / 100);
    });
    if (!r.ok)
        return cancelado() ? Resultado::interrumpido() : static_cast<const Resultado&>(r);

    // Verified: only now may older automatic archives go.
    QStringList borrados = CatalogoRespaldos::rotar(carpeta_, conservar_);
    QString copia;
    const QString aviso = segunda_.isEmpty() ? QString() : copiar(destino, &copia, &borrados);
    informar(100);
    return exito({destino, r.valor, copia, aviso, borrados});
}

QString RespaldoAutomatico::copiar(const QString& archivo, QString* copia, QStringList* borrados) {
    const QString carpeta = QDir::toNativeSeparators(segunda_);
    if (!QFileInfo(segunda_).isDir())
        return QStringLiteral(
                   "No se encontró la segunda carpeta de respaldos %1: el respaldo quedó solo en %2.")
            .arg(carpeta, QDir::toNativeSeparators(carpeta_));
    const QString destino = Mantenimiento::rutaLibre(QDir(segunda_).filePath(QFileInfo(archivo).fileName()));
    const auto fallo = [&](const QString& por) {
        return QStringLiteral("No se pudo copiar el respaldo en %1 (%2): quedó solo en %3.")
            .arg(carpeta, por, QDir::toNativeSeparators(carpeta_));
    };
    ArchivoSeguro salida(destino);
    if (!salida.preparar())
        return fallo(salida.error());
    {
        QFile origen(archivo);
        QFile temporal(salida.rutaTemporal());
        if (!origen.open(QIODevice::ReadOnly) || !temporal.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fallo(origen.isOpen() ? temporal.errorString() : origen.errorString());
        constexpr qint64 kBloque = 1 << 20;
        while (!origen.atEnd()) {
            if (cancelado())
                return fallo(QStringLiteral("cancelado"));
            const QByteArray bloque = origen.read(kBloque);
            if (bloque.isEmpty() && origen.error() != QFile::NoError)
                return fallo(origen.errorString());
            if (temporal.write(bloque) != bloque.size())
                return fallo(temporal.errorString());
        }
        if (!temporal.flush())
            return fallo(temporal.errorString());
    }
    if (!salida.confirmar())
        return fallo(salida.error());
    *copia = destino;
    *borrados << CatalogoRespaldos::rotar(segunda_, conservar_);
    return {};
}
