#include "app/FrmPrincipal.h"

#include "db/Ajustes.h"
#include "db/BaseDatos.h"
#include "link/BotonConectar.h"
#include "link/ConexionTablet.h"
#include "link/EnvioDirecto.h"
#include "link/EstimacionEnvio.h"
#include "maint/AjustesRespaldo.h"
#include "plan/ArchivoViajes.h"
#include "plan/RevisionEnvio.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"
#include "web/EnvioWeb.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

const QString FrmPrincipal::kCaptionDiseno = QStringLiteral("Programacion Tolvaro");
const QString FrmPrincipal::kAcuseRecibo = ConexionTablet::mensajeAcuse().texto;
const QString FrmPrincipal::kPreguntaInterrumpir =
    QStringLiteral("Se está enviando la programación a la tablet. ¿Interrumpir el envío y salir?");
const QString FrmPrincipal::kProgramacionEnviada = QStringLiteral("Programación enviada");

FrmPrincipal::FrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    construir();

    // Load: caption with the version, direct-link panel, saved address, schema check.
    setWindowTitle(kCaptionDiseno + QStringLiteral(" - Versión: ") + QString::number(TOLVARO_VERSION_MAJOR) +
                   u'.' + QString::number(TOLVARO_VERSION_MINOR) + u'.' +
                   QString::number(TOLVARO_VERSION_PATCH));
    FrDirecto->setVisible(true);
    FrWeb->setVisible(false);
    leerAjustes(QStringLiteral("directa"));
    TxtDir->setText(ajustes_.direccion);
    if (auto m = comprobarTablas())
        Dialogos::mostrar(this, *m);
    avisarStock();
    mostrarEstimacion();
}

FrmPrincipal::~FrmPrincipal() = default;

