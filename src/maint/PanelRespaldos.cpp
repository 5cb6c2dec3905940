#include "maint/PanelRespaldos.h"

#include "db/BaseDatos.h"
#include "maint/AjustesRespaldo.h"
#include "maint/CatalogoRespaldos.h"
#include "maint/Mantenimiento.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace {

QCheckBox* casilla(const char* nombre, const QString& texto, QWidget* padre) {
    auto* c = new QCheckBox(texto, padre);
    c->setObjectName(QLatin1String(nombre));
    Accesible::boton(c);
    return c;
}

QSpinBox* numero(const char* nombre, int minimo, int maximo, QLabel* rotulo, QWidget* padre) {
    auto* s = new QSpinBox(padre);
    s->setObjectName(QLatin1String(nombre));
    s->setRange(minimo, maximo);
    Accesible::conEtiqueta(s, rotulo);
    return s;
}

QString fechaHora(const QDateTime& f) {
    return f.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

} // namespace

PanelRespaldos::PanelRespaldos(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelRespaldos"));
    auto* g = new QGridLayout(this);
    lblUltimo = Controles::etiqueta("lblUltimoRespaldo", QString(), this);
    lblUltimo->setWordWrap(true);
    chkAlCerrar = casilla("chkRespaldoAlCerrar",
                          QStringLiteral("Respaldar al cerrar el programa, si hubo cambios"), this);
    chkAlIniciar = casilla("chkRespaldoAlIniciar",
                           QStringLiteral("Respaldar al iniciar, si el último tiene más días que:"), this);
    auto* lblDias = Controles::etiqueta("lblDiasRespaldo", QStringLiteral("Días:"), this);
    spnDias = numero("spnDiasRespaldo", 1, 365, lblDias, this);
    auto* lblCantidad = Controles::etiqueta("lblCantidadRespaldos",
                                            QStringLiteral("Respaldos automáticos que se conservan:"), this);
    spnCantidad = numero("spnCantidadRespaldos", 1, 999, lblCantidad, this);
    auto* lblCarpeta = Controles::etiqueta("lblCarpetaAutomatica",
                                           QStringLiteral("Carpeta de los respaldos automáticos:"), this);
    txtCarpetaAutomatica = Controles::caja("txtCarpetaAutomatica", lblCarpeta, this);
    txtCarpetaAutomatica->setReadOnly(true);
    cmdCarpetaAutomatica = Controles::boton("cmdCarpetaAutomatica", QStringLiteral("..."), this);
    cmdCarpetaAutomatica->setAccessibleDescription(
        QStringLiteral("Elegir la carpeta de los respaldos automáticos"));
    auto* lblSegunda = Controles::etiqueta(
        "lblSegundaCarpeta", QStringLiteral("Segunda carpeta para una copia (pendrive, red), opcional:"),
        this);
    txtSegundaCarpeta = Controles::caja("txtSegundaCarpeta", lblSegunda, this);
    cmdSegundaCarpeta = Controles::boton("cmdSegundaCarpeta", QStringLiteral("..."), this);
    cmdSegundaCarpeta->setAccessibleDescription(QStringLiteral("Elegir la segunda carpeta"));
    auto* lblLista = Controles::etiqueta("lblRespaldos", QStringLiteral("Respaldos conocidos:"), this);
    lstRespaldos = new QListWidget(this);
    lstRespaldos->setObjectName(QStringLiteral("lstRespaldos"));
    Accesible::conEtiqueta(lstRespaldos, lblLista);
    cmdRecuperarElegido =
        Controles::boton("cmdRecuperarElegido", QStringLiteral("Recuperar el elegido"), this);
    cmdOtroArchivo = Controles::boton("cmdOtroArchivo", QStringLiteral("Recuperar otro archivo..."), this);

    int f = 0;
    g->addWidget(lblUltimo, f++, 0, 1, 3);
    g->addWidget(chkAlCerrar, f++, 0, 1, 3);
    g->addWidget(chkAlIniciar, f, 0);
    g->addWidget(lblDias, f, 1);
    g->addWidget(spnDias, f++, 2);
    g->addWidget(lblCantidad, f, 0, 1, 2);
    g->addWidget(spnCantidad, f++, 2);
    g->addWidget(lblCarpeta, f++, 0, 1, 3);
    g->addWidget(txtCarpetaAutomatica, f, 0, 1, 2);
    g->addWidget(cmdCarpetaAutomatica, f++, 2);
    g->addWidget(lblSegunda, f++, 0, 1, 3);
    g->addWidget(txtSegundaCarpeta, f, 0, 1, 2);
    g->addWidget(cmdSegundaCarpeta, f++, 2);
    g->addWidget(lblLista, f++, 0, 1, 3);
    g->addWidget(lstRespaldos, f++, 0, 1, 3);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdRecuperarElegido);
    botones->addWidget(cmdOtroArchivo);
    botones->addStretch();
    g->addLayout(botones, f, 0, 1, 3);

    actualizar();
    for (QCheckBox* c : {chkAlCerrar, chkAlIniciar})
        connect(c, &QCheckBox::toggled, this, &PanelRespaldos::guardar);
    for (QSpinBox* s : {spnDias, spnCantidad})
        connect(s, &QSpinBox::valueChanged, this, &PanelRespaldos::guardar);
    connect(txtSegundaCarpeta, &QLineEdit::editingFinished, this, &PanelRespaldos::guardar);
    connect(cmdCarpetaAutomatica, &QPushButton::clicked, this,
            [this] { elegirCarpeta(txtCarpetaAutomatica); });
    connect(cmdSegundaCarpeta, &QPushButton::clicked, this, [this] { elegirCarpeta(txtSegundaCarpeta); });
    connect(lstRespaldos, &QListWidget::currentRowChanged, this,
            [this](int fila) { cmdRecuperarElegido->setEnabled(fila >= 0 && BaseDatos::abierta()); });
    connect(cmdRecuperarElegido, &QPushButton::clicked, this, [this] {
        if (!archivoElegido().isEmpty())
            Q_EMIT recuperarPedido(archivoElegido());
    });
    connect(cmdOtroArchivo, &QPushButton::clicked, this, &PanelRespaldos::recuperacionPedida);
}

