// tolvaro-cli copiar-dia: every trip of one day planned again on another.
#include "cli/Comandos.h"

#include "plan/CopiaViajes.h"

namespace {

class ComandoCopiarDia final : public Comando {
public:
    ComandoCopiarDia() : Comando("copiar-dia", "copia los viajes de un día a otro") {
        uso({"--desde AAAA-MM-DD --hacia AAAA-MM-DD"});
        describir("Copia todos los viajes del día --desde al día --hacia, cada uno con sus alimentos y sus\n"
                  "corrales, con números de viaje nuevos a continuación del más alto. La copia es igual al\n"
                  "original salvo la fecha y el número de viaje.\n");
        opciones(
            {{QStringLiteral("desde"), QStringLiteral("día que se copia"), QStringLiteral("AAAA-MM-DD")},
             {QStringLiteral("hacia"), QStringLiteral("día de la copia"), QStringLiteral("AAAA-MM-DD")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoCopiarDia::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    const QString d = p.value(QStringLiteral("desde"));
    const QString h = p.value(QStringLiteral("hacia"));
    if (d.isEmpty() || h.isEmpty())
        return errorDeUso(QStringLiteral("Indique --desde y --hacia (AAAA-MM-DD)"), "copiar-dia", ctx);
    const QDate desde = QDate::fromString(d, QStringLiteral("yyyy-MM-dd"));
    const QDate hacia = QDate::fromString(h, QStringLiteral("yyyy-MM-dd"));
    if (!desde.isValid())
        return errorDeUso(QStringLiteral("Fecha no válida en --desde: ") + d, "copiar-dia", ctx);
    if (!hacia.isValid())
        return errorDeUso(QStringLiteral("Fecha no válida en --hacia: ") + h, "copiar-dia", ctx);
    if (!p.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + p.positionalArguments().first(),
                          "copiar-dia", ctx);
    const CopiaViajes::Resultado r = CopiaViajes::copiarDia(desde, hacia);
    if (r.error) {
        ctx.errores << "No se pudo copiar el día: " << r.error->descripcion << Qt::endl;
        return 1;
    }
    if (!r.rehusado.isEmpty()) {
        ctx.errores << r.rehusado << Qt::endl;
        return 1;
    }
    ctx.salida << CopiaViajes::resumen(r, hacia) << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoCopiarDia() {
    static const ComandoCopiarDia c;
    return c;
}
