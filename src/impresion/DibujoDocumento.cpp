#include "impresion/DibujoDocumento.h"

#include "core/ArchivoSeguro.h"
#include "core/Texto.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTime>
#include <QVarLengthArray>

#include <algorithm>
#include <numeric>

using namespace DocumentoImpreso;

namespace {

constexpr double kMargenMm = 12;
constexpr int kResolucionPdf = 300;

// What one placed piece of a page is.
enum class Pieza { Titulo, Dato, TituloSeccion, Imagen, Encabezado, Fila, Aviso };

struct Colocada {
    Colocada(Pieza p, const Seccion* s = nullptr, const Fila* f = nullptr, QString t = {})
        : pieza(p), seccion(s), fila(f), texto(std::move(t)) {}
    Pieza pieza;
    const Seccion* seccion = nullptr;
    const Fila* fila = nullptr;
    QString texto;
    QRectF rect;
    bool inicioDeGrupo = false; // a rule above it sets its group apart
};
using Pagina = QList<Colocada>;

// Fonts and their measures on the device, and the page's areas.
struct Medidas {
    Medidas(QPaintDevice& d, const Documento& doc) : dispositivo(d) {
        normal.setPointSizeF(8.5 * escalaTablas(doc, d));
        negrita = normal;
        negrita.setBold(true);
        seccion = negrita;
        seccion.setPointSizeF(10.5);
        titulo = negrita;
        titulo.setPointSizeF(14);
        pie.setPointSizeF(7.5);
        const QFontMetricsF fn(normal, &d);
        const QFontMetricsF fc(negrita, &d);
        const QFontMetricsF fs(seccion, &d);
        const QFontMetricsF ft(titulo, &d);
        const QFontMetricsF fp(pie, &d);
        alto = fn.height();
        relleno = std::max(1.0, alto * 0.2);
        altoSeccion = fs.height() * 1.5;
        altoTitulo = ft.height() * 1.3;
        altoDato = fn.height() * 1.25;
        ancho = d.width();
        cabecera = fc.height() * 1.8;
        altoPie = fp.height() * 1.8;
        arriba = cabecera;
        abajo = d.height() - altoPie;
        trazo = std::max(1.0, d.logicalDpiX() / 200.0);
    }
    double contenido() const { return abajo - arriba; }

    // A table wider than the page at the usual size is set smaller (down to half of it) rather
    // than have its cells run into each other: the widest cell of each column, and each header
    // word, must fit.
    static double escalaTablas(const Documento& doc, QPaintDevice& d) {
        QFont letra;
        letra.setPointSizeF(8.5);
        letra.setBold(true);
        const QFontMetricsF fm(letra, &d);
        double mayor = 0;
        for (const Seccion& s : doc.secciones) {
            QList<double> anchos(s.columnas.size(), 0.0);
            for (qsizetype c = 0; c < s.columnas.size(); ++c)
                for (const QString& palabra : s.columnas[c].titulo.split(u' ', Qt::SkipEmptyParts))
                    anchos[c] = std::max(anchos[c], fm.horizontalAdvance(palabra));
            for (const Grupo& g : s.grupos)
                for (const Fila& f : g)
                    if (f.celdas.size() > 1)
                        for (qsizetype c = 0; c < f.celdas.size() && c < anchos.size(); ++c)
                            anchos[c] = std::max(anchos[c], fm.horizontalAdvance(f.celdas[c]));
            double suma = 0;
            for (double a : anchos)
                suma += a + fm.height() * 0.6; // the cell's padding on both sides
            mayor = std::max(mayor, suma);
        }
        return mayor > d.width() ? std::max(0.5, d.width() / mayor) : 1.0;
    }

