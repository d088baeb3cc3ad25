// The chart's view window, extents, legend placement and drawing pass,
// checked on a recording surface.

#include "chart/ctrgraficas.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/recordingsurface.h"
#include "textbox/textextend.h"

#include <QLabel>
#include <QtTest>
#include <algorithm>
#include <cmath>

using platform::DrawCall;
using platform::Single;
using Kind = platform::DrawCall::Kind;

namespace
{

void ponerCurva(int i, std::initializer_list<Punto> pts, int tipo = ajusteSegmentos, int verpuntos = 0,
                int grado = 0, int grosor = 1)
{
    Curva &c = curvas(i);
    c.activa = platform::vbTrue;
    c.npuntos = platform::Integer(pts.size());
    c.puntos.redim(int(pts.size()));
    int j = 1;
    for (const Punto &p : pts)
        c.puntos(j++) = p;
    c.tipoajuste = platform::Integer(tipo);
    c.verpuntos = platform::Integer(verpuntos);
    c.grado = platform::Integer(grado);
    c.grosor = platform::Integer(grosor);
    c.tipolinea = lineaContinua;
    c.color = 4;
    c.posicionx = -1;
    c.posiciony = -1;
}

// A chart of 800 x 560 px drawing on a recording surface of its plot's size.
struct Fixture {
    Fixture()
    {
        curvas.reset();
        c.UserControl_InitProperties();
        c.resize(800, 560);
        c.UserControl_Resize();
        rec.resize(c.plotBox()->widthPx(), c.plotBox()->heightPx());
        c.setPlotSurface(&rec);
    }
    platform::ScriptedMsgBox boxes;
    ctrgraficas c;
    platform::RecordingSurface rec;
};

const QString chooseAnother = QStringLiteral("\rChoose another interval");

} // namespace

class TestDibuja : public QObject
{
    Q_OBJECT
private slots:
    void fijarescala_data();
    void fijarescala();
    void calcularextremos_data();
    void calcularextremos();
    void homeViewWidening();
    void homeViewAfterClearTakesUnionWithUnitSquare();
    void noActiveCurveKeepsViews();
    void segmentsAndDotsInOrder();
    void dotRadius_data();
    void dotRadius();
    void extensionsAfterZoomOut_data();
    void extensionsAfterZoomOut();
    void degreeCheck_data();
    void degreeCheck();
    void legendPlacement_data();
    void legendPlacement();
    void legendsOfCurvesBeyondNumGrafAreLeftAlone();
    void extendedViewDrawsOnTheRealPlot();
    void resizeDrawsAgainWithoutRepeatingTheMessage();
    void resizeWithZeroSpanViewDrawsNothing();
    void extensionsLeaveTheCurveOutward_data();
    void extensionsLeaveTheCurveOutward();
    void nothingNonFiniteReachesTheSurface_data();
    void nothingNonFiniteReachesTheSurface();
    void refusedHomeViewChangesNothing_data();
    void refusedHomeViewChangesNothing();
};

void TestDibuja::fijarescala_data()
{
    QTest::addColumn<Punto>("p1");
    QTest::addColumn<Punto>("p2");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("equal corners") << Punto{1, 1} << Punto{1, 1} << "Y axe interval is zero.";
    QTest::newRow("x zero") << Punto{1, 0} << Punto{1, 2} << "X axe interval is zero.";
    QTest::newRow("y 1e8 exactly") << Punto{0, 0} << Punto{1, 1e8} << "";
    QTest::newRow("x 1e8 exactly") << Punto{-5e7, 0} << Punto{5e7, 1} << "";
    QTest::newRow("y beyond 1e8") << Punto{0, 0} << Punto{1, 100000000.00001}
                                  << "Y axe interval tends to infinite";
    QTest::newRow("x beyond 1e8") << Punto{0, 0} << Punto{1.000001e8, 1}
                                  << "X axe interval tends to infinite.";
    QTest::newRow("both beyond: y first")
        << Punto{0, 0} << Punto{2e8, 2e8} << "Y axe interval tends to infinite";
    QTest::newRow("reversed corners pass") << Punto{3, 4} << Punto{1, 2} << "";
}

