#include "TestSupport.h"
#include "app/MainWindowRules.h"
#include "encoding/ListItemColors.h"
#include "encoding/SettingsControls.h"
#include "localisation/AppStrings.h"

#include <gtest/gtest.h>

TEST(SettingsControls, ListsHoldTheirItems) {
    const TAppStrings strings;
    const QStringList avi = AviVideoBitrateItems(strings);
    EXPECT_EQ(avi.size(), 55);
    EXPECT_EQ(avi.first(), u"Auto");
    EXPECT_EQ(avi.last(), u"20000");
    const QStringList mpg = MpgVideoBitrateItems(strings);
    EXPECT_EQ(mpg.size(), 69);
    EXPECT_EQ(mpg.last(), u"27000");
    EXPECT_EQ(AviVideoThreadsItems(strings).size(), 25);
    EXPECT_EQ(VideoFPSItems(strings).size(), 16);
    EXPECT_EQ(AviVideoAspectItems(strings).size(), 11);
    EXPECT_EQ(AudioBitrateItems(strings).size(), 23);
    EXPECT_EQ(AviVideoCodecItems(strings).at(9), u"Copy original video stream");
    EXPECT_EQ(AudioCodecItems(strings).at(0), u"Auto");
    EXPECT_EQ(RotateItems().size(), 23);
    EXPECT_EQ(RotateItems().last(), u"345");
    EXPECT_EQ(AudioTrackAutoItem(strings), u"Auto (first audio track)");
}

// Each row: a change to the default settings, then controls that must be enabled (+) or
// disabled (-) afterwards.
TEST(SettingsControls, EnabledStatesFollowTheRules) {
    const TAppStrings strings;
    struct TCase {
        const char* What;
        std::function<void(TEncoderSettings&)> Change;
        QStringList On, Off;
    };
    const auto L = [](std::initializer_list<const char*> names) {
        QStringList list;
        for (const char* n : names)
            list.append(QString::fromLatin1(n));
        return list;
    };
    const TCase cases[] = {
        {"defaults", [](TEncoderSettings&) {},
         L({"cbAudioCodec", "cbAudioBitrate", "chVideoFourcc", "cbResolution", "edCropTop",
            "chBrightness", "cbAviVideoBitrate", "cbAviVideoFPS", "chAudioDontCopy", "cbMpgVideo"}),
         L({"cbVideoTag", "edResWidth", "edResHeight", "tbBrightness", "lblBrightnessValue",
            "cbRotate", "cbConvertColors", "tbSaturation"})},
        {"audio not copied", [](TEncoderSettings& s) { s.Audio.DoNotCopyAudio = true; },
         L({"chAudioDontCopy"}),
         L({"cbAudioCodec", "cbAudioBitrate", "cbAudioSampling", "cbAudioChannels", "tbAudioVolume",
            "lblAudioVolume", "cbAudioTrackNo", "cbInterlacing"})},
        {"PCM", [](TEncoderSettings& s) { s.Audio.AudioCodec = acPcm; },
         L({"cbAudioSampling", "cbAudioChannels"}), L({"cbAudioBitrate"})},
        {"audio copy", [](TEncoderSettings& s) { s.Audio.AudioCodec = acCopy; },
         L({"cbAudioCodec"}), L({"cbAudioBitrate", "cbAudioSampling", "cbAudioChannels"})},
        {"MPG PAL",
         [](TEncoderSettings& s) {
             s.OutputFormat = TOutputFormat::MPG;
             s.Mpg.VideoFormat = 0;
         },
         L({"cbMpgVideo", "chMpgVideo2Pass", "chBrightness"}),
         L({"chAudioDontCopy", "cbAudioCodec", "chVideoFourcc", "cbResolution", "edCropLeft",
            "cbMpgVideoBitrate", "cbMpgVideoFPS", "cbMpegVersion"})},
        {"MPG custom",
         [](TEncoderSettings& s) { s.OutputFormat = TOutputFormat::MPG; },
         L({"chAudioDontCopy", "cbAudioCodec", "chVideoFourcc", "cbResolution", "cbMpgVideoBitrate",
            "cbMpegVersion"}),
         {}},
        {"MPG video not copied",
         [](TEncoderSettings& s) {
             s.OutputFormat = TOutputFormat::MPG;
             s.Mpg.DoNotCopyVideo = true;
         },
         L({"cbAudioCodec"}),
         L({"cbMpgVideo", "lblMpgInfo", "cbMpgVideoBitrate", "chVideoFourcc", "cbResolution",
            "chBrightness", "chRotate"})},
        {"AVI copy", [](TEncoderSettings& s) { s.Avi.VideoCodec = vcCopy; },
         L({"cbAviVideoCodec", "chVideoFourcc", "chAviVideo2Pass"}),
         L({"cbAviVideoBitrate", "cbAviVideoFPS", "cbAviVideoAspect", "cbResolution", "edCropRight",
            "chNegative"})},
        {"HuffYUV", [](TEncoderSettings& s) { s.Avi.VideoCodec = vcHuffYUV; },
         L({"cbAviVideoFPS", "cbResolution"}), L({"cbAviVideoBitrate"})},
        {"AVI video not copied", [](TEncoderSettings& s) { s.Avi.DoNotCopyVideo = true; },
         L({"cbAudioCodec"}),
         L({"cbAviVideoCodec", "cbAviVideoThreads", "chAviVideo2Pass", "chVideoFourcc",
            "cbResolution", "chFlipVertical"})},
        {"custom size, tag and filters",
         [](TEncoderSettings& s) {
             s.Advanced.Resolution = 1;
             s.Advanced.ForceVideoTag = true;
             s.Advanced.Brightness = s.Advanced.Saturation = true;
             s.Advanced.Rotate = s.Advanced.ConvertColors = true;
         },
         L({"edResWidth", "edResHeight", "cbVideoTag", "tbBrightness", "lblBrightnessValue",
            "tbSaturation", "lblSaturationValue", "cbRotate", "cbConvertColors"}),
         {}},
        {"filters checked but video not copied",
         [](TEncoderSettings& s) {
             s.Advanced.Resolution = 1;
             s.Advanced.Brightness = true;
             s.Avi.DoNotCopyVideo = true;
         },
         {},
         L({"edResWidth", "tbBrightness", "lblBrightnessValue"})},
    };
    for (const TCase& c : cases) {
        TEncoderSettings s = DefaultEncoderSettings(strings);
        c.Change(s);
        const QHash<QString, bool> on = EncoderControlsEnabled(s);
        for (const QString& name : c.On) {
            ASSERT_TRUE(on.contains(name)) << name.toStdString();
            EXPECT_TRUE(on.value(name)) << c.What << ": " << name.toStdString();
        }
        for (const QString& name : c.Off) {
            ASSERT_TRUE(on.contains(name)) << name.toStdString();
            EXPECT_FALSE(on.value(name)) << c.What << ": " << name.toStdString();
        }
    }
    TEncoderSettings h264 = DefaultEncoderSettings(strings, vcH264);
    EXPECT_TRUE(EncoderControlsVisible(h264).value(QStringLiteral("cbAviVideoThreads")));
    EXPECT_FALSE(EncoderControlsVisible(DefaultEncoderSettings(strings))
                     .value(QStringLiteral("lblAviVideoThreads")));
}

