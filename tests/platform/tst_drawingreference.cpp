// The image surface's drawing compared pixel for pixel with reference images
// made by an earlier, plainer version of the surface (one QPainter call per
// polyline and per dot, nothing deferred). Each scene mixes the calls the
// chart makes: pens of widths 1 to 5 in the three styles, dots with and
// without fill, both draw modes, long curves with many points per pixel
// column, and drawing that runs past the picture's edges.
//
// CURVEXA_WRITE_DRAWING_REFERENCE=<folder> writes the scenes' images there
// instead of comparing them.

#include "platform/picturebox.h"

#include <QDir>
#include <QtTest>
#include <cmath>
#include <functional>

using namespace platform;

namespace
{

// A small palette of distinct colours (BGR like the surface's colours).
constexpr OleColor palette[] = {rgb(0, 0, 0),     rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
                                rgb(128, 0, 0),   rgb(128, 0, 128), rgb(128, 128, 0), rgb(255, 0, 0),
                                rgb(0, 255, 0),   rgb(0, 0, 255),   rgb(255, 0, 255), rgb(0, 255, 255)};
constexpr int paletteSize = int(sizeof palette / sizeof palette[0]);

// User scale x 0..10, y 0..10 growing upward.
void upward(ImageSurface &s, double left = 0, double bottom = 0, double width = 10, double height = 10)
{
    s.setScaleTop(Single(bottom + height));
    s.setScaleLeft(Single(left));
    s.setScaleHeight(Single(-height));
    s.setScaleWidth(Single(width));
    s.cls();
}

void pen(ImageSurface &s, OleColor c, int width, int style, bool filledDots = true)
{
    s.setForeColor(c);
    s.setFillColor(c);
    s.setFillStyle(filledDots ? fillStyleSolid : fillStyleTransparent);
    s.setDrawWidth(width);
    s.setDrawStyle(style);
}

// A curve drawn the way the chart draws one: a segment to each point, then
// the dot of that point.
void curve(ImageSurface &s, const std::vector<QPointF> &pts, OleColor c, bool lines, bool dots, Single radius)
{
    if (dots && !pts.empty())
        s.circle(Single(pts[0].x()), Single(pts[0].y()), radius);
    for (std::size_t j = 1; j < pts.size(); ++j) {
        if (lines)
            s.line(Single(pts[j - 1].x()), Single(pts[j - 1].y()), Single(pts[j].x()), Single(pts[j].y()), c);
        if (dots)
            s.circle(Single(pts[j].x()), Single(pts[j].y()), radius);
    }
}

std::vector<QPointF> wave(int n, double x0, double x1, double y0, double amp, double freq, double noise)
{
    std::vector<QPointF> v;
    v.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double x = x0 + (x1 - x0) * i / std::max(1, n - 1);
        v.emplace_back(x, y0 + amp * std::sin(x * freq) + noise * std::sin(i * 0.7));
    }
    return v;
}

// Every width and style on short zigzags.
void scenePens(ImageSurface &s)
{
    upward(s);
    int k = 0;
    for (int width = 1; width <= 5; ++width) {
        for (int style = 0; style <= 2; ++style, ++k) {
            pen(s, palette[k % paletteSize], width, style);
            const double y = 9.5 - k * 0.6;
            const double x = 0.3 + (k % 3) * 0.1;
            s.line(Single(x), Single(y), Single(x + 2), Single(y - 0.4));
            s.line(Single(x + 2), Single(y - 0.4), Single(x + 4), Single(y));
            s.line(Single(x + 4), Single(y), Single(x + 4.05), Single(y - 0.5));
            s.line(Single(x + 4.05), Single(y - 0.5), Single(x + 9.5), Single(y - 0.2));
            // a lone point, and a line that is only one pixel long
            s.line(Single(x + 0.1), Single(y - 0.3), Single(x + 0.1), Single(y - 0.3));
            s.line(Single(x + 6), Single(y - 0.35), Single(x + 6.05), Single(y - 0.35));
        }
    }
    pen(s, palette[3], 2, 5); // style 5 draws nothing
    s.line(0, 0, 10, 10);
    s.setDrawStyle(drawStyleSolid);
    s.setDrawWidth(1);
    s.rectangle(Single(0.5), Single(0.5), Single(9.5), Single(1.0), palette[4]);
    s.setDrawWidth(3);
    s.setDrawStyle(drawStyleDash);
    s.rectangle(Single(1), Single(1.2), Single(6), Single(2.2), palette[5]);
}

