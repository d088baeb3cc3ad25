// The plain ".dat" file: new document, save and open through the toolbar
// commands, compared byte for byte with hand-written files.

#include "ficherosprueba.h"

#include "chart/ctrgraficas.h"
#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

namespace
{

QString fixture(const char *name)
{
    return QStringLiteral(CURVEXA_FIXTURES_DIR "/files/") + QLatin1String(name);
}

using Puntos = QList<QPair<QString, QString>>;

// The document of diez-curvas.dat, tab by tab.
QList<Pestana> diezcurvas()
{
    auto t = [](const char *ley, const char *x, const char *y, bool dots, int tipo, const char *grado,
                const char *grosor, int linea, int color, const Puntos &datos) {
        Pestana r;
        r.leyenda = QString::fromLatin1(ley);
        r.x = QString::fromLatin1(x);
        r.y = QString::fromLatin1(y);
        r.puntos = dots;
        r.tipo = tipo;
        r.grado = QString::fromLatin1(grado);
        r.grosor = QString::fromLatin1(grosor);
        r.linea = linea;
        r.color = color;
        r.datos = datos;
        return r;
    };
    return {
        t("Puntos", "-1", "-1", true, 0, "1", "1", 0, 0, {{"0", "0"}, {"1", "1"}}),
        t("Segmentos", "0.5", "2.25", false, 1, "1", "2", 1, 4, {{"-1", "2.5"}, {"0", "-3"}, {"1E-05", "1E+16"}}),
        t("Spline", "0", "0", true, 2, "1", "3", 2, 9, {{"0", "1"}, {"1", "2"}, {"2", "0"}, {"3", "5"}}),
        t("Polinomio", "-1", "-1", false, 3, "1", "4", 0, 12, {{"-2", "4"}, {"0", "0"}, {"2", "4"}}),
        t("M\xednimos en x", "1.5", "-0.75", true, 4, "2", "5", 1, 15,
          {{"1", "1.1"}, {"2", "3.9"}, {"3", "9.2"}, {"4", "15.8"}, {"5", "25.1"}}),
        t("Seno", "-1", "-1", true, 5, "1", "1", 0, 3, {{"0", "0"}, {"0.25", "1"}, {"0.5", "0"}, {"0.75", "-1"}}),
        t("Coseno", "-1", "-1", true, 6, "3", "2", 2, 7, {{"0", "1"}, {"1", "0"}, {"2", "-1"}, {"3", "0"}, {"4", "1"}}),
        t("Fourier", "-1", "-1", true, 7, "2", "3", 1, 11,
          {{"0", "0"}, {"1", "1"}, {"2", "0"}, {"3", "-1"}, {"4", "0"}, {"5", "1"}}),
        t("Negativos", "-1", "-1", false, 1, "1", "1", 0, 8,
          {{"-1.5E-07", "3E+20"}, {"-123456789.123457", "-0.001"}}),
        t("Fin de serie", "-1", "-1", true, 4, "1", "1", 2, 14, {{"10", "20"}, {"30", "40"}}),
    };
}

// A plain file from its lines (each ended by CR LF).
QByteArray plano(const QStringList &lineas)
{
    return lineascrlf(lineas);
}

// Writes a file into the program folder.
QString escribir(const QTemporaryDir &dir, const char *nombre, const QByteArray &bytes)
{
    const QString ruta = dir.filePath(QLatin1String(nombre));
    escribirfichero(ruta, bytes);
    return ruta;
}

} // namespace