void FrmPrincipal::construir() {
    setObjectName(QStringLiteral("FrmPrincipal"));
    auto* centro = new QWidget(this);
    setCentralWidget(centro);
    auto* raiz = new QVBoxLayout(centro);

    Image1 = Controles::etiqueta("Image1", QStringLiteral("TOLVARO"), centro);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setStyleSheet(
        QStringLiteral("font-size: 28px; font-weight: bold; color: #2e6b30; padding: 8px;"));
    Image1->setAccessibleName(QStringLiteral("Tolvaro"));
    raiz->addWidget(Image1);

    auto* botones = new QHBoxLayout;
    Command1 = Controles::boton("Command1", QStringLiteral("RECETAS"), centro);
    Command2 = Controles::boton("Command2", QStringLiteral("CORRALES POR RECETAS"), centro);
    Command3 = Controles::boton("Command3", QStringLiteral("SUCESOS"), centro);
    Command4 = Controles::boton("Command4", QStringLiteral("Generar Backup"), centro);
    CmdPrecision = Controles::boton("CmdPrecision", QStringLiteral("PRECISIÓN DE CARGA"), centro);
    CmdCostos = Controles::boton("CmdCostos", QStringLiteral("COSTOS Y STOCK"), centro);
    for (QPushButton* b : {Command1, Command2, Command3, Command4, CmdPrecision, CmdCostos})
        botones->addWidget(b);
    raiz->addLayout(botones);
    LblAvisoStock = Controles::etiqueta("LblAvisoStock", QString(), centro);
    LblAvisoStock->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    LblAvisoStock->setWordWrap(true);
    LblAvisoStock->setVisible(false);
    raiz->addWidget(LblAvisoStock);

    // The backup's health: shown only when the last verified backup is too old.
    auto* salud = new QHBoxLayout;
    lblSaludRespaldo = Controles::etiqueta("lblSaludRespaldo", QString(), centro);
    lblSaludRespaldo->setStyleSheet(QStringLiteral("color: #a33; font-weight: bold;"));
    cmdRespaldarAhora = Controles::boton("cmdRespaldarAhora", QStringLiteral("Respaldar ahora"), centro);
    salud->addWidget(lblSaludRespaldo, 1);
    salud->addWidget(cmdRespaldarAhora);
    raiz->addLayout(salud);
    lblSaludRespaldo->setVisible(false);
    cmdRespaldarAhora->setVisible(false);

    auto* opciones = new QHBoxLayout;
    OptDir = new QRadioButton(QStringLiteral("Conexion Directa"), centro);
    OptDir->setObjectName(QStringLiteral("OptDir"));
    OptWeb = new QRadioButton(QStringLiteral("Web Service"), centro);
    OptWeb->setObjectName(QStringLiteral("OptWeb"));
    Accesible::boton(OptDir);
    Accesible::boton(OptWeb);
    OptDir->setChecked(true);
    opciones->addWidget(OptDir);
    opciones->addWidget(OptWeb);
    opciones->addStretch();
    raiz->addLayout(opciones);

    FrDirecto = new QGroupBox(QStringLiteral("CONECTAR CON LA TABLET"), centro);
    FrDirecto->setObjectName(QStringLiteral("FrDirecto"));
    auto* directo = new QVBoxLayout(FrDirecto);
    Label5 = Controles::etiqueta(
        "Label5", QStringLiteral("Ingrese el IP de la Tablet Tolvaro a la cual desea conectarse:"),
        FrDirecto);
    TxtDir = Controles::caja("TxtDir", Label5, FrDirecto);
    CmdConectar = Controles::boton("CmdConectar", BotonConectar::kConectar, FrDirecto);
    auto* filaDir = new QHBoxLayout;
    filaDir->addWidget(TxtDir, 1);
    filaDir->addWidget(CmdConectar);
    directo->addWidget(Label5);
    directo->addLayout(filaDir);
    raiz->addWidget(FrDirecto);
    conexion_ = new ConexionTablet(this);
    conexion_->socket()->setObjectName(QStringLiteral("WS"));
    botonConectar_ = new BotonConectar(CmdConectar, TxtDir, conexion_);
    directo->addWidget(botonConectar_->estado());

    FrWeb = new QGroupBox(QStringLiteral("USUARIO Y CLAVE TOLVARO"), centro);
    FrWeb->setObjectName(QStringLiteral("FrWeb"));
    auto* web = new QGridLayout(FrWeb);
    Label3 = Controles::etiqueta("Label3", QStringLiteral("SERVIDOR:"), FrWeb);
    TxtServ = Controles::caja("TxtServ", Label3, FrWeb);
    Label1 = Controles::etiqueta("Label1", QStringLiteral("USUARIO:"), FrWeb);
    TXTUS = Controles::caja("TXTUS", Label1, FrWeb);
    Label2 = Controles::etiqueta("Label2", QStringLiteral("PASSWORD:"), FrWeb);
    TXTPASS = Controles::caja("TXTPASS", Label2, FrWeb);
    TXTPASS->setEchoMode(QLineEdit::Password);
    web->addWidget(Label3, 0, 0);
    web->addWidget(TxtServ, 0, 1);
    web->addWidget(Label1, 1, 0);
    web->addWidget(TXTUS, 1, 1);
    web->addWidget(Label2, 2, 0);
    web->addWidget(TXTPASS, 2, 1);
    raiz->addWidget(FrWeb);

    CmdEnv = Controles::boton("CmdEnv", QStringLiteral("Enviar Programacion"), centro);
    raiz->addWidget(CmdEnv);
    LblEstimacion = Controles::etiqueta("LblEstimacion", QString(), centro);
    raiz->addWidget(LblEstimacion);
    Lbl = Controles::etiqueta("Lbl", QString(), centro);
    raiz->addWidget(Lbl);
    Bar = new QProgressBar(centro);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setAccessibleName(QStringLiteral("Progreso del envío"));
    Bar->setVisible(false);
    raiz->addWidget(Bar);
    raiz->addStretch();

    for (QLineEdit* t : {TxtDir, TxtServ, TXTUS, TXTPASS})
        t->installEventFilter(this);

    connect(OptDir, &QRadioButton::clicked, this, &FrmPrincipal::alElegirDirecta);
    connect(OptWeb, &QRadioButton::clicked, this, &FrmPrincipal::alElegirWeb);
    connect(CmdConectar, &QPushButton::clicked, this, &FrmPrincipal::conectarTablet);
    connect(CmdEnv, &QPushButton::clicked, this, &FrmPrincipal::enviarProgramacion);
    connect(Command1, &QPushButton::clicked, this, &FrmPrincipal::abrirViajes);
    connect(Command2, &QPushButton::clicked, this, &FrmPrincipal::abrirRodeos);
    connect(Command3, &QPushButton::clicked, this, &FrmPrincipal::abrirSucesos);
    connect(Command4, &QPushButton::clicked, this, &FrmPrincipal::abrirRespaldo);
    connect(CmdPrecision, &QPushButton::clicked, this, &FrmPrincipal::abrirPrecision);
    connect(cmdRespaldarAhora, &QPushButton::clicked, this, &FrmPrincipal::respaldarAhora);
    connect(CmdCostos, &QPushButton::clicked, this, &FrmPrincipal::abrirCostos);
    connect(conexion_, &ConexionTablet::acuse, this,
            [this] { Dialogos::mostrar(this, ConexionTablet::mensajeAcuse()); });
    resize(640, 420);
}

