#include "events/ModeloSucesos.h"

namespace {
constexpr int kColumnas = FilaEvento::kColumnas;
// "SUGERIDO" and "REAL" hold kilograms: right-aligned like numbers.
bool aLaDerecha(int columna) {
    return columna == 5 || columna == 6;
}

} // namespace

int ModeloSucesos::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloSucesos::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloSucesos::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= filas_.size())
        return {};
    if (rol == Qt::DisplayRole || rol == Qt::ToolTipRole)
        return filas_[indice.row()].celda(indice.column());
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment((aLaDerecha(indice.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    return {};
}

QVariant ModeloSucesos::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= kColumnas)
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    if (rol == Qt::DisplayRole)
        return FilaEvento::encabezados().at(seccion);
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment((aLaDerecha(seccion) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    return {};
}

void ModeloSucesos::agregar(const QList<FilaEvento>& filas) {
    if (filas.isEmpty())
        return;
    const int primera = static_cast<int>(filas_.size());
    beginInsertRows({}, primera, primera + static_cast<int>(filas.size()) - 1);
    filas_ += filas;
    endInsertRows();
}

void ModeloSucesos::limpiar() {
    beginResetModel();
    filas_.clear();
    endResetModel();
}
