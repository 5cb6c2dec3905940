#include "plan/Validacion.h"

#include "core/Texto.h"

#include <QRegularExpression>
#include <QSqlQuery>

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

Mensaje fechaInexistente(const QString& escrita) {
    return {QStringLiteral("La fecha %1 no existe: escríbala de nuevo.").arg(escrita), Icono::Exclamacion};
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

RevisionCantidad cantidad(const QString& texto, const QString& campo, PlanComun::Unidad unidad) {
    RevisionCantidad r;
    double v = 0;
    // The number readers take exponents; nobody types one for kilograms or a share.
    if (texto.contains(u'e', Qt::CaseInsensitive) || !Texto::leerNumeroUsuario(texto, &v)) {
        r.mensaje = numeroInvalido(campo);
        return r;
    }
    if (v < 0) {
        r.mensaje = {QStringLiteral("El valor de %1 no puede ser negativo.").arg(campo), Icono::Exclamacion};
        return r;
    }
    if (unidad == PlanComun::Unidad::Porcentaje && v > 100) {
        r.mensaje = {
            QStringLiteral("El valor de %1 es un porcentaje: no puede ser mayor que 100.").arg(campo),
            Icono::Exclamacion};
        return r;
    }
    r.valor = v;
    if (unidad == PlanComun::Unidad::Kilos && v > kKilosConfirmar) {
        r.confirmar = true;
        r.mensaje = {QStringLiteral(
                         "El valor de %1 es %2 kg, más de lo que carga un mixer (100.000 kg). ¿Es correcto?")
                         .arg(campo, Texto::numeroRegional(v)),
                     Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    }
    return r;
}

namespace {
struct Catalogo {
    const char* consulta;
    const char* nombre;
};
Catalogo catalogo(Referencia que) {
    switch (que) {
    case Referencia::Operario:
        return {"select count(*) from operarios where id = ?", "el operario"};
    case Referencia::Receta:
        return {"select count(*) from recetas where id = ?", "la receta"};
    case Referencia::Alimento:
        return {"select count(*) from alimentos where id = ?", "el alimento"};
    case Referencia::Viaje:
        break;
    }
    return {"select count(*) from viajes where id = ?", "el viaje"};
}
} // namespace

bool existe(Referencia que, qint64 id, std::optional<ErrorBD>* error) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QString::fromLatin1(catalogo(que).consulta));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) {
        *error = errorDe(q.lastError());
        return false;
    }
    return q.value(0).toLongLong() > 0;
}

Mensaje inexistente(Referencia que, qint64 id) {
    return {QStringLiteral("No existe %1 %2.").arg(QString::fromLatin1(catalogo(que).nombre)).arg(id),
            Icono::Exclamacion};
}

} // namespace Validacion
