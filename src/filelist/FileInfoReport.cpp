#include "filelist/FileInfoReport.h"

#include "core/AppParams.h"
#include "core/DisplayFormats.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <zlib.h>

namespace {

QString WithCodecId(const QString& codec, const QString& id) {
    return id.isEmpty() ? codec : codec + QStringLiteral(" (ID: ") + id + u')';
}

QString ScanTypeText(const QString& scanType, const TAppStrings& strings) {
    const QString key = scanType.trimmed().toLower();
    if (key == u"interlaced")
        return strings.FileInfo.ScanType_Interlaced;
    if (key == u"progressive")
        return strings.FileInfo.ScanType_Progressive;
    return scanType;
}

const QString Separator(71, u'-');

} // namespace

int DescribedVideoStreams(const TVideoFileInfo& info) {
    return std::min<int>(info.NumberOfVideoStreams, MaxVideoStreams);
}

int DescribedAudioStreams(const TVideoFileInfo& info) {
    return std::min<int>(info.NumberOfAudioStreams, MaxAudioStreams);
}

TFileInfoGeneralView FileInfoGeneral(const TVideoFileInfo& info) {
    TFileInfoGeneralView g;
    const QFileInfo file(info.FileName);
    g.FileName = file.fileName();
    g.Directory = QDir::toNativeSeparators(file.path());
    g.FileSize = GetFileSizeString(info.FileSize) + QStringLiteral(" (") +
                 GroupedNumber(info.FileSize) + QStringLiteral(" bytes)");
    g.Duration = info.DurationStr;
    g.OverallBitrate = GroupedNumber(info.OverallBitrate) + QStringLiteral(" kbit/s");
    g.Format = info.FormatInfo.isEmpty()
                   ? info.Format
                   : info.Format + QStringLiteral(" (") + info.FormatInfo + u')';
    g.EncodedApplication = info.EncodedApplication;
    g.NumberOfDataStreams = QString::number(info.NumberOfDataStreams);
    g.NumberOfVideoStreams = QString::number(info.NumberOfVideoStreams);
    g.NumberOfAudioStreams = QString::number(info.NumberOfAudioStreams);
    return g;
}

TFileInfoVideoView FileInfoVideo(const TVideoStreamInfo& v, const TAppStrings& strings) {
    TFileInfoVideoView view;
    view.CodecOnly = v.Codec;
    view.Codec = WithCodecId(v.Codec, v.CodecID);
    view.Profile = v.Profile;
    if (v.Bitrate > 0)
        view.Bitrate = GroupedNumber(v.Bitrate) + QStringLiteral(" kbit/s");
    view.Resolution = GroupedNumber(v.Width) + QStringLiteral(" x ") + GroupedNumber(v.Height);
    view.DisplayAspect = v.DARStr;
    view.FPS = LocaleDecimalText(v.FPS, 2);
    view.ScanType = ScanTypeText(v.ScanType, strings);
    view.PixelFormat = v.PixelFormat;
    if (v.BitsPerPixel > 0)
        view.BitsPerPixel = LocaleDecimalText(v.BitsPerPixel, 3);
    view.Frames = QStringLiteral("~ ") + GroupedNumber(v.Frames);
    if (v.StreamSize > 0)
        view.StreamSize = v.StreamSizeStr + QStringLiteral(" (") +
                          QString::number(v.StreamSizeInPercent) + QStringLiteral("%)");
    view.EncodedLibrary = v.EncodedLibrary;
    view.StreamIndex = QString::number(v.StreamIndex);
    return view;
}

TFileInfoAudioView FileInfoAudio(const TAudioStreamInfoX& a) {
    TFileInfoAudioView view;
    view.CodecOnly = a.Codec;
    view.Codec = WithCodecId(a.Codec, a.CodecID);
    view.Profile = a.Profile;
    if (a.Bitrate != 0)
        view.Bitrate = GroupedNumber(a.Bitrate) + QStringLiteral(" kbit/s  ") + a.BitrateMode;
    view.Channels = QString::number(a.Channels);
    if (a.SamplingRate != 0)
        view.SamplingRate = GroupedNumber(a.SamplingRate) + QStringLiteral(" Hz");
    if (a.BitsPerSample != 0)
        view.BitsPerSample = QString::number(a.BitsPerSample);
    view.Samples = QStringLiteral("~ ") + GroupedNumber(a.Frames);
    view.VideoDelay = QString::number(a.VideoDelay) + QStringLiteral(" ms");
    view.Language = a.Language;
    if (!a.StreamSizeStr.isEmpty() && a.StreamSizeStr != u"0")
        view.StreamSize = a.StreamSizeStr + QStringLiteral(" (") +
                          QString::number(a.StreamSizeInPercent) + QStringLiteral("%)");
    view.EncodedLibrary = a.EncodedLibrary;
    view.StreamIndex = QString::number(a.StreamIndex);
    return view;
}

QList<TDataStreamRow> DataStreamRows(const TVideoFileInfo& info) {
    QList<TDataStreamRow> rows;
    for (const TSTreamInfoStr& stream : info.StreamsStr) {
        if (!stream.StreamExists)
            continue;
        const QString& line = stream.Str1;
        const qsizetype first = line.indexOf(u':');
        const qsizetype second = first < 0 ? -1 : line.indexOf(u':', first + 1);
        if (second >= 0)
            rows.append({line.left(second).trimmed(), line.mid(second + 1).trimmed()});
        else
            rows.append({QString(), line});
    }
    return rows;
}

std::optional<quint32> FileCrc32(const QString& fileName) {
    if (!Platform::IsRegularFile(fileName))
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray block(102400, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(block.data(), block.size());
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(block.constData()), uInt(n));
    }
    return quint32(crc);
}

