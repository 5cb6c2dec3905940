#pragma once

// A minimal in-process stand-in for the web service: answers each GET with whatever the test's
// function returns for the statement in its body. Can also stay silent, answer with garbage, or
// drop the connection halfway through the body it announced, or send the body a few bytes at a
// time (one piece every 100 ms).
#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

class ServidorFalso : public QObject {
public:
    enum class Modo { Responder, Callar, Basura, Cortar, Goteo };
    using Respuesta = std::pair<int, QByteArray>; // HTTP status, body

    explicit ServidorFalso(std::function<Respuesta(const QString&)> responder, QObject* parent = nullptr)
        : QObject(parent), responder_(std::move(responder)) {
        connect(&servidor_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = servidor_.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { leer(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        servidor_.listen(QHostAddress::LocalHost);
    }

    QString servidor() const {
        return QStringLiteral("127.0.0.1:") + QString::number(servidor_.serverPort());
    }
    void setModo(Modo m) { modo_ = m; }
    QStringList sentencias; // every statement received, in order
    QStringList rutas;      // the request line of each

private:
    void leer(QTcpSocket* s) {
        QByteArray& b = buffers_[s];
        b += s->readAll();
        for (;;) {
            const qsizetype fin = b.indexOf("\r\n\r\n");
            if (fin < 0)
                return;
            const QByteArray cabeza = b.left(fin);
            qsizetype largo = 0;
            for (const QByteArray& l : cabeza.split('\n'))
                if (l.toLower().startsWith("content-length:"))
                    largo = l.mid(15).trimmed().toLongLong();
            if (b.size() < fin + 4 + largo)
                return;
            const QString sql = QString::fromUtf8(b.mid(fin + 4, largo));
            rutas << QString::fromLatin1(cabeza.left(cabeza.indexOf('\r')));
            b.remove(0, fin + 4 + largo);
            sentencias << sql;
            if (modo_ == Modo::Callar)
                return;
            if (modo_ == Modo::Basura) {
                s->write("basura sin cabeceras\r\n\r\n");
                s->disconnectFromHost();
                return;
            }
            const Respuesta r = responder_(sql);
            if (modo_ == Modo::Goteo) {
                s->write("HTTP/1.1 " + QByteArray::number(r.first) +
                         " X\r\nContent-Type: application/json\r\nContent-Length: " +
                         QByteArray::number(r.second.size()) + "\r\n\r\n");
                auto resto = std::make_shared<QByteArray>(r.second);
                auto* reloj = new QTimer(s);
                connect(reloj, &QTimer::timeout, s, [s, reloj, resto] {
                    s->write(resto->left(4));
                    resto->remove(0, 4);
                    if (resto->isEmpty())
                        reloj->stop();
                });
                reloj->start(100);
                return;
            }
            const QByteArray cuerpo = modo_ == Modo::Cortar ? r.second.left(r.second.size() / 2) : r.second;
            s->write("HTTP/1.1 " + QByteArray::number(r.first) +
                     " X\r\nContent-Type: application/json\r\nContent-Length: " +
                     QByteArray::number(r.second.size()) + "\r\n\r\n" + cuerpo);
            if (modo_ == Modo::Cortar) {
                s->disconnectFromHost();
                return;
            }
        }
    }

    std::function<Respuesta(const QString&)> responder_;
    QTcpServer servidor_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    Modo modo_ = Modo::Responder;
};
