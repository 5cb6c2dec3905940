// The catalogue editors of feeds, operators and recipes, driven through their controls.
#include "Accesibilidad.h"
#include "BaseTemporal.h"
#include "Ventanas.h"

#include "catalog/Catalogo.h"
#include "catalog/FrmAgregar.h"
#include "catalog/FrmAgregarRec.h"
#include "ui/Dialogos.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <functional>

class TstCatalogo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void tablaVaciaYPrimerAgregado();
    void idsTrasEliminar();
    void agregarVacioYEdicion();
    void filaBlancaNoHaceNada();
    void reglasDelTexto();
    void grabarYCancelar();
    void grabarFallidoNoTocaLaTabla();
    void nuloAlCargar();
    void recetasConTipoDeCarga();
    void quitarEnUsoPregunta_data();
    void quitarEnUsoPregunta();
    void cerrarConCambiosPregunta();
    void accesibilidad();

private:
    // Grid rows as the editor counts them: 1 is the first catalogue row.
    static QString celda(QWidget* w, int fila, int col) {
        const QTableWidgetItem* it = control<QTableWidget>(w, "Flex")->item(fila - 1, col);
        return it ? it->text() : QString();
    }
    static QStringList ids(QWidget* w) {
        QStringList r;
        auto* flex = control<QTableWidget>(w, "Flex");
        for (int i = 1; i <= flex->rowCount(); ++i)
            r << celda(w, i, 0);
        return r;
    }
    static void seleccionar(QWidget* w, int fila) {
        auto* flex = control<QTableWidget>(w, "Flex");
        const QRect r = flex->visualRect(flex->model()->index(fila - 1, 1));
        QTest::mouseClick(flex->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void dobleClic(QWidget* w, int fila) {
        auto* flex = control<QTableWidget>(w, "Flex");
        const QRect r = flex->visualRect(flex->model()->index(fila - 1, 1));
        QTest::mouseClick(flex->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(flex->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void agregar(QWidget* w, const QString& texto) {
        auto* txt = control<QLineEdit>(w, "TxtDes");
        txt->setFocus();
        bool ascii = true;
        for (QChar ch : texto)
            ascii = ascii && ch.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(txt, texto);
        else
            txt->insert(texto); // the test keyboard types ASCII only
        QTest::mouseClick(control<QPushButton>(w, "Cmdadd"), Qt::LeftButton);
    }
    static void eliminar(QWidget* w, int fila) {
        seleccionar(w, fila);
        Dialogos::encolarRespuesta(Respuesta::Si);
        QTest::mouseClick(control<QPushButton>(w, "CmdEliminar"), Qt::LeftButton);
    }
    static std::unique_ptr<FrmAgregar> abrir(const QString& tabla, const QString& caption) {
        std::unique_ptr<FrmAgregar> f;
        if (tabla == QLatin1String("Recetas"))
            f = std::make_unique<FrmAgregarRec>(caption);
        else
            f = std::make_unique<FrmAgregar>(tabla, caption);
        f->show();
        if (!QTest::qWaitForWindowActive(f.get()))
            qWarning("la ventana no se activó");
        return f;
    }
};

void TstCatalogo::init() {
    Dialogos::activarModoPrueba();
    Dialogos::limpiar();
}

void TstCatalogo::tablaVaciaYPrimerAgregado() {
    BaseTemporal base;
    auto f = abrir("Alimentos", "ABM Alimento");
    auto* flex = control<QTableWidget>(f.get(), "Flex");
    QCOMPARE(flex->rowCount(), 1); // the blank row only
    QCOMPARE(f->cantFilas(), 0);
    QCOMPARE(flex->horizontalHeaderItem(0)->text(), QString("Id"));
    QCOMPARE(flex->horizontalHeaderItem(1)->text(), QString("Descripción"));
    agregar(f.get(), "una BOLSA de maíz");
    agregar(f.get(), "silo");
    QCOMPARE(ids(f.get()), QStringList({"1", "2", ""}));
    QCOMPARE(celda(f.get(), 1, 1), QString("Una Bolsa De Maíz"));
    QCOMPARE(control<QLineEdit>(f.get(), "TxtDes")->text(), QString());
    QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    QCOMPARE(f->result(), int(QDialog::Accepted));
    QCOMPARE(base.filas("select id, descripcion from alimentos order by id"),
             QStringList({"1|Una Bolsa De Maíz", "2|Silo"}));
}

void TstCatalogo::idsTrasEliminar() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into operarios values (1, 'A'), (2, 'B'), (3, 'C')"));
    {
        // Remove the top id: it is used again.
        auto f = abrir("Operarios", "ABM Operarios");
        eliminar(f.get(), 3);
        QCOMPARE(Dialogos::mostrados().last(), (Mensaje{"Desea quitar el registro Seleccionado",
                                                        Icono::Pregunta, "Eliminar", Botones::SiNo}));
        agregar(f.get(), "D");
        QCOMPARE(ids(f.get()), QStringList({"1", "2", "3", ""}));
        QCOMPARE(celda(f.get(), 3, 1), QString("D"));
    }
    {
        // Remove the lowest: ids below the row count are not reused.
        auto f = abrir("Operarios", "ABM Operarios");
        eliminar(f.get(), 1);
        agregar(f.get(), "D");
        QCOMPARE(ids(f.get()), QStringList({"2", "3", "4", ""}));
        // Answering No keeps the row.
        seleccionar(f.get(), 1);
        Dialogos::encolarRespuesta(Respuesta::No);
        QTest::mouseClick(control<QPushButton>(f.get(), "CmdEliminar"), Qt::LeftButton);
        QCOMPARE(f->cantFilas(), 3);
    }
    // Nothing was written without "Grabar".
    QCOMPARE(base.valor("select count(*) from operarios").toInt(), 3);
}

void TstCatalogo::agregarVacioYEdicion() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena'), (2, 'Maiz')"));
    auto f = abrir("Alimentos", "ABM Alimento");
    QTest::mouseClick(control<QPushButton>(f.get(), "Cmdadd"), Qt::LeftButton);
    QCOMPARE(f->cantFilas(), 2);
    QVERIFY(Dialogos::mostrados().isEmpty());

    dobleClic(f.get(), 2);
    auto* flex = control<QTableWidget>(f.get(), "Flex");
    QVERIFY(!flex->isEnabled());
    QVERIFY(!control<QPushButton>(f.get(), "CmdEliminar")->isEnabled());
    QCOMPARE(control<QLineEdit>(f.get(), "TxtDes")->text(), QString("Maiz"));
    control<QLineEdit>(f.get(), "TxtDes")->clear();
    QTest::mouseClick(control<QPushButton>(f.get(), "Cmdadd"), Qt::LeftButton);
    QVERIFY(flex->isEnabled());
    QVERIFY(control<QPushButton>(f.get(), "CmdEliminar")->isEnabled());
    QCOMPARE(celda(f.get(), 2, 1), QString()); // the edit sets the empty text
    QCOMPARE(f->cantFilas(), 2);

    // "Modificar" on the pop-up menu starts the same edit; a right click selects the row.
    auto* flexVista = flex->viewport();
    QTest::mouseClick(flexVista, Qt::RightButton, {}, flex->visualRect(flex->model()->index(0, 1)).center());
    Q_EMIT flex->customContextMenuRequested(flex->visualRect(flex->model()->index(0, 1)).center());
    f->findChild<QAction*>("MnuModif")->trigger();
    QCOMPARE(control<QLineEdit>(f.get(), "TxtDes")->text(), QString("Avena"));
    QVERIFY(!flex->isEnabled());
}

void TstCatalogo::filaBlancaNoHaceNada() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena')"));
    auto f = abrir("Alimentos", "ABM Alimento");
    dobleClic(f.get(), 2); // the blank row
    QVERIFY(control<QTableWidget>(f.get(), "Flex")->isEnabled());
    QCOMPARE(control<QLineEdit>(f.get(), "TxtDes")->text(), QString());
    seleccionar(f.get(), 2);
    QTest::mouseClick(control<QPushButton>(f.get(), "CmdEliminar"), Qt::LeftButton);
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(f->cantFilas(), 1);
}

void TstCatalogo::reglasDelTexto() {
    BaseTemporal base;
    auto f = abrir("Alimentos", "ABM Alimento");
    auto* txt = control<QLineEdit>(f.get(), "TxtDes");
    txt->setFocus();
    QTest::keyClicks(txt, "a,b");
    QCOMPARE(txt->text(), QString("ab"));
    QCOMPARE(Dialogos::mostrados(),
             QList<Mensaje>(
                 {{"No se permite el ingreso de la ''Coma'' en este campo de texto", Icono::Exclamacion}}));
    // Enter moves the focus to "Agre.", which also puts the text in proper case.
    QTest::keyClick(txt, Qt::Key_Return);
    QTRY_VERIFY(control<QPushButton>(f.get(), "Cmdadd")->hasFocus());
    QCOMPARE(txt->text(), QString("Ab"));
    QVERIFY(f->isVisible());
}

void TstCatalogo::grabarYCancelar() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena'), (2, 'Maiz')"));
    {
        auto f = abrir("Alimentos", "ABM Alimento");
        agregar(f.get(), "Nuevo");
        eliminar(f.get(), 1);
        QTest::mouseClick(control<QPushButton>(f.get(), "CmdCancelar"), Qt::LeftButton);
        QCOMPARE(f->result(), int(QDialog::Rejected));
    }
    QCOMPARE(base.filas("select * from alimentos order by id"), QStringList({"1|Avena", "2|Maiz"}));
    {
        // "Grabar" while an edit is pending keeps the old description; apostrophes are stored intact.
        auto f = abrir("Alimentos", "ABM Alimento");
        agregar(f.get(), "d'angelo");
        dobleClic(f.get(), 1);
        control<QLineEdit>(f.get(), "TxtDes")->setText("Cambiado");
        QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    }
    QCOMPARE(base.filas("select * from alimentos order by id"),
             QStringList({"1|Avena", "2|Maiz", "3|D'angelo"}));
    {
        auto f = abrir("Alimentos", "ABM Alimento");
        for (int i = 0; i < 3; ++i)
            eliminar(f.get(), 1);
        QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    }
    QCOMPARE(base.valor("select count(*) from alimentos").toInt(), 0);
}

