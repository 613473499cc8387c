#include "TestSupport.h"
#include "core/AppParams.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString FFmpegVersionFile =
    QStringLiteral("[MAIN]\ntool=FFMPEG\nbits=%1\nver=n-90708-g8daca7697b\n").arg(BuildBits());

// An application folder "app" inside a temporary folder, with the real encoder available to
// place as a tool copy.
class ToolLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Root.isValid());
        App = Root.filePath(QStringLiteral("app"));
        QDir().mkpath(App);
        RealFFmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        ASSERT_FALSE(RealFFmpeg.isEmpty()) << "the tests need ffmpeg on PATH";
        InitAppParams(Params, App);
    }
    void PlaceTool(const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(QFile::link(RealFFmpeg, path)) << path.toStdString();
    }
    void PlaceVersionFile(const QString& path, const QString& text = FFmpegVersionFile) {
        WriteFile(path, text.toUtf8());
    }
    QString Shared(const QString& rest) const { return Root.filePath(rest); }
    QString FindFFmpeg() const {
        return FindSharedTool(App, QStringLiteral("ffmpeg"), BuildBits(),
                              QString::fromUtf16(FFmpegToolVersion));
    }

    QTemporaryDir Root;
    QString App;
    QString RealFFmpeg;
    TAppParams Params;
};

} // namespace

TEST(AppParams, DefaultsLieBelowTheApplicationFolder) {
    TAppParams p;
    InitAppParams(p, QStringLiteral("/opt/zorvane/."));
    EXPECT_EQ(AppDir, u"/opt/zorvane");
    EXPECT_EQ(p.ToolsDir, u"/opt/zorvane/tools");
    EXPECT_EQ(p.LangDir, u"/opt/zorvane/lang");
    EXPECT_EQ(p.DataDir, u"/opt/zorvane/data");
    EXPECT_EQ(p.ffmpeg, u"/opt/zorvane/tools/FFmpeg/ffmpeg");
    EXPECT_EQ(p.MediaInfoDll, u"/opt/zorvane/tools/MediaInfo/libmediainfo.so.0");
    EXPECT_EQ(p.IniName, u"/opt/zorvane/zorvane.ini");
    EXPECT_EQ(p.FourccTagsFile, u"/opt/zorvane/data/fourcc_video_tags.txt");
    EXPECT_EQ(p.AudioBitratesTxt, u"/opt/zorvane/data/audio_bitrates.txt");
    EXPECT_EQ(p.ResolutionTxt, u"/opt/zorvane/data/resolutions.txt");
    EXPECT_EQ(p.LastProfileFile, u"/opt/zorvane/profiles/__Last.ini");
    EXPECT_EQ(p.DirListFile, u"/opt/zorvane/directories.txt");
    EXPECT_EQ(p.LastDir, u"/opt/zorvane");
    EXPECT_TRUE(p.LanguageIni.isEmpty());
    EXPECT_TRUE(p.LogDir.isEmpty());
    EXPECT_TRUE(p.OverwritePrompt);
    EXPECT_FALSE(p.DeleteIncomplete);
    EXPECT_EQ(p.ColorOK, 0x00E06C1Fu);
    EXPECT_EQ(p.ColorError, 0x001D35E2u);
    EXPECT_TRUE(p.DragAcceptDirectories);
    EXPECT_TRUE(p.OpenFileAfterIconClick);
    EXPECT_EQ(p.FileAnalysis, TFileAnalysis::faFull);
    EXPECT_FALSE(p.ScrollProgressToBottom);
    EXPECT_FALSE(p.KeepFileDates);
}

TEST(AppParams, ProductTitleNamesTheBuildsBitness) {
    EXPECT_EQ(ProductTitle(),
              sizeof(void*) == 8 ? u"Zorvane 1.14  [64-bit]" : u"Zorvane 1.14  [32-bit]");
}

TEST_F(ToolLocationTest, ToolsFolderCopyWinsWithoutAnyVersionFile) {
    PlaceTool(Params.ToolsDir + QStringLiteral("/FFmpeg/ffmpeg"));
    Params.ffmpeg = Root.filePath(QStringLiteral("nowhere/ffmpeg"));
    EXPECT_EQ(GetFFmpegExe(Params), Params.ToolsDir + QStringLiteral("/FFmpeg/ffmpeg"));
    EXPECT_EQ(Params.ffmpeg, Params.ToolsDir + QStringLiteral("/FFmpeg/ffmpeg"));
}

TEST_F(ToolLocationTest, ConfiguredPathIsTakenRelativeToTheWorkingDirectory) {
    PlaceTool(Shared(QStringLiteral("custom/my-ffmpeg")));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Root.path()));
    Params.ffmpeg = QStringLiteral("custom/my-ffmpeg");
    const QString found = GetFFmpegExe(Params);
    QDir::setCurrent(previous);
    EXPECT_EQ(found, Shared(QStringLiteral("custom/my-ffmpeg")));
}

TEST_F(ToolLocationTest, SharedCopyIsFoundThroughItsVersionFileWhateverTheCase) {
    PlaceVersionFile(Shared(QStringLiteral("_common/FFmpeg-N/ffmpeg.ver")));
    PlaceTool(Shared(QStringLiteral("_common/FFmpeg-N/ffmpeg")));
    EXPECT_EQ(FindFFmpeg(), Shared(QStringLiteral("_common/FFmpeg-N/ffmpeg")));
    EXPECT_EQ(GetFFmpegExe(Params), Shared(QStringLiteral("_common/FFmpeg-N/ffmpeg")));
    // Checked afresh on every call: once the shared copy is gone, the one on PATH is taken.
    ASSERT_TRUE(QFile::remove(Shared(QStringLiteral("_common/FFmpeg-N/ffmpeg"))));
    EXPECT_EQ(GetFFmpegExe(Params), RealFFmpeg);
}

