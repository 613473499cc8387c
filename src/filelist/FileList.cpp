#include "filelist/FileList.h"

#include "core/DisplayFormats.h"
#include "core/TextFile.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <algorithm>

namespace {

QString IfPositive(qint64 value, const QString& text) {
    return value > 0 ? text : QString();
}

QString WithoutLeadingAndTrailingComma(QString text) {
    if (text.startsWith(u", "))
        text.remove(0, 2);
    if (text.endsWith(u", "))
        text.chop(2);
    return text;
}

QString ScanTypeText(const QString& scanType, const TAppStrings& strings) {
    const QString t = scanType.trimmed().toLower();
    if (t == u"interlaced")
        return strings.FileInfo.ScanType_Interlaced;
    if (t == u"progressive")
        return strings.FileInfo.ScanType_Progressive;
    return t;
}

} // namespace

const QStringList& SupportedExtensions() {
    static const QStringList extensions =
        QStringLiteral("WEBM AVI DIVX XVID MPG MPEG MPE MP4V WMV ASF MP4 M4V MOV QT 3GP 3GPP 3G2 "
                       "3GP2 3GA MKV MKA "
                       "FLV SWF F4V F4P F4A F4B VOB DAT RM RMVB OGM OGV AMV DVR-MS DAV M2TS MTS "
                       "WTV TS M2T VIDEO "
                       "HEVC WAV MP3 AC3 EAC3 AAC MPC MPA MP1 MP2 M4B M4P WMA FLAC SHN APE OGG OGA "
                       "M4A WV AMR AIFF "
                       "DTS GSM QCP RA VQF THD TRUEHD TRUE-HD DTSHD DTS-HD AVS M4R TTA")
            .split(u' ');
    return extensions;
}

bool IsSupportedFileExt(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    static const QSet<QString> set(SupportedExtensions().cbegin(), SupportedExtensions().cend());
    return set.contains(name.mid(dot + 1).toUpper());
}

QString SupportedFilesPattern() {
    QStringList patterns;
    for (const QString& ext : SupportedExtensions())
        patterns.append(QStringLiteral("*.") + ext.toLower());
    return patterns.join(u';');
}

