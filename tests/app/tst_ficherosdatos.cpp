// The line grammar of the data files on its own: numbers of a point line
// (the quick reading must agree with the general number reader), the fields
// of a parameter line.

#include "app/ficherosdatos.h"
#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QtTest>

class TstFicherosDatos : public QObject
{
    Q_OBJECT

private slots:
    void numberAgreesWithGeneralReader_data()
    {
        QTest::addColumn<QString>("token");
        for (const char *t : {"0", "-0", "12", "+12", "1.5", ".5", "-.5", "5.", "1e5", "1E+5", "2e-3", "1e", "1e+",
                              "+-1", "-+1", "1.2.3", "00012", "1e-400", "4.9e-324", "1.7976931348623157e308",
                              "12abc", "&H1F", "1d3", "-", ".", "0.1000000000000000055511151231257827",
                              "123456789012345678901234567890", "9007199254740993"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void numberAgreesWithGeneralReader()
    {
        QFETCH(QString, token);
        double a = -1;
        double b = -1;
        ficheros::leerdosnumeros(token + QStringLiteral("   ") + token, a, b);
        const double v = platform::val(token);
        QCOMPARE(std::signbit(a), std::signbit(v));
        QCOMPARE(a, v);
        QCOMPARE(b, v);
    }

    // The cell texts made from the fields of a point line are the general
    // texts of the numbers read from it.
    void textsAgreeWithNumbers_data()
    {
        QTest::addColumn<QString>("linea");
        for (const char *l : {"0.001   0.841470984807897", "1,2", "  3 ,  4", "5", "", "   ", ",", "1.50  -0.000",
                              "-0  +7", "1e307  9.99999999999999e307", "1e-307  1e-308", "1e308  2.5e-310",
                              "0.000123456789012345  123456789012345000", "1234567890123456  0.1000000000000000",
                              "100000000000000000000  1e15", "999999999999999.5  0.00001", "12abc  &H1F",
                              "1d3\t-.5", "00012.3400e-0002  .5e+1", "1e  1e+", "1e99999999  7"})
            QTest::newRow(l) << QString::fromLatin1(l);
    }
    void textsAgreeWithNumbers()
    {
        QFETCH(QString, linea);
        double a = 0;
        double b = 0;
        char x[platform::generalNumberSize];
        char y[platform::generalNumberSize];
        int nx = -1;
        int ny = -1;
        try {
            ficheros::leerdosnumeros(linea, a, b);
        } catch (const platform::VbError &) {
            QVERIFY_THROWS_EXCEPTION(platform::VbError, ficheros::textosdosnumeros(linea, x, nx, y, ny));
            return;
        }
        ficheros::textosdosnumeros(linea, x, nx, y, ny);
        QCOMPARE(QLatin1StringView(x, nx), platform::generalNumberExact(a));
        QCOMPARE(QLatin1StringView(y, ny), platform::generalNumberExact(b));
    }

    void overflowIsAFailure()
    {
        double a = 0;
        double b = 0;
        QVERIFY_THROWS_EXCEPTION(platform::VbError, ficheros::leerdosnumeros(QStringLiteral("1  1e400"), a, b));
        char x[platform::generalNumberSize];
        int n = 0;
        QVERIFY_THROWS_EXCEPTION(platform::VbError,
                                 ficheros::textosdosnumeros(QStringLiteral("1  1e400"), x, n, x, n));
    }

    void parameterFields_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<int>("campos");
        QTest::newRow("six") << "2  1  0  1  0  0" << 6;
        QTest::newRow("seven, blanks around") << "  5 1 4  2  5  1  15  " << 7;
        QTest::newRow("tab is not a separator") << "2\t1  0" << 2;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("eight") << "1 2 3 4 5 6 7 8" << -1;
    }
    void parameterFields()
    {
        QFETCH(QString, linea);
        QFETCH(int, campos);
        if (campos < 0)
            QVERIFY_THROWS_EXCEPTION(platform::VbError, ficheros::camposparametros(linea));
        else
            QCOMPARE(ficheros::camposparametros(linea).size(), campos);
    }

    void separators_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QString>("separador");
        QTest::addColumn<int>("campos");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("letters matched without case") << "1x2" << "X" << 2 << "1" << "2";
        QTest::newRow("separator of two letters") << "1ab2AB3" << "Ab" << 2 << "1" << "2";
        QTest::newRow("empty separator: one field") << "1,2" << "" << 1 << "1,2" << "";
        QTest::newRow("empty line") << "" << "," << 0 << "" << "";
        QTest::newRow("separator alone") << "," << "," << 2 << "0" << "0";
    }
    void separators()
    {
        QFETCH(QString, linea);
        QFETCH(QString, separador);
        QFETCH(int, campos);
        QFETCH(QString, x);
        QFETCH(QString, y);
        const ficheros::CeldasImportadas c = ficheros::celdaslinea(linea, separador);
        QCOMPARE(c.campos, campos);
        QCOMPARE(c.x, x);
        QCOMPARE(c.y, y);
    }
};

QTEST_MAIN(TstFicherosDatos)
#include "tst_ficherosdatos.moc"
