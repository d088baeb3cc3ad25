// Accuracy of the fitted curves against references worked out independently
// in extended precision, agreement with the plain power-series methods where
// those are well conditioned, and bit-for-bit reproducibility of the spline
// and Fourier vertices.

#include "renderers_apoyo.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using pasoseguro::Paso;

namespace
{

// Smooth data with a little noise over the years 1990 to 1990 + n - 1, at
// the level `base`. The noise is a fixed sequence, so every run sees the same.
std::vector<Punto> datosAnuales(int n, double base, double amplitud)
{
    std::vector<Punto> v;
    unsigned semilla = 12345;
    for (int i = 0; i < n; ++i) {
        semilla = semilla * 1103515245u + 12345u;
        const double ruido = (static_cast<double>((semilla >> 8) % 2001) - 1000.0) / 1000.0;
        const double x = 1990.0 + i;
        const double y =
            base + amplitud * (0.8 * i / (n - 1) + 0.15 * std::sin(i / 3.0)) + 0.01 * amplitud * ruido;
        v.push_back(Punto{x, y});
    }
    return v;
}

double rangoY(const std::vector<Punto> &p)
{
    const auto [mn, mx] =
        std::minmax_element(p.begin(), p.end(), [](const Punto &a, const Punto &b) { return a.y < b.y; });
    return mx->y - mn->y;
}

// Least-squares polynomial in (x - centro) by Householder QR in long double;
// returns the coefficients of the powers 0..N.
std::vector<long double> referenciaMinimos(const std::vector<Punto> &p, int N, long double centro)
{
    const int n = int(p.size());
    const int m = N + 1;
    std::vector<std::vector<long double>> A(n, std::vector<long double>(m));
    std::vector<long double> y(n);
    for (int i = 0; i < n; ++i) {
        const long double t = (long double)p[i].x - centro;
        long double pot = 1;
        for (int j = 0; j < m; ++j) {
            A[i][j] = pot;
            pot *= t;
        }
        y[i] = p[i].y;
    }
    for (int k = 0; k < m; ++k) {
        long double norma = 0;
        for (int i = k; i < n; ++i)
            norma += A[i][k] * A[i][k];
        norma = std::sqrt(norma);
        const long double alfa = A[k][k] > 0 ? -norma : norma;
        std::vector<long double> v(n, 0);
        for (int i = k; i < n; ++i)
            v[i] = A[i][k];
        v[k] -= alfa;
        long double vv = 0;
        for (int i = k; i < n; ++i)
            vv += v[i] * v[i];
        if (vv == 0)
            continue;
        for (int j = k; j < m; ++j) {
            long double s = 0;
            for (int i = k; i < n; ++i)
                s += v[i] * A[i][j];
            for (int i = k; i < n; ++i)
                A[i][j] -= 2 * s / vv * v[i];
        }
        long double s = 0;
        for (int i = k; i < n; ++i)
            s += v[i] * y[i];
        for (int i = k; i < n; ++i)
            y[i] -= 2 * s / vv * v[i];
    }
    std::vector<long double> c(m);
    for (int k = m - 1; k >= 0; --k) {
        long double s = y[k];
        for (int j = k + 1; j < m; ++j)
            s -= A[k][j] * c[j];
        c[k] = s / A[k][k];
    }
    return c;
}

long double evaluar(const std::vector<long double> &c, long double t)
{
    long double v = 0;
    for (int j = int(c.size()) - 1; j >= 0; --j)
        v = v * t + c[j];
    return v;
}

// The interpolating polynomial's value by Lagrange's formula in long double.
long double referenciaLagrange(const std::vector<Punto> &p, long double t)
{
    long double suma = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        long double L = 1;
        for (std::size_t j = 0; j < p.size(); ++j)
            if (j != i)
                L *= (t - (long double)p[j].x) / ((long double)p[i].x - (long double)p[j].x);
        suma += L * (long double)p[i].y;
    }
    return suma;
}

