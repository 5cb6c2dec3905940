// tolvaro-cli enviar --directa against the tablet simulator.
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "PlanSubida.h"
#include "ServidorTableta.h"

#include <QDir>
#include <QTest>

namespace {
using Salida = SalidaCli;

Salida correr(const QString& datos, const QStringList& args) {
    return correrCli(QStringList{QStringLiteral("enviar")} + args, CorridaCli(datos));
}
} // namespace

class TstSubidaCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void envioCompleto();
    void direccionGuardadaYTabletQueNoConfirma();
    void conexionPerdidaYRechazada();
    void erroresDeUso();
    void planIncompletoRechazado();
};

void TstSubidaCli::envioCompleto() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixtoSin(b, 4));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    const Salida r = correr(b.carpeta(), {"--directa", QStringLiteral("127.0.0.1:%1").arg(tableta.puerto())});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    const QList<QByteArray> todos = PlanSubida::esperadoMixto();
    QTRY_COMPARE(tableta.mensajes(),
                 QList<QByteArray>({todos.at(0), todos.at(1), todos.at(4), todos.at(5), todos.at(8),
                                    todos.at(9), todos.at(10), "'desconectar'"}));
    QCOMPARE(tableta.llegadas().size(), 8);
    QVERIFY(r.salida.contains(QStringLiteral("Enviando Descarga\n  Enviando Descarga 1/2\n")));
    QVERIFY(r.salida.contains(QStringLiteral("'fin' enviado")));
}

void TstSubidaCli::direccionGuardadaYTabletQueNoConfirma() {
    BaseTemporal b;
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    QVERIFY(b.ejecutar(
        QStringLiteral("update tipo_conexion set direccion = '127.0.0.1:%1' where tipo = 'directa'")
            .arg(tableta.puerto())));
    Salida r = correr(b.carpeta(), {"--directa"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QTRY_COMPARE(tableta.mensajes(), PlanSubida::esperadoVacio() << "'desconectar'");

    // A tablet that leaves after "'fin'" without "ok" has not confirmed anything.
    tableta.limpiar();
    tableta.setResponderOk(false);
    connect(&tableta, &ServidorTableta::llegada, &tableta, [&](const QByteArray& d) {
        if (d.contains("'fin'"))
            tableta.cerrarConexiones();
    });
    r = correr(b.carpeta(), {"--directa"});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains(QStringLiteral("sin confirmar")), qPrintable(r.errores));
}

void TstSubidaCli::conexionPerdidaYRechazada() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    connect(&tableta, &ServidorTableta::llegada, &tableta, [&] { tableta.cerrarConexiones(); });
    Salida r = correr(b.carpeta(), {"--directa", QStringLiteral("127.0.0.1:%1").arg(tableta.puerto())});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(
        r.errores.contains(QStringLiteral(") en procedimiento Conexion_Directa de Formulario FrmPrincipal")),
        qPrintable(r.errores));
    QCOMPARE(tableta.mensajes().size(), 1);

    // Nobody listening.
    quint16 libre = 0;
    {
        ServidorTableta cerrada;
        QVERIFY(cerrada.escuchar(QHostAddress::LocalHost, 0));
        libre = cerrada.puerto();
    }
    r = correr(b.carpeta(), {"--directa", QStringLiteral("127.0.0.1:%1").arg(libre)});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains(QStringLiteral("No se pudo conectar con la tablet")), qPrintable(r.errores));
}

void TstSubidaCli::erroresDeUso() {
    BaseTemporal b;
    QCOMPARE(correr(b.carpeta(), {"--directa", "a", "b"}).codigo, 2);
    QCOMPARE(correr(b.carpeta(), {"--directa", "--rapido"}).codigo, 2);
    // No address given and none saved.
    const Salida r = correr(b.carpeta(), {"--directa"});
    QCOMPARE(r.codigo, 2);
    QVERIFY(r.errores.contains(QStringLiteral("HOST")));
    const Salida ayuda = correr(b.carpeta(), {"--directa", "--help"});
    QCOMPARE(ayuda.codigo, 0);
    QVERIFY(ayuda.salida.contains(QStringLiteral("enviar --directa [HOST[:PUERTO]]")));
}

void TstSubidaCli::planIncompletoRechazado() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    QVERIFY(b.ejecutar("delete from alimentos where id = 2")); // one row of trip 3, one of trip 4
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    const QString aviso =
        QStringLiteral("2 filas del plan no se enviarán porque su receta, su alimento o su viaje "
                       "ya no existe (viajes 3, 4).\n");
    // Refused on both roads before anything is sent: neither the tablet nor a server is reached.
    const QString direccion = QStringLiteral("127.0.0.1:%1").arg(tableta.puerto());
    for (const QStringList& camino :
         {QStringList{"--directa", direccion},
          QStringList{"--web", "--servidor", direccion, "--usuario", "u", "--clave", "c"}}) {
        const Salida r = correr(b.carpeta(), camino);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.errores,
                 aviso + "No se envió nada. Use --aun-asi para enviar el resto de la programación.\n");
        QCOMPARE(tableta.conexionesAceptadas(), 0);
    }
    // --aun-asi sends the rest, saying what stays behind.
    const Salida r = correr(b.carpeta(), {"--directa", direccion, "--aun-asi"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QCOMPARE(r.errores, aviso);
    const QList<QByteArray> todos = PlanSubida::esperadoMixto();
    QTRY_COMPARE(tableta.mensajes(),
                 QList<QByteArray>({todos.at(0), todos.at(2), todos.at(4), todos.at(5), todos.at(6),
                                    todos.at(7), "'te paso' 'alimentos' ('0','1','Maiz'),", todos.at(9),
                                    todos.at(10), "'desconectar'"}));
}

QTEST_GUILESS_MAIN(TstSubidaCli)
#include "tst_subidacli.moc"
