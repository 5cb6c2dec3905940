#include "events/FrmSucesos.h"

#include "events/ModeloSucesos.h"
#include "historial/HistorialSucesos.h"
#include "link/BotonConectar.h"
#include "link/ConexionTablet.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"
#include "ui/ListaReporte.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

const QString FrmSucesos::kPreguntaInterrumpir =
    QStringLiteral("Se están recibiendo los sucesos. ¿Interrumpir la recepción y salir?");

FrmSucesos::FrmSucesos(const DatosSucesos& datos, QWidget* parent) : QDialog(parent), datos_(datos) {
    construir();

    // Load: the last 30 days, the main window's tablet (connected to at once when the main window
    // is), the chosen road.
    DTDESDE->setDate(QDate::currentDate().addDays(-30));
    DTHASTA->setDate(QDate::currentDate());
    TxtDir->setText(datos_.direccionTablet);
    if (datos_.principalConectada)
        conectar();
    Frame1->setVisible(!datos_.porWeb);
}

FrmSucesos::~FrmSucesos() {
    conexion_->cerrar();
}

void FrmSucesos::construir() {
    setObjectName(QStringLiteral("FrmSucesos"));
    setWindowTitle(QStringLiteral("Sucesos"));
    setModal(true);

    Frame3 = new QGroupBox(QStringLiteral("SUCESOS"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));

    descarga_ = new DescargaSucesos(this);
    modelo_ = new ModeloSucesos(this);
    ListSuc = new QTableView(Frame3);
    ListSuc->setObjectName(QStringLiteral("ListSuc"));
    ListSuc->setAccessibleName(QStringLiteral("SUCESOS"));
    ListSuc->setModel(modelo_);
    ListSuc->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListSuc->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListSuc->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListSuc->setShowGrid(true);
    ListSuc->setWordWrap(false);
    ListSuc->setCornerButtonEnabled(false);
    ListSuc->verticalHeader()->setVisible(false);
    // Fixed row heights: adding thousands of rows never measures them one by one.
    ListSuc->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListSuc->horizontalHeader()->setSectionsMovable(true);
    ListSuc->horizontalHeader()->setHighlightSections(false);
    ListSuc->horizontalHeader()->setDefaultSectionSize(twips(2540));
    ListSuc->horizontalHeader()->setStretchLastSection(false);
    ListaReporte::ajustarColumnas(ListSuc);
    // The selection stays visible when the list loses the focus.
    QPalette paleta = ListSuc->palette();
    paleta.setColor(QPalette::Inactive, QPalette::Highlight,
                    paleta.color(QPalette::Active, QPalette::Highlight));
    paleta.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    paleta.color(QPalette::Active, QPalette::HighlightedText));
    ListSuc->setPalette(paleta);

    // Below the list, inside the frame: the range, the two buttons and the direct-link frame.
    barra_ = new QWidget(Frame3);
    auto* fila = new QHBoxLayout(barra_);
    fila->setContentsMargins(0, 0, 0, 0);
    auto* fechas = new QGridLayout;
    fechas->setVerticalSpacing(2);
    Label3 = Controles::etiqueta("Label3", QStringLiteral("DESDE:"), barra_);
    DTDESDE = Controles::fecha("DTDESDE", QDate::currentDate(), Label3, barra_);
    Label4 = Controles::etiqueta("Label4", QStringLiteral("HASTA:"), barra_);
    DTHASTA = Controles::fecha("DTHASTA", QDate::currentDate(), Label4, barra_);
    fechas->addWidget(Label3, 0, 0);
    fechas->addWidget(DTDESDE, 0, 1);
    fechas->addWidget(Label4, 1, 0);
    fechas->addWidget(DTHASTA, 1, 1);
    fila->addLayout(fechas);
    auto* botones = new QVBoxLayout;
    botones->setSpacing(2);
    CMDREC = Controles::boton("CMDREC", QStringLiteral("RECIBIR"), barra_);
    CmdExportar = Controles::boton("CmdExportar", QStringLiteral("EXPORTAR XLS"), barra_);
    botones->addWidget(CMDREC);
    botones->addWidget(CmdExportar);
    CmdImprimir = Controles::boton("CmdImprimir", QStringLiteral("IMPRIMIR"), barra_);
    botones->addWidget(CmdImprimir);
    fila->addLayout(botones);

    Frame1 = new QGroupBox(QStringLiteral("Conectar con la tablet"), barra_);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* columna = new QVBoxLayout(Frame1);
    columna->setContentsMargins(6, 2, 6, 2);
    columna->setSpacing(2);
    auto* directo = new QHBoxLayout;
    Label5 = Controles::etiqueta(
        "Label5", QStringLiteral("Ingrese el IP de la Tablet Tolvaro a la cual desea conectarse:"), Frame1);
    Label5->setWordWrap(true);
    TxtDir = new QLineEdit(Frame1);
    TxtDir->setObjectName(QStringLiteral("TxtDir"));
    Accesible::conEtiqueta(TxtDir, Label5);
    CmdConectar = Controles::boton("CmdConectar", BotonConectar::kConectar, Frame1);
    directo->addWidget(Label5, 2);
    directo->addWidget(TxtDir, 1);
    directo->addWidget(CmdConectar);
    columna->addLayout(directo);
    fila->addWidget(Frame1, 1);

    conexion_ = new ConexionTablet(this);
    conexion_->socket()->setObjectName(QStringLiteral("WS"));
    botonConectar_ = new BotonConectar(CmdConectar, TxtDir, conexion_);
    columna->addWidget(botonConectar_->estado());

    TxtDir->installEventFilter(this);
    connect(CMDREC, &QPushButton::clicked, this, &FrmSucesos::recibir);
    connect(CmdExportar, &QPushButton::clicked, this, &FrmSucesos::exportar);
    connect(CmdImprimir, &QPushButton::clicked, this, &FrmSucesos::imprimirPedido);
    connect(CmdConectar, &QPushButton::clicked, this, &FrmSucesos::conectar);
    connect(conexion_, &ConexionTablet::llegada, descarga_, &DescargaSucesos::recibir);
    // A connection that ends ends the download with it.
    connect(conexion_, &ConexionTablet::estadoCambiado, this, [this](ConexionTablet::Estado e) {
        if (e != ConexionTablet::Estado::Conectado && descarga_->via() == HistorialSucesos::kDirecta)
            descarga_->cortar();
    });
    // Both roads: the rows of an arrival go into the list together, each message after the rows
    // that came before it; the end keeps a whole download before its message is shown.
    connect(descarga_, &DescargaSucesos::filasLlegadas, modelo_, &ModeloSucesos::agregar);
    connect(descarga_, &DescargaSucesos::aviso, this, [this](const Mensaje& m) { avisar(m); });
    connect(descarga_, &DescargaSucesos::terminada, this, [this](DescargaSucesos::Fin fin, const Mensaje& m) {
        if (descarga_->guardable())
            guardarHistorial();
        if (descarga_->via() == HistorialSucesos::kWeb)
            webTerminada();
        if (fin != DescargaSucesos::Fin::Cortada && !m.texto.isEmpty())
            avisar(m);
    });

    // Wide enough for the eight columns of a download on a 1366x768 screen; never so small that
    // the controls below the list are cut.
    setMinimumSize(760, 380);
    resize(1100, 620);
}