void TestDibuja::fijarescala()
{
    QFETCH(Punto, p1);
    QFETCH(Punto, p2);
    QFETCH(QString, message);
    Fixture f;
    const QString before = f.c.limitBox(3)->text();
    f.rec.clearRecord();
    const bool ok = f.c.fijarescala(p1, p2);
    QCOMPARE(ok, message.isEmpty());
    if (!ok) {
        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.boxes.shown[0].prompt, message + chooseAnother);
        QCOMPARE(f.boxes.shown[0].style, 16);
        QCOMPARE(f.boxes.shown[0].title, QStringLiteral("Warning"));
        QVERIFY(f.rec.calls().empty()); // no scale, no clearing
        QCOMPARE(f.c.limitBox(3)->text(), before);
        return;
    }
    QVERIFY(f.boxes.shown.isEmpty());
    QCOMPARE(f.c.limitBox(3)->text(), platform::formatFixed4(p1.x));
    QCOMPARE(f.c.limitBox(1)->text(), platform::formatFixed4(p2.y));
    const auto &calls = f.rec.calls();
    QCOMPARE(int(calls.size()), 5);
    QCOMPARE(calls[0].kind, Kind::ScaleTop);
    QCOMPARE(calls[0].number, Single(p2.y));
    QCOMPARE(calls[1].kind, Kind::ScaleLeft);
    QCOMPARE(calls[2].kind, Kind::ScaleHeight);
    QCOMPARE(calls[2].number, Single(p1.y - p2.y));
    QCOMPARE(calls[3].kind, Kind::ScaleWidth);
    QCOMPARE(calls[3].number, Single(p2.x - p1.x));
    QCOMPARE(calls[4].kind, Kind::Cls);
}

void TestDibuja::calcularextremos_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<Punto>("min");
    QTest::addColumn<Punto>("max");
    // points (0, 5), (2, 1), (-1, 3)
    QTest::newRow("two points") << 2 << Punto{0, 1} << Punto{2, 5};
    QTest::newRow("three points") << 3 << Punto{-1, 1} << Punto{2, 5};
    QTest::newRow("n = 0 keeps point 1") << 0 << Punto{0, 5} << Punto{0, 5};
}

void TestDibuja::calcularextremos()
{
    QFETCH(int, n);
    QFETCH(Punto, min);
    QFETCH(Punto, max);
    PuntoArray p(3);
    p(1) = {0, 5};
    p(2) = {2, 1};
    p(3) = {-1, 3};
    Punto lo{99, 99}, hi{-99, -99};
    ctrgraficas::calcularextremos(platform::Integer(n), p, lo, hi);
    QCOMPARE(lo.x, min.x);
    QCOMPARE(lo.y, min.y);
    QCOMPARE(hi.x, max.x);
    QCOMPARE(hi.y, max.y);
}

void TestDibuja::homeViewWidening()
{
    Fixture f;
    ponerCurva(1, {{0, 5}, {2, 1}});
    ponerCurva(2, {{-3, 2}, {1, 8}});
    f.c.setNumGraf(QStringLiteral("2"));
    f.c.actualiza();
    QCOMPARE(curvas(2).minimo.x, -3.0);
    QCOMPARE(curvas(1).maximo.y, 5.0);
    QCOMPARE(f.c.escalaInicialMin().x, -3.0);
    QCOMPARE(f.c.escalaInicialMin().y, 1.0);
    QCOMPARE(f.c.escalaInicialMax().x, 2.0);
    QCOMPARE(f.c.escalaInicialMax().y, 8.0);
    QCOMPARE(f.c.escalaMin().x, -3.0);
    QCOMPARE(f.c.escalaMax().y, 8.0);
    QVERIFY(f.c.legendLabel(2)); // created on demand
    QCOMPARE(f.c.legendLabel(2)->objectName(), QStringLiteral("lbleyenda_2"));
}

void TestDibuja::homeViewAfterClearTakesUnionWithUnitSquare()
{
    Fixture f;
    f.c.setNumGraf(QStringLiteral("3"));
    f.c.clear();
    QVERIFY(!curvas(1).isActive());
    ponerCurva(2, {{0.5, 0.25}, {3, 0.5}});
    ponerCurva(3, {{0.2, -2}, {0.4, 0.5}});
    f.c.actualiza();
    QCOMPARE(f.c.escalaInicialMin().x, 0.0);
    QCOMPARE(f.c.escalaInicialMin().y, -2.0);
    QCOMPARE(f.c.escalaInicialMax().x, 3.0);
    QCOMPARE(f.c.escalaInicialMax().y, 1.0);
}

