#include "TestSupport.h"
#include "filelist/AnalysisCache.h"
#include "filelist/BatchProbe.h"
#include "filelist/FileInfoReport.h"
#include "filelist/FileList.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

TEST(FileList, ExtensionTable) {
    EXPECT_EQ(SupportedExtensions().size(), 77);
    for (const char* name : {"clip.MKV", "clip.flv", "a.b.dvr-ms", "x.TRUE-HD", "/d/e.Mp4"})
        EXPECT_TRUE(IsSupportedFileExt(QString::fromUtf8(name))) << name;
    for (const char* name : {"clip.txt", "clip", "flv", ".flv.txt", "/dir.flv/file"})
        EXPECT_FALSE(IsSupportedFileExt(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(SupportedFilesPattern().startsWith(u"*.webm;*.avi;"));
    EXPECT_TRUE(SupportedFilesPattern().endsWith(u";*.tta"));
}

TEST(FileList, CellsAndSummariesOfAnAnalysedFile) {
    const TAppStrings strings;
    TVideoFileInfo info;
    info.Duration = 83450.4;
    info.NumberOfVideoStreams = 1;
    TVideoStreamInfo& v = info.VideoStreams[0];
    v.Codec = u"AVC"_s;
    v.Bitrate = 2500;
    v.Width = 1920;
    v.Height = 1080;
    v.FPS = 25;
    v.ScanType = u" Interlaced "_s;
    info.NumberOfAudioStreams = 1;
    TAudioStreamInfoX& a = info.AudioStreams[0];
    a.Codec = u"MPEG Audio - Version 1"_s;
    a.Profile = u"Layer 3"_s;
    a.Bitrate = 128;
    a.BitrateMode = u"CBR"_s;
    a.Channels = 2;
    TFileListRow row;
    row.Path = u"/home/u/Videos/clip.flv"_s;
    row.Size = 1536;
    FillRowCells(row, info, strings);
    EXPECT_EQ(row.Video, u"AVC, 2 500 kbit/s, 1 920 x 1 080");
    EXPECT_EQ(row.Audio, u"MP3, 128 kbit/s CBR, Channels: 2");
    EXPECT_EQ(CellText(row, 3, 1), u"clip.flv");
    EXPECT_EQ(CellText(row, 4, 1), u"/home/u/Videos");
    EXPECT_EQ(CellText(row, 5, 1), u"1.50 KB");
    EXPECT_EQ(CellText(row, 6, 1), u"00:01:23");
    EXPECT_EQ(CellText(row, 14, 1), u"1 920 x 1 080");
    EXPECT_EQ(CellText(row, 18, 1), u"interlaced");
    EXPECT_EQ(CellText(row, 0, 1234), u"1 234");
    EXPECT_EQ(CellText(row, 24, 1), u"128");
    EXPECT_EQ(CellText(row, 17, 1), u""); // no bits per pixel: empty, not 0.000

    // Windows Media names lose their suffix; an audio stream without rate or channels.
    TVideoFileInfo wma;
    wma.NumberOfAudioStreams = 1;
    wma.AudioStreams[0].Codec = u"WMA2 (Windows Media Audio)"_s;
    TFileListRow audioOnly;
    FillRowCells(audioOnly, wma, strings);
    EXPECT_EQ(audioOnly.Audio, u"WMA2");
    EXPECT_TRUE(audioOnly.Video.isEmpty());

    // Sizes sort as numbers, not as their texts.
    TFileListRow small, big;
    small.Size = 999;
    big.Size = 1024 * 1024;
    EXPECT_LT(CellSortValue(small, 5, 1).toLongLong(), CellSortValue(big, 5, 2).toLongLong());
    EXPECT_TRUE(IsNumericColumn(5));
    EXPECT_FALSE(IsNumericColumn(3));
}

TEST(FileList, CountsAndFooter) {
    const TAppStrings strings;
    EXPECT_TRUE(CalcFooter({}, strings)[0].isEmpty());
    std::vector<TFileListRow> rows(3);
    rows[0].Size = 1024;
    rows[0].VideoFPS = 25;
    rows[0].DurationMs = 596ll * 3600 * 1000; // past what 32 bits of milliseconds hold
    rows[1].Size = 1024;
    rows[1].VideoFPS = 0;
    rows[1].DurationMs = 2ll * 3600 * 1000;
    rows[2].Checked = false;
    rows[2].VideoFPS = 50;
    TLocaleScope locale(QLocale::c());
    auto footer = CalcFooter(rows, strings);
    EXPECT_EQ(footer[0], u"3");
    EXPECT_EQ(footer[1], u"2");
    EXPECT_EQ(footer[5], u"2.00 KB");
    EXPECT_EQ(footer[6], u"598:00:00");
    EXPECT_EQ(footer[16], u"AVG  25.00"); // the zero rate is not averaged
    EXPECT_TRUE(footer[11].isEmpty());    // no checked row has a video bit rate
    for (TFileListRow& r : rows)
        r.Checked = false;
    footer = CalcFooter(rows, strings);
    EXPECT_EQ(footer[1], u"0");
    EXPECT_TRUE(footer[5].isEmpty());

    const TGridInfo g = GetGridInfo(rows, {true, false, false});
    EXPECT_EQ(g.RowCount, 3);
    EXPECT_EQ(g.UncheckedCount, 3);
    EXPECT_EQ(g.SelectedCount, 1);
    EXPECT_EQ(g.SelectedUncheckedCount, 1);
}

TEST(FileList, ListFilesRoundTrip) {
    TScratchDir dir;
    const QString a = dir.Path(u"a.flv"_s), b = dir.Path(u"Ünïcode b.mp4"_s);
    int leftOut = -1;
    const QString list = dir.Path(u"list.lst"_s);
    ASSERT_TRUE(WriteFileListFile(list, {a, u"/x/line\nbreak.flv"_s, b}, &leftOut));
    EXPECT_EQ(leftOut, 1);
    EXPECT_EQ(ReadFile(list), (a + u"\r\n"_s + b + u"\r\n"_s).toUtf8());
    EXPECT_EQ(ReadFileListFile(list), (QStringList{a, b}));

    // A list from Windows-1252 with CR LF, a "." step and a folder ending in a dot.
    const QString cp1252 =
        dir.Write("/videos/caf\xe9.flv\r\n/videos/./clip.flv\r\n\r\n/videos/./x.flv\r\n");
    EXPECT_EQ(ReadFileListFile(cp1252),
              (QStringList{u"/videos/café.flv"_s, u"/videos/clip.flv"_s, u"/videos/x.flv"_s}));
    EXPECT_FALSE(ReadFileListFile(dir.Path(u"missing.lst"_s)).has_value());
    // Binary bytes read as some lines of text; each is an absolute path the list then checks.
    const std::optional<QStringList> binary = ReadFileListFile(dir.Write(RandomBytes(5000, 9)));
    ASSERT_TRUE(binary.has_value());
    for (const QString& path : *binary)
        EXPECT_TRUE(QDir::isAbsolutePath(path));
}

TEST(FileList, FolderWalkVisitsEveryRealFolderOnce) {
    TScratchDir dir;
    const QString root = dir.Path(u"root"_s);
    WriteFile(root + u"/b.flv"_s, "x");
    WriteFile(root + u"/A/a.mp4"_s, "x");
    WriteFile(root + u"/A/notes.txt"_s, "x");
    WriteFile(root + u"/c/deep/clip.MKV"_s, "x");
    ASSERT_TRUE(QFile::link(root, root + u"/A/loop"_s)); // a link back to the top
    ASSERT_TRUE(QFile::link(root + u"/A"_s, root + u"/c/toA"_s));
    ASSERT_TRUE(QFile::link(root + u"/b.flv"_s, root + u"/c/link.flv"_s)); // a link to a file
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + u"/pipe.flv"_s).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(root + u"/gone.flv"_s, root + u"/dangling.flv"_s));
    QStringList files = CollectFolderFiles(root);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (QStringList{root + u"/A/a.mp4"_s, root + u"/b.flv"_s,
                                  root + u"/c/deep/clip.MKV"_s, root + u"/c/link.flv"_s}));
    // Folders come in the order of their paths, letter case ignored.
    const QStringList ordered = CollectFolderFiles(root);
    EXPECT_EQ(ordered.first(), root + u"/b.flv"_s);
    EXPECT_EQ(ordered.at(1), root + u"/A/a.mp4"_s);
    // Stopping early.
    EXPECT_TRUE(CollectFolderFiles(root, [] { return false; }).size() <= 1);
}

