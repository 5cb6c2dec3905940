#pragma once

#include "plan/VentanaPlan.h"

class QDateEdit;
class QTimeEdit;

// "RECETAS": the loading plan of the trips (table `viajes`), one line per feed of a trip, with the
// totals per recipe; the list and the store work as in every plan window (VentanaPlan).
class FrmViajes : public VentanaPlan {
    Q_OBJECT
public:
    explicit FrmViajes(QWidget* parent = nullptr);

Q_SIGNALS:
    // "IMPRIMIR": the loading sheet of the day in the date field is wanted.
    void imprimirPedido(const QDate& dia);

protected:
    // The note under the amount goes with kilograms.
    void ponerUnidad(PlanComun::Unidad u) override;

private:
    void Form_Load();
    void CmbNombre_Click();
    void CMBALIM_Click();
    void CMD_INS_FOR_Click();
    void CMD_QUITAR_FOR_Click();
    void ListR_DblClick(QTreeWidgetItem* linea);
    void Command1_Click();
    void CMDALIM_Click();
    void CMDOP_Click();

    void Cargar_Alimento();
    void Cargar_recetas();
    void Cargar_Viajes();

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
    QPushButton* CmdImprimir;
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

    // Ids of the picked entries, kept wide so that an id out of the 16-bit range can be refused.
    qint64 Id_Receta = 0;
    qint64 Id_Alim = 0;
};
