#include "events/DescargaSucesos.h"

#include "historial/HistorialSucesos.h"
#include "web/DescargaWeb.h"

DescargaSucesos::DescargaSucesos(QObject* parent) : QObject(parent) {}

DescargaSucesos::~DescargaSucesos() {
    delete web_.data();
}

QString DescargaSucesos::via() const {
    if (!via_)
        return {};
    return *via_ == Via::Directa ? HistorialSucesos::kDirecta : HistorialSucesos::kWeb;
}

void DescargaSucesos::empezar(Via via) {
    if (web_) {
        web_->disconnect(this);
        web_->deleteLater();
    }
    via_ = via;
    fin_ = Fin::EnCurso;
    filas_.clear();
    ilegibles_ = 0;
}

QByteArray DescargaSucesos::iniciarDirecta(QDate desde, QDate hasta, const QString& direccion) {
    empezar(Via::Directa);
    recepcion_.iniciar(desde, hasta, direccion);
    return RecepcionSucesos::pedidoCodificado(desde, hasta);
}

void DescargaSucesos::recibir(const QByteArray& llegada) {
    if (via_ != Via::Directa || fin_ != Fin::EnCurso)
        return;
    // The rows of one arrival go out together; a message goes after the rows that came before it.
    QList<FilaEvento> lote;
    for (const PasoRecepcion& p : recepcion_.recibir(llegada)) {
        if (p.fila) {
            lote << *p.fila;
            filas_ << *p.fila;
        }
        if (!p.mensaje)
            continue;
        if (!lote.isEmpty())
            Q_EMIT filasLlegadas(lote);
        lote.clear();
        if (!p.termina) {
            ++ilegibles_;
            Q_EMIT aviso(*p.mensaje);
            continue;
        }
        // "'no'" or "'fin'": the tablet's last word on this request; what follows it is no part of it.
        const Fin fin = p.mensaje->icono == Icono::Informacion ? Fin::Completa
                        : recepcion_.ilegibles() > 0           ? Fin::Incompleta
                                                               : Fin::SinDatos;
        terminar(fin, *p.mensaje);
        return;
    }
    if (!lote.isEmpty())
        Q_EMIT filasLlegadas(lote);
}

void DescargaSucesos::iniciarWeb(const DatosWeb& datos, QDate desde, QDate hasta) {
    empezar(Via::Web);
    auto* web = new DescargaWeb(datos, desde, hasta, this);
    web_ = web;
    connect(web, &DescargaWeb::avance, this, &DescargaSucesos::avance);
    connect(web, &DescargaWeb::fila, this, [this](const FilaEvento& f) {
        filas_ << f;
        Q_EMIT filasLlegadas({f});
    });
    connect(web, &DescargaWeb::registroIlegible, this, [this](const Mensaje& m) {
        ++ilegibles_;
        Q_EMIT aviso(m);
    });
    connect(web, &DescargaWeb::terminado, this, [this, web](DescargaWeb::Fin f, const Mensaje& m) {
        recepcion_.setOperarioActual(web->operarioActual());
        web_ = nullptr;
        web->deleteLater();
        terminar(f == DescargaWeb::Fin::Normal       ? Fin::Completa
                 : f == DescargaWeb::Fin::SinDatos   ? Fin::SinDatos
                 : f == DescargaWeb::Fin::Incompleta ? Fin::Incompleta
                                                     : Fin::Fallida,
                 m);
    });
    web->iniciar();
}

void DescargaSucesos::cortar() {
    if (web_) {
        web_->disconnect(this);
        web_->deleteLater();
        web_ = nullptr;
    }
    if (enCurso())
        terminar(Fin::Cortada, {});
}

void DescargaSucesos::terminar(Fin fin, const Mensaje& mensaje) {
    fin_ = fin;
    Q_EMIT terminada(fin, mensaje);
}

std::optional<ErrorBD> DescargaSucesos::guardar(QSqlDatabase db) const {
    if (!guardable())
        return std::nullopt;
    return HistorialSucesos::fusionar(db, filas_, via());
}
