// Whole batches with the real encoder on small generated files.

#include "TestSupport.h"
#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "encoding/BatchDriver.h"
#include "filelist/AnalysisCache.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// What a batch reported through its signals.
class TRecorder {
public:
    void Attach(TBatchEngine& engine) {
        Engine = &engine;
        QObject::connect(&engine, &TBatchEngine::JobStatus, &engine,
                         [this, &engine](int job, const QString& status) {
                             Statuses[engine.Job(job).Row] = status;
                         });
        QObject::connect(&engine, &TBatchEngine::Warning, &engine,
                         [this](const QString& text) { Warnings.append(text); });
        QObject::connect(&engine, &TBatchEngine::JobProgress, &engine, [this, &engine](int job) {
            const TBatchJob& j = engine.Job(job);
            MaxPercent = std::max(MaxPercent, j.Percent);
            StatusLines.append(j.Display.StatusHtml);
            if (OnProgress)
                OnProgress(job);
        });
        QObject::connect(&engine, &TBatchEngine::JobStarted, &engine, [this, &engine] {
            MaxRunning = std::max(MaxRunning, engine.RunningCount());
        });
        QObject::connect(&engine, &TBatchEngine::JobFinished, &engine, [this, &engine](int job) {
            const TBatchJob& j = engine.Job(job);
            Output = j.OutputLines.join(u'\n');
            Finished.append(j.Row);
        });
        QObject::connect(&engine, &TBatchEngine::BatchFinished, &engine,
                         [this](const TBatchResult& result) {
                             ErrorLogCaption = result.ErrorLogCaption;
                             if (result.AfterConversion == acCloseWindows)
                                 Actions = QStringList{u"power off"_s, u"close"_s};
                             else if (result.AfterConversion == acCloseApplication)
                                 Actions = QStringList{u"close"_s};
                         });
    }
    void Clear() {
        const auto keep = OnProgress;
        *this = TRecorder();
        OnProgress = keep;
    }

    std::function<void(int job)> OnProgress;
    TBatchEngine* Engine = nullptr;
    QHash<int, QString> Statuses;
    QStringList Warnings, StatusLines, Actions;
    QString Output, ErrorLogCaption;
    QList<int> Finished; // rows, in the order their files ended
    int MaxPercent = 0;
    int MaxRunning = 0;
};

struct TStreamFacts {
    QString Video, Audio;
    double Duration = 0;
    int Width = 0;
};

TStreamFacts Probe(const QString& file) {
    const TProcessResult r =
        RunProgram(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-show_entries"_s,
                                  u"stream=codec_type,codec_name,width:format=duration"_s, u"-of"_s,
                                  u"default=nw=1"_s, file});
    TStreamFacts facts;
    QString type;
    for (const QString& line : r.Out.split(u'\n')) {
        if (line.startsWith(u"codec_name="_s))
            type = line.mid(11);
        else if (line == u"codec_type=video")
            facts.Video = type;
        else if (line == u"codec_type=audio")
            facts.Audio = type;
        else if (line.startsWith(u"width="_s))
            facts.Width = line.mid(6).toInt();
        else if (line.startsWith(u"duration="_s))
            facts.Duration = line.mid(9).toDouble();
    }
    return facts;
}

class BatchTest : public ::testing::Test {
protected:
    BatchTest() {
        InitAppParams(Params, Dir.Path(u"app"_s));
        GetFFmpegExe(Params);
        GetMediaInfoDll(Params);
    }
    // A copy of a generated file in the test's folder, so outputs land there.
    QString Input(const QString& media, const QString& name = {}) {
        const QString path = Dir.Path(name.isEmpty() ? media : name);
        QFile::copy(MediaFile(media), path);
        return path;
    }
    TBatchResult Run(const QStringList& inputs, int atOnce = 1) {
        Rows.clear();
        for (const QString& in : inputs)
            Rows.append({in, true});
        View.Clear();
        TBatchEngine batch(Settings, Rows, Options, Params, Strings, Log);
        batch.ProcessorCount = 2;
        batch.SimultaneousConversions = atOnce;
        View.Attach(batch);
        const TBatchResult result = RunBatchToEnd(batch);
        LastJobs = batch.Jobs();
        LogDir = batch.LogDir();
        return result;
    }

    TScratchDir Dir;
    TAppParams Params;
    TAppStrings Strings;
    TEncoderSettings Settings = DefaultEncoderSettings(Strings);
    TBatchOptions Options;
    QList<TBatchRow> Rows;
    TRecorder View;
    TErrorLog Log;
    QList<TBatchJob> LastJobs;
    QString LogDir;
};

} // namespace

