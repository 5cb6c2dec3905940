#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

#include <memory>

class QCommandLineParser;

// The tablet's side of the event download: answers "Mandame los datos entre: MM/dd/yyyy y
// MM/dd/yyyy a; 0.5" with the recorded events of that range, one arrival per record and then
// "'fin'", or "'no'" when none falls in the range. Arrivals are paced by timers, so they reach
// the program as separate reads.
//
// Events file (UTF-8, sent as Windows-1252): one record per line, the event's date as
// yyyy-mm-dd for the range filter, a blank or tab, then the record exactly as it is sent:
//
//   # a load of operator 7 and a discharge
//   2021-06-15 'carga',06/15/2021,3," Maiz picado ",1,Maiz,1000,990,10:30:00,0,7,
//   2021-06-15 'descarga',06/15/2021,Corral 4,500,480,11:05,
//
// Blank lines and lines starting with "#" are skipped.
class RespuestaSucesos : public QObject {
    Q_OBJECT
public:
    struct Registro {
        QDate fecha;
        QString texto;
    };
    // How the records of one answer are cut into arrivals.
    enum class Modo {
        UnoPorLlegada, // one arrival per record, then "'fin'"
        TodosJuntos,   // every record and "'fin'" in a single arrival
        Partidos,      // each record in two arrivals, cut in its middle, then "'fin'"
    };

    explicit RespuestaSucesos(QObject* parent = nullptr);

    // Reads an events file's text; on a bad line returns false with the line named in `error`.
    static bool leer(const QString& texto, QList<Registro>* registros, QString* error);
    bool cargar(const QString& archivo, QString* error);
    void setRegistros(const QList<Registro>& registros) { registros_ = registros; }
    const QList<Registro>& registros() const { return registros_; }

    void setModo(Modo m) { modo_ = m; }
    // Wait before the first arrival of an answer, and between arrivals, in milliseconds.
    void setDemora(int ms) { demora_ = ms; }
    void setPausa(int ms) { pausa_ = ms; }

    // Answers `datos` when it is an event request; returns whether it was one.
    bool atender(QTcpSocket* s, const QByteArray& datos);
    int pedidos() const { return pedidos_; }

    // The command-line options of the simulator program for the events.
    static void agregarOpciones(QCommandLineParser& p);
    // Applies them; false with `error` set when they are wrong. Without --sucesos nothing is set.
    bool configurar(const QCommandLineParser& p, QString* error);

Q_SIGNALS:
    void pedidoRecibido(const QDate& desde, const QDate& hasta);
    // The last arrival of an answer has been handed to the socket.
    void respuestaEnviada();

private:
    QList<QByteArray> trozos(const QDate& desde, const QDate& hasta) const;
    void enviar(QTcpSocket* s, QList<QByteArray> trozos);
    void enviarTrozo(QPointer<QTcpSocket> destino, std::shared_ptr<const QList<QByteArray>> trozos,
                     qsizetype i);

    QList<Registro> registros_;
    Modo modo_ = Modo::UnoPorLlegada;
    int demora_ = 0;
    int pausa_ = 10;
    int pedidos_ = 0;
};
