#pragma once

#include "core/Mensaje.h"

#include <QObject>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Server, user and password of the web service, as typed in the main window.
struct DatosWeb {
    QString servidor;
    QString usuario;
    QString clave;
};

// The outcome of one statement sent to the service: the reply text and HTTP status when the
// server answered at all, otherwise the number and description of the communication failure
// (with the status and the part of the reply that came, when the failure came after the status).
struct RespuestaWeb {
    bool respondio = false;
    QString texto;
    int estado = 0;
    int numeroError = 0;
    QString descripcionError;
};

// A status of success (2xx).
bool estadoCorrecto(const RespuestaWeb& r);

// The server's own reason for a failed statement, for a second line under the message: its HTTP
// status and the first 200 characters of its reply, as one line of text. Empty when no status came.
QString razonDelServidor(const RespuestaWeb& r);
// `m` with `razon` on a second line; unchanged when there is no reason.
Mensaje conRazon(Mensaje m, const QString& razon);

// The part of a query reply that holds its rows: from the first "{" to the end, without the
// last character (the closing "]" of the array). Empty when there is no "{".
QString Recortar_Respuesta(const QString& respuesta);
// The same cut as a view into the reply, for walking rows without copying.
QStringView recortarRespuesta(QStringView respuesta);

// A value placed between apostrophes in a statement for the server's MySQL: an apostrophe and a
// backslash are doubled, so names like D'Angelo arrive intact and cannot end the literal.
QString escaparMysql(const QString& valor);

// The first two steps of every exchange with the service: a probe that the server answers at
// all, then the login that gives the account's client id.
QString sentenciaSondeo();
QString sentenciaIngreso(const QString& usuario, const QString& clave);
// The client id of a login reply, when the reply holds a row whose "id" is a whole number (the id
// goes unquoted into later statements, so nothing else may stand there).
std::optional<QString> idDeIngreso(const QString& respuesta);

// The service's request convention: every statement goes as the body of a GET to
// "http://" + server + "/nremoto.php?", with the machine's proxy settings. Asynchronous: one
// statement at a time, its answer arrives as `respondida`. A statement whose exchange stays silent
// for the time limit (nothing sent or received) ends as a failure.
class ClienteWeb : public QObject {
    Q_OBJECT
public:
    static constexpr int kLimiteMs = 30000;

    explicit ClienteWeb(const QString& servidor, QObject* parent = nullptr);
    ~ClienteWeb() override;

    QUrl direccion() const { return direccion_; }
    void setLimiteMs(int ms) { limiteMs_ = ms; }
    int limiteMs() const { return limiteMs_; }

    void Enviar_Consulta(const QString& sql);

Q_SIGNALS:
    void respondida(const RespuestaWeb& respuesta);

private:
    void terminada();

    QString servidor_;
    QUrl direccion_;
    QNetworkAccessManager* red_;
    QNetworkReply* actual_ = nullptr;
    QTimer* reloj_;
    bool vencida_ = false;
    int limiteMs_ = kLimiteMs;
};
