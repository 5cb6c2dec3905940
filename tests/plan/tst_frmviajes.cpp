// The trip loading plan window, driven through its controls.
#include "BaseTemporal.h"
#include "PruebaPlan.h"

#include "catalog/FrmAgregar.h"
#include "plan/FrmViajes.h"
#include "ui/TeclaEnter.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>

using namespace AyudaPlan;

class TstFrmViajes : public PruebaPlan {
    Q_OBJECT
private Q_SLOTS:
    void sinRecetaElegidaPideCompletar();
    void tablasVacias();
    void insertarListaYTotales();
    void triplesRepetidosSeBorranJuntos();
    void recetaPorPorcentaje();
    void dobleClicCambiaLaFila();
    void dobleClicSinLineaNoHaceNada();
    void cambioDeLineaBorradaVuelveAAgregar();
    void recetaYAlimentoInexistentes();
    void noAlBorrarRecalculaTotales();
    void validaciones();
    void cantidadesYReferencias();
    void insertarNoDejaLineasElegidas();
    void enterEnBotonYFocoTrasInsertar();
    void horaYFechaEscritasTrasUnClic_data();
    void horaYFechaEscritasTrasUnClic();
    void apostrofes();
    void falloDeLaBaseNoDejaLineas();
    void botonesDeCatalogos();
    void listasYRedimension();
    void seAbreDesdeLaVentanaPrincipal();
    void nombresEscritosPorTeclado();
    void fechaImposibleSeRehusa();
    void recetaProponeSuUltimoViaje();
    void copiarViajeYDia();
    void cantidadesConMilesYNombresLargos();
    void semanaPorTeclado();

private:
    // A window on screen with recipes 1 "Receta Kilos" (kg), 2 "Receta Porc" (%), feeds 10 "Maíz", 11
    // "Avena".
    void sembrar(BaseTemporal& base);
    // Fills the header and feed fields and picks recipe and feed.
    void completar(QWidget* v, const QString& receta, const QString& alimento, const QString& viaje,
                   const QString& kilos, const QString& orden = "1", const QString& operario = "7");
};

void TstFrmViajes::sembrar(BaseTemporal& base) {
    sembrarCatalogos(base);
    QVERIFY(base.ejecutar("insert into operarios values (7, 'Pedro')"));
}

void TstFrmViajes::completar(QWidget* v, const QString& receta, const QString& alimento, const QString& viaje,
                             const QString& kilos, const QString& orden, const QString& operario) {
    QVERIFY(elegir(control<QComboBox>(v, "CmbNombre"), receta));
    QVERIFY(elegir(control<QComboBox>(v, "CMBALIM"), alimento));
    escribir(control<QLineEdit>(v, "TXT_ID_VIA_FOR"), viaje);
    escribir(control<QLineEdit>(v, "TXTOP"), operario);
    escribir(control<QLineEdit>(v, "TXTKILOS"), kilos);
    escribir(control<QLineEdit>(v, "TXT_OR_FOR"), orden);
}

void TstFrmViajes::sinRecetaElegidaPideCompletar() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    QCOMPARE(v.windowTitle(), QString("RECETAS"));
    QCOMPARE(control<QComboBox>(&v, "CmbNombre")->currentText(), QString("Recetas Cargadas"));
    QCOMPARE(control<QComboBox>(&v, "CMBALIM")->currentText(), QString("Alimentos Cargados"));
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("KILOS:"));
    QCOMPARE(control<QLabel>(&v, "Label15")->text(), QString("estos deben pasarse en base 100"));

    // Freshly opened: every text filled, but nothing picked.
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "3");
    escribir(control<QLineEdit>(&v, "TXTOP"), "7");
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "250");
    escribir(control<QLineEdit>(&v, "TXT_OR_FOR"), "1");
    pulsar(&v, "CMD_INS_FOR");
    const Mensaje completarDatos{"debe completar todos los datos"};
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{completarDatos});

    // The recipe typed in full instead of picked; the feed picked.
    Dialogos::limpiar();
    QVERIFY(elegir(control<QComboBox>(&v, "CMBALIM"), "Maíz"));
    escribir(control<QComboBox>(&v, "CmbNombre"), "Receta Kilos");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{completarDatos});

    // Picking the header entry picks nothing either.
    Dialogos::limpiar();
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Recetas Cargadas"));
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{completarDatos});
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
    QCOMPARE(control<QTreeWidget>(&v, "ListR")->topLevelItemCount(), 0);
}

void TstFrmViajes::tablasVacias() {
    BaseTemporal base;
    QVERIFY(base.ok());
    FrmViajes v;
    auto* recetas = control<QComboBox>(&v, "CmbNombre");
    auto* alimentos = control<QComboBox>(&v, "CMBALIM");
    QCOMPARE(recetas->currentText(), QString("No Existen Recetas"));
    QCOMPARE(recetas->count(), 1);
    QCOMPARE(alimentos->itemText(0), QString("No Existen Alimentos"));
    QCOMPARE(alimentos->currentText(), QString());
    QCOMPARE(control<QTreeWidget>(&v, "LisTot")->topLevelItemCount(), 0);
    // With no lines "ELIMINAR" asks nothing.
    pulsar(&v, "CMD_QUITAR_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
}

void TstFrmViajes::insertarListaYTotales() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    control<QDateEdit>(&v, "DT_FEC_FOR")->setDate(QDate(2024, 3, 9));
    control<QTimeEdit>(&v, "DT_HORA_FOR")->setTime(QTime(8, 5));
    completar(&v, "Receta Kilos", "Maíz", "3", "250", "1", "7");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
    // Nothing is cleared: the next feed needs only feed, amount and order.
    QVERIFY(elegir(control<QComboBox>(&v, "CMBALIM"), "Avena"));
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "100");
    escribir(control<QLineEdit>(&v, "TXT_OR_FOR"), "2");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());

    QCOMPARE(lineas(lista), QStringList({"09/03/2024|08:05|3|Receta Kilos|Pedro|Maíz|250 Kg|1|1|10",
                                         "09/03/2024|08:05|3|Receta Kilos|Pedro|Avena|100 Kg|2|1|11"}));
    QCOMPARE(base.filas("select * from viajes order by orden"),
             QStringList({"3|2024-03-09|08:05|1|7|10|250|1", "3|2024-03-09|08:05|1|7|11|100|2"}));
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|350"}));

    // Reopened, the list reads the same from the table, in trip and loading order.
    QVERIFY(base.ejecutar("insert into viajes values (1, '2024-03-08', '07:00', 1, 2, 11, 5, 1)"));
    FrmViajes otra;
    QCOMPARE(lineas(control<QTreeWidget>(&otra, "ListR")),
             QStringList({"08/03/2024|07:00|1|Receta Kilos|2 inexistente|Avena|5 Kg|1|1|11",
                          "09/03/2024|08:05|3|Receta Kilos|Pedro|Maíz|250 Kg|1|1|10",
                          "09/03/2024|08:05|3|Receta Kilos|Pedro|Avena|100 Kg|2|1|11"}));
}

