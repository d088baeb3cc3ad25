// The chart picture and the chart report: the composition step by step on a
// recording surface, the canvas and the clipboard, the picture on the page,
// and whole reports on the recording printer.

#include "chart/chartpicture.h"
#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/imprimir.h"
#include "platform/clipboard.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/printer.h"
#include "platform/recordingsurface.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QDate>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <cmath>

using namespace platform;
using Kind = DrawCall::Kind;

namespace
{

// Curve 1: a rising line with its legend placed automatically; curve 2: a
// parabola whose legend sits at a given place in plot units.
void llenarCurvas(double posx2, double posy2)
{
    curvas.reset();
    Curva &a = curvas(1);
    a.activa = vbTrue;
    a.npuntos = 3;
    a.puntos.redim(3);
    a.puntos(1) = {0, 0};
    a.puntos(2) = {1, 1};
    a.puntos(3) = {2, 2};
    a.tipoajuste = ajusteSegmentos;
    a.verpuntos = 1;
    a.grosor = 1;
    a.color = 9;
    a.leyenda = QStringLiteral("recta");
    a.posicionx = -1;
    a.posiciony = -1;
    Curva &b = curvas(2);
    b = a;
    b.npuntos = 5;
    b.puntos.redim(5);
    for (int i = 1; i <= 5; ++i)
        b.puntos(i) = {(i - 1) * 0.5, ((i - 1) * 0.5) * ((i - 1) * 0.5)};
    b.color = 12;
    b.leyenda = QStringLiteral("par\u00e1bola");
    b.posicionx = posx2;
    b.posiciony = posy2;
}

struct Grafica {
    ctrgraficas g;
    // Without legends nothing but the frame covers the plot's image.
    static constexpr double sinLeyenda = -1e9;
    Grafica(double posx2 = 1.5, double posy2 = 3.5)
    {
        const bool ocultas = posx2 == sinLeyenda;
        g.setObjectName(QStringLiteral("ctrgraficas1"));
        g.UserControl_InitProperties();
        g.resize(640, 480);
        g.show();
        llenarCurvas(ocultas ? 0 : posx2, ocultas ? 0 : posy2);
        if (ocultas)
            curvas(1).posicionx = curvas(1).posiciony = 0;
        g.setNumGraf(QStringLiteral("2"));
        g.setTituloCaption(QStringLiteral("Medidas del ensayo"));
        g.setLeyendXCaption(QStringLiteral("tiempo (s)"));
        g.setLeyendYCaption(QStringLiteral("altura (m)"));
        g.actualiza();
    }
};

QList<DrawCall> llamadas(const RecordingSurface &s, Kind k)
{
    QList<DrawCall> out;
    for (const DrawCall &c : s.calls())
        if (c.kind == k)
            out.append(c);
    return out;
}

// True when the canvas shows the plot's image where it was painted, (L + 10,
// T + 10) in twips, apart from a 2-pixel band along its edges where the
// frame and the tick marks lie.
bool muestraGrafico(const ctrgraficas &g)
{
    const Colocacion &pg = g.place(g.plotBox());
    const QImage lienzo = g.hiddenCanvas()->image().convertToFormat(QImage::Format_RGB32);
    const QImage plot = g.plotBox()->image().convertToFormat(QImage::Format_RGB32);
    const int ox = int(std::lround((pg.Left() + 10) / twipsPerPixel));
    const int oy = int(std::lround((pg.Top() + 10) / twipsPerPixel));
    int distintos = 0;
    for (int y = 2; y < plot.height() - 2; ++y)
        for (int x = 2; x < plot.width() - 2; ++x)
            if (lienzo.pixel(ox + x, oy + y) != plot.pixel(x, y))
                ++distintos;
    if (distintos)
        qWarning() << distintos << "pixels differ";
    return distintos == 0 && plot.width() > 100;
}

const QString fecha()
{
    return QStringLiteral("Date: ") + dateText(QDate::currentDate());
}

} // namespace

class TestChartReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void composition();
    void legendTexts_data();
    void legendTexts();
    void canvasHoldsPlotAndRepeats();
    void zoomedViewOnThePicture();
    void clipboardAfterCopy();
    void pictureOnThePage_data();
    void pictureOnThePage();
    void report_data();
    void report();
    void reportPageBreakHeader();
    void printFailureShown();
};

void TestChartReport::initTestCase()
{
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("Liberation Mono")));
}

void TestChartReport::composition()
{
    Grafica gr;
    ctrgraficas &g = gr.g;
    const Colocacion &area = g.place(g.chartArea());
    const Colocacion &pg = g.place(g.plotBox());
    const Single L = pg.Left(), T = pg.Top(), Wp = pg.Width(), Hp = pg.Height();
    RecordingSurface s(int(area.Width() / 15), int(area.Height() / 15));
    componerlienzo(g, s, g.plotBox()->image());

    const auto &calls = s.calls();
    QCOMPARE(calls.front().kind, Kind::Cls);
    const QList<DrawCall> pics = llamadas(s, Kind::PaintPicture);
    QCOMPARE(pics.size(), 1);
    QCOMPARE(pics[0].x1, L + 10);
    QCOMPARE(pics[0].y1, T + 10);
    QCOMPARE(pics[0].pictureSize, g.plotBox()->image().size());

    // Eleven pairs of ticks, y tick then x tick.
    const QList<DrawCall> lines = llamadas(s, Kind::Line);
    QCOMPARE(lines.size(), 22);
    const Single Hx = g.place(g.captionX()).Height();
    const Single B = (T + Hp) + (area.Height() - (T + Hp) - Hx) / 2 - 150;
    for (int i = 0; i <= 10; ++i) {
        const DrawCall &y = lines[2 * i];
        QCOMPARE(y.x1, L - 100);
        QCOMPARE(y.x2, L);
        QCOMPARE(y.y1, T + Single(i) * Hp / 10);
        QCOMPARE(y.y2, y.y1);
        const DrawCall &x = lines[2 * i + 1];
        QCOMPARE(x.x1, L + Single(i) * Wp / 10);
        QCOMPARE(x.x2, x.x1);
        QCOMPARE(x.y1, T + Hp);
        QCOMPARE(x.y2, B);
    }
    const QList<DrawCall> rects = llamadas(s, Kind::Rectangle);
    QCOMPARE(rects.size(), 1);
    QCOMPARE(rects[0].x1, L);
    QCOMPARE(rects[0].y1, T);
    QCOMPARE(rects[0].x2, L + Wp);
    QCOMPARE(rects[0].y2, T + Hp);

    // Texts: boxes 1, 3, 2, 4, captions x and y, then the visible legends.
    const QList<DrawCall> prints = llamadas(s, Kind::Print);
    QCOMPARE(prints.size(), 8);
    const int orden[] = {1, 3, 2, 4};
    for (int k = 0; k < 4; ++k) {
        const textextend *t = g.limitBox(orden[k]);
        QCOMPARE(prints[k].text, t->text());
        QCOMPARE(prints[k].y1, t->Top());
        if (orden[k] == 4)
            QCOMPARE(prints[k].x1, area.Left() + area.Width() - t->Width());
        else
            QCOMPARE(prints[k].x1, t->Left());
    }
    QCOMPARE(prints[0].text, QStringLiteral("4.0000"));
    QCOMPARE(prints[1].text, QStringLiteral("0.0000"));
    QCOMPARE(prints[3].text, QStringLiteral("2.0000"));
    QCOMPARE(prints[4].text, QStringLiteral("tiempo (s)"));
    QCOMPARE(prints[4].x1, g.place(g.captionX()).Left());
    QCOMPARE(prints[4].y1, g.place(g.captionX()).Top());
    QCOMPARE(prints[5].text, QStringLiteral("altura (m)"));
    QCOMPARE(prints[5].y1, g.place(g.captionY()).Top());
    QCOMPARE(prints[6].text, QStringLiteral("recta"));
    QCOMPARE(prints[7].text, QStringLiteral("par\u00e1bola"));

    // Every line before the legends in one colour; the legends in theirs; at
    // the end the limit boxes' text colour.
    const QList<DrawCall> colores = llamadas(s, Kind::ForeColor);
    QCOMPARE(colores.size(), 3);
    QCOMPARE(colores[0].color, qbcolor(9));
    QCOMPARE(colores[1].color, qbcolor(12));
    QCOMPARE(colores[2].color, g.limitBox(1)->ForeColor());
    QCOMPARE(s.foreColor(), g.limitBox(1)->ForeColor());
}

