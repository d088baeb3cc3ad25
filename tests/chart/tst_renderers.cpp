#include "renderers_apoyo.h"

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <limits>

using pasoseguro::Paso;
using platform::DrawCall;
using Kind = platform::DrawCall::Kind;

Q_DECLARE_METATYPE(QList<QPointF>)

namespace
{

Curva curvaDeLista(const QList<QPointF> &pts, int tipo, int grado, int verpuntos = 1)
{
    std::vector<Punto> v;
    for (const QPointF &p : pts)
        v.push_back(Punto{p.x(), p.y()});
    Curva c = curvaDe(v, static_cast<TipoAjuste>(tipo), grado);
    c.verpuntos = static_cast<platform::Integer>(verpuntos);
    c.grosor = 2;
    c.tipolinea = lineaDiscontinua;
    c.color = 12;
    return c;
}

const double qnanv = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();
const double pi = 4.0 * std::atan(1.0);

} // namespace

class TstRenderers : public QObject
{
    Q_OBJECT
private slots:
    // The step mechanism itself.
    void pasoSigueLasExcepciones_data();
    void pasoSigueLasExcepciones();

    // Hand-worked values.
    void splineTresPuntos();
    void splineDosPuntosEsUnSegmento();
    void polinomioValores_data();
    void polinomioValores();
    void polinomioCoeficientesEnVariableCentrada();
    void resolversistemaCasos_data();
    void resolversistemaCasos();
    void ajusteRecta();
    void fourierCoeficientes_data();
    void fourierCoeficientes();

    // Documented failure outcomes.
    void piezasDegeneradas_data();
    void piezasDegeneradas();
    void splinePuntosIdenticos();
    void nadaDibujado_data();
    void nadaDibujado();
    void senoCasiNuloDaLaMedia();

    // Order, direction, record.
    void ordenDeLlamadas_data();
    void ordenDeLlamadas();
    void xDecreciente_data();
    void xDecreciente();
    void fourierRecortaLosPuntos();
    void tiposPeriodicosRepitenAltura_data();
    void tiposPeriodicosRepitenAltura();

    // Inputs that must not break a renderer.
    void entradasExtremas_data();
    void entradasExtremas();
};

// ---------------------------------------------------------------------------

void TstRenderers::pasoSigueLasExcepciones_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<bool>("exito");
    QTest::addColumn<int>("resultado"); // 0 the given value, 1 NaN, 2 target unchanged
    QTest::addColumn<double>("valor");
    QTest::newRow("0/0 stores NaN") << 0 << false << 1 << 0.0;
    QTest::newRow("1/0 stores inf") << 1 << false << 0 << inf;
    QTest::newRow("0*inf stores NaN") << 2 << false << 1 << 0.0;
    QTest::newRow("inf-inf stores NaN") << 3 << false << 1 << 0.0;
    QTest::newRow("overflow stores inf") << 4 << false << 0 << inf;
    QTest::newRow("quiet NaN does not fail") << 5 << true << 1 << 0.0;
    QTest::newRow("underflow does not fail") << 6 << true << 0 << 0.0;
    QTest::newRow("pow overflow: unchanged") << 7 << false << 2 << 0.0;
    QTest::newRow("sin(inf): unchanged") << 8 << false << 2 << 0.0;
    QTest::newRow("0*inf before a call: unchanged") << 9 << false << 2 << 0.0;
    QTest::newRow("pow of NaN does not fail") << 10 << true << 1 << 0.0;
    QTest::newRow("beyond single range fails") << 11 << false << 0 << double(inf);
}

