#include "platform/recordingsurface.h"

#include <algorithm>

namespace platform
{

RecordingSurface::RecordingSurface(int widthPx, int heightPx)
    : widthPx_(std::max(widthPx, 1)), heightPx_(std::max(heightPx, 1)),
      scaleWidth_(static_cast<Single>(twipsFromPixels(widthPx_))),
      scaleHeight_(static_cast<Single>(twipsFromPixels(heightPx_)))
{
}

std::vector<DrawCall> RecordingSurface::callsOf(DrawCall::Kind kind) const
{
    std::vector<DrawCall> out;
    for (const DrawCall &c : calls_)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

int RecordingSurface::count(DrawCall::Kind kind) const
{
    return static_cast<int>(
        std::count_if(calls_.begin(), calls_.end(), [kind](const DrawCall &c) { return c.kind == kind; }));
}

void RecordingSurface::resize(int widthPx, int heightPx)
{
    widthPx_ = std::max(widthPx, 1);
    heightPx_ = std::max(heightPx, 1);
}

DrawCall &RecordingSurface::record(DrawCall::Kind kind)
{
    DrawCall c;
    c.kind = kind;
    calls_.push_back(c);
    return calls_.back();
}

DrawCall &RecordingSurface::recordDrawing(DrawCall::Kind kind)
{
    DrawCall &c = record(kind);
    c.penWidth = drawWidth_;
    c.penStyle = drawStyle_;
    c.penMode = drawMode_;
    c.penFillStyle = fillStyle_;
    c.penFillColor = fillColor_;
    return c;
}

void RecordingSurface::setScaleLeft(Single v)
{
    scaleLeft_ = v;
    record(DrawCall::Kind::ScaleLeft).number = v;
}

void RecordingSurface::setScaleTop(Single v)
{
    scaleTop_ = v;
    record(DrawCall::Kind::ScaleTop).number = v;
}

void RecordingSurface::setScaleWidth(Single v)
{
    scaleWidth_ = v;
    record(DrawCall::Kind::ScaleWidth).number = v;
}

void RecordingSurface::setScaleHeight(Single v)
{
    scaleHeight_ = v;
    record(DrawCall::Kind::ScaleHeight).number = v;
}

void RecordingSurface::setDrawMode(int mode)
{
    drawMode_ = mode;
    record(DrawCall::Kind::DrawMode).value = mode;
}

void RecordingSurface::setDrawStyle(int style)
{
    drawStyle_ = style;
    record(DrawCall::Kind::DrawStyle).value = style;
}

void RecordingSurface::setDrawWidth(int width)
{
    drawWidth_ = width;
    record(DrawCall::Kind::DrawWidth).value = width;
}

void RecordingSurface::setForeColor(OleColor c)
{
    foreColor_ = c;
    record(DrawCall::Kind::ForeColor).color = c;
}

void RecordingSurface::setFillColor(OleColor c)
{
    fillColor_ = c;
    record(DrawCall::Kind::FillColor).color = c;
}

void RecordingSurface::setFillStyle(int style)
{
    fillStyle_ = style;
    record(DrawCall::Kind::FillStyle).value = style;
}

void RecordingSurface::setBackColor(OleColor c)
{
    backColor_ = c;
    record(DrawCall::Kind::BackColor).color = c;
}

void RecordingSurface::line(Single x1, Single y1, Single x2, Single y2, OleColor color)
{
    recordSegment(DrawCall::Kind::Line, x1, y1, x2, y2, color);
}

void RecordingSurface::rectangle(Single x1, Single y1, Single x2, Single y2, OleColor color)
{
    recordSegment(DrawCall::Kind::Rectangle, x1, y1, x2, y2, color);
}

// Lines and rectangles record the same values and both end at (x2, y2).
void RecordingSurface::recordSegment(DrawCall::Kind kind, Single x1, Single y1, Single x2, Single y2,
                                     OleColor color)
{
    DrawCall &c = recordDrawing(kind);
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color;
    currentX_ = x2;
    currentY_ = y2;
}

void RecordingSurface::circle(Single x, Single y, Single radius)
{
    DrawCall &c = recordDrawing(DrawCall::Kind::Circle);
    c.x1 = x;
    c.y1 = y;
    c.r = radius;
    c.color = foreColor_;
    currentX_ = x;
    currentY_ = y;
}

void RecordingSurface::cls()
{
    record(DrawCall::Kind::Cls);
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
}

void RecordingSurface::setCurrentX(Single x)
{
    currentX_ = x;
    record(DrawCall::Kind::CurrentX).number = x;
}

void RecordingSurface::setCurrentY(Single y)
{
    currentY_ = y;
    record(DrawCall::Kind::CurrentY).number = y;
}

void RecordingSurface::setFont(const QFont &f)
{
    font_ = f;
    DrawCall &c = record(DrawCall::Kind::Font);
    c.text = f.toString();
    c.number = static_cast<Single>(f.pointSizeF());
}

void RecordingSurface::print(const QString &text)
{
    DrawCall &c = record(DrawCall::Kind::Print);
    c.text = text;
    c.x1 = currentX_;
    c.y1 = currentY_;
    c.color = foreColor_;
    const Single advance = textHeight(text);
    currentX_ = scaleLeft_;
    currentY_ = currentY_ + advance;
}

double RecordingSurface::emPixels() const
{
    if (font_.pixelSize() > 0)
        return font_.pixelSize();
    const double pt = font_.pointSizeF() > 0 ? font_.pointSizeF() : 8.25;
    return pt * 96.0 / 72.0;
}

Single RecordingSurface::textWidth(const QString &text) const
{
    // Width of the longest line of the text.
    qsizetype longest = 0;
    for (const QString &l : text.split(QLatin1Char('\n')))
        longest = std::max(longest, l.size());
    const double px = 0.6 * emPixels() * static_cast<double>(longest);
    return static_cast<Single>(px * scaleWidth_ / widthPx_);
}

Single RecordingSurface::textHeight(const QString &text) const
{
    // Signed like the scale: with a y-up scale a line of text is negative
    // height, so adding it to the current y always moves down the box.
    const double lines = static_cast<double>(text.count(QLatin1Char('\n')) + 1);
    const double px = 1.2 * emPixels() * lines;
    return static_cast<Single>(px * scaleHeight_ / heightPx_);
}

void RecordingSurface::paintPicture(const QImage &picture, Single x, Single y)
{
    DrawCall &c = record(DrawCall::Kind::PaintPicture);
    c.x1 = x;
    c.y1 = y;
    c.pictureSize = picture.size();
}

} // namespace platform
