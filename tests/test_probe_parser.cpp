#include "TestSupport.h"
#include "filelist/ProbeParser.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Output of the installed encoder describing a file, recorded as it came.
QStringList Fixture(const char* name) {
    const QByteArray bytes =
        ReadFile(QStringLiteral(ZORVANE_SOURCE_DIR "/tests/fixtures/") + QString::fromUtf8(name));
    EXPECT_FALSE(bytes.isEmpty()) << name;
    return QString::fromUtf8(bytes).split(u'\n');
}

TVideoFileInfo Parse(const QStringList& lines) {
    TVideoFileInfo info;
    ParseProbeOutput(lines, info);
    return info;
}

// Every check runs once in the C locale and once in one whose decimal mark is ",".
class ProbeParserTest : public ::testing::TestWithParam<QLocale::Language> {
protected:
    TLocaleScope Locale{QLocale(GetParam())};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Locales, ProbeParserTest, ::testing::Values(QLocale::C, QLocale::German));

TEST_P(ProbeParserTest, DurationLine) {
    const struct {
        const char* Line;
        const char* DurationStr;
        double Duration;
        uint32_t Seconds;
        uint32_t Start;
        int32_t VideoBitrate;
    } cases[] = {
        {"  Duration: 00:01:30.50, start: 1.500000, bitrate: 860 kb/s", "00:01:30.50", 90500, 89, 2,
         800},
        {"  Duration: 00:00:10.00, start: 0.000000, bitrate: 90 kb/s", "00:00:10.00", 10000, 10, 0,
         90},
        {"  Duration: 00:00:00.50, bitrate: 706 kb/s", "00:00:00.50", 500, 0, 0, 646},
        {"  Duration: 00:00:01.02, start: 1.429089, bitrate: 1708 kb/s", "00:00:01.02", 1020, 0, 1,
         1648},
        {"  Duration: 01:00:02.50, start: 2.500000, bitrate: N/A", "01:00:02.50", 3602500, 3600, 2,
         0},
        {"  Duration: N/A, start: 0.000000, bitrate: 5 kb/s", "N/A", 0, 0, 0, 5},
        {"  Duration: 00:00:05.00", "", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const TVideoFileInfo info = Parse({QString::fromUtf8(c.Line)});
        EXPECT_EQ(info.DurationStr, QString::fromUtf8(c.DurationStr)) << c.Line;
        EXPECT_DOUBLE_EQ(info.Duration, c.Duration) << c.Line;
        EXPECT_EQ(info.Seconds, c.Seconds) << c.Line;
        EXPECT_EQ(info.Start, c.Start) << c.Line;
        EXPECT_EQ(info.VideoStreams[0].Bitrate, c.VideoBitrate) << c.Line;
    }
}

TEST_P(ProbeParserTest, VideoStreamLines) {
    const QString duration = u"  Duration: 00:00:02.00, start: 0.000000, bitrate: 1000 kb/s"_s;
    {
        const TVideoFileInfo info = Parse(
            {duration, u"    Stream #0:0: Video: flv1, yuv420p, 320x240, 300 kb/s, 25 tbr"_s});
        const TVideoStreamInfo& v = info.VideoStreams[0];
        EXPECT_TRUE(v.Exists);
        EXPECT_EQ(v.Codec, u"flv1");
        EXPECT_EQ(v.PixelFormat, u"yuv420p");
        EXPECT_EQ(v.Width, 320);
        EXPECT_EQ(v.Height, 240);
        EXPECT_EQ(v.Bitrate, 300);
        EXPECT_DOUBLE_EQ(v.FPS, 25);
        EXPECT_EQ(v.Frames, 50u);
        EXPECT_DOUBLE_EQ(v.BitsPerPixel, 300000.0 / (25 * 320 * 240));
        EXPECT_EQ(info.StreamsStr[0].Str1,
                  u"Stream #0:0: Video: flv1, yuv420p, 320x240, 300 kb/s, 25 tbr");
    }
    {
        // A note with a comma inside the pixel format shifts the later items.
        const TVideoFileInfo info = Parse(
            {duration, u"Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), "
                       "yuv420p(tv, bt709, progressive), 640x360 [SAR 1:1 DAR 16:9], 80 kb/s, "
                       "25 fps, 25 tbr, 12800 tbn (default)"_s});
        const TVideoStreamInfo& v = info.VideoStreams[0];
        EXPECT_EQ(v.Codec, u"h264 (High) (avc1 / 0x31637661)");
        EXPECT_EQ(v.PixelFormat, u"yuv420p(tv");
        EXPECT_EQ(v.Width, 0);
        EXPECT_EQ(v.Bitrate, 940); // still the duration line's
        EXPECT_DOUBLE_EQ(v.FPS, 0);
        EXPECT_EQ(v.StreamIndex, 0);
    }
    {
        // mpeg1video reports its buffer's maximum; the duration line's rate stays.
        const TVideoFileInfo info = Parse(
            {duration, u"Stream #0:1[0x1e0]: Video: mpeg1video, yuv420p(tv), 352x288 [SAR 178:163 "
                       "DAR 1958:1467], 104857 kb/s, 25 fps, 25 tbr, 90k tbn"_s});
        EXPECT_EQ(info.VideoStreams[0].Bitrate, 940);
        EXPECT_EQ(info.VideoStreams[0].Height, 288);
        EXPECT_EQ(info.VideoStreams[0].StreamIndex, 1);
    }
    {
        const TVideoFileInfo info =
            Parse({u"Stream #0:10: Video: mpeg4, yuv420p, 64x48, 23.976 fps, 23.98 tbr"_s});
        EXPECT_EQ(info.VideoStreams[0].StreamIndex, 1); // two-digit indexes read their first digit
        EXPECT_DOUBLE_EQ(info.VideoStreams[0].FPS, 23.98); // the later item wins
    }
}

TEST_P(ProbeParserTest, AudioStreamLinesAndGuessedLines) {
    const TVideoFileInfo info = Parse(
        {u"Guessed Channel Layout for Input Stream #0.0 : mono"_s,
         u"  Stream #0:1(eng): Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s (default)"_s,
         u"  Stream #0:2: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 48000 Hz, mono, s16, 768 kb/s"_s,
         u"  Stream #0:3: Audio: pcm_s16le, 48000 Hz, 2.1, s16p, 2304 kb/s"_s});
    EXPECT_EQ(info.NumberOfAudioStreams, 3);
    EXPECT_FALSE(info.StreamsStr[3].StreamExists);
    const TAudioStreamInfoX& a = info.AudioStreams[0];
    EXPECT_TRUE(a.Exists);
    EXPECT_EQ(a.Codec, u"aac (LC)");
    EXPECT_EQ(a.CodecFF, u"aac");
    EXPECT_EQ(a.Bitrate, 128);
    EXPECT_EQ(a.Channels, 2);
    EXPECT_EQ(a.BitsPerSample, 0); // fltp
    EXPECT_EQ(a.StreamIndex, 1);
    EXPECT_EQ(a.SamplingRate, 0); // not read from the encoder's text
    EXPECT_EQ(info.AudioStreams[1].BitsPerSample, 16);
    EXPECT_EQ(info.AudioStreams[1].Channels, 1);
    EXPECT_EQ(info.AudioStreams[1].CodecFF, u"pcm_s16le");
    EXPECT_EQ(info.AudioStreams[2].BitsPerSample, 0); // s16p
    EXPECT_EQ(info.AudioStreams[2].Channels, 0);
}

TEST_P(ProbeParserTest, RecordedEncoderOutput) {
    const TVideoFileInfo flv = Parse(Fixture("ffmpeg_probe_flv.txt"));
    EXPECT_EQ(flv.DurationStr, u"00:00:01.02");
    EXPECT_EQ(flv.NumberOfVideoStreams, 1);
    EXPECT_EQ(flv.NumberOfAudioStreams, 1);
    EXPECT_EQ(flv.VideoStreams[0].Codec, u"flv1");
    EXPECT_EQ(flv.VideoStreams[0].StreamIndex, 1);
    EXPECT_DOUBLE_EQ(flv.VideoStreams[0].FPS, 15);
    EXPECT_EQ(flv.VideoStreams[0].Frames, 15u);
    EXPECT_EQ(flv.AudioStreams[0].CodecFF, u"mp3");
    EXPECT_EQ(flv.AudioStreams[0].Channels, 1);

    const TVideoFileInfo mkv = Parse(Fixture("ffmpeg_probe_mkv.txt"));
    EXPECT_EQ(mkv.NumberOfAudioStreams, 2);
    EXPECT_EQ(mkv.AudioStreams[1].StreamIndex, 2);
    EXPECT_EQ(mkv.AudioStreams[1].Bitrate, 64);
    EXPECT_TRUE(mkv.StreamsStr[3].Str1.startsWith(u"Stream #0:3: Subtitle: subrip"));
    EXPECT_FALSE(mkv.StreamsStr[4].StreamExists);

    const TVideoFileInfo ts = Parse(Fixture("ffmpeg_probe_ts.txt"));
    EXPECT_EQ(ts.Start, 1u);
    EXPECT_EQ(ts.Seconds, 0u);
    EXPECT_EQ(ts.VideoStreams[0].Codec, u"mpeg2video (Main) ([2][0][0][0] / 0x0002)");
    EXPECT_EQ(ts.VideoStreams[0].PixelFormat, u"yuv420p(tv");

    const TVideoFileInfo au = Parse(Fixture("ffmpeg_probe_au.txt"));
    EXPECT_EQ(au.NumberOfAudioStreams, 1); // the Guessed line is not a stream
    EXPECT_EQ(au.AudioStreams[0].BitsPerSample, 16);

    const TVideoFileInfo mp4 = Parse(Fixture("ffmpeg_probe_mp4.txt"));
    EXPECT_EQ(mp4.VideoStreams[0].Width, 0); // the comma inside yuv420p(tv, bt709, ...) shifts
    EXPECT_EQ(mp4.AudioStreams[0].Bitrate, 97);
}

TEST_P(ProbeParserTest, StreamLimits) {
    QStringList lines;
    for (int i = 0; i < 70; ++i)
        lines.append(QStringLiteral("Stream #0:%1: %2: x, 1 kb/s")
                         .arg(i)
                         .arg(i < 12 ? u"Video"_s : u"Audio"_s));
    const TVideoFileInfo info = Parse(lines);
    EXPECT_EQ(info.NumberOfVideoStreams, 12);
    EXPECT_EQ(info.NumberOfAudioStreams, 63 - 12); // only 63 lines are kept
    EXPECT_TRUE(info.StreamsStr[62].StreamExists);
    EXPECT_FALSE(info.StreamsStr[63].StreamExists);
    EXPECT_TRUE(info.VideoStreams[9].Exists);
    EXPECT_TRUE(info.AudioStreams[47].Exists);
}

TEST_P(ProbeParserTest, TimeStrToSecondsAndSplitString) {
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u"00:01:23.45"_s), 83.45);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u"01:00:00,5"_s), 3600.5);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u" 1 : 2 : 3 "_s), 3723);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u"xx:02:03"_s), 123);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u"01:30"_s), 3600);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u"83.45"_s), 0);
    EXPECT_DOUBLE_EQ(TimeStrToSeconds(u""_s), 0);

    QStringList list{u"kept"_s};
    SplitString(u" a ,, b , "_s, list, u',');
    EXPECT_EQ(list, QStringList({u"kept"_s, u"a"_s, u""_s, u"b"_s}));
    QStringList single;
    SplitString(u"alone"_s, single, u',');
    EXPECT_EQ(single, QStringList{u"alone"_s});
}

