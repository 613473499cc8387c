#pragma once

#include <QString>
#include <QStringList>

struct TAppStrings;

// Every choice that shapes an encoder run. Field names are the keys of the profile files; text
// fields hold what their lists show, Auto as the catalogue's Auto text.

enum class TOutputFormat { AVI, MPG };

struct TAviVideoSettings {
    int VideoCodec = 0; // row of the video codec table
    QString VideoBitrate;
    QString VideoFPS;
    QString VideoAspect;
    bool Video2Pass = false;
    bool DoNotCopyVideo = false;
    QString EncoderThreads;
};

struct TMpgVideoSettings {
    int VideoFormat = 2; // 0 PAL DVD, 1 NTSC DVD, 2 Custom
    int MPEGVersion = 0; // 0 MPEG-1, 1 MPEG-2
    QString VideoBitrate;
    QString VideoFPS;
    bool Video2Pass = false;
    bool DoNotCopyVideo = false;
};

struct TAudioSettings {
    int AudioCodec = 0; // row of the audio codec table
    QString AudioBitrate;
    QString AudioSampling;
    int AudioChannels = 0; // 0 Auto, 1 mono, 2 stereo, 3 six channels
    bool DoNotCopyAudio = false;
    int Volume = 100; // percent
};

struct TAdvancedSettings {
    int Resolution = 0; // 0 Auto, 1 Custom, 2.. an entry of the resolution list
    int ResWidth = 854;
    int ResHeight = 480;
    bool ForceVideoTag = false;
    QString VideoTag = QStringLiteral("XVID");
    int CropTop = 0;
    int CropBottom = 0;
    int CropLeft = 0;
    int CropRight = 0;
    QStringList AdditionalParams;
    int Interlacing = 0; // 0 Auto, 1 deinterlace, 2 keep
    bool ConvertColors = false;
    int ConvertColorsValue = 0; // 0 grayscale, 1 sepia
    bool Brightness = false;
    int BrightnessValue = 0; // tenths, -20..20
    bool Saturation = false;
    int SaturationValue = 10; // tenths, 1..30
    bool FlipHorizontal = false;
    bool FlipVertical = false;
    bool Negative = false;
    bool Rotate = false;
    QString RotateValue = QStringLiteral("180");
};

struct TEncoderSettings {
    TOutputFormat OutputFormat = TOutputFormat::AVI;
    TAviVideoSettings Avi;
    TMpgVideoSettings Mpg;
    TAudioSettings Audio;
    TAdvancedSettings Advanced;
    int AudioTrackNo = 0; // 0 automatic (first track); not kept in profiles

    bool IsMpg() const { return OutputFormat == TOutputFormat::MPG; }
    // "Do not copy video stream" of the page in force.
    bool DoNotCopyVideo() const { return IsMpg() ? Mpg.DoNotCopyVideo : Avi.DoNotCopyVideo; }
};

// Row numbers of the codec tables the rules refer to.
enum TVideoCodecRow { vcXvid = 0, vcH264 = 2, vcWmv1 = 5, vcHuffYUV = 8, vcCopy = 9 };
enum TAudioCodecRow { acAuto = 0, acAac = 4, acPcm = 7, acCopy = 8 };
inline constexpr int VideoCodecCount = 10;
inline constexpr int AudioCodecCount = 9;

// The defaults; the default video codec is the program option (row 0 Xvid or 2 H.264).
TEncoderSettings DefaultEncoderSettings(const TAppStrings& strings, int defaultVideoCodecIndex = 0);

// A text is Auto when, trimmed and upper-cased, it equals the upper-cased catalogue Auto.
bool IsAuto(const QString& text, const TAppStrings& strings);

// The codec tables.
QString VideoCodecDisplayText(int index, const TAppStrings& strings);
QString AudioCodecDisplayText(int index, const TAppStrings& strings);
QString VideoCodecEncoderName(int index); // "libxvid" outside the table
QString AudioCodecEncoderName(int index); // "libmp3lame" outside the table
// "auto", "libmp3lame", ... by row; empty outside the table.
QString GetSelectedAudioCodecStr(int index);
QString GetVideoCodecIniName(int index, const QString& def);
QString GetAudioCodecIniName(int index, const QString& def);
int GetVideoCodecIndexByName(const QString& name, int def, const TAppStrings& strings);
int GetAudioCodecIndexByName(const QString& name, int def, const TAppStrings& strings);

// Which settings are in force.
bool AudioControlsEnabled(const TEncoderSettings& s);
bool VideoTagEnabled(const TEncoderSettings& s);
bool GeometryEnabled(const TEncoderSettings& s);
bool PictureFiltersEnabled(const TEncoderSettings& s);
bool CustomSizeEnabled(const TEncoderSettings& s);
bool AviAspectEnabled(const TEncoderSettings& s);

// 50 -> "0.50": the volume factor, always with "." as the decimal mark.
QString VolumeToStr(int volume);
// The description beside the MPG preset list.
QString MpgInfoText(const TEncoderSettings& s, const TAppStrings& strings);
