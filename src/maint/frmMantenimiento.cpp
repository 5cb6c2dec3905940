#include "maint/frmMantenimiento.h"

#include "db/Ajustes.h"
#include "db/BaseDatos.h"
#include "db/ContadorCambios.h"
#include "maint/AjustesRespaldo.h"
#include "maint/CatalogoRespaldos.h"
#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"
#include "maint/PanelRespaldos.h"
#include "maint/Respaldo.h"
#include "maint/Restauracion.h"
#include "maint/VentanaRespaldoAutomatico.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kTituloCarpeta = QStringLiteral("Seleccione la carpeta a donde guardar el Back Up");
const QString kTituloArchivo = QStringLiteral("Seleccione el archivo a recuperar de los Back Up...");
const QString kFiltroCab = QStringLiteral("[Archivos CAB] (*.cab)");
const QString kAbierta = QStringLiteral("open");
const QString kCerrada = QStringLiteral("close");

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

QString interna(const QString& ruta) {
    return QDir::fromNativeSeparators(ruta);
}

QCheckBox* casilla(const char* nombre, const QString& texto, QWidget* padre) {
    auto* c = new QCheckBox(texto, padre);
    c->setObjectName(QLatin1String(nombre));
    Accesible::boton(c);
    return c;
}

QPushButton* examinar(const char* nombre, const QString& descripcion, QWidget* padre) {
    QPushButton* b = Controles::boton(nombre, QStringLiteral("..."), padre);
    b->setAccessibleDescription(descripcion);
    return b;
}

} // namespace

frmMantenimiento::frmMantenimiento(qint16 accion, QWidget* parent) : QDialog(parent), Accion(accion) {
    construir();
    // Load.
    Ruta_Aplicacion = nativa(carpetaDatos() + u'/');
    posicionar();
    // The backup and restore tabs; the backups tab is always usable.
    for (int i = 0; i < 2; ++i)
        stbMantenimiento->setTabEnabled(i, i == Accion);
    stbMantenimiento->setCurrentIndex(Accion);
    ajustarControles();
}

frmMantenimiento::~frmMantenimiento() {
    // A window torn down without closing (never from the user, who is refused while it writes)
    // still gives the program its connection back.
    Comprimir.soltar();
    restauracion_.soltar();
    Extraer.soltar();
    if (!descargada_ && !BaseDatos::abierta() && reabrirConexion())
        registrarRespaldo();
    ocupar(false);
}

