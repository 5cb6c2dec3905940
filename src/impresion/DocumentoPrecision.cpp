#include "impresion/DocumentoPrecision.h"

#include "core/Texto.h"
#include "db/Preferencias.h"
#include "historial/SalidaInforme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace DocumentoImpreso;

namespace DocumentoPrecision {

Documento construir(const InformePrecision& informe, const QImage& imagen) {
    const QLocale local = Texto::regional();
    Documento d;
    d.titulo = QStringLiteral("Precisión de carga");
    d.granja = Preferencias::granja();
    d.datos << QStringLiteral("Período: del %1 al %2").arg(fecha(informe.desde), fecha(informe.hasta));
    d.datos << QStringLiteral("Agrupación: %1").arg(InformePrecision::nombre(informe.agrupacion));
    d.datos << QStringLiteral("Tolerancia: %1").arg(SalidaInforme::reglaTolerancia(informe, local));
    d.datos << SalidaInforme::resumen(informe);

    QList<Columna> columnas;
    const QStringList encabezados = InformePrecision::encabezados(informe.agrupacion);
    for (qsizetype i = 0; i < encabezados.size(); ++i)
        columnas << Columna{encabezados[i], i == 0 ? 2.0 : 1.0, i == 0 ? Qt::AlignLeft : Qt::AlignRight};
    QList<QStringList> filas;
    QList<bool> marcadas;
    for (const GrupoPrecision& g : informe.grupos) {
        filas << SalidaInforme::textos(g, informe.agrupacion, local);
        marcadas << g.marcado();
    }
    Seccion s = tabla(QString(), columnas, filas, marcadas);
    anchosPorContenido(s);
    s.sinFilas = QStringLiteral("No hay sucesos guardados en el período.");
    if (!informe.grupos.isEmpty())
        s.imagen = imagen.isNull() ? grafico(informe) : imagen;
    d.secciones << s;
    return d;
}

void agregarCargas(Documento& documento, const CargasPrecision& lista) {
    const QLocale local = Texto::regional();
    QList<Columna> columnas;
    const QStringList encabezados = CargasPrecision::encabezados(lista.agrupacion);
    for (const QString& e : encabezados)
        columnas << Columna{e, 1.0, Qt::AlignLeft};
    QList<QStringList> filas;
    QList<bool> marcadas;
    filas.reserve(lista.cargas.size());
    for (const CargaPrecision& c : lista.cargas) {
        filas << CargasPrecision::textos(c, local);
        marcadas << (c.juzgada() && !c.dentro);
    }
    Seccion s =
        tabla(lista.agrupacion == Agrupacion::Corral ? QStringLiteral("Descargas") : QStringLiteral("Cargas"),
              columnas, filas, marcadas);
    anchosPorContenido(s);
    s.sinFilas = QStringLiteral("No hay cargas en el período.");
    documento.secciones << s;
}

QImage grafico(const InformePrecision& informe, const QSize& tamano) {
    QImage img(tamano, QImage::Format_RGB32);
    img.fill(Qt::white);
    QList<double> valores;
    double extremo = informe.tolerancia * 2;
    for (const GrupoPrecision& g : informe.grupos) {
        const double v = g.diferenciaPorcentaje().value_or(0);
        valores << (std::isfinite(v) ? v : 0);
        extremo = std::max(extremo, std::fabs(valores.back()));
    }
    if (extremo <= 0)
        extremo = 1;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont letra;
    letra.setPixelSize(std::max(10, tamano.height() / 28));
    p.setFont(letra);
    const double izquierda = letra.pixelSize() * 5.0;
    const QRectF area(izquierda, letra.pixelSize() * 2.0, tamano.width() - izquierda - 10,
                      tamano.height() - letra.pixelSize() * 4.0);
    const auto y = [&](double v) { return area.center().y() - v / extremo * area.height() / 2; };
    // The tolerance band, the zero line and the scale.
    p.fillRect(
        QRectF(QPointF(area.left(), y(informe.tolerancia)), QPointF(area.right(), y(-informe.tolerancia))),
        QColor(220, 240, 220));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(area.left(), y(0)), QPointF(area.right(), y(0)));
    p.drawLine(area.topLeft(), area.bottomLeft());
    for (double v : {extremo, informe.tolerancia, 0.0, -informe.tolerancia, -extremo})
        p.drawText(QRectF(0, y(v) - letra.pixelSize(), izquierda - 6, letra.pixelSize() * 2),
                   Qt::AlignRight | Qt::AlignVCenter,
                   Texto::regional().toString(v, 'f', 1) + QStringLiteral(" %"));
    p.drawText(
        QRectF(area.left(), 0, area.width(), letra.pixelSize() * 1.8), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Diferencia %, por %1").arg(InformePrecision::nombre(informe.agrupacion).toLower()));
    const double paso = valores.isEmpty() ? 0 : area.width() / valores.size();
    for (qsizetype i = 0; i < valores.size(); ++i) {
        // Red when any of its loads is outside, as the window marks it: nets can cancel out.
        const bool fuera = informe.grupos[i].marcado();
        const QRectF barra(QPointF(area.left() + paso * (i + 0.15), y(std::max(0.0, valores[i]))),
                           QPointF(area.left() + paso * (i + 0.85), y(std::min(0.0, valores[i]))));
        p.fillRect(barra, fuera ? QColor(200, 40, 40) : QColor(70, 110, 170));
    }
    p.end();
    return img;
}

} // namespace DocumentoPrecision
