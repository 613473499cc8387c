#include "TestSupport.h"
#include "app/ToolsInfo.h"
#include "core/AppParams.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A small PE image: DOS header, signature at `at`, file header, optional header of its kind.
QByteArray PeImage(quint16 machine, quint16 characteristics, quint16 magic, quint32 at = 128) {
    QByteArray bytes(int(at) + 24 + (magic == 0x020B ? 240 : 224) + 40, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    qToLittleEndian<quint32>(at, bytes.data() + 60);
    bytes.replace(int(at), 4, QByteArray("PE\0\0", 4));
    qToLittleEndian<quint16>(machine, bytes.data() + at + 4);
    qToLittleEndian<quint16>(characteristics, bytes.data() + at + 4 + 18);
    qToLittleEndian<quint16>(magic, bytes.data() + at + 24);
    return bytes;
}

} // namespace

TEST(ToolsInfo, PeImagesBuiltInMemory) {
    TScratchDir dir;
    const struct {
        QByteArray Image;
        const char* Expected;
    } cases[] = {
        {PeImage(0x014C, 0x2002, 0x010B), "32 Library / Win PE32 / Intel 386"},
        {PeImage(0x8664, 0x0022, 0x020B), "64 Executable / Win PE32+ / AMD64"},
        {PeImage(0x01C4, 0x0002, 0x010B), "32 Executable / Win PE32 / UNKNOWN (452)"},
    };
    for (const auto& c : cases) {
        const TBinaryInfo info = ReadPeInfo(dir.Write(c.Image));
        EXPECT_TRUE(info.Valid);
        EXPECT_EQ(QString::number(info.Bits) + u' ' + info.InfoStr,
                  QString::fromLatin1(c.Expected));
    }
    // Cut at every byte of the headers: never valid, never a read outside the file.
    const QByteArray full = PeImage(0x014C, 0x2002, 0x010B);
    for (qsizetype size = 0; size < full.size() - 40; size += 7)
        EXPECT_FALSE(ReadPeInfo(dir.Write(full.left(size))).Valid) << size;
    // A signature offset beyond the file, or with the sign bit set.
    for (const quint32 at : {0x7FFFFFF0u, 0xFFFFFFF0u, 0x80000000u}) {
        QByteArray bad = full;
        qToLittleEndian<quint32>(at, bad.data() + 60);
        EXPECT_FALSE(ReadPeInfo(dir.Write(bad)).Valid);
    }
    QByteArray ne(200, '\0');
    qToLittleEndian<quint32>(64, ne.data() + 60);
    ne.replace(64, 4, QByteArray("NE\x05\x0A", 4));
    const TBinaryInfo win16 = ReadPeInfo(dir.Write(ne));
    EXPECT_FALSE(win16.Valid);
    EXPECT_EQ(win16.InfoStr, u"Win16 NE");
}

TEST(ToolsInfo, ElfFilesOfTheSystem) {
    const TBinaryInfo ffmpeg = ReadElfInfo(SystemFFmpeg());
    ASSERT_TRUE(ffmpeg.Valid);
    EXPECT_EQ(ffmpeg.InfoStr, u"Executable / ELF64 / AMD64"); // position-independent, interpreted
    const TBinaryInfo library = ReadElfInfo(SystemMediaInfo());
    ASSERT_TRUE(library.Valid);
    EXPECT_EQ(library.InfoStr, u"Library / ELF64 / AMD64");
    TScratchDir dir;
    const QByteArray bytes = ReadFile(SystemFFmpeg()).left(4096);
    for (qsizetype size = 0; size < 64; size += 3)
        EXPECT_FALSE(ReadElfInfo(dir.Write(bytes.left(size))).Valid) << size;
    // Program headers said to lie beyond the file: the kind is still read, nothing outside it.
    QByteArray far = bytes.left(64);
    qToLittleEndian<quint64>(Q_UINT64_C(0x7FFFFFFFFFFFFF00), far.data() + 32);
    EXPECT_TRUE(ReadElfInfo(dir.Write(far)).Valid);
}

TEST(ToolsInfo, ReportLayout) {
    TScratchDir dir;
    const QString abc = dir.Write("abc");
    const QString block = ToolFileReport(abc, 18, {{u"Product version:"_s, u"9.9"_s}});
    const QStringList lines = block.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0), u"        File name: "_s + abc);
    EXPECT_EQ(lines.at(1), u"        File size: 3 bytes ( 3 bytes)");
    EXPECT_EQ(lines.at(2), u"       File CRC32: $352441C2");
    EXPECT_EQ(lines.at(3), u"  Product version: 9.9");
    for (const QString& line : lines)
        EXPECT_EQ(line.indexOf(u':'), 17); // every label ends in column 18
    EXPECT_TRUE(ToolFileReport(dir.Path(u"missing"_s), 18, {}).isEmpty());

    TAppParams params;
    InitAppParams(params, dir.Path(u"app"_s));
    const QStringList report = ToolsReport(params, 18).split(u"\r\n"_s);
    ASSERT_EQ(report.size(), 2 + 5 + 1 + 5 + 1) << report.join(u'\n').toStdString();
    EXPECT_EQ(report.at(0), u"FFmpeg");
    EXPECT_EQ(report.at(6), QString(83, u'-'));
    EXPECT_EQ(report.at(7), u"MediaInfo");
    EXPECT_EQ(report.last(), QString(83, u'-'));
    EXPECT_TRUE(report.at(4).contains(u"64-bit Executable / ELF64 / AMD64"_s));
    EXPECT_TRUE(report.at(12).startsWith(u"  Product version: MediaInfoLib"_s))
        << report.at(12).toStdString();
}
