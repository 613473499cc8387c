#pragma once

#include "filelist/VideoFileInfo.h"

#include <QList>
#include <QString>
#include <optional>

struct TFileInfoModuleStrings;

struct TAppStrings;

// What the file properties window shows and the text report writes, computed from an analysed
// file; the window only puts these texts into its labels.

struct TFileInfoGeneralView {
    QString FileName;  // name part
    QString Directory; // folder part, native separators
    QString FileSize;  // "69.56 KB (71 234 bytes)"
    QString Duration;
    QString OverallBitrate;
    QString Format;
    QString EncodedApplication;
    QString NumberOfDataStreams;
    QString NumberOfVideoStreams;
    QString NumberOfAudioStreams;
};

struct TFileInfoVideoView {
    QString Codec;     // with " (ID: ...)" for the window
    QString CodecOnly; // as the report writes it
    QString Profile;
    QString Bitrate;
    QString Resolution;
    QString DisplayAspect;
    QString FPS;
    QString ScanType;
    QString PixelFormat;
    QString BitsPerPixel;
    QString Frames;
    QString StreamSize;
    QString EncodedLibrary;
    QString StreamIndex;
};

struct TFileInfoAudioView {
    QString Codec;
    QString CodecOnly;
    QString Profile;
    QString Bitrate;
    QString Channels;
    QString SamplingRate;
    QString BitsPerSample;
    QString Samples;
    QString VideoDelay;
    QString Language;
    QString StreamSize;
    QString EncodedLibrary;
    QString StreamIndex;
};

struct TDataStreamRow {
    QString Stream;  // "Stream #0:1"
    QString Details; // "Audio: aac ..."
};

// Streams the record describes: at most 10 video and 48 audio streams.
int DescribedVideoStreams(const TVideoFileInfo& info);
int DescribedAudioStreams(const TVideoFileInfo& info);

TFileInfoGeneralView FileInfoGeneral(const TVideoFileInfo& info);
TFileInfoVideoView FileInfoVideo(const TVideoStreamInfo& stream, const TAppStrings& strings);
TFileInfoAudioView FileInfoAudio(const TAudioStreamInfoX& stream);
QList<TDataStreamRow> DataStreamRows(const TVideoFileInfo& info);

// Files up to this size get a CRC32 line in the report.
inline constexpr qint64 MaxCrcFileSize = 300ll * 1024 * 1024;
// zlib's CRC-32 of a whole regular file; nothing when it cannot be read.
std::optional<quint32> FileCrc32(const QString& fileName);

// The text report: lines ended by CR LF.
QString GetInfoAsText(const TVideoFileInfo& info, const TAppStrings& strings);

// What the report says when MediaInfo failed on the file; empty when it did not.
QString MediaInfoFailureText(const TVideoFileInfo& info, const TFileInfoModuleStrings& strings);
