// The language editor: loading files of several shapes into the grid, the
// in-place editor, saving (byte for byte), a new language, the checks that
// stop a save, closing with each answer, the limit of eight languages and
// printing the raw file.

#include "language/frmIdioma.h"
#include "language/idiomas.h"
#include "language/ini.h"
#include "limitetamano.h"
#include "platform/flexgrid.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/programfolder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QScrollBar>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using platform::FlexGrid;

namespace
{

struct Item {
    QString caption;
    bool checked = false;
    bool visible = false;
};

class RecordingMenu : public MenuIdiomas
{
public:
    void ponerelemento(int index, const QString &caption, bool checked, bool, bool visible) override
    {
        items[index] = Item{caption, checked, visible};
        ++calls;
    }
    Item items[numItemsMenuIdiomas + 1];
    int calls = 0;
};

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The texts of a language section "id=text" for the given ids.
QStringList section(const QString &name, const QList<int> &ids, const QString &prefix)
{
    QStringList out{QLatin1Char('[') + name + QLatin1Char(']')};
    for (int id : ids)
        out << QStringLiteral("%1=%2%1").arg(id).arg(prefix);
    out << QString();
    return out;
}

// A file in the layout the editor writes: English with the texts the editor
// shows, then Deutsch.
QStringList standardFile(const QString &current = QStringLiteral("English"))
{
    return QStringList{"[idioma]", "idioma=" + current, ""} +
           QStringList{"[English]",       "1=Languages",
                       "5=No name",       "6=Curvexa",
                       "7=Language file", "8=Printed on",
                       "9=Print failed",  "10=Save changes to",
                       "11=New",          "12=Save",
                       "13=Print",        "72=File error",
                       "75=File",         ""} +
           QStringList{"[Deutsch]",     "1=Sprachen",     "5=Kein Name",     "6=Curvexa", "7=Sprachdatei",
                       "8=Gedruckt am", "9=Druckfehler",  "10=Speichern in", "11=Neu",    "12=Speichern",
                       "13=Drucken",    "72=Dateifehler", "75=Datei",        ""};
}

// The grid as lines of cells joined by "|".
QStringList gridRows(const FlexGrid *g)
{
    QStringList out;
    for (int r = 0; r < g->Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < g->Cols(); ++c)
            cells << g->TextMatrix(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

class TstFrmIdioma : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RecordingMenu *menu = nullptr;

    // Writes the language file, runs the start-up language step and opens the
    // editor.
    frmIdioma &open(const QStringList &lines) { return openBytes(crlf(lines)); }
    frmIdioma &openBytes(const QByteArray &bytes)
    {
        QFile f(ficheroidioma);
        [&] {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(bytes), bytes.size());
        }();
        f.close();
        cargaridiomas();
        frmIdioma &e = formidioma();
        e.show();
        return e;
    }

    // Puts the in-place editor on a cell the way a click does and types.
    static void type(frmIdioma &e, int row, int col, const QString &text)
    {
        e.grid()->setRow(row);
        e.grid()->setCol(col);
        e.MSFlexIdiomas_Click();
        e.editor()->setText(text);
    }

    // `share` language columns fill the width of the view that scrolls,
    // but for the pixels left over when it is divided among them.
    static bool fillsTheView(FlexGrid *g, int share)
    {
        const int visible = g->view()->viewport()->width();
        const int columns = share * qRound(platform::pixelsFromTwips(g->ColWidth(1)));
        return columns <= visible && columns > visible - share;
    }

    // Closes the editor without a question.
    static void discard()
    {
        if (frmIdioma *e = formidiomaexistente()) {
            e->modificado = false;
            e->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        platform::setProgramFolder(dir.path());
        ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
        menu = new RecordingMenu;
        registrarmenuidiomas([this]() { return menu; });
    }

    void cleanup()
    {
        discard();
        QVERIFY(!formidiomaexistente());
        registrarmenuidiomas(nullptr);
        delete menu;
        menu = nullptr;
        platform::setProgramFolder(QString());
    }

    void load_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("grid");
        QTest::addColumn<QList<int>>("bold"); // columns whose name is bold

        const QStringList head{"[idioma]", "idioma=English", ""};
        QTest::newRow("same order") << head +
                                           QStringList{"[English]", "1=a", "2=b", "[Deutsch]", "1=x", "2=y"}
                                    << QStringList{"a|English|Deutsch", "1|a|x", "2|b|y"} << QList<int>{1};
        QTest::newRow("other order, placed by position")
            << head + QStringList{"[English]", "1=a", "2=b", "3=c", "[Deutsch]", "3=z", "1=x", "2=y"}
            << QStringList{"a|English|Deutsch", "1|a|z", "2|b|x", "3|c|y"} << QList<int>{1};
        QTest::newRow("shorter second")
            << head + QStringList{"[English]", "1=a", "2=b", "3=c", "", "[Deutsch]", "1=x", ""}
            << QStringList{"a|English|Deutsch", "1|a|x", "2|b|", "3|c|"} << QList<int>{1};
        QTest::newRow("longer second gets rows of its own")
            << head + QStringList{"[English]", "1=a", "[Deutsch]", "1=x", "2=y", "9=w"}
            << QStringList{"a|English|Deutsch", "1|a|x", "2||y", "9||w"} << QList<int>{1};
        QTest::newRow("current language second")
            << QStringList{"[idioma]", "idioma=Deutsch", "[English]", "1=a", "[Deutsch]", "1=x"}
            << QStringList{"x|English|Deutsch", "1|a|x"} << QList<int>{2};
        QTest::newRow("bold only for the exact spelling")
            << QStringList{"[idioma]", "idioma=ENGLISH", "[English]", "1=a", "[Deutsch]", "1=x"}
            << QStringList{"a|English|Deutsch", "1|a|x"} << QList<int>{};
        QTest::newRow("values kept whole, empty lines and keyless lines skipped")
            << head + QStringList{"[English]", "",          "1=a = b", "no key", "2=",
                                  "3==",       "[Deutsch]", "1= x ",   "",       "2=y"}
            << QStringList{"a = b|English|Deutsch", "1|a = b| x ", "2||y", "3|=|"} << QList<int>{1};
        QTest::newRow("a name given twice: its first section, whatever the case")
            << head + QStringList{"[English]", "1=a", "[Deutsch]", "1=x", "[english]", "1=q"}
            << QStringList{"a|English|Deutsch|english", "1|a|x|a"} << QList<int>{1};
        QTest::newRow("a lone LF is text")
            << head + QStringList{"[English]", "1=a\nb", "2=c", "[Deutsch]", "1=x\n2=y"}
            << QStringList{"a\nb|English|Deutsch", "1|a\nb|x\n2=y", "2|c|"} << QList<int>{1};
        QTest::newRow("no language section")
            << QStringList{"[idioma]", "idioma=English"} << QStringList{"|"} << QList<int>{};
        QTest::newRow("lines before the first header")
            << QStringList{"junk=1", "[idioma]", "idioma=English", "[English]", "1=a"}
            << QStringList{"a|English", "1|a"} << QList<int>{1};
    }

    void load()
    {
        QFETCH(QStringList, file);
        QFETCH(QStringList, grid);
        QFETCH(QList<int>, bold);
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(file);
        FlexGrid *g = e.grid();
        QCOMPARE(gridRows(g), grid);
        QCOMPARE(g->FixedRows(), 0);
        QCOMPARE(g->FixedCols(), 1);
        QCOMPARE(box.shown.size(), 0);
        QVERIFY(!e.modificado);
        QVERIFY(!e.nuevo);
        for (int c = 1; c < g->Cols(); ++c) {
            g->setRow(0);
            g->setCol(c);
            const QModelIndex idx = g->view()->model()->index(0, c - 1);
            const QFont f = idx.data(Qt::FontRole).value<QFont>();
            QCOMPARE(f.bold(), bold.contains(c));
        }
        QVERIFY(!e.editor()->isVisible());
    }

    void captions_and_layout()
    {
        frmIdioma &e = open(standardFile());
        QCOMPARE(e.windowTitle(), QStringLiteral("Languages"));
        QCOMPARE(e.botonguardar()->text(), QStringLiteral("Save"));
        QCOMPARE(e.botonnuevo()->text(), QStringLiteral("New"));
        QCOMPARE(e.botonimprimir()->text(), QStringLiteral("Print"));
        FlexGrid *g = e.grid();
        QCOMPARE(g->TextMatrix(0, 0), QStringLiteral("Languages"));
        QCOMPARE(g->geometry().topLeft(), QPoint(7, 7)); // 100 twips in whole pixels
        QVERIFY(qAbs(g->Width() - (int(platform::twipsFromPixels(e.width())) - 300)) <= 15);
        QVERIFY(qAbs(g->Height() - (int(platform::twipsFromPixels(e.height())) - 1000)) <= 15);
        // Two languages share the visible width.
        QVERIFY(fillsTheView(g, 2));
        QCOMPARE(g->ColWidth(2), g->ColWidth(1));
    }

    // The language columns start right beside the identifiers, whatever the
    // window's size, and widen and narrow with it; the identifiers show whole.
    void columns_follow_the_window_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as it opens") << QSize();
        QTest::newRow("small") << QSize(360, 240);
        QTest::newRow("wide") << QSize(1300, 800);
    }
    void columns_follow_the_window()
    {
        QFETCH(QSize, size);
        frmIdioma &e = open(standardFile());
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        if (size.isValid())
            e.resize(size);
        FlexGrid *g = e.grid();
        QTableView *v = g->view();
        QTRY_VERIFY(fillsTheView(g, 2));
        QCOMPARE(v->horizontalScrollBar()->value(), 0);
        QCOMPARE(v->columnViewportPosition(0), 0);
        QVERIFY(v->verticalHeader()->width() >= v->verticalHeader()->sizeHint().width());
        const int before = g->ColWidth(1);
        e.resize(e.width() + 150, e.height());
        QTRY_VERIFY(fillsTheView(g, 2));
        QCOMPARE(g->ColWidth(1), before + 75 * 15); // half of 150 pixels each
    }

