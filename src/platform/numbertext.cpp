#include "platform/numbertext.h"

#include "platform/vberror.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>
#include <type_traits>

namespace platform {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Parses a plain decimal number written as ASCII ("-12.5e3"). Out of the
// double range is an overflow failure; an underflow gives the nearest value.
double parseDecimal(const char *s, qsizetype n)
{
    double d = 0.0;
    const auto [ptr, ec] = std::from_chars(s, s + n, d);
    if (ec == std::errc::result_out_of_range) {
        // from_chars also reports denormal/zero underflow as out of range; only
        // a magnitude beyond the largest double is an overflow.
        const double viaStrtod = std::strtod(std::string(s, static_cast<std::size_t>(n)).c_str(), nullptr);
        if (std::isinf(viaStrtod))
            throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
        return viaStrtod;
    }
    if (ec != std::errc() || ptr != s + n)
        return 0.0;
    return d;
}

double parseDecimal(const std::string &s) { return parseDecimal(s.data(), static_cast<qsizetype>(s.size())); }

// Value of "&H"/"&O" digits: up to 16 bits reads as a signed 16-bit number,
// up to 32 bits as a signed 32-bit number ("&HFFFF" is -1). Larger values
// overflow.
double radixValue(const QString &digits, int radix)
{
    if (digits.isEmpty())
        return 0.0;
    std::uint64_t v = 0;
    for (QChar c : digits) {
        v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(hexDigit(c));
        if (v > 0xFFFFFFFFull)
            throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    }
    const bool shortForm = radix == 16 ? digits.size() <= 4 : v <= 0xFFFF;
    if (shortForm && v <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

// Reads "&H..." or "&O..." starting at text[i] == '&'; returns false when the
// text there is not such a number. The digits are collected into `digits`.
bool readRadix(const QString &text, qsizetype &i, QString &digits, int &radix)
{
    if (i + 1 >= text.size() || text[i] != QLatin1Char('&'))
        return false;
    const QChar k = text[i + 1].toUpper();
    if (k == QLatin1Char('H'))
        radix = 16;
    else if (k == QLatin1Char('O'))
        radix = 8;
    else
        return false;
    i += 2;
    digits.clear();
    while (i < text.size()) {
        const int d = hexDigit(text[i]);
        if (d < 0 || d >= radix)
            break;
        digits += text[i];
        ++i;
    }
    return true;
}

// Rounds half to even.
double roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff > 0.5)
        return f + 1.0;
    if (diff < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// Result of the regional parser.
struct Parsed {
    bool ok = false;
    double value = 0.0;
};

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Matches `what` at text[i]; advances i on success.
bool matchAt(const QString &text, qsizetype &i, const QString &what)
{
    if (what.isEmpty() || i + what.size() > text.size())
        return false;
    if (QStringView(text).mid(i, what.size()).compare(what, Qt::CaseInsensitive) != 0)
        return false;
    i += what.size();
    return true;
}

void skipBlanks(const QString &text, qsizetype &i)
{
    while (i < text.size() && isBlank(text[i]))
        ++i;
}

// The regional number conversion: the whole text must be one number.
Parsed parseRegional(const QString &text, const QLocale &locale)
{
    Parsed r;
    const QString dec = locale.decimalPoint();
    QString grp = locale.groupSeparator();
    const QString cur = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString plus = QStringLiteral("+");
    const QString minus = QStringLiteral("-");
    // Some locales group with a no-break space; a typed blank stands for it.
    const bool groupIsSpace = grp == QString(QChar(0x00A0)) || grp == QString(QChar(0x202F));

    qsizetype i = 0;
    const qsizetype n = text.size();
    skipBlanks(text, i);

    bool paren = false;
    bool negative = false;
    bool signSeen = false;
    bool currencySeen = false;

    auto readSign = [&](qsizetype &pos) {
        if (signSeen || paren)
            return false;
        if (matchAt(text, pos, plus)) {
            signSeen = true;
            return true;
        }
        if (matchAt(text, pos, minus) || matchAt(text, pos, locale.negativeSign())) {
            signSeen = true;
            negative = true;
            return true;
        }
        return false;
    };
    auto readCurrency = [&](qsizetype &pos) {
        if (currencySeen || cur.isEmpty())
            return false;
        if (matchAt(text, pos, cur)) {
            currencySeen = true;
            return true;
        }
        return false;
    };

    // Prefix: "(", a sign and the currency symbol, in any order, blanks between.
    for (;;) {
        if (i < n && text[i] == QLatin1Char('(') && !paren && !signSeen) {
            paren = true;
            ++i;
        } else if (readSign(i) || readCurrency(i)) {
        } else {
            break;
        }
        skipBlanks(text, i);
    }

    // "&H" / "&O" numbers stand alone (blanks around).
    if (i < n && text[i] == QLatin1Char('&')) {
        QString digits;
        int radix = 0;
        if (paren || signSeen || currencySeen || !readRadix(text, i, digits, radix) || digits.isEmpty())
            return r;
        skipBlanks(text, i);
        if (i != n)
            return r;
        try {
            r.value = radixValue(digits, radix);
        } catch (const VbError &) {
            return r;
        }
        r.ok = true;
        return r;
    }

    // Mantissa.
    std::string ascii;
    bool digitSeen = false;
    bool decimalSeen = false;
    while (i < n) {
        const QChar c = text[i];
        if (isDigit(c)) {
            ascii += static_cast<char>(c.unicode());
            digitSeen = true;
            ++i;
        } else if (!decimalSeen && matchAt(text, i, dec)) {
            if (ascii.empty())
                ascii += '0';
            ascii += '.';
            decimalSeen = true;
        } else if (!decimalSeen && digitSeen && matchAt(text, i, grp)) {
            // Group separator among the integer digits; the grouping is not checked.
        } else if (!decimalSeen && digitSeen && groupIsSpace && c == QLatin1Char(' ')) {
            ++i;
        } else {
            break;
        }
    }
    if (!digitSeen)
        return r;

    // Exponent: E, e, D or d, an optional sign and its digits.
    if (i < n) {
        const QChar e = text[i].toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            qsizetype j = i + 1;
            std::string exp = "e";
            if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
                exp += static_cast<char>(text[j++].unicode());
            bool expDigits = false;
            while (j < n && isDigit(text[j])) {
                exp += static_cast<char>(text[j++].unicode());
                expDigits = true;
            }
            if (!expDigits)
                return r;
            ascii += exp;
            i = j;
        }
    }

    // Suffix: blanks, a sign, the currency symbol, ")".
    skipBlanks(text, i);
    for (;;) {
        if (readSign(i) || readCurrency(i)) {
        } else if (paren && i < n && text[i] == QLatin1Char(')')) {
            paren = false;
            negative = true;
            ++i;
            skipBlanks(text, i);
            // Nothing but blanks may follow the closing parenthesis.
            break;
        } else {
            break;
        }
        skipBlanks(text, i);
    }
    if (paren || i != n)
        return r;

    try {
        const double v = parseDecimal(ascii);
        r.value = negative ? -v : v;
    } catch (const VbError &) {
        return r;
    }
    r.ok = true;
    return r;
}

// Decimal digits of a value rounded to `sig` (at most 17) significant
// digits: the value is 0.d1d2d3... * 10^exp10. Trailing zeros removed; zero
// gives no digits and exp10 0.
struct Digits {
    char digits[17];
    int count = 0;
    int exp10 = 0;
};

Digits significantDigits(double value, int sig)
{
    Digits r;
    const double a = std::fabs(value);
    if (a == 0.0)
        return r;
    // "d.ddde+XX": the leading digit, the point when there are more digits,
    // the other digits, "e", the exponent's sign and at least two digits.
    char buf[40];
    // The shortest text that reads back as the value is the quicker to make.
    // When it has no more than `sig` digits it is also the value rounded to
    // `sig` digits: a normal double lies closer to it than half a unit of the
    // 15th digit (a double's unit is below 2.3e-16 of it, the 15th digit's
    // half above 5e-16). Otherwise the value is rounded to `sig` digits.
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    const auto cifras = [&] {
        const char *e = std::find(buf, res.ptr, 'e');
        return e - buf - (e - buf > 1 ? 1 : 0);
    };
    if (sig > 15 || a < std::numeric_limits<double>::min() || cifras() > sig)
        res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, sig - 1);
    const char *p = buf;
    while (p < res.ptr && *p != 'e') {
        if (*p != '.')
            r.digits[r.count++] = *p;
        ++p;
    }
    int e = 0;
    const bool negative = p + 1 < res.ptr && p[1] == '-';
    for (const char *q = p + 2; q < res.ptr; ++q)
        e = e * 10 + (*q - '0');
    r.exp10 = (negative ? -e : e) + 1;
    while (r.count > 0 && r.digits[r.count - 1] == '0')
        --r.count;
    return r;
}

// Fixed-point text of a value with `decimals` digits after ".", rounded half
// away from zero on its 15 significant digits (so 1.00005 shows as 1.0001).
// Returns the magnitude's text and whether it is non-zero.
std::string fixedMagnitude(double value, int decimals, bool &nonZero)
{
    const Digits sd = significantDigits(value, 15);
    struct {
        std::string digits;
        int exp10;
    } d{std::string(sd.digits, static_cast<std::size_t>(sd.count)), sd.exp10};
    // Integer part digits and fraction digits as one string of the fixed
    // width: integer digits + `decimals`.
    std::string intPart, frac;
    if (d.digits.empty()) {
        intPart = "0";
    } else if (d.exp10 > 0) {
        if (static_cast<int>(d.digits.size()) <= d.exp10) {
            intPart = d.digits + std::string(static_cast<std::size_t>(d.exp10) - d.digits.size(), '0');
        } else {
            intPart = d.digits.substr(0, static_cast<std::size_t>(d.exp10));
            frac = d.digits.substr(static_cast<std::size_t>(d.exp10));
        }
    } else {
        intPart = "0";
        frac = std::string(static_cast<std::size_t>(-d.exp10), '0') + d.digits;
    }
    bool roundUp = false;
    if (static_cast<int>(frac.size()) > decimals) {
        roundUp = frac[static_cast<std::size_t>(decimals)] >= '5';
        frac.resize(static_cast<std::size_t>(decimals));
    }
    frac.resize(static_cast<std::size_t>(decimals), '0');
    std::string all = intPart + frac;
    if (roundUp) {
        int k = static_cast<int>(all.size()) - 1;
        while (k >= 0 && all[static_cast<std::size_t>(k)] == '9') {
            all[static_cast<std::size_t>(k)] = '0';
            --k;
        }
        if (k >= 0)
            all[static_cast<std::size_t>(k)]++;
        else
            all.insert(all.begin(), '1');
    }
    nonZero = all.find_first_not_of('0') != std::string::npos;
    const std::size_t intLen = all.size() - static_cast<std::size_t>(decimals);
    std::string out = all.substr(0, intLen);
    // Drop leading zeros of the integer part but keep one digit.
    const auto firstNonZero = out.find_first_not_of('0');
    out = firstNonZero == std::string::npos ? std::string() : out.substr(firstNonZero);
    if (decimals > 0) {
        out += '.';
        out += all.substr(intLen);
    }
    return out;
}

QString nonFinite(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    return v < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

} // namespace

namespace {

bool asciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Upper case of one character; ASCII at once, anything else through QChar.
char16_t upper(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return QChar(c).toUpper().unicode();
}

// val of a text whose blanks, tabs and line feeds are already removed.
double valCompact(const char16_t *s, qsizetype n)
{
    qsizetype i = 0;
    if (n > 0 && s[0] == u'&') {
        // "&H"/"&O" and the digits of that radix that follow.
        if (n < 2)
            return 0.0;
        const char16_t k = upper(s[1]);
        const int radix = k == u'H' ? 16 : k == u'O' ? 8 : 0;
        if (radix == 0)
            return 0.0;
        i = 2;
        while (i < n) {
            const int d = hexDigit(QChar(s[i]));
            if (d < 0 || d >= radix)
                break;
            ++i;
        }
        return radixValue(QString(reinterpret_cast<const QChar *>(s + 2), i - 2), radix);
    }

    // The number as from_chars reads it: no leading "+", "e" for the
    // exponent. Short numbers are built on the stack.
    char small[64];
    std::string big;
    char *out = small;
    qsizetype k = 0;
    if (n + 2 > qsizetype(sizeof small)) {
        big.resize(static_cast<std::size_t>(n) + 2);
        out = big.data();
    }
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-')
            out[k++] = '-';
        ++i;
    }
    bool digitSeen = false;
    bool decimalSeen = false;
    while (i < n) {
        if (asciiDigit(s[i])) {
            out[k++] = static_cast<char>(s[i]);
            digitSeen = true;
        } else if (s[i] == u'.' && !decimalSeen) {
            out[k++] = '.';
            decimalSeen = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digitSeen)
        return 0.0;
    if (i < n) {
        const char16_t e = upper(s[i]);
        if (e == u'E' || e == u'D') {
            qsizetype j = i + 1;
            const qsizetype mark = k;
            out[k++] = 'e';
            if (j < n && (s[j] == u'+' || s[j] == u'-'))
                out[k++] = static_cast<char>(s[j++]);
            bool expDigits = false;
            while (j < n && asciiDigit(s[j])) {
                out[k++] = static_cast<char>(s[j++]);
                expDigits = true;
            }
            if (!expDigits)
                k = mark;
        }
    }
    return parseDecimal(out, k);
}

// Removes the blanks, tabs and line feeds of a text (they count nowhere) and
// reads what is left.
template <typename Char>
double valOf(const Char *text, qsizetype n)
{
    char16_t small[64];
    std::u16string big;
    char16_t *s = small;
    if (n > qsizetype(std::size(small))) {
        big.resize(static_cast<std::size_t>(n));
        s = big.data();
    }
    qsizetype k = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(text[i]));
        if (c != u' ' && c != u'\t' && c != u'\n')
            s[k++] = c;
    }
    return valCompact(s, k);
}

} // namespace

