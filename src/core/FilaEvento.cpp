#include "core/FilaEvento.h"

#include "core/Texto.h"

QStringList FilaEvento::encabezados() {
    return {QStringLiteral("TIPO DE SUCESO"), QStringLiteral("FECHA"),    QStringLiteral("HORA"),
            QStringLiteral("RECETA/CORRAL"),  QStringLiteral("ALIMENTO"), QStringLiteral("SUGERIDO"),
            QStringLiteral("REAL"),           QStringLiteral("OPERARIO")};
}

const QString& FilaEvento::celda(int columna) const {
    switch (columna) {
    case 0:
        return tipo;
    case 1:
        return fecha;
    case 2:
        return hora;
    case 3:
        return recetaCorral;
    case 4:
        return alimento;
    case 5:
        return sugerido;
    case 6:
        return real;
    default:
        return operario;
    }
}

FilaEvento::Lectura FilaEvento::leer() const {
    if (lectura)
        return *lectura;
    Lectura l;
    l.dia = Texto::leerFecha(fecha).value_or(QDate());
    l.minuto = Texto::leerHora(hora).value_or(QTime());
    l.sugerido = Texto::leerKilos(sugerido);
    l.real = Texto::leerKilos(real);
    return l;
}
