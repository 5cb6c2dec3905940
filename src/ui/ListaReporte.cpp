#include "ui/ListaReporte.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

namespace {
constexpr int kAnchoMaximo = 240; // pixels a column takes at most when sized to its content

// Draws the grid lines a report list shows between its cells.
class DelegadoGrilla : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& op, const QModelIndex& i) const override {
        QStyledItemDelegate::paint(p, op, i);
        p->save();
        p->setPen(op.palette.color(QPalette::Mid));
        p->drawLine(op.rect.bottomLeft(), op.rect.bottomRight());
        p->drawLine(op.rect.topRight(), op.rect.bottomRight());
        p->restore();
    }
};
} // namespace

namespace ListaReporte {

void preparar(QTreeWidget* lista, const QStringList& columnas, const QString& nombreAccesible) {
    lista->setColumnCount(static_cast<int>(columnas.size()));
    lista->setHeaderLabels(columnas);
    lista->setRootIsDecorated(false);
    lista->setItemsExpandable(false);
    lista->setUniformRowHeights(true);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setAllColumnsShowFocus(true);
    lista->setItemDelegate(new DelegadoGrilla(lista));
    lista->header()->setSectionsMovable(true);
    lista->header()->setStretchLastSection(false);
    lista->setAccessibleName(nombreAccesible);
    // The selection stays as visible when the list loses the focus.
    QPalette pal = lista->palette();
    for (QPalette::ColorRole rol : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, rol, pal.color(QPalette::Active, rol));
    lista->setPalette(pal);
}

void ajustarColumnas(QAbstractItemView* vista) {
    QHeaderView* cabecera = nullptr;
    if (auto* arbol = qobject_cast<QTreeView*>(vista))
        cabecera = arbol->header();
    else if (auto* tabla = qobject_cast<QTableView*>(vista))
        cabecera = tabla->horizontalHeader();
    if (!cabecera || !vista->model())
        return;
    cabecera->setResizeContentsPrecision(200);
    // Several changes in one pass of the event loop are measured once.
    auto* reloj = new QTimer(vista);
    reloj->setSingleShot(true);
    reloj->setInterval(0);
    auto medir = [cabecera] {
        cabecera->resizeSections(QHeaderView::ResizeToContents);
        // A long name is cut (its cell shows it whole as a tip) rather than pushing the columns
        // after it out of sight.
        for (int c = 0; c < cabecera->count(); ++c)
            if (cabecera->sectionSize(c) > kAnchoMaximo)
                cabecera->resizeSection(c, kAnchoMaximo);
        // Measuring sets the last section too; the stretch is applied again afterwards.
        cabecera->setStretchLastSection(false);
        cabecera->setStretchLastSection(true);
    };
    QObject::connect(reloj, &QTimer::timeout, cabecera, medir);
    QAbstractItemModel* modelo = vista->model();
    auto pedir = [reloj] { reloj->start(); };
    QObject::connect(modelo, &QAbstractItemModel::rowsInserted, reloj, pedir);
    QObject::connect(modelo, &QAbstractItemModel::rowsRemoved, reloj, pedir);
    QObject::connect(modelo, &QAbstractItemModel::modelReset, reloj, pedir);
    QObject::connect(modelo, &QAbstractItemModel::dataChanged, reloj, pedir);
    QObject::connect(modelo, &QAbstractItemModel::headerDataChanged, reloj, pedir);
    medir();
}

} // namespace ListaReporte
