#include "TestSupport.h"
#include "core/AppParams.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Cli = QStringLiteral(ZORVANE_CLI);

// A profile whose encoding is slow enough to be interrupted, however fast the machine.
QString SlowProfile(const TScratchDir& dir) {
    const QString path = dir.Path(QStringLiteral("slow.ini"));
    WriteFile(path, "[ADVANCED]\nAdditionalParams=-vf scale=1920:1080\n");
    return path;
}

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
    ASSERT_EQ(lines.size(), 5);
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
    // A writable program folder keeps the settings and profiles beside the program.
    EXPECT_EQ(r.Out, QStringLiteral("ffmpeg: %1/tools/FFmpeg/ffmpeg\n"
                                    "mediainfo: %1/tools/MediaInfo/libmediainfo.so.0\n"
                                    "settings: %1/zorvane.ini\n"
                                    "profiles: %1/profiles\n"
                                    "shared: %1\n")
                         .arg(QFileInfo(app).canonicalFilePath()));
}

TEST(Cli, LangTemplateIsTheShippedEnglishFile) {
    const TProcessResult r = RunCli({QStringLiteral("lang-template")});
    ASSERT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out.toUtf8(), ReadFile(QStringLiteral(ZORVANE_SOURCE_DIR "/lang/English.ini")))
        << "lang/English.ini is out of date: regenerate it with zorvane-cli lang-template";
}

TEST(Cli, HelpAndUsageErrors) {
    for (const char* command :
         {"version", "paths", "lang-template", "info", "command", "bitrate-reference"}) {
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

namespace {

// The value after "label" in the report section that starts with `section`.
QString ReportValue(const QString& report, const QString& section, const QString& label) {
    const qsizetype start = report.indexOf(u'\n' + section + u'\n');
    const qsizetype at = report.indexOf(u'\n' + label + u' ', start);
    if (start < 0 || at < 0)
        return {};
    const qsizetype from = at + label.size() + 2;
    return report.mid(from, report.indexOf(u'\n', from) - from);
}

} // namespace

TEST(Cli, CommandAgreesWithTheReport) {
    const QString file = MediaFile(QStringLiteral("clip640.flv"));
    const TProcessResult info = RunCli({QStringLiteral("info"), file});
    const TProcessResult command = RunCli({QStringLiteral("command"), file});
    ASSERT_EQ(command.ExitCode, 0) << command.Err.toStdString();
    const QString preview = command.Out.trimmed();
    EXPECT_TRUE(
        preview.startsWith(QStringLiteral("-y -i \"") + file + QStringLiteral("\" -c:v libxvid")))
        << preview.toStdString();
    EXPECT_TRUE(preview.endsWith(QStringLiteral(" <output_file>")));

    const QString video = QStringLiteral("VIDEO STREAM");
    const QString fps = ReportValue(info.Out, video, QStringLiteral("Frames / second:"));
    const QString bitrate = ReportValue(info.Out, video, QStringLiteral("Bitrate:"));
    const QString audio =
        ReportValue(info.Out, QStringLiteral("AUDIO STREAM 1"), QStringLiteral("Bitrate:"));
    ASSERT_TRUE(bitrate.endsWith(QStringLiteral(" kbit/s"))) << info.Out.toStdString();
    // The report speaks the user's locale, the command line always writes ".".
    EXPECT_EQ(QString(fps).replace(u',', u'.'), QStringLiteral("25.00"));
    EXPECT_TRUE(preview.contains(QStringLiteral(" -r 25.000 ")));
    EXPECT_TRUE(preview.contains(QStringLiteral(" -b:v ") + bitrate.chopped(7).remove(u' ') + u'k'))
        << preview.toStdString() << " / " << bitrate.toStdString();
    EXPECT_TRUE(audio.startsWith(QStringLiteral("128 kbit/s")));
    EXPECT_TRUE(preview.contains(QStringLiteral(" -b:a 128k ")));
}

TEST(Cli, CommandOptions) {
    TProcessResult r = RunCli({QStringLiteral("command")});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, QStringLiteral("-y -i <input_file> -c:v libxvid -b:v 800k -c:a libmp3lame "
                                    "-b:a 96k -async 1 <output_file>\n"));

    r = RunCli({QStringLiteral("command"), QStringLiteral("--format"), QStringLiteral("MPG"),
                MediaFile(QStringLiteral("clip15.flv"))});
    EXPECT_TRUE(r.Out.contains(QStringLiteral("-c:v mpeg1video ")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral(" -r 30 "))) << r.Out.toStdString();

    r = RunCli({QStringLiteral("command"), QStringLiteral("--track"), QStringLiteral("2"),
                MediaFile(QStringLiteral("clip.mkv"))});
    EXPECT_TRUE(r.Out.contains(QStringLiteral(" -map 0:0 -map 0:2 "))) << r.Out.toStdString();

    TScratchDir dir;
    const QString profile = dir.Write("[AVI]\nVideoFPS=abc\n[AUDIO]\nAudioCodec=PCM\n");
    r = RunCli({QStringLiteral("command"), QStringLiteral("--profile"), profile});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, QStringLiteral("Video FPS: abc\nFPS must be a float value!\n"));
    EXPECT_EQ(r.Out, QStringLiteral("-y -i <input_file> -c:v libxvid  -c:a pcm_s16le -async 1 "
                                    "<output_file>\n"));

    EXPECT_EQ(RunCli({QStringLiteral("command"), QStringLiteral("--format"), QStringLiteral("mkv")})
                  .ExitCode,
              2);
    EXPECT_EQ(RunCli({QStringLiteral("command"), QStringLiteral("--track"), QStringLiteral("x")})
                  .ExitCode,
              2);
    EXPECT_EQ(RunCli({QStringLiteral("command"), dir.Path(QStringLiteral("none.flv"))}).ExitCode,
              1);
    EXPECT_EQ(RunCli({QStringLiteral("command"), QStringLiteral("--profile"),
                      dir.Path(QStringLiteral("none.ini"))})
                  .ExitCode,
              1);
}