void TstFrmViajes::triplesRepetidosSeBorranJuntos() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (5, '2024-01-01', '06:00', 1, 1, 11, 30, 2)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    completar(&v, "Receta Kilos", "Maíz", "4", "100");
    pulsar(&v, "CMD_INS_FOR");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(base.valor("select count(*) from viajes where id = 4").toInt(), 2);
    QCOMPARE(lista->topLevelItemCount(), 3);

    seleccionar(lista, 2);
    Dialogos::encolarRespuesta(Respuesta::Si);
    pulsar(&v, "CMD_QUITAR_FOR");
    QCOMPARE(Dialogos::mostrados().size(), 1);
    const Mensaje pregunta = Dialogos::mostrados().constFirst();
    QCOMPARE(pregunta.texto, QString("Desea quitar los detalles seleccionados"));
    QCOMPARE(pregunta.icono, Icono::Exclamacion);
    QCOMPARE(pregunta.botones, Botones::SiNo);
    QCOMPARE(pregunta.titulo, QString("Tolvaro"));
    // Both rows of the triple are gone; only the selected line left the list.
    QCOMPARE(base.valor("select count(*) from viajes where id = 4").toInt(), 0);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 1);
    QCOMPARE(lista->topLevelItemCount(), 2);
    QCOMPARE(linea(lista, 1).at(2), QString("4"));
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|30"}));

    // Several lines selected at once.
    lista->selectAll();
    pulsar(&v, "CMD_QUITAR_FOR");
    QCOMPARE(lista->topLevelItemCount(), 0);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
}

void TstFrmViajes::recetaPorPorcentaje() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    completar(&v, "Receta Porc", "Maíz", "8", "60");
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("Porc.:"));
    QCOMPARE(control<QLabel>(&v, "Label15")->text(), QString());
    QCOMPARE(control<QLineEdit>(&v, "TXTKILOS")->accessibleName(), QString("Porc.:"));
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(linea(control<QTreeWidget>(&v, "ListR"), 0).at(6), QString("60 %"));
    QCOMPARE(base.valor("select cantidad from viajes").toDouble(), 60.0);
    // A percentage trip without pens totals nothing yet.
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Porc|"}));

    // Typing in the combo unpicks the recipe but leaves the label as it was.
    QTest::keyClick(control<QComboBox>(&v, "CmbNombre"), Qt::Key_End);
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("Porc.:"));
    // Picking a kilogram recipe turns it back.
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Receta Kilos"));
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("KILOS:"));
    QCOMPARE(control<QLabel>(&v, "Label15")->text(), QString("estos deben pasarse en base 100"));
}

void TstFrmViajes::dobleClicCambiaLaFila() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    QVERIFY(base.ejecutar("insert into viajes values (6, '2024-05-02', '10:00', 2, 7, 11, 40, 1)"));
    QVERIFY(base.ejecutar("insert into descarga values (3, 'A', 100, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    // The percentage recipe's line first sets "Porc.:", the kilogram line then "KILOS:".
    dobleClic(lista, 1);
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("Porc.:"));
    QVERIFY(!lista->isEnabled());
    lista->setEnabled(true); // back to adding without storing, as reopening would
    dobleClic(lista, 0);
    QVERIFY(!lista->isEnabled());
    QCOMPARE(control<QLineEdit>(&v, "TXTKILOS")->text(), QString("250"));
    QCOMPARE(control<QLabel>(&v, "Label8")->text(), QString("KILOS:"));
    QCOMPARE(control<QLineEdit>(&v, "TXT_ID_VIA_FOR")->text(), QString("3"));
    QCOMPARE(control<QLineEdit>(&v, "TXTOP")->text(), QString("7")); // the list shows the name
    QCOMPARE(control<QComboBox>(&v, "CmbNombre")->currentText(), QString("Receta Kilos"));
    QCOMPARE(control<QComboBox>(&v, "CMBALIM")->currentText(), QString("Maíz"));
    QCOMPARE(control<QDateEdit>(&v, "DT_FEC_FOR")->date(), QDate(2024, 5, 2));
    QCOMPARE(control<QTimeEdit>(&v, "DT_HORA_FOR")->time(), QTime(9, 45));

    // A new trip number and amount move the row; the pens keep the old number.
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "9");
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "300");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QVERIFY(lista->isEnabled());
    QCOMPARE(lista->topLevelItemCount(), 2);
    QCOMPARE(linea(lista, 0), QStringList({"02/05/2024", "09:45", "9", "Receta Kilos", "Pedro", "Maíz",
                                           "300 Kg", "1", "1", "10"}));
    QCOMPARE(base.filas("select * from viajes where id_receta = 1"),
             QStringList({"9|2024-05-02|09:45|1|7|10|300|1"}));
    QCOMPARE(base.valor("select id from descarga").toInt(), 3);

    // The row changed under the window: the store is refused and the mode stays.
    dobleClic(lista, 0);
    QVERIFY(base.ejecutar("delete from viajes where id = 9"));
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "1");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados(),
             QList<Mensaje>({{"NO SE ENCONTRO EL VIAJE SELECCIONADO", Icono::Critico, "ERROR"}}));
    QVERIFY(!lista->isEnabled());
    QCOMPARE(linea(lista, 0).at(6), QString("300 Kg"));
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 1);
}

