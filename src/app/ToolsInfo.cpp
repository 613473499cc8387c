#include "app/ToolsInfo.h"

#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "execution/ConRun.h"
#include "filelist/FileInfoReport.h"
#include "filelist/MediaInfoDll.h"
#include "filelist/VideoFileInfo.h"
#include "platform/Platform.h"

#include <QFile>
#include <QtEndian>
#include <functional>

namespace {

// Bytes of a file at an offset; fewer (or none) when the file ends first or the offset is
// outside it.
QByteArray ReadAt(QFile& file, qint64 offset, qint64 count) {
    if (offset < 0 || count <= 0 || offset >= file.size() || !file.seek(offset))
        return {};
    return file.read(std::min(count, file.size() - offset));
}

template <class T>
T Le(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<T>(bytes.constData() + at);
}

} // namespace

QString PeMachineName(quint16 machine) {
    static const QHash<quint16, const char*> names = {
        {0x0000, "Unknown (0)"},
        {0x014C, "Intel 386"},
        {0x014D, "Intel 486"},
        {0x014E, "Intel 586"},
        {0x0160, "MIPS big-endian"},
        {0x0162, "MIPS little-endian R3000"},
        {0x0166, "MIPS little-endian R4000"},
        {0x0168, "MIPS little-endian R10000"},
        {0x0169, "MIPS little-endian WCE v2"},
        {0x0184, "Alpha_AXP"},
        {0x01A2, "Hitachi SH3 little-endian"},
        {0x01A3, "Hitachi SH3 DSP"},
        {0x01A4, "SH3E little-endian"},
        {0x01A6, "Hitachi SH4 little-endian"},
        {0x01A8, "Hitachi SH5"},
        {0x01C0, "ARM little-endian"},
        {0x01C2, "ARM or Thumb"},
        {0x01D3, "Matsushita AM33"},
        {0x01F0, "IBM PowerPC little-endian"},
        {0x01F1, "IBM PowerPC with floating point support"},
        {0x0200, "Intel Itanium 64"},
        {0x0266, "MIPS16"},
        {0x0284, "ALPHA64"},
        {0x0366, "MIPS with FPU"},
        {0x0466, "MIPS16 with FPU"},
        {0x0520, "Infineon"},
        {0x0CEF, "CEF"},
        {0x0EBC, "EFI byte code"},
        {0x8664, "AMD64"},
        {0x9041, "Mitsubishi M32R little-endian"},
        {0xC0EE, "CEE"},
    };
    if (const auto it = names.constFind(machine); it != names.cend())
        return QString::fromLatin1(it.value());
    return QStringLiteral("UNKNOWN (%1)").arg(machine);
}

