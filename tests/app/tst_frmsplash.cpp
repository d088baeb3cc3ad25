#include "ventanas.h"

#include "app/frmSplash.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

class TstFrmSplash : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QPointer<frmSplash> cargar()
    {
        auto *s = new frmSplash;
        s->Form_Load();
        s->show();
        return s;
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        platform::setProgramFolder(dir.path());
        escribirfichero(dir.filePath(QStringLiteral("idioma.lng")),
                        lineascrlf(ficheroprueba({{2, "Edit"},
                                                  {6, "Curvexa"},
                                                  {100, "Maker"},
                                                  {101, "Line one"},
                                                  {102, "Line two"},
                                                  {103, "v9"}})));
    }

    void cleanup()
    {
        cerrarventanas();
        platform::setProgramFolder(QString());
    }

    void load_step()
    {
        QPointer<frmSplash> s = cargar();
        QCOMPARE(ficheroidioma, dir.filePath(QStringLiteral("idioma.lng")));
        // The main window exists, hidden, with its load step finished.
        principal *p = formprincipalexistente();
        QVERIFY(p);
        QVERIFY(p->loaded());
        QVERIFY(!p->isVisible());
        QCOMPARE(p->windowTitle(), QStringLiteral("Curvexa"));
        QCOMPARE(p->itemidiomas(1)->text(), QStringLiteral("English"));
        QVERIFY(p->itemidiomas(1)->isChecked());

        QCOMPARE(s->findChild<QLabel *>("lblCompanyProduct")->text(), QStringLiteral("Maker"));
        QCOMPARE(s->findChild<QLabel *>("lblProductName")->text(), QStringLiteral("Curvexa"));
        QCOMPARE(s->findChild<QLabel *>("lblProductDescription")->text(),
                 QStringLiteral("Line one\nLine two"));
        QCOMPARE(s->findChild<QLabel *>("lblVersion")->text(), QStringLiteral("v9"));
        QCOMPARE(s->findChild<QLabel *>("lblWarning")->text(), QString()); // text 104 missing
        // Two authors, one a line.
        const QString autor1 = s->findChild<QLabel *>("Label1")->text();
        const QString autor2 = s->findChild<QLabel *>("Label2")->text();
        QVERIFY(!autor1.isEmpty());
        QVERIFY(!autor2.isEmpty());
        QVERIFY(autor1 != autor2);
        QVERIFY(autor2.contains(QLatin1Char('@')));
        QVERIFY(s->timer()->isActive());
        QCOMPARE(s->timer()->interval(), 1000);
    }

    void closes_at_the_fifth_tick()
    {
        QPointer<frmSplash> s = cargar();
        QSignalSpy closed(s.data(), &frmSplash::descargado);
        for (int i = 1; i <= 4; ++i) {
            s->Timer1_Timer();
            QVERIFY(s->isVisible());
            QVERIFY(!formprincipal().isVisible());
        }
        s->Timer1_Timer();
        QCOMPARE(closed.count(), 1);
        QVERIFY(formprincipal().isVisible());
        QVERIFY(!s->timer()->isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(s.isNull());
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("closes");
        for (const char *name : {"fraMainFrame", "Image1", "Image2", "Label1", "Label2", "lblCompanyProduct",
                                 "lblPlatform", "lblProductName", "lblVersion", "lblWarning"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        QTest::newRow("lblProductDescription") << QStringLiteral("lblProductDescription") << false;
        QTest::newRow("Label3") << QStringLiteral("Label3") << false;
    }

    void clicks()
    {
        QFETCH(QString, control);
        QFETCH(bool, closes);
        QPointer<frmSplash> s = cargar();
        QVERIFY(QTest::qWaitForWindowExposed(s.data()));
        QSignalSpy closed(s.data(), &frmSplash::descargado);
        s->Timer1_Timer(); // one second after start
        auto *w = s->findChild<QWidget *>(control);
        QVERIFY(w);
        QPoint where = w->rect().center();
        if (control == QLatin1String("fraMainFrame"))
            where = QPoint(3, 3); // the frame itself, away from its labels
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, where);
        QCOMPARE(closed.count(), closes ? 1 : 0);
        QCOMPARE(formprincipal().isVisible(), closes);
        if (closes) {
            QVERIFY(!s->timer()->isActive());
            // No later tick shows the main window a second time.
            for (int i = 0; i < 5 && s; ++i)
                s->Timer1_Timer();
            QCOMPARE(closed.count(), 1);
        } else {
            QVERIFY(s->isVisible());
            QVERIFY(s->timer()->isActive());
            for (int i = 0; i < 4; ++i)
                s->Timer1_Timer();
            QCOMPARE(closed.count(), 1);
            QVERIFY(formprincipal().isVisible());
        }
    }

    void missing_language_file_is_restored()
    {
        QFile::remove(dir.filePath(QStringLiteral("idioma.lng")));
        QPointer<frmSplash> s = cargar();
        QCOMPARE(leerfichero(dir.filePath(QStringLiteral("idioma.lng"))), ficheroidiomaoriginal());
        QCOMPARE(s->findChild<QLabel *>("lblProductName")->text(), QStringLiteral("Curvexa"));
        QCOMPARE(numidiomas, platform::Integer(2));
        QCOMPARE(formprincipal().itemidiomas(2)->text(), QString::fromUtf8("Español"));
    }

    void no_language_file_at_all()
    {
        // The program folder cannot hold a file named idioma.lng: the
        // program still starts, with empty captions.
        QFile::remove(dir.filePath(QStringLiteral("idioma.lng")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("idioma.lng")));
        QPointer<frmSplash> s = cargar();
        QCOMPARE(s->findChild<QLabel *>("lblProductName")->text(), QString());
        QCOMPARE(formprincipal().windowTitle(), QString());
        QCOMPARE(formprincipal().curvecountLabel()->text(), QStringLiteral(":"));
        QCOMPARE(numidiomas, platform::Integer(0));
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("idioma.lng")));
    }
};

QTEST_MAIN(TstFrmSplash)
#include "tst_frmsplash.moc"