TEST(Cli, BitrateReference) {
    TScratchDir dir;
    const QString path = dir.Path(QStringLiteral("audio_bitrates.txt"));
    const TProcessResult r = RunCli({QStringLiteral("bitrate-reference"), path});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QByteArray file = ReadFile(path);
    EXPECT_EQ(file.count("\r\n"), 47);
    EXPECT_EQ(QString::fromUtf8(file).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), r.Out);
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("Sampling rate: 16000\n MP3:    8  16")));
    EXPECT_EQ(RunCli({QStringLiteral("bitrate-reference"), dir.Path(QStringLiteral("no/dir.txt"))})
                  .ExitCode,
              1);
}

TEST(Cli, ConvertMakesFilesTheEncoderReads) {
    TScratchDir dir;
    QStringList inputs;
    for (const char* name : {"clip.flv", "clip.mp4", "clip.mkv"}) {
        const QString path = dir.Path(QString::fromUtf8(name));
        ASSERT_TRUE(QFile::copy(MediaFile(QString::fromUtf8(name)), path));
        inputs.append(path);
    }
    const QString out = dir.Path(QStringLiteral("out"));
    for (const char* format : {"avi", "mpg"}) {
        const TProcessResult r =
            RunCli(QStringList{QStringLiteral("convert"), QStringLiteral("--format"),
                               QString::fromUtf8(format), QStringLiteral("--output-dir"), out} +
                   inputs);
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        for (const char* stem : {"clip", "clip_001", "clip_002"}) {
            const QString file =
                out + u'/' + QString::fromUtf8(stem) + u'.' + QString::fromUtf8(format);
            const TProcessResult probe = RunProgram(
                QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=codec_name:format=duration"), QStringLiteral("-of"),
                 QStringLiteral("csv=p=0"), file});
            const QStringList fields = probe.Out.split(u'\n', Qt::SkipEmptyParts);
            ASSERT_GE(fields.size(), 3) << file.toStdString() << probe.Err.toStdString();
            const bool avi = QByteArray(format) == "avi";
            EXPECT_EQ(fields.at(0), avi ? u"mpeg4"_s : u"mpeg1video"_s) << file.toStdString();
            EXPECT_EQ(fields.at(1), avi ? u"mp3"_s : u"mp2"_s) << file.toStdString();
            EXPECT_NEAR(fields.last().toDouble(), 1.0, 0.2) << file.toStdString();
        }
        EXPECT_TRUE(r.Out.contains(inputs.first() + QStringLiteral(": Done\n")));
    }
    // Everything skipped is still success; a failure is not.
    TProcessResult r =
        RunCli({QStringLiteral("convert"), QStringLiteral("--output-dir"), out,
                QStringLiteral("--if-exists"), QStringLiteral("skip"), inputs.first()});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_TRUE(r.Out.contains(QStringLiteral(": Skipped\n")));
    TScratchDir profileDir;
    const QString broken = profileDir.Write("[ADVANCED]\nAdditionalParams=-no_such_option 1\n");
    r = RunCli({QStringLiteral("convert"), QStringLiteral("--profile"), broken,
                QStringLiteral("--output-dir"), out, inputs.first()});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("Error # 1"))) << r.Err.toStdString();
    EXPECT_EQ(RunCli({QStringLiteral("convert"), dir.Path(QStringLiteral("none.flv"))}).ExitCode,
              1);
    EXPECT_EQ(RunCli({QStringLiteral("convert"), QStringLiteral("--if-exists"),
                      QStringLiteral("ask"), inputs.first()})
                  .ExitCode,
              2);
}

