#include "TestSupport.h"
#include "core/IniFile.h"
#include "encoding/Profiles.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ProfilesTest : public ::testing::Test {
protected:
    TEncoderSettings Load(const QByteArray& text, TEncoderSettings from) {
        LoadProfile(from, Dir.Write(text), Context);
        return from;
    }
    TEncoderSettings Load(const QByteArray& text) { return Load(text, Defaults()); }
    TEncoderSettings Defaults() const {
        return DefaultEncoderSettings(Strings, Context.DefaultVideoCodecIndex);
    }

    TAppStrings Strings;
    TProfileContext Context{Strings, 5, 17};
    TScratchDir Dir;
};

// Every field, so that a round trip shows anything lost.
TEncoderSettings Changed(const TAppStrings& strings) {
    TEncoderSettings s = DefaultEncoderSettings(strings);
    s.OutputFormat = TOutputFormat::MPG;
    s.Avi = {3, u"1500"_s, u"29.97"_s, u"16:9"_s, true, true, u"6"_s};
    s.Mpg = {1, 1, u"4000"_s, u"25"_s, true, false};
    s.Audio = {6, u"192"_s, u"48000"_s, 2, true, 150};
    TAdvancedSettings& a = s.Advanced;
    a.Resolution = 5;
    a.ResWidth = 1280;
    a.ResHeight = 720;
    a.ForceVideoTag = true;
    a.VideoTag = u"DX50"_s;
    a.CropTop = 8;
    a.CropBottom = 16;
    a.CropLeft = 24;
    a.CropRight = 32;
    a.AdditionalParams = {u"-metadata title=\"A \\\"B\\\"\""_s};
    a.Interlacing = 2;
    a.ConvertColors = true;
    a.ConvertColorsValue = 1;
    a.Brightness = true;
    a.BrightnessValue = -7;
    a.Saturation = true;
    a.SaturationValue = 25;
    a.FlipHorizontal = a.FlipVertical = a.Negative = a.Rotate = true;
    a.RotateValue = u"90"_s;
    return s;
}

void ExpectEqual(const TEncoderSettings& a, const TEncoderSettings& b) {
    EXPECT_EQ(a.OutputFormat, b.OutputFormat);
    EXPECT_EQ(a.Avi.VideoCodec, b.Avi.VideoCodec);
    EXPECT_EQ(a.Avi.VideoBitrate, b.Avi.VideoBitrate);
    EXPECT_EQ(a.Avi.VideoFPS, b.Avi.VideoFPS);
    EXPECT_EQ(a.Avi.VideoAspect, b.Avi.VideoAspect);
    EXPECT_EQ(a.Avi.Video2Pass, b.Avi.Video2Pass);
    EXPECT_EQ(a.Avi.DoNotCopyVideo, b.Avi.DoNotCopyVideo);
    EXPECT_EQ(a.Avi.EncoderThreads, b.Avi.EncoderThreads);
    EXPECT_EQ(a.Mpg.VideoFormat, b.Mpg.VideoFormat);
    EXPECT_EQ(a.Mpg.MPEGVersion, b.Mpg.MPEGVersion);
    EXPECT_EQ(a.Mpg.VideoBitrate, b.Mpg.VideoBitrate);
    EXPECT_EQ(a.Mpg.VideoFPS, b.Mpg.VideoFPS);
    EXPECT_EQ(a.Mpg.Video2Pass, b.Mpg.Video2Pass);
    EXPECT_EQ(a.Mpg.DoNotCopyVideo, b.Mpg.DoNotCopyVideo);
    EXPECT_EQ(a.Audio.AudioCodec, b.Audio.AudioCodec);
    EXPECT_EQ(a.Audio.AudioBitrate, b.Audio.AudioBitrate);
    EXPECT_EQ(a.Audio.AudioSampling, b.Audio.AudioSampling);
    EXPECT_EQ(a.Audio.AudioChannels, b.Audio.AudioChannels);
    EXPECT_EQ(a.Audio.DoNotCopyAudio, b.Audio.DoNotCopyAudio);
    EXPECT_EQ(a.Audio.Volume, b.Audio.Volume);
    const TAdvancedSettings& x = a.Advanced;
    const TAdvancedSettings& y = b.Advanced;
    EXPECT_EQ(x.Resolution, y.Resolution);
    EXPECT_EQ(x.ResWidth, y.ResWidth);
    EXPECT_EQ(x.ResHeight, y.ResHeight);
    EXPECT_EQ(x.ForceVideoTag, y.ForceVideoTag);
    EXPECT_EQ(x.VideoTag, y.VideoTag);
    EXPECT_EQ(x.CropTop, y.CropTop);
    EXPECT_EQ(x.CropBottom, y.CropBottom);
    EXPECT_EQ(x.CropLeft, y.CropLeft);
    EXPECT_EQ(x.CropRight, y.CropRight);
    EXPECT_EQ(x.AdditionalParams, y.AdditionalParams);
    EXPECT_EQ(x.Interlacing, y.Interlacing);
    EXPECT_EQ(x.ConvertColors, y.ConvertColors);
    EXPECT_EQ(x.ConvertColorsValue, y.ConvertColorsValue);
    EXPECT_EQ(x.Brightness, y.Brightness);
    EXPECT_EQ(x.BrightnessValue, y.BrightnessValue);
    EXPECT_EQ(x.Saturation, y.Saturation);
    EXPECT_EQ(x.SaturationValue, y.SaturationValue);
    EXPECT_EQ(x.FlipHorizontal, y.FlipHorizontal);
    EXPECT_EQ(x.FlipVertical, y.FlipVertical);
    EXPECT_EQ(x.Negative, y.Negative);
    EXPECT_EQ(x.Rotate, y.Rotate);
    EXPECT_EQ(x.RotateValue, y.RotateValue);
}

} // namespace

