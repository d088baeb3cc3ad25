#include "platform/picturebox.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <future>
#include <system_error>

namespace platform
{

namespace
{

QRgb toRgb(OleColor c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

// Points further than this many pixels outside the image are clipped before
// they are rounded, so that huge user values never overflow pixel integers.
constexpr double kMargin = 1000.0;
// Largest radius, in pixels, that is drawn from a pre-drawn stamp.
constexpr double kMaxStampRadius = 48.0;
// Largest radius ever drawn; beyond it the circle covers far more than any image.
constexpr double kMaxRadius = 1.0e6;
// Polylines of a wide pen with at least this many vertices are drawn on a
// worker thread; at most kMaxMasks of them wait at once.
constexpr int kMaskVertices = 256;
constexpr int kMaxMasks = 6;

// Clips the segment a-b to the rectangle [lo, hi] (Liang-Barsky). False when
// nothing of it is inside.
bool clipSegment(QPointF &a, QPointF &b, double loX, double loY, double hiX, double hiY)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - loX, hiX - a.x(), a.y() - loY, hiY - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
    }
    const QPointF a0 = a;
    if (t0 > 0.0)
        a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    if (t1 < 1.0)
        b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

QPoint roundPoint(QPointF p)
{
    return QPoint(int(std::lrint(p.x())), int(std::lrint(p.y())));
}

} // namespace

ImageSurface::ImageSurface() : ImageSurface(1, 1) {}

ImageSurface::ImageSurface(int widthPx, int heightPx)
    : image_(std::max(widthPx, 1), std::max(heightPx, 1), QImage::Format_RGB32), width_(image_.width()),
      height_(image_.height())
{
    image_.fill(toRgb(backColor_));
    syncTwipsScale();
    poly_.reserve(16);
}

ImageSurface::~ImageSurface() = default;

void ImageSurface::syncTwipsScale()
{
    scaleChanged();
    if (userScale_)
        return;
    scaleLeft_ = 0;
    scaleTop_ = 0;
    scaleWidth_ = static_cast<Single>(twipsFromPixels(image_.width()));
    scaleHeight_ = static_cast<Single>(twipsFromPixels(image_.height()));
}

void ImageSurface::resizeImage(int widthPx, int heightPx)
{
    widthPx = std::max(widthPx, 1);
    heightPx = std::max(heightPx, 1);
    if (widthPx == image_.width() && heightPx == image_.height())
        return;
    finish();
    QImage next(widthPx, heightPx, QImage::Format_RGB32);
    next.fill(toRgb(backColor_));
    {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
    width_ = image_.width();
    height_ = image_.height();
    syncTwipsScale();
    endStampRun();
    imageChanged();
}

const QImage &ImageSurface::image() const
{
    syncImageSize();
    finish();
    return image_;
}

double ImageSurface::pxFromX(double x) const
{
    syncImageSize();
    return (x - double(scaleLeft_)) * image_.width() / double(scaleWidth_);
}
double ImageSurface::pxFromY(double y) const
{
    syncImageSize();
    return (y - double(scaleTop_)) * image_.height() / double(scaleHeight_);
}
double ImageSurface::xFromPx(double px) const
{
    syncImageSize();
    return double(scaleLeft_) + px * double(scaleWidth_) / image_.width();
}
double ImageSurface::yFromPx(double py) const
{
    syncImageSize();
    return double(scaleTop_) + py * double(scaleHeight_) / image_.height();
}

void ImageSurface::setScaleLeft(Single v)
{
    scaleChanged();
    userScale_ = true;
    scaleLeft_ = v;
}
void ImageSurface::setScaleTop(Single v)
{
    scaleChanged();
    userScale_ = true;
    scaleTop_ = v;
}
void ImageSurface::setScaleWidth(Single v)
{
    scaleChanged();
    userScale_ = true;
    scaleWidth_ = v;
}
void ImageSurface::setScaleHeight(Single v)
{
    scaleChanged();
    userScale_ = true;
    scaleHeight_ = v;
}

void ImageSurface::setDrawMode(int mode)
{
    if (mode != drawMode_) {
        flush();
        // Dots drawn in the other mode change what is under later dots.
        endStampRun();
    }
    drawMode_ = mode;
}

void ImageSurface::setupPen(QPainter &p, const PenKey &key, int mode)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    if (mode == drawModeMergeNotPen)
        p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination);
    QPen pen{QColor(key.color)};
    pen.setWidth(key.width);
    if (key.width > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::BevelJoin);
    } else {
        pen.setCapStyle(Qt::FlatCap);
    }
    // Dash lengths in pixels, scaled by the width so wide lines keep a visible
    // pattern; Qt measures the pattern in pen widths.
    const double w = key.width;
    switch (key.style) {
    case drawStyleDash:
        pen.setDashPattern({std::max(18.0, 4 * w) / w, std::max(6.0, 2 * w) / w});
        break;
    case drawStyleDot:
        pen.setDashPattern({std::max(3.0, w) / w, std::max(3.0, 2 * w) / w});
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
}

