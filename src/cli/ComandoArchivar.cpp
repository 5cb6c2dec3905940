// tolvaro-cli archivar: old trips out of the plan (and of the upload), or back into it.
#include "cli/Comandos.h"

#include "db/BaseDatos.h"
#include "link/EstimacionEnvio.h"
#include "plan/ArchivoViajes.h"

namespace {

const QString kAntes = QStringLiteral("antes");
const QString kRecuperar = QStringLiteral("recuperar");

class ComandoArchivar final : public Comando {
public:
    ComandoArchivar() : Comando("archivar", "archiva los viajes anteriores a un día, o los recupera") {
        uso({"--antes AAAA-MM-DD"});
        uso({"--recuperar"});
        describir("Pasa al archivo de la base de datos los viajes con fecha anterior a --antes, con sus\n"
                  "corrales: dejan de listarse y de enviarse a la tablet, y siguen en la base (y en sus\n"
                  "respaldos). --recuperar los devuelve todos al plan. Al terminar dice cuánto tardará el\n"
                  "envío por la conexión directa.\n");
        opciones({{kAntes, QStringLiteral("archiva los viajes anteriores a este día"),
                   QStringLiteral("AAAA-MM-DD")},
                  {kRecuperar, QStringLiteral("devuelve al plan todos los viajes archivados")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoArchivar::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (p.isSet(kAntes) == p.isSet(kRecuperar))
        return errorDeUso(QStringLiteral("Indique --antes AAAA-MM-DD o --recuperar"), "archivar", ctx);
    if (!p.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + p.positionalArguments().first(),
                          "archivar", ctx);
    ArchivoViajes::Resultado r;
    QString resumen;
    if (p.isSet(kAntes)) {
        const QDate antes = QDate::fromString(p.value(kAntes), QStringLiteral("yyyy-MM-dd"));
        if (!antes.isValid())
            return errorDeUso(QStringLiteral("Fecha no válida en --antes: ") + p.value(kAntes), "archivar",
                              ctx);
        r = ArchivoViajes::archivar(antes);
        resumen = ArchivoViajes::resumenArchivo(r, antes);
    } else {
        r = ArchivoViajes::recuperar();
        resumen = ArchivoViajes::resumenRecuperacion(r);
    }
    if (r.error) {
        ctx.errores << "No se pudo cambiar el archivo de viajes: " << r.error->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << resumen << Qt::endl;
    const EstimacionEnvio::Estimacion e = EstimacionEnvio::estimar(BaseDatos::ConexionBD());
    if (!e.error)
        ctx.salida << e.texto() << " por la conexión directa." << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoArchivar() {
    static const ComandoArchivar c;
    return c;
}
