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
    trabajo_.reset();
    if (!carpeta_.isEmpty() && !BaseDatos::abierta())
        BaseDatos::abrir(carpeta_);
}

QString VentanaRespaldoAutomatico::aviso() const {
    return resultado_.valor.toMap().value(QStringLiteral("aviso")).toString();
}

void VentanaRespaldoAutomatico::iniciar() {
    if (iniciado_)
        return;
    iniciado_ = true;
    carpeta_ = BaseDatos::carpeta();
    if (carpeta_.isEmpty() || !BaseDatos::abierta()) {
        resultado_ = Resultado::fallo(0, QStringLiteral("La base de datos no está abierta."));
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
    trabajo_ = std::make_unique<RespaldoAutomatico>(archivos, ajustes.carpetaAutomatica(carpeta_),
                                                    ajustes.cantidad, ajustes.segunda);
    connect(trabajo_.get(), &Trabajo::avance, prgRespaldo, &QProgressBar::setValue);
    connect(trabajo_.get(), &Trabajo::terminado, this, &VentanaRespaldoAutomatico::terminado);
    trabajo_->iniciar();
}

void VentanaRespaldoAutomatico::terminado(const Resultado& r) {
    resultado_ = r;
    trabajo_.reset();
    if (const auto error = BaseDatos::abrir(carpeta_))
        resultado_ = Resultado::fallo(0, *error);
    else if (r.ok) {
        const QVariantMap v = r.valor.toMap();
        UltimoRespaldo::registrar(v.value(QStringLiteral("ruta")).toString(),
                                  v.value(QStringLiteral("tamano")).toLongLong(), cambios_);
    }
    accept();
}

void VentanaRespaldoAutomatico::omitir() {
    if (!iniciado_) {
        // Skipped before it began: nothing was closed or written.
        iniciado_ = true;
        resultado_ = Resultado::interrumpido();
        QDialog::done(Rejected);
        return;
    }
    if (!trabajo_)
        return;
    // The job removes what it had written; the window closes when it has stopped.
    trabajo_->cancelar();
    cmdOmitir->setEnabled(false);
    lblRespaldo->setText(QStringLiteral("Omitiendo el respaldo..."));
}

void VentanaRespaldoAutomatico::closeEvent(QCloseEvent* e) {
    // The close box and Escape skip, as "Omitir" does.
    e->ignore();
    omitir();
}

void VentanaRespaldoAutomatico::done(int resultado) {
    if (trabajo_) {
        omitir();
        return;
    }
    QDialog::done(resultado);
}
