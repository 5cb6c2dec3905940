#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// What a command of tolvaro-cli works with: the data folder, whose database is open while the
// command runs, and the two output streams.
struct ContextoCli {
    QString carpetaDatos;
    QTextStream& salida;
    QTextStream& errores;
};

// One command of tolvaro-cli. Its constructor declares what it takes (the forms of its usage line,
// a description, its arguments and options); its `--help` is built from that declaration, and its
// parser reads exactly the declared options. `ejecutar` returns the exit code: 0 done, 1 failed,
// 2 usage error.
class Comando {
public:
    virtual ~Comando() = default;

    const QString& nombre() const { return nombre_; }
    const QString& resumen() const { return resumen_; } // its line in the general help
    // Whether it works through the shared connection, which is then opened before it runs.
    bool usaBase() const { return usaBase_; }

    // `tolvaro-cli NOMBRE --help`: the usage forms, the description, then one line per argument
    // and option with its description.
    QString ayuda() const;

    // Parses the arguments after the command word on `opciones`. Prints the help and returns 0 for
    // --help; prints what is wrong and the help and returns 2 for arguments the parser refuses;
    // returns nothing when the command may run.
    std::optional<int> leerArgumentos(const QStringList& args, QCommandLineParser& opciones,
                                      QTextStream& salida, QTextStream& errores) const;

    virtual int ejecutar(const QCommandLineParser& opciones, ContextoCli& ctx) const = 0;

    // The declaration, made by the constructor of each command and by the shared option groups.
    // A usage form after "tolvaro-cli [--datos CARPETA] NOMBRE": its lines, the later ones set
    // under the first.
    void uso(const QStringList& lineas);
    void describir(const QString& texto);
    void opciones(const QList<QCommandLineOption>& nuevas);
    void posicional(const QString& nombre, const QString& descripcion, const QString& sintaxis = {});

protected:
    Comando(const char* nombre, const char* resumen, bool usaBase = true);

private:
    struct Posicional {
        QString nombre;
        QString descripcion;
        QString sintaxis;
    };
    QString nombre_;
    QString resumen_;
    bool usaBase_;
    QList<QStringList> usos_;
    QString descripcion_;
    QList<Posicional> posicionales_;
    QList<QCommandLineOption> opciones_;
};