TEST_F(BatchTest, OnePassAviAndMpg) {
    const QString flv = Input(u"clip.flv"_s);
    const QString mp4 = Input(u"clip.mp4"_s);
    TBatchResult r = Run({flv, mp4});
    EXPECT_EQ(r.Converted, 2);
    EXPECT_EQ(View.Statuses.value(0), u"Done");
    EXPECT_EQ(View.Statuses.value(1), u"OK - Renamed"); // clip.avi was the first one's
    EXPECT_EQ(Probe(Dir.Path(u"clip_001.avi"_s)).Video, u"mpeg4");
    EXPECT_EQ(View.Finished.size(), 2);
    EXPECT_EQ(View.MaxPercent, 100);
    TStreamFacts f = Probe(Dir.Path(u"clip.avi"_s));
    EXPECT_EQ(f.Video, u"mpeg4");
    EXPECT_EQ(f.Audio, u"mp3");
    EXPECT_NEAR(f.Duration, 1.0, 0.15);

    Settings.Avi.VideoCodec = vcH264;
    Options.OutputExists = oeOverwrite;
    r = Run({mp4});
    EXPECT_EQ(View.Statuses.value(0), u"OK - Overwritten");
    EXPECT_EQ(Probe(Dir.Path(u"clip.avi"_s)).Video, u"h264");

    // The first use case: a 15 fps Flash Video to MPEG-1, and the DVD preset, and MPEG-2.
    const QString flv15 = Input(u"clip15.flv"_s);
    Settings = DefaultEncoderSettings(Strings);
    Settings.OutputFormat = TOutputFormat::MPG;
    Options.OutputExists = oeRename;
    r = Run({flv15});
    EXPECT_EQ(r.Converted, 1) << View.Output.toStdString();
    f = Probe(Dir.Path(u"clip15.mpg"_s));
    EXPECT_EQ(f.Video, u"mpeg1video");
    EXPECT_EQ(f.Audio, u"mp2");
    EXPECT_NEAR(f.Duration, 1.0, 0.2);
    Settings.Mpg.MPEGVersion = 1;
    r = Run({flv15});
    EXPECT_EQ(View.Statuses.value(0), u"OK - Renamed");
    EXPECT_EQ(Probe(Dir.Path(u"clip15_001.mpg"_s)).Video, u"mpeg2video");
    Settings.Mpg.VideoFormat = 0;
    r = Run({flv15});
    f = Probe(Dir.Path(u"clip15_002.mpg"_s));
    EXPECT_EQ(f.Video, u"mpeg2video");
    EXPECT_EQ(f.Audio, u"ac3");
}

TEST_F(BatchTest, TwoPassesUseTheWorkingFolderAndRemoveIt) {
    const QString mp4 = Input(u"clip.mp4"_s);
    for (const int codec : {int(vcXvid), int(vcH264)}) {
        Settings.Avi.VideoCodec = codec;
        Settings.Avi.Video2Pass = true;
        QString logDir;
        bool logsSeen = false;
        View.OnProgress = [&](int) {
            if (!Params.LogDir.isEmpty() &&
                QFileInfo::exists(Params.LogDir + u"/ffmpeg2pass-0.log"_s)) {
                logDir = Params.LogDir;
                logsSeen = true;
            }
        };
        Options.OutputExists = oeOverwrite;
        const TBatchResult r = Run({mp4});
        View.OnProgress = nullptr;
        EXPECT_EQ(r.Converted, 1) << View.Output.toStdString();
        EXPECT_EQ(LastJobs.at(0).CurrentPass, 2);
        EXPECT_TRUE(logsSeen) << "codec " << codec;
        EXPECT_TRUE(logDir.startsWith(QDir::tempPath() + u"/Ostrel_Zorvane_"_s));
        EXPECT_FALSE(QFileInfo::exists(logDir));
        EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"ffmpeg2pass-0.log"_s)));
        EXPECT_EQ(Probe(Dir.Path(u"clip.avi"_s)).Video, codec == vcH264 ? u"h264" : u"mpeg4");
    }
}

TEST_F(BatchTest, ExistingOutputs) {
    const QString flv = Input(u"clip.flv"_s);
    WriteFile(Dir.Path(u"clip.avi"_s), "keep me");
    Options.OutputExists = oeSkip;
    TBatchResult r = Run({flv});
    EXPECT_EQ(r.Skipped, 1);
    EXPECT_EQ(View.Statuses.value(0), u"Skipped");
    EXPECT_EQ(ReadFile(Dir.Path(u"clip.avi"_s)), "keep me");

    // An AVI input into its own folder is always renamed, never overwritten.
    const QString avi = Dir.Path(u"movie.avi"_s);
    QFile::copy(Dir.Path(u"clip.avi"_s), avi);
    const QByteArray original = ReadFile(avi);
    Options.OutputExists = oeOverwrite;
    WriteFile(avi, ReadFile(MediaFile(u"odd.avi"_s)));
    const QByteArray input = ReadFile(avi);
    r = Run({avi});
    EXPECT_EQ(View.Statuses.value(0), u"OK - Renamed");
    EXPECT_EQ(ReadFile(avi), input);
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"movie_001.avi"_s)));
    (void)original;

    // Into another folder, created on the way.
    Options.OutDirIsInDir = false;
    Options.OutDir = Dir.Path(u"out/deeper"_s);
    r = Run({flv});
    EXPECT_EQ(View.Statuses.value(0), u"Done");
    EXPECT_EQ(Probe(Dir.Path(u"out/deeper/clip.avi"_s)).Audio, u"mp3");
}

TEST_F(BatchTest, TheInputUnderAnotherNameIsNeverOverwritten) {
    const QString avi = Dir.Path(u"movie.avi"_s);
    WriteFile(avi, ReadFile(MediaFile(u"odd.avi"_s)));
    const QByteArray input = ReadFile(avi);
    ASSERT_TRUE(QFile::link(Dir.Root(), Dir.Path(u"same"_s)));
    Options.OutDirIsInDir = false;
    Options.OutDir = Dir.Path(u"same"_s); // the input's folder under another name
    Options.OutputExists = oeOverwrite;
    Run({avi});
    EXPECT_EQ(View.Statuses.value(0), u"OK - Renamed");
    EXPECT_EQ(ReadFile(avi), input);
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"movie_001.avi"_s)));
}

