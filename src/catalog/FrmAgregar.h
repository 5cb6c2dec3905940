#pragma once

#include "catalog/Catalogo.h"

#include <QDialog>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The catalogue editor of feeds and operators. The caller creates the editor with its table
// ("Alimentos" or "Operarios") and caption (which loads the table) and shows it modally with exec(). The grid
// is edited in memory only; "Grabar" replaces the whole table with it, after asking about each removed entry
// that plan rows still use. Escape or the close box with unsaved changes asks whether to save
// them; "Cancelar" closes without asking.
class FrmAgregar : public QDialog {
    Q_OBJECT
public:
    FrmAgregar(const QString& tabla, const QString& caption, QWidget* parent = nullptr);

    int cantFilas() const { return cantFilas_; }
    // The catalogue table this editor edits.
    const QString& tabla() const { return tabla_; }

public Q_SLOTS:
    // Escape and the close box: asks first when the grid holds changes.
    void reject() override;

protected:
    // The recipe editor adds the load-type column and its options.
    FrmAgregar(const QString& tabla, const QString& caption, bool conTipo, QWidget* parent);
    bool eventFilter(QObject* o, QEvent* e) override;

private Q_SLOTS:
    void agregarPulsado();
    void eliminarPulsado();
    void grabarPulsado();
    void modificarFila();
    void menuDeFila(const QPoint& donde);

private:
    void construir();
    void cargar();
    int filaSeleccionada() const;
    bool esFilaDeDatos(int fila) const;
    QString celda(int fila, int columna) const;
    void ponerCelda(int fila, int columna, const QString& texto);
    void agregarFilaBlanca();
    QString tipoElegido() const;
    void mostrarError(const QString& numero, const QString& descripcion);
    QList<Catalogo::Fila> filasDeLaGrilla() const;
    // Writes the grid and closes; false when it stays open (declined or failed).
    bool grabar();

    const QString tabla_;
    const bool conTipo_;
    qint16 cantFilas_ = 0;
    QList<Catalogo::Fila> cargadas_; // the table as loaded, to tell whether the grid changed

    QTableWidget* Flex;
    QLabel* LblDes;
    QLineEdit* TxtDes;
    QPushButton* Cmdadd;
    QPushButton* CmdEliminar;
    QPushButton* CmdGrabar;
    QPushButton* CmdCancelar;
    QMenu* Mnu;
    QAction* MnuModif;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* OptK = nullptr;
    QRadioButton* OptP = nullptr;
};
