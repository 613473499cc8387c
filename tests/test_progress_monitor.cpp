#include "TestSupport.h"
#include "core/AppParams.h"
#include "execution/ConRun.h"
#include "execution/ErrorLog.h"
#include "execution/ProgressMonitor.h"
#include "localisation/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString ProgressLine =
    u"frame=  250 fps= 50 q=3.1 size=    1234kB time=00:00:10.00 bitrate=1011.2kbits/s speed=2.00x"_s;

} // namespace

TEST(ProgressMonitor, ScanTheProgressLine) {
    const TProgressValues v = ScanProgress({u"Input #0, flv"_s, ProgressLine});
    EXPECT_EQ(v.Frame, 250);
    EXPECT_EQ(v.FpsText, u"50");
    EXPECT_EQ(v.SizeText, u"<b>1.21 MB</b>");
    EXPECT_EQ(v.SpeedText,
              u" <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  2.00x  </FONT></b> ");
    EXPECT_EQ(ProgressPercent(v.Frame, 1000), 25);

    // FFmpeg 7 writes KiB; the last summary line of older versions Lsize=.
    const TProgressValues seven = ScanProgress(
        {u"frame=  250 fps= 50 q=3.1 size=    1234KiB time=00:00:10.00 bitrate=1011.2kbits/s speed=2.00x"_s});
    EXPECT_EQ(seven.SizeText, u"<b>1.21 MB</b>");
    EXPECT_EQ(
        ScanProgress({u"frame=   25 fps=0.0 q=2.0 Lsize=      83kB time=00:00:01.04"_s}).SizeText,
        u"<b>83.00 KB</b>");
    EXPECT_EQ(ScanProgress({u"size=N/A time=00:00:01.04 speed=1x"_s}).SizeText, u"");
    EXPECT_EQ(ScanProgress({u"size=  12.5kB time"_s}).SizeText, u"12.5"); // no integer: raw
    // Raw encoder text is shown as text inside the status line's markup.
    const TProgressValues odd =
        ScanProgress({u"frame= 3 fps=<i>x q=1 size=<b>1kB time speed=<img src=x>"_s});
    EXPECT_EQ(odd.SizeText, u"&lt;b&gt;1");
    EXPECT_EQ(odd.FpsText, u"&lt;i&gt;x");
    EXPECT_TRUE(odd.SpeedText.contains(u"&lt;img src=x&gt;"_s));

    // The topmost entry that carries a field wins; a "Multiple frames" entry stops the reading.
    const TProgressValues top = ScanProgress({u"frame=  7 fps=9 "_s, ProgressLine});
    EXPECT_EQ(top.Frame, 7);
    EXPECT_EQ(top.FpsText, u"9");
    EXPECT_TRUE(
        ScanProgress({ProgressLine, u"multiple frames in a packet from stream 1"_s}).Stopped);
}

TEST(ProgressMonitor, PercentRoundsHalvesToEven) {
    EXPECT_EQ(ProgressPercent(1, 200), 0);
    EXPECT_EQ(ProgressPercent(3, 200), 2);
    EXPECT_EQ(ProgressPercent(5, 200), 2);
    EXPECT_EQ(ProgressPercent(7, 200), 4);
    EXPECT_EQ(ProgressPercent(1500, 1000), 100);
    EXPECT_EQ(ProgressPercent(0, 1000), 0);
    EXPECT_EQ(ProgressPercent(250, 0), 0);
}

TEST(ProgressMonitor, StatusLines) {
    const TAppStrings strings;
    const TProgressValues v = ScanProgress({ProgressLine});
    TBatchPosition pos{3, 2, 1, false, false};
    const QString speed = v.SpeedText;
    EXPECT_EQ(StatusLineHtml(v, pos, 1000, strings),
              u"Converting file: <b>2</b> / <b>3</b>    ::    Speed: "_s + speed +
                  u" ( 50 frames/sec )    ::    Frame: 250 / ~1000    ::    <b>1.21 MB</b>"_s);
    pos.TwoPassMode = true;
    EXPECT_EQ(StatusLineHtml(v, pos, 1000, strings),
              u"Converting file: <b>2</b> / <b>3</b>  <font bgcolor=\"#D63D16\" color=\"#FAD3C9\">"
              "<b>  pass 1  </b></font>     ::    Speed: "_s +
                  speed +
                  u" (50 frames/sec)    ::    Frame: 250 / ~1000    ::    <b>1.21 MB</b>"_s);
    pos.CurrentPass = 2;
    EXPECT_TRUE(StatusLineHtml(v, pos, 1000, strings)
                    .contains(u"<font bgcolor=\"#2462C8\" color=\"#D5EBFD\"><b>  pass 2  </b>"_s));
    pos.NoVideoOutput = true;
    EXPECT_EQ(StatusLineHtml(v, pos, 1000, strings), u"Converting file: 2 / 3");
}

