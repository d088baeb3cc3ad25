#include "ventanas.h"

#include "app/frmAbout.h"
#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/frmIdioma.h"
#include "language/ini.h"
#include "platform/flexgrid.h"
#include "platform/htmlhelp.h"
#include "platform/msgbox.h"
#include "platform/updown.h"
#include "textbox/textextend.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace
{

const QMap<int, QString> textosingles{
    {1, "Languages"},     {2, "Edit languages..."},
    {3, "No section"},    {4, "Stored"},
    {6, "Curvexa"},       {11, "New"},
    {12, "Save"},         {13, "Print"},
    {14, "Copy"},         {15, "Web page"},
    {16, "Draw"},         {17, "Help"},
    {18, "No help file"}, {20, "Chart title"},
    {21, "X caption"},    {22, "Y caption"},
    {23, "Curves"},       {49, "Clear"},
    {79, "Open"},         {80, "About"},
};

QStringList visibleTabs(QTabWidget *t)
{
    QStringList out;
    for (int i = 0; i < t->count(); ++i)
        if (t->isTabVisible(i))
            out << t->tabText(i);
    return out;
}

} // namespace

class TstPrincipal : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // Starts the way the program does: language file, language menu (which
    // creates and loads the main window), then the window is shown.
    principal &arrancar(const QMap<int, QString> &texts = textosingles)
    {
        escribirfichero(dir.filePath(QStringLiteral("idioma.lng")), lineascrlf(ficheroprueba(texts)));
        ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
        instalarmenuidiomasprincipal();
        cargaridiomas();
        principal &p = formprincipal();
        return p;
    }

    QAction *boton(principal &p, const QString &key)
    {
        for (QAction *a : p.toolbar()->actions())
            if (a->property("Key").toString() == key && !a->isSeparator())
                return a;
        return nullptr;
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        platform::setProgramFolder(dir.path());
        curvas.reset();
    }

    void cleanup()
    {
        cerrarventanas();
        registrarmenuidiomas(nullptr);
        platform::setProgramFolder(QString());
    }

    void load_step()
    {
        principal &p = arrancar();
        QCOMPARE(p.windowTitle(), QStringLiteral("Curvexa"));

        QStringList keys, captions;
        int separators = 0;
        for (QAction *a : p.toolbar()->actions()) {
            if (a->isSeparator()) {
                ++separators;
                continue;
            }
            keys << a->property("Key").toString();
            captions << a->text();
            QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
            QCOMPARE(a->icon().pixmap(32, 32).size(), QSize(32, 32));
        }
        QCOMPARE(p.toolbar()->actions().size(), 10);
        QCOMPARE(separators, 2);
        QCOMPARE(p.toolbar()->actions().at(3)->isSeparator(), true);
        QCOMPARE(p.toolbar()->actions().at(6)->isSeparator(), true);
        QCOMPARE(keys, (QStringList{"Nuevo", "Abrir", "Guardar", "Borrar", "Dibujar", "Idiomas", "Ayuda",
                                    "Acercade"}));
        QCOMPARE(captions,
                 (QStringList{"New", "Open", "Save", "Clear", "Draw", "Languages", "Help", "About"}));

        QCOMPARE(p.titlebox()->HeaderCaption(), QStringLiteral("Chart title:"));
        QVERIFY(p.titlebox()->Header());
        QCOMPARE(p.titlebox()->text(), QStringLiteral("Chart title"));
        QCOMPARE(p.xcaptionbox()->HeaderCaption(), QStringLiteral("X caption:"));
        QCOMPARE(p.xcaptionbox()->text(), QStringLiteral("X"));
        QCOMPARE(p.ycaptionbox()->HeaderCaption(), QStringLiteral("Y caption:"));
        QCOMPARE(p.ycaptionbox()->text(), QStringLiteral("Y"));
        QCOMPARE(p.curvecountLabel()->text(), QStringLiteral("Curves:"));
        QCOMPARE(p.curvecount()->text(), QStringLiteral("1"));
        QCOMPARE(p.spinner()->Min(), 1);
        QCOMPARE(p.spinner()->Max(), 10);

        QCOMPARE(p.tabs()->count(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(p.tabs()->tabText(i), QString::number(i + 1));
            QCOMPARE(p.frametab(i)->objectName(), QStringLiteral("FRMtab_%1").arg(i));
        }
        QCOMPARE(visibleTabs(p.tabs()), QStringList{"1"});
        QCOMPARE(p.tabs()->currentIndex(), 0);

        ctrgraficas *c = p.chart();
        QCOMPARE(c->objectName(), QStringLiteral("ctrgraficas1"));
        QCOMPARE(c->ImgToolTip(), QStringLiteral("Web page"));
        QCOMPARE(c->TituloCaption(), QStringLiteral("Chart title"));
        QCOMPARE(c->CopyCaption(), QStringLiteral("Copy"));
        QCOMPARE(c->PrintCaption(), QStringLiteral("Print"));
        QVERIFY(!c->ImgWebPage().isEmpty());
        QCOMPARE(c->LeyendXCaption(), QStringLiteral("X"));
        QCOMPARE(c->LeyendYCaption(), QStringLiteral("Y"));
        QCOMPARE(c->NumGraf(), QStringLiteral("1"));
        QVERIFY(c->Pie());
        QVERIFY(c->Botones());
        QVERIFY(c->Logo());

        const Curva &c1 = curvas(1);
        QCOMPARE(c1.activa, platform::vbTrue);
        QCOMPARE(c1.npuntos, platform::Integer(2));
        QCOMPARE(c1.puntos.ubound(), 2);
        QCOMPARE(c1.puntos(2).x, 1.0);
        QCOMPARE(c1.puntos(2).y, 1.0);
        // The chart made curve 1's extent its first view.
        QCOMPARE(c1.maximo.x, 1.0);
        QCOMPARE(c1.minimo.y, 0.0);

        QCOMPARE(p.imagescolor().count(), 16);
        QCOMPARE(p.imagescolor().indexOf(QStringLiteral("c15")), 16);
    }

    // Every one-line box of the window (title and captions, the legend and
    // legend-position boxes and cell editors of all ten tabs, the chart's
    // limit boxes), at the fonts the window gives them: the area where the
    // inner box draws its text holds a whole line of its font.
    void one_line_boxes_hold_a_whole_line()
    {
        principal &p = arrancar();
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        const QList<textextend *> boxes = p.findChildren<textextend *>();
        QCOMPARE(boxes.size(), 3 + 10 * 4 + 4);
        for (textextend *t : boxes) {
            QLineEdit *e = t->textBox();
            QStyleOptionFrame o;
            o.initFrom(e);
            o.rect = e->contentsRect();
            o.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, e) : 0;
            const QRect texto =
                e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e).marginsRemoved(e->textMargins());
            const int linea = QFontMetrics(e->font()).height();
            const QString quien = t->objectName();
            QVERIFY2(texto.height() >= linea, qPrintable(quien));
            // The control shows its inner box whole.
            QVERIFY2(e->geometry().bottom() < t->height(), qPrintable(quien));
            QVERIFY2(t->height() >= t->sizeHint().height(), qPrintable(quien));
        }
    }

    void missing_texts_data()
    {
        QTest::addColumn<int>("removed");
        QTest::newRow("no text 23") << 23;
        QTest::newRow("no text 11") << 11;
        QTest::newRow("no text 20") << 20;
    }

    void missing_texts()
    {
        QFETCH(int, removed);
        QMap<int, QString> texts = textosingles;
        texts.remove(removed);
        principal &p = arrancar(texts);
        QCOMPARE(p.curvecountLabel()->text(),
                 removed == 23 ? QStringLiteral(":") : QStringLiteral("Curves:"));
        QCOMPARE(boton(p, "Nuevo")->text(), removed == 11 ? QString() : QStringLiteral("New"));
        QCOMPARE(p.titlebox()->HeaderCaption(),
                 removed == 20 ? QStringLiteral(":") : QStringLiteral("Chart title:"));
        QCOMPARE(p.titlebox()->text(), removed == 20 ? QString() : QStringLiteral("Chart title"));
    }

    void dispatch_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("boxes");   // message boxes shown
        QTest::addColumn<bool>("resets"); // curve 3 (tab 2) was reset
        QTest::addColumn<bool>("menu");   // the language menu popped up
        QTest::newRow("Ayuda") << "Ayuda" << 1 << false << false;
        QTest::newRow("ayuda") << "ayuda" << 0 << false << false;
        QTest::newRow("AYUDA") << "AYUDA" << 0 << false << false;
        QTest::newRow("Borrar") << "Borrar" << 0 << true << false;
        QTest::newRow("borrar") << "borrar" << 0 << false << false;
        QTest::newRow("Borrar with a blank") << "Borrar " << 0 << false << false;
        QTest::newRow("Idiomas") << "Idiomas" << 0 << false << true;
        QTest::newRow("idiomas") << "idiomas" << 0 << false << false;
        QTest::newRow("nuevo") << "nuevo" << 0 << false << false;
        QTest::newRow("separator") << "" << 0 << false << false;
        QTest::newRow("Acercade") << "Acercade" << 0 << false << false;
    }

    void dispatch()
    {
        QFETCH(QString, key);
        QFETCH(int, boxes);
        QFETCH(bool, resets);
        QFETCH(bool, menu);
        principal &p = arrancar();
        p.show();
        p.spinner()->upButton()->click();
        p.spinner()->upButton()->click();
        QCOMPARE(p.tabs()->currentIndex(), 2);
        curvas(3).npuntos = 7;
        curvas(3).leyenda = QStringLiteral("kept");

        platform::ScriptedMsgBox box;
        QAction button(nullptr);
        button.setProperty("Key", key);
        // The About box is modal: it is looked at and closed from the event loop.
        bool aboutModal = false;
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [&aboutModal]() {
            if (frmAbout *a = formaboutexistente()) {
                aboutModal = a->isVisible() && QApplication::activeModalWidget() == a;
                a->cmdOK_Click();
            }
        });
        closer.start(0);
        p.TBmain_ButtonClick(&button);
        QCOMPARE(aboutModal, key == QLatin1String("Acercade"));
        QCOMPARE(box.shown.size(), boxes);
        QCOMPARE(curvas(3).npuntos, platform::Integer(resets ? 2 : 7));
        QCOMPARE(curvas(3).leyenda, resets ? QString() : QStringLiteral("kept"));
        QCOMPARE(curvas(2).npuntos, platform::Integer(0));
        QCOMPARE(p.menuidiomas()->isVisible(), menu);
        p.menuidiomas()->hide();
    }

    void help()
    {
        principal &p = arrancar();
        platform::ScriptedMsgBox box;
        platform::RecordingHelp help;
        // The help file of the current language does not exist.
        QCOMPARE(platform::helpFile(), dir.filePath(QStringLiteral("English.chm")));
        boton(p, "Ayuda")->trigger();
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("No help file"));
        QCOMPARE(box.shown[0].style, 64);
        QCOMPARE(box.shown[0].title, QStringLiteral("Curvexa"));
        QVERIFY(help.opened.isEmpty());

        escribirfichero(dir.filePath(QStringLiteral("English.chm")), "ITSF");
        boton(p, "Ayuda")->trigger();
        QCOMPARE(help.opened, QStringList{dir.filePath(QStringLiteral("English.chm"))});
        QCOMPARE(box.shown.size(), 1);

        help.failure = QStringLiteral("No viewer for help files");
        boton(p, "Ayuda")->trigger();
        QCOMPARE(box.shown.size(), 2);
        QCOMPARE(box.shown[1].prompt, QStringLiteral("No viewer for help files"));
        QCOMPARE(box.shown[1].style, 0);
        QCOMPARE(box.shown[1].title, platform::defaultMsgBoxTitle());
    }

    void spinner()
    {
        principal &p = arrancar();
        QToolButton *up = p.spinner()->upButton();
        QToolButton *down = p.spinner()->downButton();
        QTabWidget *tabs = p.tabs();

        up->click();
        QCOMPARE(p.curvecount()->text(), QStringLiteral("2"));
        QCOMPARE(visibleTabs(tabs), (QStringList{"1", "2"}));
        QCOMPARE(tabs->currentIndex(), 1);

        up->click();
        QCOMPARE(visibleTabs(tabs), (QStringList{"1", "2", "3"}));
        curvas(3).npuntos = 9;
        curvas(3).activa = platform::vbFalse;
        curvas(4).npuntos = 5;
        down->click(); // 3 -> 2: tab 2 given up and its curve reset
        QCOMPARE(p.curvecount()->text(), QStringLiteral("2"));
        QCOMPARE(visibleTabs(tabs), (QStringList{"1", "2"}));
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(curvas(3).npuntos, platform::Integer(2));
        QCOMPARE(curvas(3).activa, platform::vbTrue);
        QCOMPARE(curvas(3).posicionx, -1.0);
        QCOMPARE(curvas(3).maximo.y, 1.0);
        QCOMPARE(curvas(4).npuntos, platform::Integer(5));

        down->click();
        QCOMPARE(visibleTabs(tabs), QStringList{"1"});
        QCOMPARE(tabs->currentIndex(), 0);
        curvas(2).npuntos = 6;
        down->click(); // at 1 nothing changes
        QCOMPARE(p.curvecount()->text(), QStringLiteral("1"));
        QCOMPARE(visibleTabs(tabs), QStringList{"1"});
        QCOMPARE(curvas(2).npuntos, platform::Integer(6));

        for (int i = 0; i < 12; ++i)
            up->click();
        QCOMPARE(p.curvecount()->text(), QStringLiteral("10"));
        QCOMPARE(visibleTabs(tabs).size(), 10);
        tabs->setCurrentIndex(4);
        up->click(); // stays at 10: tab 9 becomes current again
        QCOMPARE(tabs->currentIndex(), 9);
        QCOMPARE(visibleTabs(tabs).size(), 10);
    }

    // A language added in the editor gets its menu item before the separator,
    // without the check mark, once it is saved.
    void editor_save_refills_the_menu()
    {
        principal &p = arrancar();
        platform::ScriptedMsgBox box;
        p.itemidiomas(4)->trigger();
        frmIdioma *editor = formidiomaexistente();
        QVERIFY(editor);
        editor->btnuevo_Click();
        editor->grid()->setRow(0);
        editor->grid()->setCol(3);
        editor->MSFlexIdiomas_Click();
        editor->editor()->setText(QStringLiteral("Italiano"));
        QCOMPARE(p.itemidiomas(3)->isSeparator(), true);
        editor->btguardar_Click();
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.itemidiomas(3)->text(), QStringLiteral("Italiano"));
        QVERIFY(p.itemidiomas(3)->isVisible());
        QVERIFY(!p.itemidiomas(3)->isChecked());
        QVERIFY(p.itemidiomas(1)->isChecked());
        QVERIFY(p.itemidiomas(4)->isSeparator());
        QCOMPARE(p.itemidiomas(5)->text(), QStringLiteral("Edit languages..."));
        // The new item is an ordinary language: choosing it stores the choice.
        p.itemidiomas(3)->trigger();
        QCOMPARE(leerini(ficheroidioma, "idioma", "idioma"), QStringLiteral("Italiano"));
        // The editor item moved with the list.
        p.itemidiomas(5)->trigger();
        QCOMPARE(formidiomaexistente(), editor);
    }

    void language_menu()
    {
        principal &p = arrancar();
        QCOMPARE(p.itemidiomas(1)->text(), QStringLiteral("English"));
        QVERIFY(p.itemidiomas(1)->isChecked());
        QCOMPARE(p.itemidiomas(2)->text(), QStringLiteral("Deutsch"));
        QVERIFY(!p.itemidiomas(2)->isChecked());
        QVERIFY(p.itemidiomas(3)->isSeparator());
        QCOMPARE(p.itemidiomas(4)->text(), QStringLiteral("Edit languages..."));
        for (int i = 5; i <= 10; ++i)
            QVERIFY(!p.itemidiomas(i)->isVisible());

        const QByteArray before = leerfichero(ficheroidioma);
        platform::ScriptedMsgBox box;
        p.itemidiomas(1)->trigger(); // the current language: nothing
        p.itemidiomas(4)->trigger(); // the editor item: no language change
        QCOMPARE(box.shown.size(), 0);
        frmIdioma *editor = formidiomaexistente();
        QVERIFY(editor && editor->isVisible() && !editor->parentWidget());
        p.itemidiomas(4)->trigger(); // the same editor again
        QCOMPARE(formidiomaexistente(), editor);
        QCOMPARE(leerfichero(ficheroidioma), before);
        QVERIFY(p.itemidiomas(1)->isChecked());

        p.itemidiomas(2)->trigger();
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Stored"));
        QCOMPARE(leerini(ficheroidioma, "idioma", "idioma"), QStringLiteral("Deutsch"));
        // The marks stay with the language the program started with.
        QVERIFY(p.itemidiomas(1)->isChecked());
        QVERIFY(!p.itemidiomas(2)->isChecked());
        QCOMPARE(p.windowTitle(), QStringLiteral("Curvexa"));
    }

    void unload_releases_workbook_objects()
    {
        principal &p = arrancar();
        QStringList released;
        auto tracked = [&released](const char *name) {
            return std::shared_ptr<void>(new int(0), [&released, name](void *q) {
                released << QString::fromLatin1(name);
                delete static_cast<int *>(q);
            });
        };
        p.objexcel = tracked("excel");
        p.objlibro = tracked("libro");
        p.objhoja = tracked("hoja");
        p.show();
        p.close();
        QCOMPARE(released, (QStringList{"libro", "excel", "hoja"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(formprincipalexistente(), nullptr);
    }
};

QTEST_MAIN(TstPrincipal)
#include "tst_principal.moc"
