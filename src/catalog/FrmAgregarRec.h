#pragma once

#include <QDialog>

// The recipe catalogue editor (with the load type). Opened like FrmAgregar, with Tabla_ABM
// set to "Recetas".
class FrmAgregarRec : public QDialog {
    Q_OBJECT
public:
    explicit FrmAgregarRec(const QString& caption, QWidget* parent = nullptr);
};