// The running abscissas of a fitted curve: x(1) plus 1 to 500 steps.
std::vector<double> abscisas500(double x1, double xn)
{
    std::vector<double> t;
    const double T = xn - x1;
    const double paso = T / 500;
    double x = x1;
    t.push_back(x);
    for (int s = 1; s <= 500; ++s) {
        x = x + paso;
        t.push_back(x);
    }
    return t;
}

bool mismosBits(float a, float b)
{
    std::uint32_t ua, ub;
    std::memcpy(&ua, &a, 4);
    std::memcpy(&ub, &b, 4);
    return ua == ub;
}

} // namespace

class TstRenderersPrecision : public QObject
{
    Q_OBJECT
private slots:
    void minimosCuadradosAnuales_data();
    void minimosCuadradosAnuales();
    void polinomioDoceAnuales_data();
    void polinomioDoceAnuales();
    void coincideConPotenciasCercaDeCero_data();
    void coincideConPotenciasCercaDeCero();
    void polinomioCoincideConDeflacionEnX();
    void splineBitABit();
    void fourierBitABit();
};

void TstRenderersPrecision::minimosCuadradosAnuales_data()
{
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("amplitud");
    QTest::addColumn<int>("grado");
    for (int g = 1; g <= 10; ++g) {
        QTest::addRow("near 1.9e6, degree %d", g) << 1.9e6 << 2.0e5 << g;
        QTest::addRow("near 0, degree %d", g) << 0.0 << 3.0 << g;
    }
}

void TstRenderersPrecision::minimosCuadradosAnuales()
{
    QFETCH(double, base);
    QFETCH(double, amplitud);
    QFETCH(int, grado);
    const std::vector<Punto> datos = datosAnuales(31, base, amplitud);
    Curva c = curvaDe(datos, ajusteMinimosX, grado);
    const std::vector<long double> ref = referenciaMinimos(datos, grado, 2005.0L);
    const double rango = rangoY(datos);

    Reales a;
    VariableAjuste var;
    {
        Paso p;
        calcularajuste(p, 0, c.puntos, c.grado, a, var);
        QVERIFY(!p.fallido());
    }
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(500));

    const std::vector<double> t = abscisas500(1990, 2020);
    double peor = 0;
    for (std::size_t s = 0; s < t.size(); ++s) {
        double v = 0;
        valorajuste(0, a, var, t[s], 30.0, v);
        const long double esperado = evaluar(ref, (long double)t[s] - 2005.0L);
        peor = std::max(peor, double(std::fabs((long double)v - esperado)) / rango);
        // What is drawn is this value, in single precision.
        const float dibujado = s == 0 ? lineas[0].y1 : lineas[s - 1].y2;
        QVERIFY(mismosBits(dibujado, float(v)));
    }
    QVERIFY2(peor < 1e-6, qPrintable(QString::number(peor)));
    if (grado == 4 || grado == 10)
        qInfo("degree %d: largest deviation %.3g of the y range", grado, peor);
}

void TstRenderersPrecision::polinomioDoceAnuales_data()
{
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("amplitud");
    QTest::newRow("near 1.9e6") << 1.9e6 << 2.0e5;
    QTest::newRow("near 0") << 0.0 << 3.0;
}

void TstRenderersPrecision::polinomioDoceAnuales()
{
    QFETCH(double, base);
    QFETCH(double, amplitud);
    const std::vector<Punto> datos = datosAnuales(12, base, amplitud);
    Curva c = curvaDe(datos, ajustePolinomio);
    const double rango = rangoY(datos);
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(50 * 11));

    Reales C;
    VariableAjuste var;
    QVERIFY(calcularpolinomio(c.puntos, 12, C, var));
    double peor = 0;
    for (int i = 0; i < 11; ++i) {
        double t = datos[std::size_t(i)].x;
        const double paso = (datos[std::size_t(i) + 1].x - t) / 50;
        for (int k = 1; k <= 50; ++k) {
            t = t + paso;
            double v = 0;
            valorpolinomio(C, var, t, v);
            const long double esperado = referenciaLagrange(datos, t);
            peor = std::max(peor, double(std::fabs((long double)v - esperado)) / rango);
            QVERIFY(mismosBits(lineas[std::size_t(i * 50 + k - 1)].y2, float(v)));
        }
    }
    QVERIFY2(peor < 1e-6, qPrintable(QString::number(peor)));
    qInfo("largest deviation %.3g of the y range", peor);
}

