// tolvaro-cli recibir --directa: the events of the tablet over TCP, as CSV.
#include "cli/Comandos.h"

#include "cli/Espera.h"
#include "db/Ajustes.h"
#include "events/DescargaSucesos.h"
#include "link/ConexionTablet.h"

#include <QDate>

namespace {

struct OpcionesRecibir {
    QString direccion;
    QDate desde;
    QDate hasta;
    QString csv;
    QString xlsx;
    int esperaMs = 30000; // silence of the tablet that ends the download as failed
};

// The options of "--directa [HOST[:PORT]] --desde D --hasta D [--csv F] [--xlsx F] [--espera S]";
// the error text when they are wrong.
std::optional<QString> leerOpciones(const QCommandLineParser& p, OpcionesRecibir* o) {
    if (const auto ajena = OpcionesCli::primeraDada(p, OpcionesCli::kOpcionesWeb))
        return QStringLiteral("Opción desconocida: ") + *ajena;
    const QStringList posicionales = p.positionalArguments();
    if (posicionales.size() > 1)
        return QStringLiteral("Opción desconocida: ") + posicionales.at(1);
    o->direccion = posicionales.value(0);
    o->csv = p.value(QStringLiteral("csv"));
    if (p.isSet(QStringLiteral("csv")) && o->csv.isEmpty())
        return QStringLiteral("Falta el archivo después de --csv");
    o->xlsx = p.value(QStringLiteral("xlsx"));
    if (p.isSet(QStringLiteral("xlsx")) && o->xlsx.isEmpty())
        return QStringLiteral("Falta el archivo después de --xlsx");
    if (p.isSet(QStringLiteral("espera"))) {
        bool ok = false;
        const int segundos = p.value(QStringLiteral("espera")).toInt(&ok);
        if (!ok || segundos <= 0)
            return QStringLiteral("--espera lleva un número de segundos");
        o->esperaMs = segundos * 1000;
    }
    return OpcionesCli::leerFechas(p, &o->desde, &o->hasta);
}

} // namespace

int recibirDirecta(const QCommandLineParser& p, ContextoCli& ctx) {
    OpcionesRecibir o;
    if (const auto error = leerOpciones(p, &o))
        return errorDeUso(*error, "recibir", ctx);
    if (o.direccion.isEmpty()) {
        o.direccion =
            leerConexion(QStringLiteral("directa")).ajustes.value_or(AjustesConexion{}).direccion.trimmed();
        if (o.direccion.isEmpty()) {
            ctx.errores << "No hay dirección de la tablet guardada: indíquela después de --directa"
                        << Qt::endl;
            return 2;
        }
    }

    DescargaSucesos descarga;
    ConexionTablet conexion;
    Espera silencio(o.esperaMs); // silence of the tablet that ends the download as failed
    int resultado = -1;
    auto terminar = [&](int r) {
        if (resultado < 0) {
            resultado = r;
            silencio.terminar();
        }
    };

    QObject::connect(&conexion, &ConexionTablet::estadoCambiado, silencio.contexto(),
                     [&](ConexionTablet::Estado e) {
                         if (e != ConexionTablet::Estado::Conectado)
                             return;
                         conexion.enviar(descarga.iniciarDirecta(o.desde, o.hasta, o.direccion));
                         silencio.renovar();
                     });
    QObject::connect(&conexion, &ConexionTablet::llegada, silencio.contexto(), [&](const QByteArray& datos) {
        silencio.renovar();
        descarga.recibir(datos);
    });
    // Errors of single records are reported and the download goes on; the final message of a
    // complete download is not news, the count of unreadable records is.
    QObject::connect(&descarga, &DescargaSucesos::aviso, silencio.contexto(),
                     [&](const Mensaje& m) { ctx.errores << m.texto << Qt::endl; });
    QObject::connect(&descarga, &DescargaSucesos::terminada, silencio.contexto(),
                     [&](DescargaSucesos::Fin fin, const Mensaje& m) {
                         if (fin != DescargaSucesos::Fin::Completa && !m.texto.isEmpty())
                             ctx.errores << m.texto << Qt::endl;
                         terminar(0);
                     });
    QObject::connect(&conexion, &ConexionTablet::error, silencio.contexto(), [&](const QString& motivo) {
        if (resultado >= 0)
            return;
        ctx.errores << "Error de conexión con la tablet " << o.direccion << ": " << motivo << Qt::endl;
        terminar(1);
    });

    conexion.conectar(o.direccion);
    silencio.renovar();
    if (!silencio.esperar() && resultado < 0) {
        ctx.errores << "La tablet " << o.direccion << " no respondió en " << o.esperaMs / 1000 << " s ("
                    << descarga.filas().size() << " registros recibidos)" << Qt::endl;
        resultado = 1;
    }
    if (resultado != 0)
        descarga.cortar();

    if (conexion.enLinea())
        conexion.despedirse();
    conexion.cerrar();
    if (resultado != 0)
        return resultado; // a download cut short leaves no file that could pass for a whole one

    // Records that could not be read were each reported above, and the closing line counted
    // them: the rows that came are still written (and kept in the history), and the exit code
    // says the download was not whole.
    const bool escrito = escribirSucesos(descarga.filas(), o.csv, o.xlsx, ctx);
    const bool guardado = guardarEnHistorial(descarga, ctx);
    return escrito && guardado && descarga.entera() ? 0 : 1;
}
