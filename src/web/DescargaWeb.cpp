#include "web/DescargaWeb.h"

#include "catalog/BuscarOperario.h"
#include "core/Texto.h"
#include "link/RecepcionSucesos.h"
#include "web/Json.h"

#include <QTimer>

const QString DescargaWeb::kProcedimiento = QStringLiteral("Recibir_web");

namespace {

// The eight values that make a load row the same as the one before it, in this order.
const char16_t* const kClavesCarga[] = {u"fecha",    u"hora",    u"receta",   u"id_alim",
                                        u"alimento", u"kg_real", u"Operario", u"kg_sug"};
enum { kFecha, kHora, kReceta, kIdAlim, kAlimento, kKgReal, kOperario, kKgSug };

// Rows listed per turn of the event loop, so a large reply never freezes the window.
constexpr int kFilasPorTurno = 2000;

const QString kUsoNull = QStringLiteral("Uso no válido de Null");
const QString kNoCoinciden = QStringLiteral("No coinciden los tipos");

} // namespace

DescargaWeb::DescargaWeb(const DatosWeb& datos, QDate desde, QDate hasta, QObject* parent)
    : SesionWeb(datos, parent), desde_(desde), hasta_(hasta), ultima_(8) {}

QString DescargaWeb::sentenciaCargas(const QString& cliente, QDate desde, QDate hasta) {
    return QStringLiteral("select * from lectura_carga_tracker where cliente = ") + cliente +
           QStringLiteral(" and fecha between '") + desde.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral("' and '") + hasta.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral("' order by fecha, hora");
}

QString DescargaWeb::sentenciaDescargas(const QString& cliente, QDate fecha) {
    return QStringLiteral("select * from lectura_descarga_tracker where cliente = ") + cliente +
           QStringLiteral(" and fecha = ") + fecha.toString(QStringLiteral("yyyyMMdd"));
}

std::optional<QDate> DescargaWeb::leerFecha(const ValorJson& valor) {
    if (valor.tipo() != ValorJson::Tipo::Texto && valor.tipo() != ValorJson::Tipo::Numero)
        return std::nullopt;
    return Texto::leerFecha(valor.cadena());
}

void DescargaWeb::ingresado() {
    Q_EMIT avance(QStringLiteral("Descargando los sucesos..."));
    enviar(sentenciaCargas(idCliente_, desde_, hasta_), &DescargaWeb::alCargas);
}

void DescargaWeb::alCargas(const RespuestaWeb& r) {
    if (!r.texto.contains(u'{')) {
        const Mensaje sinDatos{QStringLiteral("No existen datos a mostrar"), Icono::Exclamacion};
        // A statement the server refused is no empty range: the message carries its reason and
        // the run counts as failed.
        if (!estadoCorrecto(r))
            terminar(Fin::Error, conRazon(sinDatos, razonDelServidor(r)));
        else
            terminar(Fin::SinDatos, sinDatos);
        return;
    }
    cargas_ = r.texto;
    vista_ = recortarRespuesta(cargas_);
    if (vista_.isEmpty()) {
        terminar(Fin::Normal);
        return;
    }
    inicio_ = 0;
    ponerActual(0);
    grupo();
}

void DescargaWeb::ponerActual(qsizetype inicio) {
    actual_ = ParseJson(vista_, inicio).value_or(ValorJson::objeto());
    fechaActual_ = leerFecha(actual_[u"fecha"]);
}

bool DescargaWeb::celda(const ValorJson& fila, QStringView clave, QString* texto) {
    const ValorJson& v = fila[clave];
    std::optional<QString> t = v.comoTexto();
    if (!t) {
        ilegible(v.esNulo() ? QStringLiteral("94") : QStringLiteral("13"),
                 v.esNulo() ? kUsoNull : kNoCoinciden);
        return false;
    }
    *texto = std::move(*t);
    return true;
}

void DescargaWeb::ilegible(const QString& numero, const QString& descripcion) {
    ilegible(errorProcedimiento(numero, descripcion, kProcedimiento, QStringLiteral("Form1")));
}

void DescargaWeb::ilegible(const Mensaje& mensaje) {
    ++ilegibles_;
    Q_EMIT registroIlegible(mensaje);
}