void TstRenderers::pasoSigueLasExcepciones()
{
    QFETCH(int, caso);
    QFETCH(bool, exito);
    QFETCH(int, resultado);
    QFETCH(double, valor);
    // Operands the compiler cannot see through, so the exceptions happen here.
    volatile double cero = 0.0, uno = 1.0, infinito = inf, maximo = DBL_MAX, qnan = qnanv, diminuto = 1e-300,
                    grande = 1e200, vuelta = 2.0;
    double destino = 7.0;
    bool ok = false;
    {
        Paso p;
        switch (caso) {
        case 0:
            ok = p.guardar(destino, cero / cero);
            break;
        case 1:
            ok = p.guardar(destino, uno / cero);
            break;
        case 2:
            ok = p.guardar(destino, cero * infinito);
            break;
        case 3:
            ok = p.guardar(destino, infinito - infinito);
            break;
        case 4:
            ok = p.guardar(destino, maximo * vuelta);
            break;
        case 5:
            ok = p.guardar(destino, qnan + uno);
            break;
        case 6:
            ok = p.guardar(destino, diminuto * diminuto);
            break;
        case 7:
            ok = p.guardar(destino, p.pow(grande, vuelta));
            break;
        case 8:
            ok = p.guardar(destino, p.sin(infinito));
            break;
        case 9: {
            const double a = cero * infinito;
            ok = p.guardar(destino, p.pow(a, vuelta));
            break;
        }
        case 10:
            ok = p.guardar(destino, p.pow(qnan, vuelta));
            break;
        case 11: {
            const float f = pasoseguro::asingle(grande);
            ok = p.guardar(destino, double(f));
            break;
        }
        }
    }
    QCOMPARE(ok, exito);
    if (resultado == 1)
        QVERIFY(std::isnan(destino));
    else if (resultado == 2)
        QCOMPARE(destino, 7.0);
    else
        QCOMPARE(destino, valor);
    // The next step starts clean.
    Paso siguiente;
    double otro = 0.0;
    QVERIFY(siguiente.guardar(otro, uno + uno));
    QCOMPARE(otro, 2.0);
}

// ---------------------------------------------------------------------------

void TstRenderers::splineTresPuntos()
{
    Curva c = curvaDe({{0, 0}, {1, 1}, {2, 0}}, ajusteSpline);
    Spline s;
    QVERIFY(sistemaspline(c.puntos, 3, s));
    QCOMPARE(s.alfa(2), -6.0);
    QCOMPARE(s.z(2), -1.5);
    coeficientesspline(c.puntos, 3, s);
    QCOMPARE(s.c(1), 0.0);
    QCOMPARE(s.c(2), -1.5);
    QCOMPARE(s.b(1), 1.5);
    QCOMPARE(s.d(1), -0.5);
    QCOMPARE(s.b(2), 0.0);
    QCOMPARE(s.d(2), 0.5);

    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(100));
    // Rises to 1 at t = 1 with zero slope, back to 0 at t = 2.
    QVERIFY(qAbs(lineas[49].x2 - 1.0f) < 1e-6f);
    QVERIFY(qAbs(lineas[49].y2 - 1.0f) < 1e-6f);
    QVERIFY(qAbs(lineas[49].y2 - lineas[49].y1) < 1e-3f);
    QVERIFY(qAbs(lineas[99].x2 - 2.0f) < 1e-6f);
    QVERIFY(qAbs(lineas[99].y2) < 1e-6f);
    // S_1(0.5) = 1.5 * 0.5 - 0.5 * 0.125.
    QVERIFY(qAbs(lineas[24].y2 - 0.6875f) < 1e-6f);
}

void TstRenderers::splineDosPuntosEsUnSegmento()
{
    Curva c = curvaDe({{1, 1}, {3, 5}}, ajusteSpline, 0, 1);
    Spline s;
    QVERIFY(sistemaspline(c.puntos, 2, s));
    coeficientesspline(c.puntos, 2, s);
    QCOMPARE(s.b(1), 2.0);
    QCOMPARE(s.c(1), 0.0);
    QCOMPARE(s.c(2), 0.0);
    QCOMPARE(s.d(1), 0.0);
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(50));
    for (const auto &ln : lineas)
        QVERIFY(qAbs(ln.y2 - (1.0f + 2.0f * (ln.x2 - 1.0f))) < 1e-5f);
    QCOMPARE(l.pct.count(Kind::Circle), 2);
}

void TstRenderers::polinomioValores_data()
{
    QTest::addColumn<QList<QPointF>>("puntos");
    QTest::addColumn<QList<double>>("coef"); // of the expected polynomial in x
    QTest::newRow("line") << QList<QPointF>{{1, 3}, {2, 5}} << QList<double>{1, 2};
    QTest::newRow("parabola") << QList<QPointF>{{0, 1}, {1, 2}, {2, 5}} << QList<double>{1, 0, 1};
    QTest::newRow("tie near 0") << QList<QPointF>{{-1, 2}, {1, 2}, {2, 5}} << QList<double>{1, 0, 1};
    QTest::newRow("cubic, unordered")
        << QList<QPointF>{{3, 28}, {-2, -7}, {0, 1}, {1, 2}} << QList<double>{1, 0, 0, 1};
}

