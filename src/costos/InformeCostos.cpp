#include "costos/InformeCostos.h"

#include "core/NombreElegido.h"
#include "core/RangoPartido.h"
#include "core/Texto.h"
#include "costos/CatalogoAlimentos.h"
#include "costos/PreciosAlimento.h"
#include "db/ConexionLectura.h"
#include "db/SentenciaSqlite.h"

#include <QCollator>
#include <QHash>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

struct HashBytes {
    using is_transparent = void;
    size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
};
template <typename T> using PorBytes = std::unordered_map<std::string, T, HashBytes, std::equal_to<>>;

std::string_view vista(QByteArrayView b) {
    return {b.data(), static_cast<size_t>(b.size())};
}

// A feed name of the history as the walk needs it: the feed, its price cache, its group key.
struct NombreLeido {
    int id = -1;             // the catalogue's id; -1 when no feed has the name
    std::string clave;       // the group key by feed: the catalogue's name when there is one
    std::string fechaPrecio; // the day the cached price is of
    std::optional<qint64> precio;
};

struct Descarga {
    std::string corral;
    qint64 planificados = 0;
    qint64 reales = 0;
};

// Walks the loads (and, by pen, the discharges) of the period in time order and adds them up.
class Recorrido {
public:
    Recorrido(PorCosto por, const CatalogoAlimentos& catalogo, const PreciosAlimento& precios)
        : por_(por), catalogo_(catalogo), precios_(precios) {}

    // The second half of a split period starts in the middle of a trip, maybe: its loads and
    // discharges up to its first load after a discharge are kept apart for the first half.
    void empezarEnViaje() { prefijo_ = true; }
    std::optional<ErrorBD> recorrer(QSqlDatabase db, QDate desde, QDate hasta,
                                    const std::function<bool()>& cancelado, bool cerrarAlFinal = true);
    // Adds the second half: its leading part to this half's last trip, then its sums.
    void seguirCon(Recorrido& otra);
    void cerrar(InformeCostos* informe);

private:
    NombreLeido& nombre(std::string_view alimento);
    GrupoCosto& grupo(std::string_view clave);
    void cargar(SentenciaSqlite& c);
    void descargar(SentenciaSqlite& d);
    void cerrarViaje();

    PorCosto por_;
    const CatalogoAlimentos& catalogo_;
    const PreciosAlimento& precios_;
    PorBytes<NombreLeido> nombres_;
    PorBytes<GrupoCosto> grupos_;
    GrupoCosto total_;
    QSet<QString> sinPrecio_;
    int descargasSinCarga_ = 0;
    // The trip being read, by pen.
    GrupoCosto viaje_;
    bool descargando_ = false;
    std::vector<Descarga> descargas_;
    bool prefijo_ = false;
    GrupoCosto cargasPrefijo_;
    std::vector<Descarga> descargasPrefijo_;
};

NombreLeido& Recorrido::nombre(std::string_view alimento) {
    auto it = nombres_.find(alimento);
    if (it != nombres_.end())
        return it->second;
    NombreLeido n;
    const QString texto = QString::fromUtf8(alimento.data(), static_cast<qsizetype>(alimento.size()));
    if (const std::optional<int> id = catalogo_.buscar(texto)) {
        n.id = *id;
        n.clave = catalogo_.nombre(*id).toStdString();
    } else {
        n.clave = std::string(alimento);
    }
    return nombres_.emplace(std::string(alimento), std::move(n)).first->second;
}

GrupoCosto& Recorrido::grupo(std::string_view clave) {
    auto it = grupos_.find(clave);
    if (it == grupos_.end())
        it = grupos_.emplace(std::string(clave), GrupoCosto{}).first;
    return it->second;
}

