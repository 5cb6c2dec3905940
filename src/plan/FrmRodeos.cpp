#include "plan/FrmRodeos.h"

#include "ui/Accesible.h"
#include "ui/Dialogos.h"
#include "core/Texto.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/ListaReporte.h"
#include "plan/PlanDescargas.h"
#include "plan/Totales.h"
#include "plan/Validacion.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

using namespace Controles;

namespace {
const QString kFormulario = QStringLiteral("FrmRodeos");
const QString kPorcentaje = QStringLiteral("% DE DIETA:");
const QString kKilos = QStringLiteral("Kg DE DIETA:");
const QString kCompletar = QStringLiteral("debe completar todos los datos");

enum Columna { cViaje, cReceta, cCorral, cOrden, cCantidad };

// Layout on resize, in pixels (the list frame follows the window, the header stays).
constexpr int kMargenAncho = 30;
constexpr int kMargenAlto = 180;
constexpr int kMargenLista = 13;
constexpr int kPieLista = 53;
constexpr int kMargenBoton = 7;

void informar(QWidget* padre, const ErrorBD& e, const QString& procedimiento) {
    Dialogos::mostrar(padre, errorProcedimiento(e.numero, e.descripcion, procedimiento, kFormulario));
}
} // namespace

FrmRodeos::FrmRodeos(QWidget* parent) : QDialog(parent) {
    construir();
    Form_Load();
}

void FrmRodeos::construir() {
    setObjectName(QStringLiteral("FrmRodeos"));
    setWindowTitle(QStringLiteral("Corrales Por Receta"));

    Frame5 = marco("Frame5", QStringLiteral("DATOS DE LOS CORRALES QUE COMERAN LAS DIETAS "), this,
                   {10, 5, 560, 150});
    Label1 = etiqueta("Label1", QStringLiteral("FORMULA/RECETA:"), Frame5, {10, 22, 120, 24});
    CmbViajes = new ComboEditable(Frame5);
    CmbViajes->setObjectName(QStringLiteral("CmbViajes"));
    CmbViajes->setGeometry(135, 22, 320, 24);
    Accesible::conEtiqueta(CmbViajes, Label1);
    Label2 = etiqueta("Label2", QStringLiteral("CORRAL:"), Frame5, {10, 55, 120, 24});
    TXTCORRAL = caja("TXTCORRAL", Label2, Frame5, {135, 55, 160, 24});
    Label17 = etiqueta("Label17", kPorcentaje, Frame5, {10, 88, 120, 24});
    TXTPOR = caja("TXTPOR", Label17, Frame5, {135, 88, 80, 24});
    Label3 = etiqueta("Label3", QStringLiteral("ORDEN:"), Frame5, {230, 88, 50, 24});
    TXTOR = caja("TXTOR", Label3, Frame5, {285, 88, 50, 24});
    CMD_INS_ROD = boton("CMD_INS_ROD", QStringLiteral("INSERTAR"), Frame5, {440, 110, 100, 28});

    Frame1 = marco("Frame1", QStringLiteral("Total por Formula/Receta"), this, {580, 5, 310, 150});
    LisTot = new QTreeWidget(Frame1);
    LisTot->setObjectName(QStringLiteral("LisTot"));
    LisTot->setGeometry(8, 20, 294, 122);

    Frame3 = marco("Frame3", QStringLiteral("CORRALES QUE COMERAN LAS RECETAS"), this, {10, 160, 870, 400});
    ListROD = new QTreeWidget(Frame3);
    ListROD->setObjectName(QStringLiteral("ListROD"));
    ListROD->move(7, 20);
    CMD_QUITAR_ROD = boton("CMD_QUITAR_ROD", QStringLiteral("ELIMINAR"), Frame3, {7, 0, 100, 26});

    setTabOrder(CmbViajes, TXTCORRAL);
    setTabOrder(TXTCORRAL, TXTPOR);
    setTabOrder(TXTPOR, TXTOR);
    setTabOrder(TXTOR, CMD_INS_ROD);

    connect(CmbViajes, &ComboEditable::elegido, this, &FrmRodeos::CmbViajes_Click);
    connect(CmbViajes, &ComboEditable::teclaSoltada, this, &FrmRodeos::CmbViajes_Click);
    connect(CMD_INS_ROD, &QPushButton::clicked, this, &FrmRodeos::CMD_INS_ROD_Click);
    connect(CMD_QUITAR_ROD, &QPushButton::clicked, this, &FrmRodeos::CMD_QUITAR_ROD_Click);
    connect(ListROD, &QTreeWidget::itemDoubleClicked, this, &FrmRodeos::ListROD_DblClick);

    resize(900, 600);
}