void TestDibuja::noActiveCurveKeepsViews()
{
    Fixture f;
    f.c.setEscala(Punto{-2, -3}, Punto{4, 5});
    f.rec.clearRecord();
    f.c.actualiza();
    QCOMPARE(f.c.escalaMin().x, -2.0);
    QCOMPARE(f.c.escalaMax().y, 5.0);
    QCOMPARE(f.rec.count(Kind::Cls), 1);
    QCOMPARE(f.rec.count(Kind::Line), 0);
    QCOMPARE(f.rec.count(Kind::Circle), 0);
}

void TestDibuja::segmentsAndDotsInOrder()
{
    Fixture f;
    ponerCurva(1, {{0, 0}, {1, 2}, {2, 1}}, ajusteSegmentos, 1, 0, 3);
    curvas(1).tipolinea = lineaDiscontinua;
    f.c.actualiza();
    std::vector<DrawCall> drawn;
    for (const DrawCall &d : f.rec.calls())
        if (d.kind == Kind::Line || d.kind == Kind::Circle)
            drawn.push_back(d);
    QCOMPARE(int(drawn.size()), 5); // the view is the extents: no extensions
    const Kind order[] = {Kind::Circle, Kind::Line, Kind::Circle, Kind::Line, Kind::Circle};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(drawn[std::size_t(i)].kind, order[i]);
        QCOMPARE(drawn[std::size_t(i)].penWidth, 3);
        QCOMPARE(drawn[std::size_t(i)].penStyle, int(platform::drawStyleDash));
        QCOMPARE(drawn[std::size_t(i)].penFillStyle, int(platform::fillStyleSolid));
    }
    QCOMPARE(drawn[3].x1, 1.0f);
    QCOMPARE(drawn[3].y1, 2.0f);
    QCOMPARE(drawn[3].x2, 2.0f);
    QCOMPARE(drawn[3].color, qbcolor(4));
    // the pen is reset afterwards, then the style is left dotted
    QCOMPARE(f.rec.drawWidth(), 1);
    QCOMPARE(f.rec.fillStyle(), int(platform::fillStyleTransparent));
    QCOMPARE(f.rec.drawStyle(), int(platform::drawStyleDot));
    QCOMPARE(f.c.tramoInicial().x2, 1.0);
    QCOMPARE(f.c.tramoFinal().x1, 2.0);
    QCOMPARE(f.c.tramoFinal().x2, 1.0);
}

void TestDibuja::dotRadius_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("grosor");
    QTest::addColumn<float>("radius");
    QTest::newRow("10 wide, grosor 2") << 10.0 << 2 << 0.06f;
    QTest::newRow("1 wide, grosor 1") << 1.0 << 1 << 0.003f;
    QTest::newRow("1000 wide, grosor 5") << 1000.0 << 5 << 15.0f;
}

void TestDibuja::dotRadius()
{
    QFETCH(double, span);
    QFETCH(int, grosor);
    QFETCH(float, radius);
    Fixture f;
    ponerCurva(1, {{0, 0}, {span, 1}}, ajustePuntos, 1, 0, grosor);
    f.c.actualiza();
    const auto circles = f.rec.callsOf(Kind::Circle);
    QCOMPARE(int(circles.size()), 2);
    QCOMPARE(circles[0].r, radius);
    QCOMPARE(circles[1].x1, Single(span));
}

