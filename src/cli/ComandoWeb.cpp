// The web road of the commands: the web service.
#include "cli/Comandos.h"

#include "db/Ajustes.h"
#include "events/HistorialSucesos.h"
#include "web/DescargaWeb.h"
#include "web/EnvioWeb.h"

#include <QDate>
#include <QEventLoop>

namespace {

struct OpcionesWeb {
    DatosWeb datos;
    QDate desde, hasta;
    QString csv;
    QString xlsx;
};

// Reads the options of the web road; the settings saved by the window fill what is not given.
// Returns the exit code of a usage error, or 0.
int leerOpciones(const QCommandLineParser& p, bool conFechas, OpcionesWeb* o, ContextoCli& ctx) {
    const LecturaConexion l = leerConexion(QStringLiteral("web"));
    if (l.error) {
        ctx.errores << "No se pueden leer los datos del servicio web: " << l.error->descripcion << Qt::endl;
        return 1;
    }
    const AjustesConexion a = l.ajustes.value_or(AjustesConexion{});
    o->datos = {a.direccion, a.usuario, a.clave};
    std::optional<QString> ajena = OpcionesCli::primeraDada(p, {QStringLiteral("espera")});
    if (!ajena && !p.positionalArguments().isEmpty())
        ajena = p.positionalArguments().first();
    if (ajena) {
        ctx.errores << "Opción desconocida: " << *ajena << Qt::endl;
        return 2;
    }
    const std::pair<const char*, QString*> dados[] = {
        {"servidor", &o->datos.servidor}, {"usuario", &o->datos.usuario}, {"clave", &o->datos.clave}};
    for (const auto& [nombre, destino] : dados)
        if (p.isSet(QLatin1String(nombre)))
            *destino = p.value(QLatin1String(nombre));
    if (conFechas) {
        o->desde = QDate::fromString(p.value(QStringLiteral("desde")), QStringLiteral("yyyy-MM-dd"));
        o->hasta = QDate::fromString(p.value(QStringLiteral("hasta")), QStringLiteral("yyyy-MM-dd"));
        o->csv = p.value(QStringLiteral("csv"));
        o->xlsx = p.value(QStringLiteral("xlsx"));
        if (!o->desde.isValid() || !o->hasta.isValid()) {
            ctx.errores << "Indique --desde y --hasta como AAAA-MM-DD" << Qt::endl;
            return 2;
        }
    }
    if (o->datos.servidor.isEmpty()) {
        ctx.errores << "Falta el servidor: guárdelo en el programa o indique --servidor" << Qt::endl;
        return 2;
    }
    return 0;
}

} // namespace

int enviarWeb(const QCommandLineParser& p, ContextoCli& ctx) {
    OpcionesWeb o;
    if (const int r = leerOpciones(p, false, &o, ctx))
        return r;
    EnvioWeb envio(o.datos);
    QEventLoop bucle;
    Mensaje final;
    bool exito = false, listo = false;
    QObject::connect(&envio, &EnvioWeb::terminado, &bucle, [&](const Mensaje& m, bool e) {
        final = m;
        exito = e;
        listo = true;
        bucle.quit();
    });
    envio.iniciar();
    if (!listo)
        bucle.exec();
    (exito ? ctx.salida : ctx.errores) << final.texto << Qt::endl;
    return exito ? 0 : 1;
}

int recibirWeb(const QCommandLineParser& p, ContextoCli& ctx) {
    OpcionesWeb o;
    if (const int r = leerOpciones(p, true, &o, ctx))
        return r;
    DescargaWeb descarga(o.datos, o.desde, o.hasta);
    QList<FilaEvento> filas;
    QEventLoop bucle;
    DescargaWeb::Fin fin = DescargaWeb::Fin::Error;
    Mensaje final;
    bool listo = false;
    QObject::connect(&descarga, &DescargaWeb::fila, &bucle, [&](const FilaEvento& f) { filas.append(f); });
    // Each unreadable row is reported and the download goes on.
    QObject::connect(&descarga, &DescargaWeb::registroIlegible, &bucle,
                     [&](const Mensaje& m) { ctx.errores << m.texto << Qt::endl; });
    QObject::connect(&descarga, &DescargaWeb::terminado, &bucle, [&](DescargaWeb::Fin f, const Mensaje& m) {
        fin = f;
        final = m;
        listo = true;
        bucle.quit();
    });
    descarga.iniciar();
    if (!listo)
        bucle.exec();
    if (fin == DescargaWeb::Fin::Error) {
        ctx.errores << final.texto << Qt::endl;
        return 1;
    }
    if (fin == DescargaWeb::Fin::SinDatos || fin == DescargaWeb::Fin::Incompleta)
        ctx.errores << final.texto << Qt::endl;
    // What could be read is written (and kept in the history) either way; rows that could not be
    // read make the exit code 1.
    const bool escrito = escribirSucesos(filas, o.csv, o.xlsx, ctx);
    const bool guardado = guardarEnHistorial(filas, HistorialSucesos::kWeb, ctx);
    return escrito && guardado && fin != DescargaWeb::Fin::Incompleta ? 0 : 1;
}