// Dots: sizes, filled and hollow, fill colour unlike the outline, dots drawn
// again in the same place after something else, and dots between the lines
// of a polyline in another colour.
void sceneDots(ImageSurface &s)
{
    upward(s);
    int k = 0;
    for (int width = 1; width <= 4; ++width) {
        for (double r : {0.0, 0.04, 0.1, 0.17, 0.33, 0.61}) {
            const OleColor c = palette[k % paletteSize];
            pen(s, c, width, k % 3, k % 4 != 3);
            if (k % 5 == 2)
                s.setFillColor(palette[(k + 5) % paletteSize]);
            const double x = 0.6 + (k % 6) * 1.6, y = 9.2 - width * 1.1;
            s.circle(Single(x), Single(y), Single(r));
            s.circle(Single(x + 0.15), Single(y - 0.1), Single(r));
            s.circle(Single(x + 0.15), Single(y - 0.1), Single(r));
            ++k;
        }
    }
    // Same centre again after another colour was drawn over it.
    pen(s, palette[7], 1, 0);
    s.circle(2, 2, Single(0.3));
    pen(s, palette[8], 1, 0);
    s.circle(Single(2.2), 2, Single(0.3));
    pen(s, palette[7], 1, 0);
    s.circle(2, 2, Single(0.3));
    // Dots of another colour between the pieces of a polyline.
    pen(s, palette[9], 2, 0);
    s.line(4, 1, 6, 3, palette[9]);
    pen(s, palette[10], 1, 0);
    s.circle(6, 3, Single(0.25));
    pen(s, palette[9], 2, 0);
    s.line(6, 3, 8, 1, palette[9]);
    s.circle(8, 1, Single(0.2));
    // Dots of the polyline's own colour, one of them with another fill.
    pen(s, palette[11], 3, 1);
    s.line(1, Single(0.5), 9, Single(0.8), palette[11]);
    s.circle(3, Single(0.6), Single(0.15));
    s.setFillColor(palette[2]);
    s.circle(5, Single(0.7), Single(0.15));
    s.line(9, Single(0.8), Single(9.5), Single(3.5), palette[11]);
    // A dot too large for a stamp.
    pen(s, palette[6], 2, 0);
    s.circle(Single(7.5), Single(4.5), Single(1.3));
    s.setFillStyle(fillStyleTransparent);
    s.circle(Single(7.5), Single(4.5), Single(1.8));
}

// Draw mode 14 over lines, dots and a rectangle of the copy pen.
void sceneMergeNotPen(ImageSurface &s)
{
    s.setBackColor(rgb(0x30, 0x90, 0xE0));
    upward(s);
    pen(s, palette[1], 3, 0);
    curve(s, wave(60, 0.5, 9.5, 6, 2, 1.3, 0.2), palette[1], true, true, Single(0.12));
    s.setDrawMode(drawModeMergeNotPen);
    for (int width = 1; width <= 4; ++width) {
        pen(s, palette[(width * 3) % paletteSize], width, (width - 1) % 3);
        curve(s, wave(80, 0.2, 9.8, 2 + width * 1.5, 1.5, 2.1, 0.3), palette[(width * 3) % paletteSize], true,
              width % 2 == 1, Single(0.06 * width));
    }
    s.setDrawWidth(2);
    s.setDrawStyle(drawStyleSolid);
    s.rectangle(1, 1, 5, 8, palette[8]);
    pen(s, palette[10], 1, 0);
    s.circle(5, 5, Single(0.5));
    s.circle(5, 5, Single(0.5)); // twice: the merge applies twice
    s.setDrawMode(drawModeCopyPen);
    pen(s, palette[0], 1, 0);
    s.line(0, 5, 10, 5);
}

