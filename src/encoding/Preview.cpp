#include "encoding/Preview.h"

#include "execution/ConRun.h"
#include "platform/ChildProcess.h"

#include <QRegularExpression>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

// The length of the PNG that starts at `from` (its chunks up to IEND); 0 when it is cut short.
qsizetype PngLength(const QByteArray& bytes, qsizetype from) {
    qsizetype at = from + PngSignature.size();
    while (at + 12 <= bytes.size()) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
        const quint32 length =
            (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
        const qsizetype next = at + 12 + qsizetype(length);
        if (next > bytes.size())
            return 0;
        if (bytes.mid(at + 4, 4) == "IEND")
            return next - from;
        at = next;
    }
    return 0;
}

// The last line of the encoder's messages that says what went wrong.
QString LastError(const QString& log) {
    QString last;
    for (const QString& line : ConsoleLines(log.toUtf8())) {
        const QString text = line.trimmed();
        if (!text.isEmpty() && !text.startsWith(u"[Parsed_showinfo"_s))
            last = text;
    }
    return last;
}

} // namespace

QSize TPreviewFrame::DisplaySize() const {
    return {int(std::lround(Size.width() * Sar)), Size.height()};
}

QStringList PreviewArguments(const QString& file, double seconds, const QStringList& chain,
                             TPreviewFrom from) {
    // "showinfo" tells the frame's size and sample aspect ratio; it changes nothing.
    const QString filters = (chain + QStringList{u"showinfo"_s}).join(u',');
    QStringList args{u"-hide_banner"_s, u"-nostdin"_s, u"-nostats"_s, u"-v"_s, u"info"_s};
    if (from == TPreviewFrom::End)
        args << u"-sseof"_s << u"-1"_s;
    else if (from == TPreviewFrom::Moment)
        args << u"-ss"_s << QString::number(std::max(0.0, seconds), 'f', 3);
    args << u"-i"_s << file << u"-an"_s << u"-sn"_s << u"-frames:v"_s << u"1"_s << u"-vf"_s
         << filters << u"-f"_s << u"image2pipe"_s << u"-c:v"_s << u"png"_s << u"-"_s;
    return args;
}

TPreviewFrame ParsePreviewOutput(const QByteArray& output) {
    TPreviewFrame frame;
    const qsizetype start = output.indexOf(PngSignature);
    const qsizetype length = start >= 0 ? PngLength(output, start) : 0;
    if (length > 0)
        frame.Png = output.mid(start, length);
    const QString log =
        QString::fromUtf8(start >= 0 ? output.left(start) + output.mid(start + length) : output);
    static const QRegularExpression info(u"showinfo.* sar:(\\d+)/(\\d+) s:(\\d+)x(\\d+)"_s);
    QRegularExpressionMatch m;
    for (auto it = info.globalMatch(log); it.hasNext();)
        m = it.next();
    if (m.hasMatch()) {
        const double num = m.captured(1).toDouble();
        const double den = m.captured(2).toDouble();
        frame.Sar = num > 0 && den > 0 ? num / den : 1;
        frame.Size = QSize(m.captured(3).toInt(), m.captured(4).toInt());
    }
    if (frame.Png.isEmpty()) {
        frame.Failure = TPreviewFrame::TFailure::NoFrame;
        frame.Error = LastError(log);
    }
    return frame;
}

TPreviewFrame RenderPreviewFrame(const QString& ffmpeg, const QString& file, double seconds,
                                 const QStringList& chain, const std::function<bool()>& stopped) {
    const auto run = [&](TPreviewFrom from) {
        TPreviewFrame frame;
        Platform::TChildProcess child;
        int error = 0;
        if (ffmpeg.isEmpty() ||
            !child.Start(ffmpeg, PreviewArguments(file, seconds, chain, from), QString(), &error)) {
            frame.Failure = TPreviewFrame::TFailure::NoEncoder;
            return frame;
        }
        QByteArray output;
        for (;;) {
            if (stopped && stopped()) {
                child.Kill();
                frame.Failure = TPreviewFrame::TFailure::Stopped;
                return frame;
            }
            QByteArray chunk;
            const auto result = child.Read(&chunk, 1 << 20, 50);
            if (result == Platform::TChildProcess::TReadResult::End)
                break;
            output += chunk;
        }
        int exitCode = 0;
        if (!child.WaitForExit(5000, &exitCode))
            child.Kill();
        return ParsePreviewOutput(output);
    };
    // The encoder gives nothing for a moment before the video's first frame (a video that starts
    // after the audio) or past its end: the first frame, or one of the last second, instead.
    TPreviewFrame frame = run(seconds > 0 ? TPreviewFrom::Moment : TPreviewFrom::Start);
    if (frame.Failure == TPreviewFrame::TFailure::NoFrame && seconds > 0) {
        TPreviewFrame other = run(seconds < 1 ? TPreviewFrom::Start : TPreviewFrom::End);
        if (other.Failure != TPreviewFrame::TFailure::NoFrame)
            frame = other;
    }
    return frame;
}
