#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace platform;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void val_data();
    void val();
    void valOverflow();

    void regional_data();
    void regional();

    void cintRounding_data();
    void cintRounding();
    void cintFailures_data();
    void cintFailures();
    void clngRange();

    void fixed4_data();
    void fixed4();
    void hashes_data();
    void hashes();
    void general_data();
    void general();
    void generalRoundTrip();
    void date();
};

void TestNumberText::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("exponent e") << "2e1" << 20.0;
    QTest::newRow("exponent D") << "2D2" << 200.0;
    QTest::newRow("exponent negative") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("exponent sign only") << "3e+" << 3.0;
    QTest::newRow("blanks inside") << " 1 2 . 5" << 12.5;
    QTest::newRow("tab and line feed inside") << "\t-1\n0" << -10.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("leading plus") << "+7.25" << 7.25;
    QTest::newRow("negative fraction") << "-.5" << -0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("letters first") << "abc12" << 0.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
    QTest::newRow("hex five digits") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit wraps") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("tiny underflows to zero") << "1e-400" << 0.0;
    QTest::newRow("denormal") << "4.9e-324" << 4.9e-324;
}

void TestNumberText::val()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(platform::val(text), expected);
}

void TestNumberText::valOverflow()
{
    for (const char *t : {"1e400", "-2D999", "&H100000000"}) {
        try {
            platform::val(QString::fromLatin1(t));
            QFAIL(t);
        } catch (const VbError &e) {
            QCOMPARE(e.number(), vberr::Overflow);
        }
    }
}

void TestNumberText::regional_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    const QString c = QStringLiteral("en_US");
    const QString es = QStringLiteral("es_ES");
    const QString de = QStringLiteral("de_DE");
    QTest::newRow("plain") << c << "12" << true << 12.0;
    QTest::newRow("blanks around") << c << "  1.5 " << true << 1.5;
    QTest::newRow("sign after") << c << "5-" << true << -5.0;
    QTest::newRow("plus after") << c << "5+" << true << 5.0;
    QTest::newRow("two signs") << c << "-5-" << false << 0.0;
    QTest::newRow("parentheses") << c << "(12.5)" << true << -12.5;
    QTest::newRow("parentheses and sign") << c << "(-3)" << false << 0.0;
    QTest::newRow("open parenthesis only") << c << "(3" << false << 0.0;
    QTest::newRow("group among digits") << c << "1,234.5" << true << 1234.5;
    QTest::newRow("grouping not checked") << c << "12,3,4" << true << 1234.0;
    QTest::newRow("group after point") << c << "1.2,3" << false << 0.0;
    QTest::newRow("group first") << c << ",5" << false << 0.0;
    QTest::newRow("two points") << c << "1.2.3" << false << 0.0;
    QTest::newRow("exponent") << c << "1.5E3" << true << 1500.0;
    QTest::newRow("exponent D negative") << c << "25d-1" << true << 2.5;
    QTest::newRow("exponent without digits") << c << "1e" << false << 0.0;
    QTest::newRow("leading point") << c << ".5" << true << 0.5;
    QTest::newRow("trailing point") << c << "5." << true << 5.0;
    QTest::newRow("currency before") << c << "$12" << true << 12.0;
    QTest::newRow("currency and sign") << c << "-$3" << true << -3.0;
    QTest::newRow("hex") << c << "&H1F" << true << 31.0;
    QTest::newRow("octal with blanks") << c << " &O17 " << true << 15.0;
    QTest::newRow("hex without digits") << c << "&H" << false << 0.0;
    QTest::newRow("hex then junk") << c << "&H1G" << false << 0.0;
    QTest::newRow("empty") << c << "" << false << 0.0;
    QTest::newRow("blanks only") << c << "   " << false << 0.0;
    QTest::newRow("lone minus") << c << "-" << false << 0.0;
    QTest::newRow("lone point") << c << "." << false << 0.0;
    QTest::newRow("letters") << c << "12a" << false << 0.0;
    QTest::newRow("comma locale: comma decimal") << es << "1,5" << true << 1.5;
    QTest::newRow("comma locale: point groups") << es << "1.5" << true << 15.0;
    QTest::newRow("comma locale: point groups twice") << es << "1.2.3" << true << 123.0;
    QTest::newRow("comma locale: two commas") << es << "1,2,3" << false << 0.0;
    QTest::newRow("comma locale: euro after") << de << "3,5 €" << true << 3.5;
    QTest::newRow("comma locale: lone comma") << de << "," << false << 0.0;
    QTest::newRow("comma locale: minus after") << de << "12-" << true << -12.0;
}

void TestNumberText::regional()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const QLocale loc(locale);
    QCOMPARE(isNumeric(text, loc), numeric);
    if (numeric) {
        QCOMPARE(toDouble(text, loc), value);
    } else {
        try {
            toDouble(text, loc);
            QFAIL("no failure");
        } catch (const VbError &e) {
            QCOMPARE(e.number(), vberr::TypeMismatch);
        }
    }
}

