#include "access/ImportacionAccess.h"
#include "cli/Comandos.h"
#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "db/BaseDatos.h"
#include "db/ContadorCambios.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSqlQuery>

namespace {

// Whether the open database holds anything a user entered: any row of any table, except the
// connection rows every new database starts with while they are still empty and the count of
// changes it keeps for the automatic backup.
bool tieneDatos() {
    QSqlQuery tablas(BaseDatos::ConexionBD());
    if (!tablas.exec(QStringLiteral("select name from sqlite_master where type = 'table' and name not like "
                                    "'sqlite\\_%' escape '\\'")))
        return true; // unreadable: treated as holding data, so it is kept
    QStringList nombres;
    while (tablas.next())
        nombres << tablas.value(0).toString();
    for (const QString& tabla : nombres) {
        QSqlQuery q(BaseDatos::ConexionBD());
        const QString nombre = u'"' + QString(tabla).replace(u'"', QStringLiteral("\"\"")) + u'"';
        const QString sql =
            tabla.compare(QStringLiteral("tipo_conexion"), Qt::CaseInsensitive) == 0
                ? QStringLiteral("select 1 from tipo_conexion where coalesce(direccion, '') <> '' or "
                                 "coalesce(usuario, '') <> '' or coalesce(\"contraseña\", '') <> '' or "
                                 "tipo is null or tipo not in ('directa', 'web') limit 1")
            : tabla.compare(QStringLiteral("preferencias"), Qt::CaseInsensitive) == 0
                ? QStringLiteral("select 1 from preferencias where clave <> '%1' limit 1")
                      .arg(ContadorCambios::kClave)
                : QStringLiteral("select 1 from %1 limit 1").arg(nombre);
        if (!q.exec(sql) || q.next())
            return true;
    }
    return false;
}

const QCommandLineOption kReemplazar(QStringLiteral("reemplazar"),
                                     QStringLiteral("reemplaza una base que ya tiene datos"));
const QCommandLineOption kParcial(QStringLiteral("parcial"),
                                  QStringLiteral("importa lo que se puede leer de un archivo dañado"));

class ComandoImportar final : public Comando {
public:
    ComandoImportar()
        : Comando("importar", "trae los datos de una base de Access (.mdb) a la base de datos") {
        uso({"ARCHIVO.mdb [--reemplazar] [--parcial]"});
        describir("Trae recetas, alimentos, operarios, viajes, descargas y la configuración de conexión de\n"
                  "una base de Access (.mdb) a la base de datos de la carpeta de datos. El historial de\n"
                  "sucesos, las preferencias y las demás tablas propias de la base se conservan. Si la base\n"
                  "ya tiene datos, solo la reemplaza con --reemplazar, y la anterior queda como\n"
                  "base.db.anterior (o base.db.anterior.2, .3 ...: ninguna copia se sobrescribe).\n"
                  "\n"
                  "Un archivo dañado no se importa. Con --parcial se importa lo que se puede leer y se\n"
                  "lista lo que quedó fuera.\n");
        opciones({kReemplazar});
        opciones({kParcial});
        posicional(QStringLiteral("ARCHIVO"), QStringLiteral("la base de Access"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoImportar::ejecutar(const QCommandLineParser& parser, ContextoCli& ctx) const {
    if (parser.positionalArguments().size() != 1) {
        ctx.errores << "Indique un archivo .mdb" << Qt::endl << ayuda();
        return 2;
    }
    const QString mdb = parser.positionalArguments().first();
    const QString destino = BaseDatos::archivo(ctx.carpetaDatos);
    CerrojoMantenimiento cerrojo(ctx.carpetaDatos);
    QString error;
    if (!cerrojo.tomar(&error)) {
        ctx.errores << error << Qt::endl;
        return 1;
    }
    // What a killed import or restore left beside the database.
    ArchivoSeguro::quitarTemporales(destino);
    const bool conDatos = tieneDatos();
    if (!parser.isSet(kReemplazar) && conDatos) {
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
    OpcionesImportacion opciones;
    opciones.guardarAnterior = conDatos;
    opciones.parcial = parser.isSet(kParcial);
    const bool ok = ImportacionAccess::importar(mdb, destino, opciones, &resumen, &error);
    if (const auto e = BaseDatos::abrir(ctx.carpetaDatos))
        ctx.errores << *e << Qt::endl;
    if (!ok) {
        ctx.errores << error << Qt::endl;
        if (!opciones.parcial)
            ctx.errores << "Nada cambió. Con --parcial se importa lo que se puede leer." << Qt::endl;
        return 1;
    }
    ctx.salida << resumen.texto(mdb) << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoImportar() {
    static const ComandoImportar c;
    return c;
}
