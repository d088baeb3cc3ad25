// The chart's view window, the data extents and the drawing pass.

#include "chart/ctrgraficas.h"

#include "platform/msgbox.h"
#include "platform/vberror.h"

#include <QLabel>
#include <cmath>
#include <limits>

namespace
{

constexpr double maxIntervalo = 1e8;

void avisoIntervalo(const QString &linea)
{
    platform::msgbox(linea + QLatin1Char('\r') + QStringLiteral("Choose another interval"),
                     platform::vbCritical, QStringLiteral("Warning"));
}

QColor qcolor(platform::OleColor c)
{
    return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c));
}

// Pixel positions for widgets stay within what a widget can be moved to.
int pxClamp(double px)
{
    if (!(px > -1.0e6))
        return -1000000;
    return px > 1.0e6 ? 1000000 : int(std::lround(px));
}

bool finito(const Tramo &t)
{
    return std::isfinite(t.x1) && std::isfinite(t.y1) && std::isfinite(t.x2) && std::isfinite(t.y2);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

bool ctrgraficas::fijarescala(Punto &p1, Punto &p2)
{
    const double dy = std::fabs(p1.y - p2.y), dx = std::fabs(p1.x - p2.x);
    if (dy == 0) {
        avisoIntervalo(QStringLiteral("Y axe interval is zero."));
        return false;
    }
    if (dx == 0) {
        avisoIntervalo(QStringLiteral("X axe interval is zero."));
        return false;
    }
    if (dy > maxIntervalo) {
        avisoIntervalo(QStringLiteral("Y axe interval tends to infinite"));
        return false;
    }
    if (dx > maxIntervalo) {
        avisoIntervalo(QStringLiteral("X axe interval tends to infinite."));
        return false;
    }
    mostrarVista(p1, p2);
    platform::DrawSurface &s = pct();
    s.setScaleTop(comoSingle(p2.y));
    s.setScaleLeft(comoSingle(p1.x));
    s.setScaleHeight(comoSingle(p1.y - p2.y));
    s.setScaleWidth(comoSingle(p2.x - p1.x));
    s.cls();
    return true;
}

void ctrgraficas::calcularextremos(Integer n, const PuntoArray &puntos, Punto &minimo, Punto &maximo)
{
    if (puntos.empty())
        return;
    minimo = puntos(1);
    maximo = puntos(1);
    const int ultimo = std::min<int>(n, puntos.ubound());
    for (int i = 1; i <= ultimo; ++i) {
        const Punto &p = puntos(i);
        if (p.x < minimo.x)
            minimo.x = p.x;
        if (p.y < minimo.y)
            minimo.y = p.y;
        if (p.x > maximo.x)
            maximo.x = p.x;
        if (p.y > maximo.y)
            maximo.y = p.y;
    }
}

void ctrgraficas::clear()
{
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        if (QLabel *l = lbleyenda[std::size_t(i)])
            l->hide();
        curvas(i).activa = platform::vbFalse;
    }
    escalainicialmin = escalamin = Punto{0, 0};
    escalainicialmax = escalamax = Punto{1, 1};
}

void ctrgraficas::actualiza()
{
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        Curva &c = curvas(i);
        if (!c.isActive())
            continue;
        if (i > 1)
            crearLeyenda(i);
        calcularextremos(c.npuntos, c.puntos, c.minimo, c.maximo);
        if (i == 1) {
            escalainicialmin = c.minimo;
            escalainicialmax = c.maximo;
        } else {
            if (c.minimo.x < escalainicialmin.x)
                escalainicialmin.x = c.minimo.x;
            if (c.maximo.x > escalainicialmax.x)
                escalainicialmax.x = c.maximo.x;
            if (c.minimo.y < escalainicialmin.y)
                escalainicialmin.y = c.minimo.y;
            if (c.maximo.y > escalainicialmax.y)
                escalainicialmax.y = c.maximo.y;
        }
        escalamin = escalainicialmin;
        escalamax = escalainicialmax;
    }
    dibuja();
}

