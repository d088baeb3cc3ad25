// The chart driven by mouse and keyboard events: the coordinate read-out, the
// rubber-band zoom and the home view, dragging a legend label, and the four
// axis-limit boxes.

#include "chart/ctrgraficas.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/olecolor.h"
#include "platform/recordingsurface.h"
#include "textbox/textextend.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using platform::Single;
using Kind = platform::DrawCall::Kind;

namespace
{

constexpr double kPxPorUnidad = 64; // the test views map one unit to 64 pixels

void ponerCurva(int i, std::initializer_list<Punto> pts)
{
    Curva &c = curvas(i);
    c.activa = platform::vbTrue;
    c.npuntos = platform::Integer(pts.size());
    c.puntos.redim(int(pts.size()));
    int j = 1;
    for (const Punto &p : pts)
        c.puntos(j++) = p;
    c.tipoajuste = ajusteSegmentos;
    c.grosor = 1;
    c.color = 4;
    c.leyenda = QStringLiteral("curve %1").arg(i);
    c.posicionx = -1;
    c.posiciony = -1;
}

// A shown, active chart without footer holding one curve from (0, 0) to
// (10, 10), so the home view is (0, 0)-(10, 10). With `exacta`, the current
// view is then set so that one unit is 64 pixels on both axes, x from 0 and y
// down from 6: every chart point used below lies on a whole pixel and comes
// back from the mouse exactly. With `grabar`, the plot draws on a recording
// surface of its own size.
struct Grafico {
    explicit Grafico(int w = 1000, int h = 700, bool grabar = true, bool exacta = true)
    {
        curvas.reset();
        c.UserControl_InitProperties();
        c.setPie(false);
        c.resize(w, h);
        c.show();
        QApplication::setActiveWindow(&c);
        ok = QTest::qWaitForWindowActive(&c);
        ponerCurva(1, {{0, 0}, {10, 10}});
        c.actualiza();
        // Activation puts the focus into the first limit box; the tests start
        // with it on the plot.
        c.plotBox()->setFocus();
        if (grabar) {
            rec.resize(c.plotBox()->widthPx(), c.plotBox()->heightPx());
            c.setPlotSurface(&rec);
        }
        if (exacta) {
            const QRect in = c.plotBox()->innerRect();
            c.setEscala(Punto{0, 6 - in.height() / kPxPorUnidad}, Punto{in.width() / kPxPorUnidad, 6});
            c.dibuja();
        }
        rec.clearRecord();
    }
    // The plot pixel of a chart point in the exact view.
    QPoint px(double x, double y) const
    {
        return c.plotBox()->innerRect().topLeft() +
               QPoint(int(std::lround(x * kPxPorUnidad)), int(std::lround((6 - y) * kPxPorUnidad)));
    }
    QWidget *plot() const { return c.plotBox(); }
    textextend *box(int i) const { return c.limitBox(i); }

    platform::ScriptedMsgBox mensajes;
    ctrgraficas c;
    platform::RecordingSurface rec;
    bool ok = false;
};

// A move with exactly these buttons held (the mouse test helpers know only
// the buttons they pressed themselves).
void mover(QWidget *w, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent me(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &me);
}

// A pointer move with no button held, as the platform delivers it.
void apuntar(QWidget *w, QPoint pos)
{
    QTest::mouseMove(w, pos + QPoint(3, 3));
    QTest::mouseMove(w, pos);
}

void arrastrar(Grafico &g, QPoint desde, QPoint hasta)
{
    QTest::mousePress(g.plot(), Qt::LeftButton, {}, desde);
    if (hasta != desde) {
        QTest::mouseMove(g.plot(), (desde + hasta) / 2);
        QTest::mouseMove(g.plot(), hasta);
    }
    QTest::mouseRelease(g.plot(), Qt::LeftButton, {}, hasta);
}

// Redraws of the chart: each drawing pass draws the test curve's one
// segment with a solid pen (its extensions are dotted).
int redibujos(const platform::RecordingSurface &rec)
{
    int n = 0;
    for (const auto &l : rec.lines())
        n += l.penStyle == platform::drawStyleSolid;
    return n;
}

// Clicks into a box, as a user does, and types: the click selects the whole
// text, so what is typed replaces it (an empty text: Backspace deletes it).
// `donde` is a point of the inner box; by default its middle.
void escribir(textextend *t, const QString &texto, QPoint donde = QPoint())
{
    QLineEdit *e = t->textBox();
    QTest::mouseClick(e, Qt::LeftButton, {}, donde.isNull() ? e->rect().center() : donde);
    if (texto.isEmpty())
        QTest::keyClick(e, Qt::Key_Backspace);
    else
        QTest::keyClicks(e, texto);
}

QStringList textos(const Grafico &g)
{
    return {g.box(1)->text(), g.box(2)->text(), g.box(3)->text(), g.box(4)->text()};
}

} // namespace