TEST(FileList, AudioTrackItems) {
    const TAppStrings strings;
    TVideoFileInfo info;
    info.NumberOfAudioStreams = 2;
    info.AudioStreams[0] = {};
    info.AudioStreams[0].Codec = u"MPEG Audio (MP3)"_s;
    info.AudioStreams[0].Bitrate = 128;
    info.AudioStreams[0].Channels = 2;
    info.AudioStreams[0].Language = u"English"_s;
    info.AudioStreams[1].Codec = u"AAC"_s;
    info.AudioStreams[1].Channels = 1;
    EXPECT_EQ(AudioTrackItems(info, strings),
              (QStringList{u"Auto (first audio track)"_s,
                           u"1: MP3 - 128 kbit/s - Channels: 2 - Language: English"_s,
                           u"2: AAC - Channels: 1 - Language: (undefined)"_s}));
}

// The cache keeps only the streams that hold anything, at their places, and MediaInfo's report
// compressed: a record with gaps, the last places and text beyond ASCII comes back unchanged.
TEST(AnalysisCache, GivesBackExactlyWhatWasStored) {
    TScratchDir dir;
    const QString file = dir.Write("x");
    TVideoFileInfo info;
    info.FileName = file;
    info.Duration = 1234.5;
    info.NumberOfAudioStreams = 60;
    info.MediaInfoFull = u"Titel : Grüße, 日本語\r\n"_s.repeated(50);
    info.MediaInfoFailure = TMediaInfoFailure::TimedOut;
    info.MediaInfoFailureValue = 30;
    info.StreamsStr[MaxStreamLines - 1] = {true, u"Stream #0:63: Data"_s};
    info.VideoStreams[3].FPS = 29.97;
    info.AudioStreams[0].Language = u"Deutsch"_s;
    info.AudioStreams[MaxAudioStreams - 1].Exists = true;
    TAnalysisCache cache;
    cache.Store(file, *Platform::FileStamp(file), info);
    const std::optional<TVideoFileInfo> kept = cache.Find(file);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(*kept == info);
    EXPECT_EQ(kept->MediaInfoFull, info.MediaInfoFull);
    EXPECT_FALSE(kept->VideoStreams[2].Exists);
    // A changed file is not served.
    WriteFile(file, "changed");
    EXPECT_FALSE(cache.Find(file));
}

