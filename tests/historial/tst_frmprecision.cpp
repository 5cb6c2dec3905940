// "Precisión de carga" driven as a user would: range, grouping, tolerance and sorting, with the
// values, the standing-out rows and the chart checked; and its button in the main window.
#include "Accesibilidad.h"
#include "BaseTemporal.h"
#include "LectorLibro.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "db/BaseDatos.h"
#include "db/Preferencias.h"
#include "historial/FrmCargasPrecision.h"
#include "historial/FrmPrecision.h"
#include "historial/HistorialSucesos.h"
#include "historial/ModeloPrecision.h"
#include "ui/Dialogos.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QString dia(int haceDias) {
    return QDate::currentDate().addDays(-haceDias).toString("dd/MM/yyyy");
}

// The rows as the table shows them, in the order shown: group, events, difference %, beyond.
QStringList filas(FrmPrecision& f) {
    const QAbstractItemModel* m = f.findChild<QTableView*>("ListPrecision")->model();
    QStringList r;
    for (int i = 0; i < m->rowCount(); ++i)
        r << QStringList{m->index(i, 0).data().toString(), m->index(i, 1).data().toString(),
                         m->index(i, 5).data().toString(),
                         m->index(i, 0).data(ModeloPrecision::kFueraRol).toBool() ? "fuera" : "bien"}
                 .join(u'|');
    return r;
}

// The chart's bars: 0 the net difference, 1 the mean deviation of the loads.
QBarSet* barras(FrmPrecision& f, int conjunto = 0) {
    for (QAbstractSeries* s : f.findChild<QChartView*>("GrfPrecision")->chart()->series())
        if (auto* b = qobject_cast<QBarSeries*>(s))
            return b->barSets().value(conjunto);
    return nullptr;
}
} // namespace

class TstFrmPrecision : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { base_.reset(); }
    void controles();
    void rangoAgrupacionYTolerancia();
    void exportarXls();
    void toleranciaPropiaYCargas();
    void desdeLaVentanaPrincipal();

private:
    std::unique_ptr<BaseTemporal> base_;
};

void TstFrmPrecision::initTestCase() {
    Dialogos::activarModoPrueba();
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
}

void TstFrmPrecision::init() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    const QList<FilaEvento> sucesos = {
        {"CARGA", dia(2), "08:00", "Engorde", "Maiz", "1000", "985", "Juan"},   // -1.5 %
        {"CARGA", dia(2), "08:10", "Engorde", "Soja", "100", "110", "Pedro"},   // +10 %
        {"CARGA", dia(1), "08:00", "Recria", "Heno", "500", "520", "Pedro"},    // +4 %
        {"DESCARGA", dia(1), "09:00", "Corral 1", "", "600", "590", "Pedro"},   //
        {"CARGA", dia(40), "08:00", "Engorde", "Maiz", "1000", "1500", "Juan"}, // before the default range
    };
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), sucesos, HistorialSucesos::kDirecta));
}

