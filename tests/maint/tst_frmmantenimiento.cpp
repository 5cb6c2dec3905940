// The maintenance window driven as a user would, its pickers answered through the dialog layer:
// controls and load, the path rules, a backup with the shared connection, the archive listing
// and restores into another folder and into the running program's own.
#include "Accesibilidad.h"
#include "AyudaMantenimiento.h"
#include "BaseTemporal.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "core/CerrojoMantenimiento.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/frmMantenimiento.h"
#include "ui/Dialogos.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace AyudaMantenimiento;

namespace {
QString nativa(const QString& r) {
    return QDir::toNativeSeparators(r);
}
// The last message box shown, once the window's background work has shown one.
Mensaje esperarMensaje(int cuantos = 1) {
    if (!QTest::qWaitFor([&] { return Dialogos::mostrados().size() >= cuantos; }, 120000))
        return {};
    return Dialogos::mostrados().last();
}
} // namespace

class TstFrmMantenimiento : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Dialogos::activarModoPrueba(); }
    void init();
    void cleanup();
    void controlesYCarga_data();
    void controlesYCarga();
    void rutasDelRespaldo();
    void respaldoConLaConexion();
    void respaldoSinArchivos();
    void archivoYDestinoDeLaRecuperacion();
    void recuperarEnOtraCarpeta();
    void recuperarEnLaCarpetaDelPrograma();
    void recuperarArchivoAntiguo();
    void principalAbreElRespaldo();
    void principalTrasRecuperar();
    void recuperarDeLaLista();
    void cancelarYCerrarDuranteElRespaldo();

private:
    std::unique_ptr<BaseTemporal> base_;
};

void TstFrmMantenimiento::init() {
    Dialogos::limpiar();
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
}

void TstFrmMantenimiento::cleanup() {
    base_.reset();
}

void TstFrmMantenimiento::controlesYCarga_data() {
    QTest::addColumn<int>("accion");
    QTest::newRow("respaldo") << 0;
    QTest::newRow("recuperación") << 1;
}