void FrmRodeos::Form_Load() {
    ListaReporte::preparar(ListROD,
                           {QStringLiteral("id_FORMULA"), QStringLiteral("RECETA"), QStringLiteral("Corral"),
                            QStringLiteral("Orden"), QStringLiteral("Cantidad")},
                           Frame3->title());
    ListROD->setColumnWidth(cReceta, 260);
    ListaReporte::preparar(LisTot, {QStringLiteral("Receta"), QStringLiteral("Cantidad")}, Frame1->title());
    LisTot->setColumnWidth(0, 180);
    CARGAR_VIAJES();
    CARGAR_descargas();
    Comprobar_Totales();
}

void FrmRodeos::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}

void FrmRodeos::Form_Resize() {
    const int anchoMarco = std::max(0, width() - kMargenAncho);
    const int altoMarco = std::max(0, height() - kMargenAlto);
    Frame3->resize(anchoMarco, altoMarco);
    ListROD->resize(std::max(0, anchoMarco - kMargenLista), std::max(0, altoMarco - kPieLista));
    CMD_QUITAR_ROD->move(CMD_QUITAR_ROD->x(),
                         std::max(0, altoMarco - CMD_QUITAR_ROD->height() - kMargenBoton));
}

void FrmRodeos::CARGAR_VIAJES() {
    const PlanComun::Entradas r = PlanDescargas::cargarViajes();
    CmbViajes->vaciar();
    if (r.filas.isEmpty() && !r.error) {
        CmbViajes->addItem(QStringLiteral("No Existen Viajes"));
        CmbViajes->ponerTexto(CmbViajes->itemText(0));
        return;
    }
    CmbViajes->addItem(QStringLiteral("Viajes Cargados"));
    for (const PlanComun::Entrada& e : r.filas)
        CmbViajes->addItem(e.texto, e.id);
    CmbViajes->ponerTexto(CmbViajes->itemText(0));
    CmbViajes->lineEdit()->selectAll();
    if (r.error)
        informar(this, *r.error, QStringLiteral("CARGAR_VIAJES"));
}

void FrmRodeos::CARGAR_descargas() {
    const PlanDescargas::Lista r = PlanDescargas::cargarDescargas();
    if (r.errorNombre)
        Dialogos::mostrar(this,
                          errorProcedimiento(r.errorNombre->numero, r.errorNombre->descripcion,
                                             QStringLiteral("Buscar_Nom"), QStringLiteral("FrmViajes")));
    QList<QTreeWidgetItem*> lineas;
    lineas.reserve(r.lineas.size());
    for (const PlanDescargas::Linea& l : r.lineas)
        lineas.push_back(new QTreeWidgetItem(l.celdas()));
    ListROD->addTopLevelItems(lineas);
    Id_Viaje = 0;
    if (r.error)
        informar(this, *r.error, QStringLiteral("CARGAR_descargas"));
}

void FrmRodeos::Comprobar_Totales() {
    LisTot->clear();
    const Totales::Resultado r = Totales::Comprobar_Totales();
    QList<QTreeWidgetItem*> lineas;
    for (const Totales::Linea& l : r.lineas)
        lineas.push_back(new QTreeWidgetItem(QStringList{l.receta, l.cantidad}));
    LisTot->addTopLevelItems(lineas);
    if (r.error)
        Dialogos::mostrar(this, errorProcedimientoIngles(r.error->numero, r.error->descripcion,
                                                         QStringLiteral("Comprobar_Totales"), kFormulario));
}

void FrmRodeos::ponerTipoCarga(bool kilos) {
    Label17->setText(kilos ? kPorcentaje : kKilos);
    Accesible::conEtiqueta(TXTPOR, Label17);
}

void FrmRodeos::CmbViajes_Click() {
    const QVariant id = CmbViajes->idElegido();
    if (!id.isValid()) {
        Id_Viaje = 0;
        return;
    }
    Id_Viaje = id.toLongLong();
    const PlanComun::TipoCarga t = PlanDescargas::tipoDeViaje(Id_Viaje);
    if (t.error) {
        Id_Viaje = 0;
        return;
    }
    if (t.encontrado)
        ponerTipoCarga(t.kilos);
}

void FrmRodeos::llenarLinea(QTreeWidgetItem* l, double por, int orden) const {
    l->setText(cViaje, QString::number(Id_Viaje));
    l->setText(cReceta, CmbViajes->currentText());
    l->setText(cCorral, TXTCORRAL->text());
    l->setText(cOrden, QString::number(orden));
    const QString unidad =
        Label17->text() == kPorcentaje ? PlanDescargas::kUnidadPorcentaje : PlanDescargas::kUnidadKilos;
    l->setText(cCantidad, Texto::numeroRegional(por) + u' ' + unidad);
}