TEST_F(BatchTest, AFailedRunLeavesNoOutputOfItsOwn) {
    // Damaged frames in the middle, and an encoder told to stop at the first error: it has
    // written the file's header and some frames by then.
    QByteArray bytes = ReadFile(MediaFile(u"clip.mp4"_s));
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 4000 && i < bytes.size(); ++i)
        bytes[i] = 0x55;
    const QString damaged = Dir.Path(u"damaged.mp4"_s);
    WriteFile(damaged, bytes);
    Settings.Advanced.AdditionalParams = {u"-xerror"_s};
    const TBatchResult r = Run({damaged});
    EXPECT_EQ(r.Failed, 1);
    EXPECT_TRUE(View.Statuses.value(0).startsWith(u"Error"_s));
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"damaged.avi"_s)));

    // A file that was there before the run is not the run's to remove.
    WriteFile(Dir.Path(u"damaged.avi"_s), "older");
    Options.OutputExists = oeRename;
    Run({damaged});
    EXPECT_EQ(ReadFile(Dir.Path(u"damaged.avi"_s)), "older");
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"damaged_001.avi"_s)));
}

TEST_F(BatchTest, FailuresAreLoggedAndTheBatchGoesOn) {
    const QString flv = Input(u"clip.flv"_s);
    const QString mp4 = Input(u"clip.mp4"_s);
    Settings.Advanced.AdditionalParams = {u"-no_such_option 1"_s};
    TBatchResult r = Run({flv, mp4});
    EXPECT_EQ(r.Failed, 2);
    EXPECT_TRUE(View.Statuses.value(0).startsWith(u"Error ("_s))
        << View.Statuses.value(0).toStdString();
    EXPECT_EQ(Log.ErrorCount, 2);
    EXPECT_EQ(Log.Text().filter(u"Error # "_s).size(), 2);
    EXPECT_TRUE(Log.Text().contains(u"Input file: "_s + mp4));
    EXPECT_EQ(View.ErrorLogCaption, u"Errors (2)");
    // The encoder's own reason, which the filter of its output keeps out of sight.
    EXPECT_TRUE(Log.Text().join(u'\n').contains(u"no_such_option"_s))
        << Log.Text().join(u'\n').toStdString();
    EXPECT_TRUE(LastJobs.at(0).Reason.contains(u"no_such_option"_s))
        << LastJobs.at(0).Reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"clip.avi"_s))); // no empty output remains
    Options.AfterConversion = acCloseWindows;
    r = Run({flv});
    EXPECT_EQ(Log.ErrorCount, 1); // a new batch numbers from 1
    EXPECT_TRUE(View.Actions.isEmpty());

    // A failed first pass stops the second.
    Settings.Avi.Video2Pass = true;
    r = Run({flv});
    EXPECT_EQ(LastJobs.at(0).CurrentPass, 1);
    EXPECT_EQ(Log.ErrorCount, 1);

    // Without errors the after-conversion action runs.
    Settings = DefaultEncoderSettings(Strings);
    r = Run({flv});
    EXPECT_EQ(View.Actions, QStringList({u"power off"_s, u"close"_s}));
}

// A download cut off halfway: the index promises 20 s, the media data holds about half. The
// encoder converts what is there and ends with 0; the batch must not call that a success.
TEST_F(BatchTest, AnOutputShorterThanItsInputFails) {
    const QString whole = Input(u"faststart.mp4"_s, u"whole.mp4"_s);
    const QString cut = Dir.Path(u"cut.mp4"_s);
    const QByteArray bytes = ReadFile(whole);
    WriteFile(cut, bytes.left(bytes.size() / 2));

    TBatchResult r = Run({whole, cut});
    EXPECT_EQ(r.Converted, 1);
    EXPECT_EQ(r.Failed, 1);
    EXPECT_EQ(View.Statuses.value(0), Strings.Main.Done);
    EXPECT_EQ(View.Statuses.value(1), Strings.Main.Error);
    ASSERT_EQ(Log.ErrorCount, 1);
    const QString text = Log.Text().join(u'\n');
    EXPECT_TRUE(text.contains(u"Input file: "_s + cut));
    EXPECT_TRUE(text.contains(u", the input 20.0 s."_s)) << text.toStdString();
    EXPECT_GT(Probe(Dir.Path(u"cut.avi"_s)).Duration, 0); // kept for the user to judge
    EXPECT_LT(Probe(Dir.Path(u"cut.avi"_s)).Duration, 15);

    // Options that cut the output on purpose leave its duration unchecked; the streams still are.
    Settings.Advanced.AdditionalParams = {u"-t 3"_s};
    Options.OutputExists = oeOverwrite;
    r = Run({whole});
    EXPECT_EQ(r.Converted, 1);
}