void TstCatalogo::grabarFallidoNoTocaLaTabla() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena'), (2, 'Maiz')"));
    QVERIFY(base.ejecutar("create trigger falla before insert on alimentos when new.descripcion = 'Malo' "
                          "begin select raise(abort, 'fila rechazada'); end"));
    auto f = abrir("Alimentos", "ABM Alimento");
    agregar(f.get(), "Bueno");
    agregar(f.get(), "Malo");
    agregar(f.get(), "Otro");
    QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    QVERIFY(f->isVisible());
    QCOMPARE(Dialogos::mostrados().size(), 1);
    const Mensaje m = Dialogos::mostrados().first();
    QVERIFY2(m.texto.startsWith("Numero: ") && m.texto.contains(", Descripción: fila rechazada"),
             qPrintable(m.texto));
    QCOMPARE(m.titulo, QString(" error ABM Alimento "));
    QCOMPARE(m.icono, Icono::Critico);
    QCOMPARE(base.filas("select * from alimentos order by id"), QStringList({"1|Avena", "2|Maiz"}));
    QCOMPARE(f->cantFilas(), 5);
}

void TstCatalogo::nuloAlCargar() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena'), (2, null), (3, 'Zapallo')"));
    auto f = abrir("Alimentos", "ABM Alimento");
    // Loading stops at the null description (sorted first) and says so.
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().first().titulo, QString(" error ABM Alimento "));
    QCOMPARE(f->cantFilas(), 0);
}

