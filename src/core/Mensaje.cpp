#include "core/Mensaje.h"

Mensaje errorProcedimiento(const QString& numero, const QString& descripcion, const QString& procedimiento,
                           const QString& formulario) {
    return {QStringLiteral("Error ") + numero + QStringLiteral(" (") + descripcion +
                QStringLiteral(") en procedimiento ") + procedimiento + QStringLiteral(" de Formulario ") +
                formulario,
            Icono::Critico, QStringLiteral("Error en ") + formulario};
}

Mensaje errorVentana(const QString& numero, const QString& descripcion, const QString& caption) {
    return {QStringLiteral("Numero: ") + numero + QStringLiteral(", Descripción: ") + descripcion,
            Icono::Critico, QStringLiteral(" error ") + caption + QStringLiteral(" ")};
}

Mensaje errorProcedimientoIngles(const QString& numero, const QString& descripcion,
                                 const QString& procedimiento, const QString& formulario) {
    return {QStringLiteral("Error ") + numero + QStringLiteral(" (") + descripcion +
                QStringLiteral(") in procedure ") + procedimiento + QStringLiteral(" of Formulario ") +
                formulario,
            Icono::Ninguno, kTituloAplicacion};
}