    void buttons_inside_the_window_at_its_least_size()
    {
        frmIdioma &e = open(standardFile());
        e.resize(1, 1);
        QVERIFY(e.width() > 1);
        for (QWidget *w : std::initializer_list<QWidget *>{e.grid(), e.botonnuevo(), e.botonguardar(),
                                                           e.botonimprimir()})
            QVERIFY2(e.rect().contains(w->geometry()), qPrintable(w->objectName()));
        QVERIFY(e.grid()->geometry().bottom() < e.botonnuevo()->geometry().top());
    }

    void column_widths_data()
    {
        QTest::addColumn<int>("languages");
        QTest::addColumn<int>("share");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("4") << 4 << 4;
        QTest::newRow("5: a quarter") << 5 << 4;
        QTest::newRow("8: a quarter") << 8 << 4;
    }

    void column_widths()
    {
        QFETCH(int, languages);
        QFETCH(int, share);
        QStringList file{"[idioma]", "idioma=L1"};
        for (int i = 1; i <= languages; ++i)
            file << section(QStringLiteral("L%1").arg(i), {1, 2}, "t");
        frmIdioma &e = open(file);
        FlexGrid *g = e.grid();
        QCOMPARE(g->Cols(), languages + 1);
        QVERIFY(fillsTheView(g, share));
        for (int c = 2; c <= languages; ++c)
            QCOMPARE(g->ColWidth(c), g->ColWidth(1));
    }

