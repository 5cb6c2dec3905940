#include "access/LecturaAislada.h"

#include "access/CabeceraAccess.h"
#include "access/LectorAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace LecturaAislada {

namespace {

// A farm's file is read whole in well under a second; a reader still going after this is looping.
// TOLVARO_LECTOR_ACCESS_PLAZO_MS shortens it where many files are tried one after another.
qint64 plazoMs() {
    bool ok = false;
    const qint64 propio = qEnvironmentVariableIntValue("TOLVARO_LECTOR_ACCESS_PLAZO_MS", &ok);
    return ok && propio > 0 ? propio : 60'000;
}

QString nombrePrograma() {
#ifdef _WIN32
    return QStringLiteral("tolvaro-lector-access.exe");
#else
    return QStringLiteral("tolvaro-lector-access");
#endif
}

} // namespace

QString programa() {
    QStringList candidatos;
    if (const QString propio = qEnvironmentVariable("TOLVARO_LECTOR_ACCESS"); !propio.isEmpty())
        candidatos << propio;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        candidatos << dir + u'/' + nombrePrograma()
                   << dir + QStringLiteral("/../lib/tolvaro/") + nombrePrograma();
    }
#ifdef TOLVARO_LECTOR_ACCESS_COMPILADO
    candidatos << QStringLiteral(TOLVARO_LECTOR_ACCESS_COMPILADO);
#endif
    for (const QString& c : std::as_const(candidatos)) {
        const QFileInfo info(c);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return {};
}

Resultado comprobar(const QByteArray& datos, const std::atomic_bool* cancelar) {
    const QString ruta = programa();
    if (ruta.isEmpty())
        return Resultado::Leida;
    QProcess lector;
    // What libmdb complains about on the way is of no use to the user: the outcome is what counts.
    lector.setStandardOutputFile(QProcess::nullDevice());
    lector.setStandardErrorFile(QProcess::nullDevice());
    lector.start(ruta, {});
    if (!lector.waitForStarted(10'000))
        return Resultado::Leida; // no reader to ask: read here, as a build without it does
    lector.write(datos);
    lector.closeWriteChannel();
    const qint64 plazo = plazoMs();
    QElapsedTimer reloj;
    reloj.start();
    while (!lector.waitForFinished(100)) {
        if (lector.state() == QProcess::NotRunning)
            break;
        if (cancelar && cancelar->load()) {
            lector.kill();
            lector.waitForFinished(5'000);
            return Resultado::Cancelada;
        }
        if (reloj.elapsed() > plazo) {
            lector.kill();
            lector.waitForFinished(5'000);
            return Resultado::Detenida;
        }
    }
    // Anything but a clean 0 (a signal, a sanitizer's report, an abort) is a reader brought down.
    return lector.exitStatus() == QProcess::NormalExit && lector.exitCode() == 0 ? Resultado::Leida
                                                                                 : Resultado::Detenida;
}

void leerTodo(QByteArray datos) {
    if (!CabeceraAccess::examinar(datos).valido())
        return;
    LectorAccess lector;
    QString motivo;
    if (!lector.abrir(std::move(datos), &motivo))
        return;
    for (const QString& nombre : lector.tablas()) {
        const std::unique_ptr<TablaAccess> tabla = lector.tabla(nombre, &motivo);
        QVariantList fila;
        while (tabla && tabla->siguiente(&fila)) {
        }
    }
}

} // namespace LecturaAislada