void TstRenderers::polinomioValores()
{
    QFETCH(QList<QPointF>, puntos);
    QFETCH(QList<double>, coef);
    Curva c = curvaDeLista(puntos, ajustePolinomio, 0, 0);
    Reales C;
    VariableAjuste var;
    QVERIFY(calcularpolinomio(c.puntos, c.npuntos, C, var));
    for (double t = -3; t <= 3; t += 0.25) {
        double v = 0;
        valorpolinomio(C, var, t, v);
        double esperado = 0;
        for (int j = int(coef.size()) - 1; j >= 0; --j)
            esperado = esperado * t + coef[j];
        QVERIFY2(qAbs(v - esperado) < 1e-12 * (1 + qAbs(esperado)), qPrintable(QString::number(t)));
    }
    Lienzo l;
    l.dibujar(c);
    QCOMPARE(l.lineas().size(), std::size_t(50 * (puntos.size() - 1)));
}

void TstRenderers::polinomioCoeficientesEnVariableCentrada()
{
    // Symmetric about 0 with half-span 1: the centred variable is x itself,
    // and the deflation gives the power coefficients 1 + x^2.
    Curva c = curvaDe({{-1, 2}, {0, 1}, {1, 2}}, ajustePolinomio);
    Reales C;
    VariableAjuste var;
    QVERIFY(calcularpolinomio(c.puntos, 3, C, var));
    QCOMPARE(var.centro, 0.0);
    QCOMPARE(var.escala, 1.0);
    QCOMPARE(C(1), 1.0);
    QCOMPARE(C(2), 0.0);
    QCOMPARE(C(3), 1.0);
    // The working copy is deflated, the record is not.
    QCOMPARE(c.puntos(1).y, 2.0);
    QCOMPARE(c.puntos(2).x, 0.0);
}

void TstRenderers::resolversistemaCasos_data()
{
    QTest::addColumn<QList<double>>("matriz"); // A(u, e) listed by equation e, then u
    QTest::addColumn<QList<double>>("derecha");
    QTest::addColumn<QList<double>>("solucion");
    QTest::newRow("line fit") << QList<double>{3, 3, 3, 5} << QList<double>{9, 13} << QList<double>{1, 2};
    QTest::newRow("zero pivot exchanged")
        << QList<double>{0, 1, 1, 0} << QList<double>{2, 3} << QList<double>{3, 2};
    QTest::newRow("singular: mean of y")
        << QList<double>{3, 3, 3, 3} << QList<double>{6, 6} << QList<double>{2, 0};
    QTest::newRow("NaN pivot counts as zero")
        << QList<double>{qnanv, 1, 1, 0} << QList<double>{2, 3} << QList<double>{3, 2};
    QTest::newRow("3x3 no exchange") << QList<double>{2, 1, 0, 1, 3, 1, 0, 1, 4} << QList<double>{3, 5, 5}
                                     << QList<double>{1, 1, 1};
}

void TstRenderers::resolversistemaCasos()
{
    QFETCH(QList<double>, matriz);
    QFETCH(QList<double>, derecha);
    QFETCH(QList<double>, solucion);
    const int n = int(derecha.size());
    MatrizReal A(n);
    Reales b(1, n), x(1, n);
    for (int e = 1; e <= n; ++e) {
        b(e) = derecha[e - 1];
        for (int u = 1; u <= n; ++u)
            A(u, e) = matriz[(e - 1) * n + (u - 1)];
    }
    Paso p;
    resolversistema(p, A, x, b);
    QVERIFY(!p.fallido());
    for (int i = 1; i <= n; ++i)
        QVERIFY2(qAbs(x(i) - solucion[i - 1]) < 1e-14, qPrintable(QString::number(i)));
}

void TstRenderers::ajusteRecta()
{
    Curva c = curvaDe({{0, 1}, {1, 3}, {2, 5}}, ajusteMinimosX, 1);
    Reales a;
    VariableAjuste var;
    Paso p;
    calcularajuste(p, 0, c.puntos, 1, a, var);
    QVERIFY(!p.fallido());
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(500));
    QCOMPARE(lineas.front().x1, 0.0f);
    QVERIFY(qAbs(lineas.front().y1 - 1.0f) < 1e-6f);
    QVERIFY(qAbs(lineas.back().x2 - 2.0f) < 1e-5f);
    QVERIFY(qAbs(lineas.back().y2 - 5.0f) < 1e-5f);
    for (const auto &ln : lineas)
        QVERIFY(qAbs(ln.y2 - (1.0f + 2.0f * ln.x2)) < 1e-5f);
}

