// download_10k_ms: 10,000 event records from the tablet listed in the events window, measured
// from the moment the tablet has sent its last arrival to the list holding every row (the final
// message shown and the list painted). Every record and the final "'fin'" go in one write, the
// hardest case for the window: all the reading and listing happens after the last arrival.
#include "Figuras.h"

#include "RespuestaSucesos.h"
#include "ServidorTableta.h"
#include "db/BaseDatos.h"
#include "events/FrmSucesos.h"
#include "ui/Dialogos.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

namespace {
constexpr int kRegistros = 10000;

// Runs the event loop until `listo` holds or `ms` pass.
bool esperar(const std::function<bool()>& listo, int ms) {
    QElapsedTimer t;
    t.start();
    while (!listo() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return listo();
}

QList<RespuestaSucesos::Registro> registros() {
    QList<RespuestaSucesos::Registro> r;
    r.reserve(kRegistros);
    const QDate dia(2024, 3, 1);
    for (int i = 0; i < kRegistros; ++i) {
        const QDate d = dia.addDays(i % 28);
        const QString f = d.toString(QStringLiteral("MM/dd/yyyy"));
        const QString hora = QStringLiteral("%1:%2:00").arg(6 + i % 12).arg(i % 60, 2, 10, QLatin1Char('0'));
        if (i % 3 == 2)
            r.append({d, QStringLiteral("'descarga',%1,Corral %2,%3,%4,%5,")
                             .arg(f)
                             .arg(i % 40)
                             .arg(500 + i % 7)
                             .arg(490 + i % 11)
                             .arg(hora)});
        else
            r.append(
                {d, QStringLiteral("\"'carga'\",\"%1\",\"%2\",\" Receta %3 \",\"1\",\"Maiz*\",\"%4\",\"%5\","
                                   "\"%6\",\"0\",\"%7\",")
                        .arg(f)
                        .arg(i % 300)
                        .arg(i % 9)
                        .arg(1000 + i % 13)
                        .arg(990 + i % 17)
                        .arg(hora)
                        .arg(1 + i % 6)});
    }
    return r;
}

double medirBajada() {
    QTemporaryDir datos;
    if (BaseDatos::abrir(datos.path()))
        return -1;
    QSqlQuery q(BaseDatos::ConexionBD());
    for (int i = 1; i <= 5; ++i)
        q.exec(QStringLiteral("insert into operarios values (%1, 'Operario %1')").arg(i));
    Dialogos::activarModoPrueba();
    Dialogos::limpiar();

    double ms = -1;
    {
        ServidorTableta tableta;
        RespuestaSucesos sucesos;
        sucesos.setRegistros(registros());
        sucesos.setModo(RespuestaSucesos::Modo::TodosJuntos);
        tableta.setSucesos(&sucesos);
        tableta.escuchar(QHostAddress::LocalHost, 0);

        FrmSucesos ventana;
        ventana.show();
        ventana.findChild<QLineEdit*>(QStringLiteral("TxtDir"))
            ->setText(QStringLiteral("127.0.0.1:%1").arg(tableta.puerto()));
        auto* conectar = ventana.findChild<QPushButton*>(QStringLiteral("CmdConectar"));
        conectar->click();
        if (!esperar([conectar] { return conectar->text() == QStringLiteral("Conectado..."); }, 10000))
            return -1;
        ventana.findChild<QDateEdit*>(QStringLiteral("DTDESDE"))->setDate(QDate(2024, 3, 1));
        ventana.findChild<QDateEdit*>(QStringLiteral("DTHASTA"))->setDate(QDate(2024, 3, 31));
        ventana.findChild<QTableView*>(QStringLiteral("ListSuc"))->setFocus();
        QCoreApplication::processEvents();

        QElapsedTimer reloj;
        QObject::connect(&sucesos, &RespuestaSucesos::respuestaEnviada, [&reloj] { reloj.start(); });
        ventana.findChild<QPushButton*>(QStringLiteral("CMDREC"))->click();
        // The final message comes after every row of its arrival has been listed.
        const bool listo = esperar([] { return !Dialogos::mostrados().isEmpty(); }, 60000) &&
                           ventana.filas().size() == kRegistros;
        ventana.findChild<QTableView*>(QStringLiteral("ListSuc"))->viewport()->repaint();
        if (listo && reloj.isValid())
            ms = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
    }
    Dialogos::activarModoPrueba(false);
    BaseDatos::cerrar();
    return ms;
}
const Figura kBajada("download_10k_ms", "ms", medirBajada);
} // namespace