TEST_F(ToolLocationTest, VersionFilesThatDoNotMatchAreSkipped) {
    const struct {
        const char* Folder;
        QString Text;
    } mismatches[] = {
        {"_common/a-other-version",
         QString(FFmpegVersionFile).replace(QStringLiteral("g8daca"), QStringLiteral("g8dacb"))},
        {"_common/b-no-main", QStringLiteral("[TOOL]\ntool=ffmpeg\n")},
        {"_common/c-binary", QString::fromLatin1(QByteArray("\x00\x01\x02\xff", 4))},
        {"_common/d-other-bits",
         QStringLiteral("[MAIN]\ntool=ffmpeg\nbits=16\nver=N-90708-g8daca7697b")},
        {"_common/e-other-tool",
         QStringLiteral("[MAIN]\ntool=ffplay\nbits=%1\nver=N-90708-g8daca7697b").arg(BuildBits())},
    };
    for (const auto& m : mismatches) {
        const QString folder = Shared(QString::fromUtf8(m.Folder));
        PlaceVersionFile(folder + QStringLiteral("/ffmpeg.ver"), m.Text);
        PlaceTool(folder + QStringLiteral("/ffmpeg"));
    }
    EXPECT_TRUE(FindFFmpeg().isEmpty());
    // Four levels below "_common" is too deep; three levels is not.
    PlaceVersionFile(Shared(QStringLiteral("_common/x/y/z/w/ffmpeg.ver")));
    PlaceTool(Shared(QStringLiteral("_common/x/y/z/w/ffmpeg")));
    EXPECT_TRUE(FindFFmpeg().isEmpty());
    PlaceVersionFile(Shared(QStringLiteral("_common/x/y/z/ffmpeg.ver")));
    PlaceTool(Shared(QStringLiteral("_common/x/y/z/ffmpeg")));
    EXPECT_EQ(FindFFmpeg(), Shared(QStringLiteral("_common/x/y/z/ffmpeg")));
    EXPECT_TRUE(FindSharedTool(App, QStringLiteral("ffprobe"), BuildBits(),
                               QString::fromUtf16(FFmpegToolVersion))
                    .isEmpty());
}

TEST_F(ToolLocationTest, FirstMatchWithoutToolEndsTheSharedFolderSearch) {
    PlaceVersionFile(Shared(QStringLiteral("_common/a/ffmpeg.ver"))); // no tool beside it
    PlaceVersionFile(Shared(QStringLiteral("_common/b/ffmpeg.ver")));
    PlaceTool(Shared(QStringLiteral("_common/b/ffmpeg")));
    EXPECT_TRUE(FindFFmpeg().isEmpty());
    // The parent folder is searched next, and the parent itself comes first.
    PlaceVersionFile(Shared(QStringLiteral("ffmpeg.ver")));
    PlaceTool(Shared(QStringLiteral("ffmpeg")));
    EXPECT_EQ(FindFFmpeg(), Shared(QStringLiteral("ffmpeg")));
}

TEST_F(ToolLocationTest, SystemToolsAreTheLastResort) {
    EXPECT_EQ(GetFFmpegExe(Params), RealFFmpeg);
    const QString library = GetMediaInfoDll(Params);
    EXPECT_TRUE(library.endsWith(QStringLiteral("/libmediainfo.so.0"))) << library.toStdString();
    EXPECT_TRUE(QFileInfo(library).isAbsolute());
    EXPECT_TRUE(QFileInfo::exists(library));
    EXPECT_EQ(Params.MediaInfoDll, library);
}

TEST(AppParams, TempWorkDirName) {
    const QDateTime when(QDate(2018, 5, 7), QTime(14, 3, 59, 123));
    EXPECT_EQ(GetTempWorkDir(QStringLiteral("/var/tmp/"), when),
              u"/var/tmp/Ostrel_Zorvane_2018-05-07@14_03_59.123");
    EXPECT_TRUE(GetTempWorkDir().startsWith(QDir::tempPath() + QStringLiteral("/Ostrel_Zorvane_")));
}

TEST(AppParams, CheckIniFileReadsLeftAsTheLanguageRule) {
    QTemporaryDir dir;
    TAppParams p;
    InitAppParams(p, dir.path());
    EXPECT_TRUE(CheckIniFile(p)); // no settings file
    const struct {
        const char* Text;
        bool Expected;
    } cases[] = {{"[MAIN]\nLeft=0\n", false}, {"[MAIN]\nLeft=120\n", true},
                 {"[MAIN]\nLeft=-3\n", true}, {"[MAIN]\nLeft=abc\n", true},
                 {"[MAIN]\nTop=0\n", true},   {"[main]\nleft = 0x0\n", false}};
    for (const auto& c : cases) {
        WriteFile(p.IniName, QByteArray(c.Text));
        EXPECT_EQ(CheckIniFile(p), c.Expected) << c.Text;
    }
}

TEST(AppParams, FFmpegNotFoundText) {
    const TAppStrings strings;
    const QString text = FFmpegNotFoundText(strings);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Could not find FFmpeg encoder!\r\n\r\nRemember")));
    EXPECT_TRUE(text.contains(QStringLiteral("original ZIP archive (Zorvane.zip).")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("latest version of Zorvane from ") +
                              QString::fromUtf16(HomePageUrl) + u'.'));
}
