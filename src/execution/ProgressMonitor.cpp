#include "execution/ProgressMonitor.h"

#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "core/Numbers.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QRegularExpression>
#include <thread>

namespace {

// The encoder project's own domain, seen where its banner runs into the first progress line.
const QString BannerJoin = QStringLiteral("ffmpeg.org)frame=");

const char16_t* const DroppedStarts[] = {u"FFmpeg version",
                                         u"  configuration:",
                                         u"  built with gcc",
                                         u"  libavutil ",
                                         u"  libavcodec ",
                                         u"  libavresample ",
                                         u"  libavformat ",
                                         u"  libavdevice ",
                                         u"  libswscale",
                                         u"  libpostproc",
                                         u"  built on ",
                                         u"  libavcore ",
                                         u"  libavfilter ",
                                         u"  libswresample ",
                                         u"Unable to parse option value",
                                         u"Multiple frames in a packet from stream",
                                         u"[mpeg4 @ 01478BD0]",
                                         u"-async is forwarded",
                                         u"Press [q] to stop",
                                         u"Past duration"};

const char16_t* const DroppedContents[] = {
    u"Note: libopencore_amrnb supports dtx",
    u"The requested thread algorithm is not supported with this thread library.",
    u"Buffering several frames is not supported. Please consume all available",
    u"Warning, extension is not",
    u"ff asf skip",
    u"ff asf bad header",
    u"freeing incomplete packet size",
    u"Last message repeated",
    u"Invalid and inefficient vfw-avi packed B frames detected",
    u"Invalid data found when processing input",
    u"Header missing",
    u"start time is not set in estimate_timings_from_pts",
    u"Consider increasing the value for the",
    u"Application provided invalid, non monotonically increasing",
    u"Non-monotonous DTS in output stream",
    u"Queue input is backward in time",
    u"Not yet implemented in FFmpeg, patches welcome",
    u"Update your FFmpeg version to the newest one from Git",
    u"Using AVStream.codec to pass codec parameters to muxers is deprecated",
    u"video_delay is larger in decoder than demuxer 1 > 0.",
    u"If you want to help, upload a sample",
    u"pts has no value"};

const char16_t* const DroppedPairs[][2] = {
    {u"h263 @", u"warning, clipping"},  {u"vcd", u"buffer underflow"},
    {u"mpeg4", u"Error at MB:"},        {u"mpeg4", u"concealing"},
    {u"mpeg @", u"Invalid timestamps"}, {u"mpegts", u"hdmv_pgs_subtitle"},
    {u"amrnb", u"Corrupt bitstream"},   {u"warning", u"dct coefficients to"},
    {u"overread", u"enddists:"},        {u"Invalid pixel aspect ratio", u"reducing"}};

bool Dropped(const QString& line) {
    for (const char16_t* start : DroppedStarts)
        if (line.startsWith(QStringView(start), Qt::CaseInsensitive))
            return true;
    for (const char16_t* text : DroppedContents)
        if (line.contains(QStringView(text)))
            return true;
    for (const auto& pair : DroppedPairs)
        if (line.contains(QStringView(pair[0])) && line.contains(QStringView(pair[1])))
            return true;
    return false;
}

// The size before its unit: "70kB " (FFmpeg up to 6) or "70KiB " (FFmpeg 7).
qsizetype SizeUnit(const QString& text) {
    const qsizetype kb = text.indexOf(QStringLiteral("KB "), 0, Qt::CaseInsensitive);
    return kb >= 0 ? kb : text.indexOf(QStringLiteral("KiB "), 0, Qt::CaseInsensitive);
}

} // namespace

void FilterEncoderOutput(QStringList& lines) {
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString& line = lines.at(i);
        if (line.trimmed().isEmpty()) {
            lines.removeAt(i);
        } else if (const qsizetype at = line.indexOf(BannerJoin); at >= 0) {
            lines[i] = line.mid(at + BannerJoin.size() - 6);
        } else if (Dropped(line)) {
            lines.removeAt(i);
        }
    }
}

TProgressValues ScanProgress(const QStringList& lines) {
    TProgressValues v;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString& entry = lines.at(i);
        if (entry.startsWith(QStringLiteral("Multiple frames in a packet from stream"),
                             Qt::CaseInsensitive)) {
            v.Stopped = true;
            return v;
        }
        if (const qsizetype at = entry.indexOf(QStringLiteral("size=")); at >= 0) {
            const QString rest = entry.mid(at + 5).trimmed();
            if (const qsizetype unit = SizeUnit(rest); unit >= 0) {
                // Text from the encoder goes into HTML: as text, never as markup.
                v.SizeText = rest.left(unit).toHtmlEscaped();
                int kb = 0;
                if (TryStrToInt(v.SizeText, &kb))
                    v.SizeText = QStringLiteral("<b>") + GetFileSizeString(qint64(kb) * 1024) +
                                 QStringLiteral("</b>");
            }
        }
        if (const qsizetype at = entry.indexOf(QStringLiteral("speed=")); at >= 0)
            v.SpeedText = QStringLiteral(" <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  ") +
                          entry.mid(at + 6).trimmed().toHtmlEscaped() +
                          QStringLiteral("  </FONT></b> ");
        if (entry.startsWith(QStringLiteral("frame="), Qt::CaseInsensitive)) {
            const QString rest = entry.mid(6);
            if (const qsizetype fps = rest.indexOf(QStringLiteral("fps=")); fps >= 0) {
                TryStrToInt(rest.left(fps).trimmed(), &v.Frame);
                const QString after = rest.mid(fps + 4).trimmed();
                const qsizetype blank = after.indexOf(u' ');
                v.FpsText = (blank < 0 ? after : after.left(blank)).toHtmlEscaped();
            }
        }
    }
    return v;
}

