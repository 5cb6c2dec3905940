#include "catalog/FrmAgregar.h"

#include "catalog/Catalogo.h"
#include "core/Texto.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <tuple>

namespace {
constexpr int kId = 0;
constexpr int kDescripcion = 1;
constexpr int kTipo = 2;

} // namespace

FrmAgregar::FrmAgregar(const QString& tabla, const QString& caption, QWidget* parent)
    : FrmAgregar(tabla, caption, false, parent) {}

FrmAgregar::FrmAgregar(const QString& tabla, const QString& caption, bool conTipo, QWidget* parent)
    : QDialog(parent), tabla_(tabla), conTipo_(conTipo) {
    setObjectName(conTipo ? QStringLiteral("FrmAgregarRec") : QStringLiteral("FrmAgregar"));
    setWindowTitle(caption);
    construir();
    cargar();
}

void FrmAgregar::construir() {
    auto* raiz = new QVBoxLayout(this);
    Flex = new QTableWidget(0, conTipo_ ? 3 : 2, this);
    Flex->setObjectName(QStringLiteral("Flex"));
    QStringList encabezados{QStringLiteral("Id"), QStringLiteral("Descripción")};
    if (conTipo_)
        encabezados << QStringLiteral("Tipo de Carga");
    Flex->setHorizontalHeaderLabels(encabezados);
    Flex->verticalHeader()->setVisible(false);
    Flex->setSelectionBehavior(QAbstractItemView::SelectRows);
    Flex->setSelectionMode(QAbstractItemView::SingleSelection);
    Flex->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Flex->setContextMenuPolicy(Qt::CustomContextMenu);
    Flex->horizontalHeader()->setSectionResizeMode(kDescripcion, QHeaderView::Stretch);
    Flex->setColumnWidth(kId, 60);
    Flex->setAccessibleName(windowTitle());
    raiz->addWidget(Flex, 1);

    if (conTipo_) {
        Frame1 = new QGroupBox(QStringLiteral("Tipo de Carga"), this);
        Frame1->setObjectName(QStringLiteral("Frame1"));
        auto* tipos = new QHBoxLayout(Frame1);
        OptK = new QRadioButton(QStringLiteral("Por Kg"), Frame1);
        OptK->setObjectName(QStringLiteral("OptK"));
        OptP = new QRadioButton(QStringLiteral("Por Porcentaje"), Frame1);
        OptP->setObjectName(QStringLiteral("OptP"));
        Accesible::boton(OptK);
        Accesible::boton(OptP);
        OptK->setChecked(true);
        tipos->addWidget(OptK);
        tipos->addWidget(OptP);
        raiz->addWidget(Frame1);
    }

    auto* fila = new QHBoxLayout;
    LblDes = new QLabel(QStringLiteral("DESCRIPCION:"), this);
    LblDes->setObjectName(QStringLiteral("LblDes"));
    TxtDes = new QLineEdit(this);
    TxtDes->setObjectName(QStringLiteral("TxtDes"));
    Accesible::conEtiqueta(TxtDes, LblDes);
    TxtDes->installEventFilter(this);
    fila->addWidget(LblDes);
    fila->addWidget(TxtDes, 1);
    raiz->addLayout(fila);

    auto* botones = new QHBoxLayout;
    Cmdadd = Controles::boton("Cmdadd", QStringLiteral("Agre."), this);
    CmdEliminar = Controles::boton("CmdEliminar", QStringLiteral("Elim."), this);
    CmdGrabar = Controles::boton("CmdGrabar", QStringLiteral("Grabar"), this);
    CmdCancelar = Controles::boton("CmdCancelar", QStringLiteral("Cancelar"), this);
    for (QPushButton* b : {Cmdadd, CmdEliminar, CmdGrabar, CmdCancelar})
        botones->addWidget(b);
    raiz->addLayout(botones);

    Mnu = new QMenu(QStringLiteral("Mnu"), this);
    Mnu->setObjectName(QStringLiteral("Mnu"));
    MnuModif = Mnu->addAction(QStringLiteral("Modificar"));
    MnuModif->setObjectName(QStringLiteral("MnuModif"));

    connect(Cmdadd, &QPushButton::clicked, this, &FrmAgregar::agregarPulsado);
    connect(CmdEliminar, &QPushButton::clicked, this, &FrmAgregar::eliminarPulsado);
    connect(CmdGrabar, &QPushButton::clicked, this, &FrmAgregar::grabarPulsado);
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(Flex, &QTableWidget::cellDoubleClicked, this, &FrmAgregar::modificarFila);
    connect(Flex, &QTableWidget::customContextMenuRequested, this, &FrmAgregar::menuDeFila);
    connect(MnuModif, &QAction::triggered, this, &FrmAgregar::modificarFila);
    resize(conTipo_ ? 620 : 520, 420);
}

