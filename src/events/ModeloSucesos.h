#pragma once

#include "core/FilaEvento.h"

#include <QAbstractTableModel>
#include <QList>

// The rows of the events list. Rows are only ever added at the end, in batches, so a download
// of thousands of events costs one insertion per arrival instead of one per row.
class ModeloSucesos : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    void agregar(const QList<FilaEvento>& filas);
    void limpiar();
    const QList<FilaEvento>& filas() const { return filas_; }

private:
    QList<FilaEvento> filas_;
};
