#include "language/imprimir.h"

#include "platform/numbertext.h"
#include "platform/printer.h"

#include <cmath>

using platform::Printer;
using platform::Single;

namespace
{

const QString saltopagina = QStringLiteral(".../...");

// Space, TAB, LF, CR and every other control character separate words.
bool separador(QChar c)
{
    return c.unicode() <= 32;
}

// Rounds to the nearest integer, a half to the even one.
long redondeopar(double v)
{
    const double r = std::nearbyint(v); // the default rounding mode: halves to even
    return static_cast<long>(r);
}

// Moves x to the next tab stop: stops every ten widths of "0" from the left
// margin; standing exactly on a stop moves on to the next one.
void tabulador(Printer &p)
{
    const Single ancho0 = p.textWidth(QStringLiteral("0"));
    if (!(ancho0 > 0))
        return;
    const long c = redondeopar(static_cast<double>((p.currentX() - margenizquierdo) / ancho0));
    const long s = c + 10 - (c % 10);
    p.setCurrentX(margenizquierdo + static_cast<Single>(s) * ancho0);
}

} // namespace

void imprimirpaginas(const QString &texto, const ReglasPagina &reglas)
{
    Printer &p = platform::printer();
    const qsizetype largo = texto.size();
    qsizetype i = 0; // position in the text, from 0
    while (i < largo) {
        QString palabra;
        const qsizetype inicio = i;
        while (i < largo && !separador(texto.at(i)))
            ++i;
        palabra = texto.mid(inicio, i - inicio);

        // Wrap test, for every word, the first one of a line included.
        const Single W = p.scaleWidth();
        const Single H = p.scaleHeight();
        if (W < p.currentX() + p.textWidth(palabra)) {
            p.printLine();
            if (H - margeninferior < p.currentY())
                reglas.pie();
            p.setCurrentX(margenizquierdo);
        }

        if (palabra == saltopagina) {
            p.setCurrentY(H - margeninferior);
            reglas.pie();
            p.setCurrentY(reglas.margensuperior);
            reglas.cabecera();
            p.setCurrentX(margenizquierdo);
            continue; // the separators behind it follow an empty word
        }
        p.print(palabra);

        while (i < largo && separador(texto.at(i))) {
            switch (texto.at(i).unicode()) {
            case ' ':
                p.print(QStringLiteral(" "));
                break;
            case '\n':
                p.printLine();
                if (p.scaleHeight() - margeninferior < p.currentY()) {
                    reglas.pie();
                    p.setCurrentY(reglas.margensuperior);
                    reglas.cabecera();
                }
                p.setCurrentX(margenizquierdo);
                break;
            case '\t':
                tabulador(p);
                break;
            default: // CR and the other control characters
                break;
            }
            ++i;
        }
    }
}

void imprimircabecera(const QString &titulo, const QString &subtitulo)
{
    Printer &p = platform::printer();
    p.printLine(QStringLiteral(" "));
    p.printLine(QStringLiteral(" "));
    p.setCurrentX((p.scaleWidth() - p.textWidth(titulo)) / 2);
    p.printLine(titulo);
    if (!subtitulo.isEmpty()) {
        p.printLine(QStringLiteral(" "));
        p.setCurrentX((p.scaleWidth() - p.textWidth(subtitulo)) / 2);
        p.printLine(subtitulo);
    }
    p.printLine(QStringLiteral(" "));
    p.printLine();
}

void imprimirpie()
{
    imprimirpie(QStringLiteral("P\u00e1gina: "));
}

void imprimirpie(const QString &etiqueta)
{
    Printer &p = platform::printer();
    p.printLine();
    const QString s = etiqueta + platform::formatHashes(platform::cint(p.page()));
    p.setCurrentX((p.scaleWidth() - p.textWidth(s)) / 2);
    p.printLine(s);
    p.newPage();
}

void imprimirtexto(const QString &texto, const QString &titulo, const QString &subtitulo, const QString &)
{
    Printer &p = platform::printer();
    try {
        p.setPaperSize(platform::paperA4);
        p.setCurrentY(800);
        p.setFontName(QStringLiteral("Courier New"));
        p.setFontSize(10);
        imprimircabecera(titulo, subtitulo);
        p.setCurrentX(margenizquierdo);

        ReglasPagina reglas;
        reglas.margensuperior = 800;
        reglas.pie = [] { imprimirpie(); };
        reglas.cabecera = [&titulo] { imprimircabecera(titulo, QStringLiteral(" ")); };
        imprimirpaginas(texto, reglas);

        while (p.scaleHeight() - margeninferior > p.currentY())
            p.printLine();
        imprimirpie();
        p.endDoc();
    } catch (...) {
        // What was begun of the document is abandoned, not half printed.
        p.killDoc();
        throw;
    }
}
