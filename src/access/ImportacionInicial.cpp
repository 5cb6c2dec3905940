#include "access/ImportacionInicial.h"

#include "access/ImportacionAccess.h"
#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "db/BaseDatos.h"

#include <QDir>
#include <QFileInfo>

namespace ImportacionInicial {

QString pendiente(const QString& carpeta) {
    const QDir dir(carpeta);
    if (QFileInfo::exists(BaseDatos::archivo(carpeta)))
        return {};
    const QStringList archivos = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& nombre : archivos)
        if (nombre.compare(QStringLiteral("base.mdb"), Qt::CaseInsensitive) == 0)
            return dir.filePath(nombre);
    return {};
}

std::optional<Aviso> importarSiHaceFalta(const QString& carpeta) {
    const QString mdb = pendiente(carpeta);
    if (mdb.isEmpty())
        return std::nullopt;
    ResumenImportacion resumen;
    QString error;
    CerrojoMantenimiento cerrojo(carpeta);
    if (!cerrojo.tomar(&error))
        return Aviso{false, error};
    // Another process may have imported it while this one waited.
    if (pendiente(carpeta).isEmpty())
        return std::nullopt;
    ArchivoSeguro::quitarTemporales(BaseDatos::archivo(carpeta));
    // Whole or not at all: a damaged file never becomes the farm's database without the user
    // asking for what can be read.
    if (ImportacionAccess::importar(mdb, BaseDatos::archivo(carpeta), &resumen, &error))
        return Aviso{true, resumen.texto(mdb)};
    return Aviso{false,
                 error + QStringLiteral(" Repare el archivo o quítelo de la carpeta %1 para empezar con "
                                        "una base de datos vacía; \"tolvaro-cli importar --parcial\" trae "
                                        "lo que se puede leer de él.")
                             .arg(QDir::toNativeSeparators(carpeta))};
}

} // namespace ImportacionInicial