void TstFrmViajes::dobleClicSinLineaNoHaceNada() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    // Ctrl toggles the line off again on the second click of the double click.
    QSignalSpy dobles(lista, &QTreeWidget::itemDoubleClicked);
    dobleClic(lista, 0, true);
    QCOMPARE(dobles.size(), 1);
    QVERIFY(lista->selectedItems().isEmpty());
    QVERIFY(lista->isEnabled());
    QCOMPARE(control<QLineEdit>(&v, "TXTKILOS")->text(), QString());
}

void TstFrmViajes::cambioDeLineaBorradaVuelveAAgregar() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    dobleClic(lista, 0);
    QVERIFY(!lista->isEnabled());
    pulsar(&v, "CMD_QUITAR_FOR"); // the line under change is the selected one
    QCOMPARE(lista->topLevelItemCount(), 0);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
    QVERIFY(!lista->isEnabled());

    escribir(control<QLineEdit>(&v, "TXTKILOS"), "90");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados().size(), 1); // only the deletion question
    QVERIFY(lista->isEnabled());
    QCOMPARE(lineas(lista), QStringList({"02/05/2024|09:45|3|Receta Kilos|Pedro|Maíz|90 Kg|1|1|10"}));
    QCOMPARE(base.filas("select * from viajes"), QStringList({"3|2024-05-02|09:45|1|7|10|90|1"}));
}

void TstFrmViajes::recetaYAlimentoInexistentes() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (2, '2024-01-01', '06:00', 99, 1, 77, 250, 1)"));
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-01-01', '06:00', 2, 1, 77, 12.5, 1)"));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    FrmViajes v;
    QCOMPARE(lineas(control<QTreeWidget>(&v, "ListR")),
             QStringList({"01/01/2024|06:00|2|Inexistente|1 inexistente|Inexistente|250 |1|99|77",
                          "01/01/2024|06:00|3|Receta Porc|1 inexistente|Inexistente|12,5 %|1|2|77"}));
}

void TstFrmViajes::noAlBorrarRecalculaTotales() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|250"}));
    QVERIFY(base.ejecutar("insert into viajes values (4, '2024-05-02', '09:45', 1, 7, 11, 50, 1)"));
    seleccionar(lista, 0);
    Dialogos::encolarRespuesta(Respuesta::No);
    pulsar(&v, "CMD_QUITAR_FOR");
    QCOMPARE(lista->topLevelItemCount(), 1);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 2);
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Receta Kilos|300"}));
}

void TstFrmViajes::validaciones() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    struct Caso {
        const char* viaje;
        const char* operario;
        const char* kilos;
        const char* orden;
        QString mensaje;
    };
    const QString rango = " debe ser un número entero entre -32768 y 32767.";
    const QList<Caso> casos{
        {"abc", "7", "10", "1", "El valor de Nº FORMULA" + rango},
        {"40000", "7", "10", "1", "El valor de Nº FORMULA" + rango},
        {"3", "1.5", "10", "1", "El valor de ID_OPERARIO" + rango},
        {"3", "7", "diez", "1", "El valor de KILOS debe ser un número."},
        {"3", "7", "10", "99999", "El valor de ORDEN" + rango},
        {"3", "7", "10", "-32769", "El valor de ORDEN" + rango},
    };
    for (const Caso& c : casos) {
        Dialogos::limpiar();
        completar(&v, "Receta Kilos", "Maíz", c.viaje, c.kilos, c.orden, c.operario);
        pulsar(&v, "CMD_INS_FOR");
        QCOMPARE(textos(), QStringList{c.mensaje});
        QCOMPARE(Dialogos::mostrados().constFirst().icono, Icono::Exclamacion);
    }
    QCOMPARE(lista->topLevelItemCount(), 0);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);

    // The regional decimal separator and "." are both accepted; the limits of the range too.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    Dialogos::limpiar();
    completar(&v, "Receta Kilos", "Maíz", "-32768", "2,5", "32767");
    pulsar(&v, "CMD_INS_FOR");
    completar(&v, "Receta Kilos", "Avena", "-32768", "2.25", "32767");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(base.filas("select id, cantidad, orden from viajes order by id_alim"),
             QStringList({"-32768|2.5|32767", "-32768|2.25|32767"}));
    QCOMPARE(linea(lista, 0).at(6), QString("2,5 Kg"));

    // A recipe id that does not fit is refused by name.
    QVERIFY(base.ejecutar("insert into recetas values (40000, 'Enorme', 0)"));
    FrmViajes otra;
    otra.show();
    Dialogos::limpiar();
    completar(&otra, "Enorme", "Maíz", "3", "1");
    pulsar(&otra, "CMD_INS_FOR");
    QCOMPARE(textos(),
             QStringList{"La receta elegida (40000) tiene un id fuera del rango de -32768 a 32767."});
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 2);
}

