#pragma once

#include <QDialog>

class ComboEditable;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Corrales Por Receta": into which pens each trip's ration is discharged (table `descarga`), how
// much each receives and in which order, with the totals per recipe. Works like the trip window:
// the list's enabled state is the mode, and every change is stored at once.
class FrmRodeos : public QDialog {
    Q_OBJECT
public:
    explicit FrmRodeos(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void construir();
    void Form_Load();
    void Form_Resize();
    void CmbViajes_Click();
    void CMD_INS_ROD_Click();
    void CMD_QUITAR_ROD_Click();
    void ListROD_DblClick();

    void CARGAR_VIAJES();
    void CARGAR_descargas();
    void Comprobar_Totales();

    void ponerTipoCarga(bool kilos);
    void llenarLinea(QTreeWidgetItem* linea, double por, int orden) const;

    QGroupBox* Frame5;
    QLabel* Label1;
    ComboEditable* CmbViajes;
    QLabel* Label2;
    QLineEdit* TXTCORRAL;
    QLabel* Label17;
    QLineEdit* TXTPOR;
    QLabel* Label3;
    QLineEdit* TXTOR;
    QPushButton* CMD_INS_ROD;
    QGroupBox* Frame1;
    QTreeWidget* LisTot;
    QGroupBox* Frame3;
    QTreeWidget* ListROD;
    QPushButton* CMD_QUITAR_ROD;

    // Kept wide so that a trip number out of the 16-bit range can be refused.
    qint64 Id_Viaje = 0;
    int Id_Viaje_Ant = 0;
    QString Rodeo_Ant;
    // The line being changed; null once it has been deleted.
    QTreeWidgetItem* lineaCambio_ = nullptr;
};
