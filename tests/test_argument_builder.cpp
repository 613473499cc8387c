#include "TestSupport.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/AudioBitrateReference.h"
#include "encoding/EncoderCaps.h"
#include "execution/ConRun.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class TCollectedWarnings : public IWarningSink {
public:
    void ShowWarning(const QString& text) override { Texts.append(text); }
    QStringList Texts;
};

// The worked example's analysis: 640 x 360 at 29.97 fps, 800 kbit/s, 0.116 bits per pixel, and
// one stereo 44100 Hz 128 kbit/s audio track.
TVideoFileInfo ExampleInfo() {
    TVideoFileInfo info;
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 1;
    TVideoStreamInfo& v = info.VideoStreams[0];
    v.Width = 640;
    v.Height = 360;
    v.FPS = 29.97;
    v.Bitrate = 800;
    v.BitsPerPixel = 0.116;
    v.ScanType = u"Progressive"_s;
    v.StreamIndex = 0;
    TAudioStreamInfoX& a = info.AudioStreams[0];
    a.Channels = 2;
    a.SamplingRate = 44100;
    a.Bitrate = 128;
    a.StreamIndex = 1;
    return info;
}

class ArgumentBuilderTest : public ::testing::Test {
protected:
    ArgumentBuilderTest() {
        Env.ResolutionEntries = {u"1280 x 720 - HD720"_s, u"852 x 480 - HD480"_s,
                                 u"50% - half size"_s};
        Env.ProcessorCount = 8;
        Env.Warnings = &Warnings;
    }
    TArgumentPieces Pieces() const { return TArgumentBuilder(S, Info, Strings, Env).Pieces(); }
    TArgumentBuilder Builder() const { return TArgumentBuilder(S, Info, Strings, Env); }

    TAppStrings Strings;
    TEncoderSettings S = DefaultEncoderSettings(Strings);
    TVideoFileInfo Info = ExampleInfo();
    TBuilderEnvironment Env;
    TCollectedWarnings Warnings;
};

} // namespace

TEST_F(ArgumentBuilderTest, WorkedExample) {
    const TArgumentPieces p = Pieces();
    EXPECT_EQ(p.VCodec, u"-c:v libxvid");
    EXPECT_EQ(p.VParams, u"-b:v 800k -r 29.970");
    EXPECT_EQ(p.ACodec, u"-c:a libmp3lame");
    EXPECT_EQ(p.AParams, u"-b:a 128k -async 1");
    EXPECT_EQ(p.AdvParams, u"");
    EXPECT_EQ(p.AddParams, u"");
    EXPECT_EQ(ArgumentString(p, u"C:\\Videos\\clip.flv"_s, u"C:\\Videos\\clip.avi"_s, false, 0),
              u"-y -i \"C:\\Videos\\clip.flv\" -c:v libxvid -b:v 800k -r 29.970 -c:a libmp3lame "
              "-b:a 128k -async 1   \"C:\\Videos\\clip.avi\"");
    EXPECT_TRUE(Warnings.Texts.isEmpty());
}

TEST_F(ArgumentBuilderTest, AssemblyPatterns) {
    const TArgumentPieces p{u"VC"_s, u"VP"_s, u"AC"_s, u"AP"_s, u"ADV"_s, u"ADD"_s};
    const QString head = u"-y -i \"in\" VC VP AC AP ADV"_s;
    EXPECT_EQ(ArgumentString(p, u"in"_s, u"out"_s, false, 0), head + u" ADD \"out\""_s);
    EXPECT_EQ(ArgumentString(p, u"in"_s, u"out"_s, true, 0),
              head + u" -preset:v faster ADD \"out\""_s);
    EXPECT_EQ(ArgumentString(p, u"in"_s, u"out"_s, false, 2), head + u" -pass 2 ADD \"out\""_s);
    EXPECT_EQ(ArgumentString(p, u"in"_s, u"out"_s, true, 1),
              head + u" -preset:v faster -pass 1 ADD \"out\""_s);
    // A name that holds a double quote still reaches the encoder whole.
    EXPECT_EQ(ArgumentString(p, u"a\"b"_s, u"o"_s, false, 0),
              u"-y -i \"a\\\"b\" VC VP AC AP ADV ADD \"o\"");
}