void TstFrmViajes::cantidadesYReferencias() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    struct Caso {
        const char* receta;
        const char* kilos;
        const char* operario;
        QString mensaje;
    };
    const QList<Caso> casos{
        {"Receta Kilos", "-5", "7", "El valor de KILOS no puede ser negativo."},
        {"Receta Kilos", "1e5", "7", "El valor de KILOS debe ser un número."},
        {"Receta Porc", "101", "7", "El valor de Porc. es un porcentaje: no puede ser mayor que 100."},
        {"Receta Kilos", "10", "99", "No existe el operario 99."},
    };
    for (const Caso& c : casos) {
        Dialogos::limpiar();
        completar(&v, c.receta, "Maíz", "3", c.kilos, "1", c.operario);
        pulsar(&v, "CMD_INS_FOR");
        QCOMPARE(textos(), QStringList{c.mensaje});
    }
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);

    // Far more than a mixer carries: asked, No stores nothing, Sí stores it.
    Dialogos::limpiar();
    Dialogos::encolarRespuesta(Respuesta::No);
    completar(&v, "Receta Kilos", "Maíz", "3", "150000", "1");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().constFirst().botones, Botones::SiNo);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
    Dialogos::encolarRespuesta(Respuesta::Si);
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(base.valor("select cantidad from viajes").toDouble(), 150000.0);

    // A recipe and a feed removed while the window was open are refused by id.
    QVERIFY(base.ejecutar("delete from alimentos where id = 11"));
    Dialogos::limpiar();
    completar(&v, "Receta Kilos", "Avena", "3", "10", "2");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList{"No existe el alimento 11."});
    QVERIFY(base.ejecutar("delete from recetas where id = 1"));
    Dialogos::limpiar();
    completar(&v, "Receta Kilos", "Maíz", "4", "10", "1");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList{"No existe la receta 1."});
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 1);
}

void TstFrmViajes::insertarNoDejaLineasElegidas() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    seleccionar(lista, 0);
    completar(&v, "Receta Kilos", "Avena", "4", "10");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(lista->selectedItems().isEmpty());
    // The changed line is not left chosen either.
    dobleClic(lista, 1);
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "12");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(lista->selectedItems().isEmpty());
    Dialogos::limpiar();
    Dialogos::encolarRespuesta(Respuesta::Si);
    pulsar(&v, "CMD_QUITAR_FOR");
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 2);
}

void TstFrmViajes::enterEnBotonYFocoTrasInsertar() {
    TeclaEnter::instalar(qApp);
    QVERIFY(qApp->styleSheet().contains("QPushButton:focus"));
    {
        // The focus ring needs no more room than the button has unfocused: its caption is not cut.
        QPushButton b(QStringLiteral("RECUPERAR ARCHIVADOS"));
        QStyleOptionButton op;
        op.initFrom(&b);
        op.text = b.text();
        const QSize texto = b.fontMetrics().size(Qt::TextShowMnemonic, b.text());
        op.state &= ~QStyle::State_HasFocus;
        const int libre = b.style()->sizeFromContents(QStyle::CT_PushButton, &op, texto, &b).width();
        op.state |= QStyle::State_HasFocus;
        QVERIFY(b.style()->sizeFromContents(QStyle::CT_PushButton, &op, texto, &b).width() <= libre);
    }
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    completar(&v, "Receta Kilos", "Maíz", "3", "250");
    auto* insertar = control<QPushButton>(&v, "CMD_INS_FOR");
    insertar->setFocus();
    QTRY_VERIFY(insertar->hasFocus());
    QTest::keyClick(insertar, Qt::Key_Return);
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 1);
    // Back on the first input of the feed row, for the next one.
    QTRY_VERIFY(control<QComboBox>(&v, "CMBALIM")->hasFocus());

    // The keypad's Enter presses "ELIMINAR" too.
    auto* quitar = control<QPushButton>(&v, "CMD_QUITAR_FOR");
    quitar->setFocus();
    QTRY_VERIFY(quitar->hasFocus());
    QTest::keyClick(quitar, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(textos(), QStringList{"Desea quitar los detalles seleccionados"});
}

void TstFrmViajes::horaYFechaEscritasTrasUnClic_data() {
    QTest::addColumn<QString>("hora");
    QTest::newRow("HH:mm") << "06:30";
    QTest::newRow("H:mm") << "6:30";
    QTest::newRow("HHmm") << "0630";
}

void TstFrmViajes::horaYFechaEscritasTrasUnClic() {
    QFETCH(QString, hora);
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    auto* cajaHora = control<QTimeEdit>(&v, "DT_HORA_FOR");
    auto* cajaFecha = control<QDateEdit>(&v, "DT_FEC_FOR");
    cajaHora->setTime(QTime(17, 45));
    cajaFecha->setDate(QDate(2025, 1, 31));
    // One click towards the right end of each box, then the value typed.
    for (QAbstractSpinBox* caja :
         {static_cast<QAbstractSpinBox*>(cajaHora), static_cast<QAbstractSpinBox*>(cajaFecha)}) {
        control<QLineEdit>(&v, "TXTKILOS")->setFocus();
        QTest::mouseClick(caja, Qt::LeftButton, {}, QPoint(caja->width() - 30, caja->height() / 2));
        QTRY_VERIFY(caja->hasFocus());
        QTest::qWait(20);
        QTest::keyClicks(caja, caja == cajaHora ? hora : QString("07/12/2026"));
    }
    QCOMPARE(cajaHora->time(), QTime(6, 30));
    QCOMPARE(cajaFecha->date(), QDate(2026, 12, 7));
}

