#include "web/SesionWeb.h"

SesionWeb::SesionWeb(const DatosWeb& datos, QObject* parent)
    : QObject(parent), datos_(datos), cliente_(new ClienteWeb(datos.servidor, this)) {
    connect(cliente_, &ClienteWeb::respondida, this, &SesionWeb::respondida);
}

void SesionWeb::iniciar() {
    Q_EMIT avance(QStringLiteral("Comprobando la conexión con el servidor..."));
    enviar(sentenciaSondeo(), &SesionWeb::alSondeo);
}

void SesionWeb::enviarCon(const QString& sql, std::function<void(const RespuestaWeb&)> paso) {
    siguiente_ = std::move(paso);
    cliente_->Enviar_Consulta(sql);
}

void SesionWeb::respondida(const RespuestaWeb& r) {
    if (terminado_ || !siguiente_)
        return;
    if (!r.respondio) {
        fallar(QString::number(r.numeroError), r.descripcionError, razonDelServidor(r));
        return;
    }
    const auto paso = std::move(siguiente_);
    siguiente_ = nullptr;
    paso(r);
}

void SesionWeb::alSondeo(const RespuestaWeb& r) {
    if (!r.texto.contains(u'{')) {
        rechazado(conRazon(
            {QStringLiteral("Error de comunicacion con el servidor, compruebe la conexion a internet"),
             Icono::Exclamacion},
            razonDelServidor(r)));
        return;
    }
    Q_EMIT avance(QStringLiteral("Ingresando al servidor..."));
    enviar(sentenciaIngreso(datos_.usuario, datos_.clave), &SesionWeb::alIngreso);
}

void SesionWeb::alIngreso(const RespuestaWeb& r) {
    if (!r.texto.contains(u'{')) {
        rechazado(conRazon(
            {QStringLiteral("Los datos de usuario o password remotos, no son correctos"), Icono::Exclamacion},
            razonDelServidor(r)));
        return;
    }
    // The id is spliced unquoted into the deletes: only a whole number will do.
    const std::optional<QString> id = idDeIngreso(r.texto);
    if (!id) {
        fallar(QStringLiteral("424"), QStringLiteral("La respuesta del servidor no trae el id del cliente"),
               razonDelServidor(r));
        return;
    }
    idCliente_ = *id;
    ingresado();
}
