#include "platform/numbertext.h"

#include "platform/vberror.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

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
double parseDecimal(const std::string &s)
{
    double d = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec == std::errc::result_out_of_range) {
        // from_chars also reports denormal/zero underflow as out of range; only
        // a magnitude beyond the largest double is an overflow.
        const double viaStrtod = std::strtod(s.c_str(), nullptr);
        if (std::isinf(viaStrtod))
            throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
        return viaStrtod;
    }
    if (ec != std::errc() || ptr != s.data() + s.size())
        return 0.0;
    return d;
}

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

// Decimal digits of a value rounded to `sig` significant digits: the value is
// 0.d1d2d3... * 10^exp10. Trailing zeros removed; zero gives "" and exp10 0.
struct Digits {
    std::string digits;
    int exp10 = 0;
};

Digits significantDigits(double value, int sig)
{
    Digits r;
    const double a = std::fabs(value);
    if (a == 0.0)
        return r;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, sig - 1);
    const std::string s(buf, res.ptr);
    const auto ePos = s.find('e');
    std::string mant = s.substr(0, ePos);
    const int e = std::stoi(s.substr(ePos + 1));
    for (char c : mant)
        if (c != '.')
            r.digits += c;
    r.exp10 = e + 1;
    while (!r.digits.empty() && r.digits.back() == '0')
        r.digits.pop_back();
    return r;
}

// Fixed-point text of a value with `decimals` digits after ".", rounded half
// away from zero on its 15 significant digits (so 1.00005 shows as 1.0001).
// Returns the magnitude's text and whether it is non-zero.
std::string fixedMagnitude(double value, int decimals, bool &nonZero)
{
    Digits d = significantDigits(value, 15);
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

double val(const QString &text)
{
    // Blanks, tabs and line feeds count nowhere.
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += c;

    qsizetype i = 0;
    if (i < s.size() && s[i] == QLatin1Char('&')) {
        QString digits;
        int radix = 0;
        if (readRadix(s, i, digits, radix))
            return radixValue(digits, radix);
        return 0.0;
    }

    std::string ascii;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ascii += static_cast<char>(s[i++].unicode());
    bool digitSeen = false;
    bool decimalSeen = false;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            ascii += static_cast<char>(s[i].unicode());
            digitSeen = true;
        } else if (s[i] == QLatin1Char('.') && !decimalSeen) {
            ascii += '.';
            decimalSeen = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digitSeen)
        return 0.0;
    if (i < s.size()) {
        const QChar e = s[i].toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            qsizetype j = i + 1;
            std::string exp = "e";
            if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                exp += static_cast<char>(s[j++].unicode());
            bool expDigits = false;
            while (j < s.size() && isDigit(s[j])) {
                exp += static_cast<char>(s[j++].unicode());
                expDigits = true;
            }
            if (expDigits)
                ascii += exp;
        }
    }
    // from_chars takes no leading "+" and wants a digit before ".".
    if (!ascii.empty() && ascii[0] == '+')
        ascii.erase(0, 1);
    return parseDecimal(ascii);
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

// General number text of a finite value with up to `sig` significant digits.
std::string generalText(double value, int sig)
{
    const Digits d = significantDigits(value, sig);
    if (d.digits.empty())
        return "0";
    std::string out = value < 0 ? "-" : "";
    const int e = d.exp10 - 1; // exponent of the leading digit
    if (e >= 15 || e < -4) {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += 'E';
        out += e < 0 ? '-' : '+';
        const int ae = e < 0 ? -e : e;
        if (ae < 10)
            out += '0';
        out += std::to_string(ae);
    } else if (d.exp10 <= 0) {
        out += "0.";
        out += std::string(static_cast<std::size_t>(-d.exp10), '0');
        out += d.digits;
    } else if (static_cast<int>(d.digits.size()) <= d.exp10) {
        out += d.digits;
        out += std::string(static_cast<std::size_t>(d.exp10) - d.digits.size(), '0');
    } else {
        out += d.digits.substr(0, static_cast<std::size_t>(d.exp10));
        out += '.';
        out += d.digits.substr(static_cast<std::size_t>(d.exp10));
    }
    return out;
}

// True when the text reads as exactly `value`.
bool readsBack(const std::string &text, double value)
{
    try {
        return parseDecimal(text) == value;
    } catch (const VbError &) {
        return false; // rounded past the largest double
    }
}

} // namespace

QString generalNumber(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    return QString::fromLatin1(generalText(value, 15).c_str());
}

QString generalNumberExact(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    // Seventeen significant digits always give the double back.
    std::string text = generalText(value, 15);
    for (int sig = 16; sig <= 17 && !readsBack(text, value); ++sig)
        text = generalText(value, sig);
    return QString::fromLatin1(text.c_str());
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("MM-dd-yyyy")); }

} // namespace platform
