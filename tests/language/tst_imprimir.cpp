// The paged text printer on the recording printer: header, word wrap, line
// ends, tab stops, the ".../..." page break, fill and page-number footers.

#include "language/imprimir.h"
#include "platform/printer.h"
#include "platform/vberror.h"

#include <QFontDatabase>
#include <QtTest>

using namespace platform;

namespace
{

const QString pagina = QStringLiteral("P\u00e1gina: ");

struct Medidas {
    Single w0 = 0; // width of "0" at 10 points
    Single h = 0;  // line height at 10 points
    Single W = 0;
    Single H = 0;
};

Medidas medidas(RecordingPrinter &rp)
{
    rp.setFontName(QStringLiteral("Courier New"));
    rp.setFontSize(10);
    return {rp.textWidth(QStringLiteral("0")), rp.textHeight(), rp.scaleWidth(), rp.scaleHeight()};
}

// The texts printed on a page at or below ytop, as "text@column,row": the
// column counted in widths of "0" from the left margin, the row in line
// heights from ytop; a space shows as "_". A text that does not stand exactly
// on a column shows as "text@?".
QStringList cuerpo(const RecordingPrinter &rp, const Medidas &m, Long page, Single ytop)
{
    QStringList out;
    for (const PrinterEvent &e : rp.textsOnPage(page)) {
        if (e.y < ytop - 0.5f || e.text.startsWith(pagina))
            continue;
        const double col = (e.x - margenizquierdo) / m.w0;
        const double row = (e.y - ytop) / m.h;
        const QString t = e.text == " " ? QStringLiteral("_") : e.text;
        if (std::abs(col - std::round(col)) > 1e-3 || std::abs(row - std::round(row)) > 1e-3)
            out << t + "@?";
        else
            out << QStringLiteral("%1@%2,%3").arg(t).arg(std::lround(col)).arg(std::lround(row));
    }
    return out;
}

// y of the first body line under a header that starts at y0, with or without
// a subtitle line pair (the same additions as the printer makes).
Single debajoCabecera(const Medidas &m, Single y0, int lineas)
{
    Single y = y0;
    for (int i = 0; i < lineas; ++i)
        y += m.h;
    return y;
}

const PrinterEvent *pieDe(const RecordingPrinter &rp, Long page)
{
    for (const PrinterEvent &e : rp.events)
        if (e.kind == PrinterEvent::Text && e.page == page && e.text.startsWith(pagina))
            return &e;
    return nullptr;
}

QString repite(const QString &s, int n)
{
    return s.repeated(n);
}

} // namespace

class TestImprimir : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyTextOnePage();
    void lineas_data();
    void lineas();
    void forcedBreak_data();
    void forcedBreak();
    void forcedBreakAfterWrapAtPageEnd();
    void pageNumbersAcrossBreaks();
    void longTextPrintedWhole();
    void printerRefuses();
};

void TestImprimir::initTestCase()
{
    // Every width below is that of the fixed-pitch twin of Courier New.
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("Liberation Mono")));
}

void TestImprimir::emptyTextOnePage()
{
    RecordingPrinter rp;
    const Medidas m = medidas(rp);
    imprimirtexto(QString(), QStringLiteral("Idiomas"), QStringLiteral("idioma.lng"));
    QCOMPARE(rp.documents, 1);
    QCOMPARE(rp.pagesPrinted, 1);
    const QList<PrinterEvent> texts = rp.textsOnPage(1);
    QStringList shown;
    for (const PrinterEvent &e : texts)
        shown << e.text;
    QCOMPARE(shown, (QStringList{" ", " ", "Idiomas", " ", "idioma.lng", " ", pagina + "1"}));
    QCOMPARE(texts.first().y, Single(800));
    // The title and the subtitle centred on the third and fifth lines.
    QCOMPARE(texts.at(2).y, debajoCabecera(m, 800, 2));
    QCOMPARE(texts.at(2).x, (m.W - rp.textWidth(QStringLiteral("Idiomas"))) / 2);
    QCOMPARE(texts.at(4).y, debajoCabecera(m, 800, 4));
    QCOMPARE(texts.at(4).x, (m.W - rp.textWidth(QStringLiteral("idioma.lng"))) / 2);
    QCOMPARE(texts.first().fontName, QStringLiteral("Courier New"));
    QCOMPARE(texts.first().fontSize, Single(10));
    // The footer: one empty line at the first line at or below the bottom
    // limit, then the page label centred.
    const PrinterEvent &pie = texts.last();
    const Single limite = m.H - margeninferior;
    QVERIFY(pie.y - m.h >= limite - 0.01f);
    QVERIFY(pie.y - m.h < limite + m.h);
    QVERIFY(std::abs(pie.x - (m.W - 9 * m.w0) / 2) < 0.01f);
    // Nothing after the footer's new page but the end of the document.
    QCOMPARE(rp.events.at(rp.events.size() - 2).kind, PrinterEvent::NewPage);
    QCOMPARE(rp.events.last().kind, PrinterEvent::EndDoc);
}