double val(const QString &text) { return val(QStringView(text)); }

double val(QStringView text) { return valOf(text.utf16(), text.size()); }

double val(QLatin1StringView text)
{
    // A plain number ("-12.5", "1.5E-07") is all from_chars reads, so it
    // is read in place; anything else (blanks, "+", "D", "&H", more text
    // after the number) takes the general way.
    const char *s = text.data();
    const qsizetype n = text.size();
    const bool negative = n > 0 && s[0] == '-';
    qsizetype i = negative ? 1 : 0;
    // The digits as one whole number, while they fit, and the power of ten
    // it is to be scaled by.
    std::uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    const auto digit = [&](bool fraction) {
        if (digits < 19) {
            mantissa = mantissa * 10 + static_cast<unsigned>(s[i] - '0');
            scale -= fraction ? 1 : 0;
        } else {
            scale += fraction ? 0 : 1;
        }
        ++digits;
        ++i;
    };
    while (i < n && s[i] >= '0' && s[i] <= '9')
        digit(false);
    if (i < n && s[i] == '.')
        ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9')
        digit(true);
    if (digits > 0 && i < n && (s[i] == 'E' || s[i] == 'e')) {
        qsizetype j = i + 1;
        const bool expNegative = j < n && s[j] == '-';
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        const qsizetype first = j;
        int exponent = 0;
        for (; j < n && s[j] >= '0' && s[j] <= '9'; ++j)
            exponent = std::min(exponent * 10 + (s[j] - '0'), 100000);
        if (j > first) {
            i = j;
            scale += expNegative ? -exponent : exponent;
        }
    }
    if (digits == 0 || i != n)
        return valOf(s, n);
    // A whole number of at most 53 bits times or over a power of ten of at
    // most 22 is two exact doubles and one rounding: the nearest double, as
    // from_chars gives it, only sooner.
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (digits <= 19 && mantissa <= (std::uint64_t(1) << 53) && scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        const double v = scale < 0 ? m / powers[-scale] : m * powers[scale];
        return negative ? -v : v;
    }
    return parseDecimal(s, n);
}

