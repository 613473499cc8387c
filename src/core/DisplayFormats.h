#pragma once

#include <QChar>
#include <QString>

// The number, size and time texts shown wherever the program shows counts, bytes or durations.
// The decimal mark is always ".", whatever the user's locale.

// 1200000 -> "1 200 000" with a space as separator. Takes 64 bits, so that file sizes above
// 2 GiB are grouped as they are.
QString IntToStrGrouped(qint64 value, QChar separator);

// 5 -> " 5 bytes", 1536 -> "1.50 KB", then MB and GB; negative counts get a "-" in front.
QString GetFileSizeString(qint64 bytes);

// "hh:mm:ss.zzz", or "hh:mm:ss" rounded to whole seconds when `withoutMs` is set. Takes 64 bits,
// so that a total over many files (past 596 hours) stays right.
QString MsToTimeStr(qint64 ms, bool withoutMs);

// IntToStrGrouped with the blank every caller of the program uses.
QString GroupedNumber(qint64 value);

// "0.00" and "0.000" for the user to read: the locale's decimal mark, no thousands separators.
QString LocaleDecimalText(double value, int decimals);
