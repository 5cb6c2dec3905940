// The pen distribution window, driven through its controls.
#include "BaseTemporal.h"
#include "PruebaPlan.h"

#include "plan/FrmRodeos.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

using namespace AyudaPlan;

class TstFrmRodeos : public PruebaPlan {
    Q_OBJECT
private Q_SLOTS:
    void sinViajes();
    void insertarPorcentajeDeUnViajeEnKilos();
    void viajeDeRecetaPorPorcentaje();
    void paresRepetidosSeBorranJuntos();
    void corralesDeViajesBorrados();
    void dobleClicYTeclaEnElCombo();
    void cambioDeLineaBorradaVuelveAAgregar();
    void noAlBorrarRecalculaTotales();
    void validaciones();
    void apostrofes();
    void listasYRedimension();
    void seAbreDesdeLaVentanaPrincipal();

private:
    // Trips 3 (kg recipe 1 "Receta Kilos", two feed rows) and 8 (% recipe 2 "Receta Porc").
    void sembrar(BaseTemporal& base);
    void completar(QWidget* v, const QString& viaje, const QString& corral, const QString& por,
                   const QString& orden = "1");
};

void TstFrmRodeos::sembrar(BaseTemporal& base) {
    sembrarCatalogos(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1), "
                          "(3, '2024-05-02', '09:45', 1, 7, 11, 100, 2), "
                          "(8, '2024-05-02', '11:00', 2, 7, 10, 60, 1)"));
}

void TstFrmRodeos::completar(QWidget* v, const QString& viaje, const QString& corral, const QString& por,
                             const QString& orden) {
    QVERIFY(elegir(control<QComboBox>(v, "CmbViajes"), viaje));
    escribir(control<QLineEdit>(v, "TXTCORRAL"), corral);
    escribir(control<QLineEdit>(v, "TXTPOR"), por);
    escribir(control<QLineEdit>(v, "TXTOR"), orden);
}

void TstFrmRodeos::sinViajes() {
    BaseTemporal base;
    QVERIFY(base.ok());
    FrmRodeos v;
    v.show();
    QCOMPARE(v.windowTitle(), QString("Corrales Por Receta"));
    auto* viajes = control<QComboBox>(&v, "CmbViajes");
    QCOMPARE(viajes->currentText(), QString("No Existen Viajes"));
    QCOMPARE(viajes->count(), 1);
    escribir(control<QLineEdit>(&v, "TXTCORRAL"), "A");
    escribir(control<QLineEdit>(&v, "TXTPOR"), "10");
    escribir(control<QLineEdit>(&v, "TXTOR"), "1");
    pulsar(&v, "CMD_INS_ROD");
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{Mensaje{"debe completar todos los datos"}});
    QCOMPARE(base.valor("select count(*) from descarga").toInt(), 0);
    Dialogos::limpiar();
    pulsar(&v, "CMD_QUITAR_ROD");
    QVERIFY(Dialogos::mostrados().isEmpty());
}

void TstFrmRodeos::insertarPorcentajeDeUnViajeEnKilos() {
    BaseTemporal base;
    sembrar(base);
    FrmRodeos v;
    v.show();
    auto* viajes = control<QComboBox>(&v, "CmbViajes");
    QCOMPARE(viajes->currentText(), QString("Viajes Cargados"));
    QStringList entradas;
    for (int i = 1; i < viajes->count(); ++i)
        entradas << viajes->itemText(i) + "=" + viajes->itemData(i).toString();
    entradas.sort();
    QCOMPARE(entradas, QStringList({"3 | Receta Kilos=3", "8 | Receta Porc=8"}));

    // Fresh open: nothing picked.
    escribir(control<QLineEdit>(&v, "TXTCORRAL"), "A");
    escribir(control<QLineEdit>(&v, "TXTPOR"), "40");
    escribir(control<QLineEdit>(&v, "TXTOR"), "1");
    pulsar(&v, "CMD_INS_ROD");
    QCOMPARE(textos(), QStringList{"debe completar todos los datos"});

    Dialogos::limpiar();
    completar(&v, "3 | Receta Kilos", "A", "40");
    QCOMPARE(control<QLabel>(&v, "Label17")->text(), QString("% DE DIETA:"));
    pulsar(&v, "CMD_INS_ROD");
    completar(&v, "3 | Receta Kilos", "B", "60", "2");
    pulsar(&v, "CMD_INS_ROD");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(lineas(control<QTreeWidget>(&v, "ListROD")),
             QStringList({"3|3 | Receta Kilos|A|1|40 %", "3|3 | Receta Kilos|B|2|60 %"}));
    QCOMPARE(base.filas("select * from descarga order by orden"), QStringList({"3|A|40|1", "3|B|60|2"}));
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|350", "Receta Porc|"}));

    // Reopened, the recipe alone.
    FrmRodeos otra;
    QCOMPARE(lineas(control<QTreeWidget>(&otra, "ListROD")),
             QStringList({"3|Receta Kilos|A|1|40 %", "3|Receta Kilos|B|2|60 %"}));
}

