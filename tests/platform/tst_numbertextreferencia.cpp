// The number texts against the way they were written and read before their
// faster rewrite (numbertext_referencia.h): the same text for every double
// and the same value, bit for bit, for every text, on well over a million
// values per run. Each run draws new values; set CURVEXA_SEED to repeat one.
#include "numbertext_referencia.h"

#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace
{

using Generador = std::function<double(QRandomGenerator &)>;
using GeneradorTexto = std::function<QString(QRandomGenerator &)>;

std::uint64_t bits(double v)
{
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

double deBits(std::uint64_t b)
{
    double v = 0;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// What val gave: a value, or the error it raised.
struct Resultado {
    bool error = false;
    int numero = 0;
    std::uint64_t valor = 0;
    bool operator==(const Resultado &) const = default;
};

template <typename F>
Resultado resultado(F &&leer)
{
    Resultado r;
    try {
        r.valor = bits(leer());
    } catch (const platform::VbError &e) {
        r.error = true;
        r.numero = e.number();
    }
    return r;
}

QByteArray describir(const Resultado &r)
{
    if (r.error)
        return "error " + QByteArray::number(r.numero);
    return QByteArray::number(deBits(r.valor), 'g', 17) + " (bits " + QByteArray::number(r.valor, 16) + ")";
}

double azar(QRandomGenerator &g, double desde, double hasta)
{
    return desde + (hasta - desde) * g.generateDouble();
}

int entre(QRandomGenerator &g, int desde, int hasta)
{
    return static_cast<int>(g.bounded(desde, hasta + 1));
}

// A decimal of `cifras` random digits (no leading zero) times 10^exponente.
double decimal(QRandomGenerator &g, int cifras, int exponente, char ultima = 0)
{
    QByteArray t;
    t += char('1' + g.bounded(9));
    for (int i = 1; i < cifras; ++i)
        t += char('0' + g.bounded(10));
    if (ultima)
        t[t.size() - 1] = ultima;
    t += 'e' + QByteArray::number(exponente);
    return std::strtod(t.constData(), nullptr);
}

double conSigno(QRandomGenerator &g, double v)
{
    return g.bounded(2) ? -v : v;
}

// Blanks, tabs and line feeds put in at random places.
QString conBlancos(QRandomGenerator &g, QString t)
{
    static const char16_t blancos[] = {u' ', u'\t', u'\n'};
    const int n = entre(g, 0, 3);
    for (int i = 0; i < n; ++i)
        t.insert(entre(g, 0, static_cast<int>(t.size())), QChar(blancos[g.bounded(3)]));
    return t;
}

QString elegir(QRandomGenerator &g, std::initializer_list<const char *> textos)
{
    const auto i = g.bounded(static_cast<int>(textos.size()));
    return QString::fromUtf8(*(textos.begin() + i));
}

QString textoDeNumero(QRandomGenerator &g)
{
    const double v = conSigno(g, decimal(g, entre(g, 1, 19), entre(g, -330, 320)));
    QString t;
    switch (g.bounded(4)) {
    case 0:
        t = platform::generalNumber(v);
        break;
    case 1:
        t = QString::number(v, 'g', entre(g, 1, 17));
        break;
    case 2:
        t = QString::number(v, 'e', entre(g, 0, 20));
        break;
    default:
        t = QString::number(std::fmod(v, 1e9), 'f', entre(g, 0, 12));
        break;
    }
    // Other exponent letters, a leading "+", a point first.
    if (g.bounded(3) == 0)
        t.replace(QLatin1Char('e'), elegir(g, {"E", "D", "d", "e"}));
    if (g.bounded(8) == 0 && !t.startsWith(QLatin1Char('-')))
        t.prepend(QLatin1Char('+'));
    if (t.startsWith(QLatin1String("0.")) && g.bounded(4) == 0)
        t.remove(0, 1);
    if (t.startsWith(QLatin1String("-0.")) && g.bounded(4) == 0)
        t.remove(1, 1);
    return t;
}

QString basura(QRandomGenerator &g)
{
    return elegir(g, {"", "abc", ",5", "\r2", "é", ".3", "e", "e+", "E-", "d", "D+7", "&", "x", "%", "$", "1,000",
                      "-", "+", " ", "..", "ı", "ǅ", "\xe2\x82\xac", "\t\n", "0x1F"});
}

QString radix(QRandomGenerator &g)
{
    static const char cifras[] = "0123456789ABCDEFabcdefGg";
    QString t = elegir(g, {"&H", "&h", "&O", "&o", "&", "&X", "&Ｈ"});
    const int n = entre(g, 0, 12);
    for (int i = 0; i < n; ++i)
        t += QLatin1Char(cifras[g.bounded(int(sizeof cifras) - 1)]);
    return t;
}

QString caracteres(QRandomGenerator &g)
{
    static const char16_t letras[] = u"0123456789.+-eEdDhHoO& \t\n\r,xé€ı";
    const int n = entre(g, 0, g.bounded(20) == 0 ? 120 : 12);
    QString t;
    for (int i = 0; i < n; ++i)
        t += QChar(letras[g.bounded(int(std::size(letras)) - 1)]);
    return t;
}

QString cifrasLargas(QRandomGenerator &g)
{
    QString t = g.bounded(2) ? QStringLiteral("-") : QString();
    const int n = entre(g, 40, 400);
    for (int i = 0; i < n; ++i)
        t += QLatin1Char(char('0' + g.bounded(10)));
    if (g.bounded(2))
        t.insert(entre(g, 1, static_cast<int>(t.size())), QLatin1Char('.'));
    if (g.bounded(2))
        t += QStringLiteral("E") + QString::number(entre(g, -700, 700));
    return t;
}

// [+-]digits[.digits][(e|E)[+-]digits] with leading and trailing zeros, up
// to 18 digits, exponents of every size, now and then something else.
QString decimalSimple(QRandomGenerator &g)
{
    QString t = elegir(g, {"", "", "-", "+"});
    const auto cifras = [&](int n) {
        for (int i = 0; i < n; ++i)
            t += QLatin1Char(g.bounded(3) == 0 ? '0' : char('0' + g.bounded(10)));
    };
    cifras(entre(g, 0, 18));
    if (g.bounded(3))
        t += QLatin1Char('.');
    cifras(entre(g, 0, 18));
    if (g.bounded(2)) {
        t += elegir(g, {"e", "E", "e+", "E-", "e-", "e0"});
        t += QString::number(g.bounded(4) == 0 ? entre(g, 290, 330) : entre(g, 0, 40));
    }
    if (g.bounded(20) == 0)
        t += basura(g);
    return t;
}

} // namespace

Q_DECLARE_METATYPE(Generador)
Q_DECLARE_METATYPE(GeneradorTexto)

class TestNumberTextReferencia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void numeros_data();
    void numeros();
    void textos_data();
    void textos();

private:
    quint32 semilla_ = 0;
};

void TestNumberTextReferencia::initTestCase()
{
    bool ok = false;
    semilla_ = qEnvironmentVariable("CURVEXA_SEED").toUInt(&ok);
    if (!ok)
        semilla_ = QRandomGenerator::global()->generate();
    qInfo("CURVEXA_SEED=%u", semilla_);
}

void TestNumberTextReferencia::numeros_data()
{
    QTest::addColumn<int>("cuantos");
    QTest::addColumn<Generador>("generador");
    QTest::newRow("any bit pattern") << 300000 << Generador([](QRandomGenerator &g) { return deBits(g.generate64()); });
    QTest::newRow("every magnitude") << 200000 << Generador([](QRandomGenerator &g) {
        return conSigno(g, std::ldexp(azar(g, 0.5, 1.0), entre(g, -1074, 1024)));
    });
    QTest::newRow("subnormals") << 100000 << Generador([](QRandomGenerator &g) {
        return conSigno(g, deBits(g.generate64() & ((std::uint64_t(1) << entre(g, 1, 52)) - 1)));
    });
    QTest::newRow("decimals of up to 15 digits") << 150000 << Generador([](QRandomGenerator &g) {
        // Read from texts of few digits, at every magnitude and around the
        // smallest normal double.
        const int exponente = g.bounded(4) == 0 ? entre(g, -325, -300) : entre(g, -330, 310);
        return conSigno(g, decimal(g, entre(g, 1, 15), exponente));
    });
    QTest::newRow("around the exponent-form switch") << 150000 << Generador([](QRandomGenerator &g) {
        static const double bordes[] = {1e15, 1e-4, 1e-5, 999999999999999.5, 0.000099999999999999995, 1e16, 1e14};
        double v = bordes[g.bounded(int(std::size(bordes)))];
        const int pasos = entre(g, -40, 40);
        for (int i = 0; i < std::abs(pasos); ++i)
            v = std::nextafter(v, pasos < 0 ? 0.0 : HUGE_VAL);
        if (g.bounded(3) == 0)
            v = decimal(g, entre(g, 14, 17), g.bounded(2) ? entre(g, -6, -3) : entre(g, 13, 16), '9');
        return conSigno(g, v);
    });
    QTest::newRow("half-way at the 15th digit") << 150000 << Generador([](QRandomGenerator &g) {
        // A 16-digit integer ending in 5 is a double exactly half way
        // between two 15-digit numbers; scaled, it is the nearest double.
        double v = decimal(g, 16, 0, '5');
        if (g.bounded(2))
            v = decimal(g, 16, entre(g, -320, 300), '5');
        return conSigno(g, v);
    });
    QTest::newRow("half-way at the 4th decimal") << 100000 << Generador([](QRandomGenerator &g) {
        // k + j/20000 and binary halves: what formatFixed4 rounds.
        const double entero = entre(g, 0, 100000);
        double v = g.bounded(2) ? entero + entre(g, 0, 19999) * 0.00005 : entero + entre(g, 0, 1 << 16) / 65536.0;
        if (g.bounded(4) == 0)
            v = std::nextafter(v, g.bounded(2) ? 0.0 : HUGE_VAL);
        return conSigno(g, v);
    });
    QTest::newRow("points of a curve") << 100000 << Generador([](QRandomGenerator &g) {
        const double x = entre(g, 1, 32767) * 0.001;
        return g.bounded(2) ? x : std::sin(x + entre(g, 0, 9));
    });
    QTest::newRow("whole numbers, zeros, limits") << 50000 << Generador([](QRandomGenerator &g) {
        static const double raros[] = {0.0,
                                       -0.0,
                                       std::numeric_limits<double>::max(),
                                       -std::numeric_limits<double>::max(),
                                       std::numeric_limits<double>::min(),
                                       std::numeric_limits<double>::denorm_min(),
                                       -std::numeric_limits<double>::denorm_min(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       0.5,
                                       -0.5,
                                       0.00005,
                                       -0.00005};
        if (g.bounded(4) == 0)
            return raros[g.bounded(int(std::size(raros)))];
        return conSigno(g, std::round(std::ldexp(g.generateDouble(), entre(g, 0, 60))));
    });
}

void TestNumberTextReferencia::numeros()
{
    QFETCH(int, cuantos);
    QFETCH(Generador, generador);
    QRandomGenerator g(semilla_ ^ qHash(QByteArray(QTest::currentDataTag())));
    char buf[platform::generalNumberSize];
    for (int i = 0; i < cuantos; ++i) {
        const double v = generador(g);
        const QString esperado = referencia::generalNumber(v);
        const QString texto = platform::generalNumber(v);
        if (texto != esperado)
            QFAIL(qPrintable(QStringLiteral("generalNumber(%1): %2, before %3")
                                 .arg(QString::number(v, 'g', 17), texto, esperado)));
        const int n = platform::generalNumber(v, buf);
        if (QLatin1StringView(buf, n) != esperado)
            QFAIL(qPrintable(QStringLiteral("generalNumber(%1) into a buffer: %2, before %3")
                                 .arg(QString::number(v, 'g', 17), QLatin1StringView(buf, n), esperado)));
        // The text reads back as it did.
        const Resultado antes = resultado([&] { return referencia::val(esperado); });
        if (resultado([&] { return platform::val(esperado); }) != antes ||
            resultado([&] { return platform::val(QLatin1StringView(buf, n)); }) != antes)
            QFAIL(qPrintable(QStringLiteral("val(\"%1\") differs from before: %2")
                                 .arg(esperado, QString::fromLatin1(describir(antes)))));
        if (i % 4 == 0 && std::isfinite(v)) {
            // The exact text is the general one when that reads back as the
            // value, else the longer text that does.
            const QString exacto = platform::generalNumberExact(v);
            const auto leeComo = [v](const QString &t) {
                try {
                    return referencia::parseDecimal(t.toStdString()) == v;
                } catch (const platform::VbError &) {
                    return false;
                }
            };
            if ((leeComo(esperado) && exacto != esperado) || !leeComo(exacto) ||
                exacto.size() > platform::generalNumberSize)
                QFAIL(qPrintable(QStringLiteral("generalNumberExact(%1): %2")
                                     .arg(QString::number(v, 'g', 17), exacto)));
        }
        if (i % 4 == 0) {
            if (platform::formatFixed4(v) != referencia::formatFixed4(v))
                QFAIL(qPrintable(QStringLiteral("formatFixed4(%1): %2, before %3")
                                     .arg(QString::number(v, 'g', 17), platform::formatFixed4(v),
                                          referencia::formatFixed4(v))));
            if (platform::formatHashes(v) != referencia::formatHashes(v))
                QFAIL(qPrintable(QStringLiteral("formatHashes(%1): %2, before %3")
                                     .arg(QString::number(v, 'g', 17), platform::formatHashes(v),
                                          referencia::formatHashes(v))));
        }
    }
}

void TestNumberTextReferencia::textos_data()
{
    QTest::addColumn<int>("cuantos");
    QTest::addColumn<GeneradorTexto>("generador");
    QTest::newRow("numbers with blanks, tabs and line feeds")
        << 200000 << GeneradorTexto([](QRandomGenerator &g) { return conBlancos(g, textoDeNumero(g)); });
    QTest::newRow("numbers with trailing garbage") << 150000 << GeneradorTexto([](QRandomGenerator &g) {
        return conBlancos(g, textoDeNumero(g) + basura(g) + (g.bounded(2) ? textoDeNumero(g) : QString()));
    });
    QTest::newRow("garbage first") << 30000 << GeneradorTexto([](QRandomGenerator &g) {
        return conBlancos(g, basura(g) + textoDeNumero(g));
    });
    QTest::newRow("&H and &O") << 100000 << GeneradorTexto([](QRandomGenerator &g) {
        return conBlancos(g, radix(g) + (g.bounded(4) == 0 ? basura(g) : QString()));
    });
    QTest::newRow("random characters")
        << 100000 << GeneradorTexto([](QRandomGenerator &g) { return caracteres(g); });
    QTest::newRow("plain decimals")
        << 300000 << GeneradorTexto([](QRandomGenerator &g) { return decimalSimple(g); });
    QTest::newRow("long digit runs")
        << 20000 << GeneradorTexto([](QRandomGenerator &g) { return conBlancos(g, cifrasLargas(g)); });
}

void TestNumberTextReferencia::textos()
{
    QFETCH(int, cuantos);
    QFETCH(GeneradorTexto, generador);
    QRandomGenerator g(semilla_ ^ qHash(QByteArray(QTest::currentDataTag())));
    for (int i = 0; i < cuantos; ++i) {
        const QString texto = generador(g);
        const Resultado antes = resultado([&] { return referencia::val(texto); });
        const Resultado ahora = resultado([&] { return platform::val(texto); });
        if (ahora != antes)
            QFAIL(qPrintable(QStringLiteral("val(\"%1\"): %2, before %3")
                                 .arg(texto, QString::fromLatin1(describir(ahora)),
                                      QString::fromLatin1(describir(antes)))));
        const QStringView vista(texto);
        if (resultado([&] { return platform::val(vista); }) != antes)
            QFAIL(qPrintable(QStringLiteral("val(QStringView \"%1\") differs").arg(texto)));
        // The general text made from the digits is the one made from the value.
        char buf[platform::generalNumberSize];
        const int n = platform::generalNumberOfDecimal(texto, buf);
        if (n >= 0) {
            if (antes.error)
                QFAIL(qPrintable(QStringLiteral("generalNumberOfDecimal(\"%1\") of a text that overflows").arg(texto)));
            const QString esperado = referencia::generalNumber(deBits(antes.valor));
            if (QLatin1StringView(buf, n) != esperado)
                QFAIL(qPrintable(QStringLiteral("generalNumberOfDecimal(\"%1\"): %2, from the value %3")
                                     .arg(texto, QLatin1StringView(buf, n), esperado)));
        }
        bool latin1 = true;
        for (QChar c : texto)
            latin1 = latin1 && c.unicode() < 0x100;
        if (latin1) {
            const QByteArray bytes = texto.toLatin1();
            if (resultado([&] { return platform::val(QLatin1StringView(bytes)); }) != antes)
                QFAIL(qPrintable(QStringLiteral("val(QLatin1StringView \"%1\") differs").arg(texto)));
        }
    }
}

QTEST_MAIN(TestNumberTextReferencia)
#include "tst_numbertextreferencia.moc"
