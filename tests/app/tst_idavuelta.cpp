// Random documents are saved as plain ".dat" files, opened again through
// "Abrir" and drawn: the drawn document (captions, curve count and every
// field of the curve records the chart draws from) is the one drawn before
// saving, and neither the save nor the open says anything.
//
// The seed comes from the clock; set CURVEXA_SEMILLA to replay a run.

#include "ficherosprueba.h"

#include "chart/ctrgraficas.h"
#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"

#include <chrono>
#include <random>

namespace
{

constexpr int documentos = 2000;

// Texts of the title, the captions and the legends: lines that mean
// something of their own to the reader, commas, quotes, blanks at the ends,
// and characters of the code page's upper half. (A line end inside a text
// has no place in a file of one text per line: it is saved as a blank.)
const QStringList textosfijos{
    QStringLiteral("[GENERAL]"), QStringLiteral("[general]"), QStringLiteral("[General] "),
    QStringLiteral(" [GENERAL]"), QStringLiteral("[GENERAL]x"), QStringLiteral("fin"),
    QStringLiteral("FIN"), QStringLiteral("Fin "), QStringLiteral("fin  "),
    QStringLiteral(" fin"), QStringLiteral("fin\t"), QStringLiteral("a, b"),
    QStringLiteral("\"quoted\""), QStringLiteral("\"a\", \"b\""), QStringLiteral("1,5"),
    QString(), QStringLiteral(" "), QStringLiteral("  lead"), QStringLiteral("trail  "),
    QStringLiteral("Tensi\u00f3n (\u20ac) \u2030 \u0160 \u0178"),
    QStringLiteral("\u00ff\u00e1\u00a0\u0081\u201c\u201d"), QStringLiteral("X"), QStringLiteral("Title"),
};

// Characters for made-up texts: letters, blanks, punctuation, the words
// above in pieces, and the upper half of the code page (0x81 and the other
// bytes it leaves undefined included).
const QString letras = QStringLiteral("abcFINfinGENERAL[] ,;\"'-.0123456789\t") +
                       QStringLiteral("\u20ac\u0081\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039"
                                      "\u0152\u008d\u017d\u008f\u0090\u2018\u2019\u201c\u201d\u2022\u2013\u2014"
                                      "\u02dc\u2122\u0161\u203a\u0153\u009d\u017e\u0178\u00a0\u00a1\u00bf\u00c0"
                                      "\u00d1\u00e9\u00f6\u00ff");

// Number texts as fields may hold them: empty, not in the general form, not
// a number at all, or read only in part.
const QStringList numerosfijos{
    QString(), QStringLiteral("0"), QStringLiteral("-0"), QStringLiteral("1.50"), QStringLiteral("007"),
    QStringLiteral("2e1"), QStringLiteral("1D2"), QStringLiteral(".5"), QStringLiteral("-.5"),
    QStringLiteral("5."), QStringLiteral("+3"), QStringLiteral("&H1F"), QStringLiteral("&O17"),
    QStringLiteral("&HFFFF"), QStringLiteral("12abc"), QStringLiteral("1,5"), QStringLiteral(" 4 2"),
    QStringLiteral("-"), QStringLiteral("abc"), QStringLiteral("1e-7"), QStringLiteral("\t3"),
    QStringLiteral("3\n4"), QStringLiteral("1,000"), QStringLiteral("5-"), QStringLiteral("(5)"),
    QStringLiteral(" 2 "), QStringLiteral("0.30000000000000004"), QStringLiteral("1E+16"),
    QStringLiteral("-1"), QStringLiteral("4.94065645841247E-324"),
};

class Generador
{
public:
    explicit Generador(quint64 semilla) : azar_(semilla) {}

