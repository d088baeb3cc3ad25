#include "app/ficherosdatos.h"

#include "platform/flexgrid.h"
#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QLocale>

#include <algorithm>
#include <charconv>

namespace ficheros
{

namespace
{

bool blanco(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A token of the plain form [+-]digits[.digits][(e|E)[+-]digits], at least
// one digit before the exponent, read at once; anything else (and a value
// beyond the double range) is left to the general reader, which gives the
// same value for these tokens.
bool numerosimple(QStringView t, double &v)
{
    char buf[64];
    const qsizetype n = t.size();
    if (n == 0 || n >= qsizetype(sizeof buf))
        return false;
    qsizetype i = 0;
    int k = 0;
    const auto digitos = [&]() {
        int c = 0;
        while (i < n && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
            buf[k++] = static_cast<char>(t[i++].unicode());
            ++c;
        }
        return c;
    };
    if (t[i] == QLatin1Char('-'))
        buf[k++] = '-';
    if (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))
        ++i;
    int cifras = digitos();
    if (i < n && t[i] == QLatin1Char('.')) {
        buf[k++] = '.';
        ++i;
        cifras += digitos();
    }
    if (cifras == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        buf[k++] = 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
            buf[k++] = static_cast<char>(t[i++].unicode());
        if (digitos() == 0)
            return false;
    }
    if (i != n)
        return false;
    const auto r = std::from_chars(buf, buf + k, v);
    return r.ec == std::errc() && r.ptr == buf + k;
}

// Next field of a line from `pos`, and `pos` past its delimiter; false when
// the line has no more fields.
bool siguientecampo(const QString &linea, qsizetype &pos, QStringView &campo)
{
    const qsizetype n = linea.size();
    while (pos < n && blanco(linea[pos]))
        ++pos;
    if (pos >= n)
        return false;
    const qsizetype inicio = pos;
    while (pos < n && !blanco(linea[pos]) && linea[pos] != QLatin1Char(','))
        ++pos;
    campo = QStringView(linea).sliced(inicio, pos - inicio);
    // The delimiter: blanks, then at most one comma.
    while (pos < n && blanco(linea[pos]))
        ++pos;
    if (pos < n && linea[pos] == QLatin1Char(','))
        ++pos;
    return true;
}

double valorcampo(QStringView campo)
{
    double v = 0.0;
    if (!numerosimple(campo, v))
        v = platform::val(campo.toString());
    return v;
}

// Next number of a line from `pos`: 0 when the line has no more fields.
double siguientenumero(const QString &linea, qsizetype &pos)
{
    QStringView campo;
    return siguientecampo(linea, pos, campo) ? valorcampo(campo) : 0.0;
}

// The general text of the next number of a line from `pos`.
int siguientetexto(const QString &linea, qsizetype &pos, char *texto)
{
    QStringView campo;
    if (!siguientecampo(linea, pos, campo))
        return platform::generalNumber(0.0, texto);
    const int n = platform::generalNumberOfDecimal(campo, texto);
    return n >= 0 ? n : platform::generalNumberExact(valorcampo(campo), texto);
}

// Removes the blanks (not the tabs) at both ends.
QString quitarblancos(const QString &s)
{
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && s[a] == QLatin1Char(' '))
        ++a;
    while (b > a && s[b - 1] == QLatin1Char(' '))
        --b;
    return s.mid(a, b - a);
}

QString celda(const QString &campo)
{
    return quitarblancos(campo.isEmpty() ? QStringLiteral("0") : campo);
}

} // namespace

Relleno::Relleno(platform::FlexGrid *grid) : grid_(grid)
{
    grid_->setRedraw(false);
}

Relleno::~Relleno()
{
    grid_->setRedraw(true);
}

void leerdosnumeros(const QString &linea, double &a, double &b)
{
    qsizetype pos = 0;
    a = siguientenumero(linea, pos);
    b = siguientenumero(linea, pos);
}

