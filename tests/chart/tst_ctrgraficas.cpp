// The chart control's outer face: properties, property bag, logo click,
// minimum size and layout.

#include "chart/ctrgraficas.h"
#include "platform/msgbox.h"
#include "platform/propertybag.h"
#include "platform/shell.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using platform::Single;

namespace
{

// A control of the given size in pixels, laid out once.
struct Chart {
    explicit Chart(int wPx, int hPx, bool pie = true)
    {
        c.UserControl_InitProperties();
        if (!pie)
            c.setPie(false);
        c.resize(wPx, hPx);
        c.UserControl_Resize();
    }
    platform::ScriptedMsgBox boxes;
    ctrgraficas c;
};

// Windowed controls (frames, picture boxes, buttons, the text boxes) sit on
// whole pixels: what they read back is the value rounded to 15 twips.
double snap(double twips)
{
    return qRound(twips / 15.0) * 15.0;
}

} // namespace

class TestCtrGraficas : public QObject
{
    Q_OBJECT
private slots:
    void fontsAreInstalled();
    void constituentsCarryTheirNames();
    void titleAlignment_data();
    void titleAlignment();
    void footerSwitchesAllFourAtOnce();
    void buttonsReadBackTheCopyButton();
    void numGraf_data();
    void numGraf();
    void settersReportTheirNames();
    void mouseLabelPointerSetsAllFourBoxes();
    void bagWriteOrderAndValues();
    void bagRoundTrip();
    void emptyBagGivesDefaults();
    void logoClickStartsTheBrowserAndSurvivesFailure();
    void minimumSize_data();
    void minimumSize();
    void shownWindowIsEnlargedToo();
    void layout_data();
    void layout();
    void footerOffKeepsFooterWhereItWas();
    void limitBoxesFollowThePlotAtOnce();
    void limitBoxesInsideTheChart_data();
    void limitBoxesInsideTheChart();
    void longYCaptionStaysInItsMargin_data();
    void longYCaptionStaysInItsMargin();
    void viewShownInBoxes_data();
    void viewShownInBoxes();
    void zeroSpanLeavesScaleAndPicture();
};

void TestCtrGraficas::fontsAreInstalled()
{
    const QStringList fams = QFontDatabase::families();
    QVERIFY(fams.contains(QStringLiteral("Liberation Serif")));
    QVERIFY(fams.contains(QStringLiteral("Liberation Sans")));
    ctrgraficas c;
    QCOMPARE(c.captionX()->font().family(), QStringLiteral("Liberation Serif"));
    QVERIFY(c.captionX()->font().italic());
    QCOMPARE(c.captionX()->font().pointSize(), 12);
    QCOMPARE(c.titleLabel()->font().family(), QStringLiteral("Liberation Sans"));
}

void TestCtrGraficas::constituentsCarryTheirNames()
{
    ctrgraficas c;
    const QStringList names = {"frmpie",      "btclipb",    "btprint",     "ImgLogo",     "lbcomentario",
                               "pctgraficas", "frmgrafico", "txtescala_1", "txtescala_4", "pctgrafico",
                               "lbleyenda_1", "lbx",        "lby"};
    for (const QString &n : names)
        QVERIFY2(c.findChild<QObject *>(n), qPrintable(n));
    QVERIFY(c.findChild<LineaControl *>(QStringLiteral("Linev_10")));
    QVERIFY(c.findChild<LineaControl *>(QStringLiteral("Lineh_0")));
    QVERIFY(c.hiddenCanvas()->isHidden());
    QCOMPARE(c.legendLabel(1)->text(), QStringLiteral("Label1"));
    QVERIFY(!c.legendLabel(2));
    QCOMPARE(c.limitBox(1)->NumberBox(), 2);
}

