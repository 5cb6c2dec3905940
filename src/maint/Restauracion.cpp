#include "maint/Restauracion.h"

#include "access/ImportacionAccess.h"
#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "db/BaseDatos.h"
#include "maint/ArchivoCab.h"
#include "maint/ComprobacionBase.h"
#include "maint/Mantenimiento.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cerrno>

namespace {

// Progress: expanding is most of the bar; the database check takes the rest at the end.
constexpr int kHastaComprobar = 95;

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

// A journal beside the old base.db belongs to an interrupted write of the old file: left there,
// SQLite would replay it onto the restored one. Opening the old file once rolls it back.
void cerrarDiarioAnterior(const QString& base) {
    const QString diario = base + QStringLiteral("-journal");
    if (!QFileInfo::exists(diario))
        return;
    BaseDatos::conConexionPropia(base, {}, [](QSqlDatabase& db) {
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("select count(*) from sqlite_master"));
    });
    // Not a database SQLite can recover: the journal goes with the old file, where it belongs.
    if (QFileInfo::exists(diario)) {
        const QString junto = ArchivoSeguro::rutaAnteriorLibre(base) + QStringLiteral("-journal");
        QFile::remove(junto);
        QFile::rename(diario, junto);
    }
}

} // namespace

Restauracion::Restauracion(const QString& archivo, const QString& carpeta, QObject* padre)
    : Trabajo(padre), archivo_(archivo), carpeta_(carpeta) {}

Restauracion::~Restauracion() {
    // Its owner has stopped it; the temporary file goes before the lock.
    salida_.reset();
    cerrojo_.reset();
}

QString Restauracion::destino() const {
    return QDir(carpeta_).filePath(Mantenimiento::kBase);
}

Resultado Restauracion::hacer() {
    salida_.reset();
    cerrojo_.reset();
    ArchivoCab cab(archivo_);
    FalloCab fallo;
    if (!cab.abrir(&fallo))
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    const QFileInfo carpeta(carpeta_);
    if (carpeta.exists() && !carpeta.isDir())
        return Resultado::fallo(ENOTDIR,
                                QStringLiteral("%1 es un archivo, no una carpeta.").arg(nativa(carpeta_)));
    if (!carpeta.isDir())
        return Resultado::fallo(ENOENT, QStringLiteral("No existe la carpeta %1.").arg(nativa(carpeta_)));
    auto cerrojo = std::make_unique<CerrojoMantenimiento>(carpeta_);
    QString ocupada;
    if (!cerrojo->tomar(&ocupada))
        return Resultado::fallo(EBUSY, ocupada);
    cerrojo_ = std::move(cerrojo);
    // What a killed restore or import left beside base.db: nobody else is writing one now.
    ArchivoSeguro::quitarTemporales(destino());
    auto salida = std::make_unique<ArchivoSeguro>(destino(), true);
    salida->setAnterioresNumeradas(true);
    if (!salida->preparar()) {
        cerrojo_.reset();
        return Resultado::fallo(salida->numeroError(), salida->error());
    }
    salida_ = std::move(salida);

    Resultado r;
    if (const int i = cab.buscar(Mantenimiento::kBase); i >= 0)
        r = expandir(cab, i);
    else if (const int j = cab.buscar(Mantenimiento::kBaseAccess); j >= 0)
        r = importar(cab, j);
    else
        r = Resultado::fallo(0, QStringLiteral("El archivo %1 no contiene la base de datos %2.")
                                    .arg(nativa(archivo_), Mantenimiento::kBase));
    if (r.ok) {
        if (const auto motivo = comprobarBase(salida_->rutaTemporal()))
            r = Resultado::fallo(0, QStringLiteral("La base de datos del archivo %1 no se puede usar: %2.")
                                        .arg(nativa(archivo_), *motivo));
    }
    if (!r.ok || cancelado()) {
        salida_.reset();
        cerrojo_.reset();
        return r;
    }
    informar(100);
    if (diferido_) {
        // The owner may back the current data up before the swap, which takes this same lock:
        // it is let go meanwhile and taken again by reemplazar().
        cerrojo_.reset();
        return Resultado::exito();
    }
    return reemplazar();
}

void Restauracion::avance(qint64 leido, qint64 total) {
    informar(qMin(leido, total) * kHastaComprobar, qMax<qint64>(total, 1) * 100);
}

Resultado Restauracion::extraerA(ArchivoCab& cab, int indice, const QString& carpeta, const QString& nombre) {
    FalloCab fallo;
    const qint64 hasta = cab.leidoHasta(indice);
    const bool ok = cab.extraer(
        indice, carpeta, nombre,
        [&](qint64 leido) {
            avance(leido, hasta);
            return !cancelado();
        },
        &fallo);
    if (!ok)
        return Resultado::fallo(fallo.numero, fallo.descripcion);
    return Resultado::exito();
}

Resultado Restauracion::expandir(ArchivoCab& cab, int indice) {
    const QString temporal = salida_->rutaTemporal();
    // libgcab creates the file itself; the name was only reserved.
    QFile::remove(temporal);
    return extraerA(cab, indice, carpeta_, QFileInfo(temporal).fileName());
}

Resultado Restauracion::importar(ArchivoCab& cab, int indice) {
    // The Access file is expanded beside base.db under a hidden name of this restore's own, read
    // into memory and removed at once: no copy of the farm's data goes anywhere else.
    const QString mdb = salida_->rutaAuxiliar(1);
    const Resultado r = extraerA(cab, indice, carpeta_, QFileInfo(mdb).fileName());
    QByteArray datos;
    if (r.ok) {
        QFile f(mdb);
        if (f.open(QIODevice::ReadOnly))
            datos = f.readAll();
    }
    QFile::remove(mdb);
    if (!r.ok)
        return r;
    QString error;
    OpcionesImportacion opciones;
    opciones.conservarDe = destino();
    opciones.cancelar = banderaCancelar();
    // Messages name the file inside the archive.
    const QString nombre = archivo_ + QDir::separator() + cab.nombres().at(indice);
    if (!ImportacionAccess::importarDatos(std::move(datos), nombre, salida_->rutaTemporal(), opciones,
                                          nullptr, &error))
        return Resultado::fallo(0, error);
    return Resultado::exito();
}

Resultado Restauracion::reemplazar() {
    if (!salida_)
        return Resultado::fallo(
            0,
            QStringLiteral("No hay una base de datos restaurada para reemplazar %1.").arg(nativa(destino())));
    if (!cerrojo_) {
        auto cerrojo = std::make_unique<CerrojoMantenimiento>(carpeta_);
        QString ocupada;
        if (!cerrojo->tomar(&ocupada)) {
            salida_.reset();
            return Resultado::fallo(EBUSY, ocupada);
        }
        cerrojo_ = std::move(cerrojo);
    }
    cerrarDiarioAnterior(destino());
    const bool ok = salida_->confirmar();
    Resultado r = ok ? Resultado::exito() : Resultado::fallo(salida_->numeroError(), salida_->error());
    salida_.reset();
    cerrojo_.reset();
    return r;
}