TEST(SettingsControls, TenthsLabelsFollowTheLocale) {
    for (const auto& [locale, mark] :
         {std::pair{QLocale::c(), u'.'}, {QLocale(QLocale::German), u','}}) {
        TLocaleScope scope(locale);
        EXPECT_EQ(TenthsText(0), u"0");
        EXPECT_EQ(TenthsText(10), u"1");
        EXPECT_EQ(TenthsText(-15), QStringLiteral("-1") + QChar(mark) + QStringLiteral("5"));
        EXPECT_EQ(TenthsText(3), QStringLiteral("0") + QChar(mark) + QStringLiteral("3"));
    }
}

TEST(MainWindowRules, ActionStatesFollowTheList) {
    EXPECT_EQ(MainActionsEnabled({}, -1, false), TMainActionStates{}); // all off

    TGridInfo allChecked{3, 3, 0, 1, 1, 0};
    auto on = MainActionsEnabled(allChecked, 0, true);
    EXPECT_FALSE(on.CheckAll);
    EXPECT_TRUE(on.UncheckAll);
    EXPECT_TRUE(on.Convert);
    EXPECT_TRUE(on.ExploreDirectory);
    EXPECT_TRUE(on.UncheckSelected);
    EXPECT_FALSE(on.CheckSelected);
    EXPECT_TRUE(on.BrowseOutDir);

    TGridInfo noneChecked{3, 0, 3, 0, 0, 0};
    on = MainActionsEnabled(noneChecked, 3, false);
    EXPECT_TRUE(on.CheckAll);
    EXPECT_FALSE(on.UncheckAll);
    EXPECT_FALSE(on.Convert);
    EXPECT_FALSE(on.SaveBat);
    EXPECT_TRUE(on.SaveFileList);
    EXPECT_FALSE(on.ExploreDirectory); // row 3 of three is no row

    const TAppStrings strings;
    EXPECT_EQ(ExploreDirectoryCaption(strings, QStringLiteral("/home/u/Videos")),
              u"Open directory \"/home/u/Videos\"");
}

