// The analysis of real files made by the real encoder, checked against what the mediainfo
// command says of the same files.

#include "TestSupport.h"
#include "filelist/FileInfoReport.h"
#include "filelist/MediaInfoDll.h"
#include "filelist/MediaInfoHelper.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TVideoFileInfo Analyse(const QString& file, const TProbeOptions& options = {}) {
    TVideoFileInfo info;
    GetVideoFileInfo(file, SystemFFmpeg(), SystemMediaInfo(), info, options);
    return info;
}

// One template of the mediainfo command, such as "Video;%Width%|".
QStringList MediaInfoCli(const QString& file, const QString& inform) {
    const TProcessResult r =
        RunProgram(QStringLiteral("mediainfo"), {QStringLiteral("--Inform=") + inform, file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QStringList values = r.Out.trimmed().split(u'|');
    if (inform.endsWith(u'|')) // one entry per stream, each ended by "|"
        values.removeLast();
    return values;
}

int Kilo(const QString& bitsPerSecond) {
    return bitsPerSecond.toInt() / 1000;
}

// Everything the record and the mediainfo command both state agrees.
void ExpectAgreesWithMediaInfoCommand(const QString& file) {
    SCOPED_TRACE(file.toStdString());
    const TVideoFileInfo info = Analyse(file);
    const QStringList general = MediaInfoCli(
        file, u"General;%Format%|%Format/Info%|%OverallBitRate%|%VideoCount%|%AudioCount%|"
              "%TextCount%|%OtherCount%|%ImageCount%|%MenuCount%"_s);
    ASSERT_EQ(general.size(), 9) << general.join(u'|').toStdString();
    EXPECT_EQ(info.Format, general[0]);
    EXPECT_EQ(info.FormatInfo, general[1]);
    EXPECT_EQ(info.OverallBitrate, Kilo(general[2]));
    EXPECT_EQ(info.NumberOfVideoStreams, general[3].toInt());
    EXPECT_EQ(info.NumberOfAudioStreams, general[4].toInt());
    int all = 0;
    for (int i = 3; i < 9; ++i)
        all += general[i].toInt();
    EXPECT_EQ(info.NumberOfDataStreams, all);

    const QStringList video = MediaInfoCli(
        file, u"Video;%Format%:%Width%:%Height%:%FrameRate%:%ScanType/String%:%FrameCount%|"_s);
    for (qsizetype i = 0; i < video.size() && i < MaxVideoStreams; ++i) {
        const QStringList v = video[i].split(u':');
        const TVideoStreamInfo& s = info.VideoStreams[size_t(i)];
        EXPECT_TRUE(s.Codec.startsWith(v[0])) << s.Codec.toStdString();
        EXPECT_EQ(s.Width, v[1].toInt());
        EXPECT_EQ(s.Height, v[2].toInt());
        EXPECT_DOUBLE_EQ(s.FPS, v[3].toDouble());
        EXPECT_EQ(s.ScanType, v[4]);
        if (!v[5].isEmpty()) {
            EXPECT_EQ(s.Frames, v[5].toUInt());
        }
    }
    const QStringList audio = MediaInfoCli(
        file, u"Audio;%Format%:%SamplingRate%:%Channel(s)%:%Language/String%:%BitDepth%|"_s);
    for (qsizetype i = 0; i < audio.size() && i < MaxAudioStreams; ++i) {
        const QStringList a = audio[i].split(u':');
        const TAudioStreamInfoX& s = info.AudioStreams[size_t(i)];
        EXPECT_TRUE(s.Codec.startsWith(a[0])) << s.Codec.toStdString();
        EXPECT_EQ(s.SamplingRate, a[1].toInt());
        EXPECT_EQ(s.Channels, a[2].toInt());
        EXPECT_EQ(s.Language, a[3]);
        if (!a[4].isEmpty()) {
            EXPECT_EQ(s.BitsPerSample, a[4].toInt());
        }
    }
}

class MediaAnalysisTest : public ::testing::TestWithParam<QLocale::Language> {
protected:
    TLocaleScope Locale{QLocale(GetParam())};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Locales, MediaAnalysisTest,
                         ::testing::Values(QLocale::C, QLocale::German));

TEST_P(MediaAnalysisTest, AgreesWithTheMediaInfoCommand) {
    for (const char* name : {"clip.flv", "clip.mp4", "clip.mkv", "interlaced.ts", "odd.avi",
                             "audio.mp3", "audio.wav", "many.mkv"})
        ExpectAgreesWithMediaInfoCommand(MediaFile(QString::fromUtf8(name)));
}

TEST_P(MediaAnalysisTest, FlashVideo) {
    const QString file = MediaFile(u"clip.flv"_s);
    const TVideoFileInfo info = Analyse(file);
    EXPECT_EQ(info.FileName, file);
    EXPECT_EQ(info.FileSize, QFileInfo(file).size());
    EXPECT_EQ(info.DurationStr, u"00:00:01.02");
    EXPECT_EQ(info.Seconds, 1u);
    EXPECT_EQ(info.Format, u"Flash Video");
    const TVideoStreamInfo& v = info.VideoStreams[0];
    EXPECT_TRUE(v.Exists);
    EXPECT_EQ(v.Codec, u"Sorenson Spark");
    EXPECT_EQ(v.PixelFormat, u"yuv420p");
    EXPECT_EQ(v.StreamIndex, 1);
    EXPECT_DOUBLE_EQ(v.FPS, 25);
    EXPECT_GT(v.Bitrate, 0);
    EXPECT_GT(v.StreamSize, 0);
    const TAudioStreamInfoX& a = info.AudioStreams[0];
    EXPECT_EQ(a.Codec, u"MPEG Audio - Version 1 (MP3)");
    EXPECT_EQ(a.CodecFF, u"mp3");
    EXPECT_EQ(a.Bitrate, 128);
    EXPECT_EQ(a.BitrateMode, u"CBR");
    EXPECT_EQ(a.Channels, 1);
    EXPECT_EQ(a.StreamIndex, 0);
    EXPECT_EQ(a.DurationMs, MediaInfoCli(file, u"Audio;%Duration%"_s).first().toInt());
    EXPECT_TRUE(info.MediaInfoFull.contains(u"Sorenson Spark"_s));
}

TEST_P(MediaAnalysisTest, TracksScanTypeAndShapes) {
    const TVideoFileInfo mkv = Analyse(MediaFile(u"clip.mkv"_s));
    EXPECT_EQ(mkv.NumberOfDataStreams, 4);
    EXPECT_EQ(mkv.AudioStreams[0].Language, u"English");
    EXPECT_EQ(mkv.AudioStreams[1].Language, u"German");
    EXPECT_EQ(mkv.AudioStreams[1].StreamIndex, 2);
    EXPECT_TRUE(mkv.StreamsStr[3].Str1.contains(u"Subtitle: subrip"_s));

    const TVideoFileInfo ts = Analyse(MediaFile(u"interlaced.ts"_s));
    EXPECT_EQ(ts.VideoStreams[0].ScanType, u"Interlaced");
    EXPECT_EQ(ts.VideoStreams[0].Codec, u"MPEG Video - Version 2");

    const TVideoFileInfo odd = Analyse(MediaFile(u"odd.avi"_s));
    EXPECT_EQ(odd.VideoStreams[0].Width, 641);
    EXPECT_EQ(odd.VideoStreams[0].Height, 361);
    // The aspect text uses the user's decimal mark, as MediaInfo's texts are shown.
    EXPECT_EQ(odd.VideoStreams[0].DARStr, u"2"_s + QLocale().decimalPoint() + u"35:1"_s);
    EXPECT_DOUBLE_EQ(odd.VideoStreams[0].DAR, 2.35);

    const TVideoFileInfo wav = Analyse(MediaFile(u"audio.wav"_s));
    EXPECT_EQ(wav.NumberOfVideoStreams, 0);
    EXPECT_EQ(wav.AudioStreams[0].Channels, 2);
    EXPECT_EQ(wav.AudioStreams[0].BitsPerSample, 16);
    EXPECT_EQ(wav.AudioStreams[0].SamplingRate, 48000);

    const TVideoFileInfo many = Analyse(MediaFile(u"many.mkv"_s));
    EXPECT_EQ(many.NumberOfVideoStreams, 12);
    EXPECT_EQ(many.NumberOfAudioStreams, 50);
    EXPECT_EQ(many.VideoStreams[9].Width, 64);
    EXPECT_EQ(many.AudioStreams[47].SamplingRate, 8000);
}

TEST(MediaInfo, QuickAnalysisOfVideoAloneKeepsNoDuration) {
    TVideoFileInfo info;
    ReadMediaInfo(MediaFile(u"videoonly.mp4"_s), SystemMediaInfo(), info);
    EXPECT_EQ(info.NumberOfVideoStreams, 1);
    EXPECT_EQ(info.VideoStreams[0].Width, 160);
    EXPECT_EQ(info.Duration, 0);
    EXPECT_TRUE(info.DurationStr.isEmpty());
}

TEST(MediaInfo, ConversionRules) {
    EXPECT_EQ(MediaInfoAudioBitrate(u"127999"_s, u"CBR"_s, 0), 128);
    EXPECT_EQ(MediaInfoAudioBitrate(u"127999"_s, u"VBR"_s, 0), 127);
    EXPECT_EQ(MediaInfoAudioBitrate(u"192000 / 128000"_s, {}, 0), 160);
    EXPECT_EQ(MediaInfoAudioBitrate(u"192000 / x"_s, {}, 7), 7);
    EXPECT_EQ(MediaInfoAudioBitrate(u""_s, {}, 64), 64);
    EXPECT_EQ(MediaInfoAudioBitrate(u"3000000000"_s, {}, 5), 5);

    QString size;
    uint8_t percent = 0;
    ParseStreamSizeText(u"10.5 MiB (85%)"_s, &size, &percent);
    EXPECT_EQ(size, u"10.5 MB");
    EXPECT_EQ(percent, 85);
    ParseStreamSizeText(u"2.79 GiB"_s, &size, &percent);
    EXPECT_EQ(size, u"2.79 GB");
    EXPECT_EQ(percent, 85);

    for (const QLocale::Language language : {QLocale::C, QLocale::German}) {
        const TLocaleScope scope{QLocale(language)};
        double fps = 0;
        EXPECT_TRUE(MediaInfoDecimal(u"29.970"_s, &fps));
        EXPECT_DOUBLE_EQ(fps, 29.97);
        EXPECT_TRUE(MediaInfoDecimal(u"1,333"_s, &fps));
        EXPECT_DOUBLE_EQ(fps, 1.333);
        EXPECT_FALSE(MediaInfoDecimal(u""_s, &fps));
    }
}

TEST(MediaAnalysis, AwkwardPathsAreAnalysedLikeAnyOther) {
    const QString original = MediaFile(u"clip.flv"_s);
    const TVideoFileInfo expected = Analyse(original);
    TScratchDir dir;
    for (const QString& name :
         {u"with \"quotes\" and 'single'.flv"_s, u"$HOME %PATH% `id`.flv"_s, u"-leading.flv"_s,
          u"colon:name.flv"_s, u"\u00e4\u00f6\u00fc \u65e5\u672c.flv"_s, u"back\\slash\\.flv"_s}) {
        const QString path = dir.Path(name);
        ASSERT_TRUE(QFile::copy(original, path)) << name.toStdString();
        const TVideoFileInfo info = Analyse(path);
        EXPECT_EQ(info.FileName, path);
        EXPECT_EQ(info.DurationStr, expected.DurationStr) << name.toStdString();
        EXPECT_EQ(info.VideoStreams[0].Codec, expected.VideoStreams[0].Codec) << name.toStdString();
        EXPECT_EQ(info.Format, expected.Format) << name.toStdString();
        EXPECT_EQ(info.AudioStreams[0].Bitrate, 128) << name.toStdString();
    }
}

TEST(MediaAnalysis, BadInputsGiveWhatCanBeLearned) {
    TScratchDir dir;
    const QByteArray mp4 = ReadFile(MediaFile(u"clip.mp4"_s));
    const QByteArray flv = ReadFile(MediaFile(u"clip.flv"_s));
    const QByteArray random = RandomBytes(64 * 1024, 7);
    const struct {
        const char* Name;
        QByteArray Bytes;
    } files[] = {{"empty.flv", QByteArray()},
                 {"cut1.mp4", mp4.left(mp4.size() / 100)},
                 {"cut50.mp4", mp4.left(mp4.size() / 2)},
                 {"cut50.flv", flv.left(flv.size() / 2)},
                 {"random.flv", random}};
    for (const auto& f : files) {
        const QString path = dir.Path(QString::fromUtf8(f.Name));
        WriteFile(path, f.Bytes);
        const TVideoFileInfo info = Analyse(path);
        EXPECT_EQ(info.FileName, path);
        EXPECT_EQ(info.FileSize, f.Bytes.size()) << f.Name;
    }
    // Half a Flash Video file still tells its picture size.
    EXPECT_EQ(Analyse(dir.Path(u"cut50.flv"_s)).VideoStreams[0].Width, 320);

    // A folder, a FIFO and a missing file are not run through the encoder at all.
    const QString fifo = dir.Path(u"pipe.flv"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {dir.Root(), fifo, dir.Path(u"missing.flv"_s)}) {
        const TVideoFileInfo info = Analyse(path);
        EXPECT_EQ(info.FileName, path);
        EXPECT_EQ(info.FileSize, 0);
        EXPECT_TRUE(info.MediaInfoFull.isEmpty());
        EXPECT_FALSE(info.StreamsStr[0].StreamExists);
    }

    // A file the user may not read (root reads it anyway): nothing breaks either way.
    const QString locked = dir.Path(u"locked.flv"_s);
    ASSERT_TRUE(QFile::copy(MediaFile(u"clip.flv"_s), locked));
    ::chmod(QFile::encodeName(locked).constData(), 0);
    EXPECT_EQ(Analyse(locked).FileSize, QFileInfo(MediaFile(u"clip.flv"_s)).size());
}

TEST(MediaAnalysis, StalledOrFloodingEncoderDoesNotBlock) {
    const QString file = MediaFile(u"clip.flv"_s);
    const QString encoder = QStringLiteral(ZORVANE_TEST_CHILD);
    TVideoFileInfo info;
    qputenv("ZORVANE_TEST_CHILD_SCRIPT", "out=Input\\r\\n sleep=600000");
    GetVideoFileInfo(file, encoder, SystemMediaInfo(), info, {nullptr, 300});
    EXPECT_EQ(info.FileName, file);
    EXPECT_EQ(info.Format, u"Flash Video"); // MediaInfo still speaks

    // Megabytes without a line end, then a real description line.
    qputenv("ZORVANE_TEST_CHILD_SCRIPT", "repeat=400000:garbage,Duration:,Stream\\x20# "
                                         "out=\\r\\n\\x20\\x20Duration:\\x2000:00:03.00,\\x20start:"
                                         "\\x200.0,\\x20bitrate:\\x2050\\x20kb/s\\r\\n");
    GetVideoFileInfo(file, encoder, SystemMediaInfo(), info);
    qunsetenv("ZORVANE_TEST_CHILD_SCRIPT");
    EXPECT_EQ(info.DurationStr, u"00:00:03.00");
    EXPECT_EQ(info.Seconds, 3u);
}

namespace {

// Reads with MediaInfo in helper processes while it lives.
class TMediaInfoHelperScope {
public:
    TMediaInfoHelperScope() { UseMediaInfoHelper(QStringLiteral(ZORVANE_CLI)); }
    ~TMediaInfoHelperScope() { UseMediaInfoHelper({}); }
};

int HelpersRunning() {
    int helpers = 0;
    for (const pid_t child : ChildrenOf(::getpid())) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(child));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains("mediainfo-helper"))
            ++helpers;
    }
    return helpers;
}

} // namespace