QTcpSocket* FrmPrincipal::socket() const {
    return conexion_->socket();
}

DatosSucesos FrmPrincipal::datosSucesos() const {
    return {TxtDir->text(),
            {TxtServ->text(), TXTUS->text(), TXTPASS->text()},
            OptWeb->isChecked(),
            conexion_->abierta()};
}

bool FrmPrincipal::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (auto* t = qobject_cast<QLineEdit*>(o))
            guardarAjuste(t);
    } else if (e->type() == QEvent::KeyPress && o == TxtDir) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            CmdConectar->click(); // nothing while the button waits for an upload
            return true;
        }
    }
    return QMainWindow::eventFilter(o, e);
}

void FrmPrincipal::guardarAjuste(QLineEdit* t) {
    // The statements have no handling of their own; the text is bound, so a quote cannot break them.
    if (t == TxtDir)
        ::guardarAjuste(CampoAjuste::Direccion, QStringLiteral("directa"), t->text());
    else if (t == TxtServ)
        ::guardarAjuste(CampoAjuste::Direccion, QStringLiteral("web"), t->text());
    else if (t == TXTUS)
        ::guardarAjuste(CampoAjuste::Usuario, QStringLiteral("web"), t->text());
    else if (t == TXTPASS)
        ::guardarAjuste(CampoAjuste::Clave, QStringLiteral("web"), t->text());
}

void FrmPrincipal::alElegirDirecta() {
    FrDirecto->setVisible(true);
    FrWeb->setVisible(false);
    leerAjustes(QStringLiteral("directa"));
    TxtDir->setText(ajustes_.direccion);
    mostrarEstimacion();
}

void FrmPrincipal::alElegirWeb() {
    FrDirecto->setVisible(false);
    FrWeb->setVisible(true);
    leerAjustes(QStringLiteral("web"));
    TxtServ->setText(ajustes_.direccion);
    TXTUS->setText(ajustes_.usuario);
    TXTPASS->setText(ajustes_.clave);
    mostrarEstimacion();
}

void FrmPrincipal::leerAjustes(const QString& tipo) {
    const LecturaConexion l = leerConexion(tipo);
    if (!l.ajustes)
        return;
    ajustes_.direccion = l.ajustes->direccion;
    if (tipo == QStringLiteral("web")) {
        ajustes_.usuario = l.ajustes->usuario;
        ajustes_.clave = l.ajustes->clave;
    }
}

void FrmPrincipal::conectarTablet() {
    botonConectar_->pulsar();
}

void FrmPrincipal::enviarProgramacion() {
    if (envio_ || !planListoParaEnviar())
        return;
    if (OptDir->isChecked()) {
        if (!envioLargoAceptado())
            return;
        conexionDirecta();
    } else {
        conexionWeb();
    }
}

void FrmPrincipal::mostrarEstimacion() {
    QString texto;
    if (OptDir->isChecked()) {
        const EstimacionEnvio::Estimacion e = EstimacionEnvio::estimar(BaseDatos::ConexionBD());
        if (!e.error)
            texto = e.texto() + u'.';
    }
    LblEstimacion->setText(texto);
    LblEstimacion->setAccessibleName(texto.isEmpty() ? QStringLiteral("Duración del envío") : texto);
}

