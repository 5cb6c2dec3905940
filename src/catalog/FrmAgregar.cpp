#include "catalog/FrmAgregar.h"

FrmAgregar::FrmAgregar(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAgregar"));
    setWindowTitle(caption);
}