void TestNumberText::cintRounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("-2.5 to even") << -2.5 << -2;
    QTest::newRow("-3.5 to even") << -3.5 << -4;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("just above half") << 2.5000001 << 3;
    QTest::newRow("just below half") << 2.4999999 << 2;
    QTest::newRow("upper limit") << 32767.0 << 32767;
    QTest::newRow("upper limit rounds down") << 32767.4 << 32767;
    QTest::newRow("lower limit") << -32768.0 << -32768;
    QTest::newRow("lower half to even") << -32768.5 << -32768;
}

void TestNumberText::cintRounding()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(cint(value)), expected);
}

void TestNumberText::cintFailures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");
    QTest::newRow("rounds beyond upper") << "32767.5" << vberr::Overflow;
    QTest::newRow("beyond lower") << "-32769" << vberr::Overflow;
    QTest::newRow("huge") << "1e10" << vberr::Overflow;
    QTest::newRow("not a number") << "abc" << vberr::TypeMismatch;
    QTest::newRow("empty") << "" << vberr::TypeMismatch;
}

void TestNumberText::cintFailures()
{
    QFETCH(QString, text);
    QFETCH(int, error);
    try {
        cint(text, QLocale(QLocale::C));
        QFAIL("no failure");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), error);
    }
}

void TestNumberText::clngRange()
{
    QCOMPARE(clng(2147483647.0), 2147483647);
    QCOMPARE(clng(-2147483648.0), std::numeric_limits<Long>::min());
    QCOMPARE(clng(40000.5), 40000);
    QVERIFY_THROWS_EXCEPTION(VbError, clng(2147483647.5));
    QVERIFY_THROWS_EXCEPTION(VbError, clng(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(VbError, cint(std::nan("")));
}

void TestNumberText::fixed4_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half") << 0.5 << "0.5000";
    QTest::newRow("integer digits") << 1234.5 << "1234.5000";
    QTest::newRow("negative") << -2.0 << "-2.0000";
    QTest::newRow("zero") << 0.0 << "0.0000";
    QTest::newRow("many integer digits, no grouping") << 1234567.0 << "1234567.0000";
    QTest::newRow("rounds up") << 0.12345678 << "0.1235";
    QTest::newRow("decimal half away from zero") << 1.00005 << "1.0001";
    QTest::newRow("negative half away from zero") << -1.00005 << "-1.0001";
    QTest::newRow("carry into integer") << 9.99999 << "10.0000";
    QTest::newRow("carry into new digit") << 99999.99995 << "100000.0000";
    QTest::newRow("tiny negative drops sign") << -0.00001 << "0.0000";
    QTest::newRow("negative zero") << -0.0 << "0.0000";
    QTest::newRow("small negative kept") << -0.00005 << "-0.0001";
    QTest::newRow("large") << 1e20 << "100000000000000000000.0000";
    QTest::newRow("fifteen digits") << 123456789.123456 << "123456789.1235";
}

void TestNumberText::fixed4()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatFixed4(value), expected);
    // The text always reads back with "." as the only separator.
    if (std::fabs(value) < 1e10)
        QVERIFY(std::fabs(platform::val(formatFixed4(value)) - value) <= 0.0000501);
}

void TestNumberText::hashes_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("page number") << 3.0 << "3";
    QTest::newRow("no grouping") << 12345.0 << "12345";
    QTest::newRow("zero is empty") << 0.0 << "";
    QTest::newRow("rounds to zero") << 0.4 << "";
    QTest::newRow("half away from zero") << 2.5 << "3";
    QTest::newRow("negative") << -7.0 << "-7";
}

void TestNumberText::hashes()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatHashes(value), expected);
}

void TestNumberText::general_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing zeros") << 1.50 << "1.5";
    QTest::newRow("whole") << 7.0 << "7";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -2.25 << "-2.25";
    QTest::newRow("fraction") << 0.5 << "0.5";
    QTest::newRow("binary fraction noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("sixteen digits exponent") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("1E+16") << 1e16 << "1E+16";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
    QTest::newRow("0.0001 fixed") << 0.0001 << "0.0001";
    QTest::newRow("small with digits") << -0.000012345 << "-1.2345E-05";
    QTest::newRow("huge exponent") << 1.5e300 << "1.5E+300";
    QTest::newRow("pi") << 3.14159265358979323846 << "3.14159265358979";
    QTest::newRow("rounds at fifteenth") << 0.999999999999999999 << "1";
}

void TestNumberText::general()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(generalNumber(value), expected);
}

void TestNumberText::generalRoundTrip()
{
    // Values of 15 significant digits or fewer read back exactly.
    const double values[] = {1.5, -0.001, 123.456, 1e-7, 6.02214076e23, 2.220446049250313e-16, 32767.0};
    for (double v : values) {
        const QString t = generalNumber(v);
        QCOMPARE(platform::val(t), std::stod(QString::number(v, 'g', 15).toStdString()));
    }
}

void TestNumberText::date()
{
    QCOMPARE(dateText(QDate(2026, 3, 7)), QStringLiteral("03-07-2026"));
    QCOMPARE(dateText(QDate(1999, 12, 31)), QStringLiteral("12-31-1999"));
}

QTEST_MAIN(TestNumberText)
#include "tst_numbertext.moc"
