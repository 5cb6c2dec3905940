#include "web/EnvioWeb.h"

#include "web/TuplasWeb.h"

const QString EnvioWeb::kProcedimiento = QStringLiteral("Conexion_Web");

namespace {

const char* const kBorrados[] = {
    "delete from Prg_Carga where cliente = ",    "delete from Alimentos where Cliente = ",
    "delete from Operarios where Cliente = ",    "delete from Prg_Viajes where Cliente = ",
    "delete from Prg_Descarga where cliente = ",
};

} // namespace

EnvioWeb::EnvioWeb(const DatosWeb& datos, QObject* parent) : SesionWeb(datos, parent) {}

void EnvioWeb::ingresado() {
    Q_EMIT avance(QStringLiteral("Borrando la programación anterior..."));
    borrado_ = 0;
    enviarBorrado();
}

void EnvioWeb::enviarBorrado() {
    if (borrado_ < 5) {
        enviar(QString::fromLatin1(kBorrados[borrado_]) + idCliente_, &EnvioWeb::alBorrado);
        return;
    }
    pasoCarga();
}

void EnvioWeb::alBorrado(const RespuestaWeb&) {
    ++borrado_; // the replies of the deletes are not examined
    enviarBorrado();
}

void EnvioWeb::insertar(const QString& tabla, TuplasWeb::Tuplas (*fuente)(const QString&),
                        const QString& cabecera, const QString& error, void (EnvioWeb::*despues)()) {
    Q_EMIT avance(QStringLiteral("Enviando ") + tabla + QStringLiteral("..."));
    const TuplasWeb::Tuplas t = fuente(idCliente_);
    if (t.error) {
        fallar(t.error->numero, t.error->descripcion, {}); // local: the server is not to blame
        return;
    }
    if (t.filas == 0) { // nothing to insert, no status to look at
        (this->*despues)();
        return;
    }
    errorInsercion_ = error;
    despuesInsercion_ = despues;
    enviar(cabecera + t.texto, &EnvioWeb::alInsertar);
}

void EnvioWeb::pasoCarga() {
    insertar(QStringLiteral("la carga"), TuplasWeb::carga,
             QStringLiteral(
                 "INSERT INTO Prg_Carga (cliente, fecha, id_viaje, id_receta, receta, id_alim, alimento, "
                 "kg, hora, base, orden, operario) values "),
             QStringLiteral("ERROR Carga Formula"), &EnvioWeb::pasoOperarios);
}

void EnvioWeb::pasoOperarios() {
    insertar(QStringLiteral("los operarios"), TuplasWeb::operarios,
             QStringLiteral("INSERT INTO Operarios (Cliente, Id, Nick, Clave) values "),
             QStringLiteral("ERROR en operarios"), &EnvioWeb::pasoAlimentos);
}

void EnvioWeb::pasoAlimentos() {
    insertar(QStringLiteral("los alimentos"), TuplasWeb::alimentos,
             QStringLiteral("INSERT INTO Alimentos (Cliente, Id, Descripcion) values "),
             QStringLiteral("ERROR en Alimentos"), &EnvioWeb::pasoDescarga);
}

void EnvioWeb::pasoDescarga() {
    insertar(
        QStringLiteral("la descarga"), TuplasWeb::descarga,
        QStringLiteral("INSERT INTO Prg_Descarga (cliente, fecha, id_viaje, id_receta, corral, porc, hora, "
                       "base, orden) values "),
        QStringLiteral("ERROR de DesCarga Formula"), &EnvioWeb::exito);
}

void EnvioWeb::alInsertar(const RespuestaWeb& r) {
    if (r.estado != 200) {
        terminar(conRazon({errorInsercion_, Icono::Critico, QStringLiteral("Error")}, razonDelServidor(r)));
        return;
    }
    (this->*despuesInsercion_)();
}

void EnvioWeb::exito() {
    terminar({QStringLiteral("Se envió correctamente la informacion al servidor"), Icono::Informacion,
              QStringLiteral("Informacion... Exitosa")},
             true);
}

void EnvioWeb::terminar(const Mensaje& m, bool exito) {
    if (terminado_)
        return;
    terminado_ = true;
    Q_EMIT terminado(m, exito);
}

void EnvioWeb::fallar(const QString& numero, const QString& descripcion, const QString& razon) {
    Mensaje m = conRazon(
        errorProcedimiento(numero, descripcion, kProcedimiento, QStringLiteral("FrmPrincipal")), razon);
    m.titulo = QStringLiteral("Error en Conexion_Web ");
    terminar(m);
}