void Recorrido::cargar(SentenciaSqlite& c) {
    // fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario
    const std::string_view fecha = vista(c.bytesDe(0));
    NombreLeido& n = nombre(vista(c.bytesDe(3)));
    if (n.fechaPrecio != fecha) {
        n.fechaPrecio = std::string(fecha);
        n.precio = n.id < 0 ? std::nullopt
                            : precios_.en(n.id, QByteArrayView(fecha.data(), qsizetype(fecha.size())));
        if (n.id >= 0 && !n.precio)
            sinPrecio_.insert(catalogo_.nombre(n.id));
    }
    const qint64 precio = n.precio.value_or(0);
    GrupoCosto carga;
    carga.sucesos = 1;
    if (const auto s = c.numeroDe(4)) {
        carga.gramosPlanificados = Importe::gramos(*s);
        carga.valorPlanificado = Importe::valor(carga.gramosPlanificados, precio);
    }
    if (const auto r = c.numeroDe(5)) {
        carga.gramosReales = Importe::gramos(*r);
        carga.valorReal = Importe::valor(carga.gramosReales, precio);
    }
    total_.sumar(carga);
    switch (por_) {
    case PorCosto::Dia:
        grupo(fecha).sumar(carga);
        break;
    case PorCosto::Receta:
        grupo(vista(c.bytesDe(2))).sumar(carga);
        break;
    case PorCosto::Alimento:
        grupo(n.clave).sumar(carga);
        break;
    case PorCosto::Operario:
        grupo(vista(c.bytesDe(6))).sumar(carga);
        break;
    case PorCosto::Corral:
        if (descargando_ && prefijo_) {
            cargasPrefijo_ = viaje_;
            descargasPrefijo_ = std::move(descargas_);
            viaje_ = {};
            descargas_.clear();
            descargando_ = false;
            prefijo_ = false;
        }
        if (descargando_)
            cerrarViaje();
        viaje_.sumar(carga);
        break;
    }
}

void Recorrido::descargar(SentenciaSqlite& d) {
    // fecha, hora, receta_corral, kg_sugerido, kg_real
    Descarga x{std::string(vista(d.bytesDe(2))), 0, 0};
    if (const auto s = d.numeroDe(3))
        x.planificados = Importe::gramos(*s);
    if (const auto r = d.numeroDe(4))
        x.reales = Importe::gramos(*r);
    if (viaje_.sucesos == 0 && !prefijo_) {
        // Nothing loaded before it in the period: its kilograms count, at no cost.
        GrupoCosto& g = grupo(x.corral);
        ++g.sucesos;
        g.gramosPlanificados += x.planificados;
        g.gramosReales += x.reales;
        ++descargasSinCarga_;
        return;
    }
    descargando_ = true;
    descargas_.push_back(std::move(x));
}

void Recorrido::cerrarViaje() {
    if (viaje_.sucesos == 0)
        return;
    if (descargas_.empty()) {
        grupo(InformeCostos::sinDescarga().toStdString()).sumar(viaje_);
    } else {
        qint64 planificados = 0, reales = 0;
        for (const Descarga& x : descargas_) {
            planificados += x.planificados;
            reales += x.reales;
        }
        const qint64 partes = static_cast<qint64>(descargas_.size());
        for (const Descarga& x : descargas_) {
            GrupoCosto& g = grupo(x.corral);
            ++g.sucesos;
            g.gramosPlanificados += x.planificados;
            g.gramosReales += x.reales;
            // Without kilograms to share by, the trip is shared equally.
            g.valorReal += reales != 0 ? Importe::proporcion(viaje_.valorReal, x.reales, reales)
                                       : Importe::proporcion(viaje_.valorReal, 1, partes);
            g.valorPlanificado +=
                planificados != 0 ? Importe::proporcion(viaje_.valorPlanificado, x.planificados, planificados)
                                  : Importe::proporcion(viaje_.valorPlanificado, 1, partes);
        }
    }
    viaje_ = {};
    descargas_.clear();
    descargando_ = false;
}

