#include "historial/CargasPrecision.h"

#include "db/ConexionLectura.h"
#include "db/SentenciaSqlite.h"
#include "historial/HistorialSucesos.h"
#include "historial/SalidaInforme.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

std::string_view vista(QByteArrayView b) {
    return {b.data(), static_cast<size_t>(b.size())};
}

struct HashBytes {
    using is_transparent = void;
    size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
};

// The few distinct names of a range (recipes, feeds, operators, days) made into strings once and
// shared by every load that holds them.
class Nombres {
public:
    const QString& de(QByteArrayView bytes) {
        auto it = vistos_.find(vista(bytes));
        if (it == vistos_.end())
            it = vistos_
                     .emplace(std::string(vista(bytes)),
                              QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())))
                     .first;
        return it->second;
    }

private:
    std::unordered_map<std::string, QString, HashBytes, std::equal_to<>> vistos_;
};

QString numero(const std::optional<double>& v, int decimales, const QLocale& local) {
    return SalidaInforme::texto(
        {decimales == 1 ? SalidaInforme::Valor::Clase::Kg : SalidaInforme::Valor::Clase::Porcentaje, v, {}},
        local);
}

} // namespace

std::optional<double> CargaPrecision::diferencia() const {
    if (!juzgada())
        return std::nullopt;
    return *real - *sugerido;
}

std::optional<double> CargaPrecision::diferenciaPorcentaje() const {
    if (!juzgada() || *sugerido == 0)
        return std::nullopt;
    return (*real - *sugerido) / std::fabs(*sugerido) * 100;
}

std::optional<ErrorBD> CargasPrecision::listar(QSqlDatabase db, const InformePrecision& informe,
                                               const std::optional<QString>& grupo, CargasPrecision* lista,
                                               const std::function<bool()>& cancelado) {
    const Agrupacion a = informe.agrupacion;
    *lista = CargasPrecision{a, {}};
    // Both kinds, in the order they happened: the discharges close the trips.
    const bool descargas = a == Agrupacion::Corral;
    const int columnaGrupo = a == Agrupacion::Alimento   ? 4
                             : a == Agrupacion::Operario ? 7
                             : a == Agrupacion::Dia      ? 1
                                                         : 3;
    const QString buscado = !grupo                                    ? QString()
                            : *grupo == InformePrecision::sinNombre() ? QString()
                                                                      : grupo->toCaseFolded();
    const QByteArray diaBuscado = grupo && a == Agrupacion::Dia ? grupo->toLatin1() : QByteArray();
    // Whether a group's text as kept is the one asked for (names that differ only in case are one).
    std::unordered_map<std::string, bool, HashBytes, std::equal_to<>> coincide;
    ReglaTolerancia regla(informe.tolerancia, informe.tolerancias);
    Nombres nombres;
    std::string dia, receta;
    bool despuesDeDescarga = true;
    int viaje = 0;
    long filas = 0;
    const auto error = HistorialSucesos::recorrerEnOrden(
        db, informe.desde, informe.hasta, [&](const SentenciaSqlite& consulta) {
            if (cancelado && (++filas & 0xffff) == 0 && cancelado())
                return false;
            const bool carga = vista(consulta.bytesDe(0)) == "CARGA";
            const std::string_view fecha = vista(consulta.bytesDe(1));
            if (fecha != dia) {
                dia = fecha;
                viaje = 0;
                despuesDeDescarga = true;
            }
            if (carga) {
                const std::string_view r = vista(consulta.bytesDe(3));
                if (despuesDeDescarga || r != receta) {
                    ++viaje;
                    receta = r;
                }
                despuesDeDescarga = false;
            } else {
                despuesDeDescarga = true;
            }
            if (carga == descargas)
                return true;
            const QByteArrayView clave = consulta.bytesDe(columnaGrupo);
            if (grupo && a == Agrupacion::Dia && vista(clave) != vista(diaBuscado))
                return true;
            if (grupo && a != Agrupacion::Dia) {
                auto it = coincide.find(vista(clave));
                if (it == coincide.end())
                    it = coincide
                             .emplace(std::string(vista(clave)), nombres.de(clave).toCaseFolded() == buscado)
                             .first;
                if (!it->second)
                    return true;
            }
            CargaPrecision c;
            c.fecha = nombres.de(consulta.bytesDe(1));
            c.hora = nombres.de(consulta.bytesDe(2));
            c.viaje = viaje;
            c.recetaCorral = nombres.de(consulta.bytesDe(3));
            c.alimento = nombres.de(consulta.bytesDe(4));
            c.operario = nombres.de(consulta.bytesDe(7));
            c.sugerido = consulta.numeroDe(5);
            c.real = consulta.numeroDe(6);
            if (c.juzgada())
                c.dentro = regla.para(vista(consulta.bytesDe(4))).admite(*c.real - *c.sugerido, *c.sugerido);
            lista->cargas.append(std::move(c));
            return true;
        });
    if (error)
        return error;
    if (cancelado && cancelado())
        lista->cargas.clear();
    return std::nullopt;
}