class TestInteraccion : public QObject
{
    Q_OBJECT
private slots:
    void readOut_data();
    void readOut();
    void zoom_data();
    void zoom();
    void rubberBandRedrawsTheLastBoxFirst();
    void rubberBandLeavesWhitePixelsWhite();
    void rightAndMiddleClick_data();
    void rightAndMiddleClick();
    void legendGrabOffsetRoundsHalfToEven_data();
    void legendGrabOffsetRoundsHalfToEven();
    void legendDrop_data();
    void legendDrop();
    void dropOutsideThePlotDoesNothing();
    void boxClickTurnsWhiteAndFocuses();
    void enterInBox4RedrawsTwice();
    void clickAndTypeReplacesTheValue_data();
    void clickAndTypeReplacesTheValue();
    void acceptedBoxValues_data();
    void acceptedBoxValues();
    void refusedBoxValue_data();
    void refusedBoxValue();
    void refusedSpanKeepsViewBoxesAndPicture_data();
    void refusedSpanKeepsViewBoxesAndPicture();
    void refusedZoomKeepsViewBoxesAndPicture();
};

// --- read-out ------------------------------------------------------------------

void TestInteraccion::readOut_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("tip");
    const int none = 0, left = Qt::LeftButton, right = Qt::RightButton, mid = Qt::MiddleButton;
    QTest::newRow("no button") << none << "en_US"
                               << "(1.5000,-2.0000)";
    QTest::newRow("comma separator") << none << "de_DE"
                                     << "(1,5000,-2,0000)";
    QTest::newRow("left and right") << (left | right) << "en_US"
                                    << "(1.5000,-2.0000)";
    QTest::newRow("right alone") << right << "en_US"
                                 << "";
    QTest::newRow("middle alone") << mid << "en_US"
                                  << "";
}

void TestInteraccion::readOut()
{
    QFETCH(int, buttons);
    QFETCH(QString, locale);
    QFETCH(QString, tip);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    Grafico g;
    QVERIFY(g.ok);
    if (buttons == 0)
        apuntar(g.plot(), g.px(1.5, -2));
    else
        mover(g.plot(), g.px(1.5, -2), Qt::MouseButtons(buttons));
    QLocale::setDefault(before);
    QCOMPARE(g.plot()->toolTip(), tip);
    QCOMPARE(g.rec.count(Kind::Rectangle), 0);
}

// --- zoom ----------------------------------------------------------------------

void TestInteraccion::zoom_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<bool>("redrawn");
    QTest::addColumn<QPointF>("min");
    QTest::addColumn<QPointF>("max");
    QTest::newRow("(2,5) to (1,3)") << QPointF(2, 5) << QPointF(1, 3) << true << QPointF(1, 3)
                                    << QPointF(2, 5);
    QTest::newRow("(1,3) to (2,5)") << QPointF(1, 3) << QPointF(2, 5) << true << QPointF(1, 3)
                                    << QPointF(2, 5);
    QTest::newRow("(1,5) to (2,3)") << QPointF(1, 5) << QPointF(2, 3) << true << QPointF(1, 3)
                                    << QPointF(2, 5);
    QTest::newRow("click without movement")
        << QPointF(2, 5) << QPointF(2, 5) << false << QPointF(2, 5) << QPointF(2, 5);
    QTest::newRow("vertical line") << QPointF(2, 5) << QPointF(2, 3) << false << QPointF(2, 3)
                                   << QPointF(2, 5);
    QTest::newRow("horizontal line") << QPointF(1, 3) << QPointF(4, 3) << false << QPointF(1, 3)
                                     << QPointF(4, 3);
}