TEST(Cli, CtrlCAbortsTheBatch) {
    TScratchDir dir;
    const QString input = dir.Path(QStringLiteral("long.mp4"));
    ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("long.mp4")), input));
    TTestProcess cli;
    ASSERT_TRUE(cli.Start(Cli, {QStringLiteral("convert"), QStringLiteral("--jobs"),
                                QStringLiteral("1"), QStringLiteral("--profile"), SlowProfile(dir),
                                input, MediaFile(QStringLiteral("clip.flv"))}));
    const auto started = [](const QByteArray& out) { return out.contains('%'); };
    ASSERT_TRUE(cli.WaitForOutput(started, 20000)) << cli.Out().toStdString();
    ::kill(cli.Pid(), SIGINT);
    ASSERT_TRUE(cli.WaitForFinished(10000));
    const QByteArray& out = cli.Out();
    EXPECT_EQ(cli.ExitCode(), 1);
    EXPECT_TRUE(out.contains(input.toUtf8() + ": Aborted\n")) << out.toStdString();
    EXPECT_FALSE(out.contains("clip.flv:")); // nothing else was converted
    EXPECT_TRUE(cli.Err().contains("Aborting..."));
}

TEST(Cli, ScriptWritesAShellScript) {
    TScratchDir dir;
    const QString input = dir.Path(QStringLiteral("it's $here.flv"));
    ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("clip.flv")), input));
    const QString script = dir.Path(QStringLiteral("convert.sh"));
    const TProcessResult r =
        RunCli({QStringLiteral("script"), QStringLiteral("--output"), script, input});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(ReadFile(script).startsWith("#!/bin/sh\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.Path(QStringLiteral("it's $here.avi"))));
    const TProcessResult sh = RunProgram(QStringLiteral("sh"), {script});
    EXPECT_EQ(sh.ExitCode, 0) << sh.Err.toStdString();
    EXPECT_GT(QFileInfo(dir.Path(QStringLiteral("it's $here.avi"))).size(), 0);
    EXPECT_EQ(RunCli({QStringLiteral("script"), input}).ExitCode, 2);
}

TEST(Cli, NoEncoderOutlivesTheProgram) {
    TScratchDir dir;
    const QString input = dir.Path(QStringLiteral("long.mp4"));
    ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("long.mp4")), input));
    TTestProcess cli;
    ASSERT_TRUE(cli.Start(Cli, {QStringLiteral("convert"), QStringLiteral("--profile"),
                                SlowProfile(dir), input, MediaFile(QStringLiteral("long.mp4"))}));
    cli.WaitForOutput([](const QByteArray& out) { return out.contains('%'); }, 20000);
    const QList<pid_t> encoders = ChildrenOf(cli.Pid());
    ASSERT_FALSE(encoders.isEmpty());
    cli.Kill(); // no chance to clean up
    cli.WaitForFinished(10000);
    for (const pid_t pid : encoders) {
        // Gone, or at most a zombie nobody has collected yet, within two seconds each.
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            ended = !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
            if (!ended)
                QThread::msleep(20);
        }
        EXPECT_TRUE(ended) << "encoder " << pid << " still runs";
    }
}

