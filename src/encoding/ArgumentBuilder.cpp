#include "encoding/ArgumentBuilder.h"

#include "core/Numbers.h"
#include "execution/ConRun.h"
#include "localisation/AppStrings.h"

#include <QThread>
#include <algorithm>
#include <cmath>

const TAudioBitrateLimit AudioBitrateLimits[36] = {
    {16000, u"libmp3lame", 8, 160},  {16000, u"mp2", 8, 160},    {16000, u"ac3", 16, 320},
    {16000, u"libfdk_aac", 8, 96},   {16000, u"wmav1", 24, 640}, {16000, u"wmav2", 24, 640},
    {22050, u"libmp3lame", 8, 160},  {22050, u"mp2", 8, 160},    {22050, u"ac3", 16, 320},
    {22050, u"libfdk_aac", 8, 128},  {22050, u"wmav1", 24, 640}, {22050, u"wmav2", 24, 640},
    {24000, u"libmp3lame", 8, 160},  {24000, u"mp2", 8, 160},    {24000, u"ac3", 16, 320},
    {24000, u"libfdk_aac", 8, 128},  {24000, u"wmav1", 24, 640}, {24000, u"wmav2", 24, 640},
    {32000, u"libmp3lame", 32, 320}, {32000, u"mp2", 32, 384},   {32000, u"ac3", 32, 640},
    {32000, u"libfdk_aac", 8, 192},  {32000, u"wmav1", 24, 640}, {32000, u"wmav2", 24, 640},
    {44100, u"libmp3lame", 32, 320}, {44100, u"mp2", 32, 384},   {44100, u"ac3", 32, 640},
    {44100, u"libfdk_aac", 8, 256},  {44100, u"wmav1", 24, 640}, {44100, u"wmav2", 24, 640},
    {48000, u"libmp3lame", 32, 320}, {48000, u"mp2", 32, 384},   {48000, u"ac3", 32, 640},
    {48000, u"libfdk_aac", 8, 256},  {48000, u"wmav1", 24, 640}, {48000, u"wmav2", 24, 640},
};

using namespace Qt::StringLiterals;

namespace {

bool IsIntegerText(const QString& text) {
    int ignored = 0;
    return TryStrToInt(text, &ignored);
}

bool IsNumberText(const QString& text) {
    double ignored = 0;
    return TryStrToFloat(WithLocaleDecimalMark(text.trimmed(), true), &ignored);
}

int Even(int value) {
    return value % 2 != 0 ? value + 1 : value;
}

// A number written into an argument: "." as the decimal mark whatever the locale.
QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

uint16_t Bitrate16(double value) {
    return uint16_t(std::clamp(value, 0.0, 65535.0));
}

constexpr int SnapSteps[] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                             192, 224, 256, 320, 384, 448, 512, 576, 640};

} // namespace

bool TArgumentPieces::HasError() const {
    for (const QString* p : {&VCodec, &VParams, &ACodec, &AParams, &AdvParams, &AddParams})
        if (*p == QStringView(ErrorPiece))
            return true;
    return false;
}

void TArgumentPieces::Trim() {
    for (QString* p : {&VCodec, &VParams, &ACodec, &AParams, &AdvParams, &AddParams})
        *p = p->trimmed();
}

int GetProcessorCount() {
    const int count = QThread::idealThreadCount();
    if (count <= 0)
        return 2;
    return count > 32 ? 4 : count;
}

int RoundToMultiple(int value, int step) {
    if (step == 0)
        return 0;
    if (value % step == 0)
        return value;
    return step * int(RoundHalfEven(double(value) / step));
}

void ParseResolutionText(const QString& entry, const TVideoFileInfo& info, int* width,
                         int* height) {
    int w = 2;
    int h = 2;
    QString text = entry;
    text.remove(u' ');
    text = text.toLower();
    if (const qsizetype dash = text.indexOf(u'-'); dash >= 0)
        text = text.left(dash);
    text = text.trimmed();
    if (const qsizetype x = text.indexOf(u'x'); x >= 0) {
        TryStrToInt(text.left(x), &w);
        text = text.mid(x + 1);
        TryStrToInt(text, &h);
    }
    if (const qsizetype percent = text.indexOf(u'%'); percent >= 0) {
        int p = 0;
        if (TryStrToInt(text.left(percent), &p)) {
            w = Even(RoundToI32(p * double(info.VideoStreams[0].Width) / 100));
            h = Even(RoundToI32(p * double(info.VideoStreams[0].Height) / 100));
        }
    }
    *width = RoundToMultiple(w, 8);
    *height = RoundToMultiple(h, 8);
}

