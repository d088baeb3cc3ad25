// The keyed (INI-style) data file: read by its own command and by "Abrir"
// when the file starts with its header.

#include "ficherosprueba.h"

#include "platform/commondialog.h"
#include "platform/msgbox.h"

namespace
{

QString escribir(const QTemporaryDir &dir, const QStringList &lineas)
{
    const QString ruta = dir.filePath(QStringLiteral("ini.dat"));
    escribirfichero(ruta, lineascrlf(lineas));
    return ruta;
}

// A curve section with every key; the points are (j, 10 j).
QStringList seccion(int n, int puntos, const QString &extra = QString())
{
    QStringList l{QStringLiteral("[CURVE %1]").arg(n),
                  QStringLiteral("TITLE=curva %1").arg(n),
                  QStringLiteral("POSITION X=1.50"),
                  QStringLiteral("POSITION Y=-2"),
                  QStringLiteral("N POINTS=%1").arg(puntos),
                  QStringLiteral("PLOT POINTS=0"),
                  QStringLiteral("TYPE OF FIT=4"),
                  QStringLiteral("RANGE OF FIT=2"),
                  QStringLiteral("LINE THICKNESS=3"),
                  QStringLiteral("LINE TYPE=2"),
                  QStringLiteral("LINE COLOUR=13")};
    for (int j = 1; j <= puntos; ++j)
        l << QStringLiteral("X(%1)=%1").arg(j) << QStringLiteral("Y(%1)=%2").arg(j).arg(10 * j);
    if (!extra.isEmpty())
        l << extra;
    return l;
}

const QStringList general{"[GENERAL]", "TITLE=Keyed", "NAME X AXE=time", "NAME Y AXE=volt"};

} // namespace

