#include "TestSupport.h"
#include "app/ProgramSettings.h"
#include "app/Startup.h"
#include "core/AppParams.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QSize Screen(1920, 1080);

TProgramSettings Read(const QString& path) {
    return ReadProgramSettingsFile(path, TProgramSettings{}, Screen);
}

// The comparable part of a record: everything the window applies.
QStringList Describe(const TProgramSettings& s) {
    QStringList d;
    TIniFile ini;
    StoreProgramSettings(s, ini);
    d = ini.ToText(QStringLiteral("\n")).split(u'\n');
    d << QString::number(s.EscExit);
    return d;
}

} // namespace

TEST(ProgramSettings, FirstRunKeepsDefaultsAndSaveWritesBothSections) {
    TScratchDir dir;
    const QString path = dir.Path(QStringLiteral("zorvane.ini"));
    bool existed = true;
    const TProgramSettings s = ReadProgramSettingsFile(path, TProgramSettings{}, Screen, &existed);
    EXPECT_FALSE(existed);
    EXPECT_EQ(Describe(s), Describe(TProgramSettings{}));
    EXPECT_TRUE(s.EscExit); // without a file Esc closes the window

    ASSERT_TRUE(SaveProgramSettingsFile(s, path));
    const TIniFile ini(path);
    EXPECT_EQ(ini.Sections(), (QStringList{QStringLiteral("MAIN"), QStringLiteral("PROGRESS")}));
    const QStringList keys = ini.SectionKeys(QStringLiteral("MAIN"));
    EXPECT_EQ(keys.mid(0, 6),
              (QStringList{QStringLiteral("LanguageIni"), QStringLiteral("Maximized"),
                           QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                           QStringLiteral("Height")}));
    // Widths, then positions, then visibility; the status column follows the duration.
    EXPECT_EQ(keys.indexOf(QStringLiteral("colStatus_Width")),
              keys.indexOf(QStringLiteral("colDuration_Width")) + 1);
    EXPECT_LT(keys.indexOf(QStringLiteral("colAudioStreamSize_Width")),
              keys.indexOf(QStringLiteral("colNo_Position")));
    EXPECT_FALSE(keys.contains(QStringLiteral("colActive_Visible")));
    EXPECT_FALSE(keys.contains(QStringLiteral("colFileName_Visible")));
    EXPECT_FALSE(keys.contains(QStringLiteral("EscExit"))); // read only
    EXPECT_EQ(ini.SectionKeys(QStringLiteral("PROGRESS")).size(), 7);

    // What was written reads back as it was.
    const TProgramSettings back = Read(path);
    EXPECT_FALSE(back.EscExit); // a file without the key disables Esc
    TProgramSettings expected = s;
    expected.EscExit = false;
    EXPECT_EQ(Describe(back), Describe(expected));
}