void TestCtrGraficas::titleAlignment_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("readBack");
    QTest::addColumn<int>("qtAlign");
    QTest::newRow("left") << 0 << 0 << int(Qt::AlignLeft);
    QTest::newRow("right") << 1 << 1 << int(Qt::AlignRight);
    QTest::newRow("centre") << 2 << 2 << int(Qt::AlignHCenter);
    QTest::newRow("7 is centred") << 7 << 2 << int(Qt::AlignHCenter);
}

void TestCtrGraficas::titleAlignment()
{
    QFETCH(int, value);
    QFETCH(int, readBack);
    QFETCH(int, qtAlign);
    ctrgraficas c;
    c.setTituloAlignement(value);
    QCOMPARE(c.TituloAlignement(), readBack);
    QCOMPARE(int(c.titleLabel()->alignment() & Qt::AlignHorizontal_Mask), qtAlign);
    // a negative value is refused and changes nothing
    QVERIFY_THROWS_EXCEPTION(platform::VbError, c.setTituloAlignement(-1));
    QCOMPARE(c.TituloAlignement(), readBack);
}

void TestCtrGraficas::footerSwitchesAllFourAtOnce()
{
    ctrgraficas c;
    c.setLogo(false);
    c.setBotones(false);
    c.setPie(true);
    QVERIFY(c.Logo());
    QVERIFY(c.Botones());
    QVERIFY(!c.printButton()->isHidden());
    c.setPie(false);
    QVERIFY(!c.Pie());
    QVERIFY(c.footer()->isHidden());
    QVERIFY(c.copyButton()->isHidden() && c.printButton()->isHidden() && c.logo()->isHidden());
}

void TestCtrGraficas::buttonsReadBackTheCopyButton()
{
    ctrgraficas c;
    c.printButton()->hide();
    QVERIFY(c.Botones());
    c.copyButton()->hide();
    c.printButton()->show();
    QVERIFY(!c.Botones());
}

void TestCtrGraficas::numGraf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<bool>("fails");
    QTest::newRow("3") << "3"
                       << "3" << false;
    QTest::newRow("half to even down") << "2.5"
                                       << "2" << false;
    QTest::newRow("half to even up") << "3.5"
                                     << "4" << false;
    QTest::newRow("blanks") << " 7 "
                            << "7" << false;
    QTest::newRow("not a number") << "abc"
                                  << "5" << true;
    QTest::newRow("overflow") << "40000"
                              << "5" << true;
}

void TestCtrGraficas::numGraf()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QFETCH(bool, fails);
    QLocale::setDefault(QLocale::c());
    ctrgraficas c;
    c.setNumGraf(QStringLiteral("5"));
    if (fails)
        QVERIFY_THROWS_EXCEPTION(platform::VbError, c.setNumGraf(text));
    else
        c.setNumGraf(text);
    QCOMPARE(c.NumGraf(), readBack);
}

void TestCtrGraficas::settersReportTheirNames()
{
    ctrgraficas c;
    QSignalSpy spy(&c, &ctrgraficas::PropertyChanged);
    c.setTituloCaption(QStringLiteral("t"));
    c.setLeyendXCaption(QStringLiteral("x"));
    c.setTituloForeColor(0xFF);
    c.setImgWebPage(QStringLiteral("w"));
    c.setPie(true);
    QCOMPARE(spy.size(), 5);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("TituloCaption"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("LeyendXCaption"));
    QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("TituloForeColor"));
    QCOMPARE(spy.at(3).at(0).toString(), QStringLiteral("ImgWebPage"));
    QCOMPARE(spy.at(4).at(0).toString(), QStringLiteral("Pie"));
    QCOMPARE(c.LeyendXCaption(), QStringLiteral("x"));
    QCOMPARE(c.TituloForeColor(), 0xFFu);
}

void TestCtrGraficas::mouseLabelPointerSetsAllFourBoxes()
{
    ctrgraficas c;
    c.setMouseLabelPointer(2);
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(c.limitBox(i)->MousePointer(), 2);
    c.limitBox(1)->setMousePointer(0);
    QCOMPARE(c.MouseLabelPointer(), 0); // read from box 1 only
}

