#pragma once

#include "historial/ExportacionInforme.h"
#include "historial/InformePrecision.h"
#include "historial/TrabajoInforme.h"
#include "ui/CalculoDiferido.h"
#include "ui/TrabajoVentana.h"
#include "ui/VentanaInforme.h"

#include <QDialog>

#include <memory>

class ModeloPrecision;
class QChartView;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class TablaTolerancias;

// "Precisión de carga": how closely the kept loads (or discharges, by pen) followed the plan in a
// date range, grouped by feed, operator, day, recipe or pen, with the groups holding a load beyond
// the tolerance standing out, a chart of the net difference and the mean deviation per group, the
// feeds' own tolerances edited beside it, and the loads behind each group a double click away.
// The report is computed off the window's thread each time the range, the grouping or a tolerance
// changes; the tolerances are saved.
class FrmPrecision : public QDialog {
    Q_OBJECT
public:
    explicit FrmPrecision(QWidget* parent = nullptr);
    ~FrmPrecision() override;

    // The report on show, and whether a newer one is still being computed.
    const InformePrecision& informe() const { return informe_; }
    bool calculando() const;
    // Whether a workbook is being written.
    bool exportando() const { return exportacion_.enCurso(); }

public Q_SLOTS:
    void exportar();
    // The loads of the group chosen in the table (every load of the range when none is chosen).
    void verCargas();

Q_SIGNALS:
    // "IMPRIMIR": the report as shown is wanted on paper.
    void imprimirPedido();

private:
    void construir();
    // Computes again shortly, so typing a date or a tolerance asks once, not per keystroke.
    void programar();
    void calcular();
    void alTerminar(const ResultadoCon<InformePrecision>& r);

    InformePrecision informe_;
    TrabajoVentana<TrabajoInforme> trabajo_;
    TrabajoVentana<ExportacionInforme> exportacion_;
    CalculoDiferido calculo_;

    VentanaInforme::Filtros filtros_;
    QLabel* LblTolerancia;
    QDoubleSpinBox* TxtTolerancia;
    QPushButton* CmdCargas;
    QPushButton* CmdExportar;
    QLabel* LblTolerancias;
    TablaTolerancias* TablaPorAlimento;
    QPushButton* CmdImprimir;
    QLabel* LblEstado;
    QTableView* ListPrecision;
    ModeloPrecision* modelo_;
    QSortFilterProxyModel* orden_;
    QChartView* GrfPrecision;
};