uint16_t CalcVideoBitrate(int width, int height, int fallback, double bitsPerPixel, double fps,
                          double cap) {
    const double bpp = std::min(bitsPerPixel, cap);
    double result = fallback;
    if (bpp > 0 && width > 0 && height > 0 && fps > 0)
        result = RoundHalfEven(width * bpp * height * fps / 1000);
    const uint16_t bitrate = Bitrate16(result);
    return bitrate == 0 ? 800 : bitrate;
}

uint16_t GetAutoVideoBitrate(const TVideoFileInfo& info, double cap) {
    const TVideoStreamInfo& v = info.VideoStreams[0];
    double c = v.Bitrate;
    if (c > 0 && v.Width != 0 && v.Height != 0 && v.FPS > 0 && v.BitsPerPixel > cap)
        c = RoundHalfEven(v.FPS * cap * v.Width * v.Height / 1000);
    const uint16_t bitrate = Bitrate16(c);
    return bitrate == 0 ? 800 : bitrate;
}

int GetMaxAudioBitrate(const QString& encoder, int samplingRate, int def) {
    const QString name = encoder.toLower();
    for (const TAudioBitrateLimit& limit : AudioBitrateLimits)
        if (limit.SamplingRate == samplingRate && name == QStringView(limit.Encoder))
            return limit.Highest;
    return def;
}

int SnapAudioBitrate(int source, int def, int minimum, int maximum) {
    int b = def;
    for (const int step : SnapSteps) {
        if (step >= source) {
            b = step;
            break;
        }
    }
    if (source < minimum)
        b = minimum;
    if (source > maximum)
        b = maximum;
    return b;
}

QString MpegFrameRateFor(double sourceFps) {
    static const struct {
        double Rate;
        const char16_t* Text;
    } allowed[] = {{24000.0 / 1001, u"23.976"}, {24, u"24"}, {25, u"25"},
                   {30000.0 / 1001, u"29.97"},  {30, u"30"}, {50, u"50"},
                   {60000.0 / 1001, u"59.94"},  {60, u"60"}};
    const auto close = [](double a, double b) { return std::abs(a - b) <= b * 0.0005; };
    if (!(sourceFps > 0))
        return QStringLiteral("25");
    for (const auto& rate : allowed)
        if (close(sourceFps, rate.Rate))
            return {};
    // An exact multiple keeps every frame of the source...
    for (int k = 2; sourceFps * k <= 60.0 * 1.0005; ++k)
        for (const auto& rate : allowed)
            if (close(sourceFps * k, rate.Rate))
                return QString::fromUtf16(rate.Text);
    // ...otherwise the nearest allowed rate above it.
    for (const auto& rate : allowed)
        if (rate.Rate > sourceFps)
            return QString::fromUtf16(rate.Text);
    return QStringLiteral("60");
}

TArgumentBuilder::TArgumentBuilder(const TEncoderSettings& settings,
                                   const TVideoFileInfo& currentFileInfo,
                                   const TAppStrings& strings,
                                   const TBuilderEnvironment& environment)
    : S(settings), Info(currentFileInfo), Strings(strings), Env(environment) {}

const TAudioStreamInfoX& TArgumentBuilder::AudioTrack(int n) const {
    return Info.AudioStreams[size_t(std::clamp(n, 1, MaxAudioStreams) - 1)];
}

int TArgumentBuilder::Resolution() const {
    const int r = S.Advanced.Resolution;
    if (r >= 2 && r - 2 >= Env.ResolutionEntries.size())
        return 0;
    return r;
}

QString TArgumentBuilder::ResolutionEntry() const {
    const int r = Resolution();
    return r >= 2 ? Env.ResolutionEntries.at(r - 2) : QString();
}

bool TArgumentBuilder::Reject(const QString& message, const QString& text) const {
    if (Env.Warnings != nullptr)
        Env.Warnings->ShowWarning(FormatCatalogText(message, text));
    return false;
}

