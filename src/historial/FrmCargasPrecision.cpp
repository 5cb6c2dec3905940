#include "historial/FrmCargasPrecision.h"

#include "historial/ExportacionCargas.h"
#include "historial/ModeloCargas.h"
#include "historial/SalidaInforme.h"
#include "historial/TrabajoCargas.h"
#include "ui/Controles.h"
#include "ui/DestinoLibro.h"
#include "ui/Dialogos.h"
#include "ui/FinExportacion.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

FrmCargasPrecision::FrmCargasPrecision(const QString& archivo, const InformePrecision& informe,
                                       const std::optional<QString>& grupo, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCargasPrecision"));
    const bool descargas = informe.agrupacion == Agrupacion::Corral;
    const QString periodo = QStringLiteral("del %1 al %2")
                                .arg(informe.desde.toString(QStringLiteral("dd/MM/yyyy")),
                                     informe.hasta.toString(QStringLiteral("dd/MM/yyyy")));
    QString nombre;
    if (grupo) {
        GrupoPrecision g;
        g.grupo = *grupo;
        nombre = SalidaInforme::nombreGrupo(g, informe.agrupacion);
    }
    titulo_ = (descargas ? QStringLiteral("Descargas") : QStringLiteral("Cargas")) +
              (grupo ? QStringLiteral(" de %1 (%2)")
                           .arg(nombre, InformePrecision::nombre(informe.agrupacion).toLower())
                     : QString()) +
              u' ' + periodo;
    setWindowTitle(titulo_);
    setModal(true);
    auto* raiz = new QVBoxLayout(this);
    auto* arriba = new QHBoxLayout;
    LblEstado = Controles::etiqueta("LblEstado", QStringLiteral("Calculando..."), this);
    CmdExportar = Controles::boton("CmdExportar", QStringLiteral("EXPORTAR XLS"), this);
    CmdExportar->setEnabled(false);
    arriba->addWidget(LblEstado, 1);
    arriba->addWidget(CmdExportar);
    raiz->addLayout(arriba);
    modelo_ = new ModeloCargas(this);
    orden_ = new QSortFilterProxyModel(this);
    orden_->setSourceModel(modelo_);
    orden_->setSortRole(ModeloCargas::kOrdenRol);
    ListCargas = new QTableView(this);
    ListCargas->setObjectName(QStringLiteral("ListCargas"));
    ListCargas->setAccessibleName(titulo_);
    ListCargas->setModel(orden_);
    ListCargas->setSortingEnabled(true);
    ListCargas->sortByColumn(0, Qt::AscendingOrder);
    ListCargas->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListCargas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListCargas->verticalHeader()->setVisible(false);
    ListCargas->horizontalHeader()->setStretchLastSection(true);
    raiz->addWidget(ListCargas, 1);
    connect(CmdExportar, &QPushButton::clicked, this, &FrmCargasPrecision::exportar);
    resize(1100, 560);

    trabajo_.iniciar(
        this, new TrabajoCargas(archivo, informe, grupo),
        [this, descargas](const ResultadoCon<CargasPrecision>& r) {
            if (!r.ok) {
                LblEstado->setText(QStringLiteral("No se puede leer el historial: ") + r.descripcion);
                return;
            }
            modelo_->mostrar(r.valor);
            const auto& cargas = modelo_->lista().cargas;
            const auto fuera = std::count_if(cargas.cbegin(), cargas.cend(), [](const CargaPrecision& c) {
                return c.juzgada() && !c.dentro;
            });
            const QString clase = descargas ? QStringLiteral("descargas") : QStringLiteral("cargas");
            LblEstado->setText(QStringLiteral("%1 %2; %3 fuera de la tolerancia")
                                   .arg(cargas.size())
                                   .arg(cargas.size() == 1 ? clase.chopped(1) : clase)
                                   .arg(fuera));
            // Widths measured once, on the first rows: measuring 100,000 would freeze the window.
            ListCargas->resizeColumnsToContents();
            CmdExportar->setEnabled(true);
        });
}

FrmCargasPrecision::~FrmCargasPrecision() = default;

const CargasPrecision& FrmCargasPrecision::lista() const {
    return modelo_->lista();
}

void FrmCargasPrecision::exportar() {
    if (exportacion_.enCurso() || trabajo_.enCurso())
        return;
    const QString ruta = elegirDestinoLibro(this, QStringLiteral("Exportar las cargas"));
    if (ruta.isEmpty())
        return; // cancelled
    setCursor(Qt::BusyCursor);
    CmdExportar->setEnabled(false);
    // The list as it is shown: its rows in the order the user sorted them.
    CargasPrecision tabla{modelo_->lista().agrupacion, {}};
    tabla.cargas.reserve(orden_->rowCount());
    for (int i = 0; i < orden_->rowCount(); ++i)
        tabla.cargas << modelo_->lista().cargas.at(orden_->mapToSource(orden_->index(i, 0)).row());
    exportacion_.iniciar(this, new ExportacionCargas(ruta, titulo_, tabla), [this, ruta](const Resultado& r) {
        FinExportacion::avisar(this, CmdExportar, ruta, r, QStringLiteral("FrmCargasPrecision"));
    });
}