// Legend positions in plot units become canvas twips:
// x = (left - ScaleLeft) * Wp / ScaleWidth + L, y = (top - ScaleTop) * Hp / ScaleHeight + T.
void TestChartReport::legendTexts_data()
{
    QTest::addColumn<double>("posx");
    QTest::addColumn<double>("posy");
    QTest::addColumn<bool>("shown");
    QTest::newRow("inside the plot") << 1.5 << 3.5 << true;
    QTest::newRow("partly outside, right") << 1.9 << 1.0 << true;
    QTest::newRow("outside, left and above") << -0.5 << 5.0 << true;
    QTest::newRow("hidden at (0, 0)") << 0.0 << 0.0 << false;
    // Where no canvas coordinate can stand for it, the text is left out.
    QTest::newRow("x beyond the single range") << 1e39 << 3.5 << false;
    QTest::newRow("y beyond the single range") << 1.5 << -1e39 << false;
}

void TestChartReport::legendTexts()
{
    QFETCH(double, posx);
    QFETCH(double, posy);
    QFETCH(bool, shown);
    Grafica gr(posx, posy);
    ctrgraficas &g = gr.g;
    const Colocacion &area = g.place(g.chartArea());
    const Colocacion &pg = g.place(g.plotBox());
    RecordingSurface s(int(area.Width() / 15), int(area.Height() / 15));
    componerlienzo(g, s, g.plotBox()->image());
    for (const DrawCall &d : s.calls())
        QVERIFY(std::isfinite(d.x1) && std::isfinite(d.y1) && std::isfinite(d.x2) && std::isfinite(d.y2) &&
                std::isfinite(d.number));
    const QList<DrawCall> prints = llamadas(s, Kind::Print);
    QCOMPARE(prints.size(), shown ? 8 : 7);
    if (!shown) {
        QVERIFY(prints.last().text != QStringLiteral("par\u00e1bola"));
        return;
    }
    const DrawSurface &plano = g.pct();
    const Single x = (Single(posx) - plano.scaleLeft()) * pg.Width() / plano.scaleWidth() + pg.Left();
    const Single y = (Single(posy) - plano.scaleTop()) * pg.Height() / plano.scaleHeight() + pg.Top();
    QCOMPARE(prints.last().text, QStringLiteral("par\u00e1bola"));
    QCOMPARE(prints.last().x1, x);
    QCOMPARE(prints.last().y1, y);
    // The view is 0..2 by 0..4: the values land where the plot shows them.
    QVERIFY(std::abs(x - (pg.Left() + Single(posx / 2) * pg.Width())) < 0.5f);
    QVERIFY(std::abs(y - (pg.Top() + Single((4 - posy) / 4) * pg.Height())) < 0.5f);
}