std::optional<ErrorBD> Recorrido::recorrer(QSqlDatabase db, QDate desde, QDate hasta,
                                           const std::function<bool()>& cancelado, bool cerrarAlFinal) {
    // Straight on SQLite over the history's index, which holds every column asked for in time order.
    SentenciaSqlite cargas(db, "select fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario "
                               "from historial_sucesos where tipo = 'CARGA' and fecha between ?1 and ?2 "
                               "order by fecha, hora");
    SentenciaSqlite descargas(db,
                              "select fecha, hora, receta_corral, kg_sugerido, kg_real "
                              "from historial_sucesos where tipo = 'DESCARGA' and fecha between ?1 and ?2 "
                              "order by fecha, hora");
    for (SentenciaSqlite* s : {&cargas, &descargas}) {
        if (!s->ok())
            return s->error();
        s->texto(1, desde.toString(QStringLiteral("yyyy-MM-dd")));
        s->texto(2, hasta.toString(QStringLiteral("yyyy-MM-dd")));
    }
    const bool porCorral = por_ == PorCosto::Corral;
    bool hayCarga = cargas.fila();
    bool hayDescarga = porCorral && descargas.fila();
    long leidos = 0;
    while (hayCarga || hayDescarga) {
        if (cancelado && (++leidos & 0xffff) == 0 && cancelado())
            return std::nullopt;
        // In time order; a load and a discharge of the same minute: the load first.
        bool carga = hayCarga;
        if (hayCarga && hayDescarga) {
            const std::string_view fc = vista(cargas.bytesDe(0)), fd = vista(descargas.bytesDe(0));
            carga = fc < fd || (fc == fd && vista(cargas.bytesDe(1)) <= vista(descargas.bytesDe(1)));
        }
        if (carga) {
            cargar(cargas);
            hayCarga = cargas.fila();
        } else {
            descargar(descargas);
            hayDescarga = descargas.fila();
        }
    }
    if (cargas.fallo())
        return cargas.error();
    if (descargas.fallo())
        return descargas.error();
    if (cerrarAlFinal)
        cerrarViaje();
    return std::nullopt;
}

void Recorrido::seguirCon(Recorrido& otra) {
    if (otra.prefijo_) { // it never left its leading part
        otra.cargasPrefijo_ = otra.viaje_;
        otra.descargasPrefijo_ = std::move(otra.descargas_);
        otra.viaje_ = {};
        otra.descargas_.clear();
        otra.descargando_ = false;
    }
    if (otra.cargasPrefijo_.sucesos > 0) {
        if (descargando_)
            cerrarViaje();
        viaje_.sumar(otra.cargasPrefijo_);
    }
    for (Descarga& x : otra.descargasPrefijo_) {
        if (viaje_.sucesos == 0) {
            GrupoCosto& g = grupo(x.corral);
            ++g.sucesos;
            g.gramosPlanificados += x.planificados;
            g.gramosReales += x.reales;
            ++descargasSinCarga_;
            continue;
        }
        descargando_ = true;
        descargas_.push_back(std::move(x));
    }
    cerrarViaje();
    otra.cerrarViaje();
    for (auto& [clave, g] : otra.grupos_)
        grupo(clave).sumar(g);
    total_.sumar(otra.total_);
    sinPrecio_.unite(otra.sinPrecio_);
    for (auto& [texto, n] : otra.nombres_)
        nombres_.try_emplace(texto, n);
    descargasSinCarga_ += otra.descargasSinCarga_;
}

void Recorrido::cerrar(InformeCostos* informe) {
    // Names that differ only in case are one group (text comparisons ignore case).
    QHash<QString, qsizetype> indice;
    for (auto& [texto, g] : grupos_) {
        const QString nombre = QString::fromStdString(texto);
        const QString plegado = nombre.toCaseFolded();
        const auto it = indice.constFind(plegado);
        if (it != indice.cend()) {
            informe->grupos[*it].sumar(g);
            continue;
        }
        g.grupo = nombre.isEmpty() ? InformeCostos::sinNombre() : nombre;
        indice.insert(plegado, informe->grupos.size());
        informe->grupos.append(g);
    }
    QLocale idioma = Texto::regional();
    if (idioma.language() == QLocale::C)
        idioma = QLocale(QLocale::Spanish);
    QCollator alfabeto(idioma);
    alfabeto.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(informe->grupos.begin(), informe->grupos.end(),
              [&alfabeto](const GrupoCosto& x, const GrupoCosto& y) {
                  const int c = alfabeto.compare(x.grupo, y.grupo);
                  return c != 0 ? c < 0 : x.grupo < y.grupo;
              });
    informe->total = total_;
    informe->total.grupo = QStringLiteral("TOTAL");
    if (por_ == PorCosto::Corral) {
        // By pen the total is what was shared out, discharges included.
        GrupoCosto t;
        for (const GrupoCosto& g : informe->grupos)
            t.sumar(g);
        t.grupo = informe->total.grupo;
        informe->total = t;
    }
    for (const auto& [texto, n] : nombres_)
        if (n.id < 0)
            informe->sinAlimento << QString::fromStdString(texto);
    informe->sinPrecio = QStringList(sinPrecio_.cbegin(), sinPrecio_.cend());
    for (QStringList* l : {&informe->sinAlimento, &informe->sinPrecio})
        std::sort(l->begin(), l->end(),
                  [](const QString& x, const QString& y) { return x.compare(y, Qt::CaseInsensitive) < 0; });
    informe->descargasSinCarga = descargasSinCarga_;
}

} // namespace