bool TArgumentBuilder::AppendVideoBitrate(QString& v, const QString& typed, double cap) const {
    if (!IsAuto(typed, Strings)) {
        if (!IsIntegerText(typed))
            return Reject(Strings.Main.VideoBitrateMustBeInteger, typed);
        v += QStringLiteral(" -b:v ") + typed + u'k';
        return true;
    }
    int w = Even(Video().Width);
    int h = Even(Video().Height);
    if (Resolution() == 1) {
        w = S.Advanced.ResWidth;
        h = S.Advanced.ResHeight;
    } else if (Resolution() >= 2) {
        ParseResolutionText(ResolutionEntry(), Info, &w, &h);
    }
    const uint16_t bitrate =
        Resolution() > 0
            ? CalcVideoBitrate(w, h, Video().Bitrate, Video().BitsPerPixel, Video().FPS, cap)
            : GetAutoVideoBitrate(Info, cap);
    v += QStringLiteral(" -b:v ") + QString::number(bitrate) + u'k';
    return true;
}

bool TArgumentBuilder::AppendTypedFrameRate(QString& v, const QString& typed) const {
    if (!IsNumberText(typed))
        return Reject(Strings.Main.FPSMustBeFloat, typed);
    // The encoder reads "." only: a rate typed with the locale's "," is passed with ".".
    QString rate = typed;
    v += QStringLiteral(" -r ") + rate.replace(u',', u'.');
    return true;
}

QString TArgumentBuilder::GetVideoCodecStr() const {
    if (!S.IsMpg())
        return S.Avi.DoNotCopyVideo
                   ? QStringLiteral("-vn")
                   : QStringLiteral("-c:v ") + VideoCodecEncoderName(S.Avi.VideoCodec);
    if (S.Mpg.DoNotCopyVideo)
        return QStringLiteral("-vn");
    switch (S.Mpg.VideoFormat) {
    case 0:
        return QStringLiteral("-target pal-dvd");
    case 1:
        return QStringLiteral("-target ntsc-dvd");
    case 2:
        if (S.Mpg.MPEGVersion == 0)
            return QStringLiteral("-c:v mpeg1video");
        if (S.Mpg.MPEGVersion == 1)
            return QStringLiteral("-c:v mpeg2video");
        return {};
    default:
        return {};
    }
}

QString TArgumentBuilder::GetVideoParamsStr() const {
    const QString error = QString::fromUtf16(ErrorPiece);
    QString v;
    if (!S.IsMpg()) {
        if (S.Avi.DoNotCopyVideo)
            return {};
        const int codec = S.Avi.VideoCodec;
        if (codec == vcH264) {
            v += QStringLiteral(" -threads ") + (IsIntegerText(S.Avi.EncoderThreads)
                                                     ? S.Avi.EncoderThreads.trimmed()
                                                     : QString::number(Env.ProcessorCount / 2));
        }
        if (codec == vcXvid && S.Avi.Video2Pass)
            v += QStringLiteral(" -q:v 9");
        if (codec < vcHuffYUV && !AppendVideoBitrate(v, S.Avi.VideoBitrate, 0.3))
            return error;
        if (!IsAuto(S.Avi.VideoFPS, Strings)) {
            if (!AppendTypedFrameRate(v, S.Avi.VideoFPS))
                return error;
        } else if (codec != vcCopy && Video().FPS > 0) {
            // An unknown source rate leaves the rate to the encoder.
            v += QStringLiteral(" -r ") + Fixed(Video().FPS, 3);
        }
    } else {
        if (S.Mpg.DoNotCopyVideo || S.Mpg.VideoFormat != 2)
            return {};
        if (!AppendVideoBitrate(v, S.Mpg.VideoBitrate, 0.5))
            return error;
        if (!IsAuto(S.Mpg.VideoFPS, Strings)) {
            if (!AppendTypedFrameRate(v, S.Mpg.VideoFPS))
                return error;
        } else if (const QString rate = MpegFrameRateFor(Video().FPS); !rate.isEmpty()) {
            // MPEG-1 and MPEG-2 allow only a few rates; Flash Video often has others.
            v += QStringLiteral(" -r ") + rate;
        }
    }
    if (const std::optional<QSize> size = EvenFrameSize())
        v += QStringLiteral(" -s %1x%2").arg(size->width()).arg(size->height());
    v.remove(u'"');
    return v;
}

