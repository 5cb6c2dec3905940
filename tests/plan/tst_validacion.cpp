// The checks of the amounts typed in the plan windows, in both units.
#include "plan/Validacion.h"

#include <QTest>

using PlanComun::Unidad;

class TstValidacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cantidad_data();
    void cantidad();
};

void TstValidacion::cantidad_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<Unidad>("unidad");
    QTest::addColumn<QString>("veredicto"); // "ok", "preguntar", or the start of the refusal
    QTest::addColumn<double>("valor");
    const QString noNumero = "El valor de KILOS debe ser un número.";
    const QString negativo = "El valor de KILOS no puede ser negativo.";
    const QString porcentaje = "El valor de KILOS es un porcentaje: no puede ser mayor que 100.";
    QTest::newRow("kilos") << "250" << Unidad::Kilos << "ok" << 250.0;
    QTest::newRow("cero") << "0" << Unidad::Kilos << "ok" << 0.0;
    QTest::newRow("limite kilos") << "100000" << Unidad::Kilos << "ok" << 100000.0;
    QTest::newRow("demasiados kilos") << "100000.5" << Unidad::Kilos << "preguntar" << 100000.5;
    QTest::newRow("porcentaje lleno") << "100" << Unidad::Porcentaje << "ok" << 100.0;
    QTest::newRow("porcentaje pasado") << "100.01" << Unidad::Porcentaje << porcentaje << 0.0;
    QTest::newRow("muchos kilos como porcentaje") << "150000" << Unidad::Porcentaje << porcentaje << 0.0;
    QTest::newRow("negativo") << "-1" << Unidad::Kilos << negativo << 0.0;
    QTest::newRow("negativo en porcentaje") << "-0.5" << Unidad::Porcentaje << negativo << 0.0;
    QTest::newRow("exponente") << "1e5" << Unidad::Kilos << noNumero << 0.0;
    QTest::newRow("exponente mayuscula") << "2E1" << Unidad::Porcentaje << noNumero << 0.0;
    QTest::newRow("texto") << "diez" << Unidad::Kilos << noNumero << 0.0;
    QTest::newRow("infinito") << "inf" << Unidad::Kilos << noNumero << 0.0;
}

void TstValidacion::cantidad() {
    QFETCH(QString, texto);
    QFETCH(Unidad, unidad);
    QFETCH(QString, veredicto);
    QFETCH(double, valor);
    const Validacion::RevisionCantidad r = Validacion::cantidad(texto, QStringLiteral("KILOS"), unidad);
    if (veredicto == "ok" || veredicto == "preguntar") {
        QVERIFY(r.valor);
        QCOMPARE(*r.valor, valor);
        QCOMPARE(r.confirmar, veredicto == "preguntar");
        if (r.confirmar) {
            QCOMPARE(r.mensaje.botones, Botones::SiNo);
            QVERIFY(r.mensaje.texto.contains("100.000 kg"));
        }
    } else {
        QVERIFY(!r.valor);
        QCOMPARE(r.mensaje.texto, veredicto);
        QCOMPARE(r.mensaje.icono, Icono::Exclamacion);
    }
}

QTEST_GUILESS_MAIN(TstValidacion)
#include "tst_validacion.moc"
