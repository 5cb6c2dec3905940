#include "link/ProgramaDirecto.h"

#include "core/Cp1252.h"
#include "core/Texto.h"
#include "db/BaseDatos.h"

#include <QDate>
#include <QSqlQuery>

namespace ProgramaDirecto {

namespace {

const QString kConsultaViajesKg = QStringLiteral(
    "select v.id, v.fecha, v.id_receta, r.descripcion, v.id_alim, a.descripcion, v.cantidad, v.orden, "
    "v.id_op, "
    "v.hora from viajes v, recetas r, alimentos a where v.id_receta = r.id and v.id_alim = a.id and "
    "r.calcula_kg = 0 order by v.id");
const QString kConsultaViajesPorcentaje = QStringLiteral(
    "select v.id, v.fecha, v.id_receta, r.descripcion, v.id_alim, a.descripcion, (select ((sum(por) * "
    "v.cantidad) / 100) from descarga where id = v.id), v.orden, v.id_op, v.hora from viajes v, recetas r, "
    "alimentos a where v.id_receta = r.id and v.id_alim = a.id and r.calcula_kg = -1 order by v.id");
const QString kConsultaDescargaKg =
    QStringLiteral("select distinct v.id, v.fecha, v.id_receta, d.rodeo, d.por, d.orden from viajes v, "
                   "descarga d where v.id "
                   "= d.id and v.id_receta in (select id from recetas where calcula_kg = 0) order by v.id ");
const QString kConsultaDescargaPorcentaje = QStringLiteral(
    "select distinct v.id, v.fecha, v.id_receta, d.rodeo, (select ((d.por * 100) / sum(por)) from descarga "
    "where id = d.id), d.orden from viajes v, descarga d where v.id = d.id and v.id_receta in (select id "
    "from "
    "recetas where calcula_kg = -1) order by v.id ");
const QString kConsultaAlimentos = QStringLiteral("select * from alimentos ");
const QString kConsultaOperarios = QStringLiteral("select * from operarios ");

// The errors the old program's runtime raised for a value it could not convert.
ErrorEnlace usoDeNull() {
    return {QStringLiteral("94"), QStringLiteral("Uso no válido de Null")};
}
ErrorEnlace tiposNoCoinciden() {
    return {QStringLiteral("13"), QStringLiteral("No coinciden los tipos")};
}

// Reads one row into record values; the first error found stops the row.
class Fila {
public:
    explicit Fila(const QSqlQuery& q) : q_(q) {}

    QString plano(int col) const { return valorPlano(q_.value(col)); }