void TestInteraccion::zoom()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(bool, redrawn);
    QFETCH(QPointF, min);
    QFETCH(QPointF, max);
    Grafico g;
    QVERIFY(g.ok);
    const QStringList antes = textos(g);
    arrastrar(g, g.px(from.x(), from.y()), g.px(to.x(), to.y()));

    QCOMPARE(g.c.escalaMin().x, min.x());
    QCOMPARE(g.c.escalaMin().y, min.y());
    QCOMPARE(g.c.escalaMax().x, max.x());
    QCOMPARE(g.c.escalaMax().y, max.y());
    QCOMPARE(redibujos(g.rec), redrawn ? 1 : 0);
    QVERIFY(g.mensajes.shown.isEmpty());
    if (redrawn) {
        QCOMPARE(g.rec.drawMode(), int(platform::drawModeCopyPen));
        QCOMPARE(textos(g), (QStringList{"5.0000", "3.0000", "1.0000", "2.0000"}));
    } else {
        // Degenerate: the boxes show the last applied view, the pen stays in
        // mode 14 and the last rubber box stays on the plot.
        QCOMPARE(g.rec.drawMode(), int(platform::drawModeMergeNotPen));
        QCOMPARE(textos(g), antes);
        QCOMPARE(g.rec.count(Kind::Line), 0);
        if (from != to) {
            const auto r = g.rec.callsOf(Kind::Rectangle).back();
            QCOMPARE(QPointF(r.x2, r.y2), to);
        }
        // The read-out goes on working in the view still shown.
        apuntar(g.plot(), g.px(3, 1));
        QCOMPARE(g.plot()->toolTip(), QStringLiteral("(3.0000,1.0000)"));
    }
}

void TestInteraccion::rubberBandRedrawsTheLastBoxFirst()
{
    Grafico g;
    QVERIFY(g.ok);
    arrastrar(g, g.px(1, 1), g.px(3, 4)); // moves via (2, 2.5) to (3, 4)
    auto rects = g.rec.callsOf(Kind::Rectangle);
    QCOMPARE(rects.size(), std::size_t(4));
    const platform::OleColor blue = qbcolor(1);
    const QList<QRectF> expected = {
        QRectF(QPointF(0, 0), QPointF(0, 0)),   // the box kept from before: none yet
        QRectF(QPointF(1, 1), QPointF(2, 2.5)), // first band
        QRectF(QPointF(1, 1), QPointF(2, 2.5)), // taken off again
        QRectF(QPointF(1, 1), QPointF(3, 4)),   // second band
    };
    for (int i = 0; i < 4; ++i) {
        const auto &r = rects[std::size_t(i)];
        QCOMPARE(QRectF(QPointF(r.x1, r.y1), QPointF(r.x2, r.y2)), expected[i]);
        QCOMPARE(r.color, blue);
        QCOMPARE(r.penMode, int(platform::drawModeMergeNotPen));
        QCOMPARE(r.penStyle, int(platform::drawStyleDot));
    }
    // Nothing but the band is drawn while the button is held: the only line
    // and clearing come from the redraw after the release.
    const auto &calls = g.rec.calls();
    const auto firstCls =
        std::find_if(calls.begin(), calls.end(), [](const auto &c) { return c.kind == Kind::Cls; });
    QVERIFY(firstCls != calls.end());
    QVERIFY(std::none_of(calls.begin(), firstCls, [](const auto &c) { return c.kind == Kind::Line; }));

    // The next drag begins by drawing the box the previous one left.
    g.rec.clearRecord();
    QTest::mousePress(g.plot(), Qt::LeftButton, {}, g.px(1.5, 2));
    QTest::mouseMove(g.plot(), g.px(2, 3));
    rects = g.rec.callsOf(Kind::Rectangle);
    QCOMPARE(rects.size(), std::size_t(2));
    QCOMPARE(QRectF(QPointF(rects[0].x1, rects[0].y1), QPointF(rects[0].x2, rects[0].y2)),
             QRectF(QPointF(1, 1), QPointF(3, 4)));
    QTest::mouseRelease(g.plot(), Qt::LeftButton, {}, g.px(2, 3));
}

