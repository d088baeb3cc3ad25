#pragma once
// Paged text printing on A4 in a fixed-pitch font: words wrapped at the right
// edge of the page, line breaks, tab stops every ten character widths, the
// word ".../..." that forces a page break, a centred header with the title
// and a centred page-number footer. Everything goes to platform::printer().
// A printer failure reaches the caller after the document begun has been
// abandoned.

#include "platform/vbtypes.h"

#include <QString>
#include <functional>

// Prints texto as one document: titulo heads every page, subtitulo (may be
// empty) stands under it on the first page only. The fourth argument is not
// used.
void imprimirtexto(const QString &texto, const QString &titulo, const QString &subtitulo,
                   const QString &reservado = QString());
// The header block at the current y: two lines holding " ", the title
// centred, the subtitle centred after a line holding " " (only when it is
// not empty), a line holding " " and an empty line.
void imprimircabecera(const QString &titulo, const QString &subtitulo);
// The footer at the current y (an empty line, then "Página: " and the page
// number centred), then a new page.
void imprimirpie();
// The same footer with another label before the page number.
void imprimirpie(const QString &etiqueta);

// The page engine shared by the text printout and the chart report. It prints
// texto from the current position: words with the wrap test, ".../..." page
// breaks, spaces, LF, TAB stops; other control characters are skipped.
struct ReglasPagina {
    // y of the header of a page begun by an LF or by ".../...".
    platform::Single margensuperior = 800;
    // Footer of a page, ending with a new page.
    std::function<void()> pie;
    // Header of a page begun by an LF or by ".../..." (called at margensuperior).
    std::function<void()> cabecera;
};

constexpr platform::Single margenizquierdo = 1440; // left margin of text lines
constexpr platform::Single margeninferior = 1000;  // bottom limit is page height minus this

void imprimirpaginas(const QString &texto, const ReglasPagina &reglas);