void ImageSurface::drawPolylineNow(const QPoint *pts, int n, const PenKey &key, int mode) const
{
    if (n < 2 || key.style == 5) // style 5 draws nothing
        return;
    QPainter p(&image_);
    setupPen(p, key, mode);
    if (n == 2 && pts[0] == pts[1]) {
        p.drawPoint(pts[0]);
        return;
    }
    p.drawPolyline(pts, n);
}

// Consecutive vertices in one pixel column are joined by vertical pieces, so
// together they cover that column from their lowest to their highest pixel:
// the first, the lowest, the highest and the last of them cover the same.
// Dense data (many points per pixel column) thus draws as a few vertices per
// column. Of equal lowest (highest) vertices the first one counts; the lowest
// and the highest are kept in the order they came, and a vertex equal to the
// one kept before it is not repeated.
void ImageSurface::ColumnThinner::add(QPoint p)
{
    if (open_ && p.x() == first_.x()) {
        ++index_;
        if (p.y() < lo_.y()) {
            lo_ = p;
            loIndex_ = index_;
        }
        if (p.y() > hi_.y()) {
            hi_ = p;
            hiIndex_ = index_;
        }
        last_ = p;
        return;
    }
    if (open_)
        closeColumn();
    open_ = true;
    first_ = lo_ = hi_ = last_ = p;
    index_ = loIndex_ = hiIndex_ = 0;
}

void ImageSurface::ColumnThinner::closeColumn()
{
    keep(first_);
    keep(loIndex_ <= hiIndex_ ? lo_ : hi_);
    keep(loIndex_ <= hiIndex_ ? hi_ : lo_);
    keep(last_);
}

const std::vector<QPoint> &ImageSurface::ColumnThinner::finish()
{
    if (open_)
        closeColumn();
    open_ = false;
    return out_;
}

void ImageSurface::flush() const
{
    if (!polyPending_)
        return;
    polyPending_ = false;
    // A short polyline, and any in the pen-with-pixel mode (drawn one line
    // at a time), is drawn as given; a long one thinned.
    const std::vector<QPoint> &v =
        polyCount_ <= int(poly_.size()) || drawMode_ != drawModeCopyPen ? poly_ : thinner_.finish();
    if (drawMode_ == drawModeCopyPen && polyKey_.width > 1 && polyKey_.style != 5 &&
        int(v.size()) >= kMaskVertices) {
        // Drawn on a worker thread: copy-pen pixels of one colour depend only
        // on which pixels the polyline covers, wherever that is worked out.
        PendingDraw d;
        d.kind = PendingDraw::Mask;
        d.key = polyKey_;
        int x0 = v.front().x(), x1 = x0, y0 = v.front().y(), y1 = y0;
        for (const QPoint &q : v) {
            x0 = std::min(x0, q.x());
            x1 = std::max(x1, q.x());
            y0 = std::min(y0, q.y());
            y1 = std::max(y1, q.y());
        }
        const int reach = polyKey_.width + 2;
        d.bounds = QRect(QPoint(x0 - reach, y0 - reach), QPoint(x1 + reach, y1 + reach)) & image_.rect();
        // Masks are kept for reuse, transparent again after use (see execute);
        // a new one is made by the worker.
        QImage mask;
        if (!spareMasks_.empty() && spareMasks_.back().size() == image_.size()) {
            mask = std::move(spareMasks_.back());
            spareMasks_.pop_back();
        }
        try {
            d.mask = std::async(std::launch::async, [pts = v, key = polyKey_, mask = std::move(mask),
                                                     size = image_.size()]() mutable {
                if (mask.isNull()) {
                    mask = QImage(size, QImage::Format_ARGB32_Premultiplied);
                    mask.fill(0);
                }
                {
                    QPainter p(&mask);
                    setupPen(p, key, drawModeCopyPen);
                    p.drawPolyline(pts.data(), int(pts.size()));
                }
                return std::move(mask);
            });
        } catch (const std::system_error &) {
            d.kind = PendingDraw::Polyline; // no thread to be had: drawn in turn here
            d.points = v;
        }
        enqueue(std::move(d));
    } else if (!pending_.empty()) {
        PendingDraw d;
        d.kind = PendingDraw::Polyline;
        d.mode = drawMode_;
        d.key = polyKey_;
        d.points = v;
        enqueue(std::move(d));
    } else {
        drawPolylineNow(v.data(), int(v.size()), polyKey_, drawMode_);
        endStampRun();
    }
    poly_.clear();
    thinner_.clear();
    polyCount_ = 0;
    const_cast<ImageSurface *>(this)->imageChanged();
}

