#include "web/ConsultaWeb.h"

#include "core/Cp1252.h"
#include "web/Json.h"

#include <QRegularExpression>

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

QStringView recortarRespuesta(QStringView respuesta) {
    const qsizetype i = respuesta.indexOf(u'{');
    if (i < 0)
        return {};
    return respuesta.mid(i, respuesta.size() - i - 1);
}

QString Recortar_Respuesta(const QString& respuesta) {
    return recortarRespuesta(respuesta).toString();
}

bool estadoCorrecto(const RespuestaWeb& r) {
    return r.estado >= 200 && r.estado < 300;
}

QString razonDelServidor(const RespuestaWeb& r) {
    if (r.estado == 0)
        return {};
    constexpr qsizetype kLargo = 200;
    QString t = r.texto.left(kLargo);
    if (t.size() == kLargo && t.back().isHighSurrogate())
        t.chop(1); // half a character is not text
    // One line: the reply's own line breaks and tabs become blanks.
    for (QChar& c : t)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    t = t.trimmed();
    return QStringLiteral("Respuesta del servidor: HTTP %1").arg(r.estado) +
           (t.isEmpty() ? QStringLiteral(", sin texto") : QStringLiteral(": ") + t);
}

Mensaje conRazon(Mensaje m, const QString& razon) {
    if (!razon.isEmpty())
        m.texto += u'\n' + razon;
    return m;
}

QString escaparMysql(const QString& valor) {
    if (!valor.contains(u'\'') && !valor.contains(u'\\'))
        return valor;
    QString r;
    r.reserve(valor.size() + 8);
    for (QChar c : valor) {
        if (c == u'\'' || c == u'\\')
            r.append(c);
        r.append(c);
    }
    return r;
}

QString sentenciaSondeo() {
    return QStringLiteral("SELECT distinct curdate() FROM clientes where id <> 0 ");
}

QString sentenciaIngreso(const QString& usuario, const QString& clave) {
    return QStringLiteral("select * from clientes where user = '") + escaparMysql(usuario) +
           QStringLiteral("' and password = '") + escaparMysql(clave) + QStringLiteral("'");
}

std::optional<QString> idDeIngreso(const QString& respuesta) {
    const std::optional<ValorJson> fila = ParseJson(recortarRespuesta(respuesta));
    if (!fila || !fila->esObjeto())
        return std::nullopt;
    const std::optional<QString> id = (*fila)[u"id"].comoTexto();
    static const QRegularExpression kEntero(QStringLiteral("^-?[0-9]+$"));
    if (!id || !kEntero.match(id->trimmed()).hasMatch())
        return std::nullopt;
    return id->trimmed();
}

namespace {

QString describir(QNetworkReply* r, const QString& servidor) {
    switch (r->error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("El servidor rechazó la conexión");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("No se encontró el servidor ") + servidor;
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("El servidor cerró la conexión sin responder");
    case QNetworkReply::ProtocolFailure:
        return QStringLiteral("El servidor respondió algo que no es HTTP");
    default:
        return QStringLiteral("Falla de comunicación con el servidor: ") + r->errorString();
    }
}

// The status line came but the connection failed before the body was complete: what arrived is
// only part of the answer, and a cut list of rows or a cut login must not pass for a whole one.
// Errors that stand for an HTTP status (content, server) are answers the callers judge.
bool cortada(QNetworkReply::NetworkError e) {
    return (e > QNetworkReply::NoError && e < QNetworkReply::ContentAccessDenied) ||
           e == QNetworkReply::ProtocolFailure;
}

QString decodificar(const QByteArray& cuerpo, const QByteArray& tipo) {
    const QByteArray t = tipo.toLower();
    if (t.contains("iso-8859-1") || t.contains("latin1") || t.contains("windows-1252"))
        return Cp1252::decodificar(cuerpo);
    return QString::fromUtf8(cuerpo);
}

} // namespace

ClienteWeb::ClienteWeb(const QString& servidor, QObject* parent)
    : QObject(parent), servidor_(servidor),
      direccion_(QStringLiteral("http://") + servidor + QStringLiteral("/nremoto.php?")),
      red_(new QNetworkAccessManager(this)), reloj_(new QTimer(this)) {
    // The machine's proxy configuration, as the service has always been reached.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    reloj_->setSingleShot(true);
    connect(reloj_, &QTimer::timeout, this, [this] {
        if (actual_) {
            vencida_ = true; // abort() reports a cancel; the flag tells it was the time limit
            actual_->abort();
        }
    });
}

ClienteWeb::~ClienteWeb() {
    if (actual_) {
        actual_->disconnect(this);
        actual_->abort();
        actual_->deleteLater();
    }
}

void ClienteWeb::Enviar_Consulta(const QString& sql) {
    QNetworkRequest pedido(direccion_);
    vencida_ = false;
    actual_ = red_->sendCustomRequest(pedido, QByteArrayLiteral("GET"), sql.toUtf8());
    connect(actual_, &QNetworkReply::finished, this, &ClienteWeb::terminada);
    // The limit is on silence, as the service's HTTP client has always counted it: a long list of
    // events that keeps arriving is not cut off because it takes longer than the limit in all.
    connect(actual_, &QNetworkReply::downloadProgress, reloj_, [this] { reloj_->start(limiteMs_); });
    connect(actual_, &QNetworkReply::uploadProgress, reloj_, [this] { reloj_->start(limiteMs_); });
    reloj_->start(limiteMs_);
}

void ClienteWeb::terminada() {
    QNetworkReply* r = actual_;
    if (!r)
        return;
    actual_ = nullptr;
    reloj_->stop();
    r->deleteLater();
    RespuestaWeb resp;
    const QVariant estado = r->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (vencida_) {
        resp.numeroError = QNetworkReply::TimeoutError;
        resp.descripcionError =
            QStringLiteral("El servidor no respondió en %1 segundos").arg(limiteMs_ / 1000.0);
    } else if (!estado.isValid() || cortada(r->error())) {
        resp.numeroError =
            r->error() == QNetworkReply::NoError ? QNetworkReply::UnknownNetworkError : r->error();
        resp.descripcionError = estado.isValid()
                                    ? QStringLiteral("La respuesta del servidor llegó incompleta")
                                    : describir(r, servidor_);
    } else {
        resp.respondio = true;
    }
    if (estado.isValid()) {
        // Any HTTP status is an answer: the callers judge it. A failure after the status keeps
        // what came, for the reason shown with it.
        resp.estado = estado.toInt();
        resp.texto = decodificar(r->readAll(), r->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    }
    Q_EMIT respondida(resp);
}