class TstFicherosIni : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    principal &abrirventana()
    {
        principal &p = arrancarventana(dir);
        p.show();
        return p;
    }

    static bool leer(principal &p, const QString &ruta)
    {
        platform::ScriptedFileDialog dlg;
        dlg.answers << ruta;
        return p.abrirfichero1();
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        curvas.reset();
    }

    void cleanup()
    {
        cerrarventanas();
        platform::setProgramFolder(QString());
    }

    void readsEveryKey()
    {
        principal &p = abrirventana();
        const QString ruta = escribir(dir, general + seccion(1, 3) + seccion(2, 2));
        platform::ScriptedFileDialog dlg;
        platform::ScriptedMsgBox box;
        dlg.answers << ruta;
        QVERIFY(p.abrirfichero1());
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(dlg.shown.size(), 1);
        QCOMPARE(dlg.shown[0].flags, 0x20000CL);
        QCOMPARE(dlg.shown[0].filter, QStringLiteral("T78 (*.dat)|*.dat|T76 (*.*)|*.*"));
        QVERIFY(dlg.shown[0].cancelError);
        QCOMPARE(p.titlebox()->text(), QStringLiteral("Keyed"));
        QCOMPARE(p.xcaptionbox()->text(), QStringLiteral("time"));
        QCOMPARE(p.ycaptionbox()->text(), QStringLiteral("volt"));
        QCOMPARE(p.curvecount()->text(), QStringLiteral("2"));
        QCOMPARE(pestanasvisibles(p), 2);
        const Pestana t = leerpestana(p, 0);
        QCOMPARE(t.leyenda, QStringLiteral("curva 1"));
        QCOMPARE(t.x, QStringLiteral("1.50")); // unchanged
        QCOMPARE(t.y, QStringLiteral("-2"));
        QVERIFY(!t.puntos);
        QCOMPARE(t.tipo, 4);
        QCOMPARE(t.grado, QStringLiteral("2"));
        QCOMPARE(t.grosor, QStringLiteral("3"));
        QCOMPARE(t.linea, 2);
        QCOMPARE(t.color, 13);
        QCOMPARE(t.datos.size(), 3);
        QCOMPARE(t.datos[2], (QPair<QString, QString>(QStringLiteral("3"), QStringLiteral("30"))));
        QVERIFY(filasnumeradas(p.MSFdata[0]));
        QCOMPARE(p.UPDgrado[0]->Max(), 2); // fitted to 3 points by the type change
        QVERIFY(p.UPDgrado[0]->isEnabled());
        QCOMPARE(leerpestana(p, 1).datos.size(), 2);
    }

    void edgeCases_data()
    {
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<bool>("leido");
        QTest::addColumn<int>("visibles");
        QTest::addColumn<QString>("leyenda0");
        QTest::addColumn<QString>("celda"); // cell (2, 2) of tab 0
        QTest::addColumn<QString>("grado");
        QTest::addColumn<bool>("puntos");
        QTest::newRow("general only") << general << true << 3 << "kept" << "y2" << "1" << true;
        QTest::newRow("curves 1 and 3: only 1") << general + seccion(1, 2) + seccion(3, 2) << true << 3 << "curva 1"
                                                << "20" << "2" << false;
        QStringList dos = general + seccion(1, 2);
        dos.replace(dos.indexOf("PLOT POINTS=0"), "PLOT POINTS=2");
        QTest::newRow("plot points 2") << dos << true << 3 << "curva 1" << "20" << "2" << true;
        QStringList vacio = general + seccion(1, 2);
        vacio.replace(vacio.indexOf("PLOT POINTS=0"), "PLOT POINTS=");
        QTest::newRow("plot points empty: failure") << vacio << false << 3 << "curva 1" << "y2" << "1" << true;
        QStringList sinY = general + seccion(1, 3);
        sinY.removeAll("Y(2)=20");
        QTest::newRow("Y(2) missing: empty cell") << sinY << true << 3 << "curva 1" << "" << "2" << false;
        QStringList minusculas;
        for (const QString &l : general + seccion(1, 2))
            minusculas << l.toLower();
        QTest::newRow("lower-case names") << minusculas << true << 3 << "curva 1" << "20" << "2" << false;
        QStringList alto = general + seccion(1, 2);
        alto.replace(alto.indexOf("RANGE OF FIT=2"), "RANGE OF FIT=9");
        QTest::newRow("degree above the points unchanged") << alto << true << 3 << "curva 1" << "20" << "9" << false;
        QTest::newRow("first section and first key win")
            << general + QStringList{"[curve 1]", "TITLE=first", "title=second"} + seccion(1, 2).mid(1) +
                   QStringList{"[CURVE 1]", "TITLE=later", "PLOT POINTS=5"}
            << true << 3 << "first" << "20" << "2" << false;
        QTest::newRow("key with a blank before = does not match")
            << general + QStringList{"[CURVE 1]", "TITLE =wrong"} + seccion(1, 2).mid(2) << true << 3 << ""
            << "20" << "2" << false;
        QStringList tipo = general + seccion(1, 2);
        tipo.replace(tipo.indexOf("TYPE OF FIT=4"), "TYPE OF FIT=8");
        QTest::newRow("type 8: failure") << tipo << false << 3 << "curva 1" << "y2" << "1" << false;
        QStringList color = general + seccion(1, 2);
        color.replace(color.indexOf("LINE COLOUR=13"), "LINE COLOUR=16");
        QTest::newRow("colour 16: failure") << color << false << 3 << "curva 1" << "y2" << "2" << false;
        QStringList linea = general + seccion(1, 2);
        linea.replace(linea.indexOf("LINE TYPE=2"), "LINE TYPE=x");
        QTest::newRow("line type not a number") << linea << false << 3 << "curva 1" << "y2" << "2" << false;
        QStringList negativo = general + seccion(1, 2);
        negativo.replace(negativo.indexOf("N POINTS=2"), "N POINTS=-2");
        QTest::newRow("negative points") << negativo << false << 3 << "curva 1" << "y2" << "1" << true;
        QStringList grosor = general + seccion(1, 2);
        grosor.replace(grosor.indexOf("LINE THICKNESS=3"), "LINE THICKNESS=2.5");
        QTest::newRow("thickness rounded to even") << grosor << true << 3 << "curva 1" << "20" << "2" << false;
        QTest::newRow("empty file") << QStringList{} << true << 3 << "kept" << "y2" << "1" << true;
    }
    // Nothing is reset beforehand: tabs 1 and 2 keep their content and
    // visibility when no curve reaches them.
    void edgeCases()
    {
        QFETCH(QStringList, lineas);
        QFETCH(bool, leido);
        QFETCH(int, visibles);
        QFETCH(QString, leyenda0);
        QFETCH(QString, celda);
        QFETCH(QString, grado);
        QFETCH(bool, puntos);
        principal &p = abrirventana();
        p.spinner()->upButton()->click();
        p.spinner()->upButton()->click();
        Pestana antes;
        antes.leyenda = QStringLiteral("kept");
        antes.x = antes.y = QStringLiteral("-1");
        antes.datos = {{QStringLiteral("x1"), QStringLiteral("y1")},
                       {QStringLiteral("x2"), QStringLiteral("y2")},
                       {QStringLiteral("x3"), QStringLiteral("y3")}};
        for (int i = 0; i < 3; ++i)
            ponerpestana(p, i, antes);
        platform::ScriptedMsgBox box;
        QCOMPARE(leer(p, escribir(dir, lineas)), leido);
        QCOMPARE(box.shown.size(), leido ? 0 : 1);
        if (!leido) {
            QCOMPARE(box.shown[0].prompt, QStringLiteral("Failed"));
            QCOMPARE(box.shown[0].style, 16);
            QCOMPARE(box.shown[0].title, QStringLiteral("File"));
        }
        QCOMPARE(pestanasvisibles(p), visibles);
        QCOMPARE(p.TXTlg[0]->text(), leyenda0);
        QCOMPARE(p.MSFdata[0]->Rows() > 2 ? p.MSFdata[0]->TextMatrix(2, 2) : QString(), celda);
        QCOMPARE(p.TXTgrado[0]->text(), grado);
        QCOMPARE(p.OPTsi[0]->isChecked(), puntos);
        QCOMPARE(leerpestana(p, 2), antes);
        if (QTest::currentDataTag() == QByteArray("thickness rounded to even"))
            QCOMPARE(p.TXTgrosor[0]->text(), QStringLiteral("2"));
    }

    void cancelAndMissingFile()
    {
        principal &p = abrirventana();
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            QVERIFY(!p.abrirfichero1());
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].prompt, QStringLiteral("Cancelled"));
            QCOMPARE(box.shown[0].style, 64);
        }
        {
            // No test for an empty name: it fails to open.
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << QString();
            QVERIFY(!p.abrirfichero1());
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].style, 16);
        }
        platform::ScriptedMsgBox box;
        QVERIFY(!leer(p, dir.filePath(QStringLiteral("missing.dat"))));
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].style, 16);
    }

    // "Abrir" reads a file that starts with the header [GENERAL] by the keyed
    // rules, with the one dialog; anything else is a plain file.
    void reachedThroughOpen_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<int>("visibles");
        const QByteArray curva = lineascrlf(seccion(1, 2));
        QTest::newRow("upper case") << lineascrlf(general) + curva << "Keyed" << 1;
        QTest::newRow("mixed case, LF after CR")
            << QByteArray("[General]\r\nTITLE=Keyed\r\n") + curva << "Keyed" << 1;
        QTest::newRow("header alone") << QByteArray("[gEnErAl]") << "" << 1;
        QTest::newRow("blank before: plain") << QByteArray(" [GENERAL]\r\nx\r\ny\r\nfin\r\n") << " [GENERAL]" << 1;
        QTest::newRow("text after: plain")
            << QByteArray("[GENERAL] x\r\nx\r\ny\r\nfin\r\n") << "[GENERAL] x" << 1;
        // The keyed layout keeps CR line ends; a plain file ends its lines at LF too.
        QTest::newRow("LF only: plain") << QByteArray("[GENERAL]\nx\ny\nfin\n") << "[GENERAL]" << 1;
    }
    void reachedThroughOpen()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, titulo);
        QFETCH(int, visibles);
        principal &p = abrirventana();
        const QString ruta = dir.filePath(QStringLiteral("open.dat"));
        escribirfichero(ruta, contenido);
        platform::ScriptedFileDialog dlg;
        platform::ScriptedMsgBox box;
        dlg.answers << ruta;
        p.abrir();
        QCOMPARE(dlg.shown.size(), 1);
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.titlebox()->text(), titulo);
        QCOMPARE(pestanasvisibles(p), visibles);
    }

    // Ten curves of a thousand points: every point reaches its cell.
    void largeFile()
    {
        principal &p = abrirventana();
        QStringList l = general;
        for (int c = 1; c <= 10; ++c)
            l += seccion(c, 1000);
        platform::ScriptedMsgBox box;
        QVERIFY(leer(p, escribir(dir, l)));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(pestanasvisibles(p), 10);
        for (std::size_t k = 0; k < 10; ++k) {
            QCOMPARE(p.MSFdata[k]->Rows(), 1001);
            QCOMPARE(p.MSFdata[k]->TextMatrix(1000, 2), QStringLiteral("10000"));
            QCOMPARE(p.TXTlg[k]->text(), QStringLiteral("curva %1").arg(k + 1));
        }
    }
};

QTEST_MAIN(TstFicherosIni)
#include "tst_ficherosini.moc"
