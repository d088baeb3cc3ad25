#pragma once
// The page printer: one document at a time on A4 paper, every length in twips
// (1/1440 inch) from the page's top-left corner, a current position where the
// next text or picture goes, a font by name and size, page numbers, new page
// and end of document.
//
// The page model lives in this base class; a backend only draws. The program
// prints through printer(): the system's default printer, or, where none is
// set up, a PDF file in the user's documents folder. Tests install a
// RecordingPrinter with setPrinter().
//
// A document begins with its first output (text, a line end or a picture) and
// ends with endDoc(). A new page that nothing is printed on before the end of
// the document is not printed. A printer that cannot start the document throws
// VbError(vberr::PrinterError); killDoc() abandons a document begun.

#include "platform/vbtypes.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

namespace platform
{

constexpr int paperA4 = 9;

class Printer
{
public:
    virtual ~Printer() = default;

    // Paper: only A4 (code 9) is known; another code throws
    // VbError(InvalidPropertyValue). Takes effect at the document's start.
    void setPaperSize(int code);
    int paperSize() const { return paperSize_; }

    void setFontName(const QString &name);
    QString fontName() const { return fontName_; }
    void setFontSize(Single points);
    Single fontSize() const { return fontSize_; }
    // The font that is drawn with: the resolved family at the current size.
    const QFont &currentFont() const;

    void setCurrentX(Single x) { x_ = x; }
    void setCurrentY(Single y) { y_ = y; }
    Single currentX() const { return x_; }
    Single currentY() const { return y_; }

    // Page width and height in twips (the area the position refers to).
    Single scaleWidth() const;
    Single scaleHeight() const;

    // Width of a text in the current font, in twips (0 for an empty text).
    Single textWidth(const QString &text) const;
    // One line height of the current font, in twips.
    Single textHeight() const;

    // Draws the text at the current position; x grows by its width.
    void print(const QString &text);
    // Draws the text (if any) at the current position, then x = 0 and y
    // grows by one line height.
    void printLine(const QString &text = QString());
    // Draws the picture at its own size (15 twips a pixel) with its top-left
    // corner at (x, y). The current position does not change.
    void paintPicture(const QImage &picture, Single x, Single y);

    // Number of the current page: 1 on the first page of a document.
    Long page() const { return page_; }
    // Finishes the page; output goes on on a fresh page at x = y = 0.
    void newPage();
    // Finishes and prints the document; a last page without output is not
    // printed. The next document starts at page 1.
    void endDoc();
    // Abandons the document begun (nothing more is printed of it).
    void killDoc();

    // True between the first output of a document and its end.
    bool documentOpen() const { return started_; }

protected:
    // Page size in twips of the backend's paper (A4), as seen by callers.
    virtual QSizeF pageSizeTwips() const = 0;
    // Starts a document; throws VbError(PrinterError) when the printer
    // refuses. The first page is begun by it.
    virtual void beginDocument() = 0;
    // Begins the next page of the document.
    virtual void beginPage() = 0;
    // Draws a text with its top-left corner at (x, y) in the current font;
    // endsLine tells that the line is ended after it (the text may be empty).
    virtual void drawText(Single x, Single y, const QString &text, bool endsLine) = 0;
    virtual void drawPicture(const QImage &picture, Single x, Single y) = 0;
    // Finishes the document; throws VbError(PrinterError) when the output
    // could not be completed.
    virtual void endDocument() = 0;
    // Abandons the document begun.
    virtual void abortDocument() = 0;
    // Told when a page is finished by newPage(), before the number grows.
    virtual void pageEnded() {}

private:
    // Starts the document at the first output, and begins the pages between
    // the last one printed on and the current one.
    void beginOutput();
    void resetDocument();

    mutable QFont font_;
    mutable bool fontValid_ = false;
    int paperSize_ = paperA4;
    QString fontName_ = QStringLiteral("Courier New");
    Single fontSize_ = 10;
    Single x_ = 0;
    Single y_ = 0;
    Long page_ = 1;
    bool started_ = false;
    Long pagesBegun_ = 0;
};

// Text measurement shared by every printer: width and line height in twips
// of a text in the given font name and size (unhinted outlines at 1 twip a unit).
Single printerTextWidth(const QString &fontName, Single points, const QString &text);
Single printerLineHeight(const QString &fontName, Single points);

// One thing a RecordingPrinter saw.
struct PrinterEvent {
    enum Kind { Text, Picture, NewPage, EndDoc, KillDoc };
    Kind kind = Text;
    Long page = 1; // page number when it happened (for NewPage: the page finished)
    Single x = 0;  // position of a text or picture (top-left corner)
    Single y = 0;
    QString text; // the text printed (may be empty)
    bool endsLine = false;
    QString fontName;
    Single fontSize = 0;
    QImage picture;
};

// Test double: measures text exactly as the system printer does and records
// everything that is printed, in order.
class RecordingPrinter : public Printer
{
public:
    RecordingPrinter();           // installs itself as printer()
    ~RecordingPrinter() override; // restores the previous printer

    QList<PrinterEvent> events;
    // Number of whole documents ended, and pages printed in the last one.
    int documents = 0;
    int pagesPrinted = 0;
    // When set, the next document refuses to start (VbError PrinterError).
    bool refuseToStart = false;

    // Texts printed on a page of the recorded output, empty ones left out.
    QList<PrinterEvent> textsOnPage(Long page) const;
    QList<PrinterEvent> pictures() const;

protected:
    QSizeF pageSizeTwips() const override;
    void beginDocument() override;
    void beginPage() override;
    void drawText(Single x, Single y, const QString &text, bool endsLine) override;
    void drawPicture(const QImage &picture, Single x, Single y) override;
    void endDocument() override;
    void abortDocument() override;
    void pageEnded() override;

private:
    PrinterEvent event(PrinterEvent::Kind kind) const;
    Printer *previous_ = nullptr;
    int pagesSoFar_ = 0;
};

// The system printer: the default printer when there is one, otherwise a PDF
// file in the documents folder (home when there is none), whose path the user
// is told in an information message once the document is complete.
class SystemPrinter : public Printer
{
public:
    SystemPrinter();
    ~SystemPrinter() override;

    // Where PDF files go instead of the documents folder (empty: documents).
    void setPdfFolder(const QString &folder) { pdfFolder_ = folder; }
    // Writes a PDF even when a printer is set up.
    void setPdfOnly(bool pdfOnly) { pdfOnly_ = pdfOnly; }
    // Path of the last PDF file written (empty when the last document went
    // to a printer).
    QString lastPdfPath() const { return lastPdf_; }

protected:
    QSizeF pageSizeTwips() const override;
    void beginDocument() override;
    void beginPage() override;
    void drawText(Single x, Single y, const QString &text, bool endsLine) override;
    void drawPicture(const QImage &picture, Single x, Single y) override;
    void endDocument() override;
    void abortDocument() override;

private:
    struct Job;
    Job *job_ = nullptr;
    mutable QSizeF pageSize_; // of the default printer, found once
    QString pdfFolder_;
    bool pdfOnly_ = false;
    QString lastPdf_;
};

// The printer the program prints on.
Printer &printer();
// Installs a printer (nullptr restores the system printer). The caller keeps
// ownership.
void setPrinter(Printer *p);

} // namespace platform