QString TArgumentBuilder::GetAudioCodecStr() const {
    if (S.IsMpg() && S.Mpg.VideoFormat != 2)
        return {};
    if (S.IsMpg() && S.Audio.AudioCodec == acAuto)
        return S.Audio.DoNotCopyAudio ? QStringLiteral("-an") : QStringLiteral(" -c:a mp2");
    if (S.Audio.DoNotCopyAudio)
        return QStringLiteral("-an");
    if (S.Audio.AudioCodec == acAuto) {
        if (S.Audio.AudioChannels == 3 || AudioTrack(1).Channels > 2)
            return QStringLiteral("-c:a ac3");
        return QStringLiteral("-c:a libmp3lame");
    }
    if (S.Audio.AudioCodec == acAac)
        return QStringLiteral("-c:a ") + Env.AacEncoder;
    return QStringLiteral("-c:a ") + AudioCodecEncoderName(S.Audio.AudioCodec);
}

QString TArgumentBuilder::GetAudioParamsStr() const {
    if (S.Audio.DoNotCopyAudio)
        return {};
    const QString error = QString::fromUtf16(ErrorPiece);
    const int codec = S.Audio.AudioCodec;
    QString a;
    if (codec >= acAuto && codec < acPcm) {
        if (!IsAuto(S.Audio.AudioBitrate, Strings)) {
            if (!IsIntegerText(S.Audio.AudioBitrate)) {
                Reject(Strings.Main.AudioBitrateMustBeInteger, S.Audio.AudioBitrate);
                return error;
            }
            a += QStringLiteral(" -b:a ") + S.Audio.AudioBitrate + u'k';
        } else {
            QString encoder = GetSelectedAudioCodecStr(codec);
            if (codec == acAuto && (AudioTrack(1).Channels > 2 || S.Audio.AudioChannels == 3))
                encoder = QStringLiteral("ac3");
            if (S.IsMpg())
                encoder = QStringLiteral("mp2");
            const int max = GetMaxAudioBitrate(encoder, AudioTrack(1).SamplingRate, 320);
            int b = SnapAudioBitrate(AudioTrack(1).Bitrate, 128, Env.MinAudioBitrate, max);
            if (b == 0)
                b = 128;
            a += QStringLiteral(" -b:a %1k").arg(b);
        }
    }
    if (!IsAuto(S.Audio.AudioSampling, Strings)) {
        if (!IsIntegerText(S.Audio.AudioSampling)) {
            Reject(Strings.Main.AudioSamplingMustBeInteger, S.Audio.AudioSampling);
            return error;
        }
        if (codec >= acAuto && codec < acCopy)
            a += QStringLiteral(" -ar ") + S.Audio.AudioSampling;
    }
    static const char16_t* const channels[] = {nullptr, u" -ac 1", u" -ac 2", u" -ac 6"};
    if (S.Audio.AudioChannels >= 1 && S.Audio.AudioChannels <= 3) {
        a += QString::fromUtf16(channels[S.Audio.AudioChannels]);
    } else if (S.Audio.AudioChannels == 0) {
        if (S.IsMpg()) {
            a += QStringLiteral(" -ac 2");
        } else if ((codec == 1 || codec == 2 || codec == 5 || codec == 6) &&
                   Info.NumberOfAudioStreams > 0) {
            int track = S.AudioTrackNo;
            if (track == 0 || track > Info.NumberOfAudioStreams)
                track = 1;
            if (AudioTrack(track).Channels > 2)
                a += QStringLiteral(" -ac 2");
        }
    }
    if (S.Audio.Volume != 100)
        a += QStringLiteral(" -af volume=") + VolumeToStr(S.Audio.Volume);
    a += QStringLiteral(" -async 1");
    a.remove(u'"');
    return a;
}

QString TArgumentBuilder::GetMapParams() const {
    QString map;
    if (!S.DoNotCopyVideo() && Info.NumberOfVideoStreams >= 1)
        map = QStringLiteral("-map 0:%1 ").arg(Video().StreamIndex);
    const int track = S.AudioTrackNo;
    if (track <= Info.NumberOfAudioStreams && track <= MaxAudioStreams)
        return map + QStringLiteral("-map 0:%1").arg(AudioTrack(track).StreamIndex);
    return {};
}

