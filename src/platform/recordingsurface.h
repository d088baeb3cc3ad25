#pragma once
// A drawing surface that draws nothing and records every call in order:
// lines with their ends and colour, circles, rectangles, clearing, every pen,
// fill and scale change, text output and pictures. Tests use it to check the
// exact sequence of vertices that a piece of drawing code produces.
//
// It keeps the state of a real picture box: the user scale (initially the
// box's size in twips, as a fresh picture box has), pen, fill, colours, font
// and the current point. Each drawing call also records the pen as it was at
// that moment, so a test can check the width and style a line was drawn with.
//
// Text metrics follow a fixed model that needs no font database: a character
// cell is 0.6 em wide and 1.2 em high, one em being the font's pixel size
// (its point size at 96 dpi when it has no pixel size).

#include "platform/drawsurface.h"

#include <QFont>
#include <QSize>
#include <QString>
#include <vector>

namespace platform
{

struct DrawCall {
    enum class Kind {
        Line,      // x1, y1, x2, y2, color
        Rectangle, // x1, y1, x2, y2, color
        Circle,    // x1, y1 = centre, r = radius, color = fore colour
        Cls,
        ScaleLeft,    // number
        ScaleTop,     // number
        ScaleWidth,   // number
        ScaleHeight,  // number
        DrawMode,     // value
        DrawStyle,    // value
        DrawWidth,    // value
        ForeColor,    // color
        FillColor,    // color
        FillStyle,    // value
        BackColor,    // color
        CurrentX,     // number
        CurrentY,     // number
        Font,         // text = QFont::toString(), number = point size
        Print,        // text, x1, y1 = position where it was printed
        PaintPicture, // x1, y1 = top-left corner, pictureSize
    };

    Kind kind = Kind::Line;
    Single x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Single r = 0;
    Single number = 0;
    int value = 0;
    OleColor color = 0;
    QString text;
    QSize pictureSize;

    // Pen state when a drawing call (Line, Rectangle, Circle) was made.
    int penWidth = 1;
    int penStyle = drawStyleSolid;
    int penMode = drawModeCopyPen;
    int penFillStyle = fillStyleTransparent;
    OleColor penFillColor = 0;
};

class RecordingSurface : public DrawSurface
{
public:
    explicit RecordingSurface(int widthPx = 600, int heightPx = 400);

    // --- the record ---
    const std::vector<DrawCall> &calls() const { return calls_; }
    void clearRecord() { calls_.clear(); }
    // Calls of one kind, in order.
    std::vector<DrawCall> callsOf(DrawCall::Kind kind) const;
    int count(DrawCall::Kind kind) const;
    // Lines only, in order (shorthand for callsOf(Kind::Line)).
    std::vector<DrawCall> lines() const { return callsOf(DrawCall::Kind::Line); }
    void resize(int widthPx, int heightPx);

    // --- DrawSurface ---
    void setScaleLeft(Single v) override;
    void setScaleTop(Single v) override;
    void setScaleWidth(Single v) override;
    void setScaleHeight(Single v) override;
    Single scaleLeft() const override { return scaleLeft_; }
    Single scaleTop() const override { return scaleTop_; }
    Single scaleWidth() const override { return scaleWidth_; }
    Single scaleHeight() const override { return scaleHeight_; }

    void setDrawMode(int mode) override;
    int drawMode() const override { return drawMode_; }
    void setDrawStyle(int style) override;
    int drawStyle() const override { return drawStyle_; }
    void setDrawWidth(int width) override;
    int drawWidth() const override { return drawWidth_; }
    void setForeColor(OleColor c) override;
    OleColor foreColor() const override { return foreColor_; }
    void setFillColor(OleColor c) override;
    OleColor fillColor() const override { return fillColor_; }
    void setFillStyle(int style) override;
    int fillStyle() const override { return fillStyle_; }
    void setBackColor(OleColor c) override;
    OleColor backColor() const override { return backColor_; }

    using DrawSurface::line;
    void line(Single x1, Single y1, Single x2, Single y2, OleColor color) override;
    void rectangle(Single x1, Single y1, Single x2, Single y2, OleColor color) override;
    void circle(Single x, Single y, Single radius) override;
    void cls() override;

    void setCurrentX(Single x) override;
    void setCurrentY(Single y) override;
    Single currentX() const override { return currentX_; }
    Single currentY() const override { return currentY_; }
    void setFont(const QFont &f) override;
    QFont font() const override { return font_; }
    void print(const QString &text) override;
    Single textWidth(const QString &text) const override;
    Single textHeight(const QString &text) const override;

    void paintPicture(const QImage &picture, Single x, Single y) override;

    int widthPx() const override { return widthPx_; }
    int heightPx() const override { return heightPx_; }

private:
    DrawCall &record(DrawCall::Kind kind);
    DrawCall &recordDrawing(DrawCall::Kind kind);
    void recordSegment(DrawCall::Kind kind, Single x1, Single y1, Single x2, Single y2, OleColor color);
    double emPixels() const;

    std::vector<DrawCall> calls_;
    int widthPx_;
    int heightPx_;
    Single scaleLeft_ = 0;
    Single scaleTop_ = 0;
    Single scaleWidth_;
    Single scaleHeight_;
    int drawMode_ = drawModeCopyPen;
    int drawStyle_ = drawStyleSolid;
    int drawWidth_ = 1;
    OleColor foreColor_ = 0;
    OleColor fillColor_ = 0;
    int fillStyle_ = fillStyleTransparent;
    OleColor backColor_ = rgb(255, 255, 255);
    Single currentX_ = 0;
    Single currentY_ = 0;
    QFont font_;
};

} // namespace platform
