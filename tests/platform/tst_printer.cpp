// The page printer: fonts and widths, the page model through the recording
// printer, and real PDF output from the system printer.

#include "platform/fontfamily.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace
{

// Runs a poppler tool; skips the test when it is not installed.
QString runTool(const QString &tool, const QStringList &args, bool *ran)
{
    *ran = false;
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return {};
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    *ran = true;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// A picture with one-pixel detail in many colours: any lossy compression
// changes some of its pixels.
QImage detailedPicture()
{
    QImage img(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool on = (x + y) % 2 == 0;
            img.setPixel(x, y,
                         on ? qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, ((x ^ y) * 19) & 0xFF)
                            : qRgb(255, 255, 255));
        }
    return img;
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT

private slots:
    void fontTwins_data();
    void fontTwins();
    void textMeasures();
    void pageModel_data();
    void pageModel();
    void refusingPrinter();
    void killDocAbandons();
    void pdfWhenNoPrinter();
    void pdfPicturesAreLossless();
    void pdfFolderNotWritable();
    void pdfEndsWithoutEmptyPage();
};

void TestPrinter::fontTwins_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("twin");
    QTest::newRow("courier new") << "Courier New"
                                 << "Liberation Mono";
    QTest::newRow("case ignored") << "courier new"
                                  << "Liberation Mono";
    QTest::newRow("times new roman") << "Times New Roman"
                                     << "Liberation Serif";
    QTest::newRow("arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("ms sans serif") << "MS Sans Serif"
                                   << "Liberation Sans";
    QTest::newRow("no twin") << "Some Unknown Face"
                             << "";
}

void TestPrinter::fontTwins()
{
    QFETCH(QString, name);
    QFETCH(QString, twin);
    QCOMPARE(metricTwin(name), twin);
    const QString family = resolveFontFamily(name);
    if (twin.isEmpty()) {
        QCOMPARE(family, name);
    } else {
        // Without the twin installed every width below would be wrong.
        QVERIFY2(QFontDatabase::hasFamily(twin), qPrintable(twin + " is not installed"));
        QVERIFY(family == twin || QFontDatabase::hasFamily(name));
        QVERIFY(QFontDatabase::hasFamily(family));
    }
}

void TestPrinter::textMeasures()
{
    QVERIFY(QFontDatabase::hasFamily(QStringLiteral("Liberation Mono")));
    RecordingPrinter rp;
    rp.setFontName(QStringLiteral("Courier New"));
    rp.setFontSize(10);
    // Courier New advances 1229/2048 em: 120.02 twips at 10 points.
    const Single w0 = rp.textWidth(QStringLiteral("0"));
    QVERIFY2(std::abs(w0 - 120.02f) < 0.05f, qPrintable(QString::number(w0)));
    QCOMPARE(rp.textWidth(QString()), Single(0));
    // Fixed pitch, accented letters included.
    QVERIFY(std::abs(rp.textWidth(QStringLiteral("P\u00e1gina: 12")) - 10 * w0) < 0.01f);
    // Line height: ascent plus descent, about 1.133 em.
    const Single h10 = rp.textHeight();
    QVERIFY2(h10 > 220 && h10 < 232, qPrintable(QString::number(h10)));
    rp.setFontSize(15);
    QVERIFY(std::abs(rp.textWidth(QStringLiteral("0")) - 1.5f * w0) < 0.05f);
    QVERIFY(std::abs(rp.textHeight() - 1.5f * h10) < 1.0f);
    // Page size of A4 in twips.
    QCOMPARE(rp.scaleWidth(), Single(11906));
    QCOMPARE(rp.scaleHeight(), Single(16838));
}

// Each row is a script of operations: t = print text, l = end the line with
// text, n = new page, e = end of document. It checks the pages printed.
void TestPrinter::pageModel_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("documents");
    QTest::addColumn<int>("pages");

    QTest::newRow("nothing printed") << QStringList{"e"} << 0 << 0;
    QTest::newRow("one line") << QStringList{"l:a", "e"} << 1 << 1;
    QTest::newRow("new page last adds no page") << QStringList{"t:a", "n", "e"} << 1 << 1;
    QTest::newRow("text on second page") << QStringList{"t:a", "n", "t:b", "e"} << 1 << 2;
    QTest::newRow("blank page between is kept") << QStringList{"t:a", "n", "n", "t:b", "e"} << 1 << 3;
    QTest::newRow("two new pages last") << QStringList{"t:a", "n", "n", "e"} << 1 << 1;
    QTest::newRow("line end alone begins a page") << QStringList{"t:a", "n", "l:", "e"} << 1 << 2;
    QTest::newRow("new page before any output") << QStringList{"n", "t:a", "e"} << 1 << 2;
}

void TestPrinter::pageModel()
{
    QFETCH(QStringList, script);
    QFETCH(int, documents);
    QFETCH(int, pages);
    RecordingPrinter rp;
    for (const QString &op : script) {
        if (op.startsWith("t:"))
            printer().print(op.mid(2));
        else if (op.startsWith("l:"))
            printer().printLine(op.mid(2));
        else if (op == "n")
            printer().newPage();
        else if (op == "e")
            printer().endDoc();
    }
    QCOMPARE(rp.documents, documents);
    QCOMPARE(rp.pagesPrinted, pages);
    // The next document starts again at page 1, at the top.
    QCOMPARE(rp.page(), 1);
    QCOMPARE(rp.currentX(), Single(0));
    QCOMPARE(rp.currentY(), Single(0));
    QVERIFY(!rp.documentOpen());
}