void TestInteraccion::rubberBandLeavesWhitePixelsWhite()
{
    // On the real plot without curves: a band drawn to A and then to B leaves
    // exactly the picture of a band drawn straight to B.
    auto bandas = [](const QList<QPointF> &hasta) {
        Grafico g(1000, 700, false);
        curvas(1).activa = platform::vbFalse;
        g.c.dibuja();
        QTest::mousePress(g.plot(), Qt::LeftButton, {}, g.px(1, 1));
        for (const QPointF &p : hasta)
            QTest::mouseMove(g.plot(), g.px(p.x(), p.y()));
        const QImage img = g.c.plotBox()->image().copy();
        QTest::mouseRelease(g.plot(), Qt::LeftButton, {}, g.px(hasta.back().x(), hasta.back().y()));
        return img;
    };
    const QImage directa = bandas({QPointF(5, 4)});
    const QImage dosVeces = bandas({QPointF(3, -1), QPointF(5, 4)});
    const QImage tresVeces = bandas({QPointF(8, 5), QPointF(2, 2), QPointF(5, 4)});
    QCOMPARE(dosVeces, directa);
    QCOMPARE(tresVeces, directa);
    // The band shows in dark blue on the white plot.
    int azules = 0;
    for (int y = 0; y < directa.height(); ++y)
        for (int x = 0; x < directa.width(); ++x)
            azules += directa.pixel(x, y) == qRgb(0, 0, 128);
    QVERIFY(azules > 100);
}

// --- right and middle click ------------------------------------------------------

void TestInteraccion::rightAndMiddleClick_data()
{
    QTest::addColumn<bool>("degenerate");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("redrawn");
    QTest::addColumn<bool>("home");
    QTest::newRow("right after a zoom") << false << int(Qt::RightButton) << true << true;
    QTest::newRow("right after a click") << true << int(Qt::RightButton) << true << true;
    QTest::newRow("middle after a zoom") << false << int(Qt::MiddleButton) << true << false;
    QTest::newRow("middle after a click") << true << int(Qt::MiddleButton) << false << false;
}

void TestInteraccion::rightAndMiddleClick()
{
    QFETCH(bool, degenerate);
    QFETCH(int, button);
    QFETCH(bool, redrawn);
    QFETCH(bool, home);
    Grafico g;
    QVERIFY(g.ok);
    if (degenerate)
        arrastrar(g, g.px(2, 2), g.px(2, 2));
    else
        arrastrar(g, g.px(1, 1), g.px(3, 4));
    const Punto min = g.c.escalaMin(), max = g.c.escalaMax();
    g.rec.clearRecord();
    QTest::mouseClick(g.plot(), Qt::MouseButton(button), {}, g.px(4, 2));

    QCOMPARE(redibujos(g.rec), redrawn ? 1 : 0);
    QCOMPARE(g.rec.drawMode(), int(redrawn ? platform::drawModeCopyPen : platform::drawModeMergeNotPen));
    const Punto expMin = home ? Punto{0, 0} : min, expMax = home ? Punto{10, 10} : max;
    QCOMPARE(g.c.escalaMin().x, expMin.x);
    QCOMPARE(g.c.escalaMin().y, expMin.y);
    QCOMPARE(g.c.escalaMax().x, expMax.x);
    QCOMPARE(g.c.escalaMax().y, expMax.y);
    if (home)
        QCOMPARE(textos(g), (QStringList{"10.0000", "0.0000", "0.0000", "10.0000"}));
}

// --- legend drag -------------------------------------------------------------------

void TestInteraccion::legendGrabOffsetRoundsHalfToEven_data()
{
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    // 15 twips to the pixel.
    QTest::newRow("1.5 and 4.5 twips") << QPointF(0.1, 0.3) << 2 << 4;
    QTest::newRow("10.5 and 22.5 twips") << QPointF(0.7, 1.5) << 10 << 22;
    QTest::newRow("whole pixels") << QPointF(7, 3) << 105 << 45;
}

