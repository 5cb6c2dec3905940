#include "plan/VentanaPlan.h"

#include "core/Texto.h"
#include "plan/Totales.h"
#include "plan/Validacion.h"
#include "ui/Accesible.h"
#include "ui/ComboEditable.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"
#include "ui/ListaReporte.h"

#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {
// Layout on resize, in pixels (the list frame follows the window, the header stays).
constexpr int kMargenAncho = 30; // window width - frame width
constexpr int kMargenLista = 13; // frame width - list width
constexpr int kPieLista = 53;    // frame height - list height
constexpr int kMargenBoton = 7;  // below the delete button
constexpr int kClave = Qt::UserRole;
} // namespace

VentanaPlan::VentanaPlan(const Diseno& diseno, QWidget* parent) : QDialog(parent), diseno_(diseno) {
    setObjectName(QString::fromLatin1(diseno.formulario));
    setWindowTitle(diseno.titulo);
}

void VentanaPlan::construirTotales(const char* nombreMarco, int alto) {
    marcoTotales_ =
        Controles::marco(nombreMarco, QStringLiteral("Total por Formula/Receta"), this, {580, 5, 310, alto});
    LisTot = new QTreeWidget(marcoTotales_);
    LisTot->setObjectName(QStringLiteral("LisTot"));
    LisTot->setGeometry(8, 20, 294, alto - 28);
}

void VentanaPlan::construirLista(const Lista& l) {
    Frame3 = Controles::marco("Frame3", l.titulo, this, {10, l.arriba, 870, 400});
    lista_ = new QTreeWidget(Frame3);
    lista_->setObjectName(QString::fromLatin1(l.nombreLista));
    lista_->move(7, 20);
    quitar_ = Controles::boton(l.nombreQuitar, QStringLiteral("ELIMINAR"), Frame3, {7, 0, 100, 26});
    pie_ = {quitar_};
    connect(quitar_, &QPushButton::clicked, this, l.alQuitar);
    connect(lista_, &QTreeWidget::itemDoubleClicked, this, [this, dobleClic = l.alDobleClic] {
        if (QTreeWidgetItem* linea = lineaElegida())
            dobleClic(linea);
    });
}

QPushButton* VentanaPlan::botonAlPie(const char* nombre, const QString& texto, int ancho) {
    const QPushButton* ultimo = pie_.last();
    auto* b =
        Controles::boton(nombre, texto, Frame3, {ultimo->x() + ultimo->width() + 8, ultimo->y(), ancho, 26});
    pie_ << b;
    return b;
}

void VentanaPlan::alElegir(ComboEditable* combo, const std::function<void()>& manejador) {
    connect(combo, &ComboEditable::elegido, this, manejador);
    connect(combo, &ComboEditable::teclaSoltada, this, manejador);
}

void VentanaPlan::soltarCombos() {
    for (ComboEditable* c : findChildren<ComboEditable*>())
        c->disconnect(this);
}

void VentanaPlan::ordenTabulacion(const QList<QWidget*>& controles) {
    for (qsizetype i = 1; i < controles.size(); ++i)
        setTabOrder(controles[i - 1], controles[i]);
}

void VentanaPlan::prepararListas(const QStringList& columnas) {
    ListaReporte::preparar(lista_, columnas, Frame3->title());
    ListaReporte::preparar(LisTot, {QStringLiteral("Receta"), QStringLiteral("Cantidad")},
                           marcoTotales_->title());
    ListaReporte::ajustarColumnas(lista_);
    ListaReporte::ajustarColumnas(LisTot);
}

void VentanaPlan::construirCantidad(QLabel* rotulo, QLineEdit* caja, const QString& rotuloKilos,
                                    const QString& rotuloPorcentaje) {
    rotuloCantidad_ = rotulo;
    cajaCantidad_ = caja;
    rotuloKilos_ = rotuloKilos;
    rotuloPorcentaje_ = rotuloPorcentaje;
    unidad_ = diseno_.unidadRecetaEnKilos;
}

void VentanaPlan::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    const int anchoMarco = std::max(0, width() - kMargenAncho);
    const int altoMarco = std::max(0, height() - diseno_.margenAlto);
    Frame3->resize(anchoMarco, altoMarco);
    lista_->resize(std::max(0, anchoMarco - kMargenLista), std::max(0, altoMarco - kPieLista));
    for (QPushButton* b : std::as_const(pie_))
        b->move(b->x(), std::max(0, altoMarco - b->height() - kMargenBoton));
}