QStringList TArgumentBuilder::VideoFilterChain() const {
    const TAdvancedSettings& adv = S.Advanced;
    QStringList chain;
    if (AudioControlsEnabled(S)) {
        if (adv.Interlacing == 1 ||
            (adv.Interlacing == 0 && Video().ScanType.trimmed().toLower() == u"interlaced"))
            chain << QStringLiteral("yadif");
    }
    if (GeometryEnabled(S)) {
        if (adv.CropTop + adv.CropBottom + adv.CropLeft + adv.CropRight > 0)
            chain << QStringLiteral("crop=%1:%2:%3:%4")
                         .arg(Video().Width - adv.CropLeft - adv.CropRight)
                         .arg(Video().Height - adv.CropTop - adv.CropBottom)
                         .arg(adv.CropLeft)
                         .arg(adv.CropTop);
        if (Resolution() == 1) {
            chain << QStringLiteral("scale=%1:%2").arg(Even(adv.ResWidth)).arg(Even(adv.ResHeight));
        } else if (Resolution() >= 2) {
            int w = 0;
            int h = 0;
            ParseResolutionText(ResolutionEntry(), Info, &w, &h);
            chain << QStringLiteral("scale=%1:%2").arg(Even(w)).arg(Even(h));
        }
    }
    const bool filters = PictureFiltersEnabled(S);
    QString hue;
    if (filters && adv.Saturation && adv.SaturationValue != 0)
        hue = QStringLiteral("s=") + Fixed(adv.SaturationValue / 10.0, 1);
    if (filters && adv.Brightness && adv.BrightnessValue != 0)
        hue += QStringLiteral(":b=") + Fixed(adv.BrightnessValue / 10.0, 1);
    if (hue.startsWith(u':'))
        hue.remove(0, 1);
    if (!hue.isEmpty())
        chain << QStringLiteral("hue=") + hue;
    if (filters && adv.FlipHorizontal)
        chain << QStringLiteral("hflip");
    if (filters && adv.FlipVertical)
        chain << QStringLiteral("vflip");
    if (filters && adv.ConvertColors)
        chain << (adv.ConvertColorsValue == 1
                      ? QStringLiteral("colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:"
                                       ".534:.131")
                      : QStringLiteral("colorchannelmixer=.3:.4:.3:0:.3:.4:.3:0:.3:.4:.3"));
    if (filters && adv.Negative)
        chain << QStringLiteral("negate");
    if (filters && adv.Rotate) {
        int degrees = 0;
        if (!TryStrToInt(adv.RotateValue.trimmed(), &degrees))
            degrees = 0;
        if (degrees != 0)
            chain << QStringLiteral("rotate=") + Fixed(degrees * 0.017453292519943295769, 4);
    }
    if (!S.IsMpg() && S.Avi.VideoCodec < vcHuffYUV && AviAspectEnabled(S)) {
        QString aspect = S.Avi.VideoAspect.trimmed().toUpper();
        aspect.remove(u' ');
        if (const qsizetype colon = aspect.indexOf(u':'); colon >= 0)
            aspect[colon] = u'/';
        // A ratio typed with the locale's "," would split the filter chain.
        aspect.replace(u',', u'.');
        if (!aspect.isEmpty() && !IsAuto(aspect, Strings))
            chain << QStringLiteral("setdar=") + aspect;
    }
    return chain;
}

std::optional<QSize> TArgumentBuilder::EvenFrameSize() const {
    const int w = Video().Width;
    const int h = Video().Height;
    if (Resolution() == 0 && ((w > 0 && w % 2 != 0) || (h > 0 && h % 2 != 0)))
        return QSize(Even(w), Even(h));
    return std::nullopt;
}

QStringList TArgumentBuilder::PictureChain() const {
    if (S.DoNotCopyVideo())
        return {};
    QStringList chain = VideoFilterChain();
    if (S.IsMpg() && S.Mpg.VideoFormat != 2) {
        // The DVD targets' own frame size and aspect.
        chain << (S.Mpg.VideoFormat == 0 ? u"scale=720:576"_s : u"scale=720:480"_s);
    } else if (const std::optional<QSize> size = EvenFrameSize()) {
        chain << u"scale=%1:%2"_s.arg(size->width()).arg(size->height());
    }
    return chain;
}