void TstCatalogo::recetasConTipoDeCarga() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into recetas values (1, 'Engorde', 0), (2, 'Recria', -1)"));
    {
        FrmAgregarRec f("ABM Recetas");
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(control<QTableWidget>(&f, "Flex")->horizontalHeaderItem(2)->text(),
                 QString("Tipo de Carga"));
        QCOMPARE(celda(&f, 1, 2), QString("Kilos"));
        QCOMPARE(celda(&f, 2, 2), QString("Porcentaje"));
        QVERIFY(control<QRadioButton>(&f, "OptK")->isChecked());
        agregar(&f, "tambo");
        QCOMPARE(celda(&f, 3, 2), QString("Kilos"));
        // Editing the percentage recipe selects its option; "Por Kg" turns it into kilograms.
        dobleClic(&f, 2);
        QVERIFY(control<QRadioButton>(&f, "OptP")->isChecked());
        control<QRadioButton>(&f, "OptK")->click();
        QTest::mouseClick(control<QPushButton>(&f, "Cmdadd"), Qt::LeftButton);
        QCOMPARE(celda(&f, 2, 2), QString("Kilos"));
        // Options keep their state for the next new recipe.
        control<QRadioButton>(&f, "OptP")->click();
        agregar(&f, "ciclo");
        agregar(&f, "otro");
        QCOMPARE(celda(&f, 4, 2), QString("Porcentaje"));
        QCOMPARE(celda(&f, 5, 2), QString("Porcentaje"));
        QTest::mouseClick(control<QPushButton>(&f, "CmdGrabar"), Qt::LeftButton);
    }
    QCOMPARE(base.filas("select id, descripcion, calcula_kg from recetas order by id"),
             QStringList({"1|Engorde|0", "2|Recria|0", "3|Tambo|0", "4|Ciclo|-1", "5|Otro|-1"}));
    QCOMPARE(base.valor("select count(*) from recetas where calcula_kg = -1").toInt(), 2);
}

