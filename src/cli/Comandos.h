#pragma once

#include "core/FilaEvento.h"

#include <QStringList>
#include <QTextStream>

// The commands of tolvaro-cli. Each gets its own arguments (after the command word) and
// returns the exit code: 0 done, 1 the exchange failed, 2 usage error.
struct ContextoCli {
    QString carpetaDatos;
    QTextStream& salida;
    QTextStream& errores;
};

int comandoEnviar(const QStringList& args, ContextoCli& ctx);
int comandoRecibir(const QStringList& args, ContextoCli& ctx);
int comandoInforme(const QStringList& args, ContextoCli& ctx);
int comandoHistorial(const QStringList& args, ContextoCli& ctx);
int comandoImportar(const QStringList& args, ContextoCli& ctx);
// Backup, restore and listing of cabinet archives; they never open the database themselves.
int comandoRespaldar(const QStringList& args, ContextoCli& ctx);
int comandoRecuperar(const QStringList& args, ContextoCli& ctx);
int comandoContenido(const QStringList& args, ContextoCli& ctx);

// The two roads of each command.
int enviarDirecta(const QStringList& args, ContextoCli& ctx);
int enviarWeb(const QStringList& args, ContextoCli& ctx);
int recibirDirecta(const QStringList& args, ContextoCli& ctx);
int recibirWeb(const QStringList& args, ContextoCli& ctx);

// The downloaded events as CSV: on standard output when `archivo` is empty, otherwise written
// safely to the file (a failure leaves the file as it was and says why on stderr).
bool escribirCsv(const QByteArray& csv, const QString& archivo, ContextoCli& ctx);
// The downloaded events as an .xlsx workbook written safely to `archivo` (a failure leaves the
// file as it was and says why on stderr).
bool escribirXlsx(const QList<FilaEvento>& filas, const QString& archivo, ContextoCli& ctx);
// The outputs of "recibir": the CSV to `csv`, the workbook to `xlsx`; the CSV goes to standard
// output when neither file is named.
bool escribirSucesos(const QList<FilaEvento>& filas, const QString& csv, const QString& xlsx,
                     ContextoCli& ctx);

// Keeps a download that ended well in the event history; false (with the reason on stderr) when
// the database refused it.
bool guardarEnHistorial(const QList<FilaEvento>& filas, const QString& via, ContextoCli& ctx);
