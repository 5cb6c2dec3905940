#include "catalog/FrmAgregarRec.h"

FrmAgregarRec::FrmAgregarRec(const QString& caption, QWidget* parent) : FrmAgregar(caption, true, parent) {}