TEST(OutputCheck, WhatTheOutputMustHold) {
    const TAppStrings strings;
    TVideoFileInfo input;
    input.NumberOfVideoStreams = 1;
    input.NumberOfAudioStreams = 1;
    input.Duration = 60000;
    TEncoderSettings settings = DefaultEncoderSettings(strings);
    TOutputExpectation expected = ExpectedOutput(settings, input);
    EXPECT_TRUE(expected.Video && expected.Audio);
    EXPECT_EQ(expected.Seconds, 60);

    const auto differences = [&](int video, int audio, double ms) {
        TVideoFileInfo output;
        output.NumberOfVideoStreams = uint8_t(video);
        output.NumberOfAudioStreams = uint8_t(audio);
        output.Duration = ms;
        return OutputDifferences(expected, output, strings);
    };
    EXPECT_TRUE(differences(1, 1, 58900).isEmpty()); // within 2 % of a minute
    EXPECT_EQ(differences(1, 1, 58700),
              QStringList{u"The output lasts 58.7 s, the input 60.0 s."_s});
    EXPECT_EQ(differences(0, 1, 60000), QStringList{strings.Main.OutputNoVideo});
    EXPECT_EQ(differences(1, 0, 60000), QStringList{strings.Main.OutputNoAudio});
    input.Duration = 5000; // a short input: a second either way
    expected = ExpectedOutput(settings, input);
    EXPECT_TRUE(differences(1, 1, 4000).isEmpty());
    EXPECT_EQ(differences(1, 1, 3900).size(), 1);

    settings.Audio.DoNotCopyAudio = true; // no audio asked for, none missed
    settings.Advanced.AdditionalParams = {u"-ss 2 -vf hflip"_s};
    expected = ExpectedOutput(settings, input);
    EXPECT_FALSE(expected.Audio);
    EXPECT_EQ(expected.Seconds, 0);
    EXPECT_TRUE(differences(1, 0, 1000).isEmpty());
}

TEST_F(BatchTest, RejectedValueStopsBeforeRunning) {
    const QString flv = Input(u"clip.flv"_s);
    Settings.Avi.VideoBitrate = u"fast"_s;
    Options.ScriptFileName = Dir.Path(u"never.bat"_s);
    const TBatchResult r = Run({flv});
    EXPECT_TRUE(r.StoppedEarly);
    EXPECT_EQ(View.Warnings,
              QStringList{u"Video bitrate: fast\r\nBitrate must be an integer value!"_s});
    EXPECT_FALSE(QFileInfo::exists(Options.ScriptFileName));
    EXPECT_EQ(View.Statuses.value(0), QString()); // a script shows no status
}

TEST_F(BatchTest, AbortStopsTheEncoderAndTheBatch) {
    const QString first = Input(u"long.mp4"_s);
    const QString second = Input(u"clip.flv"_s);
    // Large frames keep the encoder at work when Abort comes, however fast the machine, and it
    // holds back no frames it would have to finish first.
    Settings.Advanced.AdditionalParams = {u"-vf scale=1920:1080"_s};
    QElapsedTimer sinceAbort;
    View.OnProgress = [&](int) {
        if (!sinceAbort.isValid() && View.MaxPercent > 0 && View.Engine->Abort())
            sinceAbort.start();
    };
    const TBatchResult r = Run({first, second});
    ASSERT_TRUE(sinceAbort.isValid());
    EXPECT_LT(sinceAbort.elapsed(), 3000);
    EXPECT_TRUE(r.Aborted);
    EXPECT_EQ(View.Statuses.value(0), u"Aborted");
    EXPECT_FALSE(View.Statuses.contains(1)); // nothing else was converted
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"clip.avi"_s)));
    const QFileInfo out(Dir.Path(u"long.avi"_s));
    EXPECT_TRUE(!out.exists() || out.size() > 0);
    EXPECT_FALSE(r.Terminated); // "q" was enough
}

TEST_F(BatchTest, EncoderThatIgnoresStopIsTerminated) {
    const QString first = Input(u"long.mp4"_s);
    // "q" no longer reaches it, and it works slowly enough to outlast the grace period.
    Settings.Advanced.AdditionalParams = {u"-nostdin -preset:v veryslow"_s};
    Settings.Avi.VideoCodec = vcH264;
    QElapsedTimer sinceAbort;
    View.OnProgress = [&](int) {
        if (!sinceAbort.isValid() && View.MaxPercent > 0 && View.Engine->Abort())
            sinceAbort.start();
    };
    const TBatchResult r = Run({first});
    ASSERT_TRUE(sinceAbort.isValid());
    EXPECT_LT(sinceAbort.elapsed(), 3000);
    EXPECT_TRUE(r.Terminated);
    EXPECT_TRUE(r.Aborted);
    EXPECT_EQ(View.Statuses.value(0), u"Aborted");
    EXPECT_TRUE(View.ErrorLogCaption.isEmpty()); // a terminated encoder opens no error log
    // What the killed encoder left is no finished file.
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"long.avi"_s)));
    EXPECT_EQ(ChildrenOf(::getpid()), QList<pid_t>()); // nothing left behind
}

TEST_F(BatchTest, KeepDates) {
    const QString flv = Input(u"clip.flv"_s);
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
    Platform::TFileDates dates;
    dates.Read = true;
    dates.LastAccess = dates.LastWrite = old;
    ASSERT_TRUE(Platform::SetFileDates(flv, dates));
    Options.KeepFileDates = true;
    Run({flv});
    EXPECT_EQ(QFileInfo(Dir.Path(u"clip.avi"_s)).lastModified(), old);
    EXPECT_TRUE(Params.KeepFileDates);
}

