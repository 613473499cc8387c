#include "filelist/ProbeParser.h"

#include "core/DisplayFormats.h"
#include "core/Numbers.h"
#include "execution/ConRun.h"
#include "filelist/MediaInfoDll.h"
#include "platform/Platform.h"

#include <cmath>

namespace {

bool TryDecimal(const QString& text, double* value) {
    return TryStrToFloat(WithLocaleDecimalMark(text, true), value);
}

// The text after the first occurrence of `marker`, or nothing when it does not occur.
bool After(const QString& text, QStringView marker, QString* rest) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return false;
    *rest = text.mid(at + marker.size());
    return true;
}

QString Before(const QString& text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    return at < 0 ? text : text.left(at);
}

void ParseDurationLine(const QString& line, TVideoFileInfo& info) {
    QString text;
    if (!After(line, u"Duration:", &text))
        return;
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return;
    const QString durationText = text.left(comma).trimmed();
    info.DurationStr = durationText;
    double s = TimeStrToSeconds(durationText);
    info.Duration = s * 1000;
    info.Seconds = RoundToU32(s);
    const QString remaining = text.mid(comma + 1);

    QString start;
    if (After(remaining, u"start:", &start)) {
        start = start.trimmed();
        if (const qsizetype c = start.indexOf(u','); c >= 0) {
            double t = 0;
            if (TryDecimal(start.left(c), &t)) {
                info.Start = RoundToU32(t);
                s -= t;
            }
        }
        s = std::max(s, 0.0);
        info.Seconds = RoundToU32(s);
    }
    QString rate;
    if (After(remaining, u"bitrate:", &rate)) {
        int n = 0;
        if (TryStrToInt(Before(rate, u"kb/s").trimmed(), &n)) {
            if (n > 100)
                n -= 60; // the overall rate less a typical audio share stands for the video
            info.VideoStreams[0].Bitrate = std::max(n, 0);
        }
    }
}

// The digit after the ":" within the three characters after "#": "#0:1" gives 1.
void ReadStreamIndex(const QString& line, uint8_t* index) {
    QString rest;
    if (!After(line, u"#", &rest))
        return;
    const QString three = rest.left(3);
    const qsizetype colon = three.indexOf(u':');
    const QString digit = colon < 0 ? three.left(1) : three.mid(colon + 1, 1);
    if (digit.size() == 1 && digit.at(0).isDigit() && digit.at(0).unicode() < 128)
        *index = uint8_t(digit.at(0).unicode() - u'0');
}

bool TryFrameRate(const QString& item, double* fps) {
    return TryDecimal(Before(Before(item, u"fps"), u"tbr").trimmed(), fps);
}

void ParseVideoStreamLine(const QString& line, const TVideoFileInfo& info, TVideoStreamInfo& v) {
    ReadStreamIndex(line, &v.StreamIndex);
    QStringList items;
    SplitString(line, items, u',');
    for (qsizetype i = 0; i < items.size() && i <= 5; ++i) {
        QString item = items.at(i);
        switch (i) {
        case 0:
            if (const qsizetype at = item.indexOf(u"Video:"); at >= 0) {
                item = item.mid(at + 6).trimmed();
                v.Exists = true;
                v.Codec = item;
            }
            break;
        case 1:
            v.PixelFormat = item;
            break;
        case 2:
            if (const qsizetype x = item.indexOf(u'x'); x >= 0) {
                int width = 0;
                int height = 0;
                if (TryStrToInt(item.left(x), &width))
                    v.Width = uint16_t(width);
                if (TryStrToInt(Before(item.mid(x + 1), u"[").trimmed(), &height))
                    v.Height = uint16_t(height);
            }
            break;
        case 3:
            if (item.contains(u"kb/s")) {
                int rate = 0;
                if (TryStrToInt(Before(item, u"kb/s").trimmed(), &rate)) {
                    const int32_t remembered = v.Bitrate;
                    if (rate > 0)
                        v.Bitrate = rate;
                    // MPEG-1 streams report their buffer's maximum, not their rate.
                    if (rate >= 10000 && v.Codec == u"mpeg1video")
                        v.Bitrate = remembered;
                }
            }
            if (item.contains(u"tbr") || item.contains(u"fps"))
                TryFrameRate(item, &v.FPS);
            break;
        case 4:
            TryFrameRate(item, &v.FPS);
            break;
        case 5:
            if (v.FPS == 0)
                TryFrameRate(item, &v.FPS);
            break;
        }
    }
    if (v.Bitrate > 0 && v.Width > 0 && v.Height > 0 && v.FPS > 0)
        v.BitsPerPixel = v.Bitrate * 1000.0 / (v.FPS * v.Width * v.Height);
    v.Frames = RoundToU32(info.Seconds * v.FPS);
}