void TestDibuja::extensionsAfterZoomOut_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<Punto>>("pts");
    QTest::addColumn<QList<float>>("expected"); // x1 y1 x2 y2 per extension
    // points (1,1), (2,3), (3,2) in a view from -1 to 5
    const QList<Punto> v = {{1, 1}, {2, 3}, {3, 2}};
    QTest::newRow("points only") << int(ajustePuntos) << v << QList<float>{-1, -3, 1, 1, 3, 2, 5, 0};
    QTest::newRow("segments") << int(ajusteSegmentos) << v << QList<float>{-1, -3, 1, 1, 3, 2, 5, 0};
    // a vertical first piece has no slope: only the right extension
    QTest::newRow("vertical first piece")
        << int(ajusteSegmentos) << QList<Punto>{{1, 1}, {1, 3}, {3, 2}} << QList<float>{3, 2, 5, 1};
    // repeated last point: zero-length last piece, only the left extension
    QTest::newRow("zero-length last piece")
        << int(ajusteSegmentos) << QList<Punto>{{1, 1}, {2, 3}, {2, 3}} << QList<float>{-1, -3, 1, 1};
    // drawn right to left: the first piece goes on to the right edge, the
    // last one to the left edge
    const QList<Punto> r = {{3, 2}, {2, 3}, {1, 1}};
    QTest::newRow("points only, right to left")
        << int(ajustePuntos) << r << QList<float>{3, 2, 5, 0, -1, -3, 1, 1};
    QTest::newRow("segments, right to left")
        << int(ajusteSegmentos) << r << QList<float>{3, 2, 5, 0, -1, -3, 1, 1};
    // turning back: each end piece is continued in its own direction
    QTest::newRow("out and back") << int(ajusteSegmentos) << QList<Punto>{{1, 1}, {3, 2}, {2, 3}}
                                  << QList<float>{-1, 0, 1, 1, -1, 6, 2, 3};
}

void TestDibuja::extensionsAfterZoomOut()
{
    QFETCH(int, tipo);
    QFETCH(QList<Punto>, pts);
    QFETCH(QList<float>, expected);
    Fixture f;
    Curva &c = curvas(1);
    ponerCurva(1, {}, tipo);
    c.npuntos = platform::Integer(pts.size());
    c.puntos.redim(int(pts.size()));
    for (int j = 0; j < pts.size(); ++j)
        c.puntos(j + 1) = pts[j];
    f.c.actualiza();
    f.c.setEscala(Punto{-1, -5}, Punto{5, 5}); // zoom out
    f.rec.clearRecord();
    f.c.dibuja();
    std::vector<DrawCall> ext;
    for (const DrawCall &d : f.rec.lines())
        if (d.penStyle == platform::drawStyleDot)
            ext.push_back(d);
    QCOMPARE(int(ext.size()) * 4, int(expected.size()));
    for (std::size_t i = 0; i < ext.size(); ++i) {
        QCOMPARE(ext[i].x1, expected[int(4 * i)]);
        QCOMPARE(ext[i].y1, expected[int(4 * i + 1)]);
        QCOMPARE(ext[i].x2, expected[int(4 * i + 2)]);
        QCOMPARE(ext[i].y2, expected[int(4 * i + 3)]);
        QCOMPARE(ext[i].color, qbcolor(4));
        QCOMPARE(ext[i].penWidth, 1);
    }
}

void TestDibuja::degreeCheck_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("npuntos");
    QTest::addColumn<int>("grado");
    QTest::addColumn<bool>("refused");
    QTest::newRow("x, 5 points, degree 4") << 4 << 5 << 4 << false;
    QTest::newRow("x, 5 points, degree 5") << 4 << 5 << 5 << true;
    QTest::newRow("sine, 3 points, degree 3") << 5 << 3 << 3 << true;
    QTest::newRow("cosine, 3 points, degree 2") << 6 << 3 << 2 << false;
    QTest::newRow("Fourier, 5 points, 2") << 7 << 5 << 2 << false;
    QTest::newRow("Fourier, 5 points, 3") << 7 << 5 << 3 << true;
    QTest::newRow("Fourier, 4 points, 2") << 7 << 4 << 2 << false;
}

