#pragma once

#include "historial/CargasPrecision.h"

#include <QAbstractTableModel>

// The rows of a loads list: texts in the regional form made only for the rows shown, numbers (and
// date with time) for sorting (Qt::UserRole), the loads beyond the tolerance marked (kFueraRol) and
// painted as the accuracy table paints its groups.
class ModeloCargas : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kOrdenRol = Qt::UserRole;
    static constexpr int kFueraRol = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    void mostrar(CargasPrecision lista);
    const CargasPrecision& lista() const { return lista_; }

private:
    CargasPrecision lista_;
    QStringList encabezados_ = CargasPrecision::encabezados(Agrupacion::Alimento);
    QLocale local_;
};
