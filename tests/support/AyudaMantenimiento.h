#pragma once

// Helpers of the maintenance tests: archives made by other tools, damaged copies, databases.
#include "Archivos.h"

#include "db/BaseDatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace AyudaMantenimiento {

using Archivos::escribir;
using Archivos::leer;

// cabextract and gcab are Linux programs: a test program under Wine starts them but never sees
// them end. There the archives are checked with cabextract by scripts/windows.sh comprobar.
#ifdef Q_OS_WIN
#define SIN_CABEXTRACT_NI_GCAB() QSKIP("cabextract y gcab no corren desde Wine")
#else
#define SIN_CABEXTRACT_NI_GCAB()                                                                             \
    do {                                                                                                     \
    } while (false)
#endif

// Runs a program to its end: its exit code, or -1 when it could not run.
inline int correr(const QString& programa, const QStringList& args, QByteArray* salida = nullptr,
                  QByteArray* errores = nullptr, const QString& carpeta = {}) {
    QProcess p;
    if (!carpeta.isEmpty())
        p.setWorkingDirectory(carpeta);
    p.start(programa, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(300000))
        return -1;
    if (salida)
        *salida = p.readAllStandardOutput();
    if (errores)
        *errores = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A file of the legacy fixtures (TOLVARO_FIXTURES, the sources' tests/fixtures/legacy, or the shared
// folder beside the sources); empty when they are not there.
inline QString archivoLegado(const QString& nombre) {
    const QString fuente = qEnvironmentVariable("TOLVARO_SOURCE");
    for (const QString& carpeta :
         {qEnvironmentVariable("TOLVARO_FIXTURES"), fuente + "/tests/fixtures/legacy",
          fuente + "/../shared/fixtures/legacy", fuente + "/../../shared/fixtures/legacy"}) {
        const QString ruta = QDir(carpeta).filePath(nombre);
        if (!carpeta.isEmpty() && QFileInfo::exists(ruta))
            return QFileInfo(ruta).absoluteFilePath();
    }
    return {};
}

// An archive made by the gcab tool from files of one folder, under their bare names.
inline bool gcab(const QString& archivo, const QStringList& rutas, bool comprimir) {
    QStringList args{QStringLiteral("-c"), QStringLiteral("-n")};
    if (comprimir)
        args << QStringLiteral("-z");
    args << archivo << rutas;
    return correr(QStringLiteral("gcab"), args) == 0;
}

// `filas` plan rows over a few recipes, feeds and operators, into the shared connection's
// database, with values of every kind the tables hold (REAL amounts, texts with accents, -1).
inline bool llenarPlan(int filas) {
    QSqlDatabase db = BaseDatos::ConexionBD();
    if (!db.transaction())
        return false;
    QSqlQuery q(db);
    bool ok =
        q.exec(QStringLiteral("insert into recetas values (1, 'Engorde Ñandú', 0), (2, 'Recría', -1)")) &&
        q.exec(QStringLiteral("insert into alimentos values (1, 'Maíz'), (2, 'Silo de maíz')")) &&
        q.exec(QStringLiteral("insert into operarios values (1, 'José Peña')")) &&
        q.prepare(QStringLiteral("insert into viajes values (?, ?, ?, ?, 1, ?, ?, ?)"));
    for (int i = 0; ok && i < filas; ++i) {
        q.addBindValue(i / 3 + 1);
        q.addBindValue(QStringLiteral("2026-12-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("%1:%2")
                           .arg(i % 24, 2, 10, QLatin1Char('0'))
                           .arg(i % 60, 2, 10, QLatin1Char('0')));
        q.addBindValue(i % 2 + 1);
        q.addBindValue(i % 3 + 1);
        q.addBindValue(i * 1.25 + 1.0 / 3);
        q.addBindValue(i % 3 + 1);
        ok = q.exec();
    }
    ok = ok && q.exec(QStringLiteral("insert into descarga values (1, 'Corral Ñ', 33.3333333333333, 1)"));
    return ok && db.commit();
}

// Every row of the program's tables, each value with its type, in storage order.
inline QStringList volcado(const QSqlDatabase& db) {
    QStringList r;
    for (const char* t : {"recetas", "alimentos", "operarios", "viajes", "descarga", "tipo_conexion"}) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(t)))) {
            r << QStringLiteral("error en %1").arg(QLatin1String(t));
            continue;
        }
        while (q.next()) {
            QStringList fila{QLatin1String(t)};
            for (int i = 0; i < q.record().count(); ++i)
                fila << QStringLiteral("%1:%2").arg(QLatin1String(q.value(i).typeName()),
                                                    q.value(i).toString());
            r << fila.join(u'|');
        }
    }
    return r;
}

// What the legacy archive's Base.mdb holds, as volcado() shows it: recipe 2 planned in percentages
// (-1), 2800.5 kg, the pen "Vaquillonas Ñ", the web password "cl'ave" and the null user of "directa".
inline bool esLaGranjaDelLegado(const QStringList& filas) {
    return filas.size() == 22 &&
           filas.contains(QStringLiteral("recetas|qlonglong:2|QString:Recría Vaquillonas|qlonglong:-1")) &&
           filas.contains(
               QStringLiteral("viajes|qlonglong:1|QString:2026-12-07|QString:06:30|qlonglong:1|qlonglong:1|"
                              "qlonglong:2|double:2800.5|qlonglong:2")) &&
           filas.contains(
               QStringLiteral("descarga|qlonglong:2|QString:Vaquillonas Ñ|double:1800|qlonglong:1")) &&
           filas.contains(QStringLiteral(
               "tipo_conexion|qlonglong:1|QString:directa|QString:192.168.1.50|QString:|QString:")) &&
           filas.contains(QStringLiteral(
               "tipo_conexion|qlonglong:2|QString:web|QString:feed.example.net|QString:estancia|"
               "QString:cl'ave"));
}

// The names and bytes of every file of a folder, to tell that nothing changed.
inline QStringList foto(const QString& carpeta) {
    QStringList r;
    const QDir d(carpeta);
    for (const QString& n : d.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        r << QStringLiteral("%1:%2").arg(n).arg(qHash(leer(d.filePath(n))));
    return r;
}

} // namespace AyudaMantenimiento
