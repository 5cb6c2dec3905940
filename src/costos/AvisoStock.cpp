#include "costos/AvisoStock.h"

#include "core/Texto.h"
#include "db/Preferencias.h"

#include <QLocale>

#include <cmath>

namespace AvisoStock {

double umbral() {
    // Stored with "." whatever the regional settings.
    const std::optional<QString> t = Preferencias::leer(kClave);
    bool ok = false;
    const double v = t ? QLocale::c().toDouble(*t, &ok) : 0;
    return ok && std::isfinite(v) && v >= 0 ? v : kUmbralInicial;
}

std::optional<ErrorBD> guardarUmbral(double dias) {
    return Preferencias::guardar(kClave, QString::number(dias, 'g', 15));
}

QString texto(const InventarioStock& inventario, QDate fecha, double limite) {
    QStringList bajos;
    for (const InventarioStock::Fila& f : inventario.filas(fecha)) {
        const std::optional<double> dias = f.diasRestantes();
        if (dias && *dias < limite)
            bajos << QStringLiteral("%1 (%2 días)").arg(f.nombre, Texto::regional().toString(*dias, 'f', 1));
    }
    if (bajos.isEmpty())
        return {};
    return QStringLiteral("Stock para menos de %1 días: %2")
        .arg(Texto::numeroRegional(limite), bajos.join(QStringLiteral(", ")));
}

QString textoHoy() {
    const QDate hoy = QDate::currentDate();
    InventarioStock inventario;
    if (InventarioStock::calcular(BaseDatos::ConexionBD(), hoy, &inventario))
        return {};
    return texto(inventario, hoy, umbral());
}

} // namespace AvisoStock