std::optional<ErrorBD> CargasPrecision::listarEnArchivo(const QString& archivo,
                                                        const InformePrecision& informe,
                                                        const std::optional<QString>& grupo,
                                                        CargasPrecision* lista,
                                                        const std::function<bool()>& cancelado) {
    return ConexionLectura::usar(
        archivo, [&](QSqlDatabase& db) { return listar(db, informe, grupo, lista, cancelado); });
}

QStringList CargasPrecision::encabezados(Agrupacion a) {
    return {QStringLiteral("FECHA"),
            QStringLiteral("HORA"),
            QStringLiteral("VIAJE"),
            a == Agrupacion::Corral ? QStringLiteral("CORRAL") : QStringLiteral("RECETA"),
            QStringLiteral("ALIMENTO"),
            QStringLiteral("OPERARIO"),
            QStringLiteral("SUGERIDO KG"),
            QStringLiteral("REAL KG"),
            QStringLiteral("DIFERENCIA KG"),
            QStringLiteral("DIFERENCIA %"),
            QStringLiteral("TOLERANCIA")};
}

QStringList CargasPrecision::textos(const CargaPrecision& c, const QLocale& local) {
    const QDate fecha = QDate::fromString(c.fecha, QStringLiteral("yyyy-MM-dd"));
    return {fecha.isValid() ? fecha.toString(QStringLiteral("dd/MM/yyyy")) : c.fecha,
            c.hora,
            local.toString(c.viaje),
            c.recetaCorral,
            c.alimento,
            c.operario,
            numero(c.sugerido, 1, local),
            numero(c.real, 1, local),
            numero(c.diferencia(), 1, local),
            numero(c.diferenciaPorcentaje(), 2, local),
            !c.juzgada() ? QString()
            : c.dentro   ? QStringLiteral("dentro")
                         : QStringLiteral("fuera")};
}

QList<CeldaLibro> CargasPrecision::celdas(const CargaPrecision& c) {
    auto n = [](const std::optional<double>& v) {
        return v ? CeldaLibro::deNumero(*v) : CeldaLibro::vacia();
    };
    const QDate fecha = QDate::fromString(c.fecha, QStringLiteral("yyyy-MM-dd"));
    const QTime hora = QTime::fromString(c.hora, QStringLiteral("HH:mm"));
    const auto p = c.diferenciaPorcentaje();
    return {fecha.isValid() ? CeldaLibro::deFecha(fecha) : CeldaLibro::deTexto(c.fecha),
            hora.isValid() ? CeldaLibro::deHora(hora) : CeldaLibro::deTexto(c.hora),
            CeldaLibro::deNumero(c.viaje),
            CeldaLibro::deTexto(c.recetaCorral),
            c.alimento.isEmpty() ? CeldaLibro::vacia() : CeldaLibro::deTexto(c.alimento),
            CeldaLibro::deTexto(c.operario),
            n(c.sugerido),
            n(c.real),
            n(c.diferencia()),
            p ? CeldaLibro::dePorcentaje(*p) : CeldaLibro::vacia(),
            !c.juzgada() ? CeldaLibro::vacia()
            : c.dentro   ? CeldaLibro::deTexto(QStringLiteral("dentro"))
                         : CeldaLibro::deTexto(QStringLiteral("fuera"))};
}

QString CargasPrecision::alineado(const QLocale& local) const {
    QList<QStringList> filas{encabezados(agrupacion)};
    for (const CargaPrecision& c : cargas)
        filas << textos(c, local);
    QList<qsizetype> anchos(filas.first().size(), 0);
    for (const QStringList& f : filas)
        for (qsizetype i = 0; i < f.size(); ++i)
            anchos[i] = std::max(anchos[i], f[i].size());
    QString r;
    for (const QStringList& f : filas) {
        QStringList celdas;
        for (qsizetype i = 0; i < f.size(); ++i)
            celdas << (i >= 6 && i <= 9 ? f[i].rightJustified(anchos[i]) : f[i].leftJustified(anchos[i]));
        r += celdas.join(QStringLiteral("  ")).trimmed() + u'\n';
    }
    return r;
}

QByteArray CargasPrecision::csv() const {
    auto linea = [](const QStringList& celdas) {
        QStringList r;
        for (const QString& c : celdas) {
            if (c.contains(u';') || c.contains(u'"') || c.contains(u'\n') || c.contains(u'\r'))
                r << u'"' + QString(c).replace(u'"', QStringLiteral("\"\"")) + u'"';
            else
                r << c;
        }
        return r.join(u';').toUtf8() + "\r\n";
    };
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QByteArray r =
        linea({QStringLiteral("fecha"), QStringLiteral("hora"), QStringLiteral("viaje"),
               QStringLiteral("receta"), QStringLiteral("alimento"), QStringLiteral("operario"),
               QStringLiteral("kg_planificado"), QStringLiteral("kg_real"), QStringLiteral("diferencia_kg"),
               QStringLiteral("diferencia_pct"), QStringLiteral("dentro")});
    for (const CargaPrecision& carga : cargas) {
        QStringList t = textos(carga, c);
        t.last() = !carga.juzgada() ? QString() : carga.dentro ? QStringLiteral("sí") : QStringLiteral("no");
        r += linea(t);
    }
    return r;
}
