#pragma once

#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A web service of its own for a test: a private MariaDB server in a temporary folder with the remote
// tables created, and nremoto-sim on a free port of 127.0.0.1 in front of it. Both stop when the object
// is destroyed. Needs TOLVARO_BIN (the build folder) and TOLVARO_SOURCE (the source folder).
//
//     ServicioWebPrueba web;
//     if (web.faltaMariaDb()) QSKIP(qPrintable(web.error()));
//     QVERIFY2(web.ok(), qPrintable(web.error()));
//     web.ejecutar("insert into clientes values (7, 'juan', 'clave')");
//     ... the program under test uses web.servidor() as the server it is told ...
//     QCOMPARE(web.filas("select cliente, kg from Prg_Carga"), QStringList({"7|1200"}));
class ServicioWebPrueba {
public:
    // Starts both servers; `semilla` is an optional SQL file run after the tables are created.
    explicit ServicioWebPrueba(const QString& semilla = {});
    ~ServicioWebPrueba();
    ServicioWebPrueba(const ServicioWebPrueba&) = delete;
    ServicioWebPrueba& operator=(const ServicioWebPrueba&) = delete;

    bool ok() const { return ok_; }
    // True when MariaDB is not installed on this machine (the test should be skipped).
    bool faltaMariaDb() const { return faltaMariaDb_; }
    // Why it did not start.
    QString error() const { return error_; }

    // What the user types as server: "127.0.0.1:PORT".
    QString servidor() const;
    // Saves this service as the web road of the open local database, with the account
    // "juan"/"clave" that the tests seed.
    bool usarEnLaBase() const;
    quint16 puerto() const { return puerto_; }
    // "http://127.0.0.1:PORT/nremoto.php?", the address the program sends to.
    QString direccion() const;
    QString socket() const { return socket_; }

    // Runs one statement on the remote database directly; fails the test (returns false) on error.
    bool ejecutar(const QString& sql);
    // Loads and discharges as the tablet leaves them on the server: `filas` is the list of rows of
    // (cliente, fecha, hora, receta, id_alim, alimento, kg_real, Operario, kg_sug) and of
    // (cliente, fecha, hora, corral, kg_sug, kg_real).
    bool agregarCargas(const QString& filas);
    bool agregarDescargas(const QString& filas);
    // First column of the first row, or an invalid value.
    QVariant valor(const QString& sql);
    // Every row, columns joined by "|" (NULL as empty text, DATE as yyyy-MM-dd).
    QStringList filas(const QString& sql);

    // From now on a request whose statement contains `texto` (exact case) is not run and is answered
    // with `estado` and `cuerpo` (for example 500 with a JSON body). The first matching fault wins.
    bool fallarCuandoContenga(const QString& texto, int estado = 500, const QString& cuerpo = {});
    bool quitarFallas();

    // The requests the stand-in has received so far, one line each: "GET /nremoto.php? STATUS SQL"
    // (without the time it adds at the front of its log).
    QStringList pedidos() const;
    // The stand-in's log file (its stderr).
    QString registroSim() const;

private:
    bool arrancar(const QString& semilla);
    bool correrGuion(const QString& accion, QString* salida);

    QTemporaryDir dir_;
    QString guion_;
    QString socket_;
    QString conexion_;
    std::unique_ptr<QProcess> sim_;
    quint16 puerto_ = 0;
    bool mariaArrancada_ = false;
    bool ok_ = false;
    bool faltaMariaDb_ = false;
    QString error_;
};
