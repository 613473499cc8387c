#include "encoding/EncoderSettings.h"

#include "localisation/AppStrings.h"

#include <array>

namespace {

struct TVideoCodec {
    const char16_t* Display; // null: from the catalogue
    const char16_t* IniName;
    std::array<const char16_t*, 4> Accepted;
    const char16_t* Encoder;
};

const TVideoCodec VideoCodecs[VideoCodecCount] = {
    {u"Xvid", u"Xvid", {u"XVID"}, u"libxvid"},
    {u"DivX 3 Low-Motion", u"DX3", {u"DIVX3", u"DX3", u"MSMPEG4"}, u"msmpeg4"},
    {u"H.264 / MPEG-4 AVC", u"H.264", {u"H264", u"X264"}, u"libx264"},
    {u"MPEG4 - FFmpeg ISO MPEG-4", u"FFMPEG4", {u"FFMPEG4", u"MPEG4"}, u"mpeg4"},
    {u"MS MPEG-4 version 2", u"MSMPEG4V2", {u"MSMPEG4V2", u"MP42"}, u"msmpeg4v2"},
    {u"WMV version 1 (WMP 7)", u"WMV1", {u"WMV1", u"WMVV1"}, u"wmv1"},
    {u"WMV version 2 (WMP 8)", u"WMV2", {u"WMV2", u"WMVV2", u"WMV"}, u"wmv2"},
    {u"Motion JPEG", u"Motion JPEG", {u"MOTIONJPEG", u"MJPEG", u"JPG", u"JPEG"}, u"mjpeg"},
    {nullptr, u"HuffYUV", {u"HUFFYUV"}, u"huffyuv"},
    {nullptr, u"COPY", {u"COPY"}, u"copy"},
};

struct TAudioCodec {
    const char16_t* Display;
    const char16_t* IniName;
    std::array<const char16_t*, 3> Accepted;
    const char16_t* Encoder; // also the short name
};

const TAudioCodec AudioCodecs[AudioCodecCount] = {
    {nullptr, u"AUTO", {u"AUTO"}, u"auto"},
    {u"MP3 - MPEG-1 Layer 3", u"MP3", {u"MP3"}, u"libmp3lame"},
    {u"MP2 - MPEG-1 Layer 2", u"MP2", {u"MP2"}, u"mp2"},
    {u"AC-3 - ATSC A/52A", u"AC3", {u"AC3"}, u"ac3"},
    {u"AAC - Advanced Audio Coding", u"AAC", {u"AAC"}, u"libfdk_aac"},
    {u"WMA v1 - Windows Media Audio 1", u"WMA1", {u"WMA1", u"WMAV1"}, u"wmav1"},
    {u"WMA v2 - Windows Media Audio 2", u"WMA2", {u"WMA2", u"WMAV2", u"WMA"}, u"wmav2"},
    {u"PCM 16-bit (Little endian)", u"PCM", {u"PCM", u"WAV"}, u"pcm_s16le"},
    {nullptr, u"COPY", {u"COPY"}, u"copy"},
};

QString Text(const char16_t* s) {
    return s == nullptr ? QString() : QString::fromUtf16(s);
}

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

// Upper-cased, the table's copy text read as COPY, without blanks, dots and dashes.
QString NameKey(const QString& name, const QString& copyText) {
    QString key = name.toUpper();
    if (key == copyText.toUpper())
        key = QStringLiteral("COPY");
    key.remove(u' ').remove(u'.').remove(u'-');
    return key;
}

template <typename TTable>
int IndexByName(const TTable& table, const QString& key, int def) {
    for (int i = 0; i < int(std::size(table)); ++i)
        for (const char16_t* accepted : table[i].Accepted)
            if (accepted != nullptr && key == QStringView(accepted))
                return i;
    return def;
}

} // namespace

TEncoderSettings DefaultEncoderSettings(const TAppStrings& strings, int defaultVideoCodecIndex) {
    TEncoderSettings s;
    const QString& autoText = strings.Main.Auto;
    s.Avi.VideoCodec = defaultVideoCodecIndex;
    s.Avi.VideoBitrate = s.Avi.VideoFPS = s.Avi.VideoAspect = s.Avi.EncoderThreads = autoText;
    s.Mpg.VideoBitrate = s.Mpg.VideoFPS = autoText;
    s.Audio.AudioBitrate = s.Audio.AudioSampling = autoText;
    return s;
}

