#include "TestSupport.h"
#include "encoding/ReferenceLists.h"
#include "localisation/AppStrings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ReferenceListsTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) { return Dir.Write(bytes); }
    TScratchDir Dir;
};

} // namespace

TEST_F(ReferenceListsTest, FourccTags) {
    EXPECT_EQ(LoadFourccTags(Write("XVID Xvid codec\n// DX50 comment\n")), QStringList{u"XVID"_s});
    EXPECT_EQ(LoadFourccTags(Write("XVID\n")), QStringList());
    EXPECT_EQ(LoadFourccTags(Write("  DX50\tDivX 5\r\nFMP4  FFmpeg\r\n\r\n//x y\r\nDivX lower")),
              QStringList({u"DX50"_s, u"FMP4"_s, u"DivX"_s}));
    const QStringList builtIn = LoadFourccTags(Dir.Path(QStringLiteral("missing.txt")));
    EXPECT_EQ(builtIn.size(), 11);
    EXPECT_EQ(builtIn.first(), u"DIV3");
    EXPECT_EQ(builtIn.last(), u"XVID");
    EXPECT_EQ(LoadFourccTags(Dir.Root()), builtIn); // a folder is no list file
}

TEST_F(ReferenceListsTest, Resolutions) {
    const TAppStrings strings;
    EXPECT_EQ(ResolutionListItems(strings, Write("")), QStringList({u"Auto"_s, u"Custom"_s}));
    EXPECT_EQ(LoadResolutionEntries(Write("  // 720 x 576  \n 50% - half size \n\n640x360\n")),
              QStringList({u"50% - half size"_s, u"640x360"_s}));
    const QStringList builtIn = ResolutionListItems(strings, Dir.Path(QStringLiteral("none")));
    EXPECT_EQ(builtIn.size(), 17);
    EXPECT_EQ(builtIn.at(2), u"128 x 96 - SQCIF");
    EXPECT_EQ(builtIn.last(), u"1920 x 1080 - HD1080");
}

TEST_F(ReferenceListsTest, BadAndHugeFiles) {
    QByteArray many;
    for (int i = 0; i < MaxReferenceListEntries + 100; ++i)
        many += QByteArray::number(i) + " x 2 - entry\n";
    EXPECT_EQ(LoadResolutionEntries(Write(many)).size(), MaxReferenceListEntries);
    EXPECT_EQ(LoadFourccTags(Write(many)).size(), MaxReferenceListEntries);
    EXPECT_EQ(LoadFourccTags(Write(QByteArray(100000, '\0'))), QStringList());
    EXPECT_EQ(LoadResolutionEntries(Write(QByteArray(3 << 20, 'r'))).size(), 1);
}

TEST(ReferenceLists, ShippedFilesLoad) {
    const QString data = QStringLiteral(ZORVANE_SOURCE_DIR "/data/");
    const QStringList tags = LoadFourccTags(data + QStringLiteral("fourcc_video_tags.txt"));
    for (const QString& tag : BuiltInFourccTags())
        EXPECT_TRUE(tags.contains(tag)) << tag.toStdString();
    const QStringList sizes = LoadResolutionEntries(data + QStringLiteral("resolutions.txt"));
    EXPECT_TRUE(sizes.contains(u"1280 x 720 - HD720 16:9"_s));
    EXPECT_TRUE(sizes.contains(u"50% - half size"_s));
    for (const QString& entry : sizes)
        EXPECT_FALSE(entry.startsWith(QStringLiteral("//")));
}
