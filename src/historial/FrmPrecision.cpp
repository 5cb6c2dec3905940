#include "historial/FrmPrecision.h"

#include "core/Texto.h"
#include "db/Preferencias.h"
#include "historial/ExportacionInforme.h"
#include "historial/FrmCargasPrecision.h"
#include "historial/GraficoPrecision.h"
#include "historial/ModeloPrecision.h"
#include "historial/SalidaInforme.h"
#include "historial/TablaTolerancias.h"
#include "historial/TrabajoInforme.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/DestinoLibro.h"
#include "ui/Dialogos.h"
#include "ui/FinExportacion.h"
#include "ui/VentanaInforme.h"

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

FrmPrecision::FrmPrecision(QWidget* parent) : QDialog(parent) {
    construir();
    calcular();
}

FrmPrecision::~FrmPrecision() = default;

void FrmPrecision::construir() {
    filtros_ = VentanaInforme::construir(
        this, QStringLiteral("FrmPrecision"), QStringLiteral("Precisión de carga"),
        VentanaInforme::agrupaciones(InformePrecision::todas(), InformePrecision::nombre), calculo_,
        [this] { calcular(); });
    QVBoxLayout* raiz = filtros_.raiz;
    QHBoxLayout* filtros = filtros_.fila;
    LblTolerancia = Controles::etiqueta("LblTolerancia", QStringLiteral("TOLERANCIA %:"), this);
    TxtTolerancia = new QDoubleSpinBox(this);
    TxtTolerancia->setObjectName(QStringLiteral("TxtTolerancia"));
    TxtTolerancia->setLocale(Texto::regional());
    TxtTolerancia->setDecimals(1);
    TxtTolerancia->setRange(0, 100);
    TxtTolerancia->setSingleStep(0.5);
    TxtTolerancia->setValue(Preferencias::tolerancia());
    Accesible::conEtiqueta(TxtTolerancia, LblTolerancia);
    CmdCargas = Controles::boton("CmdCargas", QStringLiteral("VER CARGAS"), this);
    CmdCargas->setToolTip(QStringLiteral("Las cargas del grupo elegido (todas, sin grupo elegido)"));
    CmdExportar = Controles::boton("CmdExportar", QStringLiteral("EXPORTAR XLS"), this);
    filtros->addWidget(LblTolerancia);
    filtros->addWidget(TxtTolerancia);
    filtros->addStretch();
    filtros->addWidget(CmdCargas);
    filtros->addWidget(CmdExportar);
    CmdImprimir = Controles::boton("CmdImprimir", QStringLiteral("IMPRIMIR"), this);
    filtros->addWidget(CmdImprimir);

    LblEstado = Controles::etiqueta("LblEstado", QString(), this);
    raiz->addWidget(LblEstado);

    auto* division = new QSplitter(Qt::Vertical, this);
    modelo_ = new ModeloPrecision(this);
    orden_ = new QSortFilterProxyModel(this);
    orden_->setSourceModel(modelo_);
    orden_->setSortRole(ModeloPrecision::kOrdenRol);
    ListPrecision = VentanaInforme::tabla(QStringLiteral("ListPrecision"),
                                          QStringLiteral("PRECISIÓN DE CARGA"), orden_, division);
    ListPrecision->setSortingEnabled(true);
    ListPrecision->sortByColumn(0, Qt::AscendingOrder);

    GrfPrecision = VentanaInforme::grafico(QStringLiteral("GrfPrecision"),
                                           QStringLiteral("Gráfico de diferencia % por grupo"), division);
    division->addWidget(ListPrecision);
    division->addWidget(GrfPrecision);

    // The feeds' own tolerances beside the table and the chart.
    auto* lados = new QSplitter(Qt::Horizontal, this);
    lados->addWidget(division);
    auto* panel = new QWidget(lados);
    auto* columna = new QVBoxLayout(panel);
    columna->setContentsMargins(0, 0, 0, 0);
    LblTolerancias = Controles::etiqueta("LblTolerancias", QStringLiteral("TOLERANCIA POR ALIMENTO:"), panel);
    TablaPorAlimento = new TablaTolerancias(panel);
    Accesible::conEtiqueta(TablaPorAlimento, LblTolerancias);
    TablaPorAlimento->cargar();
    columna->addWidget(LblTolerancias);
    columna->addWidget(TablaPorAlimento, 1);
    lados->addWidget(panel);
    lados->setStretchFactor(0, 4);
    lados->setStretchFactor(1, 1);
    raiz->addWidget(lados, 1);

    connect(TxtTolerancia, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        // Kept for the next time; a database that refuses it only loses the preference.
        Preferencias::guardarTolerancia(v);
        programar();
    });
    connect(TablaPorAlimento, &TablaTolerancias::cambiada, this, &FrmPrecision::programar);
    connect(CmdExportar, &QPushButton::clicked, this, &FrmPrecision::exportar);
    connect(CmdCargas, &QPushButton::clicked, this, &FrmPrecision::verCargas);
    connect(ListPrecision, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        ListPrecision->setCurrentIndex(i);
        verCargas();
    });
    connect(CmdImprimir, &QPushButton::clicked, this, &FrmPrecision::imprimirPedido);
    resize(1200, 640); // every column shown, on a 1366x768 screen with its taskbar
}