void TestImprimir::lineas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("esperado");

    QTest::newRow("two LFs give one empty line") << "a\n\nb" << QStringList{"a@0,0", "b@0,2"};
    QTest::newRow("lone CR does nothing") << "a\rb" << QStringList{"a@0,0", "b@1,0"};
    QTest::newRow("CR LF is one line end") << "a\r\nb" << QStringList{"a@0,0", "b@0,1"};
    QTest::newRow("other control characters skipped")
        << QString("x") + QChar(1) + QChar(31) + "y" << QStringList{"x@0,0", "y@1,0"};
    QTest::newRow("spaces kept, not merged") << "a  b" << QStringList{"a@0,0", "_@1,0", "_@2,0", "b@3,0"};
    QTest::newRow("leading space") << " a" << QStringList{"_@0,0", "a@1,0"};
    QTest::newRow("TAB at line start") << "\tx" << QStringList{"x@10,0"};
    QTest::newRow("TAB on a stop moves on") << "\t\tx" << QStringList{"x@20,0"};
    QTest::newRow("TAB after a word") << "abc\tx" << QStringList{"abc@0,0", "x@10,0"};
    QTest::newRow("TAB after ten columns") << "0123456789\tx" << QStringList{"0123456789@0,0", "x@20,0"};
    QTest::newRow("TAB after nine columns") << "012345678\tx" << QStringList{"012345678@0,0", "x@10,0"};
    QTest::newRow("TAB after LF back at margin")
        << "abcdefghijkl\n\tx" << QStringList{"abcdefghijkl@0,0", "x@10,1"};
    QTest::newRow("page-break word inside a word") << "a.../...b" << QStringList{"a.../...b@0,0"};
    QTest::newRow("page-break word with a letter") << ".../...x" << QStringList{".../...x@0,0"};
    QTest::newRow("accented letters are word characters")
        << QString::fromUtf8("ca\u00f1\u00f3n x")
        << QStringList{QString::fromUtf8("ca\u00f1\u00f3n@0,0"), "_@5,0", "x@6,0"};

    // 87 columns fit between the margin and the page's right edge.
    QTest::newRow("word that just fits") << repite("w", 87) << QStringList{repite("w", 87) + "@0,0"};
    QTest::newRow("word wider than the line")
        << repite("w", 100) << QStringList{repite("w", 100) + "@0,1"}; // an empty line first
    QTest::newRow("one column too wide") << repite("w", 88) << QStringList{repite("w", 88) + "@0,1"};
    QTest::newRow("second word wraps")
        << repite("a", 80) + " " + repite("b", 10)
        << QStringList{repite("a", 80) + "@0,0", "_@80,0", repite("b", 10) + "@0,1"};
    {
        QStringList e{repite("a", 80) + "@0,0"};
        for (int i = 0; i < 10; ++i)
            e << QStringLiteral("_@%1,0").arg(80 + i); // spaces past the edge, all printed
        e << "next@0,1";
        QTest::newRow("trailing spaces printed in full") << repite("a", 80) + repite(" ", 10) + "next" << e;
    }
    QTest::newRow("TAB is not wrap-tested")
        << repite("a", 85) + "\tb" << QStringList{repite("a", 85) + "@0,0", "b@0,1"};
}

