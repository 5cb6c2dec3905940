#include "costos/FrmCostos.h"

#include "core/Texto.h"
#include "costos/AvisoStock.h"
#include "costos/CatalogoAlimentos.h"
#include "costos/ExportacionCostos.h"
#include "costos/GraficoStock.h"
#include "costos/MovimientosStock.h"
#include "costos/PreciosAlimento.h"
#include "costos/SalidaCostos.h"
#include "costos/TrabajoCostos.h"
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
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kPrecio = QStringLiteral("Precio por kg");
const QString kIngreso = QStringLiteral("Ingreso (kg)");
const QString kConteo = QStringLiteral("Conteo (kg)");

QLabel* etiquetaDe(QWidget* entrada, const char* nombre, const QString& texto, QWidget* padre) {
    QLabel* l = Controles::etiqueta(nombre, texto, padre);
    Accesible::conEtiqueta(entrada, l);
    return l;
}

QStandardItem* texto(const QString& t) {
    return new QStandardItem(t);
}

QStandardItem* numero(const QString& t) {
    auto* i = new QStandardItem(t);
    i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

QString kilos(qint64 gramos) {
    return Texto::regional().toString(Importe::kilos(gramos), 'f', gramos % 1000 ? 3 : 0);
}

QString dinero(qint64 centavos) {
    QLocale l = Texto::regional();
    l.setNumberOptions(QLocale::DefaultNumberOptions); // thousands grouped, as money is read
    return l.toString(static_cast<double>(centavos) / 100, 'f', 2);
}

} // namespace

FrmCostos::FrmCostos(QWidget* parent) : QDialog(parent) {
    construir();
    calcular();
}

FrmCostos::~FrmCostos() = default;

void FrmCostos::construir() {
    filtros_ =
        VentanaInforme::construir(this, QStringLiteral("FrmCostos"), QStringLiteral("Costos y stock"),
                                  VentanaInforme::agrupaciones(InformeCostos::todas(), InformeCostos::nombre),
                                  calculo_, [this] { calcular(); });
    filtros_.CmbAgrupar->setCurrentIndex(
        static_cast<int>(InformeCostos::todas().indexOf(PorCosto::Alimento)));
    QVBoxLayout* raiz = filtros_.raiz;
    QHBoxLayout* filtros = filtros_.fila;
    CmdExportar = Controles::boton("CmdExportar", QStringLiteral("EXPORTAR XLS"), this);
    filtros->addStretch();
    filtros->addWidget(CmdExportar);
    LblEstado = Controles::etiqueta("LblEstado", QString(), this);
    LblEstado->setWordWrap(true);
    raiz->addWidget(LblEstado);

    TabCostos = new QTabWidget(this);
    TabCostos->setObjectName(QStringLiteral("TabCostos"));
    TabCostos->setAccessibleName(QStringLiteral("Costos y stock"));
    costos_ = new QStandardItemModel(this);
    ListCostos =
        VentanaInforme::tabla(QStringLiteral("ListCostos"), QStringLiteral("COSTOS"), costos_, TabCostos);
    TabCostos->addTab(ListCostos, QStringLiteral("Costos"));

    auto* hojaStock = new QWidget(TabCostos);
    auto* capaStock = new QVBoxLayout(hojaStock);
    auto* opcionesStock = new QHBoxLayout;
    CmbAlimentoGrafico = new QComboBox(hojaStock);
    CmbAlimentoGrafico->setObjectName(QStringLiteral("CmbAlimentoGrafico"));
    LblAlimentoGrafico =
        etiquetaDe(CmbAlimentoGrafico, "LblAlimentoGrafico", QStringLiteral("GRÁFICO DE:"), hojaStock);
    TxtUmbral = new QDoubleSpinBox(hojaStock);
    TxtUmbral->setObjectName(QStringLiteral("TxtUmbral"));
    TxtUmbral->setLocale(Texto::regional());
    TxtUmbral->setDecimals(1);
    TxtUmbral->setRange(0, 365);
    TxtUmbral->setValue(AvisoStock::umbral());
    LblUmbral = etiquetaDe(TxtUmbral, "LblUmbral", QStringLiteral("AVISAR CON MENOS DE (DÍAS):"), hojaStock);
    for (QWidget* w :
         std::initializer_list<QWidget*>{LblAlimentoGrafico, CmbAlimentoGrafico, LblUmbral, TxtUmbral})
        opcionesStock->addWidget(w);
    opcionesStock->addStretch();
    capaStock->addLayout(opcionesStock);
    auto* division = new QSplitter(Qt::Vertical, hojaStock);
    stock_ = new QStandardItemModel(this);
    ListStock = VentanaInforme::tabla(QStringLiteral("ListStock"), QStringLiteral("STOCK"), stock_, division);
    GrfStock = VentanaInforme::grafico(QStringLiteral("GrfStock"),
                                       QStringLiteral("Gráfico del stock por día"), division);
    division->addWidget(ListStock);
    division->addWidget(GrfStock);
    capaStock->addWidget(division, 1);
    TabCostos->addTab(hojaStock, QStringLiteral("Stock"));

    mermas_ = new QStandardItemModel(this);
    ListMermas =
        VentanaInforme::tabla(QStringLiteral("ListMermas"), QStringLiteral("MERMAS"), mermas_, TabCostos);
    TabCostos->addTab(ListMermas, QStringLiteral("Mermas"));
    TabCostos->addTab(construirMovimientos(), QStringLiteral("Precios y movimientos"));
    raiz->addWidget(TabCostos, 1);

    connect(CmbAlimentoGrafico, &QComboBox::currentIndexChanged, this, &FrmCostos::dibujarStock);
    connect(TxtUmbral, &QDoubleSpinBox::valueChanged, this, [](double v) { AvisoStock::guardarUmbral(v); });
    connect(CmdExportar, &QPushButton::clicked, this, &FrmCostos::exportar);
    connect(CmdGuardar, &QPushButton::clicked, this, &FrmCostos::guardarMovimiento);
    resize(1100, 640);
}

