#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// What the tablet makes of the programme upload: the stream split into messages at the command
// words, each message split into its records ("('...','...'),").
//
// The programme file (--programa) is UTF-8 text, three kinds of line:
//   "llegada N: TEXT"     one per arrival, as received (N counts from 1)
//   "mensaje: COMMAND"    one per message in it ("'te paso' 'recetas'", "'fin'", ...; the trailing
//                         blank of the command word is not written)
//   "  RECORD"            one per record of that message, indented by two blanks
// Text that follows no known command word is written as a message of its own with no records.
struct MensajeRecibido {
    QByteArray texto;   // the whole message as it travelled
    QByteArray comando; // its command word (with the trailing blank for "'te paso' ...")
    QList<QByteArray> registros;
};

class ProgramaRecibido {
public:
    // Adds an arrival and returns the messages it completes. An arrival that ends inside a record
    // (a message split by the network) keeps that message back until the rest arrives.
    QList<MensajeRecibido> agregar(const QByteArray& llegada);

    // Splits a text into messages; an unfinished last message goes to *resto.
    static QList<MensajeRecibido> separar(const QByteArray& texto, QByteArray* resto);

    // Writes every arrival and its messages to the file from now on (empty name: none).
    bool escribirEn(const QString& archivo);

    const QList<MensajeRecibido>& mensajes() const { return mensajes_; }
    void limpiar();

private:
    QByteArray resto_;
    QList<MensajeRecibido> mensajes_;
    QFile archivo_;
    int llegadas_ = 0;
};