void TstRenderersPrecision::coincideConPotenciasCercaDeCero_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("grado");
    for (int g = 1; g <= 4; ++g)
        QTest::addRow("x, degree %d", g) << 0 << g;
    QTest::newRow("sine, degree 1") << 1 << 1;
    QTest::newRow("sine, degree 2") << 1 << 2;
    QTest::newRow("cosine, degree 1") << 2 << 1;
    QTest::newRow("cosine, degree 2") << 2 << 2;
}

void TstRenderersPrecision::coincideConPotenciasCercaDeCero()
{
    // Well-conditioned data near 0: the normal equations in the plain
    // variable, solved by resolversistema, are then as good as the QR fit.
    QFETCH(int, kind);
    QFETCH(int, grado);
    std::vector<Punto> datos;
    for (int i = 0; i < 9; ++i) {
        const double x = -0.9 + 0.3 * i;
        datos.push_back(Punto{x, 1.0 + 0.7 * x - 0.4 * x * x + 0.1 * std::cos(3 * x)});
    }
    Curva c = curvaDe(datos, ajusteMinimosX, grado);
    const auto k = static_cast<platform::Integer>(kind);
    const double T = datos.back().x - datos.front().x;

    // The normal equations of the power series in the basis value.
    const int m = grado + 1;
    MatrizReal A(m);
    Reales b(1, m), potencias(1, m);
    Paso p;
    for (const Punto &q : datos) {
        const double f = funcionbase(p, k, q.x, T);
        for (int j = 1; j <= m; ++j)
            b(j) = std::pow(f, j - 1) * q.y + b(j);
    }
    for (int r = 1; r <= m; ++r)
        for (int col = 1; col <= m; ++col)
            for (const Punto &q : datos) {
                const double f = funcionbase(p, k, q.x, T);
                A(r, col) = std::pow(f, r - 1) * std::pow(f, col - 1) + A(r, col);
            }
    resolversistema(p, A, potencias, b);
    QVERIFY(!p.fallido());

    Reales a;
    VariableAjuste var;
    calcularajuste(p, k, c.puntos, c.grado, a, var);
    QVERIFY(!p.fallido());
    for (double t : abscisas500(datos.front().x, datos.back().x)) {
        double v = 0;
        valorajuste(k, a, var, t, T, v);
        double w = 0;
        const double f = funcionbase(p, k, t, T);
        for (int j = 1; j <= m; ++j)
            w = std::pow(f, j - 1) * potencias(j) + w;
        QVERIFY2(std::fabs(v - w) <= 1e-9 * std::fabs(w),
                 qPrintable(QString("%1: %2 %3").arg(t).arg(v, 0, 'g', 17).arg(w, 0, 'g', 17)));
    }
}

