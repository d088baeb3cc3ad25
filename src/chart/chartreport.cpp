// The chart report: the title in large type, the chart picture, the free
// text laid out by the paged text printer, and a closing date line.

#include "chart/ctrgraficas.h"

#include "language/imprimir.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/printer.h"
#include "platform/vberror.h"

#include <QDate>

using platform::Single;

void ctrgraficas::btprint_Click()
{
    try {
        imprimirinforme(TextResult(), TituloCaption(),
                        QStringLiteral("Date: ") + platform::dateText(QDate::currentDate()), QString());
    } catch (const platform::VbError &e) {
        platform::msgbox(QStringLiteral("The report could not be printed.\r") + e.description(),
                         platform::vbCritical);
    } catch (const std::exception &e) {
        platform::msgbox(QStringLiteral("The report could not be printed.\r") +
                             QString::fromLocal8Bit(e.what()),
                         platform::vbCritical);
    }
}

void ctrgraficas::imprimirtitulo(const QString &titulo, const QString &subtitulo)
{
    imprimircabecera(titulo, subtitulo);
}

void ctrgraficas::cerrarpagina()
{
    imprimirpie(QStringLiteral("Page: "));
}

void ctrgraficas::imprimirinforme(const QString &texto, const QString &titulo, const QString &pie,
                                  const QString &)
{
    platform::Printer &p = platform::printer();
    try {
        p.setPaperSize(platform::paperA4);
        p.setCurrentY(500);
        p.setFontName(QStringLiteral("Courier New"));
        p.setFontSize(15);
        imprimirtitulo(titulo, QString());
        p.setFontSize(10);
        imprimirgrafica();
        p.setCurrentX(margenizquierdo);

        ReglasPagina reglas;
        reglas.margensuperior = 500;
        reglas.pie = [this] { cerrarpagina(); };
        reglas.cabecera = [this, &titulo] { imprimirtitulo(titulo, QStringLiteral(" ")); };
        imprimirpaginas(texto, reglas);

        while (p.scaleHeight() - margeninferior > p.currentY())
            p.printLine();
        // The closing line instead of a last footer.
        p.setCurrentX((p.scaleWidth() - p.textWidth(pie)) / 2);
        p.printLine(pie);
        p.endDoc();
    } catch (...) {
        p.killDoc();
        throw;
    }
}
