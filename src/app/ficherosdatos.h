#pragma once
// The line grammar of the curve data files and of the point import, free of
// the window so that it can be checked on its own.

#include <QString>
#include <QStringList>

namespace platform
{
class FlexGrid;
}

namespace ficheros
{

// Holds a grid's drawing while it is filled row by row; draws it once at
// the end, also when the filling stops at a failure.
class Relleno
{
public:
    explicit Relleno(platform::FlexGrid *grid);
    ~Relleno();
    Relleno(const Relleno &) = delete;
    Relleno &operator=(const Relleno &) = delete;

private:
    platform::FlexGrid *grid_;
};

// Reads the first two numbers of a line, "." as the decimal separator:
// blanks and tabs before a number are skipped, a number ends at a blank, a tab,
// a comma or the end of the line, and a comma after a number (blanks around it
// allowed) ends its field. A number that is missing reads as 0; a text that
// is not a number reads as the number it starts with (0 when none).
// Throws platform::VbError(Overflow) for a number beyond the double range.
void leerdosnumeros(const QString &linea, double &a, double &b);
// The general number texts (platform::generalNumber) of the two numbers
// leerdosnumeros reads from the line, written into x and y, each with room
// for platform::generalNumberSize characters; nx and ny get their lengths.
// A field that is a plain decimal gives its text without being read as a
// value, which is much quicker.
void textosdosnumeros(const QString &linea, char *x, int &nx, char *y, int &ny);

// The fields of a parameter line: the line split at single blanks, empty
// pieces dropped. Throws platform::VbError when there are more than seven.
QStringList camposparametros(const QString &linea);

// A field that must be a whole number, rounded half to even; throws
// platform::VbError when it is not a number or lies outside minimo..maximo.
int entero(const QString &texto, int minimo, int maximo);

// The two cells one line of a delimited text file gives. `campos` is how
// many of them the line holds: 0 (an empty line: no field at all), 1 (only
// x: a line without the separator) or 2. x and y are set for the cells
// the line holds.
struct CeldasImportadas {
    int campos = 0;
    QString x;
    QString y;
};
// Splits a line at every occurrence of the separator (letters matched
// without regard to case). With the separator " ", the first two non-empty
// pieces are taken, so runs of blanks count as one. An empty field becomes
// "0"; then the blanks at both ends are removed (tabs stay), so a field of
// blanks alone gives an empty cell.
CeldasImportadas celdaslinea(const QString &linea, const QString &separador);

// A line of a data file: CR and LF (either would end the line early when the
// file is read back) become blanks.
QString lineasegura(const QString &texto);

// A text with a line of its own that the reader would take for a line of
// its own meaning ("fin", "[GENERAL]"): the word in any case, blanks after
// it allowed. textoescrito adds one blank to such a text; textoleido takes
// one blank off such a line when it has one, so every text comes back as it
// was and the bare word keeps its meaning.
QString textoescrito(const QString &texto, QLatin1StringView palabra);
QString textoleido(const QString &linea, QLatin1StringView palabra);

// The fields of a legend-position and of a point line. A field is the text
// as it stands when the reader takes from it the number that the draw
// command reads from the text (the whole text for a legend position, its
// leading number for a point); otherwise that number's exact general text
// (an empty text is written 0). A legend position that is no number is
// written as the number it starts with; a text beyond the double range as
// it stands, which the reader refuses.
QString campoposicion(const QString &texto);
QString campopunto(const QString &texto);

// The degree or thickness field of a parameter line: the text when it is one
// field holding an integer, else the integer it converts to, else "1".
QString campoentero(const QString &texto);

} // namespace ficheros