TEST_F(BatchTest, AwkwardNamesConvertAndTheirShellScriptDoesTheSame) {
    QStringList inputs;
    for (const QString& name :
         {u"with blanks.flv"_s, u"q\"uote's.flv"_s, u"$HOME%PATH%.flv"_s, u"`touch PWNED`.flv"_s,
          u"-dash.flv"_s, u"co:lon.flv"_s, u"\u00fcml\u00e4ut \u65e5\u672c.flv"_s})
        inputs.append(Input(u"clip.flv"_s, name));
    TBatchResult r = Run(inputs);
    EXPECT_EQ(r.Converted, inputs.size()) << View.Output.toStdString();
    QStringList outputs;
    for (const QString& in : inputs) {
        const QString out = in.chopped(4) + u".avi"_s;
        EXPECT_EQ(Probe(out).Audio, u"mp3") << out.toStdString();
        outputs.append(out);
    }
    for (const QString& out : outputs)
        QFile::remove(out);

    // The same work as a shell script, run by sh.
    Options.ScriptFileName = Dir.Path(u"convert.sh"_s);
    r = Run(inputs);
    EXPECT_FALSE(r.StoppedEarly);
    for (const QString& out : outputs)
        EXPECT_FALSE(QFileInfo::exists(out)); // writing a script converts nothing
    const TProcessResult sh = RunProgram(u"sh"_s, {Options.ScriptFileName}, Dir.Root());
    EXPECT_EQ(sh.ExitCode, 0) << sh.Err.toStdString();
    for (const QString& out : outputs)
        EXPECT_EQ(Probe(out).Audio, u"mp3") << out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"PWNED"_s)));

    // A batch file can not carry a name with a double quote: refused, with the reason.
    Options.ScriptFileName = Dir.Path(u"convert.bat"_s);
    r = Run(inputs);
    EXPECT_TRUE(r.StoppedEarly);
    ASSERT_FALSE(View.Warnings.isEmpty());
    EXPECT_TRUE(View.Warnings.last().contains(u"double quote"_s));
    EXPECT_FALSE(QFileInfo::exists(Options.ScriptFileName));
}

TEST_F(BatchTest, BatchFileLayout) {
    const QString flv = Input(u"clip.flv"_s);
    const QString mp4 = Input(u"clip.mp4"_s);
    WriteFile(Dir.Path(u"clip.avi"_s), "exists");
    Options.OutputExists = oeSkip;
    Options.ScriptFileName = Dir.Path(u"convert.bat"_s);
    const TBatchResult r = Run({flv, mp4});
    EXPECT_EQ(r.Skipped, 2);
    QFile::remove(Dir.Path(u"clip.avi"_s));
    Run({flv, Input(u"clip.mkv"_s)});
    const QString text = QString::fromUtf8(ReadFile(Options.ScriptFileName));
    const QStringList lines = text.split(u"\r\n"_s);
    EXPECT_EQ(lines.at(0), u"@echo off");
    EXPECT_EQ(lines.at(2), u"set ffmpeg=\""_s + Params.ffmpeg + u'"');
    EXPECT_EQ(lines.at(3), u"set VCodec=-c:v libxvid");
    EXPECT_EQ(lines.at(4), u"set ACodec=-c:a libmp3lame");
    EXPECT_EQ(lines.at(7), u"");
    EXPECT_EQ(lines.at(8),
              u"rem ///////////////////////////////// file 1 /////////////////////////////////");
    EXPECT_TRUE(lines.at(9).startsWith(u"set VParams=-b:v "_s));
    EXPECT_EQ(lines.at(11),
              u"%ffmpeg% -y -i \""_s + flv +
                  u"\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% %AddParams% \""_s +
                  Dir.Path(u"clip.avi"_s) + u'"');
    EXPECT_TRUE(text.contains(u"rem ///////////////////////////////// file 2 "_s));
    EXPECT_TRUE(text.endsWith(u"\r\n\r\npause\r\n"_s));
}

// Several files at once.

TEST_F(BatchTest, TwoAtOnceBothFinish) {
    const QString a = Input(u"clip.flv"_s, u"a.flv"_s);
    const QString b = Input(u"clip.mp4"_s, u"b.mp4"_s);
    const QString c = Input(u"clip15.flv"_s, u"c.flv"_s);
    const TBatchResult r = Run({a, b, c}, 2);
    EXPECT_EQ(r.Converted, 3) << View.Output.toStdString();
    EXPECT_EQ(View.MaxRunning, 2);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(View.Statuses.value(row), u"Done");
    EXPECT_EQ(Probe(Dir.Path(u"b.avi"_s)).Width, 640);
    EXPECT_NEAR(Probe(Dir.Path(u"c.avi"_s)).Duration, 1.0, 0.2);
    EXPECT_TRUE(View.ErrorLogCaption.isEmpty());
}

