#pragma once
// The long texts scripts/make-xls-fixtures.py writes into workbooks:
// "00000 00006 00012 ..." cut to n characters. Each block names its own
// position, so a lost or repeated piece of a text shows.

#include <QString>

inline QString numberedText(int n)
{
    QString s;
    for (int i = 0; s.size() < n; i += 6)
        s += QStringLiteral("%1 ").arg(i, 5, 10, QLatin1Char('0'));
    s.truncate(n);
    return s;
}