TEST(ProgressMonitor, RecordedOutputIsFilteredAndShown) {
    QStringList lines = ConsoleLines(
        ReadFile(QStringLiteral(ZORVANE_SOURCE_DIR "/tests/fixtures/ffmpeg_convert_xvid.txt")));
    FilterEncoderOutput(lines);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.startsWith(u"ffmpeg version"_s, Qt::CaseInsensitive))
            << line.toStdString();
        EXPECT_FALSE(line.startsWith(u"  lib"_s)) << line.toStdString();
        EXPECT_FALSE(line.startsWith(u"Press [q]"_s)) << line.toStdString();
        EXPECT_FALSE(line.trimmed().isEmpty());
    }
    // The progress line, rewritten in place, is one entry: its last state.
    EXPECT_EQ(lines.filter(u"frame="_s).size(), 1);
    EXPECT_TRUE(lines.filter(u"frame="_s).first().contains(u"Lsize="_s));

    QStringList joined{u"built by the FFmpeg developers (see https://ffmpeg.org)frame=  5 fps=1"_s};
    FilterEncoderOutput(joined);
    EXPECT_EQ(joined, QStringList{u"frame=  5 fps=1"_s});
    QStringList pairs{u"[h263 @ 0x1] warning, clipping 1 dct coefficients to -127..127"_s,
                      u"keep me"_s, u"   "_s, u"[mpeg4 @ 0x2] Error at MB: 3"_s};
    FilterEncoderOutput(pairs);
    EXPECT_EQ(pairs, QStringList{u"keep me"_s});
}

TEST(ProgressMonitor, LineHandler) {
    const TAppStrings strings;
    QStringList lines{u"Press [q] to stop, [?] for help"_s, ProgressLine};
    const TBatchPosition position{1, 1, 1, false, false};
    TRunDisplay d = MonitorRunLines(lines, true, position, 1000, strings);
    EXPECT_EQ(d.Percent, 25);
    EXPECT_EQ(ProgressAppTitle(d.Percent), u"25% "_s + ProductTitle());
    EXPECT_EQ(ProgressCaption(d.Percent, strings), u"Progress: 25%");
    EXPECT_EQ(lines, QStringList{ProgressLine}); // filtered in place when shown
    EXPECT_EQ(d.PaneText, ProgressLine);
    EXPECT_EQ(d.Values.Seconds, 10.0);
    EXPECT_EQ(d.Values.Speed, u"2.00x");

    // Hidden output: "Please wait..." until 100 % or the closing summary.
    lines = QStringList{u"Press [q] to stop"_s, ProgressLine};
    d = MonitorRunLines(lines, false, position, 1000, strings);
    EXPECT_EQ(d.PaneText, u"Please wait...");
    EXPECT_EQ(lines.size(), 2); // not filtered while hidden
    lines.append(u"video:55kB audio:17kB global headers:0kB muxing overhead: 15.7%"_s);
    d = MonitorRunLines(lines, false, position, 1000, strings);
    EXPECT_TRUE(d.PaneText.contains(u"muxing overhead"_s));
    // While hidden a "Multiple frames" entry freezes the status.
    lines.prepend(u"Multiple frames in a packet from stream 0"_s);
    d = MonitorRunLines(lines, false, position, 1000, strings);
    EXPECT_TRUE(d.Stopped);
    EXPECT_TRUE(d.StatusHtml.isEmpty());
}