void GrupoCosto::sumar(const GrupoCosto& otro) {
    sucesos += otro.sucesos;
    gramosPlanificados += otro.gramosPlanificados;
    gramosReales += otro.gramosReales;
    valorPlanificado += otro.valorPlanificado;
    valorReal += otro.valorReal;
}

std::optional<ErrorBD> InformeCostos::calcular(QSqlDatabase db, PorCosto por, QDate desde, QDate hasta,
                                               InformeCostos* informe,
                                               const std::function<bool()>& cancelado) {
    *informe = {};
    informe->por = por;
    informe->desde = desde;
    informe->hasta = hasta;
    CatalogoAlimentos catalogo;
    if (auto e = CatalogoAlimentos::cargar(db, &catalogo))
        return e;
    PreciosAlimento precios;
    if (auto e = PreciosAlimento::cargar(db, &precios))
        return e;
    Recorrido r(por, catalogo, precios);
    if (auto e = r.recorrer(db, desde, hasta, cancelado))
        return e;
    if (cancelado && cancelado())
        return std::nullopt;
    r.cerrar(informe);
    return std::nullopt;
}

std::optional<ErrorBD> InformeCostos::calcularEnArchivo(const QString& archivo, PorCosto por, QDate desde,
                                                        QDate hasta, InformeCostos* informe,
                                                        const std::function<bool()>& cancelado) {
    *informe = {};
    informe->por = por;
    informe->desde = desde;
    informe->hasta = hasta;
    CatalogoAlimentos catalogo;
    PreciosAlimento precios;
    if (auto e = ConexionLectura::usar(archivo, [&](QSqlDatabase& db) {
            if (auto e = CatalogoAlimentos::cargar(db, &catalogo))
                return e;
            return PreciosAlimento::cargar(db, &precios);
        }))
        return e;
    // A long period is walked as two halves at once. The second half hands its leading part (the
    // end of a trip begun in the first) back to the first, so the result is the one of a single walk.
    Recorrido mitades[2] = {{por, catalogo, precios}, {por, catalogo, precios}};
    mitades[1].empezarEnViaje();
    bool partido = false;
    if (auto e = RangoPartido::leer(desde, hasta, [&](const RangoPartido::Tramo& t) {
            if (t.indice == 0)
                partido = !t.unico; // written by this thread only
            return ConexionLectura::usar(archivo, [&](QSqlDatabase& db) {
                return mitades[t.indice].recorrer(db, t.desde, t.hasta, cancelado, t.unico);
            });
        }))
        return e;
    if (cancelado && cancelado())
        return std::nullopt;
    if (partido)
        mitades[0].seguirCon(mitades[1]);
    mitades[0].cerrar(informe);
    return std::nullopt;
}

QString InformeCostos::nombre(PorCosto p) {
    switch (p) {
    case PorCosto::Dia:
        return QStringLiteral("Día");
    case PorCosto::Receta:
        return QStringLiteral("Receta");
    case PorCosto::Corral:
        return QStringLiteral("Corral");
    case PorCosto::Alimento:
        return QStringLiteral("Alimento");
    case PorCosto::Operario:
        return QStringLiteral("Operario");
    }
    return {};
}

std::optional<PorCosto> InformeCostos::leerPor(const QString& palabra) {
    return nombreElegido(palabra, todas(), nombre);
}

QList<PorCosto> InformeCostos::todas() {
    return {PorCosto::Dia, PorCosto::Receta, PorCosto::Corral, PorCosto::Alimento, PorCosto::Operario};
}

QStringList InformeCostos::encabezados(PorCosto p) {
    return {nombre(p).toUpper(),          QStringLiteral("KG PLANIFICADO"),
            QStringLiteral("KG REAL"),    QStringLiteral("COSTO PLANIFICADO"),
            QStringLiteral("COSTO REAL"), QStringLiteral("DIFERENCIA")};
}

QString InformeCostos::sinDescarga() {
    return QStringLiteral("(sin descarga)");
}

QString InformeCostos::sinNombre() {
    return QStringLiteral("(sin nombre)");
}
