#include "catalog/FrmAgregarRec.h"

FrmAgregarRec::FrmAgregarRec(const QString& caption, QWidget* parent)
    : FrmAgregar(QStringLiteral("Recetas"), caption, true, parent) {}