TEST_F(ProfilesTest, RoundTripKeepsEverySettingAndUnknownKeys) {
    const QString file = Dir.Write("; shipped with the program\r\n[MAIN]\r\nDisplayName=Mine\r\n"
                                   "SortIndex=3\r\n[Custom]\r\nKeep=me\r\n");
    const TEncoderSettings saved = Changed(Strings);
    ASSERT_TRUE(SaveProfile(saved, file, Strings));
    TEncoderSettings loaded = Defaults();
    LoadProfile(loaded, file, Context);
    ExpectEqual(loaded, saved);

    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(u"MAIN"_s, u"DisplayName"_s, {}), u"Mine");
    EXPECT_EQ(ini.ReadString(u"Custom"_s, u"Keep"_s, {}), u"me");
    EXPECT_EQ(ini.ReadString(u"MAIN"_s, u"AppName"_s, {}), u"Zorvane");
    EXPECT_EQ(ini.ReadString(u"MAIN"_s, u"AppVer"_s, {}), u"1.14");
    EXPECT_EQ(ini.ReadString(u"AVI"_s, u"VideoCodec"_s, {}), u"FFMPEG4");
    EXPECT_EQ(ini.ReadString(u"AUDIO"_s, u"AudioCodec"_s, {}), u"WMA2");
    EXPECT_TRUE(ini.ReadString(u"ADVANCED"_s, u"AdditionalParams"_s, {}).contains(u"&quot;"_s));
    EXPECT_TRUE(
        ReadFile(file).startsWith("; shipped with the program\r\n[MAIN]\r\nDisplayName=Mine"));

    // Defaults written and read back stay defaults: Auto is stored empty.
    const QString plain = Dir.Path(u"plain.ini"_s);
    ASSERT_TRUE(SaveProfile(Defaults(), plain, Strings));
    EXPECT_EQ(TIniFile(plain).ReadString(u"AVI"_s, u"VideoBitrate"_s, u"x"_s), u"");
    TEncoderSettings back = Changed(Strings);
    LoadProfile(back, plain, Context);
    ExpectEqual(back, Defaults());
}

