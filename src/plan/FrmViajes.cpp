#include "plan/FrmViajes.h"

#include "ui/Accesible.h"
#include "ui/Dialogos.h"
#include "catalog/FrmAgregar.h"
#include "catalog/FrmAgregarRec.h"
#include "core/Texto.h"
#include "db/Compartido.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/ListaReporte.h"
#include "plan/PlanViajes.h"
#include "plan/Totales.h"
#include "plan/Validacion.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

#include <algorithm>

using namespace Controles;

namespace {
const QString kFormulario = QStringLiteral("FrmViajes");
const QString kKilos = QStringLiteral("KILOS:");
const QString kPorcentaje = QStringLiteral("Porc.:");
const QString kNotaKilos = QStringLiteral("estos deben pasarse en base 100");
const QString kCompletar = QStringLiteral("debe completar todos los datos");

enum Columna { cFecha, cHora, cViaje, cReceta, cOperario, cAlimento, cCantidad, cOrden, cIdRec, cIdAlim };

// Layout on resize, in pixels (the list frame follows the window, the header stays).
constexpr int kMargenAncho = 30; // window width - frame width
constexpr int kMargenAlto = 240; // window height - frame height
constexpr int kMargenLista = 13; // frame width - list width
constexpr int kPieLista = 53;    // frame height - list height
constexpr int kMargenBoton = 7;  // below the delete button

void informar(QWidget* padre, const ErrorBD& e, const QString& procedimiento) {
    Dialogos::mostrar(padre, errorProcedimiento(e.numero, e.descripcion, procedimiento, kFormulario));
}

QTime horaDeLista(const QString& texto) {
    QTime t = QTime::fromString(texto.trimmed(), PlanComun::kFormatoHora);
    if (!t.isValid())
        t = QTime::fromString(texto.trimmed(), QStringLiteral("H:mm"));
    if (!t.isValid())
        t = QTime::fromString(texto.trimmed(), QStringLiteral("HH:mm:ss"));
    return t;
}
} // namespace

FrmViajes::FrmViajes(QWidget* parent) : QDialog(parent) {
    construir();
    Form_Load();
}