    QPaintDevice& dispositivo;
    QFont normal, negrita, seccion, titulo, pie;
    double alto, relleno, altoSeccion, altoTitulo, altoDato, ancho, cabecera, altoPie, arriba, abajo, trazo;
};

QList<double> anchos(const Seccion& s, double total) {
    double suma = 0;
    for (const Columna& c : s.columnas)
        suma += std::max(0.0, c.ancho);
    QList<double> r;
    for (const Columna& c : s.columnas)
        r << (suma > 0 ? total * std::max(0.0, c.ancho) / suma : total / s.columnas.size());
    return r;
}

// Lays the pages out; drawing them is then a walk over what was placed.
class Compaginador {
public:
    Compaginador(const Documento& d, const Medidas& m)
        : doc_(d), m_(m), normal_(m.normal, &m.dispositivo), negrita_(m.negrita, &m.dispositivo) {}

    QList<Pagina> compaginar() {
        paginas_ = {Pagina()};
        y_ = m_.arriba;
        poner({Pieza::Titulo, nullptr, nullptr, doc_.titulo}, m_.altoTitulo);
        for (const QString& dato : doc_.datos)
            poner({Pieza::Dato, nullptr, nullptr, dato}, m_.altoDato);
        for (const Seccion& s : doc_.secciones)
            seccion(s);
        return paginas_;
    }

private:
    void seccion(const Seccion& s) {
        anchos_ = anchos(s, m_.ancho);
        const double alturaEncabezado = alturaCeldas(encabezados(s), true);
        const double primera = s.grupos.isEmpty() || s.grupos.first().isEmpty()
                                   ? m_.altoDato
                                   : alturaCeldas(s.grupos.first().first().celdas, false);
        QSizeF imagen;
        if (!s.imagen.isNull() && s.imagen.width() > 0) {
            // The picture keeps its shape within the width and at most half the page's height.
            imagen =
                QSizeF(s.imagen.size()).scaled(QSizeF(m_.ancho, m_.contenido() * 0.5), Qt::KeepAspectRatio);
        }
        // The heading goes with the picture and the table's first row.
        const double cabeza =
            (s.titulo.isEmpty() ? 0 : m_.altoSeccion) + imagen.height() + alturaEncabezado + primera;
        if (y_ > m_.arriba && y_ + cabeza > m_.abajo)
            nuevaPagina();
        else if (y_ > m_.arriba)
            y_ += m_.altoDato * 0.5;
        if (!s.titulo.isEmpty())
            poner({Pieza::TituloSeccion, &s, nullptr, s.titulo}, m_.altoSeccion);
        if (!imagen.isEmpty()) {
            Colocada c{Pieza::Imagen, &s};
            c.rect = QRectF((m_.ancho - imagen.width()) / 2, y_, imagen.width(), imagen.height());
            paginas_.back() << c;
            y_ += imagen.height() + m_.altoDato * 0.5;
        }
        if (s.grupos.isEmpty()) {
            poner({Pieza::Aviso, &s, nullptr, s.sinFilas}, m_.altoDato);
            return;
        }
        bool conEncabezado = false;
        auto encabezado = [&] {
            poner({Pieza::Encabezado, &s}, alturaEncabezado);
            conEncabezado = true;
        };
        for (const Grupo& g : s.grupos) {
            QList<double> alturas;
            alturas.reserve(g.size());
            for (const Fila& f : g)
                alturas << alturaCeldas(f.celdas, f.estilo != Fila::Estilo::Normal);
            const double total = std::accumulate(alturas.begin(), alturas.end(), 0.0);
            const double hace = total + (conEncabezado ? 0 : alturaEncabezado);
            // A group that fits on an empty page never starts on one where it would be cut.
            if (y_ + hace > m_.abajo && y_ > m_.arriba && total + alturaEncabezado <= m_.contenido()) {
                nuevaPagina();
                conEncabezado = false;
            }
            if (!conEncabezado)
                encabezado();
            for (qsizetype i = 0; i < g.size(); ++i) {
                if (y_ + alturas[i] > m_.abajo && y_ > m_.arriba + alturaEncabezado) {
                    nuevaPagina();
                    encabezado();
                }
                Colocada fila(Pieza::Fila, &s, &g[i]);
                fila.inicioDeGrupo = i == 0 && g.size() > 1;
                poner(std::move(fila), alturas[i]);
            }
        }
    }