TEST_F(ProfilesTest, HandEditedValues) {
    const struct {
        const char* Codec;
        int Index;
    } video[] = {{"x264", 2},   {"H.264", 2}, {"2", 2}, {"DivX-3", 1},
                 {"Theora", 5}, {"42", 5},    {"-1", 5}};
    for (const auto& c : video)
        EXPECT_EQ(Load("[AVI]\nVideoCodec=" + QByteArray(c.Codec)).Avi.VideoCodec, c.Index)
            << c.Codec;
    EXPECT_EQ(Load("[AUDIO]\nAudioCodec=wav").Audio.AudioCodec, 7);
    EXPECT_EQ(Load("[AUDIO]\nAudioCodec=opus").Audio.AudioCodec, 0);

    const TEncoderSettings s =
        Load("[MAIN]\nOutputFormat=mpg\n"
             "[AVI]\nVideoBitrate=abc\nVideoFPS=29.97\nVideoAspect=\n"
             "EncoderThreads=many\n"
             "[AUDIO]\nVolume=500\nAudioChannels=9\nAudioBitrate= 160 \n"
             "[MPG]\nVideoFormat=7\n"
             "[ADVANCED]\nInterlacing=7\nSaturationValue=0\nBrightnessValue=21\n"
             "ConvertColorsValue=3\nResWidth=1\nCropTop=9999\nResolution=40\n"
             "RotateValue=ninety\nAdditionalParams=-a &quot;x&quot;\n");
    EXPECT_EQ(s.OutputFormat, TOutputFormat::MPG);
    EXPECT_TRUE(IsAuto(s.Avi.VideoBitrate, Strings));
    EXPECT_EQ(s.Avi.VideoFPS, u"29.97");
    EXPECT_TRUE(IsAuto(s.Avi.VideoAspect, Strings));
    EXPECT_TRUE(IsAuto(s.Avi.EncoderThreads, Strings));
    EXPECT_EQ(s.Audio.Volume, 300);
    EXPECT_EQ(s.Audio.AudioChannels, -1);
    EXPECT_EQ(s.Audio.AudioBitrate, u"160");
    EXPECT_EQ(s.Mpg.VideoFormat, -1);
    EXPECT_EQ(s.Advanced.Interlacing, 0);
    EXPECT_EQ(s.Advanced.SaturationValue, 10);
    EXPECT_EQ(s.Advanced.BrightnessValue, 0);
    EXPECT_EQ(s.Advanced.ConvertColorsValue, 0);
    EXPECT_EQ(s.Advanced.ResWidth, 2);
    EXPECT_EQ(s.Advanced.CropTop, 5000);
    EXPECT_EQ(s.Advanced.Resolution, -1);
    EXPECT_EQ(s.Advanced.RotateValue, u"180"); // not an integer: the current value stays
    EXPECT_EQ(s.Advanced.AdditionalParams, QStringList{u"-a \"x\""_s});

    // Missing keys keep what was there, but for the two codecs, whose defaults are Xvid and
    // Auto; a missing file changes nothing.
    TEncoderSettings expected = Changed(Strings);
    expected.Avi.VideoCodec = vcXvid;
    expected.Audio.AudioCodec = acAuto;
    ExpectEqual(Load("[MAIN]\nAppName=Zorvane\n", Changed(Strings)), expected);
    TEncoderSettings untouched = Changed(Strings);
    LoadProfile(untouched, Dir.Path(u"missing.ini"_s), Context);
    ExpectEqual(untouched, Changed(Strings));
    // Two lines of parameters read back as one.
    TEncoderSettings two = Defaults();
    two.Advanced.AdditionalParams = {u"-g 12"_s, u"-bf 2"_s};
    const QString file = Dir.Path(u"two.ini"_s);
    ASSERT_TRUE(SaveProfile(two, file, Strings));
    TEncoderSettings read = Defaults();
    LoadProfile(read, file, Context);
    EXPECT_EQ(read.Advanced.AdditionalParams, QStringList{u"-g 12 -bf 2"_s});
}

TEST_F(ProfilesTest, ProfileList) {
    const QString folder = Dir.Path(u"profiles"_s);
    const auto profile = [&](const char* name, const QByteArray& main) {
        WriteFile(folder + u'/' + QString::fromUtf8(name),
                  "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.14\r\n" + main);
    };
    profile("b.ini", "SortIndex=2\r\n");
    profile("a.ini", "SortIndex=1\r\n");
    profile("c.ini", "");
    profile("two lines.ini", "DisplayName=First\\nSecond\\tTab\r\nSortIndex=1.5\r\n");
    profile("coloured.ini", "DisplayName=Red one [clb=#FF0000][clf=#FFF]\r\nSortIndex=5\r\n"
                            "BgColor=#F00\r\nFontColor=10, 20, 30\r\n");
    profile("__Last.ini", "");
    WriteFile(folder + u"/other.ini"_s, "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.13\r\n");
    WriteFile(folder + u"/notes.txt"_s, "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.14\r\n");

    const QList<TProfileInfo> list = GetProfiles(folder, folder + u"/__Last.ini"_s);
    QStringList names;
    for (const TProfileInfo& p : list)
        names.append(p.DisplayName);
    EXPECT_EQ(names,
              QStringList({u"c"_s, u"a"_s, u"First\\nSecond\\tTab"_s, u"b"_s, u"Red one "_s}));
    EXPECT_EQ(ProfileItemText(list[2]), u"First\r\nSecond\tTab");
    EXPECT_EQ(list[2].SortIndex, 1.5);
    EXPECT_EQ(list[0].SortIndex, -1);
    EXPECT_EQ(list[4].ShortFileName, u"coloured.ini");
    EXPECT_EQ(list[4].BgColor, (TRgb{255, 0, 0}));
    EXPECT_EQ(list[4].FontColor, (TRgb{10, 20, 30}));
    EXPECT_EQ(list[0].BgColor, TRgb{});
}