// One encoder run over many inputs gives each file what a run of its own gives, also around an
// input the encoder cannot open.
TEST(BatchProbe, ManyInputsDescribeEachFileAsAloneRuns) {
    TScratchDir dir;
    const QString corrupt = dir.Write(RandomBytes(3000, 5));
    const QString empty = dir.Write({});
    const QStringList files{MediaFile(u"clip.flv"_s),
                            MediaFile(u"clip.mkv"_s),
                            corrupt,
                            MediaFile(u"audio.wav"_s),
                            empty,
                            MediaFile(u"interlaced.ts"_s)};
    const TAppStrings strings;
    TAnalysisCache cache;
    const QList<TVideoFileInfo> batched =
        AnalyseFiles(files, SystemFFmpeg(), SystemMediaInfo(), 2, &cache);
    ASSERT_EQ(batched.size(), files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        TVideoFileInfo alone;
        GetVideoFileInfo(files.at(i), SystemFFmpeg(), SystemMediaInfo(), alone);
        EXPECT_EQ(GetInfoAsText(batched.at(i), strings), GetInfoAsText(alone, strings))
            << files.at(i).toStdString();
    }
    EXPECT_EQ(batched.at(1).NumberOfAudioStreams, 2);
    EXPECT_EQ(cache.Size(), files.size());
    // What is kept is given back whole, however small the cache keeps it.
    for (const QString& file : files) {
        const std::optional<TVideoFileInfo> kept = cache.Find(file);
        ASSERT_TRUE(kept) << file.toStdString();
        EXPECT_TRUE(*kept == batched.at(files.indexOf(file))) << file.toStdString();
    }
    EXPECT_FALSE(batched.at(1).MediaInfoFull.isEmpty());

    // A kept analysis serves an unchanged file; a changed file is analysed again.
    TVideoFileInfo again;
    GetVideoFileInfoCached(cache, files.at(0), u"/no/encoder"_s, SystemMediaInfo(), again);
    EXPECT_EQ(again.NumberOfVideoStreams, 1);
    const QString copy = dir.Path(u"copy.flv"_s);
    ASSERT_TRUE(QFile::copy(files.at(0), copy));
    GetVideoFileInfoCached(cache, copy, SystemFFmpeg(), SystemMediaInfo(), again);
    EXPECT_EQ(again.NumberOfVideoStreams, 1);
    WriteFile(copy, "now something else");
    GetVideoFileInfoCached(cache, copy, SystemFFmpeg(), SystemMediaInfo(), again);
    EXPECT_EQ(again.NumberOfVideoStreams, 0);
}

TEST(BatchProbe, SplitsRecordedOutput) {
    const QStringList lines{u"ffmpeg version 5.1"_s,
                            u"Input #0, flv, from 'a.flv':"_s,
                            u"  Stream #0:0: Audio: mp3"_s,
                            u"Input #1, flv, from 'b.flv':"_s,
                            u"  Duration: 00:00:01.02, start: 0.000000, bitrate: 327 kb/s"_s,
                            u"  Stream #1:0: Audio: mp3"_s,
                            u"  Chapter #1:0: start 0.000000, end 1.000000"_s,
                            u"bad.mkv: Invalid data found when processing input"_s};
    QList<QStringList> perInput;
    EXPECT_EQ(
        SplitBatchProbeOutput(lines, {u"a.flv"_s, u"b.flv"_s, u"bad.mkv"_s, u"c.flv"_s}, perInput),
        3);
    EXPECT_EQ(perInput.at(1),
              (QStringList{u"ffmpeg version 5.1"_s, u"Input #0, flv, from 'b.flv':"_s,
                           u"  Duration: 00:00:01.02, start: 0.000000, bitrate: 327 kb/s"_s,
                           u"  Stream #0:0: Audio: mp3"_s,
                           u"  Chapter #0:0: start 0.000000, end 1.000000"_s}));
    EXPECT_EQ(perInput.at(2).last(), u"bad.mkv: Invalid data found when processing input");
    EXPECT_TRUE(perInput.at(3).isEmpty());
}
