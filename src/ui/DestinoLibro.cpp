#include "ui/DestinoLibro.h"

#include "core/LibroXlsx.h"
#include "db/BaseDatos.h"
#include "ui/Dialogos.h"

#include <QDir>
#include <QFileInfo>

QString elegirDestinoLibro(QWidget* padre, const QString& titulo) {
    const QString elegido = Dialogos::archivoGuardar(padre, titulo, BaseDatos::carpeta(),
                                                     QStringLiteral("Archivos XLSX (*.xlsx)"), false);
    if (elegido.isEmpty())
        return {};
    const QString ruta = QDir::toNativeSeparators(LibroXlsx::nombreLibro(elegido));
    if (QFileInfo::exists(ruta)) {
        const Mensaje pregunta{QStringLiteral("El archivo ") + ruta +
                                   QStringLiteral(" ya existe. ¿Desea reemplazarlo?"),
                               Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
        if (Dialogos::mostrar(padre, pregunta) != Respuesta::Si)
            return {};
    }
    return ruta;
}
