#include "chart/graficos.h"

#include <QtTest>

#include <stdexcept>

using platform::Integer;

class TestGraficos : public QObject {
    Q_OBJECT
private slots:
    void activeOnlyWhenExactlyTrue_data();
    void activeOnlyWhenExactlyTrue();
    void assignmentCopiesDeeply();
    void tableCopyIsIndependent();
    void pointsIndexedFromOne();
    void resizeKeepsOrClears_data();
    void resizeKeepsOrClears();
    void tableNumberedOneToTen();
    void palette_data();
    void palette();
};

void TestGraficos::activeOnlyWhenExactlyTrue_data()
{
    QTest::addColumn<int>("activa");
    QTest::addColumn<bool>("active");
    QTest::newRow("True") << -1 << true;
    QTest::newRow("False") << 0 << false;
    QTest::newRow("one is not True") << 1 << false;
    QTest::newRow("-2 is not True") << -2 << false;
    QTest::newRow("all bits but one") << 0x7FFF << false;
}

void TestGraficos::activeOnlyWhenExactlyTrue()
{
    QFETCH(int, activa);
    QFETCH(bool, active);
    Curva c;
    c.activa = static_cast<Integer>(activa);
    QCOMPARE(c.isActive(), active);
}

void TestGraficos::assignmentCopiesDeeply()
{
    Curva src;
    src.activa = platform::vbTrue;
    src.npuntos = 2;
    src.puntos.redim(2);
    src.puntos(1) = {0.0, 5.0};
    src.puntos(2) = {2.0, 1.0};
    src.leyenda = QStringLiteral("Temperatura");
    src.minimo = {0.0, 1.0};
    src.maximo = {2.0, 5.0};

    Curva dst;
    dst = src; // as the main window stores a record into the table
    src.puntos(1).y = 99.0;
    src.puntos.redimPreserve(5);
    src.leyenda[0] = QLatin1Char('X');
    src.minimo.x = -7.0;

    QCOMPARE(dst.puntos.ubound(), 2);
    QCOMPARE(dst.puntos(1).y, 5.0);
    QCOMPARE(dst.puntos(2).x, 2.0);
    QVERIFY(dst.puntos.data() != src.puntos.data());
    QCOMPARE(dst.leyenda, QStringLiteral("Temperatura"));
    QCOMPARE(dst.minimo.x, 0.0);
    QCOMPARE(dst.maximo.y, 5.0);

    Curva constructed(dst);
    dst.puntos(2).x = -1.0;
    QCOMPARE(constructed.puntos(2).x, 2.0);
}

void TestGraficos::tableCopyIsIndependent()
{
    TablaCurvas saved = curvas;
    curvas(3).puntos.redim(1);
    curvas(3).puntos(1) = {4.0, 4.0};
    TablaCurvas copy = curvas;
    curvas(3).puntos(1).x = 8.0;
    QCOMPARE(copy(3).puntos(1).x, 4.0);
    curvas = saved;
    QVERIFY(curvas(3).puntos.empty());
}

void TestGraficos::pointsIndexedFromOne()
{
    PuntoArray a(3);
    QCOMPARE(a.ubound(), 3);
    a(1) = {1.0, 10.0};
    a(3) = {3.0, 30.0};
    QCOMPARE(a.vector().front().x, 1.0);
    QCOMPARE(a.vector().back().y, 30.0);
    // Outside 1..ubound is a failure, not a stray read.
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, a(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, a(4));
    const PuntoArray empty;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, empty(1));
}

void TestGraficos::resizeKeepsOrClears_data()
{
    QTest::addColumn<bool>("preserve");
    QTest::addColumn<int>("newSize");
    QTest::newRow("trim, keeping values") << true << 2;
    QTest::newRow("grow, keeping values") << true << 6;
    QTest::newRow("redim clears") << false << 4;
    QTest::newRow("to nothing") << false << 0;
    QTest::newRow("negative is nothing") << true << -3;
}

void TestGraficos::resizeKeepsOrClears()
{
    QFETCH(bool, preserve);
    QFETCH(int, newSize);
    PuntoArray a(4);
    for (int i = 1; i <= 4; ++i)
        a(i) = {double(i), double(-i)};
    if (preserve)
        a.redimPreserve(newSize);
    else
        a.redim(newSize);
    QCOMPARE(a.ubound(), std::max(newSize, 0));
    for (int i = 1; i <= a.ubound(); ++i) {
        const bool kept = preserve && i <= 4;
        QCOMPARE(a(i).x, kept ? double(i) : 0.0);
        QCOMPARE(a(i).y, kept ? double(-i) : 0.0);
    }
}

void TestGraficos::tableNumberedOneToTen()
{
    curvas.reset();
    for (int i = 1; i <= maxCurvas; ++i) {
        QVERIFY(!curvas(i).isActive());
        curvas(i).color = i;
    }
    QCOMPARE(curvas(1).color, 1);
    QCOMPARE(curvas(10).color, 10);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, curvas(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, curvas(11));
    curvas.reset();
    QCOMPARE(curvas(10).color, 0);
}

void TestGraficos::palette_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    const int rgb[16][3] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},     {0, 128, 128},
                            {128, 0, 0},     {128, 0, 128}, {128, 128, 0},   {192, 192, 192},
                            {128, 128, 128}, {0, 0, 255},   {0, 255, 0},     {0, 255, 255},
                            {255, 0, 0},     {255, 0, 255}, {255, 255, 0},   {255, 255, 255}};
    for (int i = 0; i < 16; ++i)
        QTest::addRow("index %d", i) << i << rgb[i][0] << rgb[i][1] << rgb[i][2];
    QTest::newRow("beyond 15 is black") << 16 << 0 << 0 << 0;
    QTest::newRow("negative is black") << -1 << 0 << 0 << 0;
}

void TestGraficos::palette()
{
    QFETCH(int, index);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    const platform::OleColor c = qbcolor(index);
    QCOMPARE(platform::redOf(c), r);
    QCOMPARE(platform::greenOf(c), g);
    QCOMPARE(platform::blueOf(c), b);
    QCOMPARE(c, platform::rgb(r, g, b)); // stored as 0x00BBGGRR
}

QTEST_MAIN(TestGraficos)
#include "tst_graficos.moc"
