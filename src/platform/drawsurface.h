#pragma once
// The drawing interface of a picture box: a user scale, pen and fill state,
// lines, filled circles, outline rectangles, clearing, text at the current
// position and painting a picture. The on-screen picture box, the hidden canvas
// and the recording surface used by tests all implement it, so drawing code
// never knows which one it talks to.
//
// Coordinates and radii are single-precision values in user units. The user
// scale maps user units to the surface's inner pixels:
//   px = (x - scaleLeft) * widthPx / scaleWidth
//   py = (y - scaleTop) * heightPx / scaleHeight   (negative height: y grows upward)

#include "platform/vbtypes.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace platform {

enum DrawMode { drawModeCopyPen = 13, drawModeMergeNotPen = 14 };
enum DrawStyle { drawStyleSolid = 0, drawStyleDash = 1, drawStyleDot = 2 };
enum FillStyle { fillStyleSolid = 0, fillStyleTransparent = 1 };

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // User scale. Each setter takes effect on its own, in the order called.
    virtual void setScaleLeft(Single v) = 0;
    virtual void setScaleTop(Single v) = 0;
    virtual void setScaleWidth(Single v) = 0;
    virtual void setScaleHeight(Single v) = 0;
    virtual Single scaleLeft() const = 0;
    virtual Single scaleTop() const = 0;
    virtual Single scaleWidth() const = 0;
    virtual Single scaleHeight() const = 0;

    // Pen and fill.
    virtual void setDrawMode(int mode) = 0;
    virtual int drawMode() const = 0;
    virtual void setDrawStyle(int style) = 0;
    virtual int drawStyle() const = 0;
    virtual void setDrawWidth(int width) = 0;
    virtual int drawWidth() const = 0;
    virtual void setForeColor(OleColor c) = 0;
    virtual OleColor foreColor() const = 0;
    virtual void setFillColor(OleColor c) = 0;
    virtual OleColor fillColor() const = 0;
    virtual void setFillStyle(int style) = 0;
    virtual int fillStyle() const = 0;
    virtual void setBackColor(OleColor c) = 0;
    virtual OleColor backColor() const = 0;

    // A line from (x1, y1) to (x2, y2) in the given colour; the current point
    // becomes (x2, y2).
    virtual void line(Single x1, Single y1, Single x2, Single y2, OleColor color) = 0;
    // Same in the fore colour.
    void line(Single x1, Single y1, Single x2, Single y2) { line(x1, y1, x2, y2, foreColor()); }
    // Outline rectangle with corners (x1, y1) and (x2, y2) in the given colour.
    virtual void rectangle(Single x1, Single y1, Single x2, Single y2, OleColor color) = 0;
    // Circle centred at (x, y), radius measured along x, outline in the fore
    // colour, filled with the fill colour unless the fill style is transparent.
    virtual void circle(Single x, Single y, Single radius) = 0;
    // Fills with the back colour; the current point goes back to (scaleLeft, scaleTop).
    virtual void cls() = 0;

    // Text at the current point (its top-left corner); the current point moves
    // to the start of the next line.
    virtual void setCurrentX(Single x) = 0;
    virtual void setCurrentY(Single y) = 0;
    virtual Single currentX() const = 0;
    virtual Single currentY() const = 0;
    virtual void setFont(const QFont &f) = 0;
    virtual QFont font() const = 0;
    virtual void print(const QString &text) = 0;
    virtual Single textWidth(const QString &text) const = 0;  // in user units
    virtual Single textHeight(const QString &text) const = 0; // in user units

    // Draws a picture at its own size with its top-left corner at (x, y).
    virtual void paintPicture(const QImage &picture, Single x, Single y) = 0;

    // Size of the drawing area in pixels.
    virtual int widthPx() const = 0;
    virtual int heightPx() const = 0;
};

} // namespace platform
