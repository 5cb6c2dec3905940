#pragma once

#include "cli/Comando.h"
#include "core/FilaEvento.h"
#include "impresion/DibujoDocumento.h"

#include <QCommandLineParser>
#include <QDate>
#include <QList>
#include <QStringList>
#include <QTextStream>

#include <optional>

class DescargaSucesos;
class Trabajo;

// The commands, in the order the general help lists them.
const Comando& comandoEnviar();
const Comando& comandoRecibir();
const Comando& comandoInforme();
const Comando& comandoHistorial();
const Comando& comandoImportar();
// Backup, restore and listing of cabinet archives; they never open the database themselves.
const Comando& comandoRespaldar();
const Comando& comandoRecuperar();
const Comando& comandoContenido();
// The known backup archives, each read back.
const Comando& comandoRespaldos();
// Feed prices, stock movements, stock and costs.
const Comando& comandoPrecio();
const Comando& comandoIngreso();
const Comando& comandoConteo();
const Comando& comandoStock();
const Comando& comandoCostos();
const Comando& comandoTolerancia();
// The loading sheet of a day as a PDF.
const Comando& comandoPlanilla();
// The plan: a day's trips copied to another day; old trips archived or brought back.
const Comando& comandoCopiarDia();
const Comando& comandoArchivar();

// A usage error found by the command itself: the text, then where the command is described.
int errorDeUso(const QString& texto, const char* comando, ContextoCli& ctx);

// The two roads of each command.
int enviarDirecta(const QCommandLineParser& opciones, ContextoCli& ctx);
int enviarWeb(const QCommandLineParser& opciones, ContextoCli& ctx);
int recibirDirecta(const QCommandLineParser& opciones, ContextoCli& ctx);
int recibirWeb(const QCommandLineParser& opciones, ContextoCli& ctx);

// Options shared by the commands.
namespace OpcionesCli {
// --directa [HOST[:PUERTO]] and --web [--servidor S --usuario U --clave C].
void declararCaminos(Comando& c);
// Runs the road chosen with --directa or --web; a usage error (2) unless exactly one is given.
using Camino = int (*)(const QCommandLineParser&, ContextoCli&);
int porCamino(const QCommandLineParser& p, const QString& ayuda, Camino directa, Camino web,
              ContextoCli& ctx);
// The first of these options that was given, as typed ("--servidor"): options of the other road.
std::optional<QString> primeraDada(const QCommandLineParser& p, const QStringList& nombres);
// The backup archives named on the command line: the exit code of a usage error (2), already
// reported with the help, when there are not exactly `posicionales` of them.
std::optional<int> contarArchivosCab(const QCommandLineParser& p, const QString& ayuda, int posicionales,
                                     ContextoCli& ctx);
inline const QStringList kOpcionesWeb = {QStringLiteral("servidor"), QStringLiteral("usuario"),
                                         QStringLiteral("clave")};
// --desde and --hasta of the commands that take a range of days (AAAA-MM-DD, both inclusive).
void declararRango(Comando& c);
// Reads both as dates; the usage error's text when one is missing or no date.
std::optional<QString> leerFechas(const QCommandLineParser& p, QDate* desde, QDate* hasta);
// Reads them: nothing when both are dates in order, otherwise the exit code of the usage error
// (2), already reported.
std::optional<int> leerRango(const QCommandLineParser& p, const char* comando, ContextoCli& ctx, QDate* desde,
                             QDate* hasta);
// A day given as AAAA-MM-DD in option `opcion`; the usage error's text when missing or no date.
std::optional<QString> leerDia(const QCommandLineParser& p, const QString& opcion, QDate* dia);
// ALIMENTO and the amount after it (`cantidad`, described as `descripcion`), the positional
// arguments of the price and stock movement commands.
void declararAlimentoY(Comando& c, const QString& cantidad, const QString& descripcion);
// What those commands read: a feed of the catalogue by its id, an amount (with "." or the regional
// decimal comma, not negative) and the day of option `opcionDia`.
struct Movimiento {
    int idAlimento = 0;
    QString nombre;
    double cantidad = 0;
    QDate dia;
};
// Reads them in that order; the exit code of the error, already reported (2 for usage, 1 when the
// feed does not exist), or nothing.
std::optional<int> leerMovimiento(const QCommandLineParser& p, const char* comando, const QString& opcionDia,
                                  ContextoCli& ctx, Movimiento* m);
// --pdf ARCHIVO [--papel a4|carta] [--horizontal] of the commands that write a PDF.
void declararPdf(Comando& c);
// Reads the paper; the exit code of a usage error (2), already reported, when they do not serve.
std::optional<int> leerPdf(const QCommandLineParser& p, const char* comando, ContextoCli& ctx,
                           DibujoDocumento::Papel* papel);
} // namespace OpcionesCli

// The downloaded events as CSV: on standard output when `archivo` is empty, otherwise written
// safely to the file (a failure leaves the file as it was and says why on stderr).
bool escribirCsv(const QByteArray& csv, const QString& archivo, ContextoCli& ctx);
// Runs a job that writes the workbook `archivo` on this thread; a failure (which leaves the file as
// it was) is told on stderr.
bool escribirLibro(Trabajo& escritura, const QString& archivo, ContextoCli& ctx);
// The outputs of "recibir": the CSV to `csv`, the workbook to `xlsx`; the CSV goes to standard
// output when neither file is named.
bool escribirSucesos(const QList<FilaEvento>& filas, const QString& csv, const QString& xlsx,
                     ContextoCli& ctx);

// Writes the document as a PDF safely to `archivo`; a failure (which leaves the file as it was) is
// told on stderr.
bool escribirPdf(const DocumentoImpreso::Documento& documento, const DibujoDocumento::Papel& papel,
                 const QString& archivo, ContextoCli& ctx);

// Keeps a download that ended well in the event history; false (with the reason on stderr) when
// the database refused it.
bool guardarEnHistorial(const DescargaSucesos& descarga, ContextoCli& ctx);