void FrmAgregar::cargar() {
    cantFilas_ = 0;
    Flex->setRowCount(0);
    agregarFilaBlanca();
    const Catalogo::Lectura l = Catalogo::leer(tabla_, conTipo_);
    cargadas_ = l.filas;
    for (const Catalogo::Fila& f : l.filas) {
        ++cantFilas_;
        Flex->insertRow(cantFilas_ - 1);
        ponerCelda(cantFilas_, kId, f.id);
        ponerCelda(cantFilas_, kDescripcion, f.descripcion);
        if (conTipo_)
            ponerCelda(cantFilas_, kTipo, f.tipo);
    }
    if (l.error)
        mostrarError(l.error->numero, l.error->descripcion);
}

// Grid rows are counted as the editor counts them: row 0 is the header, rows 1 to cantFilas the
// catalogue, and one blank row follows.
QString FrmAgregar::celda(int fila, int columna) const {
    const QTableWidgetItem* it = fila >= 1 ? Flex->item(fila - 1, columna) : nullptr;
    return it ? it->text() : QString();
}

void FrmAgregar::ponerCelda(int fila, int columna, const QString& texto) {
    auto* it = new QTableWidgetItem(texto);
    Flex->setItem(fila - 1, columna, it);
}

void FrmAgregar::agregarFilaBlanca() {
    Flex->insertRow(Flex->rowCount());
}

int FrmAgregar::filaSeleccionada() const {
    return Flex->currentRow() + 1;
}

bool FrmAgregar::esFilaDeDatos(int fila) const {
    return !celda(fila, kId).isEmpty();
}

QString FrmAgregar::tipoElegido() const {
    return OptK->isChecked() ? Catalogo::kKilos : Catalogo::kPorcentaje;
}

void FrmAgregar::mostrarError(const QString& numero, const QString& descripcion) {
    Dialogos::mostrar(this, errorVentana(numero, descripcion, windowTitle()));
}

void FrmAgregar::agregarPulsado() {
    CmdEliminar->setEnabled(true);
    if (Flex->isEnabled()) {
        QStringList ids;
        for (int i = 1; i <= cantFilas_; ++i)
            ids << celda(i, kId);
        const std::optional<qint64> id = Catalogo::nuevoId(ids);
        auto errorAgregar = [this](const QString& numero, const QString& descripcion) {
            Dialogos::mostrar(this, {QStringLiteral("Error Numero ") + numero + QStringLiteral(": ") +
                                         descripcion + QStringLiteral(" "),
                                     Icono::Critico,
                                     QStringLiteral(" error ") + windowTitle() + QStringLiteral(" ")});
        };
        if (!id) {
            errorAgregar(QStringLiteral("13"), QStringLiteral("No coinciden los tipos"));
            return;
        }
        if (!TxtDes->text().isEmpty()) {
            if (cantFilas_ == std::numeric_limits<qint16>::max()) {
                errorAgregar(QStringLiteral("6"), QStringLiteral("Desbordamiento"));
                return;
            }
            ++cantFilas_;
            agregarFilaBlanca();
            ponerCelda(cantFilas_, kId, QString::number(*id));
            ponerCelda(cantFilas_, kDescripcion, TxtDes->text());
            if (conTipo_)
                ponerCelda(cantFilas_, kTipo, tipoElegido());
        }
    } else {
        const int fila = filaSeleccionada();
        ponerCelda(fila, kDescripcion, TxtDes->text());
        if (conTipo_)
            ponerCelda(fila, kTipo, tipoElegido());
        Flex->setEnabled(true);
    }
    TxtDes->clear();
    TxtDes->setFocus(); // the next entry can be typed at once
}

void FrmAgregar::modificarFila() {
    const int fila = filaSeleccionada();
    if (!esFilaDeDatos(fila))
        return;
    TxtDes->setText(celda(fila, kDescripcion));
    if (conTipo_) {
        if (celda(fila, kTipo) == Catalogo::kKilos)
            OptK->setChecked(true);
        else
            OptP->setChecked(true);
    }
    Flex->setEnabled(false);
    CmdEliminar->setEnabled(false);
}

