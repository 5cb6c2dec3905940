#include "web/DescargaWeb.h"

#include "link/BuscarOperario.h"
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

int cifras(QStringView t, qsizetype i, qsizetype n) {
    int v = 0;
    for (qsizetype k = i; k < i + n; ++k) {
        const char16_t c = t[k].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace

DescargaWeb::DescargaWeb(const DatosWeb& datos, QDate desde, QDate hasta, QObject* parent)
    : SesionWeb(datos, parent), desde_(desde), hasta_(hasta), ultima_(8), ultimaFecha_(1899, 12, 30) {}

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
    const QStringView t = QStringView(valor.cadena()).trimmed();
    int a = -1, m = -1, d = -1;
    if (t.size() >= 10 && (t[4] == u'-' || t[4] == u'/') && t[7] == t[4] &&
        (t.size() == 10 || t[10] == u' ' || t[10] == u'T')) {
        a = cifras(t, 0, 4), m = cifras(t, 5, 2), d = cifras(t, 8, 2);
    } else if (t.size() == 10 && t[2] == u'/' && t[5] == u'/') {
        d = cifras(t, 0, 2), m = cifras(t, 3, 2), a = cifras(t, 6, 4);
    } else if (t.size() == 8) {
        a = cifras(t, 0, 4), m = cifras(t, 4, 2), d = cifras(t, 6, 2);
    }
    if (a < 0 || m < 0 || d < 0)
        return std::nullopt;
    const QDate f(a, m, d);
    if (!f.isValid())
        return std::nullopt;
    return f;
}

void DescargaWeb::ingresado() {
    Q_EMIT avance(QStringLiteral("Descargando los sucesos..."));
    enviar(sentenciaCargas(idCliente_, desde_, hasta_), &DescargaWeb::alCargas);
}

void DescargaWeb::alCargas(const RespuestaWeb& r) {
    if (!r.texto.contains(u'{')) {
        terminar(Fin::SinDatos, {QStringLiteral("No existen datos a mostrar"), Icono::Exclamacion});
        return;
    }
    cargas_ = r.texto;
    vista_ = recortarRespuesta(cargas_);
    if (vista_.isEmpty()) {
        terminar(Fin::Normal);
        return;
    }
    inicio_ = 0;
    actual_ = ParseJson(vista_, 0).value_or(ValorJson::objeto());
    grupo();
}

bool DescargaWeb::celda(const ValorJson& fila, QStringView clave, QString* texto) {
    const ValorJson& v = fila[clave];
    std::optional<QString> t = v.comoTexto();
    if (!t) {
        fallar(v.esNulo() ? QStringLiteral("94") : QStringLiteral("13"),
               v.esNulo() ? kUsoNull : kNoCoinciden);
        return false;
    }
    *texto = std::move(*t);
    return true;
}

bool DescargaWeb::fechaDe(const ValorJson& fila, QDate* fecha) {
    const ValorJson& v = fila[u"fecha"];
    const std::optional<QDate> f = leerFecha(v);
    if (!f) {
        fallar(v.esNulo() ? QStringLiteral("94") : QStringLiteral("13"),
               v.esNulo() ? kUsoNull : kNoCoinciden);
        return false;
    }
    *fecha = *f;
    return true;
}

bool DescargaWeb::listarCarga() {
    QStringList valores(8);
    for (int i = 0; i < 8; ++i) {
        if (i == kIdAlim) {
            // Compared, never shown: a null here only makes the row differ.
            valores[i] = actual_[kClavesCarga[i]].comoTexto().value_or(QStringLiteral("\x01null"));
        } else if (!celda(actual_, kClavesCarga[i], &valores[i])) {
            return false;
        }
    }
    if (valores == ultima_)
        return true; // the same load as the one just listed
    Operario_Actual = valores[kOperario];
    auto nombre = nombres_.constFind(Operario_Actual);
    if (nombre == nombres_.cend()) {
        const ResultadoOperario r = Buscar_Operario(Operario_Actual);
        if (r.error) {
            fallar(r.error->numero, r.error->descripcion);
            return false;
        }
        nombre = nombres_.insert(Operario_Actual, r.texto);
    }
    Operario_Actual = nombre.value();
    Q_EMIT fila({QStringLiteral("CARGA"), valores[kFecha], valores[kHora], valores[kReceta],
                 valores[kAlimento], valores[kKgSug], valores[kKgReal], Operario_Actual});
    if (terminado_) // a receiver may have stopped the run
        return false;
    if (!fechaDe(actual_, &ultimaFecha_))
        return false;
    ultima_ = std::move(valores);
    return true;
}

void DescargaWeb::grupo() {
    for (int n = 0; n < kFilasPorTurno; ++n) {
        if (!listarCarga())
            return;
        const qsizetype siguiente = vista_.indexOf(u'{', inicio_ + 1);
        if (siguiente < 0) {
            agotadas_ = true;
            break;
        }
        inicio_ = siguiente;
        actual_ = ParseJson(vista_, inicio_).value_or(ValorJson::objeto());
        QDate fecha;
        if (!fechaDe(actual_, &fecha))
            return;
        if (fecha != ultimaFecha_)
            break; // the row stays current for the next group
        if (n == kFilasPorTurno - 1) {
            QTimer::singleShot(0, this, [this] {
                if (!terminado_)
                    grupo();
            });
            return;
        }
    }
    enviar(sentenciaDescargas(idCliente_, ultimaFecha_), &DescargaWeb::alDescargas);
}

void DescargaWeb::alDescargas(const RespuestaWeb& r) {
    if (r.texto.contains(u'{')) {
        const QStringView v = recortarRespuesta(r.texto);
        qsizetype i = v.isEmpty() ? -1 : 0;
        while (i >= 0) {
            const ValorJson d = ParseJson(v, i).value_or(ValorJson::objeto());
            FilaEvento f;
            f.tipo = QStringLiteral("DESCARGA");
            if (!celda(d, u"fecha", &f.fecha) || !celda(d, u"hora", &f.hora) ||
                !celda(d, u"corral", &f.recetaCorral) || !celda(d, u"kg_sug", &f.sugerido) ||
                !celda(d, u"kg_real", &f.real))
                return;
            Q_EMIT fila(f);
            if (terminado_)
                return;
            i = v.indexOf(u'{', i + 1);
        }
    }
    if (agotadas_)
        terminar(Fin::Normal);
    else
        grupo();
}

void DescargaWeb::terminar(Fin fin, const Mensaje& m) {
    if (terminado_)
        return;
    terminado_ = true;
    Q_EMIT terminado(fin, m);
}

void DescargaWeb::fallar(const QString& numero, const QString& descripcion) {
    terminar(Fin::Error, errorProcedimiento(numero, descripcion, kProcedimiento, QStringLiteral("Form1")));
}
