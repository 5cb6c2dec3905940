#include "historial/InformePrecision.h"

#include "core/NombreElegido.h"
#include "core/RangoPartido.h"
#include "core/Texto.h"
#include "db/ConexionLectura.h"
#include "db/SentenciaSqlite.h"
#include "historial/HistorialSucesos.h"

#include <QCollator>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

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

std::optional<double> GrupoPrecision::porcentajeDe(int n) const {
    const int j = juzgados();
    if (j == 0)
        return std::nullopt;
    return 100.0 * n / j;
}

std::optional<double> GrupoPrecision::desvioMedioKg() const {
    if (juzgados() == 0)
        return std::nullopt;
    return sumaDesviosKg / juzgados();
}

std::optional<double> GrupoPrecision::desvioMitad(int mitad) const {
    if (conDesvioMitad[mitad] == 0)
        return std::nullopt;
    return sumaDesviosMitad[mitad] / conDesvioMitad[mitad];
}

void GrupoPrecision::agregar(std::optional<double> s, std::optional<double> r, double tolerancia) {
    agregar(s, r, ToleranciaCarga{std::nullopt, tolerancia}, 0);
}

void GrupoPrecision::agregar(std::optional<double> s, std::optional<double> r,
                             const ToleranciaCarga& tolerancia, int mitad) {
    ++sucesos;
    if (!s || !r) {
        ++sinNumero;
        return;
    }
    sugerido += *s;
    real += *r;
    const double d = *r - *s;
    const double absoluta = std::fabs(d);
    sumaDesviosKg += absoluta;
    (d > 0 ? kgDeMas : kgDeMenos) += absoluta;
    if (*s != 0) {
        const double desvio = absoluta / std::fabs(*s) * 100;
        sumaDesvios += desvio;
        ++conDesvio;
        sumaDesviosMitad[mitad] += desvio;
        ++conDesvioMitad[mitad];
    }
    if (!tolerancia.admite(d, *s))
        ++fuera;
    if (ToleranciaCarga{std::nullopt, 2.0}.admite(d, *s))
        ++dentro2Porciento;
    if (absoluta <= 5 + 1e-9)
        ++dentro5Kg;
    if (absoluta > 62.5 + 1e-9)
        ++mas62Kg;
}

