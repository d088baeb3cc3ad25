// The clipboard service: a bitmap put on the clipboard comes back unchanged,
// clearing leaves no picture, other formats are refused.

#include "platform/clipboard.h"
#include "platform/vberror.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

using namespace platform;

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void bitmapRoundTrip();
    void clearRemovesEverything();
    void refusals_data();
    void refusals();
};

void TestClipboard::bitmapRoundTrip()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    QImage pic(31, 17, QImage::Format_RGB32);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            pic.setPixel(x, y, qRgb(x * 8, y * 15, (x + y) % 2 ? 255 : 0));
    clipboardClear();
    clipboardSetData(pic, vbCFBitmap);
    const QImage back = clipboardImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back, pic);
    // Nothing else is on the clipboard with the picture.
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasText());
}

void TestClipboard::clearRemovesEverything()
{
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    clipboardSetData(pic);
    clipboardClear();
    QVERIFY(clipboardImage().isNull());
}

void TestClipboard::refusals_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("number");
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(Qt::red);
    QTest::newRow("text format") << pic << 1 << int(vberr::InvalidProcedureCall);
    QTest::newRow("empty picture") << QImage() << int(vbCFBitmap) << int(vberr::CantOpenClipboard);
}

void TestClipboard::refusals()
{
    QFETCH(QImage, picture);
    QFETCH(int, format);
    QFETCH(int, number);
    try {
        clipboardSetData(picture, format);
        QFAIL("no failure");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), number);
    }
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
