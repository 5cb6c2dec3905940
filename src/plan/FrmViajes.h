#pragma once

#include <QDialog>

class ComboEditable;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;
class QTreeWidgetItem;

// "RECETAS": the loading plan of the trips (table `viajes`), one line per feed of a trip, with the
// totals per recipe. The list's enabled state is the mode: enabled while adding rows, disabled
// while the double-clicked row is being changed. Every change is stored at once.
class FrmViajes : public QDialog {
    Q_OBJECT
public:
    explicit FrmViajes(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void construir();
    void Form_Load();
    void Form_Resize();
    void CmbNombre_Click();
    void CMBALIM_Click();
    void CMD_INS_FOR_Click();
    void CMD_QUITAR_FOR_Click();
    void ListR_DblClick();
    void Command1_Click();
    void CMDALIM_Click();
    void CMDOP_Click();

    void Cargar_Alimento();
    void Cargar_recetas();
    void Cargar_Viajes();
    void Comprobar_Totales();

    void ponerTipoCarga(bool kilos);
    void llenarLinea(QTreeWidgetItem* linea, int viaje, int operario, double cantidad, int orden) const;

    QGroupBox* Frame1;
    QLabel* Label1;
    ComboEditable* CmbNombre;
    QPushButton* Command1;
    QLabel* Label2;
    QLineEdit* TXT_ID_VIA_FOR;
    QLabel* Label3;
    QDateEdit* DT_FEC_FOR;
    QLabel* Label4;
    QTimeEdit* DT_HORA_FOR;
    QLabel* Label5;
    QLineEdit* TXTOP;
    QPushButton* CMDOP;
    QGroupBox* Frame6;
    QLabel* Label6;
    ComboEditable* CMBALIM;
    QPushButton* CMDALIM;
    QLabel* Label8;
    QLineEdit* TXTKILOS;
    QLabel* Label15;
    QLabel* Label7;
    QLineEdit* TXT_OR_FOR;
    QPushButton* CMD_INS_FOR;
    QGroupBox* Frame2;
    QTreeWidget* LisTot;
    QGroupBox* Frame3;
    QTreeWidget* ListR;
    QPushButton* CMD_QUITAR_FOR;

    // Ids of the picked entries, kept wide so that an id out of the 16-bit range can be refused.
    qint64 Id_Receta = 0;
    qint64 Id_Alim = 0;
    int Id_Viaje_Ant = 0;
    int Id_Receta_Ant = 0;
    int Id_Alim_Ant = 0;
    // The line being changed; null once it has been deleted.
    QTreeWidgetItem* lineaCambio_ = nullptr;
};
