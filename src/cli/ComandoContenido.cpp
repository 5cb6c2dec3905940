// tolvaro-cli contenido: the files a backup archive holds, after every block of it is checked.
#include "cli/Comandos.h"

#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

// It reads the archive alone and never opens the shared connection.
class ComandoContenido final : public Comando {
public:
    ComandoContenido() : Comando("contenido", "lista los archivos de un archivo de Back Up", false) {
        uso({"ARCHIVO.cab"});
        describir("Lista los archivos que guarda un archivo de Back Up, uno por línea, después de comprobar\n"
                  "todos sus bloques.\n");
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoContenido::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (const auto fin = OpcionesCli::contarArchivosCab(p, ayuda(), 1, ctx))
        return *fin;
    const QString archivo = QDir::fromNativeSeparators(p.positionalArguments().first());
    ListadoCab listado(archivo);
    listado.setCarpetaTrabajo(ctx.carpetaDatos);
    const ResultadoCon<QStringList> r = listado.ejecutar();
    if (!r.ok) {
        ctx.errores << Mantenimiento::mensajeArchivoDanado(archivo).texto.replace(QStringLiteral("\r\n"),
                                                                                  QStringLiteral("\n"))
                    << Qt::endl
                    << r.descripcion << Qt::endl;
        return 1;
    }
    for (const QString& nombre : r.valor)
        ctx.salida << nombre << Qt::endl;
    return 0;
}

} // namespace

const Comando& comandoContenido() {
    static const ComandoContenido c;
    return c;
}
