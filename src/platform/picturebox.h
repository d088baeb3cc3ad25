#pragma once
// Picture boxes: a drawing surface over a persistent image (ImageSurface), and
// the on-screen widget that shows one (PictureBox). Drawings survive being
// covered because they go into the image; the widget only copies the image to
// the screen.
//
// Drawing is aliased. Draw mode 13 copies the pen; draw mode 14 makes every
// touched pixel "pen OR NOT pixel". Points are mapped to pixels here (no
// painter transform), so text is never drawn upside down under a y-up scale.
//
// Speed: consecutive lines in the same pen that continue each other are
// gathered into one polyline and drawn when something else happens; dots of
// the same size and colours are stamped from a pre-drawn copy. Drawing in one
// colour with the copy pen is order-independent, so dots stamped while a
// polyline of that same colour is pending give the same pixels. A pending
// polyline is thinned as it grows (see ColumnThinner), and a line that
// starts where the previous one ended reuses that end's pixel position.
//
// A long polyline of a wide pen (the costly one to draw) is drawn on a worker
// thread into a coverage mask of the image's size; until that is done, later
// drawing is queued, and everything is applied to the image in the order it
// was asked for, when the image is read or drawn on in another way.

#include "platform/drawsurface.h"

#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <vector>

namespace platform
{

class ImageSurface : public DrawSurface
{
public:
    // Starts with a 1 x 1 image, white, black pen, the twips scale.
    ImageSurface();
    explicit ImageSurface(int widthPx, int heightPx);
    ~ImageSurface() override;

    // Resizes the image; the drawing stays at the top left, new area in the
    // back colour. Without a user scale the twips scale follows the size.
    void resizeImage(int widthPx, int heightPx);
    // The image with every pending drawing done.
    const QImage &image() const;

    // True once any scale value was set (user-defined scale mode).
    bool hasUserScale() const { return userScale_; }

    // Mapping between user units and image pixels (floating point).
    double pxFromX(double x) const;
    double pxFromY(double y) const;
    double xFromPx(double px) const;
    double yFromPx(double py) const;

    void setScaleLeft(Single v) override;
    void setScaleTop(Single v) override;
    void setScaleWidth(Single v) override;
    void setScaleHeight(Single v) override;
    Single scaleLeft() const override
    {
        syncImageSize();
        return scaleLeft_;
    }
    Single scaleTop() const override
    {
        syncImageSize();
        return scaleTop_;
    }
    Single scaleWidth() const override
    {
        syncImageSize();
        return scaleWidth_;
    }
    Single scaleHeight() const override
    {
        syncImageSize();
        return scaleHeight_;
    }

    void setDrawMode(int mode) override;
    int drawMode() const override { return drawMode_; }
    void setDrawStyle(int style) override
    {
        drawStyle_ = style;
        stampKeyValid_ = false;
    }
    int drawStyle() const override { return drawStyle_; }
    void setDrawWidth(int width) override
    {
        drawWidth_ = width < 1 ? 1 : width;
        stampKeyValid_ = false;
    }
    int drawWidth() const override { return drawWidth_; }
    void setForeColor(OleColor c) override
    {
        foreColor_ = c;
        stampKeyValid_ = false;
    }
    OleColor foreColor() const override { return foreColor_; }
    void setFillColor(OleColor c) override
    {
        fillColor_ = c;
        stampKeyValid_ = false;
    }
    OleColor fillColor() const override { return fillColor_; }
    void setFillStyle(int style) override
    {
        fillStyle_ = style;
        stampKeyValid_ = false;
    }
    int fillStyle() const override { return fillStyle_; }
    void setBackColor(OleColor c) override { backColor_ = c; }
    OleColor backColor() const override { return backColor_; }

    using DrawSurface::line;
    void line(Single x1, Single y1, Single x2, Single y2, OleColor color) override;
    void rectangle(Single x1, Single y1, Single x2, Single y2, OleColor color) override;
    void circle(Single x, Single y, Single radius) override;
    void cls() override;