TEST_F(ArgumentBuilderTest, VideoEdgeCases) {
    Info.VideoStreams[0].Width = 641;
    Info.VideoStreams[0].Height = 361;
    EXPECT_EQ(Pieces().VParams, u"-b:v 800k -r 29.970 -s 642x362");
    EXPECT_EQ(Pieces().AdvParams, u"");
    Info = ExampleInfo();

    S.Avi.VideoCodec = vcH264;
    EXPECT_TRUE(Pieces().VParams.startsWith(u"-threads 4 -b:v"_s));
    Env.ProcessorCount = 1;
    EXPECT_TRUE(Pieces().VParams.startsWith(u"-threads 0 -b:v"_s));
    S.Avi.EncoderThreads = u" 3 "_s;
    EXPECT_TRUE(Pieces().VParams.startsWith(u"-threads 3 -b:v"_s));

    S = DefaultEncoderSettings(Strings);
    S.Avi.Video2Pass = true;
    EXPECT_EQ(Pieces().VParams, u"-q:v 9 -b:v 800k -r 29.970");

    S = DefaultEncoderSettings(Strings);
    S.Avi.VideoBitrate = u" 800 "_s;
    EXPECT_EQ(Builder().GetVideoParamsStr(), u" -b:v  800 k -r 29.970");
    S.Avi.VideoBitrate = u"abc"_s;
    EXPECT_EQ(Builder().GetVideoParamsStr(), u"ERROR");
    ASSERT_EQ(Warnings.Texts.size(), 1);
    EXPECT_EQ(Warnings.Texts.first(), u"Video bitrate: abc\r\nBitrate must be an integer value!");

    S = DefaultEncoderSettings(Strings);
    S.Avi.VideoFPS = u"ninety"_s;
    EXPECT_EQ(Builder().GetVideoParamsStr(), u"ERROR");
    EXPECT_EQ(Warnings.Texts.last(), u"Video FPS: ninety\r\nFPS must be a float value!");
    S.Avi.VideoFPS = u"23.976"_s;
    EXPECT_EQ(Pieces().VParams, u"-b:v 800k -r 23.976");

    // Copy: no bitrate, no rate; HuffYUV: no bitrate.
    S = DefaultEncoderSettings(Strings);
    S.Avi.VideoCodec = vcCopy;
    EXPECT_EQ(Pieces().VParams, u"");
    EXPECT_EQ(Pieces().VCodec, u"-c:v copy");
    S.Avi.VideoCodec = vcHuffYUV;
    EXPECT_EQ(Pieces().VParams, u"-r 29.970");
    S.Avi.DoNotCopyVideo = true;
    EXPECT_EQ(Pieces().VCodec, u"-vn");
    EXPECT_EQ(Pieces().VParams, u"");

    // Missing analysis data leads to the fallbacks, and no rate the encoder would refuse.
    S = DefaultEncoderSettings(Strings);
    Info = TVideoFileInfo();
    EXPECT_EQ(Pieces().VParams, u"-b:v 800k");
    EXPECT_EQ(Pieces().AParams, u"-b:a 96k -async 1");
}