void TestChartReport::canvasHoldsPlotAndRepeats()
{
    Grafica gr(Grafica::sinLeyenda);
    ctrgraficas &g = gr.g;
    g.componergrafica();
    const QImage primera = g.hiddenCanvas()->image().copy();
    // The canvas has the chart area's size and stays hidden.
    const Colocacion &area = g.place(g.chartArea());
    QCOMPARE(primera.width(), int(std::lround(area.Width() / 15)));
    QCOMPARE(primera.height(), int(std::lround(area.Height() / 15)));
    QVERIFY(g.hiddenCanvas()->isHidden());
    QVERIFY(muestraGrafico(g));
    g.componergrafica();
    QCOMPARE(g.hiddenCanvas()->image(), primera);
}

void TestChartReport::zoomedViewOnThePicture()
{
    Grafica gr(Grafica::sinLeyenda);
    ctrgraficas &g = gr.g;
    g.componergrafica();
    const QImage antes = g.hiddenCanvas()->image().copy();
    g.setEscala(Punto{0.5, 0.5}, Punto{1.5, 2.5});
    g.dibuja();
    g.componergrafica();
    const QImage despues = g.hiddenCanvas()->image();
    QVERIFY(despues != antes);
    QVERIFY(muestraGrafico(g));
    // The values on the picture are those in the boxes on screen.
    const Colocacion &area = g.place(g.chartArea());
    RecordingSurface s(int(area.Width() / 15), int(area.Height() / 15));
    componerlienzo(g, s, g.plotBox()->image());
    const QList<DrawCall> prints = llamadas(s, Kind::Print);
    QCOMPARE(prints[0].text, QStringLiteral("2.5000"));
    QCOMPARE(prints[1].text, QStringLiteral("0.5000"));
    QCOMPARE(prints[2].text, QStringLiteral("0.5000"));
    QCOMPARE(prints[3].text, QStringLiteral("1.5000"));
}

void TestChartReport::clipboardAfterCopy()
{
    Grafica gr;
    ctrgraficas &g = gr.g;
    ScriptedMsgBox box;
    clipboardClear();
    g.copyButton()->click();
    QVERIFY(box.shown.isEmpty());
    const QImage uno = clipboardImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!uno.isNull());
    QCOMPARE(uno, g.hiddenCanvas()->image().convertToFormat(QImage::Format_RGB32));
    g.copyButton()->click();
    QCOMPARE(clipboardImage().convertToFormat(QImage::Format_RGB32), uno);
    QVERIFY(box.shown.isEmpty());
}

void TestChartReport::pictureOnThePage_data()
{
    QTest::addColumn<int>("ancho");
    QTest::addColumn<int>("alto");
    QTest::addColumn<double>("arriba");
    // 400 px high: a chart area of 4700 twips ends above 6000.
    QTest::newRow("ends above 6000") << 640 << 400 << 500.0;
    // 480 px high from 1700: the picture reaches below 6000.
    QTest::newRow("reaches lower") << 640 << 480 << 1700.0;
    // 1000 px = 15000 twips, wider than A4.
    QTest::newRow("wider than the page") << 1000 << 480 << 500.0;
    // 794 px = 11910 twips, just wider than A4; 790 px just fits.
    QTest::newRow("just wider than the page") << 794 << 480 << 500.0;
    QTest::newRow("just fits the page") << 790 << 480 << 500.0;
}

