#include "impresion/ImpresionVentanas.h"

#include "db/BaseDatos.h"
#include "events/FrmSucesos.h"
#include "historial/FrmPrecision.h"
#include "impresion/DlgImprimir.h"
#include "impresion/DocumentoPrecision.h"
#include "impresion/PlanillaCarga.h"
#include "plan/FrmViajes.h"
#include "ui/Dialogos.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

using namespace DocumentoImpreso;

namespace ImpresionVentanas {

void enlazar(FrmViajes* ventana) {
    QObject::connect(ventana, &FrmViajes::imprimirPedido, ventana,
                     [ventana](const QDate& dia) { planilla(ventana, dia); });
}

void enlazar(FrmSucesos* ventana) {
    QObject::connect(ventana, &FrmSucesos::imprimirPedido, ventana, [ventana] { sucesos(ventana); });
}

void enlazar(FrmPrecision* ventana) {
    QObject::connect(ventana, &FrmPrecision::imprimirPedido, ventana, [ventana] { precision(ventana); });
}

void planilla(QWidget* padre, const QDate& dia) {
    DlgImprimir dlg(
        QStringLiteral("Planilla de carga"),
        [](const QDate& d, QString* error) {
            PlanillaCarga::Resultado r = PlanillaCarga::construir(d);
            if (r.error)
                *error = r.error->descripcion;
            return r.documento;
        },
        dia, padre);
    dlg.exec();
}

void sucesos(FrmSucesos* ventana) {
    const QTableView* vista = ventana->findChild<QTableView*>(QStringLiteral("ListSuc"));
    DlgImprimir dlg(
        QStringLiteral("Sucesos"),
        [ventana, vista](const QDate&, QString*) {
            Documento d;
            d.titulo = QStringLiteral("Sucesos");
            d.datos << QStringLiteral("Período: del %1 al %2")
                           .arg(fecha(ventana->desde()), fecha(ventana->hasta()));
            Seccion s = vista ? tablaDeVista(vista) : Seccion();
            s.sinFilas = QStringLiteral("La lista no tiene sucesos.");
            d.datos << QStringLiteral("%1 sucesos").arg(s.grupos.size());
            d.secciones << s;
            return d;
        },
        std::nullopt, ventana);
    dlg.exec();
}

void precision(FrmPrecision* ventana) {
    // The loads behind the figures, on request: a long period holds thousands of them.
    std::optional<CargasPrecision> cargas;
    if (Dialogos::mostrar(ventana, {QStringLiteral("¿Imprimir también la lista de las cargas del período?"),
                                    Icono::Pregunta, QStringLiteral("Precisión de carga"), Botones::SiNo}) ==
        Respuesta::Si) {
        CargasPrecision lista;
        if (const auto e =
                CargasPrecision::listar(BaseDatos::ConexionBD(), ventana->informe(), std::nullopt, &lista)) {
            Dialogos::mostrar(ventana,
                              {QStringLiteral("No se pueden leer las cargas del período: ") + e->descripcion,
                               Icono::Critico, QStringLiteral("Precisión de carga"), Botones::Ok});
            return;
        }
        cargas = std::move(lista);
    }
    DlgImprimir dlg(
        QStringLiteral("Precisión de carga"),
        [ventana, &cargas](const QDate&, QString*) {
            // The report as the table shows it: its rows in the order the user sorted them.
            const InformePrecision& informe = ventana->informe();
            InformePrecision tabla = informe;
            const auto* vista = ventana->findChild<QTableView*>(QStringLiteral("ListPrecision"));
            const auto* orden = vista ? qobject_cast<const QSortFilterProxyModel*>(vista->model()) : nullptr;
            if (orden && orden->rowCount() == informe.grupos.size()) {
                tabla.grupos.clear();
                for (int i = 0; i < orden->rowCount(); ++i)
                    tabla.grupos << informe.grupos.at(orden->mapToSource(orden->index(i, 0)).row());
            }
            Documento d = DocumentoPrecision::construir(tabla);
            if (cargas)
                DocumentoPrecision::agregarCargas(d, *cargas);
            return d;
        },
        std::nullopt, ventana);
    dlg.exec();
}

Seccion tablaDeVista(const QTableView* vista) {
    Seccion s;
    const QAbstractItemModel* modelo = vista->model();
    const QHeaderView* cabecera = vista->horizontalHeader();
    if (!modelo)
        return s;
    QList<int> columnas;
    for (int v = 0; v < cabecera->count(); ++v) {
        const int logica = cabecera->logicalIndex(v);
        if (cabecera->isSectionHidden(logica))
            continue;
        columnas << logica;
        const QVariant alineacion = modelo->rowCount() > 0
                                        ? modelo->data(modelo->index(0, logica), Qt::TextAlignmentRole)
                                        : QVariant();
        // Models give the alignment as flags or as a plain number.
        const Qt::Alignment a = alineacion.metaType() == QMetaType::fromType<Qt::Alignment>()
                                    ? alineacion.value<Qt::Alignment>()
                                    : Qt::Alignment(alineacion.toInt());
        const Qt::Alignment horizontal = a & Qt::AlignHorizontal_Mask;
        s.columnas << Columna{modelo->headerData(logica, Qt::Horizontal).toString(), 1,
                              horizontal ? horizontal : Qt::Alignment(Qt::AlignLeft)};
    }
    for (int f = 0; f < modelo->rowCount(); ++f) {
        Fila fila;
        for (int c : columnas)
            fila.celdas << modelo->data(modelo->index(f, c)).toString();
        if (modelo->data(modelo->index(f, columnas.value(0)), Qt::BackgroundRole).isValid())
            fila.estilo = Fila::Estilo::Marcada;
        s.grupos.push_back({fila});
    }
    anchosPorContenido(s);
    return s;
}

} // namespace ImpresionVentanas
