// "Enviar Programacion" over the direct link, from the main window.
#include "BaseTemporal.h"
#include "ConectarPrincipal.h"
#include "PlanSubida.h"
#include "ServidorTableta.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "link/EnvioDirecto.h"
#include "ui/Dialogos.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class TstSubida : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        Dialogos::activarModoPrueba();
        Dialogos::limpiar();
    }
    void envioCompletoConBotonesBloqueados();
    void sinConexionMuestraElError();
    void conexionPerdidaLiberaLosBotones();
    void envioLargoOfreceArchivar();
};

void TstSubida::envioCompletoConBotonesBloqueados() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixtoSin(b, 3));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    FrmPrincipal v;
    v.show();
    QVERIFY(conectarPrincipal(v, tableta));
    auto* env = control<QPushButton>(v, "CmdEnv");
    auto* bar = control<QProgressBar>(v, "Bar");
    auto* lbl = control<QLabel>(v, "Lbl");

    env->click();
    QVERIFY(!env->isEnabled());
    QVERIFY(!control<QPushButton>(v, "Command3")->isEnabled());
    QVERIFY(bar->isVisible());
    QCOMPARE(lbl->text(), QStringLiteral("Enviando Viajes"));
    QCOMPARE(bar->maximum(), 2);
    // The window stays live during the pauses, but a second upload does not start.
    QTest::qWait(200);
    v.enviarProgramacion();
    QTRY_VERIFY_WITH_TIMEOUT(env->isEnabled(), 10000);

    const QList<QByteArray> todos = PlanSubida::esperadoMixto();
    const QList<QByteArray> esperado = {todos.at(2), todos.at(3), todos.at(6), todos.at(7),
                                        todos.at(8), todos.at(9), todos.at(10)};
    QTRY_COMPARE(tableta.mensajes(), esperado);
    QVERIFY(bar->isHidden());
    QCOMPARE(lbl->text(), QStringLiteral("Programación enviada"));
    QTRY_VERIFY(!Dialogos::mostrados().isEmpty());
    QCOMPARE(Dialogos::mostrados().constLast().texto, FrmPrincipal::kAcuseRecibo);
}

void TstSubida::sinConexionMuestraElError() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'Maiz')"));
    FrmPrincipal v;
    v.show();
    auto* env = control<QPushButton>(v, "CmdEnv");
    env->click();
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().at(0), EnvioDirecto::mensajeError(EnvioDirecto::errorNoConectado()));
    // The bar is hidden after a failure; the buttons are free for another try.
    auto* bar = control<QProgressBar>(v, "Bar");
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->maximum(), 1);
    QCOMPARE(control<QLabel>(v, "Lbl")->text(), QStringLiteral("Enviando Alimentos"));
    QVERIFY(env->isEnabled());
    QVERIFY(control<QPushButton>(v, "Command4")->isEnabled());
}

void TstSubida::conexionPerdidaLiberaLosBotones() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    connect(&tableta, &ServidorTableta::llegada, &tableta, [&] { tableta.cerrarConexiones(); });
    FrmPrincipal v;
    v.show();
    QVERIFY(conectarPrincipal(v, tableta));
    auto* env = control<QPushButton>(v, "CmdEnv");
    env->click();
    QVERIFY(!env->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(env->isEnabled(), 5000);
    QCOMPARE(Dialogos::mostrados().size(), 1);
    const Mensaje m = Dialogos::mostrados().at(0);
    QVERIFY2(m.texto.endsWith(QStringLiteral("en procedimiento Conexion_Directa de Formulario FrmPrincipal")),
             qPrintable(m.texto));
    QCOMPARE(m.titulo, QStringLiteral("Error en FrmPrincipal"));
    QCOMPARE(tableta.mensajes().size(), 1);
    QVERIFY(control<QProgressBar>(v, "Bar")->isHidden());
}

void TstSubida::envioLargoOfreceArchivar() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    QVERIFY(b.ejecutar("delete from viajes"));
    QVERIFY(b.ejecutar("delete from descarga"));
    // 700 rows of an old trip, 2 of today's.
    QVERIFY(b.ejecutar("with recursive n(i) as (select 1 union all select i + 1 from n where i < 700) "
                       "insert into viajes select 1, '2020-01-01', '08:00', 1, 7, 1, 10, i from n"));
    const QString hoy = QDate::currentDate().toString("yyyy-MM-dd");
    QVERIFY(b.ejecutar("insert into viajes values (2, '" + hoy + "', '06:00', 1, 7, 1, 250, 1), (2, '" + hoy +
                       "', '06:00', 1, 7, 2, 100, 2)"));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    FrmPrincipal v;
    v.show();
    auto* estimacion = control<QLabel>(v, "LblEstimacion");
    QCOMPARE(estimacion->text(), QString("Se enviarán 705 registros, unos 6 minutos."));
    QCOMPARE(estimacion->accessibleName(), estimacion->text());
    QVERIFY(conectarPrincipal(v, tableta));
    auto* env = control<QPushButton>(v, "CmdEnv");

    // Cancelar: nothing sent, nothing archived.
    Dialogos::encolarRespuesta(Respuesta::Cancelar);
    env->click();
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QVERIFY(Dialogos::mostrados().first().texto.startsWith(
        "Se enviarán 705 registros, unos 6 minutos.\n¿Archivar antes los viajes anteriores a hoy ("));
    QVERIFY(env->isEnabled());
    QTest::qWait(100);
    QVERIFY(tableta.mensajes().isEmpty());
    QCOMPARE(b.valor("select count(*) from viajes").toInt(), 702);

    // Sí: the old trip goes to the archive and the rest travels.
    Dialogos::limpiar();
    Dialogos::encolarRespuesta(Respuesta::Si);
    env->click();
    QCOMPARE(b.valor("select count(*) from viajes_archivo").toInt(), 700);
    QCOMPARE(estimacion->text(), QString("Se enviarán 5 registros, unos 3 segundos."));
    QTRY_VERIFY_WITH_TIMEOUT(env->isEnabled(), 10000);
    QTRY_COMPARE(tableta.mensajes().size(), 5);
    QVERIFY(tableta.mensajes().first().contains("'2','1','Mezcla','1','Maiz','250'"));
}

QTEST_MAIN(TstSubida)
#include "tst_subida.moc"
