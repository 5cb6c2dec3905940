#include "historial/ModeloCargas.h"

#include "core/Texto.h"

#include <QBrush>
#include <QColor>

namespace {
QVariant opcional(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant();
}
bool esNumero(int columna) {
    return columna == 2 || (columna >= 6 && columna <= 9);
}
} // namespace

int ModeloCargas::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(lista_.cargas.size());
}

int ModeloCargas::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(encabezados_.size());
}

QVariant ModeloCargas::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= lista_.cargas.size())
        return {};
    const CargaPrecision& c = lista_.cargas[indice.row()];
    const bool fuera = c.juzgada() && !c.dentro;
    switch (rol) {
    case Qt::DisplayRole:
        return CargasPrecision::textos(c, local_).value(indice.column());
    case kOrdenRol:
        switch (indice.column()) {
        case 0:
        case 1:
            return c.fecha + u' ' + c.hora; // the list comes in this order: ties keep it
        case 2:
            return c.viaje;
        case 3:
            return c.recetaCorral;
        case 4:
            return c.alimento;
        case 5:
            return c.operario;
        case 6:
            return opcional(c.sugerido);
        case 7:
            return opcional(c.real);
        case 8:
            return opcional(c.diferencia());
        case 9:
            return opcional(c.diferenciaPorcentaje());
        default:
            return c.juzgada() ? QVariant(c.dentro) : QVariant();
        }
    case kFueraRol:
        return fuera;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment((esNumero(indice.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return fuera ? QVariant(QBrush(QColor(255, 214, 214))) : QVariant();
    case Qt::ForegroundRole:
        return fuera ? QVariant(QBrush(QColor(150, 0, 0))) : QVariant();
    default:
        return {};
    }
}

QVariant ModeloCargas::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= encabezados_.size())
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    if (rol == Qt::DisplayRole)
        return encabezados_.at(seccion);
    return {};
}

void ModeloCargas::mostrar(CargasPrecision lista) {
    beginResetModel();
    lista_ = std::move(lista);
    encabezados_ = CargasPrecision::encabezados(lista_.agrupacion);
    local_ = Texto::regional();
    endResetModel();
}
