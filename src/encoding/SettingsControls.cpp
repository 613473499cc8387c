#include "encoding/SettingsControls.h"

#include "localisation/AppStrings.h"

#include <QLocale>

namespace {

QStringList Numbers(std::initializer_list<int> values) {
    QStringList items;
    for (const int v : values)
        items.append(QString::number(v));
    return items;
}

// from, from + step, ..., to
QStringList Steps(int from, int to, int step) {
    QStringList items;
    for (int v = from; v <= to; v += step)
        items.append(QString::number(v));
    return items;
}

} // namespace

QStringList AviVideoCodecItems(const TAppStrings& strings) {
    QStringList items;
    for (int i = 0; i < VideoCodecCount; ++i)
        items.append(VideoCodecDisplayText(i, strings));
    return items;
}

QStringList AviVideoThreadsItems(const TAppStrings& strings) {
    return QStringList{strings.Main.Auto} + Steps(1, 24, 1);
}

QStringList AviVideoBitrateItems(const TAppStrings& strings) {
    return QStringList{strings.Main.Auto} + Steps(50, 500, 50) + Steps(600, 1500, 100) +
           Steps(1750, 5000, 250) + Steps(5500, 10000, 500) + Steps(11000, 20000, 1000);
}

QStringList MpgVideoBitrateItems(const TAppStrings& strings) {
    return AviVideoBitrateItems(strings) + Steps(20500, 27000, 500);
}

QStringList VideoFPSItems(const TAppStrings& strings) {
    return {strings.Main.Auto,    QStringLiteral("5"),  QStringLiteral("8"),
            QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14.985"),
            QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("23.976"),
            QStringLiteral("24"), QStringLiteral("25"), QStringLiteral("29.97"),
            QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("59.94"),
            QStringLiteral("60")};
}

QStringList AviVideoAspectItems(const TAppStrings& strings) {
    return {strings.Main.Auto,       QStringLiteral("1:1"),  QStringLiteral("5:4"),
            QStringLiteral("4:3"),   QStringLiteral("1.43"), QStringLiteral("3:2"),
            QStringLiteral("16:10"), QStringLiteral("16:9"), QStringLiteral("1.85"),
            QStringLiteral("2:1"),   QStringLiteral("12:5")};
}

QStringList MpgVideoItems(const TAppStrings& strings) {
    return {QStringLiteral("PAL - DVD"), QStringLiteral("NTSC - DVD"), strings.Main.Custom};
}

QStringList MpegVersionItems() {
    return {QStringLiteral("MPEG-1"), QStringLiteral("MPEG-2")};
}

QStringList AudioCodecItems(const TAppStrings& strings) {
    QStringList items;
    for (int i = 0; i < AudioCodecCount; ++i)
        items.append(AudioCodecDisplayText(i, strings));
    return items;
}

QStringList AudioBitrateItems(const TAppStrings& strings) {
    return QStringList{strings.Main.Auto} +
           Numbers({8,   16,  24,  32,  40,  48,  56,  64,  80,  96,  112,
                    128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640});
}

QStringList AudioSamplingItems(const TAppStrings& strings) {
    return QStringList{strings.Main.Auto} + Numbers({16000, 22050, 24000, 32000, 44100, 48000});
}

QStringList AudioChannelsItems(const TAppStrings& strings) {
    return {strings.Main.Auto, QStringLiteral("1 - Mono"), QStringLiteral("2 - Stereo"),
            QStringLiteral("6")};
}

QString AudioTrackAutoItem(const TAppStrings& strings) {
    return strings.Main.Auto + u' ' + strings.Main.FirstAudioTrack;
}

QStringList InterlacingItems(const TAppStrings& strings) {
    return {strings.Main.Auto, strings.Main.cbInterlacing_Deinterlace,
            strings.Main.cbInterlacing_KeepOriginal};
}

QStringList RotateItems() {
    return Steps(15, 345, 15);
}

QStringList ConvertColorsItems() {
    return {QStringLiteral("grayscale"), QStringLiteral("sepia")};
}

QStringList OutputExistsItems(const TAppStrings& strings) {
    return {strings.Main.cbOutputExists_Rename, strings.Main.cbOutputExists_Overwrite,
            strings.Main.cbOutputExists_Skip};
}

