#pragma once

#include <QTableWidget>

// The feeds' own tolerances, edited in place beside the accuracy table: one row per feed of the
// catalogue (and per feed that already has its own), with its bound in kilograms and in percent.
// An empty cell is no bound; a feed with neither is judged by the general percentage. Each change
// is stored at once; a text that is not a number (or is negative) gives the cell back its value.
class TablaTolerancias : public QTableWidget {
    Q_OBJECT
public:
    explicit TablaTolerancias(QWidget* padre = nullptr);
    // Reads the feeds and their tolerances from the shared connection.
    void cargar();

Q_SIGNALS:
    // A feed's tolerance was stored: the report must be computed again.
    void cambiada();

private:
    void alCambiar(QTableWidgetItem* celda);
    bool cargando_ = false;
};