void TstFrmRodeos::viajeDeRecetaPorPorcentaje() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (9, '2024-05-02', '12:00', 2, 7, 11, 40, 1)"));
    QVERIFY(base.ejecutar("insert into descarga values (9, 'Z', 300, 1)"));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    FrmRodeos v;
    v.show();
    completar(&v, "8 | Receta Porc", "C", "1200,5");
    QCOMPARE(control<QLabel>(&v, "Label17")->text(), QString("Kg DE DIETA:"));
    QCOMPARE(control<QLineEdit>(&v, "TXTPOR")->accessibleName(), QString("Kg DE DIETA:"));
    pulsar(&v, "CMD_INS_ROD");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(linea(control<QTreeWidget>(&v, "ListROD"), 1),
             QStringList({"8", "8 | Receta Porc", "C", "1", "1.200,5 Kg"}));
    QCOMPARE(base.valor("select por from descarga where id = 8").toDouble(), 1200.5);
    // Kilogram recipes first, then one line per percentage trip with its pens' kilograms.
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")),
             QStringList({"Receta Kilos|350", "Receta Porc|1.200,5", "Receta Porc|300"}));
}

void TstFrmRodeos::paresRepetidosSeBorranJuntos() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into descarga values (8, 'X', 10, 1)"));
    FrmRodeos v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListROD");
    completar(&v, "3 | Receta Kilos", "A", "50");
    pulsar(&v, "CMD_INS_ROD");
    pulsar(&v, "CMD_INS_ROD");
    QCOMPARE(base.valor("select count(*) from descarga where id = 3").toInt(), 2);
    seleccionar(lista, 1);
    pulsar(&v, "CMD_QUITAR_ROD");
    QCOMPARE(textos(), QStringList{"Desea quitar los detalles seleccionados"});
    QCOMPARE(base.valor("select count(*) from descarga where id = 3").toInt(), 0);
    QCOMPARE(lista->topLevelItemCount(), 2);
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|350", "Receta Porc|10"}));
}

void TstFrmRodeos::corralesDeViajesBorrados() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into descarga values (5, 'Viejo', 40, 1), (3, 'A', 100, 1)"));
    FrmRodeos v;
    QCOMPARE(lineas(control<QTreeWidget>(&v, "ListROD")),
             QStringList({"3|Receta Kilos|A|1|100 %", "5|ELIMINADO|Viejo|1|40 "}));
}