    static QStringList encabezados(const Seccion& s) {
        QStringList r;
        for (const Columna& c : s.columnas)
            r << c.titulo;
        return r;
    }

    // The height of a row: its tallest cell, wrapped within the cell's width.
    double alturaCeldas(const QStringList& celdas, bool negrita) const {
        const QFontMetricsF& fm = negrita ? negrita_ : normal_;
        double alto = fm.height();
        const bool unaSola = celdas.size() == 1 && anchos_.size() > 1;
        for (qsizetype i = 0; i < celdas.size() && i < anchos_.size(); ++i) {
            const double ancho = (unaSola ? m_.ancho : anchos_[i]) - 2 * m_.relleno;
            const QString& t = celdas[i];
            if (t.isEmpty() || fm.horizontalAdvance(t) <= ancho)
                continue;
            alto = std::max(alto, fm.boundingRect(QRectF(0, 0, ancho, 1e6), Qt::TextWordWrap, t).height());
        }
        return alto + 2 * m_.relleno;
    }

    void poner(Colocada c, double alto) {
        c.rect = QRectF(0, y_, m_.ancho, alto);
        paginas_.back() << std::move(c);
        y_ += alto;
    }

    void nuevaPagina() {
        paginas_ << Pagina();
        y_ = m_.arriba;
    }

    const Documento& doc_;
    const Medidas& m_;
    QFontMetricsF normal_, negrita_;
    QList<Pagina> paginas_;
    QList<double> anchos_;
    double y_ = 0;
};

const QColor kReja(150, 150, 150);
const QColor kFondoEncabezado(225, 225, 225);
const QColor kFondoMarcada(255, 214, 214);
const QColor kTextoMarcado(150, 0, 0);

// One row: its background, its texts, then its cells' frames in one go (one change of pen per row,
// not two per cell: the PDF writes every change).
void celdas(QPainter& p, const Medidas& m, const Seccion& s, const QStringList& textos, const QRectF& r,
            const QColor& fondo) {
    const QList<double> ancho = anchos(s, m.ancho);
    const bool unaSola = textos.size() == 1 && ancho.size() > 1;
    if (fondo.isValid())
        p.fillRect(r, fondo);
    QVarLengthArray<QRectF, 16> marcos;
    double x = 0;
    for (qsizetype i = 0; i < ancho.size(); ++i) {
        marcos.append(QRectF(x, r.top(), unaSola ? m.ancho : ancho[i], r.height()));
        if (i < textos.size() && !textos[i].isEmpty()) {
            const Qt::Alignment a = unaSola ? Qt::AlignLeft : s.columnas[i].alineacion;
            p.drawText(marcos.back().adjusted(m.relleno, m.relleno, -m.relleno, -m.relleno),
                       int(a) | Qt::AlignTop | Qt::TextWordWrap, textos[i]);
        }
        if (unaSola)
            break;
        x += ancho[i];
    }
    const QPen texto = p.pen();
    p.setPen(QPen(kReja, m.trazo));
    p.drawRects(marcos.constData(), int(marcos.size()));
    p.setPen(texto);
}

void dibujarPieza(QPainter& p, const Medidas& m, const Colocada& c) {
    switch (c.pieza) {
    case Pieza::Titulo:
        p.setFont(m.titulo);
        p.drawText(c.rect, Qt::AlignLeft | Qt::AlignVCenter, c.texto);
        break;
    case Pieza::Dato:
    case Pieza::Aviso:
        p.setFont(m.normal);
        p.drawText(c.rect, Qt::AlignLeft | Qt::AlignVCenter, c.texto);
        break;
    case Pieza::TituloSeccion:
        p.setFont(m.seccion);
        p.drawText(c.rect, Qt::AlignLeft | Qt::AlignBottom, c.texto);
        break;
    case Pieza::Imagen:
        p.drawImage(c.rect, c.seccion->imagen);
        break;
    case Pieza::Encabezado: {
        QStringList t;
        for (const Columna& col : c.seccion->columnas)
            t << col.titulo;
        p.setFont(m.negrita);
        celdas(p, m, *c.seccion, t, c.rect, kFondoEncabezado);
        break;
    }
    case Pieza::Fila: {
        const Fila& f = *c.fila;
        p.setFont(f.estilo == Fila::Estilo::Normal ? m.normal : m.negrita);
        if (f.estilo == Fila::Estilo::Marcada) {
            p.setPen(kTextoMarcado);
            celdas(p, m, *c.seccion, f.celdas, c.rect, kFondoMarcada);
            p.setPen(Qt::black);
        } else {
            celdas(p, m, *c.seccion, f.celdas, c.rect, QColor());
        }
        if (c.inicioDeGrupo) {
            const QPen antes = p.pen();
            p.setPen(QPen(Qt::black, m.trazo * 2.5));
            p.drawLine(c.rect.topLeft(), c.rect.topRight());
            p.setPen(antes);
        }
        break;
    }
    }
}

void cabeceraYPie(QPainter& p, const Medidas& m, const Documento& d, int pagina, int paginas,
                  const QString& impreso) {
    p.setPen(Qt::black);
    p.setFont(m.negrita);
    const QRectF cabecera(0, 0, m.ancho, m.cabecera * 0.75);
    p.drawText(cabecera, Qt::AlignLeft | Qt::AlignVCenter, d.granja);
    p.setFont(m.normal);
    p.drawText(cabecera, Qt::AlignRight | Qt::AlignVCenter, d.titulo);
    p.setPen(QPen(Qt::black, m.trazo));
    p.drawLine(QPointF(0, cabecera.bottom()), QPointF(m.ancho, cabecera.bottom()));
    p.setFont(m.pie);
    const QRectF pie(0, m.abajo + m.altoPie * 0.25, m.ancho, m.altoPie * 0.75);
    p.drawText(pie, Qt::AlignLeft | Qt::AlignVCenter, impreso);
    p.drawText(pie, Qt::AlignRight | Qt::AlignVCenter, DibujoDocumento::pie(pagina, paginas));
}

} // namespace

