#pragma once

#include "core/Mensaje.h"
#include "plan/PlanComun.h"
#include "plan/Validacion.h"

#include <QDialog>
#include <QVariant>
#include <functional>
#include <optional>

class ComboEditable;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// What the two plan windows (trips and pens) share: the totals per recipe, the list of rows with
// its delete button, resizing, the picking combos, and the insert-or-change flow. The list's
// enabled state is the mode: enabled while adding rows, disabled while the double-clicked row is
// being changed. Every change is stored at once. Each list line carries its row's key as item
// data, so a row is never found again from the texts it shows.
class VentanaPlan : public QDialog {
    Q_OBJECT
protected:
    struct Diseno {
        const char* formulario; // the window's objectName, also named in its error reports
        QString titulo;
        int margenAlto; // window height - list frame height
        // The unit of the amounts that go with a recipe loaded by kilograms; the other one goes
        // with a recipe loaded by percentage.
        PlanComun::Unidad unidadRecetaEnKilos;
    };
    VentanaPlan(const Diseno& diseno, QWidget* parent);

    // The totals frame at the right of the header, `alto` pixels high.
    void construirTotales(const char* nombreMarco, int alto);
    // The list frame "Frame3" below the header at `arriba`, with its list and delete button; the
    // window handles the delete button and a double click on a line.
    struct Lista {
        int arriba;
        QString titulo;
        const char* nombreLista;
        const char* nombreQuitar;
        std::function<void()> alQuitar;
        std::function<void(QTreeWidgetItem*)> alDobleClic; // given lineaElegida(), never null
    };
    void construirLista(const Lista& l);
    // A button of the list frame's foot, after the ones there (the delete button first); it
    // follows the foot on resize.
    QPushButton* botonAlPie(const char* nombre, const QString& texto, int ancho);
    // The window's handler of a picking combo, for an entry chosen from the list or a key.
    void alElegir(ComboEditable* combo, const std::function<void()>& manejador);
    // For the destructor of the window that set the handlers: the focus leaving a combo as the
    // window goes picks what was typed, and the handler must not reach a window half destroyed.
    void soltarCombos();
    // The tab order of the header's controls, in that order.
    void ordenTabulacion(const QList<QWidget*>& controles);
    // The list styles and column headers; done on load.
    void prepararListas(const QStringList& columnas);
    // The amount's label shows the unit (kilos, percentage) with these texts; it starts as a
    // kilogram recipe's.
    void construirCantidad(QLabel* rotulo, QLineEdit* caja, const QString& rotuloKilos,
                           const QString& rotuloPorcentaje);

    // Fills a picking combo: a header entry (`cargados`, or `vacio` when there is nothing to pick)
    // and one entry per row carrying its id. Returns the error of the read, for the caller's report.
    std::optional<ErrorBD> llenarCombo(ComboEditable* combo, const PlanComun::Entradas& entradas,
                                       const QString& vacio, const QString& cargados,
                                       bool vacioSinTexto = false);
    // The id picked in the combo (0 when none) after looking up its load type, which sets the unit.
    qint64 elegido(ComboEditable* combo, const std::function<PlanComun::TipoCarga(qint64)>& tipo);
    virtual void ponerUnidad(PlanComun::Unidad u);
    // The unit the amounts are typed in now.
    PlanComun::Unidad unidad() const { return unidad_; }

    // The lines read from the table replace the list; the line under change is found again by
    // its key (none when it is gone, and the next store then adds).
    template <typename Linea> void listar(const QList<Linea>& filas) {
        QList<QTreeWidgetItem*> lineas;
        lineas.reserve(filas.size());
        for (const Linea& l : filas)
            lineas.push_back(nuevaLinea(l.celdas(), QVariant::fromValue(l.clave)));
        listar(lineas);
    }
    template <typename Clave> static Clave clave(const QTreeWidgetItem* linea) {
        return claveGuardada(linea).template value<Clave>();
    }
    template <typename Clave> static void ponerClave(QTreeWidgetItem* linea, const Clave& clave) {
        guardarClave(linea, QVariant::fromValue(clave));
    }