void TstFrmRodeos::dobleClicYTeclaEnElCombo() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into descarga values (8, 'A', 700, 1), (3, 'B', 100, 2)"));
    FrmRodeos v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListROD");
    QCOMPARE(control<QLabel>(&v, "Label17")->text(), QString("% DE DIETA:"));
    dobleClic(lista, 1);
    QVERIFY(!lista->isEnabled());
    QCOMPARE(control<QLabel>(&v, "Label17")->text(), QString("Kg DE DIETA:"));
    QCOMPARE(control<QComboBox>(&v, "CmbViajes")->currentText(), QString("Receta Porc"));
    QCOMPARE(control<QLineEdit>(&v, "TXTCORRAL")->text(), QString("A"));
    QCOMPARE(control<QLineEdit>(&v, "TXTPOR")->text(), QString("700"));
    QCOMPARE(control<QLineEdit>(&v, "TXTOR")->text(), QString("1"));

    // The pen and quantity change; the row is found by its old pair.
    escribir(control<QLineEdit>(&v, "TXTCORRAL"), "a2");
    escribir(control<QLineEdit>(&v, "TXTPOR"), "650");
    pulsar(&v, "CMD_INS_ROD");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QVERIFY(lista->isEnabled());
    QCOMPARE(linea(lista, 1), QStringList({"8", "Receta Porc", "a2", "1", "650 Kg"}));
    QCOMPARE(base.filas("select * from descarga where id = 8"), QStringList({"8|a2|650|1"}));

    // After a double-click any key in the combo leaves no trip picked.
    dobleClic(lista, 1);
    QTest::keyClick(control<QComboBox>(&v, "CmbViajes"), Qt::Key_Shift);
    pulsar(&v, "CMD_INS_ROD");
    QCOMPARE(textos(), QStringList{"debe completar todos los datos"});
    QVERIFY(!lista->isEnabled());

    // The row under change gone from the table: refused, the mode stays.
    Dialogos::limpiar();
    QVERIFY(elegir(control<QComboBox>(&v, "CmbViajes"), "8 | Receta Porc"));
    QVERIFY(base.ejecutar("delete from descarga where id = 8"));
    pulsar(&v, "CMD_INS_ROD");
    QCOMPARE(Dialogos::mostrados(),
             QList<Mensaje>({{"NO SE ENCONTRO LA DESCARGA SELECCIONADA", Icono::Critico, "ERROR"}}));
    QVERIFY(!lista->isEnabled());
    QCOMPARE(linea(lista, 1).at(2), QString("a2"));
}

void TstFrmRodeos::cambioDeLineaBorradaVuelveAAgregar() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into descarga values (3, 'A', 100, 1)"));
    FrmRodeos v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListROD");
    dobleClic(lista, 0);
    pulsar(&v, "CMD_QUITAR_ROD");
    QCOMPARE(lista->topLevelItemCount(), 0);
    pulsar(&v, "CMD_INS_ROD");
    QVERIFY(lista->isEnabled());
    QCOMPARE(lineas(lista), QStringList({"3|Receta Kilos|A|1|100 %"}));
    QCOMPARE(base.filas("select * from descarga"), QStringList({"3|A|100|1"}));
}

void TstFrmRodeos::noAlBorrarRecalculaTotales() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into descarga values (8, 'A', 700, 1)"));
    FrmRodeos v;
    v.show();
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")),
             QStringList({"Receta Kilos|350", "Receta Porc|700"}));
    QVERIFY(base.ejecutar("insert into descarga values (8, 'B', 300, 2)"));
    seleccionar(control<QTreeWidget>(&v, "ListROD"), 0);
    Dialogos::encolarRespuesta(Respuesta::No);
    pulsar(&v, "CMD_QUITAR_ROD");
    QCOMPARE(control<QTreeWidget>(&v, "ListROD")->topLevelItemCount(), 1);
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")),
             QStringList({"Receta Kilos|350", "Receta Porc|1000"}));
}