// The message stops this drawing pass only: curves drawn before stay, no
// later curve is drawn, nothing in the table changes and the next pass runs.
void TestDibuja::degreeCheck()
{
    QFETCH(int, tipo);
    QFETCH(int, npuntos);
    QFETCH(int, grado);
    QFETCH(bool, refused);
    Fixture f;
    ponerCurva(1, {{0, 0}, {1, 1}});
    ponerCurva(2, {{0, 0}, {1, 0.5}, {2, 0.2}, {3, 0.1}, {4, 0.7}}, tipo, 0, grado);
    curvas(2).npuntos = platform::Integer(npuntos);
    curvas(2).puntos.redimPreserve(npuntos);
    ponerCurva(3, {{0, 1}, {4, 0}});
    f.c.setNumGraf(QStringLiteral("3"));
    f.c.actualiza();
    if (refused) {
        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.boxes.shown[0].prompt, QStringLiteral("Fit step is over number of points"));
        QCOMPARE(f.boxes.shown[0].style, 16);
        // curve 1 drawn with its extension, curve 3 not
        const auto lines = f.rec.lines();
        QCOMPARE(int(lines.size()), 2);
        QCOMPARE(lines[0].x2, 1.0f);
        QCOMPARE(lines[1].x1, 1.0f);
        QCOMPARE(lines[1].x2, 4.0f);
        QVERIFY(f.c.legendLabel(1)->isVisibleTo(f.c.plotBox()));
        QVERIFY(!f.c.legendLabel(3)->isVisibleTo(f.c.plotBox()));
    } else {
        QVERIFY(f.boxes.shown.isEmpty());
        bool curve3 = false;
        for (const DrawCall &d : f.rec.lines())
            curve3 = curve3 || (d.x1 == 0.0f && d.y1 == 1.0f && d.x2 == 4.0f);
        QVERIFY(curve3);
    }
    QVERIFY(curvas(2).isActive());
    QCOMPARE(int(curvas(2).npuntos), npuntos);
    // a later pass runs normally
    f.rec.clearRecord();
    f.c.dibuja();
    QVERIFY(f.rec.count(Kind::Line) >= 1);
}

void TestDibuja::legendPlacement_data()
{
    QTest::addColumn<int>("curva");
    QTest::addColumn<double>("px");
    QTest::addColumn<double>("py");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("labelsAbove"); // top = ymin + this x label height, or NaN for py
    QTest::newRow("automatic, curve 1") << 1 << -1.0 << -1.0 << true << 0.0 << 1.0;
    QTest::newRow("automatic, curve 3") << 3 << -1.0 << -1.0 << true << 0.0 << 3.0;
    QTest::newRow("hidden") << 2 << 0.0 << 0.0 << false << 0.0 << qQNaN();
    QTest::newRow("(-1, 0) is a place") << 2 << -1.0 << 0.0 << true << -1.0 << qQNaN();
    QTest::newRow("a place") << 3 << 2.5 << 7.0 << true << 2.5 << qQNaN();
}