void ImageSurface::enqueue(PendingDraw &&d) const
{
    if (d.kind == PendingDraw::Mask) {
        if (pendingMasks_ >= kMaxMasks)
            drain();
        ++pendingMasks_;
    }
    pending_.push_back(std::move(d));
}

void ImageSurface::finish() const
{
    flush();
    drain();
}

void ImageSurface::drain() const
{
    while (!pending_.empty()) {
        execute(pending_.front());
        pending_.pop_front();
    }
    pendingMasks_ = 0;
    // Masks are kept for the next drawing, as many as may wait at once.
    if (spareMasks_.size() > std::size_t(kMaxMasks))
        spareMasks_.resize(std::size_t(kMaxMasks));
}

void ImageSurface::execute(PendingDraw &d) const
{
    switch (d.kind) {
    case PendingDraw::Dots:
        for (const QPoint &c : d.points)
            stampAt(d.stamp, c.x(), c.y(), d.mode);
        break;
    case PendingDraw::Polyline:
        drawPolylineNow(d.points.data(), int(d.points.size()), d.key, d.mode);
        endStampRun();
        break;
    case PendingDraw::Mask: {
        QImage mask = d.mask.get();
        const QRgb color = d.key.color;
        const int x0 = d.bounds.left(), x1 = d.bounds.right() + 1;
        for (int y = d.bounds.top(); y <= d.bounds.bottom(); ++y) {
            QRgb *m = reinterpret_cast<QRgb *>(mask.scanLine(y));
            QRgb *row = reinterpret_cast<QRgb *>(image_.scanLine(y));
            for (int x = x0; x < x1; ++x)
                if (m[x])
                    row[x] = color;
            std::fill(m + x0, m + x1, 0u);
        }
        spareMasks_.push_back(std::move(mask));
        endStampRun();
        break;
    }
    }
}

void ImageSurface::segmentToPolyline(QPointF a, QPointF b, const PenKey &key)
{
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    const double loX = -kMargin, loY = -kMargin;
    const double hiX = width_ + kMargin, hiY = height_ + kMargin;
    auto inside = [&](QPointF p) { return p.x() >= loX && p.x() <= hiX && p.y() >= loY && p.y() <= hiY; };
    if (!inside(a) || !inside(b)) {
        if (!clipSegment(a, b, loX, loY, hiX, hiY))
            return;
    }
    const QPoint pa = roundPoint(a), pb = roundPoint(b);
    if (polyPending_ && key == polyKey_ && polyLast_ == pa) {
        if (pb != pa)
            appendVertex(pb);
        return;
    }
    flush();
    polyKey_ = key;
    polyPending_ = true;
    appendVertex(pa);
    appendVertex(pb);
}

void ImageSurface::appendVertex(QPoint p)
{
    // Up to kShortPolyline vertices are kept as given.
    if (polyCount_ < kShortPolyline)
        poly_.push_back(p);
    ++polyCount_;
    thinner_.add(p);
    polyLast_ = p;
}

void ImageSurface::line(Single x1, Single y1, Single x2, Single y2, OleColor color)
{
    syncImageSize();
    const PenKey key{toRgb(color), drawWidth_, drawStyle_};
    // A line that starts where the last one ended (as the lines of a curve
    // do) takes that end's position instead of mapping it again.
    const QPointF a = mapped(x1, y1);
    const QPointF b = mapped(x2, y2);
    segmentToPolyline(a, b, key);
    if (drawMode_ != drawModeCopyPen)
        flush(); // pen-with-pixel modes depend on order: draw at once
    currentX_ = x2;
    currentY_ = y2;
}