    int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar_); }
    bool moneda(int enN = 2) { return entre(1, enN) == 1; }

    QString texto()
    {
        if (moneda(3)) {
            QString s;
            const int n = entre(0, 12);
            for (int i = 0; i < n; ++i)
                s += letras[entre(0, static_cast<int>(letras.size()) - 1)];
            return s;
        }
        return textosfijos[entre(0, static_cast<int>(textosfijos.size()) - 1)];
    }

    QString numero()
    {
        switch (entre(0, 3)) {
        case 0:
            return numerosfijos[entre(0, static_cast<int>(numerosfijos.size()) - 1)];
        case 1: {
            // A double to the last bit, written with all its digits.
            const double v = std::ldexp(std::uniform_real_distribution<double>(-1.0, 1.0)(azar_), entre(-40, 40));
            return QString::number(v, 'g', 17);
        }
        case 2:
            return platform::generalNumber(std::uniform_real_distribution<double>(-1000.0, 1000.0)(azar_));
        default:
            return QString::number(entre(-20, 20));
        }
    }

    Pestana pestana()
    {
        Pestana t;
        t.leyenda = texto();
        t.x = moneda(3) ? QStringLiteral("-1") : numero();
        t.y = moneda(3) ? QStringLiteral("-1") : numero();
        t.puntos = moneda();
        t.tipo = entre(0, ajusteFourier);
        t.linea = entre(0, 2);
        t.color = entre(0, 15);
        t.grosor = QString::number(entre(1, 5));
        const int n = moneda(8) ? entre(2, 12) : entre(2, 5);
        for (int j = 0; j < n; ++j)
            t.datos.append({numero(), numero()});
        // The degree as the spinner allows it for the points; a type
        // without one keeps whatever an earlier choice left.
        const int filas = n + 1;
        int maximo = 5;
        if (t.tipo >= ajusteMinimosX && t.tipo < ajusteFourier)
            maximo = filas - 2;
        else if (t.tipo == ajusteFourier)
            maximo = std::max<int>(1, platform::cint((filas - 3) / 2.0));
        t.grado = QString::number(entre(1, maximo));
        return t;
    }

private:
    std::mt19937_64 azar_;
};

QStringList mensajes(const platform::ScriptedMsgBox &box)
{
    QStringList l;
    for (const platform::MsgBoxCall &c : box.shown)
        l << c.prompt;
    return l;
}

} // namespace

class TstIdaVuelta : public QObject
{
    Q_OBJECT

    // In memory where the system offers it: every save is flushed to the
    // disk, which would take most of the run.
    QTemporaryDir dir{QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/curvexa-XXXXXX")
                                                                           : QDir::tempPath() + QStringLiteral("/curvexa-XXXXXX")};

private slots:
    void cleanup()
    {
        cerrarventanas();
        platform::setProgramFolder(QString());
    }

    void savedDocumentsDrawAsBefore()
    {
        QVERIFY(dir.isValid());
        bool conocida = false;
        quint64 semilla = qEnvironmentVariable("CURVEXA_SEMILLA").toULongLong(&conocida);
        if (!conocida)
            semilla = static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
        Generador g(semilla);

        principal &p = arrancarventana(dir);
        const QString ruta = dir.filePath(QStringLiteral("ida.dat"));
        int dibujados = 0;
        for (int d = 0; dibujados < documentos; ++d) {
            QVERIFY2(d < 2 * documentos, "too few documents draw");
            const QByteArray donde = QStringLiteral("seed %1 (CURVEXA_SEMILLA), document %2").arg(semilla).arg(d).toUtf8();
            p.nuevofichero();
            p.titlebox()->setText(g.texto());
            p.xcaptionbox()->setText(g.texto());
            p.ycaptionbox()->setText(g.texto());
            const int n = g.moneda(10) ? 10 : g.entre(1, 3);
            for (int i = 0; i < n; ++i) {
                if (i > 0)
                    p.spinner()->upButton()->click();
                ponerpestana(p, i, g.pestana());
            }

            platform::ScriptedMsgBox box;
            p.dibujargraficas();
            const QStringList antes = mensajes(box);
            const QString dibujado = documentodibujado(p);
            // A legend position that is no number stops the drawing with a
            // message: such a document must open again, but is not compared.
            const bool dibuja = antes.isEmpty() || antes.first() != QStringLiteral("Failed");
            box.shown.clear();

            {
                platform::ScriptedFileDialog dlg;
                dlg.answers << ruta;
                p.guardarfichero();
            }
            {
                platform::ScriptedFileDialog dlg;
                dlg.answers << ruta;
                p.abrir();
            }
            QVERIFY2(box.shown.isEmpty(), donde + " says: " + mensajes(box).join(QLatin1Char('/')).toUtf8() +
                                              "\nfile:\n" + leerfichero(ruta));
            if (!dibuja)
                continue;
            ++dibujados;
            p.dibujargraficas();
            if (mensajes(box) != antes || documentodibujado(p) != dibujado) {
                QVERIFY2(mensajes(box) == antes, donde + " says: " + mensajes(box).join(QLatin1Char('/')).toUtf8() +
                                                     " instead of: " + antes.join(QLatin1Char('/')).toUtf8());
                qWarning().noquote() << "before:" << dibujado << "\nafter: " << documentodibujado(p) << "\nfile:\n"
                                     << QString::fromLatin1(leerfichero(ruta));
                QFAIL(donde.constData());
            }
        }
    }
};

QTEST_MAIN(TstIdaVuelta)
#include "tst_idavuelta.moc"