void PanelRespaldos::actualizar() {
    cargando_ = true;
    const bool abierta = BaseDatos::abierta();
    const QString datos = BaseDatos::carpeta();
    const AjustesRespaldo a = abierta ? AjustesRespaldo::leer() : AjustesRespaldo{};
    const UltimoRespaldo u = abierta ? UltimoRespaldo::leer() : UltimoRespaldo{};
    chkAlCerrar->setChecked(a.alCerrar);
    chkAlIniciar->setChecked(a.alIniciar);
    spnDias->setValue(a.dias);
    spnCantidad->setValue(a.cantidad);
    txtCarpetaAutomatica->setText(QDir::toNativeSeparators(a.carpetaAutomatica(datos)));
    txtSegundaCarpeta->setText(QDir::toNativeSeparators(a.segunda));
    // Settings and restores need the database: after a backup here it stays closed until the
    // window closes.
    for (QWidget* w :
         std::initializer_list<QWidget*>{chkAlCerrar, chkAlIniciar, spnDias, spnCantidad,
                                         cmdCarpetaAutomatica, txtSegundaCarpeta, cmdSegundaCarpeta})
        w->setEnabled(abierta);
    if (!abierta)
        lblUltimo->setText(QStringLiteral("Último respaldo: se verá al cerrar esta ventana."));
    else if (!u.existe())
        lblUltimo->setText(QStringLiteral("Nunca se hizo un respaldo verificado de estos datos."));
    else
        lblUltimo->setText(QStringLiteral("%1 (%2), en %3, %4, verificado.")
                               .arg(PoliticaRespaldo::textoAntiguedad(), fechaHora(u.fecha),
                                    QDir::toNativeSeparators(u.ruta),
                                    Mantenimiento::textoTamano(QString(), double(u.tamano))));

    lstRespaldos->clear();
    QStringList carpetas{datos, a.carpetaAutomatica(datos), a.segunda};
    if (!u.ruta.isEmpty())
        carpetas << QFileInfo(u.ruta).absolutePath();
    for (const EntradaRespaldo& e : CatalogoRespaldos::listar(carpetas)) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1  %2  %3  %4")
                .arg(fechaHora(e.fecha),
                     e.automatico ? QStringLiteral("automático") : QStringLiteral("manual"),
                     Mantenimiento::textoTamano(QString(), double(e.tamano)),
                     QDir::toNativeSeparators(e.ruta)),
            lstRespaldos);
        item->setData(Qt::UserRole, e.ruta);
    }
    cmdRecuperarElegido->setEnabled(false);
    cmdOtroArchivo->setEnabled(abierta);
    cargando_ = false;
}

QString PanelRespaldos::archivoElegido() const {
    const QListWidgetItem* item = lstRespaldos->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void PanelRespaldos::elegirCarpeta(QLineEdit* caja) {
    const QString carpeta = Dialogos::carpeta(this, QStringLiteral("Seleccione la carpeta de los respaldos"),
                                              QDir::fromNativeSeparators(caja->text()));
    if (carpeta.isEmpty())
        return;
    caja->setText(QDir::toNativeSeparators(carpeta));
    guardar();
    actualizar();
}

void PanelRespaldos::guardar() {
    if (cargando_ || !BaseDatos::abierta())
        return;
    AjustesRespaldo a = AjustesRespaldo::leer();
    a.alCerrar = chkAlCerrar->isChecked();
    a.alIniciar = chkAlIniciar->isChecked();
    a.dias = spnDias->value();
    a.cantidad = spnCantidad->value();
    const QString automatica = QDir::fromNativeSeparators(txtCarpetaAutomatica->text());
    // The default folder stays the default: it follows the data folder if that moves.
    a.carpeta =
        automatica == AjustesRespaldo{}.carpetaAutomatica(BaseDatos::carpeta()) ? QString() : automatica;
    a.segunda = QDir::fromNativeSeparators(txtSegundaCarpeta->text().trimmed());
    if (const auto e = a.guardar())
        Dialogos::mostrar(this, errorVentana(e->numero, e->descripcion, Mantenimiento::kCaption));
}