void ImageSurface::rectangle(Single x1, Single y1, Single x2, Single y2, OleColor color)
{
    syncImageSize();
    finish();
    const PenKey key{toRgb(color), drawWidth_, drawStyle_};
    QPointF a(mapX(x1), mapY(y1)), b(mapX(x2), mapY(y2));
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    auto clampv = [](double v, double hi) { return std::clamp(v, -kMargin, hi + kMargin); };
    const QPoint pa = roundPoint(QPointF(clampv(a.x(), image_.width()), clampv(a.y(), image_.height())));
    const QPoint pb = roundPoint(QPointF(clampv(b.x(), image_.width()), clampv(b.y(), image_.height())));
    if (key.style != 5) {
        QPainter p(&image_);
        setupPen(p, key, drawMode_);
        p.drawRect(QRect(pa, pb).normalized().adjusted(0, 0, -1, -1));
    }
    currentX_ = x2;
    currentY_ = y2;
    endStampRun();
    imageChanged();
}

void ImageSurface::buildStamp(const StampKey &key)
{
    auto stamp = std::make_shared<Stamp>();
    stamp->key = key;
    const int half = int(std::ceil(key.radius + key.width)) + 1;
    const int size = 2 * half + 1;
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        PenKey pk{key.fore, key.width, key.style};
        // The stamp is drawn with the copy pen; the draw mode is applied when stamping.
        setupPen(p, pk, drawModeCopyPen);
        if (key.fillStyle == fillStyleSolid)
            p.setBrush(QColor(key.fill));
        if (key.style == 5)
            p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(half, half), key.radius, key.radius);
    }
    std::vector<StampRun> &runs = stamp->runs;
    for (int y = 0; y < size; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < size;) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const QRgb c = row[x] | 0xFF000000u;
            int end = x + 1;
            while (end < size && qAlpha(row[end]) != 0 && (row[end] | 0xFF000000u) == c)
                ++end;
            runs.push_back({x - half, y - half, end - x, c});
            x = end;
        }
    }
    // A dot of one colour next to the dot before it in the same run only
    // needs the pixels that one did not cover: for each step (sx, sy) to the
    // next centre, the runs of the stamp whose pixels lie outside the stamp
    // moved back by (sx, sy).
    stamp->oneColour =
        std::all_of(runs.begin(), runs.end(), [&](const StampRun &r) { return r.color == runs.front().color; });
    if (stamp->oneColour) {
        auto covered = [&](int dx, int dy) {
            const int x = dx + half, y = dy + half;
            return x >= 0 && y >= 0 && x < size && y < size && qAlpha(img.pixel(x, y)) != 0;
        };
        for (int sy = -kStampStep; sy <= kStampStep; ++sy) {
            for (int sx = -kStampStep; sx <= kStampStep; ++sx) {
                stamp->diffStart[std::size_t((sy + kStampStep) * (2 * kStampStep + 1) + sx + kStampStep)] =
                    int(stamp->diff.size());
                for (const StampRun &run : runs) {
                    for (int dx = run.dx; dx < run.dx + run.length;) {
                        if (covered(dx + sx, run.dy + sy)) {
                            ++dx;
                            continue;
                        }
                        int end = dx + 1;
                        while (end < run.dx + run.length && !covered(end + sx, run.dy + sy))
                            ++end;
                        stamp->diff.push_back({dx, run.dy, end - dx, run.color});
                        dx = end;
                    }
                }
            }
        }
        stamp->diffStart.back() = int(stamp->diff.size());
    }
    for (const StampRun &run : runs) {
        stamp->top = std::min(stamp->top, run.dy);
        stamp->bottom = std::max(stamp->bottom, run.dy + 1);
        stamp->left = std::min(stamp->left, run.dx);
        stamp->right = std::max(stamp->right, run.dx + run.length);
    }
    stamp_ = std::move(stamp);
}

void ImageSurface::stampCircle(double cx, double cy, double rpx)
{
    if (!stampKeyValid_ || rpx != stampRadius_) {
        const StampKey key{std::round(rpx * 8.0) / 8.0,
                           toRgb(foreColor_),
                           toRgb(fillColor_),
                           fillStyle_,
                           drawWidth_,
                           drawStyle_};
        if (!stamp_ || !(key == stamp_->key))
            buildStamp(key);
        stampKeyValid_ = true;
        stampRadius_ = rpx;
    }
    const int icx = int(std::lrint(cx)), icy = int(std::lrint(cy));
    if (pending_.empty()) {
        stampAt(stamp_, icx, icy, drawMode_);
        return;
    }
    if (pending_.back().kind != PendingDraw::Dots || pending_.back().stamp != stamp_ ||
        pending_.back().mode != drawMode_) {
        PendingDraw d;
        d.kind = PendingDraw::Dots;
        d.mode = drawMode_;
        d.stamp = stamp_;
        enqueue(std::move(d));
    }
    pending_.back().points.emplace_back(icx, icy);
}

