#include "maint/Mantenimiento.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace Mantenimiento {

QString nombreArchivo(const QDateTime& momento, const QLocale& idioma) {
    const QDate d = momento.date();
    const QTime t = momento.time();
    const QLocale dias = idioma.language() == QLocale::Spanish ? idioma : QLocale(QLocale::Spanish);
    return QStringLiteral("BD_%1_%2_%3_%4_%5_%6.cab")
        .arg(dias.dayName(d.dayOfWeek(), QLocale::ShortFormat))
        .arg(d.day())
        .arg(d.month())
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'));
}

QString rutaLibre(const QString& ruta) {
    const QFileInfo info(ruta);
    const QString base = info.completeBaseName();
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    // Past the highest number there, not into a gap: a gap left by an archive removed since must
    // not make the newest archive look like the oldest of its minute.
    const QRegularExpression numerado(
        QStringLiteral("^%1_(\\d+)%2$")
            .arg(QRegularExpression::escape(base), QRegularExpression::escape(extension)),
        QRegularExpression::CaseInsensitiveOption);
    int mayor = info.exists() || info.isSymLink() ? 1 : 0;
    for (const QString& nombre : QDir(info.path()).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto m = numerado.match(nombre);
        if (m.hasMatch())
            mayor = qMax(mayor, m.captured(1).toInt());
    }
    if (mayor == 0)
        return ruta;
    for (int n = mayor + 1;; ++n) {
        const QString otra =
            QDir(info.path()).filePath(QStringLiteral("%1_%2%3").arg(base).arg(n).arg(extension));
        if (!QFileInfo::exists(otra) && !QFileInfo(otra).isSymLink())
            return otra;
    }
}

QString textoTamano(const QString& prefijo, double bytes, const QLocale& idioma) {
    double valor = bytes;
    QString unidad = QStringLiteral(" Bytes");
    if (bytes > 1000000) {
        valor = bytes / 1024 / 1024;
        unidad = QStringLiteral(" MBytes");
    } else if (bytes > 1000) {
        valor = bytes / 1024;
        unidad = QStringLiteral(" KBytes");
    }
    // "###,###": rounded half away from zero, grouped, and nothing for zero.
    const qint64 entero = std::llround(valor);
    return prefijo + (entero == 0 ? QString() : idioma.toString(entero)) + unidad;
}

QStringList archivosARespaldar(const QString& carpeta) {
    return QDir(carpeta).entryList({QStringLiteral("*.db"), QStringLiteral("*.mdb")}, QDir::Files,
                                   QDir::Name | QDir::IgnoreCase);
}

Mensaje mensajeRecuperacion(bool ok, const QString& motivo) {
    if (ok)
        return {QStringLiteral("Ok")};
    return {QStringLiteral("Falso\n") + motivo};
}

Mensaje mensajeArchivoDanado(const QString& archivo) {
    return {QStringLiteral("Existe un error en el archivo %1.\r\nProbablemente se encuentre dañado.")
                .arg(QDir::toNativeSeparators(archivo)),
            Icono::Critico, QStringLiteral("Error al recuperar")};
}

Mensaje mensajeRespaldoHecho() {
    return {QStringLiteral("El archivo de Back Up se ha realizado correctamente."), Icono::Informacion,
            QStringLiteral("Back Up finalizado")};
}

Mensaje mensajeSinArchivos() {
    return {QStringLiteral("No existen archivos a compactar."), Icono::Informacion, QStringLiteral("Error")};
}

} // namespace Mantenimiento