void TstRenderersPrecision::polinomioCoincideConDeflacionEnX()
{
    // The deflation done in x itself (powers of x) agrees with the centred
    // one where x is near 0.
    const std::vector<Punto> datos{{-1.1, 0.3}, {-0.4, 1.2}, {0.2, 0.9}, {0.7, -0.2}, {1.3, 0.4}};
    const int n = int(datos.size());
    PuntoArray P(datos.size());
    for (int i = 1; i <= n; ++i)
        P(i) = datos[std::size_t(i - 1)];
    std::vector<double> potencias(std::size_t(n), 0.0);
    Paso p;
    for (int j = 1; j <= n; ++j) {
        const int m = n + 1 - j;
        potencias[std::size_t(j - 1)] = evaluarlagrange(p, P, static_cast<platform::Integer>(m), 0.0);
        double menor = 1e38;
        int elegido = 0;
        for (int k = 1; k <= m; ++k) {
            if (std::fabs(P(k).x) < menor) {
                menor = std::fabs(P(k).x);
                elegido = k;
            }
            P(k).y = (P(k).y - potencias[std::size_t(j - 1)]) / P(k).x;
        }
        for (int k = elegido + 1; k <= m; ++k)
            P(k - 1) = P(k);
    }
    QVERIFY(!p.fallido());

    Curva c = curvaDe(datos, ajustePolinomio);
    Reales C;
    VariableAjuste var;
    QVERIFY(calcularpolinomio(c.puntos, n, C, var));
    for (double t = -1.1; t <= 1.3; t += 0.01) {
        double v = 0;
        valorpolinomio(C, var, t, v);
        double w = 0;
        for (int j = 1; j <= n; ++j)
            w = potencias[std::size_t(j - 1)] * std::pow(t, j - 1) + w;
        QVERIFY2(std::fabs(v - w) <= 1e-9 * std::fabs(w), qPrintable(QString::number(t)));
    }
}

void TstRenderersPrecision::splineBitABit()
{
    // The spline's operations in their prescribed order, written out here
    // once more; every vertex must come out with the same bits.
    const std::vector<double> x{0.3, 1.1, 1.7, 3.2, 3.9, 5.0};
    const std::vector<double> y{1.0, -0.7, 2.2, 0.4, 0.45, -1.3};
    const int n = int(x.size());
    std::vector<double> h(n + 1), al(n + 1), l(n + 1), mu(n + 1), z(n + 1), c(n + 1), b(n + 1), d(n + 1);
    auto X = [&](int i) { return x[std::size_t(i - 1)]; };
    auto Y = [&](int i) { return y[std::size_t(i - 1)]; };
    for (int i = 1; i <= n - 1; ++i)
        h[i] = X(i + 1) - X(i);
    for (int i = 2; i <= n - 1; ++i)
        al[i] =
            3 * (Y(i + 1) * h[i - 1] - (X(i + 1) - X(i - 1)) * Y(i) + Y(i - 1) * h[i]) / (h[i] * h[i - 1]);
    l[1] = 1;
    for (int i = 2; i <= n - 1; ++i) {
        l[i] = 2 * (X(i + 1) - X(i - 1)) - h[i - 1] * mu[i - 1];
        mu[i] = h[i] / l[i];
        z[i] = (al[i] - h[i - 1] * z[i - 1]) / l[i];
    }
    for (int j = n - 1; j >= 1; --j) {
        c[j] = z[j] - mu[j] * c[j + 1];
        b[j] = (Y(j + 1) - Y(j)) / h[j] - (2 * c[j] + c[j + 1]) * h[j] / 3;
        d[j] = (c[j + 1] - c[j]) / (3 * h[j]);
    }
    std::vector<float> esperado;
    double tultimo = 0, vultimo = 0;
    for (int i = 1; i <= n - 1; ++i) {
        const double paso = (X(i + 1) - X(i)) / 50;
        double t = X(i);
        for (int k = 1; k <= 50; ++k) {
            t = t + paso;
            const double v =
                ((t - X(i)) * b[i] + Y(i)) + std::pow(t - X(i), 2.0) * c[i] + std::pow(t - X(i), 3.0) * d[i];
            esperado.push_back(float(t));
            esperado.push_back(float(v));
            tultimo = t;
            vultimo = v;
        }
    }

    Curva curva =
        curvaDe({{0.3, 1.0}, {1.1, -0.7}, {1.7, 2.2}, {3.2, 0.4}, {3.9, 0.45}, {5.0, -1.3}}, ajusteSpline);
    for (int vez = 0; vez < 2; ++vez) {
        Lienzo lz;
        lz.dibujar(curva);
        const auto lineas = lz.lineas();
        QCOMPARE(lineas.size(), std::size_t(250));
        for (std::size_t s = 0; s < lineas.size(); ++s) {
            QVERIFY2(mismosBits(lineas[s].x2, esperado[2 * s]), qPrintable(QString::number(s)));
            QVERIFY2(mismosBits(lineas[s].y2, esperado[2 * s + 1]), qPrintable(QString::number(s)));
        }
        QCOMPARE(lz.final.x1, tultimo);
        QCOMPARE(lz.final.y1, vultimo);
    }
}

