#include "TestSupport.h"
#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "encoding/Preview.h"
#include "filelist/AnalysisCache.h"
#include "localisation/AppStrings.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Encoder messages around a PNG, as one stream (the frame of a real run).
TEST(Preview, TheFrameAndItsSizeFromTheEncodersStream) {
    const TPreviewFrame real =
        RenderPreviewFrame(SystemFFmpeg(), MediaFile(u"clip.flv"_s), 0.5, {});
    ASSERT_EQ(real.Failure, TPreviewFrame::TFailure::None) << real.Error.toStdString();
    const QByteArray before = "Input #0, flv\n[Parsed_showinfo_1 @ 0x1] n:   0 pts:  0 "
                              "fmt:yuv420p sar:4/3 s:480x360 i:P iskey:1\n";
    const QByteArray after = "video:53kB audio:0kB\n";
    const TPreviewFrame frame = ParsePreviewOutput(before + real.Png + after);
    EXPECT_EQ(frame.Png, real.Png);
    EXPECT_EQ(frame.Size, QSize(480, 360));
    EXPECT_DOUBLE_EQ(frame.Sar, 4.0 / 3);
    EXPECT_EQ(frame.DisplaySize(), QSize(640, 360));
    // A frame cut short is no frame; the last message says why.
    const TPreviewFrame cut = ParsePreviewOutput(before + real.Png.left(100) + "\nBad thing\n");
    EXPECT_EQ(cut.Failure, TPreviewFrame::TFailure::NoFrame);
}

TEST(Preview, BadInputsGetWords) {
    TScratchDir dir;
    const QString clip = MediaFile(u"clip.flv"_s);
    const TPreviewFrame frame = RenderPreviewFrame(SystemFFmpeg(), clip, 0.5, {});
    EXPECT_EQ(frame.Size, QSize(320, 240));
    EXPECT_EQ(frame.Sar, 1);
    // Past the end: the last frames.
    const TPreviewFrame late = RenderPreviewFrame(SystemFFmpeg(), clip, 100, {});
    EXPECT_EQ(late.Failure, TPreviewFrame::TFailure::None) << late.Error.toStdString();
    EXPECT_FALSE(late.Png.isEmpty());

    const QString garbage = dir.Path(u"garbage.flv"_s);
    WriteFile(garbage, RandomBytes(4096, 7));
    const TPreviewFrame bad = RenderPreviewFrame(SystemFFmpeg(), garbage, 0, {});
    EXPECT_EQ(bad.Failure, TPreviewFrame::TFailure::NoFrame);
    EXPECT_TRUE(bad.Error.contains(u"Invalid data"_s)) << bad.Error.toStdString();

    const TPreviewFrame sound =
        RenderPreviewFrame(SystemFFmpeg(), MediaFile(u"audio.mp3"_s), 0, {});
    EXPECT_EQ(sound.Failure, TPreviewFrame::TFailure::NoFrame);

    EXPECT_EQ(RenderPreviewFrame(dir.Path(u"no-ffmpeg"_s), clip, 0, {}).Failure,
              TPreviewFrame::TFailure::NoEncoder);
    EXPECT_EQ(RenderPreviewFrame(SystemFFmpeg(), clip, 0, {}, [] { return true; }).Failure,
              TPreviewFrame::TFailure::Stopped);
}

// PSNR of two pictures of the same size, as the encoder measures it.
double Psnr(const QString& a, const QString& b) {
    const TProcessResult r =
        RunProgram(SystemFFmpeg(), {u"-hide_banner"_s, u"-i"_s, a, u"-i"_s, b, u"-lavfi"_s,
                                    u"psnr"_s, u"-f"_s, u"null"_s, u"-"_s});
    static const QRegularExpression average(u"average:([0-9.]+|inf)"_s);
    const QRegularExpressionMatch m = average.match(r.Err);
    if (!m.hasMatch())
        return 0;
    return m.captured(1) == u"inf" ? 100 : m.captured(1).toDouble();
}

