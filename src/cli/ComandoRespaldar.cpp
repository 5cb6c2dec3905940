// tolvaro-cli respaldar: the maintenance window's backup, on the same code.
#include "cli/Comandos.h"

#include "cli/RegistroRespaldoCli.h"
#include "core/Mensaje.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/RespaldoAutomatico.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>

namespace {

const QCommandLineOption kCarpeta(QStringLiteral("carpeta"), QStringLiteral("carpeta del archivo de Back Up"),
                                  QStringLiteral("DESTINO"));
const QCommandLineOption
    kAutomatico(QStringLiteral("automatico"),
                QStringLiteral("un respaldo automático, como los del programa (para una tarea programada):\n"
                               "en la carpeta de respaldos automáticos (por omisión, respaldos/ en la\n"
                               "carpeta de datos, o DESTINO), conservando los últimos automáticos elegidos\n"
                               "y copiándolo en la segunda carpeta si hay una. Una segunda carpeta que\n"
                               "falta se avisa, sin fallar."));

// It works on the files alone: a backup wants them untouched, so it never opens the shared
// connection.
class ComandoRespaldar final : public Comando {
public:
    ComandoRespaldar()
        : Comando("respaldar", "guarda la base de datos en un archivo de Back Up (.cab)", false) {
        uso({"[--carpeta DESTINO] [--automatico]"});
        describir(
            "Guarda las bases de datos de la carpeta de datos (*.db, *.mdb) en un archivo de Back Up\n"
            "BD_dia_D_M_AAAA_HH_MM.cab, en DESTINO o en la carpeta de datos, y lo lee completo antes de\n"
            "darlo por hecho. Nunca reemplaza un archivo anterior: si el nombre existe, agrega _2, _3...\n"
            "Muestra su ruta y los dos tamaños.\n");
        opciones({kCarpeta, kAutomatico});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

int ComandoRespaldar::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (const auto fin = OpcionesCli::contarArchivosCab(p, ayuda(), 0, ctx))
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
    ResultadoCon<qint64> r;
    QString destino;
    qint64 total = 0;
    if (p.isSet(kAutomatico)) {
        const AjustesRespaldo& a = registro.ajustes();
        RespaldoAutomatico respaldo(archivos,
                                    elegida.isEmpty() ? a.carpetaAutomatica(ctx.carpetaDatos) : elegida,
                                    a.cantidad, a.segunda);
        total = respaldo.totalACompactar();
        const ResultadoCon<RespaldoHecho> hecho = respaldo.ejecutar();
        static_cast<Resultado&>(r) = hecho;
        if (hecho.ok) {
            destino = hecho.valor.ruta;
            r.valor = hecho.valor.tamano;
            if (!hecho.valor.aviso.isEmpty())
                ctx.errores << hecho.valor.aviso << Qt::endl;
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
    registro.registrar(destino, r.valor);
    ctx.salida << nativa(destino) << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total a compactar: "), double(total)) << Qt::endl
               << Mantenimiento::textoTamano(QStringLiteral("Total compactado: "), double(r.valor))
               << Qt::endl;
    return 0;
}

} // namespace

const Comando& comandoRespaldar() {
    static const ComandoRespaldar c;
    return c;
}