void FrmViajes::construir() {
    setObjectName(QStringLiteral("FrmViajes"));
    setWindowTitle(QStringLiteral("RECETAS"));

    Frame1 = marco("Frame1", QStringLiteral("DATOS RELATIVOS A LA RECETA"), this, {10, 5, 560, 125});
    Label1 = etiqueta("Label1", QStringLiteral("NOMBRE DE RECETA:"), Frame1, {10, 22, 130, 24});
    CmbNombre = new ComboEditable(Frame1);
    CmbNombre->setObjectName(QStringLiteral("CmbNombre"));
    CmbNombre->setGeometry(145, 22, 330, 24);
    Accesible::conEtiqueta(CmbNombre, Label1);
    Command1 = boton("Command1", QStringLiteral("?"), Frame1, {480, 22, 30, 24});
    Command1->setAccessibleDescription(QStringLiteral("Abre el editor de recetas"));
    Label2 = etiqueta("Label2", QStringLiteral("Nº FORMULA:"), Frame1, {10, 55, 130, 24});
    TXT_ID_VIA_FOR = caja("TXT_ID_VIA_FOR", Label2, Frame1, {145, 55, 80, 24});
    Label3 = etiqueta("Label3", QStringLiteral("FECHA:"), Frame1, {240, 55, 50, 24});
    DT_FEC_FOR = new QDateEdit(QDate::currentDate(), Frame1);
    DT_FEC_FOR->setObjectName(QStringLiteral("DT_FEC_FOR"));
    DT_FEC_FOR->setDisplayFormat(PlanComun::kFormatoFechaLista);
    DT_FEC_FOR->setCalendarPopup(true);
    DT_FEC_FOR->setGeometry(290, 55, 110, 24);
    Accesible::conEtiqueta(DT_FEC_FOR, Label3);
    Label4 = etiqueta("Label4", QStringLiteral("HORARIO:"), Frame1, {405, 55, 65, 24});
    const QTime ahora = QTime::currentTime();
    DT_HORA_FOR = new QTimeEdit(QTime(ahora.hour(), ahora.minute()), Frame1);
    DT_HORA_FOR->setObjectName(QStringLiteral("DT_HORA_FOR"));
    DT_HORA_FOR->setDisplayFormat(PlanComun::kFormatoHora);
    DT_HORA_FOR->setGeometry(470, 55, 80, 24);
    Accesible::conEtiqueta(DT_HORA_FOR, Label4);
    Label5 = etiqueta("Label5", QStringLiteral("ID_OPERARIO:"), Frame1, {10, 88, 130, 24});
    TXTOP = caja("TXTOP", Label5, Frame1, {145, 88, 80, 24});
    CMDOP = boton("CMDOP", QStringLiteral("?"), Frame1, {230, 88, 30, 24});
    CMDOP->setAccessibleDescription(QStringLiteral("Abre el editor de operarios"));

    Frame6 = marco("Frame6", QStringLiteral("Alimentos de la Receta"), this, {10, 135, 560, 85});
    Label6 = etiqueta("Label6", QStringLiteral("ALIMENTO:"), Frame6, {10, 22, 80, 24});
    CMBALIM = new ComboEditable(Frame6);
    CMBALIM->setObjectName(QStringLiteral("CMBALIM"));
    CMBALIM->setGeometry(95, 22, 300, 24);
    Accesible::conEtiqueta(CMBALIM, Label6);
    CMDALIM = boton("CMDALIM", QStringLiteral("?"), Frame6, {400, 22, 30, 24});
    CMDALIM->setAccessibleDescription(QStringLiteral("Abre el editor de alimentos"));
    CMD_INS_FOR = boton("CMD_INS_FOR", QStringLiteral("INSERTAR"), Frame6, {450, 20, 100, 28});
    Label8 = etiqueta("Label8", kKilos, Frame6, {10, 53, 80, 24});
    TXTKILOS = caja("TXTKILOS", Label8, Frame6, {95, 53, 80, 24});
    Label15 = etiqueta("Label15", kNotaKilos, Frame6, {180, 47, 205, 36});
    Label15->setWordWrap(true); // the note must fit beside the amount whatever the font
    Label7 = etiqueta("Label7", QStringLiteral("ORDEN:"), Frame6, {390, 53, 50, 24});
    TXT_OR_FOR = caja("TXT_OR_FOR", Label7, Frame6, {445, 53, 50, 24});

    Frame2 = marco("Frame2", QStringLiteral("Total por Formula/Receta"), this, {580, 5, 310, 215});
    LisTot = new QTreeWidget(Frame2);
    LisTot->setObjectName(QStringLiteral("LisTot"));
    LisTot->setGeometry(8, 20, 294, 187);

    Frame3 = marco("Frame3", QStringLiteral("RECETAS CARGADAS"), this, {10, 225, 870, 400});
    ListR = new QTreeWidget(Frame3);
    ListR->setObjectName(QStringLiteral("ListR"));
    ListR->move(7, 20);
    CMD_QUITAR_FOR = boton("CMD_QUITAR_FOR", QStringLiteral("ELIMINAR"), Frame3, {7, 0, 100, 26});

    setTabOrder(CmbNombre, Command1);
    setTabOrder(Command1, TXT_ID_VIA_FOR);
    setTabOrder(TXT_ID_VIA_FOR, DT_FEC_FOR);
    setTabOrder(DT_FEC_FOR, DT_HORA_FOR);
    setTabOrder(DT_HORA_FOR, TXTOP);
    setTabOrder(TXTOP, CMDOP);
    setTabOrder(CMDOP, CMBALIM);
    setTabOrder(CMBALIM, CMDALIM);
    setTabOrder(CMDALIM, TXTKILOS);
    setTabOrder(TXTKILOS, TXT_OR_FOR);
    setTabOrder(TXT_OR_FOR, CMD_INS_FOR);

    connect(CmbNombre, &ComboEditable::elegido, this, &FrmViajes::CmbNombre_Click);
    connect(CmbNombre, &ComboEditable::teclaSoltada, this, &FrmViajes::CmbNombre_Click);
    connect(CMBALIM, &ComboEditable::elegido, this, &FrmViajes::CMBALIM_Click);
    connect(CMBALIM, &ComboEditable::teclaSoltada, this, &FrmViajes::CMBALIM_Click);
    connect(CMD_INS_FOR, &QPushButton::clicked, this, &FrmViajes::CMD_INS_FOR_Click);
    connect(CMD_QUITAR_FOR, &QPushButton::clicked, this, &FrmViajes::CMD_QUITAR_FOR_Click);
    connect(ListR, &QTreeWidget::itemDoubleClicked, this, &FrmViajes::ListR_DblClick);
    connect(Command1, &QPushButton::clicked, this, &FrmViajes::Command1_Click);
    connect(CMDALIM, &QPushButton::clicked, this, &FrmViajes::CMDALIM_Click);
    connect(CMDOP, &QPushButton::clicked, this, &FrmViajes::CMDOP_Click);

    resize(900, 640);
}

