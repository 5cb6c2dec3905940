// tolvaro-cli copiar-dia and archivar, and what the upload then sends (against the simulator).
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "PlanSubida.h"
#include "ServidorTableta.h"

#include <QDir>
#include <QTest>

namespace {
using Salida = SalidaCli;

Salida correr(const QString& datos, const QStringList& args) {
    return correrCli(args, CorridaCli(datos));
}
} // namespace

class TstPlanCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiarDia();
    void archivadosFueraDelEnvio();
    void nombreConComa();
    void erroresDeUso();
};

void TstPlanCli::copiarDia() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    const Salida r = correr(b.carpeta(), {"copiar-dia", "--desde", "2024-01-15", "--hacia", "2024-01-20"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QCOMPARE(r.salida,
             QString("Se copió el viaje 3 al 20/01/2024 como viaje 5 (2 filas del plan, 2 de corrales).\n"));
    // Equal to the source but for the date and the trip number.
    const QString plan = "select hora, id_receta, id_op, id_alim, cantidad, orden from viajes where id = %1 "
                         "order by orden";
    QCOMPARE(b.filas(plan.arg(5)), b.filas(plan.arg(3)));
    QCOMPARE(b.filas("select distinct fecha from viajes where id = 5"), QStringList{"2024-01-20"});
    const QString corrales = "select rodeo, por, orden from descarga where id = %1 order by orden";
    QCOMPARE(b.filas(corrales.arg(5)), b.filas(corrales.arg(3)));

    // A day without trips copies nothing.
    const Salida vacio =
        correr(b.carpeta(), {"copiar-dia", "--desde", "2024-02-01", "--hacia", "2024-02-02"});
    QCOMPARE(vacio.codigo, 1);
    QCOMPARE(vacio.errores, QString("No hay viajes el 01/02/2024 para copiar.\n"));
    // Trip numbers past 32767 are refused before anything is written.
    QVERIFY(b.ejecutar("update viajes set id = 32767 where id = 5"));
    const Salida lleno =
        correr(b.carpeta(), {"copiar-dia", "--desde", "2024-01-15", "--hacia", "2024-01-21"});
    QCOMPARE(lleno.codigo, 1);
    QCOMPARE(b.valor("select count(*) from viajes").toInt(), 6);
}

void TstPlanCli::archivadosFueraDelEnvio() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    const QString direccion = QStringLiteral("127.0.0.1:%1").arg(tableta.puerto());
    const QList<QByteArray> todos = PlanSubida::esperadoMixto();

    // Trip 3 (the 15th) goes to the archive with its pens: not listed, not sent, still kept.
    Salida r = correr(b.carpeta(), {"archivar", "--antes", "2024-01-16"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QCOMPARE(r.salida,
             QString("Se archivó 1 viaje anterior al 16/01/2024 (2 filas del plan, 2 de corrales).\n"
                     "Se enviarán 7 registros, unos 4 segundos por la conexión directa.\n"));
    QCOMPARE(b.filas("select distinct id from viajes_archivo"), QStringList{"3"});
    QCOMPARE(b.valor("select count(*) from descarga_archivo").toInt(), 2);
    r = correr(b.carpeta(), {"enviar", "--directa", direccion});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY(r.salida.startsWith("Se enviarán 7 registros, unos 4 segundos.\n"));
    // The same bytes as before, only without the archived trip's messages.
    QTRY_COMPARE(tableta.mensajes(),
                 QList<QByteArray>({todos.at(2), todos.at(3), todos.at(6), todos.at(7), todos.at(8),
                                    todos.at(9), todos.at(10), "'desconectar'"}));

    // Back from the archive: the whole programme again, byte for byte.
    r = correr(b.carpeta(), {"archivar", "--recuperar"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY(r.salida.startsWith("Se recuperó 1 viaje del archivo (2 filas del plan, 2 de corrales).\n"));
    QCOMPARE(b.valor("select count(*) from viajes_archivo").toInt(), 0);
    tableta.limpiar();
    r = correr(b.carpeta(), {"enviar", "--directa", direccion});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY(r.salida.startsWith("Se enviarán 11 registros, unos 6 segundos.\n"));
    QTRY_COMPARE(tableta.mensajes(), todos + QList<QByteArray>{"'desconectar'"});
}

void TstPlanCli::nombreConComa() {
    // A name the tablet would split: named before sending, refused unless --aun-asi.
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    QVERIFY(b.ejecutar("update alimentos set descripcion = 'Maíz, partido' where id = 1"));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    const Salida r =
        correr(b.carpeta(), {"enviar", "--directa", QStringLiteral("127.0.0.1:%1").arg(tableta.puerto())});
    QCOMPARE(r.codigo, 1);
    QCOMPARE(r.errores,
             QString("El alimento 1 (Maíz, partido) tiene una coma en el nombre: la tablet la toma como "
                     "separador y devuelve en blanco las cargas que lo nombran. Cámbiele el nombre en su "
                     "editor.\nNo se envió nada. Use --aun-asi para enviar la programación igual.\n"));
    QCOMPARE(tableta.conexionesAceptadas(), 0);
}

void TstPlanCli::erroresDeUso() {
    BaseTemporal b;
    for (const QStringList& args :
         {QStringList{"copiar-dia", "--desde", "2024-01-15"},
          QStringList{"copiar-dia", "--desde", "2024-02-30", "--hacia", "2024-03-01"},
          QStringList{"archivar"}, QStringList{"archivar", "--antes", "2024-01-01", "--recuperar"},
          QStringList{"archivar", "--antes", "15/01/2024"}})
        QCOMPARE(correr(b.carpeta(), args).codigo, 2);
}

QTEST_GUILESS_MAIN(TstPlanCli)
#include "tst_plancli.moc"
