// The About box: captions from the language file, the web link, registry
// values read as texts and the start of the system information program.

#include "ventanas.h"

#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/shell.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>

using namespace platform;

using Textos = QMap<int, QString>;

namespace
{

const QString infoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

const QMap<int, QString> textos{
    {6, "Curvexa"},         {80, "About"},    {81, "No system information"},
    {101, "Plots curves,"}, {102, "fitted."}, {103, "version 0.1"},
    {104, "Authors"},       {105, "System"},  {106, "OK"},
    {107, "Curvexa"},
};

} // namespace

class TstFrmAbout : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    frmAbout &abrir(const QMap<int, QString> &texts = textos)
    {
        escribirfichero(dir.filePath(QStringLiteral("idioma.lng")), lineascrlf(ficheroprueba(texts)));
        ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
        idiomaactual = QStringLiteral("English");
        return formabout();
    }

    static QString caption(frmAbout &a, const char *name)
    {
        if (auto *l = a.findChild<QLabel *>(QLatin1String(name)))
            return l->text();
        if (auto *b = a.findChild<QPushButton *>(QLatin1String(name)))
            return b->text();
        return QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        platform::setProgramFolder(dir.path());
    }

    void cleanup()
    {
        if (frmAbout *a = formaboutexistente())
            a->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!formaboutexistente());
    }

    void captions_data()
    {
        QTest::addColumn<Textos>("texts");
        QTest::addColumn<QStringList>("expected"); // caption, title, description, version, label, buttons
        QTest::newRow("all texts") << textos << QStringList{"About Curvexa",
                                                            "Curvexa",
                                                            "Plots curves,\nfitted.",
                                                            "Curvexa (version 0.1)",
                                                            "Authors:",
                                                            "System...",
                                                            "OK"};
        QTest::newRow("no texts") << Textos{} << QStringList{" ", "", "\n", " ()", ":", "...", ""};
    }

    void captions()
    {
        QFETCH(Textos, texts);
        QFETCH(QStringList, expected);
        frmAbout &a = abrir(texts);
        QCOMPARE((QStringList{a.windowTitle(), caption(a, "lblTitle"), caption(a, "lblDescription"),
                              caption(a, "lblVersion"), caption(a, "lblDisclaimer"), caption(a, "cmdSysInfo"),
                              caption(a, "cmdOK")}),
                 expected);
        QCOMPARE(caption(a, "Label1"), QString::fromUtf8(lineaautores1));
        QCOMPARE(caption(a, "Label2"), QString::fromUtf8(lineaautores2));
        QCOMPARE(caption(a, "lblweb"), QString::fromUtf8(paginawebautores));
        QVERIFY(a.findChild<QLabel *>(QStringLiteral("Image1")));
    }

    // Two authors, one a line with their e-mail address; the web page's
    // address is shown once, as the link.
    void two_author_lines_and_the_address_once()
    {
        frmAbout &a = abrir();
        const QString uno = caption(a, "Label1"), dos = caption(a, "Label2");
        QVERIFY(uno != dos);
        const QRegularExpression correo(QStringLiteral("\\S+@\\S+\\.\\S+"));
        QVERIFY2(correo.match(uno).hasMatch(), qPrintable(uno));
        QVERIFY2(correo.match(dos).hasMatch(), qPrintable(dos));
        const QString web = QString::fromUtf8(paginawebautores);
        QStringList conladireccion;
        for (QLabel *l : a.findChildren<QLabel *>())
            if (l->text().contains(web))
                conladireccion << l->objectName();
        QCOMPARE(conladireccion, QStringList{"lblweb"});
    }

    void web_link_opens_the_address()
    {
        frmAbout &a = abrir();
        a.show();
        RecordingShell shell;
        shell.result = false; // no browser: nothing more happens
        ScriptedMsgBox box;
        auto *web = a.findChild<QLabel *>(QStringLiteral("lblweb"));
        QTest::mouseClick(web, Qt::LeftButton);
        QCOMPARE(shell.calls.size(), 1);
        QCOMPARE(shell.calls[0].commandLine,
                 QStringLiteral("explorer ") + QString::fromUtf8(paginawebautores));
        QCOMPARE(shell.calls[0].windowStyle, int(vbNormalFocus));
        QCOMPARE(box.shown.size(), 0);
    }

    void ok_closes()
    {
        frmAbout &a = abrir();
        a.show();
        a.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!a.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!formaboutexistente());
    }

    void GetKeyValue_data()
    {
        QTest::addColumn<int>("type"); // 0: no value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");
        const QString before = QStringLiteral("before");
        QTest::newRow("string") << int(REG_SZ) << QByteArray("/usr/bin/tool\0", 14) << "PATH" << true
                                << "/usr/bin/tool";
        QTest::newRow("string cut at its first NUL")
            << int(REG_SZ) << QByteArray("a b\0rest\0", 9) << "PATH" << true << "a b";
        QTest::newRow("value name in other case")
            << int(REG_SZ) << QByteArray("x\0", 2) << "path" << true << "x";
        QTest::newRow("string filling the buffer")
            << int(REG_SZ) << QByteArray(1024, 'q') << "PATH" << true << QString(1024, QLatin1Char('q'));
        QTest::newRow("string longer than the buffer")
            << int(REG_SZ) << QByteArray(1025, 'q') << "PATH" << false << QString();
        QTest::newRow("32-bit") << int(REG_DWORD) << QByteArray("\x1f\x00\x00\x00", 4) << "PATH" << true
                                << "&h1F";
        QTest::newRow("32-bit high") << int(REG_DWORD) << QByteArray("\x78\x56\x34\x12", 4) << "PATH" << true
                                     << "&h12345678";
        QTest::newRow("other type keeps the text")
            << int(REG_BINARY) << QByteArray("\x01\x02", 2) << "PATH" << true << before;
        QTest::newRow("missing value")
            << int(REG_SZ) << QByteArray("x\0", 2) << "OTHER" << false << QString();
        QTest::newRow("missing key") << 0 << QByteArray() << "PATH" << false << QString();
    }

    void GetKeyValue()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QFETCH(bool, found);
        QFETCH(QString, text);
        MemoryRegistry reg;
        if (type != 0)
            reg.setValue(HKEY_LOCAL_MACHINE, infoKey, QStringLiteral("PATH"), type, data);
        frmAbout &a = abrir();
        QString value = QStringLiteral("before");
        QCOMPARE(a.GetKeyValue(HKEY_LOCAL_MACHINE, infoKey, name, value), toVbBool(found));
        QCOMPARE(value, text);
        // Another root does not hold the key.
        QCOMPARE(a.GetKeyValue(HKEY_CURRENT_USER, infoKey, name, value), vbFalse);
        QCOMPARE(value, QString());
    }

    void StartSysInfo_data()
    {
        QTest::addColumn<QString>("path");     // "PATH" value; null: none
        QTest::addColumn<bool>("pathOther");   // "PATH" of another type
        QTest::addColumn<QString>("location"); // "MSINFO" folder; null: none
        QTest::addColumn<bool>("programThere");
        QTest::addColumn<bool>("starts");     // the shell succeeds
        QTest::addColumn<QString>("started"); // expected command line; "-": none
        QTest::addColumn<bool>("message");

        QTest::newRow("path") << "/usr/bin/hardinfo" << false << QString() << false << true
                              << "/usr/bin/hardinfo" << false;
        QTest::newRow("path not checked before the start")
            << "/nowhere/tool" << false << QString() << false << true << "/nowhere/tool" << false;
        QTest::newRow("path that fails to start")
            << "/nowhere/tool" << false << QString() << false << false << "/nowhere/tool" << true;
        QTest::newRow("path of another type")
            << QString() << true << QString() << false << false << "" << true;
        QTest::newRow("location with the program")
            << QString() << false << "with" << true << true << "with/MSINFO32.EXE" << false;
        QTest::newRow("location without the program")
            << QString() << false << "without" << false << true << "-" << true;
        QTest::newRow("nothing registered")
            << QString() << false << QString() << false << true << "-" << true;
    }

    void StartSysInfo()
    {
        QFETCH(QString, path);
        QFETCH(bool, pathOther);
        QFETCH(QString, location);
        QFETCH(bool, programThere);
        QFETCH(bool, starts);
        QFETCH(QString, started);
        QFETCH(bool, message);

        MemoryRegistry reg;
        if (!path.isNull())
            reg.setString(HKEY_LOCAL_MACHINE, infoKey, QStringLiteral("PATH"), path.toLatin1());
        if (pathOther)
            reg.setValue(HKEY_LOCAL_MACHINE, infoKey, QStringLiteral("PATH"), REG_BINARY,
                         QByteArray("\x05", 1));
        if (!location.isNull()) {
            const QString folder = dir.filePath(location);
            QVERIFY(QDir().mkpath(folder));
            if (programThere)
                escribirfichero(folder + QStringLiteral("/MSINFO32.EXE"), "MZ");
            reg.setString(HKEY_LOCAL_MACHINE, locationKey, QStringLiteral("MSINFO"), folder.toLatin1());
            if (started != QLatin1String("-"))
                started = dir.filePath(started);
        }
        RecordingShell shell;
        shell.result = starts;
        ScriptedMsgBox box;
        frmAbout &a = abrir();
        a.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();

        const bool calls = started != QLatin1String("-");
        QCOMPARE(shell.calls.size(), calls ? 1 : 0);
        if (calls) {
            QCOMPARE(shell.calls[0].commandLine, started);
            QCOMPARE(shell.calls[0].windowStyle, int(vbNormalFocus));
        }
        QCOMPARE(box.shown.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(box.shown[0].prompt, QStringLiteral("No system information"));
            QCOMPARE(box.shown[0].style, 0);
            QCOMPARE(box.shown[0].title, defaultMsgBoxTitle());
        }
        QVERIFY(formaboutexistente()); // the box stays open
    }

    // This system's own store answers with a system information program found
    // in the folders it looks in.
    void system_store_data()
    {
        QTest::addColumn<QString>("program"); // empty: none
        QTest::newRow("hardinfo") << "hardinfo";
        QTest::newRow("gnome-system-monitor") << "gnome-system-monitor";
        QTest::newRow("none") << QString();
    }

    void system_store()
    {
        QFETCH(QString, program);
        QTemporaryDir bin;
        QVERIFY(bin.isValid());
        QString full;
        if (!program.isEmpty()) {
            full = bin.filePath(program);
            escribirfichero(full, "#!/bin/sh\n");
            QVERIFY(QFile::setPermissions(full, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        SystemInfoRegistry store(QStringList{bin.path()});
        setRegistryStore(&store);
        RecordingShell shell;
        ScriptedMsgBox box;
        frmAbout &a = abrir();
        a.StartSysInfo();
        setRegistryStore(nullptr);
        if (program.isEmpty()) {
            QCOMPARE(shell.calls.size(), 0);
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].prompt, QStringLiteral("No system information"));
        } else {
            QCOMPARE(shell.calls.size(), 1);
            QCOMPARE(shell.calls[0].commandLine, full);
            QCOMPARE(box.shown.size(), 0);
        }
    }
};

QTEST_MAIN(TstFrmAbout)
#include "tst_frmabout.moc"