// Ten long curves with many points per pixel column, as a full chart.
void sceneDense(ImageSurface &s)
{
    upward(s, 0, -2, 330, 48);
    for (int i = 1; i <= 10; ++i) {
        std::vector<QPointF> v;
        v.reserve(20000);
        for (int j = 1; j <= 20000; ++j) {
            const double x = j * 0.0165;
            v.emplace_back(x, std::sin(x * (0.5 + 0.1 * i)) * 2 + i * 4.4 + std::sin(j * 0.7) * 0.3);
        }
        const OleColor c = palette[(i * 5) % paletteSize];
        pen(s, c, 1 + (i - 1) % 3, (i - 1) % 3);
        curve(s, v, c, i != 4, i % 3 != 0, Single(0.003 * (1 + (i - 1) % 3) * 330));
        pen(s, c, 1, 0);
        s.setFillStyle(fillStyleTransparent);
    }
}

// The same with every pen solid and one pixel wide.
void sceneDenseSolid(ImageSurface &s)
{
    upward(s, 0, -2, 330, 48);
    for (int i = 1; i <= 10; ++i) {
        const OleColor c = palette[(i * 7) % paletteSize];
        pen(s, c, 1, 0);
        curve(s, wave(15000, 0.01, 327, i * 4.4, 2, 0.5 + 0.1 * i, 0.3), c, true, true, Single(0.003 * 330));
    }
}

// A zoomed-in view: curves run far past every edge of the picture, some
// pieces lie wholly outside, dots sit across the edges.
void sceneClipped(ImageSurface &s)
{
    upward(s, 2, 2, 6, 6);
    for (int i = 0; i < 8; ++i) {
        const OleColor c = palette[(i * 5 + 1) % paletteSize];
        const int width = 1 + i % 5;
        pen(s, c, width, i % 3);
        curve(s, wave(400, -40, 50, 5 + (i - 4) * 0.9, 3 + i, 0.9 + i * 0.2, 0.1), c, true, i % 2 == 0,
              Single(0.05 * width));
    }
    pen(s, palette[3], 3, 1);
    s.line(-1e5f, 3, 1e5f, 3);
    s.line(5, -1e7f, 5, 1e7f);
    s.line(-3000, -2000, 4000, 6000);
    pen(s, palette[9], 2, 2);
    s.line(-10, 9, 20, 9);
    s.line(20, 9, -10, Single(8.5));
    s.circle(2, 2, Single(0.4));
    s.circle(8, 8, Single(0.4));
    s.circle(Single(8.2), 5, Single(0.4));
}

// Long wide-pen polylines (drawn on worker threads) followed by drawing of
// every kind that must land over them, in order: dots, the pen-with-pixel
// mode, a rectangle, a dot too large for a stamp.
void sceneQueued(ImageSurface &s)
{
    upward(s);
    const auto a = wave(900, 0.2, 9.8, 7, 1.5, 2.3, 0.15);
    const auto b = wave(900, 0.2, 9.8, 4, 1.5, 1.7, 0.15);
    pen(s, palette[2], 3, 1);
    curve(s, a, palette[2], true, false, 0);
    pen(s, palette[7], 1, 0);
    curve(s, wave(40, 0.5, 9.5, 7, 1.5, 2.3, 0), palette[7], false, true, Single(0.12));
    s.setDrawMode(drawModeMergeNotPen);
    pen(s, palette[9], 2, 0);
    s.line(0, 6, 10, 8);
    s.circle(5, 7, Single(0.3));
    s.setDrawMode(drawModeCopyPen);
    pen(s, palette[4], 4, 0);
    curve(s, b, palette[4], true, true, Single(0.05));
    s.setDrawWidth(1);
    s.rectangle(2, 2, 8, 5, palette[0]);
    pen(s, palette[10], 2, 2);
    curve(s, wave(900, 0.2, 9.8, 2.5, 1.2, 3.1, 0.1), palette[10], true, false, 0);
    pen(s, palette[11], 1, 0);
    s.circle(Single(6.5), 3, Single(2.2));
    pen(s, palette[5], 5, 0);
    curve(s, wave(900, 0.2, 9.8, 9, 0.5, 4.1, 0.1), palette[5], true, false, 0);
}