TBinaryInfo ReadPeInfo(const QString& fileName) {
    TBinaryInfo info;
    QFile file(fileName);
    if (!Platform::IsRegularFile(fileName) || !file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray dos = ReadAt(file, 0, 64);
    if (dos.size() < 64)
        return info;
    const qint64 at = Le<quint32>(dos, 60); // unsigned: never before the file's start
    const QByteArray signature = ReadAt(file, at, 4);
    if (signature.size() < 4)
        return info;
    if (signature == QByteArray("NE\x05\x0A", 4)) {
        info.Bits = 16;
        info.InfoStr = QStringLiteral("Win16 NE");
        return info;
    }
    if (signature != QByteArray("PE\0\0", 4))
        return info;
    const QByteArray header = ReadAt(file, at + 4, 20);
    const QByteArray magicBytes = ReadAt(file, at + 24, 2);
    if (header.size() < 20 || magicBytes.size() < 2)
        return info;
    const quint16 magic = Le<quint16>(magicBytes, 0);
    QString magicText;
    if (magic == 0x010B) {
        magicText = QStringLiteral("PE32");
        info.Bits = 32;
    } else if (magic == 0x020B) {
        magicText = QStringLiteral("PE32+");
        info.Bits = 64;
    }
    const qint64 optionalSize = info.Bits == 32 ? 224 : 240;
    if (ReadAt(file, at + 24, optionalSize).size() < optionalSize)
        return info;
    const quint16 machine = Le<quint16>(header, 0);
    const quint16 characteristics = Le<quint16>(header, 18);
    QString text = characteristics & 0x2000   ? QStringLiteral("Library")
                   : characteristics & 0x0002 ? QStringLiteral("Executable")
                                              : QString();
    if (!magicText.isEmpty())
        text += QStringLiteral(" / Win ") + magicText;
    if (!text.isEmpty())
        text += QStringLiteral(" / ") + PeMachineName(machine);
    info.InfoStr = text;
    info.Valid = true;
    return info;
}

namespace {

// One node of a version block: its key, its value bytes and its children, all inside `block`.
struct TVersionNode {
    QString Key;
    QByteArray Value;
    quint16 ValueLength = 0; // in words for text values
    quint16 Type = 0;        // 1 text, 0 binary
    QList<TVersionNode> Children;
};

qsizetype Align4(qsizetype at) {
    return (at + 3) & ~qsizetype(3);
}

// Reads the node at `at` of `data` (bounded by `end`); false when it does not fit.
bool ReadVersionNode(const QByteArray& data, qsizetype at, qsizetype end, TVersionNode& node,
                     int depth) {
    if (depth > 4 || at < 0 || at + 6 > end || end > data.size())
        return false;
    const quint16 length = Le<quint16>(data, at);
    node.ValueLength = Le<quint16>(data, at + 2);
    node.Type = Le<quint16>(data, at + 4);
    const qsizetype nodeEnd = at + length;
    if (length < 6 || nodeEnd > end)
        return false;
    qsizetype p = at + 6;
    while (p + 2 <= nodeEnd && Le<quint16>(data, p) != 0) {
        node.Key += QChar(Le<quint16>(data, p));
        p += 2;
    }
    p = Align4(p + 2);
    const qsizetype valueBytes =
        node.Type == 1 ? qsizetype(node.ValueLength) * 2 : node.ValueLength;
    if (p + valueBytes > nodeEnd)
        return p >= nodeEnd; // a node without room for its value is taken without it
    node.Value = data.mid(p, valueBytes);
    p = Align4(p + valueBytes);
    while (p + 6 <= nodeEnd) {
        TVersionNode child;
        if (!ReadVersionNode(data, p, nodeEnd, child, depth + 1))
            break;
        const quint16 childLength = Le<quint16>(data, p);
        node.Children.append(child);
        p = Align4(p + childLength);
    }
    return true;
}

QString Utf16Text(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const quint16 c = Le<quint16>(bytes, i);
        if (c == 0)
            break;
        text += QChar(c);
    }
    return text;
}

} // namespace

QHash<QString, QString> ParseVersionInfo(const QByteArray& block) {
    QHash<QString, QString> values;
    TVersionNode root;
    if (!ReadVersionNode(block, 0, block.size(), root, 0) || root.Key != u"VS_VERSION_INFO")
        return values;
    QString translation;
    for (const TVersionNode& child : root.Children)
        if (child.Key == u"VarFileInfo")
            for (const TVersionNode& var : child.Children)
                if (var.Key == u"Translation" && var.Value.size() >= 4)
                    translation = QStringLiteral("%1%2")
                                      .arg(Le<quint16>(var.Value, 0), 4, 16, QLatin1Char('0'))
                                      .arg(Le<quint16>(var.Value, 2), 4, 16, QLatin1Char('0'));
    if (translation.isEmpty())
        return values; // no translation list: no values
    for (const TVersionNode& child : root.Children)
        if (child.Key == u"StringFileInfo")
            for (const TVersionNode& table : child.Children)
                if (table.Key.compare(translation, Qt::CaseInsensitive) == 0)
                    for (const TVersionNode& string : table.Children)
                        values.insert(string.Key, Utf16Text(string.Value));
    return values;
}

