#include "historial/TablaTolerancias.h"

#include "core/Texto.h"
#include "db/BaseDatos.h"
#include "historial/ToleranciasAlimento.h"
#include "ui/Dialogos.h"

#include <QCollator>
#include <QHeaderView>
#include <QSqlQuery>

#include <algorithm>

namespace {
constexpr int kKg = 1;
constexpr int kPorcentaje = 2;
constexpr int kValorRol = Qt::UserRole; // the stored bound, or none

QString mostrar(const QVariant& v) {
    return v.isValid() ? Texto::regional().toString(v.toDouble(), 'g', 15) : QString();
}
} // namespace

TablaTolerancias::TablaTolerancias(QWidget* padre) : QTableWidget(0, 3, padre) {
    setObjectName(QStringLiteral("TablaTolerancias"));
    setAccessibleName(QStringLiteral("TOLERANCIA POR ALIMENTO"));
    setHorizontalHeaderLabels({QStringLiteral("ALIMENTO"), QStringLiteral("KG"), QStringLiteral("%")});
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(kKg, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(kPorcentaje, QHeaderView::ResizeToContents);
    setToolTip(QStringLiteral("Tolerancia propia de cada alimento, en kilos y/o en %: una carga dentro de "
                              "cualquiera de las dos está dentro. Vacío: la tolerancia general."));
    connect(this, &QTableWidget::itemChanged, this, &TablaTolerancias::alCambiar);
}

void TablaTolerancias::cargar() {
    cargando_ = true;
    QList<ToleranciaAlimento> propias;
    ToleranciasAlimento::leer(BaseDatos::ConexionBD(), &propias); // none readable: all general
    QStringList nombres;
    QSqlQuery q(BaseDatos::ConexionBD());
    if (q.exec(QStringLiteral("select distinct descripcion from alimentos where descripcion <> ''")))
        while (q.next())
            nombres << q.value(0).toString();
    for (const ToleranciaAlimento& t : propias)
        if (!nombres.contains(t.alimento, Qt::CaseInsensitive))
            nombres << t.alimento;
    QCollator alfabeto(Texto::regional().language() == QLocale::C ? QLocale(QLocale::Spanish)
                                                                  : Texto::regional());
    alfabeto.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(nombres.begin(), nombres.end(), alfabeto);
    setRowCount(static_cast<int>(nombres.size()));
    for (int i = 0; i < nombres.size(); ++i) {
        auto* nombre = new QTableWidgetItem(nombres[i]);
        nombre->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(i, 0, nombre);
        const auto propia = std::find_if(propias.cbegin(), propias.cend(), [&](const ToleranciaAlimento& t) {
            return t.alimento.compare(nombres[i], Qt::CaseInsensitive) == 0;
        });
        for (int c : {kKg, kPorcentaje}) {
            std::optional<double> v;
            if (propia != propias.cend())
                v = c == kKg ? propia->tolerancia.kg : propia->tolerancia.porcentaje;
            auto* celda = new QTableWidgetItem;
            celda->setData(kValorRol, v ? QVariant(*v) : QVariant());
            celda->setText(mostrar(celda->data(kValorRol)));
            celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(i, c, celda);
        }
    }
    cargando_ = false;
}

void TablaTolerancias::alCambiar(QTableWidgetItem* celda) {
    if (cargando_ || celda->column() == 0)
        return;
    const QString texto = celda->text().trimmed();
    double valor = 0;
    QVariant nuevo;
    if (!texto.isEmpty()) {
        if (!Texto::leerNumeroUsuario(texto, &valor) || valor < 0) {
            cargando_ = true;
            celda->setText(mostrar(celda->data(kValorRol))); // not a bound: back as it was
            cargando_ = false;
            return;
        }
        nuevo = valor;
    }
    const int fila = celda->row();
    auto leer = [&](int c) {
        const QVariant v = c == celda->column() ? nuevo : item(fila, c)->data(kValorRol);
        return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
    };
    const ToleranciaCarga t{leer(kKg), leer(kPorcentaje)};
    if (const auto e = ToleranciasAlimento::guardar(BaseDatos::ConexionBD(), item(fila, 0)->text(), t)) {
        cargando_ = true;
        celda->setText(mostrar(celda->data(kValorRol)));
        cargando_ = false;
        Dialogos::mostrar(this,
                          errorProcedimiento(e->numero, e->descripcion, QStringLiteral("Guardar_Tolerancia"),
                                             QStringLiteral("FrmPrecision")));
        return;
    }
    cargando_ = true;
    celda->setData(kValorRol, nuevo);
    celda->setText(mostrar(nuevo));
    cargando_ = false;
    Q_EMIT cambiada();
}
