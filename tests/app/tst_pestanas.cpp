// The curve tabs of the main window driven through their widgets: panel
// set-up and reset, degree limits, the point grid with its in-place editor,
// and the hand-over of the curves to the chart.

#include "ventanas.h"

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/msgbox.h"
#include "platform/recordingsurface.h"
#include "platform/updown.h"
#include "textbox/textextend.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace
{

QMap<int, QString> textospestanas()
{
    QMap<int, QString> t;
    for (int id = 1; id <= 80; ++id)
        t.insert(id, QStringLiteral("T%1").arg(id));
    t.insert(24, QStringLiteral("Legend"));
    t.insert(72, QStringLiteral("Not a number"));
    t.insert(73, QStringLiteral("Two points at least"));
    t.insert(74, QStringLiteral("Points"));
    t.insert(75, QStringLiteral("File"));
    return t;
}

} // namespace

class TstPestanas : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    principal &arrancar(const QMap<int, QString> &textos = textospestanas())
    {
        escribirfichero(dir.filePath(QStringLiteral("idioma.lng")), lineascrlf(ficheroprueba(textos)));
        ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));
        instalarmenuidiomasprincipal();
        cargaridiomas();
        principal &p = formprincipal();
        p.show();
        if (!QTest::qWaitForWindowExposed(&p))
            qWarning("main window not exposed");
        return p;
    }

    static void clic(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

    // Clicks a cell of a point grid (row >= 1, col >= 1) where it is on screen.
    static void cliccelda(platform::FlexGrid *g, int row, int col)
    {
        QTableView *v = g->view();
        const QModelIndex idx = v->model()->index(row - 1, col - 1);
        v->scrollTo(idx);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(idx).center());
    }

    // Adds point rows with the add button and types their values through the editor.
    static void escribirpuntos(principal &p, int i, const QList<QPair<QString, QString>> &puntos)
    {
        const auto k = static_cast<std::size_t>(i);
        for (const auto &pt : puntos) {
            clic(p.BTadd[k]);
            const int n = p.MSFdata[k]->Rows() - 1;
            for (int c = 1; c <= 2; ++c) {
                cliccelda(p.MSFdata[k], n, c);
                QTest::keyClicks(p.TXTflex[k]->textBox(), c == 1 ? pt.first : pt.second);
            }
        }
        p.MSFdata[k]->view()->setFocus(); // the editor commits its text
    }

    static void pulsar(principal &p, const char *key)
    {
        for (QAction *a : p.toolbar()->actions())
            if (a->property("Key").toString() == QLatin1String(key)) {
                clic(p.toolbar()->widgetForAction(a));
                return;
            }
        QFAIL("no such toolbar button");
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
        platform::setProgramFolder(QString());
    }

    void freshPanel()
    {
        principal &p = arrancar();
        for (std::size_t k : {std::size_t(0), std::size_t(9)}) {
            const int i = static_cast<int>(k);
            QCOMPARE(p.findChild<platform::FlexGrid *>(QStringLiteral("MSFdata_%1").arg(i)), p.MSFdata[k]);
            QCOMPARE(p.findChild<textextend *>(QStringLiteral("TXTflex_%1").arg(i)), p.TXTflex[k]);
            QCOMPARE(p.TXTlg[k]->text(), QStringLiteral("Legend"));
            QCOMPARE(p.TXTlg[k]->HeaderCaption(), QStringLiteral("Legend:"));
            QCOMPARE(p.TXTx[k]->text(), QStringLiteral("-1"));
            QCOMPARE(p.TXTy[k]->text(), QStringLiteral("-1"));
            QCOMPARE(p.LBLdata[k]->text(), QStringLiteral("T27:"));
            platform::FlexGrid *g = p.MSFdata[k];
            QCOMPARE(g->Rows(), 1);
            QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("X"));
            QCOMPARE(g->TextMatrix(0, 2), QStringLiteral("Y"));
            QCOMPARE(g->ColWidth(0), 495); // 500 twips in whole pixels
            QCOMPARE(g->ColWidth(2), g->ColWidth(1));
            QVERIFY(!p.TXTflex[k]->isVisible());
            QCOMPARE(p.TXTflex[k]->NumberBox(), 2);
            QCOMPARE(p.CMBlimitador[k]->count(), 3);
            QCOMPARE(p.CMBlimitador[k]->currentText(), QStringLiteral(","));
            QCOMPARE(p.BTimport[k]->toolTip(), QStringLiteral("T45 ,"));
            QCOMPARE(p.BTadd[k]->toolTip(), QStringLiteral("T50"));
            QVERIFY(p.OPTsi[k]->isChecked());
            QCOMPARE(p.OPTno[k]->text(), QStringLiteral("T30"));
            QCOMPARE(p.CMBunir[k]->count(), 8);
            QCOMPARE(p.CMBunir[k]->itemText(7), QStringLiteral("T39"));
            QCOMPARE(p.CMBunir[k]->currentIndex(), 0);
            QCOMPARE(p.TXTgrado[k]->text(), QStringLiteral("1"));
            QVERIFY(p.TXTgrado[k]->isReadOnly());
            QVERIFY(!p.TXTgrado[k]->isEnabled());
            QVERIFY(!p.LBLgrado[k]->isEnabled());
            QVERIFY(!p.UPDgrado[k]->isEnabled());
            QCOMPARE(p.UPDgrado[k]->Max(), 1);
            QCOMPARE(p.TXTgrado[k]->width(), 23); // 345 twips
            QCOMPARE(p.UPDgrado[k]->x(), p.TXTgrado[k]->x() + p.TXTgrado[k]->width());
            QCOMPARE(p.UPDgrosor[k]->x(), p.TXTgrosor[k]->x() + p.TXTgrosor[k]->width());
            QCOMPARE(p.TXTgrosor[k]->text(), QStringLiteral("1"));
            QVERIFY(p.TXTgrosor[k]->isReadOnly());
            QVERIFY(p.TXTgrosor[k]->isEnabled());
            QVERIFY(p.UPDgrosor[k]->isEnabled());
            QCOMPARE(p.UPDgrosor[k]->Min(), 1);
            QCOMPARE(p.UPDgrosor[k]->Max(), 5);
            QCOMPARE(p.CMBtipo[k]->count(), 3);
            QCOMPARE(p.CMBtipo[k]->currentIndex(), 0);
            QCOMPARE(p.CMBcolor[k]->count(), 16);
            QCOMPARE(p.CMBcolor[k]->selectedPosition(), 1);
            QCOMPARE(p.CMBcolor[k]->itemImageKey(16), QStringLiteral("c15"));
        }
        QCOMPARE(p.tabs()->currentIndex(), 0);
    }

    // The ten panels are built alike and look alike: every control stands at
    // the same place in its tab, whichever tab was on view while the window
    // was built and whatever the order in which the tabs are first shown.
    void tabsLookAlike()
    {
        principal &p = arrancar();
        for (int n = 1; n < 10; ++n)
            clic(p.spinner()->upButton());
        for (int i = 9; i >= 0; --i) {
            p.tabs()->setCurrentIndex(i);
            QCoreApplication::processEvents();
        }
        const auto lugares = [&p](std::size_t k) {
            QList<QRect> r;
            for (QWidget *w : std::initializer_list<QWidget *>{
                     p.TXTlg[k], p.LBLx[k], p.TXTx[k], p.LBLy[k], p.TXTy[k], p.LBLdata[k], p.BTadd[k],
                     p.BTdelete[k], p.BTexcel[k], p.BTimport[k], p.CMBlimitador[k], p.MSFdata[k], p.LBLpuntos[k],
                     p.OPTsi[k], p.OPTno[k], p.LBLunir[k], p.CMBunir[k], p.LBLgrado[k], p.TXTgrado[k],
                     p.UPDgrado[k], p.LBLgrosor[k], p.TXTgrosor[k], p.UPDgrosor[k], p.LBLtipo[k], p.CMBtipo[k],
                     p.LBLcolor[k], p.CMBcolor[k]})
                r << QRect(w->mapTo(p.frametab(int(k)), QPoint(0, 0)), w->size());
            return r;
        };
        const QList<QRect> primera = lugares(0);
        for (std::size_t k = 1; k < 10; ++k) {
            p.tabs()->setCurrentIndex(int(k));
            QCOMPARE(lugares(k), primera);
        }
    }

    void panelWholeAtAnySize_data()
    {
        // Captions as short as the test's own, or as long as a language's
        // may be; the window as it opens, at its least size, and large.
        QTest::addColumn<bool>("largos");
        QTest::addColumn<QSize>("tamano");
        for (bool largos : {false, true}) {
            const char *t = largos ? "long captions" : "short captions";
            QTest::addRow("%s, as it opens", t) << largos << QSize();
            QTest::addRow("%s, least size", t) << largos << QSize(1, 1);
            QTest::addRow("%s, 1400 x 900", t) << largos << QSize(1400, 900);
        }
    }
    void panelWholeAtAnySize()
    {
        QFETCH(bool, largos);
        QFETCH(QSize, tamano);
        QMap<int, QString> textos = textospestanas();
        if (largos) {
            textos.insert(28, QString::fromUtf8("Marcar los puntos"));
            textos.insert(31, QString::fromUtf8("Unión o ajuste de la curva"));
            textos.insert(41, QString::fromUtf8("Grosor de la línea"));
            textos.insert(42, QString::fromUtf8("Tipo de línea de la curva"));
            textos.insert(43, QString::fromUtf8("Color de la curva"));
            textos.insert(46, QString::fromUtf8("Continua y gruesa"));
        }
        principal &p = arrancar(textos);
        if (tamano.isValid())
            p.resize(tamano.expandedTo(p.minimumSizeHint()));
        // The grid reaches across the panel, as the legend box does: no
        // strip of the panel stands beside it.
        const auto derecha = [&p](QWidget *w) { return w->mapTo(p.frametab(0), QPoint(w->width(), 0)).x(); };
        QTRY_COMPARE(derecha(p.MSFdata[0]), derecha(p.TXTlg[0]));
        // Its two value columns fill it but for the scroll bar's room.
        platform::FlexGrid *g = p.MSFdata[0];
        QCOMPARE(g->ColWidth(1), g->ColWidth(2));
        QVERIFY(qAbs(g->ColWidth(0) + 2 * g->ColWidth(1) + 300 - g->Width()) <= 30);
        // Every combo shows its text whole.
        for (QComboBox *c : {p.CMBlimitador[0], p.CMBunir[0], p.CMBtipo[0],
                             static_cast<QComboBox *>(p.CMBcolor[0])})
            QTRY_VERIFY2(c->width() >= c->sizeHint().width(), qPrintable(c->objectName()));
    }

    void degreeMaxima_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("puntos");
        QTest::addColumn<int>("maximo");
        QTest::addColumn<bool>("activo");
        QTest::newRow("spline, 5 points") << 2 << 5 << 1 << false;
        QTest::newRow("points only, 9 points") << 0 << 9 << 1 << false;
        QTest::newRow("x, 0 points") << 4 << 0 << 1 << true;
        QTest::newRow("x, 1 point") << 4 << 1 << 1 << true;
        QTest::newRow("x, 2 points") << 4 << 2 << 1 << true;
        QTest::newRow("x, 5 points") << 4 << 5 << 4 << true;
        QTest::newRow("sine, 11 points") << 5 << 11 << 10 << true;
        QTest::newRow("cosine, 3 points") << 6 << 3 << 2 << true;
        QTest::newRow("fourier, 1 point") << 7 << 1 << 1 << true;
        QTest::newRow("fourier, 2 points") << 7 << 2 << 0 << true;
        QTest::newRow("fourier, 3 points") << 7 << 3 << 0 << true;
        QTest::newRow("fourier, 4 points") << 7 << 4 << 1 << true;
        QTest::newRow("fourier, 5 points") << 7 << 5 << 2 << true;
        QTest::newRow("fourier, 7 points: 2.5 to 2") << 7 << 7 << 2 << true;
        QTest::newRow("fourier, 8 points") << 7 << 8 << 3 << true;
        QTest::newRow("fourier, 9 points: 3.5 to 4") << 7 << 9 << 4 << true;
        QTest::newRow("fourier, 11 points: 4.5 to 4") << 7 << 11 << 4 << true;
    }
    void degreeMaxima()
    {
        QFETCH(int, tipo);
        QFETCH(int, puntos);
        QFETCH(int, maximo);
        QFETCH(bool, activo);
        principal &p = arrancar();
        // Type first, then the rows, so the add button brings the limits along.
        p.CMBunir[0]->setCurrentIndex(tipo);
        for (int n = 0; n < puntos; ++n)
            clic(p.BTadd[0]);
        QCOMPARE(p.MSFdata[0]->Rows(), puntos + 1);
        QCOMPARE(p.UPDgrado[0]->Max(), maximo);
        QCOMPARE(p.UPDgrado[0]->Min(), 1);
        QCOMPARE(p.UPDgrado[0]->isEnabled(), activo);
        QCOMPARE(p.LBLgrado[0]->isEnabled(), activo);
        QCOMPARE(p.TXTgrado[0]->isEnabled(), activo);
        QVERIFY(p.TXTgrado[0]->isReadOnly());
        QCOMPARE(p.TXTgrado[0]->text(), QStringLiteral("1")); // never corrected
    }

    void displaysLookLikeFieldsUnlessOff()
    {
        principal &p = arrancar();
        // A field of the window as the user types into it, at the displays' size.
        QLineEdit campo(p.TXTgrosor[0]->parentWidget());
        campo.setGeometry(p.TXTgrosor[0]->geometry().translated(0, 40));
        campo.show();
        // The colour inside a field, left of its right-aligned text.
        const auto fondo = [](QLineEdit *e) { return e->grab().toImage().pixelColor(4, e->height() / 2); };
        const QColor normal = fondo(&campo);
        QCOMPARE(fondo(p.TXTgrosor[0]), normal);
        QVERIFY(fondo(p.TXTgrado[0]) != normal); // points only: no degree
        for (int n = 0; n < 5; ++n)
            clic(p.BTadd[0]);
        p.CMBunir[0]->setCurrentIndex(4);
        QCOMPARE(fondo(p.TXTgrado[0]), normal);
        QTest::keyClicks(p.TXTgrado[0], QStringLiteral("3"));
        QCOMPARE(p.TXTgrado[0]->text(), QStringLiteral("1"));
    }

    void fitTypeChangeFollowsRows()
    {
        principal &p = arrancar();
        for (int n = 0; n < 5; ++n)
            clic(p.BTadd[0]);
        // Picked with the keyboard, as a user does.
        p.CMBunir[0]->setFocus();
        for (int n = 0; n < 4; ++n)
            QTest::keyClick(p.CMBunir[0], Qt::Key_Down);
        QCOMPARE(p.CMBunir[0]->currentIndex(), 4);
        QCOMPARE(p.UPDgrado[0]->Max(), 4);
        QVERIFY(p.UPDgrado[0]->isEnabled());
        clic(p.UPDgrado[0]->upButton());
        clic(p.UPDgrado[0]->upButton());
        QCOMPARE(p.TXTgrado[0]->text(), QStringLiteral("3"));
        QTest::keyClick(p.CMBunir[0], Qt::Key_End);
        QCOMPARE(p.UPDgrado[0]->Max(), 2);
        QCOMPARE(p.TXTgrado[0]->text(), QStringLiteral("3"));
        p.CMBunir[0]->setCurrentIndex(2);
        QCOMPARE(p.UPDgrado[0]->Max(), 1);
        QVERIFY(!p.UPDgrado[0]->isEnabled());
    }

    void addDeleteRenumber()
    {
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        clic(p.BTadd[0]);
        QCOMPARE(g->Rows(), 2);
        QCOMPARE(g->TextMatrix(1, 0), QStringLiteral("1"));
        QCOMPARE(g->TextMatrix(1, 1), QString());
        QCOMPARE(g->Row(), 1);
        QCOMPARE(g->Col(), 0);
        QVERIFY(!p.TXTflex[0]->isVisible());
        clic(p.BTadd[0]);
        clic(p.BTadd[0]);
        for (int r = 1; r <= 3; ++r)
            g->setTextMatrix(r, 1, QStringLiteral("x%1").arg(r));
        // A drag from row 1 to row 2 selects row 2 for deletion.
        QTableView *v = g->view();
        const QPoint a = v->visualRect(v->model()->index(0, 1)).center();
        const QPoint b = v->visualRect(v->model()->index(1, 1)).center();
        QTest::mousePress(v->viewport(), Qt::LeftButton, {}, a);
        QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, b);
        QCOMPARE(g->RowSel(), 2);
        clic(p.BTdelete[0]);
        QCOMPARE(g->Rows(), 3);
        QCOMPARE(g->TextMatrix(1, 1), QStringLiteral("x1"));
        QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("x3"));
        QCOMPARE(g->TextMatrix(2, 0), QStringLiteral("2"));
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->Col(), 0);
        QCOMPARE(g->CellAlignment(), 4);
        // Nothing is selected now but the last row: it goes next.
        clic(p.BTdelete[0]);
        QCOMPARE(g->Rows(), 2);
        QCOMPARE(g->TextMatrix(1, 1), QStringLiteral("x1"));
        clic(p.BTdelete[0]);
        QCOMPARE(g->Rows(), 1);
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("X"));
        clic(p.BTdelete[0]);
        QCOMPARE(g->Rows(), 1);
        QCOMPARE(g->RowSel(), 0);
    }

    void headerSelectionKeepsHeader()
    {
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        for (int n = 0; n < 3; ++n)
            clic(p.BTadd[0]);
        QHeaderView *h = g->view()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(g->RowSel(), 0);
        QVERIFY(!p.TXTflex[0]->isVisible()); // no editor on a header cell
        clic(p.BTdelete[0]);
        QCOMPARE(g->Rows(), 4);
        QCOMPARE(g->TextMatrix(0, 2), QStringLiteral("Y"));
    }

    void editorFloatsOverCell()
    {
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        textextend *e = p.TXTflex[0];
        // A click on a grid without point rows shows nothing.
        QTableView *v = g->view();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(!e->isVisible());
        for (int n = 0; n < 3; ++n)
            clic(p.BTadd[0]);
        g->setTextMatrix(2, 1, QStringLiteral("7"));
        // A row number shows nothing either.
        QHeaderView *vh = v->verticalHeader();
        QTest::mouseClick(vh->viewport(), Qt::LeftButton, {}, QPoint(5, vh->sectionViewportPosition(1) + 3));
        QVERIFY(!e->isVisible());
        cliccelda(g, 2, 1);
        QVERIFY(e->isVisible());
        QCOMPARE(e->text(), QStringLiteral("7"));
        QVERIFY(e->textBox()->hasFocus());
        QCOMPARE(e->textBox()->selectedText(), QStringLiteral("7"));
        // Over the cell, in the grid's parent.
        const QRect cell = v->visualRect(v->model()->index(1, 0));
        QCOMPARE(e->pos(), v->viewport()->mapTo(e->parentWidget(), cell.topLeft()));
        QCOMPARE(e->width(), v->columnWidth(0));
    }

    void typingReachesCell_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("seen");
        QTest::newRow("number") << "1.5" << QStringList{"1", "1.", "1.5"};
        QTest::newRow("letter undone") << "2a" << QStringList{"2", "2"};
        QTest::newRow("negative") << "-3" << QStringList{"-", "-3"};
    }
    void typingReachesCell()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, seen);
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        clic(p.BTadd[0]);
        cliccelda(g, 1, 2);
        QVERIFY(p.TXTflex[0]->isVisible());
        for (int n = 0; n < keys.size(); ++n) {
            QTest::keyClick(p.TXTflex[0]->textBox(), keys.at(n).toLatin1());
            QCOMPARE(g->TextMatrix(1, 2), seen.at(n));
        }
        QCOMPARE(g->TextMatrix(1, 1), QString());
    }

    void scrollHidesEditor()
    {
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        for (int n = 0; n < 60; ++n)
            clic(p.BTadd[0]);
        cliccelda(g, 1, 1);
        QTest::keyClicks(p.TXTflex[0]->textBox(), QStringLiteral("42"));
        g->view()->verticalScrollBar()->setValue(10);
        QVERIFY(!p.TXTflex[0]->isVisible());
        QCOMPARE(g->TextMatrix(1, 1), QStringLiteral("42"));
    }

    void emptyEditorLeavesZeroInEditedCell_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("emptied") << QString();
        QTest::newRow("lone minus") << QStringLiteral("-");
    }
    void emptyEditorLeavesZeroInEditedCell()
    {
        QFETCH(QString, keys);
        principal &p = arrancar();
        platform::FlexGrid *g = p.MSFdata[0];
        clic(p.BTadd[0]);
        clic(p.BTadd[0]);
        g->setTextMatrix(1, 1, QStringLiteral("5"));
        g->setTextMatrix(2, 2, QStringLiteral("8"));
        cliccelda(g, 1, 1);
        QTest::keyClick(p.TXTflex[0]->textBox(), Qt::Key_Backspace); // the whole text was selected
        QTest::keyClicks(p.TXTflex[0]->textBox(), keys);
        // Leaving by a click on another cell of the same grid.
        cliccelda(g, 2, 2);
        QCOMPARE(g->TextMatrix(1, 1), QStringLiteral("0"));
        QCOMPARE(g->TextMatrix(2, 2), QStringLiteral("8"));
        QVERIFY(p.TXTflex[0]->isVisible());
        QCOMPARE(p.TXTflex[0]->text(), QStringLiteral("8"));
    }

    void resetPanelAndRecord()
    {
        principal &p = arrancar();
        escribirpuntos(p, 0, {{"1", "2"}, {"3", "4"}, {"5", "6"}});
        p.CMBunir[0]->setCurrentIndex(2);
        clic(p.OPTno[0]);
        p.CMBcolor[0]->setSelectedPosition(5);
        p.TXTx[0]->setText(QStringLiteral("2.5"));
        pulsar(p, "Dibujar");
        QCOMPARE(curvas(1).tipoajuste, 2);
        cliccelda(p.MSFdata[0], 2, 2); // an editor left open
        QVERIFY(p.TXTflex[0]->isVisible());
        pulsar(p, "Borrar");
        QVERIFY(!p.TXTflex[0]->isVisible());
        QCOMPARE(p.MSFdata[0]->TextMatrix(0, 2), QStringLiteral("Y"));
        QCOMPARE(p.MSFdata[0]->Rows(), 1);
        QCOMPARE(p.CMBunir[0]->currentIndex(), 0);
        QVERIFY(p.OPTsi[0]->isChecked());
        QCOMPARE(p.CMBcolor[0]->selectedPosition(), 1);
        QCOMPARE(p.TXTx[0]->text(), QStringLiteral("-1"));
        QCOMPARE(p.TXTlg[0]->text(), QStringLiteral("Legend"));
        const Curva &c = curvas(1);
        QCOMPARE(c.leyenda, QString());
        QCOMPARE(c.tipoajuste, 2); // until the next hand-over
        QCOMPARE(c.activa, platform::vbTrue);
        QCOMPARE(c.npuntos, 2);
        QCOMPARE(c.puntos(2).x, 1.0);
        QCOMPARE(c.posicionx, -1.0);
        QCOMPARE(c.maximo.y, 1.0);
    }

    void handOverValues_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<double>("value");
        QTest::newRow("comma stops the number") << "1,5" << 1.0;
        QTest::newRow("exponent") << "2e1" << 20.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("blanks inside") << " 1 2.5" << 12.5;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    }
    void handOverValues()
    {
        QFETCH(QString, x);
        QFETCH(double, value);
        principal &p = arrancar();
        for (int n = 0; n < 3; ++n)
            clic(p.BTadd[0]);
        platform::FlexGrid *g = p.MSFdata[0];
        g->setTextMatrix(1, 1, QStringLiteral("50")); // the largest x comes first
        g->setTextMatrix(1, 2, QStringLiteral("-4"));
        g->setTextMatrix(2, 1, x);
        g->setTextMatrix(2, 2, QStringLiteral("9"));
        g->setTextMatrix(3, 1, QStringLiteral("-7"));
        g->setTextMatrix(3, 2, QStringLiteral("3"));
        clic(p.OPTno[0]);
        p.CMBcolor[0]->setSelectedPosition(16);
        pulsar(p, "Dibujar");
        const Curva &c = curvas(1);
        QCOMPARE(c.npuntos, 3);
        QCOMPARE(c.puntos(2).x, value);
        QCOMPARE(c.maximo.x, 50.0);
        QCOMPARE(c.minimo.x, -7.0);
        QCOMPARE(c.maximo.y, 9.0);
        QCOMPARE(c.minimo.y, -4.0);
        QCOMPARE(c.verpuntos, 0);
        QCOMPARE(c.color, 15);
        QCOMPARE(c.posicionx, -1.0);
        QCOMPARE(c.posiciony, -1.0);
        QCOMPARE(c.leyenda, QStringLiteral("Legend"));
        QCOMPARE(c.activa, platform::vbTrue);
    }

    void legendFieldsClickAndType_data()
    {
        // The legend box holds "Legend", the position boxes 12.25; the user
        // clicks into one of them at the middle or the end of the box, types
        // and draws.
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("typed");
        QTest::newRow("legend, middle") << "legend" << "middle" << "spline";
        QTest::newRow("legend, end") << "legend" << "end" << "fit";
        QTest::newRow("legend, inside the text") << "legend" << "text" << "points";
        QTest::newRow("legend x, middle") << "x" << "middle" << "2.5";
        QTest::newRow("legend x, end") << "x" << "end" << "-3";
        QTest::newRow("legend x, inside the text") << "x" << "text" << "7";
        QTest::newRow("legend y, middle") << "y" << "middle" << "4";
        QTest::newRow("legend y, end") << "y" << "end" << "0.75";
    }
    void legendFieldsClickAndType()
    {
        QFETCH(QString, field);
        QFETCH(QString, where);
        QFETCH(QString, typed);
        principal &p = arrancar();
        QApplication::setActiveWindow(&p);
        QVERIFY(QTest::qWaitForWindowActive(&p));
        for (int n = 0; n < 2; ++n)
            clic(p.BTadd[0]);
        p.MSFdata[0]->setTextMatrix(2, 1, QStringLiteral("1"));
        p.TXTx[0]->setText(QStringLiteral("12.25"));
        p.TXTy[0]->setText(QStringLiteral("12.25"));
        p.MSFdata[0]->view()->setFocus();

        textextend *t = field == QLatin1String("legend") ? p.TXTlg[0]
                        : field == QLatin1String("x")    ? p.TXTx[0]
                                                         : p.TXTy[0];
        QLineEdit *e = t->textBox();
        const int y = e->height() / 2;
        QPoint donde(e->width() - 2, y);
        if (where == QLatin1String("middle"))
            donde.setX(e->width() / 2);
        else if (where == QLatin1String("text")) // after the first character
            for (donde.setX(0); donde.x() < e->width() && e->cursorPositionAt(donde) < 1;)
                donde.rx()++;
        QTest::mouseClick(e, Qt::LeftButton, {}, donde);
        QVERIFY(e->hasFocus());
        QTest::keyClicks(e, typed);
        QCOMPARE(t->text(), typed);

        pulsar(p, "Dibujar");
        const Curva &c = curvas(1);
        if (field == QLatin1String("legend"))
            QCOMPARE(c.leyenda, typed);
        else
            QCOMPARE(field == QLatin1String("x") ? c.posicionx : c.posiciony, typed.toDouble());
    }

    void secondCurveWithOnePointStops()
    {
        principal &p = arrancar();
        platform::ScriptedMsgBox boxes;
        platform::RecordingSurface surface(600, 400);
        p.chart()->setPlotSurface(&surface);
        clic(p.spinner()->upButton());
        QCOMPARE(p.curvecount()->text(), QStringLiteral("2"));
        escribirpuntos(p, 0, {{"0", "1"}, {"2", "3"}});
        escribirpuntos(p, 1, {{"4", "5"}});
        curvas(2).leyenda = QStringLiteral("before");
        curvas(2).npuntos = 7;
        surface.clearRecord();
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown.at(0).prompt, QStringLiteral("Two points at least"));
        QCOMPARE(boxes.shown.at(0).title, QStringLiteral("Points"));
        QCOMPARE(boxes.shown.at(0).style, 16);
        QCOMPARE(p.msgtexto, QStringLiteral("Two points at least"));
        QCOMPARE(p.msgrespuesta, platform::vbOK);
        QCOMPARE(curvas(1).npuntos, 2);
        QCOMPARE(curvas(1).puntos(2).y, 3.0);
        QCOMPARE(curvas(2).leyenda, QStringLiteral("before"));
        QCOMPARE(curvas(2).npuntos, 7);
        // Not redrawn: no curve reaches the plot.
        QCOMPARE(surface.count(platform::DrawCall::Kind::Line), 0);
        QCOMPARE(surface.count(platform::DrawCall::Kind::Circle), 0);
        QCOMPARE(p.chart()->NumGraf(), QStringLiteral("2"));
        p.chart()->setPlotSurface(nullptr);
    }

    void fieldWithoutNumberStops_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        QTest::newRow("degree empty") << "TXTgrado"
                                      << "";
        QTest::newRow("thickness letters") << "TXTgrosor"
                                           << "abc";
        QTest::newRow("legend x minus") << "TXTx"
                                        << "-";
        QTest::newRow("count too large") << "TXTng"
                                         << "11";
        QTest::newRow("count empty") << "TXTng"
                                     << "";
    }
    void fieldWithoutNumberStops()
    {
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        principal &p = arrancar();
        platform::ScriptedMsgBox boxes;
        escribirpuntos(p, 0, {{"0", "1"}, {"2", "3"}});
        curvas(1).leyenda = QStringLiteral("kept");
        if (campo == QLatin1String("TXTng"))
            p.curvecount()->setText(texto);
        else if (campo == QLatin1String("TXTx"))
            p.TXTx[0]->textBox()->setText(texto); // as a data file may leave it
        else
            p.findChild<QLineEdit *>(campo + QStringLiteral("_0"))->setText(texto);
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown.at(0).prompt, QStringLiteral("Not a number"));
        QCOMPARE(boxes.shown.at(0).title, QStringLiteral("File"));
        QCOMPARE(curvas(1).leyenda, QStringLiteral("kept"));
    }

    // Cells that the chart cannot take: one message saying what failed (a
    // number beyond the double range, or a span the view refuses), and
    // nothing changes: not the curve table, not the chart's captions, views
    // or plot. The next Draw with mended cells shows no message.
    void refusedCellsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("celdas"); // x1 y1 x2 y2
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        const QString nueves(330, QLatin1Char('9'));
        const QString x = QStringLiteral("X axe interval tends to infinite.\rChoose another interval");
        const QString y = QStringLiteral("Y axe interval tends to infinite\rChoose another interval");
        QTest::newRow("1e309") << QStringList{"0", "1", "2", "1e309"} << "Not a number"
                               << "File";
        QTest::newRow("330 nines") << QStringList{"0", "1", nueves, "3"} << "Not a number"
                                   << "File";
        QTest::newRow("1e24 as y") << QStringList{"0", "1", "2", "1e24"} << y << "Warning";
        QTest::newRow("1e24 as x") << QStringList{"0", "1", "1e24", "3"} << x << "Warning";
        QTest::newRow("every y at 1e39") << QStringList{"0", "1e39", "2", "1e39"} << y << "Warning";
    }
    void refusedCellsChangeNothing()
    {
        QFETCH(QStringList, celdas);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        principal &p = arrancar();
        platform::ScriptedMsgBox boxes;
        platform::RecordingSurface surface(600, 400);
        p.chart()->setPlotSurface(&surface);
        escribirpuntos(p, 0, {{"0", "1"}, {"2", "3"}});
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 0);
        const Punto min = p.chart()->escalaMin(), max = p.chart()->escalaMax();
        const QString titulo = p.chart()->TituloCaption();
        platform::FlexGrid *g = p.MSFdata[0];
        for (int k = 0; k < 4; ++k)
            g->setTextMatrix(k / 2 + 1, k % 2 + 1, celdas[k]);
        p.titlebox()->setText(QStringLiteral("new title"));
        surface.clearRecord();
        pulsar(p, "Dibujar");

        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].prompt, prompt);
        QCOMPARE(boxes.shown[0].title, title);
        QCOMPARE(boxes.shown[0].style, 16);
        QVERIFY(surface.calls().empty());
        QCOMPARE(p.chart()->TituloCaption(), titulo);
        QCOMPARE(curvas(1).puntos(2).x, 2.0);
        QCOMPARE(curvas(1).puntos(2).y, 3.0);
        QCOMPARE(p.chart()->escalaMin().x, min.x);
        QCOMPARE(p.chart()->escalaMin().y, min.y);
        QCOMPARE(p.chart()->escalaMax().x, max.x);
        QCOMPARE(p.chart()->escalaMax().y, max.y);

        for (int k = 0; k < 4; ++k)
            g->setTextMatrix(k / 2 + 1, k % 2 + 1, QString::number(k + 4));
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(surface.count(platform::DrawCall::Kind::Cls) > 0); // drawn
        QCOMPARE(curvas(1).puntos(2).x, 6.0);
        QCOMPARE(p.chart()->TituloCaption(), QStringLiteral("new title"));
        p.chart()->setPlotSurface(nullptr);
    }

    void countWithBlankAndDecimals()
    {
        principal &p = arrancar();
        platform::ScriptedMsgBox boxes;
        for (std::size_t k = 0; k < 3; ++k)
            for (int n = 0; n < 2; ++n)
                clic(p.BTadd[k]);
        p.curvecount()->setText(QStringLiteral(" 3"));
        p.TXTgrosor[2]->setText(QStringLiteral("2.5")); // half to even
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 0);
        QCOMPARE(p.chart()->NumGraf(), QStringLiteral("3"));
        QCOMPARE(curvas(3).npuntos, 2);
        QCOMPARE(curvas(3).grosor, 2);
        QCOMPARE(curvas(4).npuntos, 0); // above the count: untouched
    }

    // The main road: two curves typed in, one spline and one least-squares
    // fit, drawn with their legends.
    void mainRoad()
    {
        principal &p = arrancar();
        platform::ScriptedMsgBox boxes;
        platform::RecordingSurface surface(600, 400);
        p.chart()->setPlotSurface(&surface);
        p.titlebox()->setText(QStringLiteral("Two curves"));
        escribirpuntos(p, 0, {{"0", "0"}, {"1", "2"}, {"2", "1"}, {"3", "3"}});
        p.TXTlg[0]->setText(QStringLiteral("spline"));
        p.CMBunir[0]->setCurrentIndex(2);
        clic(p.spinner()->upButton());
        QCOMPARE(p.tabs()->currentIndex(), 1);
        escribirpuntos(p, 1, {{"0", "1"}, {"1", "1.5"}, {"2", "2.5"}, {"3", "4"}, {"4", "6"}});
        p.TXTlg[1]->setText(QStringLiteral("fit"));
        p.CMBunir[1]->setCurrentIndex(4);
        clic(p.UPDgrado[1]->upButton());
        QCOMPARE(p.TXTgrado[1]->text(), QStringLiteral("2"));
        p.CMBcolor[1]->setSelectedPosition(5);
        surface.clearRecord();
        pulsar(p, "Dibujar");
        QCOMPARE(boxes.shown.size(), 0);
        QCOMPARE(curvas(1).tipoajuste, 2);
        QCOMPARE(curvas(1).npuntos, 4);
        QCOMPARE(curvas(1).puntos(4).y, 3.0);
        QCOMPARE(curvas(2).tipoajuste, 4);
        QCOMPARE(curvas(2).grado, 2);
        QCOMPARE(curvas(2).color, 4);
        QCOMPARE(curvas(2).puntos(2).y, 1.5);
        QCOMPARE(p.chart()->TituloCaption(), QStringLiteral("Two curves"));
        // Both curves reach the plot, each in many pieces of its own colour.
        int ennegro = 0, engranate = 0;
        for (const auto &l : surface.lines()) {
            if (l.color == qbcolor(0))
                ++ennegro;
            if (l.color == qbcolor(4))
                ++engranate;
        }
        QVERIFY2(ennegro > 100, qPrintable(QString::number(ennegro)));
        QVERIFY2(engranate > 100, qPrintable(QString::number(engranate)));
        QCOMPARE(surface.count(platform::DrawCall::Kind::Circle), 9); // the dots
        // The chart's home view spans both curves.
        QCOMPARE(p.chart()->escalaInicialMin().x, 0.0);
        QCOMPARE(p.chart()->escalaInicialMin().y, 0.0);
        QCOMPARE(p.chart()->escalaInicialMax().x, 4.0);
        QCOMPARE(p.chart()->escalaInicialMax().y, 6.0);
        for (int i = 1; i <= 2; ++i) {
            QLabel *l = p.chart()->legendLabel(i);
            QVERIFY(l);
            QVERIFY(l->isVisible());
        }
        QCOMPARE(p.chart()->legendLabel(1)->text(), QStringLiteral("spline"));
        QCOMPARE(p.chart()->legendLabel(2)->text(), QStringLiteral("fit"));
        p.chart()->setPlotSurface(nullptr);
    }
};

QTEST_MAIN(TstPestanas)
#include "tst_pestanas.moc"