namespace DibujoDocumento {

QPageLayout disposicion(const Papel& papel) {
    return QPageLayout(QPageSize(papel.tamano), papel.orientacion,
                       QMarginsF(kMargenMm, kMargenMm, kMargenMm, kMargenMm), QPageLayout::Millimeter);
}

QString pie(int pagina, int paginas) {
    return QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas);
}

int dibujar(const Documento& documento, QPagedPaintDevice& dispositivo) {
    const Medidas m(dispositivo, documento);
    const QList<Pagina> paginas = Compaginador(documento, m).compaginar();
    const QString impreso = QStringLiteral("Impreso el %1 %2")
                                .arg(fecha(QDate::currentDate()),
                                     Texto::regional().toString(QTime::currentTime(), QLocale::ShortFormat));
    QPainter p(&dispositivo);
    for (qsizetype i = 0; i < paginas.size(); ++i) {
        if (i > 0)
            dispositivo.newPage();
        cabeceraYPie(p, m, documento, int(i + 1), int(paginas.size()), impreso);
        p.setPen(Qt::black);
        for (const Colocada& c : paginas[i])
            dibujarPieza(p, m, c);
    }
    p.end();
    return int(paginas.size());
}

QByteArray pdf(const Documento& documento, const Papel& papel) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter escritor(&buffer);
        escritor.setResolution(kResolucionPdf);
        escritor.setPageLayout(disposicion(papel));
        escritor.setTitle(documento.titulo);
        escritor.setCreator(QStringLiteral("Tolvaro"));
        dibujar(documento, escritor);
    }
    return buffer.data();
}

bool escribirPdf(const Documento& documento, const Papel& papel, const QString& ruta, QString* error) {
    return ArchivoSeguro::escribir(ruta, pdf(documento, papel), error);
}

} // namespace DibujoDocumento
