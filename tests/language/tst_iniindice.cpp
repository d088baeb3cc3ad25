// The index of a keyed file answers every lookup as leerini and existeseccion
// answer on the file itself: random files of headers, entries, repeated
// names in other cases, bytes of the whole code page and every line end,
// looked up in the order of the file, backwards and at random.
#include "language/ini.h"
#include "language/iniindice.h"
#include "platform/textfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Letters that change with the case in the code page, some that do not,
// and bytes with no character of their own.
const QByteArray letras = QByteArray("aAbBxXyY() 1=") + "\x8a\x9a\xc9\xe9\xdf\x9f\xff\xb5\x81\xd7";

QByteArray nombre(QRandomGenerator &g)
{
    QByteArray n;
    const int largo = int(g.bounded(4));
    for (int i = 0; i < largo; ++i)
        n += letras[g.bounded(int(letras.size()))];
    return n;
}

QByteArray fichero(QRandomGenerator &g, QList<QByteArray> &nombres)
{
    QByteArray f;
    const int lineas = int(g.bounded(1, 40));
    for (int i = 0; i < lineas; ++i) {
        QByteArray n = nombre(g);
        // Names come back often, in other cases.
        if (!nombres.isEmpty() && g.bounded(2))
            n = nombres[g.bounded(int(nombres.size()))];
        if (g.bounded(3) == 0)
            n = n.toUpper();
        nombres << n;
        switch (g.bounded(8)) {
        case 0:
            f += "[" + n + "]";
            break;
        case 1:
            f += g.bounded(2) ? "[" : "[" + n; // no name, or a last character that is no "]"
            break;
        case 2:
            f += n; // no "=" (or one inside the name)
            break;
        case 3:
            break; // empty
        default:
            f += n + "=" + nombre(g) + (g.bounded(4) == 0 ? "=" : "");
            break;
        }
        static const char *const fines[] = {"\r\n", "\r\n", "\r", "\n", "\r\r\n", "\n\r"};
        f += fines[g.bounded(6)];
    }
    return f;
}

// A name asked for: one of the file, in any case of the whole character set,
// or one with a character the code page lacks.
QString pregunta(QRandomGenerator &g, const QList<QByteArray> &nombres)
{
    QString q = platform::fromAnsi(nombres[g.bounded(int(nombres.size()))]);
    switch (g.bounded(5)) {
    case 0:
        return q.toUpper();
    case 1:
        return q.toLower();
    case 2:
        return q + QChar(0x0100);
    default:
        return q;
    }
}

} // namespace

class TstIniIndice : public QObject
{
    Q_OBJECT
private slots:
    void likeLeerini_data();
    void likeLeerini();
};

void TstIniIndice::likeLeerini_data()
{
    QTest::addColumn<int>("orden"); // 0 in file order, 1 backwards, 2 at random
    QTest::newRow("in the order of the file") << 0;
    QTest::newRow("backwards") << 1;
    QTest::newRow("at random") << 2;
}

void TstIniIndice::likeLeerini()
{
    QFETCH(int, orden);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("indice.dat"));
    QRandomGenerator g(quint32(20260 + orden));
    for (int vuelta = 0; vuelta < 150; ++vuelta) {
        QList<QByteArray> nombres;
        const QByteArray contenido = fichero(g, nombres);
        {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(contenido);
        }
        const IniIndice indice(contenido);
        QList<QPair<QString, QString>> preguntas;
        for (int i = 0; i < 40; ++i)
            preguntas << qMakePair(pregunta(g, nombres), pregunta(g, nombres));
        if (orden == 0) {
            // Every entry of the file, section by section, in its order.
            QString seccion;
            for (const QByteArray &linea : contenido.split('\r')) {
                const QString l = platform::fromAnsi(linea.startsWith('\n') ? linea.mid(1) : linea);
                if (l.startsWith(QLatin1Char('[')))
                    seccion = l.size() < 2 ? QString() : l.mid(1, l.size() - 2);
                else if (l.contains(QLatin1Char('=')))
                    preguntas.prepend(qMakePair(seccion, l.left(l.indexOf(QLatin1Char('=')))));
            }
            std::reverse(preguntas.begin(), preguntas.end());
        } else if (orden == 1) {
            std::reverse(preguntas.begin(), preguntas.end());
        }
        for (const auto &[seccion, clave] : preguntas) {
            const QString esperado = leerini(ruta, seccion, clave);
            QCOMPARE(indice.valor(seccion, clave), esperado);
            const QByteArray utf8 = clave.toUtf8();
            QCOMPARE(indice.valor(seccion, QUtf8StringView(utf8)), esperado);
            const QByteArray latin1 = clave.toLatin1();
            if (QString::fromLatin1(latin1) == clave)
                QCOMPARE(indice.valor(seccion, QLatin1StringView(latin1)), esperado);
            QCOMPARE(indice.existe(seccion), bool(existeseccion(ruta, seccion)));
        }
    }
}

QTEST_MAIN(TstIniIndice)
#include "tst_iniindice.moc"