void TstFrmRodeos::validaciones() {
    BaseTemporal base;
    sembrar(base);
    FrmRodeos v;
    v.show();
    completar(&v, "3 | Receta Kilos", "A", "cuarenta");
    pulsar(&v, "CMD_INS_ROD");
    completar(&v, "3 | Receta Kilos", "A", "40", "1,5");
    pulsar(&v, "CMD_INS_ROD");
    completar(&v, "3 | Receta Kilos", "A", "40", "70000");
    pulsar(&v, "CMD_INS_ROD");
    const QString rango = "El valor de ORDEN debe ser un número entero entre -32768 y 32767.";
    QCOMPARE(textos(), QStringList({"El valor de % DE DIETA debe ser un número.", rango, rango}));
    QCOMPARE(control<QTreeWidget>(&v, "ListROD")->topLevelItemCount(), 0);
    QCOMPARE(base.valor("select count(*) from descarga").toInt(), 0);

    // A trip number beyond 16 bits is refused before anything is written.
    QVERIFY(base.ejecutar("insert into viajes values (50000, '2024-05-02', '09:45', 1, 7, 10, 1, 1)"));
    FrmRodeos otra;
    otra.show();
    Dialogos::limpiar();
    completar(&otra, "50000 | Receta Kilos", "A", "40");
    pulsar(&otra, "CMD_INS_ROD");
    QCOMPARE(textos(),
             QStringList{"El viaje elegido (50000) tiene un id fuera del rango de -32768 a 32767."});
    QCOMPARE(base.valor("select count(*) from descarga").toInt(), 0);

    // Impossible amounts: a kilogram recipe's pens take shares, a percentage recipe's take kilos.
    const QList<QStringList> casos{
        {"3 | Receta Kilos", "-5", "El valor de % DE DIETA no puede ser negativo."},
        {"3 | Receta Kilos", "1e5", "El valor de % DE DIETA debe ser un número."},
        {"3 | Receta Kilos", "101", "El valor de % DE DIETA es un porcentaje: no puede ser mayor que 100."},
    };
    for (const QStringList& c : casos) {
        Dialogos::limpiar();
        completar(&otra, c[0], "A", c[1]);
        pulsar(&otra, "CMD_INS_ROD");
        QCOMPARE(textos(), QStringList{c[2]});
    }
    Dialogos::limpiar();
    Dialogos::encolarRespuesta(Respuesta::No);
    completar(&otra, "8 | Receta Porc", "A", "150000");
    pulsar(&otra, "CMD_INS_ROD");
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().constFirst().botones, Botones::SiNo);
    // A trip removed while the window was open is refused by number.
    QVERIFY(base.ejecutar("delete from viajes where id = 3"));
    Dialogos::limpiar();
    completar(&otra, "3 | Receta Kilos", "A", "40");
    pulsar(&otra, "CMD_INS_ROD");
    QCOMPARE(textos(), QStringList{"No existe el viaje 3."});
    QCOMPARE(base.valor("select count(*) from descarga").toInt(), 0);
}

void TstFrmRodeos::apostrofes() {
    BaseTemporal base;
    sembrar(base);
    FrmRodeos v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListROD");
    completar(&v, "3 | Receta Kilos", "O'Higgins", "40");
    pulsar(&v, "CMD_INS_ROD");
    dobleClic(lista, 0);
    escribir(control<QLineEdit>(&v, "TXTPOR"), "45");
    pulsar(&v, "CMD_INS_ROD");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(base.filas("select * from descarga"), QStringList({"3|O'Higgins|45|1"}));
    // The pen matches whatever the case, as the plan always has.
    QVERIFY(base.ejecutar("insert into descarga values (3, 'o''higgins', 5, 2)"));
    seleccionar(lista, 0);
    pulsar(&v, "CMD_QUITAR_ROD");
    QCOMPARE(base.valor("select count(*) from descarga").toInt(), 0);
}

void TstFrmRodeos::listasYRedimension() {
    BaseTemporal base;
    sembrar(base);
    FrmRodeos v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListROD");
    QCOMPARE(lista->columnCount(), 5);
    QCOMPARE(lista->headerItem()->text(0), QString("id_FORMULA"));
    QCOMPARE(lista->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(lista->header()->sectionsMovable());
    QCOMPARE(control<QGroupBox>(&v, "Frame5")->title(),
             QString("DATOS DE LOS CORRALES QUE COMERAN LAS DIETAS "));
    v.resize(1000, 700);
    auto* marco = control<QGroupBox>(&v, "Frame3");
    QCOMPARE(marco->width(), v.width() - 30);
    QCOMPARE(marco->height(), v.height() - 180);
    QCOMPARE(lista->height(), marco->height() - 53);
    // The window is never made smaller than its controls need; below that, the sizes clamp at zero.
    QVERIFY(v.minimumWidth() >= 900);
    v.setMinimumSize(0, 0);
    v.resize(20, 20);
    QCOMPARE(marco->width(), 0);
    QCOMPARE(lista->height(), 0);
}

void TstFrmRodeos::seAbreDesdeLaVentanaPrincipal() {
    BaseTemporal base;
    QVERIFY(base.ok());
    const QString abierta = abiertaDesdePrincipal("Command2");
    QCOMPARE(abierta, QString("FrmRodeos|Corrales Por Receta"));
}

QTEST_MAIN(TstFrmRodeos)
#include "tst_frmrodeos.moc"