TEST_F(BatchTest, OneFailsTheOthersGoOnAndTheLogKeepsTheListsOrder) {
    // The first file fails late (damage near its end, and an encoder told to stop at the first
    // error), the second at once: the log still lists the first one first.
    QByteArray bytes = ReadFile(MediaFile(u"long.mp4"_s));
    for (qsizetype i = bytes.size() * 7 / 10; i < bytes.size() * 7 / 10 + 20000; ++i)
        bytes[i] = 0x55;
    const QString late = Dir.Path(u"late.mp4"_s);
    WriteFile(late, bytes);
    const QString garbage = Dir.Path(u"garbage.flv"_s);
    WriteFile(garbage, RandomBytes(4000, 3));
    const QString good = Input(u"clip.flv"_s, u"good.flv"_s);
    Settings.Advanced.AdditionalParams = {u"-xerror"_s};
    Options.AfterConversion = acCloseApplication;
    const TBatchResult r = Run({late, garbage, good}, 2);
    EXPECT_EQ(r.Failed, 2);
    EXPECT_EQ(r.Converted, 1);
    EXPECT_TRUE(View.Statuses.value(0).startsWith(u"Error ("_s))
        << View.Statuses.value(0).toStdString();
    EXPECT_TRUE(View.Statuses.value(1).startsWith(u"Error ("_s))
        << View.Statuses.value(1).toStdString();
    EXPECT_EQ(View.Statuses.value(2), u"Done");
    ASSERT_EQ(View.Finished.size(), 3);
    EXPECT_EQ(View.Finished.last(), 0); // the damaged file ended last
    EXPECT_EQ(Log.Text().filter(u"Input file: "_s),
              QStringList({u"Input file: "_s + late, u"Input file: "_s + garbage}));
    EXPECT_EQ(Log.Text().filter(u"Error # "_s), QStringList({u"Error # 1"_s, u"Error # 2"_s}));
    EXPECT_EQ(View.ErrorLogCaption, u"Errors (2)");
    EXPECT_TRUE(View.Actions.isEmpty()); // not after errors
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"garbage.avi"_s)));
    EXPECT_GT(QFileInfo(Dir.Path(u"good.avi"_s)).size(), 0);
}

TEST_F(BatchTest, FilesAtOnceNeverShareAnOutput) {
    const QString flv = Input(u"clip.flv"_s, u"a.flv"_s);
    const QString mp4 = Input(u"clip.mp4"_s, u"a.mp4"_s);
    // Rename: two names, decided before the encoders start.
    TBatchResult r = Run({flv, mp4}, 2);
    EXPECT_EQ(r.Converted, 2);
    EXPECT_EQ(View.Statuses.value(0), u"Done");
    EXPECT_EQ(View.Statuses.value(1), u"OK - Renamed");
    EXPECT_EQ(Probe(Dir.Path(u"a.avi"_s)).Width, 320);
    EXPECT_EQ(Probe(Dir.Path(u"a_001.avi"_s)).Width, 640);
    QFile::remove(Dir.Path(u"a.avi"_s));
    QFile::remove(Dir.Path(u"a_001.avi"_s));

    // Overwrite: the second writes over the first's output, after it, never beside it.
    Options.OutputExists = oeOverwrite;
    r = Run({flv, mp4}, 2);
    EXPECT_EQ(r.Converted, 2);
    EXPECT_EQ(View.MaxRunning, 1);
    EXPECT_EQ(View.Statuses.value(1), u"OK - Overwritten");
    EXPECT_EQ(Probe(Dir.Path(u"a.avi"_s)).Width, 640);
    QFile::remove(Dir.Path(u"a.avi"_s));

    // Skip: the second is skipped, as it would be after the first had written its output.
    Options.OutputExists = oeSkip;
    r = Run({flv, mp4}, 2);
    EXPECT_EQ(r.Converted, 1);
    EXPECT_EQ(r.Skipped, 1);
    EXPECT_EQ(View.Statuses.value(1), u"Skipped");

    // An input of the batch is never written over, whatever the choice.
    const QString avi = Dir.Path(u"a.avi"_s);
    const QByteArray before = ReadFile(avi);
    Options.OutputExists = oeOverwrite;
    r = Run({flv, avi}, 2);
    EXPECT_EQ(r.Converted, 2) << View.Output.toStdString();
    EXPECT_EQ(View.Statuses.value(0), u"OK - Renamed");
    EXPECT_EQ(View.Statuses.value(1), u"OK - Renamed");
    EXPECT_EQ(ReadFile(avi), before);
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"a_001.avi"_s)));
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"a_002.avi"_s)));
}

TEST_F(BatchTest, AbortStopsEveryRunningFile) {
    const QString a = Input(u"long.mp4"_s, u"a.mp4"_s);
    const QString b = Input(u"long.mp4"_s, u"b.mp4"_s);
    const QString c = Input(u"clip.flv"_s, u"c.flv"_s);
    Settings.Advanced.AdditionalParams = {u"-vf scale=1920:1080"_s};
    QElapsedTimer sinceAbort;
    QSet<int> started;
    View.OnProgress = [&](int job) {
        if (View.Engine->Job(job).Percent > 0)
            started.insert(job);
        if (!sinceAbort.isValid() && started.size() == 2 && View.Engine->Abort())
            sinceAbort.start();
    };
    const TBatchResult r = Run({a, b, c}, 2);
    ASSERT_TRUE(sinceAbort.isValid());
    EXPECT_LT(sinceAbort.elapsed(), 3000);
    EXPECT_TRUE(r.Aborted);
    EXPECT_EQ(View.Statuses.value(0), u"Aborted");
    EXPECT_EQ(View.Statuses.value(1), u"Aborted");
    EXPECT_FALSE(View.Statuses.contains(2));
    EXPECT_EQ(ChildrenOf(::getpid()), QList<pid_t>());
    EXPECT_TRUE(View.Actions.isEmpty());
}