void ctrgraficas::dibuja()
{
    dibujado_ = true;
    try {
        redimensionar();
    } catch (const std::exception &) {
        // Drawing goes on in whatever scale the plot has.
    }
    platform::DrawSurface &s = pct();
    TrazoDestino destino{s, tramoinicial, tramofinal};
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        Curva &c = curvas(i);
        if (!c.isActive())
            continue;
        // A curve whose drawing draws no segment gets no extensions.
        tramoinicial = tramofinal = Tramo{kNaN, kNaN, kNaN, kNaN};
        try {
            switch (c.tipoajuste) {
            case ajustePuntos:
            case ajusteSegmentos:
                dibujapuntos(destino, c);
                break;
            case ajusteSpline:
                dibujaspline(destino, c);
                break;
            case ajustePolinomio:
                dibujapolinomio(destino, c);
                break;
            case ajusteMinimosX:
            case ajusteMinimosSeno:
            case ajusteMinimosCoseno:
                if (c.npuntos > c.grado) {
                    dibujaajuste(destino, Integer(c.tipoajuste - 4), c);
                } else {
                    // Nothing more is drawn in this pass; the program and
                    // its data carry on.
                    if (avisosGrado_)
                        platform::msgbox(QStringLiteral("Fit step is over number of points"),
                                         platform::vbCritical);
                    return;
                }
                break;
            case ajusteFourier:
                if (double(c.npuntos) / 2 >= double(c.grado)) {
                    dibujafourier(destino, c);
                } else {
                    if (avisosGrado_)
                        platform::msgbox(QStringLiteral("Fit step is over number of points"),
                                         platform::vbCritical);
                    return;
                }
                break;
            default:
                break;
            }
        } catch (const std::exception &) {
            // The renderer stops; the legend and extensions still follow.
        }

        try {
            colocarleyenda(Integer(i));
        } catch (const std::exception &) {
        }

        s.setDrawStyle(platform::drawStyleDot);
        const int np = std::min<int>(c.npuntos, c.puntos.ubound());
        if (np < 1)
            continue;
        const platform::OleColor color = qbcolor(c.color);
        // The extensions continue the first and last drawn segments to the
        // view's edges; a vertical or zero-length segment has no direction to
        // continue in and is left as it is.
        if (escalamin.x < c.puntos(1).x && finito(tramoinicial)) {
            const Tramo &t = tramoinicial;
            if (t.x2 != t.x1) {
                const double y = t.y1 - (t.x1 - escalamin.x) * (t.y2 - t.y1) / (t.x2 - t.x1);
                if (std::isfinite(y))
                    s.line(Single(escalamin.x), Single(y), Single(t.x1), Single(t.y1), color);
            }
        }
        if (escalamax.x > c.puntos(np).x && finito(tramofinal)) {
            const Tramo &t = tramofinal;
            if (t.x1 != t.x2) {
                const double y = t.y1 + (t.y1 - t.y2) * (escalamax.x - t.x1) / (t.x1 - t.x2);
                if (std::isfinite(y))
                    s.line(Single(t.x1), Single(t.y1), Single(escalamax.x), Single(y), color);
            }
        }
    }
}

double ctrgraficas::alturaLeyenda(int i) const
{
    const QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return 0;
    platform::DrawSurface &s = *superficie_;
    const int hpx = pctgrafico->heightPx();
    return l->height() * std::fabs(double(s.scaleHeight())) / (hpx > 0 ? hpx : 1);
}

void ctrgraficas::moverLeyenda(int i, double left, double top)
{
    QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return;
    leyendaPos_[std::size_t(i)] = Punto{left, top};
    const platform::DrawSurface &s = *superficie_;
    const QRect inner = pctgrafico->innerRect();
    const double px = (left - double(s.scaleLeft())) * inner.width() / double(s.scaleWidth());
    const double py = (top - double(s.scaleTop())) * inner.height() / double(s.scaleHeight());
    l->move(inner.left() + pxClamp(px), inner.top() + pxClamp(py));
}

void ctrgraficas::colocarleyenda(Integer i)
{
    QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return;
    const Curva &c = curvas(i);
    l->setText(c.leyenda);
    l->adjustSize();
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, qcolor(qbcolor(c.color)));
    l->setPalette(pal);
    moverLeyenda(i, c.posicionx, c.posiciony);
    if (c.posicionx == 0 && c.posiciony == 0) {
        l->hide();
    } else if (c.posicionx == -1 && c.posiciony == -1) {
        moverLeyenda(i, escalamin.x, escalamin.y + i * alturaLeyenda(i));
        l->show();
    } else {
        l->show();
    }
}
