#include "db/ImportacionAccess.h"

#include <QFileInfo>

QString ResumenImportacion::texto(const QString& archivo) const {
    return QStringLiteral("Se importó %1: %2 recetas, %3 alimentos, %4 operarios, %5 filas de viajes, %6 de "
                          "descarga%7.")
        .arg(QFileInfo(archivo).fileName())
        .arg(recetas)
        .arg(alimentos)
        .arg(operarios)
        .arg(viajes)
        .arg(descarga)
        .arg(conexion ? QStringLiteral(" y la configuración de conexión") : QString());
}

namespace ImportacionAccess {

bool importar(const QString& mdb, const QString&, ResumenImportacion*, QString* error, bool,
              const std::atomic_bool*) {
    if (error)
        *error = QStringLiteral("No se puede importar %1: la importación de bases de Access todavía no está "
                                "disponible en esta versión.")
                     .arg(QFileInfo(mdb).fileName());
    return false;
}

} // namespace ImportacionAccess
