#include "TestSupport.h"
#include "app/AppParams.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Cli = QStringLiteral(ZORVANE_CLI);

TProcessResult RunCli(const QStringList& args, const QString& program = Cli) {
    return RunProgram(program, args);
}

} // namespace

TEST(Cli, VersionPrintsTheProductTitle) {
    const TProcessResult r = RunCli({QStringLiteral("version")});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, ProductTitle() + u'\n');
}

TEST(Cli, PathsFallBackToTheSystemTools) {
    const TProcessResult r = RunCli({QStringLiteral("paths")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.Out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), QStringLiteral("ffmpeg: ") +
                               QStandardPaths::findExecutable(QStringLiteral("ffmpeg")));
    ASSERT_TRUE(lines.at(1).startsWith(QStringLiteral("mediainfo: /")));
    EXPECT_TRUE(lines.at(1).endsWith(QStringLiteral("/libmediainfo.so.0")));
    EXPECT_TRUE(QFileInfo::exists(lines.at(1).mid(11)));
}

TEST(Cli, PathsPreferTheCopiesInTheToolsFolder) {
    // A copy of the program in its own folder, with both tools below its tools folder.
    QTemporaryDir dir;
    const QString app = dir.filePath(QStringLiteral("Zorvane"));
    ASSERT_TRUE(QDir().mkpath(app + QStringLiteral("/tools/FFmpeg")));
    ASSERT_TRUE(QDir().mkpath(app + QStringLiteral("/tools/MediaInfo")));
    const QString cli = app + QStringLiteral("/zorvane-cli");
    ASSERT_TRUE(QFile::copy(Cli, cli));
    ASSERT_TRUE(QFile::link(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                            app + QStringLiteral("/tools/FFmpeg/ffmpeg")));
    TAppParams system;
    InitAppParams(system, dir.path());
    ASSERT_TRUE(QFile::copy(GetMediaInfoDll(system),
                            app + QStringLiteral("/tools/MediaInfo/libmediainfo.so.0")));

    const TProcessResult r = RunCli({QStringLiteral("paths")}, cli);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("ffmpeg: %1/tools/FFmpeg/ffmpeg\n"
                                    "mediainfo: %1/tools/MediaInfo/libmediainfo.so.0\n")
                         .arg(QFileInfo(app).canonicalFilePath()));
}

TEST(Cli, LangTemplateIsTheShippedEnglishFile) {
    const TProcessResult r = RunCli({QStringLiteral("lang-template")});
    ASSERT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out.toUtf8(), ReadFile(QStringLiteral(ZORVANE_SOURCE_DIR "/lang/English.ini")))
        << "lang/English.ini is out of date: regenerate it with zorvane-cli lang-template";
}

TEST(Cli, HelpAndUsageErrors) {
    for (const char* command : {"version", "paths", "lang-template"}) {
        const TProcessResult r = RunCli({QString::fromUtf8(command), QStringLiteral("--help")});
        EXPECT_EQ(r.ExitCode, 0) << command;
        EXPECT_TRUE(
            r.Out.startsWith(QStringLiteral("Usage: zorvane-cli ") + QString::fromUtf8(command)))
            << r.Out.toStdString();
    }
    EXPECT_EQ(RunCli({}).ExitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("frobnicate")}).ExitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("paths"), QStringLiteral("--bogus")}).ExitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("lang-template"), QStringLiteral("--from"),
                      QStringLiteral("/nonexistent.ini")})
                  .ExitCode,
              1);
}

TEST(Cli, InfoPrintsTheReport) {
    const QString file = MediaFile(QStringLiteral("clip.flv"));
    const TProcessResult r = RunCli({QStringLiteral("info"), file});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(ProductTitle() + QStringLiteral(" - Video file information")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\nFile: ") + file + u'\n'));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\nDuration: 00:00:01.02\n")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\nCRC32: $")));
    EXPECT_FALSE(r.Out.contains(u'\r'));

    const TProcessResult missing =
        RunCli({QStringLiteral("info"), QStringLiteral("/nonexistent/file.flv"), file});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.contains(QStringLiteral("/nonexistent/file.flv: no such file")));
    EXPECT_TRUE(missing.Out.contains(QStringLiteral("\nFile: ") + file + u'\n'));
    EXPECT_EQ(RunCli({QStringLiteral("info")}).ExitCode, 2);
}