TEST(ProgramSettings, ValuesAreCheckedAsTheyAreRead) {
    struct TCase {
        const char* Line;
        std::function<bool(const TProgramSettings&)> Holds;
    };
    const TCase cases[] = {
        {"RowHeight=100", [](const auto& s) { return s.RowHeight == 50; }},
        {"RowHeight=3", [](const auto& s) { return s.RowHeight == 12; }},
        {"ListFontSize=3", [](const auto& s) { return s.ListFontSize == 6; }},
        {"ListFontSize=99", [](const auto& s) { return s.ListFontSize == 20; }},
        {"Left=-3840", [](const auto& s) { return s.Left == 0; }},
        {"Left=-1900", [](const auto& s) { return s.Left == -1900; }},
        {"Left=1921", [](const auto& s) { return s.Left == 0; }},
        {"Top=-5", [](const auto& s) { return s.Top == 0; }},
        {"Top=1081", [](const auto& s) { return s.Top == 0; }},
        {"Top=1080", [](const auto& s) { return s.Top == 1080; }},
        {"FileAnalysis=quick",
         [](const auto& s) { return s.FileAnalysis == TFileAnalysis::faQuick; }},
        {"FileAnalysis=NONE",
         [](const auto& s) { return s.FileAnalysis == TFileAnalysis::faNone; }},
        {"FileAnalysis=Partial",
         [](const auto& s) { return s.FileAnalysis == TFileAnalysis::faFull; }},
        {"OutputFormat=mpg", [](const auto& s) { return s.OutputFormat == TOutputFormat::MPG; }},
        {"OutputFormat=", [](const auto& s) { return s.OutputFormat == TOutputFormat::AVI; }},
        {"DefaultVideoCodec= h.264 ",
         [](const auto& s) { return s.DefaultVideoCodecIndex == vcH264; }},
        {"DefaultVideoCodec=x264",
         [](const auto& s) { return s.DefaultVideoCodecIndex == vcXvid; }},
        {"cbOutputExists=2", [](const auto& s) { return s.OutputExists == 2; }},
        {"cbOutputExists=7", [](const auto& s) { return s.OutputExists == 0; }},
        {"cbAfterConversion=-1", [](const auto& s) { return s.AfterConversion == 0; }},
        {"colNo_Position=99",
         [](const auto& s) { return s.Columns[0].Position == ListColumnCount - 1; }},
        {"colStatus_Position=-4", [](const auto& s) { return s.Columns[28].Position == 0; }},
        {"colVideoCodec_Position=3",
         [](const auto& s) { return s.Columns[28].Position == KeepPosition; }},
        {"colVideoCodec_Visible=1", [](const auto& s) { return s.Columns[8].Visible; }},
        {"GridLines=abc", [](const auto& s) { return s.GridLines; }},
        {"EscExit=1", [](const auto& s) { return s.EscExit; }},
        {"Width=0x200", [](const auto& s) { return s.Width == 512; }},
        {"ffmpeg=/opt/ff", [](const auto& s) { return s.ffmpeg == QStringLiteral("/opt/ff"); }},
    };
    TScratchDir dir;
    for (const TCase& c : cases) {
        const QString path = dir.Write(QByteArray("[MAIN]\r\n") + c.Line + "\r\n");
        EXPECT_TRUE(c.Holds(Read(path))) << c.Line;
    }
}

TEST(ProgramSettings, MaximizedKeepsTheEarlierBoundsAndForeignLinesSurvive) {
    TScratchDir dir;
    const QString path = dir.Write("; the user's own notes\r\n"
                                   "[MAIN]\r\nLeft=33\r\nTop=44\r\nWidth=800\r\nHeight=600\r\n"
                                   "MyKey=kept\r\n"
                                   "[Elsewhere]\r\nA=1\r\n");
    TProgramSettings s = Read(path);
    EXPECT_EQ(QRect(s.Left, s.Top, s.Width, s.Height), QRect(33, 44, 800, 600));
    s.Maximized = true;
    s.Left = s.Top = 0;
    s.Width = 1920;
    ASSERT_TRUE(SaveProgramSettingsFile(s, path));
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("MAIN"), QStringLiteral("Maximized"), {}), u"1");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MAIN"), QStringLiteral("Left"), 0), 33);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MAIN"), QStringLiteral("Width"), 0), 800);
    EXPECT_EQ(ini.ReadString(QStringLiteral("MAIN"), QStringLiteral("MyKey"), {}), u"kept");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Elsewhere"), QStringLiteral("A"), {}), u"1");
    EXPECT_TRUE(QString::fromUtf8(ReadFile(path)).startsWith(u"; the user's own notes"));
    // Restored maximized: the bounds stay those of the normal window.
    const TProgramSettings back = Read(path);
    EXPECT_TRUE(back.Maximized);
    EXPECT_EQ(back.Width, 800);
}

