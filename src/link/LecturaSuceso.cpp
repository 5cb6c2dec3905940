#include "link/LecturaSuceso.h"

#include "core/Texto.h"

namespace LecturaSuceso {

QStringList campos(const QString& registro) {
    QStringList r = registro.split(u',');
    r.removeLast(); // the text after the last comma
    for (QString& c : r) {
        c.remove(u'"');
        c.remove(u'*');
    }
    return r;
}

namespace {
bool soloDigitos(QStringView t) {
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "H:mm", "HH:mm", "H:mm:ss" or "HH:mm:ss", the forms the tablet writes, read by hand: the general
// reading below builds a parser per format and per call, thousands of times in a download. Any
// other text is left to it.
std::optional<QTime> minutoComun(QStringView t) {
    const qsizetype dosPuntos = t.indexOf(u':');
    if ((dosPuntos != 1 && dosPuntos != 2) || (t.size() != dosPuntos + 3 && t.size() != dosPuntos + 6))
        return std::nullopt;
    const int h = Texto::cifras(t, 0, dosPuntos);
    const int m = Texto::cifras(t, dosPuntos + 1, 2);
    const int s = t.size() == dosPuntos + 3  ? 0
                  : t[dosPuntos + 3] == u':' ? Texto::cifras(t, dosPuntos + 4, 2)
                                             : -1;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return std::nullopt;
    return QTime(h, m);
}

void dosCifras(QChar* destino, int n) {
    destino[0] = QChar(u'0' + n / 10);
    destino[1] = QChar(u'0' + n % 10);
}
} // namespace

QString diaMesAnio(QDate d) {
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        return d.toString(QStringLiteral("dd/MM/yyyy"));
    QChar r[10];
    dosCifras(r, d.day());
    r[2] = u'/';
    dosCifras(r + 3, d.month());
    r[5] = u'/';
    dosCifras(r + 6, d.year() / 100);
    dosCifras(r + 8, d.year() % 100);
    return QString(r, 10);
}

std::optional<QString> fecha(const QString& campo) {
    const std::optional<QDate> d = dia(campo);
    return d ? std::optional<QString>(diaMesAnio(*d)) : std::nullopt;
}

std::optional<QDate> dia(const QString& campo) {
    QString s = campo;
    s.remove(u'/');
    s = s.trimmed();
    if (s.size() < 6)
        return std::nullopt;
    const QString m = s.left(2);
    const QString d = s.mid(s.size() - 6, 2);
    const QString y = s.right(4);
    if (!soloDigitos(m) || !soloDigitos(d) || !soloDigitos(y))
        return std::nullopt;
    int mes = m.toInt();
    int dia = d.toInt();
    if (mes > 12 && dia <= 12)
        std::swap(mes, dia);
    const QDate f(y.toInt(), mes, dia);
    if (!f.isValid())
        return std::nullopt;
    return f;
}

std::optional<QString> hora(const QString& campo) {
    const std::optional<QTime> m = minuto(campo);
    return m ? std::optional<QString>(Texto::horaMinuto(*m)) : std::nullopt;
}

std::optional<QTime> minuto(const QString& campo) {
    const QString t = campo.trimmed();
    if (const std::optional<QTime> comun = minutoComun(t))
        return comun;
    static const char* const kFormatos[] = {"H:m:s",  "H:m",     "H:m:s.z", "h:m:s AP",
                                            "h:m AP", "h:m:sAP", "h:mAP"};
    for (const char* formato : kFormatos) {
        const QTime h = QTime::fromString(t, QString::fromLatin1(formato));
        if (h.isValid())
            return QTime(h.hour(), h.minute());
    }
    return std::nullopt;
}

Entero16 entero16(const QString& campo) {
    // Only a sign and digits between blanks make a number: anything after the digits (a NUL byte
    // included, where a C-string conversion would stop reading) makes the field no number at all.
    const QString t = campo.trimmed();
    const QStringView cifras =
        (t.startsWith(u'-') || t.startsWith(u'+')) ? QStringView(t).mid(1) : QStringView(t);
    if (!soloDigitos(cifras))
        return Entero16::NoEsNumero;
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    // A number too long for 64 bits is still a number, only far out of range.
    if (!ok || n < -32768 || n > 32767)
        return Entero16::Desborda;
    return Entero16::Valido;
}

} // namespace LecturaSuceso