QHash<QString, QString> ReadPeVersionStrings(const QString& fileName) {
    QFile file(fileName);
    if (!ReadPeInfo(fileName).Valid || !file.open(QIODevice::ReadOnly))
        return {};
    const qint64 at = Le<quint32>(ReadAt(file, 0, 64), 60);
    const QByteArray header = ReadAt(file, at + 4, 20);
    const quint16 sectionCount = Le<quint16>(header, 2);
    const quint16 optionalSize = Le<quint16>(header, 16);
    const QByteArray optional = ReadAt(file, at + 24, optionalSize);
    const bool is64 = optional.size() >= 2 && Le<quint16>(optional, 0) == 0x020B;
    const qsizetype directory = (is64 ? 112 : 96) + 2 * 8; // the resource directory entry
    if (optional.size() < directory + 8)
        return {};
    const quint32 resourceRva = Le<quint32>(optional, directory);
    // The section that holds the resources, and the resources themselves (at most 16 MiB).
    const QByteArray sections = ReadAt(file, at + 24 + optionalSize, qint64(sectionCount) * 40);
    QByteArray rsrc;
    quint32 rsrcRva = 0;
    for (qsizetype s = 0; s + 40 <= sections.size(); s += 40) {
        const quint32 virtualAddress = Le<quint32>(sections, s + 12);
        const quint32 rawSize = Le<quint32>(sections, s + 16);
        const quint32 rawPointer = Le<quint32>(sections, s + 20);
        if (resourceRva >= virtualAddress && resourceRva < quint64(virtualAddress) + rawSize) {
            rsrc = ReadAt(file, rawPointer, std::min<qint64>(rawSize, 16 * 1024 * 1024));
            rsrcRva = virtualAddress;
            break;
        }
    }
    const qsizetype base = qsizetype(resourceRva - rsrcRva);
    // The tree: type 16 (version), then the first name, then the first language.
    const auto entry = [&](qsizetype dir, int wantedId) -> qint64 {
        if (dir < 0 || dir + 16 > rsrc.size())
            return -1;
        const int count = Le<quint16>(rsrc, dir + 12) + Le<quint16>(rsrc, dir + 14);
        for (int i = 0; i < count; ++i) {
            const qsizetype e = dir + 16 + qsizetype(i) * 8;
            if (e + 8 > rsrc.size())
                return -1;
            const quint32 name = Le<quint32>(rsrc, e);
            if (wantedId < 0 || (!(name & 0x80000000u) && name == quint32(wantedId)))
                return Le<quint32>(rsrc, e + 4);
        }
        return -1;
    };
    qint64 node = entry(base, 16);
    for (int level = 0; level < 2 && node >= 0; ++level)
        node = (node & 0x80000000u) ? entry(base + qsizetype(node & 0x7FFFFFFF), -1) : -1;
    if (node < 0 || (node & 0x80000000u))
        return {};
    const qsizetype dataEntry = base + qsizetype(node);
    if (dataEntry < 0 || dataEntry + 8 > rsrc.size())
        return {};
    const qsizetype dataAt = qsizetype(Le<quint32>(rsrc, dataEntry)) - qsizetype(rsrcRva);
    const quint32 dataSize = Le<quint32>(rsrc, dataEntry + 4);
    if (dataAt < 0 || dataAt >= rsrc.size())
        return {};
    return ParseVersionInfo(rsrc.mid(dataAt, std::min<qsizetype>(dataSize, rsrc.size() - dataAt)));
}