    // Stored 'yyyy-MM-dd' to the tablet's "yyyymmdd".
    QString fecha(int col) {
        const QVariant v = q_.value(col);
        if (v.isNull())
            return fallar(usoDeNull());
        const QDate d = QDate::fromString(v.toString().left(10), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return fallar(tiposNoCoinciden());
        return d.toString(QStringLiteral("yyyyMMdd"));
    }

    // A planned number: it must be there.
    QString numero(int col, QString (*formato)(double)) {
        const QVariant v = q_.value(col);
        if (v.isNull())
            return fallar(usoDeNull());
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            return fallar(tiposNoCoinciden());
        return formato(d);
    }

    // A number the query computed: null when there is nothing to compute from, sent as "0".
    QString calculado(int col) {
        const QVariant v = q_.value(col);
        if (v.isNull())
            return QStringLiteral("0");
        return numero(col, Texto::numeroPunto);
    }

    const std::optional<ErrorEnlace>& error() const { return error_; }

private:
    QString fallar(const ErrorEnlace& e) {
        if (!error_)
            error_ = e;
        return QString();
    }
    const QSqlQuery& q_;
    std::optional<ErrorEnlace> error_;
};

QString numeroPlano(double d) {
    return Texto::numeroRegional(d);
}
QString numeroPunto(double d) {
    return Texto::numeroPunto(d);
}

QString registroViaje(Fila& f, Seccion s) {
    const QString kg = s == Seccion::ViajesKg ? f.numero(6, numeroPlano) : f.calculado(6);
    return registro({QStringLiteral("0"), f.fecha(1), f.plano(0), f.plano(2), f.plano(3), f.plano(4),
                     f.plano(5), kg, f.plano(9), QStringLiteral("100"), f.plano(7), f.plano(8)});
}

QString registroDescarga(Fila& f, Seccion s) {
    const QString por = s == Seccion::DescargaKg ? f.numero(4, numeroPunto) : f.calculado(4);
    return registro({QStringLiteral("0"), f.fecha(1), f.plano(0), f.plano(2), f.plano(3), por, f.plano(5)});
}

QString registroCatalogo(Fila& f, Seccion s) {
    QStringList valores{QStringLiteral("0"), f.plano(0), f.plano(1)};
    if (s == Seccion::Operarios)
        valores << QString();
    return registro(valores);
}

} // namespace

QString consulta(Seccion s) {
    switch (s) {
    case Seccion::ViajesKg:
        return kConsultaViajesKg;
    case Seccion::ViajesPorcentaje:
        return kConsultaViajesPorcentaje;
    case Seccion::DescargaKg:
        return kConsultaDescargaKg;
    case Seccion::DescargaPorcentaje:
        return kConsultaDescargaPorcentaje;
    case Seccion::Alimentos:
        return kConsultaAlimentos;
    case Seccion::Operarios:
        return kConsultaOperarios;
    }
    return QString();
}

QString etiqueta(Seccion s) {
    switch (s) {
    case Seccion::ViajesKg:
    case Seccion::ViajesPorcentaje:
        return QStringLiteral("Enviando Viajes");
    case Seccion::DescargaKg:
    case Seccion::DescargaPorcentaje:
        return QStringLiteral("Enviando Descarga");
    case Seccion::Alimentos:
        return QStringLiteral("Enviando Alimentos");
    case Seccion::Operarios:
        return QStringLiteral("Enviando Operarios");
    }
    return QString();
}

QString comando(Seccion s) {
    switch (s) {
    case Seccion::ViajesKg:
    case Seccion::ViajesPorcentaje:
        return kPasoRecetas;
    case Seccion::DescargaKg:
    case Seccion::DescargaPorcentaje:
        return kPasoDescarga;
    case Seccion::Alimentos:
        return kPasoAlimentos;
    case Seccion::Operarios:
        return kPasoOperarios;
    }
    return QString();
}

bool unMensajePorFila(Seccion s) {
    return s != Seccion::Alimentos && s != Seccion::Operarios;
}

Parte construir(Seccion s, const QSqlDatabase& db) {
    Parte p;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(consulta(s))) {
        const ErrorBD e = errorDe(q.lastError());
        p.error = ErrorEnlace{e.numero, e.descripcion};
        return p;
    }
    const QString palabra = comando(s);
    QString catalogo; // the catalogue records, each put in front of those read before it
    while (q.next()) {
        ++p.filas;
        Fila f(q);
        if (unMensajePorFila(s)) {
            const bool viaje = s == Seccion::ViajesKg || s == Seccion::ViajesPorcentaje;
            const QString r = viaje ? registroViaje(f, s) : registroDescarga(f, s);
            if (f.error()) {
                // The rows before this one still travel; the rest are only counted for the bar.
                p.error = f.error();
                while (q.next())
                    ++p.filas;
                return p;
            }
            p.mensajes << aCable(palabra, r);
        } else {
            catalogo.prepend(registroCatalogo(f, s));
        }
    }
    if (q.lastError().isValid()) {
        const ErrorBD e = errorDe(q.lastError());
        p.error = ErrorEnlace{e.numero, e.descripcion};
        return p;
    }
    if (!unMensajePorFila(s))
        p.mensajes << aCable(palabra, catalogo);
    return p;
}

Parte construirTodo(const QSqlDatabase& db) {
    Parte todo;
    for (Seccion s : kSecciones) {
        Parte p = construir(s, db);
        todo.filas += p.filas;
        todo.mensajes << p.mensajes;
        if (p.error) {
            todo.error = p.error;
            return todo;
        }
    }
    todo.mensajes << aCable(kFin, QString());
    return todo;
}

QString plegarAcentos(QString t) {
    static const char16_t kPares[][2] = {{u'ñ', u'n'}, {u'Ñ', u'N'}, {u'á', u'a'}, {u'é', u'e'}, {u'í', u'i'},
                                         {u'ó', u'o'}, {u'ú', u'u'}, {u'ü', u'u'}, {u'Á', u'A'}, {u'É', u'E'},
                                         {u'Í', u'I'}, {u'Ó', u'O'}, {u'Ú', u'U'}, {u'Ü', u'U'}};
    for (const auto& par : kPares)
        t.replace(QChar(par[0]), QChar(par[1]));
    return t;
}

QString registro(const QStringList& valores) {
    return QStringLiteral("('") + valores.join(QStringLiteral("','")) + QStringLiteral("'),");
}

QString valorPlano(const QVariant& v) {
    if (v.isNull())
        return QString();
    QString t = v.typeId() == QMetaType::Double ? Texto::numeroRegional(v.toDouble()) : v.toString();
    t.replace(u'\'', u'´');
    return t;
}

QByteArray aCable(const QString& palabra, const QString& cuerpo) {
    return Cp1252::codificar(palabra + plegarAcentos(cuerpo));
}

} // namespace ProgramaDirecto
