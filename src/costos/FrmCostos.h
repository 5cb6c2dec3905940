#pragma once

#include "costos/ExportacionCostos.h"
#include "costos/InformeCostos.h"
#include "costos/InventarioStock.h"
#include "costos/TrabajoCostos.h"
#include "ui/CalculoDiferido.h"
#include "ui/TrabajoVentana.h"
#include "ui/VentanaInforme.h"

#include <QDialog>

#include <memory>

class ComboEditable;
class QChartView;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

// "Costos y stock": what the loads of a date range cost, real against planned and grouped by day,
// recipe, pen, feed or operator; every feed's stock at the range's last day with its use and the
// days it lasts, its stock day by day in a chart, and the shrink of each count. Prices, receipts
// and counts are typed in its last tab. The costs are computed off the window's thread.
class FrmCostos : public QDialog {
    Q_OBJECT
public:
    explicit FrmCostos(QWidget* parent = nullptr);
    ~FrmCostos() override;

    const InformeCostos& informe() const { return informe_; }
    bool calculando() const;
    bool exportando() const { return exportacion_.enCurso(); }

public Q_SLOTS:
    void exportar();
    void guardarMovimiento();

private:
    void construir();
    QWidget* construirMovimientos();
    void calcular();
    void mostrarCostos();
    void mostrarStock();
    void dibujarStock();

    InformeCostos informe_;
    InventarioStock inventario_;
    TrabajoVentana<TrabajoCostos> trabajo_;
    TrabajoVentana<ExportacionCostos> exportacion_;
    CalculoDiferido calculo_;

    VentanaInforme::Filtros filtros_;
    QPushButton* CmdExportar;
    QLabel* LblEstado;
    QTabWidget* TabCostos;
    QTableView* ListCostos;
    QTableView* ListStock;
    QLabel* LblAlimentoGrafico;
    QComboBox* CmbAlimentoGrafico;
    QLabel* LblUmbral;
    QDoubleSpinBox* TxtUmbral;
    QChartView* GrfStock;
    QTableView* ListMermas;
    QLabel* LblMovTipo;
    QComboBox* CmbMovTipo;
    QLabel* LblMovAlimento;
    QComboBox* CmbMovAlimento;
    QLabel* LblMovCantidad;
    QLineEdit* TxtMovCantidad;
    QLabel* LblMovFecha;
    QDateEdit* DTMovFecha;
    QLabel* LblMovProveedor;
    QLineEdit* TxtMovProveedor;
    QLabel* LblMovNota;
    QLineEdit* TxtMovNota;
    QPushButton* CmdGuardar;
    QStandardItemModel* costos_;
    QStandardItemModel* stock_;
    QStandardItemModel* mermas_;
};