bool FrmPrecision::calculando() const {
    return calculo_.calculando();
}

void FrmPrecision::programar() {
    calculo_.programar();
}

void FrmPrecision::calcular() {
    const quint64 generacion = calculo_.empezar();
    const auto agrupacion = static_cast<Agrupacion>(filtros_.CmbAgrupar->currentData().toInt());
    LblEstado->setText(QStringLiteral("Calculando..."));
    // A report still under way is of no more use: starting this one stops it (it checks often).
    trabajo_.iniciar(this,
                     new TrabajoInforme(BaseDatos::ConexionBD().databaseName(), agrupacion,
                                        filtros_.DTDESDE->date(), filtros_.DTHASTA->date(),
                                        TxtTolerancia->value()),
                     [this, generacion](const ResultadoCon<InformePrecision>& r) {
                         if (calculo_.terminar(generacion))
                             alTerminar(r);
                     });
}

void FrmPrecision::alTerminar(const ResultadoCon<InformePrecision>& r) {
    if (!r.ok) {
        LblEstado->setText(QStringLiteral("No se puede leer el historial: ") + r.descripcion);
        return;
    }
    informe_ = r.valor;
    modelo_->mostrar(informe_);
    GraficoPrecision::dibujar(GrfPrecision->chart(), informe_);
    LblEstado->setText(SalidaInforme::resumen(informe_));
}

void FrmPrecision::exportar() {
    if (exportacion_.enCurso() || calculando())
        return; // one export at a time, of the table on show
    const QString ruta = elegirDestinoLibro(this, QStringLiteral("Exportar la precisión de carga"));
    if (ruta.isEmpty())
        return; // cancelled
    setCursor(Qt::BusyCursor);
    CmdExportar->setEnabled(false);
    // The table as it is shown: its rows in the order the user sorted them.
    InformePrecision tabla = informe_;
    tabla.grupos.clear();
    for (int i = 0; i < orden_->rowCount(); ++i)
        tabla.grupos << informe_.grupos.at(orden_->mapToSource(orden_->index(i, 0)).row());
    auto* exportacion = new ExportacionInforme(ruta, tabla);
    exportacion->incluirCargas(BaseDatos::ConexionBD().databaseName());
    exportacion_.iniciar(this, exportacion, [this, ruta](const Resultado& r) {
        FinExportacion::avisar(this, CmdExportar, ruta, r, QStringLiteral("FrmPrecision"));
    });
}

void FrmPrecision::verCargas() {
    if (calculando())
        return; // the loads of the table on show
    const QModelIndex actual = ListPrecision->currentIndex();
    std::optional<QString> grupo;
    if (actual.isValid())
        grupo = informe_.grupos.at(orden_->mapToSource(actual).row()).grupo;
    FrmCargasPrecision cargas(BaseDatos::ConexionBD().databaseName(), informe_, grupo, this);
    cargas.exec();
}