QWidget* FrmCostos::construirMovimientos() {
    auto* hoja = new QWidget(this);
    auto* forma = new QFormLayout(hoja);
    CmbMovTipo = new QComboBox(hoja);
    CmbMovTipo->setObjectName(QStringLiteral("CmbMovTipo"));
    CmbMovTipo->addItems({kPrecio, kIngreso, kConteo});
    LblMovTipo = etiquetaDe(CmbMovTipo, "LblMovTipo", QStringLiteral("TIPO:"), hoja);
    CmbMovAlimento = new QComboBox(hoja);
    CmbMovAlimento->setObjectName(QStringLiteral("CmbMovAlimento"));
    LblMovAlimento = etiquetaDe(CmbMovAlimento, "LblMovAlimento", QStringLiteral("ALIMENTO:"), hoja);
    LblMovCantidad = Controles::etiqueta("LblMovCantidad", QStringLiteral("PRECIO O KG:"), hoja);
    TxtMovCantidad = Controles::caja("TxtMovCantidad", LblMovCantidad, hoja);
    LblMovFecha = Controles::etiqueta("LblMovFecha", QStringLiteral("FECHA (DESDE):"), hoja);
    DTMovFecha = Controles::fecha("DTMovFecha", QDate::currentDate(), LblMovFecha, hoja);
    LblMovProveedor = Controles::etiqueta("LblMovProveedor", QStringLiteral("PROVEEDOR:"), hoja);
    TxtMovProveedor = Controles::caja("TxtMovProveedor", LblMovProveedor, hoja);
    LblMovNota = Controles::etiqueta("LblMovNota", QStringLiteral("NOTA:"), hoja);
    TxtMovNota = Controles::caja("TxtMovNota", LblMovNota, hoja);
    CmdGuardar = Controles::boton("CmdGuardar", QStringLiteral("GUARDAR"), hoja);
    forma->addRow(LblMovTipo, CmbMovTipo);
    forma->addRow(LblMovAlimento, CmbMovAlimento);
    forma->addRow(LblMovCantidad, TxtMovCantidad);
    forma->addRow(LblMovFecha, DTMovFecha);
    forma->addRow(LblMovProveedor, TxtMovProveedor);
    forma->addRow(LblMovNota, TxtMovNota);
    forma->addRow(QString(), CmdGuardar);
    CatalogoAlimentos catalogo;
    CatalogoAlimentos::cargar(BaseDatos::ConexionBD(), &catalogo);
    for (const CatalogoAlimentos::Alimento& a : catalogo.alimentos())
        CmbMovAlimento->addItem(a.nombre, a.id);
    return hoja;
}