// A picture cleared while a wide polyline is still being drawn, then drawn on.
void sceneCleared(ImageSurface &s)
{
    upward(s);
    pen(s, palette[3], 3, 0);
    curve(s, wave(900, 0.2, 9.8, 5, 3, 2.3, 0.2), palette[3], true, true, Single(0.1));
    pen(s, palette[6], 1, 0);
    s.circle(2, 2, Single(0.4));
    pen(s, palette[8], 2, 1);
    curve(s, wave(900, 0.2, 9.8, 5, 2, 1.1, 0.2), palette[8], true, false, 0);
    s.cls();
    pen(s, palette[1], 2, 0);
    curve(s, wave(30, 1, 9, 3, 1, 1.5, 0), palette[1], true, true, Single(0.08));
}

struct Scene {
    const char *name;
    int width;
    int height;
    std::function<void(ImageSurface &)> draw;
};

const std::vector<Scene> &scenes()
{
    static const std::vector<Scene> all{
        {"pens", 240, 200, scenePens},
        {"dots", 240, 200, sceneDots},
        {"merge-not-pen", 200, 160, sceneMergeNotPen},
        {"dense", 420, 260, sceneDense},
        {"dense-solid", 420, 260, sceneDenseSolid},
        {"clipped", 220, 180, sceneClipped},
        {"queued", 240, 180, sceneQueued},
        {"cleared", 160, 120, sceneCleared},
    };
    return all;
}

QImage render(const Scene &sc)
{
    ImageSurface s(sc.width, sc.height);
    sc.draw(s);
    return s.image().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestDrawingReference : public QObject
{
    Q_OBJECT
private slots:
    void sceneMatchesReference_data();
    void sceneMatchesReference();
};

void TestDrawingReference::sceneMatchesReference_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < scenes().size(); ++i)
        QTest::newRow(scenes()[i].name) << int(i);
}

void TestDrawingReference::sceneMatchesReference()
{
    QFETCH(int, index);
    const Scene &sc = scenes()[std::size_t(index)];
    const QImage got = render(sc);
    const QString name = QString::fromLatin1(sc.name) + QStringLiteral(".png");
    const QString out = qEnvironmentVariable("CURVEXA_WRITE_DRAWING_REFERENCE");
    if (!out.isEmpty()) {
        QVERIFY(QDir().mkpath(out));
        QVERIFY(got.save(QDir(out).filePath(name)));
        QSKIP("reference image written");
    }
    const QImage want =
        QImage(QStringLiteral(CURVEXA_FIXTURES_DIR "/drawing/") + name).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!want.isNull(), qPrintable(name));
    QCOMPARE(got.size(), want.size());
    int differ = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y)) {
                if (differ++ == 0)
                    first = QPoint(x, y);
            }
    QVERIFY2(differ == 0, qPrintable(QStringLiteral("%1 pixels differ, the first at (%2, %3)")
                                         .arg(differ)
                                         .arg(first.x())
                                         .arg(first.y())));
    // The scene really drew something.
    QSet<QRgb> colours;
    for (int y = 0; y < want.height(); y += 3)
        for (int x = 0; x < want.width(); x += 3)
            colours.insert(want.pixel(x, y));
    QVERIFY(colours.size() >= 2);
}

QTEST_MAIN(TestDrawingReference)
#include "tst_drawingreference.moc"