void frmMantenimiento::construir() {
    setObjectName(QStringLiteral("frmMantenimiento"));
    setWindowTitle(Mantenimiento::kCaption);
    auto* raiz = new QVBoxLayout(this);

    stbMantenimiento = new QTabWidget(this);
    stbMantenimiento->setObjectName(QStringLiteral("stbMantenimineto"));
    raiz->addWidget(stbMantenimiento);

    auto* respaldo = new QWidget(stbMantenimiento);
    auto* r = new QGridLayout(respaldo);
    Label4 = Controles::etiqueta("Label4", QStringLiteral("Base de datos a compactar:"), respaldo);
    fleBackUpBD = new QListWidget(respaldo);
    fleBackUpBD->setObjectName(QStringLiteral("fleBackUpBD"));
    Accesible::conEtiqueta(fleBackUpBD, Label4);
    Label5 =
        Controles::etiqueta("Label5", QStringLiteral("Ruta a donde quedara el Back Up de la BD:"), respaldo);
    txtRutaBackUp = Controles::caja("txtRutaBackUp", Label5, respaldo);
    cmdExaminarBackUp =
        examinar("cmdExaminarBackUp", QStringLiteral("Elegir la carpeta del Back Up"), respaldo);
    chkRutaDefecto = casilla("chkRutaDefecto", QStringLiteral("Ruta de la aplicación"), respaldo);
    cmdBackUpBD = Controles::boton("cmdBackUpBD", QStringLiteral("Crear Bakup"), respaldo);
    lblTotalACompactar = Controles::etiqueta("lblTotalACompactar", QString(), respaldo);
    lblTotalCompactado = Controles::etiqueta("lblTotalCompactado", QString(), respaldo);
    lblInfo = Controles::etiqueta("lblInfo", QString(), respaldo);
    r->addWidget(Label4, 0, 0, 1, 2);
    r->addWidget(fleBackUpBD, 1, 0, 1, 2);
    r->addWidget(Label5, 2, 0, 1, 2);
    r->addWidget(txtRutaBackUp, 3, 0);
    r->addWidget(cmdExaminarBackUp, 3, 1);
    r->addWidget(chkRutaDefecto, 4, 0, 1, 2);
    r->addWidget(cmdBackUpBD, 5, 0, 1, 2, Qt::AlignLeft);
    r->addWidget(lblTotalACompactar, 6, 0, 1, 2);
    r->addWidget(lblTotalCompactado, 7, 0, 1, 2);
    r->addWidget(lblInfo, 8, 0, 1, 2);
    stbMantenimiento->addTab(respaldo, QStringLiteral("Back Up BD"));

    auto* recuperar = new QWidget(stbMantenimiento);
    auto* g = new QGridLayout(recuperar);
    Label6 = Controles::etiqueta(
        "Label6", QStringLiteral("Seleccione los archivos de Back Up realizados anteriormente:"), recuperar);
    txtRutaRecuperar = Controles::caja("txtRutaRecuperar", Label6, recuperar);
    cmdExaminarRecuperar =
        examinar("cmdExaminarRecuperar", QStringLiteral("Elegir el archivo de Back Up"), recuperar);
    lstArchivosCab = new QListWidget(recuperar);
    lstArchivosCab->setObjectName(QStringLiteral("lstArchivosCab"));
    lstArchivosCab->setAccessibleName(QStringLiteral("Archivos del Back Up"));
    lstArchivosCab->setSelectionMode(QAbstractItemView::MultiSelection);
    Label7 = Controles::etiqueta(
        "Label7", QStringLiteral("Indique a donde se guardaran los arhivos extraidos del Back Up:"),
        recuperar);
    chkRecuperar = casilla("chkRecuperar", QStringLiteral("Ruta de la aplicación"), recuperar);
    txtRutaExtraerRecuperar = Controles::caja("txtRutaExtraerRecuperar", Label7, recuperar);
    cmdRutaExtraerRecuperar =
        examinar("cmdRutaExtraerRecuperar", QStringLiteral("Elegir la carpeta donde recuperar"), recuperar);
    cmdRecuperar = Controles::boton("cmdRecupear", QStringLiteral("Recuperar Bakup"), recuperar);
    g->addWidget(Label6, 0, 0, 1, 2);
    g->addWidget(txtRutaRecuperar, 1, 0);
    g->addWidget(cmdExaminarRecuperar, 1, 1);
    g->addWidget(lstArchivosCab, 2, 0, 1, 2);
    g->addWidget(Label7, 3, 0, 1, 2);
    g->addWidget(chkRecuperar, 4, 0, 1, 2);
    g->addWidget(txtRutaExtraerRecuperar, 5, 0);
    g->addWidget(cmdRutaExtraerRecuperar, 5, 1);
    g->addWidget(cmdRecuperar, 6, 0, 1, 2, Qt::AlignLeft);
    stbMantenimiento->addTab(recuperar, QStringLiteral("Recuperar Back Up BD"));
    panelRespaldos = new PanelRespaldos(stbMantenimiento);
    stbMantenimiento->addTab(panelRespaldos, QStringLiteral("Respaldos"));

    prgBackUp = new QProgressBar(this);
    prgBackUp->setObjectName(QStringLiteral("prgBackUp"));
    prgBackUp->setAccessibleName(QStringLiteral("Progreso"));
    lblPorcentaje = Controles::etiqueta("lblPorcentaje", QString(), this);
    CmdSalir = Controles::boton("CmdSalir", QStringLiteral("Salir"), this);
    cmdCancelar = Controles::boton("cmdCancelar", QStringLiteral("Cancelar"), this);
    cmdCancelar->setEnabled(false);
    auto* pie = new QHBoxLayout;
    pie->addWidget(prgBackUp, 1);
    pie->addWidget(lblPorcentaje);
    pie->addWidget(cmdCancelar);
    pie->addWidget(CmdSalir);
    raiz->addLayout(pie);

    connect(chkRutaDefecto, &QCheckBox::toggled, this, &frmMantenimiento::alMarcarRutaDefecto);
    connect(cmdExaminarBackUp, &QPushButton::clicked, this, &frmMantenimiento::examinarRespaldo);
    connect(cmdBackUpBD, &QPushButton::clicked, this, &frmMantenimiento::respaldarBase);
    connect(txtRutaBackUp, &QLineEdit::textChanged, this,
            [this](const QString& t) { cmdBackUpBD->setEnabled(!t.isEmpty() && !ocupado()); });
    connect(cmdExaminarRecuperar, &QPushButton::clicked, this, &frmMantenimiento::examinarRecuperacion);
    connect(txtRutaRecuperar, &QLineEdit::textChanged, this, [this](const QString& t) {
        chkRecuperar->setEnabled(!t.isEmpty());
        lstArchivosCab->clear();
        if (QFileInfo(interna(t)).isFile())
            RecuperarCAB();
        else if (listando_)
            Extraer.cancelar();
    });
    connect(chkRecuperar, &QCheckBox::toggled, this, &frmMantenimiento::alMarcarRecuperar);
    connect(cmdRutaExtraerRecuperar, &QPushButton::clicked, this,
            &frmMantenimiento::elegirCarpetaRecuperacion);
    connect(txtRutaExtraerRecuperar, &QLineEdit::textChanged, this,
            [this](const QString& t) { cmdRecuperar->setEnabled(!t.isEmpty() && !ocupado()); });
    connect(cmdRecuperar, &QPushButton::clicked, this, &frmMantenimiento::recuperarRespaldo);
    connect(CmdSalir, &QPushButton::clicked, this, &frmMantenimiento::cerrarVentana);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmMantenimiento::cancelarRespaldo);
    connect(panelRespaldos, &PanelRespaldos::recuperarPedido, this, &frmMantenimiento::recuperarDeLaLista);
    connect(panelRespaldos, &PanelRespaldos::recuperacionPedida, this,
            &frmMantenimiento::habilitarRecuperacion);
    resize(560, 420);
}