void TstCatalogo::quitarEnUsoPregunta_data() {
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("columnas"); // of the table, after id and description
    QTest::addColumn<QString>("pregunta");
    QTest::newRow("alimentos")
        << "Alimentos"
        << "ABM Alimento"
        << ""
        << "El alimento Rollo De Alfalfa se usa en 2 filas del plan. ¿Eliminarlo igual?";
    QTest::newRow("operarios")
        << "Operarios"
        << "ABM Operarios"
        << ""
        << "El operario Rollo De Alfalfa se usa en 2 filas del plan. ¿Eliminarlo igual?";
    QTest::newRow("recetas") << "Recetas"
                             << "ABM Recetas"
                             << ", 0"
                             << "La receta Rollo De Alfalfa se usa en 2 filas del plan. ¿Eliminarla igual?";
}

void TstCatalogo::quitarEnUsoPregunta() {
    QFETCH(QString, tabla);
    QFETCH(QString, caption);
    QFETCH(QString, columnas);
    QFETCH(QString, pregunta);
    BaseTemporal base;
    // Entry 1 is named by two plan rows (in the column of this catalogue), 2 by one, 3 by none.
    for (
        const QString& sql :
        {u"insert into %1 values (1, 'Rollo De Alfalfa'%2), (2, 'Silo'%2), (3, 'Suelto'%2)"_qs.arg(tabla,
                                                                                                   columnas),
         u"insert into viajes (id, id_receta, id_alim, id_op) values (1, 8, 8, 8), (2, 8, 8, 8), (3, 8, 8, 8)"_qs})
        QVERIFY(base.ejecutar(sql));
    const QString columna = tabla == "Alimentos" ? "id_alim" : tabla == "Operarios" ? "id_op" : "id_receta";
    QVERIFY(base.ejecutar(u"update viajes set %1 = case id when 3 then 2 else 1 end"_qs.arg(columna)));
    const QString antes = base.filas(u"select * from %1 order by id"_qs.arg(tabla)).join(u';');

    auto f = abrir(tabla, caption);
    eliminar(f.get(), 3); // Suelto: not used, no question about it
    eliminar(f.get(), 1); // Rollo De Alfalfa
    eliminar(f.get(), 1); // Silo
    Dialogos::limpiar();
    // One question per entry in use, the first No stops: the editor stays open, nothing written.
    Dialogos::encolarRespuesta(Respuesta::Si);
    Dialogos::encolarRespuesta(Respuesta::No);
    QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    QCOMPARE(Dialogos::mostrados().size(), 2);
    QCOMPARE(Dialogos::mostrados().at(0), (Mensaje{pregunta, Icono::Pregunta, caption, Botones::SiNo}));
    QCOMPARE(Dialogos::mostrados().at(1).texto,
             QString(pregunta).replace("Rollo De Alfalfa", "Silo").replace("2 filas", "1 fila"));
    QVERIFY(f->isVisible());
    QCOMPARE(base.filas(u"select * from %1 order by id"_qs.arg(tabla)).join(u';'), antes);
    // Yes to both: written.
    QTest::mouseClick(control<QPushButton>(f.get(), "CmdGrabar"), Qt::LeftButton);
    QVERIFY(!f->isVisible());
    QCOMPARE(Dialogos::mostrados().size(), 4);
    QCOMPARE(base.valor(u"select count(*) from %1"_qs.arg(tabla)).toInt(), 0);
}