TEST(Cli, ConvertSeveralAtOnce) {
    TScratchDir dir;
    QStringList inputs;
    for (const char* name : {"a.flv", "b.flv", "c.flv"}) {
        const QString path = dir.Path(QString::fromUtf8(name));
        ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("clip.flv")), path));
        inputs.append(path);
    }
    const TProcessResult r = RunCli(
        QStringList{QStringLiteral("convert"), QStringLiteral("--jobs"), QStringLiteral("2")} +
        inputs);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    for (const QString& in : inputs) {
        EXPECT_TRUE(r.Out.contains(in + QStringLiteral(": Done\n"))) << r.Out.toStdString();
        EXPECT_GT(QFileInfo(in.chopped(4) + QStringLiteral(".avi")).size(), 0);
    }
    for (const char* bad : {"0", "many", "-1"})
        EXPECT_EQ(RunCli({QStringLiteral("convert"), QStringLiteral("--jobs"),
                          QString::fromUtf8(bad), inputs.first()})
                      .ExitCode,
                  2)
            << bad;
}

TEST(Cli, AJobFileForGnuParallel) {
    TScratchDir dir;
    // Two files that map to one output, an awkward name, and two passes each.
    QStringList inputs;
    for (const char* name : {"clip.flv", "clip.mp4", "it's $x y.flv"}) {
        const QString path = dir.Path(QStringLiteral("in/") + QString::fromUtf8(name));
        QDir().mkpath(dir.Path(QStringLiteral("in")));
        ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("clip.flv")), path));
        inputs.append(path);
    }
    const QString profile = dir.Path(QStringLiteral("twopass.ini"));
    WriteFile(profile, "[AVI]\nVideo2Pass=1\n");
    const QString jobs = dir.Path(QStringLiteral("jobs.txt"));
    TProcessResult r = RunCli(QStringList{QStringLiteral("script"), QStringLiteral("--format"),
                                          QStringLiteral("parallel"), QStringLiteral("--profile"),
                                          profile, QStringLiteral("--output"), jobs} +
                              inputs);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = QString::fromUtf8(ReadFile(jobs)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3); // one line per file
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral("'\\''") + inputs.at(0)))
        << lines.at(0).toStdString();                                  // absolute and quoted
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("clip_001.avi"))); // no shared output
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral("-pass 1")) &&
                lines.at(0).contains(QStringLiteral("&& '\\''")));

    // GNU parallel runs it, two at once, from a folder of its own: no pass log is left anywhere.
    const QString work = dir.Path(QStringLiteral("work"));
    QDir().mkpath(work);
    TTestProcess parallel;
    ASSERT_TRUE(
        parallel.Start(QStringLiteral("parallel"),
                       {QStringLiteral("--will-cite"), QStringLiteral("-j"), QStringLiteral("2")},
                       {work, jobs, {}}))
        << "GNU parallel is not installed";
    ASSERT_TRUE(parallel.WaitForFinished(120000));
    EXPECT_EQ(parallel.ExitCode(), 0) << parallel.Err().toStdString();
    for (const char* out : {"clip.avi", "clip_001.avi", "it's $x y.avi"}) {
        const QString file = dir.Path(QStringLiteral("in/") + QString::fromUtf8(out));
        const TProcessResult probe =
            RunProgram(QStringLiteral("ffprobe"),
                       {QStringLiteral("-v"), QStringLiteral("error"),
                        QStringLiteral("-show_entries"), QStringLiteral("stream=codec_name"),
                        QStringLiteral("-of"), QStringLiteral("csv=p=0"), file});
        EXPECT_TRUE(probe.Out.startsWith(QStringLiteral("mpeg4"))) << out;
    }
    EXPECT_EQ(QDir(work).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    EXPECT_FALSE(QFileInfo::exists(dir.Path(QStringLiteral("in/ffmpeg2pass-0.log"))));
}