void TestCtrGraficas::bagWriteOrderAndValues()
{
    ctrgraficas c;
    c.setNumGraf(QStringLiteral("3"));
    c.setBotones(false);
    c.setCopyCaption(QStringLiteral("Copy"));
    platform::PropertyBag bag;
    c.UserControl_WriteProperties(bag);
    const QStringList expected = {"Pie",          "Logo",          "Botones",           "CopyCaption",
                                  "PrintCaption", "TituloCaption", "ImgToolTip",        "ImgWebPage",
                                  "TextResult",   "NumGraf",       "MouseLabelPointer", "MouseLabelIcon"};
    QCOMPARE(bag.names(), expected);
    QCOMPARE(bag.readProperty(QStringLiteral("NumGraf")).toInt(), 3);
    QCOMPARE(bag.readProperty(QStringLiteral("Botones")).toBool(), false);
    QCOMPARE(bag.readProperty(QStringLiteral("Pie")).toBool(), true);
    QCOMPARE(bag.readProperty(QStringLiteral("CopyCaption")).toString(), QStringLiteral("Copy"));
}

void TestCtrGraficas::bagRoundTrip()
{
    ctrgraficas a;
    a.setPie(false);
    a.setBotones(true);
    a.setLogo(false);
    a.setCopyCaption(QStringLiteral("Copiar"));
    a.setPrintCaption(QStringLiteral("Imprimir"));
    a.setTituloCaption(QStringLiteral("Título"));
    a.setImgToolTip(QStringLiteral("tip"));
    a.setImgWebPage(QStringLiteral("http://example.org"));
    a.setTextResult(QStringLiteral("result"));
    a.setNumGraf(QStringLiteral("7"));
    a.setMouseLabelPointer(99);
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    a.setMouseLabelIcon(icon);
    platform::PropertyBag bag;
    a.UserControl_WriteProperties(bag);
    const platform::PropertyBag reread = platform::PropertyBag::load(bag.save());

    ctrgraficas b;
    b.UserControl_ReadProperties(reread);
    QVERIFY(!b.Pie());
    QVERIFY(b.footer()->isHidden());
    QVERIFY(!b.Logo());
    QCOMPARE(b.CopyCaption(), QStringLiteral("Copiar"));
    QCOMPARE(b.PrintCaption(), QStringLiteral("Imprimir"));
    QCOMPARE(b.TituloCaption(), QStringLiteral("Título"));
    QCOMPARE(b.ImgToolTip(), QStringLiteral("tip"));
    QCOMPARE(b.ImgWebPage(), QStringLiteral("http://example.org"));
    QCOMPARE(b.TextResult(), QStringLiteral("result"));
    QCOMPARE(b.NumGraf(), QStringLiteral("7"));
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(b.limitBox(i)->MousePointer(), 99);
        QCOMPARE(b.limitBox(i)->MouseIcon().size(), QSize(16, 16));
    }
    // reading the bag leaves the buttons to "Botones", not to "Pie"
    QVERIFY(!b.copyButton()->isHidden());
    // and the views stay at zero
    QCOMPARE(b.escalaMax().x, 0.0);
}

void TestCtrGraficas::emptyBagGivesDefaults()
{
    ctrgraficas c;
    c.setCopyCaption(QStringLiteral("old"));
    c.setNumGraf(QStringLiteral("4"));
    c.setPie(false);
    c.UserControl_ReadProperties(platform::PropertyBag());
    QVERIFY(c.Pie());
    QVERIFY(!c.footer()->isHidden());
    QVERIFY(c.Logo());
    QVERIFY(c.Botones());
    QCOMPARE(c.CopyCaption(), QString());
    QCOMPARE(c.NumGraf(), QStringLiteral("1"));
}

