#pragma once

#include "plan/VentanaPlan.h"

// "Corrales Por Receta": into which pens each trip's ration is discharged (table `descarga`), how
// much each receives and in which order, with the totals per recipe; the list and the store
// work as in every plan window (VentanaPlan).
class FrmRodeos : public VentanaPlan {
    Q_OBJECT
public:
    explicit FrmRodeos(QWidget* parent = nullptr);
    ~FrmRodeos() override;

private:
    void alAbrir();
    void alElegirViaje();
    void insertarRodeo();
    void quitarRodeo();
    void editarLineaRodeo(QTreeWidgetItem* linea);

    void cargarViajes();
    void cargarDescargas();

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

    // Kept wide so that a trip number out of the 16-bit range can be refused.
    qint64 idViajeActual = 0;
};
