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
    QList<std::pair<QString, QString>> ffmpegVersion, mediaInfoVersion;
    if (!ffmpeg.isEmpty())
        ffmpegVersion.append({QStringLiteral("Product version:"), FFmpegVersion(ffmpeg)});
    if (!mediaInfo.isEmpty())
        mediaInfoVersion.append({QStringLiteral("Product version:"), MediaInfoVersion(mediaInfo)});
    return QStringLiteral("FFmpeg\r\n") + ToolFileReport(ffmpeg, labelWidth, ffmpegVersion) +
           separator + QStringLiteral("\r\nMediaInfo\r\n") +
           ToolFileReport(mediaInfo, labelWidth, mediaInfoVersion) + separator;
}
