#include "events/ModeloSucesos.h"

namespace {
constexpr int kColumnas = 8;
// "SUGERIDO" and "REAL" hold kilograms: right-aligned like numbers.
bool aLaDerecha(int columna) {
    return columna == 5 || columna == 6;
}

const QString& celda(const FilaEvento& f, int columna) {
    switch (columna) {
    case 0:
        return f.tipo;
    case 1:
        return f.fecha;
    case 2:
        return f.hora;
    case 3:
        return f.recetaCorral;
    case 4:
        return f.alimento;
    case 5:
        return f.sugerido;
    case 6:
        return f.real;
    default:
        return f.operario;
    }
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
        return celda(filas_[indice.row()], indice.column());
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