void FrmAgregar::menuDeFila(const QPoint& donde) {
    // The right button selects the row under the pointer first, as a grid does.
    const int fila = Flex->rowAt(donde.y());
    if (fila >= 0)
        Flex->setCurrentCell(fila, Flex->currentColumn() < 0 ? 0 : Flex->currentColumn());
    if (!esFilaDeDatos(filaSeleccionada()))
        return;
    if (Dialogos::modoPrueba())
        return; // no pop-up menu without a user; tests trigger MnuModif directly
    Mnu->popup(Flex->viewport()->mapToGlobal(donde));
}

void FrmAgregar::eliminarPulsado() {
    if (!esFilaDeDatos(filaSeleccionada()))
        return;
    const Respuesta r = Dialogos::mostrar(this, {QStringLiteral("Desea quitar el registro Seleccionado"),
                                                 Icono::Pregunta, QStringLiteral("Eliminar"), Botones::SiNo});
    const int fila = filaSeleccionada();
    if (r == Respuesta::No || !esFilaDeDatos(fila))
        return;
    Flex->removeRow(fila - 1);
    --cantFilas_;
}

QList<Catalogo::Fila> FrmAgregar::filasDeLaGrilla() const {
    QList<Catalogo::Fila> filas;
    filas.reserve(cantFilas_);
    for (int i = 1; i <= cantFilas_; ++i)
        filas << Catalogo::Fila{celda(i, kId), celda(i, kDescripcion),
                                conTipo_ ? celda(i, kTipo) : QString()};
    return filas;
}

void FrmAgregar::grabarPulsado() {
    grabar();
}

bool FrmAgregar::grabar() {
    const QList<Catalogo::Fila> filas = filasDeLaGrilla();
    // An entry removed while trips still name it would drop those trips from the upload.
    const Catalogo::Usos usos = Catalogo::quitadasEnUso(tabla_, filas);
    if (usos.error) {
        mostrarError(usos.error->numero, usos.error->descripcion);
        return false;
    }
    for (const Catalogo::EnUso& e : usos.quitadas)
        if (Dialogos::mostrar(this, Catalogo::preguntaQuitar(tabla_, e, windowTitle())) != Respuesta::Si)
            return false;
    if (const auto error = Catalogo::grabar(tabla_, filas, conTipo_)) {
        mostrarError(error->numero, error->descripcion);
        return false;
    }
    accept();
    return true;
}

void FrmAgregar::reject() {
    // The rows as a set: the order of the grid is not a change.
    auto ordenadas = [](QList<Catalogo::Fila> filas) {
        std::sort(filas.begin(), filas.end(), [](const Catalogo::Fila& a, const Catalogo::Fila& b) {
            return std::tie(a.id, a.descripcion, a.tipo) < std::tie(b.id, b.descripcion, b.tipo);
        });
        return filas;
    };
    if (ordenadas(filasDeLaGrilla()) == ordenadas(cargadas_)) {
        QDialog::reject();
        return;
    }
    switch (Dialogos::mostrar(this, {QStringLiteral("¿Desea guardar los cambios?"), Icono::Pregunta,
                                     windowTitle(), Botones::SiNoCancelar})) {
    case Respuesta::Si:
        if (!grabar()) // stays open when it cannot save
            TxtDes->setFocus();
        return;
    case Respuesta::No:
        QDialog::reject();
        return;
    case Respuesta::Ok:
    case Respuesta::Cancelar:
        // Back to typing: the next Escape or close lands on this editor and asks again.
        TxtDes->setFocus();
        return;
    }
}

bool FrmAgregar::eventFilter(QObject* o, QEvent* e) {
    if (o == TxtDes) {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->text() == QStringLiteral(",")) {
                Dialogos::mostrar(
                    this, {QStringLiteral("No se permite el ingreso de la ''Coma'' en este campo de texto"),
                           Icono::Exclamacion});
                return true;
            }
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                Cmdadd->setFocus();
                return true; // a dialog would otherwise take Enter as its default button
            }
        } else if (e->type() == QEvent::FocusOut) {
            TxtDes->setText(Texto::tipoTitulo(TxtDes->text()));
        }
    }
    return QDialog::eventFilter(o, e);
}