TEST(ProgramSettings, DamagedFilesGiveDefaultsAndKeepTheUsersKeys) {
    TScratchDir dir;
    QByteArray outOfRange = "[MAIN]\r\nMine=still here\r\n";
    for (const char* key : {"Left", "Top", "Width", "Height", "RowHeight", "ListFontSize",
                            "cbOutputExists", "cbAfterConversion", "colNo_Position"})
        outOfRange += QByteArray(key) + "=2147483647999\r\n";
    outOfRange += "FileAnalysis=\x01\x02\r\nOutputFormat=\xff\xfe\r\n";
    const struct {
        const char* Name;
        QByteArray Bytes;
    } files[] = {
        {"empty", {}},
        {"NUL-filled", QByteArray(4096, '\0')},
        {"random bytes", RandomBytes(65536, 7)},
        {"every value out of range", outOfRange},
    };
    QString path;
    for (const auto& f : files) {
        path = dir.Write(f.Bytes);
        TProgramSettings expected;
        expected.EscExit = false;
        EXPECT_EQ(Describe(Read(path)), Describe(expected)) << f.Name;
        EXPECT_TRUE(SaveProgramSettingsFile(Read(path), path)) << f.Name;
    }
    EXPECT_EQ(TIniFile(path).ReadString(QStringLiteral("MAIN"), QStringLiteral("Mine"), {}),
              u"still here");
}

TEST(ProgramSettings, AHugeFileIsReadInPartAndNeverRewritten) {
    TScratchDir dir;
    QByteArray bytes = "[MAIN]\r\nRowHeight=30\r\n";
    bytes += QByteArray(50 * 1024 * 1024, 'x');
    bytes += "\r\nTail=kept\r\n";
    const QString path = dir.Write(bytes);
    EXPECT_EQ(Read(path).RowHeight, 30);
    EXPECT_FALSE(SaveProgramSettingsFile(TProgramSettings{}, path));
    EXPECT_EQ(QFileInfo(path).size(), bytes.size());
}

TEST(ProgramSettings, AFailedSaveLosesNothing) {
    TScratchDir dir;
    // A folder that cannot hold files: a regular file stands where it should be.
    WriteFile(dir.Path(QStringLiteral("file")), "x");
    EXPECT_FALSE(
        SaveProgramSettingsFile(TProgramSettings{}, dir.Path(QStringLiteral("file/zorvane.ini"))));
    EXPECT_EQ(ReadFile(dir.Path(QStringLiteral("file"))), "x");

    if (::geteuid() == 0)
        return; // the super-user writes into read-only folders
    const QString folder = dir.Path(QStringLiteral("ro"));
    WriteFile(folder + QStringLiteral("/zorvane.ini"), "[MAIN]\r\nRowHeight=30\r\n");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    TProgramSettings s;
    s.RowHeight = 40;
    EXPECT_FALSE(SaveProgramSettingsFile(s, folder + QStringLiteral("/zorvane.ini")));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/zorvane.ini")), "[MAIN]\r\nRowHeight=30\r\n");
}

