#include "cli/Comandos.h"

namespace {

class ComandoRecibir final : public Comando {
public:
    ComandoRecibir()
        : Comando("recibir", "descarga los sucesos de la tablet o del servicio web (CSV, .xlsx) y los guarda "
                             "en el historial") {
        uso({"--directa [HOST[:PUERTO]] --desde AAAA-MM-DD",
             "--hasta AAAA-MM-DD [--csv ARCHIVO] [--xlsx ARCHIVO]"});
        uso({"--web [--servidor S --usuario U --clave C]",
             "--desde AAAA-MM-DD --hasta AAAA-MM-DD [--csv ARCHIVO] [--xlsx ARCHIVO]"});
        describir("Descarga los sucesos (cargas y descargas) del rango de fechas y los escribe como CSV\n"
                  "(UTF-8, separado por comas, primera línea con los encabezados) en el ARCHIVO de --csv,\n"
                  "y como libro de hoja de cálculo (.xlsx, hoja \"Sucesos\") en el ARCHIVO de --xlsx.\n"
                  "Sin --csv ni --xlsx, el CSV va a la salida. Una descarga fallida no escribe nada;\n"
                  "una que llega a su fin queda además en el historial de sucesos de la base de datos (ver\n"
                  "'informe' e 'historial').\n");
        OpcionesCli::declararCaminos(*this);
        OpcionesCli::declararRango(*this);
        opciones(
            {{QStringLiteral("csv"), QStringLiteral("archivo del CSV"), QStringLiteral("ARCHIVO")},
             {QStringLiteral("xlsx"), QStringLiteral("libro de hoja de cálculo"), QStringLiteral("ARCHIVO")},
             {QStringLiteral("espera"),
              QStringLiteral("silencio de la tablet que da la descarga por fallida"),
              QStringLiteral("SEGUNDOS")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoRecibir::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    return OpcionesCli::porCamino(p, ayuda(), recibirDirecta, recibirWeb, ctx);
}
} // namespace

const Comando& comandoRecibir() {
    static const ComandoRecibir c;
    return c;
}
