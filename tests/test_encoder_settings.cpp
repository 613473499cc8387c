#include "encoding/EncoderSettings.h"
#include "localisation/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct TRules {
    bool Audio, Tag, Geometry, Filters, CustomSize, Aspect;
    bool operator==(const TRules&) const = default;
};

TRules Rules(const TEncoderSettings& s) {
    return {AudioControlsEnabled(s),  VideoTagEnabled(s),   GeometryEnabled(s),
            PictureFiltersEnabled(s), CustomSizeEnabled(s), AviAspectEnabled(s)};
}

} // namespace

TEST(EncoderSettings, Defaults) {
    const TAppStrings strings;
    const TEncoderSettings s = DefaultEncoderSettings(strings);
    EXPECT_EQ(s.OutputFormat, TOutputFormat::AVI);
    EXPECT_EQ(s.Avi.VideoCodec, vcXvid);
    EXPECT_TRUE(IsAuto(s.Avi.VideoBitrate, strings));
    EXPECT_TRUE(IsAuto(s.Audio.AudioSampling, strings));
    EXPECT_EQ(s.Mpg.VideoFormat, 2);
    EXPECT_EQ(s.Advanced.ResWidth, 854);
    EXPECT_EQ(s.Advanced.ResHeight, 480);
    EXPECT_EQ(s.Advanced.VideoTag, u"XVID");
    EXPECT_EQ(s.Advanced.RotateValue, u"180");
    EXPECT_EQ(s.Advanced.SaturationValue, 10);
    EXPECT_EQ(s.Audio.Volume, 100);
    EXPECT_EQ(DefaultEncoderSettings(strings, vcH264).Avi.VideoCodec, vcH264);
    EXPECT_TRUE(IsAuto(u"  auto "_s, strings));
    EXPECT_FALSE(IsAuto(u""_s, strings));
    EXPECT_EQ(VolumeToStr(50), u"0.50");
    EXPECT_EQ(VolumeToStr(300), u"3.00");
    EXPECT_EQ(MpgInfoText(s, strings), u"User settings");
}

TEST(EncoderSettings, CodecNames) {
    const TAppStrings strings;
    const struct {
        const char* Name;
        int Index;
    } video[] = {{"H.264", 2},
                 {"x264", 2},
                 {"Motion JPEG", 7},
                 {"DivX-3", 1},
                 {"Copy original video stream", 9},
                 {"huffyuv", 8},
                 {"Theora", 5},
                 {"wmv", 6}};
    for (const auto& c : video)
        EXPECT_EQ(GetVideoCodecIndexByName(QString::fromUtf8(c.Name), 5, strings), c.Index)
            << c.Name;
    EXPECT_EQ(GetAudioCodecIndexByName(u"wma"_s, 0, strings), 6);
    EXPECT_EQ(GetAudioCodecIndexByName(u"wav"_s, 0, strings), 7);
    EXPECT_EQ(GetAudioCodecIndexByName(u"Copy original audio stream"_s, 0, strings), 8);
    EXPECT_EQ(GetAudioCodecIndexByName(u"vorbis"_s, 0, strings), 0);
    EXPECT_EQ(GetVideoCodecIniName(2, u"XVID"_s), u"H.264");
    EXPECT_EQ(GetVideoCodecIniName(10, u"XVID"_s), u"XVID");
    EXPECT_EQ(GetAudioCodecIniName(-1, u"MP3"_s), u"MP3");
    EXPECT_EQ(GetSelectedAudioCodecStr(4), u"libfdk_aac");
    EXPECT_EQ(GetSelectedAudioCodecStr(9), u"");
    EXPECT_EQ(VideoCodecDisplayText(9, strings), u"Copy original video stream");
    EXPECT_EQ(AudioCodecDisplayText(0, strings), u"Auto");
    // Every table name maps back to its own row.
    for (int i = 0; i < VideoCodecCount; ++i)
        EXPECT_EQ(GetVideoCodecIndexByName(GetVideoCodecIniName(i, {}), -1, strings), i);
    for (int i = 0; i < AudioCodecCount; ++i)
        EXPECT_EQ(GetAudioCodecIndexByName(GetAudioCodecIniName(i, {}), -1, strings), i);
}

TEST(EncoderSettings, EnablementRules) {
    const TAppStrings strings;
    TEncoderSettings s = DefaultEncoderSettings(strings);
    EXPECT_EQ(Rules(s), (TRules{true, true, true, true, false, true}));
    s.Advanced.Resolution = 1;
    EXPECT_TRUE(CustomSizeEnabled(s));

    s.Avi.VideoCodec = vcCopy; // copy keeps the tag and deinterlacing, not geometry or filters
    EXPECT_EQ(Rules(s), (TRules{true, true, false, false, false, false}));

    s = DefaultEncoderSettings(strings);
    s.Audio.DoNotCopyAudio = true; // also takes deinterlacing and the track list
    EXPECT_FALSE(AudioControlsEnabled(s));

    s = DefaultEncoderSettings(strings);
    s.Avi.DoNotCopyVideo = true;
    EXPECT_EQ(Rules(s), (TRules{true, false, false, false, false, false}));

    s = DefaultEncoderSettings(strings);
    s.OutputFormat = TOutputFormat::MPG;
    for (const int dvd : {0, 1}) {
        s.Mpg.VideoFormat = dvd; // DVD presets: only the picture filters stay
        EXPECT_EQ(Rules(s), (TRules{false, false, false, true, false, true}));
    }
    s.Mpg.VideoFormat = 2;
    EXPECT_EQ(Rules(s), (TRules{true, true, true, true, false, true}));
    s.Mpg.DoNotCopyVideo = true;
    EXPECT_EQ(Rules(s), (TRules{true, false, false, false, false, true}));
}