void TstFrmViajes::apostrofes() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(base.ejecutar("insert into recetas values (1, 'La ''especial''', 0)"));
    QVERIFY(base.ejecutar("insert into alimentos values (10, 'Maíz d''oro'), (11, 'Heno')"));
    QVERIFY(base.ejecutar("insert into operarios values (7, 'Pedro')"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    completar(&v, "La 'especial'", "Maíz d'oro", "3", "100");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(linea(lista, 0).mid(3, 4), QStringList({"La 'especial'", "Pedro", "Maíz d'oro", "100 Kg"}));

    dobleClic(lista, 0);
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "120");
    pulsar(&v, "CMD_INS_FOR");
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(base.valor("select cantidad from viajes").toDouble(), 120.0);

    FrmViajes otra;
    otra.show();
    auto* lista2 = control<QTreeWidget>(&otra, "ListR");
    QCOMPARE(linea(lista2, 0).mid(3, 4), QStringList({"La 'especial'", "Pedro", "Maíz d'oro", "120 Kg"}));
    QCOMPARE(lineas(control<QTreeWidget>(&otra, "LisTot")), QStringList({"La 'especial'|120"}));
    seleccionar(lista2, 0);
    pulsar(&otra, "CMD_QUITAR_FOR");
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
}

void TstFrmViajes::falloDeLaBaseNoDejaLineas() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    QVERIFY(base.ejecutar("create trigger sin_altas before insert on viajes begin select raise(abort, 'sin "
                          "altas'); end"));
    QVERIFY(base.ejecutar("create trigger sin_bajas before delete on viajes begin select raise(abort, 'sin "
                          "bajas'); end"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    completar(&v, "Receta Kilos", "Avena", "4", "10");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(Dialogos::mostrados().size(), 1);
    const Mensaje alta = Dialogos::mostrados().constFirst();
    QVERIFY2(alta.texto.startsWith("Error ") &&
                 alta.texto.contains("(sin altas) en procedimiento "
                                     "CMD_INS_FOR_Click de Formulario FrmViajes"),
             qPrintable(alta.texto));
    QCOMPARE(alta.icono, Icono::Critico);
    QCOMPARE(alta.titulo, QString("Error en FrmViajes"));
    QCOMPARE(lista->topLevelItemCount(), 1);

    Dialogos::limpiar();
    seleccionar(lista, 0);
    pulsar(&v, "CMD_QUITAR_FOR");
    QCOMPARE(Dialogos::mostrados().size(), 2);
    QVERIFY(Dialogos::mostrados().at(1).texto.contains("(sin bajas) en procedimiento CMD_QUITAR_FOR_Click"));
    QCOMPARE(lista->topLevelItemCount(), 1);
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 1);
}

void TstFrmViajes::botonesDeCatalogos() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    FrmViajes v;
    v.show();
    QStringList abiertos;
    // The editor writes its table while open; here the test does it for it and closes it.
    auto editar = [&](const QString& sql) {
        alAbrirModal(this, [&, sql](QWidget* editor) {
            QVERIFY(editor);
            abiertos << editor->objectName() + "|" + editor->windowTitle() + "|" +
                            qobject_cast<FrmAgregar*>(editor)->tabla();
            QVERIFY(base.ejecutar(sql));
            editor->close();
        });
    };

    auto* recetas = control<QComboBox>(&v, "CmbNombre");
    QVERIFY(elegir(recetas, "Receta Kilos"));
    editar("update recetas set descripcion = 'Renombrada' where id = 1");
    pulsar(&v, "Command1");
    QCOMPARE(recetas->currentText(), QString("Receta Kilos")); // the text it had before
    QVERIFY(recetas->findText("Renombrada") > 0);
    QCOMPARE(linea(control<QTreeWidget>(&v, "ListR"), 0).at(3), QString("Renombrada"));
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({"Renombrada|250"}));

    // After reloading nothing counts as picked.
    QVERIFY(elegir(control<QComboBox>(&v, "CMBALIM"), "Avena"));
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "5");
    escribir(control<QLineEdit>(&v, "TXTOP"), "1");
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "1");
    escribir(control<QLineEdit>(&v, "TXT_OR_FOR"), "1");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList{"debe completar todos los datos"});

    auto* alimentos = control<QComboBox>(&v, "CMBALIM");
    escribir(alimentos, "lo escrito");
    editar("insert into alimentos values (12, 'Soja')");
    pulsar(&v, "CMDALIM");
    QCOMPARE(alimentos->currentText(), QString("lo escrito"));
    QVERIFY(alimentos->findText("Soja") > 0);

    editar("insert into operarios values (1, 'Juan')");
    pulsar(&v, "CMDOP");
    QCOMPARE(abiertos, QStringList({"FrmAgregarRec|ABM Recetas|Recetas", "FrmAgregar|ABM Alimento|Alimentos",
                                    "FrmAgregar|ABM Operarios|Operarios"}));
}

