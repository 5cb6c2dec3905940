#pragma once

#include "historial/InformePrecision.h"

#include <QAbstractTableModel>
#include <QStringList>

// The rows of the accuracy table: texts in the regional form for the eye, numbers for sorting
// (Qt::UserRole, an undefined percentage sorting last) and the groups holding any event beyond the
// tolerance marked (kFueraRol, a bool) and painted apart.
class ModeloPrecision : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kOrdenRol = Qt::UserRole;
    static constexpr int kFueraRol = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    void mostrar(const InformePrecision& informe);
    const InformePrecision& informe() const { return informe_; }

private:
    QVariant orden(qsizetype fila, int columna) const;

    InformePrecision informe_;
    QList<QStringList> textos_;
    QList<bool> fuera_;
};