void frmMantenimiento::posicionar() {
    // Centred across the screen, its top at an eighth of the height the window leaves free.
    const QScreen* pantalla = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect g = pantalla->geometry();
    move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 8);
}

QString frmMantenimiento::carpetaDatos() const {
    return BaseDatos::carpeta();
}

void frmMantenimiento::ajustarControles() {
    fleBackUpBD->clear();
    fleBackUpBD->addItems(Mantenimiento::archivosARespaldar(carpetaDatos()));
    prgBackUp->setRange(0, 100);
    prgBackUp->setValue(0);
    prgBackUp->setVisible(false);
    txtRutaBackUp->setReadOnly(true);
    QPalette p = txtRutaBackUp->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    txtRutaBackUp->setPalette(p);
    cmdBackUpBD->setEnabled(false);
    cmdRecuperar->setEnabled(false);
    lblPorcentaje->clear();
    chkRecuperar->setEnabled(false);
}

void frmMantenimiento::ocupar(bool ocupado) {
    // The busy pointer while the archive work runs; the window still answers meanwhile.
    if (ocupado && !cursorOcupado_)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (!ocupado && cursorOcupado_)
        QApplication::restoreOverrideCursor();
    cursorOcupado_ = ocupado;
}

void frmMantenimiento::mostrarAvance(int porcentaje) {
    prgBackUp->setValue(porcentaje);
    lblPorcentaje->setText(QStringLiteral("%1% de %2%").arg(prgBackUp->value()).arg(prgBackUp->maximum()));
}

// ---- Backup ----

void frmMantenimiento::alMarcarRutaDefecto() {
    if (chkRutaDefecto->isChecked()) {
        cmdExaminarBackUp->setEnabled(false);
        txtRutaBackUp->setText(Ruta_Aplicacion + Mantenimiento::nombreArchivo(QDateTime::currentDateTime()));
    } else {
        cmdExaminarBackUp->setEnabled(true);
        txtRutaBackUp->clear();
    }
}

void frmMantenimiento::examinarRespaldo() {
    const QString carpeta = Dialogos::carpeta(this, kTituloCarpeta, interna(Ruta_Aplicacion));
    if (carpeta.isEmpty())
        return;
    txtRutaBackUp->setText(
        nativa(QDir(interna(carpeta)).filePath(Mantenimiento::nombreArchivo(QDateTime::currentDateTime()))));
}

