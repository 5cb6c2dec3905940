#include "maint/CatalogoRespaldos.h"

#include "maint/Mantenimiento.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace CatalogoRespaldos {

namespace {

const QRegularExpression& patron() {
    static const QRegularExpression r(
        QStringLiteral(
            "^BD_[^_]+_(\\d{1,2})_(\\d{1,2})_(\\d{4})_(\\d{1,2})_(\\d{1,2})(_auto)?(?:_(\\d+))?\\.cab$"),
        QRegularExpression::CaseInsensitiveOption);
    return r;
}

struct Orden {
    EntradaRespaldo entrada;
    int numero = 1;
};

} // namespace

QString nombreAutomatico(const QDateTime& momento) {
    QString nombre = Mantenimiento::nombreArchivo(momento);
    nombre.insert(nombre.size() - 4, QStringLiteral("_auto"));
    return nombre;
}

bool esAutomatico(const QString& nombre) {
    const auto m = patron().match(nombre);
    return m.hasMatch() && !m.captured(6).isEmpty();
}

QDateTime fechaDelNombre(const QString& nombre, int* numero) {
    const auto m = patron().match(nombre);
    if (!m.hasMatch())
        return {};
    if (numero)
        *numero = m.captured(7).isEmpty() ? 1 : m.captured(7).toInt();
    return QDateTime(QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()),
                     QTime(m.captured(4).toInt(), m.captured(5).toInt()));
}

QList<EntradaRespaldo> listar(const QStringList& carpetas) {
    QList<Orden> todas;
    QSet<QString> vistas;
    for (const QString& carpeta : carpetas) {
        if (carpeta.isEmpty())
            continue;
        const QFileInfo info(QDir::fromNativeSeparators(carpeta));
        const QString canonica = info.canonicalFilePath();
        if (canonica.isEmpty() || !info.isDir() || vistas.contains(canonica))
            continue;
        vistas.insert(canonica);
        const QFileInfoList archivos =
            QDir(canonica).entryInfoList({QStringLiteral("*.cab")}, QDir::Files, QDir::Name);
        for (const QFileInfo& a : archivos) {
            Orden o;
            o.entrada.ruta = a.absoluteFilePath();
            o.entrada.tamano = a.size();
            o.entrada.fecha = fechaDelNombre(a.fileName(), &o.numero);
            if (!o.entrada.fecha.isValid())
                o.entrada.fecha = a.lastModified();
            o.entrada.automatico = esAutomatico(a.fileName());
            todas << o;
        }
    }
    // Names keep the minute only: within one, the numbers "_2", "_3" tell the order.
    std::stable_sort(todas.begin(), todas.end(), [](const Orden& a, const Orden& b) {
        if (a.entrada.fecha != b.entrada.fecha)
            return a.entrada.fecha > b.entrada.fecha;
        return a.numero > b.numero;
    });
    QList<EntradaRespaldo> r;
    for (const Orden& o : todas)
        r << o.entrada;
    return r;
}

QStringList rotar(const QString& carpeta, int conservar) {
    QStringList borrados;
    int automaticos = 0;
    for (const EntradaRespaldo& e : listar({carpeta})) {
        if (!e.automatico || ++automaticos <= conservar)
            continue;
        if (QFile::remove(e.ruta))
            borrados << e.ruta;
    }
    return borrados;
}

} // namespace CatalogoRespaldos
