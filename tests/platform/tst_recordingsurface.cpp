#include "platform/recordingsurface.h"

#include <QtTest>

using platform::DrawCall;
using platform::RecordingSurface;

class TstRecordingSurface : public QObject
{
    Q_OBJECT
private slots:
    void recordsCallsInOrderWithPen();
    void currentPointFollowsDrawing();
    void textMetricsFollowScale_data();
    void textMetricsFollowScale();
};

void TstRecordingSurface::recordsCallsInOrderWithPen()
{
    RecordingSurface s(100, 50);
    s.setDrawWidth(3);
    s.setDrawStyle(platform::drawStyleDot);
    s.line(1.5f, 2.5f, 3.5f, -4.5f, platform::rgb(255, 0, 0));
    s.setDrawWidth(1);
    s.circle(7, 8, 0.25f);
    s.cls();

    const auto &c = s.calls();
    QCOMPARE(c.size(), std::size_t(6));
    QCOMPARE(c[0].kind, DrawCall::Kind::DrawWidth);
    QCOMPARE(c[1].kind, DrawCall::Kind::DrawStyle);
    QCOMPARE(c[2].kind, DrawCall::Kind::Line);
    QCOMPARE(c[2].x1, 1.5f);
    QCOMPARE(c[2].y2, -4.5f);
    QCOMPARE(c[2].color, platform::rgb(255, 0, 0));
    QCOMPARE(c[2].penWidth, 3);
    QCOMPARE(c[2].penStyle, int(platform::drawStyleDot));
    QCOMPARE(c[4].kind, DrawCall::Kind::Circle);
    QCOMPARE(c[4].penWidth, 1);
    QCOMPARE(c[4].r, 0.25f);
    QCOMPARE(s.count(DrawCall::Kind::Cls), 1);
    QCOMPARE(s.lines().size(), std::size_t(1));
}

void TstRecordingSurface::currentPointFollowsDrawing()
{
    RecordingSurface s(100, 50);
    // A fresh box measures in twips.
    QCOMPARE(s.scaleWidth(), 1500.0f);
    QCOMPARE(s.scaleHeight(), 750.0f);
    s.setScaleLeft(-2);
    s.setScaleTop(10);
    s.line(1, 2, 3, 4);
    QCOMPARE(s.currentX(), 3.0f);
    QCOMPARE(s.currentY(), 4.0f);
    s.cls();
    QCOMPARE(s.currentX(), -2.0f);
    QCOMPARE(s.currentY(), 10.0f);
    s.setCurrentX(5);
    s.print(QStringLiteral("ab"));
    const DrawCall p = s.callsOf(DrawCall::Kind::Print).front();
    QCOMPARE(p.x1, 5.0f);
    QCOMPARE(p.text, QStringLiteral("ab"));
    // The next line starts at the left edge, one line lower.
    QCOMPARE(s.currentX(), -2.0f);
    QCOMPARE(s.currentY(), 10.0f + s.textHeight(QStringLiteral("ab")));
}

void TstRecordingSurface::textMetricsFollowScale_data()
{
    QTest::addColumn<float>("scaleWidth");
    QTest::addColumn<float>("scaleHeight");
    QTest::addColumn<double>("width");  // of "abcd" at 20 px
    QTest::addColumn<double>("height"); // of one line at 20 px
    // 200 x 100 pixels; cell 12 x 24 pixels.
    QTest::newRow("pixels") << 200.0f << 100.0f << 48.0 << 24.0;
    QTest::newRow("y up") << 2.0f << -1.0f << 0.48 << -0.24;
    QTest::newRow("twips") << 3000.0f << 1500.0f << 720.0 << 360.0;
}

void TstRecordingSurface::textMetricsFollowScale()
{
    QFETCH(float, scaleWidth);
    QFETCH(float, scaleHeight);
    QFETCH(double, width);
    QFETCH(double, height);
    RecordingSurface s(200, 100);
    QFont f;
    f.setPixelSize(20);
    s.setFont(f);
    s.setScaleWidth(scaleWidth);
    s.setScaleHeight(scaleHeight);
    QVERIFY(qAbs(s.textWidth(QStringLiteral("abcd")) - width) < 1e-4 * qAbs(width));
    QVERIFY(qAbs(s.textHeight(QStringLiteral("x")) - height) < 1e-4 * qAbs(height));
}

QTEST_MAIN(TstRecordingSurface)
#include "tst_recordingsurface.moc"
