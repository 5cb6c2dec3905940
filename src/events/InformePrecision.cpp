#include "events/InformePrecision.h"

#include "core/Texto.h"
#include "db/SentenciaSqlite.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// |diferencia| beyond `tolerancia` percent of `base`, strictly; the small allowance keeps a
// difference of exactly the tolerance within it despite rounding of the decimals.
bool masAllaDe(double diferencia, double base, double tolerancia) {
    if (base == 0)
        return diferencia != 0;
    const double limite = tolerancia * std::fabs(base);
    return std::fabs(diferencia) * 100 > limite + 1e-9 * std::fabs(base) * 100;
}

const char* columna(Agrupacion a) {
    switch (a) {
    case Agrupacion::Alimento:
        return "alimento";
    case Agrupacion::Operario:
        return "operario";
    case Agrupacion::Dia:
        return "fecha";
    case Agrupacion::Receta:
    case Agrupacion::Corral:
        return "receta_corral";
    }
    return "alimento";
}

// Groups looked up by the bytes SQLite hands out, without a string made per event.
struct HashBytes {
    using is_transparent = void;
    size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
};

} // namespace

std::optional<double> GrupoPrecision::diferenciaPorcentaje() const {
    if (sugerido == 0)
        return std::nullopt;
    // Over the planned amount's size, as each event's share is: more loaded than planned is
    // positive whatever the sign of the plan.
    return diferencia() / std::fabs(sugerido) * 100;
}

std::optional<double> GrupoPrecision::desvioMedio() const {
    if (conDesvio == 0)
        return std::nullopt;
    return sumaDesvios / conDesvio;
}

bool GrupoPrecision::fueraDeTolerancia(double tolerancia) const {
    if (sucesos == sinNumero)
        return false; // nothing to judge
    return masAllaDe(diferencia(), sugerido, tolerancia);
}

void GrupoPrecision::agregar(std::optional<double> s, std::optional<double> r, double tolerancia) {
    ++sucesos;
    if (!s || !r) {
        ++sinNumero;
        return;
    }
    sugerido += *s;
    real += *r;
    if (*s != 0) {
        sumaDesvios += std::fabs(*r - *s) / std::fabs(*s) * 100;
        ++conDesvio;
    }
    if (masAllaDe(*r - *s, *s, tolerancia))
        ++fuera;
}

