#include "core/TextFile.h"

#include "platform/Platform.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes the code page leaves
// undefined map to the control character of the same value, as Windows itself does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

QString DecodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        *out++ = (c >= 0x80 && c <= 0x9F) ? QChar(Cp1252High[c - 0x80]) : QChar(char16_t(c));
    }
    return result;
}

QString DecodeText(const QByteArray& bytes, TTextEncoding* encoding) {
    TTextEncoding found = TTextEncoding::Utf8;
    QString text;
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        found = TTextEncoding::Utf8Bom;
        text = DecodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    } else if (StartsWith(bytes, {0xFF, 0xFE})) {
        found = TTextEncoding::Utf16LE;
        text = DecodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    } else if (StartsWith(bytes, {0xFE, 0xFF})) {
        found = TTextEncoding::Utf16BE;
        text = DecodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError()) {
            found = TTextEncoding::Windows1252;
            text = DecodeWindows1252(bytes);
        }
    }
    if (encoding != nullptr)
        *encoding = found;
    return text;
}

TTextFile ReadTextFile(const QString& fileName, qint64 maxBytes) {
    TTextFile result;
    if (!Platform::IsRegularFile(fileName))
        return result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Asked for what the file holds rather than the whole limit: a buffer of the limit's size for
    // every small settings file is wasted memory.
    QByteArray bytes = file.read(std::clamp<qint64>(file.size(), 0, maxBytes));
    if (bytes.size() < maxBytes && !file.atEnd()) // it grew meanwhile
        bytes += file.read(maxBytes - bytes.size());
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
        return result;
    result.Exists = true;
    result.Truncated = !file.atEnd();
    result.Text = DecodeText(bytes, &result.Encoding);
    return result;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}