void TstFrmViajes::listasYRedimension() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    QCOMPARE(lista->columnCount(), 10);
    QCOMPARE(lista->headerItem()->text(2), QString("Nº FORMULA"));
    QCOMPARE(lista->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(lista->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(lista->header()->sectionsMovable());
    QCOMPARE(control<QTreeWidget>(&v, "LisTot")->headerItem()->text(1), QString("Cantidad"));
    for (const char* nombre : {"Frame1", "Frame2", "Frame3", "Frame6"})
        QVERIFY(v.findChild<QGroupBox*>(nombre));
    QCOMPARE(control<QPushButton>(&v, "CMD_INS_FOR")->accessibleName(), QString("INSERTAR"));
    QCOMPARE(control<QComboBox>(&v, "CmbNombre")->accessibleName(), QString("NOMBRE DE RECETA:"));
    // The ids are kept in the lines but not shown; the columns follow their content.
    QVERIFY(lista->isColumnHidden(8) && lista->isColumnHidden(9));
    QVERIFY(lista->header()->stretchLastSection());
    QVERIFY(base.ejecutar("insert into viajes values (3, '2024-05-02', '09:45', 1, 7, 10, 250, 1)"));
    QVERIFY(base.ejecutar("update alimentos set descripcion = 'Silo de maíz picado muy fino' where id = 10"));
    FrmViajes otra;
    otra.show();
    auto* lista2 = control<QTreeWidget>(&otra, "ListR");
    QTRY_VERIFY(lista2->columnWidth(5) >=
                lista2->fontMetrics().horizontalAdvance("Silo de maíz picado muy fino"));

    v.resize(1000, 700);
    auto* marco = control<QGroupBox>(&v, "Frame3");
    const int ancho = marco->width(), alto = marco->height();
    v.resize(1100, 800);
    QCOMPARE(marco->width(), ancho + 100);
    QCOMPARE(marco->height(), alto + 100);
    QCOMPARE(lista->width(), marco->width() - 13);
    // The window is never made smaller than its controls need; below that, the sizes clamp at zero.
    QVERIFY(v.minimumWidth() >= 900);
    v.setMinimumSize(0, 0);
    v.resize(20, 20);
    QCOMPARE(marco->width(), 0);
    QCOMPARE(marco->height(), 0);
    QCOMPARE(lista->width(), 0);
    QVERIFY(control<QPushButton>(&v, "CMD_QUITAR_FOR")->y() >= 0);
}

void TstFrmViajes::seAbreDesdeLaVentanaPrincipal() {
    BaseTemporal base;
    QVERIFY(base.ok());
    const QString abierta = abiertaDesdePrincipal("Command1");
    QCOMPARE(abierta, QString("FrmViajes|RECETAS"));
}

void TstFrmViajes::nombresEscritosPorTeclado() {
    // A keyboard user types names: one typed whole is picked on leaving the box, the one picked
    // last too; after "INSERTAR" the feed box is selected, so the next name replaces the old one.
    TeclaEnter::instalar(qApp);
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar("insert into alimentos values (12, 'Heno')"));
    FrmViajes v;
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    auto* recetas = control<QComboBox>(&v, "CmbNombre");
    auto* alimentos = control<QComboBox>(&v, "CMBALIM");
    auto tipear = [](QWidget* caja, const QString& texto) {
        caja->setFocus();
        QTRY_VERIFY(caja->hasFocus());
        escribir(caja, texto);
        QTest::keyClick(caja, Qt::Key_Tab);
    };
    tipear(recetas, "receta kilos");
    tipear(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "3");
    tipear(control<QLineEdit>(&v, "TXTOP"), "7");
    struct Fila {
        const char* alimento;
        const char* kilos;
    };
    const Fila filas[] = {{"avena", "250"}, {"Heno", "100"}, {"Heno", "80"}};
    int orden = 0;
    for (const Fila& f : filas) {
        QTRY_VERIFY(alimentos->hasFocus() || orden == 0);
        if (orden == 0) {
            tipear(alimentos, f.alimento);
        } else {
            // Typed over the selected text, as it comes after "INSERTAR".
            QCOMPARE(alimentos->lineEdit()->selectedText(), alimentos->currentText());
            QTest::keyClicks(alimentos, f.alimento);
            QTest::keyClick(alimentos, Qt::Key_Tab);
        }
        tipear(control<QLineEdit>(&v, "TXTKILOS"), f.kilos);
        tipear(control<QLineEdit>(&v, "TXT_OR_FOR"), QString::number(++orden));
        QTest::keyClick(control<QPushButton>(&v, "CMD_INS_FOR"), Qt::Key_Return);
        QCOMPARE(textos().join("/"), QString());
    }
    // The recipe typed again, equal to the one picked: still picked.
    tipear(recetas, "Receta Kilos");
    tipear(alimentos, "Avena");
    tipear(control<QLineEdit>(&v, "TXT_OR_FOR"), "4");
    QTest::keyClick(control<QPushButton>(&v, "CMD_INS_FOR"), Qt::Key_Return);
    QCOMPARE(textos().join("/"), QString());
    QCOMPARE(base.filas("select id_receta, id_alim, cantidad, orden from viajes order by orden"),
             QStringList({"1|11|250|1", "1|12|100|2", "1|12|80|3", "1|11|80|4"}));
}

void TstFrmViajes::fechaImposibleSeRehusa() {
    BaseTemporal base;
    sembrar(base);
    FrmViajes v;
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    completar(&v, "Receta Kilos", "Maíz", "3", "250");
    auto* fecha = control<QDateEdit>(&v, "DT_FEC_FOR");
    fecha->setDate(QDate(2026, 12, 7));
    auto teclear = [fecha](const char* dia) {
        fecha->setFocus();
        QTRY_VERIFY(fecha->hasFocus());
        fecha->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(fecha, dia);
    };
    // 31/02 and 29/02 of a common year: the box would hold the 28th; nothing is written.
    for (const char* imposible : {"31022026", "29022027"}) {
        Dialogos::limpiar();
        teclear(imposible);
        pulsar(&v, "CMD_INS_FOR");
        const QString escrita = QString::fromLatin1(imposible).insert(4, u'/').insert(2, u'/');
        QCOMPARE(textos(), QStringList{"La fecha " + escrita + " no existe: escríbala de nuevo."});
        QCOMPARE(base.valor("select count(*) from viajes").toInt(), 0);
        QCOMPARE(control<QTreeWidget>(&v, "ListR")->topLevelItemCount(), 0);
    }
    // The day typed again: it stands.
    Dialogos::limpiar();
    teclear("28022026");
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList());
    QCOMPARE(base.valor("select fecha from viajes").toString(), QString("2026-02-28"));
}