void TstFrmPrecision::controles() {
    FrmPrecision f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Precisión de carga"));
    QCOMPARE(controlesSinNombreAccesible(&f), QStringList());
    QCOMPARE(f.findChild<QDateEdit*>("DTDESDE")->date(), QDate::currentDate().addDays(-30));
    QCOMPARE(f.findChild<QDateEdit*>("DTHASTA")->date(), QDate::currentDate());
    QCOMPARE(f.findChild<QDateEdit*>("DTHASTA")->displayFormat(), QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(f.findChild<QDoubleSpinBox*>("TxtTolerancia")->value(), 3.0);
    QCOMPARE(f.findChild<QDoubleSpinBox*>("TxtTolerancia")->accessibleName(),
             QStringLiteral("TOLERANCIA %:"));
    auto* combo = f.findChild<QComboBox*>("CmbAgrupar");
    QStringList opciones;
    for (int i = 0; i < combo->count(); ++i)
        opciones << combo->itemText(i);
    QCOMPARE(opciones, QStringList({"Alimento", "Operario", "Día", "Receta", "Corral"}));
    QCOMPARE(f.findChild<QPushButton*>("CmdExportar")->text(), QStringLiteral("EXPORTAR XLS"));
}

void TstFrmPrecision::rangoAgrupacionYTolerancia() {
    FrmPrecision f;
    QTRY_VERIFY(!f.calculando());
    // The last 30 days by feed: the load of 40 days ago is left out.
    QCOMPARE(filas(f), QStringList({"Heno|1|4,00|fuera", "Maiz|1|-1,50|bien", "Soja|1|10,00|fuera"}));
    QCOMPARE(barras(f)->count(), 3);
    QCOMPARE(f.findChild<QTableView*>("ListPrecision")->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("CARGAS"));

    // Sorting by the difference sorts numbers as numbers (as texts "10,00" would come before "4,00").
    auto* lista = f.findChild<QTableView*>("ListPrecision");
    lista->sortByColumn(5, Qt::AscendingOrder);
    QCOMPARE(filas(f), QStringList({"Maiz|1|-1,50|bien", "Heno|1|4,00|fuera", "Soja|1|10,00|fuera"}));
    lista->sortByColumn(0, Qt::AscendingOrder);

    auto* combo = f.findChild<QComboBox*>("CmbAgrupar");
    combo->setCurrentText("Operario");
    QTRY_VERIFY(!f.calculando());
    QCOMPARE(filas(f), QStringList({"Juan|1|-1,50|bien", "Pedro|2|5,00|fuera"}));

    // A wider tolerance: nobody stands out any more, and it is kept for the next time.
    f.findChild<QDoubleSpinBox*>("TxtTolerancia")->setValue(6);
    QTRY_VERIFY(!f.calculando());
    // Pedro's net 5 % hides a load 10 % over: he still stands out.
    QCOMPARE(filas(f), QStringList({"Juan|1|-1,50|bien", "Pedro|2|5,00|fuera"}));
    QCOMPARE(f.findChild<QLabel*>("LblEstado")->text(),
             QStringLiteral("1 de 3 cargas fuera de la tolerancia, en 1 de 2 grupos"));
    QCOMPARE(Preferencias::tolerancia(), 6.0);
    QCOMPARE(barras(f)->count(), 2);

    // By day: one bar per day and the line over the days.
    combo->setCurrentText("Día");
    QTRY_VERIFY(!f.calculando());
    // -1,5 % and +10 % net -0,45 %: the day stands out, and its mean deviation bar is not flat.
    QCOMPARE(filas(f), QStringList({dia(2) + "|2|-0,45|fuera", dia(1) + "|1|4,00|bien"}));
    QCOMPARE(barras(f)->count(), 2);
    QCOMPARE(barras(f, 1)->at(0), 5.75);
    int puntos = -1;
    for (QAbstractSeries* s : f.findChild<QChartView*>("GrfPrecision")->chart()->series())
        if (s->name() == QStringLiteral("Evolución diaria"))
            puntos = static_cast<int>(qobject_cast<QLineSeries*>(s)->count());
    QCOMPARE(puntos, 2);

    // A wider range takes in the old load; discharges go by pen.
    f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate::currentDate().addDays(-45));
    combo->setCurrentText("Corral");
    QTRY_VERIFY(!f.calculando());
    QCOMPARE(filas(f), QStringList({"Corral 1|1|-1,67|bien"}));
    QCOMPARE(lista->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("DESCARGAS"));
    combo->setCurrentText("Alimento");
    QTRY_VERIFY(!f.calculando());
    QCOMPARE(filas(f), QStringList({"Heno|1|4,00|bien", "Maiz|2|24,25|fuera", "Soja|1|10,00|fuera"}));
    QCOMPARE(lista->model()->index(1, 3).data().toString(), QStringLiteral("2485,0"));
}

