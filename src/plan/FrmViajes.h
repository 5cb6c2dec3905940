#pragma once

#include "plan/VentanaPlan.h"

#include <functional>

class CajaFecha;
class QTableWidget;
class QTimeEdit;

// "RECETAS": the loading plan of the trips (table `viajes`), one line per feed of a trip, with the
// totals per recipe; the list and the store work as in every plan window (VentanaPlan). A recipe
// picked for a new trip proposes the feeds of its last trip, stored together by "INSERTAR VIAJE";
// a trip or a whole day of the list can be copied to the date shown in "FECHA:", and the trips
// before that date archived (out of the list and of the upload) and brought back.
class FrmViajes : public VentanaPlan {
    Q_OBJECT
public:
    explicit FrmViajes(QWidget* parent = nullptr);
    ~FrmViajes() override;

Q_SIGNALS:
    // "IMPRIMIR": the loading sheet of the day in the date field is wanted.
    void imprimirPedido(const QDate& dia);

protected:
    // The note under the amount goes with kilograms.
    void ponerUnidad(PlanComun::Unidad u) override;

private:
    void alAbrir();
    void alElegirReceta();
    void alElegirAlimento();
    void agregarFormula();
    void quitarFormula();
    void editarLineaViaje(QTreeWidgetItem* linea);
    void abrirRecetas();
    void abrirAlimentos();
    void abrirOperarios();
    void insertarViaje();
    void copiarViaje();
    void copiarDia();
    void archivar();
    void recuperar();

    void cargarAlimentos();
    void cargarRecetas();
    void cargarViajes();

    struct Alimento {
        qint64 id;
        QString nombre;
    };
    void llenarLinea(QTreeWidgetItem* linea, int viaje, int operario, const Alimento& alimento,
                     double cantidad, int orden) const;
    // The feeds of the recipe's last trip into the proposal (emptied when there is none).
    void proponer(qint64 idReceta);
    // The date typed is a real day (otherwise refused, with the focus on it).
    bool fechaValida();
    // The header of a trip is filled and sound: the trip number and the operator (refused otherwise).
    bool cabeceraValida(int* viaje, int* operario);
    // Copies the trips after asking; the list and the totals are then read again.
    void copiar(const QString& pregunta, const std::function<QString()>& copia);

    QGroupBox* Frame1;
    QLabel* Label1;
    ComboEditable* CmbNombre;
    QPushButton* Command1;
    QLabel* Label2;
    QLineEdit* TXT_ID_VIA_FOR;
    QLabel* Label3;
    CajaFecha* DT_FEC_FOR;
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
    QGroupBox* FramePropuesta;
    QTableWidget* ListPropuesta;
    QPushButton* CMD_INS_VIAJE;
    QPushButton* CMD_COPIAR_VIAJE;
    QPushButton* CMD_COPIAR_DIA;
    QPushButton* CMD_ARCHIVAR;
    QPushButton* CMD_RECUPERAR;

    // Ids of the picked entries, kept wide so that an id out of the 16-bit range can be refused.
    qint64 idRecetaActual = 0;
    qint64 idAlimentoActual = 0;
};
