#pragma once

#include "historial/CargasPrecision.h"
#include "historial/ExportacionCargas.h"
#include "historial/TrabajoCargas.h"
#include "ui/TrabajoVentana.h"

#include <QDialog>

#include <memory>

class ModeloCargas;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// "Cargas": the loads behind one group of the accuracy report (or all of its range), each with its
// trip, plan, real amount, difference and whether it is within the tolerance; sortable and
// exported with "EXPORTAR XLS". The list is read off the window's thread.
class FrmCargasPrecision : public QDialog {
    Q_OBJECT
public:
    // `grupo` as the report names it; none for every load of the report's range.
    FrmCargasPrecision(const QString& archivo, const InformePrecision& informe,
                       const std::optional<QString>& grupo, QWidget* parent = nullptr);
    ~FrmCargasPrecision() override;

    bool calculando() const { return trabajo_.enCurso(); }
    bool exportando() const { return exportacion_.enCurso(); }
    const CargasPrecision& lista() const;

public Q_SLOTS:
    void exportar();

private:
    QString titulo_;
    TrabajoVentana<TrabajoCargas> trabajo_;
    TrabajoVentana<ExportacionCargas> exportacion_;
    QLabel* LblEstado;
    QTableView* ListCargas;
    QPushButton* CmdExportar;
    ModeloCargas* modelo_;
    QSortFilterProxyModel* orden_;
};
