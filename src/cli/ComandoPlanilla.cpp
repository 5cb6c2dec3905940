// tolvaro-cli planilla: the loading sheet of a day as a PDF.
#include "cli/Comandos.h"

#include "impresion/DibujoDocumento.h"
#include "impresion/PlanillaCarga.h"

namespace {

class ComandoPlanilla final : public Comando {
public:
    ComandoPlanilla() : Comando("planilla", "escribe en PDF la planilla de carga de un día") {
        uso({"--fecha AAAA-MM-DD --pdf ARCHIVO", "[--papel a4|carta] [--horizontal]"});
        describir(
            "Escribe en ARCHIVO (PDF) la planilla de carga del día: cada viaje en orden de hora, con su\n"
            "receta, su operario, los alimentos en orden de carga con los kilos que recibe la tablet (las\n"
            "recetas por porcentaje, convertidas como en el envío), el total, una columna en blanco para\n"
            "anotar lo cargado y los corrales con su parte en orden de descarga.\n");
        opciones(
            {{QStringLiteral("fecha"), QStringLiteral("día de la planilla"), QStringLiteral("AAAA-MM-DD")}});
        OpcionesCli::declararPdf(*this);
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoPlanilla::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    const QString texto = p.value(QStringLiteral("fecha"));
    const QDate dia = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    if (texto.isEmpty())
        return errorDeUso(QStringLiteral("Indique --fecha (AAAA-MM-DD)"), "planilla", ctx);
    if (!dia.isValid())
        return errorDeUso(QStringLiteral("Fecha no válida en --fecha: ") + texto, "planilla", ctx);
    if (!p.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + p.positionalArguments().first(),
                          "planilla", ctx);
    DibujoDocumento::Papel papel;
    if (const auto r = OpcionesCli::leerPdf(p, "planilla", ctx, &papel))
        return *r;
    if (!p.isSet(QStringLiteral("pdf")))
        return errorDeUso(QStringLiteral("Indique --pdf ARCHIVO"), "planilla", ctx);
    const PlanillaCarga::Resultado r = PlanillaCarga::construir(dia);
    if (r.error) {
        ctx.errores << "No se puede leer el plan: " << r.error->descripcion << Qt::endl;
        return 1;
    }
    return escribirPdf(r.documento, papel, p.value(QStringLiteral("pdf")), ctx) ? 0 : 1;
}
} // namespace

const Comando& comandoPlanilla() {
    static const ComandoPlanilla c;
    return c;
}
