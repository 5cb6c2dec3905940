#include "plan/FrmViajes.h"

#include "catalog/FrmAgregar.h"
#include "catalog/FrmAgregarRec.h"
#include "db/Compartido.h"
#include "plan/PlanViajes.h"
#include "ui/Accesible.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"
#include "ui/EntradaFechaHora.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

using namespace Controles;
using PlanComun::Unidad;

namespace {
const QString kKilos = QStringLiteral("KILOS:");
const QString kPorcentaje = QStringLiteral("Porc.:");
const QString kNotaKilos = QStringLiteral("estos deben pasarse en base 100");

enum Columna { cFecha, cHora, cViaje, cReceta, cOperario, cAlimento, cCantidad, cOrden, cIdRec, cIdAlim };

// The catalogue editors work on the table named in `Tabla_ABM`.
template <typename Editor> void abrirEditor(QWidget* padre, const QString& tabla, const QString& titulo) {
    Tabla_ABM = tabla;
    Editor editor(titulo, padre);
    editor.exec();
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

FrmViajes::FrmViajes(QWidget* parent)
    : VentanaPlan({"FrmViajes", QStringLiteral("RECETAS"), 240, Unidad::Kilos}, parent) {
    Frame1 = marco("Frame1", QStringLiteral("DATOS RELATIVOS A LA RECETA"), this, {10, 5, 560, 125});
    Label1 = etiqueta("Label1", QStringLiteral("NOMBRE DE RECETA:"), Frame1, {10, 22, 130, 24});
    CmbNombre = combo("CmbNombre", Label1, Frame1, {145, 22, 330, 24});
    Command1 = boton("Command1", QStringLiteral("?"), Frame1, {480, 22, 30, 24});
    Command1->setAccessibleDescription(QStringLiteral("Abre el editor de recetas"));
    Label2 = etiqueta("Label2", QStringLiteral("Nº FORMULA:"), Frame1, {10, 55, 130, 24});
    TXT_ID_VIA_FOR = caja("TXT_ID_VIA_FOR", Label2, Frame1, {145, 55, 80, 24});
    Label3 = etiqueta("Label3", QStringLiteral("FECHA:"), Frame1, {240, 55, 50, 24});
    DT_FEC_FOR = fecha("DT_FEC_FOR", QDate::currentDate(), Label3, Frame1, {290, 55, 110, 24});
    Label4 = etiqueta("Label4", QStringLiteral("HORARIO:"), Frame1, {405, 55, 65, 24});
    const QTime ahora = QTime::currentTime();
    DT_HORA_FOR = new QTimeEdit(QTime(ahora.hour(), ahora.minute()), Frame1);
    DT_HORA_FOR->setObjectName(QStringLiteral("DT_HORA_FOR"));
    DT_HORA_FOR->setDisplayFormat(PlanComun::kFormatoHora);
    DT_HORA_FOR->setGeometry(470, 55, 80, 24);
    Accesible::conEtiqueta(DT_HORA_FOR, Label4);
    EntradaFechaHora::desdeElPrincipio(DT_HORA_FOR);
    Label5 = etiqueta("Label5", QStringLiteral("ID_OPERARIO:"), Frame1, {10, 88, 130, 24});
    TXTOP = caja("TXTOP", Label5, Frame1, {145, 88, 80, 24});
    CMDOP = boton("CMDOP", QStringLiteral("?"), Frame1, {230, 88, 30, 24});
    CMDOP->setAccessibleDescription(QStringLiteral("Abre el editor de operarios"));
    CmdImprimir = boton("CmdImprimir", QStringLiteral("IMPRIMIR"), Frame1, {450, 86, 100, 28});
    CmdImprimir->setAccessibleDescription(QStringLiteral("Imprime la planilla de carga del día"));

    Frame6 = marco("Frame6", QStringLiteral("Alimentos de la Receta"), this, {10, 135, 560, 85});
    Label6 = etiqueta("Label6", QStringLiteral("ALIMENTO:"), Frame6, {10, 22, 80, 24});
    CMBALIM = combo("CMBALIM", Label6, Frame6, {95, 22, 300, 24});
    CMDALIM = boton("CMDALIM", QStringLiteral("?"), Frame6, {400, 22, 30, 24});
    CMDALIM->setAccessibleDescription(QStringLiteral("Abre el editor de alimentos"));
    CMD_INS_FOR = boton("CMD_INS_FOR", QStringLiteral("INSERTAR"), Frame6, {450, 20, 100, 28});
    Label8 = etiqueta("Label8", kKilos, Frame6, {10, 53, 80, 24});
    TXTKILOS = caja("TXTKILOS", Label8, Frame6, {95, 53, 80, 24});
    Label15 = etiqueta("Label15", kNotaKilos, Frame6, {180, 47, 205, 36});
    Label15->setWordWrap(true); // the note must fit beside the amount whatever the font
    Label7 = etiqueta("Label7", QStringLiteral("ORDEN:"), Frame6, {390, 53, 50, 24});
    TXT_OR_FOR = caja("TXT_OR_FOR", Label7, Frame6, {445, 53, 50, 24});
    construirCantidad(Label8, TXTKILOS, kKilos, kPorcentaje);

    construirTotales("Frame2", 215);
    construirLista({225, QStringLiteral("RECETAS CARGADAS"), "ListR", "CMD_QUITAR_FOR",
                    [this] { CMD_QUITAR_FOR_Click(); }, [this](QTreeWidgetItem* l) { ListR_DblClick(l); }});

    ordenTabulacion({CmbNombre, Command1, TXT_ID_VIA_FOR, DT_FEC_FOR, DT_HORA_FOR, TXTOP, CMDOP, CMBALIM,
                     CMDALIM, TXTKILOS, TXT_OR_FOR, CMD_INS_FOR});

    alElegir(CmbNombre, [this] { CmbNombre_Click(); });
    alElegir(CMBALIM, [this] { CMBALIM_Click(); });
    connect(CMD_INS_FOR, &QPushButton::clicked, this, &FrmViajes::CMD_INS_FOR_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmViajes::Command1_Click);
    connect(CMDALIM, &QPushButton::clicked, this, &FrmViajes::CMDALIM_Click);
    connect(CMDOP, &QPushButton::clicked, this, &FrmViajes::CMDOP_Click);
    connect(CmdImprimir, &QPushButton::clicked, this, [this] { Q_EMIT imprimirPedido(DT_FEC_FOR->date()); });

    // The header's controls and a few lines of the list are never cut.
    setMinimumSize(900, 480);
    resize(900, 640);
    Form_Load();
}

void FrmViajes::Form_Load() {
    prepararListas({QStringLiteral("FECHA"), QStringLiteral("HORA"), QStringLiteral("Nº FORMULA"),
                    QStringLiteral("RECETA"), QStringLiteral("OPERARIO"), QStringLiteral("ALIMENTO"),
                    QStringLiteral("CANTIDAD"), QStringLiteral("ORDEN"), QStringLiteral("IDREC"),
                    QStringLiteral("IDALIM")});
    // The ids travel with the line for change and delete; the user picks by name.
    lista_->setColumnHidden(cIdRec, true);
    lista_->setColumnHidden(cIdAlim, true);
    Cargar_Alimento();
    Cargar_recetas();
    Cargar_Viajes();
    Comprobar_Totales();
}

void FrmViajes::Cargar_Alimento() {
    const PlanComun::Entradas r = PlanViajes::cargarAlimentos();
    // With no feeds the edit text stays empty: only the header entry is there.
    if (auto e = llenarCombo(CMBALIM, r, QStringLiteral("No Existen Alimentos"),
                             QStringLiteral("Alimentos Cargados"), true))
        Dialogos::mostrar(this,
                          errorProcedimiento(e->numero, e->descripcion, QStringLiteral("Cargar_Alimento"),
                                             QStringLiteral("Form1")));
}

void FrmViajes::Cargar_recetas() {
    const PlanComun::Entradas r = PlanViajes::cargarRecetas();
    if (auto e = llenarCombo(CmbNombre, r, QStringLiteral("No Existen Recetas"),
                             QStringLiteral("Recetas Cargadas")))
        informar(*e, QStringLiteral("Cargar_recetas"));
}

void FrmViajes::Cargar_Viajes() {
    const PlanViajes::Lista r = PlanViajes::cargarViajes();
    listar(r.lineas);
    Id_Receta = 0;
    Id_Alim = 0;
    if (r.error)
        informar(*r.error, QStringLiteral("Cargar_Viajes"));
}

void FrmViajes::ponerUnidad(Unidad u) {
    VentanaPlan::ponerUnidad(u);
    Label15->setText(u == Unidad::Kilos ? kNotaKilos : QString());
}

void FrmViajes::CmbNombre_Click() {
    Id_Receta = elegido(CmbNombre, PlanViajes::tipoDeReceta);
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
    l->setText(cCantidad, textoCantidad(cantidad));
    l->setText(cOrden, QString::number(orden));
    l->setText(cIdRec, QString::number(Id_Receta));
    l->setText(cIdAlim, QString::number(Id_Alim));
    ponerClave(l, PlanViajes::Clave{viaje, static_cast<int>(Id_Receta), static_cast<int>(Id_Alim)});
}

void FrmViajes::CMD_INS_FOR_Click() {
    if (TXT_ID_VIA_FOR->text().isEmpty() || CmbNombre->currentText().isEmpty() ||
        CMBALIM->currentText().isEmpty() || TXTKILOS->text().isEmpty() || TXT_OR_FOR->text().isEmpty() ||
        TXTOP->text().isEmpty() || Id_Receta == 0 || Id_Alim == 0)
        return pedirCompletar();
    // Everything is checked before anything is written or listed.
    int viaje = 0, operario = 0, orden = 0;
    double cantidad = 0;
    if (!entero(TXT_ID_VIA_FOR, Label2, &viaje) || !entero(TXTOP, Label5, &operario) ||
        !cantidadValida(TXTKILOS, Label8, &cantidad) || !entero(TXT_OR_FOR, Label7, &orden) ||
        !idEnRango(Id_Receta, QStringLiteral("La receta elegida"), CmbNombre) ||
        !idEnRango(Id_Alim, QStringLiteral("El alimento elegido"), CMBALIM))
        return;
    // What the row points at must be there: the upload leaves out rows whose ends are gone.
    using Validacion::Referencia;
    const QString proc = QStringLiteral("CMD_INS_FOR_Click");
    if (!existente(Referencia::Operario, operario, TXTOP, proc) ||
        !existente(Referencia::Receta, Id_Receta, CmbNombre, proc) ||
        !existente(Referencia::Alimento, Id_Alim, CMBALIM, proc))
        return;
    const PlanViajes::Fila fila{viaje,
                                DT_FEC_FOR->date(),
                                DT_HORA_FOR->time().toString(PlanComun::kFormatoHora),
                                static_cast<int>(Id_Receta),
                                operario,
                                static_cast<int>(Id_Alim),
                                cantidad,
                                orden};

    guardar(
        Guardado<PlanViajes::Fila, PlanViajes::Clave>{
            PlanViajes::insertar, PlanViajes::cambiar, fila,
            [&](QTreeWidgetItem* l) {
                llenarLinea(l, fila.viaje, fila.idOperario, fila.cantidad, fila.orden);
            },
            QStringLiteral("NO SE ENCONTRO EL VIAJE SELECCIONADO"), CMBALIM},
        QStringLiteral("CMD_INS_FOR_Click"));
}

void FrmViajes::CMD_QUITAR_FOR_Click() {
    quitar(PlanViajes::eliminar, QStringLiteral("CMD_QUITAR_FOR_Click"));
}

void FrmViajes::ListR_DblClick(QTreeWidgetItem* l) {
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
    TXTKILOS->setText(cantidadSinUnidad(l->text(cCantidad)));
    TXT_OR_FOR->setText(l->text(cOrden));

    const auto k = clave<PlanViajes::Clave>(l);
    Id_Receta = k.idReceta;
    Id_Alim = k.idAlimento;
    empezarCambio(l, PlanViajes::tipoDeReceta(Id_Receta), QStringLiteral("ListR_DblClick"));
}

void FrmViajes::Command1_Click() {
    const QString previo = CmbNombre->currentText();
    abrirEditor<FrmAgregarRec>(this, QStringLiteral("Recetas"), QStringLiteral("ABM Recetas"));
    Cargar_recetas();
    CmbNombre->ponerTexto(previo);
    Cargar_Viajes();
    Comprobar_Totales();
}

void FrmViajes::CMDALIM_Click() {
    const QString previo = CMBALIM->currentText();
    abrirEditor<FrmAgregar>(this, QStringLiteral("Alimentos"), QStringLiteral("ABM Alimento"));
    Cargar_Alimento();
    CMBALIM->ponerTexto(previo);
}

void FrmViajes::CMDOP_Click() {
    abrirEditor<FrmAgregar>(this, QStringLiteral("Operarios"), QStringLiteral("ABM Operarios"));
}