void TstRenderers::fourierCoeficientes_data()
{
    QTest::addColumn<QList<QPointF>>("puntos");
    QTest::addColumn<int>("grado");
    QTest::addColumn<QList<double>>("a");
    QTest::addColumn<QList<double>>("b");
    QTest::newRow("tent") << QList<QPointF>{{0, 0}, {1, 1}, {2, 0}} << 1 << QList<double>{0.5, -4 / (pi * pi)}
                          << QList<double>{0, 0};
    QTest::newRow("ramp") << QList<QPointF>{{0, 0}, {1, 1}} << 1 << QList<double>{0.5, 0}
                          << QList<double>{0, -1 / pi};
    QTest::newRow("flat") << QList<QPointF>{{0, 1}, {1, 1}, {3, 1}} << 1 << QList<double>{1, 0}
                          << QList<double>{0, 0};
    QTest::newRow("mean only") << QList<QPointF>{{0, 0}, {1, 2}, {3, 2}} << 0 << QList<double>{5.0 / 3}
                               << QList<double>{0};
    QTest::newRow("vertical step adds nothing")
        << QList<QPointF>{{0, 0}, {1, 0}, {1, 2}, {2, 2}} << 0 << QList<double>{1} << QList<double>{0};
    QTest::newRow("decreasing tent") << QList<QPointF>{{2, 0}, {1, 1}, {0, 0}} << 1
                                     << QList<double>{0.5, -4 / (pi * pi)} << QList<double>{0, 0};
}

void TstRenderers::fourierCoeficientes()
{
    QFETCH(QList<QPointF>, puntos);
    QFETCH(int, grado);
    QFETCH(QList<double>, a);
    QFETCH(QList<double>, b);
    Curva c = curvaDeLista(puntos, ajusteFourier, grado);
    Reales ra, rb;
    Paso p;
    calcularfourier(p, c.puntos, c.npuntos, 0, static_cast<platform::Integer>(grado), ra, rb);
    QVERIFY(!p.fallido());
    QCOMPARE(ra.lbound(), 0);
    QCOMPARE(ra.ubound(), grado);
    for (int k = 0; k <= grado; ++k) {
        QVERIFY2(qAbs(ra(k) - a[k]) < 1e-14, qPrintable(QString("a%1 %2").arg(k).arg(ra(k))));
        QVERIFY2(qAbs(rb(k) - b[k]) < 1e-14, qPrintable(QString("b%1 %2").arg(k).arg(rb(k))));
    }
}

// ---------------------------------------------------------------------------

void TstRenderers::piezasDegeneradas_data()
{
    QTest::addColumn<QList<QPointF>>("puntos");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("grado");
    QTest::addColumn<int>("piezas");
    QTest::addColumn<double>("yinicio"); // start of the first piece
    QTest::addColumn<double>("nivel");   // where every piece ends
    QTest::newRow("spline, same x") << QList<QPointF>{{1.5, 3}, {1.5, -2}} << 2 << 0 << 50 << 3.0 << 0.0;
    QTest::newRow("sine, period 0") << QList<QPointF>{{1.5, 3}, {2, 4}, {1.5, -2}} << 5 << 2 << 500 << 0.0
                                    << 0.0;
    QTest::newRow("cosine, period 0")
        << QList<QPointF>{{1.5, 3}, {2, 4}, {1.5, -2}} << 6 << 1 << 500 << 0.0 << 0.0;
    QTest::newRow("cosine at x 0, period 0")
        << QList<QPointF>{{0, 3}, {2, 4}, {0, -2}} << 6 << 1 << 500 << 0.0 << 0.0;
    QTest::newRow("Fourier, period 0")
        << QList<QPointF>{{1.5, 3}, {2, 4}, {1.5, -2}} << 7 << 1 << 500 << 0.0 << 0.0;
    QTest::newRow("x basis, one x: mean of y")
        << QList<QPointF>{{1, 1}, {1, 2}, {1, 3}} << 4 << 1 << 500 << 2.0 << 2.0;
    QTest::newRow("x basis, one x, degree 2: mean of y")
        << QList<QPointF>{{1, 1}, {1, 2}, {1, 3}, {1, 6}} << 4 << 2 << 500 << 3.0 << 3.0;
}