void TestCtrGraficas::logoClickStartsTheBrowserAndSurvivesFailure()
{
    platform::RecordingShell shell;
    shell.result = false;
    ctrgraficas c;
    c.setImgWebPage(QStringLiteral("http://example.org/a b"));
    QTest::mouseClick(c.logo(), Qt::LeftButton);
    QCOMPARE(shell.calls.size(), 1);
    QCOMPARE(shell.calls[0].commandLine, QStringLiteral("explorer http://example.org/a b"));
    QCOMPARE(shell.calls[0].windowStyle, int(platform::vbNormalFocus));
    QTest::mouseClick(c.logo(), Qt::LeftButton);
    QCOMPARE(shell.calls.size(), 2);
}

void TestCtrGraficas::minimumSize_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("pie");
    QTest::addColumn<int>("finalW");
    QTest::addColumn<int>("finalH");
    // 7995 twips = 533 px; 4795 twips rounds up to 320 px; 3495 twips = 233 px.
    QTest::newRow("narrow and low") << 300 << 100 << true << 533 << 320;
    QTest::newRow("narrow only") << 532 << 400 << true << 533 << 400;
    QTest::newRow("footer, 320 is enough") << 600 << 320 << true << 600 << 320;
    QTest::newRow("footer, 319 raised") << 600 << 319 << true << 600 << 320;
    QTest::newRow("no footer, 233 is enough") << 600 << 233 << false << 600 << 233;
    QTest::newRow("no footer, 232 raised") << 600 << 232 << false << 600 << 233;
}

void TestCtrGraficas::minimumSize()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(bool, pie);
    QFETCH(int, finalW);
    QFETCH(int, finalH);
    Chart ch(w, h, pie);
    QCOMPARE(ch.c.width(), finalW);
    QCOMPARE(ch.c.height(), finalH);
    // the layout ran for the final size
    QCOMPARE(ch.c.place(ch.c.chartArea()).Width(), Single(finalW * 15));
    // the footer's 1300 twips are 87 pixels
    const Single areaH = pie ? Single(finalH * 15 - 1305) : Single(finalH * 15);
    QCOMPARE(ch.c.place(ch.c.chartArea()).Height(), areaH);
}

void TestCtrGraficas::shownWindowIsEnlargedToo()
{
    platform::ScriptedMsgBox boxes;
    ctrgraficas c;
    c.UserControl_InitProperties();
    c.resize(600, 400);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    c.resize(200, 100);
    QTRY_COMPARE(c.width(), 533);
    QTRY_COMPARE(c.height(), 320);
    QTRY_COMPARE(c.place(c.chartArea()).Width(), Single(7995));
}

void TestCtrGraficas::layout_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("pie");
    QTest::addColumn<double>("areaH");
    QTest::addColumn<double>("plotL");
    QTest::addColumn<double>("plotT");
    QTest::addColumn<double>("plotW");
    QTest::addColumn<double>("plotH");
    // 800 x 560 px = 12000 x 8400 twips; the footer's 1300 twips become 87 px
    // = 1305 twips. Plot: height 0.8 x 7095 = 5676 -> 378 px; top
    // (7095 - 5670) / 3 = 475 -> 32 px.
    QTest::newRow("800x560 footer") << 800 << 560 << true << 7095.0 << 1350.0 << 480.0 << 10200.0 << 5670.0;
    // top (8400 - 6720) / 3 = 560 -> 37 px
    QTest::newRow("800x560 no footer")
        << 800 << 560 << false << 8400.0 << 1350.0 << 555.0 << 10200.0 << 6720.0;
    // 1000 x 700 px = 15000 x 10500 twips; left (15000 - 12750) x 3/4 = 1687.5 -> 113 px
    QTest::newRow("1000x700 footer") << 1000 << 700 << true << 9195.0 << 1695.0 << 615.0 << 12750.0 << 7350.0;
    // 533 x 320 px: width 0.85 x 7995 = 6795.75 -> 453 px, left (7995 - 6795) x 3/4 = 900
    QTest::newRow("minimum") << 533 << 320 << true << 3495.0 << 900.0 << 240.0 << 6795.0 << 2790.0;
}