void ParseAudioStreamLine(const QString& line, TAudioStreamInfoX& a) {
    ReadStreamIndex(line, &a.StreamIndex);
    QStringList items;
    SplitString(line, items, u',');
    for (qsizetype i = 0; i < items.size(); ++i) {
        QString item = items.at(i);
        if (i == 0) {
            if (const qsizetype at = item.indexOf(u"Audio:"); at >= 0) {
                item = item.mid(at + 6).trimmed();
                a.Exists = true;
                a.Codec = item;
                a.CodecFF = Before(item, u" ").trimmed();
            }
        }
        if (item.contains(u"kb/s")) {
            int rate = 0;
            if (TryStrToInt(Before(item, u"kb/s").trimmed(), &rate))
                a.Bitrate = rate;
        }
        if (i == 3) {
            QString depth = Before(item, u"(").trimmed();
            if (depth.startsWith(u's'))
                depth.remove(0, 1);
            int bits = 0;
            if (TryStrToInt(depth, &bits))
                a.BitsPerSample = uint8_t(bits);
        }
        if (a.Channels == 0 && item == u"stereo")
            a.Channels = 2;
        else if (a.Channels == 0 && item == u"mono")
            a.Channels = 1;
    }
}

} // namespace

double TimeStrToSeconds(const QString& text) {
    QString t = WithLocaleDecimalMark(text, true);
    t.remove(u' ');
    qsizetype colon = t.indexOf(u':');
    if (colon < 0)
        return 0;
    int hours = 0;
    int minutes = 0;
    double seconds = 0;
    if (!TryStrToInt(t.left(colon), &hours))
        hours = 0;
    t = t.mid(colon + 1);
    colon = t.indexOf(u':');
    if (colon >= 0) {
        if (!TryStrToInt(t.left(colon), &minutes))
            minutes = 0;
        if (!TryStrToFloat(t.mid(colon + 1), &seconds))
            seconds = 0;
    }
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

void SplitString(const QString& text, QStringList& list, QChar separator) {
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, start)) {
        list.append(text.mid(start, at - start).trimmed());
        start = at + 1;
    }
    const QString rest = text.mid(start).trimmed();
    if (!rest.isEmpty())
        list.append(rest);
}

void ParseProbeOutput(const QStringList& lines, TVideoFileInfo& info) {
    int collected = 0;
    for (const QString& line : lines) {
        ParseDurationLine(line, info);
        if (line.contains(u"Stream #") && !line.startsWith(u"Guess")) {
            ++collected;
            if (collected <= MaxStreamLines - 1)
                info.StreamsStr[size_t(collected - 1)] = {true, line.trimmed()};
        }
    }
    for (const TSTreamInfoStr& stream : info.StreamsStr) {
        if (!stream.StreamExists)
            continue;
        const QString& line = stream.Str1;
        if (line.contains(u"Video:")) {
            if (info.NumberOfVideoStreams < 255)
                ++info.NumberOfVideoStreams;
            if (info.NumberOfVideoStreams <= MaxVideoStreams)
                ParseVideoStreamLine(line, info, info.VideoStreams[info.NumberOfVideoStreams - 1u]);
        } else if (line.contains(u"Audio:")) {
            if (info.NumberOfAudioStreams < 255)
                ++info.NumberOfAudioStreams;
            if (info.NumberOfAudioStreams <= MaxAudioStreams)
                ParseAudioStreamLine(line, info.AudioStreams[info.NumberOfAudioStreams - 1u]);
        }
    }
}

void DeriveVideoStreamSize(TVideoFileInfo& info) {
    TVideoStreamInfo& video = info.VideoStreams[0];
    if (info.NumberOfVideoStreams != 1 || video.StreamSize > 0)
        return;
    int64_t audio = 0;
    for (int i = 0; i < info.NumberOfAudioStreams && i < MaxAudioStreams; ++i)
        audio += info.AudioStreams[size_t(i)].StreamSize;
    // Audio that claims the whole file or more leaves nothing to tell about the video.
    if (audio <= 0 || audio >= info.FileSize)
        return;
    video.StreamSize = info.FileSize - audio;
    video.StreamSizeStr = GetFileSizeString(video.StreamSize);
    video.StreamSizeInPercent =
        uint8_t(std::min(RoundHalfEven(double(video.StreamSize) * 100 / info.FileSize), 100.0));
}

void GetVideoFileInfo(const QString& fileName, const QString& ffmpegExe,
                      const QString& mediaInfoDll, TVideoFileInfo& info,
                      const TProbeOptions& options) {
    TVideoFileInfo record;
    record.FileName = fileName;
    record.FileSize = GetFileSizeSafe(fileName);
    info = record;
    if (!Platform::IsRegularFile(fileName) || !Platform::IsRegularFile(ffmpegExe))
        return;
    QStringList lines;
    TConsoleRunOptions run;
    run.Observer = options.Observer;
    run.StallTimeoutMs = options.StallTimeoutMs;
    RunConsoleProcess(ffmpegExe, QStringLiteral("-i ") + QuoteArgument(fileName), &lines, {}, run);
    ParseProbeOutput(lines, record);
    ReadMediaInfo(fileName, mediaInfoDll, record);
    DeriveVideoStreamSize(record);
    info = std::move(record);
}