TEST(ProgramSettings, ToolKeysNeverTakeAProgramFromTheWorkingFolder) {
    TScratchDir dir;
    // An executable called ffmpeg in the folder the window is started from.
    const QString cwdTool = dir.Path(QStringLiteral("ffmpeg"));
    WriteFile(cwdTool, "#!/bin/sh\n");
    QFile::setPermissions(cwdTool, QFile::ReadOwner | QFile::ExeOwner);
    WriteFile(dir.Path(QStringLiteral("tools/FFmpeg/ffmpeg")), "#!/bin/sh\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.Root());

    TAppParams params;
    InitAppParams(params, dir.Path(QStringLiteral("app")));
    TProgramSettings s;
    s.ffmpeg = QStringLiteral("/nowhere/ffmpeg");
    s.ToolsDir = dir.Path(QStringLiteral("tools/"));
    ApplyToolSettings(s, params);
    EXPECT_EQ(params.ToolsDir, dir.Path(QStringLiteral("tools")));
    EXPECT_EQ(params.ffmpeg, dir.Path(QStringLiteral("tools/FFmpeg/ffmpeg")));

    s.ToolsDir = QStringLiteral("/no/such/folder");
    s.ffmpeg = cwdTool; // named on purpose: taken
    ApplyToolSettings(s, params);
    EXPECT_EQ(params.ToolsDir, dir.Path(QStringLiteral("tools")));
    EXPECT_EQ(params.ffmpeg, cwdTool);
    QDir::setCurrent(previous);
}

TEST(Startup, WritableProgramFolderKeepsSettingsBesideTheProgram) {
    TScratchDir dir;
    QDir().mkpath(dir.Path(QStringLiteral("app")));
    TAppParams params;
    StartUp(params, dir.Path(QStringLiteral("app")));
    EXPECT_EQ(params.IniName, dir.Path(QStringLiteral("app/zorvane.ini")));
    EXPECT_EQ(params.LastProfileFile, dir.Path(QStringLiteral("app/profiles/__Last.ini")));
    EXPECT_EQ(
        SettingsDir(QStringLiteral("/usr/bin"), false, QStringLiteral("/home/u/.config/zorvane")),
        u"/home/u/.config/zorvane");

    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg");
    EXPECT_EQ(UserConfigDir(), u"/tmp/xdg/zorvane");
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(UserConfigDir(), QDir::homePath() + QStringLiteral("/.config/zorvane"));
    qputenv("XDG_CONFIG_HOME", previous);
}

TEST(Startup, InstalledProgramReadsSharedFilesAndWritesOnlyInTheUserFolder) {
    // <prefix>/bin and <prefix>/share/zorvane, all writable by the user (a temporary prefix), and
    // a shared tool copy below the prefix that an installed program must not go looking for.
    TScratchDir dir;
    const QString prefix = dir.Path(QStringLiteral("prefix"));
    QDir().mkpath(prefix + QStringLiteral("/bin"));
    QDir().mkpath(prefix + QStringLiteral("/share/zorvane/lang"));
    QDir().mkpath(prefix + QStringLiteral("/share/zorvane/profiles"));
    WriteFile(prefix + QStringLiteral("/lib/x/ffmpeg.ver"),
              QStringLiteral("[MAIN]\ntool=FFMPEG\nbits=%1\nver=%2\n")
                  .arg(BuildBits(), QString::fromUtf16(FFmpegToolVersion))
                  .toUtf8());
    WriteFile(prefix + QStringLiteral("/lib/x/ffmpeg"), "#!/bin/sh\n");
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.Path(QStringLiteral("config")).toUtf8());

    TAppParams params;
    StartUp(params, prefix + QStringLiteral("/bin"));
    EXPECT_TRUE(params.Installed);
    EXPECT_EQ(params.LangDir, prefix + QStringLiteral("/share/zorvane/lang"));
    EXPECT_EQ(params.ResolutionTxt, prefix + QStringLiteral("/share/zorvane/data/resolutions.txt"));
    EXPECT_EQ(params.ShippedProfilesDir, prefix + QStringLiteral("/share/zorvane/profiles"));
    EXPECT_EQ(params.IniName, dir.Path(QStringLiteral("config/zorvane/zorvane.ini")));
    EXPECT_EQ(params.ProfilesDir, dir.Path(QStringLiteral("config/zorvane/profiles")));
    EXPECT_EQ(params.AudioBitratesTxt,
              dir.Path(QStringLiteral("config/zorvane/audio_bitrates.txt")));
    EXPECT_NE(params.ffmpeg, prefix + QStringLiteral("/lib/x/ffmpeg"));

    // The same folders with the shared files beside the program are a portable copy.
    QDir().mkpath(prefix + QStringLiteral("/bin/lang"));
    StartUp(params, prefix + QStringLiteral("/bin"));
    EXPECT_FALSE(params.Installed);
    EXPECT_EQ(params.IniName, prefix + QStringLiteral("/bin/zorvane.ini"));
    EXPECT_EQ(params.ShippedProfilesDir, params.ProfilesDir);
    EXPECT_EQ(params.ffmpeg, prefix + QStringLiteral("/lib/x/ffmpeg"));
    qputenv("XDG_CONFIG_HOME", previous);
}