bool isNumeric(const QString &text, const QLocale &locale) { return parseRegional(text, locale).ok; }

double toDouble(const QString &text, const QLocale &locale)
{
    const Parsed p = parseRegional(text, locale);
    if (!p.ok)
        throw VbError(vberr::TypeMismatch, QStringLiteral("Type mismatch"));
    return p.value;
}

Integer cint(double value)
{
    if (std::isnan(value))
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    return static_cast<Integer>(r);
}

Integer cint(const QString &text, const QLocale &locale) { return cint(toDouble(text, locale)); }

Long clng(double value)
{
    if (std::isnan(value))
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    const double r = roundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    return static_cast<Long>(r);
}

QString formatFixed4(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    bool nonZero = false;
    std::string mag = fixedMagnitude(value, 4, nonZero);
    if (mag.empty() || mag[0] == '.')
        mag.insert(mag.begin(), '0');
    if (value < 0 && nonZero)
        mag.insert(mag.begin(), '-');
    return QString::fromLatin1(mag.c_str());
}

QString formatHashes(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    bool nonZero = false;
    const std::string mag = fixedMagnitude(value, 0, nonZero);
    if (!nonZero)
        return QString();
    return QString::fromLatin1(((value < 0 ? "-" : "") + mag).c_str());
}

namespace {

// The general text of a number given by its sign and its digits.
int writeGeneral(bool negative, const Digits &d, char *out)
{
    if (d.count == 0) {
        out[0] = '0';
        return 1;
    }
    char *o = out;
    if (negative)
        *o++ = '-';
    const int e = d.exp10 - 1; // exponent of the leading digit
    if (e >= 15 || e < -4) {
        *o++ = d.digits[0];
        if (d.count > 1) {
            *o++ = '.';
            for (int i = 1; i < d.count; ++i)
                *o++ = d.digits[i];
        }
        *o++ = 'E';
        *o++ = e < 0 ? '-' : '+';
        const int ae = e < 0 ? -e : e;
        if (ae >= 100)
            *o++ = static_cast<char>('0' + ae / 100);
        *o++ = static_cast<char>('0' + ae / 10 % 10);
        *o++ = static_cast<char>('0' + ae % 10);
    } else if (d.exp10 <= 0) {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < -d.exp10; ++i)
            *o++ = '0';
        for (int i = 0; i < d.count; ++i)
            *o++ = d.digits[i];
    } else {
        for (int i = 0; i < d.exp10; ++i)
            *o++ = i < d.count ? d.digits[i] : '0';
        if (d.count > d.exp10) {
            *o++ = '.';
            for (int i = d.exp10; i < d.count; ++i)
                *o++ = d.digits[i];
        }
    }
    return static_cast<int>(o - out);
}