TEST_F(ArgumentBuilderTest, ResolutionAndBitrateFromBitsPerPixel) {
    Info.VideoStreams[0].BitsPerPixel = 0.5;              // above the cap of 0.3
    EXPECT_EQ(Pieces().VParams, u"-b:v 2072k -r 29.970"); // 29.97 x 0.3 x 640 x 360 / 1000
    S.Advanced.Resolution = 2;                            // 1280 x 720
    EXPECT_EQ(Pieces().VParams, u"-b:v 8286k -r 29.970");
    EXPECT_EQ(Pieces().AdvParams, u"-vf scale=1280:720");
    S.Advanced.Resolution = 4; // 50 %
    EXPECT_EQ(Pieces().AdvParams, u"-vf scale=320:176");
    S.Advanced.Resolution = 1;
    S.Advanced.ResWidth = 855;
    S.Advanced.ResHeight = 481;
    EXPECT_EQ(Pieces().AdvParams, u"-vf scale=856:482");
    S.Advanced.Resolution = 99; // beyond the list: as Auto
    EXPECT_EQ(Pieces().AdvParams, u"");

    // A bitrate beyond 16 bits is held at 65535 kbit/s.
    S.Advanced.Resolution = 1;
    S.Advanced.ResWidth = 30000;
    S.Advanced.ResHeight = 30000;
    EXPECT_TRUE(Pieces().VParams.startsWith(u"-b:v 65535k"_s));
}

TEST_F(ArgumentBuilderTest, MpgPages) {
    S.OutputFormat = TOutputFormat::MPG;
    S.Mpg.VideoFormat = 0;
    Info.AudioStreams[0].Bitrate = 192;
    Info.AudioStreams[0].SamplingRate = 48000;
    TArgumentPieces p = Pieces();
    EXPECT_EQ(p.VCodec, u"-target pal-dvd");
    EXPECT_EQ(p.VParams, u"");
    EXPECT_EQ(p.ACodec, u"");
    EXPECT_EQ(p.AParams, u"-b:a 192k -ac 2 -async 1");
    S.Mpg.VideoFormat = 1;
    EXPECT_EQ(Pieces().VCodec, u"-target ntsc-dvd");

    S.Mpg.VideoFormat = 2;
    S.Mpg.MPEGVersion = 1;
    p = Pieces();
    EXPECT_EQ(p.VCodec, u"-c:v mpeg2video");
    EXPECT_EQ(p.VParams, u"-b:v 800k"); // 29.97 is an MPEG rate: nothing added
    EXPECT_EQ(p.ACodec, u"-c:a mp2");
    S.Audio.DoNotCopyAudio = true;
    EXPECT_EQ(Pieces().ACodec, u"-an");
    EXPECT_EQ(Pieces().AParams, u"");
}

TEST(ArgumentBuilder, MpegFrameRates) {
    const struct {
        double Source;
        const char* Rate;
    } cases[] = {{15, "30"},  {12.5, "25"},   {14.985, "29.97"}, {10, "30"},
                 {20, "60"},  {5, "25"},      {8, "24"},         {0, "25"},
                 {29.97, ""}, {29.97003, ""}, {25, ""},          {23.976, ""},
                 {59.94, ""}, {27, "29.97"},  {100, "60"},       {7, "23.976"}};
    for (const auto& c : cases)
        EXPECT_EQ(MpegFrameRateFor(c.Source), QString::fromUtf8(c.Rate)) << c.Source;
}