void TstRenderers::piezasDegeneradas()
{
    QFETCH(QList<QPointF>, puntos);
    QFETCH(int, tipo);
    QFETCH(int, grado);
    QFETCH(int, piezas);
    QFETCH(double, yinicio);
    QFETCH(double, nivel);
    Curva c = curvaDeLista(puntos, tipo, grado);
    const double x1 = puntos.front().x();
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(int(lineas.size()), piezas);
    QCOMPARE(lineas.front().x1, float(x1));
    QVERIFY(qAbs(lineas.front().y1 - float(yinicio)) < 1e-6f);
    for (const auto &ln : lineas) {
        QCOMPARE(ln.x2, float(x1));
        QVERIFY(qAbs(ln.y2 - float(nivel)) < 1e-6f);
    }
    for (std::size_t i = 1; i < lineas.size(); ++i) {
        QCOMPARE(lineas[i].x1, lineas[i].x2);
        QCOMPARE(lineas[i].y1, lineas[i].y2);
    }
    QCOMPARE(l.inicial.x1, x1);
    QVERIFY(qAbs(l.inicial.y1 - yinicio) < 1e-12);
    QCOMPARE(l.inicial.x2, x1);
    QVERIFY(qAbs(l.inicial.y2 - nivel) < 1e-12);
    QCOMPARE(l.final.x1, x1);
    QCOMPARE(l.final.x2, x1);
    QVERIFY(qAbs(l.final.y1 - nivel) < 1e-12);
    // Dots at every point all the same.
    QCOMPARE(l.pct.count(Kind::Circle), int(puntos.size()));
}

void TstRenderers::splinePuntosIdenticos()
{
    Curva c = curvaDe({{2, 3}, {2, 3}}, ajusteSpline, 0, 1);
    Lienzo l;
    l.dibujar(c);
    // Every sample is NaN: no piece can be drawn, but the first and last are
    // still recorded.
    QVERIFY(l.lineas().empty());
    QCOMPARE(l.inicial.x1, 2.0);
    QCOMPARE(l.inicial.y1, 3.0);
    QCOMPARE(l.inicial.x2, 2.0);
    QVERIFY(std::isnan(l.inicial.y2));
    QVERIFY(std::isnan(l.final.y1));
    QCOMPARE(l.pct.count(Kind::Circle), 2);
}

void TstRenderers::nadaDibujado_data()
{
    QTest::addColumn<QList<QPointF>>("puntos");
    QTest::addColumn<int>("tipo");
    QTest::newRow("spline, equal consecutive x") << QList<QPointF>{{0, 0}, {1, 1}, {1, 2}, {3, 0}} << 2;
    QTest::newRow("spline, zero elimination term") << QList<QPointF>{{0, 0}, {1, 1}, {0, 2}} << 2;
    QTest::newRow("spline, three at one x") << QList<QPointF>{{4, 0}, {4, 0}, {4, 0}} << 2;
    QTest::newRow("polynomial, repeated x apart") << QList<QPointF>{{0, 0}, {1, 1}, {2, 5}, {1, 3}} << 3;
    QTest::newRow("polynomial, repeated point") << QList<QPointF>{{5, 1}, {5, 1}} << 3;
    QTest::newRow("spline, fewer points than stated") << QList<QPointF>{{0, 0}} << 2;
}

void TstRenderers::nadaDibujado()
{
    QFETCH(QList<QPointF>, puntos);
    QFETCH(int, tipo);
    Curva c = curvaDeLista(puntos, tipo, 0);
    if (puntos.size() == 1)
        c.npuntos = 3; // the array holds fewer points than the record says
    Lienzo l;
    l.dibujar(c);
    // Not a dot, not a pen change; the previous curve's segments stay.
    QVERIFY(l.pct.calls().empty());
    QCOMPARE(l.inicial.x1, -7.0);
    QCOMPARE(l.final.y2, -9.0);
}

void TstRenderers::senoCasiNuloDaLaMedia()
{
    // sin(pi x) at 0, 1, 2 is zero but for rounding: no pivot may come of it.
    Curva c = curvaDe({{0, 1}, {1, 4}, {2, 7}}, ajusteMinimosSeno, 2);
    Reales a;
    VariableAjuste var;
    Paso p;
    calcularajuste(p, 1, c.puntos, 2, a, var);
    QVERIFY(!p.fallido());
    QVERIFY(qAbs(a(1) - 4.0) < 1e-14);
    QCOMPARE(a(2), 0.0);
    QCOMPARE(a(3), 0.0);
    Lienzo l;
    l.dibujar(c);
    for (const auto &ln : l.lineas())
        QVERIFY(qAbs(ln.y2 - 4.0f) < 1e-5f);
}