std::optional<ErrorBD> VentanaPlan::llenarCombo(ComboEditable* combo, const PlanComun::Entradas& entradas,
                                                const QString& vacio, const QString& cargados,
                                                bool vacioSinTexto) {
    combo->vaciar();
    if (entradas.filas.isEmpty() && !entradas.error) {
        combo->addItem(vacio);
        combo->ponerTexto(vacioSinTexto ? QString() : vacio);
        return std::nullopt;
    }
    combo->addItem(cargados);
    for (const PlanComun::Entrada& e : entradas.filas)
        combo->addItem(e.texto, e.id);
    combo->ponerTexto(cargados);
    combo->lineEdit()->selectAll();
    return entradas.error;
}

qint64 VentanaPlan::elegido(ComboEditable* combo, const std::function<PlanComun::TipoCarga(qint64)>& tipo) {
    const QVariant id = combo->idElegido();
    if (!id.isValid())
        return 0;
    const PlanComun::TipoCarga t = tipo(id.toLongLong());
    if (t.error)
        return 0;
    if (t.encontrado)
        ponerUnidad(unidadDeCarga(t.kilos));
    return id.toLongLong();
}

void VentanaPlan::ponerUnidad(PlanComun::Unidad u) {
    unidad_ = u;
    rotuloCantidad_->setText(u == PlanComun::Unidad::Kilos ? rotuloKilos_ : rotuloPorcentaje_);
    Accesible::conEtiqueta(cajaCantidad_, rotuloCantidad_);
}

PlanComun::Unidad VentanaPlan::unidadDeCarga(bool recetaEnKilos) const {
    using PlanComun::Unidad;
    const Unidad u = diseno_.unidadRecetaEnKilos;
    return recetaEnKilos ? u : (u == Unidad::Kilos ? Unidad::Porcentaje : Unidad::Kilos);
}

QTreeWidgetItem* VentanaPlan::nuevaLinea(const QStringList& celdas, const QVariant& clave) {
    auto* l = new QTreeWidgetItem(celdas);
    for (int c = 0; c < celdas.size(); ++c)
        l->setToolTip(c, celdas.at(c)); // a cut name is read whole under the pointer
    guardarClave(l, clave);
    return l;
}

QVariant VentanaPlan::claveGuardada(const QTreeWidgetItem* linea) {
    return linea->data(0, kClave);
}

void VentanaPlan::guardarClave(QTreeWidgetItem* linea, const QVariant& clave) {
    linea->setData(0, kClave, clave);
}

void VentanaPlan::listar(const QList<QTreeWidgetItem*>& lineas) {
    const bool cambiando = !lista_->isEnabled();
    lineaCambio_ = nullptr;
    lista_->clear();
    lista_->addTopLevelItems(lineas);
    if (!cambiando)
        return;
    for (QTreeWidgetItem* l : lineas) {
        if (claveGuardada(l) == claveCambio_) {
            lineaCambio_ = l;
            l->setSelected(true);
            break;
        }
    }
}

void VentanaPlan::comprobarTotales() {
    LisTot->clear();
    const Totales::Resultado r = Totales::comprobarTotales();
    QList<QTreeWidgetItem*> lineas;
    for (const Totales::Linea& l : r.lineas)
        lineas.push_back(new QTreeWidgetItem(QStringList{l.receta, l.cantidad}));
    LisTot->addTopLevelItems(lineas);
    if (r.error)
        Dialogos::mostrar(this, errorProcedimientoIngles(r.error->numero, r.error->descripcion,
                                                         QStringLiteral("Comprobar_Totales"), objectName()));
}

void VentanaPlan::informar(const ErrorBD& e, const QString& procedimiento) {
    Dialogos::mostrar(this, errorProcedimiento(e.numero, e.descripcion, procedimiento, objectName()));
}

void VentanaPlan::rehusar(const Mensaje& m, QWidget* campo) {
    Dialogos::mostrar(this, m);
    campo->setFocus();
}

void VentanaPlan::pedirCompletar() {
    Dialogos::mostrar(this, Mensaje{QStringLiteral("debe completar todos los datos")});
}

bool VentanaPlan::entero(QLineEdit* caja, const QLabel* rotulo, int* valor) {
    const std::optional<int> v = Validacion::entero16(caja->text());
    if (!v) {
        rehusar(Validacion::enteroInvalido(Validacion::nombreCampo(rotulo->text())), caja);
        return false;
    }
    *valor = *v;
    return true;
}

bool VentanaPlan::idEnRango(qint64 id, const QString& que, QWidget* campo) {
    if (!Validacion::cabeEn16(id)) {
        rehusar(Validacion::idFueraDeRango(que, id), campo);
        return false;
    }
    return true;
}

