#include "web/TuplasWeb.h"

#include "core/Texto.h"
#include "web/ConsultaWeb.h"

#include <QDate>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <vector>

namespace {

const char* const kCargaKg =
    "select v.fecha, v.id, r.id, r.descripcion, a.id, a.descripcion, v.cantidad, v.orden, v.id_op  "
    "from viajes v, Recetas r, Alimentos a where v.id_receta = r.id and v.id_alim = a.id and r.calcula_kg = "
    "0";
const char* const kCargaPorcentaje =
    "select v.fecha, v.id, r.id, r.descripcion, a.id, a.descripcion, "
    "(select ((sum(por) * v.cantidad) / 100) from descarga where id = v.id), v.orden, v.id_op  "
    "from viajes v, Recetas r, Alimentos a where v.id_receta = r.id and v.id_alim = a.id and r.calcula_kg = "
    "-1";
const char* const kOperarios = "select * from operarios ";
const char* const kAlimentos = "select * from alimentos ";
const char* const kDescargaKg = "select distinct v.fecha, v.id, v.id_receta, a.Rodeo, a.por, a.orden  "
                                "from viajes v, descarga a where  v.id = a.id and v.id_receta in "
                                "(select id from recetas where calcula_kg = 0)";
const char* const kDescargaPorcentaje =
    "select distinct v.fecha, v.id, v.id_receta, a.Rodeo, "
    "(select ((a.por * 100) / sum(por)) from descarga where id = a.id), a.orden  "
    "from viajes v, descarga a where  v.id = a.id and v.id_receta in "
    "(select id from recetas where calcula_kg = -1)";

enum class Forma { Texto, Entero, FechaCompacta, FechaGuiones, Regional, Punto };

bool esNumero(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

QString textoValor(const QVariant& v, Forma forma) {
    if (v.isNull())
        return QString(); // a missing amount travels as an empty value
    switch (forma) {
    case Forma::Texto:
        break;
    case Forma::Entero:
        if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            if (d == std::floor(d) && std::fabs(d) < 1e15)
                return QString::number(static_cast<qlonglong>(d));
            return Texto::numeroRegional(d);
        }
        break;
    case Forma::FechaCompacta:
    case Forma::FechaGuiones: {
        // Trip dates are stored as "yyyy-MM-dd".
        const QString t = v.toString();
        if (t.size() >= 10 && t[4] == u'-' && t[7] == u'-') {
            bool ok1, ok2, ok3;
            const int a = QStringView(t).left(4).toInt(&ok1);
            const int m = QStringView(t).mid(5, 2).toInt(&ok2);
            const int d = QStringView(t).mid(8, 2).toInt(&ok3);
            if (ok1 && ok2 && ok3 && QDate::isValid(a, m, d))
                return forma == Forma::FechaGuiones ? t.left(10) : t.left(4) + t.mid(5, 2) + t.mid(8, 2);
        }
        break;
    }
    case Forma::Regional:
        if (esNumero(v))
            return Texto::numeroRegional(v.toDouble());
        break;
    case Forma::Punto:
        if (esNumero(v))
            return Texto::numeroPunto(v.toDouble());
        return v.toString().replace(u',', u'.');
    }
    return v.toString();
}

struct Columna {
    int indice; // -1: the fixed text
    Forma forma;
    const char16_t* fijo = nullptr;
};

TuplasWeb::Tuplas leer(std::initializer_list<const char*> consultas, const QString& cliente,
                       std::initializer_list<Columna> columnas) {
    TuplasWeb::Tuplas r;
    const QString id = escaparMysql(cliente);
    // Rows are written one after the other into one buffer, then copied out last to first.
    QString todas;
    std::vector<qsizetype> inicios;
    for (const char* sql : consultas) {
        QSqlQuery q(BaseDatos::ConexionBD());
        q.setForwardOnly(true);
        if (!q.exec(QString::fromLatin1(sql))) {
            r.error = errorDe(q.lastError());
            return r;
        }
        while (q.next()) {
            inicios.push_back(todas.size());
            todas.append(QLatin1String("('"));
            todas.append(id);
            for (const Columna& c : columnas) {
                todas.append(QLatin1String("','"));
                if (c.indice < 0)
                    todas.append(QStringView(c.fijo));
                else
                    todas.append(escaparMysql(textoValor(q.value(c.indice), c.forma)));
            }
            todas.append(QLatin1String("')"));
        }
    }
    inicios.push_back(todas.size());
    const size_t n = inicios.size() - 1;
    r.texto.reserve(todas.size() + static_cast<qsizetype>(n));
    for (size_t i = n; i-- > 0;) {
        if (i + 1 < n)
            r.texto.append(u',');
        r.texto.append(QStringView(todas).mid(inicios[i], inicios[i + 1] - inicios[i]));
    }
    r.filas = static_cast<int>(n);
    return r;
}

} // namespace

namespace TuplasWeb {

Tuplas carga(const QString& cliente) {
    return leer({kCargaKg, kCargaPorcentaje}, cliente,
                {{0, Forma::FechaCompacta},
                 {1, Forma::Entero},
                 {2, Forma::Entero},
                 {3, Forma::Texto},
                 {4, Forma::Entero},
                 {5, Forma::Texto},
                 {6, Forma::Regional},
                 {-1, Forma::Texto, u"0"},
                 {-1, Forma::Texto, u"100"},
                 {7, Forma::Entero},
                 {8, Forma::Entero}});
}

Tuplas operarios(const QString& cliente) {
    return leer({kOperarios}, cliente, {{0, Forma::Entero}, {1, Forma::Texto}, {-1, Forma::Texto, u""}});
}

Tuplas alimentos(const QString& cliente) {
    return leer({kAlimentos}, cliente, {{0, Forma::Entero}, {1, Forma::Texto}});
}

Tuplas descarga(const QString& cliente) {
    return leer({kDescargaKg, kDescargaPorcentaje}, cliente,
                {{0, Forma::FechaGuiones},
                 {1, Forma::Entero},
                 {2, Forma::Entero},
                 {3, Forma::Texto},
                 {4, Forma::Punto},
                 {-1, Forma::Texto, u"0"},
                 {-1, Forma::Texto, u"0"},
                 {5, Forma::Entero}});
}

} // namespace TuplasWeb