// ---------------------------------------------------------------------------

void TstRenderers::ordenDeLlamadas_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("grado");
    QTest::newRow("spline") << 2 << 0;
    QTest::newRow("polynomial") << 3 << 0;
    QTest::newRow("least squares x") << 4 << 2;
    QTest::newRow("least squares sine") << 5 << 1;
    QTest::newRow("least squares cosine") << 6 << 2;
    QTest::newRow("Fourier") << 7 << 2;
}

void TstRenderers::ordenDeLlamadas()
{
    QFETCH(int, tipo);
    QFETCH(int, grado);
    const QList<QPointF> pts{{-2, 1}, {-0.5, 2}, {1, 0.5}, {3, 1.5}};
    Curva c = curvaDeLista(pts, tipo, grado);
    Lienzo l;
    l.dibujar(c);
    const auto &calls = l.pct.calls();
    const bool porIntervalo = tipo == 2 || tipo == 3;

    // Pen first, then the drawing, then the reset.
    const std::vector<Kind> pluma{Kind::ForeColor, Kind::FillColor, Kind::FillStyle, Kind::DrawWidth,
                                  Kind::DrawStyle};
    QVERIFY(calls.size() > 8);
    for (std::size_t i = 0; i < pluma.size(); ++i)
        QCOMPARE(calls[i].kind, pluma[i]);
    QCOMPARE(calls[0].color, qbcolor(12));
    QCOMPARE(calls[3].value, 2);
    QCOMPARE(calls[4].value, int(lineaDiscontinua));
    const std::size_t fin = calls.size() - 3;
    QCOMPARE(calls[fin].kind, Kind::FillStyle);
    QCOMPARE(calls[fin].value, int(platform::fillStyleTransparent));
    QCOMPARE(calls[fin + 1].kind, Kind::DrawWidth);
    QCOMPARE(calls[fin + 1].value, 1);
    QCOMPARE(calls[fin + 2].kind, Kind::DrawStyle);
    QCOMPARE(calls[fin + 2].value, int(platform::drawStyleSolid));

    // The drawing itself: dots and pieces in order.
    std::vector<DrawCall> cuerpo(calls.begin() + 5, calls.begin() + std::ptrdiff_t(fin));
    const float radio = 0.003f * 2 * 10;
    if (porIntervalo) {
        QCOMPARE(cuerpo.size(), std::size_t(4 + 150));
        for (int i = 0; i < 3; ++i) {
            const DrawCall &dot = cuerpo[std::size_t(i * 51)];
            QCOMPARE(dot.kind, Kind::Circle);
            QCOMPARE(dot.x1, float(pts[i].x()));
            QCOMPARE(dot.y1, float(pts[i].y()));
            QVERIFY(qAbs(dot.r - radio) < 1e-6f);
            // Each interval's first piece starts at its own data point.
            const DrawCall &primera = cuerpo[std::size_t(i * 51 + 1)];
            QCOMPARE(primera.kind, Kind::Line);
            QCOMPARE(primera.x1, float(pts[i].x()));
            QCOMPARE(primera.y1, float(pts[i].y()));
            for (int k = 1; k < 50; ++k) {
                const DrawCall &a = cuerpo[std::size_t(i * 51 + k)];
                const DrawCall &b = cuerpo[std::size_t(i * 51 + k + 1)];
                QCOMPARE(b.kind, Kind::Line);
                QCOMPARE(b.x1, a.x2);
                QCOMPARE(b.y1, a.y2);
                QVERIFY(b.x2 > b.x1);
            }
            // The last piece ends at the next point, up to the rounding of the
            // running abscissa (and exactly there for an interpolating curve).
            const DrawCall &ultima = cuerpo[std::size_t(i * 51 + 50)];
            QVERIFY(qAbs(ultima.x2 - float(pts[i + 1].x())) < 1e-5f);
            QVERIFY(qAbs(ultima.y2 - float(pts[i + 1].y())) < 1e-4f);
        }
        QCOMPARE(cuerpo.back().kind, Kind::Circle);
        QCOMPARE(cuerpo.back().x1, 3.0f);
    } else {
        QCOMPARE(cuerpo.size(), std::size_t(4 + 500));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(cuerpo[std::size_t(i)].kind, Kind::Circle);
            QCOMPARE(cuerpo[std::size_t(i)].x1, float(pts[i].x()));
        }
        QCOMPARE(cuerpo[4].x1, -2.0f);
        for (std::size_t k = 5; k < cuerpo.size(); ++k) {
            QCOMPARE(cuerpo[k].kind, Kind::Line);
            QCOMPARE(cuerpo[k].x1, cuerpo[k - 1].x2);
            QCOMPARE(cuerpo[k].y1, cuerpo[k - 1].y2);
            QCOMPARE(cuerpo[k].penWidth, 2);
            QCOMPARE(cuerpo[k].color, qbcolor(12));
        }
        QVERIFY(qAbs(cuerpo.back().x2 - 3.0f) < 1e-5f);
    }
    // The first and last pieces, the last one stored backwards.
    const auto lineas = l.lineas();
    QCOMPARE(float(l.inicial.x1), lineas.front().x1);
    QCOMPARE(float(l.inicial.y1), lineas.front().y1);
    QCOMPARE(float(l.inicial.x2), lineas.front().x2);
    QCOMPARE(float(l.inicial.y2), lineas.front().y2);
    QCOMPARE(float(l.final.x1), lineas.back().x2);
    QCOMPARE(float(l.final.y1), lineas.back().y2);
    QCOMPARE(float(l.final.x2), lineas.back().x1);
    QCOMPARE(float(l.final.y2), lineas.back().y1);
}