TEST(ProbeParser, DerivedVideoStreamSize) {
    TVideoFileInfo info;
    info.FileSize = 1000;
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 2;
    info.AudioStreams[0].StreamSize = 100;
    info.AudioStreams[1].StreamSize = 150;
    DeriveVideoStreamSize(info);
    EXPECT_EQ(info.VideoStreams[0].StreamSize, 750);
    EXPECT_EQ(info.VideoStreams[0].StreamSizeStr, u"750 bytes");
    EXPECT_EQ(info.VideoStreams[0].StreamSizeInPercent, 75);

    // Audio that claims the whole file leaves the video size unknown instead of negative.
    TVideoFileInfo broken = info;
    broken.VideoStreams[0] = {};
    broken.AudioStreams[1].StreamSize = 5000;
    DeriveVideoStreamSize(broken);
    EXPECT_EQ(broken.VideoStreams[0].StreamSize, 0);
    EXPECT_TRUE(broken.VideoStreams[0].StreamSizeStr.isEmpty());

    // Two video streams, or a size already known, are left alone.
    TVideoFileInfo two = info;
    two.VideoStreams[0] = {};
    two.NumberOfVideoStreams = 2;
    DeriveVideoStreamSize(two);
    EXPECT_EQ(two.VideoStreams[0].StreamSize, 0);
}
