#include "core/FilaEvento.h"

QStringList FilaEvento::encabezados() {
    return {QStringLiteral("TIPO DE SUCESO"), QStringLiteral("FECHA"),    QStringLiteral("HORA"),
            QStringLiteral("RECETA/CORRAL"),  QStringLiteral("ALIMENTO"), QStringLiteral("SUGERIDO"),
            QStringLiteral("REAL"),           QStringLiteral("OPERARIO")};
}
