// tolvaro-cli respaldos: the backup archives the program knows, each read back whole.
#include "cli/Comandos.h"

#include "cli/RegistroRespaldoCli.h"
#include "maint/CatalogoRespaldos.h"
#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QCommandLineOption kCarpetas(QStringLiteral("carpeta"), QStringLiteral("otra carpeta donde buscar"),
                                   QStringLiteral("CARPETA"));

class ComandoRespaldos final : public Comando {
public:
    ComandoRespaldos()
        : Comando("respaldos", "lista los archivos de Back Up conocidos y si se leen completos", false) {
        uso({"[--carpeta CARPETA]..."});
        describir(
            "Lista los archivos de Back Up conocidos, del más nuevo al más viejo: los de la carpeta de\n"
            "datos, de la carpeta de respaldos automáticos, de la segunda carpeta, de la del último\n"
            "respaldo y de cada CARPETA indicada. Una línea por archivo, separada por tabuladores: fecha\n"
            "(dd/mm/aaaa HH:MM), tamaño en bytes, automático o manual, verificado o dañado, ruta.\n"
            "Cada archivo se lee completo. Sale con 1 si alguno está dañado.\n");
        opciones({kCarpetas});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoRespaldos::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (!p.positionalArguments().isEmpty()) {
        ctx.errores << "Sobran argumentos: " << p.positionalArguments().join(u' ') << Qt::endl << ayuda();
        return 2;
    }
    const RegistroRespaldoCli registro(ctx.carpetaDatos);
    QStringList carpetas{ctx.carpetaDatos, registro.ajustes().carpetaAutomatica(ctx.carpetaDatos),
                         QDir::fromNativeSeparators(registro.ajustes().segunda)};
    if (!registro.ultimo().ruta.isEmpty())
        carpetas << QFileInfo(registro.ultimo().ruta).absolutePath();
    for (const QString& c : p.values(kCarpetas))
        carpetas << QDir::fromNativeSeparators(c);

    bool todosSanos = true;
    for (const EntradaRespaldo& e : CatalogoRespaldos::listar(carpetas)) {
        ListadoCab listado(e.ruta);
        const bool sano = listado.ejecutar().ok;
        todosSanos = todosSanos && sano;
        ctx.salida << e.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm")) << '\t' << e.tamano << '\t'
                   << (e.automatico ? "automático" : "manual") << '\t' << (sano ? "verificado" : "dañado")
                   << '\t' << QDir::toNativeSeparators(e.ruta) << Qt::endl;
    }
    return todosSanos ? 0 : 1;
}

} // namespace

// Like the other archive commands, it reads the database only for the settings, and never
// creates one.
const Comando& comandoRespaldos() {
    static const ComandoRespaldos c;
    return c;
}
