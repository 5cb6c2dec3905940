#pragma once

// tolvaro-cli run as a user runs it, with what it answered kept for the test.
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// What the command answered: its exit code (-1 when it did not start, crashed or was stopped for
// taking too long), its standard output as written and as text, its errors and how long it took.
struct SalidaCli {
    int codigo = -1;
    QString salida;
    QString errores;
    QByteArray bytes;
    qint64 ms = 0;
};

// How it is run: `CorridaCli(carpeta).regional()`.
class CorridaCli {
public:
    // --datos CARPETA before the arguments, unless empty.
    explicit CorridaCli(const QString& datos = {}) : datos_(datos) {}
    // LC_ALL=es_AR.UTF-8: a decimal comma, as on the farm's machines.
    CorridaCli& regional() {
        regional_ = true;
        return *this;
    }
    // Neither QT_QPA_PLATFORM nor DISPLAY, as on a server: the command chooses a platform itself.
    CorridaCli& sinPantalla() {
        sinPantalla_ = true;
        return *this;
    }
    // How long it may take before it is stopped (and counted as failed).
    CorridaCli& espera(int ms) {
        esperaMs_ = ms;
        return *this;
    }

private:
    friend SalidaCli correrCli(const QStringList& args, const CorridaCli& corrida);
    QString datos_;
    bool regional_ = false;
    bool sinPantalla_ = false;
    int esperaMs_ = 60000;
};

inline QString programaCli() {
    return QDir(qEnvironmentVariable("TOLVARO_BIN")).filePath(QStringLiteral("src/cli/tolvaro-cli"));
}

// Runs the command to its end. This thread's events keep running meanwhile: the tablet simulator
// and the web stand-in of many tests answer from this process.
inline SalidaCli correrCli(const QStringList& args, const CorridaCli& corrida = CorridaCli()) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (corrida.regional_)
        entorno.insert(QStringLiteral("LC_ALL"), QStringLiteral("es_AR.UTF-8"));
    QTemporaryDir runtime;
    if (corrida.sinPantalla_) {
        entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
        entorno.remove(QStringLiteral("DISPLAY"));
        if (!entorno.contains(QStringLiteral("XDG_RUNTIME_DIR")))
            entorno.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path()); // what a desktop session gives
    }
    p.setProcessEnvironment(entorno);
    QStringList todos;
    if (!corrida.datos_.isEmpty())
        todos << QStringLiteral("--datos") << corrida.datos_;
    todos << args;
    SalidaCli s;
    QElapsedTimer reloj;
    reloj.start();
    p.start(programaCli(), todos);
    if (!p.waitForStarted(10000))
        return s;
    if (!QTest::qWaitFor([&p] { return p.state() == QProcess::NotRunning; }, corrida.esperaMs_))
        p.kill();
    p.waitForFinished(1000);
    s.ms = reloj.elapsed();
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.bytes = p.readAllStandardOutput();
    s.salida = QString::fromUtf8(s.bytes);
    s.errores = QString::fromUtf8(p.readAllStandardError());
    return s;
}
