#include "platform/printer.h"

#include "platform/fontfamily.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <limits>
#include <memory>
#include <optional>

namespace platform
{

// ---------------------------------------------------------------------------
// Text measurement

namespace
{

// Fonts are measured at one pixel per twip (a 10-point font is 200 pixels
// high), unhinted, so widths are the outlines' own advances and do not depend
// on the screen's resolution.
const QFontMetricsF &metricsFor(const QString &fontName, Single points)
{
    struct Cache {
        QString name;
        Single points = -1;
        std::optional<QFontMetricsF> metrics;
    };
    static Cache cache;
    if (!cache.metrics || cache.name != fontName || cache.points != points) {
        QFont f = resolvedFont(fontName, -1);
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 20.0))));
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(false);
        cache.name = fontName;
        cache.points = points;
        cache.metrics.emplace(f);
    }
    return *cache.metrics;
}

constexpr double twipsPerMillimetre = twipsPerInch / 25.4;

QSizeF a4Twips()
{
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return mm * twipsPerMillimetre;
}

} // namespace

Single printerTextWidth(const QString &fontName, Single points, const QString &text)
{
    if (text.isEmpty())
        return 0;
    return static_cast<Single>(metricsFor(fontName, points).horizontalAdvance(text));
}

Single printerLineHeight(const QString &fontName, Single points)
{
    return static_cast<Single>(metricsFor(fontName, points).height());
}

// ---------------------------------------------------------------------------
// The page model

