#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading of the text files users edit: settings, profiles, language files, version files, data
// lists. A byte-order mark selects UTF-8 or UTF-16; text without one is UTF-8 when it is valid
// UTF-8, otherwise Windows-1252.

// Files above this size are read only up to it: no configuration file of ours comes near it, and
// a stray multi-gigabyte file must not stall the program.
inline constexpr qint64 MaxTextFileBytes = 32 * 1024 * 1024;

enum class TTextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };

struct TTextFile {
    bool Exists = false;    // a regular file that could be opened and read
    bool Truncated = false; // the file was larger than the limit; Text holds its beginning
    TTextEncoding Encoding = TTextEncoding::Utf8;
    QString Text;
};

QString DecodeText(const QByteArray& bytes, TTextEncoding* encoding = nullptr);
QString DecodeWindows1252(const QByteArray& bytes);

TTextFile ReadTextFile(const QString& fileName, qint64 maxBytes = MaxTextFileBytes);

// Splits at CR LF, LF or a lone CR. A final line break does not open an empty last line.
QStringList SplitLines(const QString& text);
