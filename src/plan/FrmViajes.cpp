#include "plan/FrmViajes.h"

#include "catalog/FrmAgregar.h"
#include "catalog/FrmAgregarRec.h"
#include "core/Texto.h"
#include "plan/ArchivoViajes.h"
#include "plan/CopiaViajes.h"
#include "plan/PlanViajes.h"
#include "ui/Accesible.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"
#include "ui/EntradaFechaHora.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTreeWidget>

using namespace Controles;
using PlanComun::Unidad;

namespace {
const QString kKilos = QStringLiteral("KILOS:");
const QString kPorcentaje = QStringLiteral("Porc.:");
const QString kNotaKilos = QStringLiteral("estos deben pasarse en base 100");

enum Columna { cFecha, cHora, cViaje, cReceta, cOperario, cAlimento, cCantidad, cOrden, cIdRec, cIdAlim };
// The proposal: the feed (checked to be stored, its id as data), its amount and its order.
enum ColumnaPropuesta { pAlimento, pCantidad, pOrden };
constexpr int kDato = Qt::UserRole;

// Opens the catalogue editor of `tabla` modally (the recipes' one shows the load type too).
void abrirEditor(QWidget* padre, const QString& tabla, const QString& titulo) {
    if (tabla == QLatin1String("Recetas")) {
        FrmAgregarRec editor(titulo, padre);
        editor.exec();
    } else {
        FrmAgregar editor(tabla, titulo, padre);
        editor.exec();
    }
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
    : VentanaPlan({"FrmViajes", QStringLiteral("RECETAS"), 395, Unidad::Kilos}, parent) {
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

    FramePropuesta = marco("FramePropuesta", QStringLiteral("Alimentos del último viaje de la receta"), this,
                           {10, 225, 560, 150});
    ListPropuesta = new QTableWidget(0, 3, FramePropuesta);
    ListPropuesta->setObjectName(QStringLiteral("ListPropuesta"));
    ListPropuesta->setGeometry(8, 20, 420, 122);
    ListPropuesta->setHorizontalHeaderLabels(
        {QStringLiteral("ALIMENTO"), QStringLiteral("CANTIDAD"), QStringLiteral("ORDEN")});
    ListPropuesta->verticalHeader()->setVisible(false);
    ListPropuesta->horizontalHeader()->setSectionResizeMode(pAlimento, QHeaderView::Stretch);
    ListPropuesta->setAccessibleName(FramePropuesta->title());
    ListPropuesta->setAccessibleDescription(QStringLiteral(
        "Los alimentos marcados se guardan juntos con INSERTAR VIAJE; cantidad y orden se pueden "
        "cambiar antes"));
    CMD_INS_VIAJE =
        boton("CMD_INS_VIAJE", QStringLiteral("INSERTAR VIAJE"), FramePropuesta, {436, 20, 116, 28});
    CMD_INS_VIAJE->setEnabled(false);

    construirTotales("Frame2", 370);
    construirLista({380, QStringLiteral("RECETAS CARGADAS"), "ListR", "CMD_QUITAR_FOR",
                    [this] { quitarFormula(); }, [this](QTreeWidgetItem* l) { editarLineaViaje(l); }});
    CMD_COPIAR_VIAJE = botonAlPie("CMD_COPIAR_VIAJE", QStringLiteral("COPIAR VIAJE"), 120);
    CMD_COPIAR_VIAJE->setAccessibleDescription(
        QStringLiteral("Copia el viaje de la línea elegida a la fecha de FECHA"));
    CMD_COPIAR_DIA = botonAlPie("CMD_COPIAR_DIA", QStringLiteral("COPIAR DÍA"), 120);
    CMD_COPIAR_DIA->setAccessibleDescription(
        QStringLiteral("Copia todos los viajes del día de la línea elegida a la fecha de FECHA"));

    CMD_ARCHIVAR = botonAlPie("CMD_ARCHIVAR", QStringLiteral("ARCHIVAR ANTERIORES"), 170);
    CMD_ARCHIVAR->setAccessibleDescription(QStringLiteral(
        "Saca de la lista y del envío los viajes anteriores a la fecha de FECHA; se pueden recuperar"));
    CMD_RECUPERAR = botonAlPie("CMD_RECUPERAR", QStringLiteral("RECUPERAR ARCHIVADOS"), 170);
    CMD_RECUPERAR->setAccessibleDescription(
        QStringLiteral("Devuelve a la lista todos los viajes archivados"));

    ordenTabulacion({CmbNombre, Command1, TXT_ID_VIA_FOR, DT_FEC_FOR, DT_HORA_FOR, TXTOP, CMDOP, CMBALIM,
                     CMDALIM, TXTKILOS, TXT_OR_FOR, CMD_INS_FOR, ListPropuesta, CMD_INS_VIAJE});

    alElegir(CmbNombre, [this] { alElegirReceta(); });
    alElegir(CMBALIM, [this] { alElegirAlimento(); });
    connect(CMD_INS_FOR, &QPushButton::clicked, this, &FrmViajes::agregarFormula);
    connect(Command1, &QPushButton::clicked, this, &FrmViajes::abrirRecetas);
    connect(CMDALIM, &QPushButton::clicked, this, &FrmViajes::abrirAlimentos);
    connect(CMDOP, &QPushButton::clicked, this, &FrmViajes::abrirOperarios);
    connect(CmdImprimir, &QPushButton::clicked, this, [this] { Q_EMIT imprimirPedido(DT_FEC_FOR->date()); });
    connect(CMD_INS_VIAJE, &QPushButton::clicked, this, &FrmViajes::insertarViaje);
    connect(CMD_COPIAR_VIAJE, &QPushButton::clicked, this, &FrmViajes::copiarViaje);
    connect(CMD_COPIAR_DIA, &QPushButton::clicked, this, &FrmViajes::copiarDia);
    connect(CMD_ARCHIVAR, &QPushButton::clicked, this, &FrmViajes::archivar);
    connect(CMD_RECUPERAR, &QPushButton::clicked, this, &FrmViajes::recuperar);

    // The header's controls and a few lines of the list are never cut.
    setMinimumSize(900, 640);
    resize(900, 700); // fits a 1366x768 screen with its taskbar
    alAbrir();
}

void FrmViajes::alAbrir() {
    prepararListas({QStringLiteral("FECHA"), QStringLiteral("HORA"), QStringLiteral("Nº FORMULA"),
                    QStringLiteral("RECETA"), QStringLiteral("OPERARIO"), QStringLiteral("ALIMENTO"),
                    QStringLiteral("CANTIDAD"), QStringLiteral("ORDEN"), QStringLiteral("IDREC"),
                    QStringLiteral("IDALIM")});
    // The ids travel with the line for change and delete; the user picks by name.
    lista_->setColumnHidden(cIdRec, true);
    lista_->setColumnHidden(cIdAlim, true);
    cargarAlimentos();
    cargarRecetas();
    cargarViajes();
    comprobarTotales();
}

void FrmViajes::cargarAlimentos() {
    const PlanComun::Entradas r = PlanViajes::cargarAlimentos();
    // With no feeds the edit text stays empty: only the header entry is there.
    if (auto e = llenarCombo(CMBALIM, r, QStringLiteral("No Existen Alimentos"),
                             QStringLiteral("Alimentos Cargados"), true))
        Dialogos::mostrar(this,
                          errorProcedimiento(e->numero, e->descripcion, QStringLiteral("Cargar_Alimento"),
                                             QStringLiteral("Form1")));
}

void FrmViajes::cargarRecetas() {
    const PlanComun::Entradas r = PlanViajes::cargarRecetas();
    if (auto e = llenarCombo(CmbNombre, r, QStringLiteral("No Existen Recetas"),
                             QStringLiteral("Recetas Cargadas")))
        informar(*e, QStringLiteral("Cargar_recetas"));
}

void FrmViajes::cargarViajes() {
    const PlanViajes::Lista r = PlanViajes::cargarViajes();
    listar(r.lineas);
    for (int i = 0; i < lista_->topLevelItemCount() && i < r.lineas.size(); ++i)
        lista_->topLevelItem(i)->setData(cOperario, kDato, r.lineas.at(i).idOperario);
    idRecetaActual = 0;
    idAlimentoActual = 0;
    if (r.error)
        informar(*r.error, QStringLiteral("Cargar_Viajes"));
}

void FrmViajes::ponerUnidad(Unidad u) {
    VentanaPlan::ponerUnidad(u);
    Label15->setText(u == Unidad::Kilos ? kNotaKilos : QString());
}

void FrmViajes::alElegirReceta() {
    idRecetaActual = elegido(CmbNombre, PlanViajes::tipoDeReceta);
    // A new trip starts from the recipe's last one; a row under change keeps its own feed.
    proponer(lista_->isEnabled() ? idRecetaActual : 0);
}

void FrmViajes::proponer(qint64 idReceta) {
    ListPropuesta->setRowCount(0);
    CMD_INS_VIAJE->setEnabled(false);
    if (idReceta == 0)
        return;
    const PlanViajes::Propuestas p = PlanViajes::ultimoViaje(idReceta);
    if (p.error)
        return informar(*p.error, QStringLiteral("CmbNombre_Click"));
    ListPropuesta->setRowCount(static_cast<int>(p.filas.size()));
    for (int i = 0; i < p.filas.size(); ++i) {
        const PlanViajes::Propuesta& f = p.filas.at(i);
        auto* alimento = new QTableWidgetItem(f.alimento);
        alimento->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        alimento->setCheckState(Qt::Checked);
        alimento->setData(kDato, f.idAlimento);
        ListPropuesta->setItem(i, pAlimento, alimento);
        ListPropuesta->setItem(i, pCantidad, new QTableWidgetItem(Texto::numeroRegional(f.cantidad)));
        ListPropuesta->setItem(i, pOrden, new QTableWidgetItem(QString::number(f.orden)));
    }
    CMD_INS_VIAJE->setEnabled(!p.filas.isEmpty());
}

void FrmViajes::alElegirAlimento() {
    const QVariant id = CMBALIM->idElegido();
    idAlimentoActual = id.isValid() ? id.toLongLong() : 0;
}

void FrmViajes::llenarLinea(QTreeWidgetItem* l, int viaje, int operario, const Alimento& alimento,
                            double cantidad, int orden) const {
    l->setText(cFecha, DT_FEC_FOR->date().toString(PlanComun::kFormatoFechaLista));
    l->setText(cHora, DT_HORA_FOR->time().toString(PlanComun::kFormatoHora));
    l->setText(cViaje, QString::number(viaje));
    l->setText(cReceta, CmbNombre->currentText());
    l->setText(cOperario, PlanViajes::nombreOperario(operario));
    l->setData(cOperario, kDato, operario);
    l->setText(cAlimento, alimento.nombre);
    l->setText(cCantidad, textoCantidad(cantidad));
    l->setText(cOrden, QString::number(orden));
    l->setText(cIdRec, QString::number(idRecetaActual));
    l->setText(cIdAlim, QString::number(alimento.id));
    ponerClave(l, PlanViajes::Clave{viaje, static_cast<int>(idRecetaActual), static_cast<int>(alimento.id)});
}

bool FrmViajes::fechaValida() {
    // A day the month lacks was turned into another by the date box: the rows would be stored
    // on a day nobody typed.
    const QString imposible = DT_FEC_FOR->imposible();
    if (imposible.isEmpty())
        return true;
    rehusar(Validacion::fechaInexistente(imposible), DT_FEC_FOR);
    return false;
}

bool FrmViajes::cabeceraValida(int* viaje, int* operario) {
    return fechaValida() && entero(TXT_ID_VIA_FOR, Label2, viaje) && entero(TXTOP, Label5, operario) &&
           idEnRango(idRecetaActual, QStringLiteral("La receta elegida"), CmbNombre) &&
           existente(Validacion::Referencia::Operario, *operario, TXTOP,
                     QStringLiteral("CMD_INS_FOR_Click")) &&
           existente(Validacion::Referencia::Receta, idRecetaActual, CmbNombre,
                     QStringLiteral("CMD_INS_FOR_Click"));
}

void FrmViajes::agregarFormula() {
    if (TXT_ID_VIA_FOR->text().isEmpty() || CmbNombre->currentText().isEmpty() ||
        CMBALIM->currentText().isEmpty() || TXTKILOS->text().isEmpty() || TXT_OR_FOR->text().isEmpty() ||
        TXTOP->text().isEmpty() || idRecetaActual == 0 || idAlimentoActual == 0)
        return pedirCompletar();
    // Everything is checked before anything is written or listed.
    if (!fechaValida())
        return;
    int viaje = 0, operario = 0, orden = 0;
    double cantidad = 0;
    if (!entero(TXT_ID_VIA_FOR, Label2, &viaje) || !entero(TXTOP, Label5, &operario) ||
        !cantidadValida(TXTKILOS, Label8, &cantidad) || !entero(TXT_OR_FOR, Label7, &orden) ||
        !idEnRango(idRecetaActual, QStringLiteral("La receta elegida"), CmbNombre) ||
        !idEnRango(idAlimentoActual, QStringLiteral("El alimento elegido"), CMBALIM))
        return;
    // What the row points at must be there: the upload leaves out rows whose ends are gone.
    using Validacion::Referencia;
    const QString proc = QStringLiteral("CMD_INS_FOR_Click");
    if (!existente(Referencia::Operario, operario, TXTOP, proc) ||
        !existente(Referencia::Receta, idRecetaActual, CmbNombre, proc) ||
        !existente(Referencia::Alimento, idAlimentoActual, CMBALIM, proc))
        return;
    const PlanViajes::Fila fila{viaje,
                                DT_FEC_FOR->date(),
                                DT_HORA_FOR->time().toString(PlanComun::kFormatoHora),
                                static_cast<int>(idRecetaActual),
                                operario,
                                static_cast<int>(idAlimentoActual),
                                cantidad,
                                orden};

    guardar(
        Guardado<PlanViajes::Fila, PlanViajes::Clave>{
            PlanViajes::insertar, PlanViajes::cambiar, fila,
            [&](QTreeWidgetItem* l) {
                llenarLinea(l, fila.viaje, fila.idOperario, {idAlimentoActual, CMBALIM->currentText()},
                            fila.cantidad, fila.orden);
            },
            QStringLiteral("NO SE ENCONTRO EL VIAJE SELECCIONADO"), CMBALIM},
        QStringLiteral("CMD_INS_FOR_Click"));
}

void FrmViajes::quitarFormula() {
    quitar(PlanViajes::eliminar, QStringLiteral("CMD_QUITAR_FOR_Click"));
}

void FrmViajes::editarLineaViaje(QTreeWidgetItem* l) {
    const QDate fecha = PlanComun::fechaDeLista(l->text(cFecha));
    if (fecha.isValid())
        DT_FEC_FOR->setDate(fecha);
    const QTime hora = horaDeLista(l->text(cHora));
    if (hora.isValid())
        DT_HORA_FOR->setTime(hora);
    TXT_ID_VIA_FOR->setText(l->text(cViaje));
    CmbNombre->ponerTexto(l->text(cReceta));
    const QVariant operario = l->data(cOperario, kDato);
    TXTOP->setText(operario.isValid() ? operario.toString() : l->text(cOperario));
    proponer(0); // the row under change is one feed, not a new trip
    CMBALIM->ponerTexto(l->text(cAlimento));
    TXTKILOS->setText(cantidadSinUnidad(l->text(cCantidad)));
    TXT_OR_FOR->setText(l->text(cOrden));

    const auto k = clave<PlanViajes::Clave>(l);
    idRecetaActual = k.idReceta;
    idAlimentoActual = k.idAlimento;
    empezarCambio(l, PlanViajes::tipoDeReceta(idRecetaActual), QStringLiteral("ListR_DblClick"));
}

void FrmViajes::abrirRecetas() {
    const QString previo = CmbNombre->currentText();
    abrirEditor(this, QStringLiteral("Recetas"), QStringLiteral("ABM Recetas"));
    cargarRecetas();
    CmbNombre->ponerTexto(previo);
    cargarViajes();
    comprobarTotales();
}

void FrmViajes::abrirAlimentos() {
    const QString previo = CMBALIM->currentText();
    abrirEditor(this, QStringLiteral("Alimentos"), QStringLiteral("ABM Alimento"));
    cargarAlimentos();
    CMBALIM->ponerTexto(previo);
}

void FrmViajes::abrirOperarios() {
    abrirEditor(this, QStringLiteral("Operarios"), QStringLiteral("ABM Operarios"));
}

void FrmViajes::insertarViaje() {
    if (!lista_->isEnabled() || idRecetaActual == 0 || TXT_ID_VIA_FOR->text().isEmpty() ||
        TXTOP->text().isEmpty())
        return pedirCompletar();
    int viaje = 0, operario = 0;
    if (!cabeceraValida(&viaje, &operario))
        return;
    // Every marked feed checked as "INSERTAR" checks one, before anything is written.
    QList<PlanViajes::Fila> filas;
    QList<Alimento> alimentos;
    const QString hora = DT_HORA_FOR->time().toString(PlanComun::kFormatoHora);
    for (int i = 0; i < ListPropuesta->rowCount(); ++i) {
        const QTableWidgetItem* a = ListPropuesta->item(i, pAlimento);
        if (a->checkState() != Qt::Checked)
            continue;
        const qint64 idAlim = a->data(kDato).toLongLong();
        const QString nombre =
            QStringLiteral("%1 de %2").arg(Validacion::nombreCampo(Label8->text()), a->text());
        const Validacion::RevisionCantidad c =
            Validacion::cantidad(ListPropuesta->item(i, pCantidad)->text(), nombre, unidad());
        if (!c.valor)
            return rehusar(c.mensaje, ListPropuesta);
        if (c.confirmar && Dialogos::mostrar(this, c.mensaje) != Respuesta::Si)
            return;
        const std::optional<int> orden = Validacion::entero16(ListPropuesta->item(i, pOrden)->text());
        if (!orden)
            return rehusar(Validacion::enteroInvalido(QStringLiteral("ORDEN de ") + a->text()),
                           ListPropuesta);
        if (!idEnRango(idAlim, QStringLiteral("El alimento %1").arg(a->text()), ListPropuesta) ||
            !existente(Validacion::Referencia::Alimento, idAlim, ListPropuesta,
                       QStringLiteral("CMD_INS_VIAJE_Click")))
            return;
        filas.push_back({viaje, DT_FEC_FOR->date(), hora, static_cast<int>(idRecetaActual), operario,
                         static_cast<int>(idAlim), *c.valor, *orden});
        alimentos.push_back({idAlim, a->text()});
    }
    if (filas.isEmpty())
        return rehusar(Mensaje{QStringLiteral("Marque los alimentos del viaje que quiere guardar.")},
                       ListPropuesta);
    if (auto e = PlanViajes::insertarVarias(filas))
        return informar(*e, QStringLiteral("CMD_INS_VIAJE_Click"));
    for (int i = 0; i < filas.size(); ++i) {
        auto* l = new QTreeWidgetItem;
        llenarLinea(l, viaje, operario, alimentos.at(i), filas.at(i).cantidad, filas.at(i).orden);
        lista_->addTopLevelItem(l);
    }
    proponer(0);
    lista_->selectionModel()->clear();
    comprobarTotales();
    TXT_ID_VIA_FOR->setFocus();
    TXT_ID_VIA_FOR->selectAll();
}

void FrmViajes::copiar(const QString& pregunta, const std::function<QString()>& copia) {
    if (!fechaValida())
        return;
    const Mensaje m{pregunta, Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, m) != Respuesta::Si)
        return;
    const QString hecho = copia();
    if (hecho.isEmpty())
        return;
    cargarViajes();
    comprobarTotales();
    Dialogos::mostrar(this, Mensaje{hecho, Icono::Informacion});
}

namespace {
// What a copy tells the user; empty after reporting a failure itself.
QString informe(const CopiaViajes::Resultado& r, const QDate& hacia,
                const std::function<void(const ErrorBD&)>& error,
                const std::function<void(const QString&)>& rehusado) {
    if (r.error) {
        error(*r.error);
        return {};
    }
    if (!r.rehusado.isEmpty()) {
        rehusado(r.rehusado);
        return {};
    }
    return CopiaViajes::resumen(r, hacia);
}
} // namespace

void FrmViajes::copiarViaje() {
    const QTreeWidgetItem* l = lineaElegida();
    if (!l)
        return rehusar(Mensaje{QStringLiteral("Elija en la lista una línea del viaje que quiere copiar.")},
                       lista_);
    const int viaje = clave<PlanViajes::Clave>(l).viaje;
    const QDate desde = PlanComun::fechaDeLista(l->text(cFecha));
    const QDate hacia = DT_FEC_FOR->date();
    const QString dia = hacia.toString(PlanComun::kFormatoFechaLista);
    copiar(QStringLiteral("¿Copiar el viaje %1 del %2 al %3?").arg(viaje).arg(l->text(cFecha), dia), [&] {
        return informe(
            CopiaViajes::copiarViaje(viaje, desde, hacia), hacia,
            [this](const ErrorBD& e) { informar(e, QStringLiteral("CMD_COPIAR_VIAJE_Click")); },
            [this](const QString& t) {
                rehusar(Mensaje{t, Icono::Exclamacion}, lista_);
            });
    });
}

void FrmViajes::copiarDia() {
    const QTreeWidgetItem* l = lineaElegida();
    if (!l)
        return rehusar(Mensaje{QStringLiteral("Elija en la lista una línea del día que quiere copiar.")},
                       lista_);
    const QDate desde = PlanComun::fechaDeLista(l->text(cFecha));
    const QDate hacia = DT_FEC_FOR->date();
    const QString dia = hacia.toString(PlanComun::kFormatoFechaLista);
    copiar(QStringLiteral("¿Copiar todos los viajes del %1 al %2?").arg(l->text(cFecha), dia), [&] {
        return informe(
            CopiaViajes::copiarDia(desde, hacia), hacia,
            [this](const ErrorBD& e) { informar(e, QStringLiteral("CMD_COPIAR_DIA_Click")); },
            [this](const QString& t) {
                rehusar(Mensaje{t, Icono::Exclamacion}, lista_);
            });
    });
}

void FrmViajes::archivar() {
    if (!fechaValida())
        return;
    const QDate antes = DT_FEC_FOR->date();
    const QString dia = antes.toString(PlanComun::kFormatoFechaLista);
    const Mensaje pregunta{
        QStringLiteral("¿Archivar los viajes anteriores al %1? Dejan de listarse y de enviarse "
                       "a la tablet; se pueden recuperar.")
            .arg(dia),
        Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, pregunta) != Respuesta::Si)
        return;
    const ArchivoViajes::Resultado r = ArchivoViajes::archivar(antes);
    if (r.error)
        return informar(*r.error, QStringLiteral("CMD_ARCHIVAR_Click"));
    cargarViajes();
    comprobarTotales();
    Dialogos::mostrar(this, Mensaje{ArchivoViajes::resumenArchivo(r, antes), Icono::Informacion});
}

void FrmViajes::recuperar() {
    const Mensaje pregunta{QStringLiteral("¿Devolver a la lista todos los viajes archivados?"),
                           Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, pregunta) != Respuesta::Si)
        return;
    const ArchivoViajes::Resultado r = ArchivoViajes::recuperar();
    if (r.error)
        return informar(*r.error, QStringLiteral("CMD_RECUPERAR_Click"));
    cargarViajes();
    comprobarTotales();
    Dialogos::mostrar(this, Mensaje{ArchivoViajes::resumenRecuperacion(r), Icono::Informacion});
}

FrmViajes::~FrmViajes() {
    soltarCombos();
}
