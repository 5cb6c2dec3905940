#pragma once

#include "catalog/FrmAgregar.h"

// The recipe catalogue editor: the catalogue editor with the load type of each recipe ("Kilos" or
// "Porcentaje"). Opened like FrmAgregar; its table is "Recetas".
class FrmAgregarRec : public FrmAgregar {
    Q_OBJECT
public:
    explicit FrmAgregarRec(const QString& caption, QWidget* parent = nullptr);
};
