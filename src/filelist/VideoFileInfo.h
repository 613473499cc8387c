#pragma once

#include <QString>
#include <array>
#include <cstdint>

inline constexpr int MaxStreamLines = 64;
inline constexpr int MaxVideoStreams = 10;
inline constexpr int MaxAudioStreams = 48;

// One "Stream #" line of the encoder's description of a file.
struct TSTreamInfoStr {
    bool StreamExists = false;
    QString Str1;

    bool operator==(const TSTreamInfoStr&) const = default;
};

struct TVideoStreamInfo {
    bool Exists = false; // the encoder described this stream
    QString Codec;
    QString CodecID;
    QString Profile;
    QString PixelFormat;
    double DAR = 0;
    QString DARStr;
    QString ScanType;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t Bitrate = 0; // kbit/s
    double FPS = 0;
    double BitsPerPixel = 0;
    uint32_t Frames = 0;
    int64_t StreamSize = 0;
    QString StreamSizeStr;
    uint8_t StreamSizeInPercent = 0;
    QString EncodedLibrary;
    uint8_t StreamIndex = 0;

    bool operator==(const TVideoStreamInfo&) const = default;
};

struct TAudioStreamInfoX {
    bool Exists = false;
    QString Codec;
    QString CodecID;
    QString CodecFF; // the encoder's short codec name
    QString Profile;
    int32_t SamplingRate = 0;
    uint8_t Channels = 0;
    QString ChannelsStr;
    uint8_t BitsPerSample = 0;
    uint32_t Frames = 0; // samples
    int32_t Bitrate = 0; // kbit/s
    QString BitrateMode;
    QString Language;
    int32_t VideoDelay = 0; // ms
    int64_t StreamSize = 0;
    QString StreamSizeStr;
    uint8_t StreamSizeInPercent = 0;
    QString EncodedLibrary;
    uint8_t StreamIndex = 0;
    int32_t DurationMs = 0;

    bool operator==(const TAudioStreamInfoX&) const = default;
};

// Why MediaInfo could not report on a file read in a helper process.
enum class TMediaInfoFailure : int32_t {
    None,
    Crashed,   // the value is the signal
    Ended,     // the value is the exit code
    TimedOut,  // the value is the time limit in seconds
    BadAnswer, // the helper's answer could not be read
    NoHelper,  // no helper could be started or take the file; the value is the system's error
};

// What an analysis learned of the file as a whole.
struct TVideoFileGeneral {
    QString FileName;
    int64_t FileSize = 0;
    uint32_t Seconds = 0; // playing time minus start time, rounded
    double Duration = 0;  // ms
    QString DurationStr;
    uint32_t Start = 0; // s, rounded
    QString Format;
    QString FormatInfo;
    int32_t OverallBitrate = 0;       // kbit/s
    uint8_t NumberOfAudioStreams = 0; // may exceed the streams described
    uint8_t NumberOfVideoStreams = 0;
    uint16_t NumberOfDataStreams = 0; // streams of every kind, the container not counted
    QString EncodedApplication;
    QString MediaInfoFull;
    TMediaInfoFailure MediaInfoFailure = TMediaInfoFailure::None;
    int32_t MediaInfoFailureValue = 0;

    bool operator==(const TVideoFileGeneral&) const = default;
    // The playing time in seconds: the exact duration where known, else the rounded one.
    double DurationSeconds() const { return Duration > 0 ? Duration / 1000 : double(Seconds); }
};

// Everything learned about one media file: the whole, and room for every stream it may describe.
struct TVideoFileInfo : TVideoFileGeneral {
    std::array<TSTreamInfoStr, MaxStreamLines> StreamsStr;
    std::array<TVideoStreamInfo, MaxVideoStreams> VideoStreams;
    std::array<TAudioStreamInfoX, MaxAudioStreams> AudioStreams;

    bool operator==(const TVideoFileInfo&) const = default;
};

void ClearVideoFileInfo(TVideoFileInfo& info);

// 0 when there is no file of that name (a folder is none), -1 when its size cannot be learned,
// otherwise its size. The file is never opened, so a FIFO can not block.
int64_t GetFileSizeSafe(const QString& fileName);
