#pragma once

#include <QString>

// A message box as the system means it: text, icon, buttons and title. The core only builds
// these; the windows show them through the dialog layer and the command line prints them.
enum class Icono { Ninguno, Informacion, Exclamacion, Critico, Pregunta };
enum class Botones { Ok, SiNo, SiNoCancelar };
enum class Respuesta { Ok, Si, No, Cancelar };

inline const QString kTituloAplicacion = QStringLiteral("Tolvaro");

struct Mensaje {
    QString texto;
    Icono icono = Icono::Ninguno;
    QString titulo = kTituloAplicacion;
    Botones botones = Botones::Ok;

    bool operator==(const Mensaje&) const = default;
};

// The three error reports of the system.

// "Error N (desc) en procedimiento P de Formulario F", critical, title "Error en F".
Mensaje errorProcedimiento(const QString& numero, const QString& descripcion, const QString& procedimiento,
                           const QString& formulario);

// "Numero: N, Descripción: D", critical, title " error CAPTION " (catalogue and maintenance windows).
Mensaje errorVentana(const QString& numero, const QString& descripcion, const QString& caption);

// "Error N (desc) in procedure P of Formulario F", no icon, application title (totals, export).
Mensaje errorProcedimientoIngles(const QString& numero, const QString& descripcion,
                                 const QString& procedimiento, const QString& formulario);