TEST_F(BatchTest, TwoPassFilesAtOnceEachKeepTheirOwnPassLog) {
    const QString a = Input(u"clip.mp4"_s, u"a.mp4"_s);
    const QString b = Input(u"clip640.flv"_s, u"b.flv"_s);
    Settings.Avi.Video2Pass = true;
    QSet<QString> logs;
    View.OnProgress = [&](int) {
        for (const QString& sub : {u"1"_s, u"2"_s})
            if (QFileInfo::exists(Params.LogDir + u'/' + sub + u"/ffmpeg2pass-0.log"_s))
                logs.insert(sub);
    };
    const TBatchResult r = Run({a, b}, 2);
    EXPECT_EQ(r.Converted, 2) << View.Output.toStdString();
    EXPECT_EQ(View.MaxRunning, 2);
    EXPECT_EQ(logs, QSet<QString>({u"1"_s, u"2"_s}));
    EXPECT_FALSE(QFileInfo::exists(LogDir));
    EXPECT_EQ(Probe(Dir.Path(u"a.avi"_s)).Video, u"mpeg4");
    EXPECT_EQ(Probe(Dir.Path(u"b.avi"_s)).Video, u"mpeg4");
}

TEST(BatchEngine, AutoMeansOnePerCoreUpToFour) {
    EXPECT_EQ(AutoSimultaneousConversions(1), 1);
    EXPECT_EQ(AutoSimultaneousConversions(2), 2);
    EXPECT_EQ(AutoSimultaneousConversions(4), 4);
    EXPECT_EQ(AutoSimultaneousConversions(16), 4);
    EXPECT_EQ(SimultaneousConversionsFor(0, 1), 1);
    EXPECT_EQ(SimultaneousConversionsFor(3, 2), 2); // a setting from a larger machine
    EXPECT_EQ(SimultaneousConversionsFor(1, 8), 1);
}

// Real faults while a batch runs: each file that meets one fails with the reason in the error log,
// and the batch goes on.

TEST_F(BatchTest, TheEncoderGoneBeforeAFileStartsFailsThatFile) {
    // A copy of the real encoder in the program's tools folder, removed once the first file runs.
    const QString encoder = Params.ToolsDir + u'/' + FFmpegToolFile();
    QDir().mkpath(QFileInfo(encoder).absolutePath());
    ASSERT_TRUE(QFile::copy(SystemFFmpeg(), encoder));
    QFile::setPermissions(encoder, QFile::permissions(encoder) | QFile::ExeOwner);
    Params.ffmpeg = encoder;
    const QString first = Input(u"long.mp4"_s, u"first.mp4"_s);
    const QString second = Input(u"clip.flv"_s, u"second.flv"_s);
    View.OnProgress = [&](int) { QFile::remove(encoder); };
    const TBatchResult r = Run({first, second});
    EXPECT_EQ(r.Converted, 1);
    EXPECT_EQ(r.Failed, 1);
    EXPECT_EQ(View.Statuses.value(1), u"Error (2)");
    const QString log = Log.Text().join(u'\n');
    EXPECT_TRUE(log.contains(u"No such file or directory"_s)) << log.toStdString();
    EXPECT_TRUE(log.contains(encoder)) << log.toStdString();
    EXPECT_EQ(View.ErrorLogCaption, u"Errors (1)");
}

TEST_F(BatchTest, AnInputOrTheOutputFolderGoneDuringABatch) {
    const QString first = Input(u"long.mp4"_s, u"first.mp4"_s);
    const QString gone = Input(u"clip.flv"_s, u"gone.flv"_s);
    const QString third = Input(u"clip.mp4"_s, u"third.mp4"_s);
    Options.OutDirIsInDir = false;
    Options.OutDir = Dir.Path(u"out"_s);
    // While the first file converts its output folder is removed, and the second input too.
    bool removed = false;
    View.OnProgress = [&](int job) {
        if (removed || job != 0 || View.Engine->Job(0).Percent < 5)
            return;
        removed = QDir(Options.OutDir).removeRecursively() && QFile::remove(gone);
    };
    const TBatchResult r = Run({first, gone, third});
    ASSERT_TRUE(removed);
    EXPECT_EQ(View.Statuses.value(0), u"Error"); // its output went with the folder
    EXPECT_TRUE(View.Statuses.value(1).startsWith(u"Error ("_s))
        << View.Statuses.value(1).toStdString();
    EXPECT_EQ(View.Statuses.value(2), u"Done"); // the folder is made again
    EXPECT_EQ(r.Failed, 2);
    const QString log = Log.Text().join(u'\n');
    EXPECT_TRUE(log.contains(u"output file is gone"_s)) << log.toStdString();
    EXPECT_TRUE(log.contains(u"No such file or directory"_s)) << log.toStdString();
    EXPECT_GT(QFileInfo(Dir.Path(u"out/third.avi"_s)).size(), 0);
}

TEST_F(BatchTest, AFullDiskFailsThatFileAndTheNextOneConverts) {
    const QString out = Dir.Path(u"small"_s);
    QDir().mkpath(out);
    const TSmallFileSystem mounted(out, u"200k"_s);
    if (!mounted.Error.isEmpty())
        GTEST_SKIP() << "no tmpfs here: " << mounted.Error.toStdString();
    const QString big = Input(u"long.mp4"_s, u"big.mp4"_s);
    const QString small = Input(u"clip15.flv"_s, u"small.flv"_s);
    Options.OutDirIsInDir = false;
    Options.OutDir = out;
    const TBatchResult r = Run({big, small});
    EXPECT_EQ(r.Failed, 1);
    EXPECT_EQ(r.Converted, 1);
    EXPECT_TRUE(View.Statuses.value(0).startsWith(u"Error"_s))
        << View.Statuses.value(0).toStdString();
    EXPECT_EQ(View.Statuses.value(1), u"Done");
    EXPECT_TRUE(Log.Text().join(u'\n').contains(u"No space left on device"_s))
        << Log.Text().join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + u"/big.avi"_s)); // the partial output is removed
    EXPECT_GT(QFileInfo(out + u"/small.avi"_s).size(), 0);
}