TBinaryInfo ReadElfInfo(const QString& fileName) {
    TBinaryInfo info;
    QFile file(fileName);
    if (!Platform::IsRegularFile(fileName) || !file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray ident = ReadAt(file, 0, 64);
    if (ident.size() < 20 || !ident.startsWith("\x7F"
                                               "ELF"))
        return info;
    const bool is64 = ident.at(4) == 2;
    if ((!is64 && ident.at(4) != 1) || ident.at(5) != 1) // little-endian ELF32 or ELF64 only
        return info;
    const qsizetype headerSize = is64 ? 64 : 52;
    if (ident.size() < headerSize)
        return info;
    const quint16 type = Le<quint16>(ident, 16);
    const quint16 machine = Le<quint16>(ident, 18);
    // A shared object with an interpreter is a position-independent executable.
    bool interpreter = false;
    const qint64 phoff = is64 ? qint64(Le<quint64>(ident, 32)) : Le<quint32>(ident, 28);
    const quint16 phentsize = Le<quint16>(ident, is64 ? 54 : 42);
    const quint16 phnum = Le<quint16>(ident, is64 ? 56 : 44);
    if (phentsize >= 4 && phnum < 4096 && phoff > 0) {
        for (quint16 i = 0; i < phnum; ++i) {
            const QByteArray entry = ReadAt(file, phoff + qint64(i) * phentsize, 4);
            if (entry.size() < 4)
                break;
            if (Le<quint32>(entry, 0) == 3) { // PT_INTERP
                interpreter = true;
                break;
            }
        }
    }
    QString kind;
    if (type == 2 || (type == 3 && interpreter))
        kind = QStringLiteral("Executable");
    else if (type == 3)
        kind = QStringLiteral("Library");
    else if (type == 1)
        kind = QStringLiteral("Object");
    else
        kind = QStringLiteral("ELF type %1").arg(type);
    const QString machineName = machine == 62    ? QStringLiteral("AMD64")
                                : machine == 3   ? QStringLiteral("Intel 386")
                                : machine == 183 ? QStringLiteral("ARM64")
                                : machine == 40  ? QStringLiteral("ARM")
                                : machine == 243 ? QStringLiteral("RISC-V")
                                                 : QStringLiteral("UNKNOWN (%1)").arg(machine);
    info.Bits = is64 ? 64 : 32;
    info.InfoStr =
        kind + (is64 ? QStringLiteral(" / ELF64 / ") : QStringLiteral(" / ELF32 / ")) + machineName;
    info.Valid = true;
    return info;
}

TBinaryInfo ReadBinaryInfo(const QString& fileName) {
    TBinaryInfo info = ReadElfInfo(fileName);
    return info.Valid ? info : ReadPeInfo(fileName);
}

QString ToolFileReport(const QString& path, int labelWidth,
                       const QList<std::pair<QString, QString>>& versionLines) {
    if (path.isEmpty() || !QFile::exists(path))
        return {};
    QStringList lines;
    const auto line = [&](const char* label, const QString& value) {
        lines.append(QStringLiteral("%1 %2").arg(QLatin1StringView(label), labelWidth).arg(value));
    };
    line("File name:", path);
    const qint64 size = GetFileSizeSafe(path);
    line("File size:",
         GroupedNumber(size) + QStringLiteral(" bytes (") + GetFileSizeString(size) + u')');
    const std::optional<quint32> crc = FileCrc32(path);
    line("File CRC32:",
         crc ? QStringLiteral("$%1").arg(*crc, 8, 16, QLatin1Char('0')).toUpper() : QString());
    const TBinaryInfo binary = ReadBinaryInfo(path);
    if (binary.Valid)
        line("Binary type:", QStringLiteral("%1-bit ").arg(binary.Bits) + binary.InfoStr);
    for (const auto& [label, value] : versionLines)
        line(label.toLatin1().constData(), value);
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

// "5.1.9-0+deb12u1" from the first line of "ffmpeg -version".
QString FFmpegVersion(const QString& ffmpeg) {
    QStringList lines;
    try {
        RunConsoleProcess(ffmpeg, QStringLiteral("-version"), &lines, {}, {nullptr, 20000});
    } catch (const EOSError&) {
        return {};
    }
    const QString first = lines.value(0);
    const QString marker = QStringLiteral("version ");
    const qsizetype at = first.indexOf(marker);
    return at < 0 ? first : first.mid(at + marker.size()).section(u' ', 0, 0);
}

} // namespace

QString ToolsReport(TAppParams& params, int labelWidth) {
    const QString ffmpeg = GetFFmpegExe(params);
    const QString mediaInfo = GetMediaInfoDll(params);
    const QString separator = QStringLiteral("\r\n") + QString(83, u'-');
    // The version resource of a Windows image; for other files what the tools say themselves.
    const auto versions = [](const QString& path, const std::function<QString()>& own) {
        QList<std::pair<QString, QString>> lines;
        if (path.isEmpty())
            return lines;
        const QHash<QString, QString> pe = ReadPeVersionStrings(path);
        if (!pe.isEmpty()) {
            lines.append(
                {QStringLiteral("Product version:"), pe.value(QStringLiteral("ProductVersion"))});
            lines.append(
                {QStringLiteral("File version:"), pe.value(QStringLiteral("FileVersion"))});
            lines.append(
                {QStringLiteral("File description:"), pe.value(QStringLiteral("FileDescription"))});
        } else {
            lines.append({QStringLiteral("Product version:"), own()});
        }
        return lines;
    };
    const auto ffmpegVersion = versions(ffmpeg, [&] { return FFmpegVersion(ffmpeg); });
    const auto mediaInfoVersion = versions(mediaInfo, [&] { return MediaInfoVersion(mediaInfo); });
    return QStringLiteral("FFmpeg\r\n") + ToolFileReport(ffmpeg, labelWidth, ffmpegVersion) +
           separator + QStringLiteral("\r\nMediaInfo\r\n") +
           ToolFileReport(mediaInfo, labelWidth, mediaInfoVersion) + separator;
}