void FrmViajes::Form_Load() {
    ListaReporte::preparar(ListR,
                           {QStringLiteral("FECHA"), QStringLiteral("HORA"), QStringLiteral("Nº FORMULA"),
                            QStringLiteral("RECETA"), QStringLiteral("OPERARIO"), QStringLiteral("ALIMENTO"),
                            QStringLiteral("CANTIDAD"), QStringLiteral("ORDEN"), QStringLiteral("IDREC"),
                            QStringLiteral("IDALIM")},
                           Frame3->title());
    ListaReporte::preparar(LisTot, {QStringLiteral("Receta"), QStringLiteral("Cantidad")}, Frame2->title());
    LisTot->setColumnWidth(0, 180);
    Cargar_Alimento();
    Cargar_recetas();
    Cargar_Viajes();
    Comprobar_Totales();
}

void FrmViajes::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}

void FrmViajes::Form_Resize() {
    const int anchoMarco = std::max(0, width() - kMargenAncho);
    const int altoMarco = std::max(0, height() - kMargenAlto);
    Frame3->resize(anchoMarco, altoMarco);
    ListR->resize(std::max(0, anchoMarco - kMargenLista), std::max(0, altoMarco - kPieLista));
    CMD_QUITAR_FOR->move(CMD_QUITAR_FOR->x(),
                         std::max(0, altoMarco - CMD_QUITAR_FOR->height() - kMargenBoton));
}

void FrmViajes::Cargar_Alimento() {
    const PlanComun::Entradas r = PlanViajes::cargarAlimentos();
    CMBALIM->vaciar();
    if (r.filas.isEmpty() && !r.error) {
        // The edit text stays empty: only the header entry is there.
        CMBALIM->addItem(QStringLiteral("No Existen Alimentos"));
        CMBALIM->ponerTexto(QString());
        return;
    }
    CMBALIM->addItem(QStringLiteral("Alimentos Cargados"));
    for (const PlanComun::Entrada& e : r.filas)
        CMBALIM->addItem(e.texto, e.id);
    CMBALIM->ponerTexto(CMBALIM->itemText(0));
    CMBALIM->lineEdit()->selectAll();
    if (r.error)
        Dialogos::mostrar(this,
                          errorProcedimiento(r.error->numero, r.error->descripcion,
                                             QStringLiteral("Cargar_Alimento"), QStringLiteral("Form1")));
}

