#include "execution/ProgressMonitor.h"

#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "core/Numbers.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QRegularExpression>
#include <cmath>

using namespace Qt::StringLiterals;

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

bool ExplainsFailure(const QString& line) {
    static const char* const phrases[] = {"invalid data",
                                          "no such file",
                                          "permission denied",
                                          "unknown encoder",
                                          "unknown decoder",
                                          "conversion failed",
                                          "error",
                                          "not found",
                                          "does not contain",
                                          "invalid argument",
                                          "no space left",
                                          "not supported",
                                          "could not",
                                          "cannot",
                                          "unable to",
                                          "failed",
                                          "unrecognized option",
                                          "option not found",
                                          "matches no streams"};
    const QString lower = line.toLower();
    for (const char* phrase : phrases)
        if (lower.contains(QLatin1StringView(phrase)))
            return true;
    return false;
}

QStringList FailureLines(const QStringList& lines, const QString& input, const QString& output,
                         int most) {
    QStringList found;
    for (qsizetype i = lines.size() - 1; i >= 0 && found.size() < most; --i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u"frame="_s) || line.startsWith(u"size="_s))
            continue;
        if (ExplainsFailure(line) || (!input.isEmpty() && line.contains(input)) ||
            (!output.isEmpty() && line.contains(output)))
            found.prepend(line);
    }
    return found;
}

QString FailureReason(const QStringList& failureLines, const QString& input,
                      const QString& output) {
    // The first line that explains, else the last line there is.
    QString best = failureLines.isEmpty() ? QString() : failureLines.last();
    for (const QString& line : failureLines)
        if (ExplainsFailure(line) && !line.startsWith(u"Conversion failed"_s)) {
            best = line;
            break;
        }
    for (const QString& name : {input, output})
        if (!name.isEmpty() && best.startsWith(name + u": "_s))
            return best.mid(name.size() + 2);
    return best;
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
        if (const qsizetype at = entry.indexOf(QStringLiteral("speed=")); at >= 0) {
            v.Speed = entry.mid(at + 6).trimmed();
            v.SpeedText = QStringLiteral(" <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  ") +
                          v.Speed.toHtmlEscaped() + QStringLiteral("  </FONT></b> ");
        }
        if (const qsizetype at = entry.indexOf(QStringLiteral("time=")); at >= 0) {
            // "time=00:01:02.50"; "time=N/A" before the first frame.
            const QString rest = entry.mid(at + 5);
            const QString text = rest.left(rest.indexOf(u' ')).trimmed();
            const QStringList parts = text.split(u':');
            if (parts.size() == 3) {
                bool ok[3] = {false, false, false};
                const double seconds = parts[0].toDouble(&ok[0]) * 3600 +
                                       parts[1].toDouble(&ok[1]) * 60 + parts[2].toDouble(&ok[2]);
                if (ok[0] && ok[1] && ok[2])
                    v.Seconds = seconds;
            }
        }
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

TRunDisplay MonitorRunLines(QStringList& lines, bool outputShown, const TBatchPosition& position,
                            uint32_t estimatedFrames, const TAppStrings& strings) {
    TRunDisplay d;
    if (outputShown)
        FilterEncoderOutput(lines);
    d.Values = ScanProgress(lines);
    if (d.Values.Stopped) {
        d.Stopped = true;
        return d;
    }
    d.Percent = ProgressPercent(d.Values.Frame, estimatedFrames);
    d.StatusHtml = StatusLineHtml(d.Values, position, estimatedFrames, strings);
    const QString joined = lines.join(u'\n');
    if (outputShown || d.Percent == 100 ||
        (joined.contains(QStringLiteral("global headers:")) &&
         joined.contains(QStringLiteral("muxing overhead:"))))
        d.PaneText = joined;
    else
        d.PaneText = strings.Main.PleaseWait;
    return d;
}

QString ProgressAppTitle(int percent) {
    return QStringLiteral("%1% ").arg(percent) + ProductTitle();
}

QString ProgressCaption(int percent, const TAppStrings& strings) {
    return strings.Progress.lblProgress + QStringLiteral(" %1%").arg(percent);
}

TBatchOverall BatchOverall(const QList<TJobShare>& jobs, qint64 elapsedMs) {
    double known = 0;
    int knownCount = 0;
    for (const TJobShare& job : jobs) {
        if (job.Seconds > 0) {
            known += job.Seconds;
            ++knownCount;
        }
    }
    const double fallback = knownCount > 0 ? known / knownCount : 1.0;
    double total = 0;
    double done = 0;
    for (const TJobShare& job : jobs) {
        const double weight = job.Seconds > 0 ? job.Seconds : fallback;
        total += weight;
        done += weight * std::clamp(job.Done, 0.0, 1.0);
    }
    TBatchOverall overall;
    if (total <= 0)
        return overall;
    const double share = done / total;
    overall.Percent = int(std::clamp(std::floor(share * 100), 0.0, 100.0));
    // Too early a guess jumps about: wait for a second and a percent of the work.
    if (share >= 0.01 && elapsedMs >= 1000)
        overall.MsLeft = qint64(double(elapsedMs) * (1 - share) / share);
    return overall;
}

QString TimeLeftText(qint64 ms) {
    const qint64 s = (std::max<qint64>(ms, 0) + 999) / 1000;
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
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