void TestImprimir::lineas()
{
    QFETCH(QString, texto);
    QFETCH(QStringList, esperado);
    RecordingPrinter rp;
    const Medidas m = medidas(rp);
    imprimirtexto(texto, QStringLiteral("T"), QString());
    QCOMPARE(rp.pagesPrinted, 1);
    QCOMPARE(cuerpo(rp, m, 1, debajoCabecera(m, 800, 5)), esperado);
}

void TestImprimir::forcedBreak_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("paginas");
    QTest::addColumn<QStringList>("pagina1");
    QTest::addColumn<QStringList>("pagina2");

    QTest::newRow("alone between words")
        << "x .../... y" << 2 << QStringList{"x@0,0", "_@1,0"} << QStringList{"_@0,0", "y@1,0"};
    QTest::newRow("last word") << "x .../..." << 2 << QStringList{"x@0,0", "_@1,0"} << QStringList{};
    QTest::newRow("first word") << ".../...\ny" << 2 << QStringList{} << QStringList{"y@0,1"};
    QTest::newRow("after LF") << "x\n.../...y z" << 1
                              << QStringList{"x@0,0", ".../...y@0,1", "_@8,1", "z@9,1"} << QStringList{};
    QTest::newRow("does not fit the line")
        << repite("a", 85) + " .../... b" << 2 << QStringList{repite("a", 85) + "@0,0", "_@85,0"}
        << QStringList{"_@0,0", "b@1,0"};
}

void TestImprimir::forcedBreak()
{
    QFETCH(QString, texto);
    QFETCH(int, paginas);
    QFETCH(QStringList, pagina1);
    QFETCH(QStringList, pagina2);
    RecordingPrinter rp;
    const Medidas m = medidas(rp);
    imprimirtexto(texto, QStringLiteral("T"), QStringLiteral("S"));
    QCOMPARE(rp.pagesPrinted, paginas);
    QCOMPARE(cuerpo(rp, m, 1, debajoCabecera(m, 800, 7)), pagina1);
    if (paginas < 2)
        return;
    // The footer of the broken page stands one line under the bottom limit.
    const PrinterEvent *pie1 = pieDe(rp, 1);
    QVERIFY(pie1);
    QCOMPARE(pie1->text, pagina + "1");
    QCOMPARE(pie1->y, m.H - margeninferior + m.h);
    // The next page: header at 800 with the title and a line holding " ".
    const QList<PrinterEvent> p2 = rp.textsOnPage(2);
    QStringList cab;
    for (int i = 0; i < 6; ++i)
        cab << p2.at(i).text;
    QCOMPARE(cab, (QStringList{" ", " ", "T", " ", " ", " "}));
    QCOMPARE(p2.first().y, Single(800));
    QCOMPARE(cuerpo(rp, m, 2, debajoCabecera(m, 800, 7)), pagina2);
    QCOMPARE(rp.textsOnPage(2).last().text, pagina + "2");

    if (QByteArray(QTest::currentDataTag()) == "does not fit the line") {
        // The wrap's line end comes before the footer of the forced break.
        const Single fila0 = debajoCabecera(m, 800, 7);
        int i = 0;
        while (rp.events.at(i).text != repite("a", 85))
            ++i;
        QCOMPARE(rp.events.at(i + 1).text, QStringLiteral(" "));
        QVERIFY(rp.events.at(i + 2).text.isEmpty() && rp.events.at(i + 2).endsLine);
        QCOMPARE(rp.events.at(i + 2).y, fila0);
        QCOMPARE(rp.events.at(i + 3).y, m.H - margeninferior); // the footer's empty line
    }
}

