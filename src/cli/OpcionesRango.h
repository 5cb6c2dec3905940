#pragma once

#include "cli/Comandos.h"

#include <QCommandLineParser>
#include <QDate>

// The parser of a command that reads kept events of a date range: --desde and --hasta
// (AAAA-MM-DD, both required, inclusive) and --help, plus whatever the command adds.
class OpcionesRango {
public:
    explicit OpcionesRango(const char* ayuda);
    QCommandLineParser& parser() { return parser_; }

    // Reads `args` (the command's own arguments). Returns -1 when the command should go on,
    // otherwise its exit code: 0 after printing the help, 2 after a usage error on stderr.
    int leer(const QStringList& args, ContextoCli& ctx);
    QDate desde() const { return desde_; }
    QDate hasta() const { return hasta_; }
    // Reports a usage error and returns 2.
    int errorDeUso(const QString& texto, ContextoCli& ctx) const;

private:
    QCommandLineParser parser_;
    const char* ayuda_;
    QDate desde_;
    QDate hasta_;
};
