// What the main window asks before an upload that would leave plan rows out, and when it is
// closed while an upload runs, on both roads.
#include "BaseTemporal.h"
#include "ConectarPrincipal.h"
#include "PlanSubida.h"
#include "ServidorFalso.h"
#include "ServidorTableta.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "ui/Dialogos.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

void elegirWeb(FrmPrincipal& v, const ServidorFalso& srv) {
    control<QRadioButton>(v, "OptWeb")->click();
    control<QLineEdit>(v, "TxtServ")->setText(srv.servidor());
    control<QLineEdit>(v, "TXTUS")->setText(QStringLiteral("juan"));
    control<QLineEdit>(v, "TXTPASS")->setText(QStringLiteral("x"));
}

ServidorFalso::Respuesta servicio(const QString& sql) {
    if (sql.startsWith(QStringLiteral("SELECT distinct curdate()")))
        return {200, "[{\"curdate()\":\"2024-01-01\"}]"};
    if (sql.startsWith(QStringLiteral("select * from clientes")))
        return {200, "[{\"id\":\"7\",\"user\":\"juan\"}]"};
    return {200, ""};
}

// The mixed plan with rows pointing at entries that are gone: feed 2 (one row of trip 3, one of
// trip 4), recipe 9 (trip 5, a loading and a pen row), no loading row at all (trip 6, a pen row),
// operator 99 (trip 7, sent all the same).
bool cargarIncompleto(BaseTemporal& b) {
    return PlanSubida::cargarMixto(b) && b.ejecutar("delete from alimentos where id = 2") &&
           b.ejecutar("insert into viajes values (5, '2024-01-17', '08:00', 9, 7, 1, 10, 1), "
                      "(7, '2024-01-18', '08:00', 1, 99, 1, 10, 1)") &&
           b.ejecutar("insert into descarga values (5, 'X', 100, 1), (6, 'Y', 100, 1), (7, 'Z', 100, 1)");
}

const QString kPreguntaIncompleto = QStringLiteral(
    "3 filas del plan y 2 filas de corrales no se enviarán porque su receta, su alimento o su viaje ya no "
    "existe (viajes 3, 4, 5, 6).\n"
    "1 fila del plan nombra un operario que ya no existe (viaje 7): se enviará con un operario que la "
    "tablet no tiene.\n"
    "¿Enviar el resto de la programación?");

int empiezanCon(const QList<QByteArray>& mensajes, const QByteArray& palabra) {
    int n = 0;
    for (const QByteArray& m : mensajes)
        n += m.startsWith(palabra) ? 1 : 0;
    return n;
}
} // namespace

class TstResguardos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        Dialogos::activarModoPrueba();
        Dialogos::limpiar();
    }
    void planIncompletoDirecto();
    void planIncompletoWeb();
    void cerrarDuranteEnvioDirecto();
    void cerrarDuranteEnvioWeb();
    void envioTerminaMientrasPregunta();
};

