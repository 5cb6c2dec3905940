// tolvaro-cli respaldar, recuperar and contenido: the maintenance window's backup, restore and
// archive listing, on the same code.
#include "cli/Comandos.h"

#include "core/Mensaje.h"
#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/Restauracion.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>

namespace {

const char* const kAyudaRespaldar =
    "Uso: tolvaro-cli [--datos CARPETA] respaldar [--carpeta DESTINO]\n"
    "\n"
    "Guarda las bases de datos de la carpeta de datos (*.db, *.mdb) en un archivo de Back Up\n"
    "BD_dia_D_M_AAAA_HH_MM.cab, en DESTINO o en la carpeta de datos, y lo lee completo antes de\n"
    "darlo por hecho. Muestra su ruta y los dos tamaños.\n";

const char* const kAyudaRecuperar =
    "Uso: tolvaro-cli [--datos CARPETA] recuperar ARCHIVO.cab [--destino CARPETA]\n"
    "\n"
    "Recupera la base de datos de un archivo de Back Up en CARPETA (por omisión, la carpeta de\n"
    "datos). La base anterior queda como base.db.anterior. Muestra \"Ok\", o \"Falso\" y el motivo.\n";

const char* const kAyudaContenido =
    "Uso: tolvaro-cli contenido ARCHIVO.cab\n"
    "\n"
    "Lista los archivos que guarda un archivo de Back Up, uno por línea, después de comprobar\n"
    "todos sus bloques.\n";

// Reads the command's options; the exit code when it must end here (help or a usage error).
std::optional<int> leer(QCommandLineParser& p, const QStringList& args, const char* ayuda, int posicionales,
                        ContextoCli& ctx) {
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    p.addOption(help);
    if (!p.parse(QStringList{QStringLiteral("tolvaro-cli")} + args)) {
        ctx.errores << p.errorText() << Qt::endl << ayuda;
        return 2;
    }
    if (p.isSet(help)) {
        ctx.salida << ayuda;
        return 0;
    }
    const QStringList resto = p.positionalArguments();
    if (resto.size() < posicionales) {
        ctx.errores << "Indique el archivo .cab" << Qt::endl << ayuda;
        return 2;
    }
    if (resto.size() > posicionales) {
        ctx.errores << "Sobran argumentos: " << resto.mid(posicionales).join(u' ') << Qt::endl << ayuda;
        return 2;
    }
    return std::nullopt;
}

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

} // namespace

int comandoRespaldar(const QStringList& args, ContextoCli& ctx) {
    QCommandLineParser p;
    const QCommandLineOption carpeta(QStringLiteral("carpeta"), QString(), QStringLiteral("DESTINO"));
    p.addOption(carpeta);
    if (const auto fin = leer(p, args, kAyudaRespaldar, 0, ctx))
        return *fin;

    QStringList archivos;
    for (const QString& nombre : Mantenimiento::archivosARespaldar(ctx.carpetaDatos))
        archivos << QDir(ctx.carpetaDatos).filePath(nombre);
    if (archivos.isEmpty()) {
        ctx.errores << Mantenimiento::mensajeSinArchivos().texto << Qt::endl;
        return 1;
    }
    const QString destino =
        QDir(p.isSet(carpeta) ? QDir::fromNativeSeparators(p.value(carpeta)) : ctx.carpetaDatos)
            .absoluteFilePath(Mantenimiento::nombreArchivo(QDateTime::currentDateTime()));
    Respaldo respaldo(archivos, destino);
    const Resultado r = respaldo.ejecutar();
    if (!r.ok) {
        ctx.errores << errorVentana(QString::number(r.numero), r.descripcion, Mantenimiento::kCaption).texto
                    << Qt::endl;
        return 1;
    }
    ctx.salida << nativa(destino) << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total a compactar: "),
                                             double(respaldo.totalACompactar()))
               << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total compactado: "),
                                             double(r.valor.toLongLong()))
               << Qt::endl;
    return 0;
}

int comandoRecuperar(const QStringList& args, ContextoCli& ctx) {
    QCommandLineParser p;
    const QCommandLineOption destino(QStringLiteral("destino"), QString(), QStringLiteral("CARPETA"));
    p.addOption(destino);
    if (const auto fin = leer(p, args, kAyudaRecuperar, 1, ctx))
        return *fin;
    const QString archivo = QDir::fromNativeSeparators(p.positionalArguments().first());
    const QString carpeta =
        p.isSet(destino) ? QDir::fromNativeSeparators(p.value(destino)) : ctx.carpetaDatos;
    Restauracion restauracion(archivo, carpeta);
    const Resultado r = restauracion.ejecutar();
    const Mensaje m = Mantenimiento::mensajeRecuperacion(r.ok, r.descripcion);
    (r.ok ? ctx.salida : ctx.errores) << m.texto << Qt::endl;
    return r.ok ? 0 : 1;
}

int comandoContenido(const QStringList& args, ContextoCli& ctx) {
    QCommandLineParser p;
    if (const auto fin = leer(p, args, kAyudaContenido, 1, ctx))
        return *fin;
    const QString archivo = QDir::fromNativeSeparators(p.positionalArguments().first());
    ListadoCab listado(archivo);
    const Resultado r = listado.ejecutar();
    if (!r.ok) {
        ctx.errores << Mantenimiento::mensajeArchivoDanado(archivo).texto.replace(QStringLiteral("\r\n"),
                                                                                  QStringLiteral("\n"))
                    << Qt::endl
                    << r.descripcion << Qt::endl;
        return 1;
    }
    for (const QString& nombre : r.valor.toStringList())
        ctx.salida << nombre << Qt::endl;
    return 0;
}