    void comprobarTotales();
    void informar(const ErrorBD& e, const QString& procedimiento);
    // Shows the message and puts the focus on the field at fault.
    void rehusar(const Mensaje& m, QWidget* campo);
    void pedirCompletar();
    // The checks of "INSERTAR": each refuses (message, focus) and returns false on a bad value.
    bool entero(QLineEdit* caja, const QLabel* rotulo, int* valor);
    bool idEnRango(qint64 id, const QString& que, QWidget* campo);
    // The amount in the unit shown: refused when out of bounds, asked about when too large.
    bool cantidadValida(QLineEdit* caja, const QLabel* rotulo, double* valor);
    // The row's operator, recipe, feed or trip is there (a failed lookup is reported as `procedimiento`).
    bool existente(Validacion::Referencia que, qint64 id, QWidget* campo, const QString& procedimiento);

    // An amount as the list shows it, with the unit, and back to the text the user types.
    QString textoCantidad(double cantidad) const;
    static QString cantidadSinUnidad(const QString& celda);

    // The line a double click acts on: the current one when selected, else the first selected.
    QTreeWidgetItem* lineaElegida() const;
    // The double-clicked line, its fields shown, goes under change once its load type is known
    // (a failed lookup is reported and changes nothing).
    void empezarCambio(QTreeWidgetItem* linea, const PlanComun::TipoCarga& t, const QString& procedimiento);

    // "INSERTAR" once the fields are checked: adds a row, or changes the row under change (the
    // store failing, or the row gone, leaves the list and the mode as they were).
    template <typename Fila, typename Clave> struct Guardado {
        std::optional<ErrorBD> (*insertar)(const Fila&);
        PlanComun::Cambio (*cambiar)(const Clave& anterior, const Fila&);
        const Fila& fila;
        std::function<void(QTreeWidgetItem*)> llenar; // the line's cells and key
        QString noEncontrada;                         // message when the row is gone
        QWidget* foco;                                // focused after a store
    };
    template <typename Fila, typename Clave>
    void guardar(const Guardado<Fila, Clave>& g, const QString& procedimiento) {
        guardar([&] { return g.insertar(g.fila); },
                [&](const QVariant& anterior) { return g.cambiar(anterior.value<Clave>(), g.fila); },
                g.llenar, g.noEncontrada, g.foco, procedimiento);
    }

    // "ELIMINAR": after asking, deletes the rows of the selected lines, all or none.
    template <typename Clave>
    void quitar(std::optional<ErrorBD> (*eliminar)(const QList<Clave>&), const QString& procedimiento) {
        quitar(
            [eliminar](const QList<QVariant>& guardadas) {
                QList<Clave> claves;
                for (const QVariant& c : guardadas)
                    claves.push_back(c.value<Clave>());
                return eliminar(claves);
            },
            procedimiento);
    }

    QGroupBox* marcoTotales_ = nullptr;
    QTreeWidget* LisTot = nullptr;
    QGroupBox* Frame3 = nullptr;
    QTreeWidget* lista_ = nullptr;
    QPushButton* quitar_ = nullptr;
    QList<QPushButton*> pie_;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    PlanComun::Unidad unidadDeCarga(bool recetaEnKilos) const;
    void listar(const QList<QTreeWidgetItem*>& lineas);
    static QTreeWidgetItem* nuevaLinea(const QStringList& celdas, const QVariant& clave);
    static QVariant claveGuardada(const QTreeWidgetItem* linea);
    static void guardarClave(QTreeWidgetItem* linea, const QVariant& clave);
    void guardar(const std::function<std::optional<ErrorBD>()>& insertar,
                 const std::function<PlanComun::Cambio(const QVariant&)>& cambiar,
                 const std::function<void(QTreeWidgetItem*)>& llenar, const QString& noEncontrada,
                 QWidget* foco, const QString& procedimiento);
    void quitar(const std::function<std::optional<ErrorBD>(const QList<QVariant>&)>& eliminar,
                const QString& procedimiento);

    const Diseno diseno_;
    QLabel* rotuloCantidad_ = nullptr;
    QLineEdit* cajaCantidad_ = nullptr;
    QString rotuloKilos_;
    QString rotuloPorcentaje_;
    PlanComun::Unidad unidad_ = PlanComun::Unidad::Kilos;
    // The line being changed (null once it has been deleted) and the key it had when picked.
    QTreeWidgetItem* lineaCambio_ = nullptr;
    QVariant claveCambio_;
};
