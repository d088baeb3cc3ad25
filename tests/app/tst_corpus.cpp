// Damaged files through every reader of the program: the plain and keyed
// data files, the text import, the workbook import and the language file.
// None may crash, leave anything but its own controls changed, or touch the
// file it reads.

#include "ficherosprueba.h"

#include "platform/commondialog.h"
#include "platform/msgbox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>

namespace
{

// The damaged files, by name.
QList<QPair<QString, QByteArray>> corpus()
{
    QList<QPair<QString, QByteArray>> c;
    const QByteArray bueno = leerfichero(QStringLiteral(CURVEXA_FIXTURES_DIR "/files/diez-curvas.dat"));
    for (qsizetype n : {qsizetype(1), qsizetype(7), bueno.size() / 5, bueno.size() / 2, bueno.size() - 5})
        c.append({QStringLiteral("truncated at %1").arg(n), bueno.first(n)});
    QByteArray ini = "[GENERAL]\r\nTITLE=t\r\n[CURVE 1]\r\nN POINTS=30000\r\nTYPE OF FIT=1\r\nX(1)=";
    c.append({QStringLiteral("keyed, cut inside"), ini});
    QRandomGenerator azar(20261207);
    for (int i = 0; i < 4; ++i) {
        QByteArray b(4096 << i, Qt::Uninitialized);
        for (char &ch : b)
            ch = static_cast<char>(azar.bounded(256));
        c.append({QStringLiteral("garbage %1").arg(i), b});
    }
    c.append({QStringLiteral("NUL bytes"), QByteArray(10000, '\0')});
    QByteArray nul = bueno;
    for (qsizetype i = 0; i < nul.size(); i += 13)
        nul[i] = '\0';
    c.append({QStringLiteral("NUL bytes in a good file"), nul});
    c.append({QStringLiteral("a line of a megabyte"), QByteArray(1 << 20, '7') + "\r\n1  1\r\n"});
    QByteArray lineas;
    for (int i = 0; i < 100000; ++i)
        lineas += QByteArray::number(i) + ",1\r\n";
    c.append({QStringLiteral("100,000 lines"), lineas});
    QByteArray curvas = "t\r\nx\r\ny\r\n";
    for (int i = 0; i < 12; ++i)
        curvas += "c\r\n1  1\r\n32767  1  1  1  0  0\r\n";
    c.append({QStringLiteral("points announced, none there"), curvas});
    c.append({QStringLiteral("LF only"), QByteArray("a\nb\nc\n").repeated(1000)});
    c.append({QStringLiteral("CR only"), QByteArray("\r").repeated(100000)});
    return c;
}

QByteArray huella(const QString &ruta)
{
    return QCryptographicHash::hash(leerfichero(ruta), QCryptographicHash::Sha256);
}

} // namespace

class TstCorpus : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    principal &abrirventana()
    {
        principal &p = arrancarventana(dir);
        p.show();
        return p;
    }

    QString escribir(const QByteArray &bytes, const char *nombre = "damaged.dat")
    {
        const QString ruta = dir.filePath(QLatin1String(nombre));
        escribirfichero(ruta, bytes);
        return ruta;
    }

    QStringList ficheros() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    // After a reader ran: the file as it was, no file added, the tabs on
    // view as many as the count says, every message a file message.
    void comprobar(principal &p, const QString &ruta, const QByteArray &antes, const QStringList &lista,
                   const platform::ScriptedMsgBox &box)
    {
        QCOMPARE(huella(ruta), antes);
        QCOMPARE(ficheros(), lista);
        QCOMPARE(pestanasvisibles(p), p.curvecount()->text().toInt());
        for (const auto &m : box.shown)
            QVERIFY(m.prompt == QLatin1String("Failed") && m.style == 16);
        for (std::size_t k = 0; k < 10; ++k)
            QVERIFY(p.MSFdata[k]->Rows() <= 32768);
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

    void readers_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        for (const auto &c : corpus())
            QTest::newRow(qPrintable(c.first)) << c.second;
    }
    void readers()
    {
        QFETCH(QByteArray, contenido);
        principal &p = abrirventana();
        const QString ruta = escribir(contenido);
        const QByteArray antes = huella(ruta);
        const QStringList lista = ficheros();

        // Plain reader, through "Abrir": the curve table is the new document's.
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            p.nuevofichero();
            const Curva primera = curvas(1);
            dlg.answers << ruta;
            p.abrirfichero();
            comprobar(p, ruta, antes, lista, box);
            QCOMPARE(curvas(1).activa, primera.activa);
            QCOMPARE(curvas(1).npuntos, primera.npuntos);
        }
        // Keyed reader.
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            dlg.answers << ruta;
            p.nuevofichero(); // as "Abrir" does before it
            p.abrirfichero1();
            comprobar(p, ruta, antes, lista, box);
        }
        // Text import with each separator, into the last tab only.
        for (int s = 0; s < 3; ++s) {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            const Pestana otra = leerpestana(p, 0);
            p.CMBlimitador[9]->setCurrentIndex(s);
            dlg.answers << ruta;
            p.BTimport_Click(9);
            comprobar(p, ruta, antes, lista, box);
            QCOMPARE(leerpestana(p, 0), otra);
        }
        // Workbook import: never a workbook, always the failure message.
        {
            platform::ScriptedFileDialog dlg;
            platform::ScriptedMsgBox box;
            const Pestana antesxls = leerpestana(p, 8);
            dlg.answers << ruta;
            p.BTexcel_Click(8);
            comprobar(p, ruta, antes, lista, box);
            QCOMPARE(box.shown.size(), 1);
            QCOMPARE(leerpestana(p, 8), antesxls);
        }
        // Language file: every lookup answers, a damaged file that is not
        // empty is left as it is, and the program goes on.
        {
            const QString lng = ficheroidioma;
            ficheroidioma = escribir(contenido, "damaged.lng");
            const QByteArray antesLng = huella(ficheroidioma);
            cargaridiomas();
            for (int id = 1; id <= 107; ++id)
                leertexto(id);
            if (!contenido.isEmpty())
                QCOMPARE(huella(ficheroidioma), antesLng);
            QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("temp.tmp"))));
            QFile::remove(ficheroidioma);
            ficheroidioma = lng;
            cargaridiomas();
        }
    }
};

QTEST_MAIN(TstCorpus)
#include "tst_corpus.moc"