QString FileListKey(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

QString TFileListRow::FileName() const {
    return QFileInfo(Path).fileName();
}

QString TFileListRow::Directory() const {
    return QDir::toNativeSeparators(QFileInfo(Path).path());
}

std::vector<TFileListRow> NewFileRows(const QStringList& paths) {
    std::vector<TFileListRow> rows;
    for (const QString& name : paths) {
        if (!IsSupportedFileExt(name))
            continue;
        const QString path = QFileInfo(name).absoluteFilePath();
        if (!Platform::IsRegularFile(path))
            continue; // missing, or a FIFO, socket or device that would block the encoder
        TFileListRow row;
        row.Key = FileListKey(path);
        if (row.Key.isEmpty())
            continue;
        row.Path = path;
        row.Size = GetFileSizeSafe(path);
        rows.push_back(std::move(row));
    }
    return rows;
}

void FillRowCells(TFileListRow& row, const TVideoFileInfo& info, const TAppStrings& strings) {
    // A damaged description can claim any duration, even more than 64 bits of milliseconds
    // hold; beyond 285,000 years the cell says so no more precisely.
    constexpr double LongestMs = 9.0e15;
    row.DurationMs = info.Duration > 0 ? qint64(std::min(info.Duration, LongestMs) + 0.5) : 0;
    if (info.NumberOfVideoStreams > 0) {
        const TVideoStreamInfo& v = info.VideoStreams[0];
        row.VideoCodec = v.Codec;
        row.VideoCodecID = v.CodecID;
        row.VideoProfile = v.Profile;
        row.VideoBitrate = std::max(0, v.Bitrate);
        row.VideoWidth = v.Width;
        row.VideoHeight = v.Height;
        row.VideoResolution =
            v.Width > 0 && v.Height > 0
                ? GroupedNumber(v.Width) + QStringLiteral(" x ") + GroupedNumber(v.Height)
                : QString();
        row.VideoDisplayAspect = v.DARStr;
        row.VideoFPS = v.FPS;
        row.VideoBpp = v.BitsPerPixel;
        row.VideoScanType = ScanTypeText(v.ScanType, strings);
        row.VideoStreamSize = v.StreamSize;
        QString summary = v.Codec;
        if (row.VideoBitrate != 0)
            summary +=
                QStringLiteral(", ") + GroupedNumber(row.VideoBitrate) + QStringLiteral(" kbit/s");
        if (!row.VideoResolution.isEmpty())
            summary += QStringLiteral(", ") + row.VideoResolution;
        row.Video = WithoutLeadingAndTrailingComma(summary);
    }
    if (info.NumberOfAudioStreams > 0) {
        const TAudioStreamInfoX& a = info.AudioStreams[0];
        QString codec = a.Codec;
        if (const qsizetype at = codec.indexOf(u"(Windows Media Audio)"); at >= 0)
            codec.remove(at, 21);
        codec = codec.trimmed();
        if ((codec.contains(u"MPEG Audio - Version 1") && a.Profile == u"Layer 3") ||
            codec.contains(u"(MP3)"))
            codec = QStringLiteral("MP3");
        if (!codec.isEmpty())
            row.AudioCodec = codec;
        row.AudioCodecID = a.CodecID;
        row.AudioProfile = a.Profile;
        row.AudioBitrate = a.Bitrate;
        row.AudioChannels = a.Channels;
        row.AudioSampling = a.SamplingRate;
        row.AudioStreamSize = a.StreamSize;
        QString summary = codec;
        if (a.Bitrate != 0) {
            summary += QStringLiteral(", ") + GroupedNumber(a.Bitrate) + QStringLiteral(" kbit/s");
            if (!a.BitrateMode.isEmpty())
                summary += u' ' + a.BitrateMode;
        }
        if (a.Channels > 0)
            summary += QStringLiteral(", ") + strings.FileInfo.lblChannels + u' ' +
                       QString::number(a.Channels);
        row.Audio = WithoutLeadingAndTrailingComma(summary);
    }
}

bool IsNumericColumn(int column) {
    switch (column) {
    case 0:
    case 1:
    case 5:
    case 6:
    case 11:
    case 12:
    case 13:
    case 16:
    case 17:
    case 19:
    case 24:
    case 25:
    case 26:
    case 27:
        return true;
    default:
        return false;
    }
}

QString CellText(const TFileListRow& r, int column, int number) {
    switch (column) {
    case 0:
        return GroupedNumber(number);
    case 3:
        return r.FileName();
    case 4:
        return r.Directory();
    case 5:
        return r.Size >= 0 ? GetFileSizeString(r.Size) : QString();
    case 6:
        return r.DurationMs > 0 ? MsToTimeStr(r.DurationMs, true) : QString();
    case 7:
        return r.Video;
    case 8:
        return r.VideoCodec;
    case 9:
        return r.VideoCodecID;
    case 10:
        return r.VideoProfile;
    case 11:
        return IfPositive(r.VideoBitrate, GroupedNumber(r.VideoBitrate));
    case 12:
        return IfPositive(r.VideoWidth, GroupedNumber(r.VideoWidth));
    case 13:
        return IfPositive(r.VideoHeight, GroupedNumber(r.VideoHeight));
    case 14:
        return r.VideoResolution;
    case 15:
        return r.VideoDisplayAspect;
    case 16:
        return r.VideoFPS > 0 ? LocaleDecimalText(r.VideoFPS, 2) : QString();
    case 17:
        return r.VideoBpp > 0 ? LocaleDecimalText(r.VideoBpp, 3) : QString();
    case 18:
        return r.VideoScanType;
    case 19:
        return IfPositive(r.VideoStreamSize, GetFileSizeString(r.VideoStreamSize));
    case 20:
        return r.Audio;
    case 21:
        return r.AudioCodec;
    case 22:
        return r.AudioCodecID;
    case 23:
        return r.AudioProfile;
    case 24:
        return IfPositive(r.AudioBitrate, GroupedNumber(r.AudioBitrate));
    case 25:
        return IfPositive(r.AudioChannels, GroupedNumber(r.AudioChannels));
    case 26:
        return IfPositive(r.AudioSampling, GroupedNumber(r.AudioSampling));
    case 27:
        return IfPositive(r.AudioStreamSize, GetFileSizeString(r.AudioStreamSize));
    case 28:
        return r.Status;
    default:
        return {};
    }
}

QVariant CellSortValue(const TFileListRow& r, int column, int number) {
    switch (column) {
    case 0:
        return number;
    case 1:
        return int(r.Checked);
    case 5:
        return r.Size;
    case 6:
        return r.DurationMs;
    case 11:
        return r.VideoBitrate;
    case 12:
        return r.VideoWidth;
    case 13:
        return r.VideoHeight;
    case 16:
        return r.VideoFPS;
    case 17:
        return r.VideoBpp;
    case 19:
        return r.VideoStreamSize;
    case 24:
        return r.AudioBitrate;
    case 25:
        return r.AudioChannels;
    case 26:
        return r.AudioSampling;
    case 27:
        return r.AudioStreamSize;
    default:
        return CellText(r, column, number);
    }
}

TGridInfo GetGridInfo(const std::vector<TFileListRow>& rows, const std::vector<bool>& selected) {
    TGridInfo g;
    g.RowCount = int(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool isSelected = i < selected.size() && selected[i];
        (rows[i].Checked ? g.CheckedCount : g.UncheckedCount)++;
        if (isSelected) {
            ++g.SelectedCount;
            (rows[i].Checked ? g.SelectedCheckedCount : g.SelectedUncheckedCount)++;
        }
    }
    return g;
}

std::array<QString, ListColumnCount> CalcFooter(const std::vector<TFileListRow>& rows,
                                                const TAppStrings& strings) {
    std::array<QString, ListColumnCount> footer;
    if (rows.empty())
        return footer;
    qint64 checked = 0, size = 0, duration = 0, videoSize = 0, audioSize = 0;
    struct TAverage {
        double Sum = 0;
        int Count = 0;
        void Add(double v) {
            if (v > 0) {
                Sum += v;
                ++Count;
            }
        }
    } videoBitrate, fps, bpp, audioBitrate;
    for (const TFileListRow& r : rows) {
        if (!r.Checked)
            continue;
        ++checked;
        size += std::max<qint64>(0, r.Size);
        duration += r.DurationMs;
        videoSize += r.VideoStreamSize;
        audioSize += r.AudioStreamSize;
        videoBitrate.Add(r.VideoBitrate);
        fps.Add(r.VideoFPS);
        bpp.Add(r.VideoBpp);
        audioBitrate.Add(r.AudioBitrate);
    }
    footer[0] = GroupedNumber(qint64(rows.size()));
    footer[1] = GroupedNumber(checked);
    footer[5] = IfPositive(size, GetFileSizeString(size));
    footer[6] = IfPositive(duration, MsToTimeStr(duration, true));
    footer[19] = IfPositive(videoSize, GetFileSizeString(videoSize));
    footer[27] = IfPositive(audioSize, GetFileSizeString(audioSize));
    const auto average = [&](const TAverage& a, int decimals) {
        return a.Count > 0 ? strings.Main.AverageShort + QStringLiteral("  ") +
                                 LocaleDecimalText(a.Sum / a.Count, decimals)
                           : QString();
    };
    footer[11] = average(videoBitrate, 2);
    footer[16] = average(fps, 2);
    footer[17] = average(bpp, 3);
    footer[24] = average(audioBitrate, 2);
    return footer;
}

std::optional<QStringList> ReadFileListFile(const QString& fileName) {
    const TTextFile file = ReadTextFile(fileName);
    if (!file.Exists)
        return std::nullopt;
    QStringList paths;
    for (const QString& raw : SplitLines(file.Text)) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.contains(QChar(0)))
            continue; // no path holds a NUL: binary bytes, not a name
        const qsizetype cut = line.lastIndexOf(u'/');
        QString directory = cut >= 0 ? line.left(cut) : QString();
        const QString name = line.mid(cut + 1);
        if (directory.endsWith(u'.'))
            directory.chop(1);
        if (directory.endsWith(u'/'))
            directory.chop(1);
        const QString path = cut == 0              ? u'/' + name
                             : directory.isEmpty() ? name
                                                   : directory + u'/' + name;
        if (path.isEmpty())
            continue; // "//" names nothing; taken as it was it became an empty name
        paths.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    }
    return paths;
}