void TestCtrGraficas::layout()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(bool, pie);
    QFETCH(double, areaH);
    QFETCH(double, plotL);
    QFETCH(double, plotT);
    QFETCH(double, plotW);
    QFETCH(double, plotH);
    Chart ch(w, h, pie);
    ctrgraficas &c = ch.c;
    const double W = w * 15.0;
    QCOMPARE(c.place(c.chartArea()).Height(), Single(areaH));
    const Colocacion &p = c.place(c.plotBox());
    QCOMPARE(p.Left(), Single(plotL));
    QCOMPARE(p.Top(), Single(plotT));
    QCOMPARE(p.Width(), Single(plotW));
    QCOMPARE(p.Height(), Single(plotH));

    if (pie) {
        QCOMPARE(c.place(c.footer()).Top(), Single(areaH));
        QCOMPARE(c.place(c.footer()).Height(), Single(1305));
        // title centred in the footer (a label: not on whole pixels)
        const double tl = (W - 5610) / 2;
        QCOMPARE(c.place(c.titleLabel()).Left(), Single(tl));
        QCOMPARE(c.place(c.titleLabel()).Top(), Single((1305 - 720) / 2.0));
        // buttons between the title's right edge and the footer's, in its upper and lower halves
        QCOMPARE(c.place(c.copyButton()).Left(), Single(snap((tl + 5610 + W - 1095) / 2)));
        QCOMPARE(c.place(c.copyButton()).Top(), Single(60));   // (652.5 - 525) / 2 = 63.75
        QCOMPARE(c.place(c.printButton()).Top(), Single(720)); // (1957.5 - 525) / 2 = 716.25
        const Colocacion &logo = c.place(c.logo());
        QCOMPARE(logo.Left(), Single((tl - logo.Width()) / 2));
        QCOMPARE(logo.Top(), Single((1305 - logo.Height()) / 2));
    }

    // y caption at half the plot's height from the area's top, not centred on the plot
    QCOMPARE(c.place(c.captionY()).Top(), Single(plotH / 2));
    const Colocacion &lx = c.place(c.captionX());
    const double band = areaH - (plotT + plotH);
    QCOMPARE(lx.Top(), Single(plotT + plotH + (band - lx.Height()) / 2));

    textextend *b1 = c.limitBox(1), *b3 = c.limitBox(3), *b4 = c.limitBox(4);
    const double wb = snap(0.9 * plotL);
    QCOMPARE(b1->Left(), Single(15)); // 10 twips on whole pixels
    QCOMPARE(b1->Width(), Single(wb));
    QCOMPARE(b1->Top(), Single(snap(plotT - b1->Height() / 2)));
    QCOMPARE(c.limitBox(2)->Top(), Single(snap(plotT + plotH - c.limitBox(2)->Height() / 2)));
    QCOMPARE(b3->Left(), Single(snap(plotL - wb / 2)));
    QCOMPARE(b4->Left(), Single(snap(plotL + plotW - wb)));
    QCOMPARE(b3->Top(), Single(snap(plotT + plotH + (band - b3->Height()) / 2)));

    // tick lines: box width minus its Left plus 50; 0 on the plot's edges,
    // 10 pulled 20 twips inside
    QCOMPARE(c.tickH(0)->X1, Single(wb - 15 + 50));
    QCOMPARE(c.tickH(0)->X2, Single(plotL + (wb - 15 + 50) - wb));
    QCOMPARE(c.tickH(0)->Y1, Single(plotT));
    QCOMPARE(c.tickH(10)->Y1, Single(plotT + plotH - 20));
    QCOMPARE(c.tickH(10)->Y2, c.tickH(10)->Y1);
    QCOMPARE(c.tickH(5)->Y1, Single(plotT + 5 * plotH / 10));
    QCOMPARE(c.tickV(0)->X1, Single(plotL));
    QCOMPARE(c.tickV(10)->X1, Single(plotL + plotW - 20));
    QCOMPARE(c.tickV(3)->X2, Single(plotL + 3 * plotW / 10));
    QCOMPARE(c.tickV(3)->Y1, Single(plotT + plotH));
    QCOMPARE(c.tickV(3)->Y2, Single(plotT + plotH + (band - lx.Height()) / 2 - 250));
}