// True when the text reads as exactly `value`.
bool readsBack(const char *text, int n, double value)
{
    try {
        return parseDecimal(text, n) == value;
    } catch (const VbError &) {
        return false; // rounded past the largest double
    }
}

} // namespace

int generalNumber(double value, char *out)
{
    if (!std::isfinite(value)) {
        const char *t = std::isnan(value) ? "NaN" : value < 0 ? "-Inf" : "Inf";
        const int n = static_cast<int>(std::strlen(t));
        std::memcpy(out, t, static_cast<std::size_t>(n));
        return n;
    }
    return writeGeneral(value < 0, significantDigits(value, 15), out);
}

int generalNumberOfDecimal(QStringView text, char *out)
{
    // [+-]digits[.digits][(e|E)[+-]digits], at least one digit before the
    // exponent, nothing else.
    const qsizetype n = text.size();
    const char16_t *t = text.utf16();
    const auto digit = [t](qsizetype k) { return t[k] >= u'0' && t[k] <= u'9'; };
    qsizetype i = 0;
    const bool negative = n > 0 && t[0] == u'-';
    if (n > 0 && (t[0] == u'-' || t[0] == u'+'))
        ++i;
    const qsizetype intStart = i;
    while (i < n && digit(i))
        ++i;
    const qsizetype intEnd = i;
    qsizetype fracStart = i;
    if (i < n && t[i] == u'.') {
        fracStart = ++i;
        while (i < n && digit(i))
            ++i;
    }
    const qsizetype fracEnd = i;
    if (intEnd == intStart && fracEnd == fracStart)
        return -1;
    int exponent = 0;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        const bool expNegative = i < n && t[i] == u'-';
        if (i < n && (t[i] == u'-' || t[i] == u'+'))
            ++i;
        const qsizetype first = i;
        for (; i < n && digit(i); ++i) {
            exponent = exponent * 10 + (t[i] - u'0');
            if (exponent > 100000)
                return -1;
        }
        if (i == first)
            return -1;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != n)
        return -1;

    // The significant digits: from the first non-zero one to the last,
    // across the point.
    qsizetype first = intStart;
    while (first < intEnd && t[first] == u'0')
        ++first;
    Digits d;
    if (first < intEnd) {
        d.exp10 = static_cast<int>(intEnd - first);
    } else {
        first = fracStart;
        while (first < fracEnd && t[first] == u'0')
            ++first;
        if (first == fracEnd) {
            out[0] = '0'; // any zero, "-0" too
            return 1;
        }
        d.exp10 = -static_cast<int>(first - fracStart);
    }
    qsizetype last = fracEnd > fracStart ? fracEnd : intEnd; // one past the last digit
    while (t[last - 1] == u'0' || t[last - 1] == u'.')
        --last;
    const qsizetype span = last - first - (first < intEnd && last > fracStart ? 1 : 0);
    if (span > 15)
        return -1; // more than 15 significant digits: rounded by the value
    for (qsizetype k = first; k < last; ++k)
        if (t[k] != u'.')
            d.digits[d.count++] = static_cast<char>(t[k]);
    d.exp10 += exponent;
    // Well inside the range of normal doubles the value lies closer to these
    // digits than half a unit of the 15th digit, so rounded to 15 digits it
    // gives them back.
    if (d.exp10 - 1 < -307 || d.exp10 - 1 > 307)
        return -1;
    return writeGeneral(negative, d, out);
}

QString generalNumber(double value)
{
    char buf[generalNumberSize];
    return QString::fromLatin1(buf, generalNumber(value, buf));
}

int generalNumberExact(double value, char *out)
{
    const int n = generalNumber(value, out);
    if (!std::isfinite(value) || readsBack(out, n, value))
        return n;
    // Seventeen significant digits always give the double back.
    int m = 0;
    for (int sig = 16; sig <= 17; ++sig) {
        m = writeGeneral(value < 0, significantDigits(value, sig), out);
        if (readsBack(out, m, value))
            break;
    }
    return m;
}

QString generalNumberExact(double value)
{
    char buf[generalNumberSize];
    return QString::fromLatin1(buf, generalNumberExact(value, buf));
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("MM-dd-yyyy")); }

} // namespace platform