void TestChartReport::pictureOnThePage()
{
    QFETCH(int, ancho);
    QFETCH(int, alto);
    QFETCH(double, arriba);
    Grafica gr;
    ctrgraficas &g = gr.g;
    g.resize(ancho, alto);
    g.dibuja();
    RecordingPrinter rp;
    rp.setCurrentY(Single(arriba));
    g.imprimirgrafica();
    const QList<PrinterEvent> pics = rp.pictures();
    QCOMPARE(pics.size(), 1);
    const QImage &lienzo = g.hiddenCanvas()->image();
    const Single anchoLienzo = Single(lienzo.width() * twipsPerPixel);
    const Single anchoImpreso = Single(pics[0].picture.width() * twipsPerPixel);
    const Single altoImpreso = Single(pics[0].picture.height() * twipsPerPixel);
    if (anchoLienzo <= rp.scaleWidth()) {
        QCOMPARE(pics[0].picture, lienzo);
    } else {
        // Scaled to fit between one-inch margins, same proportions.
        QVERIFY(anchoImpreso <= rp.scaleWidth() - 2 * 1440);
        QVERIFY(anchoImpreso > rp.scaleWidth() - 2 * 1440 - 2 * twipsPerPixel);
        QVERIFY(qAbs(double(pics[0].picture.height()) / pics[0].picture.width() -
                     double(lienzo.height()) / lienzo.width()) < 0.01);
    }
    QCOMPARE(pics[0].x, (rp.scaleWidth() - anchoImpreso) / 2);
    QVERIFY(pics[0].x >= 0);
    // Equal margins on both sides.
    QVERIFY(qAbs(pics[0].x - (rp.scaleWidth() - pics[0].x - anchoImpreso)) < 1);
    if (anchoLienzo > rp.scaleWidth())
        QVERIFY(pics[0].x >= 1440);
    QCOMPARE(pics[0].y, Single(arriba));
    // The text after the picture starts at 6000, or below the picture.
    QCOMPARE(rp.currentY(), std::max(Single(6000), Single(arriba) + altoImpreso));
    QCOMPARE(rp.currentX(), pics[0].x);
    rp.killDoc();
}

void TestChartReport::report_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("paginas");
    QTest::newRow("empty text") << QString() << QStringLiteral("Medidas del ensayo") << 1;
    QTest::newRow("short text") << QStringLiteral("Ajuste lineal.\nBuen acuerdo.") << QStringLiteral("T")
                                << 1;
    QTest::newRow("two pages by wrap")
        << QStringLiteral("palabra ").repeated(900) << QStringLiteral("T") << 2;
    QTest::newRow("two pages by LF") << QStringLiteral("l\n").repeated(60) << QStringLiteral("T") << 2;
    QTest::newRow("forced break") << QStringLiteral("a .../... b") << QStringLiteral("T") << 2;
    QTest::newRow("title wider than the page") << QString() << QStringLiteral("W").repeated(70) << 1;
}

void TestChartReport::report()
{
    QFETCH(QString, texto);
    QFETCH(QString, titulo);
    QFETCH(int, paginas);
    Grafica gr;
    ctrgraficas &g = gr.g;
    g.setTextResult(texto);
    g.setTituloCaption(titulo);
    RecordingPrinter rp;
    ScriptedMsgBox box;
    g.printButton()->click();
    QVERIFY(box.shown.isEmpty());
    QCOMPARE(rp.documents, 1);
    QCOMPARE(rp.pagesPrinted, paginas);

    rp.setFontName(QStringLiteral("Courier New"));
    rp.setFontSize(15);
    const Single h15 = rp.textHeight();
    const Single ancho15 = rp.textWidth(titulo);
    rp.setFontSize(10);
    const Single h10 = rp.textHeight();
    const Single W = rp.scaleWidth(), H = rp.scaleHeight();

    // Page 1: title block from y = 500 in 15-point type, the picture under it.
    const QList<PrinterEvent> p1 = rp.textsOnPage(1);
    QCOMPARE(p1.at(0).y, Single(500));
    QCOMPARE(p1.at(0).fontSize, Single(15));
    QCOMPARE(p1.at(2).text, titulo);
    QCOMPARE(p1.at(2).y, 500 + h15 + h15);
    QCOMPARE(p1.at(2).x, (W - ancho15) / 2); // left of the page's edge for a wide title
    const QList<PrinterEvent> pics = rp.pictures();
    QCOMPARE(pics.size(), 1);
    QCOMPARE(pics[0].page, 1);
    Single y = 500;
    for (int k = 0; k < 5; ++k)
        y += h15;
    QCOMPARE(pics[0].y, y);
    // The text from y = 6000, or below the picture when it reaches lower,
    // at the left margin, in 10-point type.
    const Single finImagen = pics[0].y + Single(pics[0].picture.height() * twipsPerPixel);
    int i = 0;
    while (rp.events.at(i).kind != PrinterEvent::Picture)
        ++i;
    const PrinterEvent &primero = rp.events.at(i + 1);
    QCOMPARE(primero.y, std::max(Single(6000), finImagen));
    QCOMPARE(primero.x, margenizquierdo);
    QCOMPARE(primero.fontSize, Single(10));

    // Footers "Page: n" on every page but the last; the date line closes it.
    for (int p = 1; p <= paginas; ++p) {
        const QList<PrinterEvent> t = rp.textsOnPage(p);
        QStringList pies;
        for (const PrinterEvent &e : t)
            if (e.text.startsWith("Page: ") || e.text.startsWith("Date: "))
                pies << e.text;
        if (p < paginas) {
            QCOMPARE(pies, QStringList{QStringLiteral("Page: %1").arg(p)});
        } else {
            QCOMPARE(pies, QStringList{fecha()});
            const PrinterEvent &d = t.last();
            QCOMPARE(d.text, fecha());
            QCOMPARE(d.fontSize, Single(10));
            QVERIFY(d.y >= H - margeninferior);
            QVERIFY(d.y < H - margeninferior + h10);
            QCOMPARE(d.x, (W - rp.textWidth(d.text)) / 2);
        }
    }
    QCOMPARE(rp.events.last().kind, PrinterEvent::EndDoc);
}