void ImageSurface::stampAt(const std::shared_ptr<const Stamp> &stamp, int icx, int icy, int mode) const
{
    if (stamp != runStamp_ || mode != runMode_) {
        endStampRun();
        runStamp_ = stamp;
        runMode_ = mode;
    }
    const bool mergeNot = mode == drawModeMergeNotPen;
    const int w = width_, h = height_;
    // With the copy pen, a dot stamped again where the same dot already is,
    // with nothing else drawn since, changes nothing: centres stamped in the
    // current run are marked with the run's number.
    if (!mergeNot && icx >= 0 && icy >= 0 && icx < w && icy < h) {
        if (!lastStampValid_) {
            if (stampMarks_.size() != std::size_t(w) * std::size_t(h) || ++stampRun_ == 0) {
                stampMarks_.assign(std::size_t(w) * std::size_t(h), 0);
                stampRun_ = 1;
            }
            lastStampValid_ = true;
        }
        std::uint8_t &mark = stampMarks_[std::size_t(icy) * std::size_t(w) + std::size_t(icx)];
        if (mark == stampRun_)
            return;
        mark = stampRun_;
    }
    const StampRun *first = stamp->runs.data(), *last = first + stamp->runs.size();
    if (!mergeNot && stamp->oneColour) {
        const int sx = icx - prevStampX_, sy = icy - prevStampY_;
        if (prevStampValid_ && std::abs(sx) <= kStampStep && std::abs(sy) <= kStampStep) {
            const std::size_t k = std::size_t((sy + kStampStep) * (2 * kStampStep + 1) + sx + kStampStep);
            first = stamp->diff.data() + stamp->diffStart[k];
            last = stamp->diff.data() + stamp->diffStart[k + 1];
        }
        prevStampValid_ = true;
        prevStampX_ = icx;
        prevStampY_ = icy;
    }
    uchar *bits = image_.bits();
    const qsizetype bpl = image_.bytesPerLine();
    if (!mergeNot && icy + stamp->top >= 0 && icy + stamp->bottom <= h && icx + stamp->left >= 0 &&
        icx + stamp->right <= w) {
        // Wholly inside the picture.
        uchar *centre = bits + icy * bpl + qsizetype(icx) * 4;
        for (const StampRun *run = first; run != last; ++run) {
            QRgb *d = reinterpret_cast<QRgb *>(centre + run->dy * bpl) + run->dx;
            std::fill(d, d + run->length, run->color);
        }
        return;
    }
    for (const StampRun *r = first; r != last; ++r) {
        const StampRun &run = *r;
        const int y = icy + run.dy;
        if (y < 0 || y >= h)
            continue;
        const int x0 = std::max(icx + run.dx, 0), x1 = std::min(icx + run.dx + run.length, w);
        if (x0 >= x1)
            continue;
        QRgb *d = reinterpret_cast<QRgb *>(bits + y * bpl);
        if (mergeNot) {
            for (int x = x0; x < x1; ++x)
                d[x] = (run.color | ~d[x]) | 0xFF000000u;
        } else {
            std::fill(d + x0, d + x1, run.color);
        }
    }
}