void frmMantenimiento::respaldarBase() {
    if (ocupado() || txtRutaBackUp->text().isEmpty())
        return;
    ocupar(true);
    if (BaseDatos::abierta()) {
        // The count the archive will hold (nothing writes while the connection is closed).
        cambiosAntes_ = ContadorCambios::leer();
        BaseDatos::cerrar();
    }
    if (fleBackUpBD->count() == 0) {
        ocupar(false);
        Dialogos::mostrar(this, Mantenimiento::mensajeSinArchivos());
        cmdBackUpBD->setEnabled(false);
        return;
    }
    prgBackUp->setVisible(true);
    cmdBackUpBD->setEnabled(false);
    fleBackUpBD->setEnabled(false);
    chkRutaDefecto->setEnabled(false);

    QStringList archivos;
    for (int i = 0; i < fleBackUpBD->count(); ++i)
        archivos << QDir(carpetaDatos()).filePath(fleBackUpBD->item(i)->text());
    // An archive of the same minute is already there: this one takes the next free name.
    const QString destino = Mantenimiento::rutaLibre(interna(txtRutaBackUp->text()));
    if (destino != interna(txtRutaBackUp->text()))
        txtRutaBackUp->setText(nativa(destino));
    destinoRespaldo_ = destino;
    auto* respaldo = new Respaldo(archivos, destino);
    lblTotalACompactar->setText(Mantenimiento::textoTamano(QStringLiteral("Total a compactar: "),
                                                           double(respaldo->totalACompactar())));
    lblTotalCompactado->clear();
    escribiendo_ = true;
    cmdCancelar->setEnabled(true);
    Comprimir.iniciar(
        this, respaldo, [this](const ResultadoCon<qint64>& r) { respaldoTerminado(r); },
        [this](int p) { mostrarAvance(p); });
}

void frmMantenimiento::respaldoTerminado(const ResultadoCon<qint64>& r) {
    escribiendo_ = false;
    cmdCancelar->setEnabled(false);
    ocupar(false);
    if (r.ok) {
        respaldoHecho_ = destinoRespaldo_;
        tamanoHecho_ = r.valor;
    }
    if (saliendo_) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (r.cancelado) {
        Dialogos::mostrar(this, {QStringLiteral("El Back Up se canceló: no quedó ningún archivo."),
                                 Icono::Informacion, Mantenimiento::kCaption});
        return;
    }
    if (!r.ok) {
        Dialogos::mostrar(this,
                          errorVentana(QString::number(r.numero), r.descripcion, Mantenimiento::kCaption));
        return;
    }
    lblTotalCompactado->setText(
        Mantenimiento::textoTamano(QStringLiteral("Total compactado: "), double(r.valor)));
    panelRespaldos->actualizar();
    Dialogos::mostrar(this, Mantenimiento::mensajeRespaldoHecho());
}

// ---- Restore ----

void frmMantenimiento::examinarRecuperacion() {
    const QString archivo =
        Dialogos::archivoAbrir(this, kTituloArchivo, interna(Ruta_Aplicacion), kFiltroCab);
    // A cancelled dialog answers with the file chosen last in it.
    if (!archivo.isEmpty())
        ultimoArchivoCM1_ = nativa(archivo);
    txtRutaRecuperar->setText(ultimoArchivoCM1_);
}

void frmMantenimiento::alMarcarRecuperar() {
    if (chkRecuperar->isChecked()) {
        cmdRutaExtraerRecuperar->setEnabled(false);
        txtRutaExtraerRecuperar->setText(Ruta_Aplicacion.chopped(1));
    } else {
        cmdRutaExtraerRecuperar->setEnabled(true);
        txtRutaExtraerRecuperar->clear();
    }
}

void frmMantenimiento::elegirCarpetaRecuperacion() {
    const QString carpeta = Dialogos::carpeta(this, kTituloCarpeta, interna(Ruta_Aplicacion));
    if (!carpeta.isEmpty())
        txtRutaExtraerRecuperar->setText(nativa(carpeta));
}

void frmMantenimiento::recuperarRespaldo() {
    if (ocupado() || txtRutaExtraerRecuperar->text().isEmpty())
        return;
    extraerArchivos(interna(txtRutaRecuperar->text()), interna(txtRutaExtraerRecuperar->text()));
}

void frmMantenimiento::extraerArchivos(const QString& archivo, const QString& destino) {
    // Into the running program's own folder the swap waits for the shared connection to close.
    const bool enVivo = !carpetaDatos().isEmpty() && QFileInfo(destino) == QFileInfo(carpetaDatos());
    auto* restauracion = new Restauracion(archivo, destino);
    restauracion->setReemplazoDiferido(enVivo);
    ocupar(true);
    cmdRecuperar->setEnabled(false);
    prgBackUp->setValue(0);
    prgBackUp->setVisible(true);
    escribiendo_ = true;
    restauracion_.iniciar(
        this, restauracion, [this, enVivo](const Resultado& r) { restauracionTerminada(r, enVivo); },
        [this](int p) { mostrarAvance(p); });
}