// A page begun by an LF or ".../..." gets the 10-point title block at y = 500;
// a page begun by the wrap test starts at its top with no header.
void TestChartReport::reportPageBreakHeader()
{
    {
        Grafica gr;
        gr.g.setTextResult(QStringLiteral("a .../... b"));
        gr.g.setTituloCaption(QStringLiteral("T"));
        RecordingPrinter rp;
        gr.g.btprint_Click();
        const QList<PrinterEvent> p2 = rp.textsOnPage(2);
        QStringList cab;
        for (int k = 0; k < 6; ++k)
            cab << p2.at(k).text;
        QCOMPARE(cab, (QStringList{" ", " ", "T", " ", " ", " "}));
        QCOMPARE(p2.at(0).y, Single(500));
        QCOMPARE(p2.at(2).fontSize, Single(10));
        // The forced break puts the footer one line under the bottom limit.
        const QList<PrinterEvent> p1 = rp.textsOnPage(1);
        QCOMPARE(p1.last().text, QStringLiteral("Page: 1"));
        QCOMPARE(p1.last().y, rp.scaleHeight() - margeninferior + rp.textHeight());
    }
    {
        Grafica gr;
        gr.g.setTextResult(QStringLiteral("palabra ").repeated(900));
        RecordingPrinter rp;
        gr.g.btprint_Click();
        const QList<PrinterEvent> p2 = rp.textsOnPage(2);
        QCOMPARE(p2.first().text, QStringLiteral("palabra"));
        QCOMPARE(p2.first().y, Single(0));
        QCOMPARE(p2.first().x, margenizquierdo);
    }
}

void TestChartReport::printFailureShown()
{
    Grafica gr;
    RecordingPrinter rp;
    rp.refuseToStart = true;
    ScriptedMsgBox box;
    gr.g.printButton()->click();
    QCOMPARE(box.shown.size(), 1);
    QCOMPARE(box.shown[0].style, int(vbCritical));
    QVERIFY(box.shown[0].prompt.startsWith(QStringLiteral("The report could not be printed.")));
    QCOMPARE(rp.documents, 0);
    // The next print works.
    rp.refuseToStart = false;
    gr.g.printButton()->click();
    QCOMPARE(rp.documents, 1);
    QCOMPARE(box.shown.size(), 1);
}

QTEST_MAIN(TestChartReport)
#include "tst_chartreport.moc"