QString TArgumentBuilder::GetAdvancedParamsStr() const {
    const TAdvancedSettings& adv = S.Advanced;
    QString tag;
    if (VideoTagEnabled(S) && adv.ForceVideoTag && !adv.VideoTag.isEmpty())
        tag = QStringLiteral("-vtag ") + adv.VideoTag;
    QString map;
    if (AudioControlsEnabled(S) && S.AudioTrackNo > 0)
        map = GetMapParams();

    const QStringList chain = VideoFilterChain();
    QString x;
    if (!tag.isEmpty())
        x += u' ' + tag;
    if (!chain.isEmpty())
        x = QStringLiteral("-vf ") + chain.join(u',') + u' ' + x;
    if (!map.isEmpty())
        x += u' ' + map;
    return x;
}

QString TArgumentBuilder::GetAdditionalParamsStr() const {
    QString text;
    for (const QString& line : S.Advanced.AdditionalParams)
        text += u' ' + line;
    return text;
}

TArgumentPieces TArgumentBuilder::Pieces() const {
    TArgumentPieces p{GetVideoCodecStr(),  GetVideoParamsStr(),    GetAudioCodecStr(),
                      GetAudioParamsStr(), GetAdvancedParamsStr(), GetAdditionalParamsStr()};
    p.Trim();
    return p;
}

QString GetExt(const TEncoderSettings& settings, bool withDot) {
    const QString ext = settings.IsMpg() ? QStringLiteral("mpg") : QStringLiteral("avi");
    return withDot ? u'.' + ext : ext;
}

bool H264Mode(const TEncoderSettings& settings) {
    return !settings.IsMpg() && settings.Avi.VideoCodec == vcH264 && !settings.Avi.DoNotCopyVideo;
}

QString RunOptionsBetweenPieces(bool h264, int pass) {
    QString middle = h264 ? QStringLiteral(" -preset:v faster ") : QStringLiteral(" ");
    if (pass == 1 || pass == 2)
        middle += QStringLiteral("-pass %1 ").arg(pass);
    return middle;
}

QString ArgumentString(const TArgumentPieces& p, const QString& input, const QString& output,
                       bool h264, int pass) {
    const QString middle = RunOptionsBetweenPieces(h264, pass);
    return QStringLiteral("-y -i ") + QuoteArgument(input) + u' ' + p.VCodec + u' ' + p.VParams +
           u' ' + p.ACodec + u' ' + p.AParams + u' ' + p.AdvParams + middle + p.AddParams + u' ' +
           QuoteArgument(output);
}

QString CommandPreviewText(const TEncoderSettings& s, const TArgumentPieces& p,
                           const QString& inputPath) {
    const QString input = QStringLiteral("<input_file>");
    const QString output = QStringLiteral("<output_file>");
    const QString head = QStringLiteral("-y -i ") + input + u' ' + p.VCodec + u' ' + p.VParams +
                         u' ' + p.ACodec + u' ' + p.AParams + u' ' + p.AdvParams;
    const QString twoLines = QStringLiteral("\r\n\r\n");
    const bool twoPass = s.IsMpg() ? s.Mpg.Video2Pass : s.Avi.Video2Pass;
    const bool h264 = !s.IsMpg() && H264Mode(s);
    QString text;
    if (twoPass && h264) {
        text = head + QStringLiteral(" -pass 1 ") + QStringLiteral(" -preset:v faster ") +
               p.AddParams + u' ' + output + twoLines + head + QStringLiteral(" -pass 2 ") +
               QStringLiteral(" -preset:v faster ") + p.AddParams + u' ' + output;
    } else if (twoPass) {
        text = head + QStringLiteral(" -pass 1 ") + p.AddParams + u' ' + output + twoLines + head +
               QStringLiteral(" -pass 2 ") + p.AddParams + u' ' + output;
    } else if (h264) {
        text = head + QStringLiteral(" -preset:v faster ") + p.AddParams + QStringLiteral("  ") +
               output;
    } else {
        text = head + u' ' + p.AddParams + u' ' + output;
    }
    text.replace(QStringLiteral("   "), QStringLiteral(" "));
    if (!inputPath.isEmpty())
        text.replace(text.indexOf(input), input.size(), QuoteArgument(inputPath));
    return text;
}