QString MediaInfoFailureText(const TVideoFileInfo& info, const TFileInfoModuleStrings& strings) {
    const QString value = QString::number(info.MediaInfoFailureValue);
    switch (info.MediaInfoFailure) {
    case TMediaInfoFailure::None:
        return {};
    case TMediaInfoFailure::Crashed:
        return FormatCatalogText(strings.Report_MediaInfoCrashed, value);
    case TMediaInfoFailure::Ended:
        return FormatCatalogText(strings.Report_MediaInfoEnded, value);
    case TMediaInfoFailure::TimedOut:
        return FormatCatalogText(strings.Report_MediaInfoTimedOut, value);
    case TMediaInfoFailure::BadAnswer:
        return strings.Report_MediaInfoBadAnswer;
    case TMediaInfoFailure::NoHelper:
        return FormatCatalogText(strings.Report_MediaInfoNoHelper, value);
    }
    return {};
}

QString GetInfoAsText(const TVideoFileInfo& info, const TAppStrings& strings) {
    const auto& fi = strings.FileInfo;
    QStringList lines;
    const auto line = [&lines](const QString& label, const QString& value) {
        lines.append(label + u' ' + value);
    };
    lines << FormatCatalogText(fi.Report_Info, ProductTitle()) << QString::fromUtf16(HomePageUrl);
    lines << QString() << fi.Report_File + u' ' + info.FileName << QString();
    lines << Separator << fi.Report_GeneralInfo << QString();

    const TFileInfoGeneralView g = FileInfoGeneral(info);
    lines.append(fi.lblFileSize + u' ' + GroupedNumber(info.FileSize) + QStringLiteral(" bytes (") +
                 GetFileSizeString(info.FileSize) + u')');
    if (info.FileSize <= MaxCrcFileSize) {
        if (const auto crc = FileCrc32(info.FileName))
            lines.append(QStringLiteral("CRC32: $%1").arg(*crc, 8, 16, QLatin1Char('0')).toUpper());
    }
    line(fi.lblDuration, g.Duration);
    line(fi.lblOverallBitrate, g.OverallBitrate);
    line(fi.lblFormat, g.Format);
    line(fi.lblEncodedApplication, g.EncodedApplication);
    line(fi.lblNumberOfDataStreams, g.NumberOfDataStreams);
    line(fi.lblNumberOfVideoStreams, g.NumberOfVideoStreams);
    line(fi.lblNumberOfAudioStreams, g.NumberOfAudioStreams);

    const int videos = DescribedVideoStreams(info);
    for (int i = 0; i < videos; ++i) {
        const TFileInfoVideoView v = FileInfoVideo(info.VideoStreams[size_t(i)], strings);
        lines << QString() << Separator
              << (info.NumberOfVideoStreams < 2
                      ? fi.Report_VideoStream
                      : fi.Report_VideoStream + u' ' + QString::number(i + 1))
              << QString();
        line(fi.lblVideoCodec, v.CodecOnly);
        line(fi.lblVideoProfile, v.Profile);
        line(fi.lblVideoBitrate, v.Bitrate);
        line(fi.lblResolution, v.Resolution);
        line(fi.lblDisplayAspectRatio, v.DisplayAspect);
        line(fi.lblFPS, v.FPS);
        line(fi.lblScanType, v.ScanType);
        line(fi.lblPixelFormat, v.PixelFormat);
        line(fi.lblBitsPerPixel, v.BitsPerPixel);
        line(fi.lblVideoFrames, v.Frames);
        line(fi.lblVideoStreamSize, v.StreamSize);
        line(fi.lblVideoEncodedLibrary, v.EncodedLibrary);
        line(fi.lblVideoStreamIndex, v.StreamIndex);
    }
    const int audios = DescribedAudioStreams(info);
    for (int i = 0; i < audios; ++i) {
        const TFileInfoAudioView a = FileInfoAudio(info.AudioStreams[size_t(i)]);
        lines << QString() << Separator << fi.Report_AudioStream + u' ' + QString::number(i + 1);
        line(fi.lblAudioCodec, a.CodecOnly);
        line(fi.lblAudioProfile, a.Profile);
        line(fi.lblAudioBitrate, a.Bitrate);
        line(fi.lblChannels, a.Channels);
        line(fi.lblSamplingRate, a.SamplingRate);
        line(fi.lblBitsPerSample, a.BitsPerSample);
        line(fi.lblAudioFrames, a.Samples);
        line(fi.lblVideoDelay, a.VideoDelay);
        line(fi.lblAudioLanguage, a.Language);
        line(fi.lblAudioStreamSize, a.StreamSize);
        line(fi.lblAudioEncodedLibrary, a.EncodedLibrary);
        line(fi.lblAudioStreamIndex, a.StreamIndex);
    }
    const QList<TDataStreamRow> rows = DataStreamRows(info);
    if (!rows.isEmpty()) {
        lines << QString() << Separator << fi.Report_DataStreams + QStringLiteral("   (FFmpeg)");
        for (qsizetype n = 0; n < rows.size(); ++n)
            lines.append(QStringLiteral("  %1: %2 - %3")
                             .arg(n + 1, 2)
                             .arg(rows.at(n).Stream, rows.at(n).Details));
    }
    if (info.MediaInfoFailure != TMediaInfoFailure::None) {
        lines << QString() << Separator << QStringLiteral("MediaInfo") << QString()
              << MediaInfoFailureText(info, fi);
    } else if (!info.MediaInfoFull.isEmpty()) {
        lines << QString() << Separator << QStringLiteral("MediaInfo") << QString();
        QString report = info.MediaInfoFull;
        report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lines << report.split(u'\n');
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
