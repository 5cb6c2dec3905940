// tolvaro-cli recuperar: the maintenance window's restore, on the same code.
#include "cli/Comandos.h"

#include "core/Mensaje.h"
#include "maint/Mantenimiento.h"
#include "maint/Restauracion.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const QCommandLineOption kDestino(QStringLiteral("destino"), QStringLiteral("carpeta de la base recuperada"),
                                  QStringLiteral("CARPETA"));

// A restore must not need a usable database, so it never opens the shared connection.
class ComandoRecuperar final : public Comando {
public:
    ComandoRecuperar() : Comando("recuperar", "recupera la base de datos de un archivo de Back Up", false) {
        uso({"ARCHIVO.cab [--destino CARPETA]"});
        describir(
            "Recupera la base de datos de un archivo de Back Up en CARPETA (por omisión, la carpeta de\n"
            "datos). La base anterior queda como base.db.anterior. Muestra \"Ok\", o \"Falso\" y el "
            "motivo.\n");
        opciones({kDestino});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoRecuperar::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (const auto fin = OpcionesCli::contarArchivosCab(p, ayuda(), 1, ctx))
        return *fin;
    const QString archivo = QDir::fromNativeSeparators(p.positionalArguments().first());
    const QString carpeta =
        p.isSet(kDestino) ? QDir::fromNativeSeparators(p.value(kDestino)) : ctx.carpetaDatos;
    Restauracion restauracion(archivo, carpeta);
    const Resultado r = restauracion.ejecutar();
    const Mensaje m = Mantenimiento::mensajeRecuperacion(r.ok, r.descripcion);
    (r.ok ? ctx.salida : ctx.errores) << m.texto << Qt::endl;
    return r.ok ? 0 : 1;
}

} // namespace

const Comando& comandoRecuperar() {
    static const ComandoRecuperar c;
    return c;
}