void TstRenderers::xDecreciente_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("grado");
    QTest::newRow("spline") << 2 << 0;
    QTest::newRow("polynomial") << 3 << 0;
    QTest::newRow("least squares x") << 4 << 2;
    QTest::newRow("least squares cosine") << 6 << 1;
    QTest::newRow("Fourier") << 7 << 1;
}

void TstRenderers::xDecreciente()
{
    QFETCH(int, tipo);
    QFETCH(int, grado);
    // The same points in both orders: drawn right to left, along the same
    // curve for the spline and the fits that do not depend on the order.
    const QList<QPointF> sube{{0, 0}, {1, 1}, {2, 0.5}, {4, 2}};
    QList<QPointF> baja(sube.rbegin(), sube.rend());
    Curva cs = curvaDeLista(sube, tipo, grado, 0);
    Curva cb = curvaDeLista(baja, tipo, grado, 0);
    Lienzo ls, lb;
    ls.dibujar(cs);
    lb.dibujar(cb);
    const auto a = ls.lineas();
    const auto b = lb.lineas();
    QCOMPARE(a.size(), b.size());
    QCOMPARE(b.front().x1, 4.0f);
    for (const auto &ln : b)
        QVERIFY(ln.x2 < ln.x1);
    QVERIFY(qAbs(b.back().x2) < 1e-5f);
    if (tipo == 6)
        return; // the cosine basis depends on where the period starts
    // Compare the values at matching abscissas.
    for (std::size_t i = 0; i < a.size(); i += 7) {
        const DrawCall &pa = a[i];
        const DrawCall &pb = b[b.size() - 1 - i];
        QVERIFY(qAbs(pa.x1 - pb.x2) < 1e-4f);
        QVERIFY2(qAbs(pa.y1 - pb.y2) < 2e-4f, qPrintable(QString::number(i)));
    }
}

void TstRenderers::fourierRecortaLosPuntos()
{
    Curva c = curvaDe({{0, 0}, {1, 1}, {2, 0}, {9, 9}, {10, 10}}, ajusteFourier, 1);
    c.npuntos = 3;
    Lienzo l;
    l.dibujar(c);
    QCOMPARE(c.puntos.ubound(), 3);
    QCOMPARE(c.puntos(3).x, 2.0);
    QCOMPARE(c.puntos(2).y, 1.0);
    // Period 2: the series starts and ends at the same height, not at y(1).
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(500));
    const double inicio = 0.5 - 4 / (pi * pi);
    QVERIFY(qAbs(lineas.front().y1 - float(inicio)) < 1e-6f);
    QVERIFY(qAbs(lineas.back().y2 - float(inicio)) < 1e-5f);
    QVERIFY(qAbs(lineas[249].y2 - float(0.5 + 4 / (pi * pi))) < 1e-5f);
}

