#include "RespuestaSucesos.h"

#include "core/Cp1252.h"

#include <QCommandLineParser>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

RespuestaSucesos::RespuestaSucesos(QObject* parent) : QObject(parent) {}

bool RespuestaSucesos::leer(const QString& texto, QList<Registro>* registros, QString* error) {
    registros->clear();
    const QStringList lineas = texto.split(u'\n');
    for (int i = 0; i < lineas.size(); ++i) {
        QString linea = lineas[i];
        if (linea.endsWith(u'\r'))
            linea.chop(1);
        if (linea.trimmed().isEmpty() || linea.trimmed().startsWith(u'#'))
            continue;
        const QDate fecha = QDate::fromString(linea.left(10), QStringLiteral("yyyy-MM-dd"));
        if (!fecha.isValid() || linea.size() < 12 || (linea[10] != u' ' && linea[10] != u'\t')) {
            *error = QStringLiteral("línea %1: se esperaba AAAA-MM-DD y el registro").arg(i + 1);
            return false;
        }
        registros->append({fecha, linea.mid(11)});
    }
    return true;
}

bool RespuestaSucesos::cargar(const QString& archivo, QString* error) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = archivo + QStringLiteral(": ") + f.errorString();
        return false;
    }
    QList<Registro> r;
    if (!leer(QString::fromUtf8(f.readAll()), &r, error)) {
        *error = archivo + QStringLiteral(", ") + *error;
        return false;
    }
    registros_ = r;
    return true;
}

bool RespuestaSucesos::atender(QTcpSocket* s, const QByteArray& datos) {
    static const QRegularExpression kPedido(
        QStringLiteral(R"(Mandame los datos entre: (\d\d)/(\d\d)/(\d{4}) y (\d\d)/(\d\d)/(\d{4}) a; 0\.5)"));
    const QRegularExpressionMatch m = kPedido.match(QString::fromLatin1(datos));
    if (!m.hasMatch())
        return false;
    auto fecha = [&m](int primero) {
        return QDate(m.captured(primero + 2).toInt(), m.captured(primero).toInt(),
                     m.captured(primero + 1).toInt());
    };
    const QDate desde = fecha(1);
    const QDate hasta = fecha(4);
    ++pedidos_;
    Q_EMIT pedidoRecibido(desde, hasta);
    enviar(s, trozos(desde, hasta));
    return true;
}

QList<QByteArray> RespuestaSucesos::trozos(const QDate& desde, const QDate& hasta) const {
    QList<QByteArray> r;
    for (const Registro& reg : registros_) {
        if (reg.fecha < desde || reg.fecha > hasta)
            continue;
        const QByteArray texto = Cp1252::codificar(reg.texto);
        if (modo_ == Modo::Partidos && texto.size() > 1) {
            r << texto.left(texto.size() / 2) << texto.mid(texto.size() / 2);
        } else if (modo_ == Modo::TodosJuntos && !r.isEmpty()) {
            r.last() += texto;
        } else {
            r << texto;
        }
    }
    if (r.isEmpty())
        return {QByteArrayLiteral("'no'")};
    if (modo_ == Modo::TodosJuntos)
        r.last() += "'fin'";
    else
        r << QByteArrayLiteral("'fin'");
    return r;
}

void RespuestaSucesos::enviar(QTcpSocket* s, QList<QByteArray> trozos) {
    auto lista = std::make_shared<const QList<QByteArray>>(std::move(trozos));
    QPointer<QTcpSocket> destino(s);
    QTimer::singleShot(demora_, this, [this, destino, lista] { enviarTrozo(destino, lista, 0); });
}

void RespuestaSucesos::enviarTrozo(QPointer<QTcpSocket> destino,
                                   std::shared_ptr<const QList<QByteArray>> trozos, qsizetype i) {
    // Each arrival is written by its own timer, so the program reads them one by one.
    if (!destino || destino->state() != QAbstractSocket::ConnectedState)
        return;
    destino->write(trozos->at(i));
    destino->flush();
    if (i + 1 < trozos->size())
        QTimer::singleShot(pausa_, this, [this, destino, trozos, i] { enviarTrozo(destino, trozos, i + 1); });
    else
        Q_EMIT respuestaEnviada();
}

void RespuestaSucesos::agregarOpciones(QCommandLineParser& p) {
    p.addOption(
        {QStringLiteral("sucesos"),
         QStringLiteral("Archivo de sucesos con que responder al pedido de datos: una línea por registro, "
                        "AAAA-MM-DD, un espacio y el registro tal como se envía."),
         QStringLiteral("ARCHIVO")});
    p.addOption({QStringLiteral("sucesos-juntos"),
                 QStringLiteral("Envía todos los registros y 'fin' en una sola llegada.")});
    p.addOption(
        {QStringLiteral("sucesos-partidos"), QStringLiteral("Envía cada registro partido en dos llegadas.")});
    p.addOption({QStringLiteral("demora-sucesos"), QStringLiteral("Espera antes de responder (ms, 0)."),
                 QStringLiteral("MS"), QStringLiteral("0")});
    p.addOption({QStringLiteral("pausa-sucesos"), QStringLiteral("Pausa entre llegadas (ms, 10)."),
                 QStringLiteral("MS"), QStringLiteral("10")});
}

bool RespuestaSucesos::configurar(const QCommandLineParser& p, QString* error) {
    if (p.isSet(QStringLiteral("sucesos")) && !cargar(p.value(QStringLiteral("sucesos")), error))
        return false;
    if (p.isSet(QStringLiteral("sucesos-juntos")) && p.isSet(QStringLiteral("sucesos-partidos"))) {
        *error = QStringLiteral("--sucesos-juntos y --sucesos-partidos no van juntas");
        return false;
    }
    if (p.isSet(QStringLiteral("sucesos-juntos")))
        modo_ = Modo::TodosJuntos;
    if (p.isSet(QStringLiteral("sucesos-partidos")))
        modo_ = Modo::Partidos;
    bool ok1 = false;
    bool ok2 = false;
    demora_ = p.value(QStringLiteral("demora-sucesos")).toInt(&ok1);
    pausa_ = p.value(QStringLiteral("pausa-sucesos")).toInt(&ok2);
    if (!ok1 || !ok2 || demora_ < 0 || pausa_ < 0) {
        *error = QStringLiteral("--demora-sucesos y --pausa-sucesos llevan milisegundos");
        return false;
    }
    return true;
}
