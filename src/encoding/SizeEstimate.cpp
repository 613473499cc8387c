#include "encoding/SizeEstimate.h"

#include "core/DisplayFormats.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

namespace {

// "-b:v 800k" in a piece: 800; 0 without one.
double KbitOption(const QString& piece, const QString& option) {
    static const QRegularExpression number(u"^(\\d+)k"_s);
    const qsizetype at = piece.indexOf(option + u' ');
    if (at < 0)
        return 0;
    const auto match = number.match(piece.mid(at + option.size() + 1));
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

int IntOption(const QString& piece, const QString& option) {
    const qsizetype at = piece.indexOf(option + u' ');
    return at < 0 ? 0 : piece.mid(at + option.size() + 1).section(u' ', 0, 0).toInt();
}

const TAudioStreamInfoX& ChosenTrack(const TEncoderSettings& s, const TVideoFileInfo& input) {
    const int track = s.AudioTrackNo >= 1 && s.AudioTrackNo <= MaxAudioStreams ? s.AudioTrackNo : 1;
    return input.AudioStreams[size_t(track - 1)];
}

double VideoKbit(const TVideoFileInfo& input, const TArgumentPieces& p, double seconds) {
    const TVideoStreamInfo& v = input.VideoStreams[0];
    if (p.VCodec == u"-vn" || input.NumberOfVideoStreams == 0)
        return 0;
    if (p.VCodec.contains(u"-target "_s))
        return 6000; // the DVD targets' own rate
    if (const double typed = KbitOption(p.VParams, u"-b:v"_s); typed > 0)
        return typed;
    if (p.VCodec.endsWith(u" copy"_s)) {
        if (v.Bitrate > 0)
            return v.Bitrate;
        return v.StreamSize > 0 ? v.StreamSize * 8.0 / 1000 / seconds : 0;
    }
    // A lossless codec: about a byte a pixel.
    return v.Width * double(v.Height) * (v.FPS > 0 ? v.FPS : 25) * 8 / 1000;
}

double AudioKbit(const TEncoderSettings& s, const TVideoFileInfo& input, const TArgumentPieces& p) {
    if (p.ACodec == u"-an" || input.NumberOfAudioStreams == 0)
        return 0;
    if (p.VCodec.contains(u"-target "_s))
        return 448;
    const TAudioStreamInfoX& track = ChosenTrack(s, input);
    if (const double typed = KbitOption(p.AParams, u"-b:a"_s); typed > 0)
        return typed;
    if (s.Audio.AudioCodec == acPcm) {
        const int rate = IntOption(p.AParams, u"-ar"_s);
        const int channels = IntOption(p.AParams, u"-ac"_s);
        return (rate > 0 ? rate : (track.SamplingRate > 0 ? track.SamplingRate : 44100)) *
               double(channels > 0 ? channels : (track.Channels > 0 ? track.Channels : 2)) * 16 /
               1000;
    }
    return track.Bitrate > 0 ? track.Bitrate : 128; // copied
}

// The folder itself, or its nearest parent that exists.
QString ExistingFolder(const QString& folder) {
    QString path = QFileInfo(folder).absoluteFilePath();
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}

} // namespace

qint64 EstimateOutputBytes(const TEncoderSettings& settings, const TVideoFileInfo& input,
                           const TArgumentPieces& pieces) {
    const double seconds = input.DurationSeconds();
    if (seconds <= 0 || pieces.HasError())
        return 0;
    const double kbit = VideoKbit(input, pieces, seconds) + AudioKbit(settings, input, pieces);
    // The container's share: its index and headers, a few per cent at these rates.
    return qint64(kbit * 1000 / 8 * seconds * 1.02) + 32 * 1024;
}

qint64 EstimateOutputBytes(const TEncoderSettings& settings, const TVideoFileInfo& input,
                           const TBuilderEnvironment& environment, const TAppStrings& strings) {
    TBuilderEnvironment quiet = environment;
    quiet.Warnings = nullptr;
    return EstimateOutputBytes(settings, input,
                               TArgumentBuilder(settings, input, strings, quiet).Pieces());
}

qint64 TotalBytes(const QList<TPlannedOutput>& outputs) {
    qint64 total = 0;
    for (const TPlannedOutput& output : outputs)
        total += output.Bytes;
    return total;
}

QList<TSpaceShortage> SpaceShortages(const QList<TPlannedOutput>& outputs) {
    struct TSum {
        QString Folder;
        qint64 Needed = 0;
        qint64 Free = 0;
    };
    QList<std::pair<QString, TSum>> perDevice; // by the file system's root, in first-seen order
    for (const TPlannedOutput& output : outputs) {
        if (output.Bytes <= 0)
            continue;
        const QStorageInfo storage(ExistingFolder(output.Folder));
        if (!storage.isValid())
            continue;
        const QString root = storage.rootPath() + u'|' + QString::fromUtf8(storage.device());
        auto it = std::find_if(perDevice.begin(), perDevice.end(),
                               [&](const auto& entry) { return entry.first == root; });
        if (it == perDevice.end()) {
            perDevice.append(
                {root, {QDir::toNativeSeparators(output.Folder), 0, storage.bytesAvailable()}});
            it = perDevice.end() - 1;
        }
        it->second.Needed += output.Bytes;
    }
    QList<TSpaceShortage> shortages;
    for (const auto& [root, sum] : perDevice)
        if (sum.Needed > sum.Free)
            shortages.append({sum.Folder, sum.Needed, sum.Free});
    return shortages;
}

QString SpaceShortageText(const TSpaceShortage& shortage, const TAppStrings& strings) {
    return FormatCatalogText(strings.Main.SpaceNeeded, shortage.Folder,
                             GetFileSizeString(shortage.Needed)) +
           u"\r\n"_s + FormatCatalogText(strings.Main.SpaceFree, GetFileSizeString(shortage.Free));
}
