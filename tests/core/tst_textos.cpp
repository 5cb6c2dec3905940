// Value texts shared by the windows and the exchanges: numbers, proper case, Windows-1252,
// tablet addresses and the CSV of the events list.
#include "core/Cp1252.h"
#include "core/CsvEventos.h"
#include "core/Texto.h"
#include "link/DireccionTablet.h"

#include <QTest>

class TstTextos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void numeros();
    void numerosDelUsuario();
    void tipoTitulo();
    void cp1252();
    void direccionTablet();
    void csv();
};

void TstTextos::numeros() {
    QCOMPARE(Texto::numeroPunto(100.0 / 3), QString("33.3333333333333"));
    QCOMPARE(Texto::numeroPunto(500), QString("500"));
    QCOMPARE(Texto::numeroPunto(-0.0), QString("0"));
    QCOMPARE(Texto::numeroPunto(1234567), QString("1234567"));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    QCOMPARE(Texto::numeroRegional(2800.5), QString("2800,5"));
    QCOMPARE(Texto::numeroRegional(1234567.25), QString("1234567,25"));
    QCOMPARE(Texto::numeroPunto(12.5), QString("12.5"));
}

void TstTextos::numerosDelUsuario() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    double v = 0;
    QVERIFY(Texto::leerNumeroUsuario("12,5", &v));
    QCOMPARE(v, 12.5);
    QVERIFY(Texto::leerNumeroUsuario(" 12.5 ", &v));
    QCOMPARE(v, 12.5);
    // Where "." groups thousands it does so only in threes; elsewhere it is a decimal point.
    for (const auto& [texto, valor] :
         {std::pair{"0.30", 0.3}, std::pair{"0.085", 0.085}, std::pair{"1.25", 1.25},
          std::pair{"1.500", 1500.0}, std::pair{"12.000,5", 12000.5}}) {
        QVERIFY(Texto::leerNumeroUsuario(texto, &v));
        QCOMPARE(v, valor);
    }
    QVERIFY(!Texto::leerNumeroUsuario("", &v));
    QVERIFY(!Texto::leerNumeroUsuario("doce", &v));
    QVERIFY(!Texto::leerNumeroUsuario("1,2,3", &v));
    QVERIFY(!Texto::leerNumeroUsuario("inf", &v));
}

void TstTextos::tipoTitulo() {
    QCOMPARE(Texto::tipoTitulo("una BOLSA de maíz"), QString("Una Bolsa De Maíz"));
    QCOMPARE(Texto::tipoTitulo("  ñandú  grande"), QString("  Ñandú  Grande"));
    QCOMPARE(Texto::tipoTitulo(""), QString());
}

void TstTextos::cp1252() {
    QCOMPARE(Cp1252::codificar("Ñandú ç º €"), QByteArray("\xD1"
                                                          "and\xFA \xE7 \xBA \x80"));
    QCOMPARE(Cp1252::codificar("α→"), QByteArray("??"));
    QCOMPARE(Cp1252::decodificar("Ma\xEDz \x80"), QString("Maíz €"));
    const QByteArray todos = [] {
        QByteArray b;
        for (int i = 0; i < 256; ++i)
            b.append(static_cast<char>(i));
        return b;
    }();
    QCOMPARE(Cp1252::codificar(Cp1252::decodificar(todos)), todos);
}

void TstTextos::direccionTablet() {
    auto leer = [](const char* t) {
        const DireccionTablet d = DireccionTablet::leer(QString::fromUtf8(t));
        return d.host + "|" + QString::number(d.puerto);
    };
    QCOMPARE(leer("192.168.1.50"), QString("192.168.1.50|4999"));
    QCOMPARE(leer(" tablet.local "), QString("tablet.local|4999"));
    QCOMPARE(leer("127.0.0.1:5001"), QString("127.0.0.1|5001"));
    QCOMPARE(leer("[::1]:6000"), QString("::1|6000"));
    QCOMPARE(leer("fe80::1"), QString("fe80::1|4999"));
    QCOMPARE(leer("host:99999"), QString("host:99999|4999"));
}

void TstTextos::csv() {
    FilaEvento f{"CARGA", "15/06/2021", "08:30", "Engorde, \"A\"", "Maíz", "1200", "1250,5", "José"};
    QCOMPARE(
        CsvEventos::escribir({f}),
        QByteArray(
            "TIPO DE SUCESO,FECHA,HORA,RECETA/CORRAL,ALIMENTO,SUGERIDO,REAL,OPERARIO\r\n"
            "CARGA,15/06/2021,08:30,\"Engorde, \"\"A\"\"\",Ma\xC3\xADz,1200,\"1250,5\",Jos\xC3\xA9\r\n"));
    QCOMPARE(CsvEventos::escribir({}).count("\r\n"), 1);
}

QTEST_GUILESS_MAIN(TstTextos)
#include "tst_textos.moc"