bool VentanaPlan::cantidadValida(QLineEdit* caja, const QLabel* rotulo, double* valor) {
    const Validacion::RevisionCantidad r =
        Validacion::cantidad(caja->text(), Validacion::nombreCampo(rotulo->text()), unidad_);
    if (!r.valor) {
        rehusar(r.mensaje, caja);
        return false;
    }
    if (r.confirmar && Dialogos::mostrar(this, r.mensaje) != Respuesta::Si) {
        caja->setFocus();
        return false;
    }
    *valor = *r.valor;
    return true;
}

bool VentanaPlan::existente(Validacion::Referencia que, qint64 id, QWidget* campo,
                            const QString& procedimiento) {
    std::optional<ErrorBD> error;
    if (Validacion::existe(que, id, &error))
        return true;
    if (error)
        informar(*error, procedimiento);
    else
        rehusar(Validacion::inexistente(que, id), campo);
    return false;
}

QString VentanaPlan::textoCantidad(double cantidad) const {
    return Texto::cantidadVista(cantidad) + u' ' + PlanComun::sufijo(unidad_);
}

QString VentanaPlan::cantidadSinUnidad(const QString& celda) {
    QString c = celda;
    c.remove(PlanComun::kSufijoKilos).remove(PlanComun::kSufijoPorcentaje);
    return Texto::sinMiles(c.trimmed());
}

QTreeWidgetItem* VentanaPlan::lineaElegida() const {
    QTreeWidgetItem* l = lista_->currentItem();
    if (l && l->isSelected())
        return l;
    const QList<QTreeWidgetItem*> elegidas = lista_->selectedItems();
    return elegidas.isEmpty() ? nullptr : elegidas.first();
}

void VentanaPlan::empezarCambio(QTreeWidgetItem* linea, const PlanComun::TipoCarga& t,
                                const QString& procedimiento) {
    if (t.error)
        return informar(*t.error, procedimiento);
    if (t.encontrado)
        ponerUnidad(unidadDeCarga(t.kilos));
    lineaCambio_ = linea;
    claveCambio_ = claveGuardada(linea);
    lista_->setEnabled(false);
}

void VentanaPlan::guardar(const std::function<std::optional<ErrorBD>()>& insertar,
                          const std::function<PlanComun::Cambio(const QVariant&)>& cambiar,
                          const std::function<void(QTreeWidgetItem*)>& llenar, const QString& noEncontrada,
                          QWidget* foco, const QString& procedimiento) {
    // The line under change was deleted meanwhile: there is nothing left to change, so this adds.
    if (!lista_->isEnabled() && !lineaCambio_)
        lista_->setEnabled(true);

    if (lista_->isEnabled()) {
        if (auto e = insertar())
            return informar(*e, procedimiento);
        auto* linea = new QTreeWidgetItem;
        llenar(linea);
        lista_->addTopLevelItem(linea);
    } else {
        const PlanComun::Cambio c = cambiar(claveCambio_);
        if (c.error)
            return informar(*c.error, procedimiento);
        if (!c.encontrado) {
            Dialogos::mostrar(this, Mensaje{noEncontrada, Icono::Critico, QStringLiteral("ERROR")});
            return;
        }
        llenar(lineaCambio_);
    }
    // The next row starts on `foco` with its text selected: typing replaces it, never appends.
    if (auto* combo = qobject_cast<ComboEditable*>(foco))
        combo->enfocar();
    else
        foco->setFocus();
    lineaCambio_ = nullptr;
    lista_->setEnabled(true);
    // No line stays chosen from before: "ELIMINAR" acts only on lines picked after this.
    lista_->selectionModel()->clear();
    comprobarTotales();
}

void VentanaPlan::quitar(const std::function<std::optional<ErrorBD>(const QList<QVariant>&)>& eliminar,
                         const QString& procedimiento) {
    const int n = lista_->topLevelItemCount();
    if (n == 0)
        return;
    const Mensaje pregunta{QStringLiteral("Desea quitar los detalles seleccionados"), Icono::Exclamacion,
                           kTituloAplicacion, Botones::SiNo};
    if (Dialogos::mostrar(this, pregunta) == Respuesta::Si) {
        QList<QTreeWidgetItem*> lineas;
        QList<QVariant> claves;
        for (int i = n - 1; i >= 0; --i) {
            QTreeWidgetItem* l = lista_->topLevelItem(i);
            if (!l->isSelected())
                continue;
            lineas.push_back(l);
            claves.push_back(claveGuardada(l));
        }
        if (!claves.isEmpty()) {
            // All the rows go or none does, so the list always matches the table.
            if (auto e = eliminar(claves))
                return informar(*e, procedimiento);
            for (QTreeWidgetItem* l : std::as_const(lineas)) {
                if (l == lineaCambio_)
                    lineaCambio_ = nullptr;
                delete l;
            }
        }
    }
    comprobarTotales();
}