void TstFrmPrecision::exportarXls() {
    FrmPrecision f;
    f.findChild<QComboBox*>("CmbAgrupar")->setCurrentText("Día");
    QTRY_VERIFY(!f.calculando());
    // The table as shown: sorted by the difference, the latest day (+4 %) first.
    f.findChild<QTableView*>("ListPrecision")->sortByColumn(5, Qt::DescendingOrder);
    QTemporaryDir dir;
    Dialogos::limpiar();
    Dialogos::encolarRuta(dir.filePath("precision"));
    f.findChild<QPushButton*>("CmdExportar")->click();
    QTRY_VERIFY(!f.exportando());
    const QString ruta = QDir::toNativeSeparators(dir.filePath("precision.xlsx"));
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({{"Datos exportados en " + ruta, Icono::Informacion}}));

    QString error;
    const QJsonObject libro = LectorLibro::leer(ruta, &error);
    QVERIFY2(!libro.isEmpty(), qPrintable(error));
    QCOMPARE(libro["hojas"].toArray(), QJsonArray({"Precisión", "Cargas"}));
    const QJsonArray filas = libro["filas"].toArray();
    // It stands on its own: the period, the grouping, the rule and when it was made come first.
    QCOMPARE(filas[0][0]["valor"].toString(), QStringLiteral("Precisión de carga"));
    QCOMPARE(filas[1][1]["valor"].toString(), QDate::currentDate().addDays(-30).toString("yyyy-MM-dd"));
    QCOMPARE(filas[1][2]["valor"].toString(), QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(filas[2][1]["valor"].toString(), QStringLiteral("Día"));
    QCOMPARE(filas[3][1]["valor"].toString(), QStringLiteral("3 %"));
    QCOMPARE(filas[5][1]["valor"].toString(), QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(libro["congelado"].toString(), QStringLiteral("A9"));
    QCOMPARE(filas.size(), 10);
    QStringList encabezados;
    for (const QJsonValue& c : filas[7].toArray())
        encabezados << c["valor"].toString();
    QCOMPARE(encabezados, InformePrecision::encabezados(Agrupacion::Dia));
    // Real numbers and dates, not the texts shown: 500 planned, 520 loaded, +4 %, the one load
    // outside 3 %, 20 kg off; percentages as percentages; the row filled as the window paints it.
    const QJsonArray reciente = filas[8].toArray();
    QCOMPARE(reciente[0]["tipo"].toString(), QStringLiteral("fecha"));
    QCOMPARE(reciente[0]["valor"].toString(), QDate::currentDate().addDays(-1).toString("yyyy-MM-dd"));
    QList<double> numeros;
    QStringList formatos;
    for (int c = 1; c < reciente.size(); ++c) {
        QCOMPARE(reciente[c]["tipo"].toString(), QStringLiteral("numero"));
        QCOMPARE(reciente[c]["relleno"].toString(), QStringLiteral("FFFFD6D6"));
        numeros << reciente[c]["valor"].toDouble();
        formatos << reciente[c]["formato"].toString();
    }
    QCOMPARE(numeros, QList<double>({1, 500, 520, 20, 0.04, 0.04, 1, 0, 0, 20, 0, 0, 0}));
    QCOMPARE(formatos.at(4), QStringLiteral("0.00%"));
    QCOMPARE(formatos.at(8), QStringLiteral("0.00%"));
    QCOMPARE(formatos.at(9), QStringLiteral("General"));
    QVERIFY(qFuzzyCompare(filas[9][5]["valor"].toDouble(), -5.0 / 1100));
    // The loads of the period on the second sheet, in date and time order.
    const QJsonArray cargas = libro["otrasHojas"]["Cargas"].toArray();
    QCOMPARE(cargas.size(), 4);
    QCOMPARE(cargas[0][0]["valor"].toString(), QStringLiteral("FECHA"));
    QCOMPARE(cargas[2][4]["valor"].toString(), QStringLiteral("Soja"));
    QCOMPARE(cargas[2][9]["valor"].toDouble(), 0.1);
    QCOMPARE(cargas[2][10]["valor"].toString(), QStringLiteral("fuera"));
    QCOMPARE(cargas[2][10]["relleno"].toString(), QStringLiteral("FFFFD6D6"));
}

void TstFrmPrecision::toleranciaPropiaYCargas() {
    // Soja given 10 kg of its own in the window's table: its load 10 kg over is within.
    QSqlQuery(BaseDatos::ConexionBD()).exec("insert into alimentos (id, descripcion) values (1, 'Soja')");
    FrmPrecision f;
    QTRY_VERIFY(!f.calculando());
    auto* tabla = control<QTableWidget>(f, "TablaTolerancias");
    QCOMPARE(tabla->rowCount(), 1);
    QCOMPARE(tabla->item(0, 0)->text(), QStringLiteral("Soja"));
    tabla->item(0, 1)->setText("mucho"); // not a number: nothing kept
    QCOMPARE(tabla->item(0, 1)->text(), QString());
    tabla->item(0, 1)->setText("10");
    QTRY_VERIFY(f.calculando());
    QTRY_VERIFY(!f.calculando());
    QCOMPARE(filas(f), QStringList({"Heno|1|4,00|fuera", "Maiz|1|-1,50|bien", "Soja|1|10,00|bien"}));

    // A double click on a group lists its loads, which export through the dialog layer.
    auto* lista = control<QTableView>(f, "ListPrecision");
    QStringList vistas;
    QTemporaryDir dir;
    Dialogos::limpiar();
    Dialogos::encolarRuta(dir.filePath("heno"));
    alAbrirModal(this, [&vistas](QWidget* w) {
        auto* cargas = qobject_cast<FrmCargasPrecision*>(w);
        if (!cargas)
            return;
        QTRY_VERIFY(!cargas->calculando());
        const QAbstractItemModel* m = control<QTableView>(cargas, "ListCargas")->model();
        for (int i = 0; i < m->rowCount(); ++i) {
            QStringList celdas;
            for (int c = 0; c < m->columnCount(); ++c)
                celdas << m->index(i, c).data().toString();
            vistas << celdas.join(u'|');
        }
        control<QPushButton>(cargas, "CmdExportar")->click();
        QTRY_VERIFY(!cargas->exportando());
        cargas->close();
    });
    Q_EMIT lista->doubleClicked(lista->model()->index(0, 0)); // as a double click on the row
    QCOMPARE(vistas, QStringList{dia(1) + "|08:00|1|Recria|Heno|Pedro|500,0|520,0|20,0|4,00|fuera"});
    const QString ruta = QDir::toNativeSeparators(dir.filePath("heno.xlsx"));
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({{"Datos exportados en " + ruta, Icono::Informacion}}));
    const QJsonArray hoja = LectorLibro::leer(ruta)["filas"].toArray();
    QCOMPARE(hoja.size(), 4); // title, blank, headers, the load
    QCOMPARE(hoja[3][7]["valor"].toDouble(), 520.0);
}

void TstFrmPrecision::desdeLaVentanaPrincipal() {
    FrmPrincipal principal;
    auto* boton = principal.findChild<QPushButton*>("CmdPrecision");
    QVERIFY(boton);
    QCOMPARE(boton->text(), QStringLiteral("PRECISIÓN DE CARGA"));
    QCOMPARE(boton->accessibleName(), QStringLiteral("PRECISIÓN DE CARGA"));
    QString titulo;
    alAbrirModal(this, [&titulo](QWidget* w) {
        if (w) {
            titulo = w->windowTitle();
            w->close();
        }
    });
    boton->click();
    QCOMPARE(titulo, QStringLiteral("Precisión de carga"));
}

QTEST_MAIN(TstFrmPrecision)
#include "tst_frmprecision.moc"
