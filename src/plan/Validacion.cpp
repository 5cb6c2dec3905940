#include "plan/Validacion.h"

#include <QRegularExpression>

namespace Validacion {

bool cabeEn16(qint64 valor) {
    return valor >= kMinimo16 && valor <= kMaximo16;
}

std::optional<int> entero16(const QString& texto) {
    static const QRegularExpression entero(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    const QString t = texto.trimmed();
    if (!entero.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok || !cabeEn16(v))
        return std::nullopt;
    return static_cast<int>(v);
}

Mensaje enteroInvalido(const QString& campo) {
    return {QStringLiteral("El valor de %1 debe ser un número entero entre %2 y %3.")
                .arg(campo)
                .arg(kMinimo16)
                .arg(kMaximo16),
            Icono::Exclamacion};
}

Mensaje numeroInvalido(const QString& campo) {
    return {QStringLiteral("El valor de %1 debe ser un número.").arg(campo), Icono::Exclamacion};
}

Mensaje idFueraDeRango(const QString& cual, qint64 id) {
    return {QStringLiteral("%1 (%2) tiene un id fuera del rango de %3 a %4.")
                .arg(cual)
                .arg(id)
                .arg(kMinimo16)
                .arg(kMaximo16),
            Icono::Exclamacion};
}

QString nombreCampo(const QString& etiqueta) {
    QString n = etiqueta.trimmed();
    if (n.endsWith(u':'))
        n.chop(1);
    return n.trimmed();
}

} // namespace Validacion