bool DescargaWeb::listarCarga() {
    // False only when the run has ended; a row that cannot be read is reported and passed over.
    QStringList valores(8);
    for (int i = 0; i < 8; ++i) {
        if (i == kIdAlim) {
            // Compared, never shown: a null here only makes the row differ.
            valores[i] = actual_[kClavesCarga[i]].comoTexto().value_or(QStringLiteral("\x01null"));
        } else if (!celda(actual_, kClavesCarga[i], &valores[i])) {
            return !terminado_;
        }
    }
    if (valores == ultima_)
        return true; // the same load as the one just listed
    operarioActual_ = valores[kOperario];
    auto nombre = nombres_.constFind(operarioActual_);
    if (nombre == nombres_.cend()) {
        const ResultadoOperario r = buscarOperario(operarioActual_);
        if (r.error) {
            ilegible(r.error->numero, r.error->descripcion);
            return !terminado_;
        }
        nombre = nombres_.insert(operarioActual_, r.texto);
    }
    operarioActual_ = nombre.value();
    listar({QStringLiteral("CARGA"), valores[kFecha], valores[kHora], valores[kReceta], valores[kAlimento],
            valores[kKgSug], valores[kKgReal], operarioActual_});
    if (terminado_) // a receiver may have stopped the run
        return false;
    ultima_ = std::move(valores);
    // The row is listed as it came; a fecha that is no date is reported after it.
    if (!fechaActual_) {
        ilegible(QStringLiteral("13"), kNoCoinciden);
        return !terminado_;
    }
    return true;
}

void DescargaWeb::grupo() {
    // A group is the run of loads sharing its first row's date. A row whose date cannot be read
    // never starts a group of its own: it stays in the one it is in, where it is reported.
    fechaGrupo_ = fechaActual_.value_or(QDate());
    seguirGrupo();
}

void DescargaWeb::seguirGrupo() {
    for (int n = 0; n < kFilasPorTurno; ++n) {
        if (!listarCarga())
            return;
        const qsizetype siguiente = vista_.indexOf(u'{', inicio_ + 1);
        if (siguiente < 0) {
            agotadas_ = true;
            break;
        }
        inicio_ = siguiente;
        ponerActual(inicio_);
        if (fechaActual_ && fechaGrupo_.isValid() && *fechaActual_ != fechaGrupo_)
            break; // the row stays current for the next group
        if (fechaActual_ && !fechaGrupo_.isValid())
            fechaGrupo_ = *fechaActual_;
        if (n == kFilasPorTurno - 1) {
            QTimer::singleShot(0, this, [this] {
                if (!terminado_)
                    seguirGrupo();
            });
            return;
        }
    }
    finDeGrupo();
}

void DescargaWeb::finDeGrupo() {
    if (fechaGrupo_.isValid()) {
        enviar(sentenciaDescargas(idCliente_, fechaGrupo_), &DescargaWeb::alDescargas);
        return;
    }
    // Not one row of the group had a date: there is no day to ask the discharges of.
    if (agotadas_)
        terminarLectura();
    else
        grupo();
}

void DescargaWeb::alDescargas(const RespuestaWeb& r) {
    if (!r.texto.contains(u'{') && !estadoCorrecto(r)) {
        // A refused statement is no day without discharges: that day's are missing, and the
        // download must not end as if it had everything.
        ilegible(conRazon({QStringLiteral("No se pudieron leer las descargas del %1.")
                               .arg(fechaGrupo_.toString(u"dd/MM/yyyy")),
                           Icono::Critico},
                          razonDelServidor(r)));
        if (terminado_)
            return;
    } else if (r.texto.contains(u'{')) {
        const QStringView v = recortarRespuesta(r.texto);
        qsizetype i = v.isEmpty() ? -1 : 0;
        while (i >= 0) {
            const ValorJson d = ParseJson(v, i).value_or(ValorJson::objeto());
            FilaEvento f;
            f.tipo = QStringLiteral("DESCARGA");
            if (celda(d, u"fecha", &f.fecha) && celda(d, u"hora", &f.hora) &&
                celda(d, u"corral", &f.recetaCorral) && celda(d, u"kg_sug", &f.sugerido) &&
                celda(d, u"kg_real", &f.real))
                listar(std::move(f));
            if (terminado_)
                return;
            i = v.indexOf(u'{', i + 1);
        }
    }
    if (agotadas_)
        terminarLectura();
    else
        grupo();
}

void DescargaWeb::listar(FilaEvento f) {
    // Read here, once: whoever keeps the row takes the date, the time and the kilograms as read.
    f.lectura = f.leer();
    ++listadas_;
    Q_EMIT fila(f);
}

void DescargaWeb::terminarLectura() {
    if (ilegibles_ > 0)
        terminar(Fin::Incompleta, RecepcionSucesos::mensajeIlegibles(listadas_, ilegibles_));
    else
        terminar(Fin::Normal);
}

void DescargaWeb::terminar(Fin fin, const Mensaje& m) {
    if (terminado_)
        return;
    terminado_ = true;
    Q_EMIT terminado(fin, m);
}

void DescargaWeb::fallar(const QString& numero, const QString& descripcion, const QString& razon) {
    terminar(
        Fin::Error,
        conRazon(errorProcedimiento(numero, descripcion, kProcedimiento, QStringLiteral("Form1")), razon));
}
