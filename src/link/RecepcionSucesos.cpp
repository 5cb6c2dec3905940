#include "link/RecepcionSucesos.h"

#include "catalog/BuscarOperario.h"
#include "core/Cp1252.h"
#include "core/Texto.h"
#include "link/LecturaSuceso.h"

const QString RecepcionSucesos::kFormulario = QStringLiteral("FrmSucesos");
const QString RecepcionSucesos::kProcedimiento = QStringLiteral("ws_DataArrival");

namespace {

enum class Marca { No, Fin, Carga, Descarga };

struct Hallazgo {
    Marca marca;
    qsizetype posicion;
    qsizetype largo;
};

const QString kNo = QStringLiteral("'no'");
const QString kFin = QStringLiteral("'fin'");
const QString kCarga = QStringLiteral("'carga'");
const QString kDescarga = QStringLiteral("'descarga'");
// "'descarga'" is the longest marker: a text without any marker keeps this much less one, in case
// a marker was cut at the end of the arrival.
constexpr qsizetype kColaSinMarca = 9;

// A record holds eleven short fields. Text that long after a marker without completing a record
// is no record: it is read as one (and reported) at this length, so a peer sending endless text
// cannot fill the memory, and the result does not depend on how the text was cut into arrivals.
constexpr qsizetype kRegistroMaximo = 64 * 1024;

constexpr int kCamposCarga = 11;
constexpr int kCamposDescarga = 6;

// Finds the markers of one buffer in order. "'descarga'" does not hold "'carga'" (the quote comes
// before the "d"), so the four are looked for independently; each one's next position is kept, so
// a buffer holding thousands of records is scanned once, not once per record.
class Buscador {
public:
    explicit Buscador(const QString& t) : texto_(t) {}

    std::optional<Hallazgo> primera(qsizetype desde) {
        std::optional<Hallazgo> mejor;
        for (int i = 0; i < 4; ++i) {
            if (proxima_[i] != kSinBuscar && proxima_[i] != kNinguna && proxima_[i] < desde)
                proxima_[i] = kSinBuscar;
            if (proxima_[i] == kSinBuscar) {
                const qsizetype p = texto_.indexOf(*kMarcas[i].second, desde);
                proxima_[i] = p < 0 ? kNinguna : p;
            }
            if (proxima_[i] != kNinguna && (!mejor || proxima_[i] < mejor->posicion))
                mejor = Hallazgo{kMarcas[i].first, proxima_[i], kMarcas[i].second->size()};
        }
        return mejor;
    }

private:
    static constexpr qsizetype kSinBuscar = -2;
    static constexpr qsizetype kNinguna = -1;
    static inline const std::pair<Marca, const QString*> kMarcas[4] = {
        {Marca::No, &kNo}, {Marca::Fin, &kFin}, {Marca::Carga, &kCarga}, {Marca::Descarga, &kDescarga}};
    const QString& texto_;
    qsizetype proxima_[4] = {kSinBuscar, kSinBuscar, kSinBuscar, kSinBuscar};
};

// Position of the n-th comma of the text after `desde`, or -1.
qsizetype enesimaComa(const QString& t, qsizetype desde, int n) {
    qsizetype p = desde - 1;
    for (int i = 0; i < n; ++i) {
        p = t.indexOf(u',', p + 1);
        if (p < 0)
            return -1;
    }
    return p;
}

Mensaje error(const QString& numero, const QString& descripcion) {
    return errorProcedimiento(numero, descripcion, RecepcionSucesos::kProcedimiento,
                              RecepcionSucesos::kFormulario);
}
const QString kFueraDeIntervalo = QStringLiteral("El subíndice está fuera del intervalo");
const QString kTiposDistintos = QStringLiteral("No coinciden los tipos");
const QString kDesbordamiento = QStringLiteral("Desbordamiento");

Mensaje faltanCampos() {
    return error(QStringLiteral("9"), kFueraDeIntervalo);
}
Mensaje noEsValor() {
    return error(QStringLiteral("13"), kTiposDistintos);
}

// Sets the date and the time of an event row in that order, the texts shown and what they hold.
// When one is not valid, the step keeps the row with what was set so far and the error, and false
// is returned.
bool fechaYHora(const QString& fecha, const QString& hora, FilaEvento& f, PasoRecepcion& p) {
    FilaEvento::Lectura& l = f.lectura.emplace();
    const auto d = LecturaSuceso::dia(fecha);
    if (d) {
        l.dia = *d;
        f.fecha = LecturaSuceso::diaMesAnio(*d);
    }
    const auto h = d ? LecturaSuceso::minuto(hora) : std::nullopt;
    if (h) {
        l.minuto = *h;
        f.hora = Texto::horaMinuto(*h);
    }
    if (d && h)
        return true;
    p.fila = f;
    p.mensaje = noEsValor();
    return false;
}

// The kilograms of a row whose date and time were read.
void kilos(const QString& sugerido, const QString& real, FilaEvento& f) {
    f.sugerido = sugerido;
    f.real = real;
    f.lectura->sugerido = Texto::leerKilos(sugerido);
    f.lectura->real = Texto::leerKilos(real);
}

} // namespace

QString RecepcionSucesos::pedido(const QDate& desde, const QDate& hasta) {
    const QString formato = QStringLiteral("MM/dd/yyyy");
    return QStringLiteral("Mandame los datos entre: ") + desde.toString(formato) + QStringLiteral(" y ") +
           hasta.toString(formato) + QStringLiteral(" a; ") + QStringLiteral("0.5");
}

QByteArray RecepcionSucesos::pedidoCodificado(const QDate& desde, const QDate& hasta) {
    return Cp1252::codificar(pedido(desde, hasta));
}