TEST_F(ArgumentBuilderTest, FifteenFpsFlashVideoConvertsToMpg) {
    // The first use case: a 15 fps Flash Video file to a custom MPEG-1 file, through the real
    // encoder.
    const QString input = MediaFile(u"clip15.flv"_s);
    GetVideoFileInfo(input, SystemFFmpeg(), SystemMediaInfo(), Info);
    S.OutputFormat = TOutputFormat::MPG;
    const TArgumentPieces p = Pieces();
    EXPECT_TRUE(p.VParams.endsWith(u" -r 30"_s)) << p.VParams.toStdString();
    TScratchDir dir;
    const QString output = dir.Path(u"clip15.mpg"_s);
    const QStringList args = SplitCommandLine(ArgumentString(p, input, output, false, 0));
    const TProcessResult r = RunProgram(SystemFFmpeg(), args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_GT(QFileInfo(output).size(), 0);
}

TEST_F(ArgumentBuilderTest, Audio) {
    S.Audio.Volume = 250;
    EXPECT_EQ(Pieces().AParams, u"-b:a 128k -af volume=2.50 -async 1");
    S.Audio.Volume = 100;
    S.Audio.AudioBitrate = u"x1"_s;
    EXPECT_EQ(Builder().GetAudioParamsStr(), u"ERROR");
    EXPECT_EQ(Warnings.Texts.last(), u"Audio bitrate: x1\r\nBitrate must be an integer value!");
    S.Audio.AudioBitrate = Strings.Main.Auto;
    S.Audio.AudioSampling = u"44.1"_s;
    EXPECT_EQ(Builder().GetAudioParamsStr(), u"ERROR");
    EXPECT_EQ(Warnings.Texts.last(),
              u"Audio sampling frequency: 44.1\r\nFrequency must be an integer value!");
    S.Audio.AudioSampling = u"22050"_s;
    EXPECT_EQ(Pieces().AParams, u"-b:a 128k -ar 22050 -async 1");

    // Six source channels: AC-3, whose table row allows more.
    S = DefaultEncoderSettings(Strings);
    Info.AudioStreams[0].Channels = 6;
    Info.AudioStreams[0].Bitrate = 448;
    EXPECT_EQ(Pieces().ACodec, u"-c:a ac3");
    EXPECT_EQ(Pieces().AParams, u"-b:a 448k -async 1");
    S.Audio.AudioCodec = 1; // MP3 folds them to stereo
    EXPECT_EQ(Pieces().AParams, u"-b:a 320k -ac 2 -async 1");
    S.Audio.AudioCodec = acPcm;
    EXPECT_EQ(Pieces().ACodec, u"-c:a pcm_s16le");
    EXPECT_EQ(Pieces().AParams, u"-async 1");
    S.Audio.AudioCodec = acAac;
    Env.AacEncoder = u"aac"_s;
    EXPECT_EQ(Pieces().ACodec, u"-c:a aac");
    EXPECT_EQ(Pieces().AParams, u"-b:a 256k -async 1"); // the libfdk_aac row's limits
    S.Audio.AudioChannels = 3;
    EXPECT_TRUE(Pieces().AParams.contains(u"-ac 6"_s));
}

TEST_F(ArgumentBuilderTest, AdvancedFiltersTagAndMap) {
    S.Advanced.ForceVideoTag = true;
    EXPECT_EQ(Builder().GetAdvancedParamsStr(), u" -vtag XVID");
    Info.VideoStreams[0].ScanType = u" Interlaced "_s;
    EXPECT_EQ(Builder().GetAdvancedParamsStr(), u"-vf yadif  -vtag XVID");
    S.Advanced.ForceVideoTag = false;
    S.Advanced.CropLeft = 8;
    S.Advanced.CropRight = 8;
    S.Advanced.CropTop = 4;
    S.Advanced.CropBottom = 4;
    S.Advanced.Resolution = 4;
    S.Advanced.Saturation = true;
    S.Advanced.SaturationValue = 15;
    S.Advanced.FlipHorizontal = true;
    S.Advanced.Negative = true;
    EXPECT_EQ(Pieces().AdvParams,
              u"-vf yadif,crop=624:352:8:4,scale=320:176,hue=s=1.5,hflip,negate");

    S = DefaultEncoderSettings(Strings);
    Info = ExampleInfo();
    S.Advanced.Brightness = true;
    S.Advanced.BrightnessValue = 3;
    S.Advanced.Rotate = true;
    S.Advanced.RotateValue = u"90"_s;
    S.Advanced.ConvertColors = true;
    S.Advanced.ConvertColorsValue = 1;
    S.Avi.VideoAspect = u"16 : 9"_s;
    EXPECT_EQ(Pieces().AdvParams,
              u"-vf hue=b=0.3,colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131,"
              "rotate=1.5708,setdar=16/9");
    S.Advanced.RotateValue = u"ninety"_s;
    S.Avi.VideoAspect = u"1.85"_s;
    S.Advanced.ConvertColorsValue = 0;
    S.Advanced.BrightnessValue = -5;
    S.Advanced.Saturation = true;
    S.Advanced.SaturationValue = 15;
    EXPECT_EQ(Pieces().AdvParams,
              u"-vf hue=s=1.5:b=-0.5,colorchannelmixer=.3:.4:.3:0:.3:.4:.3:0:.3:.4:.3,setdar=1.85");

    // Crop values all 0 add nothing; the map follows the chosen track.
    S = DefaultEncoderSettings(Strings);
    Info.NumberOfAudioStreams = 2;
    Info.AudioStreams[1].StreamIndex = 2;
    S.AudioTrackNo = 2;
    EXPECT_EQ(Pieces().AdvParams, u"-map 0:0 -map 0:2");
    S.AudioTrackNo = 3;
    EXPECT_EQ(Pieces().AdvParams, u"");
    S.AudioTrackNo = 2;
    S.Audio.DoNotCopyAudio = true;
    EXPECT_EQ(Pieces().AdvParams, u"");

    S = DefaultEncoderSettings(Strings);
    S.Advanced.AdditionalParams = {u"-metadata title=x"_s, u"-g 12"_s};
    EXPECT_EQ(Builder().GetAdditionalParamsStr(), u" -metadata title=x -g 12");
}

TEST_F(ArgumentBuilderTest, NumbersUseAPointInEveryLocale) {
    const TLocaleScope german{QLocale(QLocale::German)};
    S.Audio.Volume = 50;
    S.Advanced.Brightness = true;
    S.Advanced.BrightnessValue = -15;
    S.Advanced.Rotate = true;
    S.Avi.VideoFPS = u"29,97"_s; // typed with the German mark
    const TArgumentPieces p = Pieces();
    EXPECT_EQ(p.VParams, u"-b:v 800k -r 29.97");
    EXPECT_EQ(p.AParams, u"-b:a 128k -af volume=0.50 -async 1");
    EXPECT_EQ(p.AdvParams, u"-vf hue=b=-1.5,rotate=3.1416");
    S.Avi.VideoFPS = Strings.Main.Auto;
    EXPECT_EQ(Pieces().VParams, u"-b:v 800k -r 29.970");
}

TEST_F(ArgumentBuilderTest, PreviewText) {
    const struct {
        std::function<void(TEncoderSettings&)> Change;
        const char* Expected;
    } cases[] = {
        {[](TEncoderSettings&) {},
         "-y -i <input_file> -c:v libxvid -b:v 800k -r 29.970 -c:a libmp3lame -b:a 128k -async 1 "
         "<output_file>"},
        {[](TEncoderSettings& s) { s.Avi.VideoCodec = vcH264; },
         "-y -i <input_file> -c:v libx264 -threads 4 -b:v 800k -r 29.970 -c:a libmp3lame -b:a "
         "128k -async 1  -preset:v faster <output_file>"},
        {[](TEncoderSettings& s) {
             s.Avi.VideoCodec = vcH264;
             s.Avi.Video2Pass = true;
         },
         "-y -i <input_file> -c:v libx264 -threads 4 -b:v 800k -r 29.970 -c:a libmp3lame -b:a "
         "128k -async 1  -pass 1  -preset:v faster  <output_file>\r\n\r\n-y -i <input_file> -c:v "
         "libx264 -threads 4 -b:v 800k -r 29.970 -c:a libmp3lame -b:a 128k -async 1  -pass 2  "
         "-preset:v faster  <output_file>"},
        {[](TEncoderSettings& s) {
             s.Avi.Video2Pass = true;
             s.Avi.VideoCodec = vcWmv1;
         },
         "-y -i <input_file> -c:v wmv1 -b:v 800k -r 29.970 -c:a libmp3lame -b:a 128k -async 1  "
         "-pass 1  <output_file>\r\n\r\n-y -i <input_file> -c:v wmv1 -b:v 800k -r 29.970 -c:a "
         "libmp3lame -b:a 128k -async 1  -pass 2  <output_file>"},
        {[](TEncoderSettings& s) {
             s.OutputFormat = TOutputFormat::MPG;
             s.Mpg.VideoFormat = 0;
         },
         "-y -i <input_file> -target pal-dvd -b:a 128k -ac 2 -async 1 <output_file>"},
        {[](TEncoderSettings& s) {
             s.Avi.DoNotCopyVideo = true;
             s.Advanced.AdditionalParams = {u"-metadata x=1"_s};
         },
         "-y -i <input_file> -vn  -c:a libmp3lame -b:a 128k -async 1  -metadata x=1 <output_file>"},
    };
    for (const auto& c : cases) {
        S = DefaultEncoderSettings(Strings);
        c.Change(S);
        EXPECT_EQ(CommandPreviewText(S, Pieces(), {}), QString::fromUtf8(c.Expected)) << c.Expected;
    }
    // With a file only the first line gets its path.
    S = DefaultEncoderSettings(Strings);
    S.Avi.Video2Pass = true;
    const QString text = CommandPreviewText(S, Pieces(), u"/v/a b.flv"_s);
    EXPECT_TRUE(text.startsWith(u"-y -i \"/v/a b.flv\" -c:v libxvid"_s));
    EXPECT_TRUE(text.contains(u"\r\n\r\n-y -i <input_file> "_s));
}

TEST(ArgumentBuilder, Helpers) {
    EXPECT_EQ(RoundToMultiple(852, 8), 848);
    EXPECT_EQ(RoundToMultiple(196, 8), 192);
    EXPECT_EQ(RoundToMultiple(350, 8), 352);
    EXPECT_EQ(RoundToMultiple(180, 8), 176);
    EXPECT_EQ(RoundToMultiple(640, 8), 640);
    EXPECT_EQ(RoundToMultiple(5, 0), 0);

    TVideoFileInfo info;
    info.VideoStreams[0].Width = 640;
    info.VideoStreams[0].Height = 360;
    const struct {
        const char* Entry;
        int W, H;
    } sizes[] = {{"1280 x 720 - HD720", 1280, 720},
                 {"852 x 480 - HD480", 848, 480},
                 {"50% - half size", 320, 176},
                 {"33%", 208, 120},
                 {"garbage", 0, 0},
                 {"720 X 576", 720, 576}};
    for (const auto& c : sizes) {
        int w = -1;
        int h = -1;
        ParseResolutionText(QString::fromUtf8(c.Entry), info, &w, &h);
        EXPECT_EQ(w, c.W) << c.Entry;
        EXPECT_EQ(h, c.H) << c.Entry;
    }

    EXPECT_EQ(CalcVideoBitrate(640, 360, 500, 0.1, 25, 0.3), 576);
    EXPECT_EQ(CalcVideoBitrate(640, 360, 500, 0, 25, 0.3), 500);
    EXPECT_EQ(CalcVideoBitrate(0, 360, 0, 0.1, 25, 0.3), 800);
    EXPECT_EQ(CalcVideoBitrate(30000, 30000, 0, 0.5, 60, 0.5), 65535);

    EXPECT_EQ(GetMaxAudioBitrate(u"LIBMP3LAME"_s, 22050, 320), 160);
    EXPECT_EQ(GetMaxAudioBitrate(u"auto"_s, 44100, 320), 320);
    EXPECT_EQ(GetMaxAudioBitrate(u"mp2"_s, 11025, 99), 99);
    EXPECT_EQ(SnapAudioBitrate(0, 128, 96, 320), 96);
    EXPECT_EQ(SnapAudioBitrate(100, 128, 96, 320), 112);
    EXPECT_EQ(SnapAudioBitrate(129, 128, 96, 320), 160);
    EXPECT_EQ(SnapAudioBitrate(700, 128, 96, 320), 320);
    EXPECT_EQ(SnapAudioBitrate(700, 128, 96, 1000), 128);
    EXPECT_GE(GetProcessorCount(), 1);
    TEncoderSettings s;
    EXPECT_EQ(GetExt(s, true), u".avi");
    s.OutputFormat = TOutputFormat::MPG;
    EXPECT_EQ(GetExt(s, false), u"mpg");
}

TEST(ArgumentBuilder, AacEncoderFollowsTheInstalledEncoder) {
    const TProcessResult r = RunProgram(SystemFFmpeg(), {u"-hide_banner"_s, u"-encoders"_s});
    const bool fdk = r.Out.contains(u" libfdk_aac "_s);
    EXPECT_EQ(AacEncoderFor(SystemFFmpeg()), fdk ? u"libfdk_aac" : u"aac");
    EXPECT_EQ(AacEncoderFor(QString()), u"libfdk_aac");
}

TEST(AudioBitrateReference, FileLayout) {
    const QStringList lines = AudioBitrateReferenceText().split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 48); // 47 lines, each ended by CR LF
    EXPECT_EQ(lines.last(), u"");
    EXPECT_EQ(lines.at(0), u"Sampling rate: 16000");
    EXPECT_EQ(lines.at(1), u" MP3:    8  16  24  32  40  48  56  64  80  96 112 128 160   -   -   -"
                           "   -   -   -   -   -   -");
    EXPECT_EQ(lines.at(4), u" AAC:    8  16  24  32  40  48  56  64  80  96   -   -   -   -   -   -"
                           "   -   -   -   -   -   -");
    EXPECT_EQ(lines.at(7), u"");
    EXPECT_EQ(lines.at(32), u"Sampling rate: 44100");
    EXPECT_EQ(lines.at(33),
              u" MP3:    -   -   -  32  40  48  56  64  80  96 112 128 160 192 224 256"
              " 320   -   -   -   -   -");
    EXPECT_EQ(lines.at(36),
              u" AAC:    8  16  24  32  40  48  56  64  80  96 112 128 160 192 224 256"
              "   -   -   -   -   -   -");
    TScratchDir dir;
    const QString file = dir.Path(u"audio_bitrates.txt"_s);
    ASSERT_TRUE(WriteAudioBitrateReference(file));
    const QByteArray first = ReadFile(file);
    ASSERT_TRUE(WriteAudioBitrateReference(file));
    EXPECT_EQ(ReadFile(file), first);
    EXPECT_FALSE(WriteAudioBitrateReference(dir.Path(u"missing/x.txt"_s)));
}

// The preview's picture is the command line's: the "-vf" chain itself, then the frame size the
// command line sets besides it.
TEST_F(ArgumentBuilderTest, ThePictureChainIsTheCommandLines) {
    S.Advanced.CropLeft = 8;
    S.Advanced.CropRight = 8;
    S.Advanced.Rotate = true;
    S.Advanced.RotateValue = u"90"_s;
    const QStringList chain = Builder().VideoFilterChain();
    EXPECT_EQ(Pieces().AdvParams, u"-vf "_s + chain.join(u','));
    EXPECT_EQ(Builder().PictureChain(), chain);

    Info.VideoStreams[0].Width = 641; // written at an even size with "-s"
    EXPECT_TRUE(Pieces().VParams.contains(u" -s 642x360"_s)) << Pieces().VParams.toStdString();
    EXPECT_EQ(Builder().PictureChain().last(), u"scale=642:360");

    S.OutputFormat = TOutputFormat::MPG;
    S.Mpg.VideoFormat = 0; // -target pal-dvd
    EXPECT_EQ(Builder().PictureChain().last(), u"scale=720:576");
    S.Mpg.DoNotCopyVideo = true;
    EXPECT_TRUE(Builder().PictureChain().isEmpty());
}
