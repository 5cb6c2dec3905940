// tolvaro-cli respaldar, recuperar and contenido: the maintenance window's backup, restore and
// archive listing, on the same code.
#include "cli/Comandos.h"

#include "cli/RegistroRespaldoCli.h"
#include "core/Mensaje.h"
#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/RespaldoAutomatico.h"
#include "maint/Restauracion.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>

namespace {

const char* const kAyudaRespaldar =
    "Uso: tolvaro-cli [--datos CARPETA] respaldar [--carpeta DESTINO] [--automatico]\n"
    "\n"
    "Guarda las bases de datos de la carpeta de datos (*.db, *.mdb) en un archivo de Back Up\n"
    "BD_dia_D_M_AAAA_HH_MM.cab, en DESTINO o en la carpeta de datos, y lo lee completo antes de\n"
    "darlo por hecho. Nunca reemplaza un archivo anterior: si el nombre existe, agrega _2, _3...\n"
    "Muestra su ruta y los dos tamaños.\n"
    "\n"
    "  --automatico  un respaldo automático, como los del programa (para una tarea programada):\n"
    "                en la carpeta de respaldos automáticos (por omisión, respaldos/ en la\n"
    "                carpeta de datos, o DESTINO), conservando los últimos automáticos elegidos\n"
    "                y copiándolo en la segunda carpeta si hay una. Una segunda carpeta que\n"
    "                falta se avisa, sin fallar.\n";

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

const QCommandLineOption kCarpeta(QStringLiteral("carpeta"), QStringLiteral("carpeta del archivo de Back Up"),
                                  QStringLiteral("DESTINO"));
const QCommandLineOption
    kAutomatico(QStringLiteral("automatico"),
                QStringLiteral("respaldo automático: carpeta, rotación y segunda copia"));
const QCommandLineOption kDestino(QStringLiteral("destino"), QStringLiteral("carpeta de la base recuperada"),
                                  QStringLiteral("CARPETA"));

// The archive named on the command line: the exit code of a usage error when there are not
// exactly `posicionales` names.
std::optional<int> contar(const QCommandLineParser& p, const char* ayuda, int posicionales,
                          ContextoCli& ctx) {
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

int respaldar(const QCommandLineParser& p, ContextoCli& ctx) {
    if (const auto fin = contar(p, kAyudaRespaldar, 0, ctx))
        return *fin;

    QStringList archivos;
    for (const QString& nombre : Mantenimiento::archivosARespaldar(ctx.carpetaDatos))
        archivos << QDir(ctx.carpetaDatos).filePath(nombre);
    if (archivos.isEmpty()) {
        ctx.errores << Mantenimiento::mensajeSinArchivos().texto << Qt::endl;
        return 1;
    }
    // Read before the files are archived: the count the archive holds.
    const RegistroRespaldoCli registro(ctx.carpetaDatos);
    const QString elegida = p.isSet(kCarpeta) ? QDir::fromNativeSeparators(p.value(kCarpeta)) : QString();
    Resultado r;
    QString destino;
    qint64 total = 0;
    if (p.isSet(kAutomatico)) {
        const AjustesRespaldo& a = registro.ajustes();
        RespaldoAutomatico respaldo(archivos,
                                    elegida.isEmpty() ? a.carpetaAutomatica(ctx.carpetaDatos) : elegida,
                                    a.cantidad, a.segunda);
        total = respaldo.totalACompactar();
        r = respaldo.ejecutar();
        if (r.ok) {
            const QVariantMap v = r.valor.toMap();
            destino = v.value(QStringLiteral("ruta")).toString();
            r.valor = v.value(QStringLiteral("tamano"));
            if (const QString aviso = v.value(QStringLiteral("aviso")).toString(); !aviso.isEmpty())
                ctx.errores << aviso << Qt::endl;
        }
    } else {
        destino = Mantenimiento::rutaLibre(
            QDir(elegida.isEmpty() ? ctx.carpetaDatos : elegida)
                .absoluteFilePath(Mantenimiento::nombreArchivo(QDateTime::currentDateTime())));
        Respaldo respaldo(archivos, destino);
        total = respaldo.totalACompactar();
        r = respaldo.ejecutar();
    }
    if (!r.ok) {
        ctx.errores << errorVentana(QString::number(r.numero), r.descripcion, Mantenimiento::kCaption).texto
                    << Qt::endl;
        return 1;
    }
    registro.registrar(destino, r.valor.toLongLong());
    ctx.salida << nativa(destino) << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total a compactar: "), double(total)) << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total compactado: "),
                                             double(r.valor.toLongLong()))
               << Qt::endl;
    return 0;
}

int recuperar(const QCommandLineParser& p, ContextoCli& ctx) {
    if (const auto fin = contar(p, kAyudaRecuperar, 1, ctx))
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

int contenido(const QCommandLineParser& p, ContextoCli& ctx) {
    if (const auto fin = contar(p, kAyudaContenido, 1, ctx))
        return *fin;
    const QString archivo = QDir::fromNativeSeparators(p.positionalArguments().first());
    ListadoCab listado(archivo);
    listado.setCarpetaTrabajo(ctx.carpetaDatos);
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

} // namespace

// The archive commands work on the files alone: a backup wants them untouched, and a restore must
// not need a usable database, so none of them opens the shared connection.
const Comando& comandoRespaldar() {
    static const Comando c{
        "respaldar",     "guarda la base de datos en un archivo de Back Up (.cab)",
        kAyudaRespaldar, [](QCommandLineParser& p) { p.addOptions({kCarpeta, kAutomatico}); },
        respaldar,       false};
    return c;
}

const Comando& comandoRecuperar() {
    static const Comando c{"recuperar",     "recupera la base de datos de un archivo de Back Up",
                           kAyudaRecuperar, [](QCommandLineParser& p) { p.addOption(kDestino); },
                           recuperar,       false};
    return c;
}

const Comando& comandoContenido() {
    static const Comando c{"contenido",     "lista los archivos de un archivo de Back Up",
                           kAyudaContenido, [](QCommandLineParser&) {},
                           contenido,       false};
    return c;
}
