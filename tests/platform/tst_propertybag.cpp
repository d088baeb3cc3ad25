#include "platform/propertybag.h"
#include "platform/vberror.h"

#include <QFont>
#include <QImage>
#include <QtTest>

using namespace platform;

class TestPropertyBag : public QObject {
    Q_OBJECT
private slots:
    void readWithDefault_data();
    void readWithDefault();
    void writeWithDefault_data();
    void writeWithDefault();
    void overwriteKeepsFirstSpelling();
    void saveLoadRoundTrip_data();
    void saveLoadRoundTrip();
    void saveLoadWholeBag();
    void loadRejectsBrokenLines_data();
    void loadRejectsBrokenLines();
};

void TestPropertyBag::readWithDefault_data()
{
    QTest::addColumn<QString>("readName");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("same case") << "NumberBox" << QVariant(2);
    QTest::newRow("lower case") << "numberbox" << QVariant(2);
    QTest::newRow("upper case") << "NUMBERBOX" << QVariant(2);
    QTest::newRow("missing gives default") << "Signo" << QVariant(-1);
    QTest::newRow("prefix is not a match") << "Number" << QVariant(-1);
}

void TestPropertyBag::readWithDefault()
{
    QFETCH(QString, readName);
    QFETCH(QVariant, expected);
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("NumberBox"), 2);
    QCOMPARE(bag.readProperty(readName, -1), expected);
}

void TestPropertyBag::writeWithDefault_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("stored");
    QTest::newRow("equal to default") << QVariant(0) << QVariant(0) << false;
    QTest::newRow("differs from default") << QVariant(1) << QVariant(0) << true;
    QTest::newRow("equal text") << QVariant(QStringLiteral("Header")) << QVariant(QStringLiteral("Header")) << false;
    QTest::newRow("text differs in case") << QVariant(QStringLiteral("header"))
                                          << QVariant(QStringLiteral("Header")) << true;
    QTest::newRow("equal Boolean") << QVariant(false) << QVariant(false) << false;
}

void TestPropertyBag::writeWithDefault()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, stored);
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("P"), value, defaultValue);
    QCOMPARE(bag.contains(QStringLiteral("p")), stored);
    // Either way the reader with the same default gets the value back.
    QCOMPARE(bag.readProperty(QStringLiteral("P"), defaultValue), value);

    // Written without a default, a value is always stored.
    PropertyBag always;
    always.writeProperty(QStringLiteral("P"), value);
    QVERIFY(always.contains(QStringLiteral("P")));
    QCOMPARE(always.readProperty(QStringLiteral("P"), QStringLiteral("other")), value);
}

void TestPropertyBag::overwriteKeepsFirstSpelling()
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Text"), QStringLiteral("a"));
    bag.writeProperty(QStringLiteral("TEXT"), QStringLiteral("b"));
    QCOMPARE(bag.count(), 1);
    QCOMPARE(bag.names(), QStringList{QStringLiteral("Text")});
    QCOMPARE(bag.readProperty(QStringLiteral("text")).toString(), QStringLiteral("b"));
    // Writing the default afterwards removes the stored value.
    bag.writeProperty(QStringLiteral("text"), QStringLiteral("z"), QStringLiteral("z"));
    QCOMPARE(bag.count(), 0);
}

void TestPropertyBag::saveLoadRoundTrip_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Boolean") << QVariant(true);
    QTest::newRow("int") << QVariant(-32768);
    QTest::newRow("colour as uint") << QVariant(uint(0x80000005u));
    QTest::newRow("long long") << QVariant(qlonglong(1) << 40);
    QTest::newRow("single") << QVariant(1.1f);
    QTest::newRow("double") << QVariant(0.1 + 0.2);
    QTest::newRow("empty text") << QVariant(QString(""));
    QTest::newRow("text with line breaks") << QVariant(QStringLiteral("a\r\nb\nc\rd"));
    QTest::newRow("text with = and backslash") << QVariant(QStringLiteral("x=1\\n=y\\"));
    QTest::newRow("accented text") << QVariant(QStringLiteral("Página ñ €"));
    QTest::newRow("bytes") << QVariant(QByteArray("\x00\xff\r\n", 4));
    QTest::newRow("null") << QVariant();
}

void TestPropertyBag::saveLoadRoundTrip()
{
    QFETCH(QVariant, value);
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Name=odd\\"), value);
    const QString text = bag.save();
    QCOMPARE(text.count(QLatin1Char('\n')), 1); // one line per entry
    const PropertyBag back = PropertyBag::load(text);
    QCOMPARE(back.names(), QStringList{QStringLiteral("Name=odd\\")});
    const QVariant got = back.readProperty(QStringLiteral("name=ODD\\"), QStringLiteral("missing"));
    QCOMPARE(got.typeId(), value.typeId());
    QCOMPARE(got, value);
}

void TestPropertyBag::saveLoadWholeBag()
{
    QFont font(QStringLiteral("Liberation Sans"), 12);
    font.setBold(true);
    QImage icon(4, 3, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    icon.setPixel(1, 1, qRgba(0, 0, 255, 255));

    PropertyBag bag;
    bag.writeProperty(QStringLiteral("Font"), font);
    bag.writeProperty(QStringLiteral("MouseIcon"), icon);
    bag.writeProperty(QStringLiteral("Text"), QStringLiteral("1.5"));
    bag.writeProperty(QStringLiteral("Header"), false);

    const PropertyBag back = PropertyBag::load(bag.save());
    QCOMPARE(back.names(), bag.names());
    const QFont f = back.readProperty(QStringLiteral("font")).value<QFont>();
    QCOMPARE(f.family(), font.family());
    QCOMPARE(f.pointSize(), 12);
    QVERIFY(f.bold());
    const QImage img = back.readProperty(QStringLiteral("MouseIcon")).value<QImage>();
    QCOMPARE(img.size(), icon.size());
    QCOMPARE(img.pixel(1, 1), icon.pixel(1, 1));
    QCOMPARE(img.pixel(0, 0), icon.pixel(0, 0));
    QCOMPARE(back.readProperty(QStringLiteral("text")).toString(), QStringLiteral("1.5"));
    QCOMPARE(back.readProperty(QStringLiteral("Header"), true).toBool(), false);
}

void TestPropertyBag::loadRejectsBrokenLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no equals") << "Text";
    QTest::newRow("no type") << "Text=abc";
    QTest::newRow("unknown type") << "Text=thing:1";
    QTest::newRow("bad int") << "Max=int:12x";
    QTest::newRow("bad Boolean") << "Header=bool:yes";
    QTest::newRow("empty name") << "=int:1";
}

void TestPropertyBag::loadRejectsBrokenLines()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(VbError, PropertyBag::load(QStringLiteral("Good=int:1\n") + text + "\n"));
}

QTEST_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