void TestCtrGraficas::footerOffKeepsFooterWhereItWas()
{
    Chart ch(800, 560);
    const Single top = ch.c.place(ch.c.footer()).Top();
    QCOMPARE(top, Single(7095));
    ch.c.setPie(false);
    ch.c.resize(800, 600);
    ch.c.UserControl_Resize();
    QCOMPARE(ch.c.place(ch.c.chartArea()).Height(), Single(9000));
    QCOMPARE(ch.c.place(ch.c.footer()).Top(), top);
}

void TestCtrGraficas::limitBoxesFollowThePlotAtOnce()
{
    Chart ch(800, 560);
    ctrgraficas &c = ch.c;
    textextend *b3 = c.limitBox(3), *b4 = c.limitBox(4);
    QCOMPARE(b3->Width(), 1215.0); // 0.9 x 1350
    // a wider chart moves the plot's left edge to 1695 (1687.5 on whole
    // pixels); one run places the boxes by their new width
    c.resize(1000, 560);
    c.UserControl_Resize();
    const double newW = snap(0.9 * 1695);
    QCOMPARE(b3->Width(), Single(newW));
    QCOMPARE(b3->Left(), Single(snap(1695 - newW / 2)));
    QCOMPARE(b4->Left(), Single(snap(1695 + 12750 - newW)));
    // and narrower again
    c.resize(800, 560);
    c.UserControl_Resize();
    QCOMPARE(b3->Left(), Single(snap(1350 - 1215.0 / 2)));
    QCOMPARE(b4->Left(), Single(snap(1350 + 10200 - 1215.0)));
}

void TestCtrGraficas::limitBoxesInsideTheChart_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("minimum") << 533 << 320;
    QTest::newRow("narrow and high") << 533 << 900;
    QTest::newRow("as the window opens") << 860 << 640;
    QTest::newRow("large") << 1080 << 780;
    QTest::newRow("wide and low") << 1800 << 320;
}

void TestCtrGraficas::limitBoxesInsideTheChart()
{
    QFETCH(int, w);
    QFETCH(int, h);
    // Shown at its size from the start, as the window opens, and drawn only
    // after; then resized to this size from another one.
    for (const QSize antes : {QSize(w, h), QSize(700, 500)}) {
        Chart ch(antes.width(), antes.height());
        ctrgraficas &c = ch.c;
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.resize(w, h);
        QTRY_COMPARE(c.size(), QSize(w, h));
        const QRect area = c.chartArea()->rect();
        const QRect plot = c.plotBox()->geometry();
        for (int i = 1; i <= 4; ++i) {
            const QRect box = c.limitBox(i)->geometry();
            QVERIFY2(area.contains(box), qPrintable(QStringLiteral("box %1").arg(i)));
        }
        QCOMPARE(c.limitBox(4)->geometry().right(), plot.right());
        const QRect b3 = c.limitBox(3)->geometry();
        QVERIFY(qAbs(b3.left() + b3.width() / 2 - plot.left()) <= 1); // centred under the plot's left edge
    }
}

void TestCtrGraficas::longYCaptionStaysInItsMargin_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("short caption, least width") << 533 << "Y" << false;
    QTest::newRow("fits the margin") << 1000 << "Voltage (V)" << false;
    QTest::newRow("wider than the margin") << 533 << "Voltage (V)" << true;
    QTest::newRow("three words") << 533 << "Tension in volts" << true;
}