void textosdosnumeros(const QString &linea, char *x, int &nx, char *y, int &ny)
{
    qsizetype pos = 0;
    nx = siguientetexto(linea, pos, x);
    ny = siguientetexto(linea, pos, y);
}

QStringList camposparametros(const QString &linea)
{
    QStringList campos = linea.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (campos.size() > 7)
        throw platform::VbError(platform::vberr::SubscriptOutOfRange,
                                QStringLiteral("Too many fields on a parameter line"));
    return campos;
}

int entero(const QString &texto, int minimo, int maximo)
{
    const int v = platform::cint(texto, QLocale::c());
    if (v < minimo || v > maximo)
        throw platform::VbError(platform::vberr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    return v;
}

CeldasImportadas celdaslinea(const QString &linea, const QString &separador)
{
    CeldasImportadas r;
    if (linea.isEmpty())
        return r;
    const QStringList trozos = separador.isEmpty()
                                   ? QStringList{linea}
                                   : linea.split(separador, Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (separador == QLatin1String(" ") && trozos.size() >= 2) {
        // The first two non-empty pieces; empty when the line has fewer.
        QString campos[2];
        int k = 0;
        for (const QString &t : trozos) {
            if (t.isEmpty())
                continue;
            campos[k++] = t;
            if (k == 2)
                break;
        }
        r.campos = 2;
        r.x = celda(campos[0]);
        r.y = celda(campos[1]);
        return r;
    }
    r.campos = static_cast<int>(std::min<qsizetype>(trozos.size(), 2));
    r.x = celda(trozos.at(0));
    if (r.campos == 2)
        r.y = celda(trozos.at(1));
    return r;
}

QString lineasegura(const QString &texto)
{
    QString s = texto;
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

namespace
{

// True for `palabra` followed by nothing but blanks, in any case.
bool espalabra(const QString &texto, QLatin1StringView palabra)
{
    qsizetype n = texto.size();
    while (n > 0 && texto[n - 1] == QLatin1Char(' '))
        --n;
    return QStringView(texto).first(n).compare(palabra, Qt::CaseInsensitive) == 0;
}

// A field that the reader takes whole: no blank, tab, comma or line end.
bool campounico(const QString &texto)
{
    if (texto.isEmpty())
        return false;
    for (QChar c : texto)
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char(',') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    return true;
}

// The field of a number text that the draw command reads as `valor`.
QString camponumero(const QString &texto, double valor)
{
    if (campounico(texto)) {
        try {
            double a = 0.0;
            double b = 0.0;
            leerdosnumeros(texto, a, b);
            if (a == valor)
                return texto;
        } catch (const platform::VbError &) {
        }
    }
    return platform::generalNumberExact(valor);
}

} // namespace

QString textoescrito(const QString &texto, QLatin1StringView palabra)
{
    return espalabra(texto, palabra) ? texto + QLatin1Char(' ') : texto;
}

QString textoleido(const QString &linea, QLatin1StringView palabra)
{
    if (linea.endsWith(QLatin1Char(' ')) && espalabra(linea, palabra))
        return linea.chopped(1);
    return linea;
}

QString campopunto(const QString &texto)
{
    // A number in the plain form reads alike everywhere.
    double valor = 0.0;
    if (campounico(texto) && numerosimple(texto, valor))
        return texto;
    try {
        valor = platform::val(texto);
    } catch (const platform::VbError &) {
        return lineasegura(texto);
    }
    return camponumero(texto, valor);
}

QString campoposicion(const QString &texto)
{
    try {
        return camponumero(texto, platform::toDouble(texto, QLocale::c()));
    } catch (const platform::VbError &) {
        return campopunto(texto); // no number as a whole: the one it starts with
    }
}

QString campoentero(const QString &texto)
{
    try {
        const int v = platform::cint(texto, QLocale::c());
        return campounico(texto) ? texto : QString::number(v);
    } catch (const platform::VbError &) {
        return QStringLiteral("1");
    }
}

} // namespace ficheros
