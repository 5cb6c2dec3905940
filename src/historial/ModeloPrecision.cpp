#include "historial/ModeloPrecision.h"

#include "core/Texto.h"
#include "historial/SalidaInforme.h"

#include <QBrush>
#include <QColor>
#include <QFont>

int ModeloPrecision::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(textos_.size());
}

int ModeloPrecision::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(InformePrecision::encabezados(informe_.agrupacion).size());
}

QVariant ModeloPrecision::orden(qsizetype fila, int columna) const {
    // The report comes in alphabetical (or calendar) order already: its position is the name's key.
    if (columna == 0)
        return static_cast<qlonglong>(fila);
    const SalidaInforme::Valor v =
        SalidaInforme::valores(informe_.grupos[fila], informe_.agrupacion).value(columna);
    if (v.clase == SalidaInforme::Valor::Clase::Texto)
        return v.texto;
    return v.numero ? QVariant(*v.numero) : QVariant();
}

QVariant ModeloPrecision::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= textos_.size())
        return {};
    const int fila = indice.row();
    switch (rol) {
    case Qt::DisplayRole:
        return textos_[fila].at(indice.column());
    case kOrdenRol:
        return orden(fila, indice.column());
    case kFueraRol:
        return fuera_[fila];
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment((indice.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return fuera_[fila] ? QVariant(QBrush(QColor(255, 214, 214))) : QVariant();
    case Qt::ForegroundRole:
        return fuera_[fila] ? QVariant(QBrush(QColor(150, 0, 0))) : QVariant();
    case Qt::FontRole:
        if (fuera_[fila]) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ToolTipRole: {
        if (!fuera_[fila])
            return {};
        const GrupoPrecision& g = informe_.grupos[fila];
        return QStringLiteral("%1 de %2 fuera de la tolerancia").arg(g.fuera).arg(g.juzgados());
    }
    default:
        return {};
    }
}

QVariant ModeloPrecision::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= columnCount())
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    if (rol == Qt::DisplayRole)
        return InformePrecision::encabezados(informe_.agrupacion).at(seccion);
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment((seccion == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
    return {};
}

void ModeloPrecision::mostrar(const InformePrecision& informe) {
    beginResetModel();
    informe_ = informe;
    textos_.clear();
    fuera_.clear();
    const QLocale local = Texto::regional();
    for (const GrupoPrecision& g : informe_.grupos) {
        textos_ << SalidaInforme::textos(g, informe_.agrupacion, local);
        fuera_ << g.marcado();
    }
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}
