// "Costos y stock" driven as a user would, through the dialog layer: the tables on the hand-made
// history, a price typed in, the workbook exported, and the main window's button and warning.
#include "Accesibilidad.h"
#include "BaseTemporal.h"
#include "HistorialCostos.h"
#include "LectorLibro.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "costos/AvisoStock.h"
#include "costos/FrmCostos.h"
#include "ui/Dialogos.h"

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList filas(const FrmCostos& f, const char* lista) {
    const QAbstractItemModel* m = control<QTableView>(f, lista)->model();
    QStringList r;
    for (int i = 0; i < m->rowCount(); ++i) {
        QStringList celdas;
        for (int c = 0; c < m->columnCount(); ++c)
            celdas << m->index(i, c).data().toString();
        r << celdas.join(u'|');
    }
    return r;
}
} // namespace

class TstFrmCostos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void ventana();
    void desdeLaVentanaPrincipal();

private:
    std::unique_ptr<BaseTemporal> base_;
};

void TstFrmCostos::initTestCase() {
    Dialogos::activarModoPrueba();
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    QVERIFY(HistorialCostos::cargar());
}

void TstFrmCostos::ventana() {
    FrmCostos f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Costos y stock"));
    QCOMPARE(controlesSinNombreAccesible(&f), QStringList());
    control<QDateEdit>(f, "DTDESDE")->setDate(QDate(2024, 3, 1));
    control<QDateEdit>(f, "DTHASTA")->setDate(QDate(2024, 3, 11));
    QTRY_VERIFY(!f.calculando());
    // The same figures as the command line, in the regional form.
    QCOMPARE(filas(f, "ListCostos"),
             QStringList({"Avena|100|100|0,00|0,00|0,00", "Maíz|10000|10001,750|2.750,00|2.750,50|0,50",
                          "Silaje De Maíz|20000|20005|1.745,00|1.745,46|0,46", "Soja|50|50|0,00|0,00|0,00",
                          "TOTAL|30150|30156,750|4.495,00|4.495,96|0,96"}));
    QVERIFY(control<QLabel>(f, "LblEstado")->text().contains("Avena"));
    QCOMPARE(filas(f, "ListStock").value(1), QStringLiteral("Silaje De Maíz|4995|2000,714|666,833|2,5"));
    QCOMPARE(filas(f, "ListMermas"), QStringList({"Maíz|07/03/2024|9979,500|8000|1979,500|19,84"}));
    // The chart follows the feed chosen, one point a day.
    control<QComboBox>(f, "CmbAlimentoGrafico")->setCurrentText("Silaje De Maíz");
    const QList<QAbstractSeries*> series = control<QChartView>(f, "GrfStock")->chart()->series();
    QVERIFY(!series.isEmpty());
    QCOMPARE(qobject_cast<QLineSeries*>(series[0])->count(), 11);
    QCOMPARE(qobject_cast<QLineSeries*>(series[0])->at(10).y(), 4995.0);

    // A price typed wrong is refused through a message; typed right, the costs follow it.
    control<QComboBox>(f, "CmbMovAlimento")->setCurrentText("Soja");
    control<QDateEdit>(f, "DTMovFecha")->setDate(QDate(2024, 3, 1));
    control<QLineEdit>(f, "TxtMovCantidad")->setText("mucho");
    Dialogos::limpiar();
    control<QPushButton>(f, "CmdGuardar")->click();
    QCOMPARE(Dialogos::mostrados(),
             QList<Mensaje>({{"Ingrese un número válido (no negativo)", Icono::Exclamacion}}));
    control<QLineEdit>(f, "TxtMovCantidad")->setText("0,5");
    control<QPushButton>(f, "CmdGuardar")->click();
    QTRY_VERIFY(!f.calculando());
    QCOMPARE(filas(f, "ListCostos").value(3), QStringLiteral("Soja|50|50|25,00|25,00|0,00"));

    QTemporaryDir dir;
    Dialogos::limpiar();
    Dialogos::encolarRuta(dir.filePath("costos"));
    control<QPushButton>(f, "CmdExportar")->click();
    QTRY_VERIFY(!f.exportando());
    const QString ruta = QDir::toNativeSeparators(dir.filePath("costos.xlsx"));
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({{"Datos exportados en " + ruta, Icono::Informacion}}));
    QString error;
    const QJsonArray libro = LectorLibro::leer(ruta, &error)["filas"].toArray();
    QVERIFY2(!libro.isEmpty(), qPrintable(error));
    QCOMPARE(libro.size(), 6);
    QCOMPARE(libro[5][4]["valor"].toDouble(), 4520.96);
    QCOMPARE(libro[5][4]["formato"].toString(), QStringLiteral("#,##0.00"));
}

void TstFrmCostos::desdeLaVentanaPrincipal() {
    // Loads of the last days, so today's warning has a use to go by: 300 kg a day of Maíz.
    QList<FilaEvento> recientes;
    for (int d = 1; d <= 7; ++d)
        recientes << FilaEvento{"CARGA", QDate::currentDate().addDays(-d).toString("dd/MM/yyyy"),
                                "08:00", "Engorde",
                                "Maiz",  "300",
                                "300",   "Juan"};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), recientes, HistorialSucesos::kWeb));
    QVERIFY(!MovimientosStock::ingresar(BaseDatos::ConexionBD(), 1, QDate::currentDate().addDays(-1), 2900));
    // 5018.75 + 2900 - 2100 = 5818.75 kg at 300 a day: 19.4 days, a warning with a threshold of 20.
    QVERIFY(!AvisoStock::guardarUmbral(20));
    FrmPrincipal principal;
    auto* aviso = control<QLabel>(principal, "LblAvisoStock");
    QVERIFY(!aviso->isHidden());
    QCOMPARE(aviso->text(), QStringLiteral("Stock para menos de 20 días: Maíz (19,4 días)"));
    auto* boton = control<QPushButton>(principal, "CmdCostos");
    QCOMPARE(boton->accessibleName(), QStringLiteral("COSTOS Y STOCK"));
    QString titulo;
    alAbrirModal(this, [&titulo](QWidget* w) {
        if (w) {
            titulo = w->windowTitle();
            // The threshold is kept: back to 3, the warning goes.
            w->findChild<QDoubleSpinBox*>("TxtUmbral")->setValue(3);
            w->close();
        }
    });
    boton->click();
    QCOMPARE(titulo, QStringLiteral("Costos y stock"));
    QVERIFY(aviso->isHidden());
}

QTEST_MAIN(TstFrmCostos)
#include "tst_frmcostos.moc"