// The wrap before a ".../..." that does not fit ends the last line of a page:
// the wrap prints the footer of page 1, then the forced break gives page 2
// with nothing but its footer, and the text goes on on page 3.
void TestImprimir::forcedBreakAfterWrapAtPageEnd()
{
    RecordingPrinter rp;
    const Medidas m = medidas(rp);
    // Rows of page 1 that an LF leaves on the page: y <= H - 1000.
    Single y = debajoCabecera(m, 800, 5);
    int filas = 0;
    while (true) {
        const Single siguiente = y + m.h;
        if (m.H - margeninferior < siguiente)
            break;
        y = siguiente;
        ++filas;
    }
    const QString texto = repite("L\n", filas) + repite("a", 85) + " .../... z";
    imprimirtexto(texto, QStringLiteral("T"), QString());
    QCOMPARE(rp.pagesPrinted, 3);
    const QList<PrinterEvent> p1 = rp.textsOnPage(1);
    QCOMPARE(p1.at(p1.size() - 3).text, repite("a", 85));
    QCOMPARE(p1.last().text, pagina + "1");
    const QList<PrinterEvent> p2 = rp.textsOnPage(2);
    QCOMPARE(p2.size(), 1);
    QCOMPARE(p2.first().text, pagina + "2");
    QCOMPARE(p2.first().y, m.H - margeninferior + m.h);
    const QList<PrinterEvent> p3 = rp.textsOnPage(3);
    QCOMPARE(p3.at(2).text, QStringLiteral("T"));
    QCOMPARE(p3.last().text, pagina + "3");
    QVERIFY(cuerpo(rp, m, 3, debajoCabecera(m, 800, 7)).contains("z@1,0"));
}

void TestImprimir::pageNumbersAcrossBreaks()
{
    RecordingPrinter rp;
    const Medidas m = medidas(rp);
    // LF page ends, then a forced break, then pages that end by wrapping.
    const QString texto = repite("line\n", 80) + ".../... " + repite("word ", 3000) + "fin";
    imprimirtexto(texto, QStringLiteral("T"), QStringLiteral("S"));
    QVERIFY(rp.pagesPrinted >= 5);
    bool porSalto = false;
    bool porAjuste = false;
    for (int p = 1; p <= rp.pagesPrinted; ++p) {
        const QList<PrinterEvent> t = rp.textsOnPage(p);
        QVERIFY(!t.isEmpty());
        int pies = 0;
        for (const PrinterEvent &e : t)
            pies += e.text.startsWith(pagina);
        QCOMPARE(pies, 1);
        QCOMPARE(t.last().text, pagina + QString::number(p));
        if (p > 1 && t.first().y == Single(800) && t.at(2).text == "T")
            porSalto = true; // begun by an LF or ".../...": header
        if (p > 1 && t.first().y == Single(0) && t.first().text == "word") {
            porAjuste = true; // begun by the wrap test: no header, at the top edge
            QCOMPARE(t.first().x, margenizquierdo);
        }
        QVERIFY(t.last().y < m.H);
    }
    QVERIFY(porSalto);
    QVERIFY(porAjuste);
    QCOMPARE(rp.events.last().kind, PrinterEvent::EndDoc);
}

// Texts longer than a 16-bit count are printed to their end.
void TestImprimir::longTextPrintedWhole()
{
    RecordingPrinter rp;
    const QString texto = repite("abcd ", 8000) + "END";
    QVERIFY(texto.size() > 32767);
    imprimirtexto(texto, QStringLiteral("T"), QString());
    QCOMPARE(rp.documents, 1);
    const QList<PrinterEvent> t = rp.textsOnPage(rp.pagesPrinted);
    QCOMPARE(t.at(t.size() - 2).text, QStringLiteral("END"));
}

void TestImprimir::printerRefuses()
{
    RecordingPrinter rp;
    rp.refuseToStart = true;
    try {
        imprimirtexto(QStringLiteral("x"), QStringLiteral("T"), QString());
        QFAIL("the failure did not reach the caller");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), vberr::PrinterError);
    }
    QCOMPARE(rp.documents, 0);
    QVERIFY(!rp.documentOpen());
}

QTEST_MAIN(TestImprimir)
#include "tst_imprimir.moc"
