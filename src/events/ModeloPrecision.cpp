#include "events/ModeloPrecision.h"

#include "core/Texto.h"
#include "events/SalidaInforme.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {
constexpr int kColumnas = 9;
QVariant opcional(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant();
}
} // namespace

int ModeloPrecision::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(textos_.size());
}

int ModeloPrecision::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloPrecision::orden(qsizetype fila, int columna) const {
    const GrupoPrecision& g = informe_.grupos[fila];
    switch (columna) {
    case 0:
        // The report comes in alphabetical (or calendar) order already: its position is the key.
        return static_cast<qlonglong>(fila);
    case 1:
        return g.sucesos;
    case 2:
        return g.sugerido;
    case 3:
        return g.real;
    case 4:
        return g.diferencia();
    case 5:
        return opcional(g.diferenciaPorcentaje());
    case 6:
        return opcional(g.desvioMedio());
    case 7:
        return g.fuera;
    default:
        return g.sinNumero;
    }
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
    case Qt::ToolTipRole:
        return fuera_[fila] ? QStringLiteral("Fuera de la tolerancia de %1 %")
                                  .arg(Texto::numeroRegional(informe_.tolerancia))
                            : QVariant();
    default:
        return {};
    }
}

QVariant ModeloPrecision::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= kColumnas)
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
        fuera_ << g.fueraDeTolerancia(informe_.tolerancia);
    }
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumnas - 1);
}