bool FrmCostos::calculando() const {
    return calculo_.calculando();
}

void FrmCostos::calcular() {
    mostrarStock();
    const quint64 generacion = calculo_.empezar();
    const auto por = static_cast<PorCosto>(filtros_.CmbAgrupar->currentData().toInt());
    LblEstado->setText(QStringLiteral("Calculando..."));
    // A computation still under way is of no more use: starting this one stops it.
    trabajo_.iniciar(this,
                     new TrabajoCostos(BaseDatos::ConexionBD().databaseName(), por, filtros_.DTDESDE->date(),
                                       filtros_.DTHASTA->date()),
                     [this, generacion](const ResultadoCon<InformeCostos>& r) {
                         if (!calculo_.terminar(generacion))
                             return;
                         if (!r.ok) {
                             LblEstado->setText(QStringLiteral("No se puede leer el historial: ") +
                                                r.descripcion);
                             return;
                         }
                         informe_ = r.valor;
                         mostrarCostos();
                     });
}

void FrmCostos::mostrarCostos() {
    costos_->clear();
    costos_->setHorizontalHeaderLabels(InformeCostos::encabezados(informe_.por));
    QList<GrupoCosto> filas = informe_.grupos;
    filas << informe_.total;
    for (const GrupoCosto& g : filas) {
        const QDate dia = SalidaCostos::dia(g, informe_.por);
        costos_->appendRow({texto(dia.isValid() ? dia.toString(QStringLiteral("dd/MM/yyyy")) : g.grupo),
                            numero(kilos(g.gramosPlanificados)), numero(kilos(g.gramosReales)),
                            numero(dinero(g.costoPlanificado())), numero(dinero(g.costoReal())),
                            numero(dinero(g.diferencia()))});
    }
    QStringList avisos;
    if (!informe_.sinAlimento.isEmpty())
        avisos << QStringLiteral("Nombres del historial que no son de ningún alimento (valen 0): ") +
                      informe_.sinAlimento.join(QStringLiteral(", "));
    if (!informe_.sinPrecio.isEmpty())
        avisos << QStringLiteral("Cargados antes de su primer precio (valen 0): ") +
                      informe_.sinPrecio.join(QStringLiteral(", "));
    if (informe_.descargasSinCarga)
        avisos
            << QStringLiteral("%1 descargas sin carga anterior en el rango.").arg(informe_.descargasSinCarga);
    LblEstado->setText(informe_.grupos.isEmpty()
                           ? QStringLiteral("No hay cargas guardadas entre el %1 y el %2.")
                                 .arg(informe_.desde.toString(QStringLiteral("dd/MM/yyyy")),
                                      informe_.hasta.toString(QStringLiteral("dd/MM/yyyy")))
                           : avisos.join(u'\n'));
}