void TestDibuja::legendPlacement()
{
    QFETCH(int, curva);
    QFETCH(double, px);
    QFETCH(double, py);
    QFETCH(bool, visible);
    QFETCH(double, left);
    QFETCH(double, labelsAbove);
    Fixture f;
    for (int i = 1; i <= 3; ++i)
        ponerCurva(i, {{0, -2}, {10, 8}});
    curvas(curva).posicionx = px;
    curvas(curva).posiciony = py;
    curvas(curva).leyenda = QStringLiteral("curve %1").arg(curva);
    f.c.setNumGraf(QStringLiteral("3"));
    f.c.actualiza();
    QLabel *l = f.c.legendLabel(curva);
    QVERIFY(l);
    QCOMPARE(l->text(), QStringLiteral("curve %1").arg(curva));
    QCOMPARE(l->isVisibleTo(f.c.plotBox()), visible);
    QCOMPARE(l->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(curvas(curva).posicionx, px); // the record keeps its convention
    if (!visible)
        return;
    QCOMPARE(f.c.leyendaLeft(curva), left);
    const double h = f.c.alturaLeyenda(curva);
    QVERIFY(h > 0);
    if (qIsNaN(labelsAbove))
        QCOMPARE(f.c.leyendaTop(curva), py);
    else
        QCOMPARE(f.c.leyendaTop(curva), -2.0 + labelsAbove * h);
    // the label's top-left pixel is where the plot maps that point
    const double xpx = (f.c.leyendaLeft(curva) - 0) * f.rec.widthPx() / 10.0;
    QCOMPARE(l->x(), f.c.plotBox()->innerRect().left() + qRound(xpx));
}

void TestDibuja::legendsOfCurvesBeyondNumGrafAreLeftAlone()
{
    Fixture f;
    for (int i = 1; i <= 3; ++i)
        ponerCurva(i, {{0, 0}, {1, 1}});
    f.c.setNumGraf(QStringLiteral("3"));
    f.c.actualiza();
    QVERIFY(f.c.legendLabel(3)->isVisibleTo(f.c.plotBox()));
    f.c.setNumGraf(QStringLiteral("2"));
    f.c.actualiza();
    QVERIFY(f.c.legendLabel(3)->isVisibleTo(f.c.plotBox()));
    f.c.setNumGraf(QStringLiteral("3"));
    f.c.clear();
    QVERIFY(!f.c.legendLabel(3)->isVisibleTo(f.c.plotBox()));
    QCOMPARE(f.c.escalaMax().x, 1.0);
}

// The real plot: a points-only curve zoomed out gets dotted extensions in
// its colour up to the view's edges.
void TestDibuja::extendedViewDrawsOnTheRealPlot()
{
    platform::ScriptedMsgBox boxes;
    curvas.reset();
    ctrgraficas c;
    c.UserControl_InitProperties();
    c.resize(800, 560);
    c.UserControl_Resize();
    ponerCurva(1, {{1, 1}, {2, 2}}, ajustePuntos, 1);
    c.actualiza();
    c.setEscala(Punto{0, 0}, Punto{3, 3});
    c.dibuja();
    const QImage img = c.plotBox()->image();
    const QRgb red = qRgb(128, 0, 0) & 0xFFFFFF;
    auto redNear = [&](int x0, int y0) {
        for (int y = std::max(0, y0 - 3); y <= std::min(img.height() - 1, y0 + 3); ++y)
            for (int x = std::max(0, x0 - 3); x <= std::min(img.width() - 1, x0 + 3); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == red)
                    return true;
        return false;
    };
    const int w = img.width(), h = img.height();
    QVERIFY(redNear(w / 6, h * 5 / 6)); // on the left extension, (0.5, 0.5)
    QVERIFY(redNear(w * 5 / 6, h / 6)); // on the right extension, (2.5, 2.5)
    QVERIFY(redNear(w / 3, h * 2 / 3)); // the dot at (1, 1)
    QVERIFY(boxes.shown.isEmpty());
}

namespace
{
int countColour(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}
} // namespace

// The layout that a resize runs clears the plot; the curves come back at
// the new size, and a degree message is not shown again for it.
void TestDibuja::resizeDrawsAgainWithoutRepeatingTheMessage()
{
    platform::ScriptedMsgBox boxes;
    curvas.reset();
    ctrgraficas c;
    c.UserControl_InitProperties();
    c.resize(800, 560);
    ponerCurva(1, {{0, 0}, {1, 1}});
    ponerCurva(2, {{0, 0}, {1, 1}}, ajusteMinimosX, 0, 5);
    c.setNumGraf(QStringLiteral("2"));
    c.actualiza(); // hidden: its first resize event comes when it is shown
    QCOMPARE(boxes.shown.size(), 1);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    c.resize(900, 600);
    QTRY_COMPARE(c.plotBox()->widthPx(), qRound(0.85 * 900) - 2);
    const QImage img = c.plotBox()->image();
    QVERIFY(countColour(img, qRgb(128, 0, 0)) > img.height()); // the diagonal of curve 1
    QCOMPARE(boxes.shown.size(), 1);
}

void TestDibuja::resizeWithZeroSpanViewDrawsNothing()
{
    Fixture f;
    ponerCurva(1, {{0, 0}, {1, 1}, {2, 0}}, ajusteSegmentos, 1);
    f.c.actualiza();
    QVERIFY(f.rec.count(platform::DrawCall::Kind::Line) > 0);
    // A click without movement leaves a view of zero span: the plot is not
    // cleared by the layout, so a resize must not draw the curves over it.
    f.c.setEscala(Punto{1, 0.5}, Punto{1, 0.5});
    f.rec.clearRecord();
    f.c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.c));
    f.c.resize(900, 600);
    QTRY_COMPARE(f.c.width(), 900);
    QCOMPARE(f.rec.count(platform::DrawCall::Kind::Line), 0);
    QCOMPARE(f.rec.count(platform::DrawCall::Kind::Circle), 0);
}