TEST(SizeEstimate, FromTheCommandLinesRates) {
    const TAppStrings strings;
    TEncoderSettings settings = DefaultEncoderSettings(strings);
    TVideoFileInfo input;
    input.Duration = 10000; // 10 s
    input.NumberOfVideoStreams = 1;
    input.NumberOfAudioStreams = 1;
    input.VideoStreams[0].Bitrate = 2000;
    input.AudioStreams[0].Bitrate = 96;
    input.AudioStreams[0].SamplingRate = 48000;
    input.AudioStreams[0].Channels = 2;
    const qint64 container = 32 * 1024;
    // kbit/s of video and audio over 10 s, 2 % for the container.
    const auto bytes = [&](double kbit) { return qint64(kbit * 1000 / 8 * 10 * 1.02) + container; };
    const struct {
        const char* VCodec;
        const char* VParams;
        const char* ACodec;
        const char* AParams;
        int AudioCodec;
        qint64 Expected;
    } cases[] = {
        {"-c:v libxvid", " -b:v 800k -r 25.000", "-c:a libmp3lame", " -b:a 128k -async 1", acAuto,
         bytes(928)},
        {"-c:v copy", "", "-c:a copy", " -async 1", acCopy, bytes(2096)},
        {"-vn", "", "-c:a libmp3lame", " -b:a 192k", acAuto, bytes(192)},
        {"-c:v libxvid", " -b:v 500k", "-an", "", acAuto, bytes(500)},
        {"-target pal-dvd", "", "", "", acAuto, bytes(6448)},
        {"-c:v libxvid", " -b:v 500k", "-c:a pcm_s16le", " -ar 22050 -ac 1", acPcm,
         bytes(500 + 352.8)},
    };
    for (const auto& c : cases) {
        TArgumentPieces pieces;
        pieces.VCodec = QString::fromLatin1(c.VCodec);
        pieces.VParams = QString::fromLatin1(c.VParams);
        pieces.ACodec = QString::fromLatin1(c.ACodec);
        pieces.AParams = QString::fromLatin1(c.AParams);
        settings.Audio.AudioCodec = c.AudioCodec;
        EXPECT_EQ(EstimateOutputBytes(settings, input, pieces), c.Expected) << c.VCodec << c.ACodec;
    }
    input.Duration = 0; // an unknown duration gives no estimate
    EXPECT_EQ(EstimateOutputBytes(settings, input, TArgumentPieces{}), 0);
}

// The estimate of a real conversion lands near the size it makes (default AVI settings, "Auto"
// bit rates as the builder picks them).
TEST_F(BatchTest, TheEstimateIsNearTheRealSize) {
    const QString input = Input(u"long.mp4"_s);
    TAnalysisCache cache;
    TVideoFileInfo info;
    GetVideoFileInfoCached(cache, input, Params.ffmpeg, Params.MediaInfoDll, info);
    const qint64 estimate = EstimateOutputBytes(Settings, info, TBuilderEnvironment{}, Strings);
    ASSERT_EQ(Run({input}).Converted, 1);
    const qint64 real = QFileInfo(Dir.Path(u"long.avi"_s)).size();
    EXPECT_GT(estimate, real * 0.6) << estimate << " for " << real;
    EXPECT_LT(estimate, real * 1.5) << estimate << " for " << real;
}

TEST_F(BatchTest, OutputsLargerThanTheFreeSpaceAreFound) {
    const QString small = Dir.Path(u"small"_s);
    const TSmallFileSystem mounted(small, u"4m"_s);
    if (!mounted.Error.isEmpty())
        GTEST_SKIP() << "no tmpfs here: " << mounted.Error.toStdString();
    const qint64 mib = 1024 * 1024;
    // Two folders of one file system (one still to be made) share its free space.
    QList<TSpaceShortage> shortages = SpaceShortages(
        {{small, 3 * mib}, {small + u"/later/deeper"_s, 2 * mib}, {Dir.Path(u"elsewhere"_s), mib}});
    ASSERT_EQ(shortages.size(), 1);
    EXPECT_EQ(shortages.at(0).Folder, small);
    EXPECT_EQ(shortages.at(0).Needed, 5 * mib);
    EXPECT_LE(shortages.at(0).Free, 4 * mib);
    EXPECT_EQ(SpaceShortageText(shortages.at(0), Strings),
              u"The outputs in \""_s + small + u"\" need about 5.00 MB.\r\nOnly "_s +
                  GetFileSizeString(shortages.at(0).Free) + u" are free there."_s);
    EXPECT_TRUE(SpaceShortages({{small, 3 * mib}}).isEmpty());

    // The batch's own plan: the checked rows' outputs where the options put them.
    const QString input = Input(u"long.mp4"_s);
    TAnalysisCache cache;
    TVideoFileInfo info;
    GetVideoFileInfoCached(cache, input, Params.ffmpeg, Params.MediaInfoDll, info);
    Options.OutDirIsInDir = false;
    Options.OutDir = small;
    const QList<TPlannedOutput> planned =
        PlanOutputSizes({{input, true}, {input, false}}, Options, Settings, {}, Strings,
                        [&](const QString& path) { return cache.Find(path); });
    ASSERT_EQ(planned.size(), 1);
    EXPECT_EQ(planned.at(0).Folder, small);
    EXPECT_GT(planned.at(0).Bytes, 100 * 1024);
}