std::optional<ErrorBD> InformePrecision::calcular(QSqlDatabase db, Agrupacion agrupacion, QDate desde,
                                                  QDate hasta, double tolerancia, InformePrecision* informe,
                                                  const std::function<bool()>& cancelado) {
    *informe = InformePrecision{agrupacion, desde, hasta, tolerancia, {}};
    // Straight on SQLite: the index holds every column asked for, and a year of events is summed
    // in one pass without a value object per cell.
    const QByteArray sql = QByteArray("select ") + columna(agrupacion) +
                           ", kg_sugerido, kg_real from historial_sucesos where tipo = ?1 and "
                           "fecha between ?2 and ?3";
    SentenciaSqlite consulta(db, sql.constData());
    if (!consulta.ok())
        return consulta.error();
    consulta.texto(1, agrupacion == Agrupacion::Corral ? u"DESCARGA" : u"CARGA");
    consulta.texto(2, desde.toString(QStringLiteral("yyyy-MM-dd")));
    consulta.texto(3, hasta.toString(QStringLiteral("yyyy-MM-dd")));

    std::unordered_map<std::string, GrupoPrecision, HashBytes, std::equal_to<>> porTexto;
    long filas = 0;
    while (consulta.fila()) {
        if (cancelado && (++filas & 0xffff) == 0 && cancelado())
            break;
        const QByteArrayView bytes = consulta.bytesDe(0);
        const std::string_view clave(bytes.data(), static_cast<size_t>(bytes.size()));
        auto it = porTexto.find(clave);
        if (it == porTexto.end())
            it = porTexto.emplace(std::string(clave), GrupoPrecision{}).first;
        it->second.agregar(consulta.numeroDe(1), consulta.numeroDe(2), tolerancia);
    }
    if (consulta.fallo())
        return consulta.error();
    if (cancelado && cancelado()) {
        informe->grupos.clear();
        return std::nullopt;
    }

    // Names that differ only in case are one group (text comparisons ignore case); it is shown
    // as most of its events spell it.
    QHash<QString, qsizetype> indice;
    QHash<QString, int> mayoria;
    for (auto& [texto, g] : porTexto) {
        const QString nombre = QString::fromStdString(texto);
        const QString plegado = nombre.toCaseFolded();
        auto it = indice.constFind(plegado);
        if (it == indice.cend()) {
            g.grupo = nombre.isEmpty() ? sinNombre() : nombre;
            indice.insert(plegado, informe->grupos.size());
            mayoria.insert(plegado, g.sucesos);
            informe->grupos.append(g);
            continue;
        }
        GrupoPrecision& destino = informe->grupos[*it];
        if (g.sucesos > mayoria.value(plegado)) {
            destino.grupo = nombre;
            mayoria[plegado] = g.sucesos;
        }
        destino.sucesos += g.sucesos;
        destino.sinNumero += g.sinNumero;
        destino.sugerido += g.sugerido;
        destino.real += g.real;
        destino.sumaDesvios += g.sumaDesvios;
        destino.conDesvio += g.conDesvio;
        destino.fuera += g.fuera;
    }
    // In the Spanish alphabet, or the one of the user's settings when they name a language
    // ("Álfalfa" by "Alfalfa", "Ñandú" after "N"); days, kept as yyyy-MM-dd, sort as the
    // calendar does either way.
    QLocale idioma = Texto::regional();
    if (idioma.language() == QLocale::C)
        idioma = QLocale(QLocale::Spanish);
    QCollator alfabeto(idioma);
    alfabeto.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(informe->grupos.begin(), informe->grupos.end(),
              [&alfabeto](const GrupoPrecision& x, const GrupoPrecision& y) {
                  const int c = alfabeto.compare(x.grupo, y.grupo);
                  return c != 0 ? c < 0 : x.grupo < y.grupo;
              });
    return std::nullopt;
}

QString InformePrecision::nombre(Agrupacion a) {
    switch (a) {
    case Agrupacion::Alimento:
        return QStringLiteral("Alimento");
    case Agrupacion::Operario:
        return QStringLiteral("Operario");
    case Agrupacion::Dia:
        return QStringLiteral("Día");
    case Agrupacion::Receta:
        return QStringLiteral("Receta");
    case Agrupacion::Corral:
        return QStringLiteral("Corral");
    }
    return {};
}

std::optional<Agrupacion> InformePrecision::leerAgrupacion(const QString& palabra) {
    const QString p = palabra.trimmed().toLower();
    for (Agrupacion a : todas()) {
        if (p == nombre(a).toLower())
            return a;
    }
    if (p == QLatin1String("dia"))
        return Agrupacion::Dia;
    return std::nullopt;
}

QList<Agrupacion> InformePrecision::todas() {
    return {Agrupacion::Alimento, Agrupacion::Operario, Agrupacion::Dia, Agrupacion::Receta,
            Agrupacion::Corral};
}

QStringList InformePrecision::encabezados(Agrupacion a) {
    return {nombre(a).toUpper(),
            a == Agrupacion::Corral ? QStringLiteral("DESCARGAS") : QStringLiteral("CARGAS"),
            QStringLiteral("SUGERIDO KG"),
            QStringLiteral("REAL KG"),
            QStringLiteral("DIFERENCIA KG"),
            QStringLiteral("DIFERENCIA %"),
            QStringLiteral("DESVÍO MEDIO %"),
            QStringLiteral("FUERA DE TOLERANCIA"),
            QStringLiteral("SIN DATO NUMÉRICO")};
}

QString InformePrecision::sinNombre() {
    return QStringLiteral("(sin nombre)");
}
