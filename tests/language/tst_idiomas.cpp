#include "language/idiomas.h"
#include "language/ini.h"
#include "limitetamano.h"
#include "platform/htmlhelp.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

struct Item {
    QString caption;
    bool checked = false;
    bool enabled = false;
    bool visible = false;
    bool touched = false;
};

class RecordingMenu : public MenuIdiomas
{
public:
    void ponerelemento(int index, const QString &caption, bool checked, bool enabled, bool visible) override
    {
        QVERIFY(index >= 1 && index <= numItemsMenuIdiomas);
        items[index] = Item{caption, checked, enabled, visible, true};
    }
    Item items[numItemsMenuIdiomas + 1];
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

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The identifiers the program's windows read.
QList<int> identificadoresleidos()
{
    QList<int> ids;
    for (int i = 1; i <= 107; ++i) {
        if (i == 19 || (i >= 52 && i <= 69) || (i >= 82 && i <= 99))
            continue;
        ids << i;
    }
    return ids;
}

} // namespace

class TstIdiomas : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RecordingMenu *menu = nullptr;
    int menuCreations = 0;

    void useFile(const QByteArray &bytes)
    {
        ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
        QFile::remove(ficheroidioma);
        if (!bytes.isNull())
            writeBytes(ficheroidioma, bytes);
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        platform::setProgramFolder(dir.path());
        delete menu;
        menu = nullptr;
        menuCreations = 0;
        registrarmenuidiomas([this]() {
            if (!menu) {
                menu = new RecordingMenu;
                ++menuCreations;
            }
            return menu;
        });
        idiomaactual.clear();
        numidiomas = 0;
        listaidiomas.clear();
    }

    void cleanup()
    {
        registrarmenuidiomas(nullptr);
        platform::setProgramFolder(QString());
    }

    void cargaridiomas_menu_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("expectedCount");
        QTest::addColumn<QString>("expectedCurrent");
        QTest::addColumn<int>("checkedItem"); // 0: none
        QTest::addColumn<QString>("helpName");

        QTest::newRow("only the settings section")
            << QStringList{"[idioma]", "idioma=English"} << 0 << "English" << 0 << "";
        QTest::newRow("two languages")
            << QStringList{"[idioma]",  "idioma=Deutsch", "", "[English]", "2=Edit", "",
                           "[Deutsch]", "2=Bearbeiten"}
            << 2 << "Deutsch" << 2 << "Deutsch.chm";
        QTest::newRow("current language in other letter case")
            << QStringList{"[idioma]", "idioma=FRENCH", "[English]", "[French]", "2=Modifier"} << 2
            << "FRENCH" << 2 << "French.chm";
        QTest::newRow("no section for the current language")
            << QStringList{"[idioma]", "idioma=Klingon", "[English]", "2=Edit"} << 1 << "Klingon" << 0 << "";
        QTest::newRow("eight languages fill the menu")
            << QStringList{"[idioma]", "idioma=L8", "[L1]", "[L2]", "[L3]",  "[L4]",
                           "[L5]",     "[L6]",      "[L7]", "[L8]", "2=Edit"}
            << 8 << "L8" << 8 << "L8.chm";
        QTest::newRow("no header at all") << QStringList{"idioma=English", "2=x"} << 0 << "" << 0 << "";
    }

    void cargaridiomas_menu()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, expectedCount);
        QFETCH(QString, expectedCurrent);
        QFETCH(int, checkedItem);
        QFETCH(QString, helpName);

        useFile(crlf(lines));
        cargaridiomas();

        QCOMPARE(numidiomas, expectedCount);
        QCOMPARE(listaidiomas.size(), expectedCount);
        QCOMPARE(idiomaactual, expectedCurrent);
        QCOMPARE(platform::helpFile(), helpName.isEmpty() ? QString() : dir.filePath(helpName));
        QCOMPARE(menuCreations, 1);
        for (int i = 1; i <= expectedCount; ++i) {
            QCOMPARE(menu->items[i].caption, listaidiomas.at(i - 1));
            QCOMPARE(menu->items[i].checked, i == checkedItem);
            QVERIFY(menu->items[i].enabled && menu->items[i].visible);
        }
        const Item &sep = menu->items[expectedCount + 1];
        QCOMPARE(sep.caption, QStringLiteral("-"));
        QVERIFY(!sep.checked && sep.visible && sep.enabled);
        const Item &editor = menu->items[expectedCount + 2];
        QCOMPARE(editor.caption, leertexto(2));
        QVERIFY(!editor.checked && editor.visible && editor.enabled);
        QCOMPARE(itemeditoridiomas(), expectedCount + 2);
        for (int i = expectedCount + 3; i <= numItemsMenuIdiomas; ++i)
            QVERIFY2(!menu->items[i].touched, "items after the editor item keep their state");
    }

    void more_languages_than_the_menu_holds()
    {
        QStringList lines{"[idioma]", "idioma=L10"};
        for (int i = 1; i <= 10; ++i)
            lines << QStringLiteral("[L%1]").arg(i) << QStringLiteral("2=e%1").arg(i);
        useFile(crlf(lines));
        cargaridiomas();
        QCOMPARE(numidiomas, 10);
        QCOMPARE(listaidiomas.last(), QStringLiteral("L10"));
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(menu->items[i].caption, QStringLiteral("L%1").arg(i));
        QCOMPARE(menu->items[9].caption, QStringLiteral("-"));
        QCOMPARE(menu->items[10].caption, QStringLiteral("e10"));
        QCOMPARE(itemeditoridiomas(), 10);
        QCOMPARE(platform::helpFile(), dir.filePath(QStringLiteral("L10.chm")));
    }

    void texts_follow_the_file()
    {
        useFile(crlf({"[idioma]", "idioma=English", "[English]", "6=One"}));
        cargaridiomas();
        QCOMPARE(leertexto(6), QStringLiteral("One"));
        // Nothing is cached: a change in the file is seen by the next lookup.
        useFile(crlf({"[idioma]", "idioma=English", "[English]", "6=Two"}));
        QCOMPARE(leertexto(6), QStringLiteral("Two"));
        QCOMPARE(leertexto(99), QString());
        QFile::remove(ficheroidioma);
        QCOMPARE(leertexto(6), QString());
    }

    void cambiaridioma_unknown_name()
    {
        const QByteArray bytes = crlf({"[idioma]", "idioma=English", "", "[English]", "1=Languages",
                                       "3=No such language", "[Deutsch]", "1=Sprachen"});
        useFile(bytes);
        cargaridiomas();
        platform::ScriptedMsgBox box;
        QCOMPARE(cambiaridioma(QStringLiteral("Français")), platform::vbFalse);
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("No such language"));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, QStringLiteral("Languages"));
        QCOMPARE(readBytes(ficheroidioma), bytes);
    }

    void cambiaridioma_tells_before_it_writes()
    {
        const QByteArray bytes = crlf({"[idioma]", "idioma=English", "", "[English]", "1=Languages",
                                       "4=Stored", "", "[Deutsch]", "1=Sprachen"});
        useFile(bytes);
        cargaridiomas();
        platform::ScriptedMsgBox box;
        QByteArray whileShown;
        box.onShow = [&](const platform::MsgBoxCall &) { whileShown = readBytes(ficheroidioma); };
        QCOMPARE(cambiaridioma(QStringLiteral("deutsch")), platform::vbTrue);
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Stored"));
        QCOMPARE(box.shown[0].style, 64);
        QCOMPARE(box.shown[0].title, QStringLiteral("Languages"));
        QCOMPARE(whileShown, bytes);
        QCOMPARE(leerini(ficheroidioma, QStringLiteral("idioma"), QStringLiteral("idioma")),
                 QStringLiteral("deutsch"));
        // The switch takes effect at the next start only.
        QCOMPARE(idiomaactual, QStringLiteral("English"));
        QCOMPARE(leertexto(1), QStringLiteral("Languages"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("temp.tmp"))));
    }

    void cambiaridioma_without_file_does_not_fail()
    {
        useFile(QByteArray());
        platform::ScriptedMsgBox box;
        QCOMPARE(cambiaridioma(QStringLiteral("English")), platform::vbFalse);
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].style, 16);
        QVERIFY(!QFile::exists(ficheroidioma));
    }

    void cambiaridioma_failed_write_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QStringList texts{"[English]", "1=Languages", "4=Stored",  "72=File error", "75=File",
                                "",          "[Deutsch]",   "1=Sprachen"};
        QTest::newRow("key line rewritten") << crlf(QStringList{"[idioma]", "idioma=EN", ""} + texts);
        QTest::newRow("key added to the settings section") << crlf(texts + QStringList{"", "[idioma]"});
        QTest::newRow("settings section added") << crlf(QStringList{"junk=1"} + texts);
    }

    void cambiaridioma_failed_write()
    {
        // The disk fills up while the choice is written: the file stays as
        // it was and the user reads the program's own file failure message.
        QFETCH(QByteArray, bytes);
        useFile(bytes);
        idiomaactual = QStringLiteral("English");
        platform::ScriptedMsgBox box;
        platform::Integer stored = platform::vbTrue;
        {
            LimiteTamano limite(static_cast<rlim_t>(bytes.size() + 4));
            QVERIFY(limite.ok());
            stored = cambiaridioma(QStringLiteral("Deutsch"));
        }
        QCOMPARE(stored, platform::vbFalse);
        QCOMPARE(readBytes(ficheroidioma), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("idioma.lng")});
        QCOMPARE(box.shown.size(), 2);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Stored"));
        QCOMPARE(box.shown[1].prompt, QStringLiteral("File error"));
        QCOMPARE(box.shown[1].style, 16);
        QCOMPARE(box.shown[1].title, QStringLiteral("File"));
    }

    void cambiaridioma_folder_instead_of_file()
    {
        // Not even the texts can be read: a fixed text says what failed.
        ficheroidioma = dir.filePath(QStringLiteral("folder.lng"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.lng")));
        idiomaactual = QStringLiteral("English");
        platform::ScriptedMsgBox box;
        QCOMPARE(cambiaridioma(QStringLiteral("English")), platform::vbFalse);
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Reading or writing a file failed."));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, platform::defaultMsgBoxTitle());
        QVERIFY(QFileInfo(ficheroidioma).isDir());
    }

    void too_many_sections_is_no_language_file_data()
    {
        QTest::addColumn<int>("languages");
        QTest::newRow("32768 languages") << 32768;
        QTest::newRow("65537 languages") << 65537;
    }

    void too_many_sections_is_no_language_file()
    {
        // More sections than the 16-bit count holds: the file is taken as
        // unreadable (no language, no menu items), never with a wrapped count.
        QFETCH(int, languages);
        QByteArray bytes = crlf({"[idioma]", "idioma=L1"});
        for (int i = 1; i <= languages; ++i)
            bytes += "[L" + QByteArray::number(i) + "]\r\n2=Edit\r\n";
        useFile(bytes);
        cargaridiomas();
        QCOMPARE(numidiomas, platform::Integer(0));
        QVERIFY(listaidiomas.isEmpty());
        QVERIFY(idiomaactual.isEmpty());
        QCOMPARE(menu->items[1].caption, QStringLiteral("-"));
        QCOMPARE(itemeditoridiomas(), 2);
        // The user's file is not replaced by the shipped one.
        QCOMPARE(readBytes(ficheroidioma), bytes);
    }

    void missing_file_is_restored_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << false;
        QTest::newRow("empty") << true;
    }

    void missing_file_is_restored()
    {
        QFETCH(bool, present);
        useFile(present ? QByteArray("") : QByteArray());
        QCOMPARE(QFile::exists(ficheroidioma), present);
        cargaridiomas();
        QCOMPARE(readBytes(ficheroidioma), ficheroidiomaoriginal());
        QCOMPARE(numidiomas, 2);
        QCOMPARE(idiomaactual, QStringLiteral("English"));
        QCOMPARE(leertexto(6), QStringLiteral("Curvexa"));
        QVERIFY(menu->items[1].checked);
    }

    void restore_on_a_full_disk_leaves_no_cut_file()
    {
        // The disk fills up while the shipped file is put back: no part of
        // it is left to pass for the user's file at the next start.
        useFile(QByteArray());
        {
            LimiteTamano limite(1000);
            QVERIFY(limite.ok());
            QVERIFY(!asegurarficheroidioma());
        }
        QVERIFY(!QFile::exists(ficheroidioma));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        cargaridiomas();
        QCOMPARE(readBytes(ficheroidioma), ficheroidiomaoriginal());
    }

    void unrestorable_file_gives_empty_captions()
    {
        ficheroidioma = dir.filePath(QStringLiteral("no-such-folder/idioma.lng"));
        cargaridiomas();
        QCOMPARE(numidiomas, 0);
        QVERIFY(idiomaactual.isEmpty());
        QVERIFY(leertexto(6).isEmpty());
        QCOMPARE(menu->items[1].caption, QStringLiteral("-"));
        QCOMPARE(menu->items[2].caption, QString());
        QVERIFY(platform::helpFile().isEmpty());
    }

    void help_files()
    {
        useFile(crlf({"[idioma]", "idioma=English", "[English]"}));
        cargaridiomas();
        QCOMPARE(ficheroayuda(1), dir.filePath(QStringLiteral("English.chm")));
        QCOMPARE(ficheroayuda(2), QString());
        QCOMPARE(ficheroayuda(0), QString());

        platform::RecordingHelp help;
        mostrarcontenido(1);
        QCOMPARE(help.opened, QStringList{dir.filePath(QStringLiteral("English.chm"))});
        help.failure = QStringLiteral("viewer missing");
        try {
            mostrarcontenido(1);
            QFAIL("a failing viewer must be reported");
        } catch (const platform::VbError &e) {
            QCOMPARE(e.description(), QStringLiteral("viewer missing"));
        }
    }

    // The shipped file: both languages hold every identifier the program
    // reads, in the same order (the editor places texts by position), in
    // Windows-1252 with CR LF line ends; the built-in copy is the same file.
    void shipped_language_file()
    {
        const QString path = QStringLiteral(CURVEXA_SOURCE_DIR "/resources/idioma.lng");
        const QByteArray bytes = readBytes(path);
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(ficheroidiomaoriginal(), bytes);
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QCOMPARE(bytes.count("\r"), bytes.count("\r\n"));
        QVERIFY2(bytes.contains("\xf1"), "Espa\xf1ol is written in Windows-1252");

        QStringList sections;
        QCOMPARE(leersecciones(path, sections), platform::Integer(2));
        QCOMPARE(sections, (QStringList{QStringLiteral("English"), QString::fromUtf8("Español")}));
        QCOMPARE(leerini(path, QStringLiteral("idioma"), QStringLiteral("idioma")),
                 QStringLiteral("English"));
        for (const QString &lang : sections) {
            for (int id : identificadoresleidos())
                QVERIFY2(!leerini(path, lang, QString::number(id)).isEmpty(),
                         qPrintable(QStringLiteral("%1 text %2").arg(lang).arg(id)));
        }
        QCOMPARE(leerini(path, QString::fromUtf8("Español"), QStringLiteral("29")), QString::fromUtf8("Sí"));

        // Same identifiers in the same order in both sections.
        QList<QStringList> keys(2);
        int section = -1;
        for (const QByteArray &line : bytes.split('\n')) {
            const QByteArray l = line.trimmed();
            if (l.startsWith('['))
                section = l == "[idioma]" ? -1 : section + 1;
            else if (section >= 0 && l.contains('='))
                keys[section] << QString::fromLatin1(l.left(l.indexOf('=')));
        }
        QCOMPARE(keys[0], keys[1]);
    }
};

QTEST_MAIN(TstIdiomas)
#include "tst_idiomas.moc"
