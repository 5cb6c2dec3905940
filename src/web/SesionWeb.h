#pragma once

#include "core/Mensaje.h"
#include "web/ConsultaWeb.h"

#include <QObject>
#include <QString>
#include <functional>

// The start every exchange with the web service shares: the connectivity probe, the login and the
// account's client id. Each run (upload, download) derives from it and goes on from `ingresado()`.
// Every step waits for the answer of the one before through signals, never blocking.
class SesionWeb : public QObject {
    Q_OBJECT
public:
    void iniciar();
    ClienteWeb* cliente() { return cliente_; }

Q_SIGNALS:
    void avance(const QString& texto);

protected:
    SesionWeb(const DatosWeb& datos, QObject* parent);

    // Sends one statement; `paso` receives the answer unless the run has ended meanwhile.
    template <typename Run> void enviar(const QString& sql, void (Run::*paso)(const RespuestaWeb&)) {
        enviarCon(sql, [this, paso](const RespuestaWeb& r) { (static_cast<Run*>(this)->*paso)(r); });
    }

    // Logged in: `idCliente_` holds the account's id.
    virtual void ingresado() = 0;
    // The probe or the login was refused with this message (the server's reason included).
    virtual void rechazado(const Mensaje& m) = 0;
    // A failure with its number and description (communication, local database, bad reply), and
    // the server's reason when a reply of the server caused it (`razonDelServidor`), else empty.
    virtual void fallar(const QString& numero, const QString& descripcion, const QString& razon) = 0;

    DatosWeb datos_;
    ClienteWeb* cliente_;
    QString idCliente_;
    bool terminado_ = false;

private:
    void enviarCon(const QString& sql, std::function<void(const RespuestaWeb&)> paso);
    void respondida(const RespuestaWeb& r);
    void alSondeo(const RespuestaWeb& r);
    void alIngreso(const RespuestaWeb& r);

    std::function<void(const RespuestaWeb&)> siguiente_;
};