bool WriteFileListFile(const QString& fileName, const QStringList& paths, int* leftOut,
                       QString* error) {
    QByteArray bytes;
    int skipped = 0;
    for (const QString& path : paths) {
        if (path.contains(u'\n') || path.contains(u'\r')) {
            ++skipped;
            continue;
        }
        bytes += path.toUtf8() + "\r\n";
    }
    if (leftOut)
        *leftOut = skipped;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QStringList CollectFolderFiles(const QString& folder, const std::function<bool()>& keepGoing) {
    QStringList folders;
    QSet<QString> seen;
    const auto walk = [&](auto&& self, const QString& path, int depth) -> void {
        const QString real = QFileInfo(path).canonicalFilePath();
        if (real.isEmpty() || seen.contains(real))
            return;
        seen.insert(real);
        folders.append(path);
        if (depth == 20 || (keepGoing && !keepGoing()))
            return;
        const QDir dir(path);
        for (const QString& child :
             dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                           QDir::Name | QDir::IgnoreCase))
            self(self, dir.filePath(child), depth + 1);
    };
    walk(walk, QDir::cleanPath(QFileInfo(folder).absoluteFilePath()), 0);
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList files;
    for (const QString& path : folders) {
        if (keepGoing && !keepGoing())
            break;
        const QDir dir(path);
        for (const QString& name :
             dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
            if (!IsSupportedFileExt(name))
                continue;
            const QString file = dir.filePath(name);
            if (Platform::IsRegularFile(file))
                files.append(file);
        }
    }
    return files;
}

QStringList AudioTrackItems(const TVideoFileInfo& info, const TAppStrings& strings) {
    QStringList items{strings.Main.Auto + u' ' + strings.Main.FirstAudioTrack};
    const int count = std::min<int>(info.NumberOfAudioStreams, MaxAudioStreams);
    for (int i = 0; i < count; ++i) {
        const TAudioStreamInfoX& a = info.AudioStreams[size_t(i)];
        const QString codec = a.Codec.contains(u"(MP3)") ? QStringLiteral("MP3") : a.Codec;
        const QString language =
            a.Language.isEmpty() ? strings.Main.AudioLanguageUndefined : a.Language;
        QString item = QStringLiteral("%1: %2 - %3 kbit/s - %4 %5 - %6 %7")
                           .arg(QString::number(i + 1), codec, QString::number(a.Bitrate),
                                strings.Main.AudioChannels, QString::number(a.Channels),
                                strings.Main.AudioLanguage, language);
        if (const qsizetype at = item.indexOf(QStringLiteral(" - 0 kbit/s")); at >= 0)
            item.remove(at, 11);
        items.append(item);
    }
    return items;
}