// The preview's filtered frame is the frame the conversion writes: the same chain, the same
// size and aspect, and the same picture but for the codec's loss.
TEST(Preview, TheFilteredFrameIsTheConvertedOne) {
    TScratchDir dir;
    TAppParams params;
    InitAppParams(params, dir.Path(u"app"_s));
    GetFFmpegExe(params);
    const TAppStrings strings;
    const QString input = dir.Path(u"detail.flv"_s);
    ASSERT_TRUE(QFile::copy(MediaFile(u"detail.flv"_s), input));
    TAnalysisCache cache;
    TVideoFileInfo info;
    GetVideoFileInfoCached(cache, input, params.ffmpeg, QString(), info);

    const struct {
        const char* Name;
        std::function<void(TEncoderSettings&)> Change;
    } cases[] = {
        {"default", [](TEncoderSettings&) {}},
        {"crop",
         [](TEncoderSettings& s) {
             s.Advanced.CropTop = 20;
             s.Advanced.CropLeft = 40;
             s.Advanced.CropRight = 16;
         }},
        {"rotation",
         [](TEncoderSettings& s) {
             s.Advanced.Rotate = true;
             s.Advanced.RotateValue = u"30"_s;
         }},
        {"resolution and aspect",
         [](TEncoderSettings& s) {
             s.Advanced.Resolution = 1;
             s.Advanced.ResWidth = 480;
             s.Advanced.ResHeight = 360;
             s.Avi.VideoAspect = u"16:9"_s;
         }},
        {"brightness and saturation",
         [](TEncoderSettings& s) {
             s.Advanced.Brightness = true;
             s.Advanced.BrightnessValue = 20;
             s.Advanced.Saturation = true;
             s.Advanced.SaturationValue = 25;
         }},
    };
    for (const auto& c : cases) {
        TEncoderSettings settings = DefaultEncoderSettings(strings);
        settings.Avi.VideoBitrate = u"2500"_s; // the codec's loss small beside the picture's
        c.Change(settings);
        const QStringList chain =
            TArgumentBuilder(settings, info, strings, TBuilderEnvironment{}).PictureChain();
        // 2 s into a 25 frames/s clip whose video starts at 25 ms: frame 50.
        const TPreviewFrame preview = RenderPreviewFrame(params.ffmpeg, input, 2.0, chain);
        ASSERT_EQ(preview.Failure, TPreviewFrame::TFailure::None) << c.Name;
        const QString previewPng = dir.Path(u"preview.png"_s);
        WriteFile(previewPng, preview.Png);

        TErrorLog log;
        TBatchOptions options;
        options.OutputExists = oeOverwrite;
        TBatchEngine engine(settings, {{input, true}}, options, params, strings, log);
        ASSERT_EQ(RunBatchToEnd(engine).Converted, 1) << c.Name;
        const QString output = dir.Path(u"detail.avi"_s);
        const TPreviewFrame converted = RenderPreviewFrame(params.ffmpeg, output, 2.0, {});
        ASSERT_EQ(converted.Failure, TPreviewFrame::TFailure::None) << c.Name;
        EXPECT_EQ(preview.Size, converted.Size) << c.Name;
        EXPECT_NEAR(preview.Sar, converted.Sar, 0.01) << c.Name;
        // The same frame by its number: Xvid's delayed frames shift the times an AVI reports.
        const QString convertedPng = dir.Path(u"converted.png"_s);
        RunProgram(SystemFFmpeg(), {u"-v"_s, u"error"_s, u"-y"_s, u"-i"_s, output, u"-vf"_s,
                                    u"select=eq(n\\,50)"_s, u"-frames:v"_s, u"1"_s, convertedPng});
        EXPECT_GE(Psnr(previewPng, convertedPng), 35) << c.Name;
    }
}

} // namespace