namespace
{

bool finita(const DrawCall &d)
{
    return std::isfinite(d.x1) && std::isfinite(d.y1) && std::isfinite(d.x2) && std::isfinite(d.y2) &&
           std::isfinite(d.r) && std::isfinite(d.number);
}

void ponerPuntos(int i, const QList<Punto> &pts, int tipo, int grado)
{
    ponerCurva(i, {}, tipo, 1, grado);
    Curva &c = curvas(i);
    c.npuntos = platform::Integer(pts.size());
    c.puntos.redim(int(pts.size()));
    for (int j = 0; j < pts.size(); ++j)
        c.puntos(j + 1) = pts[j];
}

} // namespace

// Every curve type, drawn left to right and right to left in a view wider
// than the curve: each end gets one dotted extension that starts at the end
// point and runs away from the curve to the view's edge on that side.
void TestDibuja::extensionsLeaveTheCurveOutward_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("grado");
    QTest::addColumn<bool>("reves");
    const int grados[8] = {0, 0, 0, 0, 2, 1, 1, 1};
    for (int tipo = 0; tipo <= 7; ++tipo)
        for (bool reves : {false, true})
            QTest::addRow("type %d, %s", tipo, reves ? "right to left" : "left to right")
                << tipo << grados[tipo] << reves;
}

void TestDibuja::extensionsLeaveTheCurveOutward()
{
    QFETCH(int, tipo);
    QFETCH(int, grado);
    QFETCH(bool, reves);
    Fixture f;
    QList<Punto> pts = {{1, 0.5}, {2, 1.5}, {3, 1}, {4, 2}, {5, 1.5}, {6, 2.5}};
    if (reves)
        std::reverse(pts.begin(), pts.end());
    ponerPuntos(1, pts, tipo, grado);
    f.c.setEscala(Punto{-2, -20}, Punto{9, 20});
    f.rec.clearRecord();
    f.c.dibuja();
    QVERIFY(f.boxes.shown.isEmpty());
    std::vector<DrawCall> ext;
    for (const DrawCall &d : f.rec.lines())
        if (d.penStyle == platform::drawStyleDot)
            ext.push_back(d);
    QCOMPARE(int(ext.size()), 2);
    const Curva &c = curvas(1);
    const float primero = Single(c.puntos(1).x), ultimo = Single(c.puntos(c.puntos.ubound()).x);
    // first: the first piece's extension, then the last piece's
    const float borde[2] = {reves ? 9.0f : -2.0f, reves ? -2.0f : 9.0f};
    const float punto[2] = {primero, ultimo};
    for (int k = 0; k < 2; ++k) {
        const DrawCall &d = ext[std::size_t(k)];
        QCOMPARE(std::min(d.x1, d.x2), std::min(borde[k], punto[k]));
        QCOMPARE(std::max(d.x1, d.x2), std::max(borde[k], punto[k]));
        QVERIFY(d.x1 < d.x2); // drawn left to right
    }
}

// Coordinates beyond the single range, and extensions so steep that they
// leave it: the surface gets only finite values, and every drawable piece is
// still drawn.
void TestDibuja::nothingNonFiniteReachesTheSurface_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QList<Punto>>("pts");
    QTest::addColumn<int>("dots");   // dots drawn
    QTest::addColumn<int>("pieces"); // solid lines drawn
    const QList<Punto> lejos = {{0, 0}, {1, 1}, {1e39, 2}};
    const QList<Punto> lejosNeg = {{-1e39, 0}, {0, 0}, {1, 1}};
    QTest::newRow("points only, x 1e39") << int(ajustePuntos) << lejos << 2 << 0;
    QTest::newRow("segments, x 1e39") << int(ajusteSegmentos) << lejos << 2 << 1;
    QTest::newRow("segments, x -1e39") << int(ajusteSegmentos) << lejosNeg << 2 << 1;
    QTest::newRow("points only, y -1e39")
        << int(ajustePuntos) << QList<Punto>{{0, 0}, {1, -1e39}, {2, 1}} << 2 << 0;
    // finite ends, extensions far beyond the single range
    QTest::newRow("steep first piece")
        << int(ajusteSegmentos) << QList<Punto>{{1, 1}, {1.0000001, 1e35}, {2, 2}} << 3 << 2;
    QTest::newRow("steep last piece")
        << int(ajusteSegmentos) << QList<Punto>{{1, 1}, {2, 2}, {2.0000001, -1e35}} << 3 << 2;
    QTest::newRow("spline, x 1e39") << int(ajusteSpline) << lejos << 2 << -1;
    QTest::newRow("polynomial, x 1e39") << int(ajustePolinomio) << lejos << 2 << -1;
    QTest::newRow("least squares, x 1e39") << int(ajusteMinimosX) << lejos << 2 << -1;
    QTest::newRow("Fourier, x 1e39") << int(ajusteFourier) << lejos << 2 << -1;
}