    void in_place_editor()
    {
        frmIdioma &e = open(standardFile());
        FlexGrid *g = e.grid();
        QLineEdit *t = e.editor();

        // A click on the identifier column does not start editing.
        g->setRow(3);
        g->setCol(0);
        e.MSFlexIdiomas_Click();
        QVERIFY(!t->isVisible());

        g->setCol(2);
        e.MSFlexIdiomas_Click();
        QVERIFY(t->isVisible());
        QCOMPARE(t->text(), QStringLiteral("Curvexa"));
        QCOMPARE(t->geometry().topLeft(),
                 QPoint(qRound((g->Left() + g->ColPos(2)) / 15.0), qRound((g->Top() + g->RowPos(3)) / 15.0)));
        // Placing the editor on another text counts as a change.
        QVERIFY(e.modificado);

        QTest::keyClicks(t, QStringLiteral("!"));
        QCOMPARE(g->TextMatrix(3, 2), t->text());
        QTest::keyClick(t, Qt::Key_Return); // moves one row down, same column
        QCOMPARE(g->Row(), 4);
        QCOMPARE(g->Col(), 2);
        QCOMPARE(t->text(), QStringLiteral("Sprachdatei"));
        QCOMPARE(t->selectedText(), t->text());

        g->setRow(g->Rows() - 1);
        e.MSFlexIdiomas_Click();
        QTest::keyClick(t, Qt::Key_Enter); // on the last row it leaves
        QVERIFY(!t->isVisible());
        QCOMPARE(g->Row(), g->Rows() - 1);
    }

