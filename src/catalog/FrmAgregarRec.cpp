#include "catalog/FrmAgregarRec.h"

FrmAgregarRec::FrmAgregarRec(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAgregarRec"));
    setWindowTitle(caption);
}
