#include "cli/Comandos.h"

#include "db/BaseDatos.h"
#include "link/EstimacionEnvio.h"
#include "plan/RevisionEnvio.h"

namespace {

const QString kAunAsi = QStringLiteral("aun-asi");

// Plan rows the upload would leave out or send incomplete: refused unless --aun-asi is given.
bool planAceptado(bool aunAsi, ContextoCli& ctx) {
    const RevisionEnvio::Revision r = RevisionEnvio::revisar(BaseDatos::ConexionBD());
    if (r.error || r.limpia()) // a plan that cannot be read is reported by the upload itself
        return true;
    ctx.errores << RevisionEnvio::aviso(r) << Qt::endl;
    if (aunAsi)
        return true;
    ctx.errores << "No se envió nada. Use --aun-asi para enviar "
                << (r.omite() ? "el resto de la programación." : "la programación igual.") << Qt::endl;
    return false;
}

class ComandoEnviar final : public Comando {
public:
    ComandoEnviar()
        : Comando("enviar", "envía la programación a la tablet (--directa) o al servicio web (--web)") {
        uso({"--directa [HOST[:PUERTO]] [--aun-asi]"});
        uso({"--web [--servidor S --usuario U --clave C] [--aun-asi]"});
        describir("Envía la programación (viajes, descargas, alimentos y operarios) a la tablet por la\n"
                  "conexión directa, o al servicio web. Sin HOST usa la dirección guardada.\n"
                  "\n"
                  "Si hay filas del plan cuya receta, alimento u operario ya no existe, no envía nada y\n"
                  "dice cuáles son; con --aun-asi envía el resto.\n"
                  "\n"
                  "Por la conexión directa dice antes cuántos registros enviará y cuánto tardará (medio\n"
                  "segundo cada uno); 'archivar' saca del envío los viajes viejos.\n");
        OpcionesCli::declararCaminos(*this);
        opciones({{kAunAsi, QStringLiteral("envía el resto aunque haya filas del plan que no se enviarán")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoEnviar::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    // Without exactly one road it is a usage error, told as such before anything else.
    const bool unCamino = p.isSet(QStringLiteral("directa")) != p.isSet(QStringLiteral("web"));
    if (unCamino && !planAceptado(p.isSet(kAunAsi), ctx))
        return 1;
    if (unCamino && p.isSet(QStringLiteral("directa"))) {
        // Paced at half a second a message: a plan kept for years takes minutes.
        const EstimacionEnvio::Estimacion e = EstimacionEnvio::estimar(BaseDatos::ConexionBD());
        if (!e.error)
            ctx.salida << e.texto() << '.' << Qt::endl;
    }
    return OpcionesCli::porCamino(p, ayuda(), enviarDirecta, enviarWeb, ctx);
}
} // namespace

const Comando& comandoEnviar() {
    static const ComandoEnviar c;
    return c;
}