Mensaje RecepcionSucesos::mensajeIlegibles(qsizetype filas, int ilegibles) {
    const QString listadas =
        filas == 1 ? QStringLiteral("Se listó 1 fila") : QStringLiteral("Se listaron %1 filas").arg(filas);
    const QString malos = ilegibles == 1 ? QStringLiteral("1 registro no se pudo leer")
                                         : QStringLiteral("%1 registros no se pudieron leer").arg(ilegibles);
    return {listadas + QStringLiteral("; ") + malos, Icono::Exclamacion};
}

void RecepcionSucesos::iniciar(const QDate& desde, const QDate& hasta, const QString& direccion) {
    buffer_.clear();
    filas_ = 0;
    ilegibles_ = 0;
    operarios_.clear();
    operarioActual_ = QStringLiteral("0");
    desde_ = desde;
    hasta_ = hasta;
    direccion_ = direccion;
}

QList<PasoRecepcion> RecepcionSucesos::recibir(const QByteArray& llegada) {
    buffer_ += Cp1252::decodificar(llegada);
    QList<PasoRecepcion> pasos;
    qsizetype inicio = 0; // what lies before it has been handled
    Buscador buscador(buffer_);
    for (;;) {
        const std::optional<Hallazgo> m = buscador.primera(inicio);
        if (!m) {
            // Text outside any record is of no use, bar the start of a marker cut short.
            inicio = std::max(inicio, buffer_.size() - kColaSinMarca);
            break;
        }
        inicio = m->posicion;
        if (m->marca == Marca::No) {
            inicio += m->largo;
            pasos << mensajeNo();
            continue;
        }
        if (m->marca == Marca::Fin) {
            inicio += m->largo;
            PasoRecepcion p;
            // The claim that every record came holds only when every one could be read.
            p.mensaje = ilegibles_ == 0
                            ? Mensaje{QStringLiteral("se descargaron todos los registros correctamente"),
                                      Icono::Informacion}
                            : mensajeIlegibles(filas_, ilegibles_);
            p.termina = true;
            pasos << p;
            continue;
        }
        const bool carga = m->marca == Marca::Carga;
        const std::optional<Hallazgo> siguiente = buscador.primera(m->posicion + m->largo);
        qsizetype fin = enesimaComa(buffer_, m->posicion, carga ? kCamposCarga : kCamposDescarga) + 1;
        if (siguiente && (fin == 0 || fin > siguiente->posicion))
            fin = siguiente->posicion; // a short record ends where the next reply begins
        const qsizetype tope = m->posicion + kRegistroMaximo;
        if (fin > tope || (fin == 0 && buffer_.size() > tope + kColaSinMarca))
            fin = tope;
        if (fin == 0)
            break; // the rest of the record is still on its way
        const QString registro = buffer_.mid(m->posicion, fin - m->posicion);
        inicio = fin;
        const PasoRecepcion p = carga ? leerCarga(registro) : leerDescarga(registro);
        filas_ += p.fila ? 1 : 0;
        ilegibles_ += p.mensaje ? 1 : 0;
        pasos << p;
    }
    buffer_.remove(0, std::max<qsizetype>(0, std::min(inicio, buffer_.size())));
    return pasos;
}

PasoRecepcion RecepcionSucesos::mensajeNo() const {
    PasoRecepcion p;
    p.mensaje = Mensaje{QStringLiteral("No existen datos en la tablet ") + direccion_ +
                            QStringLiteral(" entre las fechas ") + LecturaSuceso::diaMesAnio(desde_) +
                            QStringLiteral(" y ") + LecturaSuceso::diaMesAnio(hasta_),
                        Icono::Exclamacion, kTituloAplicacion};
    p.termina = true;
    return p;
}

PasoRecepcion RecepcionSucesos::leerCarga(const QString& registro) {
    PasoRecepcion p;
    const QStringList c = LecturaSuceso::campos(registro);
    if (c.size() < kCamposCarga) {
        p.mensaje = faltanCampos();
        return p;
    }
    const QString numero = c[10];
    auto hallado = operarios_.constFind(numero);
    if (hallado == operarios_.constEnd()) {
        const ResultadoOperario r = buscarOperario(numero);
        if (r.error) {
            p.mensaje = error(r.error->numero, r.error->descripcion);
            return p;
        }
        hallado = operarios_.insert(numero, r.texto);
    }
    operarioActual_ = *hallado;

    // The row is listed first and its columns set one by one: an error keeps what was set.
    FilaEvento f;
    f.tipo = QStringLiteral("CARGA");
    if (!fechaYHora(c[1], c[8], f, p))
        return p;
    f.recetaCorral = c[3].trimmed();
    f.alimento = c[5];
    kilos(c[6], c[7], f);
    f.operario = operarioActual_;
    p.fila = f;
    switch (LecturaSuceso::entero16(c[2])) {
    case LecturaSuceso::Entero16::Valido:
        break;
    case LecturaSuceso::Entero16::NoEsNumero:
        p.mensaje = noEsValor();
        break;
    case LecturaSuceso::Entero16::Desborda:
        p.mensaje = error(QStringLiteral("6"), kDesbordamiento);
        break;
    }
    return p;
}

PasoRecepcion RecepcionSucesos::leerDescarga(const QString& registro) {
    PasoRecepcion p;
    const QStringList c = LecturaSuceso::campos(registro);
    if (c.size() < kCamposDescarga) {
        p.mensaje = faltanCampos();
        return p;
    }
    FilaEvento f;
    f.tipo = QStringLiteral("DESCARGA");
    if (!fechaYHora(c[1], c[5], f, p))
        return p;
    f.recetaCorral = c[2];
    kilos(c[3], c[4], f);
    f.operario = operarioActual_;
    p.fila = f;
    return p;
}