int ProgressPercent(int frame, uint32_t estimatedFrames) {
    if (frame == 0)
        return 0;
    if (estimatedFrames == 0)
        return 0; // -1 clamped
    const double p = RoundHalfEven(double(frame) * 100 / estimatedFrames);
    return int(std::clamp(p, 0.0, 100.0));
}

QString StatusLineHtml(const TProgressValues& v, const TBatchPosition& pos, uint32_t estimated,
                       const TAppStrings& strings) {
    const auto& p = strings.Progress;
    const QString sep = QStringLiteral("    ::    ");
    const QString no = QString::number(pos.BatchFileNo);
    const QString count = QString::number(pos.BatchFileCount);
    if (pos.NoVideoOutput)
        return p.ConvertingFile + u' ' + no + QStringLiteral(" / ") + count;
    QString s = p.ConvertingFile + QStringLiteral(" <b>") + no + QStringLiteral("</b> / <b>") +
                count + QStringLiteral("</b>");
    if (pos.TwoPassMode) {
        const bool first = pos.CurrentPass == 1;
        s += QStringLiteral("  <font bgcolor=\"") +
             (first ? QStringLiteral("#D63D16") : QStringLiteral("#2462C8")) +
             QStringLiteral("\" color=\"") +
             (first ? QStringLiteral("#FAD3C9") : QStringLiteral("#D5EBFD")) +
             QStringLiteral("\"><b>  ") + p.Conversion_Pass + u' ' +
             QString::number(pos.CurrentPass) + QStringLiteral("  </b></font> ") + sep +
             p.Conversion_Speed + u' ' + v.SpeedText + QStringLiteral(" (") + v.FpsText + u' ' +
             p.Conversion_FramesPerSecond + u')';
    } else {
        s += sep + p.Conversion_Speed + u' ' + v.SpeedText + QStringLiteral(" ( ") + v.FpsText +
             u' ' + p.Conversion_FramesPerSecond + QStringLiteral(" )");
    }
    return s + sep + p.Conversion_Frame + u' ' + QString::number(v.Frame) + QStringLiteral(" / ~") +
           QString::number(estimated) + sep + v.SizeText;
}

bool TAbortState::RequestAbort() {
    if (AbortRequested || !ConversionRunning)
        return false;
    WriteToConsoleInput(StrToOem(QStringLiteral("q")));
    GracePeriod.start();
    AbortRequested = true;
    return true;
}

void TAbortState::Tick() {
    if (GracePeriod.isValid() && GracePeriod.elapsed() >= GracePeriodMs) {
        TerminateRequested = true;
        GracePeriod.invalidate();
    }
}

void TAbortState::Reset() {
    GracePeriod.invalidate();
    AbortRequested = false;
    TerminateRequested = false;
}

void TProgressMonitor::TerminateIfRequested() {
    Abort.Tick();
    if (!Abort.TerminateRequested)
        return;
    if (WriteToConsoleInput(StrToOem(QStringLiteral("q"))))
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Platform::TerminateChildren(FFmpegExe);
}

void TProgressMonitor::OnConsoleIdle() {
    View.ProcessEvents();
    // A silent encoder is ended too once the grace period is over.
    TerminateIfRequested();
}

void TProgressMonitor::OnConsoleLine(const QString&) {
    View.ProcessEvents();
    TerminateIfRequested();
    const bool shown = !View.EncoderOutputHidden();
    if (shown)
        FilterEncoderOutput(Lines);
    const TProgressValues values = ScanProgress(Lines);
    if (values.Stopped)
        return;
    const int percent = ProgressPercent(values.Frame, EstimatedFrames);
    View.ShowStatusLine(StatusLineHtml(values, Position, EstimatedFrames, Strings));
    if (percent > 0)
        View.ShowProgress(percent, QStringLiteral("%1% ").arg(percent) + ProductTitle(),
                          Strings.Progress.lblProgress + QStringLiteral(" %1%").arg(percent));
    const QString joined = Lines.join(u'\n');
    if (shown) {
        View.ShowEncoderOutput(joined);
    } else if (percent == 100 || (joined.contains(QStringLiteral("global headers:")) &&
                                  joined.contains(QStringLiteral("muxing overhead:")))) {
        View.ShowEncoderOutput(joined);
    } else {
        View.ShowEncoderOutput(Strings.Main.PleaseWait);
    }
}

QString BadgesAsStyledSpans(const QString& html) {
    static const QRegularExpression open(QStringLiteral("<font\\b([^>]*)>"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression close(QStringLiteral("</font\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attribute(
        QStringLiteral("\\b(bgcolor|color)\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    QString result;
    qsizetype last = 0;
    QRegularExpressionMatchIterator tags = open.globalMatch(html);
    while (tags.hasNext()) {
        const QRegularExpressionMatch tag = tags.next();
        result += html.mid(last, tag.capturedStart() - last);
        QStringList style;
        QRegularExpressionMatchIterator attributes = attribute.globalMatch(tag.captured(1));
        while (attributes.hasNext()) {
            const QRegularExpressionMatch a = attributes.next();
            style.append((a.captured(1).compare(u"bgcolor", Qt::CaseInsensitive) == 0
                              ? QStringLiteral("background-color:")
                              : QStringLiteral("color:")) +
                         a.captured(2));
        }
        result += QStringLiteral("<span style=\"") + style.join(u';') + QStringLiteral("\">");
        last = tag.capturedEnd();
    }
    result += html.mid(last);
    return result.replace(close, QStringLiteral("</span>"));
}
