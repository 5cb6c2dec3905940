#include "maint/VentanaRespaldoAutomatico.h"

#include "db/BaseDatos.h"
#include "db/ContadorCambios.h"
#include "maint/AjustesRespaldo.h"
#include "maint/Mantenimiento.h"
#include "maint/RespaldoAutomatico.h"
#include "ui/Controles.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

VentanaRespaldoAutomatico::VentanaRespaldoAutomatico(const QString& texto, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("VentanaRespaldoAutomatico"));
    setWindowTitle(QStringLiteral("Respaldo automático"));
    setModal(true);
    auto* raiz = new QVBoxLayout(this);
    lblRespaldo = Controles::etiqueta("lblRespaldo", texto, this);
    prgRespaldo = new QProgressBar(this);
    prgRespaldo->setObjectName(QStringLiteral("prgRespaldo"));
    prgRespaldo->setAccessibleName(QStringLiteral("Progreso del respaldo"));
    prgRespaldo->setRange(0, 100);
    cmdOmitir = Controles::boton("cmdOmitir", QStringLiteral("Omitir"), this);
    raiz->addWidget(lblRespaldo);
    raiz->addWidget(prgRespaldo);
    auto* pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(cmdOmitir);
    raiz->addLayout(pie);
    connect(cmdOmitir, &QPushButton::clicked, this, &VentanaRespaldoAutomatico::omitir);
    // Started once the window is up, so that it shows from the first instant.
    QTimer::singleShot(0, this, &VentanaRespaldoAutomatico::iniciar);
}

VentanaRespaldoAutomatico::~VentanaRespaldoAutomatico() {
    // Torn down while it writes: the job stops (its temporary file goes) before the window does.
    trabajo_.soltar();
    if (!carpeta_.isEmpty() && !BaseDatos::abierta())
        BaseDatos::abrir(carpeta_);
}

QString VentanaRespaldoAutomatico::aviso() const {
    return resultado_.valor.aviso;
}

void VentanaRespaldoAutomatico::iniciar() {
    if (iniciado_)
        return;
    iniciado_ = true;
    carpeta_ = BaseDatos::carpeta();
    if (carpeta_.isEmpty() || !BaseDatos::abierta()) {
        resultado_ = {Resultado::fallo(0, QStringLiteral("La base de datos no está abierta."))};
        carpeta_.clear();
        accept();
        return;
    }
    const AjustesRespaldo ajustes = AjustesRespaldo::leer();
    cambios_ = qMax<qint64>(0, ContadorCambios::leer());
    QStringList archivos;
    for (const QString& nombre : Mantenimiento::archivosARespaldar(carpeta_))
        archivos << QDir(carpeta_).filePath(nombre);
    // The files are archived as they are on disk: nothing may write them meanwhile.
    BaseDatos::cerrar();
    trabajo_.iniciar(
        this,
        new RespaldoAutomatico(archivos, ajustes.carpetaAutomatica(carpeta_), ajustes.cantidad,
                               ajustes.segunda),
        [this](const ResultadoCon<RespaldoHecho>& r) { terminado(r); },
        [this](int p) { prgRespaldo->setValue(p); });
}

void VentanaRespaldoAutomatico::terminado(const ResultadoCon<RespaldoHecho>& r) {
    resultado_ = r;
    trabajo_.soltar();
    if (const auto error = BaseDatos::abrir(carpeta_))
        resultado_ = {Resultado::fallo(0, *error)};
    else if (r.ok)
        UltimoRespaldo::registrar(r.valor.ruta, r.valor.tamano, cambios_);
    accept();
}

void VentanaRespaldoAutomatico::omitir() {
    if (!iniciado_) {
        // Skipped before it began: nothing was closed or written.
        iniciado_ = true;
        resultado_ = {Resultado::interrumpido()};
        QDialog::done(Rejected);
        return;
    }
    if (!trabajo_.enCurso())
        return;
    // The job removes what it had written; the window closes when it has stopped.
    trabajo_.cancelar();
    cmdOmitir->setEnabled(false);
    lblRespaldo->setText(QStringLiteral("Omitiendo el respaldo..."));
}

void VentanaRespaldoAutomatico::closeEvent(QCloseEvent* e) {
    // The close box and Escape skip, as "Omitir" does.
    e->ignore();
    omitir();
}

void VentanaRespaldoAutomatico::done(int resultado) {
    if (trabajo_.enCurso()) {
        omitir();
        return;
    }
    QDialog::done(resultado);
}
