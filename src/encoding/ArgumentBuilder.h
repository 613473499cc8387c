#pragma once

#include "encoding/EncoderSettings.h"
#include "filelist/VideoFileInfo.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct TAppStrings;

// Shown when a typed value is rejected: the window opens a message box, the command-line tool
// prints to standard error.
class IWarningSink {
public:
    virtual ~IWarningSink() = default;
    virtual void ShowWarning(const QString& text) = 0;
};

// What a rejected piece reads.
inline constexpr char16_t ErrorPiece[] = u"ERROR";

// The lowest and highest valid audio bitrate (kbit/s) of an encoder at a sampling rate.
struct TAudioBitrateLimit {
    int SamplingRate;
    const char16_t* Encoder;
    int Lowest;
    int Highest;
};
extern const TAudioBitrateLimit AudioBitrateLimits[36];
inline constexpr int AudioSamplingRates[6] = {16000, 22050, 24000, 32000, 44100, 48000};

// What the builder needs besides the settings and the analysed file.
struct TBuilderEnvironment {
    QStringList ResolutionEntries; // the resolution list from its third item on
    int ProcessorCount = 2;
    int MinAudioBitrate = 96;
    QString AacEncoder = QStringLiteral("libfdk_aac"); // the encoder of the AAC row
    IWarningSink* Warnings = nullptr;
};

// The six argument pieces of one file.
struct TArgumentPieces {
    QString VCodec, VParams, ACodec, AParams, AdvParams, AddParams;
    // Whether any piece is "ERROR".
    bool HasError() const;
    void Trim();
};

class TArgumentBuilder {
public:
    TArgumentBuilder(const TEncoderSettings& settings, const TVideoFileInfo& currentFileInfo,
                     const TAppStrings& strings, const TBuilderEnvironment& environment);

    QString GetVideoCodecStr() const;
    QString GetVideoParamsStr() const;
    QString GetAudioCodecStr() const;
    QString GetAudioParamsStr() const;
    QString GetAdvancedParamsStr() const;
    QString GetAdditionalParamsStr() const;
    QString GetMapParams() const;
    // All six, trimmed.
    TArgumentPieces Pieces() const;

    // The video filters of the command line ("-vf" and its chain), in order.
    QStringList VideoFilterChain() const;
    // The whole change of the picture the command line makes: the filters, then the frame size
    // set besides them (an odd source size made even, the DVD targets' size). What a preview
    // shows; empty when no video is written.
    QStringList PictureChain() const;

private:
    const TVideoStreamInfo& Video() const { return Info.VideoStreams[0]; }
    const TAudioStreamInfoX& AudioTrack(int n) const;
    // The resolution in force: a stored entry beyond the list counts as Auto.
    int Resolution() const;
    QString ResolutionEntry() const;
    bool Reject(const QString& message, const QString& text) const;
    bool AppendVideoBitrate(QString& v, const QString& typed, double cap) const;
    bool AppendTypedFrameRate(QString& v, const QString& typed) const;
    // The even size an odd source is written at (with "-s"); nothing when it needs none.
    std::optional<QSize> EvenFrameSize() const;

    const TEncoderSettings& S;
    const TVideoFileInfo& Info;
    const TAppStrings& Strings;
    const TBuilderEnvironment& Env;
};

// "mpg" or "avi", with a leading dot when asked.
QString GetExt(const TEncoderSettings& settings, bool withDot);

// The argument strings of one file. `h264` is the one-pass form with " -preset:v faster ";
// `pass` 1 or 2 gives the two-pass forms, 0 one pass.
bool H264Mode(const TEncoderSettings& settings);
// What stands between AdvParams and AddParams in a run: " ", " -preset:v faster ", and for
// two passes "-pass N " after either.
QString RunOptionsBetweenPieces(bool h264, int pass);
QString ArgumentString(const TArgumentPieces& pieces, const QString& input, const QString& output,
                       bool h264, int pass);

// The command preview text, with "<output_file>" left in place and the input path (quoted) or
// "<input_file>" when there is none.
QString CommandPreviewText(const TEncoderSettings& settings, const TArgumentPieces& pieces,
                           const QString& inputPath);

// Helpers.
int GetProcessorCount();
int RoundToMultiple(int value, int step);
void ParseResolutionText(const QString& entry, const TVideoFileInfo& info, int* width, int* height);
// Bitrates are 16-bit quantities: a result above 65535 is held at 65535.
uint16_t CalcVideoBitrate(int width, int height, int fallback, double bitsPerPixel, double fps,
                          double cap);
uint16_t GetAutoVideoBitrate(const TVideoFileInfo& info, double cap);
int GetMaxAudioBitrate(const QString& encoder, int samplingRate, int def);
int SnapAudioBitrate(int source, int def, int minimum, int maximum);
// For an MPEG-1/2 output whose frame rate is Auto: the allowed rate to ask for, or empty when
// the source rate is allowed as it is.
QString MpegFrameRateFor(double sourceFps);