TEST(MainWindowRules, MonospaceFontAndEsc) {
    EXPECT_EQ(ChooseMonospaceFont({QStringLiteral("Consolas"), QStringLiteral("Courier New")}).Name,
              u"Consolas");
    EXPECT_EQ(ChooseMonospaceFont({QStringLiteral("Consolas")}).Size, 10);
    EXPECT_EQ(ChooseMonospaceFont({QStringLiteral("fira mono"), QStringLiteral("Consolas")}).Name,
              u"Fira Mono");
    EXPECT_EQ(ChooseMonospaceFont({QStringLiteral("Courier New")}).Size, 9);
    EXPECT_TRUE(ChooseMonospaceFont({QStringLiteral("DejaVu Sans Mono")}).Name.isEmpty());
    EXPECT_EQ(SizeOnScreen({934, 712}, {650, 400}, {1920, 1040}), QSize(934, 712));
    EXPECT_EQ(SizeOnScreen({934, 712}, {650, 400}, {960, 500}), QSize(934, 500)); // 1920x1080 at 2x
    EXPECT_EQ(SizeOnScreen({100, 100}, {650, 400}, {1920, 1040}), QSize(650, 400));
    EXPECT_EQ(SizeOnScreen({934, 712}, {650, 400}, {}), QSize(934, 712)); // no screen known
    EXPECT_TRUE(EscClosesWindow(true, false));
    EXPECT_FALSE(EscClosesWindow(true, true));
    EXPECT_FALSE(EscClosesWindow(false, false));
}

TEST(ListItemColors, ResolutionAndProfileItems) {
    const TItemColors hd = ResolutionItemColors(QStringLiteral("1280 x 720 - HD720 16:9"), 15);
    EXPECT_EQ(hd.Background, (TRgb{0x43, 0x7E, 0x5A}));
    EXPECT_EQ(ResolutionItemColors(QStringLiteral("1024 x 768 - XGA 4:3"), 10).Background,
              (TRgb{0xE8, 0xC1, 0xC1}));
    // "64" rules out the 4:3 colours: 640 x 480 is not taken for an aspect.
    EXPECT_EQ(ResolutionItemColors(QStringLiteral("640 x 480 - VGA 4:3"), 8).Background,
              (TRgb{0xF8, 0xF8, 0xF8}));
    EXPECT_EQ(ResolutionItemColors(QStringLiteral("50% - half 16:9"), 3).Background,
              (TRgb{0xFB, 0xF4, 0xC6}));
    EXPECT_EQ(ResolutionItemColors(QStringLiteral("Custom"), 1).Background,
              (TRgb{0x5B, 0x5B, 0x5B}));
    EXPECT_EQ(ResolutionItemColors(QStringLiteral("Auto"), 0).Text, (TRgb{0, 0, 0}));

    EXPECT_EQ(ProfileItemColors(nullptr).Background, (TRgb{242, 235, 243}));
    TProfileInfo white;
    EXPECT_EQ(ProfileItemColors(&white).Background, (TRgb{242, 235, 243}));
    TProfileInfo own;
    own.BgColor = {10, 20, 30};
    own.FontColor = {200, 200, 200};
    EXPECT_EQ(ProfileItemColors(&own), (TItemColors{{10, 20, 30}, {200, 200, 200}}));
    own.FontColor = own.BgColor;
    EXPECT_EQ(ProfileItemColors(&own), (TItemColors{{51, 51, 51}, {230, 230, 230}}));

    EXPECT_EQ(Lighter({100, 200, 250}, 4), (TRgb{104, 208, 255}));
    EXPECT_EQ(Darker({100, 200, 0}, 15), (TRgb{85, 170, 0}));
}

// Texts the program colours itself read on a dark palette (a contrast of 4.5:1 at least); on a
// light one the colours stay as they are.
TEST(ListItemColors, ReadableOnADarkPalette) {
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({119, 119, 119}, {255, 255, 255}), 4.48, 0.01);
    const TRgb darkWindow{53, 53, 53};
    EXPECT_TRUE(IsDark(darkWindow));
    EXPECT_FALSE(IsDark({240, 240, 240}));
    const struct {
        TRgb Text, Background;
    } cases[] = {
        {{0x80, 0, 0}, darkWindow},               // a dark red status on a dark window
        {{0, 0x80, 0}, darkWindow},               // dark green
        {{0xF0, 0xF0, 0xF0}, {0x43, 0x7E, 0x5A}}, // the 16:9 item, 4.2:1
        {{200, 200, 200}, {190, 190, 190}},       // a profile of the user's own colours
        {{255, 255, 255}, {0, 0, 0}},             // already readable: unchanged
    };
    for (const auto& c : cases) {
        const TRgb readable = ReadableText(c.Text, c.Background);
        EXPECT_GE(ContrastRatio(readable, c.Background), 4.5)
            << c.Text.R << "," << c.Text.G << "," << c.Text.B;
        if (ContrastRatio(c.Text, c.Background) >= 4.5) {
            EXPECT_EQ(readable, c.Text);
        }
    }
    const TItemColors hd = ResolutionItemColors(QStringLiteral("1280 x 720 - HD720 16:9"), 15);
    EXPECT_EQ(ForPalette(hd, false), hd);
    EXPECT_EQ(ForPalette(hd, true).Background, hd.Background);
    EXPECT_GE(ContrastRatio(ForPalette(hd, true).Text, hd.Background), 4.5);
}
