#include "ProgramaRecibido.h"

#include <QTextStream>

#include <algorithm>

namespace {
const QByteArray kPaso = QByteArrayLiteral("'te paso' '");
const QByteArray kSueltos[] = {QByteArrayLiteral("'fin'"), QByteArrayLiteral("'desconectar'")};
const QByteArray kFinRegistro = QByteArrayLiteral("'),");

// Length of the command word at position i ("'te paso' 'x' " or a bare word), 0 if none.
qsizetype comandoEn(const QByteArray& t, qsizetype i) {
    if (t.sliced(i).startsWith(kPaso)) {
        const qsizetype cierre = t.indexOf("' ", i + kPaso.size());
        return cierre < 0 ? 0 : cierre + 2 - i;
    }
    for (const QByteArray& w : kSueltos)
        if (t.sliced(i).startsWith(w))
            return w.size();
    return 0;
}

// Where the next command word starts at or after i, or the end of the text.
qsizetype proximoComando(const QByteArray& t, qsizetype i) {
    qsizetype mejor = t.size();
    for (const QByteArray& w : {kPaso, kSueltos[0], kSueltos[1]}) {
        const qsizetype p = t.indexOf(w, i);
        if (p >= 0 && p < mejor)
            mejor = p;
    }
    return mejor;
}

// The file shows the Windows-1252 bytes read as Latin-1: every letter the programme carries
// (accents folded, "ç", "º", "´") is the same in both.
QString texto(const QByteArray& b) {
    return QString::fromLatin1(b);
}
} // namespace

QList<MensajeRecibido> ProgramaRecibido::separar(const QByteArray& t, QByteArray* resto) {
    QList<MensajeRecibido> r;
    qsizetype i = 0;
    while (i < t.size()) {
        const qsizetype inicio = i;
        MensajeRecibido m;
        const qsizetype largo = comandoEn(t, i);
        if (largo == 0) {
            // Not a programme message (an event request, say): up to the next command word.
            i = std::max(proximoComando(t, i + 1), i + 1);
            m.texto = t.sliced(inicio, i - inicio);
            r << m;
            continue;
        }
        m.comando = t.sliced(i, largo);
        i += largo;
        if (m.comando.startsWith(kPaso)) {
            while (t.sliced(i).startsWith("('")) {
                const qsizetype fin = t.indexOf(kFinRegistro, i);
                if (fin < 0) {
                    if (resto)
                        *resto = t.sliced(inicio);
                    return r;
                }
                m.registros << t.sliced(i, fin + kFinRegistro.size() - i);
                i = fin + kFinRegistro.size();
            }
        }
        m.texto = t.sliced(inicio, i - inicio);
        r << m;
    }
    if (resto)
        resto->clear();
    return r;
}

QList<MensajeRecibido> ProgramaRecibido::agregar(const QByteArray& llegada) {
    ++llegadas_;
    const QList<MensajeRecibido> nuevos = separar(resto_ + llegada, &resto_);
    mensajes_ << nuevos;
    if (archivo_.isOpen()) {
        QTextStream out(&archivo_);
        out.setEncoding(QStringConverter::Utf8);
        out << "llegada " << llegadas_ << ": " << texto(llegada) << '\n';
        for (const MensajeRecibido& m : nuevos) {
            out << "mensaje: " << texto(m.comando.isEmpty() ? m.texto : m.comando).trimmed() << '\n';
            for (const QByteArray& reg : m.registros)
                out << "  " << texto(reg) << '\n';
        }
        out.flush();
        archivo_.flush();
    }
    return nuevos;
}

bool ProgramaRecibido::escribirEn(const QString& archivo) {
    archivo_.close();
    if (archivo.isEmpty())
        return true;
    archivo_.setFileName(archivo);
    return archivo_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void ProgramaRecibido::limpiar() {
    resto_.clear();
    mensajes_.clear();
    llegadas_ = 0;
}