class TstFicheros : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    principal &abrirventana()
    {
        principal &p = arrancarventana(dir);
        p.show();
        return p;
    }

    // Opens a file through the toolbar's "Abrir" command; returns what the
    // open step said.
    static bool abrircon(principal &p, const QString &ruta)
    {
        platform::ScriptedFileDialog dlg;
        dlg.answers << ruta;
        p.nuevofichero();
        return p.abrirfichero();
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

    // Ten curves, one of each type and every setting: the saved bytes are the
    // hand-written file's, opening it gives the document back, and saving
    // again gives the same bytes.
    void saveOpenRoundTrip()
    {
        principal &p = abrirventana();
        const QList<Pestana> doc = diezcurvas();
        p.titlebox()->setText(QStringLiteral("Ensayo, \"comillas\" y m\xe1s"));
        p.xcaptionbox()->setText(QStringLiteral("Tiempo (s)"));
        p.ycaptionbox()->setText(QStringLiteral("Tensi\xf3n, V"));
        for (int i = 0; i < doc.size(); ++i) {
            if (i > 0)
                p.spinner()->upButton()->click();
            ponerpestana(p, i, doc[i]);
        }
        QCOMPARE(p.curvecount()->text(), QStringLiteral("10"));

        const QString ruta = dir.filePath(QStringLiteral("diez.dat"));
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << ruta;
            p.guardarfichero();
            QCOMPARE(box.shown.size(), 0);
            QCOMPARE(dlg.shown.size(), 1);
            const platform::FileDialogCall &c = dlg.shown[0];
            QVERIFY(c.save);
            QCOMPARE(c.filter, QStringLiteral("T78 (*.dat)|*.dat|T76 (*.*)|*.*"));
            QCOMPARE(c.filterIndex, 1);
            QCOMPARE(c.flags, 0x20000EL);
            QVERIFY(c.cancelError);
            QCOMPARE(c.initDir, dir.path());
        }
        const QByteArray esperado = leerfichero(fixture("diez-curvas.dat"));
        QCOMPARE(leerfichero(ruta), esperado);

        // Back to an empty document, then the file through "Abrir".
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << fixture("diez-curvas.dat");
            QAction *abrir = p.findChild<QAction *>(QStringLiteral("TBmain_Abrir"));
            QVERIFY(abrir);
            p.nuevofichero();
            QCOMPARE(pestanasvisibles(p), 1);
            abrir->trigger();
            QCOMPARE(box.shown.size(), 0);
            QCOMPARE(dlg.shown.size(), 1);
            QCOMPARE(dlg.shown[0].flags, 0x20180CL);
            QVERIFY(!dlg.shown[0].save);
            QCOMPARE(dlg.shown[0].filter, QStringLiteral("T78 (*.dat)|*.dat|T76 (*.*)|*.*"));
        }
        QCOMPARE(p.titlebox()->text(), QStringLiteral("Ensayo, \"comillas\" y m\xe1s"));
        QCOMPARE(p.xcaptionbox()->text(), QStringLiteral("Tiempo (s)"));
        QCOMPARE(p.ycaptionbox()->text(), QStringLiteral("Tensi\xf3n, V"));
        QCOMPARE(p.curvecount()->text(), QStringLiteral("10"));
        QCOMPARE(pestanasvisibles(p), 10);
        for (int i = 0; i < doc.size(); ++i) {
            QCOMPARE(leerpestana(p, i), doc[i]);
            QVERIFY(filasnumeradas(p.MSFdata[static_cast<std::size_t>(i)]));
        }
        // The degree ranges follow the types and the points read.
        QCOMPARE(p.UPDgrado[4]->Max(), 4);
        QVERIFY(p.UPDgrado[4]->isEnabled());
        QCOMPARE(p.UPDgrado[7]->Max(), 2);
        QVERIFY(!p.UPDgrado[2]->isEnabled());

        const QString otra = dir.filePath(QStringLiteral("otra.dat"));
        platform::ScriptedFileDialog dlg;
        dlg.answers << otra;
        p.guardarfichero();
        QCOMPARE(leerfichero(otra), esperado);
    }

    // Only the tabs in use are written; the degree only for types 4 to 7;
    // texts are written as the fields hold them, an empty number as 0.
    void saveWritesFieldsAsTheyStand()
    {
        principal &p = abrirventana();
        p.spinner()->upButton()->click();
        Pestana a;
        a.leyenda = QStringLiteral("a");
        a.x = QStringLiteral("1.50");
        a.y = QStringLiteral("-1");
        a.tipo = 7;
        a.grado = QStringLiteral("1");
        a.datos = {{QStringLiteral("1.50"), QStringLiteral("")}, {QStringLiteral(""), QStringLiteral("2")}};
        ponerpestana(p, 0, a);
        Pestana b;
        b.leyenda = QString();
        b.x = QStringLiteral("-1");
        b.y = QStringLiteral("-1");
        ponerpestana(p, 1, b);
        // A tab given up is not written even though it holds a curve.
        ponerpestana(p, 2, a);
        const QString ruta = dir.filePath(QStringLiteral("dos.dat"));
        platform::ScriptedFileDialog dlg;
        dlg.answers << ruta;
        p.guardarfichero();
        QCOMPARE(leerfichero(ruta), plano({"Title", "X", "Y", "a", "1.50  -1", "2  1  7  1  1  0  0", "1.50   0",
                                           "0   2", "", "-1  -1", "0  1  0  1  0  0", "fin"}));

        // Read back: the empty cells are 0, the rest is normalised.
        QVERIFY(abrircon(p, ruta));
        Pestana leido = leerpestana(p, 0);
        QCOMPARE(leido.x, QStringLiteral("1.5"));
        QCOMPARE(leido.datos,
                 (Puntos{{QStringLiteral("1.5"), QStringLiteral("0")}, {QStringLiteral("0"), QStringLiteral("2")}}));
        QCOMPARE(leerpestana(p, 1).leyenda, QString());
        QCOMPARE(p.MSFdata[1]->Rows(), 1);
        QCOMPARE(pestanasvisibles(p), 2);
    }

    // Texts the reader would take for a line of its own, and number texts
    // that a plain line would split or read otherwise: the saved document
    // draws as it did, with no message, and its file holds the written form.
    void savedDocumentReopensAsItself_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("leyenda");
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("celdax");
        QTest::addColumn<QString>("celday");
        QTest::addColumn<QString>("linea"); // a line the file holds
        QTest::newRow("title [GENERAL]") << "[GENERAL]" << "a" << "-1" << "1" << "7" << "[GENERAL] ";
        QTest::newRow("title [general] with blanks") << "[general]  " << "a" << "-1" << "1" << "7" << "[general]   ";
        QTest::newRow("legend fin") << "t" << "fin" << "-1" << "1" << "7" << "fin ";
        QTest::newRow("legend FIN") << "t" << "FIN" << "-1" << "1" << "7" << "FIN ";
        QTest::newRow("legend Fin with a blank") << "t" << "Fin " << "-1" << "1" << "7" << "Fin  ";
        QTest::newRow("empty x") << "t" << "a" << "-1" << "" << "7" << "0   7";
        QTest::newRow("empty y") << "t" << "a" << "-1" << "7" << "" << "7   0";
        QTest::newRow("cell with a comma") << "t" << "a" << "-1" << "1,5" << "7" << "1   7";
        QTest::newRow("cell with blanks inside") << "t" << "a" << "-1" << " 1 5" << "7" << "15   7";
        QTest::newRow("cell with a tab") << "t" << "a" << "-1" << "2\t5" << "7" << "25   7";
        QTest::newRow("cell with a line end") << "t" << "a" << "-1" << "3\n5" << "7" << "35   7";
        QTest::newRow("seventeen digits") << "t" << "a" << "-1" << "0.12345678901234567" << "7"
                                          << "0.12345678901234567   7";
        QTest::newRow("position grouped") << "t" << "a" << "1,000" << "1" << "7" << "1000  -1";
        QTest::newRow("position sign after") << "t" << "a" << "5-" << "1" << "7" << "-5  -1";
        QTest::newRow("position in parentheses") << "t" << "a" << "(5)" << "1" << "7" << "-5  -1";
        QTest::newRow("position with blanks") << "t" << "a" << " 2 " << "1" << "7" << "2  -1";
        QTest::newRow("position seventeen digits") << "t" << "a" << "0.30000000000000004" << "1" << "7"
                                                   << "0.30000000000000004  -1";
        // Texts the reader already takes as the draw command does are
        // written as they stand.
        QTest::newRow("text after the number") << "t" << "a" << "-1" << "12abc" << "7" << "12abc   7";
        QTest::newRow("hexadecimal") << "t" << "a" << "-1" << "&H10" << "1D2" << "&H10   1D2";
        QTest::newRow("no number") << "t" << "a" << "-1" << "abc" << "-" << "abc   -";
        QTest::newRow("trailing zeros") << "t" << "a" << "1.50" << "1.50" << "007" << "1.50   007";
    }
    void savedDocumentReopensAsItself()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, leyenda);
        QFETCH(QString, posx);
        QFETCH(QString, celdax);
        QFETCH(QString, celday);
        QFETCH(QString, linea);
        principal &p = abrirventana();
        p.spinner()->upButton()->click();
        p.titlebox()->setText(titulo);
        Pestana a;
        a.leyenda = leyenda;
        a.x = posx;
        a.y = QStringLiteral("-1");
        a.tipo = 1;
        a.datos = {{celdax, celday}, {QStringLiteral("2"), QStringLiteral("3")}};
        ponerpestana(p, 0, a);
        Pestana b;
        b.leyenda = QStringLiteral("after");
        b.x = b.y = QStringLiteral("-1");
        b.tipo = 4;
        b.grado = QStringLiteral("2");
        b.datos = {{QStringLiteral("0"), QStringLiteral("0")}, {QStringLiteral("1"), QStringLiteral("1")},
                   {QStringLiteral("2"), QStringLiteral("4")}, {QStringLiteral("3"), QStringLiteral("9")}};
        ponerpestana(p, 1, b);

        platform::ScriptedMsgBox box;
        p.dibujargraficas();
        QCOMPARE(box.shown.size(), 0);
        const QString dibujado = documentodibujado(p);

        const QString ruta = dir.filePath(QStringLiteral("r.dat"));
        {
            platform::ScriptedFileDialog dlg;
            dlg.answers << ruta;
            p.guardarfichero();
        }
        const QList<QByteArray> lineas = leerfichero(ruta).split('\n');
        QVERIFY2(lineas.contains(platform::toAnsi(linea) + '\r'), leerfichero(ruta).constData());

        p.nuevofichero();
        {
            platform::ScriptedFileDialog dlg;
            dlg.answers << ruta;
            p.abrir();
        }
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(pestanasvisibles(p), 2);
        QCOMPARE(p.titlebox()->text(), titulo);
        QCOMPARE(p.TXTlg[0]->text(), leyenda);
        p.dibujargraficas();
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(documentodibujado(p), dibujado);
    }

    // Legend-position fields the draw command cannot read (the document
    // does not draw) are still written as one number each, so the fields
    // after them stay in their places.
    void unreadablePositionKeepsTheLine_data()
    {
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("posy");
        QTest::addColumn<QString>("linea");
        QTest::newRow("empty x") << "" << "7" << "0  7";
        QTest::newRow("empty y") << "7" << "" << "7  0";
        QTest::newRow("minus alone, empty") << "-" << "" << "-  0";
    }
    void unreadablePositionKeepsTheLine()
    {
        QFETCH(QString, posx);
        QFETCH(QString, posy);
        QFETCH(QString, linea);
        principal &p = abrirventana();
        Pestana a;
        a.leyenda = QStringLiteral("a");
        a.x = posx;
        a.y = posy;
        a.datos = {{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("3"), QStringLiteral("4")}};
        ponerpestana(p, 0, a);
        const QString ruta = dir.filePath(QStringLiteral("u.dat"));
        platform::ScriptedFileDialog dlg;
        dlg.answers << ruta;
        p.guardarfichero();
        QCOMPARE(leerfichero(ruta), plano({"Title", "X", "Y", "a", linea, "2  1  0  1  0  0", "1   2", "3   4", "fin"}));
        platform::ScriptedMsgBox box;
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(leerpestana(p, 0).datos, a.datos);
    }

    void numberTextsNormalised_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("trailing zeros") << "1.50   2.000" << "1.5" << "2";
        QTest::newRow("leading zeros") << "007   -007.10" << "7" << "-7.1";
        QTest::newRow("exponent") << "2e1   1D-7" << "20" << "1E-07";
        QTest::newRow("large") << "1e15   123456789012345678" << "1E+15" << "1.2345678901234568E+17";
        QTest::newRow("digits that fifteen do not hold")
            << "0.30000000000000004   -2.0000000000000004" << "0.30000000000000004" << "-2.0000000000000004";
        QTest::newRow("sixteen digits") << "1234567890123456   0.1" << "1.234567890123456E+15" << "0.1";
        QTest::newRow("largest double") << "1.7976931348623157e308   5e-324"
                                        << "1.7976931348623157E+308" << "4.94065645841247E-324";
        QTest::newRow("blanks before") << "      3     4" << "3" << "4";
        QTest::newRow("comma") << "3,4" << "3" << "4";
        QTest::newRow("comma with blanks") << "3 , 4" << "3" << "4";
        QTest::newRow("tab") << "3\t4" << "3" << "4";
        QTest::newRow("one number") << "5" << "5" << "0";
        QTest::newRow("empty") << "" << "0" << "0";
        QTest::newRow("blanks only") << "     " << "0" << "0";
        QTest::newRow("text") << "abc   12abc" << "0" << "12";
        QTest::newRow("third number ignored") << "1   2   3" << "1" << "2";
        QTest::newRow("minus zero") << "-0   -0.0" << "0" << "0";
        QTest::newRow("hex") << "&H10   &O17" << "16" << "15";
    }
    void numberTextsNormalised()
    {
        QFETCH(QString, linea);
        QFETCH(QString, x);
        QFETCH(QString, y);
        principal &p = abrirventana();
        const QString ruta =
            escribir(dir, "n.dat", plano({"t", "x", "y", "c", linea, "2  1  0  1  0  0", linea, "1 1", "fin"}));
        platform::ScriptedMsgBox box;
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.TXTx[0]->text(), x);
        QCOMPARE(p.TXTy[0]->text(), y);
        QCOMPARE(p.MSFdata[0]->TextMatrix(1, 1), x);
        QCOMPARE(p.MSFdata[0]->TextMatrix(1, 2), y);
    }

    void degreeOnReading_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("grado");
        QTest::addColumn<int>("puntos");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("maximo");
        QTest::newRow("x, above the points") << 4 << "5" << 4 << "3" << 3;
        QTest::newRow("fourier, 1.5 to 2") << 7 << "5" << 4 << "2" << 2;
        QTest::newRow("fourier, 2.5 to 2") << 7 << "9" << 6 << "2" << 2;
        QTest::newRow("fourier, 3.5 to 4") << 7 << "9" << 8 << "4" << 4;
        QTest::newRow("sine, within") << 5 << "2" << 4 << "2" << 3;
        QTest::newRow("cosine, at the limit") << 6 << "3" << 4 << "3" << 3;
        QTest::newRow("within, kept as written") << 4 << "2.0" << 4 << "2.0" << 3;
        // Two points allow no harmonic by the count, but the field never
        // goes below the spinner's least.
        QTest::newRow("fourier, two points keep 1") << 7 << "1" << 2 << "1" << 0;
        QTest::newRow("fourier, two points, 3 to 1") << 7 << "3" << 2 << "1" << 0;
        QTest::newRow("fourier, three points keep 1") << 7 << "1" << 3 << "1" << 1;
    }
    void degreeOnReading()
    {
        QFETCH(int, tipo);
        QFETCH(QString, grado);
        QFETCH(int, puntos);
        QFETCH(QString, campo);
        QFETCH(int, maximo);
        principal &p = abrirventana();
        QStringList l{"t", "x", "y", "c", "-1  -1", QStringLiteral("%1  0  %2  %3  2  1  5").arg(puntos).arg(tipo).arg(grado)};
        for (int j = 0; j < puntos; ++j)
            l << QStringLiteral("%1   %2").arg(j).arg(j * j);
        const QString ruta = escribir(dir, "g.dat", plano(l));
        platform::ScriptedMsgBox box;
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.TXTgrado[0]->text(), campo);
        QCOMPARE(p.UPDgrado[0]->Max(), maximo);
        QVERIFY(p.UPDgrado[0]->isEnabled());
        QCOMPARE(p.TXTgrosor[0]->text(), QStringLiteral("2"));
        QCOMPARE(p.CMBtipo[0]->currentIndex(), 1);
        QCOMPARE(p.CMBcolor[0]->selectedPosition(), 6);
        QVERIFY(p.OPTno[0]->isChecked());
        QCOMPARE(p.MSFdata[0]->Rows(), puntos + 1);
    }

    // Files that open: the end line in any case, a legend that reads "fin",
    // no end line at all, no curve.
    void opens_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<int>("curvas");
        QTest::addColumn<QString>("titulo");
        const QStringList uno{"t", "x", "y", "uno", "-1  -1", "2  1  0  1  0  0", "0   0", "1   1"};
        QTest::newRow("end line FIN") << plano(uno + QStringList{"FIN", "dos", "garbage"}) << 1 << "t";
        QTest::newRow("legend fIn ends the curves") << plano(uno + QStringList{"fIn", "-1  -1"}) << 1 << "t";
        QTest::newRow("no end line") << plano(uno) << 1 << "t";
        QTest::newRow("no line end after the last line") << plano(uno).chopped(2) << 1 << "t";
        QTest::newRow("LF line ends") << QByteArray("t\nx\ny\nuno\n-1  -1\n2  1  0  1  0  0\n0   0\n1   1\nfin\n") << 1
                                      << "t";
        QTest::newRow("LF alone, then CR LF") << QByteArray("a\nb\r\nc\r\nfin\r\n") << 0 << "a";
        QTest::newRow("no curve") << plano({"t", "x", "y", "fin"}) << 0 << "t";
        QTest::newRow("header lines only") << plano({"t", "x", "y"}) << 0 << "t";
        QTest::newRow("title with quotes and commas")
            << plano({"\"a\", b, \"c\"", "x", "y", "fin"}) << 0 << "\"a\", b, \"c\"";
        QTest::newRow("a seventh field for a type without degree")
            << plano({"t", "x", "y", "c", "-1  -1", "2  1  0  1  0  0  9", "0 0", "1 1"}) << 1 << "t";
        QTest::newRow("title [GENERAL] with the blank it is saved with")
            << plano({"[GENERAL] ", "x", "y", "fin"}) << 0 << "[GENERAL]";
        QTest::newRow("title [GENERAL] after a blank") << plano({" [GENERAL]", "x", "y", "fin"}) << 0 << " [GENERAL]";
        QTest::newRow("title [GENERAL] and more") << plano({"[GENERAL]x", "x", "y", "fin"}) << 0 << "[GENERAL]x";
        QTest::newRow("legend fin with the blank it is saved with")
            << plano(uno + QStringList{"fIn ", "-1  -1", "2  1  0  1  0  0", "0 0", "1 1", "fin"}) << 2 << "t";
        QTest::newRow("single blanks between fields")
            << plano({"t", "x", "y", "c", "-1 -1", "2 1 0 1 0 0", "0 0", "1 1"}) << 1 << "t";
    }
    void opens()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(int, curvas);
        QFETCH(QString, titulo);
        principal &p = abrirventana();
        const QString ruta = escribir(dir, "o.dat", contenido);
        platform::ScriptedMsgBox box;
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.titlebox()->text(), titulo);
        QCOMPARE(p.curvecount()->text(), QString::number(std::max(curvas, 1)));
        QCOMPARE(pestanasvisibles(p), std::max(curvas, 1));
        if (curvas >= 1)
            QCOMPARE(p.MSFdata[0]->Rows(), 3);
        if (curvas == 2)
            QCOMPARE(p.TXTlg[1]->text(), QStringLiteral("fIn"));
    }

    // Failures: message 72, result False, what was read before stays.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<int>("curvas"); // tabs shown when reading stopped
        QTest::addColumn<QString>("leyenda1");
        const QStringList cab{"t", "x", "y"};
        const QStringList uno{"uno", "-1  -1", "2  1  0  1  0  0", "0   0", "1   1"};
        QStringList once = cab;
        for (int i = 0; i < 11; ++i)
            once << QStringLiteral("c%1").arg(i) << "-1  -1" << "2  1  1  1  0  0" << "0   0" << "1   1";
        QTest::newRow("eleventh block") << plano(once) << 10 << "c0";
        QTest::newRow("eighth field") << plano(cab + uno + QStringList{"dos", "1  1", "2  1  4  1  1  0  0  0", "0 0", "1 1"})
                                      << 2 << "uno";
        QTest::newRow("ends inside the points")
            << plano(cab + uno + QStringList{"dos", "1  1", "3  1  1  1  0  0", "0 0", "1 1"}) << 2 << "uno";
        QTest::newRow("ends after a legend") << plano(cab + QStringList{"uno"}) << 1 << "uno";
        QTest::newRow("ends after the position") << plano(cab + QStringList{"uno", "1  1"}) << 1 << "uno";
        QTest::newRow("type 4 without its degree")
            << plano(cab + QStringList{"uno", "1  1", "2  1  4  1  0  0", "0 0", "1 1"}) << 1 << "uno";
        QTest::newRow("five fields") << plano(cab + QStringList{"uno", "1  1", "2  1  0  1  0", "0 0", "1 1"}) << 1
                                     << "uno";
        QTest::newRow("empty parameter line") << plano(cab + QStringList{"uno", "1  1", "", "0 0"}) << 1 << "uno";
        QTest::newRow("points not a number")
            << plano(cab + QStringList{"uno", "1  1", "dos  1  0  1  0  0", "0 0"}) << 1 << "uno";
        QTest::newRow("negative points") << plano(cab + QStringList{"uno", "1  1", "-1  1  0  1  0  0"}) << 1 << "uno";
        QTest::newRow("too many points")
            << plano(cab + QStringList{"uno", "1  1", "40000  1  0  1  0  0"}) << 1 << "uno";
        QTest::newRow("type 8") << plano(cab + QStringList{"uno", "1  1", "2  1  8  1  0  0", "0 0", "1 1"}) << 1
                                << "uno";
        QTest::newRow("line type 3") << plano(cab + QStringList{"uno", "1  1", "2  1  0  1  3  0", "0 0", "1 1"}) << 1
                                     << "uno";
        QTest::newRow("colour 16") << plano(cab + QStringList{"uno", "1  1", "2  1  0  1  0  16", "0 0", "1 1"}) << 1
                                   << "uno";
        QTest::newRow("degree not a number")
            << plano(cab + QStringList{"uno", "1  1", "2  1  4  x  1  0  0", "0 0", "1 1"}) << 1 << "uno";
        QTest::newRow("number beyond the double range")
            << plano(cab + QStringList{"uno", "1e999  1"}) << 1 << "uno";
        QTest::newRow("empty file") << QByteArray() << 1 << "Legend";
        QTest::newRow("two lines") << plano({"t", "x"}) << 1 << "Legend";
    }
    void failures()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(int, curvas);
        QFETCH(QString, leyenda1);
        principal &p = abrirventana();
        const QString ruta = escribir(dir, "f.dat", contenido);
        platform::ScriptedMsgBox box;
        QVERIFY(!abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, QStringLiteral("Failed"));
        QCOMPARE(box.shown[0].style, 16);
        QCOMPARE(box.shown[0].title, QStringLiteral("File"));
        QCOMPARE(p.msgtexto, QStringLiteral("Failed"));
        QCOMPARE(int(p.msgestilo), 16);
        QCOMPARE(p.msgtitulo, QStringLiteral("File"));
        QCOMPARE(int(p.msgrespuesta), int(platform::vbOK));
        QCOMPARE(pestanasvisibles(p), curvas);
        QCOMPARE(p.curvecount()->text(), QString::number(curvas));
        QCOMPARE(p.TXTlg[0]->text(), leyenda1);
        if (leyenda1 == QLatin1String("uno") && curvas == 2)
            QCOMPARE(p.MSFdata[0]->Rows(), 3); // the first curve is whole
    }

    void missingFile()
    {
        principal &p = abrirventana();
        platform::ScriptedMsgBox box;
        QVERIFY(!abrircon(p, dir.filePath(QStringLiteral("nowhere.dat"))));
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].style, 16);
    }

    // Cancelling: message 71 and nothing else; "Abrir" keeps the document.
    void cancelledDialogs()
    {
        principal &p = abrirventana();
        p.spinner()->upButton()->click();
        Pestana a;
        a.leyenda = QStringLiteral("kept");
        a.x = a.y = QStringLiteral("-1");
        a.datos = {{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("3"), QStringLiteral("4")}};
        ponerpestana(p, 0, a);
        ponerpestana(p, 1, a);
        {
            const QStringList antes = QDir(dir.path()).entryList(QDir::Files);
            platform::ScriptedFileDialog dlg; // no answer: cancel
            platform::ScriptedMsgBox box;
            p.guardarfichero();
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].prompt, QStringLiteral("Cancelled"));
            QCOMPARE(box.shown[0].style, 64);
            QCOMPARE(box.shown[0].title, QStringLiteral("File"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), antes);
            QCOMPARE(leerpestana(p, 0), a);
        }
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            p.titlebox()->setText(QStringLiteral("unsaved"));
            p.dibujargraficas();
            QCOMPARE(box.shown.size(), 0);
            const QString numgraf = p.chart()->NumGraf();
            const Curva curva = curvas(1);
            p.abrir();
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].style, 64);
            QCOMPARE(p.msgtexto, QStringLiteral("Cancelled"));
            QCOMPARE(leerpestana(p, 0), a);
            QCOMPARE(p.titlebox()->text(), QStringLiteral("unsaved"));
            QCOMPARE(pestanasvisibles(p), 2);
            QCOMPARE(p.curvecount()->text(), QStringLiteral("2"));
            QCOMPARE(p.chart()->NumGraf(), numgraf);
            QCOMPARE(p.chart()->TituloCaption(), QStringLiteral("unsaved"));
            QCOMPARE(curvas(1).leyenda, curva.leyenda);
            QCOMPARE(curvas(1).activa, curva.activa);
        }
        {
            // An empty name through "Abrir": no message, the document stays.
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << QString();
            p.abrir();
            QCOMPARE(box.shown.size(), 0);
            QCOMPARE(leerpestana(p, 0), a);
            QCOMPARE(pestanasvisibles(p), 2);
        }
        {
            // An empty name ends either command without a message.
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << QString() << QString();
            QVERIFY(!p.abrirfichero());
            p.guardarfichero();
            QCOMPARE(box.shown.size(), 0);
        }
    }

    // "Nuevo": the three fields, one tab, the records of the tabs that were
    // in use inactive, the chart cleared with one curve.
    void newDocument()
    {
        principal &p = abrirventana();
        for (int i = 0; i < 3; ++i)
            p.spinner()->upButton()->click();
        Pestana a;
        a.leyenda = QStringLiteral("a");
        a.x = a.y = QStringLiteral("2");
        a.tipo = 4;
        a.datos = {{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("3"), QStringLiteral("4")}};
        for (int i = 0; i < 4; ++i)
            ponerpestana(p, i, a);
        p.titlebox()->setText(QStringLiteral("old"));
        p.dibujargraficas();
        QCOMPARE(p.chart()->NumGraf(), QStringLiteral("4"));
        curvas(6).activa = platform::vbTrue; // a hidden tab's record is left alone

        QAction *nuevo = p.findChild<QAction *>(QStringLiteral("TBmain_Nuevo"));
        QVERIFY(nuevo);
        nuevo->trigger();
        QCOMPARE(p.titlebox()->text(), QStringLiteral("Title"));
        QCOMPARE(p.xcaptionbox()->text(), QStringLiteral("X"));
        QCOMPARE(p.ycaptionbox()->text(), QStringLiteral("Y"));
        QCOMPARE(p.curvecount()->text(), QStringLiteral("1"));
        QCOMPARE(p.spinner()->Min(), 1);
        QCOMPARE(p.spinner()->Max(), 10);
        QCOMPARE(pestanasvisibles(p), 1);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(p.TXTlg[static_cast<std::size_t>(i)]->text(), QStringLiteral("Legend"));
            QCOMPARE(p.MSFdata[static_cast<std::size_t>(i)]->Rows(), 1);
            QCOMPARE(p.CMBunir[static_cast<std::size_t>(i)]->currentIndex(), 0);
            QCOMPARE(curvas(i + 1).activa, platform::vbFalse);
            QCOMPARE(curvas(i + 1).npuntos, 2);
        }
        QCOMPARE(curvas(6).activa, platform::vbTrue);
        QCOMPARE(p.chart()->NumGraf(), QStringLiteral("1"));
        QCOMPARE(p.chart()->TituloCaption(), QStringLiteral("Title"));
        QCOMPARE(p.chart()->LeyendXCaption(), QStringLiteral("X"));
    }

    // A save that cannot be completed leaves the file that was there intact.
    void failedSaveKeepsOldFile()
    {
        principal &p = abrirventana();
        Pestana a;
        a.leyenda = QStringLiteral("a");
        a.x = a.y = QStringLiteral("-1");
        for (int j = 0; j < 200; ++j)
            a.datos.append({QString::number(j), QString::number(j * 2)});
        ponerpestana(p, 0, a);
        const QString ruta = escribir(dir, "viejo.dat", plano({"old", "X", "Y", "fin"}));
        const QByteArray viejo = leerfichero(ruta);

        // Files may not grow beyond 512 bytes while the save runs.
        struct rlimit antes {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &antes), 0);
        const auto senal = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite = antes;
        limite.rlim_cur = 512;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << ruta;
            p.guardarfichero();
            setrlimit(RLIMIT_FSIZE, &antes);
            std::signal(SIGXFSZ, senal);
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(box.shown[0].prompt, QStringLiteral("Failed"));
            QCOMPARE(box.shown[0].style, 16);
        }
        QCOMPARE(leerfichero(ruta), viejo);
        // No half-written file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("viejo")),
                 QStringList{QStringLiteral("viejo.dat")});

        // A folder that does not exist: the same message, nothing created.
        platform::ScriptedFileDialog dlg;
        platform::ScriptedMsgBox box;
        dlg.answers << dir.filePath(QStringLiteral("missing/x.dat"));
        p.guardarfichero();
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].style, 16);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    }

    // The ten-curve file with its lines ended by LF, by CR or by a mix opens
    // as the CR LF one does.
    void opensWithAnyLineEnd_data()
    {
        QTest::addColumn<QByteArray>("fin"); // the line end; empty for a mix
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
        QTest::newRow("mixed") << QByteArray();
    }
    void opensWithAnyLineEnd()
    {
        QFETCH(QByteArray, fin);
        QList<QByteArray> lineas = leerfichero(fixture("diez-curvas.dat")).split('\n');
        QCOMPARE(lineas.takeLast(), QByteArray());
        const QByteArray fines[] = {"\r\n", "\n", "\r"};
        QByteArray contenido;
        for (qsizetype i = 0; i < lineas.size(); ++i) {
            QVERIFY(lineas[i].endsWith('\r'));
            contenido += lineas[i].chopped(1) + (fin.isEmpty() ? fines[i % 3] : fin);
        }
        principal &p = abrirventana();
        const QString ruta = escribir(dir, "fines.dat", contenido);
        platform::ScriptedMsgBox box;
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(box.shown.size(), 0);
        QCOMPARE(p.titlebox()->text(), QStringLiteral("Ensayo, \"comillas\" y m\xe1s"));
        QCOMPARE(p.xcaptionbox()->text(), QStringLiteral("Tiempo (s)"));
        QCOMPARE(p.ycaptionbox()->text(), QStringLiteral("Tensi\xf3n, V"));
        const QList<Pestana> doc = diezcurvas();
        QCOMPARE(pestanasvisibles(p), 10);
        for (int i = 0; i < doc.size(); ++i)
            QCOMPARE(leerpestana(p, i), doc[i]);
    }

    // A line end inside a text would split the line and put every later
    // line out of step; CR and LF are written as blanks.
    void lineEndsInTextsDoNotBreakTheFile()
    {
        principal &p = abrirventana();
        Pestana a;
        a.leyenda = QStringLiteral("a\rb");
        a.x = a.y = QStringLiteral("-1");
        a.datos = {{QStringLiteral("1\r"), QStringLiteral("2")}, {QStringLiteral("3"), QStringLiteral("4")}};
        ponerpestana(p, 0, a);
        p.titlebox()->setText(QStringLiteral("t\r\nu"));
        const QString ruta = dir.filePath(QStringLiteral("cr.dat"));
        platform::ScriptedFileDialog dlg;
        dlg.answers << ruta;
        p.guardarfichero();
        QCOMPARE(leerfichero(ruta), plano({"t  u", "X", "Y", "a b", "-1  -1", "2  1  0  1  0  0", "1   2", "3   4", "fin"}));
        QVERIFY(abrircon(p, ruta));
        QCOMPARE(p.MSFdata[0]->TextMatrix(2, 2), QStringLiteral("4"));
    }
};

QTEST_MAIN(TstFicheros)
#include "tst_ficheros.moc"
