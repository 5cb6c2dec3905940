#pragma once

#include "core/Mensaje.h"
#include "web/SesionWeb.h"
#include "web/TuplasWeb.h"

#include <QObject>
#include <QString>

// `Conexion_Web`: stores the whole local programme on the web service for the tablet to fetch.
// Probe, login, the account's client id, the five deletes, then one INSERT per table. Each step
// waits for the answer of the one before (signals, never blocking); the outcome is one message.
class EnvioWeb : public SesionWeb {
    Q_OBJECT
public:
    static const QString kProcedimiento; // "Conexion_Web"

    explicit EnvioWeb(const DatosWeb& datos, QObject* parent = nullptr);

Q_SIGNALS:
    // The run ended: `exito` only with the success message.
    void terminado(const Mensaje& mensaje, bool exito);

protected:
    void ingresado() override;
    void rechazado(const Mensaje& m) override { terminar(m); }
    void fallar(const QString& numero, const QString& descripcion, const QString& razon) override;

private:
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

    int borrado_ = 0;
    // The INSERT waiting for its status: its error message and the step after it.
    QString errorInsercion_;
    void (EnvioWeb::*despuesInsercion_)() = nullptr;
};
