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
} // namespace

std::optional<QString> fecha(const QString& campo) {
    const std::optional<QDate> d = dia(campo);
    return d ? std::optional<QString>(d->toString(QStringLiteral("dd/MM/yyyy"))) : std::nullopt;
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