TEST(ProgressMonitor, OverallProgressOfABatch) {
    // Weighted by duration: a 30 s file half done and a 10 s file not begun: 37 %.
    TBatchOverall o = BatchOverall({{30, 0.5}, {10, 0}}, 15000);
    EXPECT_EQ(o.Percent, 37);
    // 15 s for 37.5 %: 25 s to go at the same speed.
    EXPECT_EQ(o.MsLeft, 25000);
    // A file without a known duration counts as the average of the others.
    o = BatchOverall({{10, 1}, {0, 0}, {30, 0}}, 4000);
    EXPECT_EQ(o.Percent, 16); // 10 of 60
    // Too early to tell.
    EXPECT_EQ(BatchOverall({{10, 0.5}}, 500).MsLeft, -1);
    EXPECT_EQ(BatchOverall({{10, 0}}, 5000).MsLeft, -1);
    EXPECT_EQ(BatchOverall({}, 5000).Percent, 0);
    EXPECT_EQ(BatchOverall({{0, 1}, {0, 1}}, 5000).Percent, 100);
    EXPECT_EQ(TimeLeftText(65000), u"1:05");
    EXPECT_EQ(TimeLeftText(3723000), u"1:02:03");
    EXPECT_EQ(TimeLeftText(400), u"0:01");
}

TEST(ErrorLog, Entries) {
    TErrorLog log;
    const QDateTime when(QDate(2018, 5, 7), QTime(14, 3, 59));
    log.AddErrorLogEntry(u"ExitCode: 1\r\nline one\r\nline two"_s, u"/in.flv"_s, u"/out.avi"_s, 1,
                         when);
    log.AddErrorLogEntry(u"ExitCode: 2"_s, u"/a"_s, u"/b"_s, 0, when);
    const QLocale locale;
    const QString date = u"Date & Time: "_s + locale.toString(when.date(), QLocale::ShortFormat) +
                         u" / "_s + locale.toString(when.time(), QLocale::LongFormat);
    EXPECT_EQ(log.Text(),
              QStringList({u"Error # 1"_s, QString(10, u'-'), date, u"Input file: /in.flv"_s,
                           u"Output file: /out.avi"_s, u"ExitCode: 1"_s, u"line one"_s,
                           u"line two"_s, QString(69, u'-'), date, u"Input file: /a"_s,
                           u"Output file: /b"_s, u"ExitCode: 2"_s, QString(69, u'-')}));
    TScratchDir dir;
    const QString file = dir.Path(u"Zorvane_Errors.log"_s);
    ASSERT_TRUE(log.Save(file));
    EXPECT_EQ(ReadFile(file), (log.Text().join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    EXPECT_FALSE(log.Save(dir.Path(u"no/such/folder.log"_s)));

    log.ErrorCount = 2;
    log.ClearText(); // the user's "Clear log": numbering goes on
    EXPECT_TRUE(log.Text().isEmpty());
    EXPECT_EQ(log.ErrorCount, 2);
    log.ClearErrorLog();
    EXPECT_EQ(log.ErrorCount, 0);
}

TEST(ProgressMonitor, TheFailuresReasonInTheEncodersWords) {
    const QStringList output = {
        QStringLiteral("ffmpeg version 5.1.6 Copyright (c) 2000-2024 the FFmpeg developers"),
        QStringLiteral("  built with gcc 12"),
        QStringLiteral("/v/in.flv: Invalid data found when processing input"), QStringLiteral("")};
    const QStringList why =
        FailureLines(output, QStringLiteral("/v/in.flv"), QStringLiteral("/v/in.avi"));
    EXPECT_EQ(why,
              QStringList{QStringLiteral("/v/in.flv: Invalid data found when processing input")});
    EXPECT_EQ(FailureReason(why, QStringLiteral("/v/in.flv"), QStringLiteral("/v/in.avi")),
              u"Invalid data found when processing input");
    // "Conversion failed!" says less than the line before it.
    EXPECT_EQ(FailureReason({QStringLiteral("Unknown encoder 'libnothing'"),
                             QStringLiteral("Conversion failed!")},
                            {}, {}),
              u"Unknown encoder 'libnothing'");
    EXPECT_TRUE(FailureReason({}, {}, {}).isEmpty());
}