void frmMantenimiento::restauracionTerminada(const Resultado& resultado, bool enVivo) {
    Resultado r = resultado;
    if (r.ok && enVivo) {
        confirmarReemplazo();
        return;
    }
    escribiendo_ = false;
    ocupar(false);
    cmdRecuperar->setEnabled(!txtRutaExtraerRecuperar->text().isEmpty());
    Dialogos::mostrar(this, Mantenimiento::mensajeRecuperacion(r.ok, r.descripcion));
}

void frmMantenimiento::confirmarReemplazo() {
    // The checked copy waits beside base.db; nothing is replaced before the user agrees.
    const QString archivo = interna(txtRutaRecuperar->text());
    QDateTime hecho = CatalogoRespaldos::fechaDelNombre(QFileInfo(archivo).fileName());
    if (!hecho.isValid())
        hecho = QFileInfo(archivo).lastModified();
    const QFileInfo base(restauracion_->destino());
    const QString formato = QStringLiteral("dd/MM/yyyy HH:mm");
    const Mensaje pregunta{
        QStringLiteral("Se reemplazará la base de datos en uso %1 (modificada el %2) por la del Back Up %3, "
                       "hecho el %4.\nAntes se guardará un respaldo automático de los datos actuales.\n"
                       "¿Recuperar el Back Up?")
            .arg(nativa(base.absoluteFilePath()), base.lastModified().toString(formato), nativa(archivo),
                 hecho.toString(formato)),
        Icono::Pregunta, Mantenimiento::kCaption, Botones::SiNo};
    const auto terminar = [this](const QString& motivo) {
        restauracion_.soltar(); // its checked copy goes with it
        escribiendo_ = false;
        ocupar(false);
        cmdRecuperar->setEnabled(!txtRutaExtraerRecuperar->text().isEmpty());
        Dialogos::mostrar(this, Mantenimiento::mensajeRecuperacion(false, motivo));
    };
    if (Dialogos::mostrar(this, pregunta) != Respuesta::Si) {
        terminar(QStringLiteral("La recuperación se canceló: la base de datos quedó como estaba."));
        return;
    }
    if (!BaseDatos::abierta() && !reabrirConexion()) {
        terminar(QStringLiteral("No se pudo abrir la base de datos actual para respaldarla."));
        return;
    }
    registrarRespaldo();
    auto* ventana = new VentanaRespaldoAutomatico(
        QStringLiteral("Guardando un respaldo de los datos actuales antes de recuperar el Back Up..."), this);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    connect(ventana, &QDialog::finished, this, [this, ventana, terminar] {
        const Resultado& r = ventana->resultado();
        if (r.ok)
            reemplazarBase();
        else
            terminar(r.cancelado
                         ? QStringLiteral("Se omitió el respaldo de los datos actuales: no se recuperó el "
                                          "Back Up.")
                         : QStringLiteral("No se pudo respaldar los datos actuales (%1): no se recuperó "
                                          "el Back Up.")
                               .arg(r.descripcion));
    });
    ventana->open();
}

void frmMantenimiento::reemplazarBase() {
    // Nothing may hold the old file across the swap; the program goes on with the new one.
    BaseDatos::cerrar();
    const Resultado r = restauracion_->reemplazar();
    if (r.ok)
        baseRestaurada_ = true;
    if (reabrirConexion() && r.ok) {
        // The restored data are exactly what that archive holds.
        const QString archivo = interna(txtRutaRecuperar->text());
        QDateTime hecho = CatalogoRespaldos::fechaDelNombre(QFileInfo(archivo).fileName());
        UltimoRespaldo::registrar(archivo, QFileInfo(archivo).size(),
                                  qMax<qint64>(0, ContadorCambios::leer()),
                                  hecho.isValid() ? hecho : QFileInfo(archivo).lastModified());
    }
    escribiendo_ = false;
    ocupar(false);
    cmdRecuperar->setEnabled(!txtRutaExtraerRecuperar->text().isEmpty());
    panelRespaldos->actualizar();
    Dialogos::mostrar(this, Mantenimiento::mensajeRecuperacion(r.ok, r.descripcion));
}

void frmMantenimiento::habilitarRecuperacion() {
    stbMantenimiento->setTabEnabled(1, true);
    stbMantenimiento->setCurrentIndex(1);
}