void TestInteraccion::legendGrabOffsetRoundsHalfToEven()
{
    QFETCH(QPointF, pos);
    QFETCH(int, dx);
    QFETCH(int, dy);
    Grafico g;
    QVERIFY(g.ok);
    QCOMPARE(g.c.leyendaIndice(), platform::Integer(0));
    QLabel *l = g.c.legendLabel(1);
    QVERIFY(l && l->isVisible());
    QCOMPARE(l->cursor().shape(), Qt::SizeAllCursor);
    QMouseEvent me(QEvent::MouseMove, pos, l->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(l, &me);
    QCOMPARE(g.c.leyendaIndice(), platform::Integer(1));
    QCOMPARE(g.c.leyendaDx(), platform::Long(dx));
    QCOMPARE(g.c.leyendaDy(), platform::Long(dy));
}

void TestInteraccion::legendDrop_data()
{
    // A plot 500 px (7500 twips) wide and 300 px (4500 twips) high, inside
    // its border 498 x 298 px showing x 0 to 10 and y 0 to 10; the drop
    // lands at pixel (249, 149) of the drawing area, chart point (5, 5).
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    // 10 px = 150 twips right: 5 - 10 * 150 / 7500; 5 px = 75 twips down:
    // 5 + 10 * 75 / 4500.
    QTest::newRow("150 twips right, 75 down") << QPoint(10, 5) << 4.8 << 5 + 1.0 / 6;
    QTest::newRow("15 twips right and down") << QPoint(1, 1) << 4.98 << 5 + 1.0 / 30;
    QTest::newRow("450 twips right, 90 down") << QPoint(30, 6) << 4.4 << 5.2;
}

void TestInteraccion::legendDrop()
{
    QFETCH(QPoint, grab);
    QFETCH(double, left);
    QFETCH(double, top);
    Grafico g(588, 375, false, false);
    QVERIFY(g.ok);
    QCOMPARE(g.c.place(g.c.plotBox()).Width(), Single(7500));
    QCOMPARE(g.c.place(g.c.plotBox()).Height(), Single(4500));
    g.c.setEscala(Punto{0, 0}, Punto{10, 10});
    curvas(1).leyenda = QStringLiteral("a label wide enough to take hold of");
    g.c.dibuja();
    QLabel *l = g.c.legendLabel(1);
    QVERIFY(l->isVisible());
    const QPoint before = l->pos();
    const QPoint target = g.c.plotBox()->innerRect().topLeft() + QPoint(249, 149);

    // The label holds the pointer from the press until the button is let go.
    QTest::mousePress(l, Qt::LeftButton, {}, grab);
    QTest::mouseMove(l, l->mapFrom(g.plot(), target - QPoint(40, 20)));
    QTest::mouseMove(l, l->mapFrom(g.plot(), target));
    auto *outline = g.c.window()->findChild<QWidget *>(QStringLiteral("contornoLeyenda"));
    QVERIFY(outline && outline->isVisible());
    QCOMPARE(outline->size(), l->size());
    QCOMPARE(outline->mapTo(g.c.window(), grab), g.plot()->mapTo(g.c.window(), target));
    QCOMPARE(l->pos(), before); // the label itself waits for the drop
    QTest::mouseRelease(l, Qt::LeftButton, {}, l->mapFrom(g.plot(), target));

    QVERIFY(!g.c.window()->findChild<QWidget *>(QStringLiteral("contornoLeyenda")));
    QCOMPARE(g.c.leyendaIndice(), platform::Integer(1));
    QCOMPARE(curvas(1).posicionx, left);
    QCOMPARE(curvas(1).posiciony, top);
    QCOMPARE(g.c.leyendaLeft(1), double(Single(left)));
    QCOMPARE(g.c.leyendaTop(1), double(Single(top)));
    // The label's top-left corner keeps the grab offset to the pointer.
    QVERIFY((l->pos() + grab - target).manhattanLength() <= 2);
    QCOMPARE(l->text(), curvas(1).leyenda);
}

void TestInteraccion::dropOutsideThePlotDoesNothing()
{
    Grafico g;
    QVERIFY(g.ok);
    QLabel *l = g.c.legendLabel(1);
    const QPoint before = l->pos();
    // Let go over the x maximum box, below the plot.
    QWidget *box = g.box(4);
    const QPoint over = l->mapFrom(g.c.window(), box->mapTo(g.c.window(), box->rect().center()));
    QTest::mousePress(l, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(l, over);
    QTest::mouseRelease(l, Qt::LeftButton, {}, over);
    QCOMPARE(g.c.leyendaIndice(), platform::Integer(1));
    QCOMPARE(curvas(1).posicionx, -1.0);
    QCOMPARE(curvas(1).posiciony, -1.0);
    QCOMPARE(l->pos(), before);
    QVERIFY(!g.c.window()->findChild<QWidget *>(QStringLiteral("contornoLeyenda")));
}

// --- axis-limit boxes ----------------------------------------------------------------

void TestInteraccion::boxClickTurnsWhiteAndFocuses()
{
    Grafico g;
    QVERIFY(g.ok);
    for (int i = 1; i <= 4; ++i) {
        textextend *t = g.box(i);
        QCOMPARE(t->BackColor(), platform::vbButtonFace);
        QCOMPARE(t->Alignment(), platform::Long(1));
        QCOMPARE(t->Appearance(), platform::Long(0));
        QCOMPARE(t->BorderStyle(), platform::Long(0));
        QCOMPARE(t->NumberBox(), platform::Long(textextend::numerodecimal));
        QVERIFY(t->Signo());
    }
    QTest::mouseClick(g.box(3)->textBox(), Qt::LeftButton);
    QCOMPARE(g.box(3)->BackColor(), platform::OleColor(0xFFFFFF));
    QVERIFY(g.box(3)->textBox()->hasFocus());
    QCOMPARE(g.box(4)->BackColor(), platform::vbButtonFace);
}

void TestInteraccion::enterInBox4RedrawsTwice()
{
    Grafico g;
    QVERIFY(g.ok);
    g.c.setEscala(Punto{1, 0}, Punto{2, 5});
    g.c.dibuja();
    QCOMPARE(g.box(3)->text(), QStringLiteral("1.0000"));
    escribir(g.box(4), QStringLiteral("3"));
    g.rec.clearRecord();
    const QString typed = g.box(4)->text();
    QTest::keyClick(g.box(4)->textBox(), Qt::Key_Return);

    QCOMPARE(typed, QStringLiteral("3"));
    QCOMPARE(g.c.escalaMax().x, 3.0);
    QCOMPARE(redibujos(g.rec), 2); // once from the key, once from the focus loss
    QVERIFY(g.plot()->hasFocus());
    QCOMPARE(g.box(4)->BackColor(), platform::vbButtonFace);
    QCOMPARE(g.box(4)->text(), QStringLiteral("3.0000"));
    QVERIFY(g.mensajes.shown.isEmpty());
}

void TestInteraccion::clickAndTypeReplacesTheValue_data()
{
    // The home view x 0 to 10, y 0 to 10: every box shows a value of several
    // characters. The box is clicked with the focus on the plot, at a point
    // of its own (left end, middle, right end of the box; the text stands on
    // the right), then the value is typed and Enter pressed.
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("typed");
    QTest::newRow("x maximum, middle") << 4 << "middle" << "3";
    QTest::newRow("x maximum, end of the text") << 4 << "end" << "3";
    QTest::newRow("x maximum, inside the text") << 4 << "text" << "3";
    QTest::newRow("x maximum, left of the text") << 4 << "start" << "12.5";
    QTest::newRow("x minimum, middle") << 3 << "middle" << "-2";
    QTest::newRow("x minimum, end of the text") << 3 << "end" << "4";
    QTest::newRow("y maximum, middle") << 1 << "middle" << "7.25";
    QTest::newRow("y maximum, end of the text") << 1 << "end" << "20";
    QTest::newRow("y minimum, middle") << 2 << "middle" << "-1.5";
    QTest::newRow("y minimum, end of the text") << 2 << "end" << "5";
}

void TestInteraccion::clickAndTypeReplacesTheValue()
{
    QFETCH(int, box);
    QFETCH(QString, where);
    QFETCH(QString, typed);
    Grafico g(1000, 700, true, false);
    QVERIFY(g.ok);
    QCOMPARE(textos(g), (QStringList{"10.0000", "0.0000", "0.0000", "10.0000"}));
    QLineEdit *e = g.box(box)->textBox();
    const int y = e->height() / 2;
    QPoint donde(2, y);
    if (where == QLatin1String("middle"))
        donde.setX(e->width() / 2);
    else if (where == QLatin1String("end"))
        donde.setX(e->width() - 2);
    else if (where == QLatin1String("text")) // between the 1 and the 0
        while (donde.x() < e->width() && e->cursorPositionAt(donde) < 1)
            donde.rx()++;
    escribir(g.box(box), typed, donde);
    QCOMPARE(g.box(box)->text(), typed);
    QTest::keyClick(e, Qt::Key_Return);

    QVERIFY(g.mensajes.shown.isEmpty());
    const double field[5] = {0, g.c.escalaMax().y, g.c.escalaMin().y, g.c.escalaMin().x, g.c.escalaMax().x};
    QCOMPARE(field[box], typed.toDouble());
    QCOMPARE(g.box(box)->text(), platform::formatFixed4(typed.toDouble()));
}

void TestInteraccion::acceptedBoxValues_data()
{
    // The view before: x 0.25 to 1/3 (shown rounded), y 1 to 5. The box is
    // left with Enter or by a middle click on the plot, which redraws the
    // current view once more where it has a span on both axes.
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed"); // a null text: left as displayed
    QTest::addColumn<bool>("enter");
    QTest::addColumn<double>("stored");
    QTest::addColumn<int>("redraws");
    QTest::newRow("y maximum equal to y minimum") << 1 << "1" << false << 1.0 << 1;
    QTest::newRow("empty y minimum reads as 0") << 2 << "" << true << 0.0 << 2;
    QTest::newRow("x maximum left as shown") << 4 << QString() << false << 0.3333 << 2;
    QTest::newRow("negative x minimum") << 3 << "-2.5" << true << -2.5 << 2;
}

void TestInteraccion::acceptedBoxValues()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(double, stored);
    QFETCH(int, redraws);
    Grafico g;
    QVERIFY(g.ok);
    g.c.setEscala(Punto{0.25, 1}, Punto{1.0 / 3, 5});
    g.c.dibuja();
    if (typed.isNull())
        QTest::mouseClick(g.box(box)->textBox(), Qt::LeftButton);
    else
        escribir(g.box(box), typed);
    QCOMPARE(g.box(box)->text(), typed.isNull() ? g.box(box)->text() : typed);
    g.rec.clearRecord();
    if (enter)
        QTest::keyClick(g.box(box)->textBox(), Qt::Key_Return);
    else
        QTest::mouseClick(g.plot(), Qt::MiddleButton, {}, g.plot()->rect().center());
    QVERIFY(g.plot()->hasFocus());

    const double field[5] = {0, g.c.escalaMax().y, g.c.escalaMin().y, g.c.escalaMin().x, g.c.escalaMax().x};
    QCOMPARE(field[box], stored);
    QVERIFY(g.mensajes.shown.isEmpty());
    QCOMPARE(g.box(box)->BackColor(), platform::vbButtonFace);
    QCOMPARE(redibujos(g.rec), redraws);
    if (box == 1) // a view of no height is shown but not applied
        QCOMPARE(g.rec.count(Kind::Cls), 0);
}

void TestInteraccion::refusedBoxValue_data()
{
    // The view before: x 1 to 2, y 3 to 5.
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("message");
    const QString y = QStringLiteral("Y maximum value must be greater than Y mnimum value");
    const QString x = QStringLiteral("X maximum value must be greater than X mnimum value");
    QTest::newRow("y minimum above y maximum") << 2 << "6" << false << y;
    QTest::newRow("y maximum below y minimum") << 1 << "2.5" << false << y;
    QTest::newRow("x minimum above x maximum") << 3 << "2.01" << false << x;
    QTest::newRow("x maximum below x minimum") << 4 << "-1" << false << x;
    QTest::newRow("y minimum above, with Enter") << 2 << "6" << true << y;
    QTest::newRow("x maximum below, with Enter") << 4 << "0.5" << true << x;
}

void TestInteraccion::refusedBoxValue()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QString, message);
    Grafico g;
    QVERIFY(g.ok);
    g.c.setEscala(Punto{1, 3}, Punto{2, 5});
    g.c.dibuja();
    escribir(g.box(box), typed);
    g.rec.clearRecord();
    if (enter)
        QTest::keyClick(g.box(box)->textBox(), Qt::Key_Return);
    else
        g.plot()->setFocus(Qt::MouseFocusReason);

    // With Enter the check runs for the key and again for the focus loss.
    QCOMPARE(g.mensajes.shown.size(), enter ? 2 : 1);
    for (const auto &m : g.mensajes.shown) {
        QCOMPARE(m.prompt, message);
        QCOMPARE(m.style, 0);
        QCOMPARE(m.title, platform::defaultMsgBoxTitle());
    }
    QVERIFY(g.box(box)->textBox()->hasFocus());
    QCOMPARE(g.box(box)->BackColor(), platform::OleColor(0xFFFFFF));
    QCOMPARE(g.box(box)->text(), typed);
    QCOMPARE(redibujos(g.rec), 0);
    QCOMPARE(g.c.escalaMin().x, 1.0);
    QCOMPARE(g.c.escalaMin().y, 3.0);
    QCOMPARE(g.c.escalaMax().x, 2.0);
    QCOMPARE(g.c.escalaMax().y, 5.0);
}

