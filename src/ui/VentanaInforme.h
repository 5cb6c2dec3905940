#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <utility>

class CalculoDiferido;
class QAbstractItemModel;
class QChartView;
class QComboBox;
class QDateEdit;
class QDialog;
class QHBoxLayout;
class QLabel;
class QObject;
class QTableView;
class QVBoxLayout;
class QWidget;

// The frame shared by the report windows: a modal window whose first row picks the date range and
// the grouping, a read-only table of the report and its chart, computed again shortly after the
// last change.
namespace VentanaInforme {

struct Filtros {
    QVBoxLayout* raiz = nullptr;
    QHBoxLayout* fila = nullptr; // the window adds its own controls after the grouping
    QLabel* LblDesde = nullptr;
    QDateEdit* DTDESDE = nullptr; // 30 days ago
    QLabel* LblHasta = nullptr;
    QDateEdit* DTHASTA = nullptr; // today
    QLabel* LblAgrupar = nullptr;
    QComboBox* CmbAgrupar = nullptr; // the groupings' names, each with its number as data
};

// The entries of the grouping combo: each grouping's name, with its number as data.
template <typename Agrupacion, typename Nombre>
QList<std::pair<QString, int>> agrupaciones(const QList<Agrupacion>& todas, Nombre nombre) {
    QList<std::pair<QString, int>> r;
    for (Agrupacion a : todas)
        r.push_back({nombre(a), static_cast<int>(a)});
    return r;
}

// Names and titles the modal window, lays it out in a column and puts the first row in it. Prepares
// `calculo` to run `calcular`, and schedules it whenever a date or the grouping changes.
Filtros construir(QDialog* ventana, const QString& nombre, const QString& titulo,
                  const QList<std::pair<QString, int>>& agrupaciones, CalculoDiferido& calculo,
                  const std::function<void()>& calcular);

// A read-only table of whole rows, its columns as wide as their contents.
QTableView* tabla(const QString& nombre, const QString& accesible, QAbstractItemModel* modelo,
                  QWidget* padre);

// A chart with numbers in the regional form.
QChartView* grafico(const QString& nombre, const QString& accesible, QWidget* padre);

} // namespace VentanaInforme