void FrmViajes::Cargar_recetas() {
    const PlanComun::Entradas r = PlanViajes::cargarRecetas();
    CmbNombre->vaciar();
    if (r.filas.isEmpty() && !r.error) {
        CmbNombre->addItem(QStringLiteral("No Existen Recetas"));
        CmbNombre->ponerTexto(CmbNombre->itemText(0));
        return;
    }
    CmbNombre->addItem(QStringLiteral("Recetas Cargadas"));
    for (const PlanComun::Entrada& e : r.filas)
        CmbNombre->addItem(e.texto, e.id);
    CmbNombre->ponerTexto(CmbNombre->itemText(0));
    CmbNombre->lineEdit()->selectAll();
    if (r.error)
        informar(this, *r.error, QStringLiteral("Cargar_recetas"));
}

void FrmViajes::Cargar_Viajes() {
    const bool cambiando = !ListR->isEnabled();
    lineaCambio_ = nullptr;
    ListR->clear();
    const PlanViajes::Lista r = PlanViajes::cargarViajes();
    QList<QTreeWidgetItem*> lineas;
    lineas.reserve(r.lineas.size());
    for (const PlanViajes::Linea& l : r.lineas)
        lineas.push_back(new QTreeWidgetItem(l.celdas()));
    ListR->addTopLevelItems(lineas);
    if (cambiando) {
        // The row under change, found again by its triple; when it is gone the next store adds.
        for (QTreeWidgetItem* l : std::as_const(lineas)) {
            if (l->text(cViaje).toInt() == Id_Viaje_Ant && l->text(cIdRec).toInt() == Id_Receta_Ant &&
                l->text(cIdAlim).toInt() == Id_Alim_Ant) {
                lineaCambio_ = l;
                l->setSelected(true);
                break;
            }
        }
    }
    Id_Receta = 0;
    Id_Alim = 0;
    if (r.error)
        informar(this, *r.error, QStringLiteral("Cargar_Viajes"));
}