void Printer::setPaperSize(int code)
{
    if (code != paperA4)
        throw VbError(vberr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    paperSize_ = code;
}

void Printer::setFontName(const QString &name)
{
    fontName_ = name;
    fontValid_ = false;
}

void Printer::setFontSize(Single points)
{
    if (!(points > 0) || points > 2048)
        throw VbError(vberr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    fontSize_ = points;
    fontValid_ = false;
}

const QFont &Printer::currentFont() const
{
    if (!fontValid_) {
        font_ = resolvedFont(fontName_, fontSize_);
        fontValid_ = true;
    }
    return font_;
}

Single Printer::scaleWidth() const
{
    return static_cast<Single>(pageSizeTwips().width());
}

Single Printer::scaleHeight() const
{
    return static_cast<Single>(pageSizeTwips().height());
}

Single Printer::textWidth(const QString &text) const
{
    return printerTextWidth(fontName_, fontSize_, text);
}

Single Printer::textHeight() const
{
    return printerLineHeight(fontName_, fontSize_);
}

void Printer::beginOutput()
{
    if (!started_) {
        try {
            beginDocument();
        } catch (...) {
            resetDocument();
            throw;
        }
        started_ = true;
        pagesBegun_ = 1;
    }
    while (pagesBegun_ < page_) {
        beginPage();
        ++pagesBegun_;
    }
}

void Printer::print(const QString &text)
{
    beginOutput();
    drawText(x_, y_, text, false);
    x_ += textWidth(text);
}

void Printer::printLine(const QString &text)
{
    beginOutput();
    drawText(x_, y_, text, true);
    x_ = 0;
    y_ += textHeight();
}

void Printer::paintPicture(const QImage &picture, Single x, Single y)
{
    beginOutput();
    drawPicture(picture, x, y);
}

void Printer::newPage()
{
    if (page_ == std::numeric_limits<Long>::max())
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    pageEnded();
    ++page_;
    x_ = 0;
    y_ = 0;
}

void Printer::endDoc()
{
    if (!started_) {
        resetDocument();
        return;
    }
    try {
        endDocument();
    } catch (...) {
        resetDocument();
        throw;
    }
    resetDocument();
}

void Printer::killDoc()
{
    if (started_)
        abortDocument();
    resetDocument();
}

void Printer::resetDocument()
{
    started_ = false;
    pagesBegun_ = 0;
    page_ = 1;
    x_ = 0;
    y_ = 0;
}

// ---------------------------------------------------------------------------
// Recording printer

namespace
{
Printer *installed = nullptr;
}

RecordingPrinter::RecordingPrinter() : previous_(installed)
{
    installed = this;
}

RecordingPrinter::~RecordingPrinter()
{
    if (installed == this)
        installed = previous_;
}

PrinterEvent RecordingPrinter::event(PrinterEvent::Kind kind) const
{
    PrinterEvent e;
    e.kind = kind;
    e.page = page();
    e.x = currentX();
    e.y = currentY();
    e.fontName = fontName();
    e.fontSize = fontSize();
    return e;
}

QList<PrinterEvent> RecordingPrinter::textsOnPage(Long p) const
{
    QList<PrinterEvent> out;
    for (const PrinterEvent &e : events)
        if (e.kind == PrinterEvent::Text && e.page == p && !e.text.isEmpty())
            out.append(e);
    return out;
}

QList<PrinterEvent> RecordingPrinter::pictures() const
{
    QList<PrinterEvent> out;
    for (const PrinterEvent &e : events)
        if (e.kind == PrinterEvent::Picture)
            out.append(e);
    return out;
}

QSizeF RecordingPrinter::pageSizeTwips() const
{
    return QSizeF(11906, 16838);
}

void RecordingPrinter::beginDocument()
{
    if (refuseToStart)
        throw VbError(vberr::PrinterError, QStringLiteral("The printer did not start the document."));
    pagesSoFar_ = 1;
}

void RecordingPrinter::beginPage()
{
    ++pagesSoFar_;
}

void RecordingPrinter::pageEnded()
{
    events.append(event(PrinterEvent::NewPage));
}

void RecordingPrinter::drawText(Single x, Single y, const QString &text, bool endsLine)
{
    PrinterEvent e = event(PrinterEvent::Text);
    e.x = x;
    e.y = y;
    e.text = text;
    e.endsLine = endsLine;
    events.append(e);
}

void RecordingPrinter::drawPicture(const QImage &picture, Single x, Single y)
{
    PrinterEvent e = event(PrinterEvent::Picture);
    e.x = x;
    e.y = y;
    e.picture = picture;
    events.append(e);
}

void RecordingPrinter::endDocument()
{
    events.append(event(PrinterEvent::EndDoc));
    ++documents;
    pagesPrinted = pagesSoFar_;
}

void RecordingPrinter::abortDocument()
{
    events.append(event(PrinterEvent::KillDoc));
}

// ---------------------------------------------------------------------------
// System printer

struct SystemPrinter::Job {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    QString pdfPath; // empty for a real printer
    double devicePerTwip = 1.0;
    QSizeF pageTwips;
    QFont font;        // the painter's font
    double ascent = 0; // of that font on the device

    double dev(Single twips) const { return static_cast<double>(twips) * devicePerTwip; }
};

namespace
{

bool noPrinter()
{
    return QPrinterInfo::defaultPrinter().isNull();
}

void setUpForPdf(QPrinter &p, const QString &path)
{
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(path);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Portrait);
    p.setFullPage(true);
    p.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString documentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QFileInfo(docs).isDir())
        return docs;
    return QDir::homePath();
}

// A file name that does not exist yet: "Curvexa 2026-12-07 061530.pdf",
// then " (2)", " (3)", ... when printed twice in a second.
QString freePdfPath(const QString &folder)
{
    const QString stem = QStringLiteral("Curvexa %1")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hhmmss")));
    QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(stem).arg(n));
    return path;
}

} // namespace

SystemPrinter::SystemPrinter() = default;

SystemPrinter::~SystemPrinter()
{
    if (job_) {
        if (job_->painter.isActive())
            job_->painter.end();
        if (!job_->pdfPath.isEmpty())
            QFile::remove(job_->pdfPath);
        delete job_;
    }
}