void TestDibuja::nothingNonFiniteReachesTheSurface()
{
    QFETCH(int, tipo);
    QFETCH(QList<Punto>, pts);
    QFETCH(int, dots);
    QFETCH(int, pieces);
    Fixture f;
    ponerPuntos(1, pts, tipo, 1);
    f.c.setEscala(Punto{-1, -5}, Punto{5, 5});
    f.rec.clearRecord();
    f.c.dibuja();
    for (const DrawCall &d : f.rec.calls())
        QVERIFY2(finita(d), qPrintable(QStringLiteral("call kind %1").arg(int(d.kind))));
    if (tipo <= ajusteSegmentos)
        QCOMPARE(f.rec.count(Kind::Circle), dots);
    if (pieces >= 0) {
        int solidas = 0;
        for (const DrawCall &d : f.rec.lines())
            solidas += d.penStyle == platform::drawStyleSolid;
        QCOMPARE(solidas, pieces);
    }
}

// A home view that the plot cannot show: one warning, and the views, the
// boxes and the plot stay as they were.
void TestDibuja::refusedHomeViewChangesNothing_data()
{
    QTest::addColumn<QList<Punto>>("pts");
    QTest::addColumn<QString>("message");
    QTest::newRow("y span 1e24") << QList<Punto>{{0, 0}, {1, 1e24}} << "Y axe interval tends to infinite";
    QTest::newRow("x span 2e8") << QList<Punto>{{-1e8, 0}, {1e8, 1}} << "X axe interval tends to infinite.";
    QTest::newRow("y all at 1e39") << QList<Punto>{{0, 1e39}, {1, 1e39}}
                                   << "Y axe interval tends to infinite";
    QTest::newRow("x all at -1e39") << QList<Punto>{{-1e39, 0}, {-1e39, 1}}
                                    << "X axe interval tends to infinite.";
}

void TestDibuja::refusedHomeViewChangesNothing()
{
    QFETCH(QList<Punto>, pts);
    QFETCH(QString, message);
    Fixture f;
    ponerCurva(1, {{0, 0}, {1, 2}});
    f.c.actualiza();
    const QStringList cajas = {f.c.limitBox(1)->text(), f.c.limitBox(2)->text(), f.c.limitBox(3)->text(),
                               f.c.limitBox(4)->text()};
    ponerPuntos(1, pts, ajusteSegmentos, 0);
    f.rec.clearRecord();
    f.c.actualiza();
    QCOMPARE(f.boxes.shown.size(), 1);
    QCOMPARE(f.boxes.shown[0].prompt, message + chooseAnother);
    QVERIFY(f.rec.calls().empty());
    for (const Punto &p : {f.c.escalaMin(), f.c.escalaInicialMin()}) {
        QCOMPARE(p.x, 0.0);
        QCOMPARE(p.y, 0.0);
    }
    for (const Punto &p : {f.c.escalaMax(), f.c.escalaInicialMax()}) {
        QCOMPARE(p.x, 1.0);
        QCOMPARE(p.y, 2.0);
    }
    QCOMPARE((QStringList{f.c.limitBox(1)->text(), f.c.limitBox(2)->text(), f.c.limitBox(3)->text(),
                          f.c.limitBox(4)->text()}),
             cajas);
    // Nothing stale is left behind: the next pass of a drawable curve shows
    // no message.
    ponerCurva(1, {{0, 0}, {3, 3}});
    f.c.actualiza();
    QCOMPARE(f.boxes.shown.size(), 1);
    QCOMPARE(f.c.escalaMax().x, 3.0);
}

QTEST_MAIN(TestDibuja)
#include "tst_dibuja.moc"