namespace {

using Acumulado = std::unordered_map<std::string, GrupoPrecision, HashBytes, std::equal_to<>>;

// Adds the events of [desde, hasta] to `porTexto`, keyed by the group's text as kept; each judged by
// its feed's tolerance, and counted in the first half of the report's range up to `finMitad`.
std::optional<ErrorBD> acumular(QSqlDatabase db, Agrupacion agrupacion, QDate desde, QDate hasta,
                                const InformePrecision& informe, Acumulado* porTexto,
                                const std::function<bool()>& cancelado) {
    ReglaTolerancia regla(informe.tolerancia, informe.tolerancias);
    const QByteArray finMitad = informe.finPrimeraMitad().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    const std::string_view fin(finMitad.constData(), static_cast<size_t>(finMitad.size()));
    long filas = 0;
    return HistorialSucesos::recorrerPorGrupo(
        db, columna(agrupacion), InformePrecision::tipoSuceso(agrupacion), desde, hasta,
        [&](const SentenciaSqlite& consulta) {
            if (cancelado && (++filas & 0xffff) == 0 && cancelado())
                return false;
            const QByteArrayView bytes = consulta.bytesDe(0);
            const std::string_view clave(bytes.data(), static_cast<size_t>(bytes.size()));
            auto it = porTexto->find(clave);
            if (it == porTexto->end())
                it = porTexto->emplace(std::string(clave), GrupoPrecision{}).first;
            const QByteArrayView alimento = consulta.bytesDe(3);
            const QByteArrayView fecha = consulta.bytesDe(4);
            const int mitad = std::string_view(fecha.data(), static_cast<size_t>(fecha.size())) > fin ? 1 : 0;
            it->second.agregar(
                consulta.numeroDe(1), consulta.numeroDe(2),
                regla.para(std::string_view(alimento.data(), static_cast<size_t>(alimento.size()))), mitad);
            return true;
        });
}

// The report's rows from what was added up: names that differ only in case are one group (text
// comparisons ignore case), shown as most of its events spell it; then sorted.
void cerrar(Acumulado& porTexto, InformePrecision* informe) {
    QHash<QString, qsizetype> indice;
    QHash<QString, int> mayoria;
    for (auto& [texto, g] : porTexto) {
        const QString nombre = QString::fromStdString(texto);
        const QString plegado = nombre.toCaseFolded();
        auto it = indice.constFind(plegado);
        if (it == indice.cend()) {
            g.grupo = nombre.isEmpty() ? InformePrecision::sinNombre() : nombre;
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
        destino.sumar(g);
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
}

} // namespace

void GrupoPrecision::sumar(const GrupoPrecision& otro) {
    sucesos += otro.sucesos;
    sinNumero += otro.sinNumero;
    sugerido += otro.sugerido;
    real += otro.real;
    sumaDesvios += otro.sumaDesvios;
    conDesvio += otro.conDesvio;
    fuera += otro.fuera;
    dentro2Porciento += otro.dentro2Porciento;
    dentro5Kg += otro.dentro5Kg;
    mas62Kg += otro.mas62Kg;
    sumaDesviosKg += otro.sumaDesviosKg;
    kgDeMas += otro.kgDeMas;
    kgDeMenos += otro.kgDeMenos;
    for (int m = 0; m < 2; ++m) {
        sumaDesviosMitad[m] += otro.sumaDesviosMitad[m];
        conDesvioMitad[m] += otro.conDesvioMitad[m];
    }
}

int InformePrecision::sucesos() const {
    int n = 0;
    for (const GrupoPrecision& g : grupos)
        n += g.sucesos;
    return n;
}

int InformePrecision::fuera() const {
    int n = 0;
    for (const GrupoPrecision& g : grupos)
        n += g.fuera;
    return n;
}

int InformePrecision::gruposMarcados() const {
    return static_cast<int>(
        std::count_if(grupos.cbegin(), grupos.cend(), [](const GrupoPrecision& g) { return g.marcado(); }));
}

QString InformePrecision::tipoSuceso(Agrupacion a) {
    return a == Agrupacion::Corral ? QStringLiteral("DESCARGA") : QStringLiteral("CARGA");
}

std::optional<ErrorBD> InformePrecision::calcular(QSqlDatabase db, Agrupacion agrupacion, QDate desde,
                                                  QDate hasta, double tolerancia, InformePrecision* informe,
                                                  const std::function<bool()>& cancelado) {
    *informe = InformePrecision{agrupacion, desde, hasta, tolerancia, {}, {}};
    if (const auto e = ToleranciasAlimento::leer(db, &informe->tolerancias))
        return e;
    Acumulado porTexto;
    if (const auto e = acumular(db, agrupacion, desde, hasta, *informe, &porTexto, cancelado))
        return e;
    if (!cancelado || !cancelado())
        cerrar(porTexto, informe);
    return std::nullopt;
}

std::optional<ErrorBD> InformePrecision::calcularEnArchivo(const QString& archivo, Agrupacion agrupacion,
                                                           QDate desde, QDate hasta, double tolerancia,
                                                           InformePrecision* informe,
                                                           const std::function<bool()>& cancelado) {
    *informe = InformePrecision{agrupacion, desde, hasta, tolerancia, {}, {}};
    if (const auto e = ConexionLectura::usar(
            archivo, [&](QSqlDatabase& db) { return ToleranciasAlimento::leer(db, &informe->tolerancias); }))
        return e;
    // A long range is read as two halves at once; they share nothing until they are added up.
    Acumulado acumulados[2];
    if (const auto e = RangoPartido::leer(desde, hasta, [&](const RangoPartido::Tramo& t) {
            return ConexionLectura::usar(archivo, [&](QSqlDatabase& db) {
                return acumular(db, agrupacion, t.desde, t.hasta, *informe, &acumulados[t.indice], cancelado);
            });
        }))
        return e;
    if (cancelado && cancelado())
        return std::nullopt;
    for (auto& [texto, g] : acumulados[1]) {
        auto [it, nuevo] = acumulados[0].try_emplace(texto, g);
        if (!nuevo)
            it->second.sumar(g);
    }
    cerrar(acumulados[0], informe);
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
    return nombreElegido(palabra, todas(), nombre);
}

QList<Agrupacion> InformePrecision::todas() {
    return {Agrupacion::Alimento, Agrupacion::Operario, Agrupacion::Dia, Agrupacion::Receta,
            Agrupacion::Corral};
}

QStringList InformePrecision::encabezados(Agrupacion a) {
    return QStringList{nombre(a).toUpper(),
                       a == Agrupacion::Corral ? QStringLiteral("DESCARGAS") : QStringLiteral("CARGAS"),
                       QStringLiteral("SUGERIDO KG"),
                       QStringLiteral("REAL KG"),
                       QStringLiteral("DIFERENCIA KG"),
                       QStringLiteral("DIFERENCIA %"),
                       QStringLiteral("DESVÍO MEDIO %"),
                       QStringLiteral("FUERA DE TOLERANCIA"),
                       QStringLiteral("SIN DATO NUMÉRICO")} +
           // Added after the first columns, which callers read by position.
           QStringList{QStringLiteral("DENTRO DE TOLERANCIA %"), QStringLiteral("DESVÍO MEDIO KG"),
                       QStringLiteral("DENTRO DE 2 % (%)"), QStringLiteral("DENTRO DE 5 KG (%)"),
                       QStringLiteral("MÁS DE 62,5 KG (%)")} +
           (a == Agrupacion::Operario
                ? QStringList{QStringLiteral("KG DE MÁS"), QStringLiteral("KG DE MENOS"),
                              QStringLiteral("DESVÍO 1.ª MITAD %"), QStringLiteral("DESVÍO 2.ª MITAD %"),
                              QStringLiteral("TENDENCIA")}
                : QStringList{});
}

QString InformePrecision::sinNombre() {
    return QStringLiteral("(sin nombre)");
}