    void setCurrentX(Single x) override { currentX_ = x; }
    void setCurrentY(Single y) override { currentY_ = y; }
    Single currentX() const override { return currentX_; }
    Single currentY() const override { return currentY_; }
    void setFont(const QFont &f) override { font_ = f; }
    QFont font() const override { return font_; }
    void print(const QString &text) override;
    // Text sizes in user units; with a negative scale height the height is
    // negative too, so that adding it to CurrentY moves down the picture.
    Single textWidth(const QString &text) const override;
    Single textHeight(const QString &text) const override;

    void paintPicture(const QImage &picture, Single x, Single y) override;

    int widthPx() const override
    {
        syncImageSize();
        return image_.width();
    }
    int heightPx() const override
    {
        syncImageSize();
        return image_.height();
    }

protected:
    // Called after the image changed (the widget repaints).
    virtual void imageChanged() {}
    // Called before the image or its size is used: a widget whose size
    // changed while it was hidden (no resize event yet) resizes its image here.
    virtual void syncImageSize() const {}
    int imageWidth() const { return width_; }
    int imageHeight() const { return height_; }

private:
    struct PenKey {
        QRgb color = 0;
        int width = 1;
        int style = 0;
        bool operator==(const PenKey &) const = default;
    };
    struct StampKey {
        double radius = -1;
        QRgb fore = 0;
        QRgb fill = 0;
        int fillStyle = 0;
        int width = 0;
        int style = 0;
        bool operator==(const StampKey &) const = default;
    };
    // A run of pixels of one colour in one row of the dot, relative to its centre.
    struct StampRun {
        int dx;
        int dy;
        int length;
        QRgb color;
    };
    static constexpr int kStampStep = 2;
    // A pre-drawn dot.
    struct Stamp {
        StampKey key;
        std::vector<StampRun> runs;
        // Whether every run has one colour; then diff holds, for each step
        // (sx, sy) between neighbouring centres, the runs the step uncovers
        // (those of step k from diffStart[k] to diffStart[k + 1]).
        bool oneColour = false;
        std::vector<StampRun> diff;
        std::array<int, (2 * kStampStep + 1) * (2 * kStampStep + 1) + 1> diffStart{};
        // Its reach from the centre: rows top..bottom, columns left..right
        // (exclusive ends).
        int top = 0, bottom = 1, left = 0, right = 1;
    };
    // Drawing waiting for a polyline that is drawn on a worker thread.
    struct PendingDraw {
        enum Kind { Dots, Polyline, Mask } kind = Dots;
        int mode = drawModeCopyPen;
        PenKey key;
        std::shared_ptr<const Stamp> stamp; // Dots
        std::vector<QPoint> points;         // dot centres, or the polyline's vertices
        std::future<QImage> mask;           // Mask: the polyline's pixels, the rest transparent
        QRect bounds;                       // Mask: the rectangle it may cover
    };

    // Thins a polyline as its vertices arrive (see ColumnThinner::add).
    class ColumnThinner
    {
    public:
        void clear()
        {
            out_.clear();
            open_ = false;
        }
        void add(QPoint p);
        // The thinned vertices, the last column included.
        const std::vector<QPoint> &finish();

    private:
        void keep(QPoint p)
        {
            if (out_.empty() || out_.back() != p)
                out_.push_back(p);
        }
        void closeColumn();
        std::vector<QPoint> out_;
        bool open_ = false;
        QPoint first_, lo_, hi_, last_;
        int index_ = 0, loIndex_ = 0, hiIndex_ = 0;
    };