void FrmRodeos::CMD_INS_ROD_Click() {
    if (CmbViajes->currentText().isEmpty() || TXTCORRAL->text().isEmpty() || TXTOR->text().isEmpty() ||
        TXTPOR->text().isEmpty() || Id_Viaje == 0) {
        Dialogos::mostrar(this, Mensaje{kCompletar});
        return;
    }
    // Everything is checked before anything is written or listed.
    auto rehusar = [this](const Mensaje& m, QWidget* campo) {
        Dialogos::mostrar(this, m);
        campo->setFocus();
    };
    if (!Validacion::cabeEn16(Id_Viaje))
        return rehusar(Validacion::idFueraDeRango(QStringLiteral("El viaje elegido"), Id_Viaje), CmbViajes);
    double por = 0;
    if (!Texto::leerNumeroUsuario(TXTPOR->text(), &por))
        return rehusar(Validacion::numeroInvalido(Validacion::nombreCampo(Label17->text())), TXTPOR);
    const std::optional<int> orden = Validacion::entero16(TXTOR->text());
    if (!orden)
        return rehusar(Validacion::enteroInvalido(Validacion::nombreCampo(Label3->text())), TXTOR);

    const PlanDescargas::Fila fila{static_cast<int>(Id_Viaje), TXTCORRAL->text(), por, *orden};

    // The line under change was deleted meanwhile: there is nothing left to change, so this adds.
    if (!ListROD->isEnabled() && !lineaCambio_)
        ListROD->setEnabled(true);

    if (ListROD->isEnabled()) {
        if (auto e = PlanDescargas::insertar(fila))
            return informar(this, *e, QStringLiteral("CMD_INS_ROD_Click"));
        auto* linea = new QTreeWidgetItem;
        llenarLinea(linea, fila.por, fila.orden);
        ListROD->addTopLevelItem(linea);
    } else {
        const PlanComun::Cambio c = PlanDescargas::cambiar({Id_Viaje_Ant, Rodeo_Ant}, fila);
        if (c.error)
            return informar(this, *c.error, QStringLiteral("CMD_INS_ROD_Click"));
        if (!c.encontrado) {
            Dialogos::mostrar(this, Mensaje{QStringLiteral("NO SE ENCONTRO LA DESCARGA SELECCIONADA"),
                                            Icono::Critico, QStringLiteral("ERROR")});
            return;
        }
        llenarLinea(lineaCambio_, fila.por, fila.orden);
    }
    CmbViajes->setFocus();
    lineaCambio_ = nullptr;
    ListROD->setEnabled(true);
    Comprobar_Totales();
}

void FrmRodeos::CMD_QUITAR_ROD_Click() {
    const int n = ListROD->topLevelItemCount();
    if (n == 0)
        return;
    const Mensaje pregunta{QStringLiteral("Desea quitar los detalles seleccionados"), Icono::Exclamacion,
                           kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, pregunta) == Respuesta::Si) {
        QList<QTreeWidgetItem*> lineas;
        QList<PlanDescargas::Clave> claves;
        for (int i = n - 1; i >= 0; --i) {
            QTreeWidgetItem* l = ListROD->topLevelItem(i);
            if (!l->isSelected())
                continue;
            lineas.push_back(l);
            claves.push_back({l->text(cViaje).toInt(), l->text(cCorral)});
        }
        if (!claves.isEmpty()) {
            // All the rows go or none does, so the list always matches the table.
            if (auto e = PlanDescargas::eliminar(claves))
                return informar(this, *e, QStringLiteral("CMD_QUITAR_ROD_Click"));
            for (QTreeWidgetItem* l : std::as_const(lineas)) {
                if (l == lineaCambio_)
                    lineaCambio_ = nullptr;
                delete l;
            }
        }
    }
    Comprobar_Totales();
}

void FrmRodeos::ListROD_DblClick() {
    QTreeWidgetItem* l = ListROD->currentItem();
    if (!l || !l->isSelected()) {
        const QList<QTreeWidgetItem*> elegidas = ListROD->selectedItems();
        l = elegidas.isEmpty() ? nullptr : elegidas.first();
    }
    if (!l)
        return;
    Id_Viaje = l->text(cViaje).toLongLong();
    CmbViajes->ponerTexto(l->text(cReceta));
    TXTCORRAL->setText(l->text(cCorral));
    TXTOR->setText(l->text(cOrden));
    QString cantidad = l->text(cCantidad);
    cantidad.remove(PlanDescargas::kUnidadKilos).remove(PlanDescargas::kUnidadPorcentaje);
    TXTPOR->setText(cantidad.trimmed());

    Id_Viaje_Ant = static_cast<int>(Id_Viaje);
    Rodeo_Ant = TXTCORRAL->text();

    const PlanComun::TipoCarga t = PlanDescargas::tipoDeViaje(Id_Viaje);
    if (t.error)
        return informar(this, *t.error, QStringLiteral("ListROD_DblClick"));
    if (t.encontrado)
        ponerTipoCarga(t.kilos);
    lineaCambio_ = l;
    ListROD->setEnabled(false);
}
