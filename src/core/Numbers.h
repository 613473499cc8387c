#pragma once

#include <QString>
#include <cstdint>

// Number conversions shared by the readers of configuration files, MediaInfo values and the
// encoder's output.

// A signed 32-bit integer, decimal or hexadecimal with a "0x" or "$" prefix (which spans the
// 32 bits: "$FFFFFFFF" is -1); blanks around it are allowed. Anything else is no integer.
bool TryStrToInt(const QString& text, int* value);

// A decimal number in the user's locale (decimal mark as the locale has it).
bool TryStrToFloat(const QString& text, double* value);

// `text` with "." and "," replaced by the locale's decimal mark: only their first occurrences, or
// every occurrence when `everyMark` is set.
QString WithLocaleDecimalMark(const QString& text, bool everyMark);

// Rounds to the nearest integer, a half going to the even neighbour (2.5 gives 2), and clamps the
// result into the range of the target type.
double RoundHalfEven(double value);
uint32_t RoundToU32(double value);
int32_t RoundToI32(double value);
