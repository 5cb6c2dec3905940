#pragma once

#include <QDialog>

// The catalogue editor of feeds and operators. The caller sets Tabla_ABM, creates the editor with
// its caption (which loads the table) and shows it modally with exec().
class FrmAgregar : public QDialog {
    Q_OBJECT
public:
    explicit FrmAgregar(const QString& caption, QWidget* parent = nullptr);
};
