#pragma once
// Number texts. Everything the program writes into a field, grid cell or file
// uses "." as the decimal separator; only the text box's number test and the
// chart's read-out follow the regional settings.

#include "platform/vbtypes.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace platform {

// Longest leading number of a text, "." as the decimal separator: blanks,
// tabs and line feeds are skipped before and ignored inside; optional sign;
// digits with at most one "."; exponent introduced by E, e, D or d; "&H" and
// "&O" integers. Stops at the first other character; no number gives 0.
// "12abc" -> 12, "1,5" -> 1, "" -> 0, "2e1" -> 20. "&HFFFF" is -1 (four hex
// digits read as a 16-bit number), "&HFFFFFFFF" too (32-bit).
// Throws VbError(Overflow) for a number beyond the double range ("1e400") or
// an "&H"/"&O" number beyond 32 bits, as the conversion it stands for does.
double val(const QString &text);
double val(QStringView text);
double val(QLatin1StringView text);

// True when the whole text converts to a number under the given locale's
// conventions: blanks around, sign before or after, parentheses as a negative
// sign, the locale's decimal separator once, its group separator among the
// integer digits, exponent E/e/D/d, the currency symbol, &H/&O numbers.
bool isNumeric(const QString &text, const QLocale &locale = QLocale());

// Converts a text under the locale's conventions (as isNumeric accepts it).
// Throws VbError(TypeMismatch) when it is not a number.
double toDouble(const QString &text, const QLocale &locale = QLocale());

// Rounds half to even and converts to a 16-bit integer; throws
// VbError(Overflow) outside -32768..32767 (and for NaN).
Integer cint(double value);
// Same for a text read under the locale; throws VbError(TypeMismatch) when the
// text is not a number.
Integer cint(const QString &text, const QLocale &locale = QLocale());
// Rounds half to even and converts to a 32-bit integer; VbError(Overflow) outside.
Long clng(double value);

// "####0.0000": four decimals, at least one integer digit, no grouping, "."
// always. Rounds halves away from zero on the value's 15 significant digits
// (1.00005 gives "1.0001"). A value that rounds to zero keeps no minus sign.
QString formatFixed4(double value);
// "###": rounded to a whole number (halves away from zero), no grouping; a
// value that rounds to 0 gives "".
QString formatHashes(double value);
// General number text: up to 15 significant digits, no trailing zeros, no "."
// for whole numbers, exponent form ("1E+16", "1E-05") for very large or small
// magnitudes; "." always.
QString generalNumber(double value);
// The same text written into `out`, which has room for generalNumberSize
// characters; returns its length. For callers that format many numbers.
constexpr int generalNumberSize = 24;
int generalNumber(double value, char *out);
// generalNumber of the value a plain decimal text ("-12.50", "+1e-3", "007")
// stands for, made from its digits without reading the value: for a text of
// the form [+-]digits[.digits][(e|E)[+-]digits] with at most 15 significant
// digits and a magnitude between 1E-307 and 1E+307. Returns -1 for any other
// text, whose value has to be read and formatted.
int generalNumberOfDecimal(QStringView text, char *out);
// The general number text when it reads back as the very same double, else
// the same form with the 16 or 17 significant digits it takes to do so.
QString generalNumberExact(double value);
int generalNumberExact(double value, char *out);
// mm-dd-yyyy
QString dateText(const QDate &date);

} // namespace platform
