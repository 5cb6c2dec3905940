#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include "ProgramaRecibido.h"

class QTcpSocket;
class RespuestaSucesos;

// A stand-in for the in-cab tablet: listens for the desktop program, keeps every arrival, answers
// "ok" once it has received "'fin'" and closes the connection on "'desconectar'".
class ServidorTableta : public QObject {
    Q_OBJECT
public:
    explicit ServidorTableta(QObject* parent = nullptr);
    ~ServidorTableta() override;

    // Port 0 picks a free port (see puerto()).
    bool escuchar(const QHostAddress& direccion, quint16 puerto);
    quint16 puerto() const;
    QString error() const;

    // Everything received, one entry per arrival, in order, over all connections.
    const QList<QByteArray>& llegadas() const { return llegadas_; }
    int conexionesAceptadas() const { return aceptadas_; }
    int conexionesAbiertas() const;
    void limpiar();

    // Whether "ok" is sent after "'fin'" (on by default).
    void setResponderOk(bool si) { responderOk_ = si; }

    // --- The programme upload ---
    // Every message received, split at the command words, in order.
    QList<QByteArray> mensajes() const;
    const ProgramaRecibido& programa() const { return programa_; }
    // Writes the arrivals and their messages and records to a file (see ProgramaRecibido.h).
    bool setArchivoPrograma(const QString& archivo) { return programa_.escribirEn(archivo); }
    // Drops every open connection at once, as a tablet switched off would.
    void cerrarConexiones();
    // Who answers the event requests (none: they are only recorded).
    void setSucesos(RespuestaSucesos* sucesos) { sucesos_ = sucesos; }

Q_SIGNALS:
    void llegada(const QByteArray& datos);
    void conexionNueva();
    void conexionCerrada();

private:
    void aceptar();
    void leer(QTcpSocket* s);

    QTcpServer servidor_;
    QList<QByteArray> llegadas_;
    QList<QTcpSocket*> clientes_;
    int aceptadas_ = 0;
    bool responderOk_ = true;
    ProgramaRecibido programa_;
    RespuestaSucesos* sucesos_ = nullptr;
};
