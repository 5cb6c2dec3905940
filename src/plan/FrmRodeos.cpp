#include "plan/FrmRodeos.h"

#include "plan/PlanDescargas.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Controles;
using PlanComun::Unidad;

namespace {
const QString kPorcentaje = QStringLiteral("% DE DIETA:");
const QString kKilos = QStringLiteral("Kg DE DIETA:");

enum Columna { cViaje, cReceta, cCorral, cOrden, cCantidad };
} // namespace

FrmRodeos::FrmRodeos(QWidget* parent)
    : VentanaPlan({"FrmRodeos", QStringLiteral("Corrales Por Receta"), 180, Unidad::Porcentaje}, parent) {
    Frame5 = marco("Frame5", QStringLiteral("DATOS DE LOS CORRALES QUE COMERAN LAS DIETAS "), this,
                   {10, 5, 560, 150});
    Label1 = etiqueta("Label1", QStringLiteral("FORMULA/RECETA:"), Frame5, {10, 22, 120, 24});
    CmbViajes = combo("CmbViajes", Label1, Frame5, {135, 22, 320, 24});
    Label2 = etiqueta("Label2", QStringLiteral("CORRAL:"), Frame5, {10, 55, 120, 24});
    TXTCORRAL = caja("TXTCORRAL", Label2, Frame5, {135, 55, 160, 24});
    Label17 = etiqueta("Label17", kPorcentaje, Frame5, {10, 88, 120, 24});
    TXTPOR = caja("TXTPOR", Label17, Frame5, {135, 88, 80, 24});
    Label3 = etiqueta("Label3", QStringLiteral("ORDEN:"), Frame5, {230, 88, 50, 24});
    TXTOR = caja("TXTOR", Label3, Frame5, {285, 88, 50, 24});
    CMD_INS_ROD = boton("CMD_INS_ROD", QStringLiteral("INSERTAR"), Frame5, {440, 110, 100, 28});
    construirCantidad(Label17, TXTPOR, kKilos, kPorcentaje);

    construirTotales("Frame1", 150);
    construirLista({160, QStringLiteral("CORRALES QUE COMERAN LAS RECETAS"), "ListROD", "CMD_QUITAR_ROD",
                    [this] { quitarRodeo(); }, [this](QTreeWidgetItem* l) { editarLineaRodeo(l); }});

    ordenTabulacion({CmbViajes, TXTCORRAL, TXTPOR, TXTOR, CMD_INS_ROD});
    alElegir(CmbViajes, [this] { alElegirViaje(); });
    connect(CMD_INS_ROD, &QPushButton::clicked, this, &FrmRodeos::insertarRodeo);

    // The header's controls and a few lines of the list are never cut.
    setMinimumSize(900, 420);
    resize(900, 600);
    alAbrir();
}

void FrmRodeos::alAbrir() {
    prepararListas({QStringLiteral("id_FORMULA"), QStringLiteral("RECETA"), QStringLiteral("Corral"),
                    QStringLiteral("Orden"), QStringLiteral("Cantidad")});
    cargarViajes();
    cargarDescargas();
    comprobarTotales();
}

void FrmRodeos::cargarViajes() {
    const PlanComun::Entradas r = PlanDescargas::cargarViajes();
    if (auto e =
            llenarCombo(CmbViajes, r, QStringLiteral("No Existen Viajes"), QStringLiteral("Viajes Cargados")))
        informar(*e, QStringLiteral("CARGAR_VIAJES"));
}

void FrmRodeos::cargarDescargas() {
    const PlanDescargas::Lista r = PlanDescargas::cargarDescargas();
    if (r.errorNombre)
        Dialogos::mostrar(this,
                          errorProcedimiento(r.errorNombre->numero, r.errorNombre->descripcion,
                                             QStringLiteral("Buscar_Nom"), QStringLiteral("FrmViajes")));
    listar(r.lineas);
    idViajeActual = 0;
    if (r.error)
        informar(*r.error, QStringLiteral("CARGAR_descargas"));
}

void FrmRodeos::alElegirViaje() {
    idViajeActual = elegido(CmbViajes, PlanDescargas::tipoDeViaje);
}

void FrmRodeos::llenarLinea(QTreeWidgetItem* l, double por, int orden) const {
    l->setText(cViaje, QString::number(idViajeActual));
    l->setText(cReceta, CmbViajes->currentText());
    l->setText(cCorral, TXTCORRAL->text());
    l->setText(cOrden, QString::number(orden));
    l->setText(cCantidad, textoCantidad(por));
    ponerClave(l, PlanDescargas::Clave{static_cast<int>(idViajeActual), TXTCORRAL->text()});
}

void FrmRodeos::insertarRodeo() {
    if (CmbViajes->currentText().isEmpty() || TXTCORRAL->text().isEmpty() || TXTOR->text().isEmpty() ||
        TXTPOR->text().isEmpty() || idViajeActual == 0)
        return pedirCompletar();
    // Everything is checked before anything is written or listed.
    double por = 0;
    int orden = 0;
    if (!idEnRango(idViajeActual, QStringLiteral("El viaje elegido"), CmbViajes) ||
        !cantidadValida(TXTPOR, Label17, &por) || !entero(TXTOR, Label3, &orden) ||
        !existente(Validacion::Referencia::Viaje, idViajeActual, CmbViajes,
                   QStringLiteral("CMD_INS_ROD_Click")))
        return;
    const PlanDescargas::Fila fila{static_cast<int>(idViajeActual), TXTCORRAL->text(), por, orden};

    guardar(
        Guardado<PlanDescargas::Fila, PlanDescargas::Clave>{
            PlanDescargas::insertar, PlanDescargas::cambiar, fila,
            [&](QTreeWidgetItem* l) { llenarLinea(l, fila.por, fila.orden); },
            QStringLiteral("NO SE ENCONTRO LA DESCARGA SELECCIONADA"), CmbViajes},
        QStringLiteral("CMD_INS_ROD_Click"));
}

void FrmRodeos::quitarRodeo() {
    quitar(PlanDescargas::eliminar, QStringLiteral("CMD_QUITAR_ROD_Click"));
}

void FrmRodeos::editarLineaRodeo(QTreeWidgetItem* l) {
    idViajeActual = clave<PlanDescargas::Clave>(l).viaje;
    CmbViajes->ponerTexto(l->text(cReceta));
    TXTCORRAL->setText(l->text(cCorral));
    TXTOR->setText(l->text(cOrden));
    TXTPOR->setText(cantidadSinUnidad(l->text(cCantidad)));
    empezarCambio(l, PlanDescargas::tipoDeViaje(idViajeActual), QStringLiteral("ListROD_DblClick"));
}

FrmRodeos::~FrmRodeos() {
    soltarCombos();
}