bool IsAuto(const QString& text, const TAppStrings& strings) {
    return text.trimmed().toUpper() == strings.Main.Auto.toUpper();
}

QString VideoCodecDisplayText(int index, const TAppStrings& strings) {
    if (index == vcHuffYUV)
        return strings.Main.cbAviVideoCodec_HuffYUV;
    if (index == vcCopy)
        return strings.Main.cbAviVideoCodec_Copy;
    return InRange(index, VideoCodecCount) ? Text(VideoCodecs[index].Display) : QString();
}

QString AudioCodecDisplayText(int index, const TAppStrings& strings) {
    if (index == acAuto)
        return strings.Main.Auto;
    if (index == acCopy)
        return strings.Main.cbAudioCodec_Copy;
    return InRange(index, AudioCodecCount) ? Text(AudioCodecs[index].Display) : QString();
}

QString VideoCodecEncoderName(int index) {
    return Text(VideoCodecs[InRange(index, VideoCodecCount) ? index : vcXvid].Encoder);
}

QString AudioCodecEncoderName(int index) {
    return InRange(index, AudioCodecCount) ? Text(AudioCodecs[index].Encoder)
                                           : QStringLiteral("libmp3lame");
}

QString GetSelectedAudioCodecStr(int index) {
    return InRange(index, AudioCodecCount) ? Text(AudioCodecs[index].Encoder) : QString();
}

QString GetVideoCodecIniName(int index, const QString& def) {
    return InRange(index, VideoCodecCount) ? Text(VideoCodecs[index].IniName) : def;
}

QString GetAudioCodecIniName(int index, const QString& def) {
    return InRange(index, AudioCodecCount) ? Text(AudioCodecs[index].IniName) : def;
}

int GetVideoCodecIndexByName(const QString& name, int def, const TAppStrings& strings) {
    return IndexByName(VideoCodecs, NameKey(name, strings.Main.cbAviVideoCodec_Copy), def);
}

int GetAudioCodecIndexByName(const QString& name, int def, const TAppStrings& strings) {
    return IndexByName(AudioCodecs, NameKey(name, strings.Main.cbAudioCodec_Copy), def);
}

namespace {

bool MpgCustom(const TEncoderSettings& s) {
    return s.Mpg.VideoFormat == 2;
}

} // namespace

bool AudioControlsEnabled(const TEncoderSettings& s) {
    return !s.Audio.DoNotCopyAudio && !(s.IsMpg() && !MpgCustom(s));
}

bool VideoTagEnabled(const TEncoderSettings& s) {
    return s.IsMpg() ? MpgCustom(s) && !s.Mpg.DoNotCopyVideo : !s.Avi.DoNotCopyVideo;
}

bool GeometryEnabled(const TEncoderSettings& s) {
    return s.IsMpg() ? MpgCustom(s) && !s.Mpg.DoNotCopyVideo
                     : s.Avi.VideoCodec != vcCopy && !s.Avi.DoNotCopyVideo;
}

bool PictureFiltersEnabled(const TEncoderSettings& s) {
    return s.IsMpg() ? !s.Mpg.DoNotCopyVideo : GeometryEnabled(s);
}

bool CustomSizeEnabled(const TEncoderSettings& s) {
    return GeometryEnabled(s) && s.Advanced.Resolution == 1;
}

bool AviAspectEnabled(const TEncoderSettings& s) {
    return !s.Avi.DoNotCopyVideo && s.Avi.VideoCodec != vcCopy;
}

QString VolumeToStr(int volume) {
    return QString::number(volume * 0.01, 'f', 2);
}

QString MpgInfoText(const TEncoderSettings& s, const TAppStrings& strings) {
    switch (s.Mpg.VideoFormat) {
    case 0:
        return QStringLiteral("MPEG-2 / 720 x 576 / 25 fps / AC3");
    case 1:
        return QStringLiteral("MPEG-2 / 720 x 480 / 29.970 fps / AC3");
    default:
        return strings.Main.MpgUserSettings;
    }
}
