#include "TestSupport.h"
#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "filelist/FileInfoReport.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The CRC-32 that gzip records for the file, as a second opinion.
quint32 GzipCrc32(const QString& file) {
    TTestProcess gzip;
    EXPECT_TRUE(gzip.Start(u"gzip"_s, {u"-c"_s, file}) && gzip.WaitForFinished(60000));
    const QByteArray out = gzip.Out();
    const auto* tail = reinterpret_cast<const uchar*>(out.constData() + out.size() - 8);
    return quint32(tail[0]) | quint32(tail[1]) << 8 | quint32(tail[2]) << 16 |
           quint32(tail[3]) << 24;
}

QStringList ReportLines(const TVideoFileInfo& info) {
    const QString text = GetInfoAsText(info, TAppStrings());
    EXPECT_TRUE(text.endsWith(u"\r\n"_s));
    EXPECT_FALSE(text.contains(QRegularExpression(u"[^\r]\n"_s)));
    return text.split(u"\r\n"_s);
}

} // namespace

TEST(FileInfoReport, FlashVideoReport) {
    const QString file = MediaFile(u"clip.flv"_s);
    TVideoFileInfo info;
    GetVideoFileInfo(file, SystemFFmpeg(), SystemMediaInfo(), info);
    const QStringList lines = ReportLines(info);
    const QString separator(71, u'-');
    const qint64 size = QFileInfo(file).size();
    ASSERT_GE(lines.size(), 40);
    EXPECT_EQ(lines.mid(0, 9),
              QStringList({ProductTitle() + u" - Video file information report"_s,
                           QString::fromUtf16(HomePageUrl), u""_s, u"File: "_s + file, u""_s,
                           separator, u"GENERAL INFO"_s, u""_s,
                           QStringLiteral("File size: %1 bytes (%2)")
                               .arg(IntToStrGrouped(size, u' '), GetFileSizeString(size))}));
    EXPECT_EQ(lines.at(9),
              QStringLiteral("CRC32: $%1").arg(GzipCrc32(file), 8, 16, QLatin1Char('0')).toUpper());
    EXPECT_EQ(lines.at(10), u"Duration: 00:00:01.02");
    EXPECT_EQ(lines.at(12), u"Format: Flash Video");
    EXPECT_EQ(lines.at(14), u"Number of all data streams: 2");
    const qsizetype video = lines.indexOf(u"VIDEO STREAM"_s);
    ASSERT_GT(video, 0);
    EXPECT_EQ(lines.at(video - 1), separator);
    EXPECT_EQ(lines.at(video + 1), u"");
    EXPECT_EQ(lines.at(video + 2), u"Video codec: Sorenson Spark");
    EXPECT_EQ(lines.at(video + 5), u"Resolution: 320 x 240");
    EXPECT_EQ(lines.at(video + 7), u"Frames / second: 25"_s + QLocale().decimalPoint() + u"00"_s);
    EXPECT_EQ(lines.at(video + 9), u"Pixel format: yuv420p");
    EXPECT_EQ(lines.at(video + 14), u"Stream index: 1");
    const qsizetype audio = lines.indexOf(u"AUDIO STREAM 1"_s);
    ASSERT_GT(audio, video);
    EXPECT_EQ(lines.at(audio + 1), u"Audio codec: MPEG Audio - Version 1 (MP3)");
    EXPECT_EQ(lines.at(audio + 3), u"Bitrate: 128 kbit/s  CBR");
    EXPECT_EQ(lines.at(audio + 12), u"Stream index: 0");
    const qsizetype data = lines.indexOf(u"DATA STREAMS:   (FFmpeg)"_s);
    ASSERT_GT(data, audio);
    EXPECT_EQ(lines.at(data + 1),
              u"   1: Stream #0:0 - Audio: mp3, 44100 Hz, mono, fltp, 128 kb/s");
    EXPECT_TRUE(
        lines.at(data + 2).startsWith(u"   2: Stream #0:1 - Video: flv1, yuv420p, 320x240"_s));
    EXPECT_EQ(lines.at(data + 4), separator);
    EXPECT_EQ(lines.at(data + 5), u"MediaInfo");
}

TEST(FileInfoReport, SectionsFollowTheStreams) {
    TVideoFileInfo none;
    none.FileName = u"/nowhere/a.mp3"_s;
    none.NumberOfAudioStreams = 1;
    none.AudioStreams[0].Bitrate = 128;
    none.AudioStreams[0].BitrateMode = u"CBR"_s;
    none.AudioStreams[0].SamplingRate = 44100;
    QStringList lines = ReportLines(none);
    EXPECT_FALSE(lines.contains(u"VIDEO STREAM"_s));
    const qsizetype audio = lines.indexOf(u"AUDIO STREAM 1"_s);
    ASSERT_GT(audio, 0);
    EXPECT_EQ(lines.at(audio + 3), u"Bitrate: 128 kbit/s  CBR");
    EXPECT_EQ(lines.at(audio + 5), u"Sampling rate: 44 100 Hz");
    EXPECT_FALSE(lines.contains(u"DATA STREAMS:   (FFmpeg)"_s));

    TVideoFileInfo two;
    two.NumberOfVideoStreams = 2;
    two.VideoStreams[0].Width = 1920;
    lines = ReportLines(two);
    EXPECT_TRUE(lines.contains(u"VIDEO STREAM 1"_s));
    EXPECT_TRUE(lines.contains(u"VIDEO STREAM 2"_s));
    EXPECT_TRUE(lines.contains(u"Resolution: 1 920 x 0"_s));
    EXPECT_TRUE(lines.contains(u"Bitrate: "_s)); // empty values keep their label
}

TEST(FileInfoReport, LargeFilesHaveNoCrcLine) {
    TScratchDir dir;
    const QString small = dir.Write(QByteArray(1024 * 1024, 'a'));
    const QString large = dir.Path(u"large.bin"_s);
    WriteFile(large, "x");
    {
        QFile f(large);
        ASSERT_TRUE(f.resize(400ll * 1000 * 1000)); // sparse
    }
    TVideoFileInfo info;
    info.FileName = small;
    info.FileSize = QFileInfo(small).size();
    EXPECT_TRUE(GetInfoAsText(info, TAppStrings()).contains(u"\r\nCRC32: $"_s));
    info.FileName = large;
    info.FileSize = QFileInfo(large).size();
    const QString text = GetInfoAsText(info, TAppStrings());
    EXPECT_FALSE(text.contains(u"CRC32"_s));
    EXPECT_TRUE(text.contains(u"File size: 400 000 000 bytes (381.47 MB)"_s));
}

TEST(FileInfoReport, DataStreamRows) {
    TVideoFileInfo info;
    info.StreamsStr[0] = {true, u"Stream #0:1(und): Audio: aac (LC), 44100 Hz"_s};
    info.StreamsStr[1] = {true, u"Stream #0.1 without a second colon"_s};
    const QList<TDataStreamRow> rows = DataStreamRows(info);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].Stream, u"Stream #0:1(und)");
    EXPECT_EQ(rows[0].Details, u"Audio: aac (LC), 44100 Hz");
    EXPECT_EQ(rows[1].Stream, u"");
    EXPECT_EQ(rows[1].Details, u"Stream #0.1 without a second colon");
}