int FrmSucesos::twips(int t) const {
    return t * logicalDpiX() / 1440;
}

void FrmSucesos::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    // The list fills the window; a window smaller than the margins leaves it empty, never negative.
    const int margen = twips(120);
    const int anchoMarco = std::max(0, width() - twips(450));
    const int altoMarco = std::max(0, height() - twips(700));
    Frame3->setGeometry(margen, margen, anchoMarco, altoMarco);
    const int anchoLista = std::max(0, anchoMarco - twips(200));
    const int arriba = twips(240);
    // Below the list: 1200 twips, or more when the controls there need it (a larger font, the
    // connection's status line), so they are never cut.
    const int pie = std::max(twips(1200), arriba + barra_->sizeHint().height() + twips(180));
    const int altoLista = std::max(0, altoMarco - pie);
    ListSuc->setGeometry(twips(100), arriba, anchoLista, altoLista);
    const int yBarra = arriba + altoLista + twips(60);
    barra_->setGeometry(twips(100), yBarra, anchoLista, std::max(0, altoMarco - yBarra - twips(60)));
}

bool FrmSucesos::eventFilter(QObject* o, QEvent* e) {
    if (o == TxtDir && e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            conectar();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void FrmSucesos::reject() {
    // A download only reads: once the user agrees, the window closes at once and what is still on
    // its way is dropped with the connection.
    if (recibiendo() && Dialogos::mostrar(this, {kPreguntaInterrumpir, Icono::Pregunta, kTituloAplicacion,
                                                 Botones::SiNo}) != Respuesta::Si)
        return;
    QDialog::reject();
}

void FrmSucesos::done(int resultado) {
    // Closing the window ends its connection without a word to the tablet.
    conexion_->cerrar();
    QDialog::done(resultado);
}

void FrmSucesos::agregarFila(const FilaEvento& fila) {
    modelo_->agregar({fila});
}
void FrmSucesos::agregarFilas(const QList<FilaEvento>& filas) {
    modelo_->agregar(filas);
}
void FrmSucesos::limpiarLista() {
    modelo_->limpiar();
}
const QList<FilaEvento>& FrmSucesos::filas() const {
    return modelo_->filas();
}
QDate FrmSucesos::desde() const {
    return DTDESDE->date();
}
QDate FrmSucesos::hasta() const {
    return DTHASTA->date();
}

void FrmSucesos::conectar() {
    botonConectar_->pulsar();
}

void FrmSucesos::recibir() {
    if (Frame1->isHidden()) {
        recibirWeb();
        return;
    }
    // Only a connection that is up can take the request: one still being made, or one that
    // failed, is treated like no connection at all.
    if (!conexion_->enLinea()) {
        Dialogos::mostrar(this, {QStringLiteral("primero debe conectarse a la tablet"), Icono::Exclamacion});
        return;
    }
    limpiarLista();
    conexion_->enviar(descarga_->iniciarDirecta(DTDESDE->date(), DTHASTA->date(), TxtDir->text()));
}

void FrmSucesos::avisar(const Mensaje& m) {
    // The web download goes on while a box is open: the messages that come meanwhile wait and are
    // shown one after the other, in the order they came (each unreadable row's error, then the end).
    pendientes_.append(m);
    if (mostrando_)
        return;
    mostrando_ = true;
    while (!pendientes_.isEmpty())
        Dialogos::mostrar(this, pendientes_.takeFirst());
    mostrando_ = false;
}

void FrmSucesos::guardarHistorial() {
    if (const auto e = descarga_->guardar(BaseDatos::ConexionBD()))
        Dialogos::mostrar(this, HistorialSucesos::mensajeError(*e));
}
