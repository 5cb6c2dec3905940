// The lenient reader of the service's replies: what it accepts, the exact error texts it leaves,
// and that it always comes to an end.
#include "web/Json.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

ValorJson leer(const QString& t) {
    const auto v = ParseJson(t);
    return v ? *v : ValorJson();
}
} // namespace

class TstJson : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void vaciosYNoJson() {
        auto o = ParseJson(u"{}");
        QVERIFY(o && o->esObjeto() && o->claves().empty());
        QCOMPARE(ParserErrors(), QString());
        auto a = ParseJson(u"[]");
        QVERIFY(a && a->esArreglo() && a->tamano() == 0);
        for (const QString& t : {QString(), QStringLiteral("x"), QStringLiteral("  /* c */ ( ")}) {
            QVERIFY(!ParseJson(t));
            QCOMPARE(ParserErrors(), QStringLiteral("Invalid JSON"));
        }
        // A parse resets the error text of the one before.
        QVERIFY(ParseJson(u"{}"));
        QCOMPARE(ParserErrors(), QString());
    }

    void clavesComillasYComasFaltantes() {
        const ValorJson v = leer(QStringLiteral("{a:1 'b':'x' c:true}"));
        QCOMPARE(v[u"a"].cadena(), QStringLiteral("1"));
        QCOMPARE(v[u"b"].cadena(), QStringLiteral("x"));
        QCOMPARE(v[u"c"].tipo(), ValorJson::Tipo::Booleano);
        QVERIFY(v[u"c"].comoBooleano());
        QVERIFY(v[u"falta"].esVacio());
        QCOMPARE(ParserErrors(), QString());
        QCOMPARE(leer(QStringLiteral("( {'k':'v'} )"))[u"k"].cadena(), QStringLiteral("v"));
        QCOMPARE(leer(QStringLiteral("{'my key':1}")).claves(),
                 std::vector<QString>{QStringLiteral("mykey")});
        QVERIFY(leer(QStringLiteral("{\"n\":null, \"f\":false}"))[u"n"].esNulo());
        // Keys are compared exactly, case included; members keep their order.
        const ValorJson m = leer(QStringLiteral("{\"z\":1,\"Operario\":2,\"a\":3}"));
        QCOMPARE(m.claves(), (std::vector<QString>{u"z"_qs, u"Operario"_qs, u"a"_qs}));
        QVERIFY(m[u"operario"].esVacio());
    }

    void comentarios() {
        const ValorJson v = leer(QStringLiteral("/* hola */ {a:1, // resto\n b:2 /* x y */ c:3}"));
        QCOMPARE(v[u"a"].cadena(), QStringLiteral("1"));
        QCOMPARE(v[u"b"].cadena(), QStringLiteral("2"));
        QCOMPARE(v[u"c"].cadena(), QStringLiteral("3"));
        QCOMPARE(ParserErrors(), QString());
    }

    void escapes() {
        QCOMPARE(leer(QStringLiteral("{'a':'x\\u00e9y'}"))[u"a"].cadena(), QStringLiteral("xéy"));
        QCOMPARE(leer(QStringLiteral("{'a':'\\q'}"))[u"a"].cadena(), QStringLiteral("q"));
        QCOMPARE(leer(QStringLiteral("{\"a\":\"\\\"\\\\\\/\\'\\b\\f\\n\\r\\t\"}"))[u"a"].cadena(),
                 QStringLiteral("\"\\/'\b\f\n\r\t"));
        // Hex digits stop at the first non-digit; the position still moves four past the "u".
        QCOMPARE(leer(QStringLiteral("{'a':'\\u4zzzb'}"))[u"a"].cadena(), QString(QChar(4)) + u'b');
        QCOMPARE(leer(QStringLiteral("{'a':\"it's\"}"))[u"a"].cadena(), QStringLiteral("it's"));
        // Longer than one chunk of the builder.
        const QString largo(20000, u'x');
        QCOMPARE(leer(QStringLiteral("{'a':'") + largo + QStringLiteral("\\n'}"))[u"a"].cadena(),
                 largo + u'\n');
    }

    void erroresExactos_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("errores");
        QTest::newRow("clave repetida")
            << "{'a':1,'a':2}" << ErroresJson::kClaveRepetida + QStringLiteral(": a") + kCrLf;
        QTest::newRow("numero al final") << "{'a':12" << u"Missing '}': {'a':12"_qs + kCrLf;
        QTest::newRow("guion") << "{'n':-}" << ErroresJson::kConversion + QStringLiteral(": n") + kCrLf;
        QTest::newRow("1-2") << "{'x':1,'n':1-2}" << ErroresJson::kConversion + QStringLiteral(": n") + kCrLf;
        QTest::newRow("null malo") << "{'a':nul}"
                                   << u"Invalid null value at position 6 : nul}"_qs + kCrLf +
                                          u"Missing '}': {'a':nul}"_qs + kCrLf;
        QTest::newRow("clave sin dos puntos") << "{\"a\" 1}" << u"Invalid Key at position 6 : a"_qs + kCrLf;
        QTest::newRow("arreglo con letra")
            << "[1,x]" << ErroresJson::kConversion + QStringLiteral(": x]") + kCrLf;
        QTest::newRow("arreglo abierto") << "[1,2" << u"Missing ']': [1,2"_qs + kCrLf;
        QTest::newRow("ultimos 20") << "{'clave_larga':'abcdefghijklmnopq"
                                    << u"Missing '}': ':'abcdefghijklmnopq"_qs + kCrLf;
        QTest::newRow("cadena sin cerrar") << "['abc" << u"Missing ']': ['abc"_qs + kCrLf;
        QTest::newRow("desbordamiento")
            << "{'n':1e40}" << ErroresJson::kDesbordamiento + QStringLiteral(": n") + kCrLf;
    }
    void erroresExactos() {
        QFETCH(QString, texto);
        QFETCH(QString, errores);
        QVERIFY(ParseJson(texto));
        QCOMPARE(ParserErrors(), errores);
    }

    void arbolParcial() {
        const ValorJson v = leer(QStringLiteral("{'x':1,'n':-,'y':2}"));
        QCOMPARE(v[u"x"].cadena(), QStringLiteral("1"));
        QVERIFY(!v.contiene(u"n"));
        QVERIFY(!v.contiene(u"y")); // the object finished at the failure
        QCOMPARE(leer(QStringLiteral("{'a':1,'a':2}"))[u"a"].cadena(), QStringLiteral("1"));
        QVERIFY(leer(QStringLiteral("{'a':12"))[u"a"].esVacio());
        QCOMPARE(leer(QStringLiteral("['abc")).at(0).cadena(), QStringLiteral("abc"));
        // A fault inside a nested value is recorded there; the outer object carries on.
        const ValorJson n = leer(QStringLiteral("{'a':[1,x],'b':2}"));
        QCOMPARE(n[u"a"].tamano(), 1);
        QCOMPARE(n[u"x],b"].cadena(), QStringLiteral("2"));
    }

    void tokenMaloEnArregloTermina() {
        // "tru" leaves the position where it was: the array must end instead of reading it forever.
        const auto v = ParseJson(u"[tru, 1]");
        QVERIFY(v && v->esArreglo());
        QCOMPARE(ParserErrors(), u"Invalid Boolean at position 2 : tru, 1]"_qs + kCrLf);
        const auto w = ParseJson(u"{'a':[[nul]], 'b':1}");
        QVERIFY(w);
        QVERIFY(ParserErrors().startsWith(u"Invalid null value at position 8 : nul]], 'b':1}"_qs + kCrLf));
    }

    void numeros() {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        const ValorJson v = leer(QStringLiteral("{a:1250.5, b:-0.25, c:1.5e3, d:-0.0, e:+7, f:.5, g:2.50, "
                                                "h:12345678901234567890.123456789, i:1e-30}"));
        QCOMPARE(ParserErrors(), QString());
        QCOMPARE(v[u"a"].cadena(), QStringLiteral("1250.5"));
        QCOMPARE(*v[u"a"].comoTexto(), QStringLiteral("1250,5"));
        QCOMPARE(*v[u"b"].comoTexto(), QStringLiteral("-0,25"));
        QCOMPARE(*v[u"c"].comoTexto(), QStringLiteral("1500"));
        QCOMPARE(*v[u"d"].comoTexto(), QStringLiteral("0"));
        QCOMPARE(*v[u"e"].comoTexto(), QStringLiteral("7"));
        QCOMPARE(*v[u"f"].comoTexto(), QStringLiteral("0,5"));
        QCOMPARE(*v[u"g"].comoTexto(), QStringLiteral("2,5"));
        // 29 significant digits at most, rounded.
        QCOMPARE(v[u"h"].cadena(), QStringLiteral("12345678901234567890.123456789"));
        QCOMPARE(v[u"i"].cadena(), QStringLiteral("0"));
        // A comma is not a decimal point in a JSON number, whatever the regional settings.
        QVERIFY(ParseJson(u"{a:1,5}"));
        QCOMPARE(leer(QStringLiteral("{a:1,5}"))[u"a"].cadena(), QStringLiteral("1"));
        QVERIFY(!leer(QStringLiteral("{'s':'x'}"))[u"s"].comoTexto()->isEmpty());
        QVERIFY(!ValorJson::nulo().comoTexto());
    }

    void filasQueRepitenClaves() {
        // Keys in the same place as in the row before are shared; a different key must not be.
        const ValorJson v =
            leer(QStringLiteral("[{\"a\":1,\"b\":2},{\"a\":3,\"c\":4},{\"c\":5,\"a\":6},{a :7}]"));
        QCOMPARE(v.tamano(), 4);
        QCOMPARE(v.at(1)[u"c"].cadena(), QStringLiteral("4"));
        QVERIFY(v.at(1)[u"b"].esVacio());
        QCOMPARE(v.at(2)[u"a"].cadena(), QStringLiteral("6"));
        QCOMPARE(v.at(2).claves(), (std::vector<QString>{u"c"_qs, u"a"_qs}));
        QCOMPARE(v.at(3)[u"a"].cadena(), QStringLiteral("7"));
        QCOMPARE(leer(QStringLiteral("{n:007, m:-0.50, p:10}"))[u"n"].cadena(), QStringLiteral("7"));
        QCOMPARE(leer(QStringLiteral("{n:007, m:-0.50, p:10}"))[u"m"].cadena(), QStringLiteral("-0.5"));
        QCOMPARE(leer(QStringLiteral("{n:007, m:-0.50, p:10}"))[u"p"].cadena(), QStringLiteral("10"));
        QCOMPARE(ParserErrors(), QString());
    }

    void desdeUnaPosicion() {
        const QString t = QStringLiteral("xx{'a':1},{'a':'z'}");
        const auto v = ParseJson(t, 2);
        QVERIFY(v);
        QCOMPARE((*v)[u"a"].cadena(), QStringLiteral("1"));
        QCOMPARE((*ParseJson(t, 10))[u"a"].cadena(), QStringLiteral("z"));
        // Positions in the error text count from the start given.
        ParseJson(u"xxxx{'a':nul}", 4);
        QVERIFY(ParserErrors().startsWith(QStringLiteral("Invalid null value at position 6 : ")));
        QVERIFY(!ParseJson(t, 100));
    }

    void anidamientoProfundo() {
        const QString t = QString(200000, u'[') + QString(200000, u']');
        QVERIFY(ParseJson(t));
        QVERIFY(ParserErrors().contains(ErroresJson::kProfundidad));
        QVERIFY(ParseJson(QString(100000, u'{')));
    }

    void constructorDeCadenas() {
        cStringBuilder sb;
        QCOMPARE(sb.toString(), QString());
        sb.Append(u"0123456789");
        QCOMPARE(sb.Capacity(), 8192);
        sb.Append(QString(8190, u'x'));
        QCOMPARE(sb.Capacity(), 16384);
        QCOMPARE(sb.Length(), 8200);
        sb.Append(QString(20000, u'y'));
        QCOMPARE(sb.Capacity(), 32768);
        QCOMPARE(sb.toString().size(), 28200);
        QVERIFY(sb.toString().startsWith(u"0123456789xx"));
    }

    void siempreTermina() {
        // Random texts from the characters that matter to the reader, and every prefix of a valid
        // reply: each parse must end (the test's time limit catches a loop) without crashing.
        const QString alfabeto = QStringLiteral("{}[]()'\":,/*\\\r\n tfnul0123456789.-+eEax");
        QRandomGenerator rnd(12345);
        for (int i = 0; i < 20000; ++i) {
            QString t;
            const int n = rnd.bounded(1, 120);
            for (int k = 0; k < n; ++k)
                t.append(alfabeto.at(rnd.bounded(alfabeto.size())));
            ParseJson(t);
            ParseJson(QStringLiteral("{") + t);
            ParseJson(QStringLiteral("[") + t);
        }
        const QString valido =
            QStringLiteral("[{\"fecha\":\"2024-01-15\",\"hora\":\"08:30\",\"kg\":12.5,\"ok\":true,\"n\":null,"
                           "\"s\":\"a\\u00e9\\n\"},{'x':[1,2,{'y':false}]} /* fin */]");
        for (int k = 0; k <= valido.size(); ++k) {
            ParseJson(valido.left(k));
            ParseJson(QStringView(valido).left(k), k / 2);
        }
        const auto completo = ParseJson(valido);
        QVERIFY(completo);
        QCOMPARE(ParserErrors(), QString());
        QCOMPARE(completo->tamano(), 2);
    }
};

QTEST_GUILESS_MAIN(TstJson)
#include "tst_json.moc"