void TstCatalogo::cerrarConCambiosPregunta() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'Avena'), (2, 'Maiz')"));
    QVERIFY(base.ejecutar("insert into viajes (id, id_alim) values (1, 2)"));
    const QStringList antes = base.filas("select * from alimentos order by id");
    const Mensaje pregunta{"¿Desea guardar los cambios?", Icono::Pregunta, "ABM Alimento",
                           Botones::SiNoCancelar};
    auto escape = [](FrmAgregar* f) { QTest::keyClick(f, Qt::Key_Escape); };
    auto cruz = [](FrmAgregar* f) { f->close(); };
    for (const auto& cerrar :
         {std::function<void(FrmAgregar*)>(escape), std::function<void(FrmAgregar*)>(cruz)}) {
        {
            // Unchanged (an edit that puts the same text back included): closes without asking.
            auto f = abrir("Alimentos", "ABM Alimento");
            dobleClic(f.get(), 1);
            QTest::mouseClick(control<QPushButton>(f.get(), "Cmdadd"), Qt::LeftButton);
            cerrar(f.get());
            QVERIFY(!f->isVisible());
            QVERIFY(Dialogos::mostrados().isEmpty());
        }
        auto f = abrir("Alimentos", "ABM Alimento");
        agregar(f.get(), "Nuevo");
        // Cancelar: stays, grid as it was; however often it is closed again, it asks again.
        for (int vez = 1; vez <= 3; ++vez) {
            Dialogos::encolarRespuesta(Respuesta::Cancelar);
            cerrar(f.get());
            QCOMPARE(Dialogos::mostrados(), QList<Mensaje>(vez, pregunta));
            QVERIFY(f->isVisible());
            QCOMPARE(f->cantFilas(), 3);
        }
        QVERIFY(control<QLineEdit>(f.get(), "TxtDes")->hasFocus() || !f->isActiveWindow());
        Dialogos::limpiar();
        // Yes, but "Grabar" declined (Maiz is in use): stays, nothing written.
        eliminar(f.get(), 2);
        Dialogos::encolarRespuesta(Respuesta::Si);
        Dialogos::encolarRespuesta(Respuesta::No);
        cerrar(f.get());
        QVERIFY(f->isVisible());
        QCOMPARE(base.filas("select * from alimentos order by id"), antes);
        // No: closes, nothing written.
        Dialogos::limpiar();
        Dialogos::encolarRespuesta(Respuesta::No);
        cerrar(f.get());
        QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{pregunta});
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Rejected));
        QCOMPARE(base.filas("select * from alimentos order by id"), antes);
        Dialogos::limpiar();
    }
    // Yes: saved and closed.
    auto f = abrir("Alimentos", "ABM Alimento");
    agregar(f.get(), "Nuevo");
    Dialogos::encolarRespuesta(Respuesta::Si);
    QTest::keyClick(f.get(), Qt::Key_Escape);
    QVERIFY(!f->isVisible());
    QCOMPARE(f->result(), int(QDialog::Accepted));
    QCOMPARE(base.filas("select * from alimentos order by id"),
             QStringList({"1|Avena", "2|Maiz", "3|Nuevo"}));
}

void TstCatalogo::accesibilidad() {
    BaseTemporal base;
    auto f = abrir("Alimentos", "ABM Alimento");
    QCOMPARE(controlesSinNombreAccesible(f.get()), QStringList());
    QCOMPARE(control<QLineEdit>(f.get(), "TxtDes")->accessibleName(), QString("DESCRIPCION:"));
    FrmAgregarRec r("ABM Recetas");
    QCOMPARE(controlesSinNombreAccesible(&r), QStringList());
}

QTEST_MAIN(TstCatalogo)
#include "tst_catalogo.moc"
