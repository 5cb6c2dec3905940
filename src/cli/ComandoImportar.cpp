#include "cli/Comandos.h"
#include "db/BaseDatos.h"
#include "db/ImportacionAccess.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSqlQuery>

namespace {
const char* const kAyudaImportar =
    "Uso: tolvaro-cli [--datos CARPETA] importar ARCHIVO.mdb [--reemplazar]\n"
    "\n"
    "Trae recetas, alimentos, operarios, viajes, descargas y la configuración de conexión de\n"
    "una base de Access (.mdb) a la base de datos de la carpeta de datos. Si esa base ya tiene\n"
    "recetas, alimentos, operarios o viajes, solo la reemplaza con --reemplazar, y entonces la\n"
    "conserva como base.db.anterior.\n";

// Whether the open database already holds any of the farm's data (the connection settings alone
// do not count: every new database has them).
bool tieneDatos() {
    QSqlQuery q(BaseDatos::ConexionBD());
    for (const char* tabla : {"recetas", "alimentos", "operarios", "viajes", "descarga"})
        if (q.exec(QStringLiteral("select 1 from %1 limit 1").arg(QLatin1String(tabla))) && q.next())
            return true;
    return false;
}

void declarar(QCommandLineParser& p) {
    p.addOption(
        {QStringLiteral("reemplazar"), QStringLiteral("reemplaza una base de datos que ya tiene datos")});
    p.addPositionalArgument(QStringLiteral("ARCHIVO"), QStringLiteral("la base de Access (.mdb)"));
}

int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) {
    if (p.positionalArguments().size() != 1)
        return errorDeUso(QStringLiteral("Indique un archivo .mdb"), "importar", ctx);
    const QString mdb = p.positionalArguments().first();
    const QString destino = BaseDatos::archivo(ctx.carpetaDatos);
    const bool conAnterior = p.isSet(QStringLiteral("reemplazar"));
    if (!conAnterior && tieneDatos()) {
        ctx.errores << QStringLiteral(
                           "La base de datos %1 ya tiene datos; no se importa %2 sin --reemplazar.")
                           .arg(QDir::toNativeSeparators(destino), QDir::toNativeSeparators(mdb))
                    << Qt::endl;
        return 1;
    }
    // The file is replaced by a rename: the shared connection lets go of it first and opens the new
    // one (or the old one, when nothing changed) afterwards.
    BaseDatos::cerrar();
    ResumenImportacion resumen;
    QString error;
    const bool ok = ImportacionAccess::importar(mdb, destino, &resumen, &error, conAnterior);
    if (const auto e = BaseDatos::abrir(ctx.carpetaDatos))
        ctx.errores << *e << Qt::endl;
    if (!ok) {
        ctx.errores << error << Qt::endl;
        return 1;
    }
    ctx.salida << resumen.texto(mdb) << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoImportar() {
    static const Comando c{"importar", "trae los datos de una base de Access (.mdb) a la base de datos",
                           kAyudaImportar, declarar, ejecutar};
    return c;
}