TEST(MediaInfoHelper, ReadsExactlyAsTheLibraryInThisProcess) {
    const TAppStrings strings;
    QStringList inHelper;
    QStringList here;
    const QStringList files{MediaFile(u"clip.flv"_s), MediaFile(u"clip.mkv"_s),
                            MediaFile(u"interlaced.ts"_s), MediaFile(u"audio.mp3"_s)};
    for (const QString& file : files) {
        TVideoFileInfo info;
        info.Duration = 1234; // kept or not, the same in both
        ReadMediaInfo(file, SystemMediaInfo(), info);
        here.append(info.MediaInfoFull + GetInfoAsText(info, strings));
    }
    {
        const TMediaInfoHelperScope helper;
        for (const QString& file : files) {
            TVideoFileInfo info;
            info.Duration = 1234;
            ReadMediaInfo(file, SystemMediaInfo(), info);
            inHelper.append(info.MediaInfoFull + GetInfoAsText(info, strings));
        }
        EXPECT_EQ(HelpersRunning(), 1) << "one helper serves every file of a thread";
    }
    EXPECT_EQ(inHelper, here);
    EXPECT_TRUE(here.first().contains(u"Sorenson"_s)) << here.first().toStdString();
    // Answers survive the trip between processes, and damaged bytes are refused.
    const TMediaInfoAnswers answers = AskMediaInfo(files.first(), SystemMediaInfo());
    const QByteArray bytes = SerializeMediaInfoAnswers(answers);
    ASSERT_TRUE(DeserializeMediaInfoAnswers(bytes));
    EXPECT_EQ(DeserializeMediaInfoAnswers(bytes)->Values, answers.Values);
    EXPECT_FALSE(DeserializeMediaInfoAnswers(bytes.left(bytes.size() / 2)));
}

