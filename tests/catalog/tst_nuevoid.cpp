// The id a new catalogue row gets.
#include "catalog/Catalogo.h"

#include <QTest>

class TstNuevoId : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void elecciones();
};

void TstNuevoId::elecciones() {
    QCOMPARE(Catalogo::nuevoId({}), std::optional<qint64>(1));
    QCOMPARE(Catalogo::nuevoId({"1", "2"}), std::optional<qint64>(3));
    QCOMPARE(Catalogo::nuevoId({"1", "2", "4"}), std::optional<qint64>(5));
    QCOMPARE(Catalogo::nuevoId({"2", "3"}), std::optional<qint64>(4));
    QCOMPARE(Catalogo::nuevoId({"9", "1"}), std::optional<qint64>(3));
    QCOMPARE(Catalogo::nuevoId({"3", "4", "5"}), std::optional<qint64>(6));
    QCOMPARE(Catalogo::nuevoId({"1", "x"}), std::nullopt);
}

QTEST_GUILESS_MAIN(TstNuevoId)
#include "tst_nuevoid.moc"