void TestPrinter::refusingPrinter()
{
    RecordingPrinter rp;
    rp.refuseToStart = true;
    rp.setCurrentY(800);
    rp.newPage();
    try {
        rp.print(QStringLiteral("x"));
        QFAIL("the refusal did not reach the caller");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), vberr::PrinterError);
    }
    // Nothing was begun; the next document starts fresh.
    QVERIFY(!rp.documentOpen());
    QCOMPARE(rp.page(), 1);
    QCOMPARE(rp.currentY(), Single(0));
    rp.refuseToStart = false;
    rp.printLine(QStringLiteral("y"));
    rp.endDoc();
    QCOMPARE(rp.documents, 1);
    QCOMPARE(rp.pagesPrinted, 1);
}

void TestPrinter::killDocAbandons()
{
    RecordingPrinter rp;
    rp.print(QStringLiteral("a"));
    rp.newPage();
    rp.print(QStringLiteral("b"));
    rp.killDoc();
    QCOMPARE(rp.events.last().kind, PrinterEvent::KillDoc);
    QCOMPARE(rp.documents, 0);
    QCOMPARE(rp.page(), 1);
    QVERIFY(!rp.documentOpen());
    QVERIFY_THROWS_EXCEPTION(VbError, rp.setPaperSize(1));
}

void TestPrinter::pdfWhenNoPrinter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedMsgBox box;
    SystemPrinter sp;
    sp.setPdfOnly(true);
    sp.setPdfFolder(dir.path());
    setPrinter(&sp);
    // A4 paper, the whole sheet.
    QVERIFY(std::abs(sp.scaleWidth() - 11905.5f) < 1);
    QVERIFY(std::abs(sp.scaleHeight() - 16837.8f) < 1);
    sp.setFontName(QStringLiteral("Courier New"));
    sp.setFontSize(10);
    sp.setCurrentX(1440);
    sp.setCurrentY(800);
    sp.printLine(QStringLiteral("Hello"));
    QVERIFY(box.shown.isEmpty()); // nothing is said before the file is complete
    sp.endDoc();
    setPrinter(nullptr);

    const QString path = sp.lastPdfPath();
    QVERIFY(path.startsWith(dir.path()));
    QVERIFY(path.endsWith(".pdf"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QCOMPARE(box.shown.size(), 1);
    QCOMPARE(box.shown.at(0).style, int(vbInformation));
    QVERIFY(box.shown.at(0).prompt.contains(QDir::toNativeSeparators(path)));

    bool ran = false;
    const QString text = runTool("pdftotext", {path, "-"}, &ran);
    if (ran)
        QVERIFY2(text.contains("Hello"), qPrintable(text));
}

void TestPrinter::pdfPicturesAreLossless()
{
    QTemporaryDir dir;
    ScriptedMsgBox box;
    SystemPrinter sp;
    sp.setPdfOnly(true);
    sp.setPdfFolder(dir.path());
    const QImage pic = detailedPicture();
    sp.paintPicture(pic, 1440, 1440);
    sp.endDoc();
    const QString path = sp.lastPdfPath();
    QVERIFY(QFile::exists(path));

    bool ran = false;
    const QString list = runTool("pdfimages", {"-list", path}, &ran);
    if (!ran)
        QSKIP("pdfimages (poppler-utils) is not installed");
    // page num type width height color comp bpc enc ...
    const QStringList lines = list.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 3, qPrintable(list));
    const QStringList cols = lines.at(2).simplified().split(' ');
    QCOMPARE(cols.at(3), QStringLiteral("120"));
    QCOMPARE(cols.at(4), QStringLiteral("80"));
    QVERIFY2(cols.at(8) != "jpeg", qPrintable(list));

    // The stored picture comes back pixel for pixel.
    const QString stem = dir.filePath("extracted");
    runTool("pdfimages", {"-png", path, stem}, &ran);
    QVERIFY(ran);
    QImage back(stem + "-000.png");
    QVERIFY(!back.isNull());
    back = back.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(back.size(), pic.size());
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            QCOMPARE(back.pixel(x, y), pic.pixel(x, y));
}

void TestPrinter::pdfFolderNotWritable()
{
    ScriptedMsgBox box;
    SystemPrinter sp;
    sp.setPdfOnly(true);
    sp.setPdfFolder(QStringLiteral("/nonexistent-folder/for/curvexa"));
    try {
        sp.printLine(QStringLiteral("x"));
        QFAIL("no failure");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), vberr::PrinterError);
    }
    QVERIFY(!sp.documentOpen());
    QVERIFY(box.shown.isEmpty());
    sp.endDoc(); // nothing to end
    QVERIFY(box.shown.isEmpty());
}

void TestPrinter::pdfEndsWithoutEmptyPage()
{
    QTemporaryDir dir;
    ScriptedMsgBox box;
    SystemPrinter sp;
    sp.setPdfOnly(true);
    sp.setPdfFolder(dir.path());
    sp.printLine(QStringLiteral("one"));
    sp.newPage();
    sp.printLine(QStringLiteral("two"));
    sp.newPage();
    sp.endDoc();
    bool ran = false;
    const QString info = runTool("pdfinfo", {sp.lastPdfPath()}, &ran);
    if (!ran)
        QSKIP("pdfinfo (poppler-utils) is not installed");
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\b")), qPrintable(info));
    // An abandoned document leaves no file behind.
    sp.printLine(QStringLiteral("three"));
    sp.killDoc();
    QCOMPARE(QDir(dir.path()).entryList({"*.pdf"}).size(), 1);
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
