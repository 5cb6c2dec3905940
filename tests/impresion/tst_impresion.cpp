// Printing from the windows, driven through their controls and the dialog layer: the loading sheet
// of the trip window's day, the events list as shown and the accuracy report as shown, each saved
// as a PDF and read back with pdftotext; the farm's name kept once given; the preview.
#include "Accesibilidad.h"
#include "BaseTemporal.h"
#include "TextoPdf.h"
#include "Ventanas.h"

#include "db/BaseDatos.h"
#include "db/Preferencias.h"
#include "events/FrmSucesos.h"
#include "historial/FrmPrecision.h"
#include "historial/HistorialSucesos.h"
#include "impresion/DlgImprimir.h"
#include "impresion/ImpresionVentanas.h"
#include "plan/FrmViajes.h"
#include "ui/Dialogos.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
QString hoy() {
    return QDate::currentDate().toString("yyyy-MM-dd");
}

// Presses the window's print button and, in the print dialog it opens, saves `ruta` as a PDF
// after `antes` has seen the dialog.
void imprimirPdf(QWidget* ventana, const QString& ruta, const std::function<void(QWidget*)>& antes = {}) {
    bool visto = false;
    alAbrirModal(ventana, [&](QWidget* w) {
        auto* dlg = qobject_cast<DlgImprimir*>(w);
        QVERIFY(dlg);
        visto = true;
        if (antes)
            antes(dlg);
        Dialogos::encolarRuta(ruta);
        QTest::mouseClick(control<QPushButton>(dlg, "CmdPdf"), Qt::LeftButton);
        QTRY_VERIFY(!dlg->escribiendo());
        QTest::mouseClick(control<QPushButton>(dlg, "CmdCerrar"), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(ventana, "CmdImprimir"), Qt::LeftButton);
    QVERIFY(visto);
}
} // namespace

class TstImpresion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void planillaDesdeLosViajes();
    void sucesosYPrecisionComoSeVen();

private:
    QString ruta(const QString& nombre) const { return QDir(base_->carpeta()).filePath(nombre); }
    std::unique_ptr<BaseTemporal> base_;
};

void TstImpresion::initTestCase() {
    Dialogos::activarModoPrueba();
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
}

void TstImpresion::init() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    Dialogos::limpiar();
}

void TstImpresion::cleanup() {
    base_.reset();
}

void TstImpresion::planillaDesdeLosViajes() {
    QVERIFY(base_->ejecutar("insert into recetas values (1, 'Lechería', 0)"));
    QVERIFY(base_->ejecutar("insert into alimentos values (10, 'Maíz'), (11, 'Alfalfa')"));
    QVERIFY(base_->ejecutar("insert into operarios values (7, 'Andrés')"));
    QVERIFY(base_->ejecutar(QStringLiteral("insert into viajes values (4, '%1', '07:45', 1, 7, 11, 800, 2), "
                                           "(4, '%1', '07:45', 1, 7, 10, 1500, 1)")
                                .arg(hoy())));
    QVERIFY(base_->ejecutar("insert into descarga values (4, 'Vacas en ordeñe', 100, 1)"));

    FrmViajes v;
    ImpresionVentanas::enlazar(&v);
    v.show();
    QCOMPARE(control<QPushButton>(v, "CmdImprimir")->text(), QStringLiteral("IMPRIMIR"));
    imprimirPdf(&v, ruta("planilla"), [](QWidget* dlg) {
        QCOMPARE(controlesSinNombreAccesible(dlg), QStringList());
        QCOMPARE(control<QDateEdit>(dlg, "DTFECHA")->date(), QDate::currentDate());
        QVERIFY(control<QLineEdit>(dlg, "TxtGranja")->text().isEmpty());
        control<QLineEdit>(dlg, "TxtGranja")->setText("  Tambo Los Ñires ");
    });
    // The name given is kept; the file gets its extension.
    QCOMPARE(Preferencias::granja(), QStringLiteral("Tambo Los Ñires"));
    QCOMPARE(Dialogos::mostrados().last().texto,
             QStringLiteral("PDF guardado en ") + QDir::toNativeSeparators(ruta("planilla.pdf")));
    QVERIFY(TextoPdf::enOrden(TextoPdf::texto(ruta("planilla.pdf")),
                              {"Tambo Los Ñires", "Planilla de carga", "4", "07:45", "Lechería", "Andrés",
                               "Maíz", "1500", "Alfalfa", "800", "Total del viaje", "2300",
                               "1. Vacas en ordeñe: 100 %", "Página 1 de 1"}));

    // The next time the name is there; the preview draws the same pages.
    bool vista = false;
    alAbrirModal(&v, [&](QWidget* w) {
        QCOMPARE(control<QLineEdit>(w, "TxtGranja")->text(), QStringLiteral("Tambo Los Ñires"));
        alAbrirModal(w, [&](QWidget* p) {
            vista = p && p->inherits("QPrintPreviewDialog");
            if (p)
                p->close();
        });
        QTest::mouseClick(control<QPushButton>(w, "CmdVista"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(w, "CmdCerrar"), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(v, "CmdImprimir"), Qt::LeftButton);
    QVERIFY(vista);
}

void TstImpresion::sucesosYPrecisionComoSeVen() {
    FrmSucesos s;
    ImpresionVentanas::enlazar(&s);
    s.show();
    s.agregarFilas({{"CARGA", "02/05/2024", "08:00", "Engorde", "Maíz", "1000", "985", "Juan"},
                    {"DESCARGA", "02/05/2024", "08:30", "Corral Ñandú", "", "600", "590", "Juan"}});
    imprimirPdf(&s, ruta("sucesos.pdf"));
    QString falta;
    const QString sucesos = TextoPdf::texto(ruta("sucesos.pdf"));
    QVERIFY2(TextoPdf::enOrden(sucesos,
                               {"Sucesos", "Período", "2 sucesos", "CARGA", "Maíz", "1000", "985", "DESCARGA",
                                "Corral Ñandú", "600", "590", "Página 1 de 1"},
                               &falta),
             qPrintable(falta + "\n" + sucesos));

    const QString dia = QDate::currentDate().addDays(-1).toString("dd/MM/yyyy");
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(),
                                        {{"CARGA", dia, "08:00", "Engorde", "Maíz", "1000", "985", "Juan"},
                                         {"CARGA", dia, "08:10", "Engorde", "Soja", "100", "110", "Pedro"}},
                                        HistorialSucesos::kDirecta));
    FrmPrecision p;
    ImpresionVentanas::enlazar(&p);
    p.show();
    QTRY_VERIFY(!p.calculando());
    // The rows as the table shows them, sorted by the user.
    auto* lista = control<QTableView>(p, "ListPrecision");
    lista->sortByColumn(0, Qt::DescendingOrder);
    QStringList celdas;
    for (int f = 0; f < lista->model()->rowCount(); ++f)
        for (int c = 0; c < lista->model()->columnCount(); ++c)
            celdas << lista->model()->index(f, c).data().toString();
    QVERIFY(celdas.startsWith("Soja"));
    celdas.removeAll(QString());
    imprimirPdf(&p, ruta("precision.pdf"));
    const QString precision = TextoPdf::texto(ruta("precision.pdf"));
    QVERIFY2(TextoPdf::enOrden(precision, QStringList{"Precisión de carga", "Agrupación: Alimento"} + celdas,
                               &falta),
             qPrintable(falta + "\n" + precision));
}

QTEST_MAIN(TstImpresion)
#include "tst_impresion.moc"