bool FrmPrincipal::envioLargoAceptado() {
    const EstimacionEnvio::Estimacion e = EstimacionEnvio::estimar(BaseDatos::ConexionBD());
    if (e.error || !e.larga())
        return true;
    const QDate hoy = QDate::currentDate();
    const Mensaje pregunta{
        QStringLiteral("%1.\n¿Archivar antes los viajes anteriores a hoy (%2)? Dejan de enviarse y se pueden "
                       "recuperar desde RECETAS.\nSí: archiva y envía el resto. No: envía todo.")
            .arg(e.texto(), hoy.toString(QStringLiteral("dd/MM/yyyy"))),
        Icono::Pregunta, QStringLiteral("Enviar Programacion"), Botones::SiNoCancelar};
    switch (Dialogos::mostrar(this, pregunta)) {
    case Respuesta::Si: {
        const ArchivoViajes::Resultado r = ArchivoViajes::archivar(hoy);
        if (r.error) {
            Dialogos::mostrar(this, errorProcedimiento(r.error->numero, r.error->descripcion,
                                                       QStringLiteral("CmdEnv_Click"), objectName()));
            return false;
        }
        mostrarEstimacion();
        return true;
    }
    case Respuesta::No:
        return true;
    case Respuesta::Ok:
    case Respuesta::Cancelar:
        break;
    }
    return false;
}

bool FrmPrincipal::planListoParaEnviar() {
    const RevisionEnvio::Revision r = RevisionEnvio::revisar(BaseDatos::ConexionBD());
    // A plan that cannot be read is reported by the upload itself, in its own words.
    if (r.error || r.limpia())
        return true;
    return Dialogos::mostrar(this, RevisionEnvio::pregunta(r)) == Respuesta::Si;
}

void FrmPrincipal::ponerOcupado(bool ocupado) {
    // The plan windows too: a plan edited while it travels would go half old, half new. And the
    // link itself: its goodbye on the socket in use would cut the programme.
    for (QWidget* w : std::initializer_list<QWidget*>{CmdEnv, Command1, Command2, Command3, Command4,
                                                      CmdConectar, OptDir, OptWeb})
        w->setEnabled(!ocupado);
}

bool FrmPrincipal::envioTerminado() {
    if (envio_) {
        envio_->setParent(nullptr);
        envio_->deleteLater();
        envio_ = nullptr;
    }
    ponerOcupado(false);
    if (!saliendo_) {
        mostrarEstimacion();
        return true;
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return false;
}

void FrmPrincipal::closeEvent(QCloseEvent* e) {
    if (envio_ && !saliendo_) {
        // Cut off, the tablet would keep a partial programme: stop between two messages instead.
        if (Dialogos::mostrar(this, {kPreguntaInterrumpir, Icono::Pregunta, kTituloAplicacion,
                                     Botones::SiNo}) != Respuesta::Si) {
            e->ignore();
            return;
        }
        // The question leaves the window live: the upload may have ended while it was open.
        if (envio_) {
            saliendo_ = true;
            Lbl->setText(QStringLiteral("Interrumpiendo el envío..."));
            if (auto* d = qobject_cast<EnvioDirecto*>(envio_))
                d->interrumpir();
            else if (auto* w = qobject_cast<EnvioWeb*>(envio_))
                w->interrumpir();
        }
    }
    if (envio_) {
        e->ignore(); // closed again once the upload has stopped
        return;
    }
    if (respaldo_) {
        e->ignore(); // closed again once the backup window has gone
        return;
    }
    if (respaldosAutomaticos_ && !respaldoCierreHecho_ && BaseDatos::abierta() &&
        PoliticaRespaldo::tocaAlCerrar()) {
        respaldoCierreHecho_ = true;
        e->ignore();
        respaldar(QStringLiteral("Guardando un respaldo de los cambios antes de cerrar..."), true);
        return;
    }
    if (!descargado_) {
        descargado_ = true;
        // Shutdown ignores every error: tell the tablet we leave, let the socket write it.
        if (conexion_->enLinea())
            conexion_->despedirse();
        QCoreApplication::processEvents();
    }
    e->accept();
}