void FrmViajes::Comprobar_Totales() {
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

void FrmViajes::ponerTipoCarga(bool kilos) {
    Label8->setText(kilos ? kKilos : kPorcentaje);
    Label15->setText(kilos ? kNotaKilos : QString());
    Accesible::conEtiqueta(TXTKILOS, Label8);
}

void FrmViajes::CmbNombre_Click() {
    const QVariant id = CmbNombre->idElegido();
    if (!id.isValid()) {
        Id_Receta = 0;
        return;
    }
    Id_Receta = id.toLongLong();
    const PlanComun::TipoCarga t = PlanViajes::tipoDeReceta(Id_Receta);
    if (t.error) {
        Id_Receta = 0;
        return;
    }
    if (t.encontrado)
        ponerTipoCarga(t.kilos);
}

void FrmViajes::CMBALIM_Click() {
    const QVariant id = CMBALIM->idElegido();
    Id_Alim = id.isValid() ? id.toLongLong() : 0;
}

void FrmViajes::llenarLinea(QTreeWidgetItem* l, int viaje, int operario, double cantidad, int orden) const {
    l->setText(cFecha, DT_FEC_FOR->date().toString(PlanComun::kFormatoFechaLista));
    l->setText(cHora, DT_HORA_FOR->time().toString(PlanComun::kFormatoHora));
    l->setText(cViaje, QString::number(viaje));
    l->setText(cReceta, CmbNombre->currentText());
    l->setText(cOperario, QString::number(operario));
    l->setText(cAlimento, CMBALIM->currentText());
    const QString unidad =
        Label8->text() == kKilos ? PlanViajes::kUnidadKilos : PlanViajes::kUnidadPorcentaje;
    l->setText(cCantidad, Texto::numeroRegional(cantidad) + u' ' + unidad);
    l->setText(cOrden, QString::number(orden));
    l->setText(cIdRec, QString::number(Id_Receta));
    l->setText(cIdAlim, QString::number(Id_Alim));
}

void FrmViajes::CMD_INS_FOR_Click() {
    if (TXT_ID_VIA_FOR->text().isEmpty() || CmbNombre->currentText().isEmpty() ||
        CMBALIM->currentText().isEmpty() || TXTKILOS->text().isEmpty() || TXT_OR_FOR->text().isEmpty() ||
        TXTOP->text().isEmpty() || Id_Receta == 0 || Id_Alim == 0) {
        Dialogos::mostrar(this, Mensaje{kCompletar});
        return;
    }
    // Everything is checked before anything is written or listed.
    auto rehusar = [this](const Mensaje& m, QWidget* campo) {
        Dialogos::mostrar(this, m);
        campo->setFocus();
    };
    const std::optional<int> viaje = Validacion::entero16(TXT_ID_VIA_FOR->text());
    if (!viaje)
        return rehusar(Validacion::enteroInvalido(Validacion::nombreCampo(Label2->text())), TXT_ID_VIA_FOR);
    const std::optional<int> operario = Validacion::entero16(TXTOP->text());
    if (!operario)
        return rehusar(Validacion::enteroInvalido(Validacion::nombreCampo(Label5->text())), TXTOP);
    double cantidad = 0;
    if (!Texto::leerNumeroUsuario(TXTKILOS->text(), &cantidad))
        return rehusar(Validacion::numeroInvalido(Validacion::nombreCampo(Label8->text())), TXTKILOS);
    const std::optional<int> orden = Validacion::entero16(TXT_OR_FOR->text());
    if (!orden)
        return rehusar(Validacion::enteroInvalido(Validacion::nombreCampo(Label7->text())), TXT_OR_FOR);
    if (!Validacion::cabeEn16(Id_Receta))
        return rehusar(Validacion::idFueraDeRango(QStringLiteral("La receta elegida"), Id_Receta), CmbNombre);
    if (!Validacion::cabeEn16(Id_Alim))
        return rehusar(Validacion::idFueraDeRango(QStringLiteral("El alimento elegido"), Id_Alim), CMBALIM);

    const PlanViajes::Fila fila{*viaje,
                                DT_FEC_FOR->date(),
                                DT_HORA_FOR->time().toString(PlanComun::kFormatoHora),
                                static_cast<int>(Id_Receta),
                                *operario,
                                static_cast<int>(Id_Alim),
                                cantidad,
                                *orden};

    // The line under change was deleted meanwhile: there is nothing left to change, so this adds.
    if (!ListR->isEnabled() && !lineaCambio_)
        ListR->setEnabled(true);

    if (ListR->isEnabled()) {
        if (auto e = PlanViajes::insertar(fila))
            return informar(this, *e, QStringLiteral("CMD_INS_FOR_Click"));
        auto* linea = new QTreeWidgetItem;
        llenarLinea(linea, fila.viaje, fila.idOperario, fila.cantidad, fila.orden);
        ListR->addTopLevelItem(linea);
    } else {
        const PlanComun::Cambio c = PlanViajes::cambiar({Id_Viaje_Ant, Id_Receta_Ant, Id_Alim_Ant}, fila);
        if (c.error)
            return informar(this, *c.error, QStringLiteral("CMD_INS_FOR_Click"));
        if (!c.encontrado) {
            Dialogos::mostrar(this, Mensaje{QStringLiteral("NO SE ENCONTRO EL VIAJE SELECCIONADO"),
                                            Icono::Critico, QStringLiteral("ERROR")});
            return;
        }
        llenarLinea(lineaCambio_, fila.viaje, fila.idOperario, fila.cantidad, fila.orden);
    }
    CMBALIM->setFocus();
    lineaCambio_ = nullptr;
    ListR->setEnabled(true);
    Comprobar_Totales();
}

void FrmViajes::CMD_QUITAR_FOR_Click() {
    const int n = ListR->topLevelItemCount();
    if (n == 0)
        return;
    const Mensaje pregunta{QStringLiteral("Desea quitar los detalles seleccionados"), Icono::Exclamacion,
                           kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, pregunta) == Respuesta::Si) {
        QList<QTreeWidgetItem*> lineas;
        QList<PlanViajes::Clave> claves;
        for (int i = n - 1; i >= 0; --i) {
            QTreeWidgetItem* l = ListR->topLevelItem(i);
            if (!l->isSelected())
                continue;
            lineas.push_back(l);
            claves.push_back({l->text(cViaje).toInt(), l->text(cIdRec).toInt(), l->text(cIdAlim).toInt()});
        }
        if (!claves.isEmpty()) {
            // All the rows go or none does, so the list always matches the table.
            if (auto e = PlanViajes::eliminar(claves))
                return informar(this, *e, QStringLiteral("CMD_QUITAR_FOR_Click"));
            for (QTreeWidgetItem* l : std::as_const(lineas)) {
                if (l == lineaCambio_)
                    lineaCambio_ = nullptr;
                delete l;
            }
        }
    }
    Comprobar_Totales();
}

