#include "PruebaPlan.h"

#include "BaseTemporal.h"

#include "app/FrmPrincipal.h"

#include <QLocale>

void PruebaPlan::initTestCase() {
    Dialogos::activarModoPrueba();
}

void PruebaPlan::init() {
    Dialogos::limpiar();
}

void PruebaPlan::cleanup() {
    QLocale::setDefault(QLocale::c());
}

void PruebaPlan::sembrarCatalogos(BaseTemporal& base) {
    QVERIFY(base.ok());
    QVERIFY(base.ejecutar("insert into recetas values (1, 'Receta Kilos', 0), (2, 'Receta Porc', -1)"));
    QVERIFY(base.ejecutar("insert into alimentos values (10, 'Maíz'), (11, 'Avena')"));
}

QString PruebaPlan::abiertaDesdePrincipal(const char* boton) {
    FrmPrincipal principal;
    principal.show();
    QString abierta;
    alAbrirModal(this, [&](QWidget* w) {
        QVERIFY(w);
        abierta = w->objectName() + "|" + w->windowTitle();
        w->close();
    });
    AyudaPlan::pulsar(&principal, boton);
    return abierta;
}