void TstFrmViajes::recetaProponeSuUltimoViaje() {
    BaseTemporal base;
    sembrar(base);
    // Recipe 1's last trip is 5 (latest day); trip 6 is another recipe's.
    QVERIFY(base.ejecutar(
        "insert into viajes values (3, '2026-12-01', '08:00', 1, 7, 10, 250, 1), "
        "(3, '2026-12-01', '08:00', 1, 7, 11, 100, 2), (5, '2026-12-02', '06:00', 1, 7, 11, 120, 1), "
        "(5, '2026-12-02', '06:00', 1, 7, 10, 300, 2), (6, '2026-12-03', '07:00', 2, 7, 10, 40, 1)"));
    FrmViajes v;
    v.show();
    auto* propuesta = control<QTableWidget>(&v, "ListPropuesta");
    auto filasPropuestas = [propuesta] {
        QStringList r;
        for (int i = 0; i < propuesta->rowCount(); ++i)
            r << QStringList{propuesta->item(i, 0)->checkState() == Qt::Checked ? "x" : "-",
                             propuesta->item(i, 0)->text(), propuesta->item(i, 1)->text(),
                             propuesta->item(i, 2)->text()}
                     .join(u'|');
        return r;
    };
    QVERIFY(!control<QPushButton>(&v, "CMD_INS_VIAJE")->isEnabled());
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Receta Kilos"));
    QCOMPARE(filasPropuestas(), QStringList({"x|Avena|120|1", "x|Maíz|300|2"}));

    // Changed before storing: the amount of one feed.
    propuesta->item(1, 1)->setText("310");
    control<QDateEdit>(&v, "DT_FEC_FOR")->setDate(QDate(2026, 12, 8));
    control<QTimeEdit>(&v, "DT_HORA_FOR")->setTime(QTime(6, 30));
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "9");
    escribir(control<QLineEdit>(&v, "TXTOP"), "7");
    pulsar(&v, "CMD_INS_VIAJE");
    QCOMPARE(textos(), QStringList());
    QCOMPARE(base.filas("select * from viajes where id = 9 order by orden"),
             QStringList({"9|2026-12-08|06:30|1|7|11|120|1", "9|2026-12-08|06:30|1|7|10|310|2"}));
    auto* lista = control<QTreeWidget>(&v, "ListR");
    QCOMPARE(lineas(lista).mid(5), QStringList({"08/12/2026|06:30|9|Receta Kilos|Pedro|Avena|120 Kg|1|1|11",
                                                "08/12/2026|06:30|9|Receta Kilos|Pedro|Maíz|310 Kg|2|1|10"}));
    QCOMPARE(propuesta->rowCount(), 0);

    // The new trip is now the last: proposed as stored; a feed left unmarked is not stored.
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Receta Porc"));
    QCOMPARE(filasPropuestas(), QStringList({"x|Maíz|40|1"}));
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Receta Kilos"));
    QCOMPARE(filasPropuestas(), QStringList({"x|Avena|120|1", "x|Maíz|310|2"}));
    propuesta->item(0, 0)->setCheckState(Qt::Unchecked);
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "10");
    pulsar(&v, "CMD_INS_VIAJE");
    QCOMPARE(base.filas("select id_alim, cantidad, orden from viajes where id = 10"),
             QStringList({"10|310|2"}));
    // A bad amount is refused before anything is written.
    QVERIFY(elegir(control<QComboBox>(&v, "CmbNombre"), "Receta Kilos"));
    propuesta->item(0, 1)->setText("mucho");
    escribir(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), "11");
    pulsar(&v, "CMD_INS_VIAJE");
    QCOMPARE(textos(), QStringList{"El valor de KILOS de Maíz debe ser un número."});
    QCOMPARE(base.valor("select count(*) from viajes where id = 11").toInt(), 0);
}

void TstFrmViajes::copiarViajeYDia() {
    BaseTemporal base;
    sembrar(base);
    QVERIFY(base.ejecutar(
        "insert into viajes values (3, '2026-12-07', '06:00', 1, 7, 10, 250, 1), "
        "(3, '2026-12-07', '06:00', 1, 7, 11, 100, 2), (4, '2026-12-07', '11:00', 2, 7, 10, 60, 1), "
        "(8, '2026-12-06', '07:00', 1, 7, 11, 90, 1)"));
    QVERIFY(base.ejecutar("insert into descarga values (3, 'A', 60, 1), (3, 'B', 40, 2), (4, 'C', 500, 1)"));
    FrmViajes v;
    v.show();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    control<QDateEdit>(&v, "DT_FEC_FOR")->setDate(QDate(2026, 12, 9));
    // Without a line there is nothing to copy.
    pulsar(&v, "CMD_COPIAR_DIA");
    QCOMPARE(textos(), QStringList{"Elija en la lista una línea del día que quiere copiar."});

    Dialogos::limpiar();
    seleccionar(lista, 0); // trip 3 of the 7th
    pulsar(&v, "CMD_COPIAR_DIA");
    QCOMPARE(textos(), QStringList({"¿Copiar todos los viajes del 07/12/2026 al 09/12/2026?",
                                    "Se copiaron 2 viajes al 09/12/2026 como viajes 9, 10 (3 filas del plan, "
                                    "3 de corrales)."}));
    // Equal to the source but for the date and the trip numbers, pens included.
    const QString plan =
        "select %1, hora, id_receta, id_op, id_alim, cantidad, orden from viajes where fecha = '%2' "
        "order by id, orden";
    QCOMPARE(base.filas(plan.arg("id - 6", "2026-12-09")), base.filas(plan.arg("id", "2026-12-07")));
    QCOMPARE(base.filas("select id - 6, rodeo, por, orden from descarga where id >= 9 order by id, orden"),
             QStringList({"3|A|60|1", "3|B|40|2", "4|C|500|1"}));
    QCOMPARE(lista->topLevelItemCount(), 7);

    // One trip, answered No first: nothing.
    Dialogos::limpiar();
    seleccionar(lista, 0); // trip 3 still heads the list
    Dialogos::encolarRespuesta(Respuesta::No);
    pulsar(&v, "CMD_COPIAR_VIAJE");
    QCOMPARE(base.valor("select count(*) from viajes").toInt(), 7);
    Dialogos::limpiar();
    pulsar(&v, "CMD_COPIAR_VIAJE");
    QCOMPARE(textos(), QStringList({"¿Copiar el viaje 3 del 07/12/2026 al 09/12/2026?",
                                    "Se copió el viaje 3 al 09/12/2026 como viaje 11 (2 filas del plan, 2 de "
                                    "corrales)."}));
    QCOMPARE(base.filas("select id_alim, cantidad from viajes where id = 11 order by orden"),
             QStringList({"10|250", "11|100"}));
    // The copy is a trip like any other: changed by double click.
    const int ultima = lista->topLevelItemCount() - 1;
    QCOMPARE(linea(lista, ultima).at(2), QString("11"));
    dobleClic(lista, ultima);
    escribir(control<QLineEdit>(&v, "TXTKILOS"), "95");
    Dialogos::limpiar();
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList());
    QCOMPARE(base.filas("select id_alim, cantidad from viajes where id = 11 order by orden"),
             QStringList({"10|250", "11|95"}));
}

