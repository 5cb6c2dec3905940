// The web road of the commands: the web service.
#include "cli/Comandos.h"

#include "cli/Espera.h"
#include "db/Ajustes.h"
#include "events/DescargaSucesos.h"
#include "web/EnvioWeb.h"

#include <QDate>

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
    Espera espera;
    Mensaje final;
    bool exito = false;
    QObject::connect(&envio, &EnvioWeb::terminado, espera.contexto(), [&](const Mensaje& m, bool e) {
        final = m;
        exito = e;
        espera.terminar();
    });
    envio.iniciar();
    espera.esperar();
    (exito ? ctx.salida : ctx.errores) << final.texto << Qt::endl;
    return exito ? 0 : 1;
}

int recibirWeb(const QCommandLineParser& p, ContextoCli& ctx) {
    OpcionesWeb o;
    if (const int r = leerOpciones(p, true, &o, ctx))
        return r;
    DescargaSucesos descarga;
    Espera espera;
    DescargaSucesos::Fin fin = DescargaSucesos::Fin::Fallida;
    Mensaje final;
    // Each unreadable row is reported and the download goes on.
    QObject::connect(&descarga, &DescargaSucesos::aviso, espera.contexto(),
                     [&](const Mensaje& m) { ctx.errores << m.texto << Qt::endl; });
    QObject::connect(&descarga, &DescargaSucesos::terminada, espera.contexto(),
                     [&](DescargaSucesos::Fin f, const Mensaje& m) {
                         fin = f;
                         final = m;
                         espera.terminar();
                     });
    descarga.iniciarWeb(o.datos, o.desde, o.hasta);
    espera.esperar();
    if (fin == DescargaSucesos::Fin::Fallida) {
        ctx.errores << final.texto << Qt::endl;
        return 1;
    }
    if (fin != DescargaSucesos::Fin::Completa && !final.texto.isEmpty())
        ctx.errores << final.texto << Qt::endl;
    // What could be read is written (and kept in the history) either way; rows that could not be
    // read make the exit code 1.
    const bool escrito = escribirSucesos(descarga.filas(), o.csv, o.xlsx, ctx);
    const bool guardado = guardarEnHistorial(descarga, ctx);
    return escrito && guardado && descarga.entera() ? 0 : 1;
}