void frmMantenimiento::recuperarDeLaLista(const QString& archivo) {
    if (ocupado())
        return;
    habilitarRecuperacion();
    txtRutaRecuperar->setText(nativa(archivo));
    if (!chkRecuperar->isChecked())
        chkRecuperar->click();
    else
        txtRutaExtraerRecuperar->setText(Ruta_Aplicacion.chopped(1));
    recuperarRespaldo();
}

bool frmMantenimiento::RecuperarCAB() {
    const QString archivo = interna(txtRutaRecuperar->text());
    lstArchivosCab->clear();
    if (archivo.isEmpty())
        return false;
    // One listing at a time: a running one is stopped and this one follows when it ends.
    if (listando_) {
        Extraer.cancelar();
        listadoPendiente_ = true;
        return true;
    }
    listadoPendiente_ = false;
    listando_ = true;
    auto* listado = new ListadoCab(archivo);
    listado->setCarpetaTrabajo(carpetaDatos());
    Extraer.iniciar(
        this, listado, [this, archivo](const ResultadoCon<QStringList>& r) { listadoTerminado(r, archivo); },
        [this](int p) {
            if (!ocupado() && !listadoPendiente_)
                mostrarAvance(p);
        });
    return true;
}

void frmMantenimiento::listadoTerminado(const ResultadoCon<QStringList>& r, const QString& archivo) {
    listando_ = false;
    if (listadoPendiente_) {
        RecuperarCAB();
        return;
    }
    // The box has named another file since.
    if (archivo != interna(txtRutaRecuperar->text()))
        return;
    if (!r.ok) {
        Dialogos::mostrar(this, Mantenimiento::mensajeArchivoDanado(archivo));
        return;
    }
    const QStringList& nombres = r.valor;
    for (int i = 0; i < nombres.size(); ++i) {
        auto* item = new QListWidgetItem(nombres[i], lstArchivosCab);
        item->setData(Qt::UserRole, i + 1);
        item->setSelected(true);
    }
}

// ---- Closing ----

QString frmMantenimiento::estadoConexion() const {
    return BaseDatos::abierta() ? kAbierta : kCerrada;
}

bool frmMantenimiento::reabrirConexion() {
    if (const auto error = BaseDatos::abrir(carpetaDatos())) {
        Dialogos::mostrar(this, errorVentana(QStringLiteral("0"), *error, Mantenimiento::kCaption));
        return false;
    }
    if (const auto m = comprobarTablas())
        Dialogos::mostrar(this, *m);
    return true;
}

void frmMantenimiento::registrarRespaldo() {
    if (respaldoHecho_.isEmpty() || !BaseDatos::abierta())
        return;
    UltimoRespaldo::registrar(respaldoHecho_, tamanoHecho_, qMax<qint64>(0, cambiosAntes_));
    respaldoHecho_.clear();
}

void frmMantenimiento::cerrarVentana() {
    close();
}

void frmMantenimiento::cancelarRespaldo() {
    if (escribiendo_ && Comprimir.enCurso()) {
        Comprimir.cancelar();
        cmdCancelar->setEnabled(false);
        lblPorcentaje->setText(QStringLiteral("Cancelando..."));
    }
}

void frmMantenimiento::closeEvent(QCloseEvent* e) {
    if (ocupado()) {
        // Nothing half-written may be left behind: the window stays until the work is done or,
        // for a backup, stopped.
        e->ignore();
        if (saliendo_)
            return;
        if (escribiendo_ && Comprimir.enCurso()) {
            if (Dialogos::mostrar(
                    this, {QStringLiteral("Se está generando el Back Up; la ventana se cerrará cuando "
                                          "termine.\n¿Cancelar el Back Up y salir? No quedará ningún "
                                          "archivo a medio escribir."),
                           Icono::Pregunta, Mantenimiento::kCaption, Botones::SiNo}) == Respuesta::Si &&
                escribiendo_) {
                saliendo_ = true;
                cancelarRespaldo();
            }
        } else {
            Dialogos::mostrar(this,
                              {QStringLiteral("Se está recuperando la base de datos; la ventana se cerrará "
                                              "cuando termine, para no dejarla a medias."),
                               Icono::Informacion, Mantenimiento::kCaption});
        }
        return;
    }
    QDialog::closeEvent(e);
}

void frmMantenimiento::done(int resultado) {
    if (ocupado()) {
        // Escape and "Salir" go the way of the close box.
        close();
        return;
    }
    if (!descargada_) {
        descargada_ = true;
        if (!BaseDatos::abierta())
            reabrirConexion();
        registrarRespaldo();
    }
    QDialog::done(resultado);
}