void TstFrmViajes::cantidadesConMilesYNombresLargos() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    BaseTemporal base;
    sembrar(base);
    const QString largo = QString("Receta de engorde para novillos de segunda etapa con silaje").repeated(2);
    QVERIFY(base.ejecutar("insert into recetas values (3, '" + largo + "', 0)"));
    QVERIFY(base.ejecutar("insert into viajes values (3, '2026-12-07', '06:00', 3, 7, 10, 12500.5, 1)"));
    FrmViajes v;
    v.showMaximized();
    auto* lista = control<QTreeWidget>(&v, "ListR");
    QCOMPARE(linea(lista, 0).at(6), QString("12.500,5 Kg"));
    QCOMPARE(lineas(control<QTreeWidget>(&v, "LisTot")), QStringList({largo + "|12.500,5"}));
    // Back in the box without the separator, and stored again as the same amount.
    dobleClic(lista, 0);
    QCOMPARE(control<QLineEdit>(&v, "TXTKILOS")->text(), QString("12500,5"));
    pulsar(&v, "CMD_INS_FOR");
    QCOMPARE(textos(), QStringList());
    QCOMPARE(base.valor("select cantidad from viajes").toDouble(), 12500.5);
    // The long name does not push the amount out of sight.
    QTest::qWait(50);
    const QHeaderView* h = lista->header();
    QVERIFY(h->sectionViewportPosition(6) + h->sectionSize(6) <= lista->viewport()->width());
}

void TstFrmViajes::semanaPorTeclado() {
    // A week planned by keyboard alone: 3 recipes, 8 feeds, 2 operators, 4 trips a day of 4 or 5
    // feeds each, 126 rows, every one stored at the first pass (names typed in other cases).
    TeclaEnter::instalar(qApp);
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(base.ejecutar("insert into recetas values (1, 'Engorde', 0), (2, 'Recria', 0), (3, 'Vacas', 0)"));
    const QStringList alimentos = {"Maiz",     "Avena",  "Heno De Alfalfa", "Silaje De Maiz",
                                   "Expeller", "Nucleo", "Sorgo",           "Afrechillo"};
    for (int i = 0; i < alimentos.size(); ++i)
        QVERIFY(
            base.ejecutar(QString("insert into alimentos values (%1, '%2')").arg(i + 1).arg(alimentos[i])));
    QVERIFY(base.ejecutar("insert into operarios values (7, 'Pedro'), (8, 'Juan')"));
    FrmViajes v;
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    auto tipear = [](QWidget* caja, const QString& texto) {
        caja->setFocus();
        QTRY_VERIFY(caja->hasFocus());
        escribir(caja, texto);
        QTest::keyClick(caja, Qt::Key_Tab);
    };
    auto* fecha = control<QDateEdit>(&v, "DT_FEC_FOR");
    auto* cajaAlimento = control<QComboBox>(&v, "CMBALIM");
    const QStringList recetas = {"engorde", "RECRIA", "Vacas"};
    QStringList esperadas;
    for (int viaje = 1; viaje <= 28; ++viaje) {
        const QDate dia = QDate(2026, 12, 7).addDays((viaje - 1) / 4);
        tipear(control<QComboBox>(&v, "CmbNombre"), recetas[viaje % 3]);
        tipear(control<QLineEdit>(&v, "TXT_ID_VIA_FOR"), QString::number(viaje));
        fecha->setFocus();
        QTRY_VERIFY(fecha->hasFocus());
        fecha->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(fecha, dia.toString("ddMMyyyy"));
        QTest::keyClick(fecha, Qt::Key_Tab);
        tipear(control<QLineEdit>(&v, "TXTOP"), viaje % 2 ? "7" : "8");
        for (int k = 0; k < (viaje % 2 ? 4 : 5); ++k) {
            const int alimento = (viaje + k) % 8;
            tipear(cajaAlimento, alimentos[alimento]);
            tipear(control<QLineEdit>(&v, "TXTKILOS"), QString::number(100 + 10 * k));
            tipear(control<QLineEdit>(&v, "TXT_OR_FOR"), QString::number(k + 1));
            QTest::keyClick(control<QPushButton>(&v, "CMD_INS_FOR"), Qt::Key_Return);
            QCOMPARE(textos().join("/"), QString());
            esperadas << QString("%1|%2|%3|%4|%5|%6")
                             .arg(viaje)
                             .arg(dia.toString(Qt::ISODate))
                             .arg(viaje % 3 + 1)
                             .arg(alimento + 1)
                             .arg(100 + 10 * k)
                             .arg(k + 1);
        }
    }
    QCOMPARE(esperadas.size(), 126);
    QCOMPARE(
        base.filas("select id, fecha, id_receta, id_alim, cantidad, orden from viajes order by id, orden"),
        esperadas);
}

QTEST_MAIN(TstFrmViajes)
#include "tst_frmviajes.moc"