QSizeF SystemPrinter::pageSizeTwips() const
{
    if (job_)
        return job_->pageTwips;
    if (pdfOnly_ || noPrinter())
        return a4Twips();
    // The printable area of A4 on the default printer.
    if (pageSize_.isEmpty()) {
        QPrinter probe(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        probe.setPageSize(QPageSize(QPageSize::A4));
        probe.setPageOrientation(QPageLayout::Portrait);
        probe.setFullPage(false);
        pageSize_ = probe.pageLayout().paintRect(QPageLayout::Millimeter).size() * twipsPerMillimetre;
    }
    return pageSize_;
}

void SystemPrinter::beginDocument()
{
    auto job = std::make_unique<Job>();
    const bool toPdf = pdfOnly_ || noPrinter();
    if (toPdf) {
        const QString folder = pdfFolder_.isEmpty() ? documentsFolder() : pdfFolder_;
        job->pdfPath = freePdfPath(folder);
        setUpForPdf(job->printer, job->pdfPath);
    } else {
        job->printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
        job->printer.setPageSize(QPageSize(QPageSize::A4));
        job->printer.setPageOrientation(QPageLayout::Portrait);
        job->printer.setFullPage(false);
    }
    if (!job->painter.begin(&job->printer)) {
        if (!job->pdfPath.isEmpty()) {
            QFile::remove(job->pdfPath);
            throw VbError(vberr::PrinterError, QStringLiteral("The PDF file %1 could not be written.")
                                                   .arg(QDir::toNativeSeparators(job->pdfPath)));
        }
        throw VbError(vberr::PrinterError, QStringLiteral("The printer did not start the document."));
    }
    job->painter.setRenderHint(QPainter::Antialiasing, true);
    job->painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Pictures go into a PDF with lossless compression, never as JPEG.
    job->painter.setRenderHint(QPainter::LosslessImageRendering, true);
    job->devicePerTwip = job->printer.resolution() / twipsPerInch;
    job->pageTwips = job->printer.pageLayout().paintRect(QPageLayout::Millimeter).size() * twipsPerMillimetre;
    pageSize_ = QSizeF();
    job_ = job.release();
}

void SystemPrinter::beginPage()
{
    if (!job_->printer.newPage())
        throw VbError(vberr::PrinterError, QStringLiteral("The printer did not start a new page."));
}

void SystemPrinter::drawText(Single x, Single y, const QString &text, bool)
{
    if (text.isEmpty())
        return;
    QPainter &p = job_->painter;
    if (job_->ascent == 0 || job_->font != currentFont()) {
        job_->font = currentFont();
        p.setFont(job_->font);
        p.setPen(Qt::black);
        job_->ascent = QFontMetricsF(job_->font, p.device()).ascent();
    }
    p.drawText(QPointF(job_->dev(x), job_->dev(y) + job_->ascent), text);
}

void SystemPrinter::drawPicture(const QImage &picture, Single x, Single y)
{
    if (picture.isNull())
        return;
    const QRectF target(job_->dev(x), job_->dev(y),
                        job_->dev(static_cast<Single>(picture.width() * twipsPerPixel)),
                        job_->dev(static_cast<Single>(picture.height() * twipsPerPixel)));
    job_->painter.drawImage(target, picture);
}

void SystemPrinter::endDocument()
{
    std::unique_ptr<Job> job(job_);
    job_ = nullptr;
    const bool ok = job->painter.end();
    if (!ok) {
        if (!job->pdfPath.isEmpty())
            QFile::remove(job->pdfPath);
        throw VbError(vberr::PrinterError, QStringLiteral("The document could not be printed."));
    }
    lastPdf_ = job->pdfPath;
    if (!job->pdfPath.isEmpty())
        msgbox(QStringLiteral("No printer is set up, so the document was saved as a PDF file:\r%1")
                   .arg(QDir::toNativeSeparators(job->pdfPath)),
               vbInformation);
}

void SystemPrinter::abortDocument()
{
    std::unique_ptr<Job> job(job_);
    job_ = nullptr;
    job->printer.abort();
    if (job->painter.isActive())
        job->painter.end();
    if (!job->pdfPath.isEmpty())
        QFile::remove(job->pdfPath);
}

// ---------------------------------------------------------------------------

Printer &printer()
{
    if (installed)
        return *installed;
    static SystemPrinter system;
    return system;
}

void setPrinter(Printer *p)
{
    installed = p;
}

} // namespace platform
