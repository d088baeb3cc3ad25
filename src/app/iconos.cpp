#include "app/iconos.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace
{

QPixmap blank(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

// A curve through the square, from bottom left to top right, as a path.
QPainterPath curva(const QRectF &r)
{
    QPainterPath path;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double y = 0.5 - 0.38 * std::sin(t * 5.5) * (1.0 - 0.5 * t) - 0.25 * t;
        const QPointF p(r.left() + t * r.width(), r.top() + y * r.height());
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

} // namespace

QPixmap logocurvexa(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QRectF box(0.5, 0.5, s - 1, s - 1);
    QLinearGradient bg(box.topLeft(), box.bottomRight());
    bg.setColorAt(0, QColor(32, 88, 160));
    bg.setColorAt(1, QColor(12, 40, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(box, s * 0.16, s * 0.16);
    const QRectF plot(s * 0.2, s * 0.18, s * 0.66, s * 0.6);
    p.setPen(QPen(QColor(220, 230, 245), std::max(1.0, s / 32.0)));
    p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    p.drawLine(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()));
    p.setPen(QPen(QColor(255, 196, 40), std::max(1.5, s / 14.0), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curva(plot.adjusted(s * 0.04, 0, 0, -s * 0.04)));
    return pm;
}

QPixmap iconodibujar(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF plot(s * 0.12, s * 0.1, s * 0.8, s * 0.76);
    p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, s / 24.0)));
    p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    p.drawLine(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()));
    const QRectF inner = plot.adjusted(s * 0.06, s * 0.02, -s * 0.02, -s * 0.08);
    const QPainterPath path = curva(inner);
    p.setPen(QPen(QColor(200, 30, 30), std::max(1.5, s / 12.0), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 170));
    for (double t : {0.0, 0.33, 0.66, 1.0}) {
        const QPointF pt = path.pointAtPercent(t);
        p.drawEllipse(pt, s * 0.07, s * 0.07);
    }
    return pm;
}

QPixmap iconoidiomas(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(s * 0.06, s * 0.08, s * 0.88, s * 0.64), s * 0.14, s * 0.14);
    QPainterPath tail;
    tail.moveTo(s * 0.24, s * 0.68);
    tail.lineTo(s * 0.2, s * 0.94);
    tail.lineTo(s * 0.46, s * 0.7);
    tail.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 60), std::max(1.0, s / 24.0)));
    p.setBrush(QColor(60, 170, 110));
    p.drawPath(bubble.united(tail));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(std::max(6, int(s * 0.42)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(s * 0.06, s * 0.08, s * 0.88, s * 0.64), Qt::AlignCenter, QStringLiteral("Aa"));
    return pm;
}