void TstFrmMantenimiento::controlesYCarga() {
    QFETCH(int, accion);
    frmMantenimiento w{qint16(accion)};
    QCOMPARE(w.objectName(), QStringLiteral("frmMantenimiento"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Mantenimiento"));
    QCOMPARE(w.Accion, accion);
    QCOMPARE(w.estadoConexion(), QStringLiteral("open"));
    QCOMPARE(w.Ruta_Aplicacion, nativa(base_->carpeta() + "/"));
    const QList<QPair<const char*, QString>> textos = {
        {"Label4", "Base de datos a compactar:"},
        {"Label5", "Ruta a donde quedara el Back Up de la BD:"},
        {"chkRutaDefecto", "Ruta de la aplicación"},
        {"cmdExaminarBackUp", "..."},
        {"cmdBackUpBD", "Crear Bakup"},
        {"CmdSalir", "Salir"},
        {"Label6", "Seleccione los archivos de Back Up realizados anteriormente:"},
        {"cmdExaminarRecuperar", "..."},
        {"Label7", "Indique a donde se guardaran los arhivos extraidos del Back Up:"},
        {"chkRecuperar", "Ruta de la aplicación"},
        {"cmdRutaExtraerRecuperar", "..."},
        {"cmdRecupear", "Recuperar Bakup"}};
    for (const auto& [nombre, texto] : textos) {
        QWidget* c = control<QWidget>(&w, nombre);
        const QString t = qobject_cast<QLabel*>(c) ? static_cast<QLabel*>(c)->text()
                                                   : static_cast<QAbstractButton*>(c)->text();
        QCOMPARE(t, texto);
    }
    for (const char* nombre :
         {"fleBackUpBD", "txtRutaBackUp", "lblTotalACompactar", "lblTotalCompactado", "lblInfo",
          "txtRutaRecuperar", "lstArchivosCab", "txtRutaExtraerRecuperar", "prgBackUp", "lblPorcentaje"})
        QVERIFY(control<QWidget>(&w, nombre));
    QCOMPARE(controlesSinNombreAccesible(&w), QStringList());
    QCOMPARE(control<QLineEdit>(&w, "txtRutaBackUp")->accessibleName(),
             "Ruta a donde quedara el Back Up de la BD:");

    auto* tabs = control<QTabWidget>(&w, "stbMantenimineto");
    QCOMPARE(tabs->tabText(0), "Back Up BD");
    QCOMPARE(tabs->tabText(1), "Recuperar Back Up BD");
    QCOMPARE(tabs->currentIndex(), accion);
    QCOMPARE(tabs->isTabEnabled(0), accion == 0);
    QCOMPARE(tabs->isTabEnabled(1), accion == 1);

    // ajustarControles.
    QCOMPARE(control<QListWidget>(&w, "fleBackUpBD")->count(), 1);
    QCOMPARE(control<QListWidget>(&w, "fleBackUpBD")->item(0)->text(), "base.db");
    auto* prg = control<QProgressBar>(&w, "prgBackUp");
    QVERIFY(prg->isHidden());
    QCOMPARE(prg->minimum(), 0);
    QCOMPARE(prg->maximum(), 100);
    auto* ruta = control<QLineEdit>(&w, "txtRutaBackUp");
    QVERIFY(ruta->isReadOnly());
    QVERIFY(ruta->text().isEmpty());
    QCOMPARE(ruta->palette().color(QPalette::Base), ruta->palette().color(QPalette::Button));
    QVERIFY(!control<QCheckBox>(&w, "chkRutaDefecto")->isChecked());
    for (const char* nombre : {"cmdBackUpBD", "cmdRecupear", "chkRecuperar"})
        QVERIFY2(!control<QWidget>(&w, nombre)->isEnabled(), nombre);
    QVERIFY(control<QLabel>(&w, "lblPorcentaje")->text().isEmpty());

    // Centred, the top at an eighth of the free height.
    const QRect p = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(w.x(), p.x() + (p.width() - w.width()) / 2);
    QCOMPARE(w.y(), p.y() + (p.height() - w.height()) / 8);
}

void TstFrmMantenimiento::rutasDelRespaldo() {
    frmMantenimiento w;
    auto* defecto = control<QCheckBox>(&w, "chkRutaDefecto");
    auto* examinar = control<QPushButton>(&w, "cmdExaminarBackUp");
    auto* ruta = control<QLineEdit>(&w, "txtRutaBackUp");
    auto* crear = control<QPushButton>(&w, "cmdBackUpBD");
    const QString antes = Mantenimiento::nombreArchivo(QDateTime::currentDateTime());
    defecto->click();
    const QString despues = Mantenimiento::nombreArchivo(QDateTime::currentDateTime());
    QVERIFY(ruta->text() == w.Ruta_Aplicacion + antes || ruta->text() == w.Ruta_Aplicacion + despues);
    QVERIFY(!examinar->isEnabled());
    QVERIFY(crear->isEnabled());
    defecto->click();
    QVERIFY(ruta->text().isEmpty());
    QVERIFY(examinar->isEnabled());
    QVERIFY(!crear->isEnabled());

    QTemporaryDir copias;
    Dialogos::encolarRuta(copias.path());
    examinar->click();
    QVERIFY(ruta->text().startsWith(nativa(copias.path() + "/BD_")));
    QVERIFY(ruta->text().endsWith(".cab"));
    QVERIFY(crear->isEnabled());
    const QString elegida = ruta->text();
    Dialogos::encolarRuta(QString());
    examinar->click();
    QCOMPARE(ruta->text(), elegida);
    QCOMPARE(Dialogos::dialogosDeRuta(), QStringList(2, "Seleccione la carpeta a donde guardar el Back Up"));
}

void TstFrmMantenimiento::respaldoConLaConexion() {
    QVERIFY(llenarPlan(2000));
    QTemporaryDir copias;
    frmMantenimiento w;
    w.show();
    Dialogos::encolarRuta(copias.path());
    control<QPushButton>(&w, "cmdExaminarBackUp")->click();
    const QString archivo = QDir::fromNativeSeparators(control<QLineEdit>(&w, "txtRutaBackUp")->text());
    const qint64 tamano = QFileInfo(base_->archivo()).size();
    control<QPushButton>(&w, "cmdBackUpBD")->click();

    // The database is left alone while it is archived, and the window stays while it writes.
    QVERIFY(!BaseDatos::abierta());
    QCOMPARE(w.estadoConexion(), QStringLiteral("close"));
    QVERIFY(w.ocupado());
    // Closing says why it waits and offers to cancel; declined, the backup goes on.
    Dialogos::encolarRespuesta(Respuesta::No);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(Dialogos::mostrados().size(), 1);
    QCOMPARE(Dialogos::mostrados().first().botones, Botones::SiNo);
    QVERIFY(control<QProgressBar>(&w, "prgBackUp")->isVisible());
    for (const char* nombre : {"cmdBackUpBD", "fleBackUpBD", "chkRutaDefecto"})
        QVERIFY2(!control<QWidget>(&w, nombre)->isEnabled(), nombre);
    QCOMPARE(control<QLabel>(&w, "lblTotalACompactar")->text(),
             Mantenimiento::textoTamano("Total a compactar: ", double(tamano)));

    const Mensaje m = esperarMensaje(2);
    QCOMPARE(m, Mantenimiento::mensajeRespaldoHecho());
    QCOMPARE(m.titulo, "Back Up finalizado");
    QCOMPARE(control<QLabel>(&w, "lblTotalCompactado")->text(),
             Mantenimiento::textoTamano("Total compactado: ", double(QFileInfo(archivo).size())));
    QCOMPARE(control<QLabel>(&w, "lblPorcentaje")->text(), "100% de 100%");
    QCOMPARE(control<QProgressBar>(&w, "prgBackUp")->value(), 100);
    QVERIFY(!control<QWidget>(&w, "cmdBackUpBD")->isEnabled());
#ifndef Q_OS_WIN // see SIN_CABEXTRACT_NI_GCAB
    QCOMPARE(correr("cabextract", {"-t", archivo}), 0);
#endif

    // Closing gives the program its connection back, with the same rows.
    QVERIFY(!BaseDatos::abierta());
    QVERIFY(w.close());
    QVERIFY(BaseDatos::abierta());
    QCOMPARE(base_->valor("select count(*) from viajes").toInt(), 2000);
}

void TstFrmMantenimiento::respaldoSinArchivos() {
    BaseDatos::cerrar();
    QVERIFY(QFile::remove(base_->archivo()));
    frmMantenimiento w;
    QCOMPARE(control<QListWidget>(&w, "fleBackUpBD")->count(), 0);
    control<QCheckBox>(&w, "chkRutaDefecto")->click();
    control<QPushButton>(&w, "cmdBackUpBD")->click();
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({Mantenimiento::mensajeSinArchivos()}));
    QCOMPARE(Dialogos::mostrados().first().titulo, "Error");
    QVERIFY(!control<QWidget>(&w, "cmdBackUpBD")->isEnabled());
    QVERIFY(QDir(base_->carpeta()).entryList(QDir::Files).isEmpty());
}

void TstFrmMantenimiento::archivoYDestinoDeLaRecuperacion() {
    QTemporaryDir d;
    const QDir dir(d.path());
    QStringList tres;
    for (const char* n : {"uno.db", "dos.mdb", "tres.txt"}) {
        QVERIFY(escribir(dir.filePath(n), QByteArray(n) + " contenido"));
        tres << dir.filePath(n);
    }
    const QString cab = dir.filePath("tres.cab");
    QVERIFY(Respaldo(tres, cab).ejecutar().ok);
    const QString danado = dir.filePath("danado.cab");
    QByteArray bytes = leer(cab);
    bytes[bytes.size() - 5] = char(bytes[bytes.size() - 5] ^ 1);
    QVERIFY(escribir(danado, bytes));

    frmMantenimiento w(1);
    auto* archivo = control<QLineEdit>(&w, "txtRutaRecuperar");
    auto* lista = control<QListWidget>(&w, "lstArchivosCab");
    auto* chk = control<QCheckBox>(&w, "chkRecuperar");
    auto* destino = control<QLineEdit>(&w, "txtRutaExtraerRecuperar");
    auto* examinarDestino = control<QPushButton>(&w, "cmdRutaExtraerRecuperar");
    auto* recuperar = control<QPushButton>(&w, "cmdRecupear");
    auto* examinar = control<QPushButton>(&w, "cmdExaminarRecuperar");

    // A cancelled dialog gives the file chosen last, empty the first time.
    Dialogos::encolarRuta(QString());
    examinar->click();
    QVERIFY(archivo->text().isEmpty());
    Dialogos::encolarRuta(cab);
    examinar->click();
    QCOMPARE(archivo->text(), nativa(cab));
    Dialogos::encolarRuta(QString());
    examinar->click();
    QCOMPARE(archivo->text(), nativa(cab));
    QCOMPARE(Dialogos::dialogosDeRuta().last(), "Seleccione el archivo a recuperar de los Back Up...");

    // The archive named is listed, every entry selected, numbered from 1.
    QVERIFY(chk->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(lista->count(), 3, 30000);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(lista->item(i)->text(), QFileInfo(tres[i]).fileName());
        QCOMPARE(lista->item(i)->data(Qt::UserRole).toInt(), i + 1);
        QVERIFY(lista->item(i)->isSelected());
    }
    archivo->clear();
    QVERIFY(!chk->isEnabled());
    QCOMPARE(lista->count(), 0);

    archivo->setText(nativa(danado));
    const Mensaje m = esperarMensaje();
    QCOMPARE(m.texto,
             "Existe un error en el archivo " + nativa(danado) + ".\r\nProbablemente se encuentre dañado.");
    QCOMPARE(m.titulo, "Error al recuperar");
    QCOMPARE(m.icono, Icono::Critico);
    QCOMPARE(lista->count(), 0);

    // The destination.
    chk->click();
    QCOMPARE(destino->text(), nativa(base_->carpeta()));
    QVERIFY(!examinarDestino->isEnabled());
    QVERIFY(recuperar->isEnabled());
    chk->click();
    QVERIFY(destino->text().isEmpty());
    QVERIFY(examinarDestino->isEnabled());
    QVERIFY(!recuperar->isEnabled());
    Dialogos::encolarRuta(d.path());
    examinarDestino->click();
    QCOMPARE(destino->text(), nativa(d.path()));
    Dialogos::encolarRuta(QString());
    examinarDestino->click();
    QCOMPARE(destino->text(), nativa(d.path()));
    QVERIFY(recuperar->isEnabled());
}

void TstFrmMantenimiento::recuperarEnOtraCarpeta() {
    QVERIFY(llenarPlan(50));
    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath("copia.cab");
    QVERIFY(Respaldo({base_->archivo()}, cab).ejecutar().ok);
    QTemporaryDir vacia;

    frmMantenimiento w(1);
    control<QLineEdit>(&w, "txtRutaRecuperar")->setText(nativa(cab));
    Dialogos::encolarRuta(vacia.path());
    control<QPushButton>(&w, "cmdRutaExtraerRecuperar")->click();
    // Another maintenance operation at work there: refused as the command line refuses it.
    auto otra = std::make_unique<CerrojoMantenimiento>(vacia.path());
    QVERIFY(otra->tomar(nullptr, 0));
    control<QPushButton>(&w, "cmdRecupear")->click();
    QCOMPARE(esperarMensaje(),
             Mensaje{QStringLiteral("Falso\nOtra operación de mantenimiento está en curso (proceso %1).")
                         .arg(QCoreApplication::applicationPid())});
    QVERIFY(!QFile::exists(QDir(vacia.path()).filePath("base.db")));
    otra.reset();
    control<QPushButton>(&w, "cmdRecupear")->click();
    // Closing while it writes says why the window stays.
    QVERIFY(!w.close());
    QVERIFY(Dialogos::mostrados().at(1).texto.startsWith("Se está recuperando la base de datos"));
    const Mensaje m = esperarMensaje(3);
    QCOMPARE(m, Mensaje{"Ok"});
    QCOMPARE(leer(QDir(vacia.path()).filePath("base.db")), leer(base_->archivo()));
    QVERIFY(!w.baseRestaurada());
    QVERIFY(BaseDatos::abierta());
    QVERIFY(control<QPushButton>(&w, "cmdRecupear")->isEnabled());
}

void TstFrmMantenimiento::recuperarEnLaCarpetaDelPrograma() {
    QVERIFY(llenarPlan(20000));
    const QStringList respaldadas = volcado(BaseDatos::ConexionBD());
    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath("copia.cab");
    BaseDatos::cerrar();
    QVERIFY(Respaldo({base_->archivo()}, cab).ejecutar().ok);
    const QString danado = QDir(d.path()).filePath("danado.cab");
    QVERIFY(escribir(danado, leer(cab).left(9000)));
    QVERIFY(!BaseDatos::abrir(base_->carpeta()));
    // Work done after the backup, which the restore takes back.
    QVERIFY(base_->ejecutar("delete from viajes where id > 10"));
    QVERIFY(base_->ejecutar("update tipo_conexion set direccion = '10.0.0.9' where tipo = 'directa'"));
    const QStringList posteriores = volcado(BaseDatos::ConexionBD());

    frmMantenimiento w(1);
    control<QLineEdit>(&w, "txtRutaRecuperar")->setText(nativa(danado));
    esperarMensaje();
    control<QCheckBox>(&w, "chkRecuperar")->click();
    control<QPushButton>(&w, "cmdRecupear")->click();
    Mensaje m = esperarMensaje(2);
    QVERIFY2(m.texto.startsWith("Falso\n"), qPrintable(m.texto));
    QVERIFY2(m.texto.contains("incompleto"), qPrintable(m.texto));
    QCOMPARE(m.icono, Icono::Ninguno);
    QCOMPARE(m.titulo, "Tolvaro");
    QVERIFY(BaseDatos::abierta());
    QCOMPARE(volcado(BaseDatos::ConexionBD()), posteriores);

    control<QLineEdit>(&w, "txtRutaRecuperar")->setText(nativa(cab));
    control<QPushButton>(&w, "cmdRecupear")->click();
    m = esperarMensaje(4);
    QCOMPARE(Dialogos::mostrados()[2].botones, Botones::SiNo);
    QCOMPARE(m, Mensaje{"Ok"});
    QVERIFY(w.baseRestaurada());
    QCOMPARE(w.estadoConexion(), QStringLiteral("open"));
    // The program goes on with the restored rows, through the same shared connection.
    QVERIFY(BaseDatos::abierta());
    QCOMPARE(volcado(BaseDatos::ConexionBD()), respaldadas);
    QVERIFY(base_->ejecutar("insert into operarios values (7, 'Después')"));
    QCOMPARE(base_->valor("select descripcion from operarios where id = 7").toString(), "Después");
    // The database it replaced is kept beside it.
    {
        QSqlDatabase anterior = QSqlDatabase::addDatabase("QSQLITE", "anterior");
        anterior.setDatabaseName(base_->archivo() + ".anterior");
        QVERIFY(anterior.open());
        QCOMPARE(volcado(anterior), posteriores);
    }
    QSqlDatabase::removeDatabase("anterior");
    QVERIFY(w.close());
    QVERIFY(BaseDatos::abierta());
}

void TstFrmMantenimiento::recuperarArchivoAntiguo() {
    // The earlier program's archive, restored into the running program's folder: the window's
    // connection goes on with the farm's rows.
    frmMantenimiento w(1);
    control<QLineEdit>(&w, "txtRutaRecuperar")->setText(nativa(archivoLegado("BD_lun_7_12_2026_09_05.cab")));
    control<QCheckBox>(&w, "chkRecuperar")->click();
    control<QPushButton>(&w, "cmdRecupear")->click();
    const Mensaje m = esperarMensaje(2);
    QCOMPARE(m, Mensaje{"Ok"});
    QVERIFY(w.baseRestaurada());
    QVERIFY(BaseDatos::abierta());
    QVERIFY(esLaGranjaDelLegado(volcado(BaseDatos::ConexionBD())));
    QVERIFY(w.close());
}

void TstFrmMantenimiento::principalAbreElRespaldo() {
    FrmPrincipal principal;
    int accion = -1;
    bool restaurarHabilitada = true;
    alAbrirModal(&principal, [&](QWidget* m) {
        auto* w = qobject_cast<frmMantenimiento*>(m);
        if (!w)
            return;
        accion = w->Accion;
        restaurarHabilitada = w->findChild<QTabWidget*>("stbMantenimineto")->isTabEnabled(1);
        w->close();
    });
    principal.findChild<QPushButton*>("Command4")->click();
    QCOMPARE(accion, 0);
    QVERIFY(!restaurarHabilitada);
}

void TstFrmMantenimiento::principalTrasRecuperar() {
    // Restored from the main window, the boxes it shows follow the restored settings.
    QVERIFY(base_->ejecutar("update tipo_conexion set direccion = '192.168.1.50' where tipo = 'directa'"));
    BaseDatos::cerrar();
    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath("copia.cab");
    QVERIFY(Respaldo({base_->archivo()}, cab).ejecutar().ok);
    QVERIFY(!BaseDatos::abrir(base_->carpeta()));
    QVERIFY(base_->ejecutar("update tipo_conexion set direccion = '10.0.0.9' where tipo = 'directa'"));

    FrmPrincipal principal;
    auto* direccion = principal.findChild<QLineEdit*>("TxtDir");
    QCOMPARE(direccion->text(), "10.0.0.9");
    int accion = -1;
    alAbrirModal(&principal, [&](QWidget* m) {
        auto* w = qobject_cast<frmMantenimiento*>(m);
        if (!w)
            return;
        accion = w->Accion;
        w->findChild<QLineEdit*>("txtRutaRecuperar")->setText(nativa(cab));
        w->findChild<QCheckBox*>("chkRecuperar")->click();
        w->findChild<QPushButton*>("cmdRecupear")->click();
        esperarMensaje(2);
        w->close();
    });
    principal.abrirMantenimiento(1);
    QCOMPARE(accion, 1);
    QCOMPARE(Dialogos::mostrados().last(), Mensaje{"Ok"});
    QCOMPARE(direccion->text(), "192.168.1.50");
}

void TstFrmMantenimiento::recuperarDeLaLista() {
    // The archive list of the backups tab restores into the running program: it asks first,
    // naming what is replaced and when the archive was made, and backs the current data up.
    QVERIFY(llenarPlan(50));
    const QStringList respaldadas = volcado(BaseDatos::ConexionBD());
    BaseDatos::cerrar();
    const QString cab = QDir(base_->carpeta()).filePath("BD_lun_7_12_2026_09_05.cab");
    QVERIFY(Respaldo({base_->archivo()}, cab).ejecutar().ok);
    QVERIFY(!BaseDatos::abrir(base_->carpeta()));
    QVERIFY(base_->ejecutar("delete from viajes where id > 3"));
    const QStringList actuales = volcado(BaseDatos::ConexionBD());

    frmMantenimiento w;
    auto* tabs = control<QTabWidget>(&w, "stbMantenimineto");
    QCOMPARE(tabs->tabText(2), "Respaldos");
    QVERIFY(tabs->isTabEnabled(2));
    auto* lista = control<QListWidget>(&w, "lstRespaldos");
    QCOMPARE(lista->count(), 1);
    QVERIFY2(lista->item(0)->text().startsWith("07/12/2026 09:05  manual"),
             qPrintable(lista->item(0)->text()));
    lista->setCurrentRow(0);
    Dialogos::encolarRespuesta(Respuesta::No);
    control<QPushButton>(&w, "cmdRecuperarElegido")->click();
    QVERIFY(tabs->isTabEnabled(1));
    QCOMPARE(tabs->currentIndex(), 1);
    Mensaje m = esperarMensaje(2);
    const Mensaje pregunta = Dialogos::mostrados().first();
    QVERIFY2(pregunta.texto.contains(nativa(base_->archivo())) &&
                 pregunta.texto.contains("hecho el 07/12/2026 09:05"),
             qPrintable(pregunta.texto));
    QVERIFY2(m.texto.startsWith("Falso\nLa recuperación se canceló"), qPrintable(m.texto));
    QCOMPARE(volcado(BaseDatos::ConexionBD()), actuales);
    QVERIFY(QDir(base_->carpeta()).entryList({"base.db.anterior"}, QDir::Files).isEmpty());

    control<QPushButton>(&w, "cmdRecupear")->click();
    m = esperarMensaje(4);
    QCOMPARE(m, Mensaje{"Ok"});
    QCOMPARE(volcado(BaseDatos::ConexionBD()), respaldadas);
    // The data it replaced are in an automatic archive.
    const QDir respaldos(QDir(base_->carpeta()).filePath("respaldos"));
    const QStringList automaticos = respaldos.entryList({"*_auto.cab"}, QDir::Files);
    QCOMPARE(automaticos.size(), 1);
    QTemporaryDir d;
    QCOMPARE(correr("cabextract", {"-q", "-d", d.path(), respaldos.filePath(automaticos.first())}), 0);
    {
        QSqlDatabase previa = QSqlDatabase::addDatabase("QSQLITE", "previa");
        previa.setDatabaseName(QDir(d.path()).filePath("base.db"));
        QVERIFY(previa.open());
        QCOMPARE(volcado(previa), actuales);
    }
    QSqlDatabase::removeDatabase("previa");
    QVERIFY(w.close());
}

void TstFrmMantenimiento::cancelarYCerrarDuranteElRespaldo() {
    // Large enough that the backup is still running when it is cancelled.
    QVERIFY(base_->ejecutar("insert into preferencias values ('relleno', randomblob(30000000))"));
    frmMantenimiento w;
    w.show();
    auto* cancelar = control<QPushButton>(&w, "cmdCancelar");
    QVERIFY(!cancelar->isEnabled());
    control<QCheckBox>(&w, "chkRutaDefecto")->click();
    control<QPushButton>(&w, "cmdBackUpBD")->click();
    QVERIFY(cancelar->isEnabled());
    cancelar->click();
    const Mensaje m = esperarMensaje();
    QCOMPARE(m.texto, "El Back Up se canceló: no quedó ningún archivo.");
    const QDir datos(base_->carpeta());
    QVERIFY(datos.entryList({"*.cab"}, QDir::Files).isEmpty());
    QCOMPARE(datos.entryList(QDir::Files | QDir::Hidden), QStringList{"base.db"});

    // Closing while it writes, agreeing to cancel: the window goes once the backup stopped.
    control<QPushButton>(&w, "cmdBackUpBD")->setEnabled(true);
    control<QPushButton>(&w, "cmdBackUpBD")->click();
    QVERIFY(w.ocupado());
    QVERIFY(!w.close());
    QVERIFY(QTest::qWaitFor([&] { return !w.isVisible(); }, 120000));
    QVERIFY(datos.entryList({"*.cab"}, QDir::Files).isEmpty());
    QVERIFY(BaseDatos::abierta());
}

QTEST_MAIN(TstFrmMantenimiento)
#include "tst_frmmantenimiento.moc"