    void flush() const;
    // flush, then apply everything queued.
    void finish() const;
    void drain() const;
    void execute(PendingDraw &d) const;
    void enqueue(PendingDraw &&d) const;
    void stampAt(const std::shared_ptr<const Stamp> &stamp, int icx, int icy, int mode) const;
    // Mapping without the size check (the drawing calls make it once).
    double mapX(double x) const { return (x - double(scaleLeft_)) * width_ / double(scaleWidth_); }
    double mapY(double y) const { return (y - double(scaleTop_)) * height_ / double(scaleHeight_); }
    void drawPolylineNow(const QPoint *pts, int n, const PenKey &key, int mode) const;
    void segmentToPolyline(QPointF a, QPointF b, const PenKey &key);
    void appendVertex(QPoint p);
    static constexpr int kShortPolyline = 8;
    static void setupPen(class QPainter &p, const PenKey &key, int mode);
    void stampCircle(double cx, double cy, double rpx);
    void buildStamp(const StampKey &key);
    void syncTwipsScale();
    void scaleChanged() { mappedValid_ = radiusValid_ = false; }
    // (x, y) in pixels; the last point mapped is not mapped again.
    QPointF mapped(Single x, Single y)
    {
        if (!(mappedValid_ && x == mappedX_ && y == mappedY_)) {
            mappedX_ = x;
            mappedY_ = y;
            mapped_ = QPointF(mapX(x), mapY(y));
            mappedValid_ = true;
        }
        return mapped_;
    }
    // Something other than a dot of the current stamp was drawn.
    void endStampRun() const
    {
        lastStampValid_ = false;
        prevStampValid_ = false;
    }

    // The image and the pending polyline are "logically const" caches: the
    // pending drawing is finished when the image is read.
    mutable QImage image_;
    int width_ = 1;
    int height_ = 1;
    // The pending polyline: its first vertices as given (a short one is drawn
    // as it is), the number of vertices and the thinned whole.
    mutable std::vector<QPoint> poly_;
    mutable int polyCount_ = 0;
    mutable QPoint polyLast_;
    mutable ColumnThinner thinner_;
    mutable bool polyPending_ = false;
    PenKey polyKey_;
    // The last point mapped, in user units and in pixels, and the last dot
    // radius in pixels, while the scale and the size stay the same.
    bool mappedValid_ = false;
    Single mappedX_ = 0;
    Single mappedY_ = 0;
    QPointF mapped_;
    bool radiusValid_ = false;
    Single lastRadius_ = 0;
    double lastRpx_ = 0;

    // The current dot; its key is valid while the pen and the radius stay.
    std::shared_ptr<const Stamp> stamp_;
    bool stampKeyValid_ = false;
    double stampRadius_ = -1;
    // A run of dots: dots of one stamp and draw mode stamped with nothing
    // else drawn in between. Centres stamped in the run are marked with the
    // run's number (see stampAt).
    mutable std::shared_ptr<const Stamp> runStamp_;
    mutable int runMode_ = drawModeCopyPen;
    mutable std::vector<std::uint8_t> stampMarks_;
    mutable std::uint8_t stampRun_ = 0;
    mutable bool lastStampValid_ = false;
    // The centre of the last dot of the current run.
    mutable bool prevStampValid_ = false;
    mutable int prevStampX_ = 0;
    mutable int prevStampY_ = 0;

    // Drawing queued behind a polyline drawn on a worker thread, in order.
    mutable std::deque<PendingDraw> pending_;
    mutable int pendingMasks_ = 0;
    mutable std::vector<QImage> spareMasks_;

    bool userScale_ = false;
    Single scaleLeft_ = 0;
    Single scaleTop_ = 0;
    Single scaleWidth_ = 15;
    Single scaleHeight_ = 15;

    int drawMode_ = drawModeCopyPen;
    int drawStyle_ = drawStyleSolid;
    int drawWidth_ = 1;
    OleColor foreColor_ = 0;
    OleColor fillColor_ = 0;
    int fillStyle_ = fillStyleTransparent;
    OleColor backColor_ = 0xFFFFFF;
    Single currentX_ = 0;
    Single currentY_ = 0;
    QFont font_;
};

// The on-screen picture box: a widget showing an ImageSurface, with an
// optional one-pixel border (border style 1) around the drawing area.
class PictureBox : public QWidget, public ImageSurface
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setBorderStyle(int style);
    int borderStyle() const { return borderStyle_; }
    // The drawing area inside the border, in widget pixels.
    QRect innerRect() const;

    // Both the drawing font and the widget's font.
    void setFont(const QFont &f) override;
    QFont font() const override { return ImageSurface::font(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // One repaint request until the next paint, however often the image changes.
    void imageChanged() override
    {
        if (!updateRequested_) {
            updateRequested_ = true;
            update();
        }
    }
    void syncImageSize() const override;

private:
    int borderStyle_ = 0;
    bool updateRequested_ = false;
};

} // namespace platform