// A span the view cannot take, typed into a box: the warning comes once, and
// the view, the four boxes, the legend and the plot's picture stay exactly as
// they were before the edit.
void TestInteraccion::refusedSpanKeepsViewBoxesAndPicture_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("line");
    const QString y = QStringLiteral("Y axe interval tends to infinite");
    const QString x = QStringLiteral("X axe interval tends to infinite.");
    const QString nueves41(41, QLatin1Char('9'));
    QTest::newRow("y maximum 200000000, Enter") << 1 << "200000000" << true << y;
    QTest::newRow("y maximum 200000000, focus leaves") << 1 << "200000000" << false << y;
    QTest::newRow("x minimum -200000000") << 3 << "-200000000" << false << x;
    QTest::newRow("41 nines as x maximum, Enter") << 4 << nueves41 << true << x;
    QTest::newRow("41 nines as y maximum") << 1 << nueves41 << false << y;
    QTest::newRow("300 nines as x maximum") << 4 << QString(300, QLatin1Char('9')) << false << x;
    QTest::newRow("-41 nines as y minimum, Enter") << 2 << QLatin1Char('-') + nueves41 << true << y;
}

void TestInteraccion::refusedSpanKeepsViewBoxesAndPicture()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QString, line);
    Grafico g(1000, 700, false);
    QVERIFY(g.ok);
    const QImage antes = g.c.plotBox()->image().copy();
    const QStringList textosAntes = textos(g);
    const Punto min = g.c.escalaMin(), max = g.c.escalaMax();
    const QPoint leyenda = g.c.legendLabel(1)->pos();
    escribir(g.box(box), typed);
    QCOMPARE(g.box(box)->text(), typed);
    if (enter)
        QTest::keyClick(g.box(box)->textBox(), Qt::Key_Return);
    else
        g.plot()->setFocus(Qt::MouseFocusReason);

    QCOMPARE(g.mensajes.shown.size(), 1);
    QCOMPARE(g.mensajes.shown[0].prompt, line + QStringLiteral("\rChoose another interval"));
    QCOMPARE(g.mensajes.shown[0].style, 16);
    QCOMPARE(g.mensajes.shown[0].title, QStringLiteral("Warning"));
    QCOMPARE(textos(g), textosAntes);
    QCOMPARE(g.c.escalaMin().x, min.x);
    QCOMPARE(g.c.escalaMin().y, min.y);
    QCOMPARE(g.c.escalaMax().x, max.x);
    QCOMPARE(g.c.escalaMax().y, max.y);
    QCOMPARE(g.box(box)->BackColor(), platform::vbButtonFace);
    QVERIFY(g.plot()->hasFocus());
    QCOMPARE(g.c.legendLabel(1)->pos(), leyenda);
    QCOMPARE(g.c.plotBox()->image(), antes);
}