TEST(Cli, AFullDiskFailsThatFileWithItsReasonAndTheBatchGoesOn) {
    TScratchDir dir;
    const QString out = dir.Path(QStringLiteral("small"));
    const TSmallFileSystem mounted(out, QStringLiteral("200k"));
    if (!mounted.Error.isEmpty())
        GTEST_SKIP() << "no tmpfs here: " << mounted.Error.toStdString();
    const QString big = dir.Path(QStringLiteral("big.mp4"));
    const QString small = dir.Path(QStringLiteral("small.flv"));
    ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("long.mp4")), big));
    ASSERT_TRUE(QFile::copy(MediaFile(QStringLiteral("clip15.flv")), small));
    const TProcessResult r =
        RunCli({QStringLiteral("convert"), QStringLiteral("--jobs"), QStringLiteral("1"),
                QStringLiteral("--output-dir"), out, big, small});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Out.contains(big + QStringLiteral(": Error ("))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(small + QStringLiteral(": Done\n"))) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("No space left on device"))) << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/big.avi")));
    // The estimate told beforehand, and the batch went on.
    EXPECT_TRUE(r.Err.startsWith(QStringLiteral("Warning: The outputs in \"") + out +
                                 QStringLiteral("\" need about ")))
        << r.Err.toStdString();

    // Strict: nothing starts.
    QFile::remove(out + QStringLiteral("/small.avi"));
    const TProcessResult strict =
        RunCli({QStringLiteral("convert"), QStringLiteral("--space-check"),
                QStringLiteral("strict"), QStringLiteral("--output-dir"), out, big, small});
    EXPECT_EQ(strict.ExitCode, 1);
    EXPECT_TRUE(strict.Err.startsWith(QStringLiteral("Error: The outputs in")))
        << strict.Err.toStdString();
    EXPECT_TRUE(strict.Out.isEmpty()) << strict.Out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/small.avi")));
}

// A file the encoder cannot read says so in its line and in its error-log entry.
TEST(Cli, EveryFailureSaysWhy) {
    TScratchDir dir;
    const QString garbage = dir.Path(QStringLiteral("garbage.flv"));
    const QString empty = dir.Path(QStringLiteral("empty.flv"));
    const QString text = dir.Path(QStringLiteral("text.flv"));
    WriteFile(garbage, RandomBytes(4096, 3));
    WriteFile(empty, QByteArray());
    WriteFile(text, "This is a letter, not a video.\n");
    const TProcessResult r = RunCli({QStringLiteral("convert"), garbage, empty, text});
    EXPECT_EQ(r.ExitCode, 1);
    for (const QString& file : {garbage, empty, text}) {
        EXPECT_TRUE(
            r.Out.contains(file + QStringLiteral(": Error (1): Invalid data found when processing "
                                                 "input\n")))
            << r.Out.toStdString();
        EXPECT_TRUE(r.Err.contains(file + QStringLiteral(": Invalid data found"))) // the log
            << r.Err.toStdString();
    }
}