void ImageSurface::circle(Single x, Single y, Single radius)
{
    syncImageSize();
    // A dot at the end of the last line (as a curve's dots are) takes that
    // end's position; the radius of the last dot is kept too.
    const QPointF c = mapped(x, y);
    const double cx = c.x(), cy = c.y();
    if (!(radiusValid_ && radius == lastRadius_)) {
        lastRadius_ = radius;
        lastRpx_ = std::fabs(double(radius) * width_ / double(scaleWidth_));
        radiusValid_ = true;
    }
    const double rpx = lastRpx_;
    currentX_ = x;
    currentY_ = y;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rpx))
        return;
    const double reach = std::min(rpx, kMaxRadius) + drawWidth_;
    if (cx + reach < 0 || cy + reach < 0 || cx - reach > width_ || cy - reach > height_)
        return;
    if (rpx <= kMaxStampRadius) {
        // Same-colour copy-pen drawing does not depend on order, so a pending
        // polyline of this very colour may stay pending.
        if (polyPending_) {
            const QRgb fore = toRgb(foreColor_);
            const bool sameColour = drawMode_ == drawModeCopyPen && polyKey_.color == fore &&
                                    (fillStyle_ != fillStyleSolid || toRgb(fillColor_) == fore);
            if (!sameColour)
                flush();
        }
        stampCircle(cx, cy, rpx);
        if (!polyPending_)
            imageChanged();
        return;
    }
    finish();
    const double r = std::min(rpx, kMaxRadius);
    QPainter p(&image_);
    setupPen(p, PenKey{toRgb(foreColor_), drawWidth_, drawStyle_}, drawMode_);
    if (fillStyle_ == fillStyleSolid)
        p.setBrush(QColor(toRgb(fillColor_)));
    if (drawStyle_ == 5)
        p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(std::round(cx), std::round(cy)), r, r);
    p.end();
    endStampRun();
    imageChanged();
}

void ImageSurface::cls()
{
    syncImageSize();
    // Everything not drawn yet would be covered: it is dropped.
    poly_.clear();
    thinner_.clear();
    polyCount_ = 0;
    polyPending_ = false;
    pending_.clear();
    pendingMasks_ = 0;
    image_.fill(toRgb(backColor_));
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
    endStampRun();
    imageChanged();
}

void ImageSurface::print(const QString &text)
{
    syncImageSize();
    finish();
    const QFontMetrics fm(font_);
    const double px = mapX(currentX_), py = mapY(currentY_);
    if (std::isfinite(px) && std::isfinite(py) && std::fabs(px) < 1e6 && std::fabs(py) < 1e6) {
        QPainter p(&image_);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        if (drawMode_ == drawModeMergeNotPen)
            p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination);
        p.setFont(font_);
        p.setPen(QColor(toRgb(foreColor_)));
        p.drawText(QPointF(std::round(px), std::round(py) + fm.ascent()), text);
    }
    currentX_ = scaleLeft_;
    currentY_ = static_cast<Single>(double(currentY_) + double(textHeight(text)));
    endStampRun();
    imageChanged();
}

Single ImageSurface::textWidth(const QString &text) const
{
    syncImageSize();
    const QFontMetrics fm(font_);
    return static_cast<Single>(fm.horizontalAdvance(text) * double(scaleWidth_) / image_.width());
}

Single ImageSurface::textHeight(const QString &text) const
{
    syncImageSize();
    const QFontMetrics fm(font_);
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;
    return static_cast<Single>(fm.height() * lines * double(scaleHeight_) / image_.height());
}

void ImageSurface::paintPicture(const QImage &picture, Single x, Single y)
{
    syncImageSize();
    finish();
    const double px = mapX(x), py = mapY(y);
    if (std::isfinite(px) && std::isfinite(py) && std::fabs(px) < 1e6 && std::fabs(py) < 1e6) {
        QPainter p(&image_);
        if (drawMode_ == drawModeMergeNotPen)
            p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination);
        p.drawImage(QPointF(std::round(px), std::round(py)), picture);
    }
    endStampRun();
    imageChanged();
}

// ---------------------------------------------------------------------------

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    syncImageSize();
}

void PictureBox::setBorderStyle(int style)
{
    borderStyle_ = style == 1 ? 1 : 0;
    syncImageSize();
    update();
}

QRect PictureBox::innerRect() const
{
    const int b = borderStyle_;
    return QRect(b, b, std::max(width() - 2 * b, 1), std::max(height() - 2 * b, 1));
}

void PictureBox::setFont(const QFont &f)
{
    ImageSurface::setFont(f);
    QWidget::setFont(f);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    updateRequested_ = false;
    QPainter p(this);
    const QRect r = innerRect();
    p.drawImage(r.topLeft(), image());
    if (borderStyle_ == 1) {
        p.setPen(QColor(Qt::black));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    Q_UNUSED(event);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    syncImageSize();
    QWidget::resizeEvent(event);
}

void PictureBox::syncImageSize() const
{
    // Called by every drawing call: the size of innerRect() without building it.
    const int b = borderStyle_;
    const int w = std::max(width() - 2 * b, 1), h = std::max(height() - 2 * b, 1);
    if (w != imageWidth() || h != imageHeight())
        const_cast<PictureBox *>(this)->resizeImage(w, h);
}

} // namespace platform
