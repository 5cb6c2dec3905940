#pragma once

// What the tests of the two plan windows (trips and pens) share: message boxes answered by the
// test and forgotten before each case, the C locale back after each case, the catalogues both
// windows pick from, and the window opened from the main window.
#include "AyudaPlan.h"

#include <QObject>

class BaseTemporal;

class PruebaPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

protected:
    // Recipes 1 "Receta Kilos" (kg) and 2 "Receta Porc" (%), feeds 10 "Maíz" and 11 "Avena".
    static void sembrarCatalogos(BaseTemporal& base);
    // "objectName|title" of the window the main window's button `boton` opens (closed at once);
    // empty when none opened.
    QString abiertaDesdePrincipal(const char* boton);
};