// A zoom box dragged past the plot's edge until its span is too wide: after
// the warning the view, the boxes and the picture are those from before the
// drag, and the plot is back in its normal pen mode.
void TestInteraccion::refusedZoomKeepsViewBoxesAndPicture()
{
    Grafico g(1000, 700, false, false);
    QVERIFY(g.ok);
    g.c.setEscala(Punto{0, 0}, Punto{9.9e7, 10});
    g.c.dibuja();
    const QImage antes = g.c.plotBox()->image().copy();
    const QStringList textosAntes = textos(g);
    const QRect in = g.c.plotBox()->innerRect();
    const QPoint desde = in.topLeft() + QPoint(2, in.height() / 4);
    const QPoint hasta(in.right() + 60, in.top() + in.height() * 3 / 4);
    QTest::mousePress(g.plot(), Qt::LeftButton, {}, desde);
    mover(g.plot(), (desde + hasta) / 2, Qt::LeftButton);
    mover(g.plot(), hasta, Qt::LeftButton);
    QMouseEvent suelta(QEvent::MouseButtonRelease, QPointF(hasta), QPointF(g.plot()->mapToGlobal(hasta)),
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g.plot(), &suelta);

    QCOMPARE(g.mensajes.shown.size(), 1);
    QCOMPARE(g.mensajes.shown[0].prompt,
             QStringLiteral("X axe interval tends to infinite.\rChoose another interval"));
    QCOMPARE(g.c.escalaMin().x, 0.0);
    QCOMPARE(g.c.escalaMin().y, 0.0);
    QCOMPARE(g.c.escalaMax().x, 9.9e7);
    QCOMPARE(g.c.escalaMax().y, 10.0);
    QCOMPARE(textos(g), textosAntes);
    QCOMPARE(g.c.plotBox()->drawMode(), int(platform::drawModeCopyPen));
    QCOMPARE(g.c.plotBox()->image(), antes);
}

QTEST_MAIN(TestInteraccion)
#include "tst_interaccion.moc"
