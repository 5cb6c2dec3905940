// The PDF outputs of the commands: the options that shape the paper and the safe write.
#include "cli/Comandos.h"

#include "impresion/DibujoDocumento.h"

namespace OpcionesCli {

void declararPdf(Comando& c) {
    c.opciones(
        {{QStringLiteral("pdf"), QStringLiteral("documento PDF"), QStringLiteral("ARCHIVO")},
         {QStringLiteral("papel"), QStringLiteral("tamaño del papel del PDF"), QStringLiteral("a4|carta")},
         {QStringLiteral("horizontal"), QStringLiteral("páginas apaisadas")}});
}

std::optional<int> leerPdf(const QCommandLineParser& p, const char* comando, ContextoCli& ctx,
                           DibujoDocumento::Papel* papel) {
    if (p.isSet(QStringLiteral("pdf")) && p.value(QStringLiteral("pdf")).isEmpty())
        return errorDeUso(QStringLiteral("Falta el nombre del archivo"), comando, ctx);
    const QString tamano = p.value(QStringLiteral("papel")).toLower();
    if (tamano.isEmpty() || tamano == QLatin1String("a4"))
        papel->tamano = QPageSize::A4;
    else if (tamano == QLatin1String("carta"))
        papel->tamano = QPageSize::Letter;
    else
        return errorDeUso(QStringLiteral("--papel lleva a4 o carta"), comando, ctx);
    papel->orientacion =
        p.isSet(QStringLiteral("horizontal")) ? QPageLayout::Landscape : QPageLayout::Portrait;
    if ((p.isSet(QStringLiteral("papel")) || p.isSet(QStringLiteral("horizontal"))) &&
        !p.isSet(QStringLiteral("pdf")))
        return errorDeUso(QStringLiteral("--papel y --horizontal van con --pdf"), comando, ctx);
    return std::nullopt;
}

} // namespace OpcionesCli

bool escribirPdf(const DocumentoImpreso::Documento& documento, const DibujoDocumento::Papel& papel,
                 const QString& archivo, ContextoCli& ctx) {
    QString error;
    if (!DibujoDocumento::escribirPdf(documento, papel, archivo, &error)) {
        ctx.errores << error << Qt::endl;
        return false;
    }
    return true;
}
