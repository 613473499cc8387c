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

namespace {

QByteArray Utf16(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text + QChar(0)) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

void Pad4(QByteArray& bytes) {
    while (bytes.size() % 4)
        bytes.append('\0');
}

// One node of a version block, as Windows lays it out.
QByteArray VersionNode(const QString& key, const QByteArray& value, quint16 valueLength,
                       quint16 type, const QList<QByteArray>& children = {}) {
    QByteArray node(6, '\0');
    node += Utf16(key);
    Pad4(node);
    node += value;
    Pad4(node);
    for (QByteArray child : children) {
        Pad4(child);
        node += child;
    }
    qToLittleEndian<quint16>(quint16(node.size()), node.data());
    qToLittleEndian<quint16>(valueLength, node.data() + 2);
    qToLittleEndian<quint16>(type, node.data() + 4);
    return node;
}

QByteArray TextNode(const QString& key, const QString& value) {
    return VersionNode(key, Utf16(value), quint16(value.size() + 1), 1);
}

QByteArray VersionBlock() {
    QByteArray translation(4, '\0');
    qToLittleEndian<quint16>(0x0409, translation.data());
    qToLittleEndian<quint16>(0x04B0, translation.data() + 2);
    return VersionNode(u"VS_VERSION_INFO"_s, QByteArray(52, '\0'), 52, 0,
                       {VersionNode(u"StringFileInfo"_s, {}, 0, 1,
                                    {VersionNode(u"040904b0"_s, {}, 0, 1,
                                                 {TextNode(u"FileDescription"_s, u"Test tool"_s),
                                                  TextNode(u"FileVersion"_s, u"4.5.6"_s),
                                                  TextNode(u"ProductVersion"_s, u"1.2.3"_s)})}),
                        VersionNode(u"VarFileInfo"_s, {}, 0, 1,
                                    {VersionNode(u"Translation"_s, translation, 4, 0)})});
}

// A PE image whose resource section holds `block` as its version resource.
QByteArray PeWithVersion(const QByteArray& block) {
    QByteArray image = PeImage(0x014C, 0x0002, 0x010B);
    const quint32 at = 128;
    qToLittleEndian<quint16>(1, image.data() + at + 4 + 2);    // one section
    qToLittleEndian<quint16>(224, image.data() + at + 4 + 16); // optional header size
    qToLittleEndian<quint32>(0x1000, image.data() + at + 24 + 96 + 16);
    QByteArray rsrc(0x58, '\0');
    const auto dir = [&](int offset, quint32 id, quint32 target) {
        qToLittleEndian<quint16>(1, rsrc.data() + offset + 14);
        qToLittleEndian<quint32>(id, rsrc.data() + offset + 16);
        qToLittleEndian<quint32>(target, rsrc.data() + offset + 20);
    };
    dir(0x00, 16, 0x80000018);
    dir(0x18, 1, 0x80000030);
    dir(0x30, 0x0409, 0x48);
    qToLittleEndian<quint32>(0x1000 + 0x58, rsrc.data() + 0x48);
    qToLittleEndian<quint32>(quint32(block.size()), rsrc.data() + 0x4C);
    rsrc += block;
    const quint32 rawPointer = quint32(image.size());
    const qsizetype section = at + 24 + 224;
    qToLittleEndian<quint32>(0x1000, image.data() + section + 12);
    qToLittleEndian<quint32>(quint32(rsrc.size()), image.data() + section + 16);
    qToLittleEndian<quint32>(rawPointer, image.data() + section + 20);
    return image + rsrc;
}

} // namespace

TEST(ToolsInfo, VersionResourceOfAPeImage) {
    const QHash<QString, QString> block = ParseVersionInfo(VersionBlock());
    EXPECT_EQ(block.value(u"ProductVersion"_s), u"1.2.3");
    TScratchDir dir;
    const QString image = dir.Write(PeWithVersion(VersionBlock()));
    const QHash<QString, QString> values = ReadPeVersionStrings(image);
    EXPECT_EQ(values.value(u"ProductVersion"_s), u"1.2.3");
    EXPECT_EQ(values.value(u"FileVersion"_s), u"4.5.6");
    EXPECT_EQ(values.value(u"FileDescription"_s), u"Test tool");
    // Damaged anywhere: no values, and nothing read outside what is there.
    const QByteArray whole = PeWithVersion(VersionBlock());
    for (qsizetype size = whole.size() - 1; size > 300; size -= 13)
        ReadPeVersionStrings(dir.Write(whole.left(size)));
    QByteArray hostile = whole;
    const qsizetype rsrcAt = whole.size() - VersionBlock().size() - 0x58;
    qToLittleEndian<quint32>(0x80FFFFF0, hostile.data() + rsrcAt + 20); // a subtree far outside
    EXPECT_TRUE(ReadPeVersionStrings(dir.Write(hostile)).isEmpty());
    QByteArray selfLoop = whole;
    qToLittleEndian<quint32>(0x80000000, selfLoop.data() + rsrcAt + 20); // points at itself
    EXPECT_TRUE(ReadPeVersionStrings(dir.Write(selfLoop)).isEmpty());
    QByteArray shortBlock = VersionBlock();
    qToLittleEndian<quint16>(0xFFFF, shortBlock.data()); // claims more than there is
    EXPECT_TRUE(ParseVersionInfo(shortBlock).isEmpty());
    EXPECT_TRUE(ParseVersionInfo(RandomBytes(4096, 5)).isEmpty());
}