void FrmViajes::ListR_DblClick() {
    QTreeWidgetItem* l = ListR->currentItem();
    if (!l || !l->isSelected()) {
        const QList<QTreeWidgetItem*> elegidas = ListR->selectedItems();
        l = elegidas.isEmpty() ? nullptr : elegidas.first();
    }
    if (!l)
        return;
    const QDate fecha = PlanComun::fechaDeLista(l->text(cFecha));
    if (fecha.isValid())
        DT_FEC_FOR->setDate(fecha);
    const QTime hora = horaDeLista(l->text(cHora));
    if (hora.isValid())
        DT_HORA_FOR->setTime(hora);
    TXT_ID_VIA_FOR->setText(l->text(cViaje));
    CmbNombre->ponerTexto(l->text(cReceta));
    TXTOP->setText(l->text(cOperario));
    CMBALIM->ponerTexto(l->text(cAlimento));
    QString cantidad = l->text(cCantidad);
    cantidad.remove(PlanViajes::kUnidadKilos).remove(PlanViajes::kUnidadPorcentaje);
    TXTKILOS->setText(cantidad.trimmed());
    TXT_OR_FOR->setText(l->text(cOrden));

    Id_Receta = l->text(cIdRec).toLongLong();
    Id_Alim = l->text(cIdAlim).toLongLong();
    Id_Viaje_Ant = TXT_ID_VIA_FOR->text().toInt();
    Id_Receta_Ant = static_cast<int>(Id_Receta);
    Id_Alim_Ant = static_cast<int>(Id_Alim);

    const PlanComun::TipoCarga t = PlanViajes::tipoDeReceta(Id_Receta);
    if (t.error)
        return informar(this, *t.error, QStringLiteral("ListR_DblClick"));
    if (t.encontrado)
        ponerTipoCarga(t.kilos);
    lineaCambio_ = l;
    ListR->setEnabled(false);
}

void FrmViajes::Command1_Click() {
    const QString previo = CmbNombre->currentText();
    Tabla_ABM = QStringLiteral("Recetas");
    {
        FrmAgregarRec editor(QStringLiteral("ABM Recetas"), this);
        editor.exec();
    }
    Cargar_recetas();
    CmbNombre->ponerTexto(previo);
    Cargar_Viajes();
    Comprobar_Totales();
}

void FrmViajes::CMDALIM_Click() {
    const QString previo = CMBALIM->currentText();
    Tabla_ABM = QStringLiteral("Alimentos");
    {
        FrmAgregar editor(QStringLiteral("ABM Alimento"), this);
        editor.exec();
    }
    Cargar_Alimento();
    CMBALIM->ponerTexto(previo);
}

void FrmViajes::CMDOP_Click() {
    Tabla_ABM = QStringLiteral("Operarios");
    FrmAgregar editor(QStringLiteral("ABM Operarios"), this);
    editor.exec();
}