void FrmCostos::mostrarStock() {
    const QDate hasta = filtros_.DTHASTA->date();
    if (const auto e = InventarioStock::calcular(BaseDatos::ConexionBD(), hasta, &inventario_)) {
        LblEstado->setText(QStringLiteral("No se puede calcular el stock: ") + e->descripcion);
        return;
    }
    stock_->clear();
    stock_->setHorizontalHeaderLabels(
        {QStringLiteral("ALIMENTO"), QStringLiteral("STOCK KG"), QStringLiteral("USO DIARIO 7 DÍAS KG"),
         QStringLiteral("USO DIARIO 30 DÍAS KG"), QStringLiteral("DÍAS RESTANTES")});
    const QLocale l = Texto::regional();
    for (const InventarioStock::Fila& f : inventario_.filas(hasta)) {
        const std::optional<double> dias = f.diasRestantes();
        stock_->appendRow({texto(f.nombre), numero(kilos(f.stock)),
                           numero(l.toString(f.usoDiario7(), 'f', 3)),
                           numero(l.toString(f.usoDiario30(), 'f', 3)),
                           numero(dias ? l.toString(*dias, 'f', 1) : QString())});
    }
    mermas_->clear();
    mermas_->setHorizontalHeaderLabels({QStringLiteral("ALIMENTO"), QStringLiteral("FECHA"),
                                        QStringLiteral("CALCULADO KG"), QStringLiteral("CONTADO KG"),
                                        QStringLiteral("MERMA KG"), QStringLiteral("MERMA %")});
    for (const InventarioStock::Merma& m : inventario_.mermas()) {
        const std::optional<double> p = m.porcentaje();
        mermas_->appendRow({texto(m.nombre), texto(m.fecha.toString(QStringLiteral("dd/MM/yyyy"))),
                            numero(kilos(m.calculado)), numero(kilos(m.contado)), numero(kilos(m.gramos())),
                            numero(p ? l.toString(*p, 'f', 2) : QString())});
    }
    const QVariant elegido = CmbAlimentoGrafico->currentData();
    {
        const QSignalBlocker sinAvisos(CmbAlimentoGrafico);
        CmbAlimentoGrafico->clear();
        for (const InventarioStock::Alimento& a : inventario_.alimentos)
            CmbAlimentoGrafico->addItem(a.nombre, a.id);
        const int i = CmbAlimentoGrafico->findData(elegido);
        CmbAlimentoGrafico->setCurrentIndex(i >= 0 ? i : 0);
    }
    dibujarStock();
}

void FrmCostos::dibujarStock() {
    const int id = CmbAlimentoGrafico->currentData().toInt();
    const InventarioStock::Alimento* elegido = nullptr;
    for (const InventarioStock::Alimento& a : inventario_.alimentos)
        if (a.id == id && CmbAlimentoGrafico->currentIndex() >= 0)
            elegido = &a;
    GraficoStock::dibujar(GrfStock->chart(), elegido, filtros_.DTDESDE->date(), filtros_.DTHASTA->date());
}

void FrmCostos::guardarMovimiento() {
    double cantidad = 0;
    if (CmbMovAlimento->currentIndex() < 0) {
        Dialogos::mostrar(this, {QStringLiteral("Elija un alimento"), Icono::Exclamacion});
        return;
    }
    if (!Texto::leerNumeroUsuario(TxtMovCantidad->text(), &cantidad) || cantidad < 0) {
        Dialogos::mostrar(this,
                          {QStringLiteral("Ingrese un número válido (no negativo)"), Icono::Exclamacion});
        return;
    }
    QSqlDatabase db = BaseDatos::ConexionBD();
    const int id = CmbMovAlimento->currentData().toInt();
    const QDate fecha = DTMovFecha->date();
    const QString tipo = CmbMovTipo->currentText();
    std::optional<ErrorBD> e;
    if (tipo == kPrecio)
        e = PreciosAlimento::guardar(db, id, fecha, cantidad);
    else if (tipo == kIngreso)
        e = MovimientosStock::ingresar(db, id, fecha, cantidad, TxtMovProveedor->text(), TxtMovNota->text());
    else
        e = MovimientosStock::contar(db, id, fecha, cantidad, TxtMovNota->text());
    if (e) {
        Dialogos::mostrar(this,
                          errorProcedimiento(e->numero, e->descripcion, QStringLiteral("CmdGuardar_Click"),
                                             QStringLiteral("FrmCostos")));
        return;
    }
    TxtMovCantidad->clear();
    TxtMovNota->clear();
    TxtMovProveedor->clear();
    calcular();
}

void FrmCostos::exportar() {
    if (exportacion_.enCurso() || calculando())
        return; // one export at a time, of the table on show
    const QString ruta = elegirDestinoLibro(this, QStringLiteral("Exportar los costos"));
    if (ruta.isEmpty())
        return;
    setCursor(Qt::BusyCursor);
    CmdExportar->setEnabled(false);
    exportacion_.iniciar(this, new ExportacionCostos(ruta, informe_), [this, ruta](const Resultado& r) {
        FinExportacion::avisar(this, CmdExportar, ruta, r, QStringLiteral("FrmCostos"));
    });
}
