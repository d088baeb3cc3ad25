#include "platform/picturebox.h"
#include "platform/shell.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace
{

constexpr OleColor red = 0x0000FF;
constexpr OleColor blue = 0xFF0000;

QRgb px(const ImageSurface &s, int x, int y)
{
    return s.image().pixel(x, y) & 0xFFFFFF;
}

// A 100 x 50 surface with the user scale x 0..10, y 0..5 growing upward.
void upwardScale(ImageSurface &s)
{
    s.setScaleTop(5);
    s.setScaleLeft(0);
    s.setScaleHeight(-5);
    s.setScaleWidth(10);
}

int countColour(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT
private slots:
    void userScaleMapsCorners_data();
    void userScaleMapsCorners();
    void twipsScaleFollowsSize();
    void mergeNotPenCombinesWithPixel();
    void circleRadiusAlongX();
    void polylineMatchesSeparateLines_data();
    void polylineMatchesSeparateLines();
    void denseDataMatchesWholePolyline_data();
    void denseDataMatchesWholePolyline();
    void dotsOverPendingLineKeepOrderIndependence();
    void hugeAndInvalidCoordinatesAreHarmless();
    void clsAndPersistence();
    void printMovesToNextLine();
    void shellRecordsAndReportsFailure();
    void fileExistsOnlyForFiles();
};

void TestPictureBox::userScaleMapsCorners_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("px");
    QTest::addColumn<double>("py");
    QTest::newRow("top left") << 0.0 << 5.0 << 0.0 << 0.0;
    QTest::newRow("bottom right") << 10.0 << 0.0 << 100.0 << 50.0;
    QTest::newRow("middle") << 5.0 << 2.5 << 50.0 << 25.0;
    QTest::newRow("outside") << -10.0 << 10.0 << -100.0 << -50.0;
}

void TestPictureBox::userScaleMapsCorners()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, px);
    QFETCH(double, py);
    ImageSurface s(100, 50);
    upwardScale(s);
    QCOMPARE(s.pxFromX(x), px);
    QCOMPARE(s.pxFromY(y), py);
    QCOMPARE(s.xFromPx(px), x);
    QCOMPARE(s.yFromPx(py), y);
}

void TestPictureBox::twipsScaleFollowsSize()
{
    ImageSurface s(100, 50);
    QCOMPARE(s.scaleWidth(), 1500.0f);
    s.resizeImage(200, 60);
    QCOMPARE(s.scaleWidth(), 3000.0f);
    QCOMPARE(s.scaleHeight(), 900.0f);
    upwardScale(s);
    s.resizeImage(300, 60);
    QCOMPARE(s.scaleWidth(), 10.0f); // a user scale stays when the size changes
}

void TestPictureBox::mergeNotPenCombinesWithPixel()
{
    ImageSurface s(20, 20);
    s.setBackColor(rgb(0x10, 0x80, 0xF0));
    s.cls();
    s.setDrawMode(drawModeMergeNotPen);
    s.line(0, 150, 300, 150, rgb(0x01, 0x02, 0x04)); // y = 10 px
    // pen OR NOT pixel, channel by channel
    QCOMPARE(px(s, 5, 10), qRgb(0x01 | 0xEF, 0x02 | 0x7F, 0x04 | 0x0F) & 0xFFFFFF);
    QCOMPARE(px(s, 5, 11), qRgb(0x10, 0x80, 0xF0) & 0xFFFFFF);
}

void TestPictureBox::circleRadiusAlongX()
{
    // x: 10 units over 100 px, y: 5 units over 100 px; a radius of 1 unit is
    // 10 px in both directions because it is measured along x.
    ImageSurface s(100, 100);
    upwardScale(s);
    s.setForeColor(red);
    s.setFillColor(red);
    s.setFillStyle(fillStyleSolid);
    s.circle(5, 2.5, 1);
    const QImage img = s.image();
    QCOMPARE(img.pixel(50, 50) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(img.pixel(50, 41) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(img.pixel(59, 50) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(img.pixel(50, 37) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(img.pixel(63, 50) & 0xFFFFFF, 0xFFFFFFu);
    const int area = countColour(img, qRgb(255, 0, 0));
    QVERIFY2(area > 280 && area < 350, qPrintable(QString::number(area)));
}

void TestPictureBox::polylineMatchesSeparateLines_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("width 1") << 1;
    QTest::newRow("width 3") << 3;
}

// Solid lines gathered into one polyline touch the same pixels as the lines
// drawn one by one.
void TestPictureBox::polylineMatchesSeparateLines()
{
    QFETCH(int, width);
    const QPoint pts[] = {{3, 40}, {20, 5}, {35, 30}, {60, 12}, {90, 45}};
    ImageSurface s(100, 50);
    s.setScaleLeft(0);
    s.setScaleTop(0);
    s.setScaleWidth(100);
    s.setScaleHeight(50);
    s.setDrawWidth(width);
    for (int i = 1; i < 5; ++i)
        s.line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y(), red);
    const QImage gathered = s.image();

    QImage one(100, 50, QImage::Format_RGB32);
    one.fill(Qt::white);
    QPainter p(&one);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(width);
    if (width > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    } else {
        pen.setCapStyle(Qt::FlatCap);
    }
    p.setPen(pen);
    for (int i = 1; i < 5; ++i)
        p.drawLine(pts[i - 1], pts[i]);
    p.end();
    int differ = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            differ += gathered.pixel(x, y) != one.pixel(x, y);
    // Joins may differ by a pixel or two at the four vertices.
    QVERIFY2(differ <= 4 * width, qPrintable(QString::number(differ)));
    QVERIFY(countColour(gathered, qRgb(255, 0, 0)) > 100);
}

void TestPictureBox::denseDataMatchesWholePolyline_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("width 1") << 1;
    QTest::newRow("width 2") << 2;
    QTest::newRow("width 3") << 3;
}

// Many points per pixel column (drawn as a few vertices per column) touch
// the same pixels as the whole polyline.
void TestPictureBox::denseDataMatchesWholePolyline()
{
    QFETCH(int, width);
    std::vector<QPointF> pts;
    for (int i = 0; i < 2000; ++i)
        pts.emplace_back(5 + i * 0.045, 40 + 25 * std::sin(i * 0.01) + 4 * std::sin(i * 1.3));
    ImageSurface s(100, 80);
    s.setScaleLeft(0);
    s.setScaleTop(0);
    s.setScaleWidth(100);
    s.setScaleHeight(80);
    s.setDrawWidth(width);
    for (std::size_t i = 1; i < pts.size(); ++i)
        s.line(Single(pts[i - 1].x()), Single(pts[i - 1].y()), Single(pts[i].x()), Single(pts[i].y()), red);
    const QImage gathered = s.image();

    QImage one(100, 80, QImage::Format_RGB32);
    one.fill(Qt::white);
    QPainter p(&one);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(width);
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::BevelJoin);
    p.setPen(pen);
    QPolygon all;
    for (const QPointF &q : pts) {
        const QPoint r(qRound(q.x()), qRound(q.y()));
        if (all.isEmpty() || all.last() != r)
            all << r;
    }
    QVERIFY(all.size() > 1000);
    p.drawPolyline(all);
    p.end();
    int differ = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            differ += gathered.pixel(x, y) != one.pixel(x, y);
    const int drawn = countColour(one, qRgb(255, 0, 0));
    QVERIFY(drawn > 500);
    QVERIFY2(differ * 200 <= drawn, qPrintable(QStringLiteral("%1 of %2").arg(differ).arg(drawn)));
}