TEST(Profiles, QuicksortOrderWithEqualIndexes) {
    // The sort is the list's own and not stable; its order is what users see.
    QList<TProfileInfo> list;
    const double indexes[] = {0, 0, 1, 0, -1, 1, 0};
    for (int i = 0; i < 7; ++i)
        list.append({QString::number(i), QString::number(i), indexes[i], {}, {}, {}, {}});
    SortProfiles(list);
    QStringList order;
    for (const TProfileInfo& p : list)
        order.append(p.ShortFileName);
    EXPECT_EQ(order.join(u' '), u"4 3 6 0 1 2 5");
    QList<TProfileInfo> empty;
    SortProfiles(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(Profiles, ColourTexts) {
    const struct {
        const char* Text;
        std::optional<TRgb> Rgb;
    } cases[] = {{"#FF8000", TRgb{255, 128, 0}}, {"#f80", TRgb{255, 136, 0}},
                 {"$0000FF", TRgb{255, 0, 0}},   {"0x00FF00", TRgb{0, 255, 0}},
                 {"ff0000", TRgb{0, 0, 255}},    {"255, 128, 0", TRgb{255, 128, 0}},
                 {"(1 2 3)", TRgb{1, 2, 3}},     {"16711680", TRgb{128, 22, 113}},
                 {"#12345", std::nullopt},       {"white", std::nullopt},
                 {"1, 2", std::nullopt},         {"", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseColorText(QString::fromUtf8(c.Text)), c.Rgb) << c.Text;
}

TEST(Profiles, ShippedProfilesAreListed) {
    const QList<TProfileInfo> list =
        GetProfiles(QStringLiteral(ZORVANE_SOURCE_DIR "/profiles"), QString());
    EXPECT_GE(list.size(), 4);
    for (int i = 1; i < list.size(); ++i)
        EXPECT_LE(list[i - 1].SortIndex, list[i].SortIndex);
    const TAppStrings strings;
    for (const TProfileInfo& p : list) {
        TEncoderSettings s = DefaultEncoderSettings(strings);
        LoadProfile(s, QStringLiteral(ZORVANE_SOURCE_DIR "/profiles/") + p.ShortFileName,
                    {strings, 0, 17});
        EXPECT_FALSE(p.DisplayName.isEmpty());
    }
}

TEST(Profiles, UserProfilesComeBeforeAndHideShippedOnes) {
    TScratchDir dir;
    const QString user = dir.Path(u"user"_s);
    const QString shipped = dir.Path(u"shipped"_s);
    const auto profile = [](const QString& path, const char* name, const char* index) {
        WriteFile(path, "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.14\r\nDisplayName=" +
                            QByteArray(name) + "\r\nSortIndex=" + index + "\r\n");
    };
    profile(shipped + u"/DVD.ini"_s, "Shipped DVD", "1");
    profile(shipped + u"/Small.ini"_s, "Small", "2");
    profile(user + u"/DVD.ini"_s, "My DVD", "1");
    profile(user + u"/Mine.ini"_s, "Mine", "3");
    profile(user + u"/__Last.ini"_s, "Last", "0");

    const QList<TProfileInfo> list = GetProfiles(user, user + u"/__Last.ini"_s, shipped);
    QStringList shown;
    for (const TProfileInfo& p : list)
        shown.append(p.DisplayName + u'=' + p.FileName);
    EXPECT_EQ(shown, QStringList({u"My DVD="_s + user + u"/DVD.ini"_s,
                                  u"Small="_s + shipped + u"/Small.ini"_s,
                                  u"Mine="_s + user + u"/Mine.ini"_s}));
    // The same folder twice is listed once; a missing user folder still shows the shipped ones.
    EXPECT_EQ(GetProfiles(shipped, {}, shipped + u"/"_s).size(), 2);
    EXPECT_EQ(GetProfiles(dir.Path(u"none"_s), {}, shipped).size(), 2);
}
