#pragma once

#include "core/Mensaje.h"
#include "web/ConsultaWeb.h"
#include "web/TuplasWeb.h"

#include <QObject>
#include <QString>

// `Conexion_Web`: stores the whole local programme on the web service for the tablet to fetch.
// Probe, login, the account's client id, the five deletes, then one INSERT per table. Each step
// waits for the answer of the one before (signals, never blocking); the outcome is one message.
class EnvioWeb : public QObject {
    Q_OBJECT
public:
    static const QString kProcedimiento; // "Conexion_Web"

    explicit EnvioWeb(const DatosWeb& datos, QObject* parent = nullptr);

    void iniciar();
    ClienteWeb* cliente() { return cliente_; }

Q_SIGNALS:
    void avance(const QString& texto);
    // The run ended: `exito` only with the success message.
    void terminado(const Mensaje& mensaje, bool exito);

private:
    using Paso = void (EnvioWeb::*)(const RespuestaWeb&);
    void enviar(const QString& sql, Paso siguiente);
    void respondida(const RespuestaWeb& r);
    void alSondeo(const RespuestaWeb& r);
    void alIngreso(const RespuestaWeb& r);
    void enviarBorrado();
    void alBorrado(const RespuestaWeb& r);
    void pasoCarga();
    void pasoOperarios();
    void pasoAlimentos();
    void pasoDescarga();
    void insertar(const QString& tabla, TuplasWeb::Tuplas (*fuente)(const QString&), const QString& cabecera,
                  const QString& error, void (EnvioWeb::*despues)());
    void alInsertar(const RespuestaWeb& r);
    void exito();
    void terminar(const Mensaje& m, bool exito = false);
    void fallar(const QString& numero, const QString& descripcion);

    DatosWeb datos_;
    ClienteWeb* cliente_;
    Paso siguiente_ = nullptr;
    QString idCliente_;
    int borrado_ = 0;
    // The INSERT waiting for its status: its error message and the step after it.
    QString errorInsercion_;
    void (EnvioWeb::*despuesInsercion_)() = nullptr;
    bool terminado_ = false;
};
