#include "app/BaseAnterior.h"

#include "access/ImportacionInicial.h"
#include "core/ArchivoSeguro.h"
#include "db/BaseDatos.h"
#include "ui/Dialogos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace BaseAnterior {

bool ofrecer(const QString& carpetaDatos, QWidget* padre) {
    if (QFileInfo::exists(BaseDatos::archivo(carpetaDatos)) ||
        !ImportacionInicial::pendiente(carpetaDatos).isEmpty())
        return true;
    const Mensaje pregunta{
        QStringLiteral("Todavía no hay datos en %1.\n\n¿Trae los datos del programa anterior? "
                       "Elija la carpeta donde está su base.mdb; con \"No\" empieza con una "
                       "base de datos vacía.")
            .arg(QDir::toNativeSeparators(carpetaDatos)),
        Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    while (Dialogos::mostrar(padre, pregunta) == Respuesta::Si) {
        const QString elegida = Dialogos::carpeta(
            padre, QStringLiteral("Carpeta de la base.mdb del programa anterior"), QDir::rootPath());
        if (elegida.isEmpty())
            return true;
        const QString mdb = ImportacionInicial::pendiente(elegida);
        if (mdb.isEmpty()) {
            Dialogos::mostrar(padre, {QStringLiteral("La carpeta %1 no tiene una base.mdb.")
                                          .arg(QDir::toNativeSeparators(elegida)),
                                      Icono::Exclamacion});
            continue;
        }
        QFile f(mdb);
        QString error;
        if (!f.open(QIODevice::ReadOnly))
            error =
                QStringLiteral("No se puede leer %1: %2").arg(QDir::toNativeSeparators(mdb), f.errorString());
        else if (ArchivoSeguro::escribir(QDir(carpetaDatos).filePath(QFileInfo(mdb).fileName()), f.readAll(),
                                         &error))
            return true;
        Dialogos::mostrar(padre, {error, Icono::Critico});
        return false;
    }
    return true;
}

} // namespace BaseAnterior