TEST(MediaInfoHelper, ACrashOrHangCostsOnlyThatFile) {
    TScratchDir dir;
    const QString crash = dir.Path(u"crash.flv"_s);
    const QString hang = dir.Path(u"hang.flv"_s);
    ASSERT_TRUE(QFile::copy(MediaFile(u"clip.flv"_s), crash));
    ASSERT_TRUE(QFile::copy(MediaFile(u"clip.flv"_s), hang));
    const QString misbehaving = QStringLiteral(ZORVANE_MISBEHAVING_MEDIAINFO);
    const TMediaInfoHelperScope helper;

    TMediaInfoAnswers answers = AskMediaInfoHelper(crash, misbehaving);
    // SIGSEGV, or SIGABRT where a sanitizer reports the crash first.
    EXPECT_EQ(answers.Failure, TMediaInfoFailure::Crashed);
    EXPECT_TRUE(answers.FailureValue == SIGSEGV || answers.FailureValue == SIGABRT)
        << answers.FailureValue;
    // The report tells it in the user's language.
    TVideoFileInfo info;
    ApplyMediaInfoAnswers(answers, info);
    TAppStrings strings;
    strings.LoadFromFile(QStringLiteral(ZORVANE_SOURCE_DIR "/lang/German.ini"));
    info.MediaInfoFailureValue = SIGSEGV;
    EXPECT_TRUE(GetInfoAsText(info, strings)
                    .contains(u"MediaInfo ist beim Lesen dieser Datei abgestürzt (Signal 11)."))
        << GetInfoAsText(info, strings).toStdString();

    // The next file gets a new helper.
    TVideoFileInfo good;
    ReadMediaInfo(MediaFile(u"clip.flv"_s), SystemMediaInfo(), good);
    EXPECT_EQ(good.VideoStreams[0].Width, 320);

    QElapsedTimer timer;
    timer.start();
    answers = AskMediaInfoHelper(hang, misbehaving, 1000);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(answers.Failure, TMediaInfoFailure::TimedOut);
    info.MediaInfoFailure = answers.Failure;
    info.MediaInfoFailureValue = answers.FailureValue;
    EXPECT_EQ(MediaInfoFailureText(info, TAppStrings().FileInfo),
              u"MediaInfo did not finish reading this file within 1 seconds and was stopped.");
    EXPECT_EQ(HelpersRunning(), 0) << "the hanging helper is gone";
    EXPECT_TRUE(AskMediaInfoHelper(MediaFile(u"clip.flv"_s), SystemMediaInfo()).Opened);
}

TEST(MediaInfoHelper, AFileNoHelperTakesIsNotReadInThisProcess) {
    TScratchDir dir;
    // A helper that cannot start, and one that ends before it reads anything.
    for (const QString& program : {dir.Path(u"missing"_s), u"/bin/true"_s}) {
        UseMediaInfoHelper(program);
        const TMediaInfoAnswers answers =
            AskMediaInfoHelper(MediaFile(u"clip.flv"_s), SystemMediaInfo());
        UseMediaInfoHelper({});
        EXPECT_FALSE(answers.Opened) << program.toStdString();
        EXPECT_TRUE(answers.Failure == TMediaInfoFailure::NoHelper ||
                    answers.Failure == TMediaInfoFailure::Ended)
            << program.toStdString();
        if (program.endsWith(u"missing"_s)) {
            EXPECT_EQ(answers.Failure, TMediaInfoFailure::NoHelper);
            TVideoFileInfo info;
            ApplyMediaInfoAnswers(answers, info);
            EXPECT_EQ(MediaInfoFailureText(info, TAppStrings().FileInfo),
                      u"MediaInfo's helper could not be started or could not take this file "
                      "(system error 2); the file was not read by MediaInfo.");
        }
    }
}