QStringList AfterConversionItems(const TAppStrings& strings) {
    return {strings.Main.cbAfterConversion_DoNothing,
            strings.Main.cbAfterConversion_CloseApplication,
            strings.Main.cbAfterConversion_CloseWindows};
}

QHash<QString, bool> EncoderControlsEnabled(const TEncoderSettings& s) {
    QHash<QString, bool> on;
    const bool mpgCustom = s.Mpg.VideoFormat == 2;
    const int audioCodec = s.Audio.AudioCodec;

    const bool audio = AudioControlsEnabled(s);
    for (const char16_t* name : {u"cbAudioCodec", u"tbAudioVolume", u"lblAudioVolume",
                                 u"lblAudioVolumeInfo", u"cbAudioTrackNo", u"cbInterlacing"})
        on[QString::fromUtf16(name)] = audio;
    on[QStringLiteral("cbAudioBitrate")] = audio && audioCodec != acPcm && audioCodec != acCopy;
    on[QStringLiteral("cbAudioSampling")] = audio && audioCodec != acCopy;
    on[QStringLiteral("cbAudioChannels")] = audio && audioCodec != acCopy;
    on[QStringLiteral("chAudioDontCopy")] = !(s.IsMpg() && !mpgCustom);

    const bool tag = VideoTagEnabled(s);
    on[QStringLiteral("chVideoFourcc")] = tag;
    on[QStringLiteral("cbVideoTag")] = tag && s.Advanced.ForceVideoTag;

    const bool geometry = GeometryEnabled(s);
    for (const char16_t* name :
         {u"cbResolution", u"edCropTop", u"edCropBottom", u"edCropLeft", u"edCropRight"})
        on[QString::fromUtf16(name)] = geometry;
    on[QStringLiteral("edResWidth")] = CustomSizeEnabled(s);
    on[QStringLiteral("edResHeight")] = CustomSizeEnabled(s);

    const bool filters = PictureFiltersEnabled(s);
    for (const char16_t* name :
         {u"chConvertColors", u"chBrightness", u"chSaturation", u"chFlipHorizontal",
          u"chFlipVertical", u"chNegative", u"chRotate"})
        on[QString::fromUtf16(name)] = filters;
    const TAdvancedSettings& a = s.Advanced;
    on[QStringLiteral("cbConvertColors")] = filters && a.ConvertColors;
    on[QStringLiteral("tbBrightness")] = filters && a.Brightness;
    on[QStringLiteral("lblBrightnessValue")] = filters && a.Brightness;
    on[QStringLiteral("tbSaturation")] = filters && a.Saturation;
    on[QStringLiteral("lblSaturationValue")] = filters && a.Saturation;
    on[QStringLiteral("cbRotate")] = filters && a.Rotate;

    const bool aviVideo = !s.Avi.DoNotCopyVideo;
    const int videoCodec = s.Avi.VideoCodec;
    for (const char16_t* name : {u"cbAviVideoCodec", u"cbAviVideoThreads", u"chAviVideo2Pass"})
        on[QString::fromUtf16(name)] = aviVideo;
    on[QStringLiteral("cbAviVideoBitrate")] =
        aviVideo && videoCodec != vcHuffYUV && videoCodec != vcCopy;
    on[QStringLiteral("cbAviVideoFPS")] = aviVideo && videoCodec != vcCopy;
    on[QStringLiteral("cbAviVideoAspect")] = aviVideo && videoCodec != vcCopy;

    const bool mpgVideo = !s.Mpg.DoNotCopyVideo;
    for (const char16_t* name : {u"cbMpgVideo", u"lblMpgInfo", u"chMpgVideo2Pass"})
        on[QString::fromUtf16(name)] = mpgVideo;
    for (const char16_t* name : {u"cbMpgVideoBitrate", u"cbMpgVideoFPS", u"cbMpegVersion"})
        on[QString::fromUtf16(name)] = mpgVideo && mpgCustom;
    return on;
}

QHash<QString, bool> EncoderControlsVisible(const TEncoderSettings& s) {
    const bool h264 = s.Avi.VideoCodec == vcH264;
    return {{QStringLiteral("cbAviVideoThreads"), h264},
            {QStringLiteral("lblAviVideoThreads"), h264}};
}

QString TenthsText(int tenths) {
    return QLocale().toString(tenths / 10.0, 'f', QLocale::FloatingPointShortest);
}