void TstRenderers::tiposPeriodicosRepitenAltura_data()
{
    QTest::addColumn<int>("tipo");
    QTest::newRow("sine") << 5;
    QTest::newRow("cosine") << 6;
    QTest::newRow("Fourier") << 7;
}

void TstRenderers::tiposPeriodicosRepitenAltura()
{
    QFETCH(int, tipo);
    Curva c = curvaDe({{1, 2}, {2, 5}, {3, 1}, {4, 4}, {6, 3}}, static_cast<TipoAjuste>(tipo), 2);
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    QCOMPARE(lineas.size(), std::size_t(500));
    QVERIFY(qAbs(lineas.front().y1 - lineas.back().y2) < 1e-5f);
}

// ---------------------------------------------------------------------------

void TstRenderers::entradasExtremas_data()
{
    QTest::addColumn<QList<QPointF>>("puntos");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("grado");
    QTest::addColumn<bool>("dibuja"); // some piece is drawn
    QTest::newRow("polynomial, x near 1e38")
        << QList<QPointF>{{1e38, 1}, {2e38, 2}, {3e38, 0}} << 3 << 0 << true;
    QTest::newRow("polynomial, x near -1e38 and 0")
        << QList<QPointF>{{-2e38, 1}, {-1e38, 2}, {1, 0}} << 3 << 0 << true;
    QTest::newRow("spline, values beyond single range")
        << QList<QPointF>{{0, 0}, {1, 1e300}, {2, 0}} << 2 << 0 << false;
    QTest::newRow("spline, x beyond single range")
        << QList<QPointF>{{0, 0}, {1e300, 1}, {2e300, 0}} << 2 << 0 << false;
    QTest::newRow("polynomial, span of the double range")
        << QList<QPointF>{{-1.7e308, 1}, {0, 2}, {1.7e308, 0}} << 3 << 0 << false;
    QTest::newRow("least squares, y near the double limit")
        << QList<QPointF>{{0, 1e308}, {1, -1e308}, {2, 1e308}} << 4 << 2 << false;
    QTest::newRow("least squares, x span overflows")
        << QList<QPointF>{{-1.7e308, 1}, {0, 2}, {1.7e308, 0}} << 4 << 1 << false;
    QTest::newRow("sine, huge x") << QList<QPointF>{{0, 1}, {1e300, 2}, {2e300, 0}} << 5 << 2 << false;
    QTest::newRow("Fourier, huge span") << QList<QPointF>{{-1e308, 1}, {0, 2}, {1e308, 0}} << 7 << 1 << false;
    QTest::newRow("Fourier, negative degree") << QList<QPointF>{{0, 1}, {1, 2}} << 7 << -1 << true;
    for (int tipo = 2; tipo <= 7; ++tipo) {
        QTest::addRow("type %d, one point", tipo) << QList<QPointF>{{1, 2}} << tipo << 0 << false;
        QTest::addRow("type %d, no point", tipo) << QList<QPointF>{} << tipo << 0 << false;
    }
    QTest::newRow("least squares, negative degree") << QList<QPointF>{{0, 1}, {1, 2}} << 4 << -1 << true;
}

void TstRenderers::entradasExtremas()
{
    QFETCH(QList<QPointF>, puntos);
    QFETCH(int, tipo);
    QFETCH(int, grado);
    QFETCH(bool, dibuja);
    Curva c = curvaDeLista(puntos, tipo, grado);
    Lienzo l;
    l.dibujar(c);
    const auto lineas = l.lineas();
    // Lines with a coordinate that is no finite single were skipped.
    for (const auto &ln : lineas) {
        QVERIFY(std::isfinite(ln.x1) && std::isfinite(ln.x2));
        QVERIFY(std::isfinite(ln.y1) && std::isfinite(ln.y2));
    }
    for (const auto &dot : l.pct.callsOf(Kind::Circle))
        QVERIFY(std::isfinite(dot.x1) && std::isfinite(dot.y1));
    if (dibuja)
        QVERIFY(!lineas.empty());
    // The pen is reset in every case.
    QCOMPARE(l.pct.drawWidth(), 1);
    QCOMPARE(l.pct.fillStyle(), int(platform::fillStyleTransparent));
}

QTEST_MAIN(TstRenderers)
#include "tst_renderers.moc"