void TstResguardos::planIncompletoDirecto() {
    BaseTemporal b;
    QVERIFY(cargarIncompleto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    FrmPrincipal v;
    v.show();
    QVERIFY(conectarPrincipal(v, tableta));
    auto* env = control<QPushButton>(v, "CmdEnv");

    // No: nothing travels.
    Dialogos::encolarRespuesta(Respuesta::No);
    env->click();
    QCOMPARE(Dialogos::mostrados(), (QList<Mensaje>{{kPreguntaIncompleto, Icono::Exclamacion,
                                                     "Enviar Programacion", Botones::SiNo}}));
    QVERIFY(env->isEnabled());
    QTest::qWait(300);
    QVERIFY(tableta.llegadas().isEmpty());

    // Yes: the rest goes, exactly the rows the question did not name.
    env->click();
    QVERIFY(!env->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(env->isEnabled(), 15000);
    const QList<QByteArray> m = tableta.mensajes();
    QCOMPARE(empiezanCon(m, "'te paso' 'recetas' "), 6 - 3);
    QCOMPARE(empiezanCon(m, "'te paso' 'descarga' "), 7 - 2);
    QCOMPARE(m.constLast(), QByteArray("'fin'"));
}

void TstResguardos::planIncompletoWeb() {
    BaseTemporal b;
    QVERIFY(cargarIncompleto(b));
    ServidorFalso srv(servicio);
    FrmPrincipal v;
    v.show();
    elegirWeb(v, srv);
    auto* env = control<QPushButton>(v, "CmdEnv");

    Dialogos::encolarRespuesta(Respuesta::No);
    env->click();
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().first().texto, kPreguntaIncompleto);
    QTest::qWait(300);
    QVERIFY(srv.sentencias.isEmpty()); // not even the probe

    env->click();
    QTRY_COMPARE_WITH_TIMEOUT(Dialogos::mostrados().size(), 3, 15000);
    QCOMPARE(Dialogos::mostrados().constLast().texto,
             QStringLiteral("Se envió correctamente la informacion al servidor"));
    const auto tuplas = [&](const QString& tabla) -> qsizetype {
        for (const QString& s : std::as_const(srv.sentencias))
            if (s.startsWith(QStringLiteral("INSERT INTO ") + tabla + u' '))
                return s.count(QStringLiteral("('7',"));
        return 0;
    };
    QCOMPARE(tuplas("Prg_Carga"), 6 - 3);
    QCOMPARE(tuplas("Prg_Descarga"), 7 - 2);
}

void TstResguardos::cerrarDuranteEnvioDirecto() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    FrmPrincipal v;
    v.show();
    QVERIFY(conectarPrincipal(v, tableta));
    control<QPushButton>(v, "CmdEnv")->click();
    // The plan windows wait for the upload like the other exchange buttons, and so does the link.
    for (const char* c :
         {"Command1", "Command2", "Command3", "Command4", "CmdEnv", "CmdConectar", "OptDir", "OptWeb"})
        QVERIFY2(!control<QWidget>(v, c)->isEnabled(), c);
    QTRY_COMPARE(tableta.mensajes().size(), 1);

    // No: the window stays and the upload goes on.
    Dialogos::encolarRespuesta(Respuesta::No);
    QVERIFY(!v.close());
    QCOMPARE(Dialogos::mostrados(),
             (QList<Mensaje>{{"Se está enviando la programación a la tablet. ¿Interrumpir el envío y salir?",
                              Icono::Pregunta, kTituloAplicacion, Botones::SiNo}}));
    QVERIFY(v.isVisible());
    QTRY_COMPARE(tableta.mensajes().size(), 2);

    // Yes: the message in flight keeps its pause, nothing follows it but the goodbye.
    Dialogos::encolarRespuesta(Respuesta::Si);
    QVERIFY(!v.close());
    QVERIFY(v.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!v.isVisible(), 3000);
    QTRY_COMPARE(tableta.llegadas().constLast(), QByteArray("'desconectar'"));
    QTest::qWait(700);
    const QList<QByteArray> todos = PlanSubida::esperadoMixto();
    QCOMPARE(tableta.llegadas(), (QList<QByteArray>{todos.at(0), todos.at(1), "'desconectar'"}));
    QCOMPARE(Dialogos::mostrados().size(), 2);
}

void TstResguardos::cerrarDuranteEnvioWeb() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorFalso srv(servicio);
    srv.setModo(ServidorFalso::Modo::Goteo); // each answer takes a while to come
    FrmPrincipal v;
    v.show();
    elegirWeb(v, srv);
    control<QPushButton>(v, "CmdEnv")->click();
    QTRY_COMPARE(srv.sentencias.size(), 1);

    Dialogos::encolarRespuesta(Respuesta::Si);
    QVERIFY(!v.close());
    QVERIFY(v.isVisible()); // until the probe's answer is in
    QTRY_VERIFY_WITH_TIMEOUT(!v.isVisible(), 10000);
    QTest::qWait(300);
    QCOMPARE(srv.sentencias.size(), 1);        // the login was never sent
    QCOMPARE(Dialogos::mostrados().size(), 1); // no outcome box on the way out
}

void TstResguardos::envioTerminaMientrasPregunta() {
    // The upload ends while the close question is open: the answer still closes the window.
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    FrmPrincipal v;
    v.show();
    QVERIFY(conectarPrincipal(v, tableta));
    control<QPushButton>(v, "CmdEnv")->click();
    Dialogos::alMostrar([&] {
        QVERIFY(QTest::qWaitFor([&] { return control<QPushButton>(v, "CmdEnv")->isEnabled(); }, 20000));
    });
    Dialogos::encolarRespuesta(Respuesta::Si);
    v.close();
    QTRY_VERIFY(!v.isVisible()); // the answer closes it, not a later upload
    QTRY_COMPARE(tableta.mensajes(), PlanSubida::esperadoMixto() << "'desconectar'"); // whole, then goodbye
}

QTEST_MAIN(TstResguardos)
#include "tst_resguardos.moc"