void TestPictureBox::dotsOverPendingLineKeepOrderIndependence()
{
    // A dot in another colour drawn between two lines must end up under the
    // second line and over the first.
    ImageSurface s(40, 40);
    s.setScaleLeft(0);
    s.setScaleTop(0);
    s.setScaleWidth(40);
    s.setScaleHeight(40);
    s.line(0, 20, 20, 20, red);
    s.setForeColor(blue);
    s.setFillColor(blue);
    s.setFillStyle(fillStyleSolid);
    s.circle(20, 20, 4);
    s.line(20, 20, 20, 39, red);
    const QImage img = s.image();
    QCOMPARE(img.pixel(18, 20) & 0xFFFFFF, 0x0000FFu); // dot over the first line
    QCOMPARE(img.pixel(20, 23) & 0xFFFFFF, 0xFF0000u); // second line over the dot
}

void TestPictureBox::hugeAndInvalidCoordinatesAreHarmless()
{
    ImageSurface s(50, 50);
    upwardScale(s);
    s.setFillStyle(fillStyleSolid);
    s.line(-1e30f, -1e30f, 1e30f, 1e30f, red);
    s.line(std::numeric_limits<float>::quiet_NaN(), 0, 1, 1, red);
    s.line(0, std::numeric_limits<float>::infinity(), 1, 1, red);
    s.circle(5, 2.5, 1e30f);
    s.circle(1e30f, 0, 1);
    s.rectangle(-1e30f, -1e30f, 1e30f, 1e30f, red);
    s.print(QStringLiteral("x"));
    QVERIFY(!s.image().isNull());
    // a long line far beyond the picture is clipped to it, not lost
    s.cls();
    s.line(-1e6f, 2.5f, 1e6f, 2.5f, red);
    QCOMPARE(countColour(s.image(), qRgb(255, 0, 0)), 50);
}

void TestPictureBox::clsAndPersistence()
{
    PictureBox box;
    box.resize(60, 40);
    box.setBackColor(rgb(0, 255, 0));
    box.cls();
    box.line(0, 0, 300, 300, red);
    box.resize(80, 50); // the drawing is kept, the new area takes the back colour
    QCOMPARE(box.widthPx(), 80);
    QCOMPARE(box.image().pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(box.image().pixel(75, 45) & 0xFFFFFF, 0x00FF00u);
    box.setCurrentX(100);
    box.cls();
    QCOMPARE(countColour(box.image(), qRgb(0, 255, 0)), 80 * 50);
    QCOMPARE(box.currentX(), box.scaleLeft());
    box.setBorderStyle(1);
    QCOMPARE(box.widthPx(), 78);
}

void TestPictureBox::printMovesToNextLine()
{
    ImageSurface s(200, 100);
    s.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    s.setCurrentX(300);
    s.setCurrentY(150);
    s.print(QStringLiteral("Hello"));
    QCOMPARE(s.currentX(), 0.0f);
    QVERIFY(s.currentY() > 150.0f);
    QVERIFY(s.textWidth(QStringLiteral("Hello")) > 0);
    QVERIFY(countColour(s.image(), qRgb(255, 255, 255)) < 200 * 100);
}

void TestPictureBox::shellRecordsAndReportsFailure()
{
    RecordingShell rec;
    rec.result = false;
    QCOMPARE(shell(QStringLiteral("explorer http://example.org"), vbNormalFocus), false);
    QCOMPARE(rec.calls.size(), 1);
    QCOMPARE(rec.calls[0].commandLine, QStringLiteral("explorer http://example.org"));
    QCOMPARE(rec.calls[0].windowStyle, int(vbNormalFocus));
}

void TestPictureBox::fileExistsOnlyForFiles()
{
    QTemporaryDir dir;
    QVERIFY(!fileExists(dir.path()));
    QVERIFY(!fileExists(dir.filePath(QStringLiteral("none"))));
    QFile f(dir.filePath(QStringLiteral("a.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(fileExists(f.fileName()));
}

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