void TestCtrGraficas::longYCaptionStaysInItsMargin()
{
    QFETCH(int, w);
    QFETCH(QString, caption);
    QFETCH(bool, wraps);
    Chart ch(w, 400);
    ctrgraficas &c = ch.c;
    c.setLeyendYCaption(caption);
    c.UserControl_Resize();
    QLabel *l = c.captionY();
    const QRect g = l->geometry();
    // Within the margin left of the plot, and tall enough for its lines.
    QVERIFY(g.left() >= 0);
    QVERIFY(g.right() < c.plotBox()->geometry().left());
    const QFontMetrics fm(l->font());
    QCOMPARE(g.height() / fm.lineSpacing() > 1, wraps);
    const QRect needed =
        fm.boundingRect(QRect(0, 0, g.width(), 1 << 16), Qt::AlignHCenter | Qt::TextWordWrap, caption);
    QVERIFY(needed.width() <= g.width());
    QVERIFY(needed.height() <= g.height());
    QCOMPARE(l->wordWrap(), wraps);
}

void TestCtrGraficas::viewShownInBoxes_data()
{
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<QString>("text3");
    QTest::addColumn<QString>("text4");
    QTest::newRow("fraction") << 0.5 << 1234.5 << "0.5000"
                              << "1234.5000";
    QTest::newRow("negative") << -2.0 << 3.14159 << "-2.0000"
                              << "3.1416";
}

void TestCtrGraficas::viewShownInBoxes()
{
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(QString, text3);
    QFETCH(QString, text4);
    QLocale::setDefault(QLocale(QLocale::German)); // the comma locale changes nothing
    Chart ch(800, 560);
    ch.c.setEscala(Punto{xmin, -1}, Punto{xmax, 7});
    ch.c.UserControl_Resize();
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ch.c.limitBox(3)->text(), text3);
    QCOMPARE(ch.c.limitBox(4)->text(), text4);
    QCOMPARE(ch.c.limitBox(2)->text(), QStringLiteral("-1.0000"));
    QCOMPARE(ch.c.limitBox(1)->text(), QStringLiteral("7.0000"));
    QCOMPARE(ch.c.plotBox()->scaleLeft(), Single(xmin));
    QCOMPARE(ch.c.plotBox()->scaleWidth(), Single(xmax - xmin));
    QCOMPARE(ch.c.plotBox()->scaleHeight(), Single(-8));
    QVERIFY(ch.boxes.shown.isEmpty());
}

void TestCtrGraficas::zeroSpanLeavesScaleAndPicture()
{
    Chart ch(800, 560);
    ch.c.setEscala(Punto{0, 0}, Punto{10, 5});
    ch.c.UserControl_Resize();
    platform::PictureBox *p = ch.c.plotBox();
    p->line(0, 0, 10, 5, 0xFF);
    ch.c.setEscala(Punto{2, 3}, Punto{4, 3}); // a horizontal line's extents
    ch.c.UserControl_Resize();
    QVERIFY(ch.boxes.shown.isEmpty());
    QCOMPARE(ch.c.limitBox(2)->text(), QStringLiteral("3.0000"));
    QCOMPARE(p->scaleTop(), Single(3));
    QCOMPARE(p->scaleLeft(), Single(2));
    QCOMPARE(p->scaleHeight(), Single(-5)); // the previous height scale
    QCOMPARE(p->scaleWidth(), Single(10));
    // the earlier drawing is still there
    const QImage img = p->image();
    bool red = false;
    for (int y = 0; y < img.height() && !red; ++y)
        for (int x = 0; x < img.width() && !red; ++x)
            red = (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000u;
    QVERIFY(red);
}

QTEST_MAIN(TestCtrGraficas)
#include "tst_ctrgraficas.moc"