void TstRenderersPrecision::fourierBitABit()
{
    const std::vector<double> x{-1.0, -0.2, 0.5, 1.4, 2.0, 2.6, 3.5};
    const std::vector<double> y{0.5, 1.5, -0.3, 0.8, 2.0, 1.1, 0.2};
    const int n = int(x.size());
    const int N = 3;
    const double pi = 4 * std::atan(1.0);
    const double T = x[std::size_t(n - 1)] - x[0];
    std::vector<double> a(N + 1), b(N + 1);
    for (int k = 0; k <= N; ++k) {
        const double w = ((pi + pi) * k) / T;
        for (int i = 0; i < n - 1; ++i) {
            const double x1 = x[std::size_t(i)], y1 = y[std::size_t(i)];
            const double x2 = x[std::size_t(i) + 1], y2 = y[std::size_t(i) + 1];
            const double m = (y2 - y1) / (x2 - x1);
            const double u1 = w * x1, u2 = w * x2;
            if (k == 0) {
                a[0] = ((x2 - x1) * (m / 2) + y1) * (x2 - x1) + a[0];
            } else {
                const double c1 = std::cos(u1), s1 = std::sin(u1), c2 = std::cos(u2), s2 = std::sin(u2);
                a[std::size_t(k)] = (m / w) * (c2 - c1) + a[std::size_t(k)] + y2 * s2 - y1 * s1;
                b[std::size_t(k)] = (m / w) * (s2 - s1) + b[std::size_t(k)] - y2 * c2 + c1 * y1;
            }
        }
        a[std::size_t(k)] = a[std::size_t(k)] / T;
        b[std::size_t(k)] = b[std::size_t(k)] / T;
        if (k != 0) {
            a[std::size_t(k)] = (a[std::size_t(k)] + a[std::size_t(k)]) / w;
            b[std::size_t(k)] = (b[std::size_t(k)] + b[std::size_t(k)]) / w;
        }
    }
    auto serie = [&](double t) {
        double v = a[0];
        for (int k = 1; k <= N; ++k) {
            const double th = ((2 * k) * pi * t) / T;
            v = std::cos(th) * a[std::size_t(k)] + v + std::sin(th) * b[std::size_t(k)];
        }
        return v;
    };
    std::vector<Punto> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back(Punto{x[std::size_t(i)], y[std::size_t(i)]});
    Curva curva = curvaDe(pts, ajusteFourier, N);
    Lienzo lz;
    lz.dibujar(curva);
    const auto lineas = lz.lineas();
    QCOMPARE(lineas.size(), std::size_t(500));
    const std::vector<double> t = abscisas500(x.front(), x.back());
    QCOMPARE(lz.inicial.y1, serie(t[0]));
    for (std::size_t s = 1; s < t.size(); ++s) {
        QVERIFY(mismosBits(lineas[s - 1].x2, float(t[s])));
        QVERIFY2(mismosBits(lineas[s - 1].y2, float(serie(t[s]))), qPrintable(QString::number(s)));
    }
    QCOMPARE(lz.final.y1, serie(t[500]));
}

QTEST_MAIN(TstRenderersPrecision)
#include "tst_renderers_precision.moc"