    void save_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("saved");

        QStringList edited = standardFile();
        edited[edited.indexOf("9=Druckfehler")] = "9=Fehler beim Drucken";
        QTest::newRow("one text") << standardFile() << 6 << 2 << "Fehler beim Drucken" << edited;

        const QStringList head{"[idioma]", "idioma=English", ""};
        QTest::newRow("other order saved under the first language's identifiers")
            << head + QStringList{"[English]", "1=a", "2=b", "3=c", "[Deutsch]", "3=z", "1=x", "2=y"} << 1
            << 1 << "A"
            << head + QStringList{"[English]", "1=A", "2=b", "3=c", "", "[Deutsch]", "1=z", "2=x", "3=y", ""};
        QTest::newRow("missing texts saved empty")
            << head + QStringList{"[English]", "1=a", "2=b", "[Deutsch]", "1=x"} << 1 << 2 << "X"
            << head + QStringList{"[English]", "1=a", "2=b", "", "[Deutsch]", "1=X", "2=", ""};
        QTest::newRow("extra texts of a longer language kept")
            << head + QStringList{"[English]", "1=a", "[Deutsch]", "1=x", "2=y"} << 2 << 1 << "b"
            << head + QStringList{"[English]", "1=a", "2=b", "", "[Deutsch]", "1=x", "2=y", ""};
        QTest::newRow("renamed language keeps its name")
            << head + QStringList{"[English]", "1=a", "[Deutsch]", "1=x"} << 0 << 2 << "German"
            << head + QStringList{"[English]", "1=a", "", "[Deutsch]", "1=x", ""};
        QTest::newRow("8-bit texts kept")
            << head +
                   QStringList{"[English]", "1=a", QString::fromUtf8("[Español]"), QString::fromUtf8("1=sí")}
            << 1 << 1 << QString::fromUtf8("año") << head + QStringList{"[English]",
                                                                        QString::fromUtf8("1=año"),
                                                                        "",
                                                                        QString::fromUtf8("[Español]"),
                                                                        QString::fromUtf8("1=sí"),
                                                                        ""};
    }

    void save()
    {
        QFETCH(QStringList, file);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QStringList, saved);
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(file);
        menu->calls = 0;
        type(e, row, col, text);
        QVERIFY(e.modificado);
        e.btguardar_Click();
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(readBytes(ficheroidioma), crlf(saved));
        QVERIFY(!e.modificado);
        QVERIFY(menu->calls > 0);
        // Nothing is left beside the file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("idioma.lng")});

        // A second save with nothing changed writes nothing.
        QFile::remove(ficheroidioma);
        e.btguardar_Click();
        QVERIFY(!QFile::exists(ficheroidioma));
    }

    void save_keeps_the_files_language_choice_data()
    {
        QTest::addColumn<int>("when"); // 0 no switch, 1 before opening, 2 while open, 3 entry removed
        QTest::addColumn<QString>("written");
        QTest::newRow("no switch") << 0 << "English";
        QTest::newRow("switch before opening the editor") << 1 << "Deutsch";
        QTest::newRow("switch while the editor is open") << 2 << "Deutsch";
        QTest::newRow("no choice in the file: the running language") << 3 << "English";
    }

    void save_keeps_the_files_language_choice()
    {
        // The save writes the choice the file holds when it is saved, so a
        // switch made in this run is not undone.
        QFETCH(int, when);
        QFETCH(QString, written);
        platform::ScriptedMsgBox box;
        const QByteArray bytes = crlf(standardFile());
        {
            QFile f(ficheroidioma);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(bytes), bytes.size());
        }
        cargaridiomas();
        if (when == 1)
            QCOMPARE(cambiaridioma(QStringLiteral("Deutsch")), platform::vbTrue);
        frmIdioma &e = formidioma();
        e.show();
        if (when == 2)
            QCOMPARE(cambiaridioma(QStringLiteral("Deutsch")), platform::vbTrue);
        if (when == 3) {
            QFile f(ficheroidioma);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            const QByteArray rest = crlf(standardFile().mid(3));
            QCOMPARE(f.write(rest), rest.size());
        }
        type(e, 1, 1, QStringLiteral("Languages"));
        type(e, 1, 2, QStringLiteral("Sprachen"));
        e.btguardar_Click();
        QCOMPARE(readBytes(ficheroidioma), crlf(standardFile(written)));
        QCOMPARE(idiomaactual, QStringLiteral("English"));
    }

    void new_language()
    {
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        FlexGrid *g = e.grid();
        e.btnuevo_Click();
        QVERIFY(e.nuevo);
        QCOMPARE(g->Cols(), 4);
        QCOMPARE(g->ColWidth(3), g->ColWidth(2));
        QCOMPARE(g->ColAlignment(3), int(platform::flexAlignLeftCenter));
        QCOMPARE(g->TextMatrix(0, 3), QString());
        e.btnuevo_Click(); // one unsaved column at a time
        QCOMPARE(g->Cols(), 4);

        type(e, 0, 3, QStringLiteral("Français"));
        type(e, 6, 3, QStringLiteral("Échec"));
        e.btguardar_Click();
        QCOMPARE(box.shown.size(), 0);

        QStringList expected = standardFile();
        expected << "[Français]";
        for (int r = 1; r < g->Rows(); ++r)
            expected << g->TextMatrix(r, 0) + "=" + (r == 6 ? QStringLiteral("Échec") : QString());
        expected << QString();
        QCOMPARE(readBytes(ficheroidioma), crlf(expected));
        QVERIFY(readBytes(ficheroidioma)
                    .contains("[Fran\xe7"
                              "ais]"));

        QCOMPARE(numidiomas, platform::Integer(3));
        QCOMPARE(listaidiomas, (QStringList{"English", "Deutsch", QStringLiteral("Français")}));
        QCOMPARE(menu->items[1].caption, QStringLiteral("English"));
        QVERIFY(menu->items[1].checked);
        QCOMPARE(menu->items[3].caption, QStringLiteral("Français"));
        QVERIFY(!menu->items[3].checked);
        QVERIFY(menu->items[3].visible);
        QCOMPARE(menu->items[4].caption, QStringLiteral("-"));
        QVERIFY(!e.nuevo);
        QVERIFY(!e.modificado);

        // The new language is an ordinary one now: another may follow.
        e.btnuevo_Click();
        QCOMPARE(g->Cols(), 5);
    }

    void save_without_a_name()
    {
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        const QByteArray before = readBytes(ficheroidioma);
        e.btnuevo_Click();
        type(e, 2, 3, QStringLiteral("Sans nom"));
        menu->calls = 0;
        e.btguardar_Click();

        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("No name"));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, QStringLiteral("Languages"));
        QCOMPARE(readBytes(ficheroidioma), before);
        QVERIFY(e.errorguardar);
        QVERIFY(e.modificado);
        QVERIFY(e.nuevo);
        QCOMPARE(menu->calls, 0);
        QCOMPARE(numidiomas, platform::Integer(2));
        // The editor waits on the name cell.
        QCOMPARE(e.grid()->Row(), 0);
        QCOMPARE(e.grid()->Col(), 3);
        QVERIFY(e.editor()->isVisible());
    }

    void save_that_cannot_write_data()
    {
        QTest::addColumn<bool>("shortWrite");
        QTest::newRow("a name too long to write anything beside") << false;
        QTest::newRow("the disk fills up in the middle") << true;
    }

    void save_that_cannot_write()
    {
        QFETCH(bool, shortWrite);
        if (!shortWrite)
            ficheroidioma = dir.filePath(QString(250, QLatin1Char('n')) + QStringLiteral(".lng"));
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        const QByteArray before = readBytes(ficheroidioma);
        QVERIFY(!before.isEmpty());
        const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        const QString text = QStringLiteral("A text much longer than the one that was there");
        type(e, 6, 1, text);
        std::optional<LimiteTamano> limite;
        if (shortWrite) {
            limite.emplace(static_cast<rlim_t>(before.size()));
            QVERIFY(limite->ok());
        }
        e.btguardar_Click();
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("File error"));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, QStringLiteral("File"));
        QCOMPARE(readBytes(ficheroidioma), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
        QVERIFY(e.modificado);
        QVERIFY(e.errorguardar);

        // Closing with Yes keeps the window and the edit.
        box.answers = {platform::vbYes};
        QVERIFY(!e.close());
        limite.reset();
        QVERIFY(formidiomaexistente());
        QCOMPARE(e.grid()->TextMatrix(6, 1), text);
        QCOMPARE(box.shown.size(), 3);
        QCOMPARE(box.shown[2].prompt, QStringLiteral("File error"));
        QVERIFY(!e.errorguardar);
        QCOMPARE(readBytes(ficheroidioma), before);
    }

    void save_when_no_text_can_be_read()
    {
        // The language file has become a folder: the failed save still says
        // what failed, in a fixed text, instead of showing an empty box.
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        type(e, 6, 1, QStringLiteral("Changed"));
        QVERIFY(QFile::remove(ficheroidioma));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("idioma.lng")));
        e.btguardar_Click();
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("idioma.lng")));
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Reading or writing a file failed."));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, platform::defaultMsgBoxTitle());
        QVERIFY(e.modificado);
    }

    void too_many_identifiers()
    {
        // The entry count is a 16-bit number: a first language with more
        // entries than it holds is refused as unreadable; no row gets a wrong
        // identifier, and nothing can be edited and saved over the file.
        QStringList lines = standardFile(QStringLiteral("Deutsch"));
        QStringList big{"[Big]"};
        for (int i = 1; i <= 32768; ++i)
            big << QStringLiteral("%1=t").arg(i);
        lines = lines.mid(0, 3) + big + lines.mid(3);
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(lines);
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Dateifehler"));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, QStringLiteral("Datei"));
        QCOMPARE(e.grid()->Rows(), 1);
        e.grid()->setRow(0);
        e.grid()->setCol(1);
        e.MSFlexIdiomas_Click();
        QVERIFY(!e.modificado);
    }

    void close_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("withName");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("boxes");
        QTest::newRow("Yes") << int(platform::vbYes) << true << true << true << 1;
        QTest::newRow("No") << int(platform::vbNo) << true << true << false << 1;
        QTest::newRow("Cancel") << int(platform::vbCancel) << true << false << false << 1;
        // The languages that have a name are written all the same.
        QTest::newRow("Yes with the last name cleared")
            << int(platform::vbYes) << false << false << true << 2;
    }

    void close()
    {
        QFETCH(int, answer);
        QFETCH(bool, withName);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        QFETCH(int, boxes);
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        const QByteArray before = readBytes(ficheroidioma);
        type(e, 6, 1, QStringLiteral("Changed"));
        if (!withName)
            type(e, 0, 2, QString());
        box.answers = {answer};

        QCOMPARE(e.close(), closes);
        QCOMPARE(box.shown.size(), boxes);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Save changes to Languages?"));
        QCOMPARE(box.shown[0].style, 51);
        QCOMPARE(box.shown[0].title, QStringLiteral("Languages"));
        QCOMPARE(readBytes(ficheroidioma) != before, saved);
        if (saved)
            QCOMPARE(leerini(ficheroidioma, "English", "9"), QStringLiteral("Changed"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(formidiomaexistente() == nullptr, closes);
        if (!closes)
            QVERIFY(!e.errorguardar);
    }

    void close_without_changes_asks_nothing()
    {
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        QVERIFY(e.close());
        QCOMPARE(box.shown.size(), 0);
    }

    void eight_languages_at_most_data()
    {
        QTest::addColumn<int>("languages");
        QTest::addColumn<int>("cols");
        QTest::newRow("7: one more") << 7 << 9;
        QTest::newRow("8: no ninth") << 8 << 9;
        QTest::newRow("9 in the file: all shown, none added") << 9 << 10;
    }

    void eight_languages_at_most()
    {
        QFETCH(int, languages);
        QFETCH(int, cols);
        QStringList file{"[idioma]", "idioma=L1", ""};
        for (int i = 1; i <= languages; ++i)
            file << section(QStringLiteral("L%1").arg(i), {1, 2}, QStringLiteral("t"));
        frmIdioma &e = open(file);
        e.btnuevo_Click();
        QCOMPARE(e.grid()->Cols(), cols);
        QCOMPARE(e.nuevo, languages < 8);
    }

    void print()
    {
        platform::ScriptedMsgBox box;
        platform::RecordingPrinter rp;
        frmIdioma &e = open(standardFile());
        e.btimprimir_Click();
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(rp.documents, 1);
        const QStringList texts = [&] {
            QStringList out;
            for (const platform::PrinterEvent &ev : rp.textsOnPage(1))
                out << ev.text;
            return out;
        }();
        const QString date = QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
        QVERIFY(texts.contains(QStringLiteral("Curvexa  Language file")));
        QVERIFY(texts.contains(QStringLiteral("Printed on ") + date));
        // The raw file: headers and identifiers as they stand.
        for (const char *w :
             {"[idioma]", "idioma=English", "[English]", "1=Languages", "72=File", "[Deutsch]"})
            QVERIFY2(texts.contains(QLatin1String(w)), w);
    }

    void print_failure()
    {
        platform::ScriptedMsgBox box;
        platform::RecordingPrinter rp;
        rp.refuseToStart = true;
        frmIdioma &e = open(standardFile());
        e.btimprimir_Click();
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Print failed"));
        QCOMPARE(box.shown[0].style, 0);
        QCOMPARE(box.shown[0].title, platform::defaultMsgBoxTitle());
        QCOMPARE(rp.documents, 0);
    }

    void reopened_editor_reads_the_file_again()
    {
        platform::ScriptedMsgBox box;
        frmIdioma &e = open(standardFile());
        e.btnuevo_Click();
        type(e, 0, 3, QStringLiteral("Italiano"));
        e.btguardar_Click();
        QVERIFY(e.close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmIdioma &again = formidioma();
        QCOMPARE(again.grid()->Cols(), 4);
        QCOMPARE(again.grid()->TextMatrix(0, 3), QStringLiteral("Italiano"));
    }
};

QTEST_MAIN(TstFrmIdioma)
#include "tst_frmidioma.moc"
