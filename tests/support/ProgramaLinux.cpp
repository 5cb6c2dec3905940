#include "ProgramaLinux.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <windows.h>
#endif

namespace ProgramaLinux {

#ifndef Q_OS_WIN

Resultado correr(const QString& programa, const QStringList& argumentos, int msMaximo,
                 const QString& carpeta) {
    QProcess p;
    if (!carpeta.isEmpty())
        p.setWorkingDirectory(carpeta);
    p.start(programa, argumentos);
    Resultado r;
    if (!p.waitForFinished(msMaximo)) {
        r.falla = p.errorString();
        r.errores = p.readAllStandardError();
        return r;
    }
    r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.salida = p.readAllStandardOutput();
    r.errores = p.readAllStandardError();
    return r;
}

QString ruta(const QString& archivo) {
    return archivo;
}

#else

namespace {
QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

QString ruta(const QString& archivo) {
    using Convertir = char*(__cdecl*)(const wchar_t*);
    const auto convertir = reinterpret_cast<Convertir>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convertir)
        return {}; // not under Wine
    const std::wstring nombre =
        QDir::toNativeSeparators(QFileInfo(archivo).absoluteFilePath()).toStdWString();
    char* unix = convertir(nombre.c_str());
    if (!unix)
        return {};
    const QString r = QString::fromUtf8(unix); // Unix names are UTF-8 here
    HeapFree(GetProcessHeap(), 0, unix);
    return r;
}

Resultado correr(const QString& programa, const QStringList& argumentos, int msMaximo,
                 const QString& carpeta) {
    Resultado r;
    QTemporaryDir dir;
    const QString guion = dir.filePath(QStringLiteral("correr.sh"));
    QFile g(guion);
    if (!dir.isValid() || !g.open(QIODevice::WriteOnly) ||
        g.write("PATH=/usr/local/bin:/usr/bin:/bin; export PATH\n"
                "d=$1; cd \"$2\" || exit; shift 2\n"
                "\"$@\" >\"$d/salida\" 2>\"$d/errores\"\n"
                "echo $? >\"$d/codigo.parcial\" && mv \"$d/codigo.parcial\" \"$d/codigo\"\n") < 0) {
        r.falla = QStringLiteral("no se pudo preparar %1").arg(guion);
        return r;
    }
    g.close();
    const QString respuestas = ruta(dir.path());
    if (respuestas.isEmpty()) {
        r.falla = QStringLiteral("%1 es un programa de Linux: solo corre bajo Wine").arg(programa);
        return r;
    }
    const QString donde = ruta(carpeta.isEmpty() ? QDir::currentPath() : carpeta);
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"),
                                 QStringList{ruta(guion), respuestas, donde, programa} + argumentos)) {
        r.falla = QStringLiteral("no arrancó /bin/sh");
        return r;
    }
    const QDeadlineTimer limite(msMaximo);
    while (!QFile::exists(dir.filePath(QStringLiteral("codigo")))) {
        if (limite.hasExpired()) {
            r.falla = QStringLiteral("%1 no terminó en %2 ms").arg(programa).arg(msMaximo);
            return r;
        }
        QThread::msleep(20);
    }
    bool ok = false;
    r.codigo = leer(dir.filePath(QStringLiteral("codigo"))).trimmed().toInt(&ok);
    if (!ok)
        r.codigo = -1;
    r.salida = leer(dir.filePath(QStringLiteral("salida")));
    r.errores = leer(dir.filePath(QStringLiteral("errores")));
    return r;
}

#endif

} // namespace ProgramaLinux
